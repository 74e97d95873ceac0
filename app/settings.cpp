// The "Profile Settings" dialog: its controls, filling them from the current format, and
// storing the choices back into the catalogue record.
#include "app/settings.h"

#include "app/FormShape.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/NumConv.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/forms/FormSkin.h"

namespace vantrel::app {

namespace {

using SettingsCombo = TspSkinComboBox* Tsettingsform::*;

// The fixed lists in the order OK stores them (the resolution goes first), each with the
// choice list it shows and the field it stands for.
struct FixedChoice {
  SettingsCombo Combo;
  String TFormat::*Choices;
  String TFormat::*Value;
};
const FixedChoice FixedChoices[] = {
    {&Tsettingsform::cmbVideoBitRate, &TFormat::VideoBitRates, &TFormat::VideoBitRate},
    {&Tsettingsform::cmbVideoFrameRate, &TFormat::FrameRates, &TFormat::FrameRate},
    {&Tsettingsform::cmbVideoEncoder, &TFormat::VideoCodecs, &TFormat::VideoCodecName},
    {&Tsettingsform::cmbSampleRate, &TFormat::SampleRates, &TFormat::SampleRate},
    {&Tsettingsform::cmbChannel, &TFormat::Channels, &TFormat::Channel},
    {&Tsettingsform::cmbAudioEncoder, &TFormat::AudioCodecs, &TFormat::AudioCodecName},
    {&Tsettingsform::cmbAudioBitRate, &TFormat::AudioBitRates, &TFormat::AudioBitRate},
};

// Where each combo and its label sit inside their group box.
struct ComboPlace {
  SettingsCombo Combo;
  const char* Name;
  const char* Label;
  bool Audio;
  Integer X, Y;
};
const ComboPlace ComboPlaces[] = {
    {&Tsettingsform::cmbVideoResolution, "cmbVideoResolution", "Resolution:", false, 73, 25},
    {&Tsettingsform::cmbVideoEncoder, "cmbVideoEncoder", "Encoder:", false, 73, 68},
    {&Tsettingsform::cmbVideoFrameRate, "cmbVideoFrameRate", "Frame Rate:", false, 286, 28},
    {&Tsettingsform::cmbVideoBitRate, "cmbVideoBitRate", "Bit Rate:", false, 286, 67},
    {&Tsettingsform::cmbSampleRate, "cmbSampleRate", "Sample Rate:", true, 74, 27},
    {&Tsettingsform::cmbAudioEncoder, "cmbAudioEncoder", "Encoder:", true, 74, 65},
    {&Tsettingsform::cmbChannel, "cmbChannel", "Channels:", true, 287, 28},
    {&Tsettingsform::cmbAudioBitRate, "cmbAudioBitRate", "Bit Rate:", true, 287, 65},
};
constexpr Integer SettingsComboWidth = 127;
constexpr Integer SettingsLabelGap = 68;

struct ButtonPlace {
  TspSkinButton* Tsettingsform::*Button;
  const char* Name;
  const char* Caption;
  Integer X;
  void (Tsettingsform::*Click)(TObject*);
};
const ButtonPlace ButtonPlaces[] = {
    {&Tsettingsform::spSkinButton3, "spSkinButton3", "Default", 8, &Tsettingsform::spSkinButton3Click},
    {&Tsettingsform::spSkinButton1, "spSkinButton1", "OK", 248, &Tsettingsform::spSkinButton1Click},
    {&Tsettingsform::spSkinButton2, "spSkinButton2", "Cancel", 344, &Tsettingsform::spSkinButton2Click},
};

template <class T>
T* PlaceSettingsControl(TForm* Form, TWinControl* Parent, const char* Name, Integer X, Integer Y,
                        Integer W, Integer H) {
  T* C = ::Create<T>(Form);
  if (Name) C->SetName(Name);
  C->SetParent(Parent);
  C->SetBounds(X, Y, W, H);
  return C;
}

TspSkinStdLabel* PlaceSettingsLabel(TForm* Form, TWinControl* Parent, const char* Caption,
                                    Integer X, Integer Y) {
  auto* L = ::Create<TspSkinStdLabel>(Form);
  L->SetParent(Parent);
  L->SetAutoSize(false);
  L->SetBounds(X, Y, SettingsLabelGap - 2, 16);
  // The labels fit the room before their combos in a slightly smaller face.
  L->SetUseSkinFont(false);
  L->Font()->SetSize(7);
  L->SetCaption(Caption);
  return L;
}

// The part of Text before the first or after the last "*" when it is an integer.
String ResolutionPart(const String& Text, bool Width) {
  const size_t Star = Width ? Text.find('*') : Text.rfind('*');
  if (Star == String::npos) return "-1";
  const String Part = Width ? Text.substr(0, Star) : Text.substr(Star + 1);
  Integer Value = 0;
  return TryStrToInt(Part, Value) ? Part : String("-1");
}

bool ResolutionAccepted(Integer W, Integer H) {
  return W >= 64 && W <= 1920 && H >= 64 && H <= 1280 && W % 2 == 0 && H % 2 == 0;
}

}  // namespace

std::unique_ptr<TStringList> SplitChoiceList(const String& Text, bool Values) {
  auto ValueList = std::make_unique<TStringList>();
  auto LabelList = std::make_unique<TStringList>();
  String Collected;
  for (char C : Text) {
    if (C == '$') {
      ValueList->Add(Collected);
      Collected.clear();
    } else if (C == ',') {
      LabelList->Add(Collected);
      Collected.clear();
    } else {
      Collected += C;
    }
  }
  LabelList->Add(Collected);
  return Values ? std::move(ValueList) : std::move(LabelList);
}

String ResolutionWidthPart(const String& Text) { return ResolutionPart(Text, true); }

String ResolutionHeightPart(const String& Text) { return ResolutionPart(Text, false); }

Tsettingsform::Tsettingsform(TComponent* AOwner) : TForm(AOwner) {
  spFormSkin1 = ShapeForm(*this, {"Profile Settings", bsDialog, 440, 310, poScreenCenter});
  lblProfile = PlaceSettingsLabel(this, this, "Profile:", 12, 12);
  edProfile = PlaceSettingsControl<TspSkinEdit>(this, this, "edProfile", 52, 10, 378, 21);
  edProfile->SetReadOnly(true);
  gbVideo = PlaceSettingsControl<TspSkinGroupBox>(this, this, "gbVideo", 9, 40, 421, 102);
  gbVideo->SetCaption("Video");
  gbAudio = PlaceSettingsControl<TspSkinGroupBox>(this, this, "gbAudio", 8, 152, 421, 102);
  gbAudio->SetCaption("Audio");
  for (const ComboPlace& P : ComboPlaces) {
    TspSkinGroupBox* Group = P.Audio ? gbAudio : gbVideo;
    PlaceSettingsLabel(this, Group, P.Label, P.X - SettingsLabelGap, P.Y + 4);
    auto* Combo = PlaceSettingsControl<TspSkinComboBox>(this, Group, P.Name, P.X, P.Y, SettingsComboWidth, 20);
    Combo->SetStyle(P.Combo == &Tsettingsform::cmbVideoResolution ? spcbEditStyle : spcbFixedStyle);
    this->*P.Combo = Combo;
  }
  for (const ButtonPlace& P : ButtonPlaces) {
    auto* B = PlaceSettingsControl<TspSkinButton>(this, this, P.Name, P.X, 272, 88, 25);
    B->SetCaption(P.Caption);
    B->OnClick = [this, Click = P.Click](TObject* Sender) { (this->*Click)(Sender); };
    this->*P.Button = B;
  }
  OnShow = [this](TObject* Sender) { FormShow(Sender); };
}

void Tsettingsform::BindSkin(TspSkinData* Data) {
  spFormSkin1->SetSkinData(Data);
  edProfile->SetSkinData(Data);
  gbVideo->SetSkinData(Data);
  gbAudio->SetSkinData(Data);
  for (const ComboPlace& P : ComboPlaces) (this->*P.Combo)->SetSkinData(Data);
  for (const ButtonPlace& P : ButtonPlaces) (this->*P.Button)->SetSkinData(Data);
  for (Integer I = 0; I < ComponentCount(); ++I)
    if (auto* Label = dynamic_cast<TspSkinStdLabel*>(Components(I))) Label->SetSkinData(Data);
}

TFormat& Tsettingsform::CurrentFormat() {
  return State->Profiles.at(static_cast<size_t>(State->CurrentProfileInd))
      .Formats.at(static_cast<size_t>(State->CurrentFormatInd));
}

void Tsettingsform::FillSettingsCombos() {
  for (const ComboPlace& P : ComboPlaces) {
    (this->*P.Combo)->Items()->Clear();
    (this->*P.Combo)->SetText("");
  }
  const TFormat& F = CurrentFormat();
  edProfile->SetText(F.Title);
  cmbVideoResolution->Items()->Assign(SplitChoiceList(F.Resolutions, false).get());
  const String Size = F.Width + "*" + F.Height;
  cmbVideoResolution->SetText(Size == "*" ? String() : Size);
  for (const FixedChoice& C : FixedChoices) {
    TspSkinComboBox* Combo = this->*C.Combo;
    Combo->Items()->Assign(SplitChoiceList(F.*C.Choices, false).get());
    const Integer Index = SplitChoiceList(F.*C.Choices, true)->IndexOf(F.*C.Value);
    Combo->SetItemIndex(Index);
    if (Index < 0) Combo->SetText("");
  }
}

void Tsettingsform::FormShow(TObject*) {
  for (const ComboPlace& P : ComboPlaces) (this->*P.Combo)->SetEnabled(true);
  FillSettingsCombos();
  for (const ComboPlace& P : ComboPlaces)
    if ((this->*P.Combo)->Text().empty()) (this->*P.Combo)->SetEnabled(false);
}

void Tsettingsform::spSkinButton1Click(TObject*) {
  TFormat& F = CurrentFormat();
  bool Changed = F.AreSettingsChanged;
  const String Typed = cmbVideoResolution->Text();
  const String Width = ResolutionWidthPart(Typed), Height = ResolutionHeightPart(Typed);
  // An audio-only format has no resolution (its combo is disabled): nothing to check.
  if (cmbVideoResolution->Enabled() &&
      !ResolutionAccepted(StrToIntDef(Width, -1), StrToIntDef(Height, -1))) {
    if (FileList) FileList->ShowSkinMessage(InvalidResolutionText, mtWarning);
    return;
  }
  try {
    State->LastEditedProfileInd = State->CurrentProfileInd;
    State->LastEditedFormatInd = State->CurrentFormatInd;
    const auto Store = [&](String TFormat::*Field, const String& Value) {
      if (F.*Field != Value) Changed = true;
      F.*Field = Value;
    };
    if (cmbVideoResolution->Enabled()) {
      Store(&TFormat::Width, Width);
      Store(&TFormat::Height, Height);
      State->LastEditedValues[leVideoWidth] = Width;
      State->LastEditedValues[leVideoHeight] = Height;
    }
    for (const FixedChoice& C : FixedChoices) {
      TspSkinComboBox* Combo = this->*C.Combo;
      if (!Combo->Enabled()) continue;
      const auto Values = SplitChoiceList(F.*C.Choices, true);
      const Integer Index = Combo->ItemIndex();
      if (Index < 0 || Index >= Values->Count())
        throw Exception("No value for the choice " + IntToStr(Index));
      Store(C.Value, Values->Get(Index));
    }
    F.AreSettingsChanged = Changed;
  } catch (const std::exception&) {
    ReportError(*State, "Error setting profile", CLM_SettingProfile);
  }
  if (FileList) FileList->ReestimateAllSizes();
  SetModalResult(mrOk);
  if (!(FormState().Contains(fsModal))) Close();
}

void Tsettingsform::spSkinButton2Click(TObject*) {
  SetModalResult(mrCancel);
  if (!(FormState().Contains(fsModal))) Close();
}

void Tsettingsform::spSkinButton3Click(TObject*) { FillSettingsCombos(); }

}  // namespace vantrel::app
