// The "Error!" window: what failed, the user's name, address and details, "Send" and
// "Cancel". The error picture is painted here.
#include "app/errordlg.h"

#include <algorithm>

#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/forms/FormSkin.h"

namespace vantrel::app {

TErrorForm* ErrorForm = nullptr;

namespace {

constexpr Integer ErrorClientHeight = 255;
constexpr Integer ErrorTextLeft = 63;
constexpr Integer ErrorTextTop = 26;
constexpr Integer ErrorTextRightMargin = 9;
constexpr Integer FirstTextBelowError = 66;  // the top of what stands under the error text
constexpr Integer ErrorTextGap = 4;          // kept between the error text and what follows

// The error text label: draws its caption broken into the lines that fit its width.
class TErrorTextLabel : public TspSkinStdLabel {
  VANTREL_CLASS(TErrorTextLabel)
  explicit TErrorTextLabel(TComponent* AOwner) : TspSkinStdLabel(AOwner) {}

  std::vector<String> Lines() {
    ApplyTextFont();
    return WrapErrorText(Caption(), Width(), [this](const String& S) { return Canvas()->TextWidth(S); });
  }
  Integer LineHeight() {
    ApplyTextFont();
    return Canvas()->TextHeight("Wg");
  }

 protected:
  String GetLabelText() override {
    String Text;
    for (const String& Line : Lines()) Text += (Text.empty() ? "" : "\n") + Line;
    return Text;
  }
};

// The length of the UTF-8 sequence that starts at Text[At].
size_t ErrorTextCharLength(const String& Text, size_t At) {
  size_t End = At + 1;
  while (End < Text.size() && (static_cast<unsigned char>(Text[End]) & 0xC0) == 0x80) ++End;
  return End - At;
}

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
  lblErrorText = ::Create<TErrorTextLabel>(this);
  lblErrorText->SetName("lblErrorText");
  lblErrorText->SetParent(this);
  lblErrorText->SetAutoSize(false);
  lblErrorText->SetWordWrap(true);
  lblErrorText->SetShowAccelChar(false);  // an "&" in a file name is part of the text
  lblErrorText->SetBounds(ErrorTextLeft, ErrorTextTop, 375 - ErrorTextLeft - ErrorTextRightMargin, 13);
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

void TErrorForm::FormShow(TObject*) { FitErrorText(); }

void TErrorForm::FitErrorText() {
  if (FBelowText.empty())
    for (Integer I = 0; I < ControlCount(); ++I)
      if (Controls(I)->Top() >= FirstTextBelowError) FBelowText.emplace_back(Controls(I), Controls(I)->Top());
  auto* Label = static_cast<TErrorTextLabel*>(lblErrorText);
  const Integer LineHeight = Label->LineHeight();
  const Integer TextHeight = std::max<Integer>(1, static_cast<Integer>(Label->Lines().size())) * LineHeight;
  const Integer Frame = Height() - ClientHeight();
  const Integer MostExtra = std::max(0, Screen->WorkAreaHeight() - Frame - ErrorClientHeight);
  const Integer Extra = std::min(MostExtra, std::max(0, ErrorTextTop + TextHeight + ErrorTextGap - FirstTextBelowError));
  // Beyond the screen's height only whole lines that fit are shown.
  const Integer Room = FirstTextBelowError + Extra - ErrorTextGap - ErrorTextTop;
  Label->SetHeight(std::min(TextHeight, std::max(LineHeight, Room / LineHeight * LineHeight)));
  for (const auto& [Control, Top] : FBelowText) Control->SetTop(Top + Extra);
  SetClientHeight(ErrorClientHeight + Extra);
  // A taller window stays on the screen.
  const TRect Area = Screen->WorkAreaRect();
  if (Top() + Height() > Area.Bottom) SetTop(std::max(Area.Top, Area.Bottom - Height()));
}

std::vector<String> WrapErrorText(const String& Text, Integer Width,
                                  const std::function<Integer(const String&)>& Measure) {
  std::vector<String> Lines;
  size_t Start = 0;
  while (Start <= Text.size()) {
    size_t End = Text.find('\n', Start);
    if (End == String::npos) End = Text.size();
    String Paragraph = Text.substr(Start, End - Start);
    if (!Paragraph.empty() && Paragraph.back() == '\r') Paragraph.pop_back();
    String Line;
    size_t At = 0;
    while (At < Paragraph.size()) {
      const size_t WordEnd = std::min(Paragraph.find(' ', At), Paragraph.size());
      String Word = Paragraph.substr(At, WordEnd - At);
      At = WordEnd + (WordEnd < Paragraph.size() ? 1 : 0);
      if (Line.empty() ? Measure(Word) <= Width : Measure(Line + " " + Word) <= Width) {
        Line += (Line.empty() ? "" : " ") + Word;
        continue;
      }
      if (!Line.empty()) Lines.push_back(Line);
      Line.clear();
      // A word wider than a line goes in pieces, as many characters as fit each.
      while (Measure(Word) > Width) {
        size_t Fit = ErrorTextCharLength(Word, 0);
        for (size_t Next = Fit; Next < Word.size(); Next += ErrorTextCharLength(Word, Next)) {
          if (Measure(Word.substr(0, Next + ErrorTextCharLength(Word, Next))) > Width) break;
          Fit = Next + ErrorTextCharLength(Word, Next);
        }
        if (Fit >= Word.size()) break;
        Lines.push_back(Word.substr(0, Fit));
        Word.erase(0, Fit);
      }
      Line = Word;
    }
    Lines.push_back(Line);
    Start = End + 1;
  }
  return Lines;
}

void TErrorForm::BindSkin(TspSkinData* Data) {
  spFormSkin1->SetSkinData(Data);
  // The texts keep the window's own font (the skin's colours): they are laid out for it.
  for (TspSkinStdLabel* L : FLabels) {
    L->SetUseSkinFont(false);
    L->SetSkinData(Data);
  }
  edName->SetSkinData(Data);
  edEmail->SetSkinData(Data);
  memDetails->SetSkinData(Data);
  memDetailsBars.SetSkinData(Data);
  PreviewButton->SetSkinData(Data);
  spSkinButton1->SetSkinData(Data);
}

}  // namespace vantrel::app
