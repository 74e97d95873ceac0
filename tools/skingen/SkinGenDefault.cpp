// The default skin "skin-laconic": one calm light look from the palette of SkinGenSpec.h.
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/skingen/SkinGenBuild.h"

namespace vantrel::skingen {

namespace {

namespace pl = palette;

bool OwnerHas(std::string_view Owner, std::string_view Part) {
  return Owner.find(Part) != std::string_view::npos;
}

// A glyph centred in R. Crisp glyphs go on the key colour.
void DrawLaconicGlyph(Raster& T, const TRect& R, Glyph G, Colour C, bool Crisp) {
  const double W = R.Right - R.Left, H = R.Bottom - R.Top;
  const double CX = R.Left + W / 2, CY = R.Top + H / 2;
  const double Sz = std::min(W, H);
  const double A = std::max(2.0, std::round(Sz * 0.2));
  switch (G) {
    case Glyph::None:
      break;
    case Glyph::Up:
      T.FillPolygon({{CX - A, CY + A / 2}, {CX + A, CY + A / 2}, {CX, CY - A / 2}}, C, Crisp);
      break;
    case Glyph::Down:
    case Glyph::Marker:
      T.FillPolygon({{CX - A, CY - A / 2}, {CX + A, CY - A / 2}, {CX, CY + A / 2}}, C, Crisp);
      break;
    case Glyph::Left:
      T.FillPolygon({{CX + A / 2, CY - A}, {CX + A / 2, CY + A}, {CX - A / 2, CY}}, C, Crisp);
      break;
    case Glyph::Right:
      T.FillPolygon({{CX - A / 2, CY - A}, {CX - A / 2, CY + A}, {CX + A / 2, CY}}, C, Crisp);
      break;
    case Glyph::Check: {
      const double K = Sz * 0.3;
      const double Pen = std::max(1.5, Sz / 7);
      T.Line(CX - K, CY, CX - K / 3, CY + K * 0.7, Pen, C, Crisp);
      T.Line(CX - K / 3, CY + K * 0.7, CX + K, CY - K * 0.7, Pen, C, Crisp);
      break;
    }
    case Glyph::Dot:
      T.FillEllipse(CX, CY, Sz * 0.22, Sz * 0.22, C, Crisp);
      break;
    case Glyph::Grayed:
      T.FillRoundRect(CX - Sz * 0.22, CY - Sz * 0.22, CX + Sz * 0.22, CY + Sz * 0.22, 1, C, Crisp);
      break;
    case Glyph::Close: {
      const double K = std::min(5.0, Sz * 0.3);
      T.Line(CX - K, CY - K, CX + K, CY + K, 1.4, C, Crisp);
      T.Line(CX - K, CY + K, CX + K, CY - K, 1.4, C, Crisp);
      break;
    }
    case Glyph::Max: {
      const double K = std::min(5.0, Sz * 0.3);
      const int L = static_cast<int>(CX - K), Tp = static_cast<int>(CY - K);
      const int Rr = static_cast<int>(CX + K), B = static_cast<int>(CY + K);
      T.FrameRect(TRect{L, Tp, Rr, B}, C);
      break;
    }
    case Glyph::Restore: {
      const double K = std::min(4.0, Sz * 0.25);
      const int L = static_cast<int>(CX - K - 1), Tp = static_cast<int>(CY - K + 1);
      T.FrameRect(
          TRect{L + 2, Tp - 2, L + 2 + static_cast<int>(2 * K), Tp - 2 + static_cast<int>(2 * K)},
          C);
      T.FillRect(TRect{L, Tp, L + static_cast<int>(2 * K), Tp + static_cast<int>(2 * K)},
                 T.Pixel(R.Left, R.Top));
      T.FrameRect(TRect{L, Tp, L + static_cast<int>(2 * K), Tp + static_cast<int>(2 * K)}, C);
      break;
    }
    case Glyph::Min: {
      const double K = std::min(5.0, Sz * 0.3);
      T.FillRect(TRect{static_cast<int>(CX - K), static_cast<int>(CY), static_cast<int>(CX + K),
                       static_cast<int>(CY) + 1},
                 C);
      break;
    }
    case Glyph::SysMenu:
      DrawAppMark(T, CX, CY, std::min(8.0, Sz / 2), Crisp);
      break;
    case Glyph::Ellipsis: {
      const double Rad = std::max(1.0, Sz * 0.075);
      const double Step = Rad * 2 + 2;
      for (int I = -1; I <= 1; ++I) T.FillEllipse(CX + I * Step, CY, Rad, Rad, C, Crisp);
      break;
    }
    case Glyph::Grip: {
      const int D = std::max(1, static_cast<int>(Sz) / 5);
      for (int I = 0; I < 3; ++I)
        for (int J = 0; J <= I; ++J) {
          const int X = R.Right - 1 - (J + 1) * (D + 1) + 1;
          const int Y = R.Bottom - 1 - (I - J + 1) * (D + 1) + 1;
          T.FillRect(TRect{X, Y, X + D, Y + D}, C);
        }
      break;
    }
  }
}

}  // namespace

void DrawAppMark(Raster& T, double CX, double CY, double K, bool Crisp) {
  // The corner radius keeps its proportion: 3 pixels on the caption's 16-pixel mark.
  T.FillRoundRect(CX - K, CY - K, CX + K, CY + K, K * 3 / 8, pl::Accent, Crisp);
  T.FillPolygon({{CX - K * 0.35, CY - K * 0.5}, {CX - K * 0.35, CY + K * 0.5}, {CX + K * 0.55, CY}},
                pl::TextOnAccent, Crisp);
}

namespace {

class LaconicLook : public SkinLook {
 public:
  const SkinSizes& Sizes() const override { return MainSizes; }
  bool IsTest() const override { return false; }

  Colour Font(std::string_view, std::string_view, Colour Theme) const override { return Theme; }

  std::array<Colour, 10> SystemColours() const override {
    return {pl::Panel,        pl::Text,   pl::Window, pl::Text, pl::Accent,
            pl::TextOnAccent, pl::Window, pl::Border, pl::Face, pl::BorderStrong};
  }

  void Paint(Raster& T, const TRect& R, const Insets& Fx, std::string_view Owner, std::string_view,
             const PieceStyle& S) override {
    const Mood St = S.State;
    const TRect In{R.Left, R.Top, R.Right, R.Bottom};
    switch (S.Surf) {
      case Surface::Face: {
        T.FillRect(R, pl::Panel);
        const Colour Border = St == Mood::Focus      ? pl::Accent
                              : St == Mood::Disabled ? pl::BorderDisabled
                              : St == Mood::Normal   ? pl::Border
                                                     : pl::BorderStrong;
        const Colour Fill = St == Mood::Hover      ? pl::FaceHover
                            : St == Mood::Down     ? pl::FaceDown
                            : St == Mood::Disabled ? pl::FaceDisabled
                                                   : pl::Face;
        T.BorderedRoundRect(In, 4, Border, Fill);
        DrawLaconicGlyph(T, R, S.Mark, St == Mood::Disabled ? pl::TextMuted : pl::Glyph, false);
        break;
      }
      case Surface::Flat: {
        T.FillRect(R, pl::Panel);
        if (St == Mood::Hover || St == Mood::Down || St == Mood::Focus)
          T.BorderedRoundRect(In, 4, St == Mood::Focus ? pl::Accent : pl::Border,
                              St == Mood::Down ? pl::FaceDown : pl::FaceHover);
        DrawLaconicGlyph(T, R, S.Mark, St == Mood::Disabled ? pl::TextMuted : pl::Glyph, false);
        break;
      }
      case Surface::TrackPart: {
        // Over the face of the same state: a divider where the face shows, and the arrow.
        if (St == Mood::Hover || St == Mood::Down || St == Mood::Focus)
          T.FillRect(TRect{R.Left, R.Top + 3, R.Left + 1, R.Bottom - 3},
                     St == Mood::Focus ? pl::Accent : pl::BorderStrong);
        DrawLaconicGlyph(T, R, S.Mark, St == Mood::Disabled ? pl::TextMuted : pl::Glyph, false);
        break;
      }
      case Surface::Field: {
        T.FillRect(R, pl::Panel);
        const Colour Border = St == Mood::Focus      ? pl::Accent
                              : St == Mood::Disabled ? pl::BorderDisabled
                              : St == Mood::Hover    ? pl::BorderStrong
                                                     : pl::Border;
        T.BorderedRoundRect(In, 3, Border, St == Mood::Disabled ? pl::FaceDisabled : pl::Window);
        break;
      }
      case Surface::Panel: {
        T.FillRect(R, pl::Panel);
        // A group box keeps a band for its caption: its frame starts half way down it.
        const int Top = Fx.T > Fx.L ? R.Top + Fx.T / 2 : R.Top;
        T.BorderedRoundRect(TRect{R.Left, Top, R.Right, R.Bottom}, 4, pl::Border, pl::Panel);
        break;
      }
      case Surface::Plain:
        T.FillRect(R, pl::Panel);
        break;
      case Surface::Groove: {
        T.FillRect(R, pl::Panel);
        const int W = R.Right - R.Left, H = R.Bottom - R.Top;
        const Colour Bed = St == Mood::Hover ? pl::FaceDown : pl::Groove;
        if (OwnerHas(Owner, "trackbar")) {
          const int Rail = 4;
          if (W >= H)
            T.FillRoundRect(R.Left + 2, R.Top + (H - Rail) / 2.0, R.Right - 2,
                            R.Top + (H + Rail) / 2.0, 2, Bed);
          else
            T.FillRoundRect(R.Left + (W - Rail) / 2.0, R.Top + 2, R.Left + (W + Rail) / 2.0,
                            R.Bottom - 2, 2, Bed);
        } else {
          T.BorderedRoundRect(In, 4, pl::Border, Bed);
        }
        break;
      }
      case Surface::Track:
        T.FillRect(R, pl::Panel);
        // The bar's arrow buttons in their normal look live in its fixed ends.
        if (Fx.L > 0) {
          DrawLaconicGlyph(T, TRect{R.Left, R.Top, R.Left + Fx.L, R.Bottom}, Glyph::Left, pl::Glyph, false);
          DrawLaconicGlyph(T, TRect{R.Right - Fx.R, R.Top, R.Right, R.Bottom}, Glyph::Right, pl::Glyph, false);
        } else if (Fx.T > 0) {
          DrawLaconicGlyph(T, TRect{R.Left, R.Top, R.Right, R.Top + Fx.T}, Glyph::Up, pl::Glyph, false);
          DrawLaconicGlyph(T, TRect{R.Left, R.Bottom - Fx.B, R.Right, R.Bottom}, Glyph::Down, pl::Glyph, false);
        }
        break;
      case Surface::Bar: {
        T.FillRect(R, pl::Groove);
        T.FillRoundRect(R.Left, R.Top, R.Right, R.Bottom, 3,
                        St == Mood::Hover ? pl::AccentDark : pl::Accent);
        break;
      }
      case Surface::Thumb: {
        T.FillRect(R, pl::Panel);
        const Colour C = St == Mood::Down    ? pl::Glyph
                         : St == Mood::Hover ? pl::Shadow
                                             : Rgb(196, 202, 211);
        const int W = R.Right - R.Left, H = R.Bottom - R.Top;
        if (W >= H)
          T.FillRoundRect(R.Left + 1, R.Top + 4, R.Right - 1, R.Bottom - 4, (H - 8) / 2.0, C);
        else
          T.FillRoundRect(R.Left + 4, R.Top + 1, R.Right - 4, R.Bottom - 1, (W - 8) / 2.0, C);
        break;
      }
      case Surface::Knob: {
        T.FillRect(R, pl::Panel);
        const double W = R.Right - R.Left, H = R.Bottom - R.Top;
        const double CX = R.Left + W / 2, CY = R.Top + H / 2;
        const double Rad = std::min(W, H) / 2 - 0.5;
        T.FillEllipse(CX, CY, Rad, Rad, St == Mood::Hover ? pl::AccentDark : pl::Accent);
        T.FillEllipse(CX, CY, Rad - 2, Rad - 2, pl::Window);
        break;
      }
      case Surface::Item: {
        const bool InBand = OwnerHas(Owner, "MAINMENU") || OwnerHas(Owner, "mainmenu");
        const Colour Base = InBand ? pl::Panel : pl::Window;
        T.FillRect(R, Base);
        const bool Small = R.Right - R.Left < Sizes().ItemHeight;  // a mark, not an item
        if (!Small && St != Mood::Normal && St != Mood::Disabled) {
          const Colour C = St == Mood::Focus  ? pl::Accent
                           : St == Mood::Down ? Rgb(191, 214, 253)
                                              : pl::AccentSoft;
          T.FillRoundRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1, 3, C);
        }
        if (Small && St == Mood::Hover) T.FillRect(R, pl::AccentSoft);
        DrawLaconicGlyph(T, R, S.Mark, pl::Text, false);
        break;
      }
      case Surface::Header: {
        T.VerticalGradient(R, pl::Face, pl::FaceHover);
        T.FillRect(TRect{R.Left, R.Bottom - 1, R.Right, R.Bottom}, pl::Border);
        T.FillRect(TRect{R.Right - 1, R.Top + 3, R.Right, R.Bottom - 3}, pl::Border);
        break;
      }
      case Surface::Tab: {
        T.FillRect(R, pl::Panel);
        const bool Selected = St == Mood::Down || St == Mood::Focus;
        if (Selected || St == Mood::Hover) {
          T.FillRoundRect(R.Left, R.Top + 2, R.Right, R.Bottom + 4, 4,
                          Selected ? pl::Border : pl::FaceDown);
          T.FillRoundRect(R.Left + 1, R.Top + 3, R.Right - 1, R.Bottom + 4, 3,
                          Selected ? pl::Window : pl::FaceHover);
        }
        if (!Selected) T.FillRect(TRect{R.Left, R.Bottom - 1, R.Right, R.Bottom}, pl::Border);
        if (St == Mood::Focus)
          T.FillRect(TRect{R.Left + 3, R.Top + 3, R.Right - 3, R.Top + 5}, pl::Accent);
        break;
      }
      case Surface::Mark:
      case Surface::Radio: {
        T.FillRect(R, pl::Panel);
        const bool Radio = S.Surf == Surface::Radio;
        const bool Dis = St == Mood::Disabled;
        const double W = R.Right - R.Left, CX = R.Left + W / 2, CY = R.Top + W / 2;
        const Colour Border = Dis                 ? pl::BorderDisabled
                              : St == Mood::Hover ? pl::Accent
                                                  : pl::BorderStrong;
        const bool Filled = S.Checked && !Radio;
        const Colour Edge = Filled ? (Dis                 ? pl::Border
                                      : St == Mood::Hover ? pl::AccentDark
                                                          : pl::Accent)
                                   : (S.Checked ? (Dis ? pl::Border : pl::Accent) : Border);
        const Colour Fill = Filled ? Edge : Dis ? pl::FaceDisabled : pl::Window;
        if (Radio) {
          T.FillEllipse(CX, CY, W / 2, W / 2, Edge);
          T.FillEllipse(CX, CY, W / 2 - 1, W / 2 - 1, Fill);
          if (S.Checked)
            T.FillEllipse(CX, CY, W * 0.22, W * 0.22, Dis ? pl::TextMuted : pl::Accent);
        } else {
          T.BorderedRoundRect(R, 3, Edge, Fill);
          if (S.Checked) DrawLaconicGlyph(T, R, Glyph::Check, pl::TextOnAccent, false);
        }
        if (S.Mark == Glyph::Grayed) DrawLaconicGlyph(T, R, Glyph::Grayed, pl::Accent, false);
        break;
      }
      case Surface::Glyph: {
        T.FillRect(R, KeyColour);
        const Colour C = St == Mood::Hover  ? pl::Accent
                         : St == Mood::Down ? pl::AccentDark
                                            : pl::Glyph;
        if (S.Mark == Glyph::Grip)
          DrawLaconicGlyph(T, R, Glyph::Grip, pl::Shadow, true);
        else
          DrawLaconicGlyph(T, R, S.Mark, C, true);
        break;
      }
      case Surface::CaptionButton:
      case Surface::CloseButton: {
        const bool Close = S.Surf == Surface::CloseButton;
        const Colour Base = S.Inactive ? pl::CaptionInactive : pl::Caption;
        const Colour Bg = St == Mood::Hover  ? (Close ? pl::CloseHover : pl::CaptionHover)
                          : St == Mood::Down ? (Close ? pl::CloseDown : pl::CaptionDown)
                                             : Base;
        T.FillRect(R, Bg);
        const Colour Ink = St == Mood::Disabled ? pl::Shadow
                           : S.Inactive         ? pl::CaptionTextInactive
                                                : pl::CaptionText;
        DrawLaconicGlyph(T, R, S.Mark, Ink, false);
        break;
      }
      case Surface::StatusBar:
        T.FillRect(R, pl::StatusBar);
        T.FillRect(TRect{R.Left, R.Top, R.Right, R.Top + 1}, pl::Border);
        break;
      case Surface::Divider: {
        T.FillRect(R, pl::Window);
        const int Y = R.Top + (R.Bottom - R.Top) / 2;
        T.FillRect(TRect{R.Left + Fx.L, Y, R.Right - Fx.R, Y + 1}, pl::Border);
        break;
      }
      case Surface::Window:
        PaintWindow(T, R, Fx, Owner, S);
        break;
    }
  }

 private:
  void PaintWindow(Raster& T, const TRect& R, const Insets& Fx, std::string_view Owner,
                   const PieceStyle& S) {
    if (Owner == PopupPictureName || Owner == HintPictureName) {
      T.FillRect(R, pl::Window);
      T.FrameRect(R, Owner == HintPictureName ? pl::BorderStrong : pl::Border);
      return;
    }
    if (Owner == GlowPictureName) {
      T.FillRect(R, pl::Accent);
      return;
    }
    // The frame: a slate caption band and thin slate borders around the light client.
    const Colour Band = S.Inactive ? pl::CaptionInactive : pl::Caption;
    T.FillRect(R, Band);
    const TRect Client{R.Left + Fx.L, R.Top + Fx.T, R.Right - Fx.R, R.Bottom - Fx.B};
    // The client part is tiled over the form's client area, so it stays one plain colour.
    if (Client.Bottom > Client.Top && Client.Right > Client.Left) T.FillRect(Client, pl::Panel);
  }
};

}  // namespace

void WriteDefaultSkin(const std::string& Folder) {
  TOwned<TspSkinData> Data = CreateOwned<TspSkinData>(nullptr);
  LaconicLook Look;
  SkinBuilder B(*Data, Look);
  Data->SkinName = "Laconic";
  Data->SkinAuthor = "Vantrel";
  BuildCompleteSkin(B);
  WriteSkinFolder(*Data, Folder);
}

}  // namespace vantrel::skingen
