// The link label: an underlined, hover-coloured text whose click opens its address.
#include "platform/win/DrawText.h"
#include "platform/win/Shell.h"
#include "skin/controls/SkinExCtrls.h"

TspSkinLinkLabel::TspSkinLinkLabel(TComponent* AOwner) : TCustomLabel(AOwner) {
  SetTransparent(true);
  FDefaultFont->SetName("Arial");
  FDefaultFont->SetHeight(14);
  FDefaultFont->SetStyle(TFontStyles{fsUnderline});
  Font()->Assign(FDefaultFont.get());
  SetCursor(crHandPoint);
}

void TspSkinLinkLabel::SetUseUnderLine(Boolean Value) {
  if (FUseUnderLine == Value) return;
  FUseUnderLine = Value;
  Repaint();
}

void TspSkinLinkLabel::SetSkinData(TspSkinData* Value) {
  FSD = Value;
  if (Value) {
    Value->FreeNotification(this);
    ChangeSkinData();
  }
}

void TspSkinLinkLabel::ChangeSkinData() {
  LookUpLabelFont();
  Repaint();
}

void TspSkinLinkLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomLabel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TspSkinLinkLabel::Click() {
  TCustomLabel::Click();
  if (!FURL.empty()) ShellExecute(nullptr, "open", FURL.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TspSkinLinkLabel::CMMouseEnter(TWMNoParams& Message) {
  TCustomLabel::CMMouseEnter(Message);
  if (ComponentState().Contains(csDesigning)) return;
  FMouseIn = true;
  Repaint();
}

void TspSkinLinkLabel::CMMouseLeave(TWMNoParams& Message) {
  TCustomLabel::CMMouseLeave(Message);
  if (ComponentState().Contains(csDesigning)) return;
  FMouseIn = false;
  Repaint();
}

void TspSkinLinkLabel::DoDrawText(TRect& Rect, Integer Flags) {
  LookUpLabelFont();
  String Text = GetLabelText();
  if ((Flags & DT_CALCRECT) && (Text.empty() || (ShowAccelChar() && Text == "&"))) Text += ' ';
  if (!ShowAccelChar()) Flags |= DT_NOPREFIX;
  TRect R = Rect;
  if (FGlowEffect) R = ::Rect(R.Left, R.Top + FGlowSize, R.Right, R.Bottom + FGlowSize);
  TCanvas* C = Canvas();
  const bool Skinned = FIndex != -1;
  TColor Hover;
  if (!Skinned) {
    C->Font()->Assign(FUseSkinFont ? FDefaultFont.get() : Font());
    Hover = FDefaultActiveFontColor;
    if (FMouseIn) C->Font()->SetColor(Hover);
  } else {
    if (FUseSkinFont) {
      C->Font()->SetName(FontName);
      C->Font()->SetStyle(FontStyle);
      C->Font()->SetHeight(FontHeight);
    } else {
      C->Font()->Assign(Font());
    }
    Hover = ActiveFontColor;
    C->Font()->SetColor(FMouseIn && !FGlowEffect ? ActiveFontColor : FontColor);
  }
  TFontStyles S = C->Font()->Style();
  if (FUseUnderLine)
    S.Include(fsUnderline);
  else
    S.Exclude(fsUnderline);
  C->Font()->SetStyle(S);
  if (!Enabled() && !(Flags & DT_CALCRECT)) {
    DrawLabelText(C, Text, R, static_cast<UINT>(Flags), false, false);
  } else if (FMouseIn && FGlowEffect && !(Flags & DT_CALCRECT)) {
    DrawThickGlowText(C, R, Text, Flags, 0, Hover, FGlowSize);
  } else {
    DrawTextW(C->Handle(), Text, -1, &R, static_cast<UINT>(Flags));
  }
  if (Flags & DT_CALCRECT) Rect = R;
}
