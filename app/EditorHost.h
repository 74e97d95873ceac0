// What the editing dialogs ("Edit", "Trim") need of the main window: the selected
// file-list entry (read anew at each use, stored back by "OK" or "Apply"), the private SDL
// copies, the player buttons' pictures, the preview volume and the application's reports.
#pragma once

#include "platform/rtl/Types.h"

class TCustomImageList;

namespace vantrel::app {

struct TMainUnitState;

// The trim of an entry, times in microseconds.
struct TEntryTrim {
  String Source;
  Int64 TimeStart = 0;
  Int64 TimeEnd = 0;
};

// The picture settings of an entry: crop margins in source pixels, the aspect choice
// (0 keep, 1 full screen, 2 "4:3", 3 "16:9", -1 none) and the corrections (-100..100).
struct TEntryPicture {
  String Source;
  Integer CropLeft = 0, CropTop = 0, CropRight = 0, CropBottom = 0;
  Integer AspectRatio = 0;
  Integer Brightness = 0, Saturation = 0, Contrast = 0;
};

class TEditorHost {
 public:
  virtual ~TEditorHost() = default;
  virtual TMainUnitState& UnitState() = 0;
  // The selected entry's values; raises when no entry is selected.
  virtual TEntryTrim SelectedTrim() = 0;
  virtual TEntryPicture SelectedPicture() = 0;
  // Stores into the selected entry; the trim also re-estimates the entry's output size
  // and repaints the file list. A failure raises; what was stored before stays.
  virtual void StoreTrim(Int64 TimeStart, Int64 TimeEnd, Int64 TrimmedLength) = 0;
  virtual void StorePicture(const TEntryPicture& Values) = 0;
  // Makes sure the private SDL copy Index exists in SdlFolder(); its file name.
  virtual String PrepareSdlCopy(Integer Index) = 0;
  virtual String SdlFolder() = 0;
  // The folder of the media libraries ("LibAV" next to the program).
  virtual String LibAVFolder() = 0;
  // The player buttons' pictures (nil: none).
  virtual TCustomImageList* PlayerImages() = 0;
  // The main window's volume (0..128).
  virtual Integer PreviewVolume() = 0;
};

}  // namespace vantrel::app
