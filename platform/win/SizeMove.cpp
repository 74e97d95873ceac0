// The move/size loop: a nested message loop over the GUI thread's queue that keeps the
// mouse and key messages for itself and dispatches everything else.
#include "platform/win/SizeMove.h"

#include <algorithm>

#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

namespace {

bool HasLeft(WPARAM E) { return E == WMSZ_LEFT || E == WMSZ_TOPLEFT || E == WMSZ_BOTTOMLEFT; }
bool HasRight(WPARAM E) { return E == WMSZ_RIGHT || E == WMSZ_TOPRIGHT || E == WMSZ_BOTTOMRIGHT; }
bool HasTop(WPARAM E) { return E == WMSZ_TOP || E == WMSZ_TOPLEFT || E == WMSZ_TOPRIGHT; }
bool HasBottom(WPARAM E) { return E == WMSZ_BOTTOM || E == WMSZ_BOTTOMLEFT || E == WMSZ_BOTTOMRIGHT; }

// The rectangle (screen coordinates) for the pointer moved by (DX, DY) from the start.
RECT Track(const RECT& Start, bool Move, WPARAM Edge, int DX, int DY, const MINMAXINFO& Info) {
  RECT R = Start;
  if (Move) return {R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY};
  const int MinW = Info.ptMinTrackSize.X, MaxW = std::max(Info.ptMinTrackSize.X, Info.ptMaxTrackSize.X);
  const int MinH = Info.ptMinTrackSize.Y, MaxH = std::max(Info.ptMinTrackSize.Y, Info.ptMaxTrackSize.Y);
  // The dragged edge moves; the size stays within the limits by stopping that edge.
  if (HasLeft(Edge)) R.Left = R.Right - std::clamp(static_cast<int>(R.Right - (Start.Left + DX)), MinW, MaxW);
  if (HasRight(Edge)) R.Right = R.Left + std::clamp(static_cast<int>(Start.Right + DX - R.Left), MinW, MaxW);
  if (HasTop(Edge)) R.Top = R.Bottom - std::clamp(static_cast<int>(R.Bottom - (Start.Top + DY)), MinH, MaxH);
  if (HasBottom(Edge)) R.Bottom = R.Top + std::clamp(static_cast<int>(Start.Bottom + DY - R.Top), MinH, MaxH);
  return R;
}

}  // namespace

void RunSizeMoveLoop(WindowManager& M, HWND Wnd, WPARAM Command, LPARAM Pos) {
  Window* W = M.Find(Wnd);
  if (!W || (W->Style & (WS_MINIMIZE | WS_MAXIMIZE))) return;
  const bool Move = (Command & 0xFFF0) == SC_MOVE;
  const WPARAM Edge = Command & 0x000F;
  InputState& In = M.Input();
  // Only a pointer drag: a command from the keyboard has no edge, and a press that is
  // already over would leave nothing to end the loop.
  if (Edge == 0 || In.InSizeMove() || GetKeyState(VK_LBUTTON) >= 0) return;
  if (!Move && (Edge < WMSZ_LEFT || Edge > WMSZ_BOTTOMRIGHT)) return;
  const POINT StartPt{GET_X_LPARAM(Pos), GET_Y_LPARAM(Pos)};
  const POINT Origin = M.WindowOrigin(W);
  // Screen minus parent-client coordinates (0 for top-level windows).
  const POINT Base{Origin.X - W->Rect.Left, Origin.Y - W->Rect.Top};
  const RECT StartRect{Origin.X, Origin.Y, Origin.X + W->Width(), Origin.Y + W->Height()};

  In.SetInSizeMove(true);
  struct Done {  // the flag never outlives the loop, even when a handler throws
    InputState& I;
    ~Done() { I.SetInSizeMove(false); }
  } Guard{In};
  SetCapture(Wnd);
  M.Deliver(W, WM_ENTERSIZEMOVE, 0, 0);
  if (!(W = M.Find(Wnd))) return;
  const MINMAXINFO Info = M.MinMaxInfo(W);
  RECT Current = StartRect;
  POINT LastPt = StartPt;

  auto Place = [&](RECT R) {
    Window* X = M.Find(Wnd);
    if (!X) return;
    M.SetPos(X, nullptr, R.Left - Base.X, R.Top - Base.Y, R.Right - R.Left, R.Bottom - R.Top,
             SWP_NOZORDER | SWP_NOACTIVATE | (Move ? SWP_NOSIZE : 0));
  };
  auto Step = [&](POINT Pt) {
    if (Pt == LastPt) return;
    LastPt = Pt;
    RECT R = Track(StartRect, Move, Edge, Pt.X - StartPt.X, Pt.Y - StartPt.Y, Info);
    Window* X = M.Find(Wnd);
    if (!X) return;
    M.Deliver(X, Move ? WM_MOVING : WM_SIZING, Move ? 0 : Edge, reinterpret_cast<LPARAM>(&R));
    if (R == Current) return;
    Current = R;
    Place(R);
  };

  for (;;) {
    MSG Msg;
    if (!FetchModalMessage(M, Msg)) break;
    if (Msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(Msg.wParam));  // for the loop outside
      break;
    }
    if (!M.IsLive(Wnd)) break;
    bool End = false;
    const bool Mouse = Msg.message >= WM_MOUSEFIRST && Msg.message <= WM_MOUSELAST;
    const bool NcMouse = Msg.message >= WM_NCMOUSEMOVE && Msg.message <= WM_NCMBUTTONDBLCLK;
    if (Msg.message == WM_MOUSEMOVE) {
      Step(Msg.pt);
    } else if (Msg.message == WM_LBUTTONUP) {
      Step(Msg.pt);
      End = true;
    } else if (Msg.message == WM_KEYDOWN || Msg.message == WM_SYSKEYDOWN) {
      if (Msg.wParam == VK_ESCAPE) {
        Place(StartRect);  // cancelled: back where it started
        End = true;
      } else if (Msg.wParam == VK_RETURN) {
        End = true;
      }
    } else if (!Mouse && !NcMouse && Msg.message != WM_KEYUP && Msg.message != WM_SYSKEYUP &&
               Msg.message != WM_CHAR && Msg.message != WM_SYSCHAR) {
      TranslateMessage(&Msg);
      DispatchMessage(&Msg);
    }
    if (End || !M.IsLive(Wnd) || In.Capture() != Wnd) break;
  }
  if (Window* X = M.Find(Wnd)) {
    if (In.Capture() == Wnd) ReleaseCapture();
    if ((X = M.Find(Wnd))) M.Deliver(X, WM_EXITSIZEMOVE, 0, 0);
  }
}

}  // namespace vantrel::win
