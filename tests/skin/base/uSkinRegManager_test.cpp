// The control type registry: lookups by classification and type name, the
// default variant, and materials of the style list found by style name.

#include "skin/base/uSkinRegManager.h"
#include "tests/support/GuiApp.h"
#include "tests/support/SkinTestFamily.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class RegistryTest : public testing::Test {
 protected:
  void SetUp() override {
    test_support::GuiApp();
    test_support::StartSkinTestFamily();
  }
};

// A registry of its own, so rows added here do not reach other tests.
class FreshRegistry {
 public:
  TControlTypeRegManager Manager;
  void Row(const QString& AClassify, const QString& AName, TMaterialClass AMaterial, bool AIsDefault) {
    Manager.RegisterControlType(AClassify, TControlTypeClass::Of<TSkinTestBoxType>(), AMaterial, QString(), AIsDefault,
                                AName);
  }
};

}  // namespace

TEST_F(RegistryTest, LooksUpClassesByExactClassificationAndTypeName) {
  const TControlTypeRegManager& registry = GlobalControlTypeRegManager();
  struct Row {
    const char* classify;
    const char* name;
    TControlTypeClass type;
    TMaterialClass material;
  };
  const Row rows[] = {
      {"SkinTestBox", "Default", TControlTypeClass::Of<TSkinTestBoxType>(), TMaterialClass::Of<TSkinTestBoxMaterial>()},
      {"SkinTestBox", "Other", TControlTypeClass::Of<TSkinTestBoxOtherType>(), TMaterialClass::Of<TSkinTestBoxMaterial>()},
      {"SkinTestBox", "other", {}, {}},
      {"SkinTestBox", "", {}, {}},
      {"skintestbox", "Default", {}, {}},
      {"SkinNowhere", "Default", {}, {}},
      {"ProcessNativeControlModalShowPanel", "Default", TControlTypeClass::Of<TSkinControlType>(),
       TMaterialClass::Of<TSkinControlMaterial>()},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(QStringLiteral("%1 / %2").arg(QLatin1String(row.classify), QLatin1String(row.name)).toStdString());
    EXPECT_TRUE(registry.FindControlTypeClassByControlTypeName(QLatin1String(row.classify), QLatin1String(row.name)) ==
                row.type);
    EXPECT_TRUE(registry.FindMaterialClassByControlTypeName(QLatin1String(row.classify), QLatin1String(row.name)) ==
                row.material);
  }
  EXPECT_EQ(registry.FindDefaultControlTypeName(QStringLiteral("SkinTestBox")), QStringLiteral("Default"));
  EXPECT_EQ(registry.FindDefaultControlTypeName(QStringLiteral("SkinNowhere")), QString());
}

TEST(Registry, KeepsOrderRepeatsAndTheLastDefault) {
  FreshRegistry r;
  r.Row(QStringLiteral("A"), QStringLiteral("Default"), TMaterialClass::Of<TSkinTestBoxMaterial>(), true);
  r.Row(QStringLiteral("B"), QStringLiteral("Default"), TMaterialClass::Of<TSkinTestOtherMaterial>(), true);
  r.Row(QStringLiteral("A"), QStringLiteral("Default"), TMaterialClass::Of<TSkinTestOtherMaterial>(), false);
  r.Row(QStringLiteral("A"), QStringLiteral("Second"), TMaterialClass::Of<TSkinTestOtherMaterial>(), true);

  EXPECT_EQ(r.Manager.FindControlClassifyRegIndex(QStringLiteral("A")), 0);
  EXPECT_EQ(r.Manager.FindControlClassifyRegIndex(QStringLiteral("B")), 1);
  EXPECT_EQ(r.Manager.Find(QStringLiteral("A"))->ControlTypeRegList()->Count(), 3);
  EXPECT_TRUE(r.Manager.FindMaterialClassByControlTypeName(QStringLiteral("A"), QStringLiteral("Default")) ==
              TMaterialClass::Of<TSkinTestBoxMaterial>())
      << "a repeated pair is appended, and lookups keep finding the first";
  EXPECT_EQ(r.Manager.FindDefaultControlTypeName(QStringLiteral("A")), QStringLiteral("Second"))
      << "the last registration marked default wins";
  EXPECT_EQ(r.Manager.CreateControlTypeClassifyReg(QStringLiteral("A")), r.Manager.Find(QStringLiteral("A")));
}

TEST_F(RegistryTest, FindsStyleMaterialsByStyleNameAliasOrComponentName) {
  TComponent form;
  auto* first = new TSkinTestBoxMaterial(&form);
  auto* second = new TSkinTestBoxMaterial(&form);
  auto* byName = new TSkinTestBoxMaterial(&form);
  auto* derived = new TSkinTestBoxDerivedMaterial(&form);
  auto* foreign = new TSkinTestOtherMaterial(&form);
  first->SetStyleName(QStringLiteral("Dark"));
  second->SetStyleName(QStringLiteral("Dark"));
  second->SetStyleNameAliases({QStringLiteral("Night")});
  byName->SetName(QStringLiteral("Plain"));
  byName->SetStyleName(QStringLiteral(" "));  // blank: not in the list
  derived->SetStyleName(QStringLiteral("Derived"));
  foreign->SetStyleName(QStringLiteral("Foreign"));
  // Only materials of the list are searched; a component name counts for those.
  auto* named = new TSkinTestBoxMaterial(&form);
  named->SetName(QStringLiteral("Solid"));
  named->SetStyleName(QStringLiteral("x"));

  struct Row {
    const char* search;
    TSkinControlMaterial* expected;
  };
  const Row rows[] = {
      {"Dark", first},  {"dARK", first},       {"night", second}, {"Solid", named},
      {"Plain", nullptr}, {"Derived", derived}, {"Foreign", nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.search);
    const TFoundStyleMaterial found = FindMaterialByStyleName(QStringLiteral("SkinTestBox"), QLatin1String(row.search));
    EXPECT_EQ(found.Material, row.expected);
    EXPECT_EQ(found.ControlTypeName, row.expected != nullptr ? QStringLiteral("Default") : QString());
  }
  EXPECT_EQ(FindMaterialByStyleName(QStringLiteral("SkinTestOther"), QStringLiteral("Foreign")).Material, foreign);
  EXPECT_EQ(FindMaterialByStyleName(QStringLiteral("SkinNowhere"), QStringLiteral("Dark")).Material, nullptr)
      << "a classification without registrations finds nothing";
}

TEST(Registry, AStyleMaterialMatchesTheFirstRegistrationOfItsClass) {
  test_support::GuiApp();
  FreshRegistry r;
  r.Row(QStringLiteral("Family"), QStringLiteral("Other"), TMaterialClass::Of<TSkinTestOtherMaterial>(), false);
  r.Row(QStringLiteral("Family"), QStringLiteral("Base"), TMaterialClass::Of<TSkinTestBoxMaterial>(), true);
  r.Row(QStringLiteral("Family"), QStringLiteral("Exact"), TMaterialClass::Of<TSkinTestBoxDerivedMaterial>(), false);
  TComponent form;
  auto* derived = new TSkinTestBoxDerivedMaterial(&form);
  derived->SetStyleName(QStringLiteral("Style"));
  const TFoundStyleMaterial found = r.Manager.FindMaterialByStyleName(QStringLiteral("Family"), QStringLiteral("style"));
  EXPECT_EQ(found.Material, derived);
  EXPECT_EQ(found.ControlTypeName, QStringLiteral("Base"));
}

TEST_F(RegistryTest, StartingTheLibraryAgainRegistersNothingTwice) {
  const TControlClassifyReg* family = GlobalControlTypeRegManager().Find(QStringLiteral("SkinTestBox"));
  ASSERT_NE(family, nullptr);
  const int rows = family->ControlTypeRegList()->Count();
  test_support::StartSkinTestFamily();
  EXPECT_EQ(family->ControlTypeRegList()->Count(), rows);
  EXPECT_TRUE(ostrel::host::ClassRegistry::Instance().Contains(QStringLiteral("TSkinTestBox")));
  EXPECT_TRUE(ostrel::host::ClassRegistry::Instance().Contains(QStringLiteral("TSkinTestBoxMaterial")));
}
