// The paint cycle in the message loop: once nothing else is queued, windows with a dirty
// frame get WM_NCPAINT and windows with an update region WM_PAINT (parents before
// children), then each top-level window's dirty area goes to the display. Also the
// window manager's hooks: placement and re-parenting invalidate what they changed.
#include <functional>

#include "platform/win/CaretPaint.h"
#include "platform/win/GdiInternal.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/PaintState.h"

namespace vantrel::win {

namespace {

bool UnderFilter(const Window* W, HWND Filter) {
  if (!Filter) return true;
  for (const Window* A = W; A; A = A->Parent)
    if (A->Handle == Filter) return true;
  return false;
}

bool Wants(const Window* W, bool FrameCounts) {
  if (!W->Paint || ShowsLayeredContents(W)) return false;
  return !W->Paint->Update.Empty() || (FrameCounts && W->Paint->FramePending);
}

// The first visible window, in paint order, that has something to paint.
Window* NextToPaint(const WindowManager& M, HWND Filter, bool FrameCounts) {
  if (Filter == reinterpret_cast<HWND>(-1)) return nullptr;  // thread messages only
  std::function<Window*(Window*)> Visit = [&](Window* W) -> Window* {
    if (!(W->Style & WS_VISIBLE)) return nullptr;
    if (Wants(W, FrameCounts) && UnderFilter(W, Filter)) return W;
    for (Window* C : ChildrenInPaintOrder(W))
      if (Window* Found = Visit(C)) return Found;
    return nullptr;
  };
  for (Window* T : M.TopLevels())
    if (Window* Found = Visit(T)) return Found;
  return nullptr;
}

// Tells the display about constant or per-pixel alpha that changed, and takes windows
// that dropped WS_EX_LAYERED back to ordinary painting.
void SyncLayering(WindowManager& M) {
  const std::vector<Window*> Tops = M.TopLevels();
  for (Window* T : Tops) {
    if (!T->Paint) continue;
    WindowPaintData& D = *T->Paint;
    const bool Layered = (T->ExStyle & WS_EX_LAYERED) != 0;
    if (!Layered && (D.AttributesSet || D.UpdateLayered)) {
      D.AttributesSet = D.UpdateLayered = D.PerPixel = false;
      D.Alpha = 255;
      RedrawTree(M, T, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    BYTE Alpha = 255;
    bool PerPixel = false;
    if (Layered && (D.AttributesSet || D.UpdateLayered)) {
      Alpha = D.Alpha;
      PerPixel = D.UpdateLayered && D.PerPixel;
    }
    if (Alpha != D.ShownAlpha || PerPixel != D.ShownPerPixel) {
      if (T->HasNative) M.GetDisplay().SetNativeWindowAlpha(T->Handle, Alpha, PerPixel);
      D.ShownAlpha = Alpha;
      D.ShownPerPixel = PerPixel;
    }
  }
}

bool TakePaint(WindowManager& M, MSG& Out, HWND Filter, bool Remove) {
  SyncLayering(M);
  Window* W = NextToPaint(M, Filter, Remove);
  if (!W) {
    PresentDirty(M);
    return false;
  }
  WindowPaintData& D = PaintDataOf(W);
  const UINT Msg = D.FramePending && Remove ? WM_NCPAINT : WM_PAINT;
  // WM_NCPAINT's 1: the whole frame.
  Out = MSG{W->Handle, Msg, Msg == WM_NCPAINT ? WPARAM{1} : WPARAM{0}, 0,
            static_cast<DWORD>(M.GetClock().Now()), M.Queue().Cursor()};
  if (Remove && Msg == WM_NCPAINT) D.FramePending = false;
  return true;
}

bool AnyPaintPending(WindowManager& M) {
  if (NextToPaint(M, nullptr, true)) return true;
  for (Window* T : M.TopLevels())
    if (T->Paint && T->HasNative && !T->Paint->Dirty.Empty()) return true;
  return false;
}

}  // namespace

void PresentDirty(WindowManager& M) {
  SyncLayering(M);
  for (Window* T : M.TopLevels()) {
    if (!T->Paint || T->Paint->Dirty.Empty()) continue;
    Region R = T->Paint->Dirty;
    T->Paint->Dirty.Clear();
    if (!T->HasNative || !T->BackingStore) continue;
    // The caret shows in what goes out, never in the backing store.
    uint32_t Xor = 0;
    const Region Caret = CaretShowingIn(M, T, Xor);
    R.Union(Caret);
    R.IntersectRect(RECT{0, 0, T->BackingStore->Width(), T->BackingStore->Height()});
    if (R.Empty()) continue;
    InvertCaret(*T->BackingStore, Caret, Xor);
    M.GetDisplay().Present(T->Handle, *T->BackingStore, R.Extents());
    InvertCaret(*T->BackingStore, Caret, Xor);
  }
}

void InstallPainting(WindowManager& M) {
  MessageQueue& Q = M.Queue();
  Q.PaintSource = [&M](MSG& Out, HWND Filter, bool Remove) { return TakePaint(M, Out, Filter, Remove); };
  Q.PaintPending = [&M] { return AnyPaintPending(M); };
  // GetDC(0) draws on (and reads) the screen as the display last composed it.
  const TSize Size = M.GetDisplay().ScreenSize();
  auto Screen = std::make_shared<Surface>(Size.cx, Size.cy, false);
  SetScreenSurfaceProvider([Screen] { return Screen.get(); });
}

void RemovePainting(WindowManager& M) {
  SetScreenSurfaceProvider(nullptr);
  M.Queue().PaintSource = nullptr;
  M.Queue().PaintPending = nullptr;
}

LRESULT DispatchPaint(WindowManager& M, Window* W, WPARAM WParam, LPARAM LParam) {
  WindowPaintData& D = PaintDataOf(W);
  struct Finish {
    WindowManager& M;
    HWND Handle;
    Region Before;
    bool SavedValidated;
    int Depth;
    ~Finish() {
      Window* W = M.Find(Handle);
      if (!W) return;
      WindowPaintData& D = PaintDataOf(W);
      std::vector<HDC> Open;
      for (const WindowDcRec& R : D.Dcs)
        if (R.Limit && R.PaintDepth == Depth) Open.push_back(R.Dc);
      for (HDC Dc : Open) EndWindowDc(M, Dc, true);
      if (!D.Validated) {
        D.Update.Subtract(Before);
        if (D.Update.Empty()) D.ErasePending = false;
      }
      D.Validated = SavedValidated;
      --D.PaintDepth;
    }
  } Guard{M, W->Handle, D.Update, D.Validated, ++D.PaintDepth};
  D.Validated = false;
  return M.Deliver(W, WM_PAINT, WParam, LParam);
}

void AfterWindowPlaced(WindowManager& M, Window* W, const RECT& OldRect, bool WasVisible, UINT Flags) {
  const bool ParentShows = !W->Parent || M.IsVisible(W->Parent);
  const bool WasShown = WasVisible && ParentShows;
  const bool Shows = (W->Style & WS_VISIBLE) && ParentShows;
  const RECT& R = W->Rect;
  const bool Sized = R.Right - R.Left != OldRect.Right - OldRect.Left || R.Bottom - R.Top != OldRect.Bottom - OldRect.Top;
  const bool Moved = R.Left != OldRect.Left || R.Top != OldRect.Top;
  const bool Restacked = !(Flags & SWP_NOZORDER);
  const UINT Whole = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN;
  if (W->IsTopLevel() && Sized) {
    // A new backing store: everything is painted and presented again.
    if (W->BackingStore) MarkDirty(W, Region(RECT{0, 0, W->Width(), W->Height()}));
    if (Shows) RedrawTree(M, W, nullptr, Whole);
  }
  if (!(Flags & SWP_NOREDRAW)) {
    if (Shows && (!WasShown || Sized || (Flags & SWP_FRAMECHANGED) || (W->Parent && (Moved || Restacked))))
      RedrawTree(M, W, nullptr, Whole);
    if (W->Parent && WasShown && (!Shows || Moved || Sized)) {
      // What the window no longer covers shows its parent and siblings again.
      Region Exposed(OldRect);
      if (Shows) Exposed.SubtractRect(R);
      RedrawTree(M, W->Parent, &Exposed, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
  }
  RefreshWindowDcs(M, TopLevelOf(W));
}

void AfterParentChanged(WindowManager& M, Window* W, Window* OldParent) {
  if (OldParent && M.IsVisible(OldParent) && (W->Style & WS_VISIBLE)) {
    Region Exposed(W->Rect);
    RedrawTree(M, OldParent, &Exposed, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
  if (M.IsVisible(W)) RedrawTree(M, W, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  if (W->IsTopLevel() && W->BackingStore) MarkDirty(W, Region(RECT{0, 0, W->Width(), W->Height()}));
  RefreshAllWindowDcs(M);
}

}  // namespace vantrel::win
