// Actions: a command with its caption, check mark, enabled state, image and handlers,
// shared by the menu items and controls linked to it. OnUpdate runs when a popup opens
// and when the application goes idle; OnExecute when a linked client is clicked.
#pragma once

#include <functional>
#include <vector>

#include "platform/rtl/Classes.h"

class TControl;
class TCustomImageList;
class TCustomActionList;
class TBasicActionLink;

using TShortCut = Word;

class TBasicAction : public TComponent {
  VANTREL_CLASS(TBasicAction)
  explicit TBasicAction(TComponent* AOwner);
  ~TBasicAction() override;
  // Unlinks every client while the action is whole.
  void BeforeDestruction() override;

  // OnExecute; true when something handled it.
  virtual Boolean Execute();
  // Refreshes the action's state (OnUpdate); true when something handled it.
  virtual Boolean Update();
  // The component whose click executes the action now (set by the link).
  TComponent* ActionComponent() const { return FActionComponent; }
  void SetActionComponent(TComponent* Value) { FActionComponent = Value; }

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

  void RegisterChanges(TBasicActionLink* Value);
  void UnRegisterChanges(TBasicActionLink* Value);
  void Notification(TComponent* AComponent, TOperation Operation) override;

 protected:
  // Tells every client that something changed.
  virtual void Change();
  std::vector<TBasicActionLink*> FClients;

 private:
  TComponent* FActionComponent = nullptr;
};

// An action that belongs to an action list.
class TContainedAction : public TBasicAction {
  VANTREL_CLASS(TContainedAction)
  explicit TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}
  void BeforeDestruction() override;

  TCustomActionList* ActionList() const { return FActionList; }
  void SetActionList(TCustomActionList* Value);
  Integer Index() const;
  const String& Category() const { return FCategory; }
  void SetCategory(const String& Value) { FCategory = Value; }

  // The list's OnExecute first; the action's own OnExecute when the list left it.
  Boolean Execute() override;
  // The list's OnUpdate first; the action's own OnUpdate when the list left it.
  Boolean Update() override;

 private:
  friend class TCustomActionList;
  TCustomActionList* FActionList = nullptr;
  String FCategory;
};

class TCustomAction : public TContainedAction {
  VANTREL_CLASS(TCustomAction)
  explicit TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  Boolean Checked() const { return FChecked; }
  void SetChecked(Boolean Value);
  Boolean Enabled() const { return FEnabled; }
  void SetEnabled(Boolean Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  Boolean Visible() const { return FVisible; }
  void SetVisible(Boolean Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  Integer GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value);
  // The image list of the action's list (nil without one).
  TCustomImageList* Images() const;

  // Nothing runs for a disabled action.
  Boolean Execute() override;

 private:
  String FCaption;
  Boolean FChecked = false;
  Boolean FEnabled = true;
  String FHint;
  Integer FImageIndex = -1;
  Boolean FVisible = true;
  TShortCut FShortCut = 0;
  Integer FGroupIndex = 0;
};

class TAction : public TCustomAction {
  VANTREL_CLASS(TAction)
  explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

using TActionEvent = std::function<void(TBasicAction* Action, Boolean& Handled)>;

class TCustomActionList : public TComponent {
  VANTREL_CLASS(TCustomActionList)
  explicit TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {}
  ~TCustomActionList() override;
  void BeforeDestruction() override;

  Integer ActionCount() const { return static_cast<Integer>(FActions.size()); }
  // EListError "List index out of bounds (%d)" outside the list.
  TContainedAction* Actions(Integer Index) const;
  Integer IndexOfAction(const TContainedAction* Action) const;
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);

  // OnExecute / OnUpdate of the list; true when the handler said it handled the action.
  virtual Boolean ExecuteAction(TBasicAction* Action);
  virtual Boolean UpdateAction(TBasicAction* Action);
  // Runs Update on every action of the list.
  void UpdateActions();

  TActionEvent OnExecute;
  TActionEvent OnUpdate;
  TNotifyEvent OnChange;

  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TContainedAction;
  void AddAction(TContainedAction* Action);
  void RemoveAction(TContainedAction* Action);

  std::vector<TContainedAction*> FActions;
  TCustomImageList* FImages = nullptr;
};

class TActionList : public TCustomActionList {
  VANTREL_CLASS(TActionList)
  explicit TActionList(TComponent* AOwner) : TCustomActionList(AOwner) {}
};

// ---------------------------------------------------------------------------------------
// Links: what a client (menu item, control) holds to follow an action.

class TBasicActionLink : public TObject {
  VANTREL_CLASS(TBasicActionLink)
  explicit TBasicActionLink(TObject* AClient) : FClient(AClient) {}
  ~TBasicActionLink() override;

  TBasicAction* Action() const { return FAction; }
  virtual void SetAction(TBasicAction* Value);
  TObject* Client() const { return FClient; }
  // Executes the action with AComponent as its ActionComponent meanwhile.
  virtual Boolean Execute(TComponent* AComponent = nullptr);
  virtual Boolean Update();

  // The client's ActionChange: the action's state changed (or a new action was linked).
  TNotifyEvent OnChange;

 protected:
  friend class TBasicAction;
  friend class TCustomAction;
  virtual void Change();

 private:
  TObject* FClient;
  TBasicAction* FAction = nullptr;
};

// A link that hands each property change of a TCustomAction to its client.
class TActionLink : public TBasicActionLink {
  VANTREL_CLASS(TActionLink)
  explicit TActionLink(TObject* AClient) : TBasicActionLink(AClient) {}

 protected:
  friend class TCustomAction;
  virtual void SetCaption(const String&) {}
  virtual void SetChecked(Boolean) {}
  virtual void SetEnabled(Boolean) {}
  virtual void SetHint(const String&) {}
  virtual void SetImageIndex(Integer) {}
  virtual void SetShortCut(TShortCut) {}
  virtual void SetVisible(Boolean) {}
};

// Links a control to an action: caption, enabled state, hint and visibility follow the
// action; the control's click executes it through Execute(Control).
class TControlActionLink : public TActionLink {
  VANTREL_CLASS(TControlActionLink)
  explicit TControlActionLink(TControl* AClient);

  // Copies every linked property of the action to the control and raises OnChange (the
  // control's ActionChange).
  void SetAction(TBasicAction* Value) override;

 protected:
  void SetCaption(const String& Value) override;
  void SetEnabled(Boolean Value) override;
  void SetHint(const String& Value) override;
  void SetVisible(Boolean Value) override;

 private:
  TControl* FControl;
};
