// The form frame of a skin: its geometry, the frame, inactive and roll-up pictures with
// their masks, the caption and caption buttons, the menu objects and the popup and hint
// windows. Shared by every look.
#include <memory>

#include "tools/skingen/SkinGenBuild.h"

namespace vantrel::skingen {

namespace {

using S = Surface;
using M = Mood;
using G = Glyph;

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

void BuildFrame(SkinBuilder& B) { FrameMaker(B).Make(); }

}  // namespace vantrel::skingen
