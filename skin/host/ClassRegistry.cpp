#include "skin/host/ClassRegistry.h"

namespace ostrel::host {

ClassRegistry& ClassRegistry::Instance() {
  static ClassRegistry registry;
  return registry;
}

void ClassRegistry::Register(const QString& AClassName, Factory AFactory) {
  FClasses.insert(AClassName.toLower(), {AClassName, std::move(AFactory)});
}

bool ClassRegistry::Contains(const QString& AClassName) const { return FClasses.contains(AClassName.toLower()); }

ClassRegistry::Factory ClassRegistry::Find(const QString& AClassName) const {
  const auto it = FClasses.constFind(AClassName.toLower());
  return it == FClasses.cend() ? Factory() : it->second;
}

std::unique_ptr<TComponent> ClassRegistry::CreateUnowned(const QString& AClassName) const {
  const Factory factory = Find(AClassName);
  return factory ? std::unique_ptr<TComponent>(factory(nullptr)) : nullptr;
}

}  // namespace ostrel::host
