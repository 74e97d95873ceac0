// The notebook: the live page list, selecting pages, page buttons, focus moving with the
// page and pages asking to be shown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Edits.h"
#include "skin/controls/SkinCtrls.h"
#include "tests/support/SkinFormFixture.h"

using vantrel::uitest::SkinFormFixture;

namespace {

class SkinNotebookTest : public SkinFormFixture {
 protected:
  TspSkinNotebook* Book = nullptr;
  int Changes = 0;

  void SetUp() override {
    SkinFormFixture::SetUp();
    Book = Create<TspSkinNotebook>(Form.get());
    Book->SetParent(Form.get());
    Book->SetSkinData(Skin);
    Book->SetBounds(10, 10, 300, 300);
    Book->OnPageChanged = [this](TObject*) { ++Changes; };
  }
  TspSkinPage* Page(int I) { return static_cast<TspSkinPage*>(Book->Pages()->Objects(I)); }
  std::vector<std::string> Captions() {
    std::vector<std::string> Out;
    for (int I = 0; I < Book->Pages()->Count(); ++I) Out.push_back(Book->Pages()->Get(I));
    return Out;
  }
};

TEST_F(SkinNotebookTest, ANewNotebookShowsItsDefaultPageAndAddedPagesShowAtOnce) {
  ASSERT_EQ(Captions(), (std::vector<std::string>{"Default"}));
  EXPECT_EQ(Book->PageIndex(), 0);
  EXPECT_TRUE(Page(0)->Visible());
  EXPECT_EQ(Book->Pages()->Add("Video"), 1);
  EXPECT_EQ(Book->PageIndex(), 1);
  EXPECT_TRUE(Page(1)->Visible());
  EXPECT_FALSE(Page(0)->Visible());
  EXPECT_EQ(Page(1)->SkinData(), Skin);
  EXPECT_EQ(Changes, 1);
  // The current page again, or an index outside the pages: nothing happens.
  Book->SetPageIndex(1);
  Book->SetPageIndex(5);
  Book->SetPageIndex(-1);
  Book->SetActivePage("No such page");
  EXPECT_EQ(Book->PageIndex(), 1);
  EXPECT_EQ(Changes, 1);
  Book->SetActivePage("default");  // names are found without regard to case
  EXPECT_EQ(Book->PageIndex(), 0);
  EXPECT_EQ(Book->ActivePage(), "Default");
  EXPECT_THROW(Book->Pages()->Get(7), EStringListError);
}

TEST_F(SkinNotebookTest, MoveExchangesTwoPagesAndRenamingReachesThePage) {
  Book->Pages()->Add("Audio");
  Book->Pages()->Add("Video");
  TspSkinPage* Third = Page(2);
  Book->Pages()->Move(0, 2);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Video", "Audio", "Default"}));
  EXPECT_EQ(Page(0), Third);
  Book->Pages()->SetStrings(1, "Sound");
  EXPECT_EQ(Page(1)->Caption(), "Sound");
  Book->Pages()->Delete(0);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Sound", "Default"}));
  Book->Pages()->Clear();
  EXPECT_EQ(Book->Pages()->Count(), 0);
}

TEST_F(SkinNotebookTest, DeletingOrInsertingAtTheCurrentIndexShowsThePageNowThere) {
  Book->Pages()->Add("Audio");
  Book->SetPageIndex(0);
  Changes = 0;
  Book->Pages()->Delete(0);  // the current page goes: "Audio" moves to 0 and shows
  EXPECT_EQ(Book->PageIndex(), 0);
  EXPECT_TRUE(Page(0)->Visible());
  EXPECT_EQ(Changes, 1);
  Book->Pages()->Insert(0, "Video");  // at the current index: the new page shows alone
  EXPECT_EQ(Book->ActivePage(), "Video");
  EXPECT_TRUE(Page(0)->Visible());
  EXPECT_FALSE(Page(1)->Visible());
  EXPECT_EQ(Changes, 2);
  Book->Pages()->Delete(1);
  Book->Pages()->Delete(0);  // the last page: none is current
  EXPECT_EQ(Book->PageIndex(), -1);
  EXPECT_EQ(Book->ActivePage(), "");
  Book->Pages()->Add("Again");
  Book->Pages()->Clear();
  EXPECT_EQ(Book->PageIndex(), -1);
}

TEST_F(SkinNotebookTest, PageButtonsStackAroundTheCurrentPageAndSelectTheirPage) {
  Book->Pages()->Add("Audio");
  Book->Pages()->Add("Video");
  Book->Pages()->Add("Size");
  Book->SetButtonsMode(true);
  ASSERT_EQ(Book->ButtonCount(), 4);
  Book->SetPageIndex(1);
  for (int I = 0; I < 4; ++I) {
    SCOPED_TRACE(I);
    EXPECT_EQ(Book->Buttons(I)->Align(), I <= 1 ? alTop : alBottom);
    EXPECT_EQ(Book->Buttons(I)->Caption(), Book->Pages()->Get(I));
  }
  ShowForm();
  TspPageButton* Last = Book->Buttons(3);
  const TPoint P = Last->ClientToScreen(Point(5, 5));
  Session.Press(P.X, P.Y);
  Session.Release(P.X, P.Y);
  Session.PumpUntilIdle();
  EXPECT_EQ(Book->PageIndex(), 3);
  EXPECT_EQ(Book->Buttons(3)->Align(), alTop);
  Book->SetButtonsMode(false);
  EXPECT_EQ(Book->ButtonCount(), 0);
}

TEST_F(SkinNotebookTest, TheFocusFollowsThePageAndAShownPageBecomesCurrent) {
  Book->Pages()->Add("Second");
  auto* OnSecond = Create<TEdit>(Form.get());
  OnSecond->SetParent(Page(1));
  OnSecond->SetBounds(10, 10, 100, 22);
  OnSecond->SetTabStop(true);
  Book->SetPageIndex(0);
  auto* OnFirst = Create<TEdit>(Form.get());
  OnFirst->SetParent(Page(0));
  OnFirst->SetBounds(10, 10, 100, 22);
  ShowForm();
  OnFirst->SetFocus();
  Session.PumpUntilIdle();
  Book->SetPageIndex(1);
  Session.PumpUntilIdle();
  EXPECT_TRUE(OnSecond->Focused());
  Page(0)->Show();
  EXPECT_EQ(Book->PageIndex(), 0);
}

}  // namespace
