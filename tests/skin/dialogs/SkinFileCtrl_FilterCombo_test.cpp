// The filter box: entries from the pairs of a filter text, the mask of the chosen entry,
// and a linked file list that follows every choice and filter change.
#include <gtest/gtest.h>

#include "tests/skin/dialogs/SkinFileCtrlFixture.h"

using vantrel::uitest::FileCtrlFixture;

namespace {

class FilterComboTest : public FileCtrlFixture {
 protected:
  TspSkinFilterComboBox* AddFilter(const String& Filter) {
    auto* F = Add<TspSkinFilterComboBox>(10, 10, 200, 22);
    F->SetFilter(Filter);
    ShowForm();
    return F;
  }
};

}  // namespace

TEST_F(FilterComboTest, PairsBecomeEntriesAndTheFirstIsChosen) {
  const struct {
    const char* Filter;
    std::vector<std::string> Entries;
    const char* FirstMask;
  } Cases[] = {
      {"All files|*.*", {"All files"}, "*.*"},
      {"Films|*.mp4|Clips|*.avi", {"Films", "Clips"}, "*.mp4"},
      {"Video|*.mp4;*.avi", {"Video"}, "*.mp4;*.avi"},
      {"Video|*.mp4|Lone", {"Video"}, "*.mp4"},
      {"", {}, "*.*"},
      {"no bar at all", {}, "*.*"},
  };
  for (const auto& T : Cases) {
    SCOPED_TRACE(T.Filter);
    auto* F = AddFilter(T.Filter);
    EXPECT_EQ(ItemsOf(F->Items()), T.Entries);
    EXPECT_EQ(F->Mask(), T.FirstMask);
    EXPECT_EQ(F->ItemIndex(), T.Entries.empty() ? -1 : 0);
    F->Free();
  }
}

TEST_F(FilterComboTest, FilterBeforeTheWindowAndTheDefault) {
  auto* F = Create<TspSkinFilterComboBox>(Form.get());
  EXPECT_EQ(F->Filter(), "All files (*.*)|*.*");
  F->SetFilter("A|*.a|B|*.b");
  EXPECT_EQ(F->Items()->Count(), 0);
  F->SetParent(Form.get());
  ShowForm();
  EXPECT_EQ(ItemsOf(F->Items()), (std::vector<std::string>{"A", "B"}));
  // With no selection the last entry is taken.
  F->SetItemIndex(-1);
  EXPECT_EQ(F->Mask(), "*.b");
  EXPECT_EQ(F->ItemIndex(), 1);
}

TEST_F(FilterComboTest, ALinkedFileListTakesTheMaskOfEveryChoice) {
  auto* F = AddFilter("Films|*.mp4|Clips|*.avi");
  auto* L = Add<TspSkinFileListBox>(10, 40, 200, 200);
  F->SetFileList(L);
  EXPECT_EQ(L->FilterCombo(), F);
  F->SetItemIndex(1);
  EXPECT_EQ(L->Mask(), "*.avi");
  F->SetFilter("Streams|*.ts|Films|*.mp4");
  EXPECT_EQ(L->Mask(), "*.ts");
  // The same filter in another case is no change: nothing reaches the list.
  L->SetMask("*.zzz");
  F->SetFilter("STREAMS|*.TS|FILMS|*.MP4");
  EXPECT_EQ(L->Mask(), "*.zzz");
  EXPECT_EQ(F->Items()->Get(0), "Streams");
  L->Free();
  EXPECT_EQ(F->FileList(), nullptr);
  F->SetItemIndex(0);
}
