#pragma once
// The image list as draw pictures see it: a component whose items are found
// by index or by image-list name, and whose change manager tells the draw
// pictures that use it about changes and about its destruction. The list of
// items itself, its storage in forms and the name lookup with its display
// scale variants belong to the concrete list.

#include "skin/base/uBaseList.h"
#include "skin/host/Component.h"

#include <QString>

#include <memory>

class TDrawPicture;

class TSkinBaseImageList : public TComponent {
  Q_OBJECT

 public:
  explicit TSkinBaseImageList(TComponent* AOwner = nullptr);
  // Tells the links of the list's destruction, unless a subclass did so already.
  ~TSkinBaseImageList() override;

  virtual int Count() const = 0;
  // The item at AIndex, or none outside 0 .. Count - 1.
  virtual TDrawPicture* GetItem(int AIndex) const = 0;
  // The item the image-list name AName finds, or none.
  virtual TDrawPicture* GetItemByName(const QString& AName) const = 0;

  void RegisterChanges(TSkinObjectChangeLink* ALink);
  void UnRegisterChanges(TSkinObjectChangeLink* ALink);
  TSkinObjectChangeManager* SkinObjectChangeManager() const { return FSkinObjectChangeManager.get(); }

 protected:
  // Tells every link that the list changed.
  void DoChange();
  // Tells every link that the list goes away. A subclass whose items die
  // before this base's destructor runs calls it first in its own destructor,
  // so links never reach a half-destroyed list.
  void BeginDestroy();

 private:
  std::unique_ptr<TSkinObjectChangeManager> FSkinObjectChangeManager;
};
