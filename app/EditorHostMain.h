// The main window as the editing dialogs' host: the entry of the file grid's current row,
// the "LibAV" folder next to the program, the player pictures, the private SDL copies in
// the program's temporary folder and the preview's volume.
#pragma once

#include "app/EditorHost.h"

namespace vantrel::app {

class TMainForm;

class TMainEditorHost : public TEditorHost {
 public:
  TMainEditorHost(TMainUnitState& State, TMainForm& Main);

  TMainUnitState& UnitState() override { return FState; }
  TEntryTrim SelectedTrim() override;
  TEntryPicture SelectedPicture() override;
  void StoreTrim(Int64 TimeStart, Int64 TimeEnd, Int64 TrimmedLength) override;
  void StorePicture(const TEntryPicture& Values) override;
  String PrepareSdlCopy(Integer Index) override;
  String SdlFolder() override;
  String LibAVFolder() override;
  TCustomImageList* PlayerImages() override;
  Integer PreviewVolume() override;

 private:
  // The index of the selected entry; raises EListError when the row holds none.
  size_t SelectedIndex() const;

  TMainUnitState& FState;
  TMainForm& FMain;
};

}  // namespace vantrel::app
