#pragma once
// Class references and a factory by class name for families of library
// classes that are not components (control types, say): what a class variable
// with a virtual constructor gives. A reference names its class, creates
// instances through the family's one constructor signature and tells whether
// an object is of exactly that class or of it or a class derived from it.
// Components go through ClassRegistry, which stored forms read with.

#include "skin/host/ClassRegistry.h"

#include <QHash>
#include <QString>

#include <concepts>
#include <memory>
#include <typeinfo>
#include <utility>

namespace ostrel::host {

template <class TBase, class... TArgs>
class ClassRef {
 public:
  // The null reference: no class.
  ClassRef() = default;

  template <class T>
    requires std::derived_from<T, TBase> && std::constructible_from<T, TArgs...>
  static ClassRef Of() {
    static const Info info{&typeid(T), [](TArgs... AArgs) -> std::unique_ptr<TBase> {
                             return std::make_unique<T>(std::forward<TArgs>(AArgs)...);
                           },
                           [](const TBase* AObject) { return dynamic_cast<const T*>(AObject) != nullptr; }};
    return ClassRef(&info);
  }

  explicit operator bool() const { return FInfo != nullptr; }

  // The plain class name ("TSkinButtonDefaultType"); empty for the null reference.
  QString ClassName() const { return FInfo != nullptr ? ClassNameOf(*FInfo->Type) : QString(); }

  // A new instance the caller owns; none from the null reference. A family
  // whose constructor takes a component owner is created without one and then
  // handed to its owner, so the object never has two.
  std::unique_ptr<TBase> Create(TArgs... AArgs) const {
    return FInfo != nullptr ? FInfo->Create(std::forward<TArgs>(AArgs)...) : nullptr;
  }

  // AObject is of exactly this class (class identity, not inheritance).
  bool IsClassOf(const TBase* AObject) const {
    return FInfo != nullptr && AObject != nullptr && typeid(*AObject) == *FInfo->Type;
  }
  // AObject is of this class or of one derived from it.
  bool IsInstance(const TBase* AObject) const {
    return FInfo != nullptr && AObject != nullptr && FInfo->IsInstance(AObject);
  }

  friend bool operator==(const ClassRef& A, const ClassRef& B) {
    if (A.FInfo == nullptr || B.FInfo == nullptr) return A.FInfo == B.FInfo;
    return *A.FInfo->Type == *B.FInfo->Type;
  }

 private:
  struct Info {
    const std::type_info* Type;
    std::unique_ptr<TBase> (*Create)(TArgs...);
    bool (*IsInstance)(const TBase*);
  };

  explicit ClassRef(const Info* AInfo) : FInfo(AInfo) {}

  const Info* FInfo = nullptr;
};

// The classes of one family by name. Names compare case-insensitively, as
// class names in stored forms and documents do; registering a name again
// replaces its class. The object that needs the family (the control type
// registry, say) owns its factory.
template <class TBase, class... TArgs>
class ClassFactory {
 public:
  using Ref = ClassRef<TBase, TArgs...>;

  template <class T>
  Ref Register() {
    const Ref ref = Ref::template Of<T>();
    FClasses.insert(ref.ClassName().toLower(), ref);
    return ref;
  }

  // The null reference for an unknown name.
  Ref Find(const QString& AClassName) const { return FClasses.value(AClassName.toLower()); }
  bool Contains(const QString& AClassName) const { return FClasses.contains(AClassName.toLower()); }

  // None for an unknown name.
  std::unique_ptr<TBase> Create(const QString& AClassName, TArgs... AArgs) const {
    return Find(AClassName).Create(std::forward<TArgs>(AArgs)...);
  }

 private:
  QHash<QString, Ref> FClasses;
};

}  // namespace ostrel::host
