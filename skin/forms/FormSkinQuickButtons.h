// The quick buttons: small image buttons the application adds to a skinned caption.
#pragma once

#include "platform/ui/Collection.h"

class TspFormSkin;

class TspQuickButtonItem : public TCollectionItem {
  VANTREL_CLASS(TspQuickButtonItem)
  explicit TspQuickButtonItem(TCollection* Collection) : TCollectionItem(Collection) {}

  Integer ImageIndex() const { return FImageIndex; }
  virtual void SetImageIndex(Integer Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  Boolean Enabled() const { return FEnabled; }
  virtual void SetEnabled(Boolean Value);
  Boolean Visible() const { return FVisible; }
  virtual void SetVisible(Boolean Value);
  TNotifyEvent OnClick;

  // From another quick button: image, hint, enabled and visible (not the handler).
  void Assign(TPersistent* Source) override;

  // Where the button was last drawn, the pointer over it, pressed.
  TRect ItemRect{};
  Boolean Active = false;
  Boolean Down = false;

 private:
  Integer FImageIndex = -1;
  String FHint;
  Boolean FEnabled = true;
  Boolean FVisible = true;
};

// The collection a frame component owns; a change repaints the frame.
class TspQuickButtonItems : public TOwnedCollection {
  VANTREL_CLASS(TspQuickButtonItems)
  explicit TspQuickButtonItems(TspFormSkin* AForm);

  TspQuickButtonItem* Items(Integer Index) const { return static_cast<TspQuickButtonItem*>(TCollection::Items(Index)); }
  TspQuickButtonItem* Add() { return static_cast<TspQuickButtonItem*>(TCollection::Add()); }
  TspQuickButtonItem* Insert(Integer Index) { return static_cast<TspQuickButtonItem*>(TCollection::Insert(Index)); }

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TspFormSkin* FForm;
};
