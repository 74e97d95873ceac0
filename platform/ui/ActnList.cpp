// Actions, action lists and the links that keep menu items and controls in step with
// their action.
#include "platform/ui/ActnList.h"

#include <algorithm>

#include "platform/rtl/Format.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ImgList.h"

// --- TBasicAction ----------------------------------------------------------------------------

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() {
  for (TBasicActionLink* Link : std::vector<TBasicActionLink*>(FClients)) Link->FAction = nullptr;
}

void TBasicAction::BeforeDestruction() {
  // A client may free itself on hearing it; work on a copy.
  for (TBasicActionLink* Link : std::vector<TBasicActionLink*>(FClients))
    if (std::find(FClients.begin(), FClients.end(), Link) != FClients.end()) Link->SetAction(nullptr);
  TComponent::BeforeDestruction();
}

Boolean TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

Boolean TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::RegisterChanges(TBasicActionLink* Value) {
  if (Value && std::find(FClients.begin(), FClients.end(), Value) == FClients.end()) FClients.push_back(Value);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Value) {
  FClients.erase(std::remove(FClients.begin(), FClients.end(), Value), FClients.end());
}

void TBasicAction::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FActionComponent) FActionComponent = nullptr;
}

void TBasicAction::Change() {
  for (TBasicActionLink* Link : std::vector<TBasicActionLink*>(FClients)) Link->Change();
}

// --- TContainedAction ------------------------------------------------------------------------

void TContainedAction::BeforeDestruction() {
  SetActionList(nullptr);
  TBasicAction::BeforeDestruction();
}

void TContainedAction::SetActionList(TCustomActionList* Value) {
  if (FActionList == Value) return;
  if (FActionList) FActionList->RemoveAction(this);
  if (Value) Value->AddAction(this);
}

Integer TContainedAction::Index() const { return FActionList ? FActionList->IndexOfAction(this) : -1; }

Boolean TContainedAction::Execute() {
  if (FActionList && FActionList->ExecuteAction(this)) return true;
  return TBasicAction::Execute();
}

Boolean TContainedAction::Update() {
  if (FActionList && FActionList->UpdateAction(this)) return true;
  return TBasicAction::Update();
}

// --- TCustomAction ---------------------------------------------------------------------------

namespace {

// Calls Set on every client that is a TActionLink.
template <class Fn>
void ForEachLink(const std::vector<TBasicActionLink*>& Clients, Fn Set) {
  for (TBasicActionLink* Link : std::vector<TBasicActionLink*>(Clients))
    if (auto* L = dynamic_cast<TActionLink*>(Link)) Set(L);
}

}  // namespace

void TCustomAction::SetCaption(const String& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  ForEachLink(FClients, [&](TActionLink* L) { L->SetCaption(Value); });
  Change();
}

void TCustomAction::SetChecked(Boolean Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  ForEachLink(FClients, [&](TActionLink* L) { L->SetChecked(Value); });
  // Checking one action of a group unchecks the others of its list.
  if (Value && FGroupIndex > 0 && ActionList())
    for (Integer I = 0; I < ActionList()->ActionCount(); ++I)
      if (auto* Other = dynamic_cast<TCustomAction*>(ActionList()->Actions(I)))
        if (Other != this && Other->FGroupIndex == FGroupIndex) Other->SetChecked(false);
  Change();
}

void TCustomAction::SetEnabled(Boolean Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  ForEachLink(FClients, [&](TActionLink* L) { L->SetEnabled(Value); });
  Change();
}

void TCustomAction::SetHint(const String& Value) {
  if (FHint == Value) return;
  FHint = Value;
  ForEachLink(FClients, [&](TActionLink* L) { L->SetHint(Value); });
  Change();
}

void TCustomAction::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  ForEachLink(FClients, [&](TActionLink* L) { L->SetImageIndex(Value); });
  Change();
}

void TCustomAction::SetVisible(Boolean Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  ForEachLink(FClients, [&](TActionLink* L) { L->SetVisible(Value); });
  Change();
}

void TCustomAction::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  FShortCut = Value;
  ForEachLink(FClients, [&](TActionLink* L) { L->SetShortCut(Value); });
  Change();
}

void TCustomAction::SetGroupIndex(Integer Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  Change();
}

TCustomImageList* TCustomAction::Images() const { return ActionList() ? ActionList()->Images() : nullptr; }

Boolean TCustomAction::Execute() {
  // The state may be stale: bring it up to date first, as a click on a menu would.
  Update();
  if (!FEnabled) return false;
  return TContainedAction::Execute();
}

// --- TCustomActionList -----------------------------------------------------------------------

TCustomActionList::~TCustomActionList() {
  for (TContainedAction* A : FActions) A->FActionList = nullptr;
}

void TCustomActionList::BeforeDestruction() {
  while (!FActions.empty()) FActions.back()->SetActionList(nullptr);
  SetImages(nullptr);
  TComponent::BeforeDestruction();
}

TContainedAction* TCustomActionList::Actions(Integer Index) const {
  if (Index < 0 || Index >= ActionCount()) throw EListError(Format(SListIndexError, {Index}));
  return FActions[static_cast<size_t>(Index)];
}

Integer TCustomActionList::IndexOfAction(const TContainedAction* Action) const {
  const auto It = std::find(FActions.begin(), FActions.end(), Action);
  return It == FActions.end() ? -1 : static_cast<Integer>(It - FActions.begin());
}

void TCustomActionList::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  if (OnChange) OnChange(this);
}

Boolean TCustomActionList::ExecuteAction(TBasicAction* Action) {
  Boolean Handled = false;
  if (OnExecute) OnExecute(Action, Handled);
  return Handled;
}

Boolean TCustomActionList::UpdateAction(TBasicAction* Action) {
  Boolean Handled = false;
  if (OnUpdate) OnUpdate(Action, Handled);
  return Handled;
}

void TCustomActionList::UpdateActions() {
  // An OnUpdate may free actions: walk a copy and skip the ones that left.
  for (TContainedAction* A : std::vector<TContainedAction*>(FActions))
    if (IndexOfAction(A) >= 0) A->Update();
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (auto* A = dynamic_cast<TContainedAction*>(AComponent); A && A->FActionList == this) RemoveAction(A);
}

void TCustomActionList::AddAction(TContainedAction* Action) {
  FActions.push_back(Action);
  Action->FActionList = this;
  Action->FreeNotification(this);
  if (OnChange) OnChange(this);
}

void TCustomActionList::RemoveAction(TContainedAction* Action) {
  FActions.erase(std::remove(FActions.begin(), FActions.end(), Action), FActions.end());
  if (Action->FActionList == this) Action->FActionList = nullptr;
  Action->RemoveFreeNotification(this);
  if (OnChange) OnChange(this);
}

// --- Links -----------------------------------------------------------------------------------

TBasicActionLink::~TBasicActionLink() {
  if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
  if (FAction == Value) return;
  if (FAction) FAction->UnRegisterChanges(this);
  FAction = Value;
  if (FAction) FAction->RegisterChanges(this);
  Change();
}

Boolean TBasicActionLink::Execute(TComponent* AComponent) {
  if (!FAction) return false;
  TBasicAction* A = FAction;
  A->SetActionComponent(AComponent);
  // The action may be freed by its own handler (and this link with its client): nothing
  // of either is touched afterwards unless the link still holds it.
  const bool Result = A->Execute();
  if (FAction == A) A->SetActionComponent(nullptr);
  return Result;
}

Boolean TBasicActionLink::Update() { return FAction && FAction->Update(); }

void TBasicActionLink::Change() {
  if (OnChange) OnChange(FAction);
}

TControlActionLink::TControlActionLink(TControl* AClient) : TActionLink(AClient), FControl(AClient) {}

void TControlActionLink::SetAction(TBasicAction* Value) {
  TActionLink::SetAction(Value);
  if (auto* A = dynamic_cast<TCustomAction*>(Value)) {
    SetCaption(A->Caption());
    SetEnabled(A->Enabled());
    SetHint(A->Hint());
    SetVisible(A->Visible());
  }
}

void TControlActionLink::SetCaption(const String& Value) { FControl->SetCaption(Value); }
void TControlActionLink::SetEnabled(Boolean Value) { FControl->SetEnabled(Value); }
void TControlActionLink::SetHint(const String& Value) { FControl->SetHint(Value); }
void TControlActionLink::SetVisible(Boolean Value) { FControl->SetVisible(Value); }
