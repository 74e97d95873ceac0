// The "Error!" window: what failed, the user's name, address and details, "Send" and
// "Cancel". The error picture is painted here.
#include "app/errordlg.h"

#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/forms/FormSkin.h"

namespace vantrel::app {

TErrorForm* ErrorForm = nullptr;

namespace {

constexpr Integer ErrorClientHeight = 255;

struct TErrorLabel {
  Integer Left, Top;
  const char* Caption;
};
// The fixed texts of the window; the error text goes below the first.
constexpr TErrorLabel ErrorLabels[] = {
    {63, 11, "The following error occured:"},
    {9, 66, "Error report is generated. Please send it to developers to fix the problem."},
    {9, 83, "If you want to be notified when the problem is fixed,  you can leave"},
    {9, 100, "your contact information. You can also provide details of the problem. "},
    {9, 127, "Your Name:"},
    {155, 127, "Details:"},
    {9, 169, "Your E-Mail:"},
};

// A red disc with a white cross, 32 x 32.
void PaintErrorPicture(TImage* Image) {
  TBitmap* B = Image->Picture()->Bitmap();
  B->SetPixelFormat(pf24bit);
  B->SetSize(32, 32);
  TCanvas* C = B->Canvas();
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(Rect(0, 0, 32, 32));
  C->Brush()->SetColor(static_cast<TColor>(0x0000C0));  // red
  C->Pen()->SetColor(static_cast<TColor>(0x000080));
  C->Ellipse(1, 1, 31, 31);
  C->Pen()->SetColor(clWhite);
  C->Pen()->SetWidth(3);
  C->MoveTo(10, 10);
  C->LineTo(22, 22);
  C->MoveTo(22, 10);
  C->LineTo(10, 22);
}

}  // namespace

TErrorForm::TErrorForm(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("Error!");
  SetBorderStyle(bsDialog);
  SetBorderIcons({});
  SetPosition(poScreenCenter);
  OnShow = [this](TObject* Sender) { FormShow(Sender); };

  spFormSkin1 = ::Create<TspFormSkin>(this);
  spFormSkin1->SetName("spFormSkin1");
  spFormSkin1->SetBorderIcons({});
  // A skin brings borders of its own; the frame puts the client size back after each change.
  spFormSkin1->SetClientWidth(375);
  spFormSkin1->SetClientHeight(ErrorClientHeight);
  // The client size needs the window's own borders, drawn by the frame component.
  HandleNeeded();
  SetClientSize(375, ErrorClientHeight);

  Image1 = ::Create<TImage>(this);
  Image1->SetParent(this);
  Image1->SetBounds(15, 11, 32, 32);
  PaintErrorPicture(Image1);

  for (const TErrorLabel& L : ErrorLabels) {
    auto* Label = ::Create<TspSkinStdLabel>(this);
    Label->SetParent(this);
    Label->SetLeft(L.Left);
    Label->SetTop(L.Top);
    Label->SetCaption(L.Caption);
    FLabels.push_back(Label);
  }
  lblErrorText = ::Create<TspSkinStdLabel>(this);
  lblErrorText->SetName("lblErrorText");
  lblErrorText->SetParent(this);
  lblErrorText->SetLeft(63);
  lblErrorText->SetTop(26);
  FLabels.push_back(lblErrorText);

  edName = ::Create<TspSkinEdit>(this);
  edName->SetName("edName");
  edName->SetParent(this);
  edName->SetBounds(9, 143, 129, 21);
  edName->SetText("");
  edEmail = ::Create<TspSkinEdit>(this);
  edEmail->SetName("edEmail");
  edEmail->SetParent(this);
  edEmail->SetBounds(9, 185, 129, 21);
  edEmail->SetText("");
  memDetails = ::Create<TspSkinMemo>(this);
  memDetails->SetName("memDetails");
  memDetails->SetParent(this);
  memDetails->SetBounds(155, 143, 207, 60);
  memDetails->SetScrollBars(ssBoth);
  memDetailsBars = AttachMemoScrollBars(memDetails);

  PreviewButton = ::Create<TspSkinButton>(this);
  PreviewButton->SetName("PreviewButton");
  PreviewButton->SetParent(this);
  PreviewButton->SetBounds(164, 222, 92, 25);
  PreviewButton->SetCaption("Send");
  PreviewButton->SetModalResult(mrOk);
  spSkinButton1 = ::Create<TspSkinButton>(this);
  spSkinButton1->SetName("spSkinButton1");
  spSkinButton1->SetParent(this);
  spSkinButton1->SetBounds(262, 222, 92, 25);
  spSkinButton1->SetCaption("Cancel");
  spSkinButton1->SetModalResult(mrCancel);

  if (!ErrorForm) ErrorForm = this;
}

TErrorForm::~TErrorForm() {
  if (ErrorForm == this) ErrorForm = nullptr;
}

void TErrorForm::FormShow(TObject*) { SetClientHeight(ErrorClientHeight); }

void TErrorForm::BindSkin(TspSkinData* Data) {
  spFormSkin1->SetSkinData(Data);
  for (TspSkinStdLabel* L : FLabels) L->SetSkinData(Data);
  edName->SetSkinData(Data);
  edEmail->SetSkinData(Data);
  memDetails->SetSkinData(Data);
  memDetailsBars.SetSkinData(Data);
  PreviewButton->SetSkinData(Data);
  spSkinButton1->SetSkinData(Data);
}

}  // namespace vantrel::app
