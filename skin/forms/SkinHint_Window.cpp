// The skinned hint window's activations: the skin and font of the hint, its place on
// the work area, translucency with a fade-in, and its region from the skin's mask.
#include "platform/win/Focus.h"
#include "platform/win/Input.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WindowDc.h"
#include "platform/win/WindowManager.h"
#include <algorithm>

#include "platform/win/Layered.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowRegion.h"
#include "skin/controls/SkinGeometry.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/SkinHint.h"

using namespace vantrel::skin;

TspSkinHintWindow::TspSkinHintWindow(TComponent* AOwner) : THintWindow(AOwner) { SI = CreateOwned<TBitmap>(); }

TspSkinHintWindow::~TspSkinHintWindow() {
  *FAlive = false;
  SI.reset();
  DestroyHandle();
  if (FRgn) DeleteObject(FRgn);
}

void TspSkinHintWindow::CreateParams(TCreateParams& Params) {
  THintWindow::CreateParams(Params);
  Params.Style &= ~static_cast<DWORD>(WS_BORDER);
  if (IsXPOrLater()) Params.WindowClass.style |= CS_DROPSHADOW;
}

// A new window carries none of the layered state of the one before it.
void TspSkinHintWindow::CreateWnd() {
  THintWindow::CreateWnd();
  OldAlphaBlend = false;
  OldAlphaBlendValue = 0;
}

void TspSkinHintWindow::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCPAINT:
      return;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    default:
      THintWindow::WndProc(Message);
  }
}

Boolean TspSkinHintWindow::Skinned() const { return FSD != nullptr; }

void TspSkinHintWindow::ChooseSkinAndFont() {
  TspSkinData* SD = FspHint->SkinData();
  FSD = SD && !SD->Empty && SD->HintWindow->WindowPictureIndex != -1 ? SD : nullptr;
  HandleNeeded();
  TFont* F = Canvas()->Font();
  if (FSD && FspHint->UseSkinFont()) {
    F->SetHeight(FSD->HintWindow->FontHeight);
    F->SetName(FSD->HintWindow->FontName);
    F->SetStyle(FSD->HintWindow->FontStyle);
  } else {
    F->Assign(FspHint->DefaultFont());
  }
  if (SD && SD->ResourceStrData())
    F->SetCharset(SD->ResourceStrData()->CharSet());
  else
    F->SetCharset(FspHint->DefaultFont()->Charset());
}

void TspSkinHintWindow::ActivateHint(const TRect& Rect, const String& AHint) {
  AExtendedStyle = false;
  FspHint = FindSkinHint();
  if (!FspHint) return;
  if (!FspHint->FHintTitle.empty() || FspHint->FHintImageList) {
    ActivateHintEx(Rect, FspHint->FHintTitle, AHint, FspHint->FHintImageIndex, FspHint->FHintImageList);
    return;
  }
  ChooseSkinAndFont();
  const String Text = ConvertLineSeparators(AHint, FspHint->LineSeparator());
  SetCaption(Text);
  Integer W = 0, H = 0;
  CalcHintSize(Canvas(), Text, W, H);
  ShowAt(::Rect(Rect.Left, Rect.Top, Rect.Left + W, Rect.Top + H));
}

void TspSkinHintWindow::ActivateHintEx(const TRect& Rect, const String& AHintTitle, const String& AHint,
                                       Integer AImageIndex, TCustomImageList* AImageList) {
  AExtendedStyle = true;
  FspHint = FindSkinHint();
  if (!FspHint) return;
  ChooseSkinAndFont();
  const String Text = ConvertLineSeparators(AHint, FspHint->LineSeparator());
  SetCaption(Text);
  Integer W = 0, H = 0;
  CalcHintSizeEx(Canvas(), Text, W, H, AImageList, AImageIndex, AHintTitle);
  ShowAt(::Rect(Rect.Left, Rect.Top, Rect.Left + W, Rect.Top + H));
}

// With a title or image pending, the extended hint is placed by the same rule as the
// plain one: centred on the rectangle, above or below it.
void TspSkinHintWindow::ActivateHintFromRect(const TRect& ARect, const String& AHint, Boolean ATop) {
  AExtendedStyle = false;
  FspHint = FindSkinHint();
  if (!FspHint) return;
  const Boolean Extended = !FspHint->FHintTitle.empty() || FspHint->FHintImageList;
  AExtendedStyle = Extended;
  ChooseSkinAndFont();
  const String Text = ConvertLineSeparators(AHint, FspHint->LineSeparator());
  SetCaption(Text);
  Integer W = 0, H = 0;
  if (Extended)
    CalcHintSizeEx(Canvas(), Text, W, H, FspHint->FHintImageList, FspHint->FHintImageIndex, FspHint->FHintTitle);
  else
    CalcHintSize(Canvas(), Text, W, H);
  TRect R;
  R.Left = ARect.Left + (ARect.Right - ARect.Left) / 2 - W / 2;
  R.Top = ATop ? ARect.Top - H : ARect.Bottom;
  R.Right = R.Left + W;
  R.Bottom = R.Top + H;
  ShowAt(R);
}

void TspSkinHintWindow::ShowAt(TRect R) {
  const Integer W = R.Right - R.Left, H = R.Bottom - R.Top;
  TRect WA{};
  if (Screen && Screen->ActiveForm())
    GetMonitorArea(Screen->ActiveForm()->Handle(), true, WA);
  else if (Application && Application->MainForm() && Application->MainForm()->Visible())
    GetMonitorArea(Application->MainForm()->Handle(), true, WA);
  else
    WA = ::Rect(0, 0, Screen ? Screen->Width() : GetSystemMetrics(SM_CXSCREEN),
                Screen ? Screen->Height() : GetSystemMetrics(SM_CYSCREEN));
  if (WA.Right < R.Right) OffsetRect(&R, -(W + 2), 0);
  if (WA.Bottom < R.Bottom) OffsetRect(&R, 0, -(H + 2));
  SetBoundsRect(R);

  const HWND Wnd = Handle();
  TspSkinHint* Hint = FspHint;
  const Boolean Support = Hint->AlphaBlendSupport(), Blend = Hint->AlphaBlend();
  const Boolean Animate = Hint->AlphaBlendAnimation();
  const Integer Value = Hint->AlphaBlendValue();
  if (Blend != OldAlphaBlend && Support) {
    const LONG_PTR Ex = GetWindowLongPtr(Wnd, GWL_EXSTYLE);
    if (Blend) {
      SetWindowLongPtr(Wnd, GWL_EXSTYLE, Ex | WS_EX_LAYERED);
      if (!Animate) SetLayeredAlpha(Wnd, Value);
    } else {
      SetWindowLongPtr(Wnd, GWL_EXSTYLE, Ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    }
    OldAlphaBlend = Blend;
  }
  if (Support && Blend && Animate) SetLayeredAlpha(Wnd, 0);
  if (Value != OldAlphaBlendValue && Support && Blend) {
    if (!Animate) SetLayeredAlpha(Wnd, Value);
    OldAlphaBlendValue = Value;
  }
  if (Blend && !Support) {
    SI->SetSize(W, H);
    CopyScreenToBitmap(R.Left, R.Top, SI.get());
  }
  SetHintRegion();

  SetWindowPos(Wnd, HWND_TOPMOST, R.Left, R.Top, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  SetVisible(true);
  Repaint();

  if (!(Support && Blend && Animate)) return;
  // The fade runs to its end inside the activation; painting may run other code, so it
  // stops at once when this window went meanwhile.
  const std::shared_ptr<bool> Alive = FAlive;
  const Integer Step = std::max(1, Value / 15);
  Integer Alpha = 0;
  DWORD Last = 0;
  Boolean First = true;
  while (Alpha < Value) {
    const DWORD Now = GetTickCount();
    if (First || Now - Last > 3) {
      First = false;
      Last = Now;
      Alpha = std::min(Alpha + Step, Value);
      Repaint();
      if (!*Alive || !IsWindow(Wnd)) return;
      SetLayeredAlpha(Wnd, Alpha);
    }
    if (Alpha >= Value) break;
    Sleep(1);
    if (!*Alive || !IsWindow(Wnd)) return;
  }
}

void TspSkinHintWindow::SetHintRegion() {
  TBitmap* Mask = FSD && FSD->HintWindow->MaskPictureIndex != -1
                      ? SkinActivePicture(FSD, FSD->HintWindow->MaskPictureIndex)
                      : nullptr;
  if (Mask) {
    const TspDataSkinHintWindow& D = *FSD->HintWindow;
    HRGN Rgn = nullptr;
    CreateSkinRegion(Rgn, D.LTPoint, D.RTPoint, D.LBPoint, D.RBPoint, D.ClRect, NewLTPoint, NewRTPoint,
                     NewLBPoint, NewRBPoint, NewClRect, Mask, Width(), Height());
    SetWindowRgn(Handle(), Rgn, TRUE);
    if (FRgn) DeleteObject(FRgn);
    FRgn = Rgn;
  } else if (FRgn) {
    SetWindowRgn(Handle(), nullptr, TRUE);
    DeleteObject(FRgn);
    FRgn = nullptr;
  }
}
