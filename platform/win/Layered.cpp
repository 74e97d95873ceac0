// Layered windows: the attributes the display composes with, and contents given as
// premultiplied pixels by UpdateLayeredWindow.
#include "platform/win/Layered.h"

#include <algorithm>

#include "platform/win/GdiInternal.h"
#include "platform/win/Paint.h"
#include "platform/win/PaintState.h"

using namespace vantrel::win;

namespace {

// A top-level window with WS_EX_LAYERED, or nullptr (and the error set).
Window* LayeredWindow(HWND Wnd, WindowManager** Out) {
  WindowManager* M = WindowManager::Instance();
  *Out = M;
  Window* W = M ? M->FindOrFail(Wnd) : nullptr;
  if (!M) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  if (!W) return nullptr;
  if (!W->IsTopLevel() || !(W->ExStyle & WS_EX_LAYERED)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return W;
}

// Copies Size pixels at (X, Y) of the source DC's surface into Dst as they are (alpha
// included); what lies outside the source becomes transparent black.
void CopyContents(DcObject& Src, int X, int Y, Surface& Dst) {
  Surface* S = Src.Begin();
  const POINT O = Src.ToSurface(POINT{X, Y});
  for (int Row = 0; Row < Dst.Height(); ++Row) {
    uint32_t* Out = Dst.Row(Row);
    std::fill_n(Out, Dst.Width(), 0u);
    const int SY = O.Y + Row;
    if (!S || SY < 0 || SY >= S->Height()) continue;
    const int X0 = std::max(0, -O.X), X1 = std::min(Dst.Width(), S->Width() - O.X);
    if (X1 > X0) std::copy_n(S->Row(SY) + O.X + X0, X1 - X0, Out + X0);
  }
}

}  // namespace

BOOL SetLayeredWindowAttributes(HWND Wnd, COLORREF, BYTE Alpha, DWORD Flags) {
  WindowManager* M;
  Window* W = LayeredWindow(Wnd, &M);
  if (!W) return FALSE;
  if (Flags & ~LWA_ALPHA) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  WindowPaintData& D = PaintDataOf(W);
  const bool WasContents = D.UpdateLayered;
  D.AttributesSet = true;
  D.UpdateLayered = false;
  D.PerPixel = false;
  D.Alpha = (Flags & LWA_ALPHA) ? Alpha : 255;
  // The window paints itself again instead of showing given contents.
  if (WasContents) RedrawTree(*M, W, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  MarkDirty(W, vantrel::win::Region(RECT{0, 0, W->Width(), W->Height()}));
  PresentDirty(*M);
  return TRUE;
}

BOOL UpdateLayeredWindow(HWND Wnd, HDC, const POINT* Dest, const SIZE* Size, HDC SrcDc, const POINT* SrcPos,
                         COLORREF, const BLENDFUNCTION* Blend, DWORD Flags) {
  WindowManager* M;
  Window* W = LayeredWindow(Wnd, &M);
  if (!W) return FALSE;
  WindowPaintData& D = PaintDataOf(W);
  std::shared_ptr<DcObject> Src;
  const bool BadFlags = (Flags & ~(ULW_ALPHA | ULW_OPAQUE)) || ((Flags & ULW_ALPHA) && !Blend);
  const bool BadSize = Size ? (Size->cx <= 0 || Size->cy <= 0) : SrcDc != nullptr;
  if (D.AttributesSet || BadFlags || BadSize || (SrcDc && !(Src = DcOf(SrcDc)))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const HWND Handle = W->Handle;
  // Given contents from here on: no WM_PAINT, and placing the window repaints nothing.
  D.UpdateLayered = true;
  D.Update.Clear();
  D.ErasePending = D.FramePending = false;
  if ((Dest && (Dest->X != W->Rect.Left || Dest->Y != W->Rect.Top)) ||
      (Size && (Size->cx != W->Width() || Size->cy != W->Height()))) {
    UINT Pos = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;
    if (!Dest) Pos |= SWP_NOMOVE;
    if (!Size) Pos |= SWP_NOSIZE;
    const POINT At = Dest ? *Dest : POINT{W->Rect.Left, W->Rect.Top};
    const SIZE Sz = Size ? *Size : SIZE{W->Width(), W->Height()};
    if (!M->SetPos(W, nullptr, At.X, At.Y, Sz.cx, Sz.cy, Pos) || !(W = M->Find(Handle))) return FALSE;
  }
  WindowPaintData& Data = PaintDataOf(W);
  if (Flags & ULW_ALPHA) {
    Data.Alpha = Blend->SourceConstantAlpha;
    Data.PerPixel = (Blend->AlphaFormat & AC_SRC_ALPHA) != 0;
  } else {
    Data.Alpha = 255;
    Data.PerPixel = false;
  }
  if (Src && W->BackingStore) {
    const POINT From = SrcPos ? *SrcPos : POINT{0, 0};
    CopyContents(*Src, From.X, From.Y, *W->BackingStore);
  }
  MarkDirty(W, vantrel::win::Region(RECT{0, 0, W->Width(), W->Height()}));
  PresentDirty(*M);
  return TRUE;
}
