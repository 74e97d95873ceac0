// The skinned list box: its properties over the inner list, the descriptor copy and skin
// change, the layout of list and bars, and the scroll bars it creates, ranges and removes.
#include <algorithm>

#include "platform/win/Scroll.h"
#include "platform/win/MessageQueue.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

// The plain look's bar thickness and its corner marker.
constexpr Integer ListPlainBarSize = 19;

}  // namespace

TspSkinCustomListBox::TspSkinCustomListBox(TComponent* AOwner)
    : TspSkinCustomControl(AOwner),
      FTabWidths(std::make_unique<TStringList>()),
      FGlyph(std::make_unique<TBitmap>()),
      FDefaultCaptionFont(std::make_unique<TFont>()) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks, csReplicatable};
  FForceBackground = true;
  FDrawbackground = false;
  FDefaultCaptionFont->SetName("Arial");
  FDefaultCaptionFont->SetHeight(14);
  FDefaultCaptionFont->OnChange = [this](TObject*) { CaptionFontChanged(); };
  Font()->SetName("Arial");
  Font()->SetHeight(14);
  Font()->SetColor(clWindowText);
  Font()->SetStyle({});
  ListBox = ::Create<TspListBox>(this);
  ListBox->SkinListBox = this;
  ListBox->SetStyle(lbOwnerDrawFixed);
  ListBox->SetItemHeight(FDefaultItemHeight);
  ListBox->SetParent(this);
  ListBox->SetVisible(true);
  SetBounds(Left(), Top(), 120, 120);
  ArrangeParts();
  FSkinDataName = "listbox";
}

TspSkinCustomListBox::~TspSkinCustomListBox() = default;

void TspSkinCustomListBox::CreateParams(TCreateParams& Params) {
  TspSkinCustomControl::CreateParams(Params);
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TspSkinCustomListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == ListBox) ListBox = nullptr;
  if (AComponent == ScrollBar) ScrollBar = nullptr;
  if (AComponent == HScrollBar) HScrollBar = nullptr;
}

// --- Properties ----------------------------------------------------------------------------

void TspSkinCustomListBox::SetShowCaptionButtons(Boolean Value) {
  if (FShowCaptionButtons == Value) return;
  FShowCaptionButtons = Value;
  Repaint();
}

void TspSkinCustomListBox::SetTabWidths(TStrings* Value) {
  FTabWidths->Assign(Value);
  if (FTabWidths->Count() > 0 && ListBox) ListBox->Invalidate();
}

void TspSkinCustomListBox::SetHorizontalExtent(Boolean Value) {
  FHorizontalExtent = Value;
  UpDateScrollBar();
}

void TspSkinCustomListBox::SetColumns(Integer Value) {
  ListBox->SetColumns(Value);
  UpDateScrollBar();
}

void TspSkinCustomListBox::SetRowCount(Integer Value) {
  FRowCount = Value;
  if (Value != 0) SetHeight(CalcHeight(Value));
  UpDateScrollBar();
}

void TspSkinCustomListBox::SetImages(TCustomImageList* Value) {
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  ListBox->Invalidate();
}

void TspSkinCustomListBox::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  ListBox->Invalidate();
}

void TspSkinCustomListBox::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  Repaint();
}

void TspSkinCustomListBox::SetNumGlyphs(TspSkinPanelNumGlyphs Value) {
  FNumGlyphs = Value;
  Repaint();
}

void TspSkinCustomListBox::SetSpacing(Integer Value) {
  FSpacing = Value;
  Repaint();
}

void TspSkinCustomListBox::SetCaptionMode(Boolean Value) {
  FCaptionMode = Value;
  if (FIndex == -1) {
    ArrangeParts();
    Repaint();
  }
}

void TspSkinCustomListBox::SetDefaultCaptionHeight(Integer Value) {
  FDefaultCaptionHeight = Value;
  if (FIndex == -1 && FCaptionMode) {
    ArrangeParts();
    Repaint();
  }
}

void TspSkinCustomListBox::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  if (FCaptionMode) Repaint();
}

void TspSkinCustomListBox::SetDefaultItemHeight(Integer Value) {
  FDefaultItemHeight = Value;
  if (FIndex == -1 || !FUseSkinItemHeight) ListBox->SetItemHeight(std::max(1, Value));
}

void TspSkinCustomListBox::SetItems(TStrings* Value) {
  ListBox->Items()->Assign(Value);
  UpDateScrollBar();
}

void TspSkinCustomListBox::SetSorted(Boolean Value) {
  FreeScrollBar();
  ListBox->SetSorted(Value);
}

void TspSkinCustomListBox::Clear() {
  ListBox->Clear();
  UpDateScrollBar();
}

void TspSkinCustomListBox::CaptionFontChanged() {
  if (FIndex == -1 && FCaptionMode) Repaint();
}

void TspSkinCustomListBox::DefaultFontChanged() {
  if (FIndex == -1) Font()->Assign(DefaultFont());
}

// --- Inner list events ---------------------------------------------------------------------

Integer TspSkinCustomListBox::GetItemTextWidth(Integer Index, TCanvas* Canvas) {
  return Canvas->TextWidth(Items()->Get(Index));
}

void TspSkinCustomListBox::ListBoxMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnListBoxMouseDown) OnListBoxMouseDown(this, Button, Shift, X, Y);
}

void TspSkinCustomListBox::ListBoxMouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (OnListBoxMouseMove) OnListBoxMouseMove(this, Shift, X, Y);
}

void TspSkinCustomListBox::ListBoxMouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnListBoxMouseUp) OnListBoxMouseUp(this, Button, Shift, X, Y);
}

void TspSkinCustomListBox::ListBoxClick() {
  if (OnListBoxClick) OnListBoxClick(this);
}

void TspSkinCustomListBox::ListBoxDblClick() {
  if (OnListBoxDblClick) OnListBoxDblClick(this);
}

void TspSkinCustomListBox::ListBoxKeyDown(Word& Key, TShiftState Shift) {
  if (OnListBoxKeyDown) OnListBoxKeyDown(this, Key, Shift);
}

void TspSkinCustomListBox::ListBoxKeyUp(Word& Key, TShiftState Shift) {
  if (OnListBoxKeyUp) OnListBoxKeyUp(this, Key, Shift);
}

void TspSkinCustomListBox::ListBoxKeyPress(char32_t& Key) {
  if (OnListBoxKeyPress) OnListBoxKeyPress(this, Key);
}

void TspSkinCustomListBox::ListBoxWindowProcHook(TMessage&, Boolean& CallDefault) { CallDefault = true; }

// --- Skin ----------------------------------------------------------------------------------

void TspSkinCustomListBox::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  if (FIndex == -1) return;
  auto* D = dynamic_cast<TspDataSkinListBox*>(FSD->CtrlList.Items(FIndex));
  if (!D) return;
  FontName = D->FontName;
  FontStyle = D->FontStyle;
  FontHeight = D->FontHeight;
  SItemRect = D->SItemRect;
  ActiveItemRect = IsNullRect(D->ActiveItemRect) ? SItemRect : D->ActiveItemRect;
  FocusItemRect = IsNullRect(D->FocusItemRect) ? SItemRect : D->FocusItemRect;
  ItemLeftOffset = D->ItemLeftOffset;
  ItemRightOffset = D->ItemRightOffset;
  ItemTextRect = D->ItemTextRect;
  FontColor = D->FontColor;
  ActiveFontColor = D->ActiveFontColor;
  FocusFontColor = D->FocusFontColor;
  CaptionRect = D->CaptionRect;
  CaptionFontName = D->CaptionFontName;
  CaptionFontStyle = D->CaptionFontStyle;
  CaptionFontHeight = D->CaptionFontHeight;
  CaptionFontColor = D->CaptionFontColor;
  UpButtonRect = D->UpButtonRect;
  ActiveUpButtonRect = D->ActiveUpButtonRect;
  DownUpButtonRect = IsNullRect(D->DownUpButtonRect) ? ActiveUpButtonRect : D->DownUpButtonRect;
  DownButtonRect = D->DownButtonRect;
  ActiveDownButtonRect = D->ActiveDownButtonRect;
  DownDownButtonRect = IsNullRect(D->DownDownButtonRect) ? ActiveDownButtonRect : D->DownDownButtonRect;
  CheckButtonRect = D->CheckButtonRect;
  ActiveCheckButtonRect = D->ActiveCheckButtonRect;
  DownCheckButtonRect = IsNullRect(D->DownCheckButtonRect) ? ActiveCheckButtonRect : D->DownCheckButtonRect;
  VScrollBarName = D->VScrollBarName;
  HScrollBarName = D->HScrollBarName;
  BothScrollBarName = D->BothScrollBarName;
  ShowFocus = D->ShowFocus;
  ButtonsArea = D->ButtonsArea;
  DisabledButtonsRect = D->DisabledButtonsRect;
}

void TspSkinCustomListBox::ChangeSkinData() {
  TspSkinCustomControl::ChangeSkinData();
  FStopUpDateHScrollBar = true;
  if (FIndex == -1) {
    ListBox->SetItemHeight(std::max(1, FDefaultItemHeight));
    Font()->Assign(DefaultFont());
  } else if (FUseSkinItemHeight) {
    // A skin whose item picture has no height still gets rows of one pixel.
    ListBox->SetItemHeight(std::max(1, RectHeight(SItemRect)));
  }
  if (ScrollBar) {
    ScrollBar->SetSkinDataName(FIndex == -1 ? String() : Columns() < 1 ? VScrollBarName : HScrollBarName);
    ScrollBar->SetSkinData(FSD);
  }
  if (HScrollBar) {
    if (FIndex == -1) {
      HScrollBar->SetSkinDataName("");
      if (ScrollBar) HScrollBar->SetBothMarkerWidth(ListPlainBarSize);
    } else {
      HScrollBar->SetSkinDataName(ScrollBar ? BothScrollBarName : HScrollBarName);
    }
    HScrollBar->SetSkinData(FSD);
  }
  if (FRowCount != 0) SetHeight(CalcHeight(FRowCount));
  ArrangeParts();
  FStopUpDateHScrollBar = false;
  UpDateScrollBar();
  ListBox->Invalidate();
}

Integer TspSkinCustomListBox::HScrollBarHeight() const { return HScrollBar ? HScrollBar->Height() : 0; }

Integer TspSkinCustomListBox::CalcHeight(Integer AItemsCount) {
  const Integer IH = ListBox->SafeItemHeight();
  Integer H;
  if (FIndex == -1) {
    H = AItemsCount * IH + 4;
    if (FCaptionMode) H += FDefaultCaptionHeight;
  } else {
    H = RectHeight(SkinRect) - RectHeight(ClRect) + AItemsCount * IH;
  }
  return H + HScrollBarHeight();
}

void TspSkinCustomListBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  const bool Sized = AWidth != Width() || AHeight != Height();
  TspSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  // Without a window no WM_SIZE comes: the parts follow the new size here too.
  if (Sized && !HandleAllocated()) ArrangeParts();
  if (FIndex == -1) Repaint();
}

// --- Layout --------------------------------------------------------------------------------

void TspSkinCustomListBox::ArrangeParts() {
  if (!ListBox) return;
  const Integer W = Width(), H = Height();
  const Integer C = FCaptionMode ? FDefaultCaptionHeight : 1;
  const bool Skinned = FIndex != -1;
  if (Skinned)
    NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + (W - RectWidth(SkinRect)),
                     ClRect.Bottom + (H - RectHeight(SkinRect)));
  Integer HB = 0;
  if (Columns() == 0 && HScrollBar && HScrollBar->Visible()) {
    if (!Skinned) {
      HScrollBar->SetBounds(1, H - 20, W - 2, ListPlainBarSize);
      HB = HScrollBar->Height() - 1;
    } else {
      HScrollBar->SetBounds(NewClRect.Left, NewClRect.Bottom - HScrollBar->Height(), RectWidth(NewClRect),
                            HScrollBar->Height());
      HB = HScrollBar->Height();
    }
  }
  if (ScrollBar && ScrollBar->Visible()) {
    if (!Skinned && Columns() <= 0) {
      ScrollBar->SetBounds(W - 20, C, ListPlainBarSize, H - 1 - C - HB);
      ListRect = Rect(2, C + 1, ScrollBar->Left(), H - 2 - HB);
    } else if (!Skinned) {
      ScrollBar->SetBounds(1, H - 20, W - 2, ListPlainBarSize);
      ListRect = Rect(2, C + 1, W - 2, ScrollBar->Top());
    } else if (Columns() <= 0) {
      ScrollBar->SetBounds(NewClRect.Right - ScrollBar->Width(), NewClRect.Top, ScrollBar->Width(),
                           RectHeight(NewClRect) - HB);
      ListRect = Rect(NewClRect.Left, NewClRect.Top, NewClRect.Right - ScrollBar->Width(), NewClRect.Bottom - HB);
    } else {
      ScrollBar->SetBounds(NewClRect.Left, NewClRect.Bottom - ScrollBar->Height(), RectWidth(NewClRect),
                           ScrollBar->Height());
      ListRect = Rect(NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom - ScrollBar->Height());
    }
  } else if (!Skinned) {
    ListRect = Rect(2, C + 1, W - 2, H - 2 - HB);
  } else {
    ListRect = Rect(NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom - HB);
  }
  ListBox->SetBoundsRect(ListRect);
}

// --- Scroll bars ---------------------------------------------------------------------------

void TspSkinCustomListBox::CreateScrollBar() {
  ScrollBar = ::Create<TspSkinScrollBar>(this);
  ScrollBar->SetVisible(false);
  ScrollBar->SetParent(this);
  ScrollBar->SetBounds(0, 0, 20, 100);
  ScrollBar->SetPageSize(0);
  ScrollBar->SetMin(0);
  ScrollBar->SetPosition(0);
  ScrollBar->SetKind(Columns() <= 0 ? sbVertical : sbHorizontal);
  ScrollBar->OnChange = [this](TObject* Sender) { ScrollBarChange(Sender); };
  ScrollBar->SetSkinDataName(FIndex == -1 ? String() : Columns() <= 0 ? VScrollBarName : HScrollBarName);
  ScrollBar->SetSkinData(FSD);
  if (HScrollBar) {
    if (FIndex == -1) {
      HScrollBar->SetSkinDataName("");
      HScrollBar->FBoth = true;
      HScrollBar->SetBothMarkerWidth(ListPlainBarSize);
    } else {
      HScrollBar->BothSkinDataName = BothScrollBarName;
      HScrollBar->SetSkinDataName(BothScrollBarName);
      HScrollBar->FBoth = true;
    }
  }
  ArrangeParts();
  ScrollBar->SetVisible(true);
  ArrangeParts();
  Repaint();
}

void TspSkinCustomListBox::CreateHScrollBar() {
  HScrollBar = ::Create<TspSkinScrollBar>(this);
  HScrollBar->SetVisible(false);
  HScrollBar->SetParent(this);
  HScrollBar->SetBounds(0, 0, 100, 20);
  HScrollBar->SetPageSize(0);
  HScrollBar->SetMin(0);
  HScrollBar->SetPosition(0);
  HScrollBar->SetKind(sbHorizontal);
  HScrollBar->OnChange = [this](TObject* Sender) { HScrollBarChange(Sender); };
  if (FIndex == -1) {
    HScrollBar->SetSkinDataName("");
    if (ScrollBar) {
      HScrollBar->FBoth = true;
      HScrollBar->SetBothMarkerWidth(ListPlainBarSize);
    }
  } else {
    HScrollBar->BothSkinDataName = BothScrollBarName;
    HScrollBar->SetSkinDataName(ScrollBar ? BothScrollBarName : HScrollBarName);
    HScrollBar->FBoth = ScrollBar != nullptr;
  }
  HScrollBar->SetSkinData(FSD);
  HScrollBar->SetVisible(true);
  ArrangeParts();
  Repaint();
}

void TspSkinCustomListBox::FreeScrollBar() {
  if (!ScrollBar || !ScrollBar->Visible()) return;
  ScrollBar->SetVisible(false);
  TspSkinScrollBar* Bar = ScrollBar;
  ScrollBar = nullptr;
  Bar->Free();
  ArrangeParts();
}

void TspSkinCustomListBox::FreeHScrollBar() {
  if (!HScrollBar || !HScrollBar->Visible()) return;
  ListBox->SetHorizontalExtentValue(0);
  HScrollBar->SetVisible(false);
  TspSkinScrollBar* Bar = HScrollBar;
  HScrollBar = nullptr;
  Bar->Free();
  ArrangeParts();
  ListBox->Invalidate();
}

void TspSkinCustomListBox::ScrollBarChange(TObject*) {
  const WPARAM Code = SB_THUMBPOSITION | (static_cast<WPARAM>(static_cast<uint16_t>(ScrollBar->Position())) << 16);
  SendMessage(ListBox->Handle(), Columns() <= 0 ? WM_VSCROLL : WM_HSCROLL, Code, 0);
}

void TspSkinCustomListBox::HScrollBarChange(TObject*) {
  ListBox->SetHorizontalExtentValue(HScrollBar->Position());
  ListBox->Invalidate();
}

void TspSkinCustomListBox::UpDateScrollBar() {
  if (!ListBox || ComponentState().Contains(csDestroying)) return;
  if (Columns() < 1) {
    if (!FHorizontalExtent || FStopUpDateHScrollBar) {
      FreeHScrollBar();
    } else {
      auto Measure = CreateControlImage(1, 1);
      TCanvas* C = Measure->Canvas();
      if (FIndex != -1 && FUseSkinFont) {
        C->Font()->SetName(FontName);
        C->Font()->SetStyle(FontStyle);
        C->Font()->SetHeight(FontHeight);
      } else {
        C->Font()->Assign(ListBox->Font());
      }
      Integer AMax = 0;
      for (Integer I = 0; I < Items()->Count(); ++I) AMax = std::max(AMax, GetItemTextWidth(I, C));
      Integer Page = FIndex == -1 ? ListBox->Width() - 4
                                  : ListBox->Width() - (RectWidth(SItemRect) - RectWidth(ItemTextRect));
      if (FImages) Page -= FImages->Width() + 4;
      if (Page < AMax) {
        if (!HScrollBar) CreateHScrollBar();
        HScrollBar->SetRange(0, AMax, HScrollBar->Position(), Page);
        HScrollBar->SetSmallChange(C->TextWidth("0"));
        HScrollBar->SetLargeChange(C->TextWidth("0"));
      } else {
        FreeHScrollBar();
      }
    }
    if (FRowCount > 0 && FRowCount == Items()->Count()) {
      FreeScrollBar();
      return;
    }
    if (!ListBox->HandleAllocated()) return;
    int Min = 0, Max = 0;
    GetScrollRange(ListBox->Handle(), SB_VERT, &Min, &Max);
    const Integer Pos = GetScrollPos(ListBox->Handle(), SB_VERT);
    const Integer Page = ListBox->Height() / ListBox->SafeItemHeight();
    if (Max > Min && Pos <= Max && Page < Items()->Count()) {
      if (!ScrollBar) CreateScrollBar();
      ScrollBar->SetRange(Min, Max, Pos, Page);
      ScrollBar->SetLargeChange(Page);
    } else {
      FreeScrollBar();
    }
    return;
  }
  if (!ListBox->HandleAllocated()) return;
  int Min = 0, Max = 0;
  GetScrollRange(ListBox->Handle(), SB_HORZ, &Min, &Max);
  const Integer Pos = GetScrollPos(ListBox->Handle(), SB_HORZ);
  if (Max > Min && Pos <= Max && Columns() <= Max &&
      (ListBox->Height() / ListBox->SafeItemHeight()) * Columns() < Items()->Count()) {
    if (!ScrollBar) CreateScrollBar();
    ScrollBar->SetRange(Min, Max, Pos, Columns());
  } else {
    FreeScrollBar();
  }
}
