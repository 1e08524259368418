// A stand-in material freed while stand-in controls still use it. The
// material reports changes through its change manager and is watched through
// the host's free notification; the controls must end up holding nothing of
// it, whichever way it goes, and must never hear of a change while it is
// partly destroyed.

#include "skin/base/uBaseList.h"
#include "skin/base/uDrawRectParam.h"
#include "skin/host/Component.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Stands in for a material: a component with a change manager and one
// drawing parameter whose changes it passes on.
class TStandInMaterial : public TComponent {
 public:
  TStandInMaterial(TComponent* AOwner, bool ABeginsDestroyFirst)
      : TComponent(AOwner),
        FBeginsDestroyFirst(ABeginsDestroyFirst),
        FManager(std::make_unique<TSkinObjectChangeManager>(this)),
        FBack(std::make_unique<TDrawRectParam>(QStringLiteral("BackColor"), QStringLiteral("背景"))) {
    FBack->SetOnChange([this](TObject*) { FManager->DoChange(this); });
  }

  ~TStandInMaterial() override {
    if (FBeginsDestroyFirst) FManager->BeginDestroy(this);
    // Parts may still change while they are released.
    FBack->SetIsFill(!FBack->IsFill());
    FBack.reset();
  }

  TSkinObjectChangeManager& Manager() { return *FManager; }
  TDrawRectParam& Back() { return *FBack; }

 private:
  bool FBeginsDestroyFirst;
  std::unique_ptr<TSkinObjectChangeManager> FManager;
  std::unique_ptr<TDrawRectParam> FBack;
};

// Stands in for a control using a material: a change link registered on the
// material's manager and a free notification from it.
class TStandInControl : public TComponent {
 public:
  TStandInControl(TComponent* AOwner, std::vector<TStandInControl*>& ADestroyJournal)
      : TComponent(AOwner), FDestroyJournal(ADestroyJournal) {
    FLink.SetOnChange([this](TObject*) {
      // A change arrives only while the material is whole.
      if (FMaterial != nullptr) FSeenFill = FMaterial->Back().IsFill();
      ++FChanges;
    });
    FLink.SetOnDestroy([this](TObject* Sender) {
      FDestroyJournal.push_back(this);
      if (Sender == FMaterial) Release();
    });
  }

  void Use(TStandInMaterial* AMaterial) {
    FMaterial = AMaterial;
    AMaterial->Manager().RegisterChanges(&FLink);
    AMaterial->FreeNotification(this);
  }

  TStandInMaterial* Material() const { return FMaterial; }
  const TSkinObjectChangeLink& Link() const { return FLink; }
  int Changes() const { return FChanges; }
  bool SeenFill() const { return FSeenFill; }

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override {
    TComponent::Notification(AComponent, AOperation);
    if (AOperation == TOperation::opRemove && AComponent == FMaterial) FMaterial = nullptr;
  }

 private:
  // Touches the material only through its TComponent part and the link.
  void Release() {
    static_cast<TComponent*>(FMaterial)->RemoveFreeNotification(this);
    FLink.UnRegister();
    FMaterial = nullptr;
  }

  std::vector<TStandInControl*>& FDestroyJournal;
  TSkinObjectChangeLink FLink;
  TStandInMaterial* FMaterial = nullptr;
  int FChanges = 0;
  bool FSeenFill = false;
};

}  // namespace

TEST(ChangeLinkLifetime, ControlsLetGoOfAMaterialFreedUnderThemWhicheverWayItGoes) {
  struct Case {
    const char* what;
    bool beginsDestroyFirst;
    bool freedByOwner;
  };
  const Case cases[] = {
      {"material begins its destruction first, freed by its owner", true, true},
      {"material begins its destruction first, freed directly", true, false},
      {"material that forgets to, freed by its owner", false, true},
      {"material that forgets to, freed directly", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TComponent form;
    std::vector<TStandInControl*> told;
    auto* first = new TStandInControl(&form, told);
    auto* second = new TStandInControl(&form, told);
    auto* material = new TStandInMaterial(&form, c.beginsDestroyFirst);
    first->Use(material);
    second->Use(material);
    ASSERT_EQ(material->Manager().LinkCount(), 2);

    material->Back().SetIsFill(true);
    EXPECT_EQ(first->Changes(), 1);
    EXPECT_EQ(second->Changes(), 1);
    EXPECT_TRUE(first->SeenFill());

    if (c.freedByOwner) {
      form.RemoveComponent(material);
      // Freed the way an owner frees: through its TComponent pointer.
      delete static_cast<TComponent*>(material);
    } else {
      delete material;
    }

    EXPECT_EQ(told, (std::vector<TStandInControl*>{second, first})) << "each told once, the last registered first";
    for (TStandInControl* control : {first, second}) {
      EXPECT_EQ(control->Material(), nullptr);
      EXPECT_EQ(control->Link().Sender(), nullptr);
    }
    if (c.beginsDestroyFirst) {
      EXPECT_EQ(first->Changes(), 1) << "the change made while the material went was not delivered";
    }
  }
}

TEST(ChangeLinkLifetime, AControlFreedFirstLeavesTheMaterialWithoutItsLink) {
  TComponent form;
  std::vector<TStandInControl*> told;
  auto* material = new TStandInMaterial(&form, true);
  auto* control = new TStandInControl(&form, told);
  control->Use(material);
  delete control;
  EXPECT_EQ(material->Manager().LinkCount(), 0);
  material->Back().SetIsFill(true);
  delete material;
  EXPECT_TRUE(told.empty());
}
