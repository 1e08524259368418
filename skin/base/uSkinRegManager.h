#pragma once
// The control type registry: (classification, type name) → control type
// class and material class. Controls ask it whenever they create their
// control type or their self-owned material; it also finds materials of the
// style list by style name. It is filled at start-up, family by family, and
// read-only afterwards. All name comparisons are exact and case-sensitive,
// and every search answers the first match in registration order.
//
// A family registers itself in one place: its unit has a function
//
//   void RegisterSkinButtonFamily(ostrel::skin::SkinLibraryRegistration& AReg) {
//     AReg.ControlType<TSkinButtonDefaultType, TSkinButtonDefaultMaterial>("SkinButton", "Default", true);
//     AReg.ControlClass<TSkinFMXButton>();
//     AReg.MaterialClass<TSkinButtonDefaultMaterial>();
//   }
//
// and the program's start-up hands the list of such functions, in the
// library's order, to StartSkinLibrary.

#include "skin/base/uBaseList.h"
#include "skin/base/uComponentType.h"
#include "skin/base/uSkinMaterial.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/Persistent.h"

#include <QString>

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

// One registration.
class TControlTypeReg : public TObject {
 public:
  TControlTypeReg(bool AIsDefault, const QString& AControlTypeName, const QString& ADescription,
                  TControlTypeClass AControlTypeClass, TMaterialClass AMaterialClass);
  ~TControlTypeReg() override;

  bool IsDefault() const { return FIsDefault; }
  QString ControlTypeName() const { return FControlTypeName; }
  QString Description() const { return FDescription; }
  TControlTypeClass ControlTypeClass() const { return FControlTypeClass; }
  TMaterialClass MaterialClass() const { return FMaterialClass; }

 private:
  bool FIsDefault;
  QString FControlTypeName;
  QString FDescription;
  TControlTypeClass FControlTypeClass;
  TMaterialClass FMaterialClass;
};

// The registrations of one classification, in registration order; owns them.
class TControlTypeRegList : public TBaseList {
  Q_OBJECT

 public:
  TControlTypeRegList();
  ~TControlTypeRegList() override;
  TControlTypeReg* Items(int AIndex) const { return static_cast<TControlTypeReg*>(GetItem(AIndex)); }
};

// One classification and its registrations.
class TControlClassifyReg : public TObject {
 public:
  explicit TControlClassifyReg(const QString& AControlClassify);
  ~TControlClassifyReg() override;

  QString ControlClassify() const { return FControlClassify; }
  // The registration marked default last, or none.
  TControlTypeReg* DefaultControlTypeReg() const { return FDefaultControlTypeReg; }
  void SetDefaultControlTypeReg(TControlTypeReg* AValue) { FDefaultControlTypeReg = AValue; }
  TControlTypeRegList* ControlTypeRegList() const { return FControlTypeRegList.get(); }

 private:
  QString FControlClassify;
  TControlTypeReg* FDefaultControlTypeReg = nullptr;
  std::unique_ptr<TControlTypeRegList> FControlTypeRegList;
};

// The classifications in the order of their first registration; owns them.
class TControlClassifyRegList : public TBaseList {
  Q_OBJECT

 public:
  TControlClassifyRegList();
  ~TControlClassifyRegList() override;
  TControlClassifyReg* Items(int AIndex) const { return static_cast<TControlClassifyReg*>(GetItem(AIndex)); }
};

// A material found by style name and the type name of the registration it matched.
struct TFoundStyleMaterial {
  TSkinControlMaterial* Material = nullptr;
  QString ControlTypeName;
};

class TControlTypeRegManager : public TObject {
 public:
  TControlTypeRegManager();
  ~TControlTypeRegManager() override;

  TControlClassifyRegList* ControlClassifyRegList() const { return FControlClassifyRegList.get(); }

  TControlClassifyReg* Find(const QString& AControlClassify) const;
  int FindControlClassifyRegIndex(const QString& AControlClassify) const;
  // The existing record, or a new one appended.
  TControlClassifyReg* CreateControlTypeClassifyReg(const QString& AControlClassify);
  int FindControlTypeRegIndexByControlTypeNameInClassifyReg(const TControlClassifyReg* AControlTypeClassifyReg,
                                                            const QString& AControlTypeName) const;
  TControlTypeReg* FindControlTypeClassRegByControlTypeName(const QString& AControlClassify,
                                                            const QString& AControlTypeName) const;
  // The null class when the classification or the name is not registered.
  TControlTypeClass FindControlTypeClassByControlTypeName(const QString& AControlClassify,
                                                          const QString& AControlTypeName) const;
  TMaterialClass FindMaterialClassByControlTypeName(const QString& AControlClassify,
                                                    const QString& AControlTypeName) const;
  // The default registration's type name, or empty.
  QString FindDefaultControlTypeName(const QString& AControlClassify) const;
  // The first material of the style list, tried against each registration
  // of the classification in turn, that is of the registration's material
  // class (or derived from it) and whose style name, one of its aliases or
  // its component name equals AStyleName ignoring letter case. Nothing for
  // a classification without registrations, whatever the style list holds.
  TFoundStyleMaterial FindMaterialByStyleName(const QString& AControlClassify, const QString& AStyleName) const;

  // Appends a registration (a repeated pair too: lookups keep finding the
  // first); AIsDefault makes it the classification's default.
  TControlTypeReg* RegisterControlType(const QString& AControlClassify, TControlTypeClass AControlTypeClass,
                                       TMaterialClass AMaterialClass, const QString& ADescription, bool AIsDefault,
                                       const QString& AControlTypeName);

 private:
  std::unique_ptr<TControlClassifyRegList> FControlClassifyRegList;
};

// The registry of the process, made on first use.
TControlTypeRegManager& GlobalControlTypeRegManager();

// RegisterControlType on the process's registry.
TControlTypeReg* RegisterControlType(const QString& AControlClassify, TControlTypeClass AControlTypeClass,
                                     TMaterialClass AMaterialClass, const QString& ADescription, bool AIsDefault,
                                     const QString& AControlTypeName);

// FindMaterialByStyleName on the process's registry.
TFoundStyleMaterial FindMaterialByStyleName(const QString& AControlClassify, const QString& AStyleName);

namespace ostrel::skin {

// What the families bring at start-up: their rows go into the registry at
// once, in call order; the classes stored forms create are collected and
// registered with the host together, non-visual components first, then
// control classes, then material classes.
class SkinLibraryRegistration {
 public:
  template <class TType, class TMaterial>
  void ControlType(const QString& AControlClassify, const QString& AControlTypeName, bool AIsDefault) {
    RegisterControlType(AControlClassify, TControlTypeClass::Of<TType>(), TMaterialClass::Of<TMaterial>(), QString(),
                        AIsDefault, AControlTypeName);
  }
  template <class T>
  void NonVisualComponent() {
    FNonVisual.push_back(&ostrel::host::RegisterClass<T>);
  }
  template <class T>
  void ControlClass() {
    FControls.push_back(&ostrel::host::RegisterClass<T>);
  }
  template <class T>
  void MaterialClass() {
    FMaterials.push_back(&ostrel::host::RegisterClass<T>);
  }

  void RegisterHostClasses() const;

 private:
  std::vector<void (*)()> FNonVisual;
  std::vector<void (*)()> FControls;
  std::vector<void (*)()> FMaterials;
};

using SkinFamilyRegistrar = void (*)(SkinLibraryRegistration& AReg);

// Runs each registrar that has not run in this process yet, in the given
// order, then registers the classes they named with the host. Families
// started once stay registered; nothing removes a registration.
void StartSkinLibrary(std::initializer_list<SkinFamilyRegistrar> AFamilies);

// The core's own row: "ProcessNativeControlModalShowPanel" / "Default" with
// the base control type and the base control material.
void RegisterSkinCoreFamily(SkinLibraryRegistration& AReg);

}  // namespace ostrel::skin
