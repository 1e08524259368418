#pragma once
// Event properties that a stored form binds by name: "OnClick = ButtonClick"
// names a Q_INVOKABLE method of the form, which the component then calls
// through a std::function. The handler name is kept so a writer can store it back.

#include "skin/host/Persistent.h"
#include "skin/host/Types.h"

#include <QMetaMethod>
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, float X, float Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, float X, float Y)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, bool& Handled)>;

// The object whose method handles an event, and that method's name.
struct TEventHandlerRef {
  QObject* Target = nullptr;
  QString MethodName;
};

// Raised when a handler name does not match a method of the right signature.
class EEventBindError : public Exception {
 public:
  using Exception::Exception;
};

// Implemented by every component that has event properties; the form reader
// and writer find it with dynamic_cast.
class IEventProperties {
 public:
  // Event names in stored order.
  virtual QStringList EventNames() const = 0;
  // False when the component has no event AEvent; EEventBindError when the
  // target lacks a fitting method. An empty method name unbinds the event.
  virtual bool SetEventHandler(const QString& AEvent, const TEventHandlerRef& AHandler) = 0;
  // The bound method's name; empty when unbound or when code set the handler.
  virtual QString EventHandlerName(const QString& AEvent) const = 0;

 protected:
  ~IEventProperties() = default;
};

namespace ostrel::host {

// True when parameter AIndex of AMethod takes A; a non-const reference
// parameter (a var result such as Handled) is matched by its referred type.
template <class A>
bool ParameterFits(const QMetaMethod& AMethod, int AIndex) {
  using Plain = std::remove_cvref_t<A>;
  if constexpr (std::is_lvalue_reference_v<A> && !std::is_const_v<std::remove_reference_t<A>>) {
    QByteArray name = AMethod.parameterTypeName(AIndex);
    if (!name.endsWith('&')) return false;
    name.chop(1);
    return QMetaType::fromName(name) == QMetaType::fromType<Plain>();
  } else {
    return AMethod.parameterMetaType(AIndex) == QMetaType::fromType<Plain>();
  }
}

// Finds AName among AObject's invokable methods whose parameters are exactly
// Args; -1 when there is none.
template <class... Args>
int FindHandlerMethod(const QObject& AObject, const QString& AName) {
  const QMetaObject* meta = AObject.metaObject();
  const QByteArray name = AName.toUtf8();
  for (int i = meta->methodCount() - 1; i >= 0; --i) {
    const QMetaMethod method = meta->method(i);
    if (method.name() != name || method.methodType() == QMetaMethod::Signal) continue;
    if (method.parameterCount() != static_cast<int>(sizeof...(Args))) continue;
    int p = 0;
    if ((ParameterFits<Args>(method, p++) && ...)) return i;
  }
  return -1;
}

// A component's table of event properties: each entry knows its std::function
// field and how to bind it to a named method.
class TEventTable {
 public:
  TEventTable() = default;
  // Entries refer to fields of the component that holds the table.
  TEventTable(const TEventTable&) = delete;
  TEventTable& operator=(const TEventTable&) = delete;

  template <class... Args>
  void Add(const QString& AEvent, std::function<void(Args...)>& AField) {
    auto bind = [&AField](const TEventHandlerRef& AHandler, const QString& AEventName) {
      if (AHandler.MethodName.isEmpty()) {
        AField = nullptr;
        return;
      }
      if (AHandler.Target == nullptr) {
        throw EEventBindError(QStringLiteral("No handler object for %1 = %2").arg(AEventName, AHandler.MethodName));
      }
      const int index = FindHandlerMethod<Args...>(*AHandler.Target, AHandler.MethodName);
      if (index < 0) {
        throw EEventBindError(QStringLiteral("%1 has no method %2 fitting %3")
                                  .arg(QString::fromLatin1(AHandler.Target->metaObject()->className()),
                                       AHandler.MethodName, AEventName));
      }
      AField = [target = QPointer<QObject>(AHandler.Target), index](Args... AArgs) {
        if (target.isNull()) return;
        void* argv[] = {nullptr, const_cast<void*>(static_cast<const void*>(&AArgs))...};
        QMetaObject::metacall(target.data(), QMetaObject::InvokeMetaMethod, index, argv);
      };
    };
    FEntries.push_back(Entry{AEvent, QString(), std::move(bind)});
  }

  QStringList Names() const {
    QStringList names;
    for (const Entry& e : FEntries) names.append(e.Event);
    return names;
  }

  bool Bind(const QString& AEvent, const TEventHandlerRef& AHandler) {
    Entry* entry = Find(AEvent);
    if (entry == nullptr) return false;
    entry->Bind(AHandler, entry->Event);
    entry->HandlerName = AHandler.MethodName;
    return true;
  }

  QString HandlerName(const QString& AEvent) const {
    const Entry* entry = const_cast<TEventTable*>(this)->Find(AEvent);
    return entry != nullptr ? entry->HandlerName : QString();
  }

  // A handler set from code has no name to store.
  void Forget(const QString& AEvent) {
    if (Entry* entry = Find(AEvent)) entry->HandlerName.clear();
  }

 private:
  struct Entry {
    QString Event;
    QString HandlerName;
    std::function<void(const TEventHandlerRef&, const QString&)> Bind;
  };

  Entry* Find(const QString& AEvent) {
    for (Entry& e : FEntries) {
      if (e.Event.compare(AEvent, Qt::CaseInsensitive) == 0) return &e;
    }
    return nullptr;
  }

  std::vector<Entry> FEntries;
};

}  // namespace ostrel::host
