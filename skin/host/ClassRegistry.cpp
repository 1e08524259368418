#include "skin/host/ClassRegistry.h"

#include <cxxabi.h>

#include <cstdlib>

namespace ostrel::host {

QString ClassNameOf(const std::type_info& AType) {
  int status = 0;
  const std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(AType.name(), nullptr, nullptr, &status),
                                                         std::free);
  const QString full = QString::fromLatin1(status == 0 && demangled ? demangled.get() : AType.name());
  const qsizetype cut = full.lastIndexOf(QStringLiteral("::"));
  return cut < 0 ? full : full.mid(cut + 2);
}

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
