#include "skin/forms/FormSkinQuickButtons.h"

#include "skin/forms/FormSkin.h"

void TspQuickButtonItem::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  Changed(false);
}

void TspQuickButtonItem::SetEnabled(Boolean Value) {
  FEnabled = Value;
  Changed(false);
}

void TspQuickButtonItem::SetVisible(Boolean Value) {
  FVisible = Value;
  Changed(false);
}

void TspQuickButtonItem::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TspQuickButtonItem*>(Source)) {
    FImageIndex = Other->FImageIndex;
    FHint = Other->FHint;
    FEnabled = Other->FEnabled;
    FVisible = Other->FVisible;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(Source);
}

TspQuickButtonItems::TspQuickButtonItems(TspFormSkin* AForm)
    : TOwnedCollection(AForm, CollectionItemClassOf<TspQuickButtonItem>()), FForm(AForm) {}

void TspQuickButtonItems::Update(TCollectionItem*) {
  const TComponentState State = FForm->ComponentState();
  if (State.Contains(csDesigning) || State.Contains(csLoading)) return;
  FForm->UpDateFormNC();
}

void TspFormSkin::SetQuickButtons(TspQuickButtonItems* Value) { FQuickButtons->Assign(Value); }
