// The skinned combo box: its popup list (opening, placing, closing with or without a
// choice), the drag over the list with its auto-scroll, the keys, type-ahead and wheel of
// the fixed style, focus, hover, geometry and the skin change.
#include <algorithm>

#include "platform/win/Capture.h"
#include "platform/win/Focus.h"
#include "platform/win/Input.h"
#include "platform/win/Keyboard.h"
#include "platform/win/ListBox.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowManager.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Text.h"
#include "platform/win/WindowDc.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

constexpr UINT_PTR ComboScrollTimerId = 1;
constexpr UINT ComboScrollMs = 25;
constexpr Cardinal ComboTypeAheadMs = 500;

}  // namespace

TspSkinCustomComboBox::TspSkinCustomComboBox(TComponent* AOwner) : TspSkinCustomControl(AOwner) {
  SetTabStop(true);
  ControlStyle = {csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks};
  Font()->SetName("Arial");
  Font()->SetColor(clWindowText);
  Font()->SetStyle({});
  Font()->SetHeight(14);
  SetBounds(Left(), Top(), 120, 20);
  FListBox = ::Create<TspPopupListBox>(this);
  FListBox->SetVisible(false);
  FListBox->SetParent(this);
  FListBox->ListBox->SetTabStop(false);
  FListBox->ListBox->OnMouseMove = [this](TObject* Sender, TShiftState Shift, Integer X, Integer Y) {
    ListBoxHotTrack(Sender, Shift, X, Y);
  };
  FListBoxWindowProc = FListBox->ListBox->WindowProc;
  FListBox->ListBox->WindowProc = [this](TMessage& Message) { ListBoxWindowProc(Message); };
  FListBox->OnCheckButtonClick = [this](TObject* Sender) { ListBoxCheckButtonClick(Sender); };
  CalcRects();
  FSkinDataName = "combobox";
}

TspSkinCustomComboBox::~TspSkinCustomComboBox() = default;

void TspSkinCustomComboBox::BeforeDestruction() {
  FDestroying = true;
  if (FListBox) {
    if (FListBox->Visible()) FListBox->Hide();
    // The list's own procedure goes back before the list goes.
    if (FListBox->ListBox) FListBox->ListBox->WindowProc = FListBoxWindowProc;
  }
  if (FEdit && FEditWindowProc) FEdit->WindowProc = FEditWindowProc;
  StopTimer();
  TspSkinCustomControl::BeforeDestruction();
}

void TspSkinCustomComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (FListBox && AComponent == FListBox->Images()) SetImages(nullptr);
  if (AComponent == FListBox) FListBox = nullptr;
  if (AComponent == FEdit) FEdit = nullptr;
}

// --- Properties ----------------------------------------------------------------------------

void TspSkinCustomComboBox::SetToolButtonStyle(Boolean Value) {
  if (FToolButtonStyle == Value) return;
  FToolButtonStyle = Value;
  if (Value) {
    SetStyle(spcbFixedStyle);
    FUseSkinSize = false;
  }
  Repaint();
}

void TspSkinCustomComboBox::SetDropDownCount(Integer Value) {
  if (Value > 0) FDropDownCount = Value;
}

void TspSkinCustomComboBox::SetImages(TCustomImageList* Value) {
  if (TCustomImageList* Old = FListBox->Images()) Old->RemoveFreeNotification(this);
  FListBox->SetImages(Value);
  if (Value) Value->FreeNotification(this);
  Repaint();
}

void TspSkinCustomComboBox::SetImageIndex(Integer Value) {
  FListBox->SetImageIndex(Value);
  Repaint();
}

void TspSkinCustomComboBox::SetCharCase(TEditCharCase Value) {
  FCharCase = Value;
  if (FEdit) FEdit->SetCharCase(Value);
}

void TspSkinCustomComboBox::SetDefaultColor(TColor Value) {
  FDefaultColor = Value;
  if (FIndex == -1) {
    Invalidate();
    if (FEdit) FEdit->SetColor(Value);
  }
}

void TspSkinCustomComboBox::SetOnListBoxDrawItem(TspDrawSkinItemEvent Value) {
  FOnListBoxDrawItem = Value;
  FListBox->OnDrawItem = Value;
}

Integer TspSkinCustomComboBox::SelStart() const { return FEdit ? FEdit->SelStart() : 0; }
void TspSkinCustomComboBox::SetSelStart(Integer Value) {
  if (FEdit) FEdit->SetSelStart(Value);
}
Integer TspSkinCustomComboBox::SelLength() const { return FEdit ? FEdit->SelLength() : 0; }
void TspSkinCustomComboBox::SetSelLength(Integer Value) {
  if (FEdit) FEdit->SetSelLength(Value);
}

void TspSkinCustomComboBox::SetItemIndex(Integer Value) {
  TspListBox* L = FListBox->ListBox;
  L->SetItemIndex(Value);
  if (L->Count() > 0 && L->ItemIndex() != -1) SetText(Items()->Get(L->ItemIndex()));
  FOldItemIndex = L->ItemIndex();
  if (!FEdit) Repaint();
  if (!ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading)) {
    if (OnClick) OnClick(this);
    Change();
  }
}

Boolean TspSkinCustomComboBox::IsPopupVisible() const { return FListBox && FListBox->Visible(); }

Boolean TspSkinCustomComboBox::CanCancelDropDown() { return IsPopupVisible() && !FMouseIn; }

void TspSkinCustomComboBox::Invalidate() {
  TspSkinCustomControl::Invalidate();
  if (FEdit && FIndex != -1) FEdit->Invalidate();
}

// --- Opening and closing -------------------------------------------------------------------

void TspSkinCustomComboBox::DropDown() {
  if (Items()->Count() == 0) return;
  WasInLB = false;
  StopTimer();
  if (OnDropDown) OnDropDown(this);
  const Integer W = FListBoxWidth == 0 ? Width() : FListBoxWidth;
  const Integer H = FListBox->CalcHeight(std::min(Items()->Count(), FDropDownCount));
  TPoint P = Parent() ? Parent()->ClientToScreen(Point(Left(), Top() + Height())) : Point(Left(), Top() + Height());
  TRect R;
  GetMonitorArea(Handle(), true, R);
  // No room below in the work area: the list opens above, its bottom on the control's top.
  if (P.Y + H > R.Bottom) P.Y = P.Y - Height() - H;
  if (FEdit) FEdit->SetFocus();
  TspListBox* L = FListBox->ListBox;
  FOldItemIndex = L->ItemIndex();
  if (FOldItemIndex == 0 && L->Count() > 1) {
    L->SetItemIndex(1);
    L->SetItemIndex(0);
  }
  FDropDown = true;
  if (FToolButtonStyle) Repaint();
  FListBox->SetBounds(P.X, P.Y, W, H);
  L->SetTopIndex(std::max(0, L->ItemIndex()));
  FListBox->Show(P);
}

void TspSkinCustomComboBox::CloseUp(Boolean AcceptValue) {
  if (!IsPopupVisible()) return;
  FListBox->Hide();
  if (TimerMode != 0) StopTimer();
  TspListBox* L = FListBox->ListBox;
  const Integer I = L->ItemIndex();
  if (I >= 0 && I < Items()->Count() && AcceptValue) {
    if (FEdit) {
      FEdit->SetText(Items()->Get(I));
      FEdit->SelectAll();
    } else {
      SetText(Items()->Get(I));
      Repaint();
    }
    if (OnClick) OnClick(this);
    Change();
  } else {
    L->SetItemIndex(FOldItemIndex);
  }
  FDropDown = false;
  Repaint();
  if (AcceptValue && OnCloseUp) OnCloseUp(this);
}

void TspSkinCustomComboBox::ListBoxCheckButtonClick(TObject*) { CloseUp(true); }

// --- Mouse ---------------------------------------------------------------------------------

void TspSkinCustomComboBox::MouseDown(TMouseButton Btn, TShiftState Shift, Integer X, Integer Y) {
  TspSkinCustomControl::MouseDown(Btn, Shift, X, Y);
  if (!FEdit && !Focused() && CanFocus()) SetFocus();
  if (Btn != mbLeft) return;
  const TPoint P = Point(X, Y);
  const bool Hit = PtInRect(&Button.R, P) || (!FEdit && PtInRect(&CBItem.R, P)) || FToolButtonStyle;
  if (Hit) {
    Button.MouseIn = PtInRect(&Button.R, P);
    Button.Down = true;
    Repaint();
    if (IsPopupVisible()) {
      CloseUp(false);
    } else {
      WasInLB = false;
      FLBDown = true;
      DropDown();
    }
  } else if (IsPopupVisible()) {
    CloseUp(false);
  }
}

void TspSkinCustomComboBox::MouseUp(TMouseButton Btn, TShiftState Shift, Integer X, Integer Y) {
  if (FLBDown && WasInLB) {
    ReleaseCapture();
    FLBDown = false;
    POINT Cursor{};
    GetCursorPos(&Cursor);
    const HWND Under = WindowFromPoint(Cursor);
    const bool OnList = FListBox->ListBox->HandleAllocated() && Under == FListBox->ListBox->Handle();
    CloseUp(OnList);
  } else {
    FLBDown = false;
  }
  TspSkinCustomControl::MouseUp(Btn, Shift, X, Y);
  if (Button.Down) {
    Button.Down = false;
    Repaint();
  }
}

void TspSkinCustomComboBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TspSkinCustomControl::MouseMove(Shift, X, Y);
  if (FLBDown) {
    TrackListBox();
    return;
  }
  const bool In = PtInRect(&Button.R, Point(X, Y));
  if (In != Button.MouseIn) {
    Button.MouseIn = In;
    Repaint();
  }
}

void TspSkinCustomComboBox::TrackListBox() {
  if (!IsPopupVisible()) return;
  TspListBox* L = FListBox->ListBox;
  POINT Cursor{};
  GetCursorPos(&Cursor);
  const TPoint P = L->ScreenToClient(Point(Cursor.X, Cursor.Y));
  const bool HasBar = FListBox->ScrollBar != nullptr;
  const Integer OldMode = TimerMode;
  if (P.Y < 0 && HasBar && WasInLB) {
    TimerMode = 1;
    if (TimerMode != OldMode) StartTimer();
  } else if (P.Y > L->Height() && HasBar && WasInLB) {
    TimerMode = 2;
    if (TimerMode != OldMode) StartTimer();
  } else if (P.Y >= 0 && P.Y <= L->Height()) {
    StopTimer();
    // Only the row matters: the list highlights the row under the pointer.
    L->Perform(WM_MOUSEMOVE, 0, PointToLParam(1, P.Y));
    WasInLB = true;
  }
}

HWND TspSkinCustomComboBox::ListWindow() {
  FListBox->HandleNeeded();
  return FListBox->ListBox->Handle();
}

void TspSkinCustomComboBox::StartTimer() { SetTimer(Handle(), ComboScrollTimerId, ComboScrollMs, nullptr); }

void TspSkinCustomComboBox::StopTimer() {
  if (HandleAllocated()) KillTimer(Handle(), ComboScrollTimerId);
  TimerMode = 0;
}

void TspSkinCustomComboBox::ListBoxWindowProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      // The release comes to the combo box, which closes the list with the row under it.
      FLBDown = true;
      WasInLB = true;
      SetCapture(Handle());
      return;
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return;
    case WM_MOUSEACTIVATE:
      FListBoxWindowProc(Message);
      Message.Result = MA_NOACTIVATE;
      return;
    default:
      FListBoxWindowProc(Message);
  }
}

void TspSkinCustomComboBox::ListBoxHotTrack(TObject*, TShiftState, Integer X, Integer Y) {
  TspListBox* L = FListBox->ListBox;
  const Integer I = L->ItemAtPos(Point(X, Y), true);
  if (I >= 0 && I < Items()->Count()) L->SetItemIndex(I);
}

// --- Keys and wheel ------------------------------------------------------------------------

void TspSkinCustomComboBox::SelectFromKeys(Integer AIndex, Boolean AChange) {
  if (AChange)
    SetItemIndex(AIndex);
  else
    FListBox->ListBox->SetItemIndex(AIndex);
}

void TspSkinCustomComboBox::StepUp(Boolean AChange) {
  const Integer I = ItemIndex();
  if (I > 0) SelectFromKeys(I - 1, AChange);
}

void TspSkinCustomComboBox::StepDown(Boolean AChange) {
  const Integer I = ItemIndex();
  if (I < Items()->Count() - 1) SelectFromKeys(I + 1, AChange);
}

void TspSkinCustomComboBox::PageUp(Boolean AChange) {
  if (Items()->Count() == 0) return;
  SelectFromKeys(std::max(0, ItemIndex() - FDropDownCount - 1), AChange);
}

void TspSkinCustomComboBox::PageDown(Boolean AChange) {
  if (Items()->Count() == 0) return;
  SelectFromKeys(std::min(Items()->Count() - 1, ItemIndex() + FDropDownCount - 1), AChange);
}

void TspSkinCustomComboBox::KeyDown(Word& Key, TShiftState Shift) {
  TspSkinCustomControl::KeyDown(Key, Shift);
  if (FEdit) return;
  switch (Key) {
    case VK_RETURN:
      if (IsPopupVisible()) CloseUp(true);
      break;
    case VK_ESCAPE:
      if (IsPopupVisible()) CloseUp(false);
      break;
    case VK_PRIOR:
      PageUp(true);
      break;
    case VK_NEXT:
      PageDown(true);
      break;
    case VK_LEFT:
    case VK_UP:
      if (Shift.Contains(ssAlt)) {
        if (IsPopupVisible()) CloseUp(false);
      } else {
        StepUp(true);
      }
      break;
    case VK_RIGHT:
    case VK_DOWN:
      if (Shift.Contains(ssAlt)) {
        if (!IsPopupVisible()) DropDown();
      } else {
        StepDown(true);
      }
      break;
    default:
      break;
  }
}

void TspSkinCustomComboBox::KeyPress(char32_t& Key) {
  TspSkinCustomControl::KeyPress(Key);
  if (FEdit || Key == 0) return;
  FindKeyItem(CodePointToUtf8(Key));
}

void TspSkinCustomComboBox::FindKeyItem(const String& Key) {
  String Search = Key;
  if (FAutoComplete) {
    const Cardinal Now = GetTickCount();
    if (Now - FLastTime >= ComboTypeAheadMs) FFilter.clear();
    FLastTime = Now;
    FFilter += Key;
    Search = FFilter;
  }
  // One letter searches on after the current item (the list wraps to the top), so the
  // same letter again cycles through the items that begin with it.
  const WPARAM From = Utf8Length(Search) == 1 ? static_cast<WPARAM>(ItemIndex()) : static_cast<WPARAM>(-1);
  const LRESULT Found =
      SendMessage(ListWindow(), LB_FINDSTRING, From, reinterpret_cast<LPARAM>(Search.c_str()));
  if (Found >= 0) SetItemIndex(static_cast<Integer>(Found));
}

// --- Messages ------------------------------------------------------------------------------

void TspSkinCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
      TspSkinCustomControl::Dispatch(Message);
      CalcRects();
      return;
    case WM_TIMER:
      TspSkinCustomControl::Dispatch(Message);
      if (TimerMode == 1) {
        if (FListBox->ListBox->ItemIndex() > 0) FListBox->ListBox->SetItemIndex(FListBox->ListBox->ItemIndex() - 1);
      } else if (TimerMode == 2) {
        if (FListBox->ListBox->ItemIndex() < Items()->Count() - 1)
          FListBox->ListBox->SetItemIndex(FListBox->ListBox->ItemIndex() + 1);
      }
      return;
    case WM_MOUSEWHEEL:
      if (!FEdit) {
        if (static_cast<int16_t>(HIWORD(Message.WParam)) > 0)
          StepUp(!IsPopupVisible());
        else
          StepDown(!IsPopupVisible());
      }
      Message.Result = 1;
      return;
    case CM_WANTSPECIALKEY:
      switch (static_cast<Word>(Message.WParam)) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
          Message.Result = 1;
          return;
        case VK_ESCAPE:
          // Esc closes an open list; it reaches the form (and its Cancel button) only
          // while the list is closed.
          if (IsPopupVisible()) {
            Message.Result = 1;
            return;
          }
          TspSkinCustomControl::Dispatch(Message);
          return;
        default:
          TspSkinCustomControl::Dispatch(Message);
          return;
      }
    case WM_SETFOCUS:
      if (FEdit) {
        FEdit->SetFocus();
        if (FIndex != -1 && !IsNullRect(ActiveSkinRect)) {
          SetEditFontColor(ActiveFontColor);
          Invalidate();
        }
        return;
      }
      TspSkinCustomControl::Dispatch(Message);
      Repaint();
      return;
    case WM_KILLFOCUS:
      TspSkinCustomControl::Dispatch(Message);
      if (!FEdit && IsPopupVisible()) CloseUp(false);
      Repaint();
      if (FEdit && FIndex != -1 && !IsNullRect(ActiveSkinRect)) {
        SetEditFontColor(FontColor);
        Invalidate();
      }
      return;
    case CM_ENABLEDCHANGED:
      TspSkinCustomControl::Dispatch(Message);
      if (FEdit)
        SetEditFontColor(!Enabled() ? GetDisabledFontColor() : FIndex == -1 ? DefaultFont()->Color() : FontColor);
      Repaint();
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
      TspSkinCustomControl::Dispatch(Message);
      const bool Enter = Message.Msg == CM_MOUSEENTER;
      FMouseIn = Enter;
      if (!Enter && Button.MouseIn) {
        Button.MouseIn = false;
        Repaint();
      }
      const bool ActiveLook = FIndex != -1 && !IsNullRect(ActiveSkinRect);
      if (ActiveLook && FEdit && !EditFocused()) SetEditFontColor(Enter ? ActiveFontColor : FontColor);
      if (ActiveLook || FToolButtonStyle) Invalidate();
      return;
    }
    case CM_CANCELMODE: {
      TspSkinCustomControl::Dispatch(Message);
      TCMCancelMode M(Message);
      EditCancelMode(M.Sender());
      return;
    }
    case WM_ERASEBKGND: {
      if (FromWMPaint) break;
      PaintWholeImageWithEdit(reinterpret_cast<HDC>(Message.WParam), FEdit);
      Message.Result = 1;
      return;
    }
    case CM_TEXTCHANGED:
      TspSkinCustomControl::Dispatch(Message);
      if (FEdit && !FromEdit) FEdit->SetText(Text());
      if (OnChange) OnChange(this);
      if (FromEdit) Change();
      return;
    default:
      TspSkinCustomControl::Dispatch(Message);
  }
}

void TspSkinCustomComboBox::EditCancelMode(TControl* Sender) {
  if (Sender && (Sender == this || Sender == FListBox || Sender == FListBox->ScrollBar ||
                 Sender == FListBox->HScrollBar || Sender == FListBox->ListBox))
    return;
  CloseUp(false);
}

// --- Geometry and skin ---------------------------------------------------------------------

void TspSkinCustomComboBox::CalcRects() {
  const Integer W = Width(), H = Height();
  if (FIndex == -1 || FToolButtonStyle) {
    Button.R = Rect(W - 19, 2, W - 2, H - 2);
    CBItem.R = Rect(2, 2, Button.R.Left - 1, H - 2);
  } else {
    const Integer DW = W - RectWidth(SkinRect);
    Button.R = ButtonRect;
    if (ButtonRect.Left >= RectWidth(SkinRect) - RTPt.X) {
      Button.R.Left += DW;
      Button.R.Right += DW;
    }
    CBItem.R = Rect(ClRect.Left, ClRect.Top, ClRect.Right + DW, ClRect.Bottom);
    if (!FUseSkinSize) {
      const Integer DH = H - RectHeight(SkinRect);
      Button.R.Bottom += DH;
      CBItem.R.Bottom += DH;
    }
  }
  if (FEdit) {
    HDC DC = GetDC(nullptr);
    HGDIOBJ Old = SelectObject(DC, FEdit->Font()->Handle());
    TEXTMETRIC TM{};
    GetTextMetricsW(DC, &TM);
    SelectObject(DC, Old);
    ReleaseDC(nullptr, DC);
    const Integer EH = TM.tmHeight;
    FEdit->SetBounds(CBItem.R.Left, CBItem.R.Top + RectHeight(CBItem.R) / 2 - EH / 2, RectWidth(CBItem.R), EH);
  }
}

void TspSkinCustomComboBox::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  if (FIndex == -1) return;
  auto* D = dynamic_cast<TspDataSkinComboBox*>(FSD->CtrlList.Items(FIndex));
  if (!D) return;
  ActiveSkinRect = D->ActiveSkinRect;
  ActiveFontColor = D->ActiveFontColor;
  SItemRect = D->SItemRect;
  ActiveItemRect = D->ActiveItemRect;
  FocusItemRect = IsNullRect(D->FocusItemRect) ? SItemRect : D->FocusItemRect;
  ItemLeftOffset = D->ItemLeftOffset;
  ItemRightOffset = D->ItemRightOffset;
  ItemTextRect = D->ItemTextRect;
  FontName = D->FontName;
  FontStyle = D->FontStyle;
  FontHeight = D->FontHeight;
  FontColor = D->FontColor;
  FocusFontColor = D->FocusFontColor;
  ButtonRect = D->ButtonRect;
  ActiveButtonRect = D->ActiveButtonRect;
  DownButtonRect = D->DownButtonRect;
  UnEnabledButtonRect = D->UnEnabledButtonRect;
  ListBoxName = D->ListBoxName;
  ItemStretchEffect = D->ItemStretchEffect;
  FocusItemStretchEffect = D->FocusItemStretchEffect;
  ShowFocus = D->ShowFocus;
}

void TspSkinCustomComboBox::CalcSize(Integer& AWidth, Integer& AHeight) {
  if (FUseSkinSize) {
    TspSkinCustomControl::CalcSize(AWidth, AHeight);
    return;
  }
  NewLTPoint = LTPt;
  NewRTPoint = Point(RTPt.X + AWidth - RectWidth(SkinRect), RTPt.Y);
  NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + AWidth - RectWidth(SkinRect), ClRect.Bottom);
}

void TspSkinCustomComboBox::SetControlRegion() {
  if (FUseSkinSize) TspSkinCustomControl::SetControlRegion();
}

void TspSkinCustomComboBox::DefaultFontChanged() { Font()->Assign(DefaultFont()); }

Integer TspSkinCustomComboBox::TextCharset() {
  if (FSD && FSD->ResourceStrData()) return FSD->ResourceStrData()->CharSet();
  return DefaultFont()->Charset();
}

TColor TspSkinCustomComboBox::GetDisabledFontColor() {
  if (FIndex != -1 && FSD) {
    const Integer I = FSD->GetControlIndex("edit");
    if (I != -1)
      if (auto* D = dynamic_cast<TspDataSkinEditControl*>(FSD->CtrlList.Items(I))) return D->DisabledFontColor;
  }
  return clGrayText;
}

Boolean TspSkinCustomComboBox::EditFocused() { return FEdit && FEdit->Focused(); }

void TspSkinCustomComboBox::SetEditFontColor(TColor Color) {
  if (FEdit) FEdit->Font()->SetColor(Color);
}

void TspSkinCustomComboBox::ChangeSkinData() {
  TspSkinCustomControl::ChangeSkinData();
  CalcRects();
  if (FEdit) {
    TFont* F = FEdit->Font();
    if (FIndex != -1 && FUseSkinFont) {
      F->SetStyle(FontStyle);
      F->SetHeight(FontHeight);
      F->SetName(FontName);
      F->SetColor(FontColor);
    } else {
      F->Assign(DefaultFont());
      if (FIndex != -1) F->SetColor(FontColor);
    }
    if (FIndex != -1 && !IsNullRect(ActiveSkinRect) && (EditFocused() || FMouseIn)) F->SetColor(ActiveFontColor);
    F->SetCharset(TextCharset());
    FEdit->SetEditTransparent(FIndex != -1);
    if (!Enabled()) F->SetColor(GetDisabledFontColor());
  }
  Repaint();
  FListBox->SetSkinDataName(FIndex != -1 ? ListBoxName : String());
  FListBox->SetSkinData(FSD);
  FListBox->UpDateScrollBar();
  CalcRects();
  if (FEdit && FIndex != -1) {
    Integer W = Width(), H = Height();
    CalcSize(W, H);
    if (W != Width() || H != Height()) SetBounds(Left(), Top(), W, H);
  }
}
