// File drops: DragAcceptFiles marks a window (WS_EX_ACCEPTFILES); a drop from the display
// goes to the window under the point, or its nearest ancestor that accepts files, as
// WM_DROPFILES with an HDROP that DragQueryFile reads and DragFinish frees. A drop that
// no window accepts is refused.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/win/Display.h"
#include "platform/win/Messages.h"

void DragAcceptFiles(HWND Wnd, BOOL Accept);
// File 0xFFFFFFFF: the number of paths. Buffer null: the length of path File in bytes
// (UTF-8, without the terminator). Otherwise copies it into Buffer of Size bytes (cut at
// a whole code point) and returns the bytes copied. 0 for a bad handle or index.
UINT DragQueryFile(HDROP Drop, UINT File, LPSTR Buffer, UINT Size);
inline UINT DragQueryFileW(HDROP D, UINT F, LPSTR B, UINT S) { return DragQueryFile(D, F, B, S); }
// The drop point in the client coordinates of the window that got it; TRUE when it lies
// in the client area.
BOOL DragQueryPoint(HDROP Drop, LPPOINT Point);
void DragFinish(HDROP Drop);

namespace vantrel::win {

class WindowManager;

// The drops handed out and not yet finished.
class DropStore {
 public:
  struct Drop {
    std::vector<std::string> Paths;
    POINT Point{};
    bool InClient = false;
  };
  HDROP Add(Drop D);
  const Drop* Find(HDROP H) const;
  bool Remove(HDROP H);
  size_t Count() const { return FDrops.size(); }

 private:
  std::map<uintptr_t, Drop> FDrops;
  uintptr_t FNext = 0xD00000;  // handles are never reused
};

// Routes a raw drop event.
void RouteDrop(WindowManager& M, const RawInput& Event);

}  // namespace vantrel::win
