#pragma once
// The binary tree document: a small tree of typed, named nodes kept in one
// little-endian byte buffer. Image lists store their pictures in it; materials,
// drawing parameters and pictures persist themselves into its class nodes.
//
// Ownership: a document owns its root, every node owns its child list and,
// through it, its children. Pointers handed out by the Add/Create/Find calls
// are views into the tree, valid while the node stays in it.

#include "skin/host/Persistent.h"
#include "skin/host/Types.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class QIODevice;
class TBTNode20;
class TBTNode20_Directory;
class TBTNode20_WideString;
class TBTNode20_Int32;
class TBTNode20_UInt8;
class TBTNode20_UInt32;
class TBTNode20_Real64;
class TBTNode20_DateTime;
class TBTNode20_Bool32;
class TBTNode20_Binary;
class TBTNode20_Class;
class TBTNode20_Color;

namespace ostrel::btdoc {
class DocReader;
}

// Raised for a faulty stored document ("无效文档", "无效版本号", "无效节点")
// and for misuse of the node API ("节点名称不能为空", "AOwnerNode can not nil").
class EBinaryTreeDocError : public Exception {
 public:
  using Exception::Exception;
};

// Objects that store themselves in a class node of a document.
class ISupportClassDocNode {
 public:
  virtual ~ISupportClassDocNode() = default;
  // Reads this object from the children of ADocNode; true when handled.
  virtual bool LoadFromDocNode(TBTNode20_Class* ADocNode) = 0;
  // Writes this object as children of ADocNode; true when handled.
  virtual bool SaveToDocNode(TBTNode20_Class* ADocNode) const = 0;
};

// Base of simple storable objects; answers true to both operations.
class TBinaryObject : public TInterfacedPersistent, public ISupportClassDocNode {
  Q_OBJECT

 public:
  TBinaryObject() = default;
  ~TBinaryObject() override;

  bool LoadFromDocNode(TBTNode20_Class* ADocNode) override;
  bool SaveToDocNode(TBTNode20_Class* ADocNode) const override;
};

// The children of one node, in order. The list owns its nodes.
class TBTNodeList20 : public TObject {
 public:
  // Raises "AOwnerNode can not nil" without an owner.
  explicit TBTNodeList20(TBTNode20* AOwnerNode);
  ~TBTNodeList20() override;

  // The node whose children these are.
  TBTNode20* OwnerNode() const { return FOwnerNode; }
  // Number of children.
  int Count() const { return static_cast<int>(FItems.size()); }
  // The child at Index; raises a list index error outside 0..Count-1.
  TBTNode20* GetItems(int Index) const;
  // Puts ANode at Index (it becomes a child of the owner) and hands back the node it replaces.
  std::unique_ptr<TBTNode20> SetItems(int Index, std::unique_ptr<TBTNode20> ANode);
  // Position of ANode among the children, or -1.
  int IndexOf(const TBTNode20* ANode) const;
  // Appends ANode and makes the owner its parent; when it is already a child, its index.
  int Add(std::unique_ptr<TBTNode20> ANode);
  // Inserts ANode at Index unless it is already a child.
  void Insert(int Index, std::unique_ptr<TBTNode20> ANode);
  // Takes ANode out, clears its parent and hands it back; null when it is not a child.
  std::unique_ptr<TBTNode20> Remove(TBTNode20* ANode);
  // Frees the child at Index with its whole subtree.
  void Delete(int Index);
  // Moves the child at ACurIndex to ANewIndex.
  void Move(int ACurIndex, int ANewIndex);
  // Frees every child, last first.
  void Clear();
  // The last child named exactly ANodeName, or null.
  TBTNode20* FindNodeByName(const QString& ANodeName) const;
  // The last child whose name starts with ALeftPartNodeName (case-sensitive), or null.
  TBTNode20* FindNodeByLeftPartName(const QString& ALeftPartNodeName) const;

  // Range-for over the children as TBTNode20*.
  class const_iterator {
   public:
    using Base = std::vector<std::unique_ptr<TBTNode20>>::const_iterator;
    explicit const_iterator(Base AIt) : FIt(AIt) {}
    TBTNode20* operator*() const { return FIt->get(); }
    const_iterator& operator++() {
      ++FIt;
      return *this;
    }
    bool operator==(const const_iterator&) const = default;

   private:
    Base FIt;
  };
  const_iterator begin() const { return const_iterator(FItems.begin()); }
  const_iterator end() const { return const_iterator(FItems.end()); }

 private:
  friend class TBTNode20;
  friend class TBTDOC20;
  friend class ostrel::btdoc::DocReader;

  void CheckIndex(int Index, int ALimit) const;
  // False when ANode is already a child (ownership stays with this list); raises
  // when it belongs to another tree or would become its own descendant.
  bool AcceptDetached(std::unique_ptr<TBTNode20>& ANode) const;
  // Appends a node known to be new to every list, without the duplicate search.
  TBTNode20* AppendNew(std::unique_ptr<TBTNode20> ANode);
  std::unique_ptr<TBTNode20> Detach(std::size_t AIndex);

  TBTNode20* const FOwnerNode;
  std::vector<std::unique_ptr<TBTNode20>> FItems;
};

// One node of a document. Subclasses fix the type code and the data kind.
class TBTNode20 : public TObject {
 public:
  // Longest name or caption the setters and the reader keep.
  static constexpr int MaxTextLength = 80;

  ~TBTNode20() override;

  // Creates a detached node of the class of type code AType (the "virtual
  // constructor"); raises "无效节点" for a code outside the table and
  // "节点名称不能为空" for an empty or blank name.
  static std::unique_ptr<TBTNode20> Create(std::uint8_t AType, const QString& ANodeCaption,
                                           const QString& ANodeName);
  // True when AType is one of the eleven type codes.
  static bool IsValidNodeType(std::uint8_t AType);

  // The type code written into the stored form.
  std::uint8_t NodeType() const { return FNodeType; }
  // The node's name; never blank.
  const QString& NodeName() const { return FNodeName; }
  // Sets the name cut to 80 characters; raises "节点名称不能为空" for a blank one.
  void SetNodeName(const QString& AValue);
  // Human-readable caption, may be empty.
  const QString& NodeCaption() const { return FNodeCaption; }
  // Sets the caption cut to 80 characters.
  void SetNodeCaption(const QString& AValue);
  // The parent, null for a root or a node taken out of its list.
  TBTNode20* ParentNode() const { return FParentNode; }
  // Moves this node from its parent's children to the end of AParentNode's.
  void SetParentNode(TBTNode20* AParentNode);
  // The children, in order.
  TBTNodeList20& ChildNodes() { return FChildNodes; }
  const TBTNodeList20& ChildNodes() const { return FChildNodes; }
  // Byte size of the node's stored data.
  std::uint32_t DataSize() const { return FDataSize; }

  // Releases the data: empty text or buffer, zero for the fixed-size kinds.
  virtual void ClearData() = 0;
  // Copies the DataSize stored bytes to ADest (which must hold at least that many).
  virtual void ReadBuffer(std::span<std::byte> ADest) const = 0;
  // Sets the data from stored bytes; raises "无效文档" when they do not form
  // this kind's data (text without terminator, fixed data too short).
  virtual void WriteBuffer(std::span<const std::byte> ASource) = 0;

  // The first child named exactly ANodeName, or null.
  TBTNode20* FindChildNodeByName(const QString& ANodeName) const;

  // Appends a new child of the class of type code AType.
  TBTNode20* AddChildNode(std::uint8_t AType, const QString& ANodeName, const QString& ANodeCaption = {});
  // Append a new child of one kind; the overloads with a value also set its data.
  TBTNode20_Directory* AddChildNode_Directory(const QString& ANodeName, const QString& ANodeCaption = {});
  TBTNode20_WideString* AddChildNode_WideString(const QString& ANodeName, const QString& ANodeCaption = {});
  TBTNode20_WideString* AddChildNode_WideString(const QString& ANodeName, const QString& ANodeCaption,
                                                const QString& AData);
  TBTNode20_Int32* AddChildNode_Int32(const QString& ANodeName, const QString& ANodeCaption = {});
  TBTNode20_Int32* AddChildNode_Int32(const QString& ANodeName, const QString& ANodeCaption, std::int32_t AData);
  TBTNode20_UInt8* AddChildNode_UInt8(const QString& ANodeName, const QString& ANodeCaption = {});
  TBTNode20_UInt8* AddChildNode_UInt8(const QString& ANodeName, const QString& ANodeCaption, std::uint8_t AData);
  TBTNode20_UInt32* AddChildNode_UInt32(const QString& ANodeName, const QString& ANodeCaption = {});
  TBTNode20_UInt32* AddChildNode_UInt32(const QString& ANodeName, const QString& ANodeCaption,
                                        std::uint32_t AData);
  TBTNode20_Real64* AddChildNode_Real64(const QString& ANodeName, const QString& ANodeCaption = {});
  TBTNode20_Real64* AddChildNode_Real64(const QString& ANodeName, const QString& ANodeCaption, double AData);
  TBTNode20_DateTime* AddChildNode_DateTime(const QString& ANodeName, const QString& ANodeCaption = {});
  TBTNode20_DateTime* AddChildNode_DateTime(const QString& ANodeName, const QString& ANodeCaption, double AData);
  TBTNode20_Bool32* AddChildNode_Bool32(const QString& ANodeName, const QString& ANodeCaption = {});
  TBTNode20_Bool32* AddChildNode_Bool32(const QString& ANodeName, const QString& ANodeCaption, bool AData);
  TBTNode20_Binary* AddChildNode_Binary(const QString& ANodeName, const QString& ANodeCaption = {});
  TBTNode20_Binary* AddChildNode_Binary(const QString& ANodeName, const QString& ANodeCaption,
                                        const QByteArray& AData);
  TBTNode20_Class* AddChildNode_Class(const QString& ANodeName, const QString& ANodeCaption = {});
  TBTNode20_Class* AddChildNode_Class(const QString& ANodeName, const QString& ANodeCaption,
                                      const QString& AClassName);
  TBTNode20_Color* AddChildNode_Color(const QString& ANodeName, const QString& ANodeCaption = {});
  TBTNode20_Color* AddChildNode_Color(const QString& ANodeName, const QString& ANodeCaption, TAlphaColor AData);

  // This node as one kind, or null when it is of another kind.
  TBTNode20_Directory* ConvertNode_Directory();
  TBTNode20_WideString* ConvertNode_WideString();
  TBTNode20_Int32* ConvertNode_Int32();
  TBTNode20_UInt8* ConvertNode_UInt8();
  TBTNode20_UInt32* ConvertNode_UInt32();
  TBTNode20_Real64* ConvertNode_Real64();
  TBTNode20_DateTime* ConvertNode_DateTime();
  TBTNode20_Bool32* ConvertNode_Bool32();
  TBTNode20_Binary* ConvertNode_Binary();
  TBTNode20_Class* ConvertNode_Class();
  TBTNode20_Color* ConvertNode_Color();
  const TBTNode20_Directory* ConvertNode_Directory() const;
  const TBTNode20_WideString* ConvertNode_WideString() const;
  const TBTNode20_Int32* ConvertNode_Int32() const;
  const TBTNode20_UInt8* ConvertNode_UInt8() const;
  const TBTNode20_UInt32* ConvertNode_UInt32() const;
  const TBTNode20_Real64* ConvertNode_Real64() const;
  const TBTNode20_DateTime* ConvertNode_DateTime() const;
  const TBTNode20_Bool32* ConvertNode_Bool32() const;
  const TBTNode20_Binary* ConvertNode_Binary() const;
  const TBTNode20_Class* ConvertNode_Class() const;
  const TBTNode20_Color* ConvertNode_Color() const;

  // The data of the first child named ANodeName when that child is of the
  // matching kind, else ADefault.
  QString ReadChildWideString(const QString& ANodeName, const QString& ADefault = {}) const;
  std::int32_t ReadChildInt32(const QString& ANodeName, std::int32_t ADefault = 0) const;
  std::uint8_t ReadChildUInt8(const QString& ANodeName, std::uint8_t ADefault = 0) const;
  std::uint32_t ReadChildUInt32(const QString& ANodeName, std::uint32_t ADefault = 0) const;
  double ReadChildReal64(const QString& ANodeName, double ADefault = 0.0) const;
  double ReadChildDateTime(const QString& ANodeName, double ADefault = 0.0) const;
  bool ReadChildBool32(const QString& ANodeName, bool ADefault = false) const;
  QByteArray ReadChildBinary(const QString& ANodeName, const QByteArray& ADefault = {}) const;
  TAlphaColor ReadChildColor(const QString& ANodeName, TAlphaColor ADefault = claBlack) const;
  // The first child named ANodeName when it is a class node, else null.
  TBTNode20_Class* FindChildClassNode(const QString& ANodeName) const;

 protected:
  // A detached node of type code AType; raises "节点名称不能为空" for a blank name.
  // The name and caption are kept as given (only the setters and the reader cut).
  TBTNode20(std::uint8_t AType, const QString& ANodeCaption, const QString& ANodeName);

  std::uint32_t FDataSize = 0;

 private:
  friend class TBTNodeList20;
  friend class TBTDOC20;
  friend class ostrel::btdoc::DocReader;

  template <class T>
  T* AddTyped(const QString& ANodeName, const QString& ANodeCaption);

  QString FNodeName;
  TBTNode20* FParentNode = nullptr;
  TBTNodeList20 FChildNodes;
  QString FNodeCaption;
  const std::uint8_t FNodeType;
};

// Type 0: a folder of other nodes; no data.
class TBTNode20_Directory : public TBTNode20 {
 public:
  static constexpr std::uint8_t TypeCode = 0;
  explicit TBTNode20_Directory(const QString& ANodeCaption, const QString& ANodeName);
  void ClearData() override;
  void ReadBuffer(std::span<std::byte> ADest) const override;
  void WriteBuffer(std::span<const std::byte> ASource) override;
};

// Type 4: UTF-16 text, stored with a terminator (nothing for empty text).
class TBTNode20_WideString : public TBTNode20 {
 public:
  static constexpr std::uint8_t TypeCode = 4;
  explicit TBTNode20_WideString(const QString& ANodeCaption, const QString& ANodeName);
  // The text.
  const QString& Data() const { return FData; }
  // Sets the text.
  void SetData(const QString& AValue);
  void ClearData() override;
  void ReadBuffer(std::span<std::byte> ADest) const override;
  void WriteBuffer(std::span<const std::byte> ASource) override;

 private:
  friend class ostrel::btdoc::DocReader;

  QString FData;
  // Stored bytes beyond the text and its terminator, written back as read
  // until the text is set, so an unchanged document saves to its own bytes.
  QByteArray FStoredTail;
};

// Type 7: 32-bit signed integer.
class TBTNode20_Int32 : public TBTNode20 {
 public:
  static constexpr std::uint8_t TypeCode = 7;
  explicit TBTNode20_Int32(const QString& ANodeCaption, const QString& ANodeName);
  // The value.
  std::int32_t Data() const { return FData; }
  // Sets the value.
  void SetData(std::int32_t AValue) { FData = AValue; }
  void ClearData() override;
  void ReadBuffer(std::span<std::byte> ADest) const override;
  void WriteBuffer(std::span<const std::byte> ASource) override;

 private:
  std::int32_t FData = 0;
};

// Type 9: one byte.
class TBTNode20_UInt8 : public TBTNode20 {
 public:
  static constexpr std::uint8_t TypeCode = 9;
  explicit TBTNode20_UInt8(const QString& ANodeCaption, const QString& ANodeName);
  // The value.
  std::uint8_t Data() const { return FData; }
  // Sets the value.
  void SetData(std::uint8_t AValue) { FData = AValue; }
  void ClearData() override;
  void ReadBuffer(std::span<std::byte> ADest) const override;
  void WriteBuffer(std::span<const std::byte> ASource) override;

 private:
  std::uint8_t FData = 0;
};

// Type 11: 32-bit unsigned integer.
class TBTNode20_UInt32 : public TBTNode20 {
 public:
  static constexpr std::uint8_t TypeCode = 11;
  explicit TBTNode20_UInt32(const QString& ANodeCaption, const QString& ANodeName);
  // The value.
  std::uint32_t Data() const { return FData; }
  // Sets the value.
  void SetData(std::uint32_t AValue) { FData = AValue; }
  void ClearData() override;
  void ReadBuffer(std::span<std::byte> ADest) const override;
  void WriteBuffer(std::span<const std::byte> ASource) override;

 private:
  std::uint32_t FData = 0;
};

// Type 14: IEEE 754 double.
class TBTNode20_Real64 : public TBTNode20 {
 public:
  static constexpr std::uint8_t TypeCode = 14;
  explicit TBTNode20_Real64(const QString& ANodeCaption, const QString& ANodeName);
  // The value.
  double Data() const { return FData; }
  // Sets the value.
  void SetData(double AValue) { FData = AValue; }
  void ClearData() override;
  void ReadBuffer(std::span<std::byte> ADest) const override;
  void WriteBuffer(std::span<const std::byte> ASource) override;

 private:
  double FData = 0.0;
};

// Type 17: date-time as days since 30 December 1899, fraction = time of day.
class TBTNode20_DateTime : public TBTNode20 {
 public:
  static constexpr std::uint8_t TypeCode = 17;
  explicit TBTNode20_DateTime(const QString& ANodeCaption, const QString& ANodeName);
  // The date-time value.
  double Data() const { return FData; }
  // Sets the date-time value.
  void SetData(double AValue) { FData = AValue; }
  void ClearData() override;
  void ReadBuffer(std::span<std::byte> ADest) const override;
  void WriteBuffer(std::span<const std::byte> ASource) override;

 private:
  double FData = 0.0;
};

// Type 21: 32-bit Boolean; True is written as FF FF FF FF, any non-zero reads as True.
class TBTNode20_Bool32 : public TBTNode20 {
 public:
  static constexpr std::uint8_t TypeCode = 21;
  explicit TBTNode20_Bool32(const QString& ANodeCaption, const QString& ANodeName);
  // The value.
  bool Data() const { return FData; }
  // Sets the value.
  void SetData(bool AValue) { FData = AValue; }
  void ClearData() override;
  void ReadBuffer(std::span<std::byte> ADest) const override;
  void WriteBuffer(std::span<const std::byte> ASource) override;

 private:
  bool FData = false;
};

// Type 23: raw bytes.
class TBTNode20_Binary : public TBTNode20 {
 public:
  static constexpr std::uint8_t TypeCode = 23;
  explicit TBTNode20_Binary(const QString& ANodeCaption, const QString& ANodeName);
  // The bytes.
  const QByteArray& DataBuf() const { return FData; }
  // Sets the bytes; raises when they exceed the 4 GB a node can store.
  void SetDataBuf(const QByteArray& AValue);
  // Replaces the bytes with the rest of AStream (from its current position).
  void LoadFromStream(QIODevice& AStream);
  // Writes the bytes to AStream at its current position.
  void SaveToStream(QIODevice& AStream) const;
  // Replaces the bytes with the content of the file.
  void LoadFromFile(const QString& AFileName);
  // Writes the bytes to the file, replacing it.
  void SaveToFile(const QString& AFileName) const;
  void ClearData() override;
  void ReadBuffer(std::span<std::byte> ADest) const override;
  void WriteBuffer(std::span<const std::byte> ASource) override;

 private:
  QByteArray FData;
};

// Type 24: a class name (encoded like a WideString); its children hold the object.
class TBTNode20_Class : public TBTNode20 {
 public:
  static constexpr std::uint8_t TypeCode = 24;
  explicit TBTNode20_Class(const QString& ANodeCaption, const QString& ANodeName);
  // The stored class name. Hides TObject::ClassName on purpose: on a class
  // node the name that matters is the stored one.
  const QString& ClassName() const { return FClassName; }
  // Sets the stored class name.
  void SetClassName(const QString& AValue);
  void ClearData() override;
  void ReadBuffer(std::span<std::byte> ADest) const override;
  void WriteBuffer(std::span<const std::byte> ASource) override;

 private:
  friend class ostrel::btdoc::DocReader;

  QString FClassName;
  // As for text nodes: stored bytes beyond the name and its terminator.
  QByteArray FStoredTail;
};

// Type 25: an AARRGGBB colour, stored as 4 bytes plus one byte that carries nothing.
class TBTNode20_Color : public TBTNode20 {
 public:
  static constexpr std::uint8_t TypeCode = 25;
  explicit TBTNode20_Color(const QString& ANodeCaption, const QString& ANodeName);
  // The colour; a new node holds claBlack like a new drawing colour.
  TAlphaColor Data() const { return FData; }
  // Sets the colour.
  void SetData(TAlphaColor AValue) { FData = AValue; }
  void ClearData() override;
  void ReadBuffer(std::span<std::byte> ADest) const override;
  void WriteBuffer(std::span<const std::byte> ASource) override;

 private:
  TAlphaColor FData = claBlack;
};

// A whole document: version, name and the tree under its root.
class TBTDOC20 : public TObject {
 public:
  static constexpr std::uint8_t CurrentVersion = 20;

  // An empty document: version 20, no name, a root directory named "\".
  TBTDOC20();
  ~TBTDOC20() override;

  // Always 20.
  std::uint8_t Version() const { return FVersion; }
  // The document name.
  const QString& Name() const { return FName; }
  // Sets the document name cut to 80 characters.
  void SetName(const QString& AValue);
  // The root node.
  TBTNode20* TopNode() const { return FTopNode.get(); }
  // The root's children.
  TBTNodeList20& Nodes() { return FTopNode->ChildNodes(); }
  const TBTNodeList20& Nodes() const { return FTopNode->ChildNodes(); }
  // Exact byte size of the stored form.
  std::size_t DocBufSize() const;

  // Frees every node under the root.
  void Clear();
  // Writes the stored form into ADest, which must hold DocBufSize() bytes; answers the count written.
  std::size_t Save(std::span<std::byte> ADest) const;
  // The stored form in a new buffer of exactly DocBufSize() bytes.
  QByteArray Save() const;
  // Replaces name and tree with the stored form in ASource; on any error the
  // document keeps its earlier content and "无效文档", "无效版本号" or "无效节点" is raised.
  void Load(std::span<const std::byte> ASource);
  void Load(const QByteArray& ASource);
  // Loads the whole content of AStream (from its start when it can seek).
  void LoadFromStream(QIODevice& AStream);
  // Writes the stored form from the start of AStream and cuts what lies beyond it.
  void SaveToStream(QIODevice& AStream) const;
  // Loads the file.
  void LoadFromFile(const QString& AFileName);
  // Writes the file, replacing it.
  void SaveToFile(const QString& AFileName) const;
  // Copies ASource through its stored form.
  void Assign(const TBTDOC20& ASource);

  // Appends a new node of type code AType to AParentNode (the root when null).
  TBTNode20* CreateNode(std::uint8_t AType, TBTNode20* AParentNode, const QString& ANodeCaption,
                        const QString& ANodeName);
  // The root's last child named ANodeName; with ARecursive a depth-first
  // search through the subtrees in the same last-to-first order.
  TBTNode20* FindNodeByName(const QString& ANodeName, bool ARecursive = false) const;
  // The node at a backslash-separated path of names below the root, or null.
  TBTNode20* FindNodeByPath(const QString& ANodePath) const;

 private:
  std::uint8_t FVersion = CurrentVersion;
  QString FName;
  std::unique_ptr<TBTNode20> FTopNode;
};
