// Frame-hook plug-ins: shared libraries named in a conversion's options, loaded once per
// path and kept loaded, configured once per use and called for every decoded picture.
#pragma once

#include <memory>
#include <vector>

#include "media/FrameHookABI.h"
#include "platform/rtl/Types.h"

namespace vantrel::media {

// One configured plug-in.
struct TFrameHookEntry {
  TFrameHookConfigureFn Configure = nullptr;
  TFrameHookProcessFn Process = nullptr;
  TFrameHookReleaseFn Release = nullptr;
  void* ctx = nullptr;
  std::shared_ptr<std::vector<String>> Args;  // the Configure arguments, kept for ctx
};

// The plug-ins of one conversion in the order they were added; releases them when it
// goes.
class TFrameHookList {
 public:
  TFrameHookList() = default;
  ~TFrameHookList();
  TFrameHookList(const TFrameHookList&) = delete;
  TFrameHookList& operator=(const TFrameHookList&) = delete;

  bool Empty() const { return FEntries.empty(); }
  size_t Count() const { return FEntries.size(); }
  const TFrameHookEntry& operator[](size_t I) const { return FEntries[I]; }

 private:
  friend int FrameHookAdd(TFrameHookList& AFirst, const std::vector<String>& AArgv);
  friend void FrameHookRelease(TFrameHookList& AFirst);
  std::vector<TFrameHookEntry> FEntries;
};

// Loads (once per path) the plug-in AArgv[0], configures it with all of AArgv and
// appends it. 0 on success; -2 without arguments or without the needed entry points,
// -1 when the library cannot be loaded, -22 when Configure fails. A failure is logged
// and leaves the list as it was.
int FrameHookAdd(TFrameHookList& AFirst, const std::vector<String>& AArgv);
// Calls every plug-in's Process in list order.
void FrameHookProcess(const TFrameHookList& AFirst, TFrameHookPicture* APicture,
                      int APixFmt, int AWidth, int AHeight, Int64 APts);
// Calls Release of each plug-in that has one; the list becomes empty.
void FrameHookRelease(TFrameHookList& AFirst);

namespace detail {
// Number of distinct plug-in paths loaded by the process.
int FrameHookCacheCount();
}  // namespace detail

}  // namespace vantrel::media
