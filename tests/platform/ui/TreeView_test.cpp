// The class library's tree view on the native tree window: nodes filled when expanded,
// scroll state for outside bars, selection by mouse and its events, label editing,
// sorting, image lists, deletion hooks and a re-created window.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/display/HeadlessPng.h"
#include "platform/display/HeadlessSession.h"
#include "platform/ui/Edits.h"
#include "platform/ui/TreeView.h"
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SysColors.h"
#include "platform/win/Scroll.h"
#include "platform/win/Timers.h"
#include "tests/support/UiTestControls.h"

using vantrel::display::HeadlessSession;
using vantrel::uitest::TTestForm;

namespace {

struct TreeHost {
  HeadlessSession Session;
  TOwned<TTestForm> Form = CreateOwned<TTestForm>(nullptr);
  TTreeView* Tree = nullptr;
  TreeHost(int Height = 200) {
    Form->SetBounds(40, 40, 320, 300);
    Tree = Create<TTreeView>(Form.get());
    Tree->SetBounds(10, 10, 200, Height);
    Tree->SetParent(Form.get());
  }
  void Show() {
    ShowWindow(Form->Handle(), SW_SHOW);
    SetActiveWindow(Form->Handle());
    Session.PumpUntilIdle();
  }
  // A point inside the node's label, in screen coordinates.
  POINT LabelPoint(TTreeNode* Node) {
    const TRect R = Node->DisplayRect(true);
    POINT P{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
    ClientToScreen(Tree->Handle(), &P);
    return P;
  }
  // Clicks apart in time, so two never make a double click.
  void Click(POINT P, int Button = vantrel::win::rbLeft) {
    Session.Advance(GetDoubleClickTime() + 1);
    Session.Press(P.X, P.Y, Button);
    Session.Release(P.X, P.Y, Button);
    Session.PumpUntilIdle();
  }
  void ClickButtonOf(TTreeNode* Node) {
    const TRect R = Node->DisplayRect(true);
    const int Indent = Tree->Indent();
    // The button sits in the column just left of the node's content.
    POINT P{R.Left - Indent / 2 - 4, (R.Top + R.Bottom) / 2};
    if (Tree->Images()) P.X -= Tree->Images()->Width() + 3;
    ClientToScreen(Tree->Handle(), &P);
    Click(P);
  }
};

// Three-level tree: A (A1 (A1a, A1b), A2), B (B1).
struct ThreeLevels {
  TTreeNode *A, *A1, *A1a, *A1b, *A2, *B, *B1;
  explicit ThreeLevels(TTreeNodes* N) {
    A = N->AddObject(nullptr, "A", reinterpret_cast<void*>(1));
    A1 = N->AddChildObject(A, "A1", reinterpret_cast<void*>(11));
    A1a = N->AddChildObject(A1, "A1a", reinterpret_cast<void*>(111));
    A1b = N->AddChildObject(A1, "A1b", reinterpret_cast<void*>(112));
    A2 = N->AddChildObject(A, "A2", reinterpret_cast<void*>(12));
    B = N->AddObject(A, "B", reinterpret_cast<void*>(2));
    B1 = N->AddChildObject(B, "B1", reinterpret_cast<void*>(21));
  }
};

}  // namespace

TEST(TTreeView, LazyNodeIsFilledByOnExpandingEachTimeItIsAsked) {
  TreeHost H;
  H.Show();
  TTreeNode* Lazy = H.Tree->Items()->Add(nullptr, "Lazy");
  Lazy->SetHasChildren(true);
  EXPECT_TRUE(Lazy->HasChildren());
  EXPECT_EQ(Lazy->Count(), 0);
  int Asked = 0;
  bool Refuse = false;
  H.Tree->OnExpanding = [&](TObject*, TTreeNode* Node, Boolean& Allow) {
    ++Asked;
    if (Refuse) {
      Allow = false;
      return;
    }
    if (Node->Count() == 0)
      for (const char* S : {"one", "two", "three"}) H.Tree->Items()->AddChild(Node, S);
  };
  // The button of a node without children opens it through the handler.
  H.ClickButtonOf(Lazy);
  EXPECT_EQ(Asked, 1);
  EXPECT_TRUE(Lazy->Expanded());
  ASSERT_EQ(Lazy->Count(), 3);
  EXPECT_EQ(Lazy->Item(2)->Text(), "three");
  EXPECT_TRUE(Lazy->Item(0)->IsVisible());
  H.ClickButtonOf(Lazy);
  EXPECT_FALSE(Lazy->Expanded());
  // Asked again; the handler adds nothing to a filled node.
  Lazy->Expand(false);
  EXPECT_EQ(Asked, 2);
  EXPECT_TRUE(Lazy->Expanded());
  EXPECT_EQ(Lazy->Count(), 3);
  Lazy->Collapse(false);
  Refuse = true;
  Lazy->Expand(false);
  EXPECT_EQ(Asked, 3);
  EXPECT_FALSE(Lazy->Expanded());
  H.ClickButtonOf(Lazy);
  EXPECT_EQ(Asked, 4);
  EXPECT_FALSE(Lazy->Expanded());
}

TEST(TTreeView, ANodeDeletedByItsOwnExpandingHandlerLeavesNothingBehind) {
  TreeHost H;
  H.Show();
  TTreeNode* Doomed = H.Tree->Items()->Add(nullptr, "Doomed");
  Doomed->SetHasChildren(true);
  TTreeNode* Keep = H.Tree->Items()->Add(nullptr, "Keep");
  int Deleted = 0;
  H.Tree->OnDeletion = [&](TObject*, TTreeNode*) { ++Deleted; };
  H.Tree->OnExpanding = [&](TObject*, TTreeNode* Node, Boolean&) { Node->Delete(); };
  Doomed->Expand(false);
  EXPECT_EQ(Deleted, 1);
  EXPECT_EQ(H.Tree->Items()->Count(), 1);
  EXPECT_EQ(H.Tree->Items()->GetFirstNode(), Keep);
  H.Tree->OnExpanding = nullptr;
  // Emptying a branch from the change hook: the new selection is re-read afterwards.
  TTreeNode* P = H.Tree->Items()->Add(nullptr, "P");
  H.Tree->Items()->AddChild(P, "c1");
  H.Tree->Items()->AddChild(P, "c2");
  P->Expand(false);
  H.Tree->OnChanging = [&](TObject*, TTreeNode* Node, Boolean&) {
    if (Node == P) P->DeleteChildren();
  };
  H.Click(H.LabelPoint(P));
  EXPECT_EQ(H.Tree->Selected(), P);
  EXPECT_EQ(P->Count(), 0);
  EXPECT_FALSE(P->Expanded());
  EXPECT_EQ(Deleted, 3);
}

TEST(TTreeView, ScrollStateCountsRowsForOutsideBars) {
  // Ten whole rows: the item height times ten plus the border.
  TreeHost H(100);
  H.Show();
  const int Row = static_cast<int>(SendMessage(H.Tree->Handle(), TVM_GETITEMHEIGHT, 0, 0));
  H.Tree->SetHeight(Row * 10 + 2);
  H.Session.PumpUntilIdle();
  TTreeNodes* N = H.Tree->Items();
  N->BeginUpdate();
  std::vector<TTreeNode*> Tops;
  for (int I = 0; I < 5; ++I) {
    Tops.push_back(N->Add(nullptr, "top " + std::to_string(I)));
    for (int K = 0; K < 9; ++K) N->AddChild(Tops.back(), "leaf " + std::to_string(I) + "." + std::to_string(K));
  }
  N->EndUpdate();
  for (TTreeNode* T : Tops) T->Expand(false);
  const HWND W = H.Tree->Handle();
  EXPECT_EQ(SendMessage(W, TVM_GETCOUNT, 0, 0), 50);
  EXPECT_EQ(SendMessage(W, TVM_GETVISIBLECOUNT, 0, 0), 10);
  int Min = -1, Max = -1;
  ASSERT_TRUE(GetScrollRange(W, SB_VERT, &Min, &Max));
  EXPECT_EQ(Min, 0);
  EXPECT_EQ(Max, 49);
  SCROLLINFO Info;
  Info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(W, SB_VERT, &Info));
  EXPECT_EQ(Info.nPage, 10u);
  EXPECT_EQ(GetScrollPos(W, SB_VERT), 0);
  // What an outside bar does: the position first, then the thumb message.
  SCROLLINFO Pos;
  Pos.fMask = SIF_POS;
  Pos.nPos = 20;
  SetScrollInfo(W, SB_VERT, &Pos, TRUE);
  SendMessage(W, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 20), 0);
  EXPECT_EQ(H.Tree->TopItem(), N->Item(20));
  EXPECT_EQ(H.Tree->TopItem()->Text(), "top 2");
  EXPECT_EQ(GetScrollPos(W, SB_VERT), 20);
  SendMessage(W, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(GetScrollPos(W, SB_VERT), 21);
  SendMessage(W, WM_VSCROLL, SB_PAGEUP, 0);
  EXPECT_EQ(GetScrollPos(W, SB_VERT), 11);
  SendMessage(W, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(GetScrollPos(W, SB_VERT), 40);
  SendMessage(W, WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(GetScrollPos(W, SB_VERT), 0);
  // A collapsed branch takes its rows out of the range.
  Tops[0]->Collapse(false);
  GetScrollRange(W, SB_VERT, &Min, &Max);
  EXPECT_EQ(Max, 40);
  // Sideways the range is in pixels and the page is the client width.
  N->Add(nullptr, std::string(60, 'W'));
  SCROLLINFO Side;
  Side.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(W, SB_HORZ, &Side));
  RECT C{};
  GetClientRect(W, &C);
  EXPECT_EQ(static_cast<int>(Side.nPage), C.Right);
  EXPECT_GT(Side.nMax, C.Right);
  SendMessage(W, WM_HSCROLL, SB_LINERIGHT, 0);
  EXPECT_GT(GetScrollPos(W, SB_HORZ), 0);
  SendMessage(W, WM_HSCROLL, SB_RIGHT, 0);
  EXPECT_EQ(GetScrollPos(W, SB_HORZ), Side.nMax - C.Right + 1);
  SendMessage(W, WM_HSCROLL, SB_LEFT, 0);
  EXPECT_EQ(GetScrollPos(W, SB_HORZ), 0);
  // The wheel scrolls by lines: three rows a notch.
  H.Tree->SetFocus();
  POINT P{20, 20};
  ClientToScreen(W, &P);
  H.Session.Wheel(P.X, P.Y, -120);
  H.Session.PumpUntilIdle();
  EXPECT_EQ(GetScrollPos(W, SB_VERT), 3);
}

TEST(TTreeView, ClickSelectsThroughOnChangingAndOnChangeWhichMayWait) {
  TreeHost H;
  H.Show();
  TTreeNode* A = H.Tree->Items()->Add(nullptr, "Alpha");
  TTreeNode* B = H.Tree->Items()->Add(nullptr, "Beta");
  std::vector<std::string> Log;
  bool Refuse = false;
  H.Tree->OnChanging = [&](TObject*, TTreeNode* Node, Boolean& Allow) {
    Log.push_back("changing " + Node->Text());
    Allow = !Refuse;
  };
  H.Tree->OnChange = [&](TObject*, TTreeNode* Node) { Log.push_back("change " + (Node ? Node->Text() : "-")); };
  H.Click(H.LabelPoint(A));
  EXPECT_EQ(H.Tree->Selected(), A);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing Alpha", "change Alpha"}));
  Log.clear();
  Refuse = true;
  H.Click(H.LabelPoint(B));
  EXPECT_EQ(H.Tree->Selected(), A);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing Beta"}));
  Log.clear();
  Refuse = false;
  H.Tree->SetChangeDelay(300);
  H.Click(H.LabelPoint(B));
  EXPECT_EQ(H.Tree->Selected(), B);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing Beta"}));
  H.Session.Advance(299);
  EXPECT_EQ(Log.size(), 1u);
  H.Session.Advance(1);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing Beta", "change Beta"}));
  // Keys move the selection too.
  Log.clear();
  H.Tree->SetChangeDelay(0);
  H.Session.Key(VK_UP);
  H.Session.PumpUntilIdle();
  EXPECT_EQ(H.Tree->Selected(), A);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing Alpha", "change Alpha"}));
}

TEST(TTreeView, RightClickSelectSelectsBeforeTheContextPopup) {
  TreeHost H;
  H.Show();
  TTreeNode* A = H.Tree->Items()->Add(nullptr, "Alpha");
  TTreeNode* B = H.Tree->Items()->Add(nullptr, "Beta");
  A->SetSelected(true);
  H.Tree->SetRightClickSelect(true);
  TTreeNode* SeenSelected = nullptr;
  int Popups = 0;
  H.Tree->OnContextPopup = [&](TObject*, TPoint, Boolean& Handled) {
    ++Popups;
    SeenSelected = H.Tree->Selected();
    Handled = true;
  };
  H.Click(H.LabelPoint(B), vantrel::win::rbRight);
  EXPECT_EQ(Popups, 1);
  EXPECT_EQ(SeenSelected, B);
  // Without it the selection stays.
  H.Tree->SetRightClickSelect(false);
  H.Click(H.LabelPoint(A), vantrel::win::rbRight);
  EXPECT_EQ(Popups, 2);
  EXPECT_EQ(SeenSelected, B);
}

TEST(TTreeView, F2EditsTheLabelInPlace) {
  TreeHost H;
  H.Show();
  TTreeNode* A = H.Tree->Items()->Add(nullptr, "old");
  H.Click(H.LabelPoint(A));
  std::vector<std::string> Edited;
  H.Tree->OnEdited = [&](TObject*, TTreeNode*, String& S) { Edited.push_back(S); };
  H.Session.Key(VK_F2);
  H.Session.PumpUntilIdle();
  ASSERT_TRUE(H.Tree->IsEditing());
  H.Session.Type("new");
  H.Session.Key(VK_RETURN);
  H.Session.PumpUntilIdle();
  EXPECT_FALSE(H.Tree->IsEditing());
  EXPECT_EQ(Edited, (std::vector<std::string>{"new"}));
  EXPECT_EQ(A->Text(), "new");
  // Esc keeps the text.
  H.Session.Key(VK_F2);
  H.Session.PumpUntilIdle();
  ASSERT_TRUE(H.Tree->IsEditing());
  H.Session.Type("other");
  H.Session.Key(VK_ESCAPE);
  H.Session.PumpUntilIdle();
  EXPECT_FALSE(H.Tree->IsEditing());
  EXPECT_EQ(A->Text(), "new");
  EXPECT_EQ(Edited.size(), 1u);
  // OnEditing may refuse; ReadOnly refuses.
  H.Tree->OnEditing = [](TObject*, TTreeNode*, Boolean& Allow) { Allow = false; };
  EXPECT_FALSE(A->EditText());
  H.Tree->OnEditing = nullptr;
  H.Tree->SetReadOnly(true);
  EXPECT_FALSE(A->EditText());
}

TEST(TTreeView, CustomSortOrdersChildrenByDataAndAlphaSortByText) {
  TreeHost H;
  H.Show();
  TTreeNode* P = H.Tree->Items()->Add(nullptr, "P");
  H.Tree->Items()->AddChildObject(P, "b", reinterpret_cast<void*>(3));
  H.Tree->Items()->AddChildObject(P, "C", reinterpret_cast<void*>(1));
  H.Tree->Items()->AddChildObject(P, "a", reinterpret_cast<void*>(2));
  auto Texts = [&] {
    std::string S;
    for (TTreeNode* C = P->getFirstChild(); C; C = C->GetNextSibling()) S += C->Text();
    return S;
  };
  ASSERT_TRUE(P->CustomSort(
      [](TTreeNode* X, TTreeNode* Y, intptr_t Sign) {
        return static_cast<Integer>((reinterpret_cast<intptr_t>(X->Data()) - reinterpret_cast<intptr_t>(Y->Data())) * Sign);
      },
      1));
  EXPECT_EQ(Texts(), "Cab");
  P->CustomSort([](TTreeNode* X, TTreeNode* Y, intptr_t) {
    return static_cast<Integer>(reinterpret_cast<intptr_t>(Y->Data()) - reinterpret_cast<intptr_t>(X->Data()));
  }, 0);
  EXPECT_EQ(Texts(), "baC");
  ASSERT_TRUE(P->AlphaSort());
  EXPECT_EQ(Texts(), "abC");
  EXPECT_EQ(P->Item(1)->Index(), 1);
  EXPECT_EQ(P->Item(2)->AbsoluteIndex(), 3);
}

namespace {

class TSpyTree : public TCustomTreeView {
  VANTREL_CLASS(TSpyTree)
  explicit TSpyTree(TComponent* AOwner) : TCustomTreeView(AOwner) {}
  std::vector<WPARAM> ImageListRequests;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == TVM_SETIMAGELIST) ImageListRequests.push_back(Message.WParam);
    TCustomTreeView::WndProc(Message);
  }
};

// 16 x 16 images: a red square with a fuchsia (masked) border of four pixels.
void FillIcons(TImageList& List) {
  List.SetWidth(16);
  List.SetHeight(16);
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(32, 16);
  B.Canvas()->Brush()->SetColor(clFuchsia);
  B.Canvas()->FillRect(Rect(0, 0, 32, 16));
  B.Canvas()->Brush()->SetColor(clRed);
  B.Canvas()->FillRect(Rect(4, 4, 12, 12));
  B.Canvas()->Brush()->SetColor(clBlue);
  B.Canvas()->FillRect(Rect(20, 4, 28, 12));
  List.AddMasked(&B, clFuchsia);
}

}  // namespace

TEST(TTreeView, ImagesReachTheWindowThroughItsProcedureAndShowTheirBackground) {
  HeadlessSession Session;
  TOwned<TTestForm> Form = CreateOwned<TTestForm>(nullptr);
  Form->SetBounds(40, 40, 320, 300);
  auto* Tree = Create<TSpyTree>(Form.get());
  Tree->SetBounds(10, 10, 220, 200);
  Tree->SetParent(Form.get());
  TImageList Icons(nullptr);
  FillIcons(Icons);
  Icons.SetBkColor(clLime);
  ShowWindow(Form->Handle(), SW_SHOW);
  SetActiveWindow(Form->Handle());
  Tree->SetFocus();
  Session.PumpUntilIdle();
  Tree->ImageListRequests.clear();
  Tree->SetImages(&Icons);
  EXPECT_NE(std::find(Tree->ImageListRequests.begin(), Tree->ImageListRequests.end(), TVSIL_NORMAL),
            Tree->ImageListRequests.end());
  TTreeNode* Root = Tree->Items()->Add(nullptr, "Videos");
  TTreeNode* Sub = Tree->Items()->AddChild(Root, "Holiday");
  Tree->Items()->AddChild(Sub, "Beach");
  TTreeNode* Other = Tree->Items()->AddChild(Root, "Music");
  Tree->Items()->Add(nullptr, "Documents")->SetHasChildren(true);
  Tree->OnGetSelectedIndex = [](TObject*, TTreeNode* Node) { Node->SetSelectedIndex(1); };
  Tree->FullExpand();
  Other->SetSelected(true);
  Session.PumpUntilIdle();
  vantrel::win::Surface Shot = Session.Capture(Tree->Handle());
  vantrel::display::SavePng(Shot, testing::TempDir() + "ttreeview-expanded.png");
  // The window's border is one pixel; the icon of the selected node is blue, the others
  // red, and the masked border shows the list's background colour.
  const TRect Label = Other->DisplayRect(true);
  const int IconX = Label.Left - 3 - 16 + 1, IconY = (Label.Top + Label.Bottom) / 2 - 8 + 1;
  EXPECT_EQ(Shot.Row(IconY + 1)[IconX + 1] & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(Shot.Row(IconY + 8)[IconX + 8] & 0xFFFFFF, 0x0000FFu);
  const TRect RootLabel = Root->DisplayRect(true);
  EXPECT_EQ(Shot.Row((RootLabel.Top + RootLabel.Bottom) / 2 + 1)[RootLabel.Left - 3 - 8 + 1] & 0xFFFFFF, 0xFF0000u);
  // The focused selection is drawn in the highlight colour.
  const uint32_t Highlight = GetSysColor(COLOR_HIGHLIGHT);
  const uint32_t Expected = ((Highlight & 0xFF) << 16) | (Highlight & 0xFF00) | ((Highlight >> 16) & 0xFF);
  EXPECT_EQ(Shot.Row(Label.Top + 2)[Label.Right - 1] & 0xFFFFFF, Expected);
  Tree->SetImages(nullptr);
}

TEST(TTreeView, RecreateWndKeepsNodesAndClearDeletesEachOnce) {
  TreeHost H;
  H.Show();
  ThreeLevels T(H.Tree->Items());
  T.B->SetHasChildren(true);
  T.A->Expand(false);
  T.A1->Expand(false);
  T.A1b->SetSelected(true);
  T.A1b->SetImageIndex(4);
  std::vector<TTreeNode*> Deleted;
  H.Tree->OnDeletion = [&](TObject*, TTreeNode* Node) { Deleted.push_back(Node); };
  int Changes = 0;
  H.Tree->OnChange = [&](TObject*, TTreeNode*) { ++Changes; };
  const HWND Before = H.Tree->Handle();
  H.Tree->RecreateWnd();
  EXPECT_NE(H.Tree->Handle(), Before);
  EXPECT_TRUE(Deleted.empty());
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(H.Tree->Items()->Count(), 7);
  EXPECT_EQ(H.Tree->Items()->GetFirstNode(), T.A);
  EXPECT_EQ(T.A1->Parent(), T.A);
  EXPECT_EQ(T.A1b->Parent(), T.A1);
  EXPECT_EQ(T.A1b->Level(), 2);
  EXPECT_EQ(T.A1b->Data(), reinterpret_cast<void*>(112));
  EXPECT_EQ(T.A1b->Text(), "A1b");
  EXPECT_EQ(T.A1b->ImageIndex(), 4);
  EXPECT_TRUE(T.A->Expanded());
  EXPECT_TRUE(T.A1->Expanded());
  EXPECT_FALSE(T.B->Expanded());
  EXPECT_TRUE(T.B->HasChildren());
  EXPECT_EQ(H.Tree->Selected(), T.A1b);
  EXPECT_EQ(T.B1->GetPrev(), T.B);
  // Clearing runs the deletion hook once per node, children before their parent.
  H.Tree->Items()->Clear();
  EXPECT_EQ(Deleted.size(), 7u);
  EXPECT_EQ(std::set<TTreeNode*>(Deleted.begin(), Deleted.end()).size(), 7u);
  const auto Pos = [&](TTreeNode* N) { return std::find(Deleted.begin(), Deleted.end(), N) - Deleted.begin(); };
  EXPECT_LT(Pos(T.A1a), Pos(T.A1));
  EXPECT_LT(Pos(T.A1), Pos(T.A));
  EXPECT_EQ(H.Tree->Items()->Count(), 0);
  EXPECT_EQ(H.Tree->Selected(), nullptr);
}

TEST(TTreeView, DestroyingTheTreeDeletesEveryNodeOnce) {
  int Deleted = 0;
  {
    TreeHost H;
    H.Show();
    ThreeLevels T(H.Tree->Items());
    H.Tree->OnDeletion = [&](TObject*, TTreeNode*) { ++Deleted; };
  }
  EXPECT_EQ(Deleted, 7);
}

TEST(TTreeView, KeysBrowseExpandAndCollapse) {
  TreeHost H;
  H.Show();
  ThreeLevels T(H.Tree->Items());
  H.Click(H.LabelPoint(T.A));
  struct TreeStep {
    WORD Key;
    TTreeNode* Selected;
    bool AExpanded;
  } Steps[] = {
      {VK_RIGHT, T.A, true},   // opens
      {VK_RIGHT, T.A1, true},  // first child
      {VK_DOWN, T.A2, true},   // A1 stays closed
      {VK_LEFT, T.A, true},    // to the parent
      {VK_LEFT, T.A, false},   // closes
      {VK_END, T.B, false},
      {VK_HOME, T.A, false},
      {VK_MULTIPLY, T.A, true},
      {VK_END, T.B, true},
      {VK_UP, T.A2, true},     // from B, which stays closed
  };
  for (const TreeStep& S : Steps) {
    SCOPED_TRACE(S.Key);
    H.Session.Key(S.Key);
    H.Session.PumpUntilIdle();
    EXPECT_EQ(H.Tree->Selected(), S.Selected);
    EXPECT_EQ(T.A->Expanded(), S.AExpanded);
  }
  EXPECT_TRUE(T.A1->Expanded());
  // Type-ahead by prefix over visible nodes; a pause starts a new search.
  H.Session.Type("b");
  H.Session.PumpUntilIdle();

  EXPECT_EQ(H.Tree->Selected(), T.B);
  H.Session.Advance(1500);
  H.Session.Type("a1");
  H.Session.PumpUntilIdle();
  EXPECT_EQ(H.Tree->Selected(), T.A1);
}

TEST(TTreeView, LosingTheFocusEndsLabelEditingAndKeepsTheText) {
  TreeHost H;
  TEdit* Other = Create<TEdit>(H.Form.get());
  Other->SetBounds(220, 10, 80, 24);
  Other->SetParent(H.Form.get());
  H.Show();
  TTreeNode* A = H.Tree->Items()->Add(nullptr, "old");
  H.Tree->SetFocus();
  ASSERT_TRUE(A->EditText());
  H.Session.Type("typed");
  H.Session.PumpUntilIdle();
  Other->SetFocus();
  H.Session.PumpUntilIdle();
  EXPECT_FALSE(H.Tree->IsEditing());
  EXPECT_EQ(A->Text(), "typed");
}

TEST(TTreeView, NodesKeptWithoutAWindowAreDeletedOnceEachWhenCleared) {
  TreeHost H;
  H.Show();
  ThreeLevels T(H.Tree->Items());
  std::vector<TTreeNode*> Deleted;
  H.Tree->OnDeletion = [&](TObject*, TTreeNode* Node) { Deleted.push_back(Node); };
  H.Tree->DestroyHandle();
  EXPECT_TRUE(Deleted.empty());
  H.Tree->Items()->Clear();
  ASSERT_EQ(Deleted.size(), 7u);
  EXPECT_EQ(std::set<TTreeNode*>(Deleted.begin(), Deleted.end()).size(), 7u);
  const auto Pos = [&](TTreeNode* N) { return std::find(Deleted.begin(), Deleted.end(), N) - Deleted.begin(); };
  EXPECT_LT(Pos(T.A1b), Pos(T.A1));
  EXPECT_LT(Pos(T.B1), Pos(T.B));
  // The next window starts empty.
  EXPECT_EQ(H.Tree->Items()->GetFirstNode(), nullptr);
  EXPECT_EQ(H.Tree->Items()->Count(), 0);
}

TEST(TTreeView, ALeafHasNoExpandingToAskAbout) {
  TreeHost H;
  H.Show();
  TTreeNode* Leaf = H.Tree->Items()->Add(nullptr, "leaf");
  int Asked = 0;
  H.Tree->OnExpanding = [&](TObject*, TTreeNode*, Boolean&) { ++Asked; };
  Leaf->Expand(false);
  EXPECT_EQ(Asked, 0);
  EXPECT_FALSE(Leaf->Expanded());
}

TEST(TTreeView, DoubleClickTogglesThroughTheCollapseHooks) {
  TreeHost H;
  H.Show();
  TTreeNode* P = H.Tree->Items()->Add(nullptr, "Parent");
  H.Tree->Items()->AddChild(P, "Child");
  std::vector<std::string> Log;
  bool RefuseCollapse = false;
  H.Tree->OnExpanded = [&](TObject*, TTreeNode* N) { Log.push_back("expanded " + N->Text()); };
  H.Tree->OnCollapsing = [&](TObject*, TTreeNode* N, Boolean& Allow) {
    Log.push_back("collapsing " + N->Text());
    Allow = !RefuseCollapse;
  };
  H.Tree->OnCollapsed = [&](TObject*, TTreeNode* N) { Log.push_back("collapsed " + N->Text()); };
  const POINT At = H.LabelPoint(P);
  auto DoubleClick = [&] {
    H.Session.Advance(GetDoubleClickTime() + 1);
    H.Session.Press(At.X, At.Y);
    H.Session.Release(At.X, At.Y);
    H.Session.Press(At.X, At.Y);
    H.Session.Release(At.X, At.Y);
    H.Session.PumpUntilIdle();
  };
  DoubleClick();
  EXPECT_TRUE(P->Expanded());
  EXPECT_EQ(H.Tree->Selected(), P);
  RefuseCollapse = true;
  DoubleClick();
  EXPECT_TRUE(P->Expanded());
  RefuseCollapse = false;
  DoubleClick();
  EXPECT_FALSE(P->Expanded());
  EXPECT_EQ(Log, (std::vector<std::string>{"expanded Parent", "collapsing Parent", "collapsing Parent",
                                           "collapsed Parent"}));
}

TEST(TTreeView, AFreedImageListIsDroppedFromTheTree) {
  TreeHost H;
  H.Show();
  H.Tree->Items()->Add(nullptr, "Node");
  auto* Icons = Create<TImageList>(nullptr);
  FillIcons(*Icons);
  H.Tree->SetImages(Icons);
  EXPECT_NE(SendMessage(H.Tree->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0), 0);
  Icons->Free();
  EXPECT_EQ(H.Tree->Images(), nullptr);
  EXPECT_EQ(SendMessage(H.Tree->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0), 0);
  H.Tree->Invalidate();
  H.Session.PumpUntilIdle();
}
