// The images menu and its popup window: layout of the grid, placement, the mouse capture
// and the application-message hook, keys, mouse and painting.
#include "skin/forms/SkinMenus.h"

#include <algorithm>

#include "platform/ui/ImgList.h"
#include "platform/win/Capture.h"
#include "platform/win/DrawText.h"
#include "platform/win/Input.h"
#include "platform/win/Layered.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowManager.h"
#include "platform/win/WindowRegion.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/SkinHint.h"

namespace {

constexpr Integer ImagesCellPadding = 10;
constexpr Integer ImagesPlainFrame = 5;
constexpr DWORD ImagesFadeStepMs = 5;
constexpr TColor ImagesPressedFill = static_cast<TColor>(0xB59285);  // red 133, green 146, blue 181
constexpr TColor ImagesHotFill = static_cast<TColor>(0xD2BDB6);      // red 182, green 189, blue 210

// The queued messages that close an open picker without entry events.
bool ImagesMenuClosingMessage(UINT Msg) {
  switch (Msg) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
    case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_PARENTNOTIFY:
      return true;
    default:
      return false;
  }
}

}  // namespace

// --- Entries -------------------------------------------------------------------------------------

void TspImagesMenuItem::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TspImagesMenuItem*>(Source)) {
    FImageIndex = Other->FImageIndex;
    FCaption = Other->FCaption;
    FButton = Other->FButton;
    FHint = Other->FHint;
    return;
  }
  TCollectionItem::Assign(Source);
}

TspImagesMenuItems::TspImagesMenuItems(TspSkinImagesMenu* AImagesMenu)
    : TOwnedCollection(AImagesMenu, CollectionItemClassOf<TspImagesMenuItem>()), ImagesMenu(AImagesMenu) {}

// --- The component -----------------------------------------------------------------------------

TspSkinImagesMenu::TspSkinImagesMenu(TComponent* AOwner) : TComponent(AOwner) {
  FImagesItems = CreateOwned<TspImagesMenuItems>(this);
  FDefaultFont = CreateOwned<TFont>();
  FDefaultFont->SetName("Arial");
  FDefaultFont->SetHeight(14);
}

TspSkinImagesMenu::~TspSkinImagesMenu() = default;

void TspSkinImagesMenu::BeforeDestruction() {
  // An open popup goes with the menu, without events.
  FDestroying = true;
  if (FPopupWindow) FPopupWindow->Hide(false);
  FClosedWindow.reset();
  TComponent::BeforeDestruction();
}

void TspSkinImagesMenu::SetImages(TCustomImageList* Value) {
  if (FImages && FImages != Value) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
}

void TspSkinImagesMenu::SetSkinData(TspSkinData* Value) {
  if (FSkinData && FSkinData != Value) FSkinData->RemoveFreeNotification(this);
  FSkinData = Value;
  if (FSkinData) FSkinData->FreeNotification(this);
}

void TspSkinImagesMenu::SetSkinHint(TspSkinHint* Value) {
  if (FSkinHint && FSkinHint != Value) FSkinHint->RemoveFreeNotification(this);
  FSkinHint = Value;
  if (FSkinHint) FSkinHint->FreeNotification(this);
}

void TspSkinImagesMenu::SetColumnsCount(Integer Value) {
  if (Value >= 1 && Value <= 50) FColumnsCount = Value;
}

TspImagesMenuItem* TspSkinImagesMenu::SelectedItem() const {
  if (ItemIndex < 0 || ItemIndex >= FImagesItems->Count()) return nullptr;
  return FImagesItems->Items(ItemIndex);
}

void TspSkinImagesMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == FSkinData) FSkinData = nullptr;
  if (AComponent == FSkinHint) FSkinHint = nullptr;
}

void TspSkinImagesMenu::Popup(Integer X, Integer Y) { PopupFromRect(Rect(X, Y, X, Y)); }

void TspSkinImagesMenu::PopupFromRect(const TRect& R) {
  Hide();
  FClosedWindow.reset();
  if (OnMenuPopup) OnMenuPopup(this);
  if (!FImages || FImages->Count() == 0) return;
  FOldItemIndex = ItemIndex;
  if (FImagesItems->Count() == 0) {
    // Nothing to pick from: no window; the close event still tells the opener.
    if (OnInternalMenuClose) OnInternalMenuClose(this);
    if (OnMenuClose) OnMenuClose(this);
    return;
  }
  FPopupWindow = new TspSkinImagesMenuPopupWindow(this);
  FPopupWindow->Show(R);
}

void TspSkinImagesMenu::Hide() {
  if (FPopupWindow) FPopupWindow->Hide(false);
}

void TspSkinImagesMenu::CloseProc(Boolean AProcessEvents) {
  FClosedWindow.reset(FPopupWindow);
  FPopupWindow = nullptr;
  if (FDestroying) return;
  if (OnInternalMenuClose) OnInternalMenuClose(this);
  if (OnMenuClose) OnMenuClose(this);
  if (!AProcessEvents || ItemIndex == -1) return;
  if (TspImagesMenuItem* Item = SelectedItem(); Item && Item->OnClick) Item->OnClick(this);
  if (OnItemClick) OnItemClick(this);
  if (ItemIndex != FOldItemIndex) {
    if (OnInternalChange) OnInternalChange(this);
    if (OnChange) OnChange(this);
  }
}

// --- The popup window ----------------------------------------------------------------------------

TspSkinImagesMenuPopupWindow::TspSkinImagesMenuPopupWindow(TspSkinImagesMenu* AOwner)
    : TCustomControl(nullptr), ImagesMenu(AOwner) {
  SetVisible(false);
  if (TspDataSkinPopupWindow* PW = SkinWindow()) {
    TspSkinData* SD = ImagesMenu->SkinData();
    WindowPicture = SD->FActivePictures[PW->WindowPictureIndex];
    if (PW->MaskPictureIndex >= 0 && PW->MaskPictureIndex < SD->FActivePictures.Count())
      MaskPicture = SD->FActivePictures[PW->MaskPictureIndex];
  }
}

TspSkinImagesMenuPopupWindow::~TspSkinImagesMenuPopupWindow() {
  if (FHooked) Application->OnMessage = OldAppMessage;
}

TspDataSkinPopupWindow* TspSkinImagesMenuPopupWindow::SkinWindow() const {
  TspSkinData* SD = ImagesMenu->SkinData();
  if (!SD || SD->Empty || !SD->PopupWindow) return nullptr;
  const Integer I = SD->PopupWindow->WindowPictureIndex;
  return I >= 0 && I < SD->FActivePictures.Count() ? SD->PopupWindow.get() : nullptr;
}

void TspSkinImagesMenuPopupWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS;
  if (IsXPOrLater()) Params.WindowClass.style |= CS_DROPSHADOW;
  Params.WndParent = nullptr;
}

Integer TspSkinImagesMenuPopupWindow::LayoutItems() {
  TCustomImageList* IL = ImagesMenu->Images();
  const Integer CW = IL->Width() + ImagesCellPadding, CH = IL->Height() + ImagesCellPadding;
  const Integer GW = CW * ImagesMenu->ColumnsCount();
  TspDataSkinPopupWindow* PW = SkinWindow();
  const Integer L = PW ? PW->ItemsRect.Left : ImagesPlainFrame;
  Integer T = PW ? PW->ItemsRect.Top : ImagesPlainFrame;
  TspSkinData* SD = ImagesMenu->SkinData();
  TspDataSkinControl* Label = nullptr;
  if (SD && !SD->Empty)
    if (const Integer LI = SD->GetControlIndex("label"); LI != -1) Label = SD->CtrlList[LI];
  Integer X = L;
  TspImagesMenuItems* Items = ImagesMenu->ImagesItems();
  for (Integer I = 0; I < Items->Count(); ++I) {
    TspImagesMenuItem* It = Items->Items(I);
    if (It->Header() || It->Button()) {
      if (X != L) T += CH + 1;
      const Integer H = It->Header() && Label ? RectHeight(Label->SkinRect) : CH;
      It->ItemRect = Rect(L, T, L + GW, T + H);
      T += H + 1;
      X = L;
      continue;
    }
    It->ItemRect = Rect(X, T, X + CW, T + CH);
    X += CW;
    if (X + CW > L + GW) {
      X = L;
      T += CH + 1;
    }
  }
  return Items->Items(Items->Count() - 1)->ItemRect.Bottom - Items->Items(0)->ItemRect.Top;
}

void TspSkinImagesMenuPopupWindow::Show(const TRect& PopupRect) {
  TCustomImageList* IL = ImagesMenu->Images();
  const Integer GW = (IL->Width() + ImagesCellPadding) * ImagesMenu->ColumnsCount();
  const Integer GH = LayoutItems();
  Integer W = GW + 2 * ImagesPlainFrame, H = GH + 2 * ImagesPlainFrame;
  TspDataSkinPopupWindow* PW = SkinWindow();
  FSkinSupport = PW != nullptr;
  if (PW) {
    const Integer PicW = WindowPicture->Width(), PicH = WindowPicture->Height();
    W = PicW - RectWidth(PW->ItemsRect) + GW;
    H = PicH - RectHeight(PW->ItemsRect) + GH;
    NewLTPoint = PW->LTPoint;
    NewRTPoint = Point(W - (PicW - PW->RTPoint.X), PW->RTPoint.Y);
    NewLBPoint = Point(PW->LBPoint.X, H - (PicH - PW->LBPoint.Y));
    NewRBPoint = Point(W - (PicW - PW->RBPoint.X), H - (PicH - PW->RBPoint.Y));
    NewItemsRect = Rect(PW->ItemsRect.Left, PW->ItemsRect.Top, W - (PicW - PW->ItemsRect.Right),
                        H - (PicH - PW->ItemsRect.Bottom));
  }
  // The work area of the monitor of the active form, else of the visible main form, else
  // of the owner's form.
  HWND Near = nullptr;
  if (TCustomForm* F = Screen->ActiveCustomForm(); F && F->HandleAllocated())
    Near = F->Handle();
  else if (TForm* M = Application->MainForm(); M && M->Visible())
    Near = M->Handle();
  else if (auto* OF = dynamic_cast<TCustomForm*>(ImagesMenu->Owner()); OF && OF->HandleAllocated())
    Near = OF->Handle();
  TRect WA{};
  GetMonitorArea(Near, true, WA);
  Integer X = PopupRect.Left, Y = PopupRect.Bottom;
  if (Y + H > WA.Bottom) Y = PopupRect.Top - H;
  if (X + W > WA.Right) X = WA.Right - W;
  X = std::max(X, WA.Left);
  Y = std::max(Y, WA.Top);
  SetBounds(X, Y, W, H);
  if (MaskPicture && PW) {
    HRGN Rgn = nullptr;
    CreateSkinRegion(Rgn, PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint,
                     NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, MaskPicture, W, H);
    if (Rgn) SetWindowRgn(Handle(), Rgn, true);  // the window owns the region from here
  }
  const HWND Wnd = Handle();
  const Boolean Layered = IsWin2000OrLater() && ImagesMenu->AlphaBlend;
  const Boolean Fade = Layered && ImagesMenu->AlphaBlendAnimation;
  if (Layered) {
    SetWindowLongPtr(Wnd, GWL_EXSTYLE, GetWindowLongPtr(Wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredAlpha(Wnd, Fade ? 0 : ImagesMenu->AlphaBlendValue);
  }
  SetWindowPos(Wnd, HWND_TOPMOST, X, Y, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  SetVisible(true);
  if (Fade) {
    // What runs meanwhile may close the picker: the loop stops when the window is gone.
    Application->ProcessMessages();
    if (!IsWindow(Wnd) || FClosing) return;
    const Integer Target = ImagesMenu->AlphaBlendValue;
    const Integer Step = std::max<Integer>(1, Target / 15);
    Integer Value = 0;
    DWORD Last = GetTickCount();
    while (Value < Target) {
      const DWORD Now = GetTickCount();
      if (Now - Last > ImagesFadeStepMs) {
        Value = std::min(Value + Step, Target);
        SetLayeredAlpha(Wnd, Value);
        Last = Now;
        continue;
      }
      Sleep(1);
    }
  }
  OldAppMessage = Application->OnMessage;
  Application->OnMessage = [this](MSG& Msg, Boolean& Handled) { AppMessageHook(Msg, Handled); };
  FHooked = true;
  SetCapture(Wnd);
}

void TspSkinImagesMenuPopupWindow::Hide(Boolean AProcessEvents) {
  if (FClosing) return;
  FClosing = true;
  if (FHooked) {
    Application->OnMessage = OldAppMessage;
    FHooked = false;
  }
  if (HandleAllocated()) {
    if (GetCapture() == Handle()) ReleaseCapture();
    ShowWindow(Handle(), SW_HIDE);
  }
  SetVisible(false);
  HideEntryHint();
  ImagesMenu->CloseProc(AProcessEvents);
}

void TspSkinImagesMenuPopupWindow::AppMessageHook(MSG& Msg, Boolean& Handled) {
  if (Msg.message == WM_KEYDOWN) {
    const Word Key = static_cast<Word>(Msg.wParam & 0xFFFF);
    Msg.message = 0;
    Handled = true;
    ProcessKey(Key);
  } else if (ImagesMenuClosingMessage(Msg.message)) {
    Hide(false);
  }
}

Boolean TspSkinImagesMenuPopupWindow::Selectable(Integer I) const {
  TspImagesMenuItems* Items = ImagesMenu->ImagesItems();
  return I >= 0 && I < Items->Count() && !Items->Items(I)->Header();
}

void TspSkinImagesMenuPopupWindow::SetMouseInItem(Integer I) {
  if (I == MouseInItem) return;
  OldMouseInItem = MouseInItem;
  MouseInItem = I;
  Invalidate();
}

TspSkinHint* TspSkinImagesMenuPopupWindow::EntryHint() const {
  return ImagesMenu->ShowHints ? ImagesMenu->SkinHint() : nullptr;
}

void TspSkinImagesMenuPopupWindow::HideEntryHint() {
  if (TspSkinHint* H = EntryHint()) H->HideHint();
}

void TspSkinImagesMenuPopupWindow::ProcessKey(Word Key) {
  TspImagesMenuItems* Items = ImagesMenu->ImagesItems();
  const Integer N = Items->Count();
  const Integer First = N > 1 && Items->Items(0)->Header() ? 1 : 0;
  const Integer M = MouseInItem;
  switch (Key) {
    case VK_RETURN:
    case VK_SPACE:
      if (M != -1) ImagesMenu->ItemIndex = M;
      Hide(true);
      return;
    case VK_ESCAPE:
      Hide(false);
      return;
    case VK_LEFT:
      if (M == -1 || M == First) {
        SetMouseInItem(N - 1);
      } else {
        for (Integer I = M - 1; I >= 0; --I)
          if (Selectable(I)) {
            SetMouseInItem(I);
            break;
          }
      }
      return;
    case VK_RIGHT:
      if (M == -1 || M == N - 1) {
        SetMouseInItem(First);
      } else {
        for (Integer I = M + 1; I < N; ++I)
          if (Selectable(I)) {
            SetMouseInItem(I);
            break;
          }
      }
      return;
    case VK_UP:
    case VK_DOWN: {
      if (M == -1) {
        SetMouseInItem(Key == VK_UP ? N - 1 : First);
        return;
      }
      const TRect& Cur = Items->Items(M)->ItemRect;
      const Integer Dir = Key == VK_UP ? -1 : 1;
      for (Integer I = M + Dir; I >= 0 && I < N; I += Dir) {
        if (!Selectable(I)) continue;
        const TRect& R = Items->Items(I)->ItemRect;
        const Boolean OtherRow = Key == VK_UP ? R.Top < Cur.Top : R.Top > Cur.Top;
        if (OtherRow && (Items->Items(I)->Button() || R.Left == Cur.Left)) {
          SetMouseInItem(I);
          break;
        }
      }
      return;
    }
    default:
      return;
  }
}

Integer TspSkinImagesMenuPopupWindow::ItemAt(Integer X, Integer Y) const {
  TspImagesMenuItems* Items = ImagesMenu->ImagesItems();
  for (Integer I = 0; I < Items->Count(); ++I) {
    const TRect& R = Items->Items(I)->ItemRect;
    if (Selectable(I) && X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom) return I;
  }
  return -1;
}

void TspSkinImagesMenuPopupWindow::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      return;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      TPoint P{};
      GetCursorPos(&P);
      if (WindowFromPoint(P) != Handle()) {
        Hide(false);
        return;
      }
      break;
    }
    case CM_MOUSELEAVE:
      SetMouseInItem(-1);
      HideEntryHint();
      break;
    default:
      break;
  }
  TCustomControl::WndProc(Message);
}

void TspSkinImagesMenuPopupWindow::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  const Integer I = ItemAt(X, Y);
  if (I == MouseInItem) return;
  SetMouseInItem(I);
  if (TspSkinHint* H = EntryHint()) {
    H->HideHint();
    if (I != -1 && !ImagesMenu->ImagesItems()->Items(I)->Hint().empty())
      H->ActivateHint2(ImagesMenu->ImagesItems()->Items(I)->Hint());
  }
}

void TspSkinImagesMenuPopupWindow::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  HideEntryHint();
  FDown = true;
  FItemDown = ItemAt(X, Y) != -1;
  Invalidate();
}

void TspSkinImagesMenuPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  const Integer I = ItemAt(X, Y);
  if (FDown && I != -1) {
    ImagesMenu->ItemIndex = I;
    Hide(true);
    return;
  }
  FDown = FItemDown = false;
  SetCapture(Handle());
}

TspDataSkinButtonControl* TspSkinImagesMenuPopupWindow::CellButton() const {
  TspSkinData* SD = ImagesMenu->SkinData();
  if (!FSkinSupport || !SD) return nullptr;
  for (const char* Name : {"menuitembutton", "resizebutton"})
    if (const Integer I = SD->GetControlIndex(Name); I != -1)
      if (auto* B = dynamic_cast<TspDataSkinButtonControl*>(SD->CtrlList[I])) return B;
  return nullptr;
}

void TspSkinImagesMenuPopupWindow::DrawCellFrame(TCanvas* C, const TRect& R, Boolean Pressed) {
  TspSkinData* SD = ImagesMenu->SkinData();
  TspDataSkinButtonControl* Btn = CellButton();
  TBitmap* Pic = Btn && Btn->PictureIndex >= 0 && Btn->PictureIndex < SD->FActivePictures.Count()
                     ? SD->FActivePictures[Btn->PictureIndex]
                     : nullptr;
  if (Btn && Pic) {
    TRect Src = Pressed && !IsNullRect(Btn->DownSkinRect) ? Btn->DownSkinRect : Btn->ActiveSkinRect;
    if (IsNullRect(Src)) Src = Btn->SkinRect;
    const Integer W = RectWidth(R), H = RectHeight(R);
    const Integer DW = W - RectWidth(Btn->SkinRect), DH = H - RectHeight(Btn->SkinRect);
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    CreateSkinImage(Btn->LTPoint, Btn->RTPoint, Btn->LBPoint, Btn->RBPoint, Btn->ClRect, Btn->LTPoint,
                    Point(Btn->RTPoint.X + DW, Btn->RTPoint.Y), Point(Btn->LBPoint.X, Btn->LBPoint.Y + DH),
                    Point(Btn->RBPoint.X + DW, Btn->RBPoint.Y + DH),
                    Rect(Btn->ClRect.Left, Btn->ClRect.Top, Btn->ClRect.Right + DW, Btn->ClRect.Bottom + DH), &B, Pic,
                    Src, W, H, true, Btn->LeftStretch, Btn->TopStretch, Btn->RightStretch, Btn->BottomStretch,
                    Btn->StretchEffect, Btn->StretchType);
    C->Draw(R.Left, R.Top, &B);
    return;
  }
  C->Brush()->SetColor(Pressed ? ImagesPressedFill : ImagesHotFill);
  C->FillRect(R);
  C->Brush()->SetColor(clNavy);
  C->FrameRect(R);
}

void TspSkinImagesMenuPopupWindow::SetButtonCaptionFont(TCanvas* C, Boolean Pressed, Boolean Hot) const {
  TspSkinData* SD = ImagesMenu->SkinData();
  TspDataSkinButtonControl* Btn = CellButton();
  TspDataSkinMenuItem* MI = nullptr;
  if (SD)
    for (const char* Name : {"menuitem", "MENUITEM"})
      if (const Integer I = SD->GetIndex(Name); I != -1 && !MI) MI = dynamic_cast<TspDataSkinMenuItem*>(SD->ObjectList[I]);
  if (!Btn || !MI) {
    C->Font()->Assign(ImagesMenu->DefaultFont());
    C->Font()->SetColor(clWindowText);
    return;
  }
  if (ImagesMenu->UseSkinFont) {
    C->Font()->SetName(Btn->FontName);
    C->Font()->SetHeight(Btn->FontHeight);
    C->Font()->SetStyle(Btn->FontStyle);
  } else {
    C->Font()->Assign(ImagesMenu->DefaultFont());
  }
  C->Font()->SetCharset(SD->ResourceStrData() ? SD->ResourceStrData()->CharSet() : ImagesMenu->DefaultFont()->Charset());
  C->Font()->SetColor(Pressed ? Btn->DownFontColor : Hot ? Btn->ActiveFontColor : MI->FontColor);
}

void TspSkinImagesMenuPopupWindow::DrawHeader(TCanvas* C, TRect R, const String& Caption) {
  TspSkinData* SD = ImagesMenu->SkinData();
  TspDataSkinLabelControl* Label = nullptr;
  if (SD && !SD->Empty)
    if (const Integer I = SD->GetControlIndex("label"); I != -1)
      Label = dynamic_cast<TspDataSkinLabelControl*>(SD->CtrlList[I]);
  TBitmap* Pic = Label && Label->PictureIndex >= 0 && Label->PictureIndex < SD->FActivePictures.Count()
                     ? SD->FActivePictures[Label->PictureIndex]
                     : nullptr;
  if (!Pic) {
    C->Brush()->SetStyle(bsClear);
    DrawText(C->Handle(), Caption, -1, &R, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    C->Brush()->SetStyle(bsSolid);
    return;
  }
  TBitmap B;
  CreateHSkinImage(Label->LTPoint.X, RectWidth(Label->SkinRect) - Label->RTPoint.X, &B, Pic, Label->SkinRect,
                   RectWidth(R), RectHeight(R), Label->StretchEffect);
  TCanvas* BC = B.Canvas();
  BC->Font()->SetColor(Label->FontColor);
  BC->Font()->SetName(Label->FontName);
  BC->Font()->SetHeight(Label->FontHeight);
  BC->Font()->SetStyle(Label->FontStyle);
  BC->Font()->SetCharset(C->Font()->Charset());
  BC->Brush()->SetStyle(bsClear);
  // The label's text area, its right margin kept at the row's width.
  TRect T = Rect(Label->ClRect.Left, Label->ClRect.Top,
                 RectWidth(R) - (RectWidth(Label->SkinRect) - Label->ClRect.Right), Label->ClRect.Bottom);
  DrawText(BC->Handle(), Caption, -1, &T, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  C->Draw(R.Left, R.Top, &B);
}

void TspSkinImagesMenuPopupWindow::Paint() {
  const Integer W = Width(), H = Height();
  if (W <= 0 || H <= 0) return;
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  TCanvas* C = B.Canvas();
  TspDataSkinPopupWindow* PW = SkinWindow();
  FSkinSupport = PW != nullptr;
  if (PW) {
    CreateSkinImage2(PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint, NewRTPoint,
                     NewLBPoint, NewRBPoint, NewItemsRect, &B, WindowPicture,
                     Rect(0, 0, WindowPicture->Width(), WindowPicture->Height()), W, H, true, PW->LeftStretch,
                     PW->TopStretch, PW->RightStretch, PW->BottomStretch, PW->StretchEffect, PW->StretchType);
  } else {
    C->Brush()->SetColor(clWindow);
    C->FillRect(Rect(0, 0, W, H));
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect(Rect(0, 0, W, H));
  }
  const Integer Selected = ImagesMenu->ShowSelectedItem ? ImagesMenu->ItemIndex : -1;
  TCustomImageList* IL = ImagesMenu->Images();
  TspImagesMenuItems* Items = ImagesMenu->ImagesItems();
  C->Font()->Assign(ImagesMenu->DefaultFont());
  C->Font()->SetColor(clWindowText);
  for (Integer I = 0; I < Items->Count(); ++I) {
    TspImagesMenuItem* It = Items->Items(I);
    TRect R = It->ItemRect;
    if (It->Header()) {
      DrawHeader(C, R, It->Caption());
      continue;
    }
    const Boolean PressedLook = (I == Selected && !FItemDown) || (I == MouseInItem && FItemDown);
    if (PressedLook)
      DrawCellFrame(C, R, true);
    else if (I == MouseInItem)
      DrawCellFrame(C, R, false);
    const Boolean HasImage = It->ImageIndex() >= 0 && It->ImageIndex() < IL->Count();
    if (HasImage) IL->Draw(C, R.Left + 5, R.Top + 5, It->ImageIndex());
    if (It->Button() && !It->Caption().empty()) {
      TRect T = R;
      if (HasImage) T.Left += IL->Width() + 5;
      SetButtonCaptionFont(C, PressedLook, I == MouseInItem && !FItemDown && I != Selected);
      C->Brush()->SetStyle(bsClear);
      TRect M = T;
      DrawText(C->Handle(), It->Caption(), -1, &M, DT_CALCRECT | DT_SINGLELINE);
      const UINT Align = RectWidth(M) <= RectWidth(T) ? DT_CENTER : DT_LEFT;
      DrawText(C->Handle(), It->Caption(), -1, &T, Align | DT_VCENTER | DT_SINGLELINE);
      C->Brush()->SetStyle(bsSolid);
    }
  }
  Canvas()->Draw(0, 0, &B);
}
