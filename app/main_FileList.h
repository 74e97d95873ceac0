// The file list of the main window: adding probed files, the estimated output size, moving,
// removing and renaming entries, and what the grid shows of them.
#pragma once

#include "app/main.h"

namespace vantrel::media {
class TCustomDecoder;
class TCustomEncoder;
}  // namespace vantrel::media

namespace vantrel::app {

inline constexpr const char* CLM_FFLoadAVLib2 = "CLM_FFLoadAVLib2";
inline constexpr const char* CLM_SDlLibLoad = "CLM_SDlLibLoad";

// The captions of the grid's columns.
inline constexpr const char* FileListColumns[] = {"Source", "Length", "Size", "Destination", "Format"};

// What adding files needs of the main window.
class TFileAddSeam {
 public:
  virtual ~TFileAddSeam() = default;
  // A skinned information box with OK.
  virtual void ShowInfo(const String& Text) = 0;
  // The grid shows RowCount rows (the header and one per entry).
  virtual void SetRowCount(Integer RowCount) = 0;
};

// "hh:mm:ss" of the whole seconds of a time in microseconds.
String FormatMicroseconds(Int64 T);
// The estimated size as the grid shows it: two decimals and " MB".
String EstimatedSizeText(double Megabytes);

// Probes FileName with Decoder and appends its entry with the current format; a file that
// cannot be read is logged and shown in a box, and gives false.
bool AddMediaFile(TMainUnitState& State, media::TCustomDecoder& Decoder, const String& FileName,
                  TFileAddSeam& Window);
// Loads the media libraries when they are not and registers the picture filters; a failure
// is reported (CLM_FFLoadAVLib2) and logged, and gives false.
bool PrepareMediaLibraries(TMainUnitState& State, media::TCustomEncoder& Encoder);

// The entry's size from its length and its format's bit rates; left as it was when a rate
// is not a number or the format is missing.
void UpdateEstimatedSize(TMainUnitState& State, Integer Index);
void SwapVideoFiles(TMainUnitState& State, Integer A, Integer B);

// The list operations on grid row Row (1 for the first entry); each returns the row that
// becomes current.
Integer MoveEntryUp(TMainUnitState& State, Integer Row);
Integer MoveEntryDown(TMainUnitState& State, Integer Row);
// Removes the entry of Row keeping the others in order; returns the new row count.
Integer RemoveEntry(TMainUnitState& State, Integer Row);

// Every entry takes the current format, and its estimate follows.
void ApplyFormatToAll(TMainUnitState& State);

}  // namespace vantrel::app
