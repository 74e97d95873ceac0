// The MDI tabs bar: its tabs, the layout of the tabs, hover, press, drag and close, and
// the list buttons with their menus of children.
#include "skin/forms/FormSkinMDITabsBar.h"

#include <algorithm>

#include "platform/win/Input.h"
#include "skin/controls/SkinMessages.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/SkinMenus.h"

namespace {

constexpr const char* TabsBarItemSuffix = "_DSFCHILDITEMBAR";
constexpr const char* TabsBarHiddenItemSuffix = "_DSFCHILDITEMBARHIDE";
constexpr Integer TabsBarListButtonWidth = 15;

// Name without Suffix when it ends in it.
bool TabsBarCutSuffix(String& Name, const String& Suffix) {
  if (Name.size() < Suffix.size() || Name.compare(Name.size() - Suffix.size(), Suffix.size(), Suffix) != 0)
    return false;
  Name.resize(Name.size() - Suffix.size());
  return true;
}

}  // namespace

TspSkinMDITabsBar::TspSkinMDITabsBar(TComponent* AOwner) : TspSkinControl(AOwner) {
  FSkinDataName = "tab";
  FDefaultFont = CreateOwned<TFont>();
  FDefaultFont->SetName("Arial");
  FDefaultFont->SetHeight(14);
  FDefaultFont->SetStyle({});
  SetWidth(150);
  SetHeight(21);
  FListMenu = ::Create<TspSkinPopupMenu>(this);
  FHideListMenu = ::Create<TspSkinPopupMenu>(this);
}

TspSkinMDITabsBar::~TspSkinMDITabsBar() {
  ObjectList.clear();
  ActiveTabIndex = OldTabIndex = DragIndex = -1;
}

// --- properties ------------------------------------------------------------------------

void TspSkinMDITabsBar::SetShowCloseButtons(Boolean Value) {
  FShowCloseButtons = Value;
  Repaint();
}

void TspSkinMDITabsBar::SetTabKind(TspSkinMDITabKind Value) {
  FTabKind = Value;
  if (Skinned()) ChangeSkinData();
}

void TspSkinMDITabsBar::SetFormSkin(TspFormSkin* Value) {
  if (FFormSkin && FFormSkin != Value) FFormSkin->RemoveFreeNotification(this);
  FFormSkin = Value;
  if (FFormSkin) FFormSkin->FreeNotification(this);
  // The list menus open through the main form's frame.
  FListMenu->SetSkinComponent(Value);
  FHideListMenu->SetSkinComponent(Value);
}

void TspSkinMDITabsBar::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  if (!Skinned() && Value > 0) SetHeight(Value);
}

void TspSkinMDITabsBar::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FFormSkin) FFormSkin = nullptr;
  if (AComponent == FListButton) FListButton = nullptr;
  if (AComponent == FHideListButton) FHideListButton = nullptr;
  if (AComponent == FListMenu) FListMenu = nullptr;
  if (AComponent == FHideListMenu) FHideListMenu = nullptr;
  // A child going away (compared by address: it may be half destroyed already).
  for (;;) {
    const auto It = std::find_if(ObjectList.begin(), ObjectList.end(), [AComponent](const std::unique_ptr<TspMDITab>& T) {
      return static_cast<TComponent*>(T->Child) == AComponent;
    });
    if (It == ObjectList.end()) break;
    DeleteTab((*It)->Child);
  }
}

// --- tabs ------------------------------------------------------------------------------

void TspSkinMDITabsBar::AddTab(TCustomForm* Child) {
  ObjectList.push_back(std::make_unique<TspMDITab>(this, Child));
  // A child freed while it still has its tab takes the tab with it.
  Child->FreeNotification(this);
  if (ObjectList.size() == 1) CreateListButton();
  Repaint();
}

// Hover and drag indexes follow the tabs after the removed one; one that pointed at it
// is cleared.
void TspSkinMDITabsBar::DeleteTab(TCustomForm* Child) {
  const auto It = std::find_if(ObjectList.begin(), ObjectList.end(),
                               [Child](const std::unique_ptr<TspMDITab>& T) { return T->Child == Child; });
  if (It == ObjectList.end()) return;
  const Integer Index = static_cast<Integer>(It - ObjectList.begin());
  if (ActiveTabIndex >= 0 && ActiveTabIndex < TabCount() && Tabs(ActiveTabIndex)->Child == Child) {
    TspMDITab* Leaving = Tabs(ActiveTabIndex);
    ActiveTabIndex = OldTabIndex = -1;
    if (OnTabMouseLeave) OnTabMouseLeave(Leaving);
  }
  const auto Follow = [Index](Integer& I) {
    if (I == Index)
      I = -1;
    else if (I > Index)
      --I;
  };
  Follow(ActiveTabIndex);
  Follow(OldTabIndex);
  if (DragIndex == Index) IsDrag = FDown = false;
  Follow(DragIndex);
  ObjectList.erase(ObjectList.begin() + Index);
  if (std::none_of(ObjectList.begin(), ObjectList.end(),
                   [Child](const std::unique_ptr<TspMDITab>& T) { return T->Child == Child; }))
    Child->RemoveFreeNotification(this);
  if (ObjectList.empty()) {
    FreeListButton(FListButton);
    FreeListButton(FHideListButton);
  }
  if (!ComponentState().Contains(csDestroying)) Repaint();
}

void TspSkinMDITabsBar::UpdateActiveTab() {
  TForm* Main = Application ? Application->MainForm() : nullptr;
  TForm* Active = Main ? Main->ActiveMDIChild() : nullptr;
  if (!Active) return;
  for (auto& T : ObjectList) T->Active = T->Child == Active;
  Repaint();
}

Integer TspSkinMDITabsBar::GetTabIndex(Integer X, Integer Y) {
  for (Integer I = 0; I < TabCount(); ++I) {
    const TspMDITab* T = Tabs(I);
    if (T->Visible && X >= T->ObjectRect.Left && X <= T->ObjectRect.Right && Y >= T->ObjectRect.Top &&
        Y <= T->ObjectRect.Bottom)
      return I;
  }
  return -1;
}

TspMDITab* TspSkinMDITabsBar::GetTab(Integer X, Integer Y) {
  const Integer I = GetTabIndex(X, Y);
  return I == -1 ? nullptr : Tabs(I);
}

Integer TspSkinMDITabsBar::IndexOfTab(const TspMDITab* Tab) const {
  for (Integer I = 0; I < TabCount(); ++I)
    if (Tabs(I) == Tab) return I;
  return -1;
}

Integer TspSkinMDITabsBar::GetCloseSize() const {
  if (!Skinned() || IsRectEmpty(&CloseButtonRect)) return 14;
  return CloseButtonRect.Right - CloseButtonRect.Left;
}

TspFormSkin* TspSkinMDITabsBar::ChildFormSkin(TCustomForm* Child) const { return FindSkinFormComponent(Child); }

void TspSkinMDITabsBar::ShowChild(TCustomForm* Child) {
  Child->Show();
  TspFormSkin* F = ChildFormSkin(Child);
  if (F && F->WindowState() == wsMinimized) F->SetWindowState(wsNormal);
}

// --- skin ------------------------------------------------------------------------------

void TspSkinMDITabsBar::GetSkinData() {
  TspSkinControl::GetSkinData();
  if (FIndex == -1) return;
  auto* D = dynamic_cast<TspDataSkinTabControl*>(FSD->CtrlList.Items(FIndex));
  if (!D) {
    FIndex = -1;
    return;
  }
  CursorIndex = D->CursorIndex;
  Picture = SkinActivePicture(FSD, D->PictureIndex);
  TabRect = D->TabRect;
  ActiveTabRect = IsRectEmpty(&D->ActiveTabRect) ? TabRect : D->ActiveTabRect;
  MouseInTabRect = IsRectEmpty(&D->MouseInTabRect) ? TabRect : D->MouseInTabRect;
  TabsBGRect = D->TabsBGRect;
  TabLeftOffset = D->TabLeftOffset;
  TabRightOffset = D->TabRightOffset;
  FontName = D->FontName;
  FontStyle = D->FontStyle;
  FontHeight = D->FontHeight;
  FontColor = D->FontColor;
  ActiveFontColor = D->FocusFontColor;
  MouseInFontColor = D->MouseInFontColor;
  UpDown = D->UpDown;
  TabStretchEffect = D->TabStretchEffect;
  CloseButtonRect = D->CloseButtonRect;
  ClosebuttonActiveRect = IsRectEmpty(&D->CloseButtonActiveRect) ? CloseButtonRect : D->CloseButtonActiveRect;
  CloseButtonDownRect = IsRectEmpty(&D->CloseButtonDownRect) ? ClosebuttonActiveRect : D->CloseButtonDownRect;
  ButtonTransparent = D->ButtonTransparent;
  ButtonTransparentColor = D->ButtonTransparentColor;
  LTPoint = D->LTPoint;
  RTPoint = D->RTPoint;
  LBPoint = D->LBPoint;
  RBPoint = D->RBPoint;
  ClRect = D->ClRect;
  SkinRect = D->SkinRect;
  LeftStretch = D->LeftStretch;
  TopStretch = D->TopStretch;
  RightStretch = D->RightStretch;
  BottomStretch = D->BottomStretch;
  StretchEffect = D->StretchEffect;
  StretchType = D->StretchType;
  FBottomOffset = ClRect.Top;
  FActiveTabOffset = (ActiveTabRect.Bottom - ActiveTabRect.Top) - (TabRect.Bottom - TabRect.Top);
}

void TspSkinMDITabsBar::ChangeSkinData() {
  GetSkinData();
  FCloseSize = GetCloseSize();
  if (Skinned() && FUseSkinSize) {
    const Integer H = TabRect.Bottom - TabRect.Top;
    SetHeight(FTabKind == sptkButton ? H : H + FBottomOffset);
  } else if (FDefaultHeight > 0) {
    SetHeight(FDefaultHeight);
  }
  if (FListButton) FListButton->SetSkinData(FSD);
  if (FHideListButton) FHideListButton->SetSkinData(FSD);
  Repaint();
  Realign();
}

void TspSkinMDITabsBar::AdjustClientRect(TRect& Rect) {
  TspSkinControl::AdjustClientRect(Rect);
  if (FTabKind == sptkTab && Skinned()) Rect.Bottom -= FBottomOffset;
}

// --- layout ----------------------------------------------------------------------------

void TspSkinMDITabsBar::CalcTabRects() {
  FInVisibleCount = 0;
  if (ObjectList.empty()) return;
  const Integer BarW = Width();
  const Integer H = FTabKind == sptkButton || !Skinned() ? Height() : Height() - FBottomOffset;
  const Integer Count = TabCount();
  Integer W = std::min((BarW - 15) / Count, FDefaultTabWidth);
  Integer Limit = BarW;
  if (W < FMinTabWidth && FMinTabWidth != 0) {
    W = FMinTabWidth;
    const Integer Room = (BarW - 30) / W;
    for (Integer I = 0; I < Count; ++I) {
      TspMDITab* T = Tabs(I);
      T->Visible = I < Room;
      T->ObjectRect = T->Visible ? Rect(15 + I * W, 0, 15 + (I + 1) * W, H) : TRect{};
      if (!T->Visible) ++FInVisibleCount;
    }
    Limit = BarW - 15;
  } else {
    for (Integer I = 0; I < Count; ++I) {
      TspMDITab* T = Tabs(I);
      T->Visible = true;
      T->ObjectRect = Rect(15 + I * W, 0, 15 + (I + 1) * W, H);
    }
    if (W < FDefaultTabWidth) Tabs(Count - 1)->ObjectRect.Right = BarW;
  }
  if (IsDrag && DragIndex >= 0 && DragIndex < Count) {
    TRect& R = Tabs(DragIndex)->ObjectRect;
    OffsetRect(&R, TabDX, 0);
    if (R.Right > Limit) OffsetRect(&R, -(R.Right - Limit), 0);
    if (R.Left < 0) OffsetRect(&R, -R.Left, 0);
  }
}

Integer TspSkinMDITabsBar::GetDropIndex() {
  if (ObjectList.empty() || TabDX == 0 || DragIndex < 0 || DragIndex >= TabCount()) return -1;
  CalcTabRects();
  const TRect Dragged = Tabs(DragIndex)->ObjectRect;
  const auto Middle = [](const TRect& R) { return R.Left + (R.Right - R.Left) / 2; };
  Integer Result = -1;
  if (TabDX > 0) {
    for (Integer I = DragIndex + 1; I < TabCount(); ++I)
      if (Tabs(I)->Visible && Middle(Tabs(I)->ObjectRect) < Dragged.Right) Result = I;
  } else {
    for (Integer I = DragIndex - 1; I >= 0; --I)
      if (Tabs(I)->Visible && Middle(Tabs(I)->ObjectRect) > Dragged.Left) Result = I;
  }
  return Result;
}

// --- mouse -----------------------------------------------------------------------------

void TspSkinMDITabsBar::RedrawTab(TspMDITab* Tab) {
  if (HandleAllocated()) Tab->Draw(Canvas());
}

void TspSkinMDITabsBar::TestActiveTab(Integer X, Integer Y) {
  ActiveTabIndex = GetTabIndex(X, Y);
  const Boolean Changed = ActiveTabIndex != OldTabIndex;
  if (Changed) {
    if (OldTabIndex >= 0 && OldTabIndex < TabCount() && Tabs(OldTabIndex)->Visible) {
      TspMDITab* Old = Tabs(OldTabIndex);
      Old->MouseIn = false;
      RedrawTab(Old);
      if (OnTabMouseLeave) OnTabMouseLeave(Old);
    }
    if (ActiveTabIndex != -1) {
      TspMDITab* New = Tabs(ActiveTabIndex);
      New->MouseIn = true;
      RedrawTab(New);
      if (OnTabMouseEnter) OnTabMouseEnter(New);
    }
    OldTabIndex = ActiveTabIndex;
  }
  if (!FShowCloseButtons) return;
  if (ActiveTabIndex != -1) {
    TspMDITab* T = Tabs(ActiveTabIndex);
    TRect B = T->ButtonRect;
    OffsetRect(&B, T->ObjectRect.Left, T->ObjectRect.Top);
    const Boolean Inside = PtInRect(&B, Point(X, Y));
    if (Inside && !T->ButtonMouseIn) {
      T->ButtonMouseIn = true;
      RedrawTab(T);
    } else if (!Inside && (T->ButtonMouseIn || T->ButtonMouseDown)) {
      T->ButtonMouseIn = T->ButtonMouseDown = false;
      RedrawTab(T);
    }
  }
  if (!Changed) return;
  Boolean Cleared = false;
  for (Integer I = 0; I < TabCount(); ++I) {
    TspMDITab* T = Tabs(I);
    if (I == ActiveTabIndex || (!T->ButtonMouseIn && !T->ButtonMouseDown)) continue;
    T->ButtonMouseIn = T->ButtonMouseDown = false;
    Cleared = true;
  }
  if (Cleared) Repaint();
}

void TspSkinMDITabsBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TspSkinControl::MouseDown(Button, Shift, X, Y);
  TspMDITab* Tab = GetTab(X, Y);
  if (!Tab) return;
  const Integer Index = IndexOfTab(Tab);
  if (Button == mbLeft) {
    ShowChild(Tab->Child);
    FDown = true;
    if (FMoveTabs) DragIndex = Index;
    DX = X;
    TabDX = 0;
    if (OnTabMouseDown) OnTabMouseDown(Button, Shift, Tab);
    if (FShowCloseButtons && IndexOfTab(Tab) != -1) {
      TRect B = Tab->ButtonRect;
      OffsetRect(&B, Tab->ObjectRect.Left, Tab->ObjectRect.Top);
      if (PtInRect(&B, Point(X, Y))) {
        FDown = false;
        DragIndex = -1;
        Tab->ButtonMouseIn = Tab->ButtonMouseDown = true;
      } else {
        Tab->ButtonMouseIn = Tab->ButtonMouseDown = false;
      }
      RedrawTab(Tab);
    }
  } else if (Button == mbRight) {
    TspFormSkin* ChildSkin = ChildFormSkin(Tab->Child);
    if (FSupportChildMenus && ChildSkin && FFormSkin && FFormSkin->SkinMenu) {
      POINT P{};
      GetCursorPos(&P);
      FFormSkin->SkinMenuOpen();
      FFormSkin->SkinMenu->Popup(Parent(), FFormSkin->MenuSkin(), 0, Rect(P.X, P.Y, P.X, P.Y),
                                 ChildSkin->GetSystemMenuItems(), false);
    }
    if (OnTabMouseDown) OnTabMouseDown(Button, Shift, Tab);
  }
}

void TspSkinMDITabsBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TspSkinControl::MouseMove(Shift, X, Y);
  if (FDown && DragIndex != -1) {
    if (!IsDrag && X != DX) IsDrag = true;
    if (IsDrag) {
      TabDX = X - DX;
      Repaint();
      return;
    }
  }
  TestActiveTab(X, Y);
}

void TspSkinMDITabsBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TspSkinControl::MouseUp(Button, Shift, X, Y);
  FDown = false;
  if (IsDrag) {
    const Integer Drop = GetDropIndex();
    if (Drop != -1 && Drop != DragIndex) {
      std::unique_ptr<TspMDITab> Moved = std::move(ObjectList[static_cast<size_t>(DragIndex)]);
      ObjectList.erase(ObjectList.begin() + DragIndex);
      ObjectList.insert(ObjectList.begin() + Drop, std::move(Moved));
      ActiveTabIndex = OldTabIndex = -1;
    }
    IsDrag = false;
    DragIndex = -1;
    DX = TabDX = 0;
    Repaint();
  } else {
    DragIndex = -1;
    if (TspMDITab* Tab = GetTab(X, Y); Tab && OnTabMouseUp) OnTabMouseUp(Button, Shift, Tab);
  }
  if (!FShowCloseButtons || Button != mbLeft) return;
  TspMDITab* Tab = GetTab(X, Y);
  if (!Tab) return;
  TRect B = Tab->ButtonRect;
  OffsetRect(&B, Tab->ObjectRect.Left, Tab->ObjectRect.Top);
  if (PtInRect(&B, Point(X, Y))) {
    Tab->ButtonMouseIn = true;
    Tab->ButtonMouseDown = false;
    RedrawTab(Tab);
    // Closing may take the tab away with its child: nothing of it is used afterwards.
    Tab->Child->Close();
  } else {
    Tab->ButtonMouseIn = Tab->ButtonMouseDown = false;
    RedrawTab(Tab);
  }
}

void TspSkinMDITabsBar::CMMouseLeave(TWMNoParams& Message) {
  TspSkinControl::CMMouseLeave(Message);
  if (!IsDrag) TestActiveTab(-1, -1);
}

void TspSkinMDITabsBar::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_SKIN_CHECK_PARENT_BACKGROUND ||
      (Message.Msg == WM_MOVE && Align() == alNone)) {
    if (Skinned() && FSD && FSD->MDITabsTransparent) Repaint();
  }
  TspSkinControl::Dispatch(Message);
}

// --- list buttons ----------------------------------------------------------------------

void TspSkinMDITabsBar::CreateListButton() {
  if (FListButton) return;
  FListButton = ::Create<TspSkinMenuSpeedButton>(this);
  FListButton->SetSkinDataName("resizetoolbutton");
  FListButton->FDrawStandardArrow = true;
  FListButton->FArrowType = 4;
  FListButton->SetWidth(TabsBarListButtonWidth);
  FListButton->SetAlign(alLeft);
  FListButton->SetSkinData(FSD);
  FListButton->SetSkinPopupMenu(FListMenu);
  FListButton->OnShowTrackMenu = [this](TObject*) { FillListMenu(FListMenu, false, TabsBarItemSuffix); };
  FListButton->SetParent(this);
}

void TspSkinMDITabsBar::CreateHideListButton() {
  if (FHideListButton) return;
  FHideListButton = ::Create<TspSkinMenuSpeedButton>(this);
  FHideListButton->SetSkinDataName("resizetoolbutton");
  FHideListButton->FDrawStandardArrow = true;
  FHideListButton->FArrowType = 2;
  FHideListButton->SetWidth(TabsBarListButtonWidth);
  FHideListButton->SetAlign(alRight);
  FHideListButton->SetSkinData(FSD);
  FHideListButton->SetSkinPopupMenu(FHideListMenu);
  FHideListButton->OnShowTrackMenu = [this](TObject*) {
    FillListMenu(FHideListMenu, true, TabsBarHiddenItemSuffix);
  };
  FHideListButton->SetParent(this);
}

void TspSkinMDITabsBar::FreeListButton(TspSkinMenuSpeedButton*& Button) {
  if (!Button) return;
  TspSkinMenuSpeedButton* B = Button;
  Button = nullptr;
  B->Free();
}

void TspSkinMDITabsBar::FillListMenu(TspSkinPopupMenu* Menu, Boolean HiddenOnly, const char* Suffix) {
  if (!Menu) return;
  TMenuItem* Items = Menu->Items();
  Items->Clear();
  for (auto& T : ObjectList) {
    if (HiddenOnly && T->Visible) continue;
    auto* Item = new TMenuItem(nullptr);  // the menu's items own it
    Item->SetName(T->Child->Name() + Suffix);
    Item->SetCaption(T->Child->Caption());
    Item->SetRadioItem(true);
    Item->SetChecked(T->Active);
    Item->OnClick = [this](TObject* Sender) { ListItemClick(Sender); };
    Items->Add(Item);
  }
}

void TspSkinMDITabsBar::ListItemClick(TObject* Sender) {
  auto* Item = dynamic_cast<TMenuItem*>(Sender);
  if (!Item || !FFormSkin || !FFormSkin->FForm) return;
  auto* Main = dynamic_cast<TForm*>(FFormSkin->FForm);
  if (!Main) return;
  String Name = Item->Name();
  if (!TabsBarCutSuffix(Name, TabsBarHiddenItemSuffix)) TabsBarCutSuffix(Name, TabsBarItemSuffix);
  for (Integer I = 0; I < Main->MDIChildCount(); ++I) {
    TForm* Child = Main->MDIChildren(I);
    if (Child->Name() != Name) continue;
    TspFormSkin* F = ChildFormSkin(Child);
    if (F && F->WindowState() == wsMinimized) F->SetWindowState(wsNormal);
    Child->Show();
  }
}

// --- painting ----------------------------------------------------------------------------

void TspSkinMDITabsBar::Paint() {
  TspSkinControl::Paint();
  if (FInVisibleCount > 0)
    CreateHideListButton();
  else
    FreeListButton(FHideListButton);
}
