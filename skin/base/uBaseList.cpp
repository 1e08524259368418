#include "skin/base/uBaseList.h"

#include "skin/base/uBaseLog.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <iterator>

namespace {

QString MessageOf(const std::exception_ptr& AError) {
  try {
    std::rethrow_exception(AError);
  } catch (const std::exception& e) {
    return QString::fromUtf8(e.what());
  } catch (...) {
    return QStringLiteral("unknown exception");
  }
}

void LogCleanupError(const QString& AMethod, const std::exception_ptr& AError) {
  TBaseLog::Instance().HandleException(MessageOf(AError), QStringLiteral("uBaseList"), AMethod, QString());
}

// A merge sort that only ever reads inside the sequence and only writes the
// result once every comparison has succeeded, so a comparer that throws or
// contradicts itself can neither corrupt the list nor read past its ends.
std::vector<TObject*> MergeSorted(const std::vector<TObject*>& AItems, const TListSortCompare& ACompare) {
  std::vector<TObject*> from = AItems;
  std::vector<TObject*> to(from.size());
  const std::size_t n = from.size();
  for (std::size_t width = 1; width < n; width *= 2) {
    for (std::size_t lo = 0; lo < n; lo += 2 * width) {
      const std::size_t mid = std::min(lo + width, n);
      const std::size_t hi = std::min(lo + 2 * width, n);
      std::size_t left = lo;
      std::size_t right = mid;
      std::size_t out = lo;
      while (left < mid && right < hi) {
        // Equal items keep their order: the left run wins ties.
        to[out++] = ACompare(from[right], from[left]) < 0 ? from[right++] : from[left++];
      }
      while (left < mid) to[out++] = from[left++];
      while (right < hi) to[out++] = from[right++];
    }
    from.swap(to);
  }
  return from;
}

}  // namespace

// ---------------------------------------------------------------- TBaseList

TBaseList::TBaseList(TObjectOwnership AObjectOwnership, bool AIsCreateObjectChangeManager)
    : FSkinObjectChangeManager(AIsCreateObjectChangeManager ? std::make_unique<TSkinObjectChangeManager>(this)
                                                            : nullptr),
      FObjectOwnership(AObjectOwnership) {}

TBaseList::~TBaseList() {
  if (FSkinObjectChangeManager != nullptr) {
    try {
      FSkinObjectChangeManager->BeginDestroy(this);
    } catch (...) {
      LogCleanupError(QStringLiteral("TBaseList.Destroy"), std::current_exception());
    }
  }
  DestroyItems();
  FSkinObjectChangeManager.reset();
}

void TBaseList::DestroyItems() {
  const bool isFree = FObjectOwnership == TObjectOwnership::ooOwned;
  if (isFree) NoteWhetherItemsAreDistinct();
  for (int i = static_cast<int>(FItems.size()) - 1; i >= 0; i = std::min(i - 1, static_cast<int>(FItems.size()) - 1)) {
    TObject* const item = FItems[static_cast<std::size_t>(i)];
    try {
      Delete(i, isFree, true);
    } catch (...) {
      LogCleanupError(QStringLiteral("TBaseList.Destroy"), std::current_exception());
      // The failed step left the slot behind; destruction still has to end
      // with every owned item freed exactly once.
      if (i < static_cast<int>(FItems.size()) && FItems[static_cast<std::size_t>(i)] == item) {
        FItems.erase(FItems.begin() + i);
        if (isFree && item != nullptr && !IsHeldElsewhere(item)) FreeItem(item);
      }
    }
  }
  FItems.clear();
}

int TBaseList::GetCount() const { return static_cast<int>(FItems.size()); }

void TBaseList::CheckIndex(int AIndex, int ALast) const {
  if (AIndex < 0 || AIndex > ALast) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(AIndex));
}

void TBaseList::FreeItem(TObject* AItem) {
  // Owned from here on: the item is destroyed even when its last work fails.
  const std::unique_ptr<TObject> doomed(AItem);
  try {
    if (auto* const hook = dynamic_cast<ostrel::skin::IBeforeDestruction*>(AItem)) hook->BeforeDestruction();
  } catch (...) {
    TBaseLog::Instance().OutputDebugString(QStringLiteral("TBaseList.Delete ") + ClassName() + QStringLiteral(" ") +
                                           MessageOf(std::current_exception()));
  }
}

void TBaseList::Clear(bool AIsFree, bool AIsNeedDelete) {
  if (AIsFree) NoteWhetherItemsAreDistinct();
  // Handlers run for every deletion and may shrink the list under the loop.
  for (int i = GetCount() - 1; i >= 0; i = std::min(i - 1, GetCount() - 1)) Delete(i, AIsFree, AIsNeedDelete);
  if (AIsNeedDelete) FItems.clear();
}

int TBaseList::Delete(int Index, bool AIsFree, bool AIsNeedDelete) {
  CheckIndex(Index, GetCount() - 1);
  TObject* const item = FItems[static_cast<std::size_t>(Index)];
  DoDelete(item, Index);
  CheckIndex(Index, GetCount() - 1);

  if (AIsNeedDelete) {
    FItems.erase(FItems.begin() + Index);
  } else if (AIsFree) {
    FItems[static_cast<std::size_t>(Index)] = nullptr;
  }
  // An item held in another slot too is freed when its last slot goes.
  if (AIsFree && item != nullptr && !IsHeldElsewhere(item)) FreeItem(item);

  FLastItemChangeTypes.Include(TItemChangeType::ictDel);
  FHasItemDeleted = true;
  DoChange();
  return Index;
}

bool TBaseList::IsHeldElsewhere(const TObject* AItem) const {
  if (FDistinctAtVersion == FEntryVersion) return false;
  return IndexOf(AItem) >= 0;
}

void TBaseList::NoteWhetherItemsAreDistinct() {
  // Small lists search faster than they sort.
  constexpr std::size_t kSearchLimit = 16;
  if (FItems.size() <= kSearchLimit || FDistinctAtVersion == FEntryVersion) return;
  std::vector<TObject*> sorted;
  sorted.reserve(FItems.size());
  std::copy_if(FItems.begin(), FItems.end(), std::back_inserter(sorted), [](TObject* p) { return p != nullptr; });
  std::sort(sorted.begin(), sorted.end(), std::less<>());
  if (std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end()) FDistinctAtVersion = FEntryVersion;
}

int TBaseList::Remove(TObject* AObject, bool AIsFree, bool AIsNeedDelete) {
  const int index = IndexOf(AObject);
  if (index < 0) return -1;
  return Delete(index, AIsFree, AIsNeedDelete);
}

int TBaseList::Add(TObject* AObject) {
  FItems.push_back(AObject);
  ++FEntryVersion;
  const int index = GetCount() - 1;
  DoAdd(AObject);
  FLastItemChangeTypes.Include(TItemChangeType::ictAdd);
  DoChange();
  return index;
}

void TBaseList::PrepareToOwnOneMore() {
  if (FObjectOwnership != TObjectOwnership::ooOwned) {
    throw EListError(QStringLiteral("A reference list cannot take over an object"));
  }
  // Growing first keeps the object with the caller if memory runs out.
  if (FItems.size() == FItems.capacity()) FItems.reserve(std::max<std::size_t>(8, 2 * FItems.capacity()));
}

int TBaseList::Insert(int AIndex, TObject* AObject) {
  CheckIndex(AIndex, GetCount());
  FItems.insert(FItems.begin() + AIndex, AObject);
  ++FEntryVersion;
  DoInsert(AObject, AIndex);
  FLastItemChangeTypes.Include(TItemChangeType::ictAdd);
  DoChange();
  return AIndex;
}

int TBaseList::IndexOf(const TObject* AObject) const {
  const auto found = std::find(FItems.begin(), FItems.end(), AObject);
  return found == FItems.end() ? -1 : static_cast<int>(found - FItems.begin());
}

void TBaseList::Sort(const TListSortCompare& Compare) {
  BeginUpdate();
  try {
    if (Compare) FItems = MergeSorted(FItems, Compare);
  } catch (...) {
    EndUpdate(true);
    throw;
  }
  EndUpdate(true);
}

void TBaseList::BeginUpdate() {
  FHasItemDeleted = false;
  FLastItemChangeTypes.Clear();
  if (FSkinObjectChangeManager != nullptr) FSkinObjectChangeManager->BeginUpdate();
}

void TBaseList::EndUpdate(bool AIsForce) {
  if (FSkinObjectChangeManager != nullptr) FSkinObjectChangeManager->EndUpdate(AIsForce);
}

TObject* TBaseList::GetItem(int Index) const {
  if (Index < 0 || Index >= GetCount()) return nullptr;
  return FItems[static_cast<std::size_t>(Index)];
}

void TBaseList::SetItem(int Index, TObject* Value) {
  CheckIndex(Index, GetCount() - 1);
  FItems[static_cast<std::size_t>(Index)] = Value;
  ++FEntryVersion;
  FLastItemChangeTypes.Include(TItemChangeType::ictSetItem);
  DoChange();
}

void TBaseList::Move(int Index, int ADestIndex) {
  // Both ends are checked before the item leaves, so a bad destination loses nothing.
  CheckIndex(Index, GetCount() - 1);
  CheckIndex(ADestIndex, GetCount() - 1);
  TObject* const item = FItems[static_cast<std::size_t>(Index)];
  FItems.erase(FItems.begin() + Index);
  Insert(ADestIndex, item);
  FLastItemChangeTypes.Include(TItemChangeType::ictMove);
  DoChange();
}

TNotifyEvent TBaseList::OnChange() const {
  return FSkinObjectChangeManager != nullptr ? FSkinObjectChangeManager->OnChange() : TNotifyEvent{};
}

void TBaseList::SetOnChange(TNotifyEvent AValue) {
  if (FSkinObjectChangeManager != nullptr) FSkinObjectChangeManager->SetOnChange(std::move(AValue));
}

void TBaseList::DoChange() {
  if (FSkinObjectChangeManager != nullptr) FSkinObjectChangeManager->DoChange(this);
}

void TBaseList::DoAdd(TObject* /*AObject*/) {}

void TBaseList::DoDelete(TObject* AObject, int AIndex) {
  if (FOnItemDelete) {
    const TItemDeleteEvent handler = FOnItemDelete;
    handler(this, AObject, AIndex);
  }
}

void TBaseList::DoInsert(TObject* /*AObject*/, int /*AIndex*/) {}

// ------------------------------------------------- TSkinObjectChangeManager

TSkinObjectChangeManager::TSkinObjectChangeManager(TObject* AOwner)
    : FOwner(AOwner), FLinks(std::make_unique<TBaseList>(TObjectOwnership::ooReference, false)) {}

TSkinObjectChangeManager::~TSkinObjectChangeManager() {
  if (!FIsDestroy) {
    // Its owner never began destroying it: the links still hold the owner
    // and must let go of it before it is gone.
    try {
      TSkinObjectChangeManager::BeginDestroy(FOwner);
    } catch (...) {
      LogCleanupError(QStringLiteral("TSkinObjectChangeManager.Destroy"), std::current_exception());
    }
  }
  FIsDestroy = true;
  FChanged = false;
  FUpdateCount = 0;
  FOnChange = nullptr;
  for (int i = FLinks->GetCount() - 1; i >= 0; --i) {
    static_cast<TSkinObjectChangeLink*>(FLinks->GetItem(i))->FSender = nullptr;
    FLinks->Delete(i, false, true);
  }
}

void TSkinObjectChangeManager::BeginDestroy(TObject* Sender) {
  // Every level of the owner's destruction may begin it; the links hear it once.
  if (FIsDestroy) return;
  FIsDestroy = true;
  FChanged = false;
  FUpdateCount = 0;
  FOnChange = nullptr;
  DoDestroy(Sender);
}

void TSkinObjectChangeManager::DoChange(TObject* Sender) {
  // Once its owner is going away, observers would be told about an object
  // that is partly torn down already.
  if (FIsDestroy) return;
  FChanged = true;
  if (FUpdateCount > 0) return;
  ForEachLinkLastFirst(&TSkinObjectChangeLink::DoChange, Sender);
  if (FOnChange) {
    const TNotifyEvent handler = FOnChange;
    handler(this);
  }
}

void TSkinObjectChangeManager::DoDestroy(TObject* Sender) {
  ForEachLinkLastFirst(&TSkinObjectChangeLink::DoDestroy, Sender);
}

void TSkinObjectChangeManager::BeginUpdate() { ++FUpdateCount; }

void TSkinObjectChangeManager::EndUpdate(bool AIsForce) {
  if (FUpdateCount > 0) --FUpdateCount;
  if (AIsForce) FUpdateCount = 0;
  if (FUpdateCount == 0 && FChanged) {
    FChanged = false;
    DoChange(FOwner);
  }
}

void TSkinObjectChangeManager::RegisterChanges(TSkinObjectChangeLink* Value) {
  if (Value == nullptr) return;
  if (Value->FSender == this && IsRegistered(Value)) return;
  // A manager left holding a link it no longer owns would call it after it is freed.
  if (Value->FSender != nullptr && Value->FSender != this) Value->FSender->UnRegisterChanges(Value);
  Value->FSender = this;
  FLinks->Add(Value);
}

void TSkinObjectChangeManager::UnRegisterChanges(TSkinObjectChangeLink* Value) {
  const int index = FLinks->IndexOf(Value);
  if (index < 0) return;
  Value->FSender = nullptr;
  FLinks->Delete(index, false, true);
  ++FUnregisterCount;
}

int TSkinObjectChangeManager::LinkCount() const { return FLinks->GetCount(); }

void TSkinObjectChangeManager::ForEachLinkLastFirst(void (TSkinObjectChangeLink::*ACall)(TObject*), TObject* Sender) {
  const int count = FLinks->GetCount();
  if (count == 0) return;
  std::vector<TSkinObjectChangeLink*> links;
  links.reserve(static_cast<std::size_t>(count));
  for (int i = count - 1; i >= 0; --i) links.push_back(static_cast<TSkinObjectChangeLink*>(FLinks->GetItem(i)));
  const std::uint64_t unregisterCount = FUnregisterCount;
  for (TSkinObjectChangeLink* link : links) {
    if (FUnregisterCount == unregisterCount || IsRegistered(link)) (link->*ACall)(Sender);
  }
}

bool TSkinObjectChangeManager::IsRegistered(const TSkinObjectChangeLink* ALink) const {
  return FLinks->IndexOf(ALink) >= 0;
}

// ---------------------------------------------------- TSkinObjectChangeLink

TSkinObjectChangeLink::~TSkinObjectChangeLink() {
  FOnChange = nullptr;
  UnRegister();
}

void TSkinObjectChangeLink::UnRegister() {
  if (FSender != nullptr) FSender->UnRegisterChanges(this);
}

void TSkinObjectChangeLink::DoChange(TObject* Sender) {
  if (FOnChange) {
    const TNotifyEvent handler = FOnChange;
    handler(Sender);
  }
}

void TSkinObjectChangeLink::DoDestroy(TObject* Sender) {
  if (FOnDestroy) {
    const TNotifyEvent handler = FOnDestroy;
    handler(Sender);
  }
}
