// The native tree view window: inserting in order, walking, deletion notifications,
// stale handles, expansion notifications and the parent's answers, and the buttons and
// selection it paints.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/display/HeadlessSession.h"
#include "platform/win/Focus.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/SysColors.h"
#include "platform/win/TreeView.h"
#include "tests/support/WinMessageLog.h"

using vantrel::display::HeadlessSession;
using vantrel::test::MessageLog;

namespace {

struct TreeFixture {
  HeadlessSession S;
  MessageLog Log;
  HWND Top = Log.Create(WS_POPUP | WS_VISIBLE, 20, 20, 300, 240);
  HWND Tree = CreateWindowEx(0, "SysTreeView32", "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES |
                                                          TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                             10, 10, 200, 200, Top, reinterpret_cast<HMENU>(5), nullptr, nullptr);
  std::vector<std::string> Notes;  // what the parent heard, in order
  LRESULT RefuseExpand = 0;

  TreeFixture() {
    Log.Handler() = [this](HWND, UINT Msg, WPARAM, LPARAM LParam) -> std::optional<LRESULT> {
      if (Msg != WM_NOTIFY) return std::nullopt;
      const auto* Hdr = reinterpret_cast<const NMHDR*>(LParam);
      const auto* N = reinterpret_cast<const NMTREEVIEW*>(LParam);
      switch (Hdr->code) {
        case TVN_DELETEITEM: Notes.push_back("delete " + std::to_string(N->itemOld.lParam)); return 0;
        case TVN_ITEMEXPANDING: Notes.push_back("expanding " + std::to_string(N->itemNew.lParam)); return RefuseExpand;
        case TVN_ITEMEXPANDED: Notes.push_back("expanded " + std::to_string(N->itemNew.lParam)); return 0;
        default: return 0;
      }
    };
  }
  HTREEITEM Add(HTREEITEM Parent, const char* Text, LPARAM Param, HTREEITEM After = TVI_LAST) {
    TVINSERTSTRUCT In;
    In.hParent = Parent;
    In.hInsertAfter = After;
    In.item.mask = TVIF_TEXT | TVIF_PARAM;
    In.item.pszText = const_cast<char*>(Text);
    In.item.lParam = Param;
    return reinterpret_cast<HTREEITEM>(SendMessage(Tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&In)));
  }
  HTREEITEM Next(HTREEITEM Item, UINT Code) {
    return reinterpret_cast<HTREEITEM>(SendMessage(Tree, TVM_GETNEXTITEM, Code, reinterpret_cast<LPARAM>(Item)));
  }
  std::string Text(HTREEITEM Item) {
    char Buffer[64] = {};
    TVITEM V;
    V.mask = TVIF_TEXT;
    V.hItem = Item;
    V.pszText = Buffer;
    V.cchTextMax = sizeof Buffer;
    SendMessage(Tree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&V));
    return Buffer;
  }
  std::string Children(HTREEITEM Parent) {
    std::string Out;
    for (HTREEITEM C = Next(Parent, TVGN_CHILD); C; C = Next(C, TVGN_NEXT)) Out += Text(C) + " ";
    return Out;
  }
};

}  // namespace

TEST(TreeViewWindow, InsertsAtEveryPositionAndWalksTheHierarchy) {
  TreeFixture F;
  const HTREEITEM P = F.Add(TVI_ROOT, "P", 1);
  const HTREEITEM B = F.Add(P, "b", 2);
  F.Add(P, "a", 3, TVI_FIRST);
  F.Add(P, "c", 4, TVI_LAST);
  F.Add(P, "B2", 5, TVI_SORT);
  F.Add(P, "after b", 6, B);
  EXPECT_EQ(F.Children(P), "a b after b B2 c ");
  EXPECT_EQ(F.Next(nullptr, TVGN_ROOT), P);
  EXPECT_EQ(F.Next(B, TVGN_PARENT), P);
  EXPECT_EQ(F.Next(P, TVGN_PARENT), nullptr);
  EXPECT_EQ(SendMessage(F.Tree, TVM_GETCOUNT, 0, 0), 6);
  // A bad parent inserts nothing.
  EXPECT_EQ(F.Add(reinterpret_cast<HTREEITEM>(static_cast<uintptr_t>(0x1234)), "x", 9), nullptr);
  EXPECT_EQ(SendMessage(F.Tree, TVM_GETCOUNT, 0, 0), 6);
}

TEST(TreeViewWindow, DeletionTellsTheParentChildrenFirstAndStaleHandlesAreRefused) {
  TreeFixture F;
  const HTREEITEM P = F.Add(TVI_ROOT, "P", 1);
  const HTREEITEM C = F.Add(P, "C", 2);
  F.Add(C, "G", 3);
  F.Add(TVI_ROOT, "Q", 4);
  EXPECT_TRUE(SendMessage(F.Tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(P)));
  EXPECT_EQ(F.Notes, (std::vector<std::string>{"delete 3", "delete 2", "delete 1"}));
  // The handles are gone: every request with them fails harmlessly.
  EXPECT_FALSE(SendMessage(F.Tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(C)));
  TVITEM V;
  V.mask = TVIF_PARAM;
  V.hItem = C;
  EXPECT_FALSE(SendMessage(F.Tree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&V)));
  EXPECT_FALSE(SendMessage(F.Tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(C)));
  F.Notes.clear();
  DestroyWindow(F.Tree);
  EXPECT_EQ(F.Notes, (std::vector<std::string>{"delete 4"}));
}

TEST(TreeViewWindow, ExpandingAsksTheParentWhichMayRefuse) {
  TreeFixture F;
  const HTREEITEM P = F.Add(TVI_ROOT, "P", 1);
  F.Add(P, "C", 2);
  F.RefuseExpand = 1;
  EXPECT_FALSE(SendMessage(F.Tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(P)));
  EXPECT_EQ(F.Notes, (std::vector<std::string>{"expanding 1"}));
  F.RefuseExpand = 0;
  F.Notes.clear();
  EXPECT_TRUE(SendMessage(F.Tree, TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(P)));
  EXPECT_EQ(F.Notes, (std::vector<std::string>{"expanding 1", "expanded 1"}));
  EXPECT_EQ(F.Next(nullptr, TVGN_LASTVISIBLE), F.Next(P, TVGN_CHILD));
  // Collapse and reset drops the children.
  EXPECT_TRUE(SendMessage(F.Tree, TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET, reinterpret_cast<LPARAM>(P)));
  EXPECT_EQ(F.Next(P, TVGN_CHILD), nullptr);
}

TEST(TreeViewWindow, PaintsButtonsLinesAndTheSelectionUnfocused) {
  TreeFixture F;
  SendMessage(F.Tree, TVM_SETBKCOLOR, 0, 0x00FFFF);  // yellow
  const HTREEITEM P = F.Add(TVI_ROOT, "Parent", 1);
  F.Add(P, "Child", 2);
  SendMessage(F.Tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(P));
  SetFocus(F.Top);
  const vantrel::win::Surface Shot = F.S.Capture(F.Tree);
  const int H = static_cast<int>(SendMessage(F.Tree, TVM_GETITEMHEIGHT, 0, 0));
  RECT Label{};
  std::memcpy(static_cast<void*>(&Label), &P, sizeof P);  // the item goes in where the rectangle comes back
  ASSERT_TRUE(SendMessage(F.Tree, TVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&Label)));
  // Background, the selection in the button face colour, and a grey button frame.
  EXPECT_EQ(Shot.Row(H + 2)[Label.Right + 20] & 0xFFFFFF, 0xFFFF00u);
  const uint32_t Face = GetSysColor(COLOR_BTNFACE);
  const uint32_t FaceArgb = ((Face & 0xFF) << 16) | (Face & 0xFF00) | ((Face >> 16) & 0xFF);
  EXPECT_EQ(Shot.Row(1)[Label.Right - 1] & 0xFFFFFF, FaceArgb);
  TVHITTESTINFO Hit;
  for (int X = 0; X < Label.Left && !(Hit.flags & TVHT_ONITEMBUTTON); ++X) {
    Hit.pt = POINT{X, H / 2};
    SendMessage(F.Tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit));
  }
  ASSERT_TRUE(Hit.flags & TVHT_ONITEMBUTTON);
  bool Grey = false;
  for (int X = 0; X < Label.Left; ++X) Grey |= (Shot.Row(H / 2 - 4)[X] & 0xFFFFFF) == 0x808080u;
  EXPECT_TRUE(Grey);
}
