// The message box window: laid out from the text and the buttons, painted in the system
// colours (its frame, with the title and the close button, by the default procedure),
// run in a modal loop of its own.
#include "platform/win/MessageBox.h"

#include <algorithm>
#include <memory>

#include "platform/win/Capture.h"
#include "platform/win/Cursor.h"
#include "platform/win/DrawText.h"
#include "platform/win/Focus.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Resources.h"
#include "platform/win/Shell.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WindowDc.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

namespace {

constexpr const char* MsgBoxClassName = "VantrelMessageBox";
constexpr int MsgBoxMargin = 12;
constexpr int MsgBoxIconSize = 32;
constexpr int MsgBoxButtonW = 75;
constexpr int MsgBoxButtonH = 23;
constexpr int MsgBoxButtonGap = 6;
constexpr int MsgBoxMaxTextW = 400;

struct MsgBoxState {
  std::string Text;
  UINT Flags = 0;
  HICON Icon = nullptr;
  std::vector<MessageBoxButton> Buttons;
  std::vector<RECT> ButtonRects;
  RECT TextRect{};
  int Pressed = -1;  // button index under a held left button
  int Answer = 0;
  bool Done = false;
};

MsgBoxState* MsgBoxOf(HWND Wnd) { return reinterpret_cast<MsgBoxState*>(GetWindowLongPtr(Wnd, GWLP_USERDATA)); }

LPCSTR MsgBoxIconName(UINT Flags) {
  switch (Flags & MB_ICONMASK) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return nullptr;
  }
}

void MsgBoxFinish(HWND Wnd, MsgBoxState& St, int Answer) {
  if (St.Done || Answer == 0) return;
  St.Answer = Answer;
  St.Done = true;
  ShowWindow(Wnd, SW_HIDE);
}

int MsgBoxHit(const MsgBoxState& St, LPARAM LParam) {
  const int X = static_cast<short>(LOWORD(LParam)), Y = static_cast<short>(HIWORD(LParam));
  for (size_t I = 0; I < St.ButtonRects.size(); ++I) {
    const RECT& R = St.ButtonRects[I];
    if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) return static_cast<int>(I);
  }
  return -1;
}

void MsgBoxPaint(HWND Wnd, MsgBoxState& St) {
  PAINTSTRUCT Ps;
  HDC Dc = BeginPaint(Wnd, &Ps);
  RECT Client;
  GetClientRect(Wnd, &Client);
  FillRect(Dc, &Client, GetSysColorBrush(COLOR_BTNFACE));
  SelectObject(Dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(Dc, TRANSPARENT);
  SetTextColor(Dc, GetSysColor(COLOR_BTNTEXT));
  if (St.Icon) DrawIcon(Dc, MsgBoxMargin, MsgBoxMargin, St.Icon);
  RECT T = St.TextRect;
  DrawText(Dc, St.Text, -1, &T, DT_WORDBREAK | DT_NOPREFIX);
  const int Default = static_cast<int>((St.Flags & MB_DEFMASK) >> 8);
  for (size_t I = 0; I < St.Buttons.size(); ++I) {
    RECT R = St.ButtonRects[I];
    const bool IsDefault = static_cast<int>(I) == (Default < static_cast<int>(St.Buttons.size()) ? Default : 0);
    const bool Down = static_cast<int>(I) == St.Pressed;
    if (IsDefault) {
      FrameRect(Dc, &R, GetSysColorBrush(COLOR_WINDOWFRAME));
      InflateRect(&R, -1, -1);
    }
    FrameRect(Dc, &R, GetSysColorBrush(Down ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW));
    InflateRect(&R, -1, -1);
    if (!Down) {
      RECT Light{R.Left, R.Top, R.Right - 1, R.Top + 1};
      FillRect(Dc, &Light, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
      Light = {R.Left, R.Top, R.Left + 1, R.Bottom - 1};
      FillRect(Dc, &Light, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
      RECT Shade{R.Left + 1, R.Bottom - 1, R.Right, R.Bottom};
      FillRect(Dc, &Shade, GetSysColorBrush(COLOR_BTNSHADOW));
      Shade = {R.Right - 1, R.Top + 1, R.Right, R.Bottom};
      FillRect(Dc, &Shade, GetSysColorBrush(COLOR_BTNSHADOW));
    } else {
      OffsetRect(&R, 1, 1);
    }
    DrawText(Dc, St.Buttons[I].Caption, -1, &R, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  EndPaint(Wnd, &Ps);
}

LRESULT MsgBoxProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  MsgBoxState* St = MsgBoxOf(Wnd);
  if (!St) return DefWindowProc(Wnd, Msg, WParam, LParam);
  switch (Msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      MsgBoxPaint(Wnd, *St);
      return 0;
    case WM_LBUTTONDOWN:
      St->Pressed = MsgBoxHit(*St, LParam);
      if (St->Pressed >= 0) SetCapture(Wnd);
      InvalidateRect(Wnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP: {
      const int Was = St->Pressed;
      St->Pressed = -1;
      if (GetCapture() == Wnd) ReleaseCapture();
      InvalidateRect(Wnd, nullptr, FALSE);
      if (Was >= 0 && MsgBoxHit(*St, LParam) == Was) MsgBoxFinish(Wnd, *St, St->Buttons[Was].Id);
      return 0;
    }
    case WM_KEYDOWN:
      if (WParam == VK_RETURN) MsgBoxFinish(Wnd, *St, MessageBoxDefaultAnswer(St->Flags));
      else if (WParam == VK_ESCAPE) MsgBoxFinish(Wnd, *St, MessageBoxCancelAnswer(St->Flags));
      return 0;
    case WM_CLOSE:
      MsgBoxFinish(Wnd, *St, MessageBoxCancelAnswer(St->Flags));
      return 0;
    default:
      return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

void MsgBoxRegisterClass() {
  WNDCLASS Existing;
  if (GetClassInfo(nullptr, MsgBoxClassName, &Existing)) return;
  WNDCLASSEX C;
  C.lpfnWndProc = MakeWndProc(&MsgBoxProc);
  C.hCursor = LoadCursor(nullptr, IDC_ARROW);
  C.lpszClassName = MsgBoxClassName;
  RegisterClassEx(&C);
}

// Places text, icon and buttons; returns the client size.
SIZE MsgBoxLayout(MsgBoxState& St) {
  HDC Dc = GetDC(nullptr);
  SelectObject(Dc, GetStockObject(DEFAULT_GUI_FONT));
  RECT T{0, 0, MsgBoxMaxTextW, 0};
  DrawText(Dc, St.Text.empty() ? std::string(" ") : St.Text, -1, &T, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  ReleaseDC(nullptr, Dc);
  const int TextLeft = MsgBoxMargin + (St.Icon ? MsgBoxIconSize + MsgBoxMargin : 0);
  const int TextH = T.Bottom - T.Top;
  const int TopH = std::max(TextH, St.Icon ? MsgBoxIconSize : 0);
  St.TextRect = {TextLeft, MsgBoxMargin + (TopH - TextH) / 2, TextLeft + (T.Right - T.Left), MsgBoxMargin + (TopH - TextH) / 2 + TextH};
  const int N = static_cast<int>(St.Buttons.size());
  const int RowW = N * MsgBoxButtonW + (N - 1) * MsgBoxButtonGap;
  const int Width = std::max(St.TextRect.Right + MsgBoxMargin, RowW + 2 * MsgBoxMargin);
  const int RowTop = MsgBoxMargin + TopH + MsgBoxMargin;
  int X = (Width - RowW) / 2;
  for (int I = 0; I < N; ++I, X += MsgBoxButtonW + MsgBoxButtonGap)
    St.ButtonRects.push_back({X, RowTop, X + MsgBoxButtonW, RowTop + MsgBoxButtonH});
  return {Width, RowTop + MsgBoxButtonH + MsgBoxMargin};
}

// Disables the owner for the life of the box and gives it back its state after.
struct MsgBoxOwnerLock {
  HWND Owner;
  bool WasEnabled;
  explicit MsgBoxOwnerLock(HWND O) : Owner(O), WasEnabled(O && IsWindowEnabled(O)) {
    if (WasEnabled) EnableWindow(Owner, FALSE);
  }
  ~MsgBoxOwnerLock() {
    if (WasEnabled && IsWindow(Owner)) EnableWindow(Owner, TRUE);
  }
};

struct MsgBoxWindow {
  HWND Wnd = nullptr;
  ~MsgBoxWindow() {
    if (Wnd && IsWindow(Wnd)) DestroyWindow(Wnd);
  }
};

}  // namespace

std::vector<MessageBoxButton> MessageBoxButtons(UINT Flags) {
  switch (Flags & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "&Yes"}, {IDNO, "&No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
    default: return {{IDOK, "OK"}};
  }
}

int MessageBoxCancelAnswer(UINT Flags) {
  const auto Buttons = MessageBoxButtons(Flags);
  if (Buttons.size() == 1) return Buttons[0].Id;
  for (const auto& B : Buttons)
    if (B.Id == IDCANCEL) return IDCANCEL;
  return 0;
}

int MessageBoxDefaultAnswer(UINT Flags) {
  const auto Buttons = MessageBoxButtons(Flags);
  const size_t Index = (Flags & MB_DEFMASK) >> 8;
  return Buttons[Index < Buttons.size() ? Index : 0].Id;
}

}  // namespace vantrel::win

using namespace vantrel::win;

int MessageBox(HWND Owner, const std::string& Text, const std::string& Caption, UINT Flags) {
  WindowManager* M = WindowManager::OnGui();
  if (!M) return 0;
  if (M->Shell().MessageBoxResponder) return M->Shell().MessageBoxResponder(Owner, Text, Caption, Flags);
  if (Owner && !IsWindow(Owner)) return 0;
  const HWND Top = Owner ? GetAncestor(Owner, GA_ROOT) : nullptr;
  auto St = std::make_unique<MsgBoxState>();
  St->Text = Text;
  St->Flags = Flags;
  St->Buttons = MessageBoxButtons(Flags);
  if (LPCSTR Name = MsgBoxIconName(Flags)) St->Icon = LoadIcon(nullptr, Name);
  const SIZE Client = MsgBoxLayout(*St);

  MsgBoxRegisterClass();
  MsgBoxWindow Box;
  Box.Wnd = CreateWindowEx(WS_EX_DLGMODALFRAME, MsgBoxClassName, Caption.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU,
                           0, 0, Client.cx, Client.cy, Top, nullptr, nullptr, nullptr);
  if (!Box.Wnd) return 0;
  SetWindowLongPtr(Box.Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(St.get()));
  // Grow by the frame so the client area is as laid out, and centre on the owner (or the screen).
  RECT W, C;
  GetWindowRect(Box.Wnd, &W);
  GetClientRect(Box.Wnd, &C);
  const int Width = Client.cx + (W.Right - W.Left) - C.Right, Height = Client.cy + (W.Bottom - W.Top) - C.Bottom;
  RECT Area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (Top && IsWindowVisible(Top)) GetWindowRect(Top, &Area);
  SetWindowPos(Box.Wnd, nullptr, Area.Left + (Area.Right - Area.Left - Width) / 2,
               Area.Top + (Area.Bottom - Area.Top - Height) / 2, Width, Height, SWP_NOZORDER | SWP_NOACTIVATE);

  MsgBoxOwnerLock Lock(Top);
  ShowWindow(Box.Wnd, SW_SHOW);
  SetActiveWindow(Box.Wnd);
  SetFocus(Box.Wnd);
  MessageBeep(Flags & MB_ICONMASK);
  MSG Msg;
  while (!St->Done) {
    if (!GetMessage(&Msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(Msg.wParam));
      return 0;
    }
    TranslateMessage(&Msg);
    DispatchMessage(&Msg);
  }
  SetWindowLongPtr(Box.Wnd, GWLP_USERDATA, 0);
  return St->Answer;
}
