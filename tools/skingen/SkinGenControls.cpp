// The geometry of a complete skin: every descriptor the windows look up, its images in
// the controls picture, and the form frame with its pictures. Shared by every look.
#include <memory>

#include "tools/skingen/SkinGenBuild.h"

namespace vantrel::skingen {

namespace {

using S = Surface;
using M = Mood;
using G = Glyph;

Insets EvenInsets(int C) { return Insets{C, C, C, C}; }

// Corner points and client part of a nine-part picture of W x H with fixed border F.
void SetNinePart(TspDataSkinCustomControl* D, int W, int H, const Insets& F) {
  D->LTPoint = TPoint{F.L, F.T};
  D->RTPoint = TPoint{W - F.R, F.T};
  D->LBPoint = TPoint{F.L, H - F.B};
  D->RBPoint = TPoint{W - F.R, H - F.B};
  D->ClRect = TRect{F.L, F.T, W - F.R, H - F.B};
}

// Width-only (three pieces side by side) and height-only (stacked) pictures.
void SetHStrip(TspDataSkinCustomControl* D, int W, int H, int Ends) {
  D->LTPoint = TPoint{Ends, 0};
  D->RTPoint = TPoint{W - Ends, 0};
  D->LBPoint = TPoint{};
  D->RBPoint = TPoint{};
  D->ClRect = TRect{Ends, 0, W - Ends, H};
}
void SetVStrip(TspDataSkinCustomControl* D, int W, int H, int Ends) {
  D->LTPoint = TPoint{0, Ends};
  D->RTPoint = TPoint{};
  D->LBPoint = TPoint{0, H - Ends};
  D->RBPoint = TPoint{};
  D->ClRect = TRect{0, Ends, W, H - Ends};
}

Insets HEnds(int E) { return Insets{E, 0, E, 0}; }
Insets VEnds(int E) { return Insets{0, E, 0, E}; }

class ControlsMaker {
 public:
  explicit ControlsMaker(SkinBuilder& AB) : B(AB), L(AB.Look()), Z(AB.Sizes()) {}

  void Make() {
    Buttons();
    MenuButtons();
    CheckRadios();
    Gauges();
    TrackBars();
    ScrollBars();
    Panels();
    Labels();
    Edits();
    UpDowns();
    Lists();
    GridTabMenuBar();
    if (L.IsTest()) TestExtras();
  }

 private:
  SkinBuilder& B;
  SkinLook& L;
  const SkinSizes& Z;

  Colour F(std::string_view Owner, std::string_view Key, Colour Theme) {
    return L.Font(Owner, Key, Theme);
  }
  TRect Img(std::string_view Owner, std::string_view Key, int W, int H, const Insets& Fixed,
            Surface Surf, Mood State = M::Normal, Glyph Mark = G::None, bool Checked = false) {
    return B.Image(Owner, Key, W, H, Fixed, PieceStyle{Surf, State, Mark, Checked, false});
  }
  template <class T>
  T* Control(std::string_view Name, std::string_view Kind) {
    return dynamic_cast<T*>(B.AddControl(Name, Kind));
  }

  // ---- buttons ----

  // A push or tool button: five state pictures of W x H with border C.
  TspDataSkinButtonControl* Button(const char* Name, const char* Kind, int W, int H, int C,
                                   Surface Surf, bool Morph) {
    auto* D = Control<TspDataSkinButtonControl>(Name, Kind);
    if (!D) return nullptr;
    const Insets Fx = EvenInsets(C);
    D->SkinRect = Img(Name, "skinrect", W, H, Fx, Surf, M::Normal);
    D->ActiveSkinRect = Img(Name, "activeskinrect", W, H, Fx, Surf, M::Hover);
    D->DownSkinRect = Img(Name, "downskinrect", W, H, Fx, Surf, M::Down);
    D->FocusedSkinRect = Img(Name, "focusedskinrect", W, H, Fx, Surf, M::Focus);
    D->DisabledSkinRect = Img(Name, "disabledskinrect", W, H, Fx, Surf, M::Disabled);
    SetNinePart(D, W, H, Fx);
    D->StretchEffect = true;
    D->LeftStretch = D->TopStretch = D->RightStretch = D->BottomStretch = true;
    D->FontName = SkinFontName;
    D->FontHeight = SkinFontHeight;
    D->FontColor = F(Name, "fontcolor", palette::Text);
    D->ActiveFontColor = F(Name, "activefontcolor", palette::Text);
    D->DownFontColor = F(Name, "downfontcolor", palette::Text);
    D->DisabledFontColor = F(Name, "disabledfontcolor", palette::TextMuted);
    D->Morphing = Morph;
    D->MorphKind = mkDefault;
    D->AnimateInterval = AnimationInterval;
    D->MenuMarkerTransparentColor = KeyColour;
    D->GlowLayerPictureIndex = -1;
    D->GlowLayerMaskPictureIndex = -1;
    return D;
  }

  void ButtonGlow(TspDataSkinButtonControl* D) {
    const int W = Z.ButtonWidth + 2 * Z.GlowMargin;
    const int H = Z.ButtonHeight + 2 * Z.GlowMargin;
    auto Glow = std::make_unique<Raster>(W, H, KeyColour);
    L.Paint(*Glow, TRect{0, 0, W, H}, EvenInsets(Z.GlowMargin + Z.Corner), GlowPictureName,
            "picture", PieceStyle{S::Bar, M::Normal, G::None, false, false});
    // The mask: white where the glow shows, fading out towards the picture's edge.
    auto Mask = std::make_unique<Raster>(W, H, Rgb(0, 0, 0));
    for (int Step = 0; Step < Z.GlowMargin; ++Step) {
      const int Grey = GlowStrength * (Step + 1) / Z.GlowMargin;
      Mask->FillRoundRect(Step, Step, W - Step, H - Step, Z.GlowMargin + Z.Corner - Step,
                          Rgb(Grey, Grey, Grey));
    }
    D->GlowLayerPictureIndex = B.AddPicture("buttonglow.bmp", std::move(Glow));
    D->GlowLayerMaskPictureIndex = B.AddPicture("buttonglowmask.bmp", std::move(Mask));
    D->GlowLayerOffsetLeft = D->GlowLayerOffsetRight = Z.GlowMargin + Z.Corner;
    D->GlowLayerOffsetTop = D->GlowLayerOffsetBottom = Z.GlowMargin + Z.Corner;
    D->GlowLayerShowOffsetX = D->GlowLayerShowOffsetY = Z.GlowMargin;
    D->GlowLayerAlphaBlendValue = 255;
  }

  void Buttons() {
    const int C = Z.Corner;
    if (auto* D = Button("button", "button", Z.ButtonWidth, Z.ButtonHeight, C, S::Face, true))
      ButtonGlow(D);
    Button("resizebutton", "button", Z.ButtonWidth, Z.ButtonHeight, C, S::Face, true);
    Button("resizetoolbutton", "button", Z.ToolButton, Z.ToolButton, C, S::Flat, false);
    Button("toolbutton", "button", Z.ToolButton, Z.ToolButton, C, S::Flat, false);
    Button("bigtoolbutton", "button", Z.BigToolButton, Z.BigToolButton, C, S::Flat, false);
    Button("combobutton", "button", Z.ScrollSize + C, Z.EditHeight, C, S::Face, false);
    Button("editbutton", "button", Z.ScrollSize + C, Z.EditHeight, C, S::Flat, false);
    Button("officequickbutton", "button", Z.ToolButton, Z.ToolButton, C, S::Flat, false);
    Button("htracktoolbutton", "button", Z.ToolButton, Z.Mark, C, S::Flat, false);
    Button("vtracktoolbutton", "button", Z.Mark, Z.ToolButton, C, S::Flat, false);
    Button("menuitembutton", "button", Z.ItemWidth, Z.ItemHeight, C, S::Item, false);
  }

  void MenuButtons() {
    const int C = Z.Corner;
    const int Track = Z.Mark;
    struct Kin {
      const char* Name;
      int Size;
    };
    for (const Kin& K :
         {Kin{"toolmenubutton", Z.ToolButton}, Kin{"toolmenutrackbutton", Z.ToolButton},
          Kin{"bigtoolmenubutton", Z.BigToolButton},
          Kin{"bigtoolmenutrackbutton", Z.BigToolButton}}) {
      auto* D = static_cast<TspDataSkinMenuButtonControl*>(
          Button(K.Name, "menubutton", K.Size + Track, K.Size, C, S::Flat, false));
      if (!D) continue;
      D->TrackButtonRect =
          Img(K.Name, "trackbuttonrect", Track, K.Size, EvenInsets(C), S::Flat, M::Hover, G::Down);
      const int Mk = Z.Mark - 4;
      D->MenuMarkerFlatRect =
          Img(K.Name, "menumarkerflatrect", Mk, Mk, {}, S::Glyph, M::Normal, G::Marker);
      D->MenuMarkerRect = Img(K.Name, "menumarkerrect", Mk, Mk, {}, S::Glyph, M::Normal, G::Marker);
      D->MenuMarkerActiveRect =
          Img(K.Name, "menumarkeractiverect", Mk, Mk, {}, S::Glyph, M::Hover, G::Marker);
      D->MenuMarkerDownRect =
          Img(K.Name, "menumarkerdownrect", Mk, Mk, {}, S::Glyph, M::Down, G::Marker);
    }
  }

  void CheckRadios() {
    for (const char* Name : {"checkbox", "radiobox"}) {
      auto* D = Control<TspDataSkinCheckRadioControl>(Name, "checkradio");
      if (!D) continue;
      const bool Radio = std::string_view(Name) == "radiobox";
      const Surface Mark = Radio ? S::Radio : S::Mark;
      const int W = Z.CheckWidth, H = Z.CheckHeight, Mk = Z.Mark;
      const Insets Fx = EvenInsets(2);
      D->SkinRect = Img(Name, "skinrect", W, H, Fx, S::Plain);
      D->ActiveSkinRect = Img(Name, "activeskinrect", W, H, Fx, S::Plain, M::Hover);
      SetNinePart(D, W, H, Fx);
      D->CheckImageArea = TRect{2, (H - Mk) / 2, 2 + Mk, (H - Mk) / 2 + Mk};
      D->TextArea = TRect{Mk + 6, 0, W - 2, H};
      D->CheckImageRect = Img(Name, "checkimagerect", Mk, Mk, {}, Mark, M::Normal, G::None, true);
      D->UnCheckImageRect = Img(Name, "uncheckimagerect", Mk, Mk, {}, Mark, M::Normal);
      D->ActiveCheckImageRect =
          Img(Name, "activecheckimagerect", Mk, Mk, {}, Mark, M::Hover, G::None, true);
      D->ActiveUnCheckImageRect = Img(Name, "activeuncheckimagerect", Mk, Mk, {}, Mark, M::Hover);
      D->UnEnabledCheckImageRect =
          Img(Name, "unenabledcheckimagerect", Mk, Mk, {}, Mark, M::Disabled, G::None, true);
      D->UnEnabledUnCheckImageRect =
          Img(Name, "unenableduncheckimagerect", Mk, Mk, {}, Mark, M::Disabled);
      D->GrayedCheckImageRect =
          Img(Name, "grayedcheckimagerect", Mk, Mk, {}, Mark, M::Normal, G::Grayed);
      D->ActiveGrayedCheckImageRect =
          Img(Name, "activegrayedcheckimagerect", Mk, Mk, {}, Mark, M::Hover, G::Grayed);
      D->FontName = SkinFontName;
      D->FontHeight = SkinFontHeight;
      D->FontColor = F(Name, "fontcolor", palette::Text);
      D->ActiveFontColor = F(Name, "activefontcolor", palette::Text);
      D->UnEnabledFontColor = F(Name, "unenabledfontcolor", palette::TextMuted);
      D->FrameFontColor = F(Name, "framefontcolor", palette::Text);
      D->Morphing = true;
    }
  }

  void Gauges() {
    for (const char* Name : {"gauge", "vgauge"}) {
      auto* D = Control<TspDataSkinGaugeControl>(Name, "gauge");
      if (!D) continue;
      const bool V = std::string_view(Name) == "vgauge";
      const int W = V ? Z.GaugeHeight : Z.GaugeWidth;
      const int H = V ? Z.GaugeWidth : Z.GaugeHeight;
      const int C = Z.Corner;
      D->SkinRect = Img(Name, "skinrect", W, H, EvenInsets(C), S::Groove);
      SetNinePart(D, W, H, EvenInsets(C));
      D->StretchEffect = true;
      D->LeftStretch = D->TopStretch = D->RightStretch = D->BottomStretch = true;
      const int In = 2;
      D->ProgressArea = TRect{In, In, W - In, H - In};
      const int Len = Z.GaugeWidth / 4;
      const int PW = V ? W - 2 * In : Len;
      const int PH = V ? Len : H - 2 * In;
      const Insets Caps = V ? VEnds(C) : HEnds(C);
      D->ProgressRect = Img(Name, "progressrect", PW, PH, Caps, S::Bar);
      D->BeginOffset = D->EndOffset = C;
      D->ProgressStretch = true;
      D->Vertical = V;
      D->ProgressTransparent = false;
      D->ProgressTransparentColor = KeyColour;
      D->FontName = SkinFontName;
      D->FontHeight = SkinFontHeight;
      D->FontColor = F(Name, "fontcolor", palette::Text);
      if (L.IsTest() && !V) {
        // A strip of frames that runs over the bar.
        const int SW = V ? PW : PW * AnimationFrames;
        const int SH = V ? PH * AnimationFrames : PH;
        D->ProgressAnimationSkinRect =
            Img(Name, "progressanimationskinrect", SW, SH, Caps, S::Bar, M::Hover);
        D->ProgressAnimationCountFrames = AnimationFrames;
        D->ProgressAnimationTimerInterval = AnimationInterval;
      }
    }
  }

  void TrackBars() {
    for (const char* Name : {"htrackbar", "trackbar"}) {
      auto* D = Control<TspDataSkinTrackBarControl>(Name, "trackbar");
      if (!D) continue;
      const bool V = std::string_view(Name) == "trackbar";
      const int W = V ? Z.TrackThickness : Z.TrackLength;
      const int H = V ? Z.TrackLength : Z.TrackThickness;
      const int TW = V ? Z.TrackThumbHeight : Z.TrackThumbWidth;
      const int TH = V ? Z.TrackThumbWidth : Z.TrackThumbHeight;
      const int Ends = Z.TrackThumbWidth / 2 + 1;
      const Insets Fx = V ? VEnds(Ends) : HEnds(Ends);
      D->SkinRect = Img(Name, "skinrect", W, H, Fx, S::Groove, M::Normal);
      D->ActiveSkinRect = Img(Name, "activeskinrect", W, H, Fx, S::Groove, M::Hover);
      if (V)
        SetVStrip(D, W, H, Ends);
      else
        SetHStrip(D, W, H, Ends);
      D->StretchEffect = true;
      D->TrackArea = V ? TRect{0, TH / 2, W, H - TH / 2} : TRect{TW / 2, 0, W - TW / 2, H};
      D->ButtonRect = Img(Name, "buttonrect", TW, TH, {}, S::Knob, M::Normal);
      D->ActiveButtonRect = Img(Name, "activebuttonrect", TW, TH, {}, S::Knob, M::Hover);
      D->Vertical = V;
      D->ButtonTransparent = false;
      D->ButtonTransparentColor = KeyColour;
    }
  }

  // The six arrow pictures of a pair of buttons, up or left first.
  template <class T>
  void Arrows(T* D, const char* Name, int W, int H, bool Horizontal, Surface Surf) {
    const Glyph First = Horizontal ? G::Left : G::Up;
    const Glyph Second = Horizontal ? G::Right : G::Down;
    const Insets Fx = EvenInsets(2);
    D->UpButtonRect = Img(Name, "upbuttonrect", W, H, Fx, Surf, M::Normal, First);
    D->ActiveUpButtonRect = Img(Name, "activeupbuttonrect", W, H, Fx, Surf, M::Hover, First);
    D->DownUpButtonRect = Img(Name, "downupbuttonrect", W, H, Fx, Surf, M::Down, First);
    D->DownButtonRect = Img(Name, "downbuttonrect", W, H, Fx, Surf, M::Normal, Second);
    D->ActiveDownButtonRect = Img(Name, "activedownbuttonrect", W, H, Fx, Surf, M::Hover, Second);
    D->DownDownButtonRect = Img(Name, "downdownbuttonrect", W, H, Fx, Surf, M::Down, Second);
  }

  void ScrollBars() {
    for (const char* Name : {"hscrollbar", "vscrollbar", "bothhscrollbar"}) {
      auto* D = Control<TspDataSkinScrollBarControl>(Name, "scrollbar");
      if (!D) continue;
      const bool V = std::string_view(Name) == "vscrollbar";
      const int Sz = Z.ScrollSize;
      const int W = V ? Sz : Z.ScrollLength;
      const int H = V ? Z.ScrollLength : Sz;
      const Insets Fx = V ? VEnds(Sz) : HEnds(Sz);
      D->SkinRect = Img(Name, "skinrect", W, H, Fx, S::Track, M::Normal);
      if (V)
        SetVStrip(D, W, H, Sz);
      else
        SetHStrip(D, W, H, Sz);
      D->StretchEffect = true;
      D->TrackArea = V ? TRect{0, Sz, W, H - Sz} : TRect{Sz, 0, W - Sz, H};
      Arrows(D, Name, Sz, Sz, !V, S::Flat);
      const int TW = V ? Sz : Z.ThumbLength;
      const int TH = V ? Z.ThumbLength : Sz;
      const int Ends = Z.Corner + 2;
      const Insets TF = V ? VEnds(Ends) : HEnds(Ends);
      D->ThumbRect = Img(Name, "thumbrect", TW, TH, TF, S::Thumb, M::Normal);
      D->ActiveThumbRect = Img(Name, "activethumbrect", TW, TH, TF, S::Thumb, M::Hover);
      D->DownThumbRect = Img(Name, "downthumbrect", TW, TH, TF, S::Thumb, M::Down);
      D->ThumbOffset1 = D->ThumbOffset2 = Ends;
      D->ThumbStretchEffect = true;
      D->ThumbTransparent = false;
      D->ThumbTransparentColor = KeyColour;
      D->ThumbMinSize = 2 * Ends + 2;
      D->ThumbMinPageSize = 2 * Sz;
      const int Gl = Sz / 2;
      D->GlyphRect = Img(Name, "glyphrect", Gl, Gl, {}, S::Glyph, M::Normal, G::Grip);
      D->ActiveGlyphRect = Img(Name, "activeglyphrect", Gl, Gl, {}, S::Glyph, M::Hover, G::Grip);
      D->DownGlyphRect = Img(Name, "downglyphrect", Gl, Gl, {}, S::Glyph, M::Down, G::Grip);
      D->GlyphTransparent = true;
      D->GlyphTransparentColor = KeyColour;
    }
  }

  TspDataSkinPanelControl* Panel(const char* Name, int W, int H, const Insets& Fx, Surface Surf) {
    auto* D = Control<TspDataSkinPanelControl>(Name, "panel");
    if (!D) return nullptr;
    D->SkinRect = Img(Name, "skinrect", W, H, Fx, Surf);
    SetNinePart(D, W, H, Fx);
    D->BGPictureIndex = -1;
    D->FontName = SkinFontName;
    D->FontHeight = SkinFontHeight;
    D->FontColor = F(Name, "fontcolor", palette::Text);
    D->GripperTransparentColor = KeyColour;
    return D;
  }

  void Panels() {
    const int P = Z.PanelSize, C = Z.Corner;
    Panel("panel", P, P, EvenInsets(C), S::Panel);
    if (auto* D = Panel("groupbox", P, P, Insets{C, Z.ItemHeight, C, C}, S::Panel)) {
      D->CaptionRect = TRect{2 * C, 0, P - 2 * C, Z.ItemHeight};
    }
    if (auto* D = Panel("statusbar", P, Z.ItemHeight, EvenInsets(2), S::StatusBar)) {
      D->GripperRect =
          Img("statusbar", "gripperrect", Z.Mark, Z.Mark, {}, S::Glyph, M::Normal, G::Grip);
      D->GripperTransparent = true;
    }
    Panel("toolpanel", P, Z.ToolButton + 1, EvenInsets(2), S::StatusBar);
    Panel("resizetoolpanel", P, Z.ToolButton + 1, EvenInsets(2), S::StatusBar);
    Panel("bigtoolpanel", P, Z.BigToolButton + 1, EvenInsets(2), S::StatusBar);
  }

  void Labels() {
    struct Kin {
      const char* Name;
      Surface Surf;
      int W;
    };
    for (const Kin& K :
         {Kin{"label", S::Plain, Z.PanelSize}, Kin{"menuheader", S::Header, Z.ItemWidth}}) {
      auto* D = Control<TspDataSkinLabelControl>(K.Name, "label");
      if (!D) continue;
      D->SkinRect = Img(K.Name, "skinrect", K.W, Z.ItemHeight, EvenInsets(2), K.Surf);
      SetNinePart(D, K.W, Z.ItemHeight, EvenInsets(2));
      D->FontName = SkinFontName;
      D->FontHeight = SkinFontHeight;
      D->FontColor = F(K.Name, "fontcolor", palette::Text);
    }
    if (auto* D = Control<TspDataSkinStdLabelControl>("stdlabel", "stdlabel")) {
      D->PictureIndex = -1;
      D->FontName = SkinFontName;
      D->FontHeight = SkinFontHeight;
      D->FontColor = F("stdlabel", "fontcolor", palette::Text);
      D->ActiveFontColor = F("stdlabel", "activefontcolor", palette::Accent);
    }
    if (auto* D = Control<TspDataSkinBevel>("bevel", "bevel")) {
      D->PictureIndex = -1;
      D->LightColor = L.IsTest() ? F("bevel", "fontcolor", 0) : palette::Window;
      D->DarkColor = L.IsTest() ? F("bevel", "activefontcolor", 0) : palette::Border;
    }
  }

  template <class T>
  void EditFace(T* D, const char* Name, int W, int H) {
    const Insets Fx = EvenInsets(Z.Corner);
    D->SkinRect = Img(Name, "skinrect", W, H, Fx, S::Field, M::Normal);
    D->ActiveSkinRect = Img(Name, "activeskinrect", W, H, Fx, S::Field, M::Focus);
    SetNinePart(D, W, H, Fx);
    D->FontName = SkinFontName;
    D->FontHeight = SkinFontHeight;
    D->FontColor = F(Name, "fontcolor", palette::Text);
    D->ActiveFontColor = F(Name, "activefontcolor", palette::Text);
  }

  void Edits() {
    for (const char* Name : {"edit", "buttonedit", "tooledit"}) {
      auto* D = Control<TspDataSkinEditControl>(Name, "edit");
      if (!D) continue;
      EditFace(D, Name, Z.EditWidth, Z.EditHeight);
      D->DisabledFontColor = F(Name, "disabledfontcolor", palette::TextMuted);
      if (std::string_view(Name) == "buttonedit") {
        const int BW = Z.EditHeight - 4, BH = Z.EditHeight - 4;
        const Insets Fx = EvenInsets(2);
        D->ButtonRect = Img(Name, "buttonrect", BW, BH, Fx, S::Flat, M::Normal, G::Down);
        D->ActiveButtonRect = Img(Name, "activebuttonrect", BW, BH, Fx, S::Flat, M::Hover, G::Down);
        D->DownButtonRect = Img(Name, "downbuttonrect", BW, BH, Fx, S::Flat, M::Down, G::Down);
        D->UnEnabledButtonRect =
            Img(Name, "unenabledbuttonrect", BW, BH, Fx, S::Flat, M::Disabled, G::Down);
      }
    }
    if (auto* D = Control<TspDataSkinMemoControl>("memo", "memo")) {
      EditFace(D, "memo", Z.PanelSize, Z.PanelSize);
      D->DisabledFontColor = F("memo", "disabledfontcolor", palette::TextMuted);
      D->BGColor = palette::Window;
      D->ActiveBGColor = palette::Window;
    }
    if (auto* D = Control<TspDataSkinSpinEditControl>("spinedit", "spinedit")) {
      EditFace(D, "spinedit", Z.EditWidth, Z.EditHeight);
      D->DisabledFontColor = F("spinedit", "disabledfontcolor", palette::TextMuted);
      Arrows(D, "spinedit", Z.UpDownWidth, Z.EditHeight / 2 - 1, false, S::Flat);
    }
  }

  void UpDowns() {
    for (const char* Name : {"hupdown", "vupdown"}) {
      auto* D = Control<TspDataSkinUpDownControl>(Name, "updown");
      if (!D) continue;
      const bool H = std::string_view(Name) == "hupdown";
      // The pair takes any size: only its arrow pictures are drawn.
      D->SkinRect = TRect{};
      if (H)
        Arrows(D, Name, Z.EditHeight / 2, Z.UpDownWidth, true, S::Face);
      else
        Arrows(D, Name, Z.UpDownWidth, Z.EditHeight / 2, false, S::Face);
    }
  }

  // Normal, active and focused item pictures with their text area.
  template <class T>
  void Items(T* D, const char* Name, int W, int H) {
    const Insets Fx = HEnds(Z.Corner);
    D->SItemRect = Img(Name, "itemrect", W, H, Fx, S::Item, M::Normal);
    D->ActiveItemRect = Img(Name, "activeitemrect", W, H, Fx, S::Item, M::Hover);
    D->FocusItemRect = Img(Name, "focusitemrect", W, H, Fx, S::Item, M::Focus);
    D->ItemLeftOffset = D->ItemRightOffset = Z.Corner;
    D->ItemTextRect = TRect{Z.Corner + 2, 0, W - Z.Corner - 2, H};
    D->FontName = SkinFontName;
    D->FontHeight = SkinFontHeight;
    D->FontColor = F(Name, "fontcolor", palette::Text);
    D->ActiveFontColor = F(Name, "activefontcolor", palette::Text);
    D->FocusFontColor = F(Name, "focusfontcolor", palette::TextOnAccent);
  }

  void Lists() {
    for (const char* Name : {"treeview", "listview"}) {
      auto* D = B.AddControl(Name, Name);
      if (!D) continue;
      D->PictureIndex = -1;
      auto Fonts = [&](auto* V) {
        V->FontName = SkinFontName;
        V->FontHeight = SkinFontHeight;
        V->FontColor = F(Name, "fontcolor", palette::Text);
        V->BGColor = palette::Window;
      };
      if (auto* T = dynamic_cast<TspDataSkinTreeView*>(D)) Fonts(T);
      if (auto* V = dynamic_cast<TspDataSkinListView*>(D)) Fonts(V);
    }
    if (auto* D = Control<TspDataSkinListBox>("listbox", "listbox")) {
      const Insets Fx = EvenInsets(Z.Corner);
      D->SkinRect = Img("listbox", "skinrect", Z.PanelSize, Z.PanelSize, Fx, S::Field);
      SetNinePart(D, Z.PanelSize, Z.PanelSize, Fx);
      Items(D, "listbox", Z.ItemWidth, Z.ItemHeight);
      D->CaptionFontName = SkinFontName;
      D->CaptionFontHeight = SkinFontHeight;
      D->CaptionFontColor = F("listbox", "captionfontcolor", palette::Text);
      const int Bt = Z.ItemHeight - 4;
      Arrows(D, "listbox", Bt, Bt, false, S::Flat);
      const Insets Bf = EvenInsets(2);
      D->CheckButtonRect =
          Img("listbox", "checkbuttonrect", Bt, Bt, Bf, S::Flat, M::Normal, G::Check);
      D->ActiveCheckButtonRect =
          Img("listbox", "activecheckbuttonrect", Bt, Bt, Bf, S::Flat, M::Hover, G::Check);
      D->DownCheckButtonRect =
          Img("listbox", "downcheckbuttonrect", Bt, Bt, Bf, S::Flat, M::Down, G::Check);
      D->DisabledButtonsRect =
          Img("listbox", "disabledbuttonsrect", Bt, Bt, Bf, S::Flat, M::Disabled, G::Down);
      D->VScrollBarName = "vscrollbar";
      D->HScrollBarName = "hscrollbar";
      D->BothScrollBarName = "bothhscrollbar";
    }
    if (auto* D = Control<TspDataSkinComboBox>("combobox", "combobox")) {
      const int W = Z.EditWidth, H = Z.EditHeight;
      const Insets Fx = EvenInsets(Z.Corner);
      D->SkinRect = Img("combobox", "skinrect", W, H, Fx, S::Field, M::Normal);
      D->ActiveSkinRect = Img("combobox", "activeskinrect", W, H, Fx, S::Field, M::Focus);
      SetNinePart(D, W, H, Fx);
      const int BW = Z.ScrollSize + 2;
      Items(D, "combobox", W - BW - 4, H - 4);
      const Insets Bf = EvenInsets(2);
      D->ButtonRect = Img("combobox", "buttonrect", BW, H - 2, Bf, S::Flat, M::Normal, G::Down);
      D->ActiveButtonRect =
          Img("combobox", "activebuttonrect", BW, H - 2, Bf, S::Flat, M::Hover, G::Down);
      D->DownButtonRect =
          Img("combobox", "downbuttonrect", BW, H - 2, Bf, S::Flat, M::Down, G::Down);
      D->UnEnabledButtonRect =
          Img("combobox", "unenabledbuttonrect", BW, H - 2, Bf, S::Flat, M::Disabled, G::Down);
      D->ListBoxName = "listbox";
      D->ItemStretchEffect = D->FocusItemStretchEffect = true;
    }
  }

  void GridTabMenuBar() {
    if (auto* D = Control<TspDataSkinGridControl>("grid", "grid")) {
      const int W = Z.ItemWidth, H = Z.ItemHeight, C = Z.Corner;
      D->FixedCellRect = Img("grid", "fixedcellrect", W, H, HEnds(C), S::Header);
      D->SelectCellRect = Img("grid", "selectcellrect", W, H, HEnds(C), S::Item, M::Hover);
      D->FocusCellRect = Img("grid", "focuscellrect", W, H, HEnds(C), S::Item, M::Focus);
      D->FixedCellLeftOffset = D->FixedCellRightOffset = C;
      D->CellLeftOffset = D->CellRightOffset = C;
      D->FixedCellTextRect = D->CellTextRect = TRect{C + 2, 0, W - C - 2, H};
      D->LinesColor = palette::Border;
      D->BGColor = palette::Window;
      D->BGPictureIndex = -1;
      D->FontName = D->FixedFontName = SkinFontName;
      D->FontHeight = D->FixedFontHeight = SkinFontHeight;
      D->FontColor = F("grid", "fontcolor", palette::Text);
      D->SelectFontColor = F("grid", "selectfontcolor", palette::Text);
      D->FocusFontColor = F("grid", "focusfontcolor", palette::TextOnAccent);
      D->FixedFontColor = F("grid", "fixedfontcolor", palette::Text);
      D->CellStretchEffect = D->FixedCellStretchEffect = true;
    }
    if (auto* D = Control<TspDataSkinTabControl>("tab", "tab")) {
      const int W = Z.TabWidth, H = Z.TabHeight, C = Z.Corner, P = Z.PanelSize;
      D->TabRect = Img("tab", "tabrect", W, H, HEnds(C), S::Tab, M::Normal);
      D->ActiveTabRect = Img("tab", "activetabrect", W, H, HEnds(C), S::Tab, M::Down);
      D->FocusTabRect = Img("tab", "focustabrect", W, H, HEnds(C), S::Tab, M::Focus);
      D->MouseInTabRect = Img("tab", "mouseintabrect", W, H, HEnds(C), S::Tab, M::Hover);
      D->TabLeftOffset = D->TabRightOffset = C;
      D->TabStretchEffect = true;
      D->TabsBGRect = Img("tab", "tabsbgrect", W, H, HEnds(C), S::Plain);
      D->SkinRect = Img("tab", "skinrect", P, P, EvenInsets(C), S::Field);
      D->LTPoint = TPoint{C, C};
      D->RTPoint = TPoint{P - C, C};
      D->LBPoint = TPoint{C, P - C};
      D->RBPoint = TPoint{P - C, P - C};
      D->ClRect = TRect{C, C, P - C, P - C};
      D->BGPictureIndex = -1;
      D->FontName = SkinFontName;
      D->FontHeight = SkinFontHeight;
      D->FontColor = F("tab", "fontcolor", palette::Text);
      D->ActiveFontColor = F("tab", "activefontcolor", palette::Text);
      D->FocusFontColor = F("tab", "focusfontcolor", palette::Text);
      D->MouseInFontColor = F("tab", "mouseinfontcolor", palette::Text);
      D->UpDown = "hupdown";
      const int Cb = Z.Mark - 2;
      D->CloseButtonRect = Img("tab", "closebuttonrect", Cb, Cb, {}, S::Glyph, M::Normal, G::Close);
      D->CloseButtonActiveRect =
          Img("tab", "closebuttonactiverect", Cb, Cb, {}, S::Glyph, M::Hover, G::Close);
      D->CloseButtonDownRect =
          Img("tab", "closebuttondownrect", Cb, Cb, {}, S::Glyph, M::Down, G::Close);
      D->ButtonTransparent = true;
      D->ButtonTransparentColor = KeyColour;
    }
    if (auto* D = Control<TspDataSkinMainMenuBar>("mainmenubar", "mainmenubar")) {
      const int W = Z.ItemWidth, H = Z.MenuHeight;
      D->SkinRect = Img("mainmenubar", "skinrect", W, H, HEnds(2), S::Plain);
      D->ItemsRect = TRect{2, 0, W - 2, H};
      D->MenuBarItem = "mainmenubaritem";
      D->CloseButton = "mdiclosebutton";
      D->MinButton = "mdiminbutton";
      D->MaxButton = "mdimaxbutton";
      D->SysMenuButton = "mdisysmenubutton";
      D->TrackMarkColor = L.IsTest() ? F("mainmenubar", "fontcolor", 0) : palette::Glyph;
      D->TrackMarkActiveColor =
          L.IsTest() ? F("mainmenubar", "activefontcolor", 0) : palette::Accent;
      D->StretchEffect = true;
    }
  }

  // The extras of the test skins: a panel for each resize mode, an animated button and the
  // panel with the skin's cursor.
  void TestExtras() {
    const int P = Z.PanelSize, C = Z.Corner;
    Panel(NinePartPanel, P, P, EvenInsets(C), S::Panel);
    if (auto* D = Panel(HStripPanel, P, Z.ItemHeight, HEnds(C), S::Panel))
      SetHStrip(D, P, Z.ItemHeight, C);
    if (auto* D = Panel(VStripPanel, Z.ItemHeight, P, VEnds(C), S::Panel))
      SetVStrip(D, Z.ItemHeight, P, C);
    if (auto* D = Panel(FixedPanel, Z.ButtonWidth, Z.ButtonHeight, EvenInsets(TestRing), S::Panel))
      SetNinePart(D, 0, 0, Insets{});
    if (auto* D =
            Panel(MaskedPanel, Z.ButtonWidth, Z.ButtonHeight, EvenInsets(TestRing), S::Panel)) {
      SetNinePart(D, 0, 0, Insets{});
      // Black inside, white in the four cut corners.
      auto Mask = std::make_unique<Raster>(Z.ButtonWidth, Z.ButtonHeight, Rgb(0, 0, 0));
      const int W = Z.ButtonWidth, H = Z.ButtonHeight;
      for (int I = 0; I < MaskCut; ++I)
        for (int J = 0; J < MaskCut - I; ++J) {
          Mask->Set(I, J, Rgb(255, 255, 255));
          Mask->Set(W - 1 - I, J, Rgb(255, 255, 255));
          Mask->Set(I, H - 1 - J, Rgb(255, 255, 255));
          Mask->Set(W - 1 - I, H - 1 - J, Rgb(255, 255, 255));
        }
      D->MaskPictureIndex = B.AddPicture("maskedpanelmask.bmp", std::move(Mask));
    }
    if (auto* D = Control<TspDataSkinPanelControl>(EmptyPanel, "panel")) {
      D->SkinRect = TRect{};
      D->BGPictureIndex = -1;
    }
    if (auto* D =
            Button(AnimatedButton, "button", Z.ButtonWidth, Z.ButtonHeight, C, S::Face, false)) {
      D->AnimateSkinRect = Img(AnimatedButton, "animateskinrect", Z.ButtonWidth * AnimationFrames,
                               Z.ButtonHeight, EvenInsets(C), S::Face, M::Hover);
      D->FrameCount = AnimationFrames;
      D->AnimateInterval = AnimationInterval;
    }
    if (auto* D = Panel(CursorPanel, P, P, EvenInsets(C), S::Panel)) D->CursorIndex = 0;
  }
};

// ---- the form frame and its objects ----

class FrameMaker {
 public:
  explicit FrameMaker(SkinBuilder& AB) : B(AB), L(AB.Look()), Z(AB.Sizes()), D(AB.Data()) {}

  void Make() {
    Geometry();
    Pictures();
    CaptionButtons();
    Caption();
    MenuObjects();
    Windows();
  }

 private:
  SkinBuilder& B;
  SkinLook& L;
  const SkinSizes& Z;
  TspSkinData& D;
  std::unique_ptr<Raster> FFrame, FInactive, FRollUp;

  int ButtonsLeft() const { return Z.FrameWidth - Z.BorderWidth - 3 * Z.CaptionButton; }

  void Geometry() {
    const int W = Z.FrameWidth, H = Z.FrameHeight, Bw = Z.BorderWidth, Ch = Z.CaptionHeight;
    D.ClRect = TRect{Bw, Ch, W - Bw, H - Bw};
    D.LTPoint = TPoint{Z.LeftCorner, Ch};
    D.RTPoint = TPoint{ButtonsLeft() - Bw, Ch};
    D.LBPoint = TPoint{Bw, H - Bw};
    D.RBPoint = TPoint{W - Bw, H - Bw};
    D.MaskRectArea = D.ClRect;
    D.HitTestLTPoint = TPoint{2 * Bw, 2 * Bw};
    D.HitTestRTPoint = TPoint{W - 2 * Bw, 2 * Bw};
    D.HitTestLBPoint = TPoint{2 * Bw, H - 2 * Bw};
    D.HitTestRBPoint = TPoint{W - 2 * Bw, H - 2 * Bw};
    D.IconRect = TRect{Bw + 6, (Ch - Z.IconSize) / 2, Bw + 6 + Z.IconSize,
                       (Ch - Z.IconSize) / 2 + Z.IconSize};
    D.CaptionRect = TRect{D.IconRect.Right + 6, 0, D.RTPoint.X, Ch};
    D.ButtonsRect = TRect{ButtonsLeft(), 0, W - Bw, Ch};
    D.ButtonsOffset = 0;
    D.MainMenuRect = TRect{Bw, Ch, W - Bw, Ch + Z.MenuHeight};
    D.BorderW = Bw;
    D.FormMinWidth = Z.LeftCorner + (W - D.RTPoint.X) + Z.ButtonWidth;
    D.FormMinHeight = Ch + Z.MenuHeight + 4 * Z.ItemHeight;
    D.LeftStretch = D.RightStretch = D.TopStretch = D.BottomStretch = true;
    D.StretchEffect = false;
    D.StretchType = spstFull;
    D.BGPictureIndex = -1;
    D.MDIBGPictureIndex = -1;
    D.RollUpLeftPoint = TPoint{Z.LeftCorner, 0};
    D.RollUpRightPoint = TPoint{D.RTPoint.X, 0};
    const int Grip = Z.Mark + 3;
    D.SizeGripArea = TRect{W - Bw - Grip, H - Bw - Grip, W - Bw, H - Bw};
    D.StatusBarName = "statusbar";
    D.CursorIndex = -1;
    D.AutoRenderingInActiveImage = false;
    D.StartCursorIndex = StartCursorIndex;
  }

  void Pictures() {
    const int W = Z.FrameWidth, H = Z.FrameHeight;
    const TRect All{0, 0, W, H};
    const Insets Fx{D.ClRect.Left, D.ClRect.Top, W - D.ClRect.Right, H - D.ClRect.Bottom};
    FFrame = std::make_unique<Raster>(W, H, KeyColour);
    FInactive = std::make_unique<Raster>(W, H, KeyColour);
    L.Paint(*FFrame, All, Fx, FramePictureName, "picture", PieceStyle{S::Window});
    L.Paint(*FInactive, All, Fx, InactiveFramePictureName, "picture",
            PieceStyle{S::Window, M::Normal, G::None, false, true});
    const int RH = Z.CaptionHeight + Z.BorderWidth;
    FRollUp = std::make_unique<Raster>(W, RH, KeyColour);
    L.Paint(*FRollUp, TRect{0, 0, W, RH},
            Insets{Z.LeftCorner, Z.CaptionHeight, W - D.RTPoint.X, Z.BorderWidth},
            RollUpPictureName, "picture", PieceStyle{S::Window, M::Down});
  }

  static std::unique_ptr<Raster> TopRoundedMask(int W, int H, int Radius) {
    auto Mask = std::make_unique<Raster>(W, H, Rgb(255, 255, 255));
    // Crisp: a window region is all or nothing.
    Mask->FillRoundRect(0, 0, W, H + Radius, Radius, Rgb(0, 0, 0), true);
    return Mask;
  }

  TspDataSkinStdButton* StdButton(const char* Name, TStdCommand Command, const TRect& Where,
                                  Glyph Mark, const char* Hint) {
    auto* O = dynamic_cast<TspDataSkinStdButton*>(B.AddObject(Name, "stdbutton"));
    if (!O) return nullptr;
    const bool Close = Command == cmClose;
    const Surface Surf = Close ? S::CloseButton : S::CaptionButton;
    const PieceStyle Normal{Surf, M::Normal, Mark};
    const int W = Where.Right - Where.Left, H = Where.Bottom - Where.Top;
    // The normal look is part of the frame pictures.
    L.Paint(*FFrame, Where, {}, Name, "skinrect", Normal);
    PieceStyle Off = Normal;
    Off.Inactive = true;
    L.Paint(*FInactive, Where, {}, Name, "inactiveskinrect", Off);
    O->SkinRect = Where;
    O->Hint = Hint;
    O->Command = Command;
    // What a load would give these two anyway; written so a reload changes nothing.
    if (Command == cmMaximize || Command == cmMinimize) O->RestoreHint = "Restore";
    O->ActiveSkinRect = B.Image(Name, "activeskinrect", W, H, {}, PieceStyle{Surf, M::Hover, Mark});
    O->DownRect = B.Image(Name, "downrect", W, H, {}, PieceStyle{Surf, M::Down, Mark});
    O->InActiveSkinRect = B.Image(Name, "inactiveskinrect", W, H, {}, Off);
    if (Command == cmMaximize || Command == cmMinimize) {
      O->DisableSkinRect =
          B.Image(Name, "disableskinrsect", W, H, {}, PieceStyle{Surf, M::Disabled, Mark});
    }
    if (Command == cmMaximize) {
      O->RestoreRect =
          B.Image(Name, "restorerect", W, H, {}, PieceStyle{Surf, M::Normal, G::Restore});
      O->RestoreActiveRect =
          B.Image(Name, "restoreactiverect", W, H, {}, PieceStyle{Surf, M::Hover, G::Restore});
      O->RestoreDownRect =
          B.Image(Name, "restoredownrect", W, H, {}, PieceStyle{Surf, M::Down, G::Restore});
    }
    O->Morphing = false;
    O->GroupIndex = -1;
    O->AlphaMaskPictureIndex = O->AlphaMaskActivePictureIndex = O->AlphaMaskInActivePictureIndex =
        -1;
    return O;
  }

  void CaptionButtons() {
    const int Cw = Z.CaptionButton, Ch = Z.CaptionHeight, X = ButtonsLeft();
    StdButton("minbutton", cmMinimize, TRect{X, 0, X + Cw, Ch}, G::Min, "Minimize");
    StdButton("maxbutton", cmMaximize, TRect{X + Cw, 0, X + 2 * Cw, Ch}, G::Max, "Maximize");
    StdButton("closebutton", cmClose, TRect{X + 2 * Cw, 0, X + 3 * Cw, Ch}, G::Close, "Close");
    StdButton("sysmenubutton", cmSysMenu, D.IconRect, G::SysMenu, "");
  }

  void Caption() {
    auto* O = dynamic_cast<TspDataSkinCaption*>(B.AddObject("caption", "caption"));
    if (!O) return;
    O->SkinRect = D.CaptionRect;
    const int W = D.CaptionRect.Right - D.CaptionRect.Left;
    const int H = D.CaptionRect.Bottom - D.CaptionRect.Top;
    if (L.IsTest()) {
      // The caption's own piece, so a test sees where it lies.
      L.Paint(*FFrame, D.CaptionRect, {}, "caption", "skinrect", PieceStyle{S::Window});
    }
    O->DefaultCaption = true;
    O->TextRct = TRect{0, 0, W, H};
    O->FontName = SkinFontName;
    O->FontHeight = SkinFontHeight;
    O->FontStyle = TFontStyles{fsBold};
    O->FontColor = L.Font("caption", "fontcolor", palette::CaptionTextInactive);
    O->ActiveFontColor = L.Font("caption", "activefontcolor", palette::CaptionText);
    O->Alignment = taLeftJustify;
    O->GlowSize = 3;
  }

  template <class T>
  void MenuFonts(T* O, const char* Name) {
    O->FontName = SkinFontName;
    O->FontHeight = SkinFontHeight;
    O->FontColor = L.Font(Name, "fontcolor", palette::Text);
    O->ActiveFontColor = L.Font(Name, "activefontcolor", palette::Text);
  }

  void MenuObjects() {
    const int C = Z.Corner, Iw = Z.ItemWidth, Ih = Z.ItemHeight, Mh = Z.MenuHeight;
    // The frame's main-menu items: the normal look lies in the frame's menu band.
    if (auto* O =
            dynamic_cast<TspDataSkinMainMenuItem*>(B.AddObject("MAINMENUITEM", "mainmenuitem"))) {
      const int W = Iw / 2;
      const TRect Where{D.MainMenuRect.Left, D.MainMenuRect.Top, D.MainMenuRect.Left + W,
                        D.MainMenuRect.Top + Mh};
      if (L.IsTest())
        L.Paint(*FFrame, Where, HEnds(C), "MAINMENUITEM", "skinrect", PieceStyle{S::Item});
      O->SkinRect = Where;
      O->ActiveSkinRect =
          B.Image("MAINMENUITEM", "activeskinrect", W, Mh, HEnds(C), PieceStyle{S::Item, M::Hover});
      O->DownRect =
          B.Image("MAINMENUITEM", "downrect", W, Mh, HEnds(C), PieceStyle{S::Item, M::Down});
      O->ItemLO = O->ItemRO = C;
      O->TextRct = TRect{C, 0, W - C, Mh};
      MenuFonts(O, "MAINMENUITEM");
      O->DownFontColor = L.Font("MAINMENUITEM", "downfontcolor", palette::Text);
      O->UnEnabledFontColor = L.Font("MAINMENUITEM", "unenabledfontColor", palette::TextMuted);
      O->StretchEffect = true;
    }
    if (auto* O = dynamic_cast<TspDataSkinMainMenuBarItem*>(
            B.AddObject("mainmenubaritem", "mainmenubaritem"))) {
      const int W = Iw / 2;
      O->SkinRectInAPicture = true;
      O->SkinRect =
          B.Image("mainmenubaritem", "skinrect", W, Mh, HEnds(C), PieceStyle{S::Item, M::Normal});
      O->ActiveSkinRect = B.Image("mainmenubaritem", "activeskinrect", W, Mh, HEnds(C),
                                  PieceStyle{S::Item, M::Hover});
      O->DownRect =
          B.Image("mainmenubaritem", "downrect", W, Mh, HEnds(C), PieceStyle{S::Item, M::Down});
      O->ItemLO = O->ItemRO = C;
      O->TextRct = TRect{C, 0, W - C, Mh};
      MenuFonts(O, "mainmenubaritem");
      O->DownFontColor = L.Font("mainmenubaritem", "downfontcolor", palette::Text);
      O->UnEnabledFontColor = L.Font("mainmenubaritem", "unenabledfontColor", palette::TextMuted);
      O->StretchEffect = true;
    }
    if (auto* O = dynamic_cast<TspDataSkinMenuItem*>(B.AddObject("menuitem", "menuitem"))) {
      O->SkinRectInAPicture = true;
      O->SkinRect =
          B.Image("menuitem", "skinrect", Iw, Ih, HEnds(C), PieceStyle{S::Item, M::Normal});
      O->ActiveSkinRect =
          B.Image("menuitem", "activeskinrect", Iw, Ih, HEnds(C), PieceStyle{S::Item, M::Hover});
      const int Dh = 7;
      O->DividerRect = B.Image("menuitem", "dividerrect", Iw, Dh, HEnds(C), PieceStyle{S::Divider});
      O->DividerLO = O->DividerRO = C;
      O->ItemLO = O->ItemRO = C;
      O->TextRct = TRect{Ih + 4, 0, Iw - Ih, Ih};
      O->StretchEffect = O->InActiveStretchEffect = O->DividerStretchEffect = true;
      MenuFonts(O, "menuitem");
      O->UnEnabledFontColor = L.Font("menuitem", "unenabledfontcolor", palette::TextMuted);
      const int Mk = Z.Mark - 4;
      O->CheckImageRect = B.Image("menuitem", "checkimagerect", Mk, Mk, {},
                                  PieceStyle{S::Item, M::Normal, G::Check});
      O->ActiveCheckImageRect = B.Image("menuitem", "activecheckimagerect", Mk, Mk, {},
                                        PieceStyle{S::Item, M::Hover, G::Check});
      O->RadioImageRect =
          B.Image("menuitem", "radioimagerect", Mk, Mk, {}, PieceStyle{S::Item, M::Normal, G::Dot});
      O->ActiveRadioImageRect = B.Image("menuitem", "activeradioimagerect", Mk, Mk, {},
                                        PieceStyle{S::Item, M::Hover, G::Dot});
      O->ArrowImageRect = B.Image("menuitem", "arrowimagerect", Mk, Mk, {},
                                  PieceStyle{S::Item, M::Normal, G::Right});
      O->ActiveArrowImageRect = B.Image("menuitem", "activearrowimagerect", Mk, Mk, {},
                                        PieceStyle{S::Item, M::Hover, G::Right});
    }
    struct MdiButton {
      const char* Name;
      TStdCommand Command;
      Glyph Mark;
    };
    const int Bs = Mh - 4;
    for (const MdiButton& Mb : {MdiButton{"mdiclosebutton", cmClose, G::Close},
                                MdiButton{"mdimaxbutton", cmMaximize, G::Restore},
                                MdiButton{"mdiminbutton", cmMinimize, G::Min},
                                MdiButton{"mdisysmenubutton", cmSysMenu, G::SysMenu}}) {
      auto* O =
          dynamic_cast<TspDataSkinMainMenuBarButton*>(B.AddObject(Mb.Name, "mainmenubarbutton"));
      if (!O) continue;
      O->SkinRectInAPicture = true;
      O->Command = Mb.Command;
      O->SkinRect =
          B.Image(Mb.Name, "skinrect", Bs, Bs, {}, PieceStyle{S::Flat, M::Normal, Mb.Mark});
      O->ActiveSkinRect =
          B.Image(Mb.Name, "activeskinrect", Bs, Bs, {}, PieceStyle{S::Flat, M::Hover, Mb.Mark});
      O->DownRect = B.Image(Mb.Name, "downrect", Bs, Bs, {}, PieceStyle{S::Flat, M::Down, Mb.Mark});
      O->GroupIndex = -1;
      O->AlphaMaskPictureIndex = O->AlphaMaskActivePictureIndex = O->AlphaMaskInActivePictureIndex =
          -1;
    }
  }

  void Windows() {
    const int P = Z.PanelSize, C = Z.Corner + 1;
    {
      auto Pic = std::make_unique<Raster>(P, P, KeyColour);
      L.Paint(*Pic, TRect{0, 0, P, P}, EvenInsets(C), PopupPictureName, "picture",
              PieceStyle{S::Window, M::Hover});
      TspDataSkinPopupWindow& W = *D.PopupWindow;
      W.WindowPictureIndex = B.AddPicture("popup.bmp", std::move(Pic));
      W.MaskPictureIndex = -1;
      W.LTPoint = TPoint{C, C};
      W.RTPoint = TPoint{P - C, C};
      W.LBPoint = TPoint{C, P - C};
      W.RBPoint = TPoint{P - C, P - C};
      W.ItemsRect = TRect{C, C, P - C, P - C};
      W.CursorIndex = -1;
      W.ScrollMarkerColor = L.IsTest() ? L.Font("menuitem", "framefontcolor", 0) : palette::Glyph;
      W.ScrollMarkerActiveColor =
          L.IsTest() ? L.Font("menuitem", "focusfontcolor", 0) : palette::Accent;
      W.LeftStretch = W.RightStretch = W.TopStretch = W.BottomStretch = W.StretchEffect = true;
    }
    {
      auto Pic = std::make_unique<Raster>(P, P / 2, KeyColour);
      L.Paint(*Pic, TRect{0, 0, P, P / 2}, EvenInsets(C), HintPictureName, "picture",
              PieceStyle{S::Window, M::Focus});
      TspDataSkinHintWindow& W = *D.HintWindow;
      W.WindowPictureIndex = B.AddPicture("hint.bmp", std::move(Pic));
      W.MaskPictureIndex = -1;
      W.LTPoint = TPoint{C, C};
      W.RTPoint = TPoint{P - C, C};
      W.LBPoint = TPoint{C, P / 2 - C};
      W.RBPoint = TPoint{P - C, P / 2 - C};
      W.ClRect = TRect{C + 2, C, P - C - 2, P / 2 - C};
      W.FontName = SkinFontName;
      W.FontHeight = SkinFontHeight;
      W.FontColor = L.Font(HintPictureName, "fontcolor", palette::Text);
      W.LeftStretch = W.RightStretch = W.TopStretch = W.BottomStretch = W.StretchEffect = true;
    }
    D.LayerFrame->PictureIndex = -1;

    // The frame pictures go in last: the objects above painted their normal looks on them.
    const int W = Z.FrameWidth, H = Z.FrameHeight, Radius = Z.BorderWidth + 2;
    D.FPictureName = "frame.bmp";
    D.FInActivePictureName = "frameinactive.bmp";
    D.FMaskName = "framemask.bmp";
    D.FRollUpPictureName = "rollup.bmp";
    D.FRollUpMaskName = "rollupmask.bmp";
    D.FPicture = FFrame->ToBitmap();
    D.FInActivePicture = FInactive->ToBitmap();
    D.FMask = TopRoundedMask(W, H, Radius)->ToBitmap();
    D.FRollUpPicture = FRollUp->ToBitmap();
    D.FRollUpMask = TopRoundedMask(W, FRollUp->Height(), Radius)->ToBitmap();
  }
};

}  // namespace

void BuildCompleteSkin(SkinBuilder& B) {
  TspSkinData& D = B.Data();
  ControlsMaker(B).Make();
  FrameMaker(B).Make();
  const std::array<Colour, 10> C = B.Look().SystemColours();
  TspSkinColors* K = D.SkinColors();
  K->SetcBtnFace(C[0]);
  K->SetcBtnText(C[1]);
  K->SetcWindow(C[2]);
  K->SetcWindowText(C[3]);
  K->SetcHighLight(C[4]);
  K->SetcHighLightText(C[5]);
  K->SetcBtnHighLight(C[6]);
  K->SetcBtnShadow(C[7]);
  K->Setc3DLight(C[8]);
  K->Setc3DDkShadow(C[9]);
  B.Finish();
}

}  // namespace vantrel::skingen
