// A 1600 x 1000 skinned panel painted by the direct framed path (border strips and client
// tiles on the canvas) and by the full nine-piece composition off screen then blitted,
// beside a reference: pixman compositing the same nine pieces of the same skin picture
// onto a surface of the same size (corners copied; edges and client tiled or stretched
// as the skin says). Several rounds, medians. Last line: ratio <composed / reference>.
#include <pixman.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

#include "platform/display/HeadlessSession.h"
#include "platform/ui/Forms.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinGeometry.h"
#include "skin/core/data/SkinDescriptors.h"

namespace {

constexpr int PanelW = 1600, PanelH = 1000, Rounds = 7;

double MedianMs(const std::function<void()>& AWork) {
  std::vector<double> Times;
  for (int R = 0; R < Rounds; ++R) {
    const auto T0 = std::chrono::steady_clock::now();
    AWork();
    const auto T1 = std::chrono::steady_clock::now();
    Times.push_back(std::chrono::duration<double, std::milli>(T1 - T0).count());
  }
  std::sort(Times.begin(), Times.end());
  return Times[Times.size() / 2];
}

// The skin rectangle of the panel's picture as 32-bit pixels, and the nine pieces cut
// from it by the client rectangle, composed with pixman onto a PanelW x PanelH surface.
class TPixmanNinePieces {
 public:
  TPixmanNinePieces(TBitmap& APicture, const TspDataSkinCustomControl& D)
      : FWidth(RectWidth(D.SkinRect)), FHeight(RectHeight(D.SkinRect)),
        FSource(static_cast<size_t>(FWidth) * FHeight), FTarget(static_cast<size_t>(PanelW) * PanelH) {
    TBitmap Copy;
    Copy.Assign(&APicture);
    Copy.SetPixelFormat(pf32bit);
    for (int Y = 0; Y < FHeight; ++Y) {
      const auto* Row = static_cast<const uint32_t*>(Copy.ScanLine(D.SkinRect.Top + Y));
      std::copy_n(Row + D.SkinRect.Left, FWidth, FSource.begin() + static_cast<ptrdiff_t>(Y) * FWidth);
    }
    FTargetImage = pixman_image_create_bits(PIXMAN_x8r8g8b8, PanelW, PanelH, FTarget.data(), PanelW * 4);
    const int SX[4] = {0, D.ClRect.Left, D.ClRect.Right, FWidth};
    const int SY[4] = {0, D.ClRect.Top, D.ClRect.Bottom, FHeight};
    const int DX[4] = {0, D.ClRect.Left, PanelW - (FWidth - D.ClRect.Right), PanelW};
    const int DY[4] = {0, D.ClRect.Top, PanelH - (FHeight - D.ClRect.Bottom), PanelH};
    for (int Row = 0; Row < 3; ++Row)
      for (int Col = 0; Col < 3; ++Col) {
        const bool Stretch = Row == 1 && Col == 1 ? D.StretchEffect
                             : Row == 1          ? (Col == 0 ? D.LeftStretch : D.RightStretch)
                             : Col == 1          ? (Row == 0 ? D.TopStretch : D.BottomStretch)
                                                 : false;
        AddPiece(SX[Col], SY[Row], SX[Col + 1] - SX[Col], SY[Row + 1] - SY[Row], DX[Col], DY[Row],
                 DX[Col + 1] - DX[Col], DY[Row + 1] - DY[Row], Stretch);
      }
  }
  ~TPixmanNinePieces() {
    for (const TPiece& P : FPieces) pixman_image_unref(P.Image);
    pixman_image_unref(FTargetImage);
  }
  TPixmanNinePieces(const TPixmanNinePieces&) = delete;
  TPixmanNinePieces& operator=(const TPixmanNinePieces&) = delete;

  void Compose() {
    for (const TPiece& P : FPieces)
      pixman_image_composite32(PIXMAN_OP_SRC, P.Image, nullptr, FTargetImage, 0, 0, 0, 0, P.X, P.Y, P.W, P.H);
  }

 private:
  struct TPiece {
    pixman_image_t* Image;
    int X, Y, W, H;
  };

  // A piece of the source, tiled over its place or stretched to it (nearest pixel).
  void AddPiece(int SX, int SY, int SW, int SH, int DX, int DY, int DW, int DH, bool AStretch) {
    if (SW <= 0 || SH <= 0 || DW <= 0 || DH <= 0) return;
    pixman_image_t* Image = pixman_image_create_bits(
        PIXMAN_x8r8g8b8, SW, SH, FSource.data() + static_cast<ptrdiff_t>(SY) * FWidth + SX, FWidth * 4);
    if (AStretch && (SW != DW || SH != DH)) {
      pixman_transform_t Scale;
      pixman_transform_init_scale(&Scale, pixman_int_to_fixed(SW) / DW, pixman_int_to_fixed(SH) / DH);
      pixman_image_set_transform(Image, &Scale);
      pixman_image_set_filter(Image, PIXMAN_FILTER_NEAREST, nullptr, 0);
      pixman_image_set_repeat(Image, PIXMAN_REPEAT_PAD);
    } else {
      pixman_image_set_repeat(Image, PIXMAN_REPEAT_NORMAL);
    }
    FPieces.push_back({Image, DX, DY, DW, DH});
  }

  int FWidth, FHeight;
  std::vector<uint32_t> FSource, FTarget;
  pixman_image_t* FTargetImage = nullptr;
  std::vector<TPiece> FPieces;
};

}  // namespace

int main() {
  vantrel::display::HeadlessSession Session(1700, 1100);
  TApplicationInstance App;
  auto Form = CreateOwned<TForm>(nullptr);
  Form->SetBorderStyle(bsNone);
  Form->SetBounds(0, 0, PanelW + 20, PanelH + 20);
  auto* Skin = Create<TspSkinData>(Form.get());
  const auto Exe = std::filesystem::read_symlink("/proc/self/exe").parent_path();
  Skin->LoadFromFile((Exe / "skin-laconic" / "skin.ini").string());
  auto* Panel = Create<TspSkinPanel>(Form.get());
  Panel->SetParent(Form.get());
  Panel->SetSkinData(Skin);
  Panel->SetBounds(0, 0, PanelW, PanelH);
  Form->Show();
  Session.PumpUntilIdle();
  const auto* D = Panel->FIndex == -1 ? nullptr
                                      : dynamic_cast<TspDataSkinCustomControl*>(Skin->CtrlList.Items(Panel->FIndex));
  TBitmap* Picture = D ? SkinActivePicture(Skin, D->PictureIndex) : nullptr;
  if (!D || !Picture) {
    std::fprintf(stderr, "skinpaint: the default skin has no panel picture\n");
    return 1;
  }
  const double Direct = MedianMs([&] { Panel->Repaint(); });
  Panel->SetForcebackGround(false);  // the full nine-piece image, then one blit
  const double Composed = MedianMs([&] { Panel->Repaint(); });
  TPixmanNinePieces Reference(*Picture, *D);
  const double ReferenceMs = MedianMs([&] { Reference.Compose(); });
  std::printf("direct    %.3f ms\n", Direct);
  std::printf("composed  %.3f ms\n", Composed);
  std::printf("reference %.3f ms\n", ReferenceMs);
  std::printf("ratio %.3f\n", Composed / ReferenceMs);
  return 0;
}
