// The windowless labels: the skin font lookup they share, the standard label's text
// drawing and the multi-line text label.
#include "platform/win/DrawText.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/core/drawing/SPUtils.h"

void TspLabelSkinFont::LookUpLabelFont() {
  FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(FSkinDataName);
  if (FIndex == -1) return;
  if (auto* D = dynamic_cast<TspDataSkinStdLabelControl*>(FSD->CtrlList.Items(FIndex))) {
    FontName = D->FontName;
    FontStyle = D->FontStyle;
    FontHeight = D->FontHeight;
    FontColor = D->FontColor;
    ActiveFontColor = D->ActiveFontColor;
  }
}

void TspLabelSkinFont::ApplyLabelFont(TCanvas* C, TFont* Font) {
  if (FIndex == -1) {
    C->Font()->Assign(FUseSkinFont ? FDefaultFont.get() : Font);
    return;
  }
  if (FUseSkinFont) {
    C->Font()->SetName(FontName);
    C->Font()->SetStyle(FontStyle);
    C->Font()->SetHeight(FontHeight);
  } else {
    C->Font()->Assign(Font);
  }
  C->Font()->SetColor(FUseSkinColor ? FontColor : Font->Color());
}

void TspLabelSkinFont::DrawLabelText(TCanvas* C, const String& Text, TRect& R, UINT Flags, Boolean Enabled,
                                     Boolean Ellipsis) {
  auto Draw = [&](TRect& Where) {
    if (Ellipsis)
      DrawTextExW(C->Handle(), Text, -1, &Where, Flags, nullptr);
    else
      DrawTextW(C->Handle(), Text, -1, &Where, Flags);
  };
  if (Enabled || (Flags & DT_CALCRECT)) {
    Draw(R);
    return;
  }
  const bool Skinned = FIndex != -1;
  TRect Moved = Rect(R.Left + 1, R.Top + 1, R.Right + 1, R.Bottom + 1);
  C->Font()->SetColor(Skinned ? FSD->SkinColors()->cBtnHighLight() : clBtnHighlight);
  Draw(Moved);
  C->Font()->SetColor(Skinned ? FSD->SkinColors()->cBtnShadow() : clBtnShadow);
  Draw(R);
}

// ---------------------------------------------------------------------------------------

TspSkinStdLabel::TspSkinStdLabel(TComponent* AOwner) : TCustomLabel(AOwner) { SetTransparent(true); }

void TspSkinStdLabel::SetEllipsType(TspEllipsType Value) {
  FEllipsType = Value;
  Invalidate();
}

void TspSkinStdLabel::SetSkinData(TspSkinData* Value) {
  FSD = Value;
  if (Value) {
    Value->FreeNotification(this);
    ChangeSkinData();
  }
}

void TspSkinStdLabel::ChangeSkinData() {
  GetSkinData();
  if (AutoSize()) AdjustBounds();
  Repaint();
}

void TspSkinStdLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomLabel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TspSkinStdLabel::DoDrawText(TRect& Rect, Integer Flags) {
  GetSkinData();
  String Text = GetLabelText();
  if ((Flags & DT_CALCRECT) && (Text.empty() || (ShowAccelChar() && Text == "&"))) Text += ' ';
  if (!ShowAccelChar()) Flags |= DT_NOPREFIX;
  if (FEllipsType == spetEndEllips) Flags |= DT_END_ELLIPSIS;
  if (FEllipsType == spetPathEllips) Flags |= DT_PATH_ELLIPSIS;
  ApplyLabelFont(Canvas(), Font());
  DrawLabelText(Canvas(), Text, Rect, static_cast<UINT>(Flags), Enabled(), FEllipsType != spetNone);
}

// ---------------------------------------------------------------------------------------

TspSkinTextLabel::TspSkinTextLabel(TComponent* AOwner)
    : TGraphicControl(AOwner), FLines(std::make_unique<TStringList>()) {
  ControlStyle.Exclude(csOpaque);
  ControlStyle.Include(csReplicatable);
  SetBounds(Left(), Top(), 65, 65);
  FLines->OnChange = [this](TObject*) {
    if (FAutoSize) AdjustBounds();
    Repaint();
  };
}

void TspSkinTextLabel::SetSkinData(TspSkinData* Value) {
  FSD = Value;
  if (Value) {
    Value->FreeNotification(this);
    ChangeSkinData();
  }
}

void TspSkinTextLabel::ChangeSkinData() {
  GetSkinData();
  if (FAutoSize) AdjustBounds();
  Repaint();
}

void TspSkinTextLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TspSkinTextLabel::SetLines(TStrings* Value) {
  FLines->Assign(Value);
  Repaint();
}

void TspSkinTextLabel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TspSkinTextLabel::SetLayout(TTextLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TspSkinTextLabel::SetWordWrap(Boolean Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

void TspSkinTextLabel::SetAutoSize(Boolean Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  AdjustBounds();
}

void TspSkinTextLabel::GetLabelText(String& S) { S = FLines->Text(); }

void TspSkinTextLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TspSkinTextLabel::CMFontChanged(TWMNoParams& Message) {
  TGraphicControl::CMFontChanged(Message);
  AdjustBounds();
}

void TspSkinTextLabel::DoDrawText(TCanvas* C, TRect& R, UINT Flags) {
  GetSkinData();
  String Text;
  GetLabelText(Text);
  ApplyLabelFont(C, Font());
  DrawLabelText(C, Text, R, Flags, Enabled(), false);
}

void TspSkinTextLabel::Paint() {
  Canvas()->Brush()->SetStyle(bsClear);
  TRect R = ClientRect();
  UINT Flags = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0);
  Flags |= FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT;
  if (FLayout != tlTop) {
    TRect Calc = R;
    DoDrawText(Canvas(), Calc, Flags | DT_CALCRECT);
    // The list's text ends with a line break, measured as one more empty line.
    Calc.Bottom -= Canvas()->TextHeight("A");
    const Integer Offset = Height() - Calc.Bottom;
    const Integer Down = FLayout == tlBottom ? Offset : Offset / 2;
    R = Rect(R.Left, R.Top + Down, R.Right, R.Bottom + Down);
  }
  DoDrawText(Canvas(), R, Flags);
}

void TspSkinTextLabel::AdjustBounds() {
  if (ComponentState().Contains(csLoading) || !FAutoSize) return;
  TRect R = ClientRect();
  // Measured on a memory canvas: the label may have no window to paint in yet.
  auto Measure = CreateOwned<TBitmap>();
  Measure->SetSize(1, 1);
  DoDrawText(Measure->Canvas(), R, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? DT_WORDBREAK : 0));
  R.Bottom -= Measure->Canvas()->TextHeight("A");
  Integer X = Left();
  if (FAlignment == taRightJustify) X = Left() + Width() - R.Right;
  SetBounds(X, Top(), R.Right, R.Bottom);
}
