#pragma once
// The process-wide registry of component classes that stored forms may name:
// a class name maps to a function that constructs an instance for an owner,
// so a reader can create any registered class from its name alone.

#include "skin/host/Component.h"

#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <typeinfo>

namespace ostrel::host {

class ClassRegistry {
 public:
  // Creates an instance owned by AOwner; with a null owner the caller owns it.
  using Factory = std::function<TComponent*(TComponent* AOwner)>;

  static ClassRegistry& Instance();

  // Registering a name again replaces its factory.
  void Register(const QString& AClassName, Factory AFactory);
  bool Contains(const QString& AClassName) const;
  // Empty when the name is unknown. Class names compare case-insensitively, as
  // identifiers in stored forms do.
  Factory Find(const QString& AClassName) const;

  // A fresh instance nobody owns; null for an unknown name.
  std::unique_ptr<TComponent> CreateUnowned(const QString& AClassName) const;

 private:
  ClassRegistry() = default;
  QHash<QString, std::pair<QString, Factory>> FClasses;  // key: lower-cased name
};

// The name TObject::ClassName() gives instances of AType.
QString ClassNameOf(const std::type_info& AType);

// Registers T under its own class name ("TFloatAnimation"), the name the
// writer puts into stored forms.
template <class T>
void RegisterClass() {
  static_assert(std::is_base_of_v<TComponent, T>, "only components are created from stored forms");
  ClassRegistry::Instance().Register(ClassNameOf(typeid(T)),
                                     [](TComponent* AOwner) -> TComponent* { return new T(AOwner); });
}

}  // namespace ostrel::host
