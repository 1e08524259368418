#pragma once
// Root classes of the library's object model: TObject (run-time class name),
// TPersistent (the Assign / AssignTo copy protocol, published properties
// through Qt's meta-object system) and TInterfacedPersistent.

#include <QObject>
#include <QString>

#include <functional>
#include <stdexcept>
#include <string>

// Every library object answers its class name; stored forms and error texts
// use it, so it is the plain C++ class name without namespaces ("TDrawRectParam").
class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject();

  QString ClassName() const;
};

// The handler type of plain notify events (OnChange, OnDestroy, ...).
using TNotifyEvent = std::function<void(TObject* Sender)>;

// Base of every error the library raises on misuse; the message is the text
// a caller shows or logs.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const QString& AMessage);
  QString Message() const { return QString::fromUtf8(what()); }
};

// Raised when Assign is asked to copy between classes that do not know each other.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

class TPersistent : public QObject, public TObject {
  Q_OBJECT

 public:
  TPersistent() = default;
  ~TPersistent() override;

  // Copies ASource into this object. A class that knows ASource's class
  // overrides Assign and copies; otherwise ASource's AssignTo gets the chance
  // to copy itself into this one, and when neither knows the other an
  // EConvertError names both classes.
  virtual void Assign(const TPersistent* ASource);

 protected:
  virtual void AssignTo(TPersistent* ADest) const;
  [[noreturn]] void AssignError(const TPersistent* ASource) const;
};

// A persistent object that can be asked for interfaces (dynamic_cast here) and
// whose lifetime belongs to its owner, never to reference counts.
class TInterfacedPersistent : public TPersistent {
  Q_OBJECT

 public:
  TInterfacedPersistent() = default;
  ~TInterfacedPersistent() override;
};

// True when AObject implements interface I; AIntf then refers to it.
template <class I, class T>
bool Supports(T* AObject, I*& AIntf) {
  AIntf = dynamic_cast<I*>(AObject);
  return AIntf != nullptr;
}
