#include "skin/host/Component.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Records what it is told, so tests can check order and timing.
class Watcher : public TComponent {
 public:
  using TComponent::TComponent;
  std::vector<QString> removed;
  std::vector<QString> inserted;

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override {
    TComponent::Notification(AComponent, AOperation);
    // The dying component's name must still be readable here.
    (AOperation == TOperation::opRemove ? removed : inserted).push_back(AComponent->Name());
  }
};

class PlainA : public TPersistent {};
class PlainB : public TPersistent {};

class CopyableA : public TPersistent {
 public:
  int value = 0;
  void Assign(const TPersistent* ASource) override {
    if (auto* src = dynamic_cast<const CopyableA*>(ASource)) {
      value = src->value;
      return;
    }
    TPersistent::Assign(ASource);
  }
};

}  // namespace

TEST(Persistent, AssignBetweenUnrelatedClassesNamesBothInTheError) {
  PlainA a;
  PlainB b;
  try {
    b.Assign(&a);
    FAIL() << "expected EConvertError";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Cannot assign a PlainA to a PlainB."));
  }
  EXPECT_THROW(b.Assign(nullptr), EConvertError);
}

TEST(Persistent, AssignCopiesWhenTheClassKnowsTheSource) {
  CopyableA a;
  CopyableA b;
  a.value = 7;
  b.Assign(&a);
  EXPECT_EQ(b.value, 7);
  EXPECT_EQ(a.ClassName(), QStringLiteral("CopyableA"));
}

TEST(Component, OwnerFreesOwnedComponentsLastFirstAndSeesEachLeave) {
  auto owner = std::make_unique<Watcher>();
  owner->SetName("Form");
  auto* first = new Watcher(owner.get());
  first->SetName("First");
  auto* second = new TComponent(owner.get());
  second->SetName("Second");

  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->FindComponent("second"), second);
  EXPECT_EQ(second->ComponentIndex(), 1);
  EXPECT_EQ(first->inserted, std::vector<QString>({""}));  // told when Second arrived, before it was named

  delete second;  // an owned component may be freed on its own; the owner forgets it
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(owner->removed, std::vector<QString>({"Second"}));
  EXPECT_EQ(first->removed, std::vector<QString>({"Second"}));
}

TEST(Component, FreeNotificationIsDeliveredBeforeTheComponentIsGone) {
  auto watcher = std::make_unique<Watcher>();
  {
    auto target = std::make_unique<TComponent>();
    target->SetName("Target");
    target->FreeNotification(watcher.get());
  }
  EXPECT_EQ(watcher->removed, std::vector<QString>({"Target"}));

  // Mutual: when the watcher goes first, the target no longer refers to it.
  auto target = std::make_unique<Watcher>();
  {
    auto early = std::make_unique<Watcher>();
    early->SetName("Early");
    early->FreeNotification(target.get());
  }
  EXPECT_EQ(target->removed, std::vector<QString>({"Early"}));
}

TEST(Component, NamesAreCheckedAndUniqueWithinTheOwner) {
  TComponent owner;
  auto* a = new TComponent(&owner);
  a->SetName("Button1");
  auto* b = new TComponent(&owner);
  EXPECT_THROW(b->SetName("button1"), EComponentError);
  EXPECT_THROW(b->SetName("1abc"), EComponentError);
  EXPECT_THROW(b->SetName("a b"), EComponentError);
  b->SetName("Button2");
  EXPECT_EQ(b->Name(), QStringLiteral("Button2"));
}

TEST(Component, StateFlagsAndSubComponent) {
  TComponent owner;
  auto* child = new TComponent(&owner);
  child->SetLoading(true);
  child->SetReading(true);
  EXPECT_TRUE(child->ComponentState().Contains(TComponentStateItem::csLoading));
  child->SetReading(false);
  child->Loaded();
  EXPECT_TRUE(child->ComponentState().IsEmpty());

  owner.SetDesigning(true);
  EXPECT_TRUE(child->ComponentState().Contains(TComponentStateItem::csDesigning));

  EXPECT_FALSE(child->IsSubComponent());
  child->SetSubComponent(true);
  EXPECT_TRUE(child->IsSubComponent());
}
