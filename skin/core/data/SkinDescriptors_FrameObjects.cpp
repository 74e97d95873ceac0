// Button, caption-button, animation, label, gauge, track bar and user object descriptors of
// the form frame.
#include "skin/core/data/SkinDescriptors.h"

using vantrel::skin::SkinKeyVisitor;

namespace {

// Read: the six words give cmClose .. cmRollUp, any other text cmMinimizeToTray; absent
// reads as "cmdefault". Written: the word of each value.
void CommandKey(SkinKeyVisitor& V, TStdCommand& Command) {
  V.Keyword("command", Command,
            {"cmclose", "cmmaximize", "cmminimize", "cmsysmenu", "cmdefault", "cmrollup",
             "cmminimizetotray"},
            cmMinimizeToTray, cmDefault, cmClose);
}

void RestoreKeys(SkinKeyVisitor& V, TRect& Rect, TRect& ActiveRect, TRect& DownRect,
                 TRect& InActiveRect, String& Hint) {
  V.Rect("restorerect", Rect);
  V.Rect("restoreactiverect", ActiveRect);
  V.Rect("restoredownrect", DownRect);
  V.Rect("restoreinactiverect", InActiveRect);
  V.Str("restorehint", Hint, "", "");
}

// A button that undoes maximizing, minimizing or rolling up shows "Restore" while the
// form is in that state, unless the skin names a hint of its own.
void DefaultRestoreHint(const String& Hint, TStdCommand Command, String& RestoreHint) {
  if (RestoreHint.empty() && Hint == "Maximize" && Command == cmMaximize) RestoreHint = "Restore";
  if (RestoreHint.empty() && Hint == "Minimize" && Command == cmMinimize) RestoreHint = "Restore";
  if (RestoreHint.empty() && (Hint == "RollUp" || Hint == "Roll Up") && Command == cmRollUp)
    RestoreHint = "Restore";
}

}  // namespace

// ---- Buttons ------------------------------------------------------------------------------

TspDataSkinButton::TspDataSkinButton(const String& AIDName) : TspDataSkinObject(AIDName) {
  SetCreateValues();
}

void TspDataSkinButton::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinObject::VisitKeys(V);
  V.Rect("downrect", DownRect);
  V.Rect("disableskinrsect", DisableSkinRect);  // spelt so in the format
  V.Int("groupindex", GroupIndex, -1, -1);
  V.Int("alphamaskpictureindex", AlphaMaskPictureIndex, -1, -1);
  V.Int("alphamaskactivepictureindex", AlphaMaskActivePictureIndex, -1, -1);
  V.Int("alphamaskinactivepictureindex", AlphaMaskInActivePictureIndex, -1, -1);
}

TspDataSkinStdButton::TspDataSkinStdButton(const String& AIDName) : TspDataSkinButton(AIDName) {
  SetCreateValues();
}

void TspDataSkinStdButton::LoadFromFile(TCustomIniFile* IniFile) {
  TspDataSkinButton::LoadFromFile(IniFile);
  DefaultRestoreHint(Hint, Command, RestoreHint);
}

void TspDataSkinStdButton::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinButton::VisitKeys(V);
  CommandKey(V, Command);
  RestoreKeys(V, RestoreRect, RestoreActiveRect, RestoreDownRect, RestoreInActiveRect, RestoreHint);
}

// ---- Animation ----------------------------------------------------------------------------

TspDataSkinAnimate::TspDataSkinAnimate(const String& AIDName) : TspDataSkinObject(AIDName) {
  SetCreateValues();
}

void TspDataSkinAnimate::LoadFromFile(TCustomIniFile* IniFile) {
  TspDataSkinObject::LoadFromFile(IniFile);
  Morphing = false;
  DefaultRestoreHint(Hint, Command, RestoreHint);
}

void TspDataSkinAnimate::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinObject::VisitKeys(V);
  V.Int("countframes", CountFrames, 1, 0);
  V.Bool("cycle", Cycle);
  V.Bool("buttonstyle", ButtonStyle);
  V.Int("timerinterval", TimerInterval, 50, 0);
  CommandKey(V, Command);
  V.Rect("downskinrect", DownSkinRect);
  RestoreKeys(V, RestoreRect, RestoreActiveRect, RestoreDownRect, RestoreInActiveRect, RestoreHint);
}

// ---- Labels -------------------------------------------------------------------------------

TspDataSkinLabel::TspDataSkinLabel(const String& AIDName) : TspDataSkinObject(AIDName) {
  SetCreateValues();
}

void TspDataSkinLabel::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinObject::VisitKeys(V);
  V.Font(FontName, FontHeight, FontStyle, FontColor, "", 0);
  V.Int("activefontcolor", ActiveFontColor, 0, 0);
  V.Alignment("alignment", Alignment, taLeftJustify);
  V.Str("textvalue", TextValue, "", "");
}

TspDataSkinBitLabel::TspDataSkinBitLabel(const String& AIDName)
    : TspDataSkinObject(AIDName), Symbols(CreateOwned<TStringList>()) {
  SetCreateValues();
}

void TspDataSkinBitLabel::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinObject::VisitKeys(V);
  V.Str("textvalue", TextValue, "", "");
  V.Int("symbolwidth", SymbolWidth, 0, 0);
  V.Int("symbolheight", SymbolHeight, 0, 0);
  V.Lines("symbols", *Symbols);
  V.Bool("transparent", Transparent);
  V.Int("transparentcolor", TransparentColor, 0xFF00FF, 0xFF00FF);
}

// ---- Gauges and regulators ----------------------------------------------------------------

TspDataSkinGauge::TspDataSkinGauge(const String& AIDName) : TspDataSkinObject(AIDName) {
  SetCreateValues();
}

void TspDataSkinGauge::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinObject::VisitKeys(V);
  V.Int("minvalue", MinValue, 0, 0);
  V.Int("maxvalue", MaxValue, 0, 0);
  V.Keyword("kind", Kind, {"gkhorizontal", "gkvertical"}, gkVertical, gkHorizontal, gkHorizontal);
}

TspDataSkinFrameGaugeObject::TspDataSkinFrameGaugeObject(const String& AIDName)
    : TspDataSkinObject(AIDName) {
  SetCreateValues();
}

void TspDataSkinFrameGaugeObject::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinObject::VisitKeys(V);
  V.Int("minvalue", MinValue, 0, 0);
  V.Int("maxvalue", MaxValue, 0, 0);
  V.Int("countframes", CountFrames, 0, 0);
  V.Keyword("framesplacement", FramesPlacement, {"fphorizontal", "fpvertical"}, fpVertical,
            fpHorizontal, fpHorizontal);
}

TspDataSkinFrameRegulatorObject::TspDataSkinFrameRegulatorObject(const String& AIDName)
    : TspDataSkinObject(AIDName) {
  SetCreateValues();
}

void TspDataSkinFrameRegulatorObject::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinObject::VisitKeys(V);
  V.Int("minvalue", MinValue, 0, 0);
  V.Int("maxvalue", MaxValue, 0, 0);
  V.Int("countframes", CountFrames, 0, 0);
  V.Keyword("framesplacement", FramesPlacement, {"fphorizontal", "fpvertical"}, fpVertical,
            fpHorizontal, fpHorizontal);
  V.Keyword("kind", Kind, {"rkround", "rkhorizontal", "rkvertical"}, rkVertical, rkRound, rkRound);
}

// ---- Track bar ----------------------------------------------------------------------------

TspDataSkinTrackBar::TspDataSkinTrackBar(const String& AIDName) : TspDataSkinObject(AIDName) {
  SetCreateValues();
}

void TspDataSkinTrackBar::LoadFromFile(TCustomIniFile* IniFile) {
  TspDataSkinObject::LoadFromFile(IniFile);
  Morphing = false;
}

void TspDataSkinTrackBar::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinObject::VisitKeys(V);
  V.Rect("buttonrect", ButtonRect);
  V.Rect("activebuttonrect", ActiveButtonRect);
  V.Point("beginpoint", BeginPoint);
  V.Point("endpoint", EndPoint);
  V.Int("minvalue", MinValue, 0, 0);
  V.Int("maxvalue", MaxValue, 0, 0);
  V.Bool("mousedownchangevalue", MouseDownChangeValue);
  V.Bool("buttontransparent", ButtonTransparent);
  V.Int("buttontransparentcolor", ButtonTransparentColor, 0, 0);
}

// ---- User object --------------------------------------------------------------------------

void TspDataUserObject::VisitKeys(SkinKeyVisitor& V) {
  V.Bool("rollup", RollUp);
  V.Rect("skinrect", SkinRect);
  V.Int("cursorindex", CursorIndex, -1, -1);
}
