// Collections: a list of items of one item class that the collection creates (through the
// class's factory), owns and frees; items know their collection, index and a unique ID.
#pragma once

#include <vector>

#include "platform/rtl/Classes.h"

class TCollection;
class TCollectionItem;

// A class reference for items: the class's name and a factory that makes an item inside
// a collection.
struct TCollectionItemClass {
  const char* ClassName = nullptr;
  TCollectionItem* (*Create)(TCollection* Collection) = nullptr;
  explicit operator bool() const { return Create != nullptr; }
};
template <class T>
TCollectionItemClass CollectionItemClassOf() {
  return {T::StaticClassName(),
          [](TCollection* Collection) -> TCollectionItem* { return ::Create<T>(Collection); }};
}

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
  VANTREL_CLASS(TCollectionItem)
  // Joins Collection (when given) at the end of its list.
  explicit TCollectionItem(TCollection* Collection);
  // Leaves the collection.
  ~TCollectionItem() override;
  void BeforeDestruction() override;

  TCollection* Collection() const { return FCollection; }
  // Moves the item from its collection to another (nil: no collection).
  virtual void SetCollection(TCollection* Value);
  Integer ID() const { return FID; }
  // Position in the collection, -1 without one.
  Integer Index() const;
  // Moves the item within its collection (clamped to the list).
  virtual void SetIndex(Integer Value);
  // The class name unless a descendant names the item.
  virtual String DisplayName() const { return ClassName(); }

 protected:
  // Tells the collection that this item (or, with AllItems, every item) changed.
  void Changed(Boolean AllItems);

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  Integer FID = 0;
};

class TCollection : public TPersistent {
  VANTREL_CLASS(TCollection)
  explicit TCollection(TCollectionItemClass ItemClass);
  ~TCollection() override;

  // A collection of the same item class: the items are replaced by copies (each new
  // item's Assign from the source item).
  void Assign(TPersistent* Source) override;

  TCollectionItem* Add();
  TCollectionItem* Insert(Integer Index);
  // Frees item Index. An index out of range raises EListError.
  void Delete(Integer Index);
  void Clear();
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  // Raises EListError "List index out of bounds (%d)" out of range.
  TCollectionItem* Items(Integer Index) const;
  TCollectionItem* FindItemID(Integer ID) const;
  TCollectionItemClass ItemClass() const { return FItemClass; }
  // The component that holds the collection (nil for a free-standing one).
  virtual TPersistent* Owner() const { return nullptr; }

  // Update(nil) runs once at the outermost EndUpdate instead of after each change.
  virtual void BeginUpdate();
  virtual void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }

 protected:
  // After an item changed (nil: several or all); nothing by default.
  virtual void Update(TCollectionItem* Item);
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);
  void Changed();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);
  void MoveItem(TCollectionItem* Item, Integer NewIndex);

  TCollectionItemClass FItemClass;
  std::vector<TCollectionItem*> FItems;  // owned
  Integer FNextID = 0;
  Integer FUpdateCount = 0;
};

// A collection held by a component (or another persistent), which Owner reports.
class TOwnedCollection : public TCollection {
  VANTREL_CLASS(TOwnedCollection)
  TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass)
      : TCollection(ItemClass), FOwner(AOwner) {}
  TPersistent* Owner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
};
