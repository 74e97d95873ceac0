// The default window procedure: a plain frame from the styles (1-pixel border, 3 more
// for a sizing frame, a caption bar with its buttons, a sunken client edge), painted for
// any window that leaves WM_NCPAINT to it; text and icon storage, size and move
// notifications after a position change, and the simple system commands.
#include <algorithm>
#include <cstring>

#include "platform/rtl/Utf8.h"
#include "platform/win/NonClient.h"
#include "platform/win/PaintState.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WindowIcon.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

RECT WindowManager::DefaultFrame(DWORD Style, DWORD ExStyle) {
  int B = 0;
  if (Style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME)) B = GetSystemMetrics(SM_CXBORDER);
  if (Style & WS_THICKFRAME) B = GetSystemMetrics(SM_CXFRAME);
  if (ExStyle & WS_EX_CLIENTEDGE) B += GetSystemMetrics(SM_CXEDGE);
  if (ExStyle & WS_EX_STATICEDGE) B += GetSystemMetrics(SM_CXBORDER);
  const int Caption = (Style & WS_CAPTION) == WS_CAPTION ? GetSystemMetrics(SM_CYCAPTION) : 0;
  return {B, B + Caption, B, B};
}

}  // namespace vantrel::win

using vantrel::win::Window;
using vantrel::win::WindowManager;

namespace {

RECT Inset(RECT R, const RECT& F) {
  R.Left += F.Left;
  R.Top += F.Top;
  R.Right -= F.Right;
  R.Bottom -= F.Bottom;
  if (R.Right < R.Left) R.Right = R.Left;
  if (R.Bottom < R.Top) R.Bottom = R.Top;
  return R;
}

// Copies Text into a buffer of Size bytes without splitting a code point; returns the
// code points copied.
LRESULT CopyText(const std::string& Text, char* Buffer, size_t Size) {
  if (!Buffer || Size == 0) return 0;
  size_t N = std::min(Text.size(), Size - 1);
  while (N > 0 && N < Text.size() && (static_cast<unsigned char>(Text[N]) & 0xC0) == 0x80) --N;
  std::memcpy(Buffer, Text.data(), N);
  Buffer[N] = '\0';
  return Utf8Length(Text.substr(0, N));
}

LRESULT HitTest(WindowManager* M, Window* W, POINT P) {
  const POINT O = M->WindowOrigin(W);
  const int X = P.X - O.X, Y = P.Y - O.Y;
  if (X < 0 || Y < 0 || X >= W->Width() || Y >= W->Height()) return HTNOWHERE;
  const RECT& C = W->ClientRect;
  if (X >= C.Left && X < C.Right && Y >= C.Top && Y < C.Bottom) return HTCLIENT;
  const RECT F = WindowManager::DefaultFrame(W->Style, W->ExStyle);
  if (W->Style & WS_THICKFRAME) {
    const int B = F.Left, Corner = GetSystemMetrics(SM_CYCAPTION);
    const bool L = X < B, R = X >= W->Width() - B, T = Y < B, Bt = Y >= W->Height() - B;
    const bool NearL = X < Corner, NearR = X >= W->Width() - Corner;
    const bool NearT = Y < Corner, NearB = Y >= W->Height() - Corner;
    if ((T && NearL) || (L && NearT)) return HTTOPLEFT;
    if ((T && NearR) || (R && NearT)) return HTTOPRIGHT;
    if ((Bt && NearL) || (L && NearB)) return HTBOTTOMLEFT;
    if ((Bt && NearR) || (R && NearB)) return HTBOTTOMRIGHT;
    if (L) return HTLEFT;
    if (R) return HTRIGHT;
    if (T) return HTTOP;
    if (Bt) return HTBOTTOM;
  }
  if ((W->Style & WS_CAPTION) == WS_CAPTION && Y >= F.Bottom && Y < F.Top) {
    const LRESULT Button = vantrel::win::CaptionButtonAt(W, X, Y);
    return Button != HTNOWHERE ? Button : HTCAPTION;
  }
  return HTBORDER;
}

}  // namespace

LRESULT DefWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  WindowManager* M = WindowManager::Instance();
  Window* W = M ? M->Find(Wnd) : nullptr;
  if (!W) return 0;
  if (LRESULT R; vantrel::win::DefInputMessage(*M, W, Msg, WParam, LParam, R)) return R;
  switch (Msg) {
    case WM_NCCREATE: {
      auto* CS = reinterpret_cast<const CREATESTRUCT*>(LParam);
      if (CS && CS->lpszName) W->Text = CS->lpszName;
      return TRUE;
    }
    case WM_NCCALCSIZE: {
      const RECT F = WindowManager::DefaultFrame(W->Style, W->ExStyle);
      if (!LParam) return 0;
      if (WParam) {
        auto* P = reinterpret_cast<NCCALCSIZE_PARAMS*>(LParam);
        P->rgrc[0] = Inset(P->rgrc[0], F);
      } else {
        auto* R = reinterpret_cast<RECT*>(LParam);
        *R = Inset(*R, F);
      }
      return 0;
    }
    case WM_WINDOWPOSCHANGING: {
      auto* Pos = reinterpret_cast<WINDOWPOS*>(LParam);
      if (Pos && !(Pos->flags & SWP_NOSIZE) && W->IsTopLevel() && (W->Style & WS_THICKFRAME) &&
          !(W->Style & (WS_MINIMIZE | WS_MAXIMIZE))) {
        const MINMAXINFO Info = M->MinMaxInfo(W);
        Pos->cx = std::clamp(Pos->cx, static_cast<int>(Info.ptMinTrackSize.X),
                             std::max(Info.ptMinTrackSize.X, Info.ptMaxTrackSize.X));
        Pos->cy = std::clamp(Pos->cy, static_cast<int>(Info.ptMinTrackSize.Y),
                             std::max(Info.ptMinTrackSize.Y, Info.ptMaxTrackSize.Y));
      }
      return 0;
    }
    case WM_WINDOWPOSCHANGED: {
      auto* Pos = reinterpret_cast<const WINDOWPOS*>(LParam);
      if (!Pos) return 0;
      const WPARAM Type = (W->Style & WS_MINIMIZE) ? SIZE_MINIMIZED
                          : (W->Style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                     : SIZE_RESTORED;
      const RECT C = W->ClientRect;
      if (!(Pos->flags & SWP_NOCLIENTSIZE) || Type != W->SizeType) {
        W->SizeType = Type;
        M->Deliver(W, WM_SIZE, Type,
                   MAKELPARAM(static_cast<WORD>(C.Right - C.Left), static_cast<WORD>(C.Bottom - C.Top)));
        W = M->Find(Wnd);
        if (!W) return 0;
      }
      if (!(Pos->flags & SWP_NOCLIENTMOVE))
        M->Deliver(W, WM_MOVE, 0, PointToLParam(W->Rect.Left + W->ClientRect.Left, W->Rect.Top + W->ClientRect.Top));
      return 0;
    }
    case WM_SETTEXT:
      W->Text = LParam ? reinterpret_cast<const char*>(LParam) : "";
      if (W->HasNative) M->GetDisplay().SetNativeWindowText(Wnd, W->Text);
      return TRUE;
    case WM_GETTEXT:
      return CopyText(W->Text, reinterpret_cast<char*>(LParam), static_cast<size_t>(WParam));
    case WM_GETTEXTLENGTH:
      return Utf8Length(W->Text);
    case WM_SETICON:
      return reinterpret_cast<LRESULT>(
          vantrel::win::SetWindowIcon(*M, W, WParam, reinterpret_cast<HICON>(LParam)));
    case WM_GETICON:
      return reinterpret_cast<LRESULT>(vantrel::win::WindowIcon(W, WParam));
    case WM_CLOSE:
      DestroyWindow(Wnd);
      return 0;
    case WM_NCHITTEST:
      return HitTest(M, W, POINT{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)});
    case WM_SYSCOMMAND:
      switch (WParam & 0xFFF0) {
        case SC_CLOSE: M->Deliver(W, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE: M->Show(W, SW_MINIMIZE); break;
        case SC_MAXIMIZE: M->Show(W, SW_SHOWMAXIMIZED); break;
        case SC_RESTORE: M->Show(W, SW_RESTORE); break;
        default: break;
      }
      return 0;
    case WM_NCACTIVATE:
      W->FrameActive = WParam != 0;
      if (W->IsTopLevel()) vantrel::win::PaintDefaultFrame(W);
      return TRUE;
    case WM_NCPAINT:
      // The frame of any window that nobody else draws (the desktop draws none): a child's
      // border and client edge as much as a top-level window's caption.
      vantrel::win::PaintDefaultFrame(W);
      return 0;
    case WM_QUERYENDSESSION:
    case WM_QUERYOPEN:
      return TRUE;
    case WM_MOUSEACTIVATE:
      return MA_ACTIVATE;
    default: {
      LRESULT Result = 0;
      vantrel::win::DefPaintMessage(*M, W, Msg, WParam, LParam, Result);
      return Result;
    }
  }
}
