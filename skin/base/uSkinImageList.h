#pragma once
// The image list: a non-visual component holding an ordered list of named
// draw pictures, which controls use by index or by image-list name. Forms
// store its pictures as one binary tree document, `PictureList.Data`. Every
// change of the list, and its destruction, reaches the draw pictures that use
// it through the links they register.

#include "skin/base/uBaseList.h"
#include "skin/base/uBinaryObjectList.h"
#include "skin/host/Component.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <span>

class TDrawPicture;

// The pictures of an image list: an owning list of draw pictures with a
// change manager.
class TDrawPictureList : public TBinaryObjectList {
  Q_OBJECT

 public:
  TDrawPictureList();
  ~TDrawPictureList() override;

  // An empty draw picture, whatever the class name.
  std::unique_ptr<TPersistent> CreateBinaryObject(const QString& AClassName) override;

  // None outside 0 .. Count - 1.
  TDrawPicture* GetItem(int Index) const;
  // The item for AName at the process's display scale (the drawing
  // settings' ScreenScale): see the overload.
  TDrawPicture* GetItemByName(const QString& AName) const;
  // The first item (in list order) whose image-list name is AName followed
  // by "@Kx", for K from the scale rounded up down to 2, else the first named
  // AName itself; names compare exactly. At scale 1 only AName is tried. None
  // for an empty name or when nothing matches.
  TDrawPicture* GetItemByName(const QString& AName, double AScreenScale) const;

  // A new empty picture appended.
  TDrawPicture* Add();
  // Appends a picture decoded from the file; its index. A file that cannot be
  // opened raises and adds nothing; one that does not decode gives an empty
  // picture (logged).
  int AddPictureFile(const QString& APictureFile);
  // Appends an empty picture whose FileName is the file-name part of
  // AFileName; its index.
  int AddFileNameOnly(const QString& AFileName);
  // A picture decoded from the file takes the place of the item at Index,
  // which is freed. An index outside the list raises EListError, as does a
  // file that cannot be opened (the item then stays).
  void ReplacePictureFile(int Index, const QString& APictureFile);
  // Sets the item's FileName to the file-name part of AFileName; an index
  // outside the list raises EListError.
  void ReplaceFileNameOnly(int AIndex, const QString& AFileName);
  // AValue takes the place of the item at Index, which is freed.
  void SetItem(int Index, std::unique_ptr<TDrawPicture> AValue);
};

class TSkinBaseImageList : public TComponent {
  Q_OBJECT
  Q_PROPERTY(TDrawPictureList* PictureList READ PictureList WRITE SetPictureList)

 public:
  explicit TSkinBaseImageList(TComponent* AOwner = nullptr);
  // Tells the links that the list goes away, then frees the pictures.
  ~TSkinBaseImageList() override;

  int Count() const;
  // The item at AIndex, or none outside 0 .. Count - 1.
  TDrawPicture* GetItem(int AIndex) const;
  // The item the image-list name AName finds at the display scale, or none.
  TDrawPicture* GetItemByName(const QString& AName) const;

  // The owned pictures.
  TDrawPictureList* PictureList() const { return FPictureList.get(); }
  // Copies AValue's pictures into the owned list.
  void SetPictureList(const TDrawPictureList* AValue);

  void RegisterChanges(TSkinObjectChangeLink* ALink);
  void UnRegisterChanges(TSkinObjectChangeLink* ALink);
  TSkinObjectChangeManager* SkinObjectChangeManager() const { return FSkinObjectChangeManager.get(); }

 protected:
  // Tells every link that the list changed.
  void DoChange();
  // Tells every link that the list goes away; only the first call tells.
  void BeginDestroy();

 private:
  std::unique_ptr<TSkinObjectChangeManager> FSkinObjectChangeManager;
  std::unique_ptr<TDrawPictureList> FPictureList;
};

// The image list forms create.
class TSkinImageList : public TSkinBaseImageList {
  Q_OBJECT

 public:
  using TSkinBaseImageList::TSkinBaseImageList;
  ~TSkinImageList() override;
};

namespace ostrel::skin {

// One picture file for an image list, and the image-list name it goes by.
struct NamedPictureFile {
  QString ImageName;
  QString FilePath;
};

// The stored data (`PictureList.Data`) of an image list holding the given
// pictures in order, each under its image-list name (which is also the
// picture's own name). Raises when a file cannot be opened or holds no
// picture, so a build never stores an empty item unnoticed.
QByteArray BuildImageListData(std::span<const NamedPictureFile> APictures);

}  // namespace ostrel::skin
