// DefWindowProc's answers to input and non-client messages.
#include "platform/win/NonClient.h"

#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SizeMove.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

namespace {

HWND RootOf(Window* W) {
  while (W->Parent) W = W->Parent;
  return W->Handle;
}

LRESULT SendTo(WindowManager& M, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  Window* W = M.Find(Wnd);
  return W ? M.Deliver(W, Msg, WParam, LParam) : 0;
}

bool IsButtonDown(UINT Msg) {
  return Msg == WM_LBUTTONDOWN || Msg == WM_RBUTTONDOWN || Msg == WM_MBUTTONDOWN || Msg == WM_XBUTTONDOWN;
}

constexpr LPARAM KeyboardPoint = static_cast<LPARAM>(static_cast<LONG>(0xFFFFFFFF));  // (-1, -1)

}  // namespace

HCURSOR CursorForHitCode(LRESULT Code) {
  switch (Code) {
    case HTLEFT:
    case HTRIGHT:
      return LoadCursor(nullptr, IDC_SIZEWE);
    case HTTOP:
    case HTBOTTOM:
      return LoadCursor(nullptr, IDC_SIZENS);
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
      return LoadCursor(nullptr, IDC_SIZENWSE);
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
      return LoadCursor(nullptr, IDC_SIZENESW);
    case HTCLIENT:
    case HTERROR:
      return nullptr;
    default:
      return LoadCursor(nullptr, IDC_ARROW);
  }
}

bool DefInputMessage(WindowManager& M, Window* W, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result) {
  const HWND Wnd = W->Handle;
  Result = 0;
  switch (Msg) {
    case WM_NCLBUTTONDOWN:
      if (static_cast<LRESULT>(WParam) == HTCLOSE || static_cast<LRESULT>(WParam) == HTMINBUTTON ||
          static_cast<LRESULT>(WParam) == HTMAXBUTTON) {
        TrackCaptionButton(M, Wnd, static_cast<LRESULT>(WParam));
      } else if (static_cast<LRESULT>(WParam) == HTCAPTION) {
        SendTo(M, Wnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, LParam);
      } else if (static_cast<LRESULT>(WParam) >= HTLEFT && static_cast<LRESULT>(WParam) <= HTBOTTOMRIGHT) {
        SendTo(M, Wnd, WM_SYSCOMMAND, SC_SIZE + (WParam - HTLEFT + WMSZ_LEFT), LParam);
      } else if (static_cast<LRESULT>(WParam) == HTGROWBOX) {
        SendTo(M, Wnd, WM_SYSCOMMAND, SC_SIZE + WMSZ_BOTTOMRIGHT, LParam);
      }
      return true;
    case WM_NCLBUTTONDBLCLK:
      // A quick second click on a caption button presses it again.
      if (static_cast<LRESULT>(WParam) == HTCLOSE || static_cast<LRESULT>(WParam) == HTMINBUTTON ||
          static_cast<LRESULT>(WParam) == HTMAXBUTTON) {
        TrackCaptionButton(M, Wnd, static_cast<LRESULT>(WParam));
        return true;
      }
      // A caption double click maximizes or restores a window with a maximize box.
      if (static_cast<LRESULT>(WParam) == HTCAPTION && W->IsTopLevel() && (W->Style & WS_CAPTION) == WS_CAPTION &&
          (W->Style & WS_MAXIMIZEBOX))
        SendTo(M, Wnd, WM_SYSCOMMAND, (W->Style & (WS_MAXIMIZE | WS_MINIMIZE)) ? SC_RESTORE : SC_MAXIMIZE, LParam);
      return true;
    case WM_SYSCOMMAND:
      switch (WParam & 0xFFF0) {
        case SC_MOVE:
        case SC_SIZE: RunSizeMoveLoop(M, Wnd, WParam, LParam); return true;
        case SC_KEYMENU: return true;  // no native menus to enter
        default: return false;
      }
    case WM_SETCURSOR: {
      // The parent decides first; a window asked on behalf of a child only passes it up.
      if (W->Parent && SendTo(M, W->Parent->Handle, WM_SETCURSOR, WParam, LParam)) {
        Result = TRUE;
        return true;
      }
      if (reinterpret_cast<HWND>(WParam) != Wnd) return true;
      const LRESULT Code = static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(LParam)));
      if (Code == HTERROR) {
        if (IsButtonDown(HIWORD(static_cast<uintptr_t>(LParam)))) MessageBeep(0);
        return true;
      }
      HCURSOR C = Code == HTCLIENT ? W->Class->Cursor : CursorForHitCode(Code);
      if (C) SetCursor(C);
      return true;
    }
    case WM_MOUSEACTIVATE:
      if (W->Parent) {
        Result = SendTo(M, W->Parent->Handle, WM_MOUSEACTIVATE, WParam, LParam);
        if (Result) return true;
      }
      Result = MA_ACTIVATE;
      return true;
    case WM_ACTIVATE:
      if (LOWORD(WParam) != WA_INACTIVE && !HIWORD(WParam)) M.Input().SetFocusTo(Wnd);
      return true;
    case WM_CANCELMODE:
      if (M.Input().Capture() == Wnd) M.Input().ReleaseCaptureNow();
      return true;
    case WM_RBUTTONUP: {
      POINT P{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)};
      const POINT O = M.ClientOrigin(W);
      SendTo(M, Wnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Wnd), PointToLParam(P.X + O.X, P.Y + O.Y));
      return true;
    }
    case WM_NCRBUTTONUP:
      SendTo(M, Wnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Wnd), LParam);
      return true;
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      if (W->Parent) Result = SendTo(M, W->Parent->Handle, Msg, WParam, LParam);
      return true;
    case WM_SYSKEYDOWN:
      if (WParam == VK_F4 && (HIWORD(static_cast<uintptr_t>(LParam)) & KF_ALTDOWN)) {
        SendTo(M, RootOf(W), WM_SYSCOMMAND, SC_CLOSE, 0);
      } else if (WParam == VK_F10 && GetKeyState(VK_SHIFT) < 0) {
        SendTo(M, Wnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Wnd), KeyboardPoint);
      }
      return true;
    case WM_SYSKEYUP:
    case WM_KEYUP:
      if (WParam != 0 && WParam == M.Input().PendingKeyMenu()) {
        M.Input().ClearPendingKeyMenu();
        SendTo(M, RootOf(W), WM_SYSCOMMAND, SC_KEYMENU, 0);
      } else if (Msg == WM_KEYUP && WParam == VK_APPS) {
        SendTo(M, Wnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Wnd), KeyboardPoint);
      }
      return true;
    case WM_SYSCHAR:
      // Alt+letter: a menu's access key.
      if (GetKeyState(VK_CONTROL) >= 0) SendTo(M, RootOf(W), WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(WParam));
      return true;
    default:
      return false;
  }
}

}  // namespace vantrel::win
