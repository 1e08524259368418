#include "skin/host/Persistent.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

TObject::~TObject() = default;

QString TObject::ClassName() const {
  const char* mangled = typeid(*this).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> demangled(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
  const QString full = QString::fromLatin1(status == 0 && demangled ? demangled.get() : mangled);
  // Stored forms and messages name the class alone, without its namespace.
  const qsizetype cut = full.lastIndexOf(QStringLiteral("::"));
  return cut < 0 ? full : full.mid(cut + 2);
}

Exception::Exception(const QString& AMessage) : std::runtime_error(AMessage.toStdString()) {}

TPersistent::~TPersistent() = default;

void TPersistent::Assign(const TPersistent* ASource) {
  if (ASource != nullptr) {
    ASource->AssignTo(this);
    return;
  }
  AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* ADest) const { ADest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* ASource) const {
  const QString sourceName = ASource != nullptr ? ASource->ClassName() : QStringLiteral("nil");
  throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2.").arg(sourceName, ClassName()));
}

TInterfacedPersistent::~TInterfacedPersistent() = default;
