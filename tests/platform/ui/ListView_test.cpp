// The list view: owner-data rows fetched only when drawn, scroll state per style, the
// column header (made before it is placed, section rectangles, dividers, order), column
// clicks, type-ahead through OnDataFind, range selection, the context popup, and the
// look of a report.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/display/HeadlessPng.h"
#include "platform/display/HeadlessSession.h"
#include "platform/rtl/Utf8.h"
#include "platform/ui/ComCtrls.h"
#include "platform/win/ListView.h"
#include "platform/win/Focus.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Scroll.h"
#include "platform/win/SysColors.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowManager.h"
#include "tests/support/UiTestControls.h"

using vantrel::display::HeadlessSession;
using vantrel::uitest::RgbAt;
using vantrel::uitest::RgbOf;
using vantrel::uitest::TTestForm;

namespace {

// A list view that watches its header come to life: the parent notice must come before
// the header's first placement, which a hook on the header would otherwise miss.
class TWatchedListView : public TListView {
 public:
  explicit TWatchedListView(TComponent* AOwner) : TListView(AOwner) {}
  ~TWatchedListView() override { Unhook(); }
  std::vector<std::string> Log;
  HWND Hooked = nullptr;
  WNDPROC Old = nullptr;
  WNDPROC Hook = nullptr;

  void Unhook() {
    if (Hooked && IsWindow(Hooked)) SetWindowLongPtr(Hooked, GWL_WNDPROC, WndProcToLong(Old));
    if (Hook) FreeObjectInstance(Hook);
    Hook = nullptr;
    Hooked = nullptr;
  }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_PARENTNOTIFY && LOWORD(Message.WParam) == WM_CREATE) {
      const HWND Child = reinterpret_cast<HWND>(Message.LParam);
      if (GetClassName(Child) == "SysHeader32") {
        Log.push_back("parentnotify");
        Unhook();
        Hooked = Child;
        Hook = MakeWndProcInstance([this](HWND W, UINT M, WPARAM WP, LPARAM LP) -> LRESULT {
          if (M == WM_WINDOWPOSCHANGING) Log.push_back("poschanging");
          return CallWindowProc(Old, W, M, WP, LP);
        });
        Old = LongToWndProc(SetWindowLongPtr(Child, GWL_WNDPROC, WndProcToLong(Hook)));
      }
    }
    TListView::WndProc(Message);
  }
};

struct ListViewForm {
  HeadlessSession Session;
  TOwned<TTestForm> Form = CreateOwned<TTestForm>(nullptr);
  TWatchedListView* View = nullptr;
  std::vector<Integer> Fetched;

  explicit ListViewForm(bool OwnerData, Integer Height = 300) {
    Form->SetBounds(20, 20, 420, 360);
    View = Create<TWatchedListView>(Form.get());
    View->SetParent(Form.get());
    View->SetBorderStyle(bsNone);
    View->SetBounds(10, 10, 380, Height);
    View->SetViewStyle(vsReport);
    View->SetOwnerData(OwnerData);
    for (auto [Caption, Width] : {std::pair{"Name", 100}, {"Size", 50}, {"Type", 80}}) {
      TListColumn* C = View->Columns()->Add();
      C->SetCaption(Caption);
      C->SetWidth(Width);
    }
    View->OnData = [this](TObject*, TListItem* Item) {
      Fetched.push_back(Item->Index());
      Item->SetCaption("file " + std::to_string(Item->Index()));
      Item->SubItems()->Add(std::to_string(Item->Index() * 10) + " KB");
    };
    ShowWindow(Form->Handle(), SW_SHOW);
    Session.PumpUntilIdle();
  }
  HWND Header() { return reinterpret_cast<HWND>(SendMessage(View->Handle(), LVM_GETHEADER, 0, 0)); }
  int HeaderHeight() {
    RECT R{};
    GetWindowRect(Header(), &R);
    return R.Bottom - R.Top;
  }
  int RowHeight() {
    RECT R{};
    R.Left = LVIR_BOUNDS;
    SendMessage(View->Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&R));
    return R.Bottom - R.Top;
  }
  std::set<Integer> FetchedRows() { return std::set<Integer>(Fetched.begin(), Fetched.end()); }
  TPoint HeaderPoint(int X) {
    TPoint P{X, HeaderHeight() / 2};
    ClientToScreen(Header(), &P);
    return P;
  }
  void Drag(TPoint From, TPoint To) {
    Session.Press(From.X, From.Y);
    Session.Move((From.X + To.X) / 2, To.Y);
    Session.Move(To.X, To.Y);
    Session.Release(To.X, To.Y);
    Session.PumpUntilIdle();
  }
};

std::set<Integer> RowRange(Integer First, Integer Last) {
  std::set<Integer> S;
  for (Integer I = First; I <= Last; ++I) S.insert(I);
  return S;
}

}  // namespace

TEST(ListView, OwnerDataFetchesOnlyTheRowsItDraws) {
  ListViewForm F(true);
  F.View->Items()->SetCount(1000);
  F.Session.PumpUntilIdle();
  const int RowH = F.RowHeight();
  ASSERT_GT(RowH, 0);
  F.View->SetHeight(F.HeaderHeight() + 20 * RowH);
  EXPECT_EQ(F.View->VisibleRowCount(), 20);
  F.Fetched.clear();
  F.View->Invalidate();
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.FetchedRows(), RowRange(0, 19));
  F.Fetched.clear();
  F.View->Scroll(0, 3 * RowH);
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.FetchedRows(), RowRange(20, 22));
  EXPECT_EQ(F.View->TopItem()->Index(), 3);
  // Shrinking the count drops the selection of rows that are gone; no fetch reaches them.
  F.View->SetMultiSelect(true);
  F.View->SetItemIndex(990);
  F.View->Items()->SetCount(500);
  F.Fetched.clear();
  F.View->Invalidate();
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.View->SelCount(), 0);
  for (Integer I : F.Fetched) EXPECT_LT(I, 500);
}

TEST(ListView, ScrollStatePerViewStyle) {
  ListViewForm F(true);
  F.View->Items()->SetCount(100);
  F.Session.PumpUntilIdle();
  const int RowH = F.RowHeight();
  F.View->SetHeight(F.HeaderHeight() + 20 * RowH);
  struct Case {
    TViewStyle Style;
    int Bar;
    int Max;
    UINT Page;
  };
  // Report: rows up and down, pixels of the columns across (the page no larger than the
  // range); list: columns across only.
  const int ListColumns = (100 + (F.HeaderHeight() + 20 * RowH) / RowH - 1) / ((F.HeaderHeight() + 20 * RowH) / RowH);
  for (const Case& C : {Case{vsReport, SB_VERT, 99, 20u}, Case{vsReport, SB_HORZ, 229, 230u},
                        Case{vsList, SB_HORZ, ListColumns - 1, 3u}, Case{vsList, SB_VERT, 0, 0u}}) {
    SCOPED_TRACE(std::to_string(C.Style) + "/" + std::to_string(C.Bar));
    F.View->SetViewStyle(C.Style);
    if (C.Style == vsList) SendMessage(F.View->Handle(), LVM_SETCOLUMNWIDTH, 0, 120);
    SCROLLINFO Info;
    Info.fMask = SIF_ALL;
    GetScrollInfo(F.View->Handle(), C.Bar, &Info);
    EXPECT_EQ(Info.nMin, 0);
    EXPECT_EQ(Info.nMax, C.Max);
    EXPECT_EQ(Info.nPage, C.Page);
  }
  F.View->SetViewStyle(vsReport);
  F.View->Scroll(0, 3 * RowH);
  EXPECT_EQ(GetScrollPos(F.View->Handle(), SB_VERT), 3);
  EXPECT_EQ(SendMessage(F.View->Handle(), LVM_GETTOPINDEX, 0, 0), 3);
  SendMessage(F.View->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 50), 0);
  EXPECT_EQ(F.View->TopItem()->Index(), 50);
  F.View->SetViewStyle(vsList);
  F.View->Scroll(2 * 120, 0);  // two columns of pixels
  EXPECT_EQ(GetScrollPos(F.View->Handle(), SB_HORZ), 2);
}

TEST(ListView, TheHeaderIsAnnouncedBeforeItIsPlacedAndSizesItsSections) {
  ListViewForm F(false);
  ASSERT_GE(F.View->Log.size(), 2u);
  EXPECT_EQ(F.View->Log[0], "parentnotify");
  EXPECT_EQ(F.View->Log[1], "poschanging");
  const HWND H = F.Header();
  for (auto [Index, Left, Right] : {std::tuple{0, 0, 100}, {1, 100, 150}, {2, 150, 230}}) {
    RECT R{};
    ASSERT_TRUE(SendMessage(H, HDM_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&R)));
    EXPECT_EQ(R.Left, Left);
    EXPECT_EQ(R.Right, Right);
  }
  HDHITTESTINFO Hit;
  Hit.pt = POINT{99, 5};
  SendMessage(H, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit));
  EXPECT_EQ(Hit.flags, HHT_ONDIVIDER);
  EXPECT_EQ(Hit.iItem, 0);
  Hit.pt = POINT{120, 5};
  SendMessage(H, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit));
  EXPECT_EQ(Hit.flags, HHT_ONHEADER);
  EXPECT_EQ(Hit.iItem, 1);
  // Dragging the divider at 100 to 130 widens the first column.
  F.Drag(F.HeaderPoint(100), F.HeaderPoint(130));
  EXPECT_EQ(F.View->Columns()->Items(0)->Width(), 130);
  RECT R{};
  SendMessage(H, HDM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&R));
  EXPECT_EQ(R.Left, 180);
  // With FullDrag, the third section dragged to the front comes first.
  F.View->SetFullDrag(true);
  F.Session.Advance(1000);
  F.Drag(F.HeaderPoint(220), F.HeaderPoint(5));
  int Order[3] = {};
  SendMessage(H, HDM_GETORDERARRAY, 3, reinterpret_cast<LPARAM>(Order));
  EXPECT_EQ(std::vector<int>(Order, Order + 3), (std::vector<int>{2, 0, 1}));
  SendMessage(F.View->Handle(), LVM_GETCOLUMNORDERARRAY, 3, reinterpret_cast<LPARAM>(Order));
  EXPECT_EQ(Order[0], 2);
  F.View->Unhook();
}

TEST(ListView, AHeaderClickRunsOnColumnClick) {
  ListViewForm F(false);
  std::vector<Integer> Clicked;
  F.View->OnColumnClick = [&](TObject*, TListColumn* Column) { Clicked.push_back(Column->Index()); };
  const TPoint P = F.HeaderPoint(125);
  F.Session.Press(P.X, P.Y);
  F.Session.Release(P.X, P.Y);
  F.Session.PumpUntilIdle();
  EXPECT_EQ(Clicked, (std::vector<Integer>{1}));
  F.View->Unhook();
}

TEST(ListView, TypingAskesOnDataFindAndSelectsTheRowItReturns) {
  ListViewForm F(true);
  F.View->Items()->SetCount(100);
  struct Call {
    TItemFind Find;
    String Text;
    Integer Start;
    Boolean Wrap;
  };
  std::vector<Call> Calls;
  F.View->OnDataFind = [&](TObject*, TItemFind Find, const String& S, const TPoint&, void*, Integer Start,
                           TSearchDirection, Boolean Wrap, Integer& Index) {
    Calls.push_back({Find, S, Start, Wrap});
    Index = S == "a" ? 40 : S == "ab" ? 42 : -1;
  };
  F.View->SetFocus();
  F.Session.Type("a");
  F.Session.Advance(300);
  F.Session.Type("b");
  F.Session.PumpUntilIdle();
  ASSERT_EQ(Calls.size(), 2u);
  EXPECT_EQ(Calls[1].Find, ifPartialString);
  EXPECT_EQ(Calls[1].Text, "ab");
  EXPECT_EQ(Calls[1].Start, 40);  // from the focused row
  EXPECT_TRUE(Calls[1].Wrap);
  EXPECT_EQ(F.View->ItemIndex(), 42);
  EXPECT_EQ(F.View->ItemFocused()->Index(), 42);
  // After a second's pause a character starts a new search.
  F.Session.Advance(1000);
  F.Session.Type("b");
  F.Session.PumpUntilIdle();
  EXPECT_EQ(Calls.back().Text, "b");
}

TEST(ListView, ShiftClickSelectsARangeAndARightClickAsksForThePopup) {
  ListViewForm F(true);
  F.View->SetMultiSelect(true);
  F.View->Items()->SetCount(50);
  F.Session.PumpUntilIdle();
  int Changes = 0;
  F.View->OnChange = [&](TObject*, TListItem*, Integer) { ++Changes; };
  const int RowH = F.RowHeight();
  auto RowPoint = [&](int Row) { return F.View->ClientToScreen(Point(30, F.HeaderHeight() + Row * RowH + RowH / 2)); };
  TPoint P = RowPoint(2);
  F.Session.Press(P.X, P.Y);
  F.Session.Release(P.X, P.Y);
  F.Session.Advance(1000);
  P = RowPoint(5);
  F.Session.Press(P.X, P.Y, vantrel::win::rbLeft, MOD_SHIFT);
  F.Session.Release(P.X, P.Y, vantrel::win::rbLeft, MOD_SHIFT);
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.View->SelCount(), 4);
  EXPECT_GT(Changes, 0);
  std::vector<TPoint> Popups;
  F.View->OnContextPopup = [&](TObject*, const TPoint& At, Boolean& Handled) {
    Popups.push_back(At);
    Handled = true;
  };
  P = RowPoint(3);
  F.Session.Press(P.X, P.Y, vantrel::win::rbRight);
  F.Session.Release(P.X, P.Y, vantrel::win::rbRight);
  F.Session.PumpUntilIdle();
  ASSERT_EQ(Popups.size(), 1u);
  EXPECT_EQ(Popups[0], F.View->ScreenToClient(P));
  EXPECT_EQ(F.View->SelCount(), 4);  // a right click inside the selection keeps it
}

TEST(ListView, AReportShowsColumnsAndTheSelectedRow) {
  ListViewForm F(false);
  F.View->SetRowSelect(true);
  for (int I = 0; I < 6; ++I) {
    TListItem* Item = F.View->Items()->Add();
    Item->SetCaption("clip" + std::to_string(I) + ".mkv");
    Item->SubItems()->Add(std::to_string(100 + I) + " MB");
    Item->SubItems()->Add("Matroska");
  }
  F.View->SetFocus();
  F.View->SetItemIndex(2);
  const auto S = F.Session.Capture(F.Form->Handle());
  vantrel::display::SavePng(S, testing::TempDir() + "listview_report.png");
  const int RowH = F.RowHeight(), HeadH = F.HeaderHeight();
  // The header's face, the highlighted row across its columns, a plain row.
  EXPECT_EQ(RgbAt(S, 10 + 60, 10 + 2), RgbOf(ColorToRGB(clBtnFace)));
  EXPECT_EQ(RgbAt(S, 10 + 225, 10 + HeadH + 2 * RowH + 2), RgbOf(ColorToRGB(clHighlight)));
  EXPECT_EQ(RgbAt(S, 10 + 225, 10 + HeadH + 1 * RowH + 2), RgbOf(ColorToRGB(clWindow)));
  // The sub-items are drawn in their columns: dark pixels in the "Size" cell of row 0.
  int Dark = 0;
  for (int Y = 10 + HeadH; Y < 10 + HeadH + RowH; ++Y)
    for (int X = 10 + 106; X < 10 + 144; ++X) Dark += (RgbAt(S, X, Y) & 0xFF) < 0x80;
  EXPECT_GT(Dark, 10);
  EXPECT_EQ(F.View->Items()->Count(), 6);
  EXPECT_EQ(F.View->GetItemAt(30, HeadH + 3 * RowH + 2)->Caption(), "clip3.mkv");
  F.View->Unhook();
}

namespace {

// A report view of three kept rows whose caption edits are recorded.
struct CaptionEditForm : ListViewForm {
  std::vector<std::pair<Integer, String>> Edited;
  CaptionEditForm() : ListViewForm(false) {
    for (const char* Caption : {"alpha", "beta", "gamma"}) View->Items()->Add()->SetCaption(Caption);
    View->OnEdited = [this](TObject*, TListItem* Item, String& S) { Edited.emplace_back(Item->Index(), S); };
    View->SetFocus();
    Session.PumpUntilIdle();
  }
  HWND Editor() { return reinterpret_cast<HWND>(SendMessage(View->Handle(), LVM_GETEDITCONTROL, 0, 0)); }
  String EditorText() {
    char Buffer[64] = "";
    GetWindowText(Editor(), Buffer, sizeof Buffer);
    return Buffer;
  }
  TPoint LabelPoint(Integer Row) {
    const TRect R = View->Items()->Item(Row)->DisplayRect(drLabel);
    return View->ClientToScreen(Point(R.Left + 10, (R.Top + R.Bottom) / 2));
  }
  void Click(TPoint P) {
    Session.Press(P.X, P.Y);
    Session.Release(P.X, P.Y);
    Session.PumpUntilIdle();
  }
};

}  // namespace

TEST(ListViewCaptions, EnterKeepsTheTypedTextAndEscKeepsTheOld) {
  CaptionEditForm F;
  TListItem* Beta = F.View->Items()->Item(1);
  ASSERT_TRUE(Beta->EditCaption());
  F.Session.PumpUntilIdle();
  ASSERT_TRUE(F.View->IsEditing());
  EXPECT_EQ(F.EditorText(), "beta");
  EXPECT_EQ(GetFocus(), F.Editor());
  // The editor lies over the row's label.
  RECT Editor{};
  GetWindowRect(F.Editor(), &Editor);
  const TRect Label = Beta->DisplayRect(drLabel);
  EXPECT_EQ(Editor.Top - F.View->ClientToScreen(Point(0, 0)).Y, Label.Top);

  F.Session.Type("new");
  F.Session.PumpUntilIdle();
  F.Session.Key(VK_RETURN);
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.Edited, (std::vector<std::pair<Integer, String>>{{1, "new"}}));
  EXPECT_EQ(Beta->Caption(), "new");
  EXPECT_FALSE(F.View->IsEditing());
  EXPECT_EQ(GetFocus(), F.View->Handle());

  ASSERT_TRUE(F.View->Items()->Item(2)->EditCaption());
  F.Session.Type("zzz");
  F.Session.Key(VK_ESCAPE);
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.Edited.size(), 1u);  // no OnEdited for a cancelled edit
  EXPECT_EQ(F.View->Items()->Item(2)->Caption(), "gamma");
  EXPECT_FALSE(F.View->IsEditing());
  F.View->Unhook();
}

TEST(ListViewCaptions, OnEditingMayRefuseAndLosingTheFocusKeepsTheText) {
  CaptionEditForm F;
  Boolean Allow = false;
  std::vector<Integer> Asked;
  F.View->OnEditing = [&](TObject*, TListItem* Item, Boolean& AllowEdit) {
    Asked.push_back(Item->Index());
    AllowEdit = Allow;
  };
  EXPECT_FALSE(F.View->Items()->Item(0)->EditCaption());
  EXPECT_FALSE(F.View->IsEditing());
  EXPECT_EQ(Asked, (std::vector<Integer>{0}));

  Allow = true;
  ASSERT_TRUE(F.View->Items()->Item(0)->EditCaption());
  F.Session.Type("omega");
  F.Session.PumpUntilIdle();
  SetFocus(F.Form->Handle());
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.Edited, (std::vector<std::pair<Integer, String>>{{0, "omega"}}));
  EXPECT_EQ(F.View->Items()->Item(0)->Caption(), "omega");
  EXPECT_FALSE(F.View->IsEditing());
  F.View->Unhook();
}

TEST(ListViewCaptions, ASlowSecondClickOnTheFocusedRowEditsItADoubleClickDoesNot) {
  CaptionEditForm F;
  const UINT DoubleClick = GetDoubleClickTime();
  F.Click(F.LabelPoint(1));  // selects and focuses the row
  F.Session.Advance(DoubleClick + 100);
  EXPECT_FALSE(F.View->IsEditing());
  F.Click(F.LabelPoint(1));  // the second click
  EXPECT_FALSE(F.View->IsEditing());
  F.Session.Advance(DoubleClick + 1);
  F.Session.PumpUntilIdle();
  ASSERT_TRUE(F.View->IsEditing());
  EXPECT_EQ(F.EditorText(), "beta");
  F.Session.Key(VK_ESCAPE);
  F.Session.PumpUntilIdle();
  ASSERT_FALSE(F.View->IsEditing());

  // A double click on the same row opens it instead.
  F.Session.Advance(DoubleClick + 100);
  const TPoint P = F.LabelPoint(1);
  F.Session.Press(P.X, P.Y);
  F.Session.Release(P.X, P.Y);
  F.Session.Press(P.X, P.Y);
  F.Session.Release(P.X, P.Y);
  F.Session.PumpUntilIdle();
  F.Session.Advance(DoubleClick + 100);
  F.Session.PumpUntilIdle();
  EXPECT_FALSE(F.View->IsEditing());

  // Without LVS_EDITLABELS (a read-only view) a second click edits nothing.
  F.View->SetReadOnly(true);
  F.Session.Advance(DoubleClick + 100);
  F.Click(F.LabelPoint(1));
  F.Session.Advance(DoubleClick + 100);
  F.Session.PumpUntilIdle();
  EXPECT_FALSE(F.View->IsEditing());
  EXPECT_TRUE(F.Edited.empty());
  F.View->Unhook();
}

TEST(ListView, ListColumnsAreAsWideAsTheWidestLabelUnlessSet) {
  ListViewForm F(false);
  const HWND View = F.View->Handle();
  F.View->SetViewStyle(vsList);
  for (const char* Caption : {"a", "a rather longer caption", "mid caption"}) F.View->Items()->Add()->SetCaption(Caption);
  F.Session.PumpUntilIdle();
  const int Widest =
      static_cast<int>(SendMessage(View, LVM_GETSTRINGWIDTH, 0, reinterpret_cast<LPARAM>("a rather longer caption")));
  const int Width = static_cast<int>(SendMessage(View, LVM_GETCOLUMNWIDTH, 0, 0));
  EXPECT_GT(Width, Widest);
  EXPECT_LT(Width, Widest + 20);
  // Every row's cell has that width and its whole label fits.
  for (Integer I = 0; I < 3; ++I) {
    SCOPED_TRACE(I);
    const TRect Bounds = F.View->Items()->Item(I)->DisplayRect(drBounds);
    const TRect Label = F.View->Items()->Item(I)->DisplayRect(drLabel);
    EXPECT_EQ(Bounds.Right - Bounds.Left, Width);
    EXPECT_GE(Label.Right - Label.Left, Widest);
  }
  // A longer caption widens the columns.
  F.View->Items()->Item(0)->SetCaption("the longest caption of them all by far");
  F.Session.PumpUntilIdle();
  EXPECT_GT(SendMessage(View, LVM_GETCOLUMNWIDTH, 0, 0), Width);
  // A set width holds for every column until autosizing is asked again.
  EXPECT_TRUE(SendMessage(View, LVM_SETCOLUMNWIDTH, 0, 90));
  EXPECT_EQ(SendMessage(View, LVM_GETCOLUMNWIDTH, 0, 0), 90);
  EXPECT_EQ(F.View->Items()->Item(2)->DisplayRect(drBounds).Left, 0);
  EXPECT_FALSE(SendMessage(View, LVM_SETCOLUMNWIDTH, 1, 90));  // one width for all
  EXPECT_TRUE(SendMessage(View, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE));
  EXPECT_GT(SendMessage(View, LVM_GETCOLUMNWIDTH, 0, 0), 90);
  F.View->Unhook();
}

TEST(ListView, TextLongerThanTheBufferIsCutAtAWholeCharacter) {
  ListViewForm F(true);
  F.View->Items()->SetCount(3);
  String Long;
  for (int I = 0; I < 300; ++I) Long += "\xC3\xA9";  // é, two bytes each
  F.View->OnData = [&](TObject*, TListItem* Item) {
    Item->SetCaption(Long);
    Item->SubItems()->Add("x" + Long);  // odd byte count before each é
  };
  F.Session.PumpUntilIdle();
  auto Read = [&](int SubItem, int Max) {
    std::vector<char> Buffer(static_cast<size_t>(Max) + 8, '#');
    LVITEM I{};
    I.iSubItem = SubItem;
    I.pszText = Buffer.data();
    I.cchTextMax = Max;
    SendMessage(F.View->Handle(), LVM_GETITEMTEXT, 0, reinterpret_cast<LPARAM>(&I));
    for (size_t K = static_cast<size_t>(Max); K < Buffer.size(); ++K) EXPECT_EQ(Buffer[K], '#') << "overrun at " << K;
    return std::string(Buffer.data());
  };
  // The view asks its parent through a buffer of 260 bytes: 129 whole characters fit.
  struct Case {
    int SubItem, Max;
    size_t Bytes;
  };
  for (const Case& C : {Case{0, 1024, 258}, Case{1, 1024, 259}, Case{0, 6, 4}, Case{1, 6, 5}, Case{0, 2, 0}}) {
    SCOPED_TRACE(std::to_string(C.SubItem) + "/" + std::to_string(C.Max));
    const std::string Text = Read(C.SubItem, C.Max);
    EXPECT_EQ(Text.size(), C.Bytes);
    EXPECT_EQ((Utf8Length(Text) - C.SubItem) * 2 + C.SubItem, static_cast<Integer>(C.Bytes)) << "a broken character";
  }
  // Column captions likewise.
  F.View->Columns()->Items(1)->SetCaption("Größe");
  char Small[4] = "###";
  LVCOLUMN Column{};
  Column.mask = LVCF_TEXT;
  Column.pszText = Small;
  Column.cchTextMax = sizeof Small;
  ASSERT_TRUE(SendMessage(F.View->Handle(), LVM_GETCOLUMN, 1, reinterpret_cast<LPARAM>(&Column)));
  EXPECT_STREQ(Small, "Gr");
  F.View->Unhook();
}
