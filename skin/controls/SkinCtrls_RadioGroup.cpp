// The skinned radio group: one flat radio button per line of Items, laid out in columns
// inside the group box, and the index of the checked one.
#include <algorithm>

#include "platform/ui/Forms.h"
#include "platform/win/Keyboard.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

constexpr Integer RadioGroupMaxColumns = 16;

}  // namespace

// --- The group's buttons ----------------------------------------------------------------

TspGroupButton::TspGroupButton(TspSkinCustomRadioGroup* RadioGroup)
    : TspSkinCheckRadioBox(RadioGroup), FGroup(RadioGroup) {
  SetFlat(true);
  SetDefaultWidth(0);
  SetDefaultHeight(0);
  RadioGroup->FButtons.push_back(this);
  SetVisible(false);
  SetEnabled(RadioGroup->Enabled());
  SetParentShowHint(false);
  OnClick = [RadioGroup](TObject* Sender) { RadioGroup->ButtonClick(Sender); };
  SetParent(RadioGroup);
  SetRadio(true);
  SetCanFocused(true);
  SetSkinDataName("radiobox");
  SetGroupIndex(1);
}

void TspGroupButton::BeforeDestruction() {
  if (FGroup) {
    auto& List = FGroup->FButtons;
    List.erase(std::remove(List.begin(), List.end(), this), List.end());
  }
  TspSkinCheckRadioBox::BeforeDestruction();
}

void TspGroupButton::KeyPress(char32_t& Key) {
  TspSkinCheckRadioBox::KeyPress(Key);
  FGroup->KeyPress(Key);
  if ((Key == static_cast<char32_t>(VK_BACK) || Key == U' ') && !FGroup->CanModify()) Key = 0;
}

void TspGroupButton::KeyDown(Word& Key, TShiftState Shift) {
  TspSkinCheckRadioBox::KeyDown(Key, Shift);
  FGroup->KeyDown(Key, Shift);
}

void TspGroupButton::Dispatch(TMessage& Message) {
  if (Message.Msg != CN_COMMAND) {
    TspSkinCheckRadioBox::Dispatch(Message);
    return;
  }
  if (FInClick) return;
  FInClick = true;
  const WORD Code = HIWORD(Message.WParam);
  if (Code != 0 && Code != 5) {
    TspSkinCheckRadioBox::Dispatch(Message);
  } else if (FGroup->CanModify()) {
    try {
      TspSkinCheckRadioBox::Dispatch(Message);
    } catch (...) {
      Application->HandleException(this);
    }
  }
  FInClick = false;
}

// --- The group --------------------------------------------------------------------------

TspSkinCustomRadioGroup::TspSkinCustomRadioGroup(TComponent* AOwner)
    : TspSkinGroupBox(AOwner), FItems(std::make_unique<TStringList>()), FButtonDefaultFont(std::make_unique<TFont>()) {
  ControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
  FItems->OnChange = [this](TObject*) { ItemsChange(); };
  FButtonDefaultFont->SetName("Arial");
  FButtonDefaultFont->SetHeight(14);
}

void TspSkinCustomRadioGroup::BeforeDestruction() {
  SetButtonCount(0);
  FItems->OnChange = nullptr;
  TspSkinGroupBox::BeforeDestruction();
}

TStrings* TspSkinCustomRadioGroup::Items() const { return FItems.get(); }

void TspSkinCustomRadioGroup::SetItems(TStrings* Value) { FItems->Assign(Value); }

void TspSkinCustomRadioGroup::SetColumns(Integer Value) {
  Value = std::clamp(Value, 1, RadioGroupMaxColumns);
  if (FColumns == Value) return;
  FColumns = Value;
  ArrangeButtons();
  Invalidate();
}

void TspSkinCustomRadioGroup::SetButtonSkinDataName(const String& Value) {
  FButtonSkinDataName = Value;
  for (TspGroupButton* B : FButtons) B->SetSkinDataName(Value);
}

void TspSkinCustomRadioGroup::SetButtonDefaultFont(TFont* Value) {
  FButtonDefaultFont->Assign(Value);
  for (TspGroupButton* B : FButtons) B->SetDefaultFont(FButtonDefaultFont.get());
}

void TspSkinCustomRadioGroup::SetImages(TCustomImageList* Value) {
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  for (TspGroupButton* B : FButtons) B->SetImages(Value);
}

void TspSkinCustomRadioGroup::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinGroupBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

Boolean TspSkinCustomRadioGroup::CanModify() { return true; }

void TspSkinCustomRadioGroup::SetItemIndex(Integer Value) {
  if (FReading) {
    FItemIndex = Value;
    return;
  }
  const Integer Count = static_cast<Integer>(FButtons.size());
  if (Value < -1) Value = -1;
  if (Value >= Count) Value = Count - 1;
  if (Value == FItemIndex) return;
  if (FItemIndex >= 0) FButtons[static_cast<size_t>(FItemIndex)]->SetChecked(false);
  FItemIndex = Value;
  if (FItemIndex >= 0) FButtons[static_cast<size_t>(FItemIndex)]->SetChecked(true);
}

void TspSkinCustomRadioGroup::ButtonClick(TObject* Sender) {
  if (FUpdating) return;
  auto It = std::find(FButtons.begin(), FButtons.end(), Sender);
  FItemIndex = It == FButtons.end() ? -1 : static_cast<Integer>(It - FButtons.begin());
  Changed();
  Click();
}

void TspSkinCustomRadioGroup::SetButtonCount(Integer Value) {
  while (static_cast<Integer>(FButtons.size()) < Value) ::Create<TspGroupButton>(this);
  while (static_cast<Integer>(FButtons.size()) > Value) {
    TspGroupButton* Last = FButtons.back();
    Last->Free();  // leaves the list on its way out
  }
  for (size_t I = 0; I < FButtons.size(); ++I) {
    TspGroupButton* B = FButtons[I];
    B->SetImageIndex(static_cast<Integer>(I));
    B->SetSkinData(FSD);
    B->SetSkinDataName(FButtonSkinDataName);
    B->SetDefaultFont(FButtonDefaultFont.get());
    B->SetUseSkinFont(FUseSkinFont);
  }
}

void TspSkinCustomRadioGroup::UpdateButtons() {
  SetButtonCount(FItems->Count());
  for (size_t I = 0; I < FButtons.size(); ++I) FButtons[I]->SetCaption(FItems->Strings(static_cast<Integer>(I)));
  if (FItemIndex >= 0 && FItemIndex < static_cast<Integer>(FButtons.size())) {
    FUpdating = true;
    try {
      FButtons[static_cast<size_t>(FItemIndex)]->SetChecked(true);
    } catch (...) {
      FUpdating = false;
      throw;
    }
    FUpdating = false;
  }
  ArrangeButtons();
  Invalidate();
}

void TspSkinCustomRadioGroup::UpdateButtonsFont() {
  for (TspGroupButton* B : FButtons) {
    B->SetDefaultFont(FButtonDefaultFont.get());
    B->SetUseSkinFont(FUseSkinFont);
    B->Invalidate();
  }
}

void TspSkinCustomRadioGroup::ItemsChange() {
  if (!FReading && FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
  UpdateButtons();
}

void TspSkinCustomRadioGroup::ArrangeButtons() {
  if (FButtons.empty() || FReading) return;
  TRect R = Rect(0, 0, Width(), Height());
  AdjustClientRect(R);
  const Integer Count = static_cast<Integer>(FButtons.size());
  const Integer PerColumn = (Count + FColumns - 1) / FColumns;
  const Integer W = RectWidth(R) / FColumns - 2;
  const Integer H = RectHeight(R) / PerColumn;
  // With windows the moves go in one batch; before the group has one, straight to the
  // buttons (their windows come later at these bounds).
  HDWP Batch = HandleAllocated() ? BeginDeferWindowPos(Count) : nullptr;
  for (Integer I = 0; I < Count; ++I) {
    TspGroupButton* B = FButtons[static_cast<size_t>(I)];
    const Integer L = (I / PerColumn) * W + R.Left + 1;
    const Integer T = (I % PerColumn) * H + R.Top;
    if (Batch)
      Batch = DeferWindowPos(Batch, B->Handle(), nullptr, L, T, W, H, SWP_NOZORDER | SWP_NOACTIVATE);
    else
      B->SetBounds(L, T, W, H);
    B->SetVisible(true);
  }
  if (Batch) EndDeferWindowPos(Batch);
}

void TspSkinCustomRadioGroup::SetSkinData(TspSkinData* Value) {
  TspSkinGroupBox::SetSkinData(Value);
  for (TspGroupButton* B : FButtons) B->SetSkinData(Value);
}

void TspSkinCustomRadioGroup::ChangeSkinData() {
  TspSkinGroupBox::ChangeSkinData();
  ArrangeButtons();
}

void TspSkinCustomRadioGroup::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENABLEDCHANGED:
      TspSkinGroupBox::Dispatch(Message);
      for (TspGroupButton* B : FButtons) B->SetEnabled(Enabled());
      return;
    case CM_FONTCHANGED:
    case WM_SIZE:
      TspSkinGroupBox::Dispatch(Message);
      ArrangeButtons();
      return;
    default:
      TspSkinGroupBox::Dispatch(Message);
  }
}
