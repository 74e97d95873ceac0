// The layer manager: a picture with per-pixel alpha shown in a top-level window that
// never takes the focus and lets clicks through, faded in on a timer.
#include <algorithm>

#include "platform/ui/Timers.h"
#include "platform/win/Layered.h"
#include "platform/win/WindowManager.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/core/bitmaps/spEffBmp.h"

TspLayerWindow::TspLayerWindow(TComponent* AOwner) : TCustomControl(AOwner) {}

void TspLayerWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TspLayerWindow::WndProc(TMessage& Message) {
  if (Message.Msg == WM_MOUSEACTIVATE) {
    Message.Result = MA_NOACTIVATE;
    return;
  }
  TCustomControl::WndProc(Message);
}

// ---------------------------------------------------------------------------------------

namespace {

constexpr Cardinal FadeInterval = 25;
constexpr Integer FadeSteps = 10;
constexpr UINT HideFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW;

}  // namespace

TspLayerManager::TspLayerManager(TComponent* AOwner) : TComponent(AOwner) {
  Timer = ::Create<TTimer>(this);
  Timer->SetEnabled(false);
  Timer->SetInterval(FadeInterval);
  Timer->OnTimer = [this](TObject* Sender) { FadeStep(Sender); };
}

TspLayerManager::~TspLayerManager() = default;

void TspLayerManager::BeforeDestruction() {
  FreeAndNil(Timer);
  FreeAndNil(LayerWindow);
  Bmp.reset();
  TComponent::BeforeDestruction();
}

void TspLayerManager::Show(Integer X, Integer Y, TBitmap* AImage, TBitmap* AImageMask,
                           Integer AAlphaBlendValue) {
  if (!IsWin2000OrLater()) return;
  if (!AImage || !AImageMask) return;
  if (LayerWindow) Hide();
  IsVisible = true;
  LayerWindow = TspLayerWindow::Create(this);
  LayerWindow->SetVisible(false);
  LayerWindow->SetBounds(X, Y, AImage->Width(), AImage->Height());
  const HWND Wnd = LayerWindow->Handle();
  SetWindowLong(Wnd, GWL_EXSTYLE, GetWindowLong(Wnd, GWL_EXSTYLE) | static_cast<LONG>(WS_EX_LAYERED));
  Bmp = CreateOwned<TspBitmap>();
  MakeAlphaBitmap(AImage, AImageMask, Bmp.get());
  ShowLayeredBitmap(Bmp.get(), 0, LayerWindow);
  SetWindowPos(Wnd, TopMostMode ? HWND_TOPMOST : HWND_NOTOPMOST, X, Y, 0, 0,
               SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  // An opacity outside 0..255 would wrap round when handed on as a byte.
  EndAlphaBlendValue = std::clamp(AAlphaBlendValue, 0, 255);
  StepAlphaBlendValue = EndAlphaBlendValue / FadeSteps;
  StartTimer();
}

void TspLayerManager::Hide() {
  if (!IsWin2000OrLater()) return;
  StopTimer();
  Bmp.reset();
  IsVisible = false;
  if (LayerWindow) {
    SetWindowPos(LayerWindow->Handle(), nullptr, 0, 0, 0, 0, HideFlags);
    FreeAndNil(LayerWindow);
  }
}

void TspLayerManager::StartTimer() {
  BeginAlphaBlendValue = 0;
  Timer->SetEnabled(true);
}

void TspLayerManager::StopTimer() { Timer->SetEnabled(false); }

void TspLayerManager::FadeStep(TObject*) {
  if (!Bmp || !LayerWindow) return;
  BeginAlphaBlendValue += StepAlphaBlendValue;
  if (BeginAlphaBlendValue > EndAlphaBlendValue) BeginAlphaBlendValue = EndAlphaBlendValue;
  ShowLayeredBitmap(Bmp.get(), static_cast<Byte>(BeginAlphaBlendValue), LayerWindow);
  if (BeginAlphaBlendValue == EndAlphaBlendValue) StopTimer();
}
