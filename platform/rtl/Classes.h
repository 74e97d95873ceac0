// The component model's base: TObject (class name, two-phase construction and
// destruction), TPersistent (Assign), TComponent (ownership, names, free-notification)
// and TList, the class library's list of untyped pointers.
#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Types.h"

class TObject;
class TComponent;

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TThreadMethod = std::function<void()>;

// VANTREL_CLASS(Name), placed first in the body of a class derived from TObject,
// declares `ClassName()` returning "Name", a static `StaticClassName()`, and a static
// `Create(args...)` that builds the object with ::Create<Name> (new, then
// AfterConstruction); `Create` only compiles for argument lists the class's
// constructors take, so `TFoo::Create(Owner)` works wherever TFoo(TComponent*) does.
// The macro leaves the access at public. Inside such a class the member Create hides
// the free one: write ::Create<TOther>(...) there.
#define VANTREL_CLASS(Name)                                        \
 public:                                                           \
  static constexpr const char* StaticClassName() { return #Name; } \
  const char* ClassName() const override { return #Name; }         \
  template <class... VantrelArgs>                                  \
  static Name* Create(VantrelArgs&&... Args) {                     \
    return ::Create<Name>(std::forward<VantrelArgs>(Args)...);     \
  }

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static constexpr const char* StaticClassName() { return "TObject"; }
  virtual const char* ClassName() const { return "TObject"; }
  // Compares with the class's own name, ignoring ASCII case.
  bool ClassNameIs(const String& Name) const;

  // Runs once the object is whole (see Create); where a constructor's step needs
  // the overrides of derived classes.
  virtual void AfterConstruction() {}
  // Runs while the object is still whole, before it is deleted (see Free).
  virtual void BeforeDestruction() {}
  // Two-phase destruction: BeforeDestruction(), then delete. The object must have
  // been made with new (Create).
  void Free();
};

// Frees Obj when it is not nil.
void FreeObject(TObject* Obj);
template <class T>
void FreeAndNil(T*& Obj) {
  T* Temp = Obj;
  Obj = nullptr;
  FreeObject(Temp);
}

// Deleter for std::unique_ptr that destroys in two phases (Free).
struct TObjectDeleter {
  void operator()(TObject* Obj) const { FreeObject(Obj); }
};
template <class T>
using TOwned = std::unique_ptr<T, TObjectDeleter>;

// new T(Args...) followed by AfterConstruction(). The result belongs to its owner when
// it has one (a TComponent given an owner), else to the caller (wrap it in TOwned).
// When AfterConstruction throws, the object is freed and the exception passes on.
template <class T, class... A>
T* Create(A&&... Args) {
  TOwned<T> Obj(new T(std::forward<A>(Args)...));
  Obj->AfterConstruction();
  return Obj.release();
}
template <class T, class... A>
TOwned<T> CreateOwned(A&&... Args) {
  return TOwned<T>(Create<T>(std::forward<A>(Args)...));
}

class TPersistent : public TObject {
  VANTREL_CLASS(TPersistent)

  // Copies Source into this object. The default asks Source->AssignTo(this); when
  // neither side knows the other, raises EConvertError "Cannot assign a <Source's
  // class> to a <this class>" ("nil" when Source is nil).
  virtual void Assign(TPersistent* Source);

 protected:
  virtual void AssignTo(TPersistent* Dest);
  [[noreturn]] void AssignError(TPersistent* Source);
};

enum TComponentStateItem {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

// Horizontal text alignment, shared by the class library's controls and the skin.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A component owns the components it is given as their owner and frees them when it
// goes. Every component of an owner hears (Notification) about components inserted
// into or removed from that owner; FreeNotification asks to hear when a component
// outside that family is freed.
class TComponent : public TPersistent {
  VANTREL_CLASS(TComponent)

  explicit TComponent(TComponent* AOwner);
  // Cleans up too when the object is deleted without Free (owned components, owner,
  // free-notifications), but only Free lets overrides see the whole object.
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  Integer ComponentCount() const { return static_cast<Integer>(FComponents.size()); }
  // Raises EListError "List index out of bounds (%d)" when Index is out of range.
  TComponent* Components(Integer Index) const;
  // Position in the owner's list, -1 without owner.
  Integer ComponentIndex() const;
  // The owned component of that name (ASCII case ignored), nil when none.
  TComponent* FindComponent(const String& AName) const;

  const String& Name() const { return FName; }
  // A name is empty or an identifier, unique among the owner's components; else
  // EComponentError "'%s' is not a valid component name" / "A component named %s
  // already exists".
  virtual void SetName(const String& NewName);
  intptr_t Tag() const { return FTag; }
  void SetTag(intptr_t Value) { FTag = Value; }
  TComponentState ComponentState() const { return FComponentState; }

  // Takes AComponent over (from its previous owner, if any) and notifies opInsert.
  void InsertComponent(TComponent* AComponent);
  // Notifies opRemove and gives AComponent up without freeing it.
  void RemoveComponent(TComponent* AComponent);
  // Frees every owned component, last first.
  void DestroyComponents();
  // Marks this component and everything it owns as csDestroying.
  void Destroying();

  // AComponent will hear Notification(this, opRemove) when this component is freed,
  // and the other way round.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  void BeforeDestruction() override;

  // Public (unlike the class library) because C++ grants protected access only
  // through the caller's own class, and other families of components call them.
  // Default: forgets AComponent's free-notification on opRemove and passes the
  // message on to every owned component.
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  // Called once the component's properties are set; clears csLoading.
  virtual void Loaded();

 protected:
  virtual void ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName);
  void Updating() { FComponentState.Include(csUpdating); }
  void Updated() { FComponentState.Exclude(csUpdating); }

 private:
  void Teardown();
  void RemoveNotification(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;    // owned, in insertion order
  std::vector<TComponent*> FFreeNotifies;  // mutual free-notification partners
  String FName;
  intptr_t FTag = 0;
  TComponentState FComponentState;
};

// A class reference: the class's name and a factory that creates an instance of it
// with an owner.
struct TComponentClass {
  const char* ClassName = nullptr;
  TComponent* (*Create)(TComponent* AOwner) = nullptr;
  explicit operator bool() const { return Create != nullptr; }
};
template <class T>
TComponentClass ComponentClassOf() {
  return {T::StaticClassName(),
          [](TComponent* AOwner) -> TComponent* { return ::Create<T>(AOwner); }};
}

// Compare function of TList::Sort: <0, 0, >0 as Item1 sorts before, with, after Item2.
using TListSortCompare = std::function<Integer(void* Item1, void* Item2)>;

// A list of untyped pointers. An index out of range raises EListError
// "List index out of bounds (%d)".
class TList : public TObject {
  VANTREL_CLASS(TList)

  TList() = default;

  Integer Add(void* Item);
  void Insert(Integer Index, void* Item);
  void Delete(Integer Index);
  // Index the first Item had, -1 when absent.
  Integer Remove(void* Item);
  // Removes the first Item and returns it; nil when absent.
  void* Extract(void* Item);
  Integer IndexOf(void* Item) const;
  void Clear();

  Integer Count() const { return static_cast<Integer>(FList.size()); }
  // Grows with nil items or cuts the list.
  void SetCount(Integer NewCount);
  Integer Capacity() const { return static_cast<Integer>(FList.capacity()); }
  void SetCapacity(Integer NewCapacity);

  void* Items(Integer Index) const;
  void Put(Integer Index, void* Item);
  void* operator[](Integer Index) const { return Items(Index); }
  void*& operator[](Integer Index);
  void* First() const;
  void* Last() const;

  void Exchange(Integer Index1, Integer Index2);
  void Move(Integer CurIndex, Integer NewIndex);
  // Sorts stably by Compare.
  void Sort(const TListSortCompare& Compare);
  // Removes the nil items.
  void Pack();

  auto begin() const { return FList.begin(); }
  auto end() const { return FList.end(); }

 private:
  void CheckIndex(Integer Index) const;
  std::vector<void*> FList;
};
