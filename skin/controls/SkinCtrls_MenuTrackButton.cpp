// The menu tracking both menu buttons share: the popup and images menus a press opens
// under the button, the track part of track-button mode, and the pressed state that lasts
// until the menu reports closing.
#include "skin/controls/SkinCtrls.h"
#include "skin/forms/SkinMenus.h"

template <class Base, class Root>
TspMenuTrackButton<Base, Root>::TspMenuTrackButton(TComponent* AOwner) : Base(AOwner) {
  this->FSkinDataName = "toolmenubutton";
}

template <class Base, class Root>
TspMenuTrackButton<Base, Root>::~TspMenuTrackButton() {
  // The images menu must not call back into a button that is gone.
  if (this->FSkinImagesMenu) {
    this->FSkinImagesMenu->OnInternalChange = nullptr;
    this->FSkinImagesMenu->OnInternalMenuClose = nullptr;
  }
}

// --- properties ------------------------------------------------------------------------

template <class Base, class Root>
void TspMenuTrackButton<Base, Root>::SetSkinImagesMenu(TspSkinImagesMenu* Value) {
  if (this->FSkinImagesMenu && this->FSkinImagesMenu != Value) this->FSkinImagesMenu->OnInternalChange = nullptr;
  this->FSkinImagesMenu = Value;
  if (Value) {
    Value->FreeNotification(this);
    Value->OnInternalChange = [this](TObject*) { this->Repaint(); };
  }
  this->Repaint();
}

template <class Base, class Root>
void TspMenuTrackButton<Base, Root>::SetSkinPopupMenu(TspSkinPopupMenu* Value) {
  FSkinPopupMenu = Value;
  if (Value) Value->FreeNotification(this);
}

template <class Base, class Root>
void TspMenuTrackButton<Base, Root>::SetTrackButtonMode(Boolean Value) {
  FTrackButtonMode = Value;
  if (this->FIndex == -1) this->Repaint();
}

template <class Base, class Root>
void TspMenuTrackButton<Base, Root>::Notification(TComponent* AComponent, TOperation Operation) {
  Base::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSkinPopupMenu) FSkinPopupMenu = nullptr;
}

template <class Base, class Root>
void TspMenuTrackButton<Base, Root>::GetSkinData() {
  Base::GetSkinData();
  if (this->FIndex == -1) return;
  if (auto* D = dynamic_cast<TspDataSkinMenuButtonControl*>(this->FSD->CtrlList.Items(this->FIndex)))
    TrackButtonRect = D->TrackButtonRect;
}

// --- track part ------------------------------------------------------------------------

template <class Base, class Root>
TRect TspMenuTrackButton<Base, Root>::GetTrackPartRect() const {
  TRect R = TrackButtonRect;
  switch (this->CalcResizeMode()) {
    case 2:
      OffsetRect(&R, this->Width() - RectWidth(this->SkinRect), 0);
      break;
    case 3:
      OffsetRect(&R, 0, this->Height() - RectHeight(this->SkinRect));
      break;
    default:
      break;
  }
  return R;
}

template <class Base, class Root>
TRect TspMenuTrackButton<Base, Root>::TrackStrip() const {
  return Rect(this->Width() - MenuButtonTrackSize, 0, this->Width(), this->Height());
}

template <class Base, class Root>
Boolean TspMenuTrackButton<Base, Root>::IsTrackPoint(Integer X, Integer Y) {
  if (!HasMenu()) return false;
  if (!FTrackButtonMode) return true;
  if (this->FIndex != -1 && MenuButtonPartsStyle(this->FSkinDataName) == 0)
    return PointOnOrInRect(GetTrackPartRect(), X, Y);
  return PointOnOrInRect(TrackStrip(), X, Y);
}

// --- the menus -------------------------------------------------------------------------

template <class Base, class Root>
void TspMenuTrackButton<Base, Root>::PopupTrackMenu() {
  const TPoint P = this->ClientToScreen(Point(0, 0));
  const TRect R = Rect(P.X, P.Y, P.X + this->Width(), P.Y + this->Height());
  if (FSkinPopupMenu) {
    if (OnShowTrackMenu) OnShowTrackMenu(this);
    FSkinPopupMenu->PopupFromRect2(this, R, false);
  }
  if (TspSkinImagesMenu* Images = this->FSkinImagesMenu) {
    if (OnShowTrackMenu) OnShowTrackMenu(this);
    Images->OnInternalMenuClose = [this](TObject*) { TrackMenuClosed(true); };
    Images->PopupFromRect(R);
  }
}

template <class Base, class Root>
void TspMenuTrackButton<Base, Root>::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_SKINMENU_CLOSED) {
    TrackMenuClosed(false);
    return;
  }
  Base::Dispatch(Message);
}

// --- pointer ---------------------------------------------------------------------------

template <class Base, class Root>
void TspMenuTrackButton<Base, Root>::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) {
    FMenuTracked = IsTrackPoint(X, Y);
    this->FMouseIn = true;
    TrackPressStarting();
    if (FMenuTracked) {
      if (!this->FDown) this->SetDown(true);
      PopupTrackMenu();
      return;
    }
  }
  Base::MouseDown(Button, Shift, X, Y);
}

template <class Base, class Root>
void TspMenuTrackButton<Base, Root>::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  // The release of the press that opened the menu neither clicks nor reports.
  if (Button == mbLeft && FMenuTracked) return;
  Base::MouseUp(Button, Shift, X, Y);
}

// While the menu is open, entering and leaving only follow the pointer: no animation,
// repeat or glow.
template <class Base, class Root>
void TspMenuTrackButton<Base, Root>::CMMouseEnter(TWMNoParams& Message) {
  if (!FMenuTracked) {
    Base::CMMouseEnter(Message);
    return;
  }
  Root::CMMouseEnter(Message);
  if (!this->ComponentState().Contains(csDesigning)) this->FMouseIn = true;
}

template <class Base, class Root>
void TspMenuTrackButton<Base, Root>::CMMouseLeave(TWMNoParams& Message) {
  if (!FMenuTracked) {
    Base::CMMouseLeave(Message);
    return;
  }
  Root::CMMouseLeave(Message);
  if (!this->ComponentState().Contains(csDesigning)) this->FMouseIn = false;
}

// --- looks -----------------------------------------------------------------------------

template <class Base, class Root>
Boolean TspMenuTrackButton<Base, Root>::DrawTrackedImage(TBitmap* B) {
  if (!FMenuTracked || !FTrackButtonMode || IsRectEmpty(&TrackButtonRect) || IsRectEmpty(&this->DownSkinRect))
    return false;
  Base::DrawButtonImage(B, this->ActiveSkinRect, false, true);
  this->PasteTrackPart(B, this->Picture, TrackButtonRect, GetTrackPartRect());
  return true;
}

template <class Base, class Root>
TCanvas* TspMenuTrackButton<Base, Root>::BeginPlainImage(TBitmap* B) {
  Root::DrawDefaultImage(B);
  TCanvas* C = B->Canvas();
  TFont* Default = this->DefaultFont();
  TspSkinData* SD = this->FSD;
  C->Font()->Assign(Default);
  C->Font()->SetCharset(SD && SD->ResourceStrData() ? SD->ResourceStrData()->CharSet() : Default->Charset());
  if (!this->Enabled()) C->Font()->SetColor(clBtnShadow);
  return C;
}

template <class Base, class Root>
Boolean TspMenuTrackButton<Base, Root>::DrawPlainTrackParts(TCanvas* C, Boolean Hot) {
  const Integer W = this->Width(), H = this->Height(), T = MenuButtonTrackSize;
  TspPlainFaceState Main = Hot ? spfsHot : spfsNormal, Track = Main;
  Boolean Shift = false;
  if (FMenuTracked) {
    Main = spfsHot;
    Track = spfsPressed;
  } else if (this->FDown && this->FMouseIn) {
    Main = Track = spfsPressed;
    Shift = true;
  }
  DrawPlainFace(C, Rect(0, 0, W - T, H), Main);
  DrawPlainFace(C, Rect(W - T, 0, W, H), Track);
  return Shift;
}

template <class Base, class Root>
void TspMenuTrackButton<Base, Root>::ComposeTrackParts(TBitmap* B, const TRect& Main, const TRect& Track,
                                                       Boolean Stretch) {
  const Integer W = this->Width(), H = this->Height(), T = MenuButtonTrackSize;
  auto Part = CreateOwned<TBitmap>();
  this->ComposePart(Part.get(), this->Picture, Main, W - T, H, Stretch);
  B->Canvas()->Draw(0, 0, Part.get());
  this->ComposePart(Part.get(), this->Picture, Track, T, H, Stretch);
  B->Canvas()->Draw(W - T, 0, Part.get());
}

template <class Base, class Root>
TRect TspMenuTrackButton<Base, Root>::MarkerRect(Boolean Shifted) const {
  TRect R = Rect(this->Width() - MenuButtonTrackSize, 0, this->Width(), this->Height());
  if (Shifted) {
    R.Top += 2;
    R.Left = this->Width() - 13;
  }
  return R;
}

template class TspMenuTrackButton<TspSkinButton, TspSkinCustomControl>;
template class TspMenuTrackButton<TspSkinSpeedButton, TspGraphicSkinCustomControl>;
