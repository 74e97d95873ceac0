#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "platform/win/SysColors.h"
#include "skin/core/bitmaps/spEffBmp_EffectKinds.h"
#include "skin/core/bitmaps/spEffBmp_Effects.h"
#include "tests/support/SkinEffectsBitmaps.h"

using namespace skin_effects_test;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Distinct pixels: red = 10x, green = 10y, blue = 1.
Cardinal FilterCoded(Integer x, Integer y) {
  return (Cardinal(10 * x) << 16) | (Cardinal(10 * y) << 8) | 1;
}

// Hands out the scripted values in turn and records every range asked for.
struct ScriptedRandom {
  explicit ScriptedRandom(std::vector<Integer> V) : Values(std::move(V)) {}
  std::vector<Integer> Values;
  std::vector<Integer> Ranges;
  size_t Next = 0;
  vantrel::skin::TRandomFunc Func() {
    return [this](Integer Range) {
      Ranges.push_back(Range);
      return Values[Next++ % Values.size()];
    };
  }
};

// A one-row bitmap of the given blue values (green and red 0).
TOwned<TspEffectBmp> BlueRow(std::vector<Cardinal> Blues) {
  return MakeBmp(static_cast<Integer>(Blues.size()), 1,
                 [Blues](Integer x, Integer) { return Blues[x]; });
}

// clBtnFace's current value as 0xRRGGBB.
Cardinal BtnFaceRGB() {
  const auto C = static_cast<Cardinal>(ColorToRGB(clBtnFace));
  return ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
}

}  // namespace

TEST(EffectFilters, BrightnessAndDarknessMixTowardWhiteAndBlack) {
  const struct {
    const char* Name;
    void (TspEffectBmp::*Filter)(Double);
    double Kf;
    Cardinal In, Out;
  } Cases[] = {
      {"brightness 0.5 of 0 is 127.5 -> 128", &TspEffectBmp::ChangeBrightness, 0.5, 0x000000,
       Grey(128)},
      {"brightness 0.5 keeps 255", &TspEffectBmp::ChangeBrightness, 0.5, 0xFF0000, 0xFF8080},
      {"brightness above 1 is white", &TspEffectBmp::ChangeBrightness, 3, 0x123456, 0xFFFFFF},
      {"brightness NaN changes nothing", &TspEffectBmp::ChangeBrightness, NaN, 0x123456, 0x123456},
      {"darkness 1 is black", &TspEffectBmp::ChangeDarkness, 1, 0xFFFFFF, 0x000000},
      {"darkness 0.3 of 100 is 70", &TspEffectBmp::ChangeDarkness, 0.3, Grey(100), Grey(70)},
      {"darkness 0.5 of 5 is 2.5 -> 2", &TspEffectBmp::ChangeDarkness, 0.5, Grey(5), Grey(2)},
      {"darkness below 0 changes nothing", &TspEffectBmp::ChangeDarkness, -2, 0x123456, 0x123456},
  };
  for (const auto& c : Cases) {
    SCOPED_TRACE(c.Name);
    auto B = Solid(3, 2, c.In);
    ((*B).*c.Filter)(c.Kf);
    EXPECT_EQ(Pixels(*B), Pixels(*Solid(3, 2, c.Out)));
  }
}

TEST(EffectFilters, GrayScaleWeighsRedGreenBlueInExtendedPrecision) {
  const struct {
    Cardinal In, Out;
  } Cases[] = {
      {0xFF0000, Grey(76)},  // 76.5 exactly, the tie to the even 76
      {0x00FF00, Grey(150)}, {0x0000FF, Grey(28)}, {0xFFFFFF, Grey(255)}, {Grey(100), Grey(100)},
  };
  for (const auto& c : Cases) {
    SCOPED_TRACE(c.In);
    auto B = Solid(2, 1, c.In);
    B->GrayScale();
    EXPECT_EQ(B->GetPixelRGB(1, 0), c.Out);
  }
  auto B = Solid(1, 1, 0x00FF00);
  B->Invert();
  EXPECT_EQ(B->GetPixelRGB(0, 0), 0xFF00FFu);
}

TEST(EffectFilters, SplitBlurReadsTheImageAsItIsBeingChanged) {
  // One column of three rows: blue 0, 100, 200. Row 0 averages rows 0 and 1; row 1 rows 0
  // (already 50) and 2; row 2 has row 1 above and 3 - 2 = 1 below.
  auto B = MakeBmp(1, 3, [](Integer, Integer y) { return Cardinal(100 * y); });
  B->SplitBlur(1);
  EXPECT_EQ(Column(*B, 0), (std::vector<Cardinal>{50, 125, 125}));

  // Wider: columns follow the same rules (3 wide: column 2 has 3 - 2 = 1 on its right).
  auto W = BlueRow({0, 40, 200});
  W->SplitBlur(1);
  // Height 1: both neighbour rows are row 0. x=0: (0 + 40) / 2 = 20; x=1: (20 + 200) / 2 =
  // 110; x=2: columns 1 and 1 -> 110.
  EXPECT_EQ(Row(*W, 0), (std::vector<Cardinal>{20, 110, 110}));

  auto Same = MakeBmp(3, 3, FilterCoded);
  const Image Before = Pixels(*Same);
  Same->SplitBlur(0);
  EXPECT_EQ(Pixels(*Same), Before);
}

TEST(EffectFilters, NeighbourReadsStayInsideForLargeOrNegativeAmounts) {
  // The lower row Height - y lies past the bitmap on row 0 once the amount reaches the
  // height; such reads are kept to the last row (and column).
  for (Integer Amount : {2, 3, 50, -1, -7, std::numeric_limits<Integer>::min()}) {
    SCOPED_TRACE(Amount);
    auto B = MakeBmp(2, 2, FilterCoded);
    B->SplitBlur(Amount);
    auto M = Solid(2, 2, 0);
    auto C = MakeBmp(2, 2, FilterCoded);
    C->MaskBlur(M.get(), Amount);
    C->MaskAntialiasing(M.get(), Amount);
  }
  // Amount 2 on 2 x 2: every pixel reads (x, y) and the last row and column.
  auto B = BlueRow({10, 30});
  B->SplitBlur(2);
  EXPECT_EQ(Row(*B, 0), (std::vector<Cardinal>{20, 30}));
}

TEST(EffectFilters, MosaicTakesTheTopLeftPixelOfEachBlock) {
  auto B = MakeBmp(3, 3, FilterCoded);
  B->Mosaic(2);
  const Image Expected = {{FilterCoded(0, 0), FilterCoded(0, 0), FilterCoded(2, 0)},
                          {FilterCoded(0, 0), FilterCoded(0, 0), FilterCoded(2, 0)},
                          {FilterCoded(0, 2), FilterCoded(0, 2), FilterCoded(2, 2)}};
  EXPECT_EQ(Pixels(*B), Expected);

  for (Integer Size : {1, 0, -4}) {
    auto Same = MakeBmp(3, 3, FilterCoded);
    Same->Mosaic(Size);
    EXPECT_EQ(Pixels(*Same), Pixels(*MakeBmp(3, 3, FilterCoded)));
  }
}

TEST(EffectFilters, MonoNoiseAddsOneValuePerPixelClamped) {
  auto B = MakeBmp(3, 1, [](Integer x, Integer) {
    return x == 0 ? Grey(100) : x == 1 ? Grey(10) : 0xF0F0F0u;
  });
  ScriptedRandom R({30, 0, 49});
  B->AddMonoNoise(50, R.Func());
  EXPECT_EQ(R.Ranges, (std::vector<Integer>{50, 50, 50}));
  // v = Random(50) - 25: +5, -25 (10 clamps to 0), +24 (240 clamps to 255).
  EXPECT_EQ(Row(*B, 0), (std::vector<Cardinal>{Grey(105), Grey(0), Grey(255)}));
}

TEST(EffectFilters, ColorNoiseDrawsRedGreenBlueInThatOrder) {
  auto B = Solid(2, 1, Grey(100));
  ScriptedRandom R({10, 20, 30, 0, 0, 0});
  B->AddColorNoise(20, R.Func());
  EXPECT_EQ(R.Ranges.size(), 6u);
  // Amount div 2 = 10: red +0, green +10, blue +20; then all -10.
  EXPECT_EQ(B->GetPixelRGB(0, 0), 0x646E78u);
  EXPECT_EQ(B->GetPixelRGB(1, 0), Grey(90));
}

TEST(EffectFilters, ProcessRandomStaysInRange) {
  EXPECT_EQ(vantrel::skin::ProcessRandom(0), 0);
  EXPECT_EQ(vantrel::skin::ProcessRandom(-5), 0);
  EXPECT_EQ(vantrel::skin::ProcessRandom(1), 0);
  for (Integer i = 0; i < 1000; ++i) {
    const Integer v = vantrel::skin::ProcessRandom(7);
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 7);
  }
  // The default generator runs through the same path as an injected one.
  auto B = Solid(4, 4, Grey(128));
  B->AddMonoNoise(1);
  EXPECT_EQ(Pixels(*B), Pixels(*Solid(4, 4, Grey(128))));
}

TEST(EffectFilters, RotationsAndFlipFillDstOfTheRightSize) {
  auto B = MakeBmp(3, 2, FilterCoded);
  auto R1 = Solid(2, 3, 0);
  B->Rotate90_1(R1.get());
  EXPECT_EQ(
      Pixels(*R1),
      (Image{{FilterCoded(2, 0), FilterCoded(2, 1)}, {FilterCoded(1, 0), FilterCoded(1, 1)}, {FilterCoded(0, 0), FilterCoded(0, 1)}}));
  auto R2 = Solid(2, 3, 0);
  B->Rotate90_2(R2.get());
  EXPECT_EQ(
      Pixels(*R2),
      (Image{{FilterCoded(0, 1), FilterCoded(0, 0)}, {FilterCoded(1, 1), FilterCoded(1, 0)}, {FilterCoded(2, 1), FilterCoded(2, 0)}}));
  auto F = Solid(3, 2, 0);
  B->FlipVert(F.get());
  EXPECT_EQ(Pixels(*F), (Image{{FilterCoded(0, 1), FilterCoded(1, 1), FilterCoded(2, 1)},
                               {FilterCoded(0, 0), FilterCoded(1, 0), FilterCoded(2, 0)}}));

  // A destination of another size is left alone rather than written past.
  auto Wrong = Solid(3, 2, 0x010203);
  B->Rotate90_1(Wrong.get());
  B->Rotate90_2(Wrong.get());
  auto Small = Solid(2, 2, 0x010203);
  B->FlipVert(Small.get());
  EXPECT_EQ(Pixels(*Wrong), Pixels(*Solid(3, 2, 0x010203)));
  EXPECT_EQ(Pixels(*Small), Pixels(*Solid(2, 2, 0x010203)));
}

TEST(EffectFilters, WaveShiftsRowsBySineAndKeepsInside) {
  // With a huge XDIV the vertical shift is 0; row y moves by rnd(sin(y)): 0, 1, 1, 0, -1.
  auto B = MakeBmp(4, 5, FilterCoded);
  B->Wave(1000000, 1, 1);
  for (Integer y = 0; y < 5; ++y) {
    SCOPED_TRACE(y);
    const Integer Shift[] = {0, 1, 1, 0, -1};
    for (Integer x = 0; x < 4; ++x)
      EXPECT_EQ(B->GetPixelRGB(x, y), FilterCoded(std::clamp(x + Shift[y], 0, 3), y));
  }

  for (auto [xd, yd, ratio] : {std::tuple{3, 4, 0}, std::tuple{0, 4, 5}, std::tuple{3, 0, 5}}) {
    auto Same = MakeBmp(4, 5, FilterCoded);
    Same->Wave(xd, yd, ratio);
    EXPECT_EQ(Pixels(*Same), Pixels(*MakeBmp(4, 5, FilterCoded)));
  }
  // Huge ratios clamp to the edges.
  auto Edge = MakeBmp(4, 5, FilterCoded);
  Edge->Wave(1, 1, std::numeric_limits<Integer>::max());
}

TEST(EffectFilters, MaskBlurAndAntialiasingSkipWhiteMaskPixels) {
  // One row: white mask over column 0 only. Height 1 makes both neighbour rows row 0.
  auto Mask = MakeBmp(5, 1, [](Integer x, Integer) { return x == 0 ? 0xFFFFFFu : 0xFFFFFEu; });
  {
    SCOPED_TRACE("antialiasing: only the pixel next to the white area");
    auto B = BlueRow({100, 0, 20, 0, 0});
    B->MaskAntialiasing(Mask.get(), 1);
    EXPECT_EQ(Row(*B, 0), (std::vector<Cardinal>{100, 60, 20, 0, 0}));
  }
  {
    SCOPED_TRACE("blur: every non-white pixel, reading earlier results");
    auto B = BlueRow({100, 0, 20, 0, 0});
    B->MaskBlur(Mask.get(), 1);
    // x=4 has column 3 on its left and 5 - 4 = 1 on its right.
    EXPECT_EQ(Row(*B, 0), (std::vector<Cardinal>{100, 60, 30, 15, 37}));
  }
  {
    SCOPED_TRACE("black mask blurs like SplitBlur; a taller mask is accepted");
    auto Black = Solid(3, 4, 0);
    auto A = MakeBmp(3, 3, FilterCoded);
    auto S = MakeBmp(3, 3, FilterCoded);
    A->MaskBlur(Black.get(), 1);
    S->SplitBlur(1);
    EXPECT_EQ(Pixels(*A), Pixels(*S));
  }
  {
    SCOPED_TRACE("masks of another width or fewer rows, and amount 0, do nothing");
    const Image Before = Pixels(*MakeBmp(3, 3, FilterCoded));
    for (auto [w, h, amount] : {std::tuple{4, 3, 1}, std::tuple{3, 2, 1}, std::tuple{3, 3, 0}}) {
      auto M = Solid(w, h, 0);
      auto B = MakeBmp(3, 3, FilterCoded);
      B->MaskBlur(M.get(), amount);
      B->MaskAntialiasing(M.get(), amount);
      B->MaskFillColor(w == 3 && h == 3 ? nullptr : M.get(), 0x0000FF, 1);
      EXPECT_EQ(Pixels(*B), Before);
    }
  }
}

TEST(EffectFilters, MaskFillColorMixesTheMaskedAreaTowardTheColour) {
  // Mask: white in the left column.
  auto Mask = MakeBmp(2, 1, [](Integer x, Integer) { return x == 0 ? 0xFFFFFFu : 0u; });
  const struct {
    const char* Name;
    TColor C;
    double kf;
    Cardinal Out;
  } Cases[] = {
      {"kf 1 paints exactly C (TColor is BGR)", 0x3020C8, 1, 0xC82030},
      {"kf 0.5", 0x0000C8, 0.5, 0x963232},
      // (1 - 2) * 100 + 2 * 200 = 300 -> 255 and -100 -> 0.
      {"kf 2 goes beyond C, clamped", 0x0000C8, 2, 0xFF0000},
      {"kf NaN gives 0", 0x0000C8, NaN, 0x000000},
      {"a system colour is resolved", clBtnFace, 1, BtnFaceRGB()},
  };
  for (const auto& c : Cases) {
    SCOPED_TRACE(c.Name);
    auto B = Solid(2, 1, Grey(100));
    B->MaskFillColor(Mask.get(), c.C, c.kf);
    EXPECT_EQ(B->GetPixelRGB(0, 0), Grey(100));
    EXPECT_EQ(B->GetPixelRGB(1, 0), c.Out);
  }
}

TEST(EffectFilters, InactiveEffectsRunTheirFilterWithItsArguments) {
  const struct {
    TspInActiveEffect Effect;
    Cardinal Out;
  } Cases[] = {{ieBrightness, Grey(178)},  // 100 + 0.5 * 155 = 177.5 -> 178
               {ieDarkness, Grey(70)},
               {ieGrayScale, Grey(100)},  // and pure red below
               {ieSplitBlur, Grey(100)},
               {ieInvert, Grey(155)}};
  for (const auto& c : Cases) {
    SCOPED_TRACE(c.Effect);
    auto B = Solid(3, 3, Grey(100));
    vantrel::skin::ApplyInActiveEffect(B.get(), c.Effect);
    EXPECT_EQ(Pixels(*B), Pixels(*Solid(3, 3, c.Out)));
  }
  auto Red = Solid(1, 1, 0xFF0000);
  vantrel::skin::ApplyInActiveEffect(Red.get(), ieGrayScale);
  EXPECT_EQ(Red->GetPixelRGB(0, 0), Grey(76));

  // Noise of 50: one value from -25 to 24 per pixel, the same on every channel.
  auto N = Solid(16, 16, Grey(100));
  vantrel::skin::ApplyInActiveEffect(N.get(), ieNoise);
  for (const auto& Line : Pixels(*N))
    for (Cardinal p : Line) {
      const Cardinal v = p & 0xFF;
      EXPECT_EQ(p, Grey(v));
      EXPECT_GE(v, 75u);
      EXPECT_LE(v, 124u);
    }
}
