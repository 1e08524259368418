#pragma once
// The library's list of object references and its observer.
//
// TBaseList holds TObject references in order, optionally frees them, and
// reports every change through a TSkinObjectChangeManager. The manager is the
// subject side: it counts update brackets and tells its registered
// TSkinObjectChangeLink objects about changes and about the destruction of
// the object it reports for.

#include "skin/host/Persistent.h"
#include "skin/host/Set.h"

#include <concepts>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TSkinObjectChangeManager;
class TSkinObjectChangeLink;

enum class TObjectOwnership : std::uint8_t { ooReference, ooOwned };

enum class TItemChangeType : std::uint8_t { ictAdd, ictDel, ictMove, ictSetItem };
using TItemChangeTypes = TSet<TItemChangeType>;

// Called before an item leaves the list.
using TItemDeleteEvent = std::function<void(TObject* Sender, TObject* AItem, int AIndex)>;

// Negative result: AItem1 sorts before AItem2; zero: equal; positive: after.
using TListSortCompare = std::function<int(TObject* AItem1, TObject* AItem2)>;

// The host list's error for an index outside the list.
class EListError : public Exception {
 public:
  using Exception::Exception;
};

namespace ostrel::skin {

// C++ destructors cannot report failure, yet releasing an item may do work
// that can fail. An item that implements this interface gets that work done
// in BeforeDestruction when a list frees it; the item is destroyed whether or
// not BeforeDestruction throws, and the list logs the error.
class IBeforeDestruction {
 public:
  virtual void BeforeDestruction() = 0;

 protected:
  ~IBeforeDestruction() = default;
};

}  // namespace ostrel::skin

// Items are plain references: ownership is a per-call decision (Delete with
// AIsFree) steered by ObjectOwnership at destruction, so it cannot live in the
// element type. Ownership handed over by the caller is visible through
// AddOwned.
//
// Destruction tells the links first (BeginDestroy), then clears. A subclass
// whose links must see it whole, or whose DoDelete must run for the items
// freed at destruction, calls SkinObjectChangeManager()->BeginDestroy(this)
// and Clear in its own destructor; the base then repeats neither.
class TBaseList : public TInterfacedPersistent {
  Q_OBJECT
  Q_PROPERTY(int Count READ GetCount)

 public:
  TBaseList(TObjectOwnership AObjectOwnership, bool AIsCreateObjectChangeManager);
  ~TBaseList() override;

  virtual int GetCount() const;
  int Count() const { return GetCount(); }

  // Deletes every item from the last to the first, each with its own
  // notification unless an update bracket is open.
  virtual void Clear(bool AIsFree, bool AIsNeedDelete);

  // Freeing without removing the slot leaves the slot empty (GetItem answers
  // none), so a later Clear or destruction cannot free the item again; an
  // item held in several slots is freed with the last of them.
  virtual int Delete(int Index, bool AIsFree, bool AIsNeedDelete);
  // -1 and nothing happens when AObject is not in the list.
  virtual int Remove(TObject* AObject, bool AIsFree, bool AIsNeedDelete);
  virtual int Add(TObject* AObject);
  // Appends an object the list takes over. Only an owning list may do so; on
  // a referencing list the caller keeps it and EListError is raised.
  template <class T>
    requires std::derived_from<T, TObject>
  int AddOwned(std::unique_ptr<T>&& AObject) {
    PrepareToOwnOneMore();
    return Add(AObject.release());
  }
  virtual int Insert(int AIndex, TObject* AObject);
  virtual int IndexOf(const TObject* AObject) const;
  // Runs inside its own update bracket, which it closes with
  // EndUpdate(True), also when Compare throws; the list is then left as it was.
  virtual void Sort(const TListSortCompare& Compare);

  // Starts collecting: HasItemDeleted and LastItemChangeTypes start afresh.
  virtual void BeginUpdate();
  virtual void EndUpdate(bool AIsForce = false);

  // None outside 0 .. Count - 1.
  TObject* GetItem(int Index) const;
  template <class T>
  T* GetItemAs(int Index) const {
    return dynamic_cast<T*>(GetItem(Index));
  }
  // Replaces the reference; the old item is not freed.
  void SetItem(int Index, TObject* Value);
  void Move(int Index, int ADestIndex);

  bool HasItemDeleted() const { return FHasItemDeleted; }
  TItemChangeTypes LastItemChangeTypes() const { return FLastItemChangeTypes; }

  TItemDeleteEvent OnItemDelete() const { return FOnItemDelete; }
  void SetOnItemDelete(TItemDeleteEvent AValue) { FOnItemDelete = std::move(AValue); }

  // The change manager's handler; none and ignored without a manager.
  TNotifyEvent OnChange() const;
  void SetOnChange(TNotifyEvent AValue);

  TSkinObjectChangeManager* SkinObjectChangeManager() const { return FSkinObjectChangeManager.get(); }

  TObjectOwnership ObjectOwnership() const { return FObjectOwnership; }
  void SetObjectOwnership(TObjectOwnership AValue) { FObjectOwnership = AValue; }

 protected:
  virtual void DoChange();
  virtual void DoAdd(TObject* AObject);
  virtual void DoDelete(TObject* AObject, int AIndex);
  virtual void DoInsert(TObject* AObject, int AIndex);

 private:
  void CheckIndex(int AIndex, int ALast) const;
  void PrepareToOwnOneMore();
  void FreeItem(TObject* AItem);
  void DestroyItems();
  // Whether AItem, just taken out of one slot, is still held in another.
  bool IsHeldElsewhere(const TObject* AItem) const;
  // Before freeing many items, one sorted pass that proves them distinct
  // spares each deletion its own search of the rest of the list.
  void NoteWhetherItemsAreDistinct();

  std::vector<TObject*> FItems;
  std::unique_ptr<TSkinObjectChangeManager> FSkinObjectChangeManager;
  TObjectOwnership FObjectOwnership;
  TItemChangeTypes FLastItemChangeTypes;
  bool FHasItemDeleted = false;
  TItemDeleteEvent FOnItemDelete;
  // Counts every reference that enters the list; a proof of distinct items
  // holds only as long as nothing entered after it.
  std::uint64_t FEntryVersion = 0;
  std::uint64_t FDistinctAtVersion = ~std::uint64_t{0};
};

// The owner of a manager begins its destruction first thing in its own
// destructor, before it frees any part of itself: C++ runs a derived class's
// destructor before its bases', so a base that waited would tell the links
// about an object whose derived parts are gone. From then on changes are no
// longer delivered. A manager freed before that tells its links itself, so no
// link outlives the news; its owner is then partly gone, and that is why a
// link's OnDestroy compares the sender's address and touches nothing behind it
// (it leaves through TSkinObjectChangeLink::UnRegister).
class TSkinObjectChangeManager : public TObject {
 public:
  // AOwner is the object changes are reported for; it is not owned.
  explicit TSkinObjectChangeManager(TObject* AOwner);
  ~TSkinObjectChangeManager() override;

  // Tells every link, last registered first, that the owner is going away;
  // later changes are no longer delivered. Only the first call tells.
  virtual void BeginDestroy(TObject* Sender);
  virtual void DoChange(TObject* Sender);
  virtual void DoDestroy(TObject* Sender);
  virtual void BeginUpdate();
  // Closes one bracket, or all when AIsForce; the last one to close notifies
  // when anything was delivered or held back since a bracket last closed.
  virtual void EndUpdate(bool AIsForce = false);

  // A link is registered on one manager at a time: registering it here takes
  // it off its previous manager, and registering it twice keeps one entry.
  void RegisterChanges(TSkinObjectChangeLink* Value);
  void UnRegisterChanges(TSkinObjectChangeLink* Value);
  int LinkCount() const;

  TObject* Owner() const { return FOwner; }
  int UpdateCount() const { return FUpdateCount; }
  bool IsDestroy() const { return FIsDestroy; }

  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = std::move(AValue); }

 private:
  // Tells the links registered now, last registered first, each only while
  // it is still registered, so handlers may unregister or free any link.
  void ForEachLinkLastFirst(void (TSkinObjectChangeLink::*ACall)(TObject*), TObject* Sender);
  bool IsRegistered(const TSkinObjectChangeLink* ALink) const;

  TObject* FOwner;
  std::unique_ptr<TBaseList> FLinks;
  bool FChanged = false;
  int FUpdateCount = 0;
  TNotifyEvent FOnChange;
  bool FIsDestroy = false;
  // Lets a notification round skip the registration check for every link
  // when no handler unregistered anything.
  std::uint64_t FUnregisterCount = 0;
};

class TSkinObjectChangeLink : public TObject {
 public:
  TSkinObjectChangeLink() = default;
  // Unregisters from the manager it is registered on.
  ~TSkinObjectChangeLink() override;

  // Leaves the manager it is registered on, if any, without reaching the
  // object that manager reports for.
  void UnRegister();

  void DoChange(TObject* Sender);
  void DoDestroy(TObject* Sender);

  // The manager this link is registered on, or none.
  TSkinObjectChangeManager* Sender() const { return FSender; }

  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = std::move(AValue); }
  TNotifyEvent OnDestroy() const { return FOnDestroy; }
  void SetOnDestroy(TNotifyEvent AValue) { FOnDestroy = std::move(AValue); }

 private:
  friend class TSkinObjectChangeManager;

  TSkinObjectChangeManager* FSender = nullptr;
  TNotifyEvent FOnChange;
  TNotifyEvent FOnDestroy;
};
