// The inactive client panel: a copy of the client area as last shown, blurred or faded by
// the form's background.
#include "skin/forms/ClientInActivePanel.h"

#include "platform/win/Gdi.h"
#include "platform/win/Paint.h"
#include "platform/win/WindowDc.h"

TspClientInActivePanel::TspClientInActivePanel(TComponent* AOwner) : TspSkinPaintPanel(AOwner) { SetVisible(false); }

void TspClientInActivePanel::Paint() {
  if (FBuffer) FBuffer->Draw(Canvas(), 0, 0);
}

// The snapshot covers the whole panel: no background beneath it.
void TspClientInActivePanel::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    Message.Result = 1;
    return;
  }
  TspSkinPaintPanel::Dispatch(Message);
}

void TspClientInActivePanel::ShowPanel(TForm* AForm, TspClientInActiveEffect AEffect) {
  if (!AForm || !AForm->Visible() || !AForm->HandleAllocated()) return;
  const Integer W = AForm->ClientWidth(), H = AForm->ClientHeight();
  if (W <= 0 || H <= 0) return;
  SetVisible(false);
  SetParent(AForm);
  SetBounds(0, 0, W, H);
  // The window's DC reads what the window last showed; the client area lies at its
  // offset inside the frame.
  RECT WR{};
  GetWindowRect(AForm->Handle(), &WR);
  const TPoint Origin = AForm->ClientToScreen(Point(0, 0));
  FBuffer = std::make_unique<TspBitmap>();
  FBuffer->SetSize(W, H);
  if (HDC WindowDC = GetWindowDC(AForm->Handle())) {
    BitBlt(FBuffer->DC(), 0, 0, W, H, WindowDC, Origin.X - WR.Left, Origin.Y - WR.Top, SRCCOPY);
    ReleaseDC(AForm->Handle(), WindowDC);
  }
  if (AEffect == spieBlur) {
    StackBlur(FBuffer.get(), 3);
  } else {
    TspBitmap Background;
    Background.SetSize(W, H);
    SendMessage(AForm->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(Background.DC()), 0);
    Background.SetAlpha(170);
    Background.SetAlphaBlend(true);
    Background.Draw(FBuffer.get(), 0, 0);
  }
  SetVisible(true);
  BringToFront();
}

void TspClientInActivePanel::HidePanel() {
  SetVisible(false);
  FBuffer.reset();
}
