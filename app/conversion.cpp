// The window of the "Conversion" dialog: two gauges, the current file, the end options,
// Pause/Resume and Cancel.
#include "app/conversion.h"

#include "app/FormShape.h"
#include "app/main.h"
#include "media/FFEncode.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/forms/FormSkin.h"

namespace vantrel::app {

TConvForm* ConvForm = nullptr;

namespace {

constexpr Integer ConvShownHeight = 213;

TspSkinGauge* ConvGauge(TConvForm* Form, const char* Name, Integer Top) {
  auto* G = ::Create<TspSkinGauge>(Form);
  G->SetName(Name);
  G->SetParent(Form);
  G->SetBounds(9, Top, 369, 20);
  G->SetMinValue(0);
  G->SetMaxValue(100);
  G->SetValue(0);
  return G;
}

TspSkinCheckRadioBox* ConvCheckBox(TConvForm* Form, const char* Name, Integer Top, const char* Caption,
                                   bool Checked) {
  auto* B = ::Create<TspSkinCheckRadioBox>(Form);
  B->SetName(Name);
  B->SetParent(Form);
  B->SetBounds(8, Top, 369, 20);
  B->SetCaption(Caption);
  B->SetChecked(Checked);
  return B;
}

TspSkinButton* ConvButton(TConvForm* Form, const char* Name, Integer Left, const char* Caption) {
  auto* B = ::Create<TspSkinButton>(Form);
  B->SetName(Name);
  B->SetParent(Form);
  B->SetBounds(Left, 142, 75, 25);
  B->SetCaption(Caption);
  return B;
}

}  // namespace

TConvForm::TConvForm(TComponent* AOwner) : TForm(AOwner) {
  spFormSkin1 = ShapeForm(*this, {"Conversion", bsDialog, 389, 179, poMainFormCenter});
  OnShow = [this](TObject* Sender) { FormShow(Sender); };
  OnCloseQuery = [this](TObject*, Boolean& CanClose) { CanClose = !FJobRunning; };

  lblConvertingTitle = ::Create<TspSkinStdLabel>(this);
  lblConvertingTitle->SetName("lblConvertingTitle");
  lblConvertingTitle->SetParent(this);
  lblConvertingTitle->SetAutoSize(false);
  lblConvertingTitle->SetBounds(9, 13, 368, 17);  // the skin font's whole cell: descenders show
  lblConvertingTitle->SetEllipsType(spetEndEllips);
  lblConvertingTitle->SetCaption("Converting ...");
  ProgressCurrent = ConvGauge(this, "ProgressCurrent", 32);
  ProgressTotal = ConvGauge(this, "ProgressTotal", 59);
  cbOpenOutput = ConvCheckBox(this, "cbOpenOutput", 85, "Open output folder when conversion completed", true);
  cbShutdownPC = ConvCheckBox(this, "cbShutdownPC", 106, "Shut down computer when conversion completed", false);
  PauseButton = ConvButton(this, "PauseButton", 219, "Pause");
  PauseButton->OnClick = [this](TObject* Sender) { PauseButtonClick(Sender); };
  CancelButton = ConvButton(this, "CancelButton", 303, "Cancel");
  CancelButton->OnClick = [this](TObject* Sender) { CancelButtonClick(Sender); };
  if (!ConvForm) ConvForm = this;
}

TConvForm::~TConvForm() {
  if (ConvForm == this) ConvForm = nullptr;
}

void TConvForm::FormShow(TObject*) { SetHeight(ConvShownHeight); }

void TConvForm::PauseButtonClick(TObject*) {
  if (PauseButton->Caption() == "Pause") {
    Tarnwell->Pause();
    PauseButton->SetCaption("Resume");
  } else {
    Tarnwell->Resume();
    PauseButton->SetCaption("Pause");
  }
}

void TConvForm::CancelButtonClick(TObject*) {
  Tarnwell->Stop(true);
  AddActionLogLine(*Unit, "Conversion cancelled by user.");
  CloseJob();
}

void TConvForm::BindSkin(TspSkinData* Data) {
  spFormSkin1->SetSkinData(Data);
  lblConvertingTitle->SetSkinData(Data);
  for (TspSkinCustomControl* C : std::initializer_list<TspSkinCustomControl*>{
           ProgressCurrent, ProgressTotal, cbOpenOutput, cbShutdownPC, PauseButton, CancelButton})
    C->SetSkinData(Data);
}

void TConvForm::JobStarted() { FJobRunning = true; }

void TConvForm::CloseJob() {
  FJobRunning = false;
  Close();
}

}  // namespace vantrel::app
