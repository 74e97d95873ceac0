// The track bar: range, position, page and line steps, tick marks and selection range,
// the thumb dragged under capture, clicks on the channel paging, and the arrow and page
// keys; every move is told to the parent as WM_HSCROLL/WM_VSCROLL.
#include "platform/win/TrackBar.h"

#include <algorithm>

#include "platform/win/Capture.h"
#include "platform/win/Focus.h"
#include "platform/win/FocusRect.h"
#include "platform/win/Keyboard.h"
#include "platform/win/NativeControl.h"
#include "platform/win/Paint.h"
#include "platform/win/SysColors.h"

namespace vantrel::win {

namespace {

constexpr int TrackThumbWidth = 11;
constexpr int TrackChannelThickness = 4;

struct TrackBarState {
  TrackBarState(HWND W, DWORD S) : Wnd(W), Style(S) {}
  HWND Wnd;
  DWORD Style;
  int Min = 0, Max = 100, Pos = 0;
  int SelStart = 0, SelEnd = 0;
  int Freq = 1, PageSize = 20, LineSize = 1;
  int ThumbLength = 20;
  bool Dragging = false;
  int DragOffset = 0;  // pointer minus thumb centre along the bar at the press
  bool Paging = false;
  bool Focused = false;

  bool Vertical() const { return (Style & TBS_VERT) != 0; }
  RECT Client() const {
    RECT R{};
    GetClientRect(Wnd, &R);
    return R;
  }
  int Length() const { return Vertical() ? Client().Bottom : Client().Right; }
  int Breadth() const { return Vertical() ? Client().Right : Client().Bottom; }
  int Margin() const { return TrackThumbWidth / 2 + 2; }
  // Pixel along the bar of a value.
  int PixelOf(int Value) const {
    const int Span = std::max(1, Length() - 2 * Margin() - 1);
    const int Range = std::max(1, Max - Min);
    return Margin() + static_cast<int>(static_cast<long long>(Value - Min) * Span / Range);
  }
  int ValueAt(int Pixel) const {
    const int Span = std::max(1, Length() - 2 * Margin() - 1);
    const long long Range = Max - Min;
    const long long V = Min + ((static_cast<long long>(Pixel - Margin()) * Range * 2 + Span) / (2LL * Span));
    return static_cast<int>(std::clamp<long long>(V, Min, Max));
  }
  // Rectangles in client coordinates, built along and across the bar.
  RECT Oriented(int A0, int B0, int A1, int B1) const {
    return Vertical() ? RECT{B0, A0, B1, A1} : RECT{A0, B0, A1, B1};
  }
  int ThumbTop() const { return std::max(2, (Breadth() - ThumbLength) / 2 - ((Style & TBS_NOTICKS) ? 0 : 3)); }
  RECT ChannelRect() const {
    const int Across = ThumbTop() + ThumbLength / 2 - TrackChannelThickness / 2;
    return Oriented(Margin() - 2, Across, Length() - Margin() + 2, Across + TrackChannelThickness);
  }
  RECT ThumbRect() const {
    const int Centre = PixelOf(Pos);
    return Oriented(Centre - TrackThumbWidth / 2, ThumbTop(), Centre + TrackThumbWidth / 2 + 1, ThumbTop() + ThumbLength);
  }

  void Notify(WORD Code) {
    if (HWND Parent = GetParent(Wnd))
      SendMessage(Parent, Vertical() ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(Code, static_cast<WORD>(Pos)),
                  reinterpret_cast<LPARAM>(Wnd));
  }
  bool SetPos(int Value, bool Redraw = true) {
    Value = std::clamp(Value, Min, std::max(Min, Max));
    if (Value == Pos) return false;
    Pos = Value;
    if (Redraw) InvalidateRect(Wnd, nullptr, TRUE);
    return true;
  }
  void SetRange(int NewMin, int NewMax) {
    Min = NewMin;
    Max = NewMax;
    Pos = std::clamp(Pos, Min, std::max(Min, Max));
    InvalidateRect(Wnd, nullptr, TRUE);
  }

  void Paint(HDC Dc) {
    SavedDC Saved(Dc);
    const RECT C = Client();
    HBRUSH Back = nullptr;
    if (HWND Parent = GetParent(Wnd))
      Back = reinterpret_cast<HBRUSH>(
          SendMessage(Parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(Dc), reinterpret_cast<LPARAM>(Wnd)));
    FillRect(Dc, &C, Back ? Back : GetSysColorBrush(COLOR_BTNFACE));
    RECT Ch = ChannelRect();
    FillRect(Dc, &Ch, GetSysColorBrush(COLOR_WINDOW));
    FrameRect(Dc, &Ch, GetSysColorBrush(COLOR_BTNSHADOW));
    if ((Style & TBS_ENABLESELRANGE) && SelEnd > SelStart) {
      const int A = PixelOf(SelStart), B = PixelOf(SelEnd);
      RECT S = Vertical() ? RECT{Ch.Left + 1, A, Ch.Right - 1, B + 1} : RECT{A, Ch.Top + 1, B + 1, Ch.Bottom - 1};
      FillRect(Dc, &S, GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    if (!(Style & TBS_NOTICKS)) {
      const int After = ThumbTop() + ThumbLength + 2, Before = ThumbTop() - 5;
      auto Tick = [&](int Value) {
        const int P = PixelOf(Value);
        if (!(Style & TBS_TOP) || (Style & TBS_BOTH)) {
          RECT T = Oriented(P, After, P + 1, After + 3);
          FillRect(Dc, &T, GetSysColorBrush(COLOR_BTNTEXT));
        }
        if ((Style & TBS_TOP) || (Style & TBS_BOTH)) {
          RECT T = Oriented(P, Before, P + 1, Before + 3);
          FillRect(Dc, &T, GetSysColorBrush(COLOR_BTNTEXT));
        }
      };
      Tick(Min);
      Tick(Max);
      if ((Style & TBS_AUTOTICKS) && Freq > 0)
        for (long long V = static_cast<long long>(Min) + Freq; V < Max; V += Freq) Tick(static_cast<int>(V));
    }
    if (!(Style & TBS_NOTHUMB)) {
      RECT T = ThumbRect();
      FillRect(Dc, &T, GetSysColorBrush(Dragging ? COLOR_3DLIGHT : COLOR_BTNFACE));
      FrameRect(Dc, &T, GetSysColorBrush(COLOR_3DDKSHADOW));
    }
    if (Focused) {
      RECT F = C;
      DrawFocusRect(Dc, &F);
    }
  }

  int Along(LPARAM LParam) const { return Vertical() ? GET_Y_LPARAM(LParam) : GET_X_LPARAM(LParam); }

  void MouseDown(LPARAM LParam) {
    if (GetFocus() != Wnd) SetFocus(Wnd);
    const POINT P{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)};
    const RECT T = ThumbRect();
    SetCapture(Wnd);
    if (!(Style & TBS_NOTHUMB) && PtInRect(&T, P)) {
      Dragging = true;
      DragOffset = Along(LParam) - PixelOf(Pos);
      InvalidateRect(Wnd, nullptr, TRUE);
      return;
    }
    Paging = true;
    const bool Before = Along(LParam) < PixelOf(Pos);
    if (SetPos(Before ? Pos - PageSize : Pos + PageSize)) Notify(Before ? TB_PAGEUP : TB_PAGEDOWN);
  }
  void MouseMove(LPARAM LParam) {
    if (!Dragging) return;
    if (SetPos(ValueAt(Along(LParam) - DragOffset))) Notify(TB_THUMBTRACK);
  }
  void MouseUp() {
    if (!Dragging && !Paging) return;
    const bool WasDragging = Dragging;
    Dragging = Paging = false;
    if (GetCapture() == Wnd) ReleaseCapture();
    if (WasDragging) Notify(TB_THUMBPOSITION);
    Notify(TB_ENDTRACK);
    InvalidateRect(Wnd, nullptr, TRUE);
  }
  void KeyDown(WPARAM Vk) {
    int To = Pos;
    WORD Code = 0;
    switch (Vk) {
      case VK_LEFT: case VK_UP: To -= LineSize; Code = TB_LINEUP; break;
      case VK_RIGHT: case VK_DOWN: To += LineSize; Code = TB_LINEDOWN; break;
      case VK_PRIOR: To -= PageSize; Code = TB_PAGEUP; break;
      case VK_NEXT: To += PageSize; Code = TB_PAGEDOWN; break;
      case VK_HOME: To = Min; Code = TB_TOP; break;
      case VK_END: To = Max; Code = TB_BOTTOM; break;
      default: return;
    }
    SetPos(To);
    Notify(Code);
  }
};

TrackBarState* TrackBarOf(HWND Wnd) { return NativeState<TrackBarState>(Wnd); }

bool IsTrackKey(WPARAM Vk) {
  return Vk == VK_LEFT || Vk == VK_RIGHT || Vk == VK_UP || Vk == VK_DOWN || Vk == VK_PRIOR || Vk == VK_NEXT ||
         Vk == VK_HOME || Vk == VK_END;
}

}  // namespace

LRESULT TrackBarWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_NCCREATE) {
    const auto* Create = reinterpret_cast<const CREATESTRUCT*>(LParam);
    if (!AttachNativeState<TrackBarState>(Wnd, Wnd, static_cast<DWORD>(Create->style))) return FALSE;
    return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
  TrackBarState* S = TrackBarOf(Wnd);
  if (!S) return DefWindowProc(Wnd, Msg, WParam, LParam);
  const bool Redraw = WParam != 0;
  switch (Msg) {
    case WM_NCDESTROY:
      DetachNativeState<TrackBarState>(Wnd);
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case TBM_GETPOS: return S->Pos;
    case TBM_GETRANGEMIN: return S->Min;
    case TBM_GETRANGEMAX: return S->Max;
    case TBM_SETPOS: S->SetPos(static_cast<int>(LParam), Redraw); return 0;
    case TBM_SETRANGE:
      S->SetRange(static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(LParam))),
                  static_cast<SHORT>(HIWORD(static_cast<uintptr_t>(LParam))));
      return 0;
    case TBM_SETRANGEMIN: S->SetRange(static_cast<int>(LParam), S->Max); return 0;
    case TBM_SETRANGEMAX: S->SetRange(S->Min, static_cast<int>(LParam)); return 0;
    case TBM_SETSEL:
      S->SelStart = static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(LParam)));
      S->SelEnd = static_cast<SHORT>(HIWORD(static_cast<uintptr_t>(LParam)));
      if (Redraw) InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case TBM_SETSELSTART: S->SelStart = static_cast<int>(LParam); if (Redraw) InvalidateRect(Wnd, nullptr, TRUE); return 0;
    case TBM_SETSELEND: S->SelEnd = static_cast<int>(LParam); if (Redraw) InvalidateRect(Wnd, nullptr, TRUE); return 0;
    case TBM_GETSELSTART: return S->SelStart;
    case TBM_GETSELEND: return S->SelEnd;
    case TBM_CLEARSEL: S->SelStart = S->SelEnd = 0; if (Redraw) InvalidateRect(Wnd, nullptr, TRUE); return 0;
    case TBM_SETTICFREQ: S->Freq = static_cast<int>(WParam); InvalidateRect(Wnd, nullptr, TRUE); return 0;
    case TBM_SETPAGESIZE: { const int Old = S->PageSize; S->PageSize = static_cast<int>(LParam); return Old; }
    case TBM_GETPAGESIZE: return S->PageSize;
    case TBM_SETLINESIZE: { const int Old = S->LineSize; S->LineSize = static_cast<int>(LParam); return Old; }
    case TBM_GETLINESIZE: return S->LineSize;
    case TBM_SETTHUMBLENGTH: S->ThumbLength = std::max(4, static_cast<int>(WParam)); InvalidateRect(Wnd, nullptr, TRUE); return 0;
    case TBM_GETTHUMBLENGTH: return S->ThumbLength;
    case TBM_GETTHUMBRECT:
      if (auto* R = reinterpret_cast<RECT*>(LParam)) *R = S->ThumbRect();
      return 0;
    case TBM_GETCHANNELRECT:
      // Always along the bar, as if it were horizontal.
      if (auto* R = reinterpret_cast<RECT*>(LParam)) {
        const RECT Ch = S->ChannelRect();
        *R = S->Vertical() ? RECT{Ch.Top, Ch.Left, Ch.Bottom, Ch.Right} : Ch;
      }
      return 0;
    case WM_STYLECHANGED:
      if (WParam == static_cast<WPARAM>(GWL_STYLE)) S->Style = reinterpret_cast<STYLESTRUCT*>(LParam)->styleNew;
      InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_SIZE:
    case WM_ENABLE: InvalidateRect(Wnd, nullptr, TRUE); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: return PaintNativeControl(Wnd, WParam, *S);
    case WM_LBUTTONDOWN: S->MouseDown(LParam); return 0;
    case WM_MOUSEMOVE: S->MouseMove(LParam); return 0;
    case WM_LBUTTONUP: S->MouseUp(); return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(LParam) != Wnd) S->MouseUp();
      return 0;
    case WM_KEYDOWN: S->KeyDown(WParam); return 0;
    case WM_KEYUP:
      if (IsTrackKey(WParam)) S->Notify(TB_ENDTRACK);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      S->Focused = Msg == WM_SETFOCUS;
      InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    default: return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace vantrel::win
