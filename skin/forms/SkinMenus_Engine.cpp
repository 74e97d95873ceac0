// The skin menu engine: the stack of open levels, the submenu delay, closing, and the
// command of a chosen item run once every menu window is gone.
#include <algorithm>

#include "platform/win/WindowManager.h"
#include "platform/win/MessageQueue.h"
#include "skin/controls/SkinMessages.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/SkinMenus.h"

namespace {

constexpr Cardinal SkinMenuSubmenuDelay = 500;

// A notification to a control: sent to a windowed control's window, performed otherwise.
void SkinMenuNotify(TControl* C, UINT Msg) {
  if (auto* W = dynamic_cast<TWinControl*>(C))
    SendMessage(W->Handle(), Msg, 0, 0);
  else
    C->Perform(Msg, 0, 0);
}

}  // namespace

// --- Item level logic ------------------------------------------------------------------------

void TspSkinMenuItem::MouseEnter(Boolean Kb) {
  Active = true;
  CurrentFrame = 0;
  for (const auto& Other : Parent->ItemList)
    if (Other.get() != this && Other->Down) {
      Other->Down = false;
      Other->ReDraw();
    }
  TspSkinMenu* Menu = Parent->ParentMenu;
  if (WaitCommand && !Kb) {
    ReDraw();
  } else if (Down) {
    const Integer I = Menu->GetPopupIndex(Parent);
    if (I + 2 < Menu->LevelCount()) Menu->Level(I + 1)->CloseChildLevels();
  } else {
    ReDraw();
    Menu->CheckItem(Parent, this, false, Kb);
  }
  if (Parent->Hint() != MenuItem->Hint()) Parent->SetHint(MenuItem->Hint());
}

void TspSkinMenuItem::MouseLeave() {
  WaitCommand = false;
  Active = false;
  if (EnableAnimation()) CurrentFrame = MI->FrameCount + 1;
  if (!Down) ReDraw();
  TspSkinMenu* Menu = Parent->ParentMenu;
  if (Menu->WItem == this) {
    Menu->WaitTimer()->SetEnabled(false);
    Menu->WItem = nullptr;
  }
}

void TspSkinMenuItem::MouseDown(Integer, Integer) {
  WaitCommand = false;
  if (!Down && MenuItem->Enabled()) Parent->ParentMenu->CheckItem(Parent, this, true, false);
}

// --- Engine ----------------------------------------------------------------------------------

TspSkinMenu::TspSkinMenu(TComponent* AOwner, TForm* AForm) : TComponent(AOwner), FForm(AForm) {
  FDefaultMenuItemFont = std::make_unique<TFont>();
  FDefaultMenuItemFont->SetName("Arial");
  FDefaultMenuItemFont->SetStyle({});
  FDefaultMenuItemFont->SetHeight(14);
  FWaitTimer = ::Create<TTimer>(this);
  FWaitTimer->SetEnabled(false);
  FWaitTimer->SetInterval(SkinMenuSubmenuDelay);
  FWaitTimer->OnTimer = [this](TObject* Sender) { WaitTimerProc(Sender); };
  if (FForm) FForm->FreeNotification(this);
}

void TspSkinMenu::BeforeDestruction() {
  CloseMenu(0);
  TComponent::BeforeDestruction();
}

TspSkinMenu::~TspSkinMenu() {
  FPopupList.clear();
  SetPopupCtrl(nullptr);
  SetDCtrl(nullptr);
}

void TspSkinMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPopupCtrl) FPopupCtrl = nullptr;
  if (AComponent == FDCtrl) FDCtrl = nullptr;
  if (AComponent == FForm) FForm = nullptr;
}

void TspSkinMenu::SetPopupCtrl(TControl* Value) {
  if (FPopupCtrl == Value) return;
  if (FPopupCtrl && FPopupCtrl != FDCtrl && FPopupCtrl != FForm) FPopupCtrl->RemoveFreeNotification(this);
  FPopupCtrl = Value;
  if (FPopupCtrl) FPopupCtrl->FreeNotification(this);
}

void TspSkinMenu::SetDCtrl(TControl* Value) {
  if (FDCtrl == Value) return;
  if (FDCtrl && FDCtrl != FPopupCtrl && FDCtrl != FForm) FDCtrl->RemoveFreeNotification(this);
  FDCtrl = Value;
  if (FDCtrl) FDCtrl->FreeNotification(this);
}

void TspSkinMenu::StopWaiting() {
  FWaitTimer->SetEnabled(false);
  WItem = nullptr;
}

TRect TspSkinMenu::GetMenuWorkArea() const {
  TRect R{};
  if (FForm)
    GetMonitorArea(FForm->Handle(), true, R);
  else
    GetScreenArea(true, R);
  return R;
}

Integer TspSkinMenu::GetPopupIndex(const TspSkinPopupWindow* Window) const {
  for (size_t I = 0; I < FPopupList.size(); ++I)
    if (FPopupList[I].get() == Window) return static_cast<Integer>(I);
  return LevelCount();
}

void TspSkinMenu::Popup(TControl* APopupCtrl, TspSkinData* ASkinData, Integer StartIndex, const TRect& R,
                        TMenuItem* AItem, Boolean PopupUp) {
  FFirst = !FVisible;
  // The menu that is open closes first and tells its own opener.
  if (!FPopupList.empty()) CloseMenu(0);
  SetPopupCtrl(APopupCtrl);
  WorkArea = GetMenuWorkArea();
  SkinData = ASkinData;
  if (AItem && AItem->Count() > 0 && StartIndex < AItem->Count()) {
    FVisible = true;
    PopupSub(R, AItem, StartIndex, false, PopupUp);
    FFirst = false;
  }
}

void TspSkinMenu::Popup2(TControl* APopupCtrl, TspSkinData* ASkinData, Integer StartIndex, const TRect& R,
                         TMenuItem* AItem, TMenuItem* AItem2, Boolean PopupUp) {
  FFirst = !FVisible;
  if (!FPopupList.empty()) CloseMenu(0);
  SetPopupCtrl(APopupCtrl);
  WorkArea = GetMenuWorkArea();
  SkinData = ASkinData;
  if (!AItem || AItem->Count() == 0) return;
  const Integer Total = AItem->Count() + (AItem2 ? AItem2->Count() : 0);
  if (StartIndex < Total) {
    FVisible = true;
    PopupSub2(R, AItem, AItem2, StartIndex, false, PopupUp);
    FFirst = false;
  }
}

void TspSkinMenu::PopupSub(const TRect& R, TMenuItem* AItem, Integer StartIndex, Boolean PopupByItem,
                           Boolean PopupUp) {
  PopupSub2(R, AItem, nullptr, StartIndex, PopupByItem, PopupUp);
}

void TspSkinMenu::PopupSub2(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex,
                            Boolean PopupByItem, Boolean PopupUp) {
  TspDataSkinPopupWindow* Data = (SkinData && !SkinData->Empty) ? SkinData->PopupWindow.get() : nullptr;
  FPopupList.push_back(CreateOwned<TspSkinPopupWindow>(nullptr, this, Data));
  TspSkinPopupWindow* W = FPopupList.back().get();
  if (AItem2)
    W->Show2(R, AItem, AItem2, StartIndex, PopupByItem, PopupUp);
  else
    W->Show(R, AItem, StartIndex, PopupByItem, PopupUp);
}

void TspSkinMenu::CloseDeeperThan(TspSkinPopupWindow* Sender) {
  const Integer I = GetPopupIndex(Sender);
  if (I < LevelCount() - 1) CloseMenu(I + 1);
}

void TspSkinMenu::CheckItem(TspSkinPopupWindow* Sender, TspSkinMenuItem* Item, Boolean Execute, Boolean Kb) {
  const Boolean Sub = Item->HasSubItems();
  if (!Sub && !Execute) {
    StopWaiting();
    CloseDeeperThan(Sender);
  } else if (!Sub) {
    StopWaiting();
    TMenuItem* MenuItem = Item->MenuItem;
    TMenu* Menu = MenuItem->GetParentMenu();
    const Word Command = MenuItem->Command();
    Hide();
    // Every menu window is gone now; the item objects with them.
    if (Menu)
      Menu->DispatchCommand(Command);
    else
      MenuItem->Click();
    if (FDCtrl) SkinMenuNotify(FDCtrl, WM_SKINMENU_COMMAND);
  } else if (!Execute) {
    if (Kb) return;
    StopWaiting();
    CloseDeeperThan(Sender);
    WItem = Item;
    FWaitTimer->SetEnabled(true);
  } else {
    TMenuItem* MenuItem = Item->MenuItem;
    if (TMenu* Menu = MenuItem->GetParentMenu()) Menu->DispatchCommand(MenuItem->Command());
    // The item's OnClick may have closed its level (and freed the item): open the submenu
    // only while that level is still open.
    const Integer I = GetPopupIndex(Sender);
    if (I >= LevelCount()) return;
    bool Present = false;
    for (const auto& It : Sender->ItemList) Present = Present || It.get() == Item;
    if (!Present || Item->MenuItem->Count() == 0) return;
    StopWaiting();
    Item->Down = true;
    TRect R = Item->ObjectRect;
    OffsetRect(&R, Sender->Left(), Sender->Top());
    PopupSub(R, Item->MenuItem, 0, true, false);
  }
}

void TspSkinMenu::WaitTimerProc(TObject*) {
  TspSkinMenuItem* Item = WItem;
  FWaitTimer->SetEnabled(false);
  if (Item) CheckItem(Item->Parent, Item, true, false);
}

void TspSkinMenu::CloseMenu(Integer EndIndex) {
  EndIndex = std::max<Integer>(EndIndex, 0);
  while (LevelCount() > EndIndex) {
    TOwned<TspSkinPopupWindow> W = std::move(FPopupList.back());
    FPopupList.pop_back();
    // The item waiting for its submenu goes with its level.
    if (WItem && WItem->Parent == W.get()) StopWaiting();
    W.reset();
  }
  if (EndIndex != 0) return;
  StopWaiting();
  FVisible = false;
  SetDCtrl(FPopupCtrl);
  if (TControl* C = FPopupCtrl) {
    SetPopupCtrl(nullptr);
    SkinMenuNotify(C, WM_SKINMENU_CLOSED);
  }
  TNotifyEvent Handler = std::move(OnMenuClose);
  OnMenuClose = nullptr;
  if (Handler) Handler(this);
}

void TspSkinMenu::Hide() {
  CloseMenu(0);
  StopWaiting();
  if (FForm) SendMessage(FForm->Handle(), WM_SKINMENU_CLOSED, 0, 0);
}

Boolean TspSkinMenu::IsMenuCloseMessage(UINT Msg) {
  static constexpr UINT Closing[] = {WM_MOVE,           WM_SIZE,          WM_ACTIVATE,      WM_KILLFOCUS,
                                     WM_CANCELMODE,     WM_MOUSEACTIVATE, WM_NCLBUTTONDOWN, WM_NCRBUTTONDOWN,
                                     WM_NCMBUTTONDOWN,  WM_LBUTTONDOWN,   WM_RBUTTONDOWN,   WM_MBUTTONDOWN,
                                     WM_PARENTNOTIFY};
  return std::find(std::begin(Closing), std::end(Closing), Msg) != std::end(Closing);
}
