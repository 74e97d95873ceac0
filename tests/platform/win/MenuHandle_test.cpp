#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/HeadlessPng.h"
#include "platform/display/HeadlessSession.h"
#include "platform/win/Keyboard.h"
#include "platform/win/ListBox.h"  // MEASUREITEMSTRUCT
#include "platform/win/Menu.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysMetrics.h"
#include "tests/support/WinMessageLog.h"
#include "tests/support/WinPaintProbe.h"

using vantrel::display::HeadlessSession;
using vantrel::test::MessageLog;

namespace {

std::string MenuText(HMENU Menu, UINT Item, UINT Flags) {
  char Buffer[64];
  const int N = GetMenuString(Menu, Item, Buffer, sizeof Buffer, Flags);
  return std::string(Buffer, static_cast<size_t>(N));
}

// A COLORREF as a surface pixel (0x00RRGGBB).
uint32_t MenuPixelOf(COLORREF C) { return (GetRValue(C) << 16) | (GetGValue(C) << 8) | GetBValue(C); }

POINT CentreOf(const RECT& R) { return POINT{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}; }

// A popup of three commands, 101..103.
HMENU ThreeCommands() {
  HMENU M = CreatePopupMenu();
  AppendMenu(M, MF_STRING, 101, "&Open");
  AppendMenu(M, MF_STRING, 102, "&Delete\tDel");
  AppendMenu(M, MF_STRING, 103, "P&roperties\tAlt+Enter");
  return M;
}

TEST(MenuHandle, ItemsAreBuiltReadAndChangedByPositionOrCommand) {
  HeadlessSession S;
  HMENU M = CreatePopupMenu();
  ASSERT_TRUE(IsMenu(M));
  EXPECT_TRUE(AppendMenu(M, MF_STRING, 10, "&Open"));
  EXPECT_TRUE(AppendMenu(M, MF_SEPARATOR, 0, nullptr));
  EXPECT_TRUE(AppendMenu(M, MF_STRING | MF_GRAYED, 30, "&Delete"));
  EXPECT_TRUE(InsertMenu(M, 30, MF_BYCOMMAND | MF_STRING | MF_CHECKED, 20, "Cu&t\tCtrl+X"));  // before Delete
  EXPECT_TRUE(InsertMenu(M, 0, MF_BYPOSITION | MF_STRING, 5, "First"));
  MENUITEMINFO Info;
  Info.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_STATE;
  Info.fType = MFT_RADIOCHECK;
  Info.fState = MFS_CHECKED;
  Info.wID = 40;
  Info.dwTypeData = const_cast<char*>("Radio");
  EXPECT_TRUE(InsertMenuItem(M, static_cast<UINT>(-1), TRUE, &Info));
  HMENU Sub = CreatePopupMenu();
  AppendMenu(Sub, MF_STRING, 50, "Inner");
  EXPECT_TRUE(AppendMenu(M, MF_POPUP, reinterpret_cast<UINT_PTR>(Sub), "Send &To"));

  ASSERT_EQ(GetMenuItemCount(M), 7);
  const std::vector<UINT> Ids = {5, 10, 0, 20, 30, 40, static_cast<UINT>(-1)};
  for (int I = 0; I < 7; ++I) EXPECT_EQ(GetMenuItemID(M, I), Ids[static_cast<size_t>(I)]) << I;
  EXPECT_EQ(GetSubMenu(M, 6), Sub);
  EXPECT_EQ(MenuText(M, 20, MF_BYCOMMAND), "Cu&t\tCtrl+X");
  EXPECT_EQ(MenuText(M, 6, MF_BYPOSITION), "Send &To");
  EXPECT_EQ(MenuText(M, 50, MF_BYCOMMAND), "Inner");  // found in the sub-menu
  EXPECT_EQ(GetMenuString(M, 10, nullptr, 0, MF_BYCOMMAND), 5);
  EXPECT_EQ(GetMenuString(M, 99, nullptr, 0, MF_BYCOMMAND), 0);

  EXPECT_EQ(GetMenuState(M, 2, MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
  EXPECT_EQ(GetMenuState(M, 40, MF_BYCOMMAND), MF_RADIOCHECK | MF_CHECKED);
  EXPECT_EQ(GetMenuState(M, 6, MF_BYPOSITION) & MF_POPUP, MF_POPUP);
  // Enable and check answer the state before.
  EXPECT_EQ(EnableMenuItem(M, 30, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED);
  EXPECT_EQ(EnableMenuItem(M, 30, MF_BYCOMMAND | MF_DISABLED), 0u);
  EXPECT_EQ(EnableMenuItem(M, 99, MF_BYCOMMAND | MF_GRAYED), static_cast<DWORD>(-1));
  EXPECT_EQ(CheckMenuItem(M, 3, MF_BYPOSITION | MF_UNCHECKED), MF_CHECKED);
  EXPECT_EQ(CheckMenuItem(M, 20, MF_BYCOMMAND | MF_CHECKED), 0u);
  EXPECT_EQ(GetMenuState(M, 20, MF_BYCOMMAND), MF_CHECKED);
  EXPECT_TRUE(SetMenuDefaultItem(M, 10, FALSE));
  EXPECT_EQ(GetMenuState(M, 1, MF_BYPOSITION), MF_DEFAULT);
  EXPECT_TRUE(SetMenuDefaultItem(M, 0, TRUE));
  EXPECT_EQ(GetMenuState(M, 10, MF_BYCOMMAND), 0u);
  EXPECT_FALSE(SetMenuDefaultItem(M, 99, FALSE));

  // The sub-menu goes with its menu; a destroyed menu is invalid from then on.
  EXPECT_TRUE(DestroyMenu(M));
  EXPECT_FALSE(IsMenu(M));
  EXPECT_FALSE(IsMenu(Sub));
  EXPECT_EQ(GetMenuItemCount(M), -1);
  EXPECT_FALSE(AppendMenu(M, MF_STRING, 1, "x"));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
  EXPECT_FALSE(DestroyMenu(M));
}

TEST(MenuHandle, TrackingReturnsTheClickedCommandAfterTheOwnerWasToldToInitialise) {
  HeadlessSession S;
  MessageLog Log;
  HWND Owner = Log.Create(WS_OVERLAPPED | WS_VISIBLE, 0, 0, 300, 200);
  HMENU M = ThreeCommands();
  bool WindowAtInit = true;
  Log.Handler() = [&](HWND, UINT Msg, WPARAM W, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(W) == M) WindowAtInit = vantrel::win::MenuWindow(M) != nullptr;
    return std::nullopt;
  };
  const RECT Second = vantrel::win::PopupMenuItemRect(M, Owner, 100, 120, 0, 1);
  EXPECT_EQ(Second.Top, 120 + vantrel::win::MenuItemHeight);
  EXPECT_EQ(Second.Left, 100);
  const POINT C = CentreOf(Second);
  S.Move(C.X, C.Y);
  S.Press(C.X, C.Y);
  S.Release(C.X, C.Y);
  EXPECT_EQ(TrackPopupMenu(M, TPM_RETURNCMD | TPM_LEFTALIGN, 100, 120, 0, Owner, nullptr), 102);
  EXPECT_FALSE(WindowAtInit);  // asked before the menu showed
  const std::vector<UINT> Menus = {WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_EXITMENULOOP, WM_COMMAND};
  EXPECT_EQ(Log.Sequence(Owner, Menus), (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_EXITMENULOOP}));
  EXPECT_EQ(vantrel::win::MenuWindow(M), nullptr);

  // Esc dismisses it: 0.
  S.Key(VK_ESCAPE);
  EXPECT_EQ(TrackPopupMenu(M, TPM_RETURNCMD, 100, 120, 0, Owner, nullptr), 0);
  // Without TPM_RETURNCMD the owner is posted the command.
  Log.Clear();
  S.Move(C.X, C.Y);
  S.Press(C.X, C.Y);
  S.Release(C.X, C.Y);
  EXPECT_TRUE(TrackPopupMenu(M, 0, 100, 120, 0, Owner, nullptr));
  S.PumpUntilIdle();
  ASSERT_EQ(Log.Count(Owner, WM_COMMAND), 1u);
  for (const auto& L : Log.Messages())
    if (L.Msg == WM_COMMAND) {
      EXPECT_EQ(L.WParam, 102u);
    }
  // A right click chooses only with TPM_RIGHTBUTTON.
  S.Press(C.X, C.Y, vantrel::win::rbRight);
  S.Release(C.X, C.Y, vantrel::win::rbRight);
  EXPECT_EQ(TrackPopupMenu(M, TPM_RETURNCMD, 100, 120, 0, Owner, nullptr), 0);
  S.Press(C.X, C.Y, vantrel::win::rbRight);
  S.Release(C.X, C.Y, vantrel::win::rbRight);
  EXPECT_EQ(TrackPopupMenu(M, TPM_RETURNCMD | TPM_RIGHTBUTTON, 100, 120, 0, Owner, nullptr), 102);
  // A grayed item cannot be chosen.
  EnableMenuItem(M, 102, MF_GRAYED);
  S.Press(C.X, C.Y);
  S.Release(C.X, C.Y);
  EXPECT_EQ(TrackPopupMenu(M, TPM_RETURNCMD, 100, 120, 0, Owner, nullptr), 0);
  DestroyMenu(M);
}

TEST(MenuHandle, AlignmentAndTheScreenEdgesPlaceTheMenu) {
  HeadlessSession S;
  MessageLog Log;
  HWND Owner = Log.Create(WS_OVERLAPPED, 0, 0, 300, 200);
  HMENU M = ThreeCommands();
  const RECT Left = vantrel::win::PopupMenuItemRect(M, Owner, 400, 300, TPM_LEFTALIGN, 0);
  const int Width = Left.Right - Left.Left;
  EXPECT_GE(Width, 100);
  EXPECT_EQ(vantrel::win::PopupMenuItemRect(M, Owner, 400, 300, TPM_RIGHTALIGN, 0).Right, 400);
  EXPECT_EQ(vantrel::win::PopupMenuItemRect(M, Owner, 400, 300, TPM_CENTERALIGN, 0).Left, 400 - Width / 2);
  // At the bottom-right corner it opens up and to the left of the point.
  const int W = GetSystemMetrics(SM_CXSCREEN), H = GetSystemMetrics(SM_CYSCREEN);
  const RECT Last = vantrel::win::PopupMenuItemRect(M, Owner, W - 1, H - 1, 0, 2);
  EXPECT_EQ(Last.Right, W - 1);
  EXPECT_EQ(Last.Bottom, H - 1);
  EXPECT_EQ(vantrel::win::PopupMenuItemRect(M, Owner, 0, 0, 0, 3).Right, 0);  // no such item
  DestroyMenu(M);
}

TEST(MenuHandle, OwnerDrawnItemsAreMeasuredAndDrawnByTheOwner) {
  HeadlessSession S;
  MessageLog Log;
  HWND Owner = Log.Create(WS_OVERLAPPED | WS_VISIBLE, 0, 0, 300, 200);
  HMENU M = CreatePopupMenu();
  AppendMenu(M, MF_STRING, 1, "Plain");
  AppendMenu(M, MF_OWNERDRAW, 2, reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(0xD47A)));
  std::vector<std::string> Seen;
  Log.Handler() = [&](HWND, UINT Msg, WPARAM, LPARAM P) -> std::optional<LRESULT> {
    if (Msg == WM_MEASUREITEM) {
      auto& Mi = *reinterpret_cast<MEASUREITEMSTRUCT*>(P);
      Seen.push_back("measure " + std::to_string(Mi.CtlType) + " " + std::to_string(Mi.itemID) + " " +
                     std::to_string(Mi.itemData));
      Mi.itemWidth = 250;
      Mi.itemHeight = 33;
      return TRUE;
    }
    if (Msg == WM_DRAWITEM) {
      const auto& D = *reinterpret_cast<const DRAWITEMSTRUCT*>(P);
      Seen.push_back("draw " + std::to_string(D.CtlType) + " " + std::to_string(D.itemID) + " top " +
                     std::to_string(D.rcItem.Top) + ((D.itemState & ODS_SELECTED) ? " selected" : ""));
      return TRUE;
    }
    return std::nullopt;
  };
  const RECT R = vantrel::win::PopupMenuItemRect(M, Owner, 50, 50, 0, 1);
  EXPECT_EQ(R.Right - R.Left, 250);
  EXPECT_EQ(R.Bottom - R.Top, 33);
  Seen.clear();
  S.Move(R.Left + 5, R.Top + 5);
  EXPECT_EQ(TrackPopupMenu(M, TPM_RETURNCMD, 50, 50, 0, Owner, nullptr), 0);
  ASSERT_GE(Seen.size(), 2u);
  EXPECT_EQ(Seen.front(), "measure 1 2 " + std::to_string(0xD47A));
  EXPECT_EQ(Seen.back(), "draw 1 2 top 20 selected");  // window coordinates, under the pointer
  DestroyMenu(M);
}

TEST(MenuHandle, ASubMenuOpensBesideItsItemAndItsCommandsCanBeChosen) {
  HeadlessSession S;
  MessageLog Log;
  HWND Owner = Log.Create(WS_OVERLAPPED | WS_VISIBLE, 0, 0, 300, 200);
  HMENU M = ThreeCommands();
  HMENU Sub = CreatePopupMenu();
  AppendMenu(Sub, MF_STRING, 201, "Desktop");
  AppendMenu(Sub, MF_STRING, 202, "Mail Recipient");
  AppendMenu(M, MF_POPUP, reinterpret_cast<UINT_PTR>(Sub), "Send &To");
  std::vector<HMENU> Initialised;
  Log.Handler() = [&](HWND, UINT Msg, WPARAM W, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_INITMENUPOPUP) Initialised.push_back(reinterpret_cast<HMENU>(W));
    return std::nullopt;
  };
  const RECT Item = vantrel::win::PopupMenuItemRect(M, Owner, 100, 100, 0, 3);
  // The sub-menu opens at the item's right edge, level with it.
  const RECT Inner = vantrel::win::PopupMenuItemRect(Sub, Owner, Item.Right, Item.Top, 0, 1);
  S.Move(CentreOf(Item).X, CentreOf(Item).Y);
  S.Move(CentreOf(Inner).X, CentreOf(Inner).Y);
  S.Press(CentreOf(Inner).X, CentreOf(Inner).Y);
  S.Release(CentreOf(Inner).X, CentreOf(Inner).Y);
  EXPECT_EQ(TrackPopupMenu(M, TPM_RETURNCMD, 100, 100, 0, Owner, nullptr), 202);
  EXPECT_EQ(Initialised, (std::vector<HMENU>{M, Sub}));
  // Keys: Up goes to the last item, Right opens it, Enter runs its first command.
  S.Move(700, 700);
  S.Key(VK_UP);
  S.Key(VK_RIGHT);
  S.Key(VK_RETURN);
  EXPECT_EQ(TrackPopupMenu(M, TPM_RETURNCMD, 100, 100, 0, Owner, nullptr), 201);
  DestroyMenu(M);
}

TEST(MenuHandle, AnOpenMenuShowsItsItemsAsAPersonSeesThem) {
  HeadlessSession S;
  MessageLog Log;
  HWND Owner = Log.Create(WS_OVERLAPPED | WS_VISIBLE, 0, 0, 300, 200);
  HMENU M = CreatePopupMenu();
  AppendMenu(M, MF_STRING, 1, "&Open");
  SetMenuDefaultItem(M, 1, FALSE);
  AppendMenu(M, MF_SEPARATOR, 0, nullptr);
  AppendMenu(M, MF_STRING | MF_CHECKED, 2, "&Checked\tCtrl+K");
  AppendMenu(M, MF_STRING | MF_GRAYED, 3, "&Grayed");
  HMENU Sub = CreatePopupMenu();
  AppendMenu(Sub, MF_STRING, 4, "Inner");
  AppendMenu(M, MF_POPUP, reinterpret_cast<UINT_PTR>(Sub), "&More");
  const RECT Checked = vantrel::win::PopupMenuItemRect(M, Owner, 20, 20, 0, 2);
  S.Move(CentreOf(Checked).X, CentreOf(Checked).Y);
  // Taken when the loop idles with the menu drawn and the pointer on "Checked".
  std::optional<vantrel::win::Surface> Taken;
  RECT OpenRect{};
  Log.Handler() = [&](HWND, UINT Msg, WPARAM W, LPARAM P) -> std::optional<LRESULT> {
    if (Msg == WM_ENTERIDLE && W == MSGF_MENU && !Taken) {
      Taken.emplace(S.Capture(reinterpret_cast<HWND>(P)));
      EXPECT_TRUE(GetMenuItemRect(Owner, M, 2, &OpenRect));  // only while it is open
    }
    return std::nullopt;
  };
  EXPECT_EQ(TrackPopupMenu(M, TPM_RETURNCMD, 20, 20, 0, Owner, nullptr), 0);
  ASSERT_TRUE(Taken.has_value());
  EXPECT_EQ(OpenRect, Checked);
  EXPECT_FALSE(GetMenuItemRect(Owner, M, 2, &OpenRect));
  const vantrel::win::Surface& Shot = *Taken;
  vantrel::display::SavePng(Shot, ::testing::TempDir() + "menu-open.png");
  // The hot row in the highlight colour, the others in the menu colour; a dark check mark.
  const int Y = Checked.Top - 20;
  EXPECT_EQ(vantrel::test::PixelAt(Shot, Shot.Width() - 3, Y + 2), MenuPixelOf(GetSysColor(COLOR_HIGHLIGHT)));
  EXPECT_EQ(vantrel::test::PixelAt(Shot, Shot.Width() - 3, 2), MenuPixelOf(GetSysColor(COLOR_MENU)));
  EXPECT_EQ(vantrel::test::PixelAt(Shot, 8, Y + 9), MenuPixelOf(GetSysColor(COLOR_HIGHLIGHTTEXT)));
  DestroyMenu(M);
}

}  // namespace
