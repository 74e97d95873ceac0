#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "skin/core/bitmaps/spEffBmp_EffectKinds.h"
#include "skin/core/bitmaps/spEffBmp_Effects.h"
#include "tests/support/SkinEffectsBitmaps.h"

using namespace skin_effects_test;

namespace {

constexpr double MorphNaN = std::numeric_limits<double>::quiet_NaN();

using TMorph = void (TspEffectBmp::*)(const TspEffectBmp*, Double);

struct Kind {
  const char* Name;
  TMorph Method;
};

const Kind AllKinds[] = {{"Morph", &TspEffectBmp::Morph},
                         {"MorphGrad", &TspEffectBmp::MorphGrad},
                         {"MorphHGrad", &TspEffectBmp::MorphHGrad},
                         {"MorphVGrad", &TspEffectBmp::MorphVGrad},
                         {"MorphLeftGrad", &TspEffectBmp::MorphLeftGrad},
                         {"MorphRightGrad", &TspEffectBmp::MorphRightGrad},
                         {"MorphLeftSlide", &TspEffectBmp::MorphLeftSlide},
                         {"MorphRightSlide", &TspEffectBmp::MorphRightSlide},
                         {"MorphPush", &TspEffectBmp::MorphPush}};

// Self: column x is grey 10 + x; BMP: column x is grey 100 + x (rows alike).
TOwned<TspEffectBmp> SelfImage(Integer W, Integer H) {
  return MakeBmp(W, H, [](Integer x, Integer) { return Grey(10 + x); });
}
TOwned<TspEffectBmp> TargetImage(Integer W, Integer H) {
  return MakeBmp(W, H, [](Integer x, Integer) { return Grey(100 + x); });
}

Image RunMorph(TMorph Method, Integer W, Integer H, double Kf) {
  auto Self = SelfImage(W, H);
  auto Target = TargetImage(W, H);
  ((*Self).*Method)(Target.get(), Kf);
  return Pixels(*Self);
}

// Black toward grey 200, one row: the first channel of each pixel.
std::vector<Cardinal> GradientRow(TMorph Method, Integer W, double Kf) {
  auto Self = Solid(W, 1, 0);
  auto Target = Solid(W, 1, Grey(200));
  ((*Self).*Method)(Target.get(), Kf);
  std::vector<Cardinal> Out;
  for (Cardinal p : Row(*Self, 0)) Out.push_back(p & 0xFF);
  return Out;
}

std::vector<Cardinal> Greys(std::initializer_list<Cardinal> Values) {
  std::vector<Cardinal> Out;
  for (Cardinal v : Values) Out.push_back(Grey(v));
  return Out;
}

}  // namespace

TEST(Morph, MixesChannelsRoundingHalvesToEven) {
  auto Self = MakeBmp(2, 1, [](Integer x, Integer) { return x == 0 ? 0x000001u : 0x0000FFu; });
  auto Target = MakeBmp(2, 1, [](Integer x, Integer) { return x == 0 ? 0xFF0002u : 0x000000u; });
  Self->Morph(Target.get(), 0.5);
  // 0 and 255 give 127.5 -> 128; 1 and 2 give 1.5 -> 2; 255 and 0 give 128 too.
  EXPECT_EQ(Self->GetPixelRGB(0, 0), 0x800002u);
  EXPECT_EQ(Self->GetPixelRGB(1, 0), 0x000080u);

  auto A = Solid(1, 1, Grey(10));
  auto B = Solid(1, 1, Grey(20));
  A->Morph(B.get(), 0.25);  // 12.5 -> 12
  EXPECT_EQ(A->GetPixelRGB(0, 0), Grey(12));
}

TEST(Morph, EveryKindLimitsTheFactorToZeroToOne) {
  // Below 0 and MorphNaN act as 0, above 1 as 1 (before the limit, a gradient with a negative
  // factor started outside the bitmap). Sizes include single rows and columns.
  const std::pair<Integer, Integer> Sizes[] = {{10, 3}, {3, 10}, {1, 1}, {1, 5}, {5, 1}, {2, 2}};
  for (const Kind& k : AllKinds) {
    for (auto [w, h] : Sizes) {
      SCOPED_TRACE(std::string(k.Name) + " " + std::to_string(w) + "x" + std::to_string(h));
      const Image AtZero = RunMorph(k.Method, w, h, 0);
      const Image AtOne = RunMorph(k.Method, w, h, 1);
      EXPECT_EQ(RunMorph(k.Method, w, h, -1), AtZero);
      EXPECT_EQ(RunMorph(k.Method, w, h, MorphNaN), AtZero);
      EXPECT_EQ(RunMorph(k.Method, w, h, -std::numeric_limits<double>::infinity()), AtZero);
      EXPECT_EQ(RunMorph(k.Method, w, h, 2), AtOne);
    }
  }
}

TEST(Morph, FactorOneGivesTheTargetExceptForTheSlides) {
  for (const Kind& k : AllKinds) {
    SCOPED_TRACE(k.Name);
    // The side gradients are checked in GradientsAtFactorZeroHalfAndOne.
    if (k.Method == &TspEffectBmp::MorphLeftGrad || k.Method == &TspEffectBmp::MorphRightGrad)
      continue;
    const Image Result = RunMorph(k.Method, 7, 5, 1);
    const Image Target = Pixels(*TargetImage(7, 5));
    if (k.Method == &TspEffectBmp::MorphLeftSlide) {
      // All but the last column, which stays this image's.
      for (const auto& r : Result) EXPECT_EQ(r, Greys({101, 102, 103, 104, 105, 106, 16}));
    } else if (k.Method == &TspEffectBmp::MorphRightSlide) {
      for (const auto& r : Result) EXPECT_EQ(r, Greys({10, 100, 101, 102, 103, 104, 105}));
    } else {
      EXPECT_EQ(Result, Target);
    }
  }
}

TEST(Morph, TargetOfAnotherSizeChangesNothing) {
  for (const Kind& k : AllKinds) {
    SCOPED_TRACE(k.Name);
    auto Self = SelfImage(4, 4);
    const Image Before = Pixels(*Self);
    auto Wider = TargetImage(5, 4);
    auto Taller = TargetImage(4, 5);
    ((*Self).*k.Method)(Wider.get(), 0.5);
    ((*Self).*k.Method)(Taller.get(), 0.5);
    ((*Self).*k.Method)(nullptr, 0.5);
    EXPECT_EQ(Pixels(*Self), Before);
  }
}

TEST(Morph, GradientsAtFactorZeroHalfAndOne) {
  const struct {
    const char* Name;
    TMorph Method;
    Integer W;
    double Kf;
    std::vector<Cardinal> Expected;
  } Cases[] = {
      // Centre column the target's, fading back by 1/4 per column toward both edges.
      {"HGrad 0", &TspEffectBmp::MorphHGrad, 9, 0, {0, 50, 100, 150, 200, 150, 100, 50, 0}},
      // k = rnd(4.5) = 4: columns 2..6 the target's, g = 2, steps of 1/2.
      {"HGrad 0.5", &TspEffectBmp::MorphHGrad, 9, 0.5, {0, 100, 200, 200, 200, 200, 200, 100, 0}},
      // Only column 0 changes.
      {"LeftGrad 0", &TspEffectBmp::MorphLeftGrad, 6, 0, {200, 0, 0, 0, 0, 0}},
      {"LeftGrad 0.5", &TspEffectBmp::MorphLeftGrad, 8, 0.5, {200, 150, 100, 50, 0, 0, 0, 0}},
      {"RightGrad 0", &TspEffectBmp::MorphRightGrad, 6, 0, {0, 0, 0, 0, 0, 200}},
      {"RightGrad 0.5", &TspEffectBmp::MorphRightGrad, 8, 0.5, {0, 0, 0, 0, 50, 100, 150, 200}},
      // At factor 1 the side gradients still fade: at most W - 1 steps from the edge.
      {"LeftGrad 1", &TspEffectBmp::MorphLeftGrad, 6, 1, {200, 160, 120, 80, 40, 0}},
      {"RightGrad 1", &TspEffectBmp::MorphRightGrad, 6, 1, {33, 67, 100, 133, 167, 200}},
  };
  for (const auto& c : Cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(GradientRow(c.Method, c.W, c.Kf), c.Expected);
  }
}

TEST(Morph, VerticalGradientRunsOnRowsAndGradPicksTheLongerSide) {
  // 3 x 9: taller than wide, so MorphGrad fades rows like MorphVGrad.
  for (TMorph m : {&TspEffectBmp::MorphVGrad, &TspEffectBmp::MorphGrad}) {
    auto Self = Solid(3, 9, 0);
    auto Target = Solid(3, 9, Grey(200));
    ((*Self).*m)(Target.get(), 0);
    // g = (9 - 1) div 2 = 4: steps of 1/4 from row 4.
    EXPECT_EQ(Column(*Self, 1), Greys({0, 50, 100, 150, 200, 150, 100, 50, 0}));
    EXPECT_EQ(Row(*Self, 2), Greys({100, 100, 100}));
  }
  // 9 x 3 is not taller than wide: columns fade.
  auto Self = Solid(9, 3, 0);
  auto Target = Solid(9, 3, Grey(200));
  Self->MorphGrad(Target.get(), 0);
  EXPECT_EQ(Row(*Self, 1), Greys({0, 50, 100, 150, 200, 150, 100, 50, 0}));
}

TEST(Morph, SlidesAndPushMoveColumns) {
  const struct {
    const char* Name;
    TMorph Method;
    double Kf;
    std::vector<Cardinal> Expected;
  } Cases[] = {
      // b = 3: the target's last three columns come in from the left ...
      {"LeftSlide 0.5", &TspEffectBmp::MorphLeftSlide, 0.5, Greys({103, 104, 105, 13, 14, 15})},
      // ... or its first three from the right.
      {"RightSlide 0.5", &TspEffectBmp::MorphRightSlide, 0.5, Greys({10, 11, 12, 100, 101, 102})},
      // At least one column moves.
      {"LeftSlide 0", &TspEffectBmp::MorphLeftSlide, 0, Greys({105, 11, 12, 13, 14, 15})},
      // The old image one column to the right, the target's last column in column 0.
      {"Push 0", &TspEffectBmp::MorphPush, 0, Greys({105, 10, 11, 12, 13, 14})},
      // b = 3: the old image moves right by 4, the target's columns 2..5 fill 0..3.
      {"Push 0.5", &TspEffectBmp::MorphPush, 0.5, Greys({102, 103, 104, 105, 10, 11})},
  };
  for (const auto& c : Cases) {
    SCOPED_TRACE(c.Name);
    const Image Result = RunMorph(c.Method, 6, 2, c.Kf);
    EXPECT_EQ(Result[0], c.Expected);
    EXPECT_EQ(Result[1], c.Expected);
  }
}

TEST(Morph, PushWithItselfReadsTheRowAsItWas) {
  auto Self = SelfImage(6, 1);
  Self->MorphPush(Self.get(), 0);
  EXPECT_EQ(Row(*Self, 0), Greys({15, 10, 11, 12, 13, 14}));
}

TEST(MorphRect, MixesOnlyTheRectangleWithTheTargetsArea) {
  auto Self = Solid(4, 3, 0);
  auto Target = MakeBmp(
      3, 3, [](Integer x, Integer y) { return Grey(static_cast<Cardinal>(100 + 10 * x + y)); });
  // Columns 1..2 and rows 1..2 (right and bottom excluded), from the target's (1, 0).
  Self->MorphRect(Target.get(), 0.5, Rect(1, 1, 3, 3), 1, 0);
  // 0.5 * 110 = 55; 0.5 * 120 = 60; 0.5 * 111 = 55.5 -> 56; 0.5 * 121 = 60.5 -> 60.
  const Image Expected = {{0, 0, 0, 0}, {0, Grey(55), Grey(60), 0}, {0, Grey(56), Grey(60), 0}};
  EXPECT_EQ(Pixels(*Self), Expected);

  // Factor limited; areas outside either bitmap are skipped, not written.
  auto A = Solid(4, 3, 0);
  A->MorphRect(Target.get(), 7, Rect(-1, -1, 9, 9), 0, 0);
  EXPECT_EQ(Row(*A, 0), Greys({111, 121, 0, 0}));
  EXPECT_EQ(Row(*A, 1), Greys({112, 122, 0, 0}));
  EXPECT_EQ(Row(*A, 2), Greys({0, 0, 0, 0}));
  auto B = Solid(2, 2, Grey(9));
  B->MorphRect(Target.get(), MorphNaN, Rect(0, 0, 2, 2), 2, 2);
  EXPECT_EQ(Pixels(*B), Pixels(*Solid(2, 2, Grey(9))));
}

TEST(Morph, EachKindRunsItsMethod) {
  const struct {
    TMorphKind Kind;
    TMorph Method;
  } Cases[] = {{mkDefault, &TspEffectBmp::Morph},
               {mkGradient, &TspEffectBmp::MorphGrad},
               {mkLeftGradient, &TspEffectBmp::MorphLeftGrad},
               {mkRightGradient, &TspEffectBmp::MorphRightGrad},
               {mkLeftSlide, &TspEffectBmp::MorphLeftSlide},
               {mkRightSlide, &TspEffectBmp::MorphRightSlide},
               {mkPush, &TspEffectBmp::MorphPush}};
  for (const auto& c : Cases) {
    SCOPED_TRACE(c.Kind);
    auto Self = SelfImage(9, 4);
    auto Target = TargetImage(9, 4);
    vantrel::skin::MorphByKind(Self.get(), Target.get(), c.Kind, 0.4);
    EXPECT_EQ(Pixels(*Self), RunMorph(c.Method, 9, 4, 0.4));
  }
}
