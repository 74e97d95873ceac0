// The combo box's drop-down list: a top-level tool window owned by the combo box that a
// click never activates, shown at a screen point with an optional fade-in.
#include <algorithm>

#include "platform/ui/Forms.h"
#include "platform/win/Layered.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

// The fade takes about fifteen steps at least this far apart.
constexpr Integer PopupListFadeSteps = 15;
constexpr DWORD PopupListFadeStepMs = 5;

}  // namespace

TspPopupListBox::TspPopupListBox(TComponent* AOwner) : TspSkinCustomListBox(AOwner) {
  ControlStyle.Include(csAcceptsControls);
  ControlStyle.Include(csNoDesignVisible);
  ControlStyle.Include(csReplicatable);
  SetVisible(false);
}

void TspPopupListBox::BeforeDestruction() {
  *FAlive = false;
  TspSkinCustomListBox::BeforeDestruction();
}

void TspPopupListBox::CreateParams(TCreateParams& Params) {
  TspSkinCustomListBox::CreateParams(Params);
  Params.Style = WS_POPUP | WS_CLIPCHILDREN;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS;
  if (IsXPOrLater()) Params.WindowClass.style |= CS_DROPSHADOW;
}

void TspPopupListBox::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_MOUSEACTIVATE) {
    Message.Result = MA_NOACTIVATE;
    return;
  }
  TspSkinCustomListBox::Dispatch(Message);
}

void TspPopupListBox::Show(TPoint Origin) {
  auto* Combo = dynamic_cast<TspSkinCustomComboBox*>(Owner());
  const HWND Wnd = Handle();
  if (IsWin2000OrLater() && Combo) {
    const LONG Ex = GetWindowLong(Wnd, GWL_EXSTYLE);
    if (Combo->FListBoxAlphaBlend && !FOldAlphaBlend)
      SetWindowLong(Wnd, GWL_EXSTYLE, Ex | WS_EX_LAYERED);
    else if (!Combo->FListBoxAlphaBlend && FOldAlphaBlend)
      SetWindowLong(Wnd, GWL_EXSTYLE, Ex & ~static_cast<LONG>(WS_EX_LAYERED));
    FOldAlphaBlend = Combo->FListBoxAlphaBlend;
    if (Combo->FListBoxAlphaBlend && FOldAlphaBlendValue != Combo->FListBoxAlphaBlendValue) {
      if (Combo->FListBoxAlphaBlendAnimation) {
        SetLayeredAlpha(Wnd, 0);
        FOldAlphaBlendValue = 0;
      } else {
        SetLayeredAlpha(Wnd, Combo->FListBoxAlphaBlendValue);
        FOldAlphaBlendValue = Combo->FListBoxAlphaBlendValue;
      }
    }
  }
  SetWindowPos(Wnd, HWND_TOP, Origin.X, Origin.Y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  SetVisible(true);
  if (IsWin2000OrLater() && Combo && Combo->FListBoxAlphaBlendAnimation && Combo->FListBoxAlphaBlend) FadeIn(Combo);
}

void TspPopupListBox::FadeIn(TspSkinCustomComboBox* Combo) {
  const std::shared_ptr<Boolean> Alive = FAlive;
  const Integer Target = Combo->FListBoxAlphaBlendValue;
  const Integer Step = std::max(1, Target / PopupListFadeSteps);
  Integer Alpha = 0;
  DWORD Last = 0;
  Application->ProcessMessages();
  // The handlers run by the loop may close the list or free the combo box with its form:
  // the fade ends then instead of writing to a hidden window or a freed one.
  while (*Alive && Visible() && !Combo->FDestroying) {
    const DWORD Now = GetTickCount();
    if (Now - Last > PopupListFadeStepMs) {
      Alpha = std::min(Alpha + Step, Target);
      SetLayeredAlpha(Handle(), Alpha);
      Last = Now;
    }
    if (Alpha >= Target) break;
    Application->ProcessMessages();
    if (!*Alive) return;
    Sleep(1);
  }
}

void TspPopupListBox::Hide() {
  if (HandleAllocated())
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetVisible(false);
}
