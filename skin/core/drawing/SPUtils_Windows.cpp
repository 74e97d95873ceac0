// The utility unit's helpers that need windows and controls: painting what lies under a
// control into a canvas (so a skinned control can look transparent) and the contents and
// constant alpha of layered windows.
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "platform/win/Layered.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/core/bitmaps/spEffBmp.h"

using vantrel::win::SavedDC;

namespace {

// Keeps a control-state flag set for a scope, also when a painter raises.
class PaintCopyFlag {
 public:
  explicit PaintCopyFlag(TControl* Control) : FControl(Control) { FControl->ControlState.Include(csPaintCopy); }
  ~PaintCopyFlag() { FControl->ControlState.Exclude(csPaintCopy); }
  PaintCopyFlag(const PaintCopyFlag&) = delete;
  PaintCopyFlag& operator=(const PaintCopyFlag&) = delete;

 private:
  TControl* FControl;
};

// Forms are the controls without a parent control: their own content is not copied,
// only their background.
bool IsForm(TWinControl* Control) { return Control->Parent() == nullptr; }

}  // namespace

void CopyParentImage(TControl* Control, TCanvas* Canvas) {
  if (!Control || !Canvas) return;
  TWinControl* Parent = Control->Parent();
  if (!Parent) return;
  const HDC DC = Canvas->Handle();
  PaintCopyFlag ParentCopy(Parent);
  const TRect R = Control->BoundsRect();
  {
    SavedDC Saved(DC);
    SetViewportOrgEx(DC, -Control->Left(), -Control->Top(), nullptr);
    IntersectClipRect(DC, 0, 0, Parent->ClientWidth(), Parent->ClientHeight());
    Parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
    if (!IsForm(Parent)) Parent->PaintWindow(DC);
  }
  // Windowless controls come first in the list; those before Control lie under it.
  for (Integer I = 0; I < Parent->ControlCount(); ++I) {
    TControl* C = Parent->Controls(I);
    if (C == Control) break;
    if (dynamic_cast<TWinControl*>(C) || !C->Visible()) continue;
    const TRect CR = C->BoundsRect();
    TRect Overlap{};
    if (!IntersectRect(&Overlap, &R, &CR)) continue;
    PaintCopyFlag ChildCopy(C);
    SavedDC Saved(DC);
    SetViewportOrgEx(DC, C->Left() - Control->Left(), C->Top() - Control->Top(), nullptr);
    IntersectClipRect(DC, 0, 0, C->Width(), C->Height());
    C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  }
}

void SetLayeredAlpha(HWND Wnd, Integer Alpha) {
  SetLayeredWindowAttributes(Wnd, 0, static_cast<BYTE>(Alpha), LWA_ALPHA);
}

void ShowLayeredBitmap(TspBitmap* Bitmap, Byte Alpha, TWinControl* Control) {
  if (!Bitmap || !Control) return;
  const POINT Dest{Control->Left(), Control->Top()};
  const SIZE Size{Bitmap->Width(), Bitmap->Height()};
  const POINT Source{0, 0};
  const BLENDFUNCTION Blend{AC_SRC_OVER, 0, Alpha, AC_SRC_ALPHA};
  UpdateLayeredWindow(Control->Handle(), nullptr, &Dest, &Size, Bitmap->DC(), &Source, 0, &Blend, ULW_ALPHA);
}
