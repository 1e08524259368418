#include "skin/base/uSkinRegManager.h"

#include <algorithm>

namespace {

bool EqualsIgnoringAsciiCase(const QString& A, const QString& B) {
  if (A.size() != B.size()) return false;
  for (qsizetype i = 0; i < A.size(); ++i) {
    char16_t a = A[i].unicode();
    char16_t b = B[i].unicode();
    if (a >= u'A' && a <= u'Z') a = static_cast<char16_t>(a + 32);
    if (b >= u'A' && b <= u'Z') b = static_cast<char16_t>(b + 32);
    if (a != b) return false;
  }
  return true;
}

}  // namespace

// --- records -----------------------------------------------------------------------

TControlTypeReg::TControlTypeReg(bool AIsDefault, const QString& AControlTypeName, const QString& ADescription,
                                 TControlTypeClass AControlTypeClass, TMaterialClass AMaterialClass)
    : FIsDefault(AIsDefault),
      FControlTypeName(AControlTypeName),
      FDescription(ADescription),
      FControlTypeClass(AControlTypeClass),
      FMaterialClass(AMaterialClass) {}

TControlTypeReg::~TControlTypeReg() = default;

TControlTypeRegList::TControlTypeRegList() : TBaseList(TObjectOwnership::ooOwned, true) {}

TControlTypeRegList::~TControlTypeRegList() = default;

TControlClassifyReg::TControlClassifyReg(const QString& AControlClassify)
    : FControlClassify(AControlClassify), FControlTypeRegList(std::make_unique<TControlTypeRegList>()) {}

TControlClassifyReg::~TControlClassifyReg() = default;

TControlClassifyRegList::TControlClassifyRegList() : TBaseList(TObjectOwnership::ooOwned, true) {}

TControlClassifyRegList::~TControlClassifyRegList() = default;

// --- the registry ------------------------------------------------------------------------

TControlTypeRegManager::TControlTypeRegManager() : FControlClassifyRegList(std::make_unique<TControlClassifyRegList>()) {}

TControlTypeRegManager::~TControlTypeRegManager() = default;

TControlClassifyReg* TControlTypeRegManager::Find(const QString& AControlClassify) const {
  const int index = FindControlClassifyRegIndex(AControlClassify);
  return index >= 0 ? FControlClassifyRegList->Items(index) : nullptr;
}

int TControlTypeRegManager::FindControlClassifyRegIndex(const QString& AControlClassify) const {
  for (int i = 0; i < FControlClassifyRegList->Count(); ++i) {
    if (FControlClassifyRegList->Items(i)->ControlClassify() == AControlClassify) return i;
  }
  return -1;
}

TControlClassifyReg* TControlTypeRegManager::CreateControlTypeClassifyReg(const QString& AControlClassify) {
  if (TControlClassifyReg* existing = Find(AControlClassify)) return existing;
  auto record = std::make_unique<TControlClassifyReg>(AControlClassify);
  TControlClassifyReg* const result = record.get();
  FControlClassifyRegList->AddOwned(std::move(record));
  return result;
}

int TControlTypeRegManager::FindControlTypeRegIndexByControlTypeNameInClassifyReg(
    const TControlClassifyReg* AControlTypeClassifyReg, const QString& AControlTypeName) const {
  if (AControlTypeClassifyReg == nullptr) return -1;
  const TControlTypeRegList& list = *AControlTypeClassifyReg->ControlTypeRegList();
  for (int i = 0; i < list.Count(); ++i) {
    if (list.Items(i)->ControlTypeName() == AControlTypeName) return i;
  }
  return -1;
}

TControlTypeReg* TControlTypeRegManager::FindControlTypeClassRegByControlTypeName(
    const QString& AControlClassify, const QString& AControlTypeName) const {
  const TControlClassifyReg* classify = Find(AControlClassify);
  const int index = FindControlTypeRegIndexByControlTypeNameInClassifyReg(classify, AControlTypeName);
  return index >= 0 ? classify->ControlTypeRegList()->Items(index) : nullptr;
}

TControlTypeClass TControlTypeRegManager::FindControlTypeClassByControlTypeName(const QString& AControlClassify,
                                                                               const QString& AControlTypeName) const {
  const TControlTypeReg* reg = FindControlTypeClassRegByControlTypeName(AControlClassify, AControlTypeName);
  return reg != nullptr ? reg->ControlTypeClass() : TControlTypeClass();
}

TMaterialClass TControlTypeRegManager::FindMaterialClassByControlTypeName(const QString& AControlClassify,
                                                                         const QString& AControlTypeName) const {
  const TControlTypeReg* reg = FindControlTypeClassRegByControlTypeName(AControlClassify, AControlTypeName);
  return reg != nullptr ? reg->MaterialClass() : TMaterialClass();
}

QString TControlTypeRegManager::FindDefaultControlTypeName(const QString& AControlClassify) const {
  const TControlClassifyReg* classify = Find(AControlClassify);
  if (classify == nullptr || classify->DefaultControlTypeReg() == nullptr) return QString();
  return classify->DefaultControlTypeReg()->ControlTypeName();
}

TFoundStyleMaterial TControlTypeRegManager::FindMaterialByStyleName(const QString& AControlClassify,
                                                                    const QString& AStyleName) const {
  const TControlClassifyReg* classify = Find(AControlClassify);
  if (classify == nullptr) return {};
  const TControlTypeRegList& regs = *classify->ControlTypeRegList();
  const TBaseList& styles = ostrel::skin::GlobalSkinMaterialStyleList();
  for (int m = 0; m < styles.Count(); ++m) {
    auto* material = styles.GetItemAs<TSkinControlMaterial>(m);
    if (material == nullptr) continue;
    for (int r = 0; r < regs.Count(); ++r) {
      const TControlTypeReg* reg = regs.Items(r);
      if (!reg->MaterialClass().IsInstance(material)) continue;
      if (EqualsIgnoringAsciiCase(material->StyleName(), AStyleName) ||
          material->StyleNameAliases().contains(AStyleName, Qt::CaseInsensitive) ||
          EqualsIgnoringAsciiCase(material->Name(), AStyleName)) {
        return {material, reg->ControlTypeName()};
      }
    }
  }
  return {};
}

TControlTypeReg* TControlTypeRegManager::RegisterControlType(const QString& AControlClassify,
                                                              TControlTypeClass AControlTypeClass,
                                                              TMaterialClass AMaterialClass, const QString& ADescription,
                                                              bool AIsDefault, const QString& AControlTypeName) {
  TControlClassifyReg* classify = CreateControlTypeClassifyReg(AControlClassify);
  auto reg = std::make_unique<TControlTypeReg>(AIsDefault, AControlTypeName, ADescription, AControlTypeClass,
                                               AMaterialClass);
  TControlTypeReg* const result = reg.get();
  classify->ControlTypeRegList()->AddOwned(std::move(reg));
  if (AIsDefault) classify->SetDefaultControlTypeReg(result);
  return result;
}

TControlTypeRegManager& GlobalControlTypeRegManager() {
  static TControlTypeRegManager manager;
  return manager;
}

TControlTypeReg* RegisterControlType(const QString& AControlClassify, TControlTypeClass AControlTypeClass,
                                     TMaterialClass AMaterialClass, const QString& ADescription, bool AIsDefault,
                                     const QString& AControlTypeName) {
  return GlobalControlTypeRegManager().RegisterControlType(AControlClassify, AControlTypeClass, AMaterialClass,
                                                           ADescription, AIsDefault, AControlTypeName);
}

TFoundStyleMaterial FindMaterialByStyleName(const QString& AControlClassify, const QString& AStyleName) {
  return GlobalControlTypeRegManager().FindMaterialByStyleName(AControlClassify, AStyleName);
}

// --- start-up -------------------------------------------------------------------------------

namespace ostrel::skin {

void SkinLibraryRegistration::RegisterHostClasses() const {
  for (const auto& list : {&FNonVisual, &FControls, &FMaterials}) {
    for (void (*registerClass)() : *list) registerClass();
  }
}

void StartSkinLibrary(std::initializer_list<SkinFamilyRegistrar> AFamilies) {
  static std::vector<SkinFamilyRegistrar> started;
  SkinLibraryRegistration registration;
  for (SkinFamilyRegistrar family : AFamilies) {
    if (family == nullptr || std::find(started.begin(), started.end(), family) != started.end()) continue;
    started.push_back(family);
    family(registration);
  }
  registration.RegisterHostClasses();
}

void RegisterSkinCoreFamily(SkinLibraryRegistration& AReg) {
  AReg.ControlType<TSkinControlType, TSkinControlMaterial>(QStringLiteral("ProcessNativeControlModalShowPanel"),
                                                           QStringLiteral("Default"), true);
}

}  // namespace ostrel::skin
