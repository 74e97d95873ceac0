// The time edit: hours, minutes and optional seconds and milliseconds under a mask;
// digits overwrite in place and a digit that would make no valid time is dropped; the
// field at the caret steps with the wheel or the up-down buttons.
#include <cstdio>

#include "platform/rtl/NumConv.h"
#include "platform/rtl/Utf8.h"
#include "skin/controls/SkinBoxCtrls.h"

namespace {

constexpr char TimeSep = static_cast<char>(MaskTimeSeparator);
constexpr Integer MaxTimeMs = 24 * 3600 * 1000;

// Characters Start (1-based) to Start + Len - 1 of T, blanks made zeros.
String TimeField(const String& T, Integer Start, Integer Len) {
  String F = Copy(T, Start, Len);
  for (char& C : F)
    if (C == ' ') C = '0';
  return F;
}

// A part of exactly Len characters holding a non-digit reads as "00".
String TimeCheckDigits(const String& Part, size_t Len) {
  if (Part.size() != Len) return Part;
  for (char C : Part)
    if (C < '0' || C > '9') return "00";
  return Part;
}

String TimeText(const char* Format, Integer H, Integer M, Integer S, Integer Ms) {
  char Buf[32];
  std::snprintf(Buf, sizeof Buf, Format, H, M, S, Ms);
  String T = Buf;
  for (char& C : T)
    if (C == ':') C = TimeSep;
  return T;
}

String TimeSepMask(const char* Mask) {
  String M = Mask;
  for (char& C : M)
    if (C == ':') C = TimeSep;
  return M;
}

}  // namespace

TspSkinTimeEdit::TspSkinTimeEdit(TComponent* AOwner) : TspSkinMaskEdit(AOwner) {
  SetEditMask(TimeSepMask("!90:00:00;1; "));
  SetText(TimeText("%02d:%02d:%02d", 0, 0, 0, 0));
  OnKeyPress = [this](TObject* Sender, char32_t& Key) { TimeKeyPress(Sender, Key); };
}

TspSkinTimeEdit::~TspSkinTimeEdit() { HideUpDownButton(); }

void TspSkinTimeEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinMaskEdit::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FUpDown) FUpDown = nullptr;
}

String TspSkinTimeEdit::ResetText() const {
  if (FShowMSec) return TimeText("%02d:%02d:%02d.%03d", 0, 0, 0, 0);
  if (FShowSec) return TimeText("%02d:%02d:%02d", 0, 0, 0, 0);
  return TimeText("%02d:%02d", 0, 0, 0, 0);
}

void TspSkinTimeEdit::SetMaskAndText(const String& Mask, const String& Text) {
  SetEditMask(TimeSepMask(Mask.c_str()));
  SetText(Text);
}

void TspSkinTimeEdit::SetShowSec(Boolean Value) {
  if (FShowSec == Value) return;
  FShowSec = Value;
  if (!Value)
    SetMaskAndText("!90:00;1; ", ResetText());
  else if (FShowMSec)
    SetMaskAndText("!90:00:00.000;1; ", ResetText());
  else
    SetMaskAndText("!90:00:00;1; ", ResetText());
}

void TspSkinTimeEdit::SetShowMSec(Boolean Value) {
  if (FShowMSec == Value) return;
  FShowMSec = Value;
  if (Value)
    SetMaskAndText("!90:00:00.000;1; ", TimeText("%02d:%02d:%02d.%03d", 0, 0, 0, 0));
  else
    SetMaskAndText("!90:00:00;1; ", TimeText("%02d:%02d:%02d", 0, 0, 0, 0));
}

Boolean TspSkinTimeEdit::IsValidTime(Word Hour, Word Min, Word Sec, Word MSec) {
  if (Hour < 24 && Min < 60 && Sec < 60 && MSec < 1000) return true;
  return Hour == 24 && Min == 0 && Sec == 0 && MSec == 0;
}

void TspSkinTimeEdit::DecodeTime(Word& Hour, Word& Min, Word& Sec, Word& MSec) {
  const String T = Text();
  const String H = TimeCheckDigits(TimeField(T, 1, 2), 2);
  const String M = TimeCheckDigits(TimeField(T, 4, 2), 2);
  const String S = TimeCheckDigits(FShowSec ? TimeField(T, 7, 2) : String("00"), 2);
  Hour = static_cast<Word>(StrToInt(H));
  Min = static_cast<Word>(StrToInt(M));
  Sec = static_cast<Word>(StrToInt(S));
  String Ms = FShowMSec ? TimeField(T, 10, 3) : String("000");
  Ms = TimeCheckDigits(Ms, 3);
  MSec = static_cast<Word>(StrToInt(Ms));
  if (Hour > 23) Hour = 23;
  if (Min > 59) Min = 59;
  if (Sec > 59) Sec = 59;
  if (MSec > 999) MSec = 999;
}

void TspSkinTimeEdit::EncodeTime(Word Hour, Word Min, Word Sec, Word MSec) {
  if (!IsValidTime(Hour, Min, Sec, MSec)) return;
  try {
    if (FShowMSec)
      SetText(TimeText("%02d:%02d:%02d.%03d", Hour, Min, Sec, MSec));
    else if (FShowSec)
      SetText(TimeText("%02d:%02d:%02d", Hour, Min, Sec, 0));
    else
      SetText(TimeText("%02d:%02d", Hour, Min, 0, 0));
  } catch (const Exception&) {
    SetText(ResetText());
  }
}

void TspSkinTimeEdit::SetTime(const String& Value) {
  try {
    const Integer H = StrToInt(TimeField(Value, 1, 2));
    const Integer M = StrToInt(TimeField(Value, 4, 2));
    const Integer S = FShowSec ? StrToInt(TimeField(Value, 7, 2)) : 0;
    const Integer Ms = FShowMSec ? StrToInt(TimeField(Value, 10, 3)) : 0;
    if (FShowMSec)
      SetText(TimeText("%02d:%02d:%02d.%03d", H, M, S, Ms));
    else if (FShowSec)
      SetText(TimeText("%02d:%02d:%02d", H, M, S, 0));
    else
      SetText(TimeText("%02d:%02d", H, M, 0, 0));
  } catch (const Exception&) {
    SetText(ResetText());
  }
}

Integer TspSkinTimeEdit::Milliseconds() {
  const String T = Text();
  try {
    const Integer H = StrToInt(TimeField(T, 1, 2)), M = StrToInt(TimeField(T, 4, 2));
    const Integer S = StrToInt(TimeField(T, 7, 2)), Ms = StrToInt(TimeField(T, 10, 3));
    return ((H * 60 + M) * 60 + S) * 1000 + Ms;
  } catch (const Exception&) {
    return 0;
  }
}

void TspSkinTimeEdit::SetMilliseconds(Integer Value) {
  // Outside a day the count names no time of day: the edit is reset.
  if (Value < 0 || Value > MaxTimeMs) {
    SetText(ResetText());
    return;
  }
  // The text takes the form the flags give it.
  const Integer H = Value / 3600000, M = Value / 60000 % 60, S = Value / 1000 % 60, Ms = Value % 1000;
  if (FShowMSec)
    SetText(TimeText("%02d:%02d:%02d.%03d", H, M, S, Ms));
  else if (FShowSec)
    SetText(TimeText("%02d:%02d:%02d", H, M, S, 0));
  else
    SetText(TimeText("%02d:%02d", H, M, 0, 0));
}

Integer TspSkinTimeEdit::GetTimePart() {
  const String T = Text();
  const Integer Start = SelStart();
  Integer N = 0;
  for (Integer I = 0; I < Start && I < static_cast<Integer>(T.size()); ++I)
    if (T[static_cast<size_t>(I)] == TimeSep) ++N;
  return N;
}

void TspSkinTimeEdit::StepTimePart(Integer Delta) {
  if (!Focused()) SetFocus();
  Word H = 0, M = 0, S = 0, Ms = 0;
  DecodeTime(H, M, S, Ms);
  const Integer Part = GetTimePart();
  const Integer Start = SelStart();
  const auto Wrap = [Delta](Word V, Integer Count) {
    return static_cast<Word>((static_cast<Integer>(V) + Delta + Count) % Count);
  };
  switch (Part) {
    case 0: H = Wrap(H, 24); break;
    case 1: M = Wrap(M, 60); break;
    case 2:
      if (FShowSec) S = Wrap(S, 60);
      break;
    case 3:
      if (FShowMSec) Ms = Wrap(Ms, 1000);
      break;
    default: break;
  }
  EncodeTime(H, M, S, Ms);
  SetSelStart(Start);
}

void TspSkinTimeEdit::IncTimePart() { StepTimePart(1); }

void TspSkinTimeEdit::DecTimePart() { StepTimePart(-1); }

void TspSkinTimeEdit::TimeKeyPress(TObject*, char32_t& Key) {
  if (Key == 13 || Key == 8) return;
  if (SelLength() > 1) SetSelLength(1);
  String Candidate = Text();
  const Integer Pos = SelStart();
  if (Key >= U'0' && Key <= U'9' && Pos < static_cast<Integer>(Candidate.size()))
    Candidate[static_cast<size_t>(Pos)] = static_cast<char>(Key);
  try {
    const Integer H = StrToInt(TimeField(Candidate, 1, 2));
    const Integer M = StrToInt(TimeField(Candidate, 4, 2));
    const Integer S = StrToInt(FShowSec ? TimeField(Candidate, 7, 2) : String("0"));
    const Integer Ms = StrToInt(FShowMSec ? TimeField(Candidate, 10, 3) : String("0"));
    if (H < 0 || M < 0 || S < 0 || Ms < 0 ||
        !IsValidTime(static_cast<Word>(H), static_cast<Word>(M), static_cast<Word>(S), static_cast<Word>(Ms)))
      Key = 0;
  } catch (const Exception&) {
    Key = 0;
  }
}

void TspSkinTimeEdit::ValidateEdit() {
  if (!IsMasked() || !Modified()) return;
  // An incomplete time is left for the user to finish: no error.
  Integer Pos = 0;
  Validate(EditText(), Pos);
}

void TspSkinTimeEdit::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_MOUSEWHEEL) {
    if (static_cast<int32_t>(Message.WParam) > 0)
      IncTimePart();
    else
      DecTimePart();
    return;
  }
  TspSkinMaskEdit::Dispatch(Message);
}

// --- the up-down ---------------------------------------------------------------------------

void TspSkinTimeEdit::SetShowUpDown(Boolean Value) {
  FShowUpDown = Value;
  if (Value)
    ShowUpDownButton();
  else
    HideUpDownButton();
}

void TspSkinTimeEdit::ShowUpDownButton() {
  if (FUpDown) return;
  ControlStyle.Include(csAcceptsControls);
  FUpDown = new TspSkinIntUpDown(this);
  FUpDown->FreeNotification(this);
  FUpDown->OnUpButtonClick = [this](TObject*) { IncTimePart(); };
  FUpDown->FOnUpChange = [this](TObject*) { IncTimePart(); };
  FUpDown->OnDownButtonClick = [this](TObject*) { DecTimePart(); };
  FUpDown->FOnDownChange = [this](TObject*) { DecTimePart(); };
  FUpDown->SetSkinDataName("resizetoolbutton");
  FUpDown->SetSkinData(FSD);
  FUpDown->SetOrientation(udVertical);
  FUpDown->UseSkinSize = false;
  AdjustUpDown();
  FUpDown->SetParent(this);
}

void TspSkinTimeEdit::HideUpDownButton() {
  if (!FUpDown) return;
  ControlStyle.Exclude(csAcceptsControls);
  FUpDown->SetVisible(false);
  delete FUpDown;
  FUpDown = nullptr;
}

void TspSkinTimeEdit::AdjustUpDown() {
  if (!FUpDown) return;
  FUpDown->SetBounds(ClientWidth() - ClientHeight(), 0, ClientHeight(), ClientHeight());
}

void TspSkinTimeEdit::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  TspSkinMaskEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  AdjustUpDown();
}

void TspSkinTimeEdit::ChangeSkinData() {
  TspSkinMaskEdit::ChangeSkinData();
  if (!FUpDown) return;
  FUpDown->SetSkinData(FSD);
  AdjustUpDown();
}
