// What the file list and the conversion job see of the main window: its controls behind the
// seams of the list, the job's start and the job's end.
#pragma once

#include "app/main.h"
#include "app/main_FileList.h"
#include "app/main_Job.h"

namespace vantrel::app {

class TMainForm::TJobSeams : public TFileAddSeam,
                             public TJobWindowSeam,
                             public TJobEndSeam {
 public:
  explicit TJobSeams(TMainForm& Form) : F(Form) {}

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
