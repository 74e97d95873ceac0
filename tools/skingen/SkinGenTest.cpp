// The test skins "skin-test" and "skin-test-alt": every piece a ring of one flat colour
// (its fixed border) around a fill of another, from the colour table of SkinGenSpec.h, so
// one pixel tells which picture was drawn.
#include <algorithm>
#include <string>

#include "tools/skingen/SkinGenBuild.h"

namespace vantrel::skingen {

namespace {

class FlatTestLook : public SkinLook {
 public:
  explicit FlatTestLook(bool AAlt) : FAlt(AAlt) {}

  const SkinSizes& Sizes() const override { return FAlt ? AltSizes : MainSizes; }
  bool IsTest() const override { return true; }

  Colour Font(std::string_view Owner, std::string_view Key, Colour) const override {
    return TestFontColour(FAlt, Owner, Key);
  }

  std::array<Colour, 10> SystemColours() const override {
    std::array<Colour, 10> C{};
    for (size_t I = 0; I < C.size(); ++I)
      C[I] = Rgb(0xF0 - 4 * static_cast<int>(I), 0x0C, FAlt ? 0xE8 : 0xF0);
    return C;
  }

  bool Holds(std::string_view Name) const override {
    if (!FAlt) return true;
    return std::none_of(AltMissingNames.begin(), AltMissingNames.end(),
                        [Name](const char* M) { return Name == M; });
  }
  std::string KindOf(std::string_view Name, std::string_view Own) const override {
    if (FAlt && Name == AltOtherKind.Name) return AltOtherKind.Kind;
    return std::string(Own);
  }

  void Paint(Raster& T, const TRect& R, const Insets& Fx, std::string_view Owner,
             std::string_view Key, const PieceStyle&) override {
    T.FillRect(R, TestPieceColour(FAlt, Owner, Key, Piece::Ring));
    const bool NoBorder = Fx.L == 0 && Fx.T == 0 && Fx.R == 0 && Fx.B == 0;
    const Insets In = NoBorder ? Insets{TestRing, TestRing, TestRing, TestRing} : Fx;
    T.FillRect(TRect{R.Left + In.L, R.Top + In.T, R.Right - In.R, R.Bottom - In.B},
               TestPieceColour(FAlt, Owner, Key, Piece::Fill));
  }

 private:
  bool FAlt;
};

}  // namespace

void WriteTestSkin(const std::string& Folder, bool Alt) {
  TOwned<TspSkinData> Data = CreateOwned<TspSkinData>(nullptr);
  FlatTestLook Look(Alt);
  SkinBuilder B(*Data, Look);
  Data->SkinName = Alt ? "Test Alt" : "Test";
  Data->SkinAuthor = "Vantrel";
  BuildCompleteSkin(B);
  Data->FCursorsNames->Add(CursorFileName);
  WriteSkinFolder(*Data, Folder);
  WriteCursorFile(Folder + "/" + CursorFileName);
}

}  // namespace vantrel::skingen
