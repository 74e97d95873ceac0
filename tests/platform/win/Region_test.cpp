// Regions: combination modes as rectangle lists, RGNDATA in and out, queries, and the
// handle table's rules for deleting them.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "platform/win/GdiInternal.h"

namespace {

std::vector<RECT> RectsOf(HRGN R) {
  DWORD Size = GetRegionData(R, 0, nullptr);
  std::vector<uint8_t> Buf(Size);
  auto* D = reinterpret_cast<RGNDATA*>(Buf.data());
  EXPECT_EQ(GetRegionData(R, Size, D), Size);
  std::vector<RECT> Out(D->rdh.nCount);
  std::memcpy(Out.data(), D->Buffer, Out.size() * sizeof(RECT));
  return Out;
}

}  // namespace

TEST(Region, CombineModesGiveBandedRectangleLists) {
  struct Case {
    const char* Name;
    int Mode;
    int Result;
    std::vector<RECT> Expected;
  };
  const Case Cases[] = {
      {"AND", RGN_AND, SIMPLEREGION, {{2, 2, 4, 4}}},
      {"OR", RGN_OR, COMPLEXREGION, {{0, 0, 4, 2}, {0, 2, 6, 4}, {2, 4, 6, 6}}},
      {"XOR", RGN_XOR, COMPLEXREGION, {{0, 0, 4, 2}, {0, 2, 2, 4}, {4, 2, 6, 4}, {2, 4, 6, 6}}},
      {"DIFF", RGN_DIFF, COMPLEXREGION, {{0, 0, 4, 2}, {0, 2, 2, 4}}},
      {"COPY", RGN_COPY, SIMPLEREGION, {{0, 0, 4, 4}}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    HRGN A = CreateRectRgn(0, 0, 4, 4), B = CreateRectRgn(2, 2, 6, 6), D = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(D, A, B, C.Mode), C.Result);
    EXPECT_EQ(RectsOf(D), C.Expected);
    // The destination may be one of the sources.
    EXPECT_EQ(CombineRgn(A, A, B, C.Mode), C.Result);
    EXPECT_TRUE(EqualRgn(A, D));
    for (HRGN R : {A, B, D}) DeleteObject(R);
  }
  HRGN A = CreateRectRgn(0, 0, 2, 2), B = CreateRectRgn(5, 5, 6, 6);
  EXPECT_EQ(CombineRgn(A, A, B, RGN_AND), NULLREGION);
  EXPECT_EQ(CombineRgn(A, A, B, 99), ERROR);
  DeleteObject(A);
  DeleteObject(B);
}

TEST(Region, ExtCreateRegionAndGetRegionDataRoundTrip) {
  // Overlapping, unsorted input is normalised into bands.
  const RECT In[] = {{4, 4, 8, 8}, {0, 0, 5, 5}, {10, 0, 12, 1}};
  std::vector<uint8_t> Buf(sizeof(RGNDATAHEADER) + sizeof In);
  auto* D = reinterpret_cast<RGNDATA*>(Buf.data());
  D->rdh.dwSize = sizeof(RGNDATAHEADER);
  D->rdh.iType = RDH_RECTANGLES;
  D->rdh.nCount = 3;
  D->rdh.nRgnSize = sizeof In;
  std::memcpy(D->Buffer, In, sizeof In);
  HRGN R = ExtCreateRegion(nullptr, static_cast<DWORD>(Buf.size()), D);
  ASSERT_NE(R, nullptr);
  EXPECT_EQ(RectsOf(R), (std::vector<RECT>{{0, 0, 5, 1}, {10, 0, 12, 1}, {0, 1, 5, 4}, {0, 4, 8, 5}, {4, 5, 8, 8}}));

  DWORD Size = GetRegionData(R, 0, nullptr);
  EXPECT_EQ(Size, sizeof(RGNDATAHEADER) + 5 * sizeof(RECT));
  std::vector<uint8_t> Out(Size);
  auto* O = reinterpret_cast<RGNDATA*>(Out.data());
  EXPECT_EQ(GetRegionData(R, Size - 1, O), 0u);  // too small
  EXPECT_EQ(GetRegionData(R, Size, O), Size);
  EXPECT_EQ(O->rdh.dwSize, sizeof(RGNDATAHEADER));
  EXPECT_EQ(O->rdh.iType, RDH_RECTANGLES);
  EXPECT_EQ(O->rdh.nRgnSize, 5 * sizeof(RECT));
  EXPECT_EQ(O->rdh.rcBound, (RECT{0, 0, 12, 8}));
  HRGN Back = ExtCreateRegion(nullptr, Size, O);
  EXPECT_TRUE(EqualRgn(R, Back));

  // Damaged data is refused.
  D->rdh.nCount = 4;  // more rectangles than the bytes hold
  EXPECT_EQ(ExtCreateRegion(nullptr, static_cast<DWORD>(Buf.size()), D), nullptr);
  D->rdh.nCount = 3;
  D->rdh.dwSize = 16;
  EXPECT_EQ(ExtCreateRegion(nullptr, static_cast<DWORD>(Buf.size()), D), nullptr);
  EXPECT_EQ(ExtCreateRegion(nullptr, 8, D), nullptr);
  DeleteObject(R);
  DeleteObject(Back);
}

TEST(Region, QueriesAndOffset) {
  HRGN R = CreateRectRgn(1, 1, 4, 3);
  EXPECT_TRUE(PtInRegion(R, 1, 1));
  EXPECT_FALSE(PtInRegion(R, 4, 1));  // right edge excluded
  RECT Partly{3, 2, 10, 10}, Outside{4, 3, 5, 5};
  EXPECT_TRUE(RectInRegion(R, &Partly));
  EXPECT_FALSE(RectInRegion(R, &Outside));
  EXPECT_EQ(OffsetRgn(R, 10, -1), SIMPLEREGION);
  RECT Box;
  EXPECT_EQ(GetRgnBox(R, &Box), SIMPLEREGION);
  EXPECT_EQ(Box, (RECT{11, 0, 14, 2}));
  SetRectRgn(R, 5, 5, 5, 9);
  EXPECT_EQ(GetRgnBox(R, &Box), NULLREGION);
  EXPECT_EQ(Box, (RECT{}));
  DeleteObject(R);
}

TEST(Region, DeletedHandlesFailHarmlessly) {
  HRGN R = CreateRectRgn(0, 0, 1, 1);
  EXPECT_TRUE(DeleteObject(R));
  EXPECT_FALSE(DeleteObject(R));
  EXPECT_FALSE(PtInRegion(R, 0, 0));
  EXPECT_EQ(OffsetRgn(R, 1, 1), ERROR);
  HRGN D = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(CombineRgn(D, R, D, RGN_OR), ERROR);
  EXPECT_EQ(GetObjectType(R), 0u);
  DeleteObject(D);
}

TEST(Region, HandlesAreNeverReused) {
  std::set<HRGN> Seen;
  for (int i = 0; i < 200; ++i) {
    HRGN R = CreateRectRgn(0, 0, i, i);
    EXPECT_TRUE(Seen.insert(R).second);
    DeleteObject(R);
  }
}

TEST(Region, RegionOwnedByAWindowRefusesDeletion) {
  HRGN R = CreateRectRgn(0, 0, 5, 5);
  vantrel::win::RegionOf(R)->SetOwned(true);  // as SetWindowRgn does
  EXPECT_FALSE(DeleteObject(R));
  EXPECT_TRUE(PtInRegion(R, 2, 2));  // still there
  vantrel::win::RegionOf(R)->SetOwned(false);
  EXPECT_TRUE(DeleteObject(R));
}

TEST(Region, StockObjectsSurviveDeleteObject) {
  HGDIOBJ Black = GetStockObject(BLACK_BRUSH);
  EXPECT_TRUE(DeleteObject(Black));
  EXPECT_EQ(GetObjectType(Black), OBJ_BRUSH);
  LOGBRUSH Lb{};
  EXPECT_EQ(GetObject(Black, sizeof Lb, &Lb), static_cast<int>(sizeof Lb));
  EXPECT_EQ(Lb.lbColor, RGB(0, 0, 0));
}
