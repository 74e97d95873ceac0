#include <gtest/gtest.h>

#include "platform/win/ShellItemIds.h"

using vantrel::win::ShellItemKind;
using vantrel::win::ShellItemRecord;

TEST(ShellItemIds, RecordsRoundTripAndSizeCountsTheTerminator) {
  ShellItemRecord A, B;
  A.Kind = ShellItemKind::Home;
  A.Name = "Home";
  B.Kind = ShellItemKind::File;
  B.Name = "clip \xc3\xa9.avi";
  B.Size = 5368709120ull;
  B.Modified = 1300000000;
  B.Attributes = 0x40000000;
  vantrel::win::ItemIdList L(vantrel::win::EncodeItemIdList({A, B}));
  ASSERT_NE(L.Get(), nullptr);
  const uint16_t First = L.Get()->mkid.cb;
  EXPECT_GT(First, 4 + 2);
  std::vector<ShellItemRecord> Back;
  ASSERT_TRUE(vantrel::win::DecodeItemIdList(L.Get(), Back));
  ASSERT_EQ(Back.size(), 2u);
  EXPECT_EQ(Back[1].Name, B.Name);
  EXPECT_EQ(Back[1].Size, B.Size);
  EXPECT_EQ(Back[1].Modified, B.Modified);
  EXPECT_EQ(Back[1].Attributes, B.Attributes);
  vantrel::win::ItemIdList Copy(ILClone(L.Get()));
  EXPECT_EQ(ILGetSize(Copy.Get()), ILGetSize(L.Get()));
  vantrel::win::ItemIdList Empty(vantrel::win::EncodeItemIdList({}));
  EXPECT_EQ(ILGetSize(Empty.Get()), 2u);
  EXPECT_EQ(ILGetSize(nullptr), 0u);
  // A record too short to hold its fields is refused.
  const uint8_t Bad[] = {3, 0, 5, 0, 0};
  EXPECT_FALSE(vantrel::win::DecodeItemIdList(reinterpret_cast<LPCITEMIDLIST>(Bad), Back));
}

TEST(ShellItemIds, TaskAllocatorKnowsBlockSizes) {
  IMalloc* M = nullptr;
  ASSERT_EQ(SHGetMalloc(&M), S_OK);
  void* P = M->Alloc(10);
  ASSERT_NE(P, nullptr);
  EXPECT_EQ(M->GetSize(P), 10u);
  EXPECT_EQ(static_cast<uint8_t*>(P)[9], 0);  // zero-filled
  M->Free(P);
  M->Release();
}
