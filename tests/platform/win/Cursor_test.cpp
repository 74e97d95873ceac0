#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/display/HeadlessSession.h"
#include "platform/win/Cursor.h"
#include "platform/win/GdiInternal.h"
#include "platform/win/Input.h"

using vantrel::display::HeadlessSession;
using vantrel::win::IconOf;

namespace {

void Put16(std::vector<uint8_t>& B, uint16_t V) {
  B.push_back(V & 0xFF);
  B.push_back(V >> 8);
}
void Put32(std::vector<uint8_t>& B, uint32_t V) {
  for (int I = 0; I < 4; ++I) B.push_back((V >> (8 * I)) & 0xFF);
}

// A .cur file with one W x H image of Bits per pixel. Colour: one value per pixel
// (0xAARRGGBB for 32 bpp, a palette index for 1 bpp, top row first); Mask: 1 =
// transparent.
std::vector<uint8_t> CurFile(int W, int H, int Bits, POINT Hot, const std::vector<uint32_t>& Color,
                             const std::vector<int>& Mask) {
  std::vector<uint8_t> Img;
  Put32(Img, 40);
  Put32(Img, W);
  Put32(Img, H * 2);
  Put16(Img, 1);
  Put16(Img, static_cast<uint16_t>(Bits));
  for (int I = 0; I < 6; ++I) Put32(Img, 0);
  if (Bits == 1) Put32(Img, 0x000000), Put32(Img, 0xFFFFFF);
  const size_t XorStride = ((static_cast<size_t>(W) * Bits + 31) / 32) * 4;
  const size_t AndStride = ((static_cast<size_t>(W) + 31) / 32) * 4;
  for (int Y = H - 1; Y >= 0; --Y) {
    std::vector<uint8_t> Row(XorStride, 0);
    for (int X = 0; X < W; ++X) {
      const uint32_t C = Color[Y * W + X];
      if (Bits == 32)
        for (int K = 0; K < 4; ++K) Row[X * 4 + K] = (C >> (8 * K)) & 0xFF;
      else if (C)
        Row[X / 8] |= 0x80 >> (X % 8);
    }
    Img.insert(Img.end(), Row.begin(), Row.end());
  }
  for (int Y = H - 1; Y >= 0; --Y) {
    std::vector<uint8_t> Row(AndStride, 0);
    for (int X = 0; X < W; ++X)
      if (Mask[Y * W + X]) Row[X / 8] |= 0x80 >> (X % 8);
    Img.insert(Img.end(), Row.begin(), Row.end());
  }
  std::vector<uint8_t> F;
  Put16(F, 0);
  Put16(F, 2);
  Put16(F, 1);
  F.push_back(static_cast<uint8_t>(W));
  F.push_back(static_cast<uint8_t>(H));
  F.push_back(0);
  F.push_back(0);
  Put16(F, static_cast<uint16_t>(Hot.X));
  Put16(F, static_cast<uint16_t>(Hot.Y));
  Put32(F, static_cast<uint32_t>(Img.size()));
  Put32(F, 22);
  F.insert(F.end(), Img.begin(), Img.end());
  return F;
}

std::string WriteTemp(const std::vector<uint8_t>& Data, const char* Name) {
  const std::string Path = testing::TempDir() + Name;
  FILE* F = std::fopen(Path.c_str(), "wb");
  std::fwrite(Data.data(), 1, Data.size(), F);
  std::fclose(F);
  return Path;
}

POINT HotspotOf(HCURSOR C) {
  ICONINFO Info{};
  if (!GetIconInfo(C, &Info)) return {-1, -1};
  DeleteObject(Info.hbmMask);
  DeleteObject(Info.hbmColor);
  EXPECT_FALSE(Info.fIcon);
  return {static_cast<int>(Info.xHotspot), static_cast<int>(Info.yHotspot)};
}

}  // namespace

TEST(Cursor, StandardShapesAreSharedCursorsWithTheirHotSpots) {
  HeadlessSession S;
  struct Case {
    LPCSTR Id;
    POINT Hot;
  } Cases[] = {{IDC_ARROW, {0, 0}}, {IDC_IBEAM, {16, 16}}, {IDC_SIZEWE, {16, 16}}, {IDC_HAND, {8, 0}},
               {IDC_WAIT, {16, 16}}, {IDC_SIZEALL, {16, 16}}, {IDC_NO, {16, 16}}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(reinterpret_cast<uintptr_t>(C.Id));
    HCURSOR H = LoadCursor(nullptr, C.Id);
    ASSERT_NE(H, nullptr);
    EXPECT_EQ(LoadCursor(nullptr, C.Id), H);
    EXPECT_EQ(HotspotOf(H), C.Hot);
    EXPECT_TRUE(DestroyCursor(H));  // shared: it stays
    EXPECT_EQ(HotspotOf(H), C.Hot);
    EXPECT_EQ(vantrel::win::StandardCursorId(H), reinterpret_cast<uintptr_t>(C.Id));
    // Each shape shows something and leaves something transparent.
    auto I = IconOf(H);
    int Shown = 0;
    for (int Y = 0; Y < I->Height(); ++Y)
      for (int X = 0; X < I->Width(); ++X) Shown += !I->MaskAt(X, Y);
    EXPECT_GT(Shown, 10);
    EXPECT_LT(Shown, 32 * 32);
  }
  EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(1)), nullptr);
  EXPECT_EQ(LoadCursor(nullptr, "arrow"), nullptr);
}

TEST(Cursor, CursorFilesLoadWithTheirPixelsMaskAndHotSpot) {
  HeadlessSession S;
  // 32 bpp with alpha: the alpha decides what shows.
  std::vector<uint32_t> Color(16, 0x80336699);
  Color[0] = 0xFFFF0000;
  Color[1] = 0x00000000;
  const std::string True32 = WriteTemp(CurFile(4, 4, 32, {1, 2}, Color, std::vector<int>(16, 0)), "true.cur");
  HCURSOR A = LoadCursorFromFile(True32.c_str());
  ASSERT_NE(A, nullptr);
  EXPECT_EQ(HotspotOf(A), Point(1, 2));
  auto IA = IconOf(A);
  ASSERT_EQ(IA->Width(), 4);
  EXPECT_EQ(IA->FColor.Row(0)[0], 0xFFFF0000u);
  EXPECT_EQ(IA->FColor.Row(3)[3], 0x80336699u);
  EXPECT_FALSE(IA->MaskAt(0, 0));
  EXPECT_TRUE(IA->MaskAt(1, 0));

  // 1 bpp: the AND mask decides; shown pixels are opaque palette colours.
  std::vector<uint32_t> Mono(64, 0);
  std::vector<int> Mask(64, 0);
  for (int I = 0; I < 64; ++I) {
    Mono[I] = (I % 8) < 4;
    Mask[I] = I >= 32;  // lower half transparent
  }
  const std::string Mono1 = WriteTemp(CurFile(8, 8, 1, {7, 0}, Mono, Mask), "mono.cur");
  HCURSOR B = LoadCursorFromFile(Mono1.c_str());
  ASSERT_NE(B, nullptr);
  EXPECT_EQ(HotspotOf(B), Point(7, 0));
  auto IB = IconOf(B);
  EXPECT_EQ(IB->FColor.Row(0)[0], 0xFFFFFFFFu);
  EXPECT_EQ(IB->FColor.Row(0)[5], 0xFF000000u);
  EXPECT_TRUE(IB->MaskAt(0, 6));
  EXPECT_EQ(IB->FColor.Row(6)[0] >> 24, 0u);
  EXPECT_TRUE(DestroyCursor(B));
  EXPECT_FALSE(DestroyCursor(B));

  // What cannot be read gives no cursor.
  std::vector<uint8_t> Truncated = CurFile(4, 4, 32, {0, 0}, Color, std::vector<int>(16, 0));
  for (int I = 0; I < 10; ++I) Truncated.pop_back();
  const std::vector<uint8_t> Animated = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'C', 'O', 'N'};
  for (auto [Name, Data] : {std::pair{"short.cur", Truncated}, std::pair{"anim.ani", Animated}}) {
    SCOPED_TRACE(Name);
    EXPECT_EQ(LoadCursorFromFile(WriteTemp(Data, Name).c_str()), nullptr);
  }
  EXPECT_EQ(LoadCursorFromFile((testing::TempDir() + "missing.cur").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), 2u);
  // A folder is refused, not read (reading one fails in the stream buffer).
  EXPECT_EQ(LoadCursorFromFile(testing::TempDir().c_str()), nullptr);
  EXPECT_EQ(GetLastError(), 5u);
}

TEST(Cursor, SetCursorReturnsThePreviousShapeAndTellsTheDisplay) {
  HeadlessSession S;
  HCURSOR Arrow = LoadCursor(nullptr, IDC_ARROW), Beam = LoadCursor(nullptr, IDC_IBEAM);
  EXPECT_EQ(SetCursor(Arrow), nullptr);
  EXPECT_EQ(SetCursor(Beam), Arrow);
  EXPECT_EQ(GetCursor(), Beam);
  EXPECT_EQ(S.Display().CursorShape, Beam);
  SetCursor(nullptr);
  EXPECT_EQ(S.Display().CursorShape, nullptr);
}
