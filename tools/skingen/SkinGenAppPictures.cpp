// The main window's pictures in the default skin's folder: button glyphs as PNGs with
// alpha (the "_over" ones in the accent colour), the BMP backgrounds of the profile
// field, the file table and the two panels, and the program's icon.
#include <cmath>
#include <functional>
#include <string>

#include "tools/skingen/SkinGenBuild.h"

namespace vantrel::skingen {

namespace {

namespace pl = palette;

using GlyphPainter = std::function<void(Raster&, Colour)>;

void SaveAppPng(const std::string& Folder, const AppPicture& P, Colour Ink,
                const GlyphPainter& Draw) {
  Raster R(P.Width, P.Height, 0, 0);
  Draw(R, Ink);
  R.ToPng()->SaveToFile(Folder + "/" + P.Name);
}

void SaveAppBmp(const std::string& Folder, const AppPicture& P,
                const std::function<void(Raster&)>& Draw) {
  Raster R(P.Width, P.Height, pl::Window);
  Draw(R);
  R.ToBitmap()->SaveToFile(Folder + "/" + P.Name);
}

const AppPicture& AppPictureNamed(std::string_view Name) {
  for (const AppPicture& P : AppPictures)
    if (Name == P.Name) return P;
  throw std::logic_error("skingen: no application picture " + std::string(Name));
}

// ---- 64 x 64 buttons ----

void DrawOpenGlyph(Raster& R, Colour C) {
  // A folder with a plus.
  R.FillRoundRect(8, 14, 30, 24, 3, C);
  R.FillRoundRect(8, 19, 56, 52, 4, C);
  R.EraseRoundRect(11, 25, 53, 49, 2);
  R.Line(32, 30, 32, 44, 4, C);
  R.Line(25, 37, 39, 37, 4, C);
}

void DrawTrimGlyph(Raster& R, Colour C) {
  // Scissors.
  R.Line(22, 12, 40, 42, 4, C);
  R.Line(42, 12, 24, 42, 4, C);
  for (double X : {20.0, 44.0}) {
    R.FillEllipse(X, 48, 9, 9, C);
    R.EraseEllipse(X, 48, 5, 5);
  }
}

void DrawEditGlyph(Raster& R, Colour C) {
  // Three sliders.
  for (int I = 0; I < 3; ++I) {
    const double Y = 16 + I * 16;
    R.Line(10, Y, 54, Y, 3, C);
    const double X = I == 1 ? 40 : (I == 0 ? 22 : 30);
    R.FillEllipse(X, Y, 6, 6, C);
    R.EraseEllipse(X, Y, 3, 3);
  }
}

// A round button with an arrow, scaled to the picture.
void DrawConvertGlyph(Raster& R, Colour C) {
  const double K = R.Width() / 90.0;
  R.FillEllipse(45 * K, 45 * K, 40 * K, 40 * K, C);
  R.Line(26 * K, 45 * K, 58 * K, 45 * K, 7 * K, pl::Window);
  R.FillPolygon({{52 * K, 31 * K}, {68 * K, 45 * K}, {52 * K, 59 * K}}, pl::Window);
}

// ---- 13 x 13 player buttons ----

void DrawPlaySmall(Raster& R, Colour C) { R.FillPolygon({{3, 2}, {3, 11}, {11, 6.5}}, C); }
void DrawPauseSmall(Raster& R, Colour C) {
  R.FillRect(TRect{3, 2, 6, 11}, C);
  R.FillRect(TRect{8, 2, 11, 11}, C);
}
void DrawStopSmall(Raster& R, Colour C) { R.FillRoundRect(2.5, 2.5, 10.5, 10.5, 1, C); }
void DrawPhotoSmall(Raster& R, Colour C) {
  R.FillRoundRect(1, 3.5, 12, 11, 1.5, C);
  R.FillRect(TRect{4, 2, 8, 4}, C);
  R.FillEllipse(6.5, 7.3, 2.3, 2.3, pl::Window);
}
void DrawSetStartSmall(Raster& R, Colour C) {
  R.FillRect(TRect{2, 2, 4, 11}, C);
  R.FillPolygon({{5, 2.5}, {5, 10.5}, {11.5, 6.5}}, C);
}
void DrawSetEndSmall(Raster& R, Colour C) {
  R.FillPolygon({{1.5, 2.5}, {1.5, 10.5}, {8, 6.5}}, C);
  R.FillRect(TRect{9, 2, 11, 11}, C);
}
void DrawPlayPartSmall(Raster& R, Colour C) {
  R.FillRect(TRect{1, 2, 2, 11}, C);
  R.FillRect(TRect{11, 2, 12, 11}, C);
  R.FillPolygon({{4, 3}, {4, 10}, {9.5, 6.5}}, C);
}

}  // namespace

void WriteAppPictures(const std::string& Folder) {
  struct Pair {
    const char* Normal;
    const char* Over;
    GlyphPainter Draw;
  };
  for (const Pair& P : {Pair{"open.png", "open_over.png", DrawOpenGlyph},
                        Pair{"trim.png", "trim_over.png", DrawTrimGlyph},
                        Pair{"edit.png", "edit_over.png", DrawEditGlyph},
                        Pair{"convert.png", "convert_over.png", DrawConvertGlyph}}) {
    SaveAppPng(Folder, AppPictureNamed(P.Normal), pl::Caption, P.Draw);
    SaveAppPng(Folder, AppPictureNamed(P.Over), pl::Accent, P.Draw);
  }
  struct Small {
    const char* Name;
    GlyphPainter Draw;
  };
  for (const Small& S :
       {Small{"play.png", DrawPlaySmall}, Small{"pause.png", DrawPauseSmall},
        Small{"stop.png", DrawStopSmall}, Small{"photo.png", DrawPhotoSmall},
        Small{"setstart.png", DrawSetStartSmall}, Small{"setend.png", DrawSetEndSmall},
        Small{"playpart.png", DrawPlayPartSmall}})
    SaveAppPng(Folder, AppPictureNamed(S.Name), pl::Glyph, S.Draw);

  // The profile field: an edit-like face with a drop-down arrow.
  for (bool Over : {false, true}) {
    SaveAppBmp(Folder, AppPictureNamed(Over ? "profilescombo_over.bmp" : "profilescombo.bmp"),
               [Over](Raster& R) {
                 const int W = R.Width(), H = R.Height();
                 R.FillRect(TRect{0, 0, W, H}, pl::Panel);
                 R.BorderedRoundRect(TRect{0, 0, W, H}, 3, Over ? pl::Accent : pl::Border,
                                     Over ? pl::Window : pl::Face);
                 const double CX = W - 13, CY = H / 2.0;
                 R.FillPolygon({{CX - 4, CY - 2}, {CX + 4, CY - 2}, {CX, CY + 2.5}},
                               Over ? pl::Accent : pl::Glyph);
               });
  }
  SaveAppBmp(Folder, AppPictureNamed("tablerow.bmp"), [](Raster& R) {
    R.FillRect(TRect{0, 0, R.Width(), R.Height()}, pl::RowCurrent);
  });
  SaveAppBmp(Folder, AppPictureNamed("tablecolumncaptionbar.bmp"), [](Raster& R) {
    R.VerticalGradient(TRect{0, 0, R.Width(), R.Height()}, pl::Face, pl::FaceHover);
    R.FillRect(TRect{0, R.Height() - 1, R.Width(), R.Height()}, pl::Border);
  });
  SaveAppBmp(Folder, AppPictureNamed("filmicon.bmp"), [](Raster& R) {
    const int W = R.Width(), H = R.Height();
    R.FillRoundRect(1, 1, W - 1, H - 1, 2, pl::Glyph);
    for (int X = 3; X < W - 3; X += 4) {
      R.FillRect(TRect{X, 3, X + 2, 5}, pl::Window);
      R.FillRect(TRect{X, H - 5, X + 2, H - 3}, pl::Window);
    }
    R.FillRect(TRect{3, 6, W - 3, H - 6}, pl::AccentSoft);
  });

  // The getting-started panel: three cards, open, choose, convert, joined by arrows.
  SaveAppBmp(Folder, GettingStartedPicture, [](Raster& R) {
    const int W = R.Width(), H = R.Height();
    R.FillRect(TRect{0, 0, W, H}, pl::Panel);
    const int CardW = 105, CardH = 130, Gap = (W - 3 * CardW) / 4, Top = (H - CardH) / 2;
    const GlyphPainter Glyphs[3] = {DrawOpenGlyph, DrawEditGlyph, DrawConvertGlyph};
    for (int I = 0; I < 3; ++I) {
      const int L = Gap + I * (CardW + Gap);
      R.BorderedRoundRect(TRect{L, Top, L + CardW, Top + CardH}, 8, pl::Border, pl::Window);
      Raster G(64, 64, pl::Window, 0);
      Glyphs[I](G, I == 2 ? pl::Accent : pl::Caption);
      R.Blend(G, L + (CardW - 64) / 2, Top + 18);
      R.FillEllipse(L + CardW / 2.0, Top + CardH - 24, 10, 10, pl::Accent);
      for (int D = 0; D <= I; ++D) {
        const double X = L + CardW / 2.0 + (D - I / 2.0) * 5;
        R.FillEllipse(X, Top + CardH - 24, 2, 2, pl::TextOnAccent);
      }
      if (I < 2) {
        const double AX = L + CardW + Gap / 2.0, AY = Top + CardH / 2.0;
        R.FillPolygon({{AX - 5, AY - 7}, {AX - 5, AY + 7}, {AX + 6, AY}}, pl::Shadow);
      }
    }
  });
  // The program's icon: the caption's mark filling the picture, on transparency.
  {
    Raster R(AppIconPicture.Width, AppIconPicture.Height, 0, 0);
    DrawAppMark(R, AppIconPicture.Width / 2.0, AppIconPicture.Height / 2.0, AppIconPicture.Width / 2.0 - 1, false);
    R.ToPng()->SaveToFile(Folder + "/" + AppIconPicture.Name);
  }
  // The preview area before a file plays: a dark screen with a play mark.
  SaveAppBmp(Folder, PreviewPicture, [](Raster& R) {
    const int W = R.Width(), H = R.Height();
    R.VerticalGradient(TRect{0, 0, W, H}, pl::Caption, pl::CaptionDown);
    R.FillEllipse(W / 2.0, H / 2.0, 24, 24, pl::CaptionHover);
    R.FillPolygon(
        {{W / 2.0 - 7, H / 2.0 - 11}, {W / 2.0 - 7, H / 2.0 + 11}, {W / 2.0 + 12, H / 2.0}},
        pl::CaptionText);
  });
}

}  // namespace vantrel::skingen
