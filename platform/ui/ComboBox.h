// The class library's combo box on the native "COMBOBOX" window, as a drop-down list (the
// one style made): its rows as a TStrings, the selected row, how many rows the dropped
// list shows, and events for a new choice, dropping and closing.
#pragma once

#include <memory>

#include "platform/rtl/StringList.h"
#include "platform/ui/NativeListStrings.h"
#include "platform/ui/NativeWinControl.h"

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TCustomComboBox : public TNativeWinControl {
  VANTREL_CLASS(TCustomComboBox)
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;

  TStrings* Items() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  Integer ItemIndex();
  void SetItemIndex(Integer Value);
  TComboBoxStyle Style() const { return FStyle; }
  // Only csDropDownList is made; another style raises EInvalidOperation.
  void SetStyle(TComboBoxStyle Value);
  Integer DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(Integer Value);
  Boolean DroppedDown();
  void SetDroppedDown(Boolean Value);

  // A new row chosen (by the user or through ItemIndex).
  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  virtual void Change();
  virtual void DropDown();
  virtual void CloseUp();

 private:
  std::unique_ptr<TStringList> FSaveItems;
  std::unique_ptr<TNativeListStrings> FItems;
  Integer FSaveItemIndex = -1;
  TComboBoxStyle FStyle = csDropDownList;
  Integer FDropDownCount = 8;
};

class TComboBox : public TCustomComboBox {
  VANTREL_CLASS(TComboBox)
  explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};
