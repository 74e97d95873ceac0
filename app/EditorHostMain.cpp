// The main window as the editing dialogs' host
#include "app/EditorHostMain.h"

#include "app/main.h"
#include "app/main_FileList.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinGrids.h"
#include "skin/core/bitmaps/sppngimagelist.h"

namespace vantrel::app {

TMainEditorHost::TMainEditorHost(TMainUnitState& State, TMainForm& Main) : FState(State), FMain(Main) {}

size_t TMainEditorHost::SelectedIndex() const {
  // The grid's first row is its header.
  const Integer Index = FMain.sgList->Row() - 1;
  if (Index < 0 || Index >= Integer(FState.VideoFiles.size()))
    throw EListError(Format(SListIndexError, {Index}));
  return size_t(Index);
}

TEntryTrim TMainEditorHost::SelectedTrim() {
  const TVideoFile& E = FState.VideoFiles[SelectedIndex()];
  return {E.Source, E.TimeStart, E.TimeEnd};
}

TEntryPicture TMainEditorHost::SelectedPicture() {
  const TVideoFile& E = FState.VideoFiles[SelectedIndex()];
  TEntryPicture P;
  P.Source = E.Source;
  P.CropLeft = E.CropLeft;
  P.CropTop = E.CropTop;
  P.CropRight = E.CropRight;
  P.CropBottom = E.CropBottom;
  P.AspectRatio = E.AspectRatio;
  P.Brightness = E.Brightness;
  P.Saturation = E.Saturation;
  P.Contrast = E.Contrast;
  return P;
}

void TMainEditorHost::StoreTrim(Int64 TimeStart, Int64 TimeEnd, Int64 TrimmedLength) {
  const size_t I = SelectedIndex();
  TVideoFile& E = FState.VideoFiles[I];
  E.TimeStart = TimeStart;
  E.TimeEnd = TimeEnd;
  E.TrimmedLength = TrimmedLength;
  UpdateEstimatedSize(FState, Integer(I));
  FMain.sgList->Repaint();
}

void TMainEditorHost::StorePicture(const TEntryPicture& V) {
  TVideoFile& E = FState.VideoFiles[SelectedIndex()];
  E.CropLeft = V.CropLeft;
  E.CropTop = V.CropTop;
  E.CropRight = V.CropRight;
  E.CropBottom = V.CropBottom;
  E.AspectRatio = V.AspectRatio;
  E.Brightness = V.Brightness;
  E.Saturation = V.Saturation;
  E.Contrast = V.Contrast;
}

String TMainEditorHost::PrepareSdlCopy(Integer Index) { return app::PrepareSdlCopy(Index); }

String TMainEditorHost::SdlFolder() { return GetTempFolder(); }

String TMainEditorHost::LibAVFolder() {
  // The editors load the libraries from there: the start-up's load comes first.
  FMain.WaitForMediaLibraries();
  return FMain.ProgramFolder + "LibAV";
}

TCustomImageList* TMainEditorHost::PlayerImages() { return FMain.PlayerImages; }

Integer TMainEditorHost::PreviewVolume() { return FMain.VolumeTrackBar ? FMain.VolumeTrackBar->Value() : 128; }

}  // namespace vantrel::app
