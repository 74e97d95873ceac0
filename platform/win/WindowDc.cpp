// Window DCs: where a window's pixels lie in its top-level backing store, what of it
// shows, and GetDC/GetWindowDC/ReleaseDC on top of the raster core's DCs.
#include "platform/win/WindowDc.h"

#include <algorithm>

#include "platform/win/GdiInternal.h"
#include "platform/win/PaintState.h"

namespace vantrel::win {

namespace {

RECT SizedAt(POINT P, int W, int H) { return {P.X, P.Y, P.X + W, P.Y + H}; }

int ClientWidth(const Window* W) { return W->ClientRect.Right - W->ClientRect.Left; }
int ClientHeight(const Window* W) { return W->ClientRect.Bottom - W->ClientRect.Top; }

// W's window rectangle cut to its region, in top-level coordinates.
Region ShapeInTop(const WindowManager& M, const Window* W) {
  const POINT P = OffsetInTop(M, W, false);
  Region S(SizedAt(P, W->Width(), W->Height()));
  if (const Region* Own = WindowShape(W)) {
    Region R(*Own);
    R.Translate(P.X, P.Y);
    S.Intersect(R);
  }
  return S;
}

// Transparent windows are painted after what lies below them, so they never clip it.
bool Clips(const Window* W) { return (W->Style & WS_VISIBLE) && !(W->ExStyle & WS_EX_TRANSPARENT); }

Region ClipFor(const WindowManager& M, Window* W, const WindowDcRec& Rec) {
  Region Clip = VisibleRegion(M, W, Rec.Client, (W->Style & WS_CLIPCHILDREN) != 0);
  if (Rec.Limit) {
    Region L(*Rec.Limit);
    const POINT C = OffsetInTop(M, W, true);
    L.Translate(C.X, C.Y);
    Clip.Intersect(L);
  }
  return Clip;
}

void Retarget(const WindowManager& M, Window* W, WindowDcRec& Rec) {
  auto D = DcOf(Rec.Dc);
  if (!D) return;
  Window* Top = TopLevelOf(W);
  Rec.Clip = ClipFor(M, W, Rec);
  D->SetTarget(Top->BackingStore.get(), OffsetInTop(M, W, Rec.Client), Rec.Clip);
}

void RefreshTree(const WindowManager& M, Window* W) {
  if (W->Paint)
    for (WindowDcRec& Rec : W->Paint->Dcs) Retarget(M, W, Rec);
  for (Window* C : W->Children) RefreshTree(M, C);
}

HDC ScreenDc() {
  HDC Dc = CreateScreenDc();
  if (auto D = DcOf(Dc))
    D->FComposeOnUse = [] {
      if (WindowManager* M = WindowManager::Instance()) {
        PresentDirty(*M);
        M->GetDisplay().ComposeScreen(*ScreenSurface());
      }
    };
  return Dc;
}

}  // namespace

POINT OffsetInTop(const WindowManager& M, const Window* W, bool Client) {
  const Window* Top = W;
  while (Top->Parent) Top = Top->Parent;
  const POINT O = M.WindowOrigin(W), T = M.WindowOrigin(Top);
  POINT P{O.X - T.X, O.Y - T.Y};
  if (Client) {
    P.X += W->ClientRect.Left;
    P.Y += W->ClientRect.Top;
  }
  return P;
}

Region VisibleRegion(const WindowManager& M, Window* W, bool Client, bool ClipChildren) {
  if (!M.IsVisible(W)) return Region();
  const POINT O = OffsetInTop(M, W, Client);
  Region R(Client ? SizedAt(O, ClientWidth(W), ClientHeight(W)) : SizedAt(O, W->Width(), W->Height()));
  if (const Region* Own = WindowShape(W)) {
    Region S(*Own);
    const POINT WO = OffsetInTop(M, W, false);
    S.Translate(WO.X, WO.Y);
    R.Intersect(S);
  }
  // Every ancestor's client area and shape; siblings above a window that clips them.
  for (const Window* C = W; C->Parent; C = C->Parent) {
    const Window* P = C->Parent;
    R.IntersectRect(SizedAt(OffsetInTop(M, P, true), ClientWidth(P), ClientHeight(P)));
    if (WindowShape(P)) R.Intersect(ShapeInTop(M, P));
    if (C->Style & WS_CLIPSIBLINGS)
      for (const Window* S : P->Children) {
        if (S == C) break;  // siblings are kept topmost first
        if (Clips(S)) R.Subtract(ShapeInTop(M, S));
      }
  }
  if (ClipChildren)
    for (const Window* Ch : W->Children)
      if (Clips(Ch)) R.Subtract(ShapeInTop(M, Ch));
  return R;
}

void RefreshWindowDcs(const WindowManager& M, Window* Top) {
  if (Top) RefreshTree(M, Top);
}

void RefreshAllWindowDcs(const WindowManager& M) {
  for (Window* T : M.TopLevels()) RefreshTree(M, T);
}

// A DC on W registered for re-clipping; Limit (client coordinates) narrows a paint DC.
HDC MakeWindowDc(WindowManager& M, Window* W, bool Client, std::optional<Region> Limit, int PaintDepth) {
  WindowDcRec Rec;
  Rec.Client = Client;
  Rec.Limit = std::move(Limit);
  Rec.PaintDepth = PaintDepth;
  Rec.Clip = ClipFor(M, W, Rec);
  HDC Dc = CreateDcOnSurface(TopLevelOf(W)->BackingStore.get(), OffsetInTop(M, W, Client), Rec.Clip);
  if (auto D = DcOf(Dc)) D->FWindow = W->Handle;
  Rec.Dc = Dc;
  PaintDataOf(W).Dcs.push_back(std::move(Rec));
  return Dc;
}

// Ends a DC made by MakeWindowDc: what it could draw on gets presented.
bool EndWindowDc(WindowManager& M, HDC Dc, bool Paint) {
  auto D = DcOf(Dc);
  if (!D || !D->FWindow) return false;
  if (Window* W = M.Find(D->FWindow); W && W->Paint) {
    auto& Dcs = W->Paint->Dcs;
    auto It = std::find_if(Dcs.begin(), Dcs.end(), [&](const WindowDcRec& R) { return R.Dc == Dc; });
    if (It != Dcs.end()) {
      if (It->Limit.has_value() != Paint) return false;  // ReleaseDC of a paint DC, or the reverse
      MarkDirty(TopLevelOf(W), It->Clip);
      Dcs.erase(It);
    }
  }
  DeleteDC(Dc);
  return true;
}

}  // namespace vantrel::win

using vantrel::win::Window;
using vantrel::win::WindowManager;

HDC GetDC(HWND Wnd) {
  WindowManager* M = WindowManager::Instance();
  if (!M) return Wnd ? nullptr : vantrel::win::CreateScreenDc();
  if (!Wnd) return vantrel::win::ScreenDc();
  Window* W = M->FindOrFail(Wnd);
  return W ? vantrel::win::MakeWindowDc(*M, W, true, std::nullopt, 0) : nullptr;
}

HDC GetWindowDC(HWND Wnd) {
  WindowManager* M = WindowManager::Instance();
  if (!M) return Wnd ? nullptr : vantrel::win::CreateScreenDc();
  if (!Wnd) return vantrel::win::ScreenDc();
  Window* W = M->FindOrFail(Wnd);
  return W ? vantrel::win::MakeWindowDc(*M, W, false, std::nullopt, 0) : nullptr;
}

int ReleaseDC(HWND, HDC Dc) {
  auto D = vantrel::win::DcOf(Dc);
  if (!D) return 0;
  if (D->FScreen) return DeleteDC(Dc) ? 1 : 0;
  WindowManager* M = WindowManager::Instance();
  if (!M) return D->FWindow && DeleteDC(Dc) ? 1 : 0;
  return vantrel::win::EndWindowDc(*M, Dc, false) ? 1 : 0;
}
