// What the file list and the conversion job see of the main window: its controls behind the
// seams of the list, the job's start and the job's end.
#pragma once

#include "app/main.h"
#include "app/main_FileList.h"
#include "app/main_Job.h"

namespace vantrel::app {

class TMainForm::TJobSeams : public TFileAddSeam,
                             public TFileListSeam,
                             public TJobWindowSeam,
                             public TJobEndSeam {
 public:
  explicit TJobSeams(TMainForm& Form) : F(Form) {}

  // TFileListSeam
  Integer EntryCount() override;
  Integer SelectedRow() override;
  void SetEntryFormat(Integer Index, Integer Profile, Integer Format, bool MarkPending) override;
  void ReestimateAllSizes() override;
  bool ApplyToAll() override;
  void ShowProfile(const String& Title, TPicture* Icon) override;
  String EntrySource(Integer Index) override;
  String EntryDestinationTitle(Integer Index) override;
  bool EntryIsAudio(Integer Index) override;
  void ShowSkinMessage(const String& Text, TMsgDlgType DlgType) override;

  // TFileAddSeam
  void ShowInfo(const String& Text) override;
  void SetRowCount(Integer RowCount) override;
  // TJobWindowSeam
  String DestinationFolder() override;
  bool MergeChecked() override;
  Integer CurrentRow() override;
  void ShowWarning(const String& Text) override;
  void StopPreview() override;
  media::TCustomEncoder& Encoder() override;
  void ShowProgress() override;
  // TJobEndSeam
  void SaveSettings() override;
  HWND OwnerWindow() override;

 private:
  TMainForm& F;
};

}  // namespace vantrel::app
