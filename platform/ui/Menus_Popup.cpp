// The plain popup menu: a top-most window that never takes activation, laid out as one
// column of 20-pixel items, and a modal tracking loop over the GUI thread's queue that
// keeps the pointer and key messages for itself (as TrackPopupMenu does).
#include <algorithm>

#include "platform/ui/Menus.h"
#include "platform/win/Capture.h"
#include "platform/win/DrawText.h"
#include "platform/win/Gdi.h"
#include "platform/win/Input.h"
#include "platform/win/Paint.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WindowDc.h"
#include "platform/win/WindowManager.h"

namespace {

constexpr Integer MinMenuWidth = 100;
constexpr Integer CheckMargin = 20;     // room for a check mark or image left of the text
constexpr Integer ShortCutGap = 24;     // between the caption and the short-cut text
constexpr Integer RightMargin = 16;
constexpr const char* PopupClassName = "VantrelPopupMenu";

Integer TextWidth(const String& Text) {
  if (Text.empty()) return 0;
  const HDC DC = GetDC(nullptr);
  const HGDIOBJ Old = SelectObject(DC, GetStockObject(DEFAULT_GUI_FONT));
  RECT R{0, 0, 0, 0};
  DrawText(DC, Text, -1, &R, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  return R.Right - R.Left;
}

struct ItemPlace {
  TMenuItem* Item;
  Integer Index;  // in the menu's Items
  TRect Rect;     // screen coordinates
};

struct Layout {
  TRect Bounds{};
  std::vector<ItemPlace> Places;
};

Layout LayOut(TPopupMenu* Menu, Integer X, Integer Y) {
  Layout L;
  TMenuItem* Root = Menu->Items();
  struct Size {
    TMenuItem* Item;
    Integer Index;
    Integer Height;
  };
  std::vector<Size> Sizes;
  Integer Width = MinMenuWidth, Height = 0;
  TBitmap Measure;  // the canvas an owner-measured item is measured on
  for (Integer I = 0; I < Root->Count(); ++I) {
    TMenuItem* Item = Root->Items(I);
    if (!Item->Visible()) continue;
    Integer W = 0, H = TPopupMenu::ItemHeight;
    if (!Item->IsLine()) {
      W = CheckMargin + TextWidth(StripHotkey(Item->Caption())) + RightMargin;
      if (Item->ShortCut() != scNone) W += ShortCutGap + TextWidth(ShortCutToText(Item->ShortCut()));
    }
    if (Item->OnMeasureItem) Item->OnMeasureItem(Item, Measure.Canvas(), W, H);
    Width = std::max(Width, W);
    Sizes.push_back({Item, I, std::max<Integer>(H, 0)});
    Height += std::max<Integer>(H, 0);
  }
  // Kept on the screen: flipped to the other side of the point where it would leave it.
  const Integer ScreenW = GetSystemMetrics(SM_CXSCREEN), ScreenH = GetSystemMetrics(SM_CYSCREEN);
  Integer Left = X, Top = Y;
  if (Menu->Alignment() == paRight) Left = X - Width;
  if (Menu->Alignment() == paCenter) Left = X - Width / 2;
  if (Left + Width > ScreenW) Left = std::max(0, X - Width);
  if (Top + Height > ScreenH) Top = std::max(0, Y - Height);
  Left = std::max(0, Left);
  L.Bounds = Rect(Left, Top, Left + Width, Top + Height);
  Integer Row = Top;
  for (const Size& Z : Sizes) {
    L.Places.push_back({Z.Item, Z.Index, Rect(Left, Row, Left + Width, Row + Z.Height)});
    Row += Z.Height;
  }
  return L;
}

bool Selectable(const ItemPlace& P) { return P.Item->Enabled() && !P.Item->IsLine(); }

}  // namespace

// One tracking run: the window, the highlighted item and the loop.
struct TPopupTracker {
  TPopupMenu* Menu;
  Layout L;
  Integer Hot = -1;  // index into L.Places
  HWND Wnd = nullptr;
  WNDPROC Proc = nullptr;
  bool Painting = false;

  Integer PlaceAt(POINT Screen) const {
    for (size_t I = 0; I < L.Places.size(); ++I) {
      const TRect& R = L.Places[I].Rect;
      if (Screen.X >= R.Left && Screen.X < R.Right && Screen.Y >= R.Top && Screen.Y < R.Bottom)
        return static_cast<Integer>(I);
    }
    return -1;
  }

  void SetHot(Integer Index) {
    if (Index >= 0 && !Selectable(L.Places[static_cast<size_t>(Index)])) Index = -1;
    if (Index == Hot) return;
    Hot = Index;
    if (Wnd) InvalidateRect(Wnd, nullptr, FALSE);
  }

  void Step(Integer Dir) {
    const Integer N = static_cast<Integer>(L.Places.size());
    if (N == 0) return;
    Integer I = Hot;
    for (Integer Tries = 0; Tries < N; ++Tries) {
      I = I < 0 ? (Dir > 0 ? 0 : N - 1) : (I + Dir + N) % N;
      if (Selectable(L.Places[static_cast<size_t>(I)])) {
        SetHot(I);
        return;
      }
    }
  }

  void Paint() {
    PAINTSTRUCT PS{};
    const HDC DC = BeginPaint(Wnd, &PS);
    const HGDIOBJ OldFont = SelectObject(DC, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(DC, TRANSPARENT);
    const Integer OX = L.Bounds.Left, OY = L.Bounds.Top;
    for (size_t I = 0; I < L.Places.size(); ++I) {
      const ItemPlace& P = L.Places[I];
      RECT R{P.Rect.Left - OX, P.Rect.Top - OY, P.Rect.Right - OX, P.Rect.Bottom - OY};
      const bool IsHot = static_cast<Integer>(I) == Hot;
      FillRect(DC, &R, GetSysColorBrush(IsHot ? COLOR_HIGHLIGHT : COLOR_MENU));
      if (P.Item->IsLine()) {
        RECT Line{R.Left + 2, (R.Top + R.Bottom) / 2, R.Right - 2, (R.Top + R.Bottom) / 2 + 1};
        FillRect(DC, &Line, GetSysColorBrush(COLOR_GRAYTEXT));
        continue;
      }
      if (P.Item->OnDrawItem) {
        TCanvas Canvas;
        Canvas.SetHandle(DC);
        P.Item->OnDrawItem(P.Item, &Canvas, Rect(R.Left, R.Top, R.Right, R.Bottom), IsHot);
        Canvas.SetHandle(nullptr);
        continue;
      }
      SetTextColor(DC, GetSysColor(!P.Item->Enabled() ? COLOR_GRAYTEXT
                                   : IsHot           ? COLOR_HIGHLIGHTTEXT
                                                     : COLOR_MENUTEXT));
      RECT T{R.Left + CheckMargin, R.Top, R.Right - RightMargin, R.Bottom};
      if (P.Item->Checked()) {
        RECT Mark{R.Left + 6, R.Top + 7, R.Left + 12, R.Top + 13};
        FillRect(DC, &Mark, GetSysColorBrush(IsHot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
      }
      DrawText(DC, P.Item->Caption(), -1, &T, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
      if (P.Item->ShortCut() != scNone)
        DrawText(DC, ShortCutToText(P.Item->ShortCut()), -1, &T, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    }
    SelectObject(DC, OldFont);
    EndPaint(Wnd, &PS);
  }

  LRESULT WindowProc(HWND H, UINT Msg, WPARAM WParam, LPARAM LParam) {
    switch (Msg) {
      case WM_PAINT:
        Paint();
        return 0;
      case WM_ERASEBKGND:
        return 1;
      case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
      default:
        return DefWindowProc(H, Msg, WParam, LParam);
    }
  }

  // Runs the loop; the item chosen (nil: none).
  TMenuItem* Run() {
    vantrel::win::WindowManager* M = vantrel::win::WindowManager::Instance();
    if (!M || L.Places.empty()) return nullptr;
    WNDCLASS Existing{};
    if (!GetClassInfo(nullptr, PopupClassName, &Existing)) {
      WNDCLASS Class{};
      Class.style = CS_SAVEBITS | CS_DROPSHADOW;
      Class.lpfnWndProc = MakeWndProc(&DefWindowProc);
      Class.lpszClassName = PopupClassName;
      RegisterClass(&Class);
    }
    Proc = MakeWndProcInstance([this](HWND H, UINT Msg, WPARAM W, LPARAM P) { return WindowProc(H, Msg, W, P); });
    const TRect& B = L.Bounds;
    Wnd = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, PopupClassName, "", WS_POPUP,
                         B.Left, B.Top, B.Right - B.Left, B.Bottom - B.Top, nullptr, nullptr, nullptr, nullptr);
    if (!Wnd) {
      FreeObjectInstance(Proc);
      return nullptr;
    }
    SetWindowLongPtr(Wnd, GWL_WNDPROC, WndProcToLong(Proc));
    Menu->FWindow = Wnd;
    ShowWindow(Wnd, SW_SHOWNA);
    SetCapture(Wnd);

    TMenuItem* Chosen = nullptr;
    bool PressedInside = false;
    for (;;) {
      MSG Msg;
      if (!vantrel::win::FetchModalMessage(*M, Msg)) break;
      if (Msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(Msg.wParam));  // for the loop outside
        break;
      }
      bool End = false;
      switch (Msg.message) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
          SetHot(PlaceAt(Msg.pt));
          break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
          if (PlaceAt(Msg.pt) < 0) {
            End = true;  // a press outside closes the menu
          } else {
            PressedInside = true;
            SetHot(PlaceAt(Msg.pt));
          }
          break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_NCLBUTTONUP:
        case WM_NCRBUTTONUP: {
          const Integer I = PlaceAt(Msg.pt);
          if (I >= 0 && Selectable(L.Places[static_cast<size_t>(I)])) {
            Chosen = L.Places[static_cast<size_t>(I)].Item;
            End = true;
          } else if (I < 0 && PressedInside) {
            End = true;
          }
          break;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
          if (Msg.wParam == VK_ESCAPE || Msg.wParam == VK_MENU || Msg.wParam == VK_F10) {
            End = true;
          } else if (Msg.wParam == VK_DOWN) {
            Step(1);
          } else if (Msg.wParam == VK_UP) {
            Step(-1);
          } else if (Msg.wParam == VK_RETURN) {
            if (Hot >= 0) Chosen = L.Places[static_cast<size_t>(Hot)].Item;
            End = true;
          }
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
      if (End || !IsWindow(Wnd) || GetCapture() != Wnd) break;
    }
    Close();
    return Chosen;
  }

  void Close() {
    Menu->FWindow = nullptr;
    if (Wnd && IsWindow(Wnd)) {
      if (GetCapture() == Wnd) ReleaseCapture();
      DestroyWindow(Wnd);
    }
    Wnd = nullptr;
    if (Proc) {
      try {
        FreeObjectInstance(Proc);
      } catch (...) {  // still installed: the window outlived us, leave the object alive
      }
      Proc = nullptr;
    }
  }
};

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu() = default;

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
  const Layout L = LayOut(this, X, Y);
  for (const ItemPlace& P : L.Places)
    if (P.Index == Index) return P.Rect;
  return Rect(0, 0, 0, 0);
}

void TPopupMenu::Popup(Integer X, Integer Y) {
  if (FWindow) return;  // already tracking
  FPopupPoint = Point(X, Y);
  DoPopup(this);
  // The actions decide what is enabled, checked and shown before the menu is laid out.
  for (Integer I = 0; I < Items()->Count(); ++I) Items()->Items(I)->InitiateAction();
  Items()->RethinkLines();
  if (GetCapture()) SendMessage(GetCapture(), WM_CANCELMODE, 0, 0);
  TPopupTracker Tracker{this, LayOut(this, X, Y)};
  TMenuItem* Chosen = nullptr;
  try {
    Chosen = Tracker.Run();
  } catch (...) {
    Tracker.Close();
    throw;
  }
  // The item runs once the menu is gone, as a command posted by the menu would.
  if (Chosen) Chosen->Click();
}
