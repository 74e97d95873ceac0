// Short cuts, hot keys, menu items and menus (the popup's tracking loop is in
// Menus_Popup.cpp).
#include "platform/ui/Menus.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "platform/rtl/Format.h"
#include "platform/rtl/Utf8.h"
#include "platform/ui/ImgList.h"
#include "platform/win/Keyboard.h"

// --- Short cuts ------------------------------------------------------------------------------

namespace {

struct KeyName {
  Word Key;
  const char* Name;
};

constexpr KeyName KeyNames[] = {
    {VK_BACK, "BkSp"},   {VK_TAB, "Tab"},     {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"},  {VK_NEXT, "PgDn"},    {VK_END, "End"},
    {VK_HOME, "Home"},   {VK_LEFT, "Left"},   {VK_UP, "Up"},        {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},   {VK_INSERT, "Ins"},  {VK_DELETE, "Del"},
};

String KeyToText(Word Key) {
  if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z')) return String(1, static_cast<char>(Key));
  if (Key >= VK_F1 && Key <= VK_F12) return "F" + std::to_string(Key - VK_F1 + 1);
  if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9) return "Num " + std::to_string(Key - VK_NUMPAD0);
  for (const KeyName& K : KeyNames)
    if (K.Key == Key) return K.Name;
  return {};
}

String Upper(String S) {
  for (char& C : S) C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
  return S;
}

// Command ids of the live items; 0 is never handed out. GUI thread only.
std::set<Word>& UsedCommands() {
  static std::set<Word> Used;
  return Used;
}

Word UniqueCommand() {
  static Word Next = 0;
  for (int Tries = 0; Tries < 0x10000; ++Tries) {
    Next = static_cast<Word>(Next + 1);
    if (Next != 0 && UsedCommands().insert(Next).second) return Next;
  }
  throw EMenuError("Too many menu items");
}

}  // namespace

TShortCut ShortCut(Word Key, TShiftState Shift) {
  if ((Key & 0xFF00) != 0) return scNone;
  TShortCut Result = Key;
  if (Shift.Contains(ssShift)) Result |= scShift;
  if (Shift.Contains(ssCtrl)) Result |= scCtrl;
  if (Shift.Contains(ssAlt)) Result |= scAlt;
  return Result;
}

void ShortCutToKey(TShortCut Value, Word& Key, TShiftState& Shift) {
  Key = Value & 0xFF;
  Shift = {};
  if (Value & scShift) Shift.Include(ssShift);
  if (Value & scCtrl) Shift.Include(ssCtrl);
  if (Value & scAlt) Shift.Include(ssAlt);
}

String ShortCutToText(TShortCut Value) {
  const String Name = KeyToText(Value & 0xFF);
  if (Name.empty()) return {};
  String Result;
  if (Value & scShift) Result += "Shift+";
  if (Value & scCtrl) Result += "Ctrl+";
  if (Value & scAlt) Result += "Alt+";
  return Result + Name;
}

TShortCut TextToShortCut(const String& Text) {
  String Rest = Text;
  TShortCut Mods = 0;
  for (;;) {
    const String U = Upper(Rest);
    if (U.rfind("SHIFT+", 0) == 0) {
      Mods |= scShift;
      Rest = Rest.substr(6);
    } else if (U.rfind("CTRL+", 0) == 0) {
      Mods |= scCtrl;
      Rest = Rest.substr(5);
    } else if (U.rfind("ALT+", 0) == 0) {
      Mods |= scAlt;
      Rest = Rest.substr(4);
    } else {
      break;
    }
  }
  if (Rest.empty()) return scNone;
  const String Key = Upper(Rest);
  for (Word K = 8; K <= 255; ++K) {
    const String Name = KeyToText(K);
    if (!Name.empty() && Upper(Name) == Key) return static_cast<TShortCut>(K | Mods);
  }
  return scNone;
}

TShortCut ShortCutFromMessage(TWMKey& Message) {
  TShortCut Result = static_cast<Byte>(Message.CharCode());
  if (GetKeyState(VK_SHIFT) < 0) Result |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) Result |= scCtrl;
  // Bit 29 of the key data: Alt held.
  if (Message.KeyData() & 0x20000000) Result |= scAlt;
  return Result;
}

String StripHotkey(const String& Text) {
  String Result;
  for (size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] == '&') {
      if (I + 1 < Text.size() && Text[I + 1] == '&') {
        Result += '&';
        ++I;
      }
      continue;
    }
    Result += Text[I];
  }
  return Result;
}

char32_t GetHotkey(const String& Text) {
  for (size_t I = 0; I + 1 < Text.size(); ++I) {
    if (Text[I] != '&') continue;
    if (Text[I + 1] == '&') {
      ++I;
      continue;
    }
    const unsigned char C = static_cast<unsigned char>(Text[I + 1]);
    return C < 0x80 ? static_cast<char32_t>(std::toupper(C)) : 0;
  }
  return 0;
}

// --- TMenuActionLink ---------------------------------------------------------------------------

TMenuActionLink::TMenuActionLink(TMenuItem* AClient) : TActionLink(AClient), FItem(AClient) {}

void TMenuActionLink::SetCaption(const String& Value) { FItem->SetCaption(Value); }
void TMenuActionLink::SetChecked(Boolean Value) { FItem->SetChecked(Value); }
void TMenuActionLink::SetEnabled(Boolean Value) { FItem->SetEnabled(Value); }
void TMenuActionLink::SetHint(const String& Value) { FItem->SetHint(Value); }
void TMenuActionLink::SetImageIndex(Integer Value) { FItem->SetImageIndex(Value); }
void TMenuActionLink::SetShortCut(TShortCut Value) { FItem->SetShortCut(Value); }
void TMenuActionLink::SetVisible(Boolean Value) { FItem->SetVisible(Value); }

// --- TMenuItem -------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(UniqueCommand()) {}

TMenuItem::~TMenuItem() {
  if (FParent) {
    auto& Siblings = FParent->FItems;
    Siblings.erase(std::remove(Siblings.begin(), Siblings.end(), this), Siblings.end());
  }
  for (TMenuItem* Child : FItems) Child->FParent = nullptr;
  UsedCommands().erase(FCommand);
}

void TMenuItem::BeforeDestruction() {
  if (FParent) FParent->Remove(this);
  while (!FItems.empty()) {
    TMenuItem* Child = FItems.back();
    FItems.pop_back();
    Child->FParent = nullptr;
    Child->Free();
  }
  FActionLink.reset();
  TComponent::BeforeDestruction();
}

void TMenuItem::SetCaption(const String& Value) { FCaption = Value; }

void TMenuItem::TurnSiblingsOff() {
  if (!FParent) return;
  for (TMenuItem* Item : FParent->FItems)
    if (Item != this && Item->FRadioItem && Item->FGroupIndex == FGroupIndex) Item->FChecked = false;
}

void TMenuItem::SetChecked(Boolean Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  if (Value && FRadioItem) TurnSiblingsOff();
}

void TMenuItem::SetRadioItem(Boolean Value) {
  if (FRadioItem == Value) return;
  FRadioItem = Value;
  if (FChecked && FRadioItem) TurnSiblingsOff();
}

void TMenuItem::SetGroupIndex(Byte Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  if (FChecked && FRadioItem) TurnSiblingsOff();
}

void TMenuItem::SetDefault(Boolean Value) {
  if (FDefault == Value) return;
  // One default item per level.
  if (Value && FParent)
    for (TMenuItem* Item : FParent->FItems) Item->FDefault = false;
  FDefault = Value;
}

void TMenuItem::SetEnabled(Boolean Value) { FEnabled = Value; }
void TMenuItem::SetVisible(Boolean Value) { FVisible = Value; }
void TMenuItem::SetShortCut(TShortCut Value) { FShortCut = Value; }
void TMenuItem::SetImageIndex(Integer Value) { FImageIndex = Value; }
void TMenuItem::SetHint(const String& Value) { FHint = Value; }

TBitmap* TMenuItem::Bitmap() {
  if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
  return FBitmap.get();
}

void TMenuItem::SetBitmap(TBitmap* Value) {
  if (!Value) {
    FBitmap.reset();
    return;
  }
  Bitmap()->Assign(Value);
}

Boolean TMenuItem::IsLineReduced() const {
  switch (FAutoLineReduction) {
    case maAutomatic: return true;
    case maManual: return false;
    case maParent: break;
  }
  if (FParent) return FParent->IsLineReduced();
  if (FMenu) return FMenu->AutoLineReduction() == maAutomatic;
  return true;
}

TBasicAction* TMenuItem::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TMenuItem::SetAction(TBasicAction* Value) {
  if (!Value) {
    if (FActionLink) {
      if (FActionLink->Action()) FActionLink->Action()->RemoveFreeNotification(this);
      FActionLink.reset();
    }
    return;
  }
  if (!FActionLink) {
    FActionLink = std::make_unique<TMenuActionLink>(this);
    FActionLink->OnChange = [this](TObject* Sender) { ActionChange(Sender); };
  }
  if (FActionLink->Action()) FActionLink->Action()->RemoveFreeNotification(this);
  FActionLink->SetAction(Value);
  Value->FreeNotification(this);
}

// The item takes the action's properties when it is linked.
void TMenuItem::ActionChange(TObject* Sender) {
  auto* A = dynamic_cast<TCustomAction*>(Sender);
  if (!A || !FActionLink || FActionLink->Action() != A) return;
  SetCaption(A->Caption());
  SetChecked(A->Checked());
  SetEnabled(A->Enabled());
  SetHint(A->Hint());
  SetImageIndex(A->ImageIndex());
  SetShortCut(A->ShortCut());
  SetVisible(A->Visible());
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && FActionLink && AComponent == FActionLink->Action()) FActionLink.reset();
}

TMenuItem* TMenuItem::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EMenuError("Menu index out of range");
  return FItems[static_cast<size_t>(Index)];
}

Integer TMenuItem::IndexOf(const TMenuItem* Item) const {
  const auto It = std::find(FItems.begin(), FItems.end(), Item);
  return It == FItems.end() ? -1 : static_cast<Integer>(It - FItems.begin());
}

void TMenuItem::Insert(Integer Index, TMenuItem* Item) {
  if (!Item) return;
  if (Item->FParent) throw EMenuError("Menu inserted twice");
  for (TMenuItem* P = this; P; P = P->FParent)
    if (P == Item) throw EMenuError("Sub-menu is not in menu");
  if (Index < 0 || Index > Count()) Index = Count();
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  if (Item->FChecked && Item->FRadioItem) Item->TurnSiblingsOff();
}

void TMenuItem::Delete(Integer Index) {
  TMenuItem* Item = Items(Index);
  Remove(Item);
  Item->Free();
}

void TMenuItem::Clear() {
  while (Count() > 0) Delete(Count() - 1);
}

void TMenuItem::Remove(TMenuItem* Item) {
  const Integer I = IndexOf(Item);
  if (I < 0) throw EMenuError("Sub-menu is not in menu");
  FItems.erase(FItems.begin() + I);
  Item->FParent = nullptr;
}

TMenuItem* TMenuItem::Find(const String& ACaption) const {
  const String Wanted = Upper(StripHotkey(ACaption));
  for (TMenuItem* Item : FItems)
    if (Upper(StripHotkey(Item->FCaption)) == Wanted) return Item;
  return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* Root = this;
  while (Root->FParent) Root = Root->FParent;
  return Root->FMenu;
}

Boolean TMenuItem::RethinkLines() {
  const bool Reduce = IsLineReduced();
  bool Changed = false;
  auto SetLine = [&](TMenuItem* Item, bool Show) {
    if (Item->FVisible != Show) {
      Item->FVisible = Show;
      Changed = true;
    }
  };
  // Lines hidden by an earlier pass are lines again: decide from the real items only.
  TMenuItem* PendingLine = nullptr;
  bool SeenItem = false;
  for (TMenuItem* Item : FItems) {
    if (Item->IsLine()) {
      if (!Reduce) {
        SetLine(Item, true);
        continue;
      }
      if (!SeenItem || PendingLine) {
        SetLine(Item, false);  // leading, or repeating the line before it
      } else {
        PendingLine = Item;
      }
      continue;
    }
    if (!Item->FVisible) continue;
    if (PendingLine) SetLine(PendingLine, true);
    PendingLine = nullptr;
    SeenItem = true;
  }
  if (PendingLine) SetLine(PendingLine, false);  // trailing
  return Changed;
}

void TMenuItem::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  // An OnClick of the item's own wins over the action's OnExecute.
  if (OnClick) {
    OnClick(this);
    return;
  }
  if (FActionLink && FActionLink->Action()) FActionLink->Execute(this);
}

// --- TMenu -----------------------------------------------------------------------------------

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(::Create<TMenuItem>(nullptr)) {
  FItems->FMenu = this;
}

TMenu::~TMenu() {
  if (FItems) FItems->FMenu = nullptr;
}

void TMenu::BeforeDestruction() {
  if (FItems) FItems->FMenu = nullptr;
  FItems.reset();  // frees the whole tree of items
  SetImages(nullptr);
  TComponent::BeforeDestruction();
}

void TMenu::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

namespace {

TMenuItem* FindIn(TMenuItem* Parent, uintptr_t Value, TFindItemKind Kind) {
  for (Integer I = 0; I < Parent->Count(); ++I) {
    TMenuItem* Item = Parent->Items(I);
    if (Kind == fkCommand && Item->Command() == Value) return Item;
    if (Kind == fkShortCut && Item->Visible() && Item->ShortCut() != scNone && Item->ShortCut() == Value)
      return Item;
    if (Kind == fkShortCut && !Item->Visible()) continue;
    if (TMenuItem* Found = FindIn(Item, Value, Kind)) return Found;
  }
  return nullptr;
}

}  // namespace

TMenuItem* TMenu::FindItem(uintptr_t Value, TFindItemKind Kind) const {
  if (!FItems || Kind == fkHandle) return nullptr;
  return FindIn(FItems.get(), Value, Kind);
}

Boolean TMenu::IsShortCut(TWMKey& Message) {
  const TShortCut Key = ShortCutFromMessage(Message);
  if ((Key & 0xFF) == 0) return false;
  TMenuItem* Item = FindItem(Key, fkShortCut);
  if (!Item) return false;
  // The action may enable or disable the item before it is clicked.
  Item->InitiateAction();
  if (Item->Enabled()) Item->Click();
  return true;
}

Boolean TMenu::DispatchCommand(Word ACommand) {
  TMenuItem* Item = FindItem(ACommand, fkCommand);
  if (!Item) return false;
  Item->Click();
  return true;
}
