// Loading a skin folder into the skin data store, against reading the same files raw.
// A folder of 60 descriptors and 10 pictures (written by the store itself) is loaded 200
// times; in the same run skin.ini is opened with the ini class and the pictures are loaded
// as bitmaps, 200 times. Prints both times and, last, "ratio <full/raw>".
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/rtl/IniFiles.h"
#include "platform/ui/Graphics.h"
#include "skin/core/data/SkinData.h"

namespace {

constexpr int Rounds = 200;
constexpr int Pictures = 10;
constexpr int Descriptors = 60;

// A skin as a real one is shaped: frame pictures and a picture list of mid-sized images,
// controls and frame objects of many kinds, a few areas.
void WriteSkin(const std::string& Folder) {
  auto S = CreateOwned<TspSkinData>(nullptr);
  S->SkinName = "Bench";
  auto Picture = [](int W, int H, TColor C) {
    auto B = CreateOwned<TBitmap>();
    B->SetPixelFormat(pf24bit);
    B->SetSize(W, H);
    B->Canvas()->Brush()->SetColor(C);
    B->Canvas()->FillRect(Rect(0, 0, W, H));
    return B;
  };
  S->FPicture = Picture(300, 200, 0x203040);
  S->FPictureName = "frame.bmp";
  for (int i = 0; i < Pictures - 1; ++i) {
    S->FActivePictures.Add(Picture(200, 120, 0x10101 * (i + 1)));
    S->FActivePicturesNames->Add("picture" + std::to_string(i) + ".bmp");
  }
  const auto Controls = vantrel::skin::SkinControlKinds();
  const auto Objects = vantrel::skin::SkinObjectKinds();
  for (int i = 0; i < Descriptors; ++i) {
    const std::string Name = "item" + std::to_string(i);
    if (i % 2 == 0)
      S->CtrlList.Add(
          vantrel::skin::CreateSkinControl(Controls[(i / 2) % Controls.size()].Keyword, Name));
    else
      S->ObjectList.Add(
          vantrel::skin::CreateSkinObject(Objects[(i / 2) % Objects.size()].Keyword, Name));
  }
  for (int i = 0; i < 5; ++i)
    S->AddSkinArea("area" + std::to_string(i), Rect(i, i, i + 10, i + 10));
  S->StoreToDisk(Folder);
}

double Seconds(std::chrono::steady_clock::duration D) {
  return std::chrono::duration<double>(D).count();
}

}  // namespace

int main() {
  char Template[] = "/tmp/vantrel-skinload-XXXXXX";
  if (!mkdtemp(Template)) return 1;
  const std::string Folder = std::string(Template) + "/";
  WriteSkin(Folder);
  const std::string Ini = Folder + "skin.ini";

  auto Store = CreateOwned<TspSkinData>(nullptr);
  Store->BuildMode = true;  // no cursors anyway
  std::chrono::steady_clock::duration Full{}, Raw{};
  // Alternate the two sides in small batches so that both see the same machine.
  for (int Batch = 0; Batch < Rounds / 10; ++Batch) {
    auto T0 = std::chrono::steady_clock::now();
    for (int i = 0; i < 10; ++i) Store->LoadFromFile(Ini);
    auto T1 = std::chrono::steady_clock::now();
    for (int i = 0; i < 10; ++i) {
      auto File = CreateOwned<TIniFile>(Ini);
      auto B = CreateOwned<TBitmap>();
      B->LoadFromFile(Folder + "frame.bmp");
      for (int p = 0; p < Pictures - 1; ++p) {
        auto P = CreateOwned<TBitmap>();
        P->LoadFromFile(Folder + "picture" + std::to_string(p) + ".bmp");
      }
    }
    auto T2 = std::chrono::steady_clock::now();
    Full += T1 - T0;
    Raw += T2 - T1;
  }
  if (Store->Empty || Store->CtrlList.Count() + Store->ObjectList.Count() != Descriptors) {
    std::fprintf(stderr, "the skin did not load\n");
    return 1;
  }
  std::filesystem::remove_all(Template);

  std::printf("skin folder: %d descriptors, %d pictures, %d loads\n", Descriptors, Pictures,
              Rounds);
  std::printf("full load (TspSkinData::LoadFromFile): %.3f s\n", Seconds(Full));
  std::printf("raw read (ini class + bitmap loads):   %.3f s\n", Seconds(Raw));
  std::printf("ratio %.3f\n", Seconds(Full) / Seconds(Raw));
  return 0;
}
