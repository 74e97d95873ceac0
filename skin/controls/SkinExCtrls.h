// The hover-aware windowless labels: a flat button drawn as glyph and caption, and a
// hyperlink that opens its address.
#pragma once

#include "skin/controls/SkinCtrls.h"
#include "skin/core/drawing/SPUtils.h"

using TspNumGlyphs = Integer;  // 1..4

class TspSkinButtonLabel : public TGraphicControl, public TspLabelSkinFont {
  VANTREL_CLASS(TspSkinButtonLabel)
  explicit TspSkinButtonLabel(TComponent* AOwner);

  Boolean UseCustomGlowColor() const { return FUseCustomGlowColor; }
  void SetUseCustomGlowColor(Boolean Value) { FUseCustomGlowColor = Value; }
  TColor CustomGlowColor() const { return FCustomGlowColor; }
  void SetCustomGlowColor(TColor Value) { FCustomGlowColor = Value; }
  Boolean GlowEffect() const { return FGlowEffect; }
  void SetGlowEffect(Boolean Value) { FGlowEffect = Value; }
  Integer GlowSize() const { return FGlowSize; }
  void SetGlowSize(Integer Value) { FGlowSize = Value; }
  Boolean DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(Boolean Value);
  Boolean WebStyle() const { return FWebStyle; }
  void SetWebStyle(Boolean Value);
  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value);
  Boolean UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(Boolean Value) { FUseSkinFont = Value; }
  TColor DefaultActiveFontColor() const { return FDefaultActiveFontColor; }
  void SetDefaultActiveFontColor(TColor Value) { FDefaultActiveFontColor = Value; }
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TspNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TspNumGlyphs Value);
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer Value);
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer Value);
  TspButtonLayout Layout() const { return FLayout; }
  void SetLayout(TspButtonLayout Value);
  TCustomImageList* ImageList() const { return FImageList; }
  void SetImageList(TCustomImageList* Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  Integer ActiveImageIndex() const { return FActiveImageIndex; }
  void SetActiveImageIndex(Integer Value) { FActiveImageIndex = Value; }

  void ChangeSkinData();
  // The picture of the glyph strip for the current state (1-based).
  Integer GlyphNumber() const;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void CMMouseEnter(TWMNoParams& Message) override;
  void CMMouseLeave(TWMNoParams& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void DrawLabel(TCanvas* C);

  Boolean FUseCustomGlowColor = false;
  TColor FCustomGlowColor = static_cast<TColor>(0x00FFFF00);
  Boolean FGlowEffect = false;
  Integer FGlowSize = 7;
  Boolean FDoubleBuffered = false;
  Boolean FWebStyle = false;
  Boolean FMouseIn = false;
  Boolean FDown = false;
  TColor FDefaultActiveFontColor = static_cast<TColor>(0x00FF0000);
  std::unique_ptr<TBitmap> FGlyph;
  TspNumGlyphs FNumGlyphs = 1;
  Integer FMargin = -1;
  Integer FSpacing = 1;
  TspButtonLayout FLayout = blGlyphLeft;
  TCustomImageList* FImageList = nullptr;
  Integer FImageIndex = -1;
  Integer FActiveImageIndex = -1;
};

class TspSkinLinkLabel : public TCustomLabel, public TspLabelSkinFont {
  VANTREL_CLASS(TspSkinLinkLabel)
  explicit TspSkinLinkLabel(TComponent* AOwner);

  Boolean GlowEffect() const { return FGlowEffect; }
  void SetGlowEffect(Boolean Value) { FGlowEffect = Value; }
  Integer GlowSize() const { return FGlowSize; }
  void SetGlowSize(Integer Value) { FGlowSize = Value; }
  Boolean UseUnderLine() const { return FUseUnderLine; }
  void SetUseUnderLine(Boolean Value);
  Boolean UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(Boolean Value) { FUseSkinFont = Value; }
  TColor DefaultActiveFontColor() const { return FDefaultActiveFontColor; }
  void SetDefaultActiveFontColor(TColor Value) { FDefaultActiveFontColor = Value; }
  const String& URL() const { return FURL; }
  void SetURL(const String& Value) { FURL = Value; }
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }

  void ChangeSkinData();
  void Click() override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DoDrawText(TRect& Rect, Integer Flags) override;
  void CMMouseEnter(TWMNoParams& Message) override;
  void CMMouseLeave(TWMNoParams& Message) override;

  Boolean FGlowEffect = false;
  Integer FGlowSize = 7;
  Boolean FMouseIn = false;
  TColor FDefaultActiveFontColor = static_cast<TColor>(0x00FF0000);
  String FURL;
  Boolean FUseUnderLine = true;
};
