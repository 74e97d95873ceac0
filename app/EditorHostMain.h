// The main window as the editing dialogs' host: the entry of the file grid's current row,
// the "LibAV" folder next to the program, the player pictures, and the private SDL copies
// and preview volume of the preview player.
#pragma once

#include <functional>

#include "app/EditorHost.h"

namespace vantrel::app {

class TMainForm;

class TMainEditorHost : public TEditorHost {
 public:
  // What the preview player provides: the SDL copy step (file name in Folder) and its volume.
  struct TPreviewServices {
    std::function<String(Integer Index)> PrepareSdlCopy;
    String SdlFolder;
    std::function<Integer()> Volume;
  };
  TMainEditorHost(TMainUnitState& State, TMainForm& Main, TPreviewServices Preview);

  TMainUnitState& UnitState() override { return FState; }
  TEntryTrim SelectedTrim() override;
  TEntryPicture SelectedPicture() override;
  void StoreTrim(Int64 TimeStart, Int64 TimeEnd, Int64 TrimmedLength) override;
  void StorePicture(const TEntryPicture& Values) override;
  String PrepareSdlCopy(Integer Index) override;
  String SdlFolder() override { return FPreview.SdlFolder; }
  String LibAVFolder() override;
  TCustomImageList* PlayerImages() override;
  Integer PreviewVolume() override;

 private:
  // The index of the selected entry; raises EListError when the row holds none.
  size_t SelectedIndex() const;

  TMainUnitState& FState;
  TMainForm& FMain;
  TPreviewServices FPreview;
};

}  // namespace vantrel::app
