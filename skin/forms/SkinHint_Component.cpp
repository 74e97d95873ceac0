// The hint component of the main form: the application's hint-window class and show-hint
// hook, the timed one-shot hints and the cursor's height below its hot spot.
#include "platform/win/Focus.h"
#include "platform/win/Input.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WindowDc.h"
#include "platform/win/WindowManager.h"
#include <algorithm>
#include <vector>

#include "platform/win/Cursor.h"
#include "platform/win/Gdi.h"
#include "platform/win/Resources.h"
#include "platform/win/SysMetrics.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/SkinHint.h"

using namespace vantrel::skin;

namespace {

// What the component puts into Application->OnShowHint; its type and owner let the
// destructor tell whether the event is still this component's.
struct TspSkinHintHook {
  TspSkinHint* Owner;
  void operator()(String& HintStr, Boolean& CanShow, THintInfo& HintInfo) const {
    Owner->AppShowHint(HintStr, CanShow, HintInfo);
  }
};

Boolean HookIsOf(const TspSkinHint* Hint) {
  if (!Application) return false;
  const TspSkinHintHook* H = Application->OnShowHint.target<TspSkinHintHook>();
  return H && H->Owner == Hint;
}

// Switching the application's hints off and on makes its hint window anew of the class.
void RebuildApplicationHintWindow() {
  if (!Application || !Application->ShowHint()) return;
  Application->SetShowHint(false);
  Application->SetShowHint(true);
}

}  // namespace

TspSkinHint* FindSkinHint() {
  if (!Application || !Application->MainForm()) return nullptr;
  TForm* Main = Application->MainForm();
  for (Integer I = 0; I < Main->ComponentCount(); ++I) {
    auto* H = dynamic_cast<TspSkinHint*>(Main->Components(I));
    if (H && H->Active() && !H->ComponentState().Contains(csDestroying)) return H;
  }
  return nullptr;
}

String ConvertLineSeparators(const String& AText, const String& LineSeparator) {
  if (LineSeparator.empty()) return AText;
  String S = AText;
  size_t At = 0;
  while ((At = S.find(LineSeparator, At)) != String::npos) {
    S.replace(At, LineSeparator.size(), "\n\r");
    At += 2;
  }
  return S;
}

TspSkinHint::TspSkinHint(TComponent* AOwner) : TComponent(AOwner) {
  FDefaultFont = CreateOwned<TFont>();
  HW = ::Create<TspSkinHintWindow>(this);
  HW->SetVisible(false);
  if (ComponentState().Contains(csDesigning) || !Application) return;
  TApplication::HintWindowClass = ComponentClassOf<TspSkinHintWindow>();
  Application->SetShowHint(!Application->ShowHint());
  Application->SetShowHint(!Application->ShowHint());
  Application->OnShowHint = TspSkinHintHook{this};
  Application->SetHintShortPause(100);
}

// Gives back what the constructor took from the application, so that nothing there calls
// into a freed component and plain hints keep working.
TspSkinHint::~TspSkinHint() = default;

void TspSkinHint::BeforeDestruction() {
  if (HintTimer) FreeAndNil(HintTimer);
  if (Application && !Application->ComponentState().Contains(csDestroying)) {
    if (HookIsOf(this)) Application->OnShowHint = nullptr;
    if (auto* AppHW = dynamic_cast<TspSkinHintWindow*>(Application->HintWindow()); AppHW && AppHW->FspHint == this) {
      if (AppHW->HandleAllocated()) ShowWindow(AppHW->Handle(), SW_HIDE);
      AppHW->FspHint = nullptr;
    }
    Boolean OtherActive = false;
    // A main form on its way out takes every hint component with it.
    if (TForm* Main = Application->MainForm(); Main && !Main->ComponentState().Contains(csDestroying))
      for (Integer I = 0; I < Main->ComponentCount(); ++I) {
        auto* H = dynamic_cast<TspSkinHint*>(Main->Components(I));
        if (H && H != this && H->Active() && !H->ComponentState().Contains(csDestroying)) OtherActive = true;
      }
    if (!OtherActive && !ComponentState().Contains(csDesigning)) {
      TApplication::HintWindowClass = ComponentClassOf<THintWindow>();
      RebuildApplicationHintWindow();
    }
  }
  if (HW) FreeAndNil(HW);
  TComponent::BeforeDestruction();
}

void TspSkinHint::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FHintImageList) FHintImageList = nullptr;
  if (AComponent == HW) HW = nullptr;
  if (AComponent == HintTimer) HintTimer = nullptr;
}

void TspSkinHint::SetSkinData(TspSkinData* Value) {
  if (FSD) FSD->RemoveFreeNotification(this);
  FSD = Value;
  if (FSD) FSD->FreeNotification(this);
}

void TspSkinHint::SetAlphaBlendSupport(Boolean Value) {
  FAlphaBlendSupport = Value;
  if (Value && !ComponentState().Contains(csDesigning) && !IsWin2000OrLater()) FAlphaBlendSupport = false;
}

void TspSkinHint::SetActive(Boolean Value) {
  FActive = Value;
  if (FActive && Application && Application->MainForm()) {
    TForm* Main = Application->MainForm();
    for (Integer I = 0; I < Main->ComponentCount(); ++I) {
      auto* H = dynamic_cast<TspSkinHint*>(Main->Components(I));
      if (H && H != this && H->Active()) H->SetActive(false);
    }
  }
  if (!ComponentState().Contains(csDesigning) && FActive && Application)
    Application->OnShowHint = TspSkinHintHook{this};
}

void TspSkinHint::AppShowHint(String& HintStr, Boolean& CanShow, THintInfo& HintInfo) {
  FHintTitle.clear();
  FHintImageIndex = 0;
  FHintImageList = nullptr;
  if (auto* C = dynamic_cast<TspSkinControl*>(HintInfo.HintControl)) {
    FHintTitle = C->HintTitle();
    FHintImageIndex = C->HintImageIndex();
    FHintImageList = C->HintImageList();
  } else if (auto* G = dynamic_cast<TspGraphicSkinControl*>(HintInfo.HintControl)) {
    FHintTitle = G->HintTitle();
    FHintImageIndex = G->HintImageIndex();
    FHintImageList = G->HintImageList();
  }
  if (OnShowHint) OnShowHint(HintStr, CanShow, HintInfo);
}

void TspSkinHint::ClearPending() {
  FHintTitle.clear();
  FHintImageList = nullptr;
  FHintImageIndex = 0;
}

void TspSkinHint::ActivateHint(const TPoint& P, const String& AHint) {
  ClearPending();
  if (!HW) return;
  HW->ActivateHint(Rect(P.X, P.Y, P.X, P.Y), AHint);
}

void TspSkinHint::ActivateHintEx(const TPoint& P, const String& AHintTitle, const String& AHint,
                                 Integer AImageIndex, TCustomImageList* AImageList) {
  FHintTitle = AHintTitle;
  FHintImageIndex = AImageIndex;
  FHintImageList = AImageList;
  if (!HW) return;
  HW->ActivateHintEx(Rect(P.X, P.Y, P.X, P.Y), AHintTitle, AHint, AImageIndex, AImageList);
}

void TspSkinHint::StartHintTimer(PendingKind Kind) {
  if (HintTimer) FreeAndNil(HintTimer);
  HintTimer = ::Create<TTimer>(this);
  HintTimer->SetEnabled(false);
  HintTimer->SetInterval(static_cast<Cardinal>(std::max<Integer>(Application ? Application->HintPause() : 500, 1)));
  HintTimer->OnTimer = [this, Kind](TObject*) { HintTimerFired(Kind); };
  HintTimer->SetEnabled(true);
}

void TspSkinHint::HintTimerFired(PendingKind Kind) {
  if (!HintTimer || !HW) return;
  switch (Kind) {
    case PendingKind::Plain:
    case PendingKind::Extended: {
      POINT C{};
      GetCursorPos(&C);
      const TPoint P = Point(C.X, C.Y + GetCursorHeightMargin());
      if (Kind == PendingKind::Plain)
        HW->ActivateHint(Rect(P.X, P.Y, P.X, P.Y), HintText);
      else
        HW->ActivateHintEx(Rect(P.X, P.Y, P.X, P.Y), FHintTitle, HintText, FHintImageIndex, FHintImageList);
      break;
    }
    case PendingKind::FromRect:
      HW->ActivateHintFromRect(FromRect, HintText, Top);
      break;
  }
  // The activation may have run a long fade; the timer is this component's own still.
  if (!HintTimer) return;
  HintTimer->SetEnabled(false);
  HintTimer->SetInterval(static_cast<Cardinal>(std::max<Integer>(Application ? Application->HintHidePause() : 2500, 1)));
  HintTimer->OnTimer = [this](TObject*) { HideHint(); };
  HintTimer->SetEnabled(true);
}

void TspSkinHint::ActivateHint2(const String& AHint) {
  HintText = AHint;
  ClearPending();
  StartHintTimer(PendingKind::Plain);
}

void TspSkinHint::ActivateHintEx2(const String& AHintTitle, const String& AHint, Integer AImageIndex,
                                  TCustomImageList* AImageList) {
  HintText = AHint;
  FHintTitle = AHintTitle;
  FHintImageIndex = AImageIndex;
  FHintImageList = AImageList;
  StartHintTimer(PendingKind::Extended);
}

void TspSkinHint::ActivateHint3(const TRect& AFromRect, const String& AHint, Boolean ATop) {
  FromRect = AFromRect;
  Top = ATop;
  HintText = AHint;
  ClearPending();
  StartHintTimer(PendingKind::FromRect);
}

void TspSkinHint::HideHint() {
  if (HintTimer) FreeAndNil(HintTimer);
  if (!IsVisible()) return;
  HW->SetVisible(false);
  if (HW->HandleAllocated())
    SetWindowPos(HW->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  ClearPending();
}

Boolean TspSkinHint::IsVisible() const { return HW && HW->Visible(); }

Integer TspSkinHint::GetCursorHeightMargin() {
  Integer Result = GetSystemMetrics(SM_CYCURSOR);
  ICONINFO Info{};
  if (!GetIconInfo(GetCursor(), &Info)) return Result;
  struct Header {
    BITMAPINFO BI;
    RGBQUAD More[255];
  } H{};
  H.BI.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  const HDC DC = GetDC(nullptr);
  if (GetDIBits(DC, Info.hbmMask, 0, 0, nullptr, &H.BI, DIB_RGB_COLORS) && H.BI.bmiHeader.biBitCount == 1) {
    const Integer Width = H.BI.bmiHeader.biWidth;
    const Integer Height = std::abs(static_cast<Integer>(H.BI.bmiHeader.biHeight));
    const Integer BytesPerScanLine = ((Width * H.BI.bmiHeader.biBitCount + 31) / 32) * 4;
    const Integer ImageSize = Width * BytesPerScanLine;
    std::vector<Byte> Bits(static_cast<size_t>(BytesPerScanLine) * static_cast<size_t>(Height));
    H.BI.bmiHeader.biHeight = Height;  // bottom-up
    if (ImageSize > 0 && static_cast<size_t>(ImageSize) <= Bits.size() &&
        GetDIBits(DC, Info.hbmMask, 0, static_cast<UINT>(Height), Bits.data(), &H.BI, DIB_RGB_COLORS)) {
      // The last ImageSize bytes: the AND mask at the bottom of the bottom-up image.
      auto CountAfterFirst = [](const Byte* From, Integer Size, Byte Skip) {
        for (Integer I = 0; I < Size; ++I)
          if (From[I] != Skip) return Size - I - 1;
        return 0;
      };
      const Byte* Last = Bits.data() + Bits.size() - static_cast<size_t>(ImageSize);
      Integer Bytes = CountAfterFirst(Last, ImageSize, 255);
      if (Bytes == 0 && Height >= 2 * Width && Bits.size() >= 2 * static_cast<size_t>(ImageSize))
        Bytes = CountAfterFirst(Last - ImageSize, ImageSize, 0);
      Result = Bytes / BytesPerScanLine - static_cast<Integer>(Info.yHotspot);
    }
  }
  ReleaseDC(nullptr, DC);
  if (Info.hbmMask) DeleteObject(Info.hbmMask);
  if (Info.hbmColor) DeleteObject(Info.hbmColor);
  return Result;
}
