// The window of the "Conversion" dialog: the progress of a running job, Pause/Resume,
// Cancel, and what happens at the job's end.
#pragma once

#include "platform/ui/Forms.h"

class TspFormSkin;
class TspSkinButton;
class TspSkinCheckRadioBox;
class TspSkinData;
class TspSkinGauge;
class TspSkinStdLabel;

namespace vantrel::media {
class TCustomEncoder;
}

namespace vantrel::app {

struct TMainUnitState;

class TConvForm : public TForm {
  VANTREL_CLASS(TConvForm)
  explicit TConvForm(TComponent* AOwner);
  ~TConvForm() override;

  TspFormSkin* spFormSkin1 = nullptr;
  TspSkinStdLabel* lblConvertingTitle = nullptr;
  TspSkinGauge* ProgressCurrent = nullptr;
  TspSkinGauge* ProgressTotal = nullptr;
  TspSkinCheckRadioBox* cbOpenOutput = nullptr;
  TspSkinCheckRadioBox* cbShutdownPC = nullptr;
  TspSkinButton* PauseButton = nullptr;
  TspSkinButton* CancelButton = nullptr;

  // The encoder of the jobs shown, and the unit state whose log takes the dialog's lines.
  media::TCustomEncoder* Tarnwell = nullptr;
  TMainUnitState* Unit = nullptr;

  void FormShow(TObject* Sender);
  void PauseButtonClick(TObject* Sender);
  void CancelButtonClick(TObject* Sender);
  // Draws the frame and the controls with the application's skin.
  void BindSkin(TspSkinData* Data);

  // A job runs: the system's close is refused until it ends.
  void JobStarted();
  // The job ended or was cancelled: the dialog closes.
  void CloseJob();
  bool JobRunning() const { return FJobRunning; }

 private:
  bool FJobRunning = false;
};

// The application's conversion dialog; set while one exists.
extern TConvForm* ConvForm;

}  // namespace vantrel::app
