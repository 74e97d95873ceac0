// The skin builder: the controls picture, the picture list and the descriptor lists.
#include "tools/skingen/SkinGenBuild.h"

#include <filesystem>
#include <stdexcept>

namespace vantrel::skingen {

namespace {

constexpr int kAtlasWidth = 512;
constexpr int kAtlasGap = 2;

}  // namespace

SkinBuilder::SkinBuilder(TspSkinData& AData, SkinLook& ALook) : FData(AData), FLook(ALook) {
  AddPicture("controls.bmp", std::make_unique<Raster>(kAtlasWidth, 0, KeyColour));
}

TRect SkinBuilder::Place(int W, int H) {
  if (W > kAtlasWidth) throw std::logic_error("skingen: image wider than the controls picture");
  // First fit into the shelves opened so far, else a new shelf at the bottom.
  for (Shelf& S : FShelves)
    if (H <= S.Height && S.X + W <= kAtlasWidth) {
      const TRect R{S.X, S.Y, S.X + W, S.Y + H};
      S.X += W + kAtlasGap;
      return R;
    }
  const int Y = FShelves.empty() ? 0 : FShelves.back().Y + FShelves.back().Height + kAtlasGap;
  FShelves.push_back(Shelf{Y, H, W + kAtlasGap});
  Picture(AtlasIndex()).GrowTo(Y + H, KeyColour);
  return TRect{0, Y, W, Y + H};
}

TRect SkinBuilder::Image(std::string_view Owner, std::string_view Key, int W, int H,
                         const Insets& Fixed, const PieceStyle& S) {
  const TRect R = Place(W, H);
  PaintAt(AtlasIndex(), R, Owner, Key, Fixed, S);
  return R;
}

void SkinBuilder::PaintAt(int Index, const TRect& Where, std::string_view Owner,
                          std::string_view Key, const Insets& Fixed, const PieceStyle& S) {
  FLook.Paint(Picture(Index), Where, Fixed, Owner, Key, S);
}

int SkinBuilder::AddPicture(const std::string& Name, std::unique_ptr<Raster> Pixels) {
  FPictures.push_back(ListPicture{Name, std::move(Pixels)});
  return static_cast<int>(FPictures.size()) - 1;
}

TspDataSkinControl* SkinBuilder::AddControl(std::string_view Name, std::string_view Kind) {
  if (!FLook.Holds(Name)) return nullptr;
  TOwned<TspDataSkinControl> D =
      vantrel::skin::CreateSkinControl(FLook.KindOf(Name, Kind), String(Name));
  if (!D) throw std::logic_error("skingen: unknown control kind " + std::string(Kind));
  D->PictureIndex = AtlasIndex();
  D->MaskPictureIndex = -1;
  D->CursorIndex = -1;
  return FData.CtrlList[FData.CtrlList.Add(std::move(D))];
}

TspDataSkinObject* SkinBuilder::AddObject(std::string_view Name, std::string_view Kind) {
  if (!FLook.Holds(Name)) return nullptr;
  TOwned<TspDataSkinObject> D = vantrel::skin::CreateSkinObject(String(Kind), String(Name));
  if (!D) throw std::logic_error("skingen: unknown object kind " + std::string(Kind));
  D->ActivePictureIndex = AtlasIndex();
  D->ActiveMaskPictureIndex = -1;
  D->CursorIndex = -1;
  D->GlowLayerPictureIndex = -1;
  D->GlowLayerMaskPictureIndex = -1;
  return FData.ObjectList[FData.ObjectList.Add(std::move(D))];
}

void SkinBuilder::Finish() {
  for (ListPicture& P : FPictures) {
    FData.FActivePicturesNames->Add(P.Name);
    FData.FActivePictures.Add(P.Pixels->ToBitmap());
  }
  FPictures.clear();
}

void WriteSkinFolder(TspSkinData& Data, const std::string& Folder) {
  namespace fs = std::filesystem;
  // A folder of an earlier run may hold pictures this skin no longer names.
  fs::remove_all(Folder);
  fs::create_directories(Folder);
  Data.StoreToDisk(Folder + "/");
}

}  // namespace vantrel::skingen
