#pragma once
// TComponent: a named persistent object with an owner. The owner is the
// component's Qt parent and frees it; a component may ask to be told when
// another one goes away (FreeNotification), and learns it through
// Notification(AComponent, opRemove) while the dying component's TComponent
// part (Name, Owner, ComponentState) is still whole.

#include "skin/host/Persistent.h"
#include "skin/host/Set.h"

#include <QList>
#include <QString>

#include <cstdint>

enum class TOperation : std::uint8_t { opInsert, opRemove };

enum class TComponentStateItem : std::uint8_t {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
};
using TComponentState = TSet<TComponentStateItem>;

enum class TComponentStyleItem : std::uint8_t { csInheritable, csCheckPropAvail, csSubComponent };
using TComponentStyle = TSet<TComponentStyleItem>;

// Raised for invalid or duplicate component names.
class EComponentError : public Exception {
 public:
  using Exception::Exception;
};

class TComponent : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(QString Name READ Name WRITE SetName)
  Q_PROPERTY(qint64 Tag READ Tag WRITE SetTag)

 public:
  // With an owner, the owner frees this component (it becomes its Qt parent)
  // and is told through Notification(opInsert / opRemove) when it arrives and leaves.
  explicit TComponent(TComponent* AOwner = nullptr);
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  const QList<TComponent*>& Components() const { return FComponents; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  int ComponentIndex() const;
  TComponent* FindComponent(const QString& AName) const;

  QString Name() const { return FName; }
  void SetName(const QString& AName);

  qint64 Tag() const { return FTag; }
  void SetTag(qint64 AValue) { FTag = AValue; }

  TComponentState ComponentState() const { return FComponentState; }
  TComponentStyle ComponentStyle() const { return FComponentStyle; }
  bool IsLoading() const { return FComponentState.Contains(TComponentStateItem::csLoading); }
  bool IsDestroying() const { return FComponentState.Contains(TComponentStateItem::csDestroying); }

  // Form reading sets csLoading and csReading on every component it creates
  // and calls Loaded on each once all are read.
  void SetLoading(bool AValue);
  void SetReading(bool AValue);
  void SetDesigning(bool AValue, bool ASetChildren = true);
  virtual void Loaded();

  // A sub-component is an owned object streamed as part of its owner.
  void SetSubComponent(bool AIsSubComponent);
  bool IsSubComponent() const { return FComponentStyle.Contains(TComponentStyleItem::csSubComponent); }

  // Both components are told of each other's destruction.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Frees the owned components, last first, each removed before it dies.
  void DestroyComponents();

  // The component that encloses this one in a stored form (a control's parent
  // control); the form reader sets it for every nested object block.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* AParent);

  // Hand-over of ownership: RemoveComponent on the old owner, then
  // InsertComponent on the new one, which becomes the Qt parent. Form reading
  // builds into a staging owner and hands the result over this way.
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);

 protected:
  // Called when AComponent is inserted into or removed from this component's
  // owner tree, or when a component this one asked about is being freed. A
  // component being freed has lost its derived parts already (C++ destroys
  // them before TComponent's destructor sends this): compare its address and
  // read at most its TComponent part, never cast it or call into it.
  virtual void Notification(TComponent* AComponent, TOperation AOperation);
  // First step of destruction: marks csDestroying on this component and its owned ones.
  virtual void Destroying();

 private:
  void NotifyOwnedOf(TComponent* AComponent, TOperation AOperation);
  void RemoveNotification(TComponent* AComponent);
  void ValidateRename(const QString& ANewName) const;

  TComponent* FOwner = nullptr;
  QList<TComponent*> FComponents;
  QList<TComponent*> FFreeNotifies;
  QString FName;
  qint64 FTag = 0;
  TComponentState FComponentState;
  TComponentStyle FComponentStyle = {TComponentStyleItem::csInheritable};
};

namespace ostrel::host {

// A component's reference to another one it does not own (a control's
// action, a form's style book), kept right through the other's life: the
// watcher is told when the other is freed and Removed, called from its
// Notification, then drops the reference. The reference is held and compared
// as a TComponent*, the one view of a component that stays valid while it is
// being destroyed.
template <class T>
class WatchedComponent {
 public:
  explicit WatchedComponent(TComponent& AWatcher) : FWatcher(AWatcher) {}
  WatchedComponent(const WatchedComponent&) = delete;
  WatchedComponent& operator=(const WatchedComponent&) = delete;

  T* Get() const { return static_cast<T*>(FTarget); }
  void Set(T* AValue) {
    TComponent* const value = AValue;
    if (value == FTarget) return;
    if (FTarget != nullptr) FTarget->RemoveFreeNotification(&FWatcher);
    FTarget = value;
    if (FTarget != nullptr) FTarget->FreeNotification(&FWatcher);
  }
  // True when AComponent was the watched one and is being freed; the
  // reference is gone then. One that only changed owners stays watched.
  bool Removed(TComponent* AComponent, TOperation AOperation) {
    if (AOperation != TOperation::opRemove || AComponent == nullptr || AComponent != FTarget) return false;
    if (!AComponent->IsDestroying()) {
      AComponent->FreeNotification(&FWatcher);
      return false;
    }
    FTarget = nullptr;
    return true;
  }

 private:
  TComponent& FWatcher;
  TComponent* FTarget = nullptr;
};

}  // namespace ostrel::host
