// The plain frame the default procedure paints for a window no skin draws: the border of
// its styles, the caption bar with the title (active or inactive colours) and the caption
// buttons its styles ask for, which answer their hit codes and run their window commands.
#include <algorithm>

#include "platform/win/Capture.h"
#include "platform/win/DrawText.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/NonClient.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WindowDc.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

namespace {

bool FrameHasCaption(const Window* W) { return (W->Style & WS_CAPTION) == WS_CAPTION; }

void FrameFill(HDC Dc, RECT R, int Color) { FillRect(Dc, &R, GetSysColorBrush(Color)); }

void PaintCaptionButton(HDC Dc, const CaptionButtonPlace& B, bool Pressed, bool Maximized) {
  RECT R = B.Rect;
  FrameFill(Dc, R, COLOR_BTNFACE);
  // A raised square, sunken while pressed.
  const int Light = Pressed ? COLOR_3DDKSHADOW : COLOR_BTNHIGHLIGHT;
  const int Dark = Pressed ? COLOR_BTNHIGHLIGHT : COLOR_3DDKSHADOW;
  FrameFill(Dc, {R.Left, R.Top, R.Right - 1, R.Top + 1}, Light);
  FrameFill(Dc, {R.Left, R.Top, R.Left + 1, R.Bottom - 1}, Light);
  FrameFill(Dc, {R.Left, R.Bottom - 1, R.Right, R.Bottom}, Dark);
  FrameFill(Dc, {R.Right - 1, R.Top, R.Right, R.Bottom}, Dark);
  const int Shift = Pressed ? 1 : 0;
  const int L = R.Left + 4 + Shift, T = R.Top + 4 + Shift, Rt = R.Right - 5 + Shift, Bt = R.Bottom - 5 + Shift;
  switch (B.Code) {
    case HTCLOSE:
      // A cross of two-pixel strokes.
      for (int I = 0; I <= Rt - L; ++I) {
        FrameFill(Dc, {L + I, T + I, L + I + 2, T + I + 1}, COLOR_BTNTEXT);
        FrameFill(Dc, {Rt - I - 1, T + I, Rt - I + 1, T + I + 1}, COLOR_BTNTEXT);
      }
      break;
    case HTMAXBUTTON:
      if (Maximized) {  // restore: two overlapping windows
        RECT Back{L + 3, T, Rt + 1, Bt - 2};
        FrameRect(Dc, &Back, GetSysColorBrush(COLOR_BTNTEXT));
        FrameFill(Dc, {Back.Left, Back.Top + 1, Back.Right, Back.Top + 2}, COLOR_BTNTEXT);
        RECT Front{L, T + 3, Rt - 2, Bt + 1};
        FrameFill(Dc, Front, COLOR_BTNFACE);
        FrameRect(Dc, &Front, GetSysColorBrush(COLOR_BTNTEXT));
        FrameFill(Dc, {Front.Left, Front.Top + 1, Front.Right, Front.Top + 2}, COLOR_BTNTEXT);
      } else {
        RECT Box{L, T, Rt + 1, Bt + 1};
        FrameRect(Dc, &Box, GetSysColorBrush(COLOR_BTNTEXT));
        FrameFill(Dc, {Box.Left, Box.Top + 1, Box.Right, Box.Top + 2}, COLOR_BTNTEXT);
      }
      break;
    case HTMINBUTTON:
      FrameFill(Dc, {L + 1, Bt - 1, Rt - 1, Bt + 1}, COLOR_BTNTEXT);
      break;
    default:
      break;
  }
}

WPARAM CaptionCommandOf(const Window* W, LRESULT Code) {
  switch (Code) {
    case HTCLOSE: return SC_CLOSE;
    case HTMINBUTTON: return SC_MINIMIZE;
    case HTMAXBUTTON: return (W->Style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE;
    default: return 0;
  }
}

}  // namespace

std::vector<CaptionButtonPlace> CaptionButtons(const Window* W) {
  std::vector<CaptionButtonPlace> Out;
  if (!FrameHasCaption(W) || !(W->Style & WS_SYSMENU)) return Out;
  const RECT F = WindowManager::DefaultFrame(W->Style, W->ExStyle);
  const int Bar = GetSystemMetrics(SM_CYCAPTION);
  const int Size = std::max(4, std::min(GetSystemMetrics(SM_CXSIZE) - 2, Bar - 4));
  const int Top = F.Top - Bar + (Bar - Size) / 2;
  int Right = W->Width() - F.Right - 2;
  auto Add = [&](LRESULT Code, int Gap) {
    Out.push_back({Code, RECT{Right - Size, Top, Right, Top + Size}});
    Right -= Size + Gap;
  };
  Add(HTCLOSE, 2);
  if (W->Style & WS_MAXIMIZEBOX) Add(HTMAXBUTTON, 0);
  if (W->Style & WS_MINIMIZEBOX) Add(HTMINBUTTON, 0);
  return Out;
}

LRESULT CaptionButtonAt(const Window* W, int X, int Y) {
  for (const CaptionButtonPlace& B : CaptionButtons(W))
    if (X >= B.Rect.Left && X < B.Rect.Right && Y >= B.Rect.Top && Y < B.Rect.Bottom) return B.Code;
  return HTNOWHERE;
}

void PaintDefaultFrame(Window* W) {
  const HWND Wnd = W->Handle;
  const RECT F = WindowManager::DefaultFrame(W->Style, W->ExStyle);
  if (F.Left == 0 && F.Top == 0 && F.Right == 0 && F.Bottom == 0) return;
  HDC Dc = GetWindowDC(Wnd);
  if (!Dc) return;
  const bool Active = W->FrameActive;
  const int Width = W->Width(), Height = W->Height();
  // The border: a dark outer line, the sizing band, a sunken edge for the client edge.
  RECT Ring{0, 0, Width, Height};
  const int Edge = (W->ExStyle & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE) : 0;
  const int Outer = F.Left - Edge;
  for (int I = 0; I < Outer; ++I) {
    const int Color = I == 0 ? COLOR_WINDOWFRAME : (Active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER);
    FrameRect(Dc, &Ring, GetSysColorBrush(Color));
    InflateRect(&Ring, -1, -1);
  }
  if (FrameHasCaption(W)) {
    const int Bar = GetSystemMetrics(SM_CYCAPTION);
    RECT Caption{Ring.Left, Ring.Top, Ring.Right, Ring.Top + Bar};
    FrameFill(Dc, Caption, Active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    const std::vector<CaptionButtonPlace> Buttons = CaptionButtons(W);
    RECT Title = Caption;
    Title.Left += 6;
    Title.Right = (Buttons.empty() ? Caption.Right : Buttons.back().Rect.Left) - 4;
    LOGFONT Lf{};
    GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof Lf, &Lf);
    Lf.lfWeight = FW_BOLD;
    HFONT Bold = CreateFontIndirect(&Lf);
    HGDIOBJ Old = SelectObject(Dc, Bold);
    SetBkMode(Dc, TRANSPARENT);
    SetTextColor(Dc, GetSysColor(Active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    DrawText(Dc, W->Text, -1, &Title, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(Dc, Old);
    DeleteObject(Bold);
    for (const CaptionButtonPlace& B : Buttons)
      PaintCaptionButton(Dc, B, W->FramePressed == B.Code, (W->Style & WS_MAXIMIZE) != 0);
    Ring.Top += Bar;
  }
  for (int I = 0; I < Edge; ++I) {
    // Shadow above and left, light below and right.
    FrameFill(Dc, {Ring.Left, Ring.Top, Ring.Right, Ring.Top + 1}, I == 0 ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW);
    FrameFill(Dc, {Ring.Left, Ring.Top, Ring.Left + 1, Ring.Bottom}, I == 0 ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW);
    FrameFill(Dc, {Ring.Left, Ring.Bottom - 1, Ring.Right, Ring.Bottom}, I == 0 ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT);
    FrameFill(Dc, {Ring.Right - 1, Ring.Top, Ring.Right, Ring.Bottom}, I == 0 ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT);
    InflateRect(&Ring, -1, -1);
  }
  ReleaseDC(Wnd, Dc);
}

void TrackCaptionButton(WindowManager& M, HWND Wnd, LRESULT Code) {
  Window* W = M.Find(Wnd);
  if (!W) return;
  // Pressed while the pointer stays on it; the command runs when the button comes up there.
  W->FramePressed = Code;
  PaintDefaultFrame(W);
  SetCapture(Wnd);
  bool Over = true;
  for (;;) {
    MSG Msg;
    if (!FetchModalMessage(M, Msg)) break;
    if (Msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(Msg.wParam));
      Over = false;
      break;
    }
    if (!(W = M.Find(Wnd))) return;
    if (Msg.message == WM_MOUSEMOVE || Msg.message == WM_LBUTTONUP) {
      const POINT O = M.WindowOrigin(W);
      const bool Now = CaptionButtonAt(W, Msg.pt.X - O.X, Msg.pt.Y - O.Y) == Code;
      if (Now != Over) {
        Over = Now;
        W->FramePressed = Over ? Code : HTNOWHERE;
        PaintDefaultFrame(W);
      }
      if (Msg.message == WM_LBUTTONUP) break;
    } else if (Msg.message == WM_KEYDOWN && Msg.wParam == VK_ESCAPE) {
      Over = false;
      break;
    } else if (!(Msg.message >= WM_MOUSEFIRST && Msg.message <= WM_MOUSELAST) &&
               !(Msg.message >= WM_NCMOUSEMOVE && Msg.message <= WM_NCMBUTTONDBLCLK)) {
      TranslateMessage(&Msg);
      DispatchMessage(&Msg);
    }
    if (M.Input().Capture() != Wnd) {
      Over = false;
      break;
    }
  }
  if (M.Input().Capture() == Wnd) ReleaseCapture();
  if (!(W = M.Find(Wnd))) return;
  W->FramePressed = HTNOWHERE;
  PaintDefaultFrame(W);
  if (Over) M.Deliver(W, WM_SYSCOMMAND, CaptionCommandOf(W, Code), 0);
}

}  // namespace vantrel::win
