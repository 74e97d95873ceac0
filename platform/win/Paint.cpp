// Update regions: invalidation and validation down the window tree, painting at once
// (UpdateWindow, RedrawWindow's RDW_UPDATENOW/RDW_ERASENOW) and BeginPaint/EndPaint.
#include "platform/win/Paint.h"

#include "platform/win/GdiInternal.h"
#include "platform/win/Keyboard.h"
#include "platform/win/PaintState.h"

namespace vantrel::win {

namespace {

RECT ClientBox(const Window* W) {
  return {0, 0, W->ClientRect.Right - W->ClientRect.Left, W->ClientRect.Bottom - W->ClientRect.Top};
}

// The window rectangle in client coordinates.
RECT WindowBox(const Window* W) {
  return {-W->ClientRect.Left, -W->ClientRect.Top, W->Width() - W->ClientRect.Left,
          W->Height() - W->ClientRect.Top};
}

bool ChildrenTakePart(const Window* W, UINT Flags) {
  if (Flags & RDW_ALLCHILDREN) return true;
  return !(Flags & RDW_NOCHILDREN) && !(W->Style & WS_CLIPCHILDREN);
}

}  // namespace

std::vector<Window*> ChildrenInPaintOrder(const Window* W) {
  // Bottom to top, so a higher sibling that does not clip its neighbours ends up above
  // them; transparent children after all others, as they show what lies below them.
  std::vector<Window*> Out;
  Out.reserve(W->Children.size());
  for (auto It = W->Children.rbegin(); It != W->Children.rend(); ++It)
    if (!((*It)->ExStyle & WS_EX_TRANSPARENT)) Out.push_back(*It);
  for (auto It = W->Children.rbegin(); It != W->Children.rend(); ++It)
    if ((*It)->ExStyle & WS_EX_TRANSPARENT) Out.push_back(*It);
  return Out;
}

void RedrawTree(WindowManager& M, Window* W, const Region* Area, UINT Flags) {
  WindowPaintData& D = PaintDataOf(W);
  const RECT Box = WindowBox(W);
  Region A = Area ? *Area : Region(Box);
  A.IntersectRect(Box);
  Region InClient(A);
  InClient.IntersectRect(ClientBox(W));
  Region InFrame(A);
  InFrame.SubtractRect(ClientBox(W));
  if (Flags & RDW_INVALIDATE) {
    if (!ShowsLayeredContents(W)) {
      if (!InClient.Empty()) {
        D.Update.Union(InClient);
        if (Flags & RDW_ERASE) D.ErasePending = true;
      }
      if ((Flags & RDW_FRAME) && !InFrame.Empty()) D.FramePending = true;
    }
  } else if (Flags & RDW_VALIDATE) {
    D.Update.Subtract(InClient);
    if (D.Update.Empty() || (Flags & RDW_NOERASE)) D.ErasePending = false;
    if (Flags & RDW_NOFRAME) D.FramePending = false;
    if (D.PaintDepth > 0) D.Validated = true;
  }
  if (!(Flags & (RDW_INVALIDATE | RDW_VALIDATE)) || !ChildrenTakePart(W, Flags)) return;
  // A child's frame under the area is repainted with it.
  const UINT ChildFlags = (Flags & ~RDW_NOCHILDREN) | ((Flags & RDW_INVALIDATE) ? RDW_FRAME : 0);
  const std::vector<Window*> Kids = W->Children;
  for (Window* C : Kids) {
    if (!(C->Style & WS_VISIBLE)) continue;
    Region CA(A);
    CA.Translate(-(C->Rect.Left + C->ClientRect.Left), -(C->Rect.Top + C->ClientRect.Top));
    CA.IntersectRect(WindowBox(C));
    if (!CA.Empty()) RedrawTree(M, C, &CA, ChildFlags);
  }
}

void UpdateNow(WindowManager& M, Window* W, bool Children) {
  const HWND Handle = W->Handle;
  if (M.IsVisible(W) && !ShowsLayeredContents(W)) {
    if (PaintDataOf(W).FramePending) {
      PaintDataOf(W).FramePending = false;
      M.Deliver(W, WM_NCPAINT, 1, 0);
      if (!(W = M.Find(Handle))) return;
    }
    if (!PaintDataOf(W).Update.Empty()) {
      DispatchPaint(M, W, 0, 0);
      if (!(W = M.Find(Handle))) return;
    }
  }
  if (!Children) return;
  std::vector<HWND> Kids;
  for (Window* C : ChildrenInPaintOrder(W)) Kids.push_back(C->Handle);
  for (HWND K : Kids)
    if (Window* C = M.Find(K)) UpdateNow(M, C, true);
}

void EraseNow(WindowManager& M, Window* W) {
  const HWND Handle = W->Handle;
  if (!M.IsVisible(W) || ShowsLayeredContents(W)) return;
  if (PaintDataOf(W).FramePending) {
    PaintDataOf(W).FramePending = false;
    M.Deliver(W, WM_NCPAINT, 1, 0);
    if (!(W = M.Find(Handle))) return;
  }
  WindowPaintData& D = PaintDataOf(W);
  if (!D.ErasePending || D.Update.Empty()) return;
  D.ErasePending = false;
  HDC Dc = MakeWindowDc(M, W, true, D.Update, 0);
  struct Release {
    WindowManager& M;
    HDC Dc;
    ~Release() { EndWindowDc(M, Dc, true); }
  } Guard{M, Dc};
  M.Deliver(W, WM_ERASEBKGND, reinterpret_cast<WPARAM>(Dc), 0);
}

}  // namespace vantrel::win

using namespace vantrel::win;

namespace {

WindowManager* Manager() {
  WindowManager* M = WindowManager::Instance();
  if (!M) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return M;
}

bool ChildrenUpdated(const Window* W, UINT Flags) {
  if (Flags & RDW_NOCHILDREN) return false;
  return (Flags & RDW_ALLCHILDREN) || !(W->Style & WS_CLIPCHILDREN);
}

BOOL Redraw(WindowManager& M, Window* W, const Region* Area, UINT Flags) {
  RedrawTree(M, W, Area, Flags);
  if (Flags & RDW_UPDATENOW) {
    UpdateNow(M, W, ChildrenUpdated(W, Flags));
    PresentDirty(M);
  } else if (Flags & RDW_ERASENOW) {
    EraseNow(M, W);
    PresentDirty(M);
  }
  return TRUE;
}

}  // namespace

BOOL RedrawWindow(HWND Wnd, const RECT* Rect, HRGN Rgn, UINT Flags) {
  WindowManager* M = Manager();
  if (!M) return FALSE;
  std::optional<Region> Area;
  if (Rgn) {
    auto R = RegionOf(Rgn);
    if (!R) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    Area = R->FRegion;
  } else if (Rect) {
    Area = Region(*Rect);
  }
  if (!Wnd) {
    // The desktop: every top-level window, the area given in screen coordinates.
    std::vector<HWND> Tops;
    for (Window* T : M->TopLevels()) Tops.push_back(T->Handle);
    for (HWND H : Tops) {
      Window* T = M->Find(H);
      if (!T) continue;
      std::optional<Region> Local = Area;
      if (Local) {
        const POINT O = M->ClientOrigin(T);
        Local->Translate(-O.X, -O.Y);
      }
      Redraw(*M, T, Local ? &*Local : nullptr, Flags | RDW_ALLCHILDREN);
    }
    return TRUE;
  }
  Window* W = M->FindOrFail(Wnd);
  return W ? Redraw(*M, W, Area ? &*Area : nullptr, Flags) : FALSE;
}

BOOL InvalidateRect(HWND Wnd, const RECT* Rect, BOOL Erase) {
  if (!Wnd) return RedrawWindow(nullptr, Rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
  return RedrawWindow(Wnd, Rect, nullptr, RDW_INVALIDATE | (Erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND Wnd, HRGN Rgn, BOOL Erase) {
  if (!Rgn) return InvalidateRect(Wnd, nullptr, Erase);
  return RedrawWindow(Wnd, nullptr, Rgn, RDW_INVALIDATE | (Erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND Wnd, const RECT* Rect) {
  return RedrawWindow(Wnd, Rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND Wnd, HRGN Rgn) { return RedrawWindow(Wnd, nullptr, Rgn, RDW_VALIDATE | RDW_NOCHILDREN); }

BOOL GetUpdateRect(HWND Wnd, LPRECT Rect, BOOL Erase) {
  WindowManager* M = Manager();
  Window* W = M ? M->FindOrFail(Wnd) : nullptr;
  if (!W) return FALSE;
  if (Erase) {
    EraseNow(*M, W);
    if (!(W = M->Find(Wnd))) return FALSE;
  }
  const Region& U = PaintDataOf(W).Update;
  if (Rect) *Rect = U.Extents();
  return U.Empty() ? FALSE : TRUE;
}

BOOL UpdateWindow(HWND Wnd) {
  WindowManager* M = Manager();
  Window* W = M ? M->FindOrFail(Wnd) : nullptr;
  if (!W) return FALSE;
  UpdateNow(*M, W, true);
  PresentDirty(*M);  // what was painted shows at once
  return TRUE;
}

HDC BeginPaint(HWND Wnd, LPPAINTSTRUCT Paint) {
  WindowManager* M = Manager();
  Window* W = M ? M->FindOrFail(Wnd) : nullptr;
  if (!W) return nullptr;
  if (!Paint) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (PaintDataOf(W).FramePending && M->IsVisible(W)) {
    PaintDataOf(W).FramePending = false;
    M->Deliver(W, WM_NCPAINT, 1, 0);
    if (!(W = M->FindOrFail(Wnd))) return nullptr;
  }
  WindowPaintData& D = PaintDataOf(W);
  Region Area = D.Update;
  D.Update.Clear();
  const bool Erase = D.ErasePending;
  D.ErasePending = false;
  if (D.PaintDepth > 0) D.Validated = true;
  *Paint = PAINTSTRUCT{};
  // The caret of the window hides while it paints.
  Paint->fRestore = HideCaret(Wnd);
  Paint->rcPaint = Area.Extents();
  HDC Dc = MakeWindowDc(*M, W, true, std::move(Area), D.PaintDepth);
  Paint->hdc = Dc;
  if (Erase) Paint->fErase = M->Deliver(W, WM_ERASEBKGND, reinterpret_cast<WPARAM>(Dc), 0) == 0 ? TRUE : FALSE;
  return Dc;
}

BOOL EndPaint(HWND Wnd, const PAINTSTRUCT* Paint) {
  WindowManager* M = WindowManager::Instance();
  if (!Paint || !M) return FALSE;
  const bool Ended = EndWindowDc(*M, Paint->hdc, true);
  if (Paint->fRestore) ShowCaret(Wnd);
  return Ended ? TRUE : FALSE;
}
