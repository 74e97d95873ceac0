// TrackPopupMenu: the layout of a popup menu (one column of 20-pixel rows, owner-drawn
// rows as the owner measures them), its top-most window that never takes activation, and
// the modal tracking loop over the GUI thread's queue that keeps the pointer and key
// messages for itself. Sub-menus open beside their item as a stack of levels.
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/win/Capture.h"
#include "platform/win/DrawText.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Input.h"
#include "platform/win/ListBox.h"  // MEASUREITEMSTRUCT
#include "platform/win/Menu.h"
#include "platform/win/MenuData.h"
#include "platform/win/Paint.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WindowDc.h"
#include "platform/win/WindowErrors.h"
#include "platform/win/WindowManager.h"
#include "platform/win/WndProc.h"

namespace vantrel::win {

namespace {

constexpr int MenuMinWidth = 100;
constexpr int MenuCheckMargin = 20;  // room for a check mark left of the text
constexpr int MenuShortCutGap = 24;  // between the caption and the short-cut text
constexpr int MenuRightMargin = 16;  // room for a sub-menu's arrow
constexpr const char* MenuWindowClass = "VantrelPopupMenu";

// The caption and the short-cut text of an item's text (split at the first tab).
void SplitMenuText(const std::string& Text, std::string& Caption, std::string& ShortCut) {
  const size_t Tab = Text.find('\t');
  Caption = Text.substr(0, Tab);
  ShortCut = Tab == std::string::npos ? std::string() : Text.substr(Tab + 1);
}

int MenuTextWidth(HDC DC, const std::string& Text) {
  if (Text.empty()) return 0;
  RECT R{0, 0, 0, 0};
  DrawText(DC, Text, -1, &R, DT_CALCRECT | DT_SINGLELINE);
  return R.Right - R.Left;
}

struct MenuPlace {
  int Index;  // in the menu's items
  RECT Rect;  // screen coordinates
};

struct MenuLayout {
  RECT Bounds{};
  std::vector<MenuPlace> Places;
};

// The rows of Menu when it opens at (X, Y); AltX is where it goes instead when it would
// leave the screen on the right (the point itself for a top-level menu).
MenuLayout LayOutMenu(HMENU Menu, HWND Owner, int X, int Y, UINT Flags, int AltX) {
  MenuLayout L;
  MenuRecord* R = FindMenuRecord(Menu);
  if (!R) return L;
  const HDC DC = GetDC(nullptr);
  const HGDIOBJ OldFont = SelectObject(DC, GetStockObject(DEFAULT_GUI_FONT));
  int Width = MenuMinWidth, Height = 0;
  std::vector<int> Heights;
  for (size_t I = 0; I < R->Items.size(); ++I) {
    const MenuItemRecord& It = R->Items[I];
    int W = 0, H = MenuItemHeight;
    if (It.IsOwnerDrawn()) {
      MEASUREITEMSTRUCT M;
      M.CtlType = ODT_MENU;
      M.itemID = static_cast<UINT>(It.Id);
      M.itemHeight = MenuItemHeight;
      M.itemData = It.Data;
      if (Owner && !(Flags & TPM_NONOTIFY)) SendMessage(Owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&M));
      W = static_cast<int>(M.itemWidth);
      H = static_cast<int>(M.itemHeight);
      R = FindMenuRecord(Menu);  // the owner may have changed the menu
      if (!R || I >= R->Items.size()) break;
    } else if (!It.IsSeparator()) {
      std::string Caption, ShortCut;
      SplitMenuText(It.Text, Caption, ShortCut);
      W = MenuCheckMargin + MenuTextWidth(DC, Caption) + MenuRightMargin;
      if (!ShortCut.empty()) W += MenuShortCutGap + MenuTextWidth(DC, ShortCut);
    }
    Width = std::max(Width, W);
    Heights.push_back(std::max(H, 0));
    Height += std::max(H, 0);
  }
  SelectObject(DC, OldFont);
  ReleaseDC(nullptr, DC);
  const int ScreenW = GetSystemMetrics(SM_CXSCREEN), ScreenH = GetSystemMetrics(SM_CYSCREEN);
  int Left = X, Top = Y;
  if (Flags & TPM_RIGHTALIGN) Left = X - Width;
  else if (Flags & TPM_CENTERALIGN) Left = X - Width / 2;
  if (Flags & TPM_BOTTOMALIGN) Top = Y - Height;
  else if (Flags & TPM_VCENTERALIGN) Top = Y - Height / 2;
  // Kept on the screen: flipped to the other side of the point where it would leave it.
  if (Left + Width > ScreenW) Left = std::max(0, AltX - Width);
  if (Top + Height > ScreenH) Top = std::max(0, Y - Height);
  Left = std::max(0, Left);
  Top = std::max(0, Top);
  L.Bounds = RECT{Left, Top, Left + Width, Top + Height};
  int Row = Top;
  for (size_t I = 0; I < Heights.size(); ++I) {
    L.Places.push_back({static_cast<int>(I), RECT{Left, Row, Left + Width, Row + Heights[I]}});
    Row += Heights[I];
  }
  return L;
}

bool MenuPointIn(const RECT& R, POINT P) { return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom; }

// One open (sub-)menu: its window, layout and highlighted row.
struct MenuLevel {
  HMENU Menu = nullptr;
  MenuLayout Layout;
  HWND Wnd = nullptr;
  WNDPROC Proc = nullptr;
  int Hot = -1;  // index into Layout.Places
};

class MenuTracker {
 public:
  MenuTracker(HWND Owner, UINT Flags) : FOwner(Owner), FFlags(Flags) {}
  ~MenuTracker() { CloseAbove(0); }

  // The chosen command id, 0 for none.
  UINT_PTR Run(HMENU Menu, int X, int Y) {
    WindowManager* M = WindowManager::Instance();
    if (!M) return 0;
    Notify(WM_ENTERMENULOOP, TRUE, 0);
    if (!Open(Menu, X, Y, X, 0)) {
      Notify(WM_EXITMENULOOP, TRUE, 0);
      return 0;
    }
    UINT_PTR Chosen = 0;
    bool PressedInside = false;
    for (;;) {
      MSG Msg;
      // Nothing waiting: the owner hears that the menu idles (the menu is drawn by then).
      if (!PeekMessage(&Msg, nullptr, 0, 0, PM_NOREMOVE) && !FLevels.empty())
        Notify(WM_ENTERIDLE, MSGF_MENU, reinterpret_cast<LPARAM>(FLevels.back()->Wnd));
      if (!StillOpen() || !FetchModalMessage(*M, Msg)) break;
      if (Msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(Msg.wParam));  // for the loop outside
        break;
      }
      bool End = false;
      switch (Msg.message) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
          Hover(Msg.pt);
          break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
          if (LevelAt(Msg.pt) < 0) {
            End = true;  // a press outside closes the menu
          } else {
            PressedInside = true;
            Hover(Msg.pt);
          }
          break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_NCLBUTTONUP:
        case WM_NCRBUTTONUP: {
          const bool Right = Msg.message == WM_RBUTTONUP || Msg.message == WM_NCRBUTTONUP;
          const int L = LevelAt(Msg.pt);
          if (L < 0) {
            End = PressedInside;
            break;
          }
          if (Right && !(FFlags & TPM_RIGHTBUTTON)) break;
          const int P = PlaceAt(L, Msg.pt);
          if (P >= 0) End = Activate(static_cast<size_t>(L), P, Chosen);
          break;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
          End = Key(Msg.wParam, Chosen);
          break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
        case WM_CHAR:
        case WM_SYSCHAR:
          break;
        default:
          if (Msg.message >= WM_MOUSEFIRST && Msg.message <= WM_MOUSELAST) break;
          TranslateMessage(&Msg);
          DispatchMessage(&Msg);
          break;
      }
      if (End || !StillOpen()) break;
    }
    CloseAbove(0);
    Notify(WM_EXITMENULOOP, TRUE, 0);
    return Chosen;
  }

 private:
  void Notify(UINT Msg, WPARAM W, LPARAM P) {
    if (!(FFlags & TPM_NONOTIFY) && IsWindow(FOwner)) SendMessage(FOwner, Msg, W, P);
  }

  const MenuItemRecord* Item(size_t L, int Place) const {
    MenuRecord* R = FindMenuRecord(FLevels[L]->Menu);
    if (!R || Place < 0 || static_cast<size_t>(Place) >= FLevels[L]->Layout.Places.size()) return nullptr;
    const size_t I = static_cast<size_t>(FLevels[L]->Layout.Places[static_cast<size_t>(Place)].Index);
    return I < R->Items.size() ? &R->Items[I] : nullptr;
  }

  bool StillOpen() const {
    for (const auto& L : FLevels)
      if (!IsWindow(L->Wnd) || !IsMenu(L->Menu)) return false;
    return !FLevels.empty() && GetCapture() == FLevels.front()->Wnd;
  }

  // Opens Menu as the next level; false when it has no items or no window could be made.
  bool Open(HMENU Menu, int X, int Y, int AltX, int IndexInParent) {
    Notify(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Menu), MAKELPARAM(static_cast<WORD>(IndexInParent), FALSE));
    auto L = std::make_unique<MenuLevel>();
    L->Menu = Menu;
    L->Layout = LayOutMenu(Menu, FOwner, X, Y, FFlags, AltX);
    if (L->Layout.Places.empty()) return false;
    WNDCLASS Existing{};
    if (!GetClassInfo(nullptr, MenuWindowClass, &Existing)) {
      WNDCLASS Class{};
      Class.style = CS_SAVEBITS | CS_DROPSHADOW;
      Class.lpfnWndProc = MakeWndProc(&DefWindowProc);
      Class.lpszClassName = MenuWindowClass;
      RegisterClass(&Class);
    }
    MenuLevel* Raw = L.get();
    L->Proc = MakeWndProcInstance([this, Raw](HWND H, UINT Msg, WPARAM W, LPARAM P) {
      return LevelProc(*Raw, H, Msg, W, P);
    });
    const RECT& B = L->Layout.Bounds;
    L->Wnd = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, MenuWindowClass, "", WS_POPUP, B.Left,
                            B.Top, B.Right - B.Left, B.Bottom - B.Top, nullptr, nullptr, nullptr, nullptr);
    if (!L->Wnd) {
      FreeObjectInstance(L->Proc);
      return false;
    }
    SetWindowLongPtr(L->Wnd, GWL_WNDPROC, WndProcToLong(L->Proc));
    if (MenuRecord* R = FindMenuRecord(Menu)) {
      R->Window = L->Wnd;
      R->OpenRects.clear();
      for (const MenuPlace& P : L->Layout.Places) R->OpenRects.push_back(P.Rect);
    }
    ShowWindow(L->Wnd, SW_SHOWNA);
    const bool First = FLevels.empty();
    FLevels.push_back(std::move(L));
    if (First) SetCapture(FLevels.front()->Wnd);
    return true;
  }

  // Closes the levels from index From on.
  void CloseAbove(size_t From) {
    while (FLevels.size() > From) {
      std::unique_ptr<MenuLevel> L = std::move(FLevels.back());
      FLevels.pop_back();
      if (MenuRecord* R = FindMenuRecord(L->Menu)) {
        R->Window = nullptr;
        R->OpenRects.clear();
      }
      if (L->Wnd && IsWindow(L->Wnd)) {
        if (GetCapture() == L->Wnd) ReleaseCapture();
        DestroyWindow(L->Wnd);
      }
      if (L->Proc) {
        try {
          FreeObjectInstance(L->Proc);
        } catch (...) {  // still installed: the window outlived us, leave the object alive
          L.release();
        }
      }
    }
  }

  int LevelAt(POINT P) const {
    for (size_t I = FLevels.size(); I-- > 0;)
      if (MenuPointIn(FLevels[I]->Layout.Bounds, P)) return static_cast<int>(I);
    return -1;
  }

  int PlaceAt(int Level, POINT P) const {
    const auto& Places = FLevels[static_cast<size_t>(Level)]->Layout.Places;
    for (size_t I = 0; I < Places.size(); ++I)
      if (MenuPointIn(Places[I].Rect, P)) return static_cast<int>(I);
    return -1;
  }

  void SetHot(size_t L, int Place) {
    const MenuItemRecord* It = Item(L, Place);
    if (!It || !It->Selectable()) Place = -1;
    MenuLevel& Lv = *FLevels[L];
    if (Place == Lv.Hot) return;
    Lv.Hot = Place;
    if (Lv.Wnd) InvalidateRect(Lv.Wnd, nullptr, FALSE);
  }

  // Opens the sub-menu of the hot row of level L (closing any other above it).
  void OpenSub(size_t L) {
    const MenuItemRecord* It = Item(L, FLevels[L]->Hot);
    if (!It || !It->SubMenu) return;
    if (FLevels.size() > L + 1 && FLevels[L + 1]->Menu == It->SubMenu) return;
    CloseAbove(L + 1);
    const RECT Row = FLevels[L]->Layout.Places[static_cast<size_t>(FLevels[L]->Hot)].Rect;
    const HMENU Sub = It->SubMenu;
    if (Open(Sub, Row.Right, Row.Top, Row.Left, FLevels[L]->Layout.Places[static_cast<size_t>(FLevels[L]->Hot)].Index) &&
        FLevels.size() > L + 1)
      SetHot(L + 1, -1);
  }

  void Hover(POINT P) {
    const int L = LevelAt(P);
    if (L < 0) {
      if (!FLevels.empty()) SetHot(FLevels.size() - 1, -1);
      return;
    }
    SetHot(static_cast<size_t>(L), PlaceAt(L, P));
    const MenuItemRecord* It = Item(static_cast<size_t>(L), FLevels[static_cast<size_t>(L)]->Hot);
    if (It && It->SubMenu) OpenSub(static_cast<size_t>(L));
    else CloseAbove(static_cast<size_t>(L) + 1);
  }

  // A click or Enter on a row: true when it ends the menu with Chosen.
  bool Activate(size_t L, int Place, UINT_PTR& Chosen) {
    const MenuItemRecord* It = Item(L, Place);
    if (!It || !It->Selectable()) return false;
    if (It->SubMenu) {
      SetHot(L, Place);
      OpenSub(L);
      return false;
    }
    Chosen = It->Id;
    return true;
  }

  void Step(int Dir) {
    const size_t L = FLevels.size() - 1;
    const int N = static_cast<int>(FLevels[L]->Layout.Places.size());
    int I = FLevels[L]->Hot;
    for (int Tries = 0; Tries < N; ++Tries) {
      I = I < 0 ? (Dir > 0 ? 0 : N - 1) : (I + Dir + N) % N;
      const MenuItemRecord* It = Item(L, I);
      if (It && It->Selectable()) {
        SetHot(L, I);
        return;
      }
    }
  }

  bool Key(WPARAM Vk, UINT_PTR& Chosen) {
    const size_t Top = FLevels.size() - 1;
    switch (Vk) {
      case VK_ESCAPE:
      case VK_LEFT:
        if (Top > 0) {
          CloseAbove(Top);
          return false;
        }
        return Vk == VK_ESCAPE;
      case VK_MENU:
      case VK_F10:
        return true;
      case VK_DOWN:
        Step(1);
        return false;
      case VK_UP:
        Step(-1);
        return false;
      case VK_RIGHT:
        OpenSub(Top);
        if (FLevels.size() > Top + 1) Step(1);
        return false;
      case VK_RETURN:
        if (FLevels[Top]->Hot < 0) return true;
        return Activate(Top, FLevels[Top]->Hot, Chosen) || !StillOpen();
      default:
        return false;
    }
  }

  void Paint(MenuLevel& Lv) {
    PAINTSTRUCT PS{};
    const HDC DC = BeginPaint(Lv.Wnd, &PS);
    const HGDIOBJ Normal = GetStockObject(DEFAULT_GUI_FONT);
    LOGFONT Bold{};
    GetObject(Normal, sizeof Bold, &Bold);
    Bold.lfWeight = FW_BOLD;
    const HFONT BoldFont = CreateFontIndirect(&Bold);
    const HGDIOBJ OldFont = SelectObject(DC, Normal);
    SetBkMode(DC, TRANSPARENT);
    const int OX = Lv.Layout.Bounds.Left, OY = Lv.Layout.Bounds.Top;
    for (size_t I = 0; I < Lv.Layout.Places.size(); ++I) {
      MenuRecord* Rec = FindMenuRecord(Lv.Menu);
      if (!Rec) break;
      const MenuPlace& P = Lv.Layout.Places[I];
      if (static_cast<size_t>(P.Index) >= Rec->Items.size()) break;
      const MenuItemRecord It = Rec->Items[static_cast<size_t>(P.Index)];
      RECT R{P.Rect.Left - OX, P.Rect.Top - OY, P.Rect.Right - OX, P.Rect.Bottom - OY};
      const bool IsHot = static_cast<int>(I) == Lv.Hot;
      const bool Grayed = It.State & (MF_GRAYED | MF_DISABLED);
      FillRect(DC, &R, GetSysColorBrush(IsHot ? COLOR_HIGHLIGHT : COLOR_MENU));
      if (It.IsSeparator()) {
        RECT Line{R.Left + 2, (R.Top + R.Bottom) / 2, R.Right - 2, (R.Top + R.Bottom) / 2 + 1};
        FillRect(DC, &Line, GetSysColorBrush(COLOR_GRAYTEXT));
        continue;
      }
      if (It.IsOwnerDrawn()) {
        DRAWITEMSTRUCT D;
        D.CtlType = ODT_MENU;
        D.itemID = static_cast<UINT>(It.Id);
        D.itemAction = ODA_DRAWENTIRE;
        D.itemState = (IsHot ? ODS_SELECTED : 0) | (Grayed ? ODS_GRAYED : 0) |
                      ((It.State & MF_CHECKED) ? ODS_CHECKED : 0) | (It.Default ? ODS_DEFAULT : 0);
        D.hwndItem = reinterpret_cast<HWND>(Lv.Menu);
        D.hDC = DC;
        D.rcItem = R;
        D.itemData = It.Data;
        if (!(FFlags & TPM_NONOTIFY) && IsWindow(FOwner)) SendMessage(FOwner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&D));
        continue;
      }
      const COLORREF Ink = GetSysColor(Grayed ? COLOR_GRAYTEXT : IsHot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
      SetTextColor(DC, Ink);
      const HBRUSH InkBrush = GetSysColorBrush(IsHot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
      if (It.State & MF_CHECKED) {
        if (It.Type & MF_RADIOCHECK) {
          const HGDIOBJ OldBrush = SelectObject(DC, InkBrush);
          const HGDIOBJ OldPen = SelectObject(DC, GetStockObject(NULL_PEN));
          Ellipse(DC, R.Left + 6, R.Top + 7, R.Left + 13, R.Top + 14);
          SelectObject(DC, OldPen);
          SelectObject(DC, OldBrush);
        } else {
          RECT Mark{R.Left + 6, R.Top + 7, R.Left + 12, R.Top + 13};
          FillRect(DC, &Mark, InkBrush);
        }
      }
      if (It.SubMenu) {  // an arrow pointing right
        const int MidY = (R.Top + R.Bottom) / 2;
        for (int Col = 0; Col < 4; ++Col) {
          RECT Bar{R.Right - 10 + Col, MidY - 3 + Col, R.Right - 9 + Col, MidY + 4 - Col};
          FillRect(DC, &Bar, InkBrush);
        }
      }
      std::string Caption, ShortCut;
      SplitMenuText(It.Text, Caption, ShortCut);
      RECT T{R.Left + MenuCheckMargin, R.Top, R.Right - MenuRightMargin, R.Bottom};
      SelectObject(DC, It.Default && BoldFont ? static_cast<HGDIOBJ>(BoldFont) : Normal);
      DrawText(DC, Caption, -1, &T, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
      SelectObject(DC, Normal);
      if (!ShortCut.empty()) DrawText(DC, ShortCut, -1, &T, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    // An edge, so the menu stands apart from a window of the same colour beneath it.
    RECT Edge{0, 0, Lv.Layout.Bounds.Right - OX, Lv.Layout.Bounds.Bottom - OY};
    FrameRect(DC, &Edge, GetSysColorBrush(COLOR_BTNSHADOW));
    SelectObject(DC, OldFont);
    if (BoldFont) DeleteObject(BoldFont);
    EndPaint(Lv.Wnd, &PS);
  }

  LRESULT LevelProc(MenuLevel& Lv, HWND H, UINT Msg, WPARAM W, LPARAM P) {
    switch (Msg) {
      case WM_PAINT:
        Paint(Lv);
        return 0;
      case WM_ERASEBKGND:
        return 1;
      case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
      default:
        return DefWindowProc(H, Msg, W, P);
    }
  }

  HWND FOwner;
  UINT FFlags;
  std::vector<std::unique_ptr<MenuLevel>> FLevels;
};

UINT_PTR RunPopupMenu(HMENU Menu, UINT Flags, int X, int Y, HWND Owner) {
  if (!FindMenuRecord(Menu)) return 0;
  if (!IsWindow(Owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (FindMenuRecord(Menu)->Window) return 0;  // already open
  if (GetCapture()) SendMessage(GetCapture(), WM_CANCELMODE, 0, 0);
  MenuTracker Tracker(Owner, Flags);
  return Tracker.Run(Menu, X, Y);
}

}  // namespace

RECT PopupMenuItemRect(HMENU Menu, HWND Owner, int X, int Y, UINT Flags, int Pos) {
  const MenuLayout L = LayOutMenu(Menu, Owner, X, Y, Flags, X);
  for (const MenuPlace& P : L.Places)
    if (P.Index == Pos) return P.Rect;
  return RECT{0, 0, 0, 0};
}

HWND MenuWindow(HMENU Menu) {
  if (!IsMenu(Menu)) return nullptr;
  return FindMenuRecord(Menu)->Window;
}

}  // namespace vantrel::win

BOOL TrackPopupMenu(HMENU Menu, UINT Flags, int X, int Y, int, HWND Owner, const RECT*) {
  const bool Valid = IsMenu(Menu) && IsWindow(Owner);
  const UINT_PTR Chosen = vantrel::win::RunPopupMenu(Menu, Flags, X, Y, Owner);
  if (Flags & TPM_RETURNCMD) return static_cast<BOOL>(Chosen);
  if (Chosen) PostMessage(Owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(Chosen), 0), 0);
  return Valid ? TRUE : FALSE;
}

BOOL TrackPopupMenuEx(HMENU Menu, UINT Flags, int X, int Y, HWND Owner, TPMPARAMS*) {
  return TrackPopupMenu(Menu, Flags, X, Y, 0, Owner, nullptr);
}
