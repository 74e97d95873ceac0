// The class library's label: a windowless control that draws its caption with DrawText,
// can size itself to the text (DT_CALCRECT), wrap words, place the text at the top, middle
// or bottom, show or hide the accelerator character, and hand the focus to FocusControl
// when its accelerator is pressed.
#pragma once

#include "platform/ui/Controls.h"

// The three states of a check box: the grayed one stands for "some of both".
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// Vertical place of a text in its rectangle.
enum TTextLayout { tlTop, tlCenter, tlBottom };

class TCustomLabel : public TGraphicControl {
  VANTREL_CLASS(TCustomLabel)
  explicit TCustomLabel(TComponent* AOwner);
  ~TCustomLabel() override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  // On: the label takes the size DT_CALCRECT gives its text from its present width (so
  // a wrapping label wraps at that width, and an empty one is a blank wide).
  void SetAutoSize(Boolean Value) override;
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  Boolean ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(Boolean Value);
  // A transparent label paints only its text over what lies behind it.
  Boolean Transparent() const { return !ControlStyle.Contains(csOpaque); }
  void SetTransparent(Boolean Value);
  Boolean WordWrap() const { return FWordWrap; }
  void SetWordWrap(Boolean Value);

  void Notification(TComponent* AComponent, TOperation Operation) override;

 protected:
  // Sizes the label to its text (AutoSize), keeping the right edge of a right-aligned one.
  virtual void AdjustBounds();
  // Draws (with DT_CALCRECT: measures into Rect) the label text with Flags on the canvas:
  // embossed when disabled. A measured empty text (or a lone "&" shown as an accelerator)
  // counts as one blank, so it has the height of a line.
  virtual void DoDrawText(TRect& Rect, Integer Flags);
  virtual String GetLabelText();
  void Paint() override;
  void CMTextChanged(TWMNoParams& Message) override;
  void CMFontChanged(TWMNoParams& Message) override;
  // The accelerator of the caption focuses FocusControl.
  void CMDialogChar(TCMDialogChar& Message) override;

 private:
  TAlignment FAlignment = taLeftJustify;
  TWinControl* FFocusControl = nullptr;
  TTextLayout FLayout = tlTop;
  Boolean FShowAccelChar = true;
  Boolean FWordWrap = false;
};

class TLabel : public TCustomLabel {
  VANTREL_CLASS(TLabel)
  explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};
