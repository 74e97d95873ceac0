// The geometry of a complete skin: every descriptor the windows look up, its images in
// the controls picture, and the form frame with its pictures. Shared by every look.
#include <memory>

#include "tools/skingen/SkinGenBuild.h"

namespace vantrel::skingen {

namespace {

using S = Surface;
using M = Mood;
using G = Glyph;

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

// R, a place inside a picture, where it lies in the picture at Box.
TRect PlacedIn(const TRect& R, const TRect& Box) {
  return TRect{Box.Left + R.Left, Box.Top + R.Top, Box.Left + R.Right, Box.Top + R.Bottom};
}

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
    // The button itself stays clear: the glow window lies over it.
    Mask->FillRoundRect(Z.GlowMargin, Z.GlowMargin, W - Z.GlowMargin, H - Z.GlowMargin, Z.Corner,
                        Rgb(0, 0, 0));
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

  // The menu buttons: a width-only strip whose right end is the track part, so the part
  // keeps its size and follows the right edge; every state picture shows the drop-down
  // arrow there, and the pressed one gives the part pasted in while the menu is open.
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
      const int W = K.Size + Track, H = K.Size;
      auto* D = static_cast<TspDataSkinMenuButtonControl*>(
          Button(K.Name, "menubutton", W, H, C, S::Flat, false));
      if (!D) continue;
      D->LTPoint = TPoint{C, 0};
      D->RTPoint = TPoint{W - Track, 0};
      D->LBPoint = D->RBPoint = TPoint{};
      D->ClRect = TRect{C, 0, W - Track, H};
      D->TrackButtonRect = TRect{W - Track, 0, W, H};
      struct StateFace {
        TRect Face;
        Mood State;
      };
      for (const StateFace& F : {StateFace{D->SkinRect, M::Normal}, StateFace{D->ActiveSkinRect, M::Hover},
                                 StateFace{D->DownSkinRect, M::Down}, StateFace{D->FocusedSkinRect, M::Focus},
                                 StateFace{D->DisabledSkinRect, M::Disabled}})
        B.PaintAt(B.AtlasIndex(), PlacedIn(D->TrackButtonRect, F.Face), K.Name, "trackbuttonrect", EvenInsets(2),
                  PieceStyle{S::TrackPart, F.State, G::Marker, false, false});
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
      // The buttons' normal look is the skin picture's ends: the down button (towards the
      // minimum) at the start, the up button at the end; only hot and pressed looks are
      // pictures of their own.
      D->DownButtonRect = TRect{0, 0, Sz, Sz};
      D->UpButtonRect = V ? TRect{0, H - Sz, W, H} : TRect{W - Sz, 0, W, H};
      const Glyph Less = V ? G::Up : G::Left, More = V ? G::Down : G::Right;
      const Insets BF = EvenInsets(2);
      D->ActiveUpButtonRect = Img(Name, "activeupbuttonrect", Sz, Sz, BF, S::Flat, M::Hover, More);
      D->DownUpButtonRect = Img(Name, "downupbuttonrect", Sz, Sz, BF, S::Flat, M::Down, More);
      D->ActiveDownButtonRect = Img(Name, "activedownbuttonrect", Sz, Sz, BF, S::Flat, M::Hover, Less);
      D->DownDownButtonRect = Img(Name, "downdownbuttonrect", Sz, Sz, BF, S::Flat, M::Down, Less);
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
    EditFace(D, Name, W, H, EvenInsets(Z.Corner));
  }
  template <class T>
  void EditFace(T* D, const char* Name, int W, int H, const Insets& Fx) {
    D->SkinRect = Img(Name, "skinrect", W, H, Fx, S::Field, M::Normal);
    D->ActiveSkinRect = Img(Name, "activeskinrect", W, H, Fx, S::Field, M::Focus);
    SetNinePart(D, W, H, Fx);
    D->FontName = SkinFontName;
    D->FontHeight = SkinFontHeight;
    D->FontColor = F(Name, "fontcolor", palette::Text);
    D->ActiveFontColor = F(Name, "activefontcolor", palette::Text);
  }

  // A button's normal look painted at its place inside the normal and the focused face.
  struct Piece {
    const char* Key;
    TRect Place;
    Glyph Mark;
  };
  template <class T>
  void PaintIntoFaces(T* D, const char* Name, std::initializer_list<Piece> Pieces) {
    for (const TRect& Face : {D->SkinRect, D->ActiveSkinRect})
      for (const Piece& P : Pieces) {
        const TRect At{Face.Left + P.Place.Left, Face.Top + P.Place.Top, Face.Left + P.Place.Right,
                       Face.Top + P.Place.Bottom};
        B.PaintAt(B.AtlasIndex(), At, Name, P.Key, EvenInsets(2),
                  PieceStyle{S::Face, M::Normal, P.Mark, false, false});
      }
  }

  void Edits() {
    for (const char* Name : {"edit", "buttonedit", "tooledit"}) {
      auto* D = Control<TspDataSkinEditControl>(Name, "edit");
      if (!D) continue;
      const bool WithButton = std::string_view(Name) == "buttonedit";
      const int BW = Z.EditHeight - 4, BH = Z.EditHeight - 4;
      // The button sits in the right end of the face; the text stops short of it.
      EditFace(D, Name, Z.EditWidth, Z.EditHeight,
               WithButton ? Insets{Z.Corner, Z.Corner, BW + 4, Z.Corner} : EvenInsets(Z.Corner));
      D->DisabledFontColor = F(Name, "disabledfontcolor", palette::TextMuted);
      if (WithButton) {
        const Insets Fx = EvenInsets(2);
        const TRect Place{Z.EditWidth - 2 - BW, 2, Z.EditWidth - 2, 2 + BH};
        D->ButtonRect = Place;
        // The button opens a dialog (a folder picker): three dots, not a drop-down arrow.
        PaintIntoFaces(D, Name, {Piece{"buttonrect", Place, G::Ellipsis}});
        D->ActiveButtonRect = Img(Name, "activebuttonrect", BW, BH, Fx, S::Flat, M::Hover, G::Ellipsis);
        D->DownButtonRect = Img(Name, "downbuttonrect", BW, BH, Fx, S::Flat, M::Down, G::Ellipsis);
        D->UnEnabledButtonRect =
            Img(Name, "unenabledbuttonrect", BW, BH, Fx, S::Flat, M::Disabled, G::Ellipsis);
      }
    }
    if (auto* D = Control<TspDataSkinMemoControl>("memo", "memo")) {
      EditFace(D, "memo", Z.PanelSize, Z.PanelSize);
      D->DisabledFontColor = F("memo", "disabledfontcolor", palette::TextMuted);
      D->BGColor = palette::Window;
      D->ActiveBGColor = palette::Window;
    }
    if (auto* D = Control<TspDataSkinSpinEditControl>("spinedit", "spinedit")) {
      const int W = Z.EditWidth, H = Z.EditHeight, BW = Z.UpDownWidth, BH = H / 2 - 1;
      // The pair sits in the right end of the face, inside its border, with the normal look
      // painted there; only hot and pressed looks are pictures of their own.
      EditFace(D, "spinedit", W, H, Insets{Z.Corner, Z.Corner, BW + 2, Z.Corner});
      D->DisabledFontColor = F("spinedit", "disabledfontcolor", palette::TextMuted);
      Arrows(D, "spinedit", BW, BH, false, S::Flat);
      D->UpButtonRect = TRect{W - 1 - BW, 1, W - 1, 1 + BH};
      D->DownButtonRect = TRect{W - 1 - BW, H - 1 - BH, W - 1, H - 1};
      PaintIntoFaces(D, "spinedit",
                     {Piece{"upbuttonrect", D->UpButtonRect, G::Up}, Piece{"downbuttonrect", D->DownButtonRect, G::Down}});
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

  // A list's nine-part frame around its rows, with the scroll bars it creates.
  TspDataSkinListBox* ListFrame(const char* Name, const Insets& Fx, int W, int H) {
    auto* D = Control<TspDataSkinListBox>(Name, "listbox");
    if (!D) return nullptr;
    D->SkinRect = Img(Name, "skinrect", W, H, Fx, S::Field);
    SetNinePart(D, W, H, Fx);
    Items(D, Name, Z.ItemWidth, Z.ItemHeight);
    D->VScrollBarName = "vscrollbar";
    D->HScrollBarName = "hscrollbar";
    D->BothScrollBarName = "bothhscrollbar";
    return D;
  }

  // Plain lists and the combo boxes' drop-down lists: a frame and rows, no caption band.
  void ListBox(const char* Name) {
    const int P = Z.PanelSize;
    ListFrame(Name, EvenInsets(Z.Corner), P, P);
  }

  // A list under a caption band, its three buttons (check, down, up) at the band's right
  // end, in the fixed top-right corner of the picture.
  void CaptionListBox(const char* Name) {
    const int C = Z.Corner, Ih = Z.ItemHeight, Bt = Ih - 4;
    const int W = Z.ItemWidth, H = Z.PanelSize + Ih;
    const int ButtonsLeft = W - C - 3 * Bt;
    auto* D = ListFrame(Name, Insets{C, Ih + 2, C, C}, W, H);
    if (!D) return;
    D->RTPoint = TPoint{ButtonsLeft - 2, D->LTPoint.Y};
    D->CaptionRect = TRect{C, 0, D->RTPoint.X, Ih};
    const TRect Band{1, 1, W - 1, Ih};
    if (!L.IsTest())
      B.PaintAt(B.AtlasIndex(), PlacedIn(Band, D->SkinRect), Name, "skinrect", {},
                PieceStyle{S::Header, M::Normal, G::None, false, false});
    D->CaptionFontName = SkinFontName;
    D->CaptionFontHeight = SkinFontHeight;
    D->CaptionFontColor = F(Name, "captionfontcolor", palette::Text);
    const Insets Bf = EvenInsets(2);
    D->CheckButtonRect = TRect{ButtonsLeft, 2, ButtonsLeft + Bt, 2 + Bt};
    D->DownButtonRect = TRect{ButtonsLeft + Bt, 2, ButtonsLeft + 2 * Bt, 2 + Bt};
    D->UpButtonRect = TRect{ButtonsLeft + 2 * Bt, 2, ButtonsLeft + 3 * Bt, 2 + Bt};
    // The buttons' normal looks are part of the list's picture; hidden, they are covered
    // by the band stretched over them.
    struct CaptionButton {
      const TRect& Place;
      const char* Key;
      const char* Active;
      const char* Down;
      TRect& ActiveRect;
      TRect& DownRect;
      Glyph Mark;
    };
    for (const CaptionButton& K :
         {CaptionButton{D->UpButtonRect, "upbuttonrect", "activeupbuttonrect", "downupbuttonrect",
                        D->ActiveUpButtonRect, D->DownUpButtonRect, G::Up},
          CaptionButton{D->DownButtonRect, "downbuttonrect", "activedownbuttonrect",
                        "downdownbuttonrect", D->ActiveDownButtonRect, D->DownDownButtonRect, G::Down},
          CaptionButton{D->CheckButtonRect, "checkbuttonrect", "activecheckbuttonrect",
                        "downcheckbuttonrect", D->ActiveCheckButtonRect, D->DownCheckButtonRect,
                        G::Check}}) {
      B.PaintAt(B.AtlasIndex(), PlacedIn(K.Place, D->SkinRect), Name, K.Key, Bf,
                PieceStyle{S::Flat, M::Normal, K.Mark, false, false});
      K.ActiveRect = Img(Name, K.Active, Bt, Bt, Bf, S::Flat, M::Hover, K.Mark);
      K.DownRect = Img(Name, K.Down, Bt, Bt, Bf, S::Flat, M::Down, K.Mark);
    }
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
    ListBox("listbox");
    CaptionListBox("captionlistbox");
    if (auto* D = Control<TspDataSkinComboBox>("combobox", "combobox")) {
      const int W = Z.EditWidth, H = Z.EditHeight;
      const int BW = Z.ScrollSize + 2;
      // The drop-down button sits in the right end of the box, which keeps its width;
      // the item area ends just before it.
      const Insets Fx{Z.Corner, Z.Corner, BW + 2, Z.Corner};
      D->SkinRect = Img("combobox", "skinrect", W, H, Fx, S::Field, M::Normal);
      D->ActiveSkinRect = Img("combobox", "activeskinrect", W, H, Fx, S::Field, M::Focus);
      SetNinePart(D, W, H, Fx);
      D->ClRect = TRect{2, 2, W - BW - 2, H - 2};
      Items(D, "combobox", W - BW - 4, H - 4);
      const Insets Bf = EvenInsets(2);
      D->ButtonRect = TRect{W - 2 - BW, 3, W - 2, H - 3};
      // The button's normal look is part of both box pictures; only its hot, pressed and
      // disabled looks are pictures of their own.
      const PieceStyle Normal{S::Flat, M::Normal, G::Down, false, false};
      for (const TRect& Box : {D->SkinRect, D->ActiveSkinRect})
        B.PaintAt(B.AtlasIndex(), PlacedIn(D->ButtonRect, Box), "combobox", "buttonrect", Bf, Normal);
      D->ActiveButtonRect =
          Img("combobox", "activebuttonrect", BW, H - 6, Bf, S::Flat, M::Hover, G::Down);
      D->DownButtonRect =
          Img("combobox", "downbuttonrect", BW, H - 6, Bf, S::Flat, M::Down, G::Down);
      D->UnEnabledButtonRect =
          Img("combobox", "unenabledbuttonrect", BW, H - 6, Bf, S::Flat, M::Disabled, G::Down);
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

}  // namespace

void BuildCompleteSkin(SkinBuilder& B) {
  TspSkinData& D = B.Data();
  ControlsMaker(B).Make();
  BuildFrame(B);
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
