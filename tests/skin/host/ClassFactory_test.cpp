// Class references and the factory by name for families that are not
// components: a stand-in family of control types bound to a control, and
// one of components created without an owner and handed to one.

#include "skin/host/ClassFactory.h"
#include "skin/host/Control.h"

#include <gtest/gtest.h>

namespace {

class TStandInType : public TObject {
 public:
  explicit TStandInType(TControl* AControl) : FControl(AControl) {}
  TControl* FControl;
};
class TStandInButtonType : public TStandInType {
  using TStandInType::TStandInType;
};
class TStandInPushedButtonType : public TStandInButtonType {
  using TStandInButtonType::TStandInButtonType;
};

using TypeFactory = ostrel::host::ClassFactory<TStandInType, TControl*>;
using TypeRef = TypeFactory::Ref;

}  // namespace

namespace later {
// Same plain name as the first one, from elsewhere.
class TStandInButtonType : public TStandInType {
  using TStandInType::TStandInType;
};
}  // namespace later

TEST(ClassFactory, CreatesARegisteredClassByNameWithItsConstructorArgument) {
  TypeFactory factory;
  const TypeRef button = factory.Register<TStandInButtonType>();
  EXPECT_EQ(button.ClassName(), QStringLiteral("TStandInButtonType"));

  TControl control;
  for (const char* name : {"TStandInButtonType", "tstandinbuttontype"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(factory.Contains(QString::fromLatin1(name)));
    const std::unique_ptr<TStandInType> made = factory.Create(QString::fromLatin1(name), &control);
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(button.IsClassOf(made.get()));
    EXPECT_EQ(made->FControl, &control);
    EXPECT_EQ(made->ClassName(), button.ClassName());
  }

  EXPECT_FALSE(factory.Find(QStringLiteral("TStandInLabelType")));
  EXPECT_EQ(factory.Create(QStringLiteral("TStandInLabelType"), &control), nullptr);
  EXPECT_EQ(TypeRef().Create(&control), nullptr);
  EXPECT_EQ(TypeRef().ClassName(), QString());

  // A second class of the same plain name takes the name over.
  const TypeRef other = factory.Register<later::TStandInButtonType>();
  EXPECT_EQ(factory.Find(QStringLiteral("TStandInButtonType")), other);
  EXPECT_FALSE(other == button);
}

TEST(ClassFactory, TellsExactClassFromInheritance) {
  const TypeRef base = TypeRef::Of<TStandInType>();
  const TypeRef button = TypeRef::Of<TStandInButtonType>();
  const TypeRef pushed = TypeRef::Of<TStandInPushedButtonType>();
  const TStandInButtonType buttonObject(nullptr);
  const TStandInPushedButtonType pushedObject(nullptr);
  struct Case {
    const char* what;
    TypeRef ref;
    const TStandInType* object;
    bool exact;
    bool instance;
  };
  const Case cases[] = {
      {"own class", button, &buttonObject, true, true},
      {"derived object", button, &pushedObject, false, true},
      {"base object", pushed, &buttonObject, false, false},
      {"root class", base, &pushedObject, false, true},
      {"no object", button, nullptr, false, false},
      {"null reference", TypeRef(), &buttonObject, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.ref.IsClassOf(c.object), c.exact);
    EXPECT_EQ(c.ref.IsInstance(c.object), c.instance);
  }
  EXPECT_EQ(button, TypeRef::Of<TStandInButtonType>());
  EXPECT_FALSE(button == pushed);
  EXPECT_EQ(TypeRef(), TypeRef());
}

namespace {

class TStandInMaterial : public TComponent {
 public:
  using TComponent::TComponent;
};
class TStandInButtonMaterial : public TStandInMaterial {
 public:
  using TStandInMaterial::TStandInMaterial;
};

}  // namespace

TEST(ClassFactory, AComponentFamilyIsCreatedUnownedAndHandedToItsOwner) {
  using MaterialRef = ostrel::host::ClassRef<TStandInMaterial, TComponent*>;
  const MaterialRef ref = MaterialRef::Of<TStandInButtonMaterial>();
  TComponent control;
  std::unique_ptr<TStandInMaterial> made = ref.Create(nullptr);
  ASSERT_NE(made, nullptr);
  control.InsertComponent(made.get());
  TStandInMaterial* material = made.release();
  EXPECT_EQ(material->Owner(), &control);
  EXPECT_TRUE(MaterialRef::Of<TStandInMaterial>().IsInstance(material));
  EXPECT_FALSE(MaterialRef::Of<TStandInMaterial>().IsClassOf(material));
}
