#include "skin/base/uBaseList.h"

#include "tests/support/LogCapture.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// Records its id in a shared journal when destroyed, so tests see which items
// a list freed, how often and in which order.
class TTrackedItem : public TObject {
 public:
  TTrackedItem(int AId, std::vector<int>* AJournal) : FId(AId), FJournal(AJournal) {}
  ~TTrackedItem() override { FJournal->push_back(FId); }
  int Id() const { return FId; }

 private:
  int FId;
  std::vector<int>* FJournal;
};

class TFailingItem : public TTrackedItem, public ostrel::skin::IBeforeDestruction {
 public:
  using TTrackedItem::TTrackedItem;
  void BeforeDestruction() override { throw Exception(QStringLiteral("boom")); }
};

class TPictureTestList : public TBaseList {
 public:
  using TBaseList::TBaseList;
};

struct Changes {
  int count = 0;
  std::vector<TObject*> senders;
};

std::unique_ptr<TSkinObjectChangeLink> Observe(TBaseList& AList, Changes& AChanges) {
  auto link = std::make_unique<TSkinObjectChangeLink>();
  link->SetOnChange([&AChanges](TObject* Sender) {
    ++AChanges.count;
    AChanges.senders.push_back(Sender);
  });
  AList.SkinObjectChangeManager()->RegisterChanges(link.get());
  return link;
}

std::vector<TObject*> ItemsOf(const TBaseList& AList) {
  std::vector<TObject*> items;
  for (int i = 0; i < AList.Count(); ++i) items.push_back(AList.GetItem(i));
  return items;
}

// Steps: B BeginUpdate, E EndUpdate(False), F EndUpdate(True), A Add, D Delete
// the last item, S Sort. After each step the number of notifications the link
// has seen so far must equal the digit at the same place.
struct BracketCase {
  const char* name;
  std::string steps;
  std::string countsAfterEachStep;
};

class Brackets : public testing::TestWithParam<BracketCase> {};

TEST_P(Brackets, NotifyAsCounted) {
  const BracketCase& c = GetParam();
  ASSERT_EQ(c.steps.size(), c.countsAfterEachStep.size());
  TBaseList list(TObjectOwnership::ooReference, true);
  Changes changes;
  const auto link = Observe(list, changes);
  int managerCalls = 0;
  list.SetOnChange([&](TObject* Sender) {
    EXPECT_EQ(Sender, list.SkinObjectChangeManager());
    ++managerCalls;
  });
  TObject item;

  for (std::size_t i = 0; i < c.steps.size(); ++i) {
    switch (c.steps[i]) {
      case 'B': list.BeginUpdate(); break;
      case 'E': list.EndUpdate(false); break;
      case 'F': list.EndUpdate(true); break;
      case 'A': list.Add(&item); break;
      case 'D': list.Delete(list.Count() - 1, false, true); break;
      case 'S': list.Sort([](TObject*, TObject*) { return 0; }); break;
      default: FAIL() << "unknown step " << c.steps[i];
    }
    EXPECT_EQ(changes.count, c.countsAfterEachStep[i] - '0') << "after step " << i << " of " << c.steps;
  }
  EXPECT_EQ(managerCalls, changes.count);
  for (TObject* sender : changes.senders) EXPECT_EQ(sender, &list);
  EXPECT_EQ(list.SkinObjectChangeManager()->UpdateCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    BaseList, Brackets,
    testing::Values(BracketCase{"EachChangeOutsideABracket", "AAD", "123"},
                    BracketCase{"OnceWhenTheBracketCloses", "BAADE", "00001"},
                    BracketCase{"NestedOnceWhenTheOuterCloses", "BBAEE", "00001"},
                    BracketCase{"ForcedEndClosesAll", "BBBAF", "00001"},
                    BracketCase{"EmptyBracketOnAFreshListIsSilent", "BE", "00"},
                    BracketCase{"EmptyBracketAfterADeliveryNotifiesAgain", "ABE", "112"},
                    BracketCase{"EveryClosingBracketNotifiesOnceSomethingWasDelivered", "ABEBE", "11223"},
                    BracketCase{"SortClosesTheCallersBracket", "ABAS", "1112"}),
    [](const testing::TestParamInfo<BracketCase>& AInfo) { return std::string(AInfo.param.name); });

TEST(BaseList, WithoutAManagerNothingNotifiesAndOnChangeIsIgnored) {
  TBaseList list(TObjectOwnership::ooReference, false);
  int calls = 0;
  list.SetOnChange([&](TObject*) { ++calls; });
  TObject a;
  TObject b;

  list.BeginUpdate();
  list.Add(&a);
  list.Insert(0, &b);
  list.EndUpdate(true);
  list.Move(0, 1);
  list.Delete(0, false, true);

  EXPECT_EQ(list.SkinObjectChangeManager(), nullptr);
  EXPECT_FALSE(list.OnChange());
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(ItemsOf(list), std::vector<TObject*>({&b}));
  EXPECT_TRUE(list.HasItemDeleted());
}

TEST(BaseList, RemoveOfAStrangerChangesNothing) {
  std::vector<int> freed;
  int deleteEvents = 0;
  TBaseList list(TObjectOwnership::ooOwned, true);
  list.AddOwned(std::make_unique<TTrackedItem>(1, &freed));
  list.BeginUpdate();
  list.EndUpdate(false);
  Changes changes;
  const auto link = Observe(list, changes);
  list.SetOnItemDelete([&](TObject*, TObject*, int) { ++deleteEvents; });
  TTrackedItem stranger(9, &freed);

  EXPECT_EQ(list.Remove(&stranger, true, true), -1);

  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(changes.count, 0);
  EXPECT_EQ(deleteEvents, 0);
  EXPECT_FALSE(list.HasItemDeleted());
  EXPECT_TRUE(list.LastItemChangeTypes().IsEmpty());
  EXPECT_TRUE(freed.empty());
}

TEST(BaseList, ClearOfAnOwningListFreesEveryItemLastFirst) {
  std::vector<int> freed;
  TBaseList list(TObjectOwnership::ooOwned, true);
  for (int id = 0; id < 3; ++id) list.AddOwned(std::make_unique<TTrackedItem>(id, &freed));
  list.BeginUpdate();
  list.EndUpdate(false);
  std::vector<int> deletedIndexes;
  list.SetOnItemDelete([&](TObject* Sender, TObject* AItem, int AIndex) {
    // The item is still in its slot and alive when the handler runs.
    EXPECT_EQ(Sender, &list);
    EXPECT_EQ(list.GetItem(AIndex), AItem);
    EXPECT_EQ(static_cast<TTrackedItem*>(AItem)->Id(), AIndex);
    deletedIndexes.push_back(AIndex);
  });
  Changes changes;
  const auto link = Observe(list, changes);

  list.Clear(true, true);

  EXPECT_EQ(freed, std::vector<int>({2, 1, 0}));
  EXPECT_EQ(deletedIndexes, std::vector<int>({2, 1, 0}));
  EXPECT_EQ(changes.count, 3);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(list.HasItemDeleted());
  EXPECT_EQ(list.LastItemChangeTypes(), TItemChangeTypes({TItemChangeType::ictDel}));
}

TEST(BaseList, DestroyingTellsEveryLinkOnceLastRegisteredFirst) {
  std::vector<int> order;
  std::vector<TObject*> senders;
  std::vector<std::unique_ptr<TSkinObjectChangeLink>> links;
  TObject* listAddress = nullptr;
  {
    TBaseList list(TObjectOwnership::ooReference, true);
    listAddress = &list;
    for (int id = 1; id <= 3; ++id) {
      links.push_back(std::make_unique<TSkinObjectChangeLink>());
      links.back()->SetOnDestroy([&order, &senders, id](TObject* Sender) {
        order.push_back(id);
        senders.push_back(Sender);
      });
      list.SkinObjectChangeManager()->RegisterChanges(links.back().get());
    }
  }
  EXPECT_EQ(order, std::vector<int>({3, 2, 1}));
  EXPECT_EQ(senders, std::vector<TObject*>(3, listAddress));
  // The links outlive the manager and are left unregistered, so freeing them is safe.
  for (const auto& link : links) EXPECT_EQ(link->Sender(), nullptr);
}

TEST(BaseList, DestructionBegunAtEveryLevelTellsTheLinksOnce) {
  class TSelfTellingList : public TBaseList {
   public:
    using TBaseList::TBaseList;
    ~TSelfTellingList() override { SkinObjectChangeManager()->BeginDestroy(this); }
  };
  int told = 0;
  TSkinObjectChangeLink link;
  link.SetOnDestroy([&told](TObject*) { ++told; });
  {
    TSelfTellingList list(TObjectOwnership::ooReference, true);
    list.SkinObjectChangeManager()->RegisterChanges(&link);
  }
  EXPECT_EQ(told, 1);
}

TEST(BaseList, ChangesDuringDestructionAreNotDelivered) {
  Changes changes;
  std::unique_ptr<TSkinObjectChangeLink> link;
  std::vector<int> freed;
  {
    TBaseList list(TObjectOwnership::ooOwned, true);
    list.AddOwned(std::make_unique<TTrackedItem>(1, &freed));
    link = Observe(list, changes);
  }
  EXPECT_EQ(changes.count, 0);
  EXPECT_EQ(freed, std::vector<int>({1}));
}

TEST(ChangeManager, ALinkMayUnregisterItselfAndLaterLinksWhileNotified) {
  TBaseList list(TObjectOwnership::ooReference, true);
  TSkinObjectChangeManager& manager = *list.SkinObjectChangeManager();
  std::vector<int> calls;
  std::vector<std::unique_ptr<TSkinObjectChangeLink>> links;
  for (int id = 1; id <= 3; ++id) {
    links.push_back(std::make_unique<TSkinObjectChangeLink>());
    links.back()->SetOnChange([&calls, id](TObject*) { calls.push_back(id); });
    manager.RegisterChanges(links.back().get());
  }
  links[1]->SetOnChange([&](TObject*) {
    calls.push_back(2);
    manager.UnRegisterChanges(links[1].get());
    manager.UnRegisterChanges(links[2].get());
  });
  TObject item;

  list.Add(&item);
  EXPECT_EQ(calls, std::vector<int>({3, 2, 1}));
  EXPECT_EQ(manager.LinkCount(), 1);
  EXPECT_EQ(links[1]->Sender(), nullptr);

  calls.clear();
  list.Add(&item);
  EXPECT_EQ(calls, std::vector<int>({1}));
}

TEST(ChangeManager, ALinkFreedOrUnregisteredByAnEarlierHandlerIsNotCalled) {
  TBaseList list(TObjectOwnership::ooReference, true);
  TSkinObjectChangeManager& manager = *list.SkinObjectChangeManager();
  std::vector<int> calls;
  std::vector<std::unique_ptr<TSkinObjectChangeLink>> links;
  for (int id = 1; id <= 4; ++id) {
    links.push_back(std::make_unique<TSkinObjectChangeLink>());
    links.back()->SetOnChange([&calls, id](TObject*) { calls.push_back(id); });
    manager.RegisterChanges(links.back().get());
  }
  // The last link, told first, frees one earlier link and unregisters another.
  links[3]->SetOnChange([&](TObject*) {
    calls.push_back(4);
    links[2].reset();
    manager.UnRegisterChanges(links[0].get());
  });
  TObject item;

  list.Add(&item);

  EXPECT_EQ(calls, std::vector<int>({4, 2}));
  EXPECT_EQ(manager.LinkCount(), 2);
}

TEST(ChangeManager, ALinkBelongsToOneManagerAtATime) {
  TObject owner;
  TSkinObjectChangeManager first(&owner);
  TSkinObjectChangeManager second(&owner);
  int calls = 0;
  {
    TSkinObjectChangeLink link;
    link.SetOnChange([&](TObject*) { ++calls; });
    first.RegisterChanges(&link);
    first.RegisterChanges(&link);
    EXPECT_EQ(first.LinkCount(), 1);

    second.RegisterChanges(&link);
    EXPECT_EQ(first.LinkCount(), 0);
    EXPECT_EQ(second.LinkCount(), 1);
    EXPECT_EQ(link.Sender(), &second);

    first.DoChange(&owner);
    second.DoChange(&owner);
    EXPECT_EQ(calls, 1);
  }
  EXPECT_EQ(second.LinkCount(), 0);
  first.DoChange(&owner);
  second.DoChange(&owner);
  EXPECT_EQ(calls, 1);
}

struct OwnershipCase {
  const char* name;
  TObjectOwnership ownership;
  std::vector<int> freedByDestruction;
};

class Ownership : public testing::TestWithParam<OwnershipCase> {};

TEST_P(Ownership, DestructionFreesExactlyWhatTheListOwns) {
  std::vector<int> freed;
  std::vector<std::unique_ptr<TTrackedItem>> keptByCaller;
  {
    TBaseList list(GetParam().ownership, true);
    for (int id = 0; id < 3; ++id) {
      auto item = std::make_unique<TTrackedItem>(id, &freed);
      if (GetParam().ownership == TObjectOwnership::ooOwned) {
        list.AddOwned(std::move(item));
      } else {
        list.Add(item.get());
        keptByCaller.push_back(std::move(item));
      }
    }
  }
  EXPECT_EQ(freed, GetParam().freedByDestruction);
}

INSTANTIATE_TEST_SUITE_P(BaseList, Ownership,
                         testing::Values(OwnershipCase{"Owned", TObjectOwnership::ooOwned, {2, 1, 0}},
                                         OwnershipCase{"Reference", TObjectOwnership::ooReference, {}}),
                         [](const testing::TestParamInfo<OwnershipCase>& AInfo) {
                           return std::string(AInfo.param.name);
                         });

TEST(BaseList, AnOwningListNeverFreesAnItemTwice) {
  std::vector<int> freed;
  auto keptByCaller = std::make_unique<TTrackedItem>(7, &freed);
  {
    TBaseList list(TObjectOwnership::ooOwned, true);
    list.AddOwned(std::make_unique<TTrackedItem>(0, &freed));
    list.AddOwned(std::make_unique<TTrackedItem>(1, &freed));
    list.Add(list.GetItem(1));
    list.Add(keptByCaller.get());

    // Handed back to the caller: no longer the list's to free.
    list.Delete(3, false, true);
    // Freed in place: the slot is emptied, not left pointing at the freed item.
    list.Delete(0, true, false);
    EXPECT_EQ(freed, std::vector<int>({0}));
    EXPECT_EQ(list.GetItem(0), nullptr);
    EXPECT_EQ(list.Count(), 3);

    // Item 1 sits in two slots; the first deletion must not free it under the second.
    list.Delete(2, true, true);
    EXPECT_EQ(freed, std::vector<int>({0}));
  }
  EXPECT_EQ(freed, std::vector<int>({0, 1}));
}

// Short and long lists take different ways to find out whether an item is
// still held elsewhere; both must free every item exactly once.
class HeldTwice : public testing::TestWithParam<int> {};

TEST_P(HeldTwice, AnItemInTwoSlotsIsFreedOnceByClear) {
  const int distinct = GetParam();
  std::vector<int> freed;
  TBaseList list(TObjectOwnership::ooOwned, true);
  for (int id = 0; id < distinct; ++id) list.AddOwned(std::make_unique<TTrackedItem>(id, &freed));
  list.Insert(distinct / 2, list.GetItem(0));

  list.Clear(true, true);

  std::sort(freed.begin(), freed.end());
  std::vector<int> expected(static_cast<std::size_t>(distinct));
  for (int id = 0; id < distinct; ++id) expected[static_cast<std::size_t>(id)] = id;
  EXPECT_EQ(freed, expected);
}

TEST_P(HeldTwice, AnItemAddedTwiceAfterAClearIsFreedWithItsLastSlot) {
  const int distinct = GetParam();
  std::vector<int> freed;
  TBaseList list(TObjectOwnership::ooOwned, true);
  for (int id = 0; id < distinct; ++id) list.AddOwned(std::make_unique<TTrackedItem>(id, &freed));
  list.Clear(true, false);
  ASSERT_EQ(static_cast<int>(freed.size()), distinct);
  list.AddOwned(std::make_unique<TTrackedItem>(-1, &freed));
  list.Add(list.GetItem(list.Count() - 1));

  list.Delete(list.Count() - 1, true, true);
  EXPECT_EQ(static_cast<int>(freed.size()), distinct);

  list.Delete(list.Count() - 1, true, true);
  ASSERT_EQ(static_cast<int>(freed.size()), distinct + 1);
  EXPECT_EQ(freed.back(), -1);
  EXPECT_EQ(list.Count(), distinct);
}

INSTANTIATE_TEST_SUITE_P(BaseList, HeldTwice, testing::Values(4, 40));

TEST(BaseList, OnlyAnOwningListTakesOverAnObject) {
  std::vector<int> freed;
  TBaseList list(TObjectOwnership::ooReference, true);
  auto item = std::make_unique<TTrackedItem>(1, &freed);

  EXPECT_THROW(list.AddOwned(std::move(item)), EListError);

  EXPECT_NE(item, nullptr);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(freed.empty());
}

TEST(BaseList, AFailingFreeIsLoggedAndTheDeletionCompletes) {
  LogCapture log;
  std::vector<int> freed;
  TPictureTestList list(TObjectOwnership::ooOwned, true);
  list.AddOwned(std::make_unique<TTrackedItem>(0, &freed));
  list.AddOwned(std::make_unique<TFailingItem>(1, &freed));
  list.AddOwned(std::make_unique<TTrackedItem>(2, &freed));
  Changes changes;
  const auto link = Observe(list, changes);

  EXPECT_EQ(list.Delete(1, true, true), 1);

  EXPECT_EQ(log.Lines(), QStringList({"TBaseList.Delete TPictureTestList boom"}));
  EXPECT_EQ(freed, std::vector<int>({1}));
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(changes.count, 1);
  EXPECT_TRUE(list.LastItemChangeTypes().Contains(TItemChangeType::ictDel));
}

TEST(BaseList, MoveReinsertsAndNotifiesTwice) {
  TBaseList list(TObjectOwnership::ooReference, true);
  TObject a;
  TObject b;
  TObject c;
  for (TObject* item : {&a, &b, &c}) list.Add(item);
  Changes changes;
  const auto link = Observe(list, changes);
  list.BeginUpdate();
  list.EndUpdate(false);
  changes.count = 0;

  list.Move(0, 2);

  EXPECT_EQ(ItemsOf(list), std::vector<TObject*>({&b, &c, &a}));
  EXPECT_EQ(changes.count, 2);
  EXPECT_EQ(list.LastItemChangeTypes(), TItemChangeTypes({TItemChangeType::ictAdd, TItemChangeType::ictMove}));
  EXPECT_FALSE(list.HasItemDeleted());
}

struct IndexErrorCase {
  const char* name;
  void (*call)(TBaseList&, TObject*);
  const char* message;
};

class IndexErrors : public testing::TestWithParam<IndexErrorCase> {};

TEST_P(IndexErrors, RaiseAndLeaveTheListAsItWas) {
  std::vector<int> freed;
  TBaseList list(TObjectOwnership::ooOwned, true);
  for (int id = 0; id < 3; ++id) list.AddOwned(std::make_unique<TTrackedItem>(id, &freed));
  const std::vector<TObject*> before = ItemsOf(list);
  Changes changes;
  const auto link = Observe(list, changes);
  TObject stranger;

  try {
    GetParam().call(list, &stranger);
    ADD_FAILURE() << "no EListError";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), QString::fromUtf8(GetParam().message));
  }

  EXPECT_EQ(ItemsOf(list), before);
  EXPECT_EQ(changes.count, 0);
  EXPECT_TRUE(freed.empty());
}

INSTANTIATE_TEST_SUITE_P(
    BaseList, IndexErrors,
    testing::Values(
        IndexErrorCase{"DeletePastTheEnd", [](TBaseList& l, TObject*) { l.Delete(3, true, true); },
                       "List index out of bounds (3)"},
        IndexErrorCase{"DeleteNegative", [](TBaseList& l, TObject*) { l.Delete(-1, true, true); },
                       "List index out of bounds (-1)"},
        IndexErrorCase{"SetItemPastTheEnd", [](TBaseList& l, TObject* o) { l.SetItem(3, o); },
                       "List index out of bounds (3)"},
        IndexErrorCase{"InsertBeyondTheEnd", [](TBaseList& l, TObject* o) { l.Insert(4, o); },
                       "List index out of bounds (4)"},
        IndexErrorCase{"InsertNegative", [](TBaseList& l, TObject* o) { l.Insert(-1, o); },
                       "List index out of bounds (-1)"},
        IndexErrorCase{"MoveFromPastTheEnd", [](TBaseList& l, TObject*) { l.Move(3, 0); },
                       "List index out of bounds (3)"},
        IndexErrorCase{"MoveToPastTheEnd", [](TBaseList& l, TObject*) { l.Move(0, 5); },
                       "List index out of bounds (5)"}),
    [](const testing::TestParamInfo<IndexErrorCase>& AInfo) { return std::string(AInfo.param.name); });

TEST(BaseList, GetItemAnswersNoneOutsideTheList) {
  std::vector<int> freed;
  TTrackedItem item(1, &freed);
  TBaseList list(TObjectOwnership::ooReference, true);
  list.Add(&item);
  list.Insert(1, nullptr);

  EXPECT_EQ(list.GetItem(-1), nullptr);
  EXPECT_EQ(list.GetItem(2), nullptr);
  EXPECT_EQ(list.GetItemAs<TTrackedItem>(0), &item);
  EXPECT_EQ(list.GetItemAs<TFailingItem>(0), nullptr);
  EXPECT_EQ(list.property("Count").toInt(), 2);
}

TEST(BaseList, SortOrdersByTheComparer) {
  std::vector<int> freed;
  TBaseList list(TObjectOwnership::ooOwned, true);
  for (int id : {3, 1, 2, 1, 0}) list.AddOwned(std::make_unique<TTrackedItem>(id, &freed));
  const TObject* const firstOne = list.GetItem(1);

  list.Sort([](TObject* a, TObject* b) {
    return static_cast<TTrackedItem*>(a)->Id() - static_cast<TTrackedItem*>(b)->Id();
  });

  std::vector<int> ids;
  for (int i = 0; i < list.Count(); ++i) ids.push_back(list.GetItemAs<TTrackedItem>(i)->Id());
  EXPECT_EQ(ids, std::vector<int>({0, 1, 1, 2, 3}));
  EXPECT_EQ(list.GetItem(1), firstOne);
}

TEST(BaseList, SortLeavesTheListWholeWhenTheComparerFails) {
  std::vector<int> freed;
  TBaseList list(TObjectOwnership::ooOwned, true);
  for (int id = 0; id < 40; ++id) list.AddOwned(std::make_unique<TTrackedItem>(id % 7, &freed));
  const std::vector<TObject*> before = ItemsOf(list);
  list.BeginUpdate();
  list.BeginUpdate();

  int calls = 0;
  const TListSortCompare failing = [&calls](TObject*, TObject*) -> int {
    if (++calls == 30) throw Exception(QStringLiteral("compare failed"));
    return 1;
  };
  EXPECT_THROW(list.Sort(failing), Exception);
  EXPECT_EQ(ItemsOf(list), before);
  EXPECT_EQ(list.SkinObjectChangeManager()->UpdateCount(), 0);

  // A comparer that contradicts itself still yields the same items, each once.
  unsigned seed = 12345;
  list.Sort([&](TObject*, TObject*) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % 3) - 1;
  });
  std::vector<TObject*> after = ItemsOf(list);
  std::vector<TObject*> expected = before;
  std::sort(after.begin(), after.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(after, expected);
}

}  // namespace
