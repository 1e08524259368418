#pragma once
// A list of objects that store themselves in class nodes of a binary tree
// document. Forms store such a list as its binary property "Data": one
// document whose root holds a class node per object, in list order.
//
// The list makes its objects (CreateBinaryObject, which a subclass provides)
// and owns them.

#include "skin/base/uBaseList.h"
#include "skin/host/PropertyTypes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class TBTNode20;

class TBinaryObjectList : public TBaseList, public IBinaryProperties {
  Q_OBJECT

 public:
  explicit TBinaryObjectList(bool AIsCreateObjectChangeManager = true);
  ~TBinaryObjectList() override;

  // A new, empty object for a stored class name. This base has none to make
  // and raises "Have Not Implement TBinaryObjectList.CreateBinaryObject".
  virtual std::unique_ptr<TPersistent> CreateBinaryObject(const QString& AClassName);
  // The name of the class node each object is stored in.
  virtual QString GetBinaryObjectNodeName() const;
  // Appends, inside one update bracket, an object for each class node among
  // the children of ADocNode, each loaded from its node. Children that are
  // not class nodes hold no object and are passed over.
  virtual void LoadFromDocNode(TBTNode20* ADocNode);
  // Adds a class node per item to ADocNode, in list order; an item that
  // stores itself and may (CanSaveToDocNode) fills its node.
  virtual void SaveToDocNode(TBTNode20* ADocNode) const;
  virtual bool CanSaveToDocNode(const TObject* AObject) const;

  using TBaseList::Add;
  using TBaseList::Insert;
  // A new object of CreateBinaryObject("") appended.
  TPersistent* Add() { return AddBinaryObject(); }
  TPersistent* AddBinaryObject();
  // A new object of CreateBinaryObject("") inserted at Index (0 .. Count).
  TPersistent* Insert(int Index);
  // None outside 0 .. Count - 1.
  TPersistent* GetItem(int Index) const;
  // Value takes the place of the item at Index, which is freed.
  void SetItem(int Index, std::unique_ptr<TPersistent> Value);

  // The whole list as a stored document, and back. Reading checks the whole
  // document first: bytes that are no document raise (EBinaryTreeDocError)
  // and leave the list as it was. Empty bytes empty the list.
  QByteArray SaveToBytes() const;
  void LoadFromBytes(const QByteArray& AData);
  // Reads a document file; AIsNeedClear empties the list first, otherwise the
  // file's objects are appended. A file that cannot be opened raises.
  void LoadFromFile(const QString& AFilePath, bool AIsNeedClear);
  // Writes the list as a document file. A failure is swallowed (false).
  bool SaveToFile(const QString& AFilePath) const;

  // From another binary object list: the items are replaced by new objects of
  // this list's own kind that copy the source's, in one update bracket. Any
  // other source leaves the list unchanged.
  void Assign(const TPersistent* ASource) override;

  // The binary property "Data", always stored.
  QStringList BinaryPropertyNames() const override;
  void ReadBinaryProperty(const QString& AName, const QByteArray& AData) override;
  std::optional<QByteArray> WriteBinaryProperty(const QString& AName) const override;

 protected:
  // Raises the list's index error unless 0 <= AIndex <= ALast.
  void CheckItemIndex(int AIndex, int ALast) const;
};
