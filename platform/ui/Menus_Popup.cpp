// The plain popup menu: the visible items become a menu handle (sub-items a sub-menu,
// items with draw or measure handlers owner-drawn), tracked by TrackPopupMenu with a
// hidden window of the menu's own as owner, which answers WM_MEASUREITEM and WM_DRAWITEM
// through the items' handlers. The chosen item runs once the menu is gone.
#include <algorithm>

#include "platform/ui/Menus.h"
#include "platform/win/Capture.h"
#include "platform/win/DrawText.h"
#include "platform/win/Gdi.h"
#include "platform/win/ListBox.h"  // MEASUREITEMSTRUCT
#include "platform/win/Menu.h"
#include "platform/win/SysColors.h"
#include "platform/win/WindowDc.h"
#include "platform/win/WindowManager.h"
#include "platform/win/WndProc.h"

namespace {

constexpr Integer PopupCheckMargin = 20;  // room for a check mark or image left of the text
constexpr Integer PopupShortCutGap = 24;  // between the caption and the short-cut text
constexpr Integer PopupRightMargin = 16;
constexpr const char* PopupOwnerClass = "VantrelPopupMenuOwner";

Integer PopupTextWidth(const String& Text) {
  if (Text.empty()) return 0;
  const HDC DC = GetDC(nullptr);
  const HGDIOBJ Old = SelectObject(DC, GetStockObject(DEFAULT_GUI_FONT));
  RECT R{0, 0, 0, 0};
  DrawText(DC, Text, -1, &R, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  return R.Right - R.Left;
}

// The menu handle of Parent's visible sub-items (the caller destroys it).
HMENU BuildPopupHandle(TMenuItem* Parent) {
  const HMENU Menu = CreatePopupMenu();
  for (Integer I = 0; I < Parent->Count(); ++I) {
    TMenuItem* Item = Parent->Items(I);
    if (!Item->Visible()) continue;
    if (Item->IsLine()) {
      AppendMenu(Menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT Flags = MF_STRING;
    if (!Item->Enabled()) Flags |= MF_GRAYED;
    if (Item->Checked()) Flags |= MF_CHECKED;
    if (Item->RadioItem()) Flags |= MF_RADIOCHECK;
    if (Item->Default()) Flags |= MF_DEFAULT;
    String Text = Item->Caption();
    if (Item->ShortCut() != scNone) Text += "\t" + ShortCutToText(Item->ShortCut());
    if (Item->Count() > 0) {
      AppendMenu(Menu, Flags | MF_POPUP, reinterpret_cast<UINT_PTR>(BuildPopupHandle(Item)), Text.c_str());
    } else if (Item->OnDrawItem || Item->OnMeasureItem) {
      AppendMenu(Menu, Flags | MF_OWNERDRAW, Item->Command(), reinterpret_cast<LPCSTR>(Item));
    } else {
      AppendMenu(Menu, Flags, Item->Command(), Text.c_str());
    }
  }
  return Menu;
}

// The position of sub-item Index among the visible items; -1 for an invisible one.
Integer PopupPosition(TMenuItem* Parent, Integer Index) {
  if (Index < 0 || Index >= Parent->Count() || !Parent->Items(Index)->Visible()) return -1;
  Integer Pos = 0;
  for (Integer I = 0; I < Index; ++I)
    if (Parent->Items(I)->Visible()) ++Pos;
  return Pos;
}

void MeasurePopupItem(MEASUREITEMSTRUCT& M) {
  auto* Item = reinterpret_cast<TMenuItem*>(M.itemData);
  Integer W = PopupCheckMargin + PopupTextWidth(StripHotkey(Item->Caption())) + PopupRightMargin;
  if (Item->ShortCut() != scNone) W += PopupShortCutGap + PopupTextWidth(ShortCutToText(Item->ShortCut()));
  Integer H = TPopupMenu::ItemHeight;
  TBitmap Measure;  // the canvas an owner-measured item is measured on
  if (Item->OnMeasureItem) Item->OnMeasureItem(Item, Measure.Canvas(), W, H);
  M.itemWidth = static_cast<UINT>(std::max<Integer>(W, 0));
  M.itemHeight = static_cast<UINT>(std::max<Integer>(H, 0));
}

void DrawPopupItem(const DRAWITEMSTRUCT& D) {
  auto* Item = reinterpret_cast<TMenuItem*>(D.itemData);
  const TRect R = Rect(D.rcItem.Left, D.rcItem.Top, D.rcItem.Right, D.rcItem.Bottom);
  const bool Selected = D.itemState & ODS_SELECTED;
  if (Item->OnDrawItem) {
    TCanvas Canvas;
    Canvas.SetHandle(D.hDC);
    Item->OnDrawItem(Item, &Canvas, R, Selected);
    Canvas.SetHandle(nullptr);
    return;
  }
  // Measured by its handler, drawn as a plain item.
  const HGDIOBJ OldFont = SelectObject(D.hDC, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(D.hDC, TRANSPARENT);
  SetTextColor(D.hDC, GetSysColor(!Item->Enabled() ? COLOR_GRAYTEXT : Selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  RECT T{R.Left + PopupCheckMargin, R.Top, R.Right - PopupRightMargin, R.Bottom};
  DrawText(D.hDC, Item->Caption(), -1, &T, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (Item->ShortCut() != scNone)
    DrawText(D.hDC, ShortCutToText(Item->ShortCut()), -1, &T, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  SelectObject(D.hDC, OldFont);
}

// A hidden window that owns the menu while it is measured or tracked (RAII).
class PopupOwnerWindow {
 public:
  PopupOwnerWindow() {
    WNDCLASS Existing{};
    if (!GetClassInfo(nullptr, PopupOwnerClass, &Existing)) {
      WNDCLASS Class{};
      Class.lpfnWndProc = MakeWndProc(&DefWindowProc);
      Class.lpszClassName = PopupOwnerClass;
      RegisterClass(&Class);
    }
    FProc = MakeWndProcInstance([](HWND H, UINT Msg, WPARAM W, LPARAM P) -> LRESULT {
      if (Msg == WM_MEASUREITEM && P) {
        auto& M = *reinterpret_cast<MEASUREITEMSTRUCT*>(P);
        if (M.CtlType == ODT_MENU && M.itemData) {
          MeasurePopupItem(M);
          return TRUE;
        }
      }
      if (Msg == WM_DRAWITEM && P) {
        const auto& D = *reinterpret_cast<const DRAWITEMSTRUCT*>(P);
        if (D.CtlType == ODT_MENU && D.itemData) {
          DrawPopupItem(D);
          return TRUE;
        }
      }
      return DefWindowProc(H, Msg, W, P);
    });
    FWnd = CreateWindowEx(WS_EX_TOOLWINDOW, PopupOwnerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr,
                          nullptr);
    if (FWnd) SetWindowLongPtr(FWnd, GWL_WNDPROC, WndProcToLong(FProc));
  }
  ~PopupOwnerWindow() {
    if (FWnd && IsWindow(FWnd)) DestroyWindow(FWnd);
    try {
      FreeObjectInstance(FProc);
    } catch (...) {  // still installed: the window outlived us, leave the object alive
    }
  }
  PopupOwnerWindow(const PopupOwnerWindow&) = delete;
  PopupOwnerWindow& operator=(const PopupOwnerWindow&) = delete;
  HWND Handle() const { return FWnd; }

 private:
  WNDPROC FProc = nullptr;
  HWND FWnd = nullptr;
};

// A menu handle destroyed at the end of the scope.
struct PopupHandleGuard {
  HMENU Menu;
  ~PopupHandleGuard() { DestroyMenu(Menu); }
};

UINT PopupAlignFlags(TPopupAlignment A) {
  return A == paRight ? TPM_RIGHTALIGN : A == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
}

}  // namespace

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu() = default;

HWND TPopupMenu::PopupWindow() const { return FHandle ? vantrel::win::MenuWindow(FHandle) : nullptr; }

void TPopupMenu::SetPopupComponent(TComponent* Value) {
  if (FPopupComponent == Value) return;
  if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
  FPopupComponent = Value;
  if (FPopupComponent) FPopupComponent->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}

void TPopupMenu::DoPopup(TObject* Sender) {
  if (OnPopup) OnPopup(Sender);
}

TRect TPopupMenu::MenuItemRect(Integer X, Integer Y, Integer Index) {
  const Integer Pos = PopupPosition(Items(), Index);
  if (Pos < 0) return Rect(0, 0, 0, 0);
  PopupOwnerWindow Owner;
  PopupHandleGuard Menu{BuildPopupHandle(Items())};
  const RECT R = vantrel::win::PopupMenuItemRect(Menu.Menu, Owner.Handle(), X, Y, PopupAlignFlags(FAlignment), Pos);
  return Rect(R.Left, R.Top, R.Right, R.Bottom);
}

void TPopupMenu::Popup(Integer X, Integer Y) {
  if (FHandle) return;  // already tracking
  FPopupPoint = Point(X, Y);
  DoPopup(this);
  // The actions decide what is enabled, checked and shown before the menu is laid out.
  for (Integer I = 0; I < Items()->Count(); ++I) Items()->Items(I)->InitiateAction();
  Items()->RethinkLines();
  PopupOwnerWindow Owner;
  PopupHandleGuard Menu{BuildPopupHandle(Items())};
  FHandle = Menu.Menu;
  UINT Command = 0;
  try {
    Command = static_cast<UINT>(TrackPopupMenu(Menu.Menu, PopupAlignFlags(FAlignment) | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                               X, Y, 0, Owner.Handle(), nullptr));
  } catch (...) {
    FHandle = nullptr;
    throw;
  }
  FHandle = nullptr;
  // The item runs once the menu is gone, as a command posted by the menu would.
  if (Command) DispatchCommand(static_cast<Word>(Command));
}
