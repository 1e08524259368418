#include "skin/base/uBinaryTreeDoc.h"

#include <QBuffer>
#include <QFile>
#include <QFileDevice>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <string_view>
#include <unordered_map>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

const QString kInvalidDocument = QStringLiteral("无效文档");
const QString kInvalidVersion = QStringLiteral("无效版本号");
const QString kInvalidNode = QStringLiteral("无效节点");
const QString kBlankNodeName = QStringLiteral("节点名称不能为空");
const QString kNoOwnerNode = QStringLiteral("AOwnerNode can not nil");
const QString kNoName = QStringLiteral("NONAME");

// Name and caption sizes are one byte, so at most 126 characters plus the
// terminator fit; longer texts are cut when written instead of wrapping the size.
constexpr qsizetype kMaxStoredTextLength = 126;
constexpr std::size_t kRecordHeaderSize = 11;

[[noreturn]] void RaiseInvalidDocument() { throw EBinaryTreeDocError(kInvalidDocument); }

qsizetype StoredTextLength(const QString& AText) { return std::min(AText.size(), kMaxStoredTextLength); }

// Byte size of a name or caption field: UTF-16 plus terminator, 0 for empty text.
std::uint8_t StoredTextSize(const QString& AText) {
  const qsizetype length = StoredTextLength(AText);
  return length == 0 ? 0 : static_cast<std::uint8_t>(2 * length + 2);
}

std::uint32_t TextDataSize(const QString& AText) {
  if (AText.isEmpty()) return 0;
  constexpr qsizetype maxLength = (std::numeric_limits<std::uint32_t>::max() - 2) / 2;
  if (AText.size() > maxLength) throw EBinaryTreeDocError(QStringLiteral("Text too long for a document node"));
  return static_cast<std::uint32_t>(2 * AText.size() + 2);
}

// Writes the first ALength characters of AText as UTF-16LE with a terminator; answers the bytes written.
std::size_t PutText(std::byte* ADest, const QString& AText, qsizetype ALength) {
  if (ALength == 0) return 0;
  qToLittleEndian<char16_t>(AText.utf16(), ALength, ADest);
  ADest[2 * ALength] = std::byte{0};
  ADest[2 * ALength + 1] = std::byte{0};
  return static_cast<std::size_t>(2 * ALength + 2);
}

// Decodes UTF-16LE text up to its terminator, keeping at most AMaxLength
// characters; raises "无效文档" when the field holds no terminator.
QString TakeText(std::span<const std::byte> AField, qsizetype AMaxLength) {
  const std::size_t units = AField.size() / 2;
  std::size_t length = 0;
  while (length < units && (AField[2 * length] != std::byte{0} || AField[2 * length + 1] != std::byte{0})) ++length;
  if (length == units) RaiseInvalidDocument();
  const qsizetype kept = std::min(static_cast<qsizetype>(length), AMaxLength);
  QString text(kept, Qt::Uninitialized);
  qFromLittleEndian<char16_t>(AField.data(), kept, text.data());
  return text;
}

void PutTail(std::byte* ADest, const QByteArray& ATail) {
  if (!ATail.isEmpty()) std::memcpy(ADest, ATail.constData(), static_cast<std::size_t>(ATail.size()));
}

// Keeps what a text field stores beyond the ATextSize bytes of its text and
// terminator, and counts it into the node's data size.
void KeepTail(std::span<const std::byte> AField, std::uint32_t& ADataSize, QByteArray& ATail) {
  if (AField.size() <= ADataSize) return;
  const auto tail = AField.subspan(ADataSize);
  ATail = QByteArray(reinterpret_cast<const char*>(tail.data()), static_cast<qsizetype>(tail.size()));
  ADataSize = static_cast<std::uint32_t>(AField.size());
}

template <class T>
void PutScalar(std::span<std::byte> ADest, T AValue) {
  qToLittleEndian<T>(AValue, ADest.data());
}

template <class T>
T TakeScalar(std::span<const std::byte> ASource) {
  if (ASource.size() < sizeof(T)) RaiseInvalidDocument();
  return qFromLittleEndian<T>(ASource.data());
}

void CheckDestination(std::span<std::byte> ADest, std::uint32_t ASize) {
  if (ADest.size() < ASize) throw EBinaryTreeDocError(QStringLiteral("Buffer too small for the node data"));
}

// A buffer for a payload of ASize bytes, left uninitialised. First touching
// tens of megabytes of fresh pages costs several times the copy itself; on
// Linux large buffers ask for huge pages, which brings that cost down.
QByteArray UninitializedBuffer(qsizetype ASize) {
  QByteArray buffer(ASize, Qt::Uninitialized);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  if (static_cast<std::uintptr_t>(ASize) >= 4 * kHugePage) {
    const auto begin = reinterpret_cast<std::uintptr_t>(buffer.data());
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (begin + static_cast<std::uintptr_t>(ASize)) & ~(kHugePage - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
  }
#endif
  return buffer;
}

void CheckNodeName(const QString& AName) {
  if (AName.trimmed().isEmpty()) throw EBinaryTreeDocError(kBlankNodeName);
}

}  // namespace

// ---------------------------------------------------------------------------
// TBinaryObject

TBinaryObject::~TBinaryObject() = default;

bool TBinaryObject::LoadFromDocNode(TBTNode20_Class*) { return true; }

bool TBinaryObject::SaveToDocNode(TBTNode20_Class*) const { return true; }

// ---------------------------------------------------------------------------
// TBTNodeList20

TBTNodeList20::TBTNodeList20(TBTNode20* AOwnerNode) : FOwnerNode(AOwnerNode) {
  if (AOwnerNode == nullptr) throw EBinaryTreeDocError(kNoOwnerNode);
}

TBTNodeList20::~TBTNodeList20() { Clear(); }

void TBTNodeList20::CheckIndex(int Index, int ALimit) const {
  if (Index < 0 || Index > ALimit) {
    throw EBinaryTreeDocError(QStringLiteral("List index out of bounds (%1)").arg(Index));
  }
}

TBTNode20* TBTNodeList20::GetItems(int Index) const {
  CheckIndex(Index, Count() - 1);
  return FItems[static_cast<std::size_t>(Index)].get();
}

std::unique_ptr<TBTNode20> TBTNodeList20::SetItems(int Index, std::unique_ptr<TBTNode20> ANode) {
  if (!AcceptDetached(ANode)) throw EBinaryTreeDocError(QStringLiteral("The node is already in this list"));
  CheckIndex(Index, Count() - 1);
  auto& slot = FItems[static_cast<std::size_t>(Index)];
  std::unique_ptr<TBTNode20> old = std::exchange(slot, std::move(ANode));
  old->FParentNode = nullptr;
  slot->FParentNode = FOwnerNode;
  return old;
}

int TBTNodeList20::IndexOf(const TBTNode20* ANode) const {
  const auto it = std::find_if(FItems.begin(), FItems.end(), [ANode](const auto& item) { return item.get() == ANode; });
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

bool TBTNodeList20::AcceptDetached(std::unique_ptr<TBTNode20>& ANode) const {
  if (ANode == nullptr) throw EBinaryTreeDocError(QStringLiteral("A node list holds no empty items"));
  if (ANode->FParentNode == FOwnerNode) {
    // Already one of ours: the list keeps owning it.
    static_cast<void>(ANode.release());
    return false;
  }
  if (ANode->FParentNode != nullptr) {
    // Still owned by another tree: never let two owners free it.
    static_cast<void>(ANode.release());
    throw EBinaryTreeDocError(QStringLiteral("The node belongs to another parent"));
  }
  for (const TBTNode20* ancestor = FOwnerNode; ancestor != nullptr; ancestor = ancestor->FParentNode) {
    if (ancestor == ANode.get()) throw EBinaryTreeDocError(QStringLiteral("A node can not move below itself"));
  }
  return true;
}

int TBTNodeList20::Add(std::unique_ptr<TBTNode20> ANode) {
  const TBTNode20* node = ANode.get();
  if (!AcceptDetached(ANode)) return IndexOf(node);
  AppendNew(std::move(ANode));
  return Count() - 1;
}

void TBTNodeList20::Insert(int Index, std::unique_ptr<TBTNode20> ANode) {
  // Ownership is settled before the index check, so an error never frees a node the list still holds.
  if (!AcceptDetached(ANode)) return;
  CheckIndex(Index, Count());
  ANode->FParentNode = FOwnerNode;
  FItems.insert(FItems.begin() + Index, std::move(ANode));
}

TBTNode20* TBTNodeList20::AppendNew(std::unique_ptr<TBTNode20> ANode) {
  ANode->FParentNode = FOwnerNode;
  FItems.push_back(std::move(ANode));
  return FItems.back().get();
}

std::unique_ptr<TBTNode20> TBTNodeList20::Detach(std::size_t AIndex) {
  std::unique_ptr<TBTNode20> node = std::move(FItems[AIndex]);
  FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(AIndex));
  node->FParentNode = nullptr;
  return node;
}

std::unique_ptr<TBTNode20> TBTNodeList20::Remove(TBTNode20* ANode) {
  const int index = IndexOf(ANode);
  if (index < 0) return nullptr;
  return Detach(static_cast<std::size_t>(index));
}

void TBTNodeList20::Delete(int Index) {
  CheckIndex(Index, Count() - 1);
  Detach(static_cast<std::size_t>(Index));
}

void TBTNodeList20::Move(int ACurIndex, int ANewIndex) {
  if (ACurIndex == ANewIndex) return;
  CheckIndex(ACurIndex, Count() - 1);
  CheckIndex(ANewIndex, Count() - 1);
  auto first = FItems.begin();
  if (ACurIndex < ANewIndex) {
    std::rotate(first + ACurIndex, first + ACurIndex + 1, first + ANewIndex + 1);
  } else {
    std::rotate(first + ANewIndex, first + ACurIndex, first + ACurIndex + 1);
  }
}

void TBTNodeList20::Clear() {
  while (!FItems.empty()) {
    std::unique_ptr<TBTNode20> last = std::move(FItems.back());
    FItems.pop_back();
    last->FParentNode = nullptr;
  }
}

TBTNode20* TBTNodeList20::FindNodeByName(const QString& ANodeName) const {
  for (auto it = FItems.rbegin(); it != FItems.rend(); ++it) {
    if ((*it)->NodeName() == ANodeName) return it->get();
  }
  return nullptr;
}

TBTNode20* TBTNodeList20::FindNodeByLeftPartName(const QString& ALeftPartNodeName) const {
  for (auto it = FItems.rbegin(); it != FItems.rend(); ++it) {
    if ((*it)->NodeName().startsWith(ALeftPartNodeName, Qt::CaseSensitive)) return it->get();
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// TBTNode20

TBTNode20::TBTNode20(std::uint8_t AType, const QString& ANodeCaption, const QString& ANodeName)
    : FNodeName(ANodeName), FChildNodes(this), FNodeCaption(ANodeCaption), FNodeType(AType) {
  CheckNodeName(ANodeName);
}

TBTNode20::~TBTNode20() {
  // Deep trees (a stored document may nest thousands of levels) are freed
  // without recursion: every descendant gives up its children before it goes.
  std::vector<std::unique_ptr<TBTNode20>> pending = std::move(FChildNodes.FItems);
  FChildNodes.FItems.clear();
  while (!pending.empty()) {
    std::unique_ptr<TBTNode20> node = std::move(pending.back());
    pending.pop_back();
    auto& children = node->FChildNodes.FItems;
    std::move(children.begin(), children.end(), std::back_inserter(pending));
    children.clear();
  }
}

std::unique_ptr<TBTNode20> TBTNode20::Create(std::uint8_t AType, const QString& ANodeCaption,
                                             const QString& ANodeName) {
  switch (AType) {
    case TBTNode20_Directory::TypeCode: return std::make_unique<TBTNode20_Directory>(ANodeCaption, ANodeName);
    case TBTNode20_WideString::TypeCode: return std::make_unique<TBTNode20_WideString>(ANodeCaption, ANodeName);
    case TBTNode20_Int32::TypeCode: return std::make_unique<TBTNode20_Int32>(ANodeCaption, ANodeName);
    case TBTNode20_UInt8::TypeCode: return std::make_unique<TBTNode20_UInt8>(ANodeCaption, ANodeName);
    case TBTNode20_UInt32::TypeCode: return std::make_unique<TBTNode20_UInt32>(ANodeCaption, ANodeName);
    case TBTNode20_Real64::TypeCode: return std::make_unique<TBTNode20_Real64>(ANodeCaption, ANodeName);
    case TBTNode20_DateTime::TypeCode: return std::make_unique<TBTNode20_DateTime>(ANodeCaption, ANodeName);
    case TBTNode20_Bool32::TypeCode: return std::make_unique<TBTNode20_Bool32>(ANodeCaption, ANodeName);
    case TBTNode20_Binary::TypeCode: return std::make_unique<TBTNode20_Binary>(ANodeCaption, ANodeName);
    case TBTNode20_Class::TypeCode: return std::make_unique<TBTNode20_Class>(ANodeCaption, ANodeName);
    case TBTNode20_Color::TypeCode: return std::make_unique<TBTNode20_Color>(ANodeCaption, ANodeName);
    default: throw EBinaryTreeDocError(kInvalidNode);
  }
}

bool TBTNode20::IsValidNodeType(std::uint8_t AType) {
  switch (AType) {
    case TBTNode20_Directory::TypeCode:
    case TBTNode20_WideString::TypeCode:
    case TBTNode20_Int32::TypeCode:
    case TBTNode20_UInt8::TypeCode:
    case TBTNode20_UInt32::TypeCode:
    case TBTNode20_Real64::TypeCode:
    case TBTNode20_DateTime::TypeCode:
    case TBTNode20_Bool32::TypeCode:
    case TBTNode20_Binary::TypeCode:
    case TBTNode20_Class::TypeCode:
    case TBTNode20_Color::TypeCode: return true;
    default: return false;
  }
}

void TBTNode20::SetNodeName(const QString& AValue) {
  CheckNodeName(AValue);
  FNodeName = AValue.left(MaxTextLength);
}

void TBTNode20::SetNodeCaption(const QString& AValue) { FNodeCaption = AValue.left(MaxTextLength); }

void TBTNode20::SetParentNode(TBTNode20* AParentNode) {
  if (AParentNode == FParentNode) return;
  if (FParentNode == nullptr || AParentNode == nullptr) {
    throw EBinaryTreeDocError(
        QStringLiteral("Only a node inside a tree moves to another parent; use TBTNodeList20.Remove and Add"));
  }
  for (const TBTNode20* ancestor = AParentNode; ancestor != nullptr; ancestor = ancestor->FParentNode) {
    if (ancestor == this) throw EBinaryTreeDocError(QStringLiteral("A node can not move below itself"));
  }
  std::unique_ptr<TBTNode20> self = FParentNode->FChildNodes.Remove(this);
  AParentNode->FChildNodes.AppendNew(std::move(self));
}

TBTNode20* TBTNode20::FindChildNodeByName(const QString& ANodeName) const {
  for (const auto& child : FChildNodes.FItems) {
    if (child->NodeName() == ANodeName) return child.get();
  }
  return nullptr;
}

TBTNode20* TBTNode20::AddChildNode(std::uint8_t AType, const QString& ANodeName, const QString& ANodeCaption) {
  return FChildNodes.AppendNew(Create(AType, ANodeCaption, ANodeName));
}

template <class T>
T* TBTNode20::AddTyped(const QString& ANodeName, const QString& ANodeCaption) {
  auto node = std::make_unique<T>(ANodeCaption, ANodeName);
  T* raw = node.get();
  FChildNodes.AppendNew(std::move(node));
  return raw;
}

TBTNode20_Directory* TBTNode20::AddChildNode_Directory(const QString& ANodeName, const QString& ANodeCaption) {
  return AddTyped<TBTNode20_Directory>(ANodeName, ANodeCaption);
}

TBTNode20_WideString* TBTNode20::AddChildNode_WideString(const QString& ANodeName, const QString& ANodeCaption) {
  return AddTyped<TBTNode20_WideString>(ANodeName, ANodeCaption);
}

TBTNode20_WideString* TBTNode20::AddChildNode_WideString(const QString& ANodeName, const QString& ANodeCaption,
                                                         const QString& AData) {
  auto* node = AddTyped<TBTNode20_WideString>(ANodeName, ANodeCaption);
  node->SetData(AData);
  return node;
}

TBTNode20_Int32* TBTNode20::AddChildNode_Int32(const QString& ANodeName, const QString& ANodeCaption) {
  return AddTyped<TBTNode20_Int32>(ANodeName, ANodeCaption);
}

TBTNode20_Int32* TBTNode20::AddChildNode_Int32(const QString& ANodeName, const QString& ANodeCaption,
                                               std::int32_t AData) {
  auto* node = AddTyped<TBTNode20_Int32>(ANodeName, ANodeCaption);
  node->SetData(AData);
  return node;
}

TBTNode20_UInt8* TBTNode20::AddChildNode_UInt8(const QString& ANodeName, const QString& ANodeCaption) {
  return AddTyped<TBTNode20_UInt8>(ANodeName, ANodeCaption);
}

TBTNode20_UInt8* TBTNode20::AddChildNode_UInt8(const QString& ANodeName, const QString& ANodeCaption,
                                               std::uint8_t AData) {
  auto* node = AddTyped<TBTNode20_UInt8>(ANodeName, ANodeCaption);
  node->SetData(AData);
  return node;
}

TBTNode20_UInt32* TBTNode20::AddChildNode_UInt32(const QString& ANodeName, const QString& ANodeCaption) {
  return AddTyped<TBTNode20_UInt32>(ANodeName, ANodeCaption);
}

TBTNode20_UInt32* TBTNode20::AddChildNode_UInt32(const QString& ANodeName, const QString& ANodeCaption,
                                                 std::uint32_t AData) {
  auto* node = AddTyped<TBTNode20_UInt32>(ANodeName, ANodeCaption);
  node->SetData(AData);
  return node;
}

TBTNode20_Real64* TBTNode20::AddChildNode_Real64(const QString& ANodeName, const QString& ANodeCaption) {
  return AddTyped<TBTNode20_Real64>(ANodeName, ANodeCaption);
}

TBTNode20_Real64* TBTNode20::AddChildNode_Real64(const QString& ANodeName, const QString& ANodeCaption,
                                                 double AData) {
  auto* node = AddTyped<TBTNode20_Real64>(ANodeName, ANodeCaption);
  node->SetData(AData);
  return node;
}

TBTNode20_DateTime* TBTNode20::AddChildNode_DateTime(const QString& ANodeName, const QString& ANodeCaption) {
  return AddTyped<TBTNode20_DateTime>(ANodeName, ANodeCaption);
}

TBTNode20_DateTime* TBTNode20::AddChildNode_DateTime(const QString& ANodeName, const QString& ANodeCaption,
                                                     double AData) {
  auto* node = AddTyped<TBTNode20_DateTime>(ANodeName, ANodeCaption);
  node->SetData(AData);
  return node;
}

TBTNode20_Bool32* TBTNode20::AddChildNode_Bool32(const QString& ANodeName, const QString& ANodeCaption) {
  return AddTyped<TBTNode20_Bool32>(ANodeName, ANodeCaption);
}

TBTNode20_Bool32* TBTNode20::AddChildNode_Bool32(const QString& ANodeName, const QString& ANodeCaption,
                                                 bool AData) {
  auto* node = AddTyped<TBTNode20_Bool32>(ANodeName, ANodeCaption);
  node->SetData(AData);
  return node;
}

TBTNode20_Binary* TBTNode20::AddChildNode_Binary(const QString& ANodeName, const QString& ANodeCaption) {
  return AddTyped<TBTNode20_Binary>(ANodeName, ANodeCaption);
}

TBTNode20_Binary* TBTNode20::AddChildNode_Binary(const QString& ANodeName, const QString& ANodeCaption,
                                                 const QByteArray& AData) {
  auto* node = AddTyped<TBTNode20_Binary>(ANodeName, ANodeCaption);
  node->SetDataBuf(AData);
  return node;
}

TBTNode20_Class* TBTNode20::AddChildNode_Class(const QString& ANodeName, const QString& ANodeCaption) {
  return AddTyped<TBTNode20_Class>(ANodeName, ANodeCaption);
}

TBTNode20_Class* TBTNode20::AddChildNode_Class(const QString& ANodeName, const QString& ANodeCaption,
                                               const QString& AClassName) {
  auto* node = AddTyped<TBTNode20_Class>(ANodeName, ANodeCaption);
  node->SetClassName(AClassName);
  return node;
}

TBTNode20_Color* TBTNode20::AddChildNode_Color(const QString& ANodeName, const QString& ANodeCaption) {
  return AddTyped<TBTNode20_Color>(ANodeName, ANodeCaption);
}

TBTNode20_Color* TBTNode20::AddChildNode_Color(const QString& ANodeName, const QString& ANodeCaption,
                                               TAlphaColor AData) {
  auto* node = AddTyped<TBTNode20_Color>(ANodeName, ANodeCaption);
  node->SetData(AData);
  return node;
}

#define BTNODE20_CONVERT(Kind)                                                               \
  TBTNode20_##Kind* TBTNode20::ConvertNode_##Kind() {                                        \
    return FNodeType == TBTNode20_##Kind::TypeCode ? static_cast<TBTNode20_##Kind*>(this) : nullptr; \
  }                                                                                          \
  const TBTNode20_##Kind* TBTNode20::ConvertNode_##Kind() const {                            \
    return FNodeType == TBTNode20_##Kind::TypeCode ? static_cast<const TBTNode20_##Kind*>(this) : nullptr; \
  }

BTNODE20_CONVERT(Directory)
BTNODE20_CONVERT(WideString)
BTNODE20_CONVERT(Int32)
BTNODE20_CONVERT(UInt8)
BTNODE20_CONVERT(UInt32)
BTNODE20_CONVERT(Real64)
BTNODE20_CONVERT(DateTime)
BTNODE20_CONVERT(Bool32)
BTNODE20_CONVERT(Binary)
BTNODE20_CONVERT(Class)
BTNODE20_CONVERT(Color)

#undef BTNODE20_CONVERT

QString TBTNode20::ReadChildWideString(const QString& ANodeName, const QString& ADefault) const {
  const TBTNode20* child = FindChildNodeByName(ANodeName);
  const auto* node = child != nullptr ? child->ConvertNode_WideString() : nullptr;
  return node != nullptr ? node->Data() : ADefault;
}

std::int32_t TBTNode20::ReadChildInt32(const QString& ANodeName, std::int32_t ADefault) const {
  const TBTNode20* child = FindChildNodeByName(ANodeName);
  const auto* node = child != nullptr ? child->ConvertNode_Int32() : nullptr;
  return node != nullptr ? node->Data() : ADefault;
}

std::uint8_t TBTNode20::ReadChildUInt8(const QString& ANodeName, std::uint8_t ADefault) const {
  const TBTNode20* child = FindChildNodeByName(ANodeName);
  const auto* node = child != nullptr ? child->ConvertNode_UInt8() : nullptr;
  return node != nullptr ? node->Data() : ADefault;
}

std::uint32_t TBTNode20::ReadChildUInt32(const QString& ANodeName, std::uint32_t ADefault) const {
  const TBTNode20* child = FindChildNodeByName(ANodeName);
  const auto* node = child != nullptr ? child->ConvertNode_UInt32() : nullptr;
  return node != nullptr ? node->Data() : ADefault;
}

double TBTNode20::ReadChildReal64(const QString& ANodeName, double ADefault) const {
  const TBTNode20* child = FindChildNodeByName(ANodeName);
  const auto* node = child != nullptr ? child->ConvertNode_Real64() : nullptr;
  return node != nullptr ? node->Data() : ADefault;
}

double TBTNode20::ReadChildDateTime(const QString& ANodeName, double ADefault) const {
  const TBTNode20* child = FindChildNodeByName(ANodeName);
  const auto* node = child != nullptr ? child->ConvertNode_DateTime() : nullptr;
  return node != nullptr ? node->Data() : ADefault;
}

bool TBTNode20::ReadChildBool32(const QString& ANodeName, bool ADefault) const {
  const TBTNode20* child = FindChildNodeByName(ANodeName);
  const auto* node = child != nullptr ? child->ConvertNode_Bool32() : nullptr;
  return node != nullptr ? node->Data() : ADefault;
}

QByteArray TBTNode20::ReadChildBinary(const QString& ANodeName, const QByteArray& ADefault) const {
  const TBTNode20* child = FindChildNodeByName(ANodeName);
  const auto* node = child != nullptr ? child->ConvertNode_Binary() : nullptr;
  return node != nullptr ? node->DataBuf() : ADefault;
}

TAlphaColor TBTNode20::ReadChildColor(const QString& ANodeName, TAlphaColor ADefault) const {
  const TBTNode20* child = FindChildNodeByName(ANodeName);
  const auto* node = child != nullptr ? child->ConvertNode_Color() : nullptr;
  return node != nullptr ? node->Data() : ADefault;
}

TBTNode20_Class* TBTNode20::FindChildClassNode(const QString& ANodeName) const {
  TBTNode20* child = FindChildNodeByName(ANodeName);
  return child != nullptr ? child->ConvertNode_Class() : nullptr;
}

// ---------------------------------------------------------------------------
// Node kinds

TBTNode20_Directory::TBTNode20_Directory(const QString& ANodeCaption, const QString& ANodeName)
    : TBTNode20(TypeCode, ANodeCaption, ANodeName) {}

void TBTNode20_Directory::ClearData() {}

void TBTNode20_Directory::ReadBuffer(std::span<std::byte>) const {}

// A directory carries no data; bytes stored with one are skipped.
void TBTNode20_Directory::WriteBuffer(std::span<const std::byte>) {}

TBTNode20_WideString::TBTNode20_WideString(const QString& ANodeCaption, const QString& ANodeName)
    : TBTNode20(TypeCode, ANodeCaption, ANodeName) {}

void TBTNode20_WideString::SetData(const QString& AValue) {
  FDataSize = TextDataSize(AValue);
  FData = AValue;
  FStoredTail.clear();
}

void TBTNode20_WideString::ClearData() {
  FData.clear();
  FStoredTail.clear();
  FDataSize = 0;
}

void TBTNode20_WideString::ReadBuffer(std::span<std::byte> ADest) const {
  CheckDestination(ADest, FDataSize);
  PutTail(ADest.data() + PutText(ADest.data(), FData, FData.size()), FStoredTail);
}

void TBTNode20_WideString::WriteBuffer(std::span<const std::byte> ASource) {
  SetData(ASource.empty() ? QString() : TakeText(ASource, std::numeric_limits<qsizetype>::max()));
  KeepTail(ASource, FDataSize, FStoredTail);
}

TBTNode20_Int32::TBTNode20_Int32(const QString& ANodeCaption, const QString& ANodeName)
    : TBTNode20(TypeCode, ANodeCaption, ANodeName) {
  FDataSize = 4;
}

void TBTNode20_Int32::ClearData() { FData = 0; }

void TBTNode20_Int32::ReadBuffer(std::span<std::byte> ADest) const {
  CheckDestination(ADest, FDataSize);
  PutScalar<std::int32_t>(ADest, FData);
}

void TBTNode20_Int32::WriteBuffer(std::span<const std::byte> ASource) { FData = TakeScalar<std::int32_t>(ASource); }

TBTNode20_UInt8::TBTNode20_UInt8(const QString& ANodeCaption, const QString& ANodeName)
    : TBTNode20(TypeCode, ANodeCaption, ANodeName) {
  FDataSize = 1;
}

void TBTNode20_UInt8::ClearData() { FData = 0; }

void TBTNode20_UInt8::ReadBuffer(std::span<std::byte> ADest) const {
  CheckDestination(ADest, FDataSize);
  ADest[0] = std::byte{FData};
}

void TBTNode20_UInt8::WriteBuffer(std::span<const std::byte> ASource) {
  if (ASource.empty()) RaiseInvalidDocument();
  FData = std::to_integer<std::uint8_t>(ASource[0]);
}

TBTNode20_UInt32::TBTNode20_UInt32(const QString& ANodeCaption, const QString& ANodeName)
    : TBTNode20(TypeCode, ANodeCaption, ANodeName) {
  FDataSize = 4;
}

void TBTNode20_UInt32::ClearData() { FData = 0; }

void TBTNode20_UInt32::ReadBuffer(std::span<std::byte> ADest) const {
  CheckDestination(ADest, FDataSize);
  PutScalar<std::uint32_t>(ADest, FData);
}

void TBTNode20_UInt32::WriteBuffer(std::span<const std::byte> ASource) {
  FData = TakeScalar<std::uint32_t>(ASource);
}

TBTNode20_Real64::TBTNode20_Real64(const QString& ANodeCaption, const QString& ANodeName)
    : TBTNode20(TypeCode, ANodeCaption, ANodeName) {
  FDataSize = 8;
}

void TBTNode20_Real64::ClearData() { FData = 0.0; }

void TBTNode20_Real64::ReadBuffer(std::span<std::byte> ADest) const {
  CheckDestination(ADest, FDataSize);
  PutScalar<std::uint64_t>(ADest, std::bit_cast<std::uint64_t>(FData));
}

void TBTNode20_Real64::WriteBuffer(std::span<const std::byte> ASource) {
  FData = std::bit_cast<double>(TakeScalar<std::uint64_t>(ASource));
}

TBTNode20_DateTime::TBTNode20_DateTime(const QString& ANodeCaption, const QString& ANodeName)
    : TBTNode20(TypeCode, ANodeCaption, ANodeName) {
  FDataSize = 8;
}

void TBTNode20_DateTime::ClearData() { FData = 0.0; }

void TBTNode20_DateTime::ReadBuffer(std::span<std::byte> ADest) const {
  CheckDestination(ADest, FDataSize);
  PutScalar<std::uint64_t>(ADest, std::bit_cast<std::uint64_t>(FData));
}

void TBTNode20_DateTime::WriteBuffer(std::span<const std::byte> ASource) {
  FData = std::bit_cast<double>(TakeScalar<std::uint64_t>(ASource));
}

TBTNode20_Bool32::TBTNode20_Bool32(const QString& ANodeCaption, const QString& ANodeName)
    : TBTNode20(TypeCode, ANodeCaption, ANodeName) {
  FDataSize = 4;
}

void TBTNode20_Bool32::ClearData() { FData = false; }

void TBTNode20_Bool32::ReadBuffer(std::span<std::byte> ADest) const {
  CheckDestination(ADest, FDataSize);
  PutScalar<std::uint32_t>(ADest, FData ? 0xFFFFFFFFu : 0u);
}

void TBTNode20_Bool32::WriteBuffer(std::span<const std::byte> ASource) {
  FData = TakeScalar<std::uint32_t>(ASource) != 0;
}

TBTNode20_Binary::TBTNode20_Binary(const QString& ANodeCaption, const QString& ANodeName)
    : TBTNode20(TypeCode, ANodeCaption, ANodeName) {}

void TBTNode20_Binary::SetDataBuf(const QByteArray& AValue) {
  if (static_cast<std::uint64_t>(AValue.size()) > std::numeric_limits<std::uint32_t>::max()) {
    throw EBinaryTreeDocError(QStringLiteral("Binary data too large for a document node"));
  }
  FData = AValue;
  FDataSize = static_cast<std::uint32_t>(AValue.size());
}

void TBTNode20_Binary::LoadFromStream(QIODevice& AStream) {
  QByteArray content = AStream.readAll();
  SetDataBuf(content);
}

void TBTNode20_Binary::SaveToStream(QIODevice& AStream) const {
  if (AStream.write(FData) != FData.size()) {
    throw Exception(QStringLiteral("Stream write error: %1").arg(AStream.errorString()));
  }
}

void TBTNode20_Binary::LoadFromFile(const QString& AFileName) {
  QFile file(AFileName);
  if (!file.open(QIODevice::ReadOnly)) {
    throw Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(AFileName, file.errorString()));
  }
  LoadFromStream(file);
}

void TBTNode20_Binary::SaveToFile(const QString& AFileName) const {
  QSaveFile file(AFileName);
  if (!file.open(QIODevice::WriteOnly)) {
    throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(AFileName, file.errorString()));
  }
  SaveToStream(file);
  if (!file.commit()) {
    throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(AFileName, file.errorString()));
  }
}

void TBTNode20_Binary::ClearData() {
  FData.clear();
  FDataSize = 0;
}

void TBTNode20_Binary::ReadBuffer(std::span<std::byte> ADest) const {
  CheckDestination(ADest, FDataSize);
  if (FDataSize != 0) std::memcpy(ADest.data(), FData.constData(), FDataSize);
}

void TBTNode20_Binary::WriteBuffer(std::span<const std::byte> ASource) {
  if (ASource.size() > std::numeric_limits<std::uint32_t>::max()) {
    throw EBinaryTreeDocError(QStringLiteral("Binary data too large for a document node"));
  }
  QByteArray data = UninitializedBuffer(static_cast<qsizetype>(ASource.size()));
  if (!ASource.empty()) std::memcpy(data.data(), ASource.data(), ASource.size());
  FData = std::move(data);
  FDataSize = static_cast<std::uint32_t>(ASource.size());
}

TBTNode20_Class::TBTNode20_Class(const QString& ANodeCaption, const QString& ANodeName)
    : TBTNode20(TypeCode, ANodeCaption, ANodeName) {}

void TBTNode20_Class::SetClassName(const QString& AValue) {
  FDataSize = TextDataSize(AValue);
  FClassName = AValue;
  FStoredTail.clear();
}

void TBTNode20_Class::ClearData() {
  FClassName.clear();
  FStoredTail.clear();
  FDataSize = 0;
}

void TBTNode20_Class::ReadBuffer(std::span<std::byte> ADest) const {
  CheckDestination(ADest, FDataSize);
  PutTail(ADest.data() + PutText(ADest.data(), FClassName, FClassName.size()), FStoredTail);
}

void TBTNode20_Class::WriteBuffer(std::span<const std::byte> ASource) {
  SetClassName(ASource.empty() ? QString() : TakeText(ASource, std::numeric_limits<qsizetype>::max()));
  KeepTail(ASource, FDataSize, FStoredTail);
}

TBTNode20_Color::TBTNode20_Color(const QString& ANodeCaption, const QString& ANodeName)
    : TBTNode20(TypeCode, ANodeCaption, ANodeName) {
  FDataSize = 5;
}

void TBTNode20_Color::ClearData() { FData = 0; }

void TBTNode20_Color::ReadBuffer(std::span<std::byte> ADest) const {
  CheckDestination(ADest, FDataSize);
  PutScalar<std::uint32_t>(ADest, FData);
  ADest[4] = std::byte{0};
}

// Only the colour is read; the fifth byte carries nothing, so four bytes suffice.
void TBTNode20_Color::WriteBuffer(std::span<const std::byte> ASource) { FData = TakeScalar<std::uint32_t>(ASource); }

// ---------------------------------------------------------------------------
// Reading

namespace ostrel::btdoc {

// Parses a stored document into a new tree without touching any existing one.
class DocReader {
 public:
  explicit DocReader(std::span<const std::byte> ASource) : FSource(ASource) {}

  QString ReadHeader() {
    if (FSource.size() < 2) RaiseInvalidDocument();
    if (std::to_integer<std::uint8_t>(FSource[0]) != TBTDOC20::CurrentVersion) {
      throw EBinaryTreeDocError(kInvalidVersion);
    }
    FPos = 2;
    const std::size_t nameSize = std::to_integer<std::uint8_t>(FSource[1]);
    if (nameSize == 0) return {};
    return TakeText(Field(nameSize), TBTNode20::MaxTextLength);
  }

  // Reads the root record and, in pre-order, all records below it. An explicit
  // stack keeps deeply nested input from exhausting the call stack.
  std::unique_ptr<TBTNode20> ReadTree() {
    std::uint32_t childCount = 0;
    std::unique_ptr<TBTNode20> root = ReadRecord(childCount);
    struct Pending {
      TBTNode20* node;
      std::uint32_t remaining;
    };
    std::vector<Pending> stack;
    if (childCount != 0) stack.push_back({root.get(), childCount});
    while (!stack.empty()) {
      Pending& top = stack.back();
      if (top.remaining == 0) {
        stack.pop_back();
        continue;
      }
      --top.remaining;
      TBTNode20* parent = top.node;
      TBTNode20* child = parent->FChildNodes.AppendNew(ReadRecord(childCount));
      if (childCount != 0) stack.push_back({child, childCount});
    }
    return root;
  }

 private:
  std::span<const std::byte> Field(std::size_t ASize) {
    if (ASize > FSource.size() - FPos) RaiseInvalidDocument();
    const auto field = FSource.subspan(FPos, ASize);
    FPos += ASize;
    return field;
  }

  std::unique_ptr<TBTNode20> ReadRecord(std::uint32_t& AChildCount) {
    const auto header = Field(kRecordHeaderSize);
    const auto type = std::to_integer<std::uint8_t>(header[0]);
    AChildCount = qFromLittleEndian<std::uint32_t>(header.data() + 1);
    const std::size_t nameSize = std::to_integer<std::uint8_t>(header[5]);
    const std::size_t captionSize = std::to_integer<std::uint8_t>(header[6]);
    const std::size_t dataSize = qFromLittleEndian<std::uint32_t>(header.data() + 7);
    if (!TBTNode20::IsValidNodeType(type)) throw EBinaryTreeDocError(kInvalidNode);

    const auto nameField = Field(nameSize);
    const auto captionField = Field(captionSize);
    const auto dataField = Field(dataSize);

    QString name = nameSize != 0 ? SharedText(FLabels, nameField, TBTNode20::MaxTextLength) : QString();
    // A blank stored name would break the rule that names are never blank.
    if (name.trimmed().isEmpty()) name = kNoName;
    const QString caption = captionSize != 0 ? SharedText(FLabels, captionField, TBTNode20::MaxTextLength) : QString();
    std::unique_ptr<TBTNode20> node = TBTNode20::Create(type, caption, name);
    if (dataSize != 0 && type == TBTNode20_WideString::TypeCode) {
      auto* text = static_cast<TBTNode20_WideString*>(node.get());
      text->SetData(SharedText(FValues, dataField, kWholeText));
      KeepTail(dataField, text->FDataSize, text->FStoredTail);
    } else if (dataSize != 0 && type == TBTNode20_Class::TypeCode) {
      auto* classNode = static_cast<TBTNode20_Class*>(node.get());
      classNode->SetClassName(SharedText(FValues, dataField, kWholeText));
      KeepTail(dataField, classNode->FDataSize, classNode->FStoredTail);
    } else {
      node->WriteBuffer(dataField);
    }
    if (AChildCount != 0) {
      // Every record takes at least its header, which bounds what a damaged count can reserve.
      const std::size_t possible = (FSource.size() - FPos) / kRecordHeaderSize;
      node->FChildNodes.FItems.reserve(std::min<std::size_t>(AChildCount, possible));
    }
    return node;
  }

  // Documents repeat the same names, captions and class names in every
  // object they hold; equal stored bytes decode once and share one string.
  using TextCache = std::unordered_map<std::string_view, QString>;
  static QString SharedText(TextCache& ACache, std::span<const std::byte> AField, qsizetype AMaxLength) {
    const std::string_view key(reinterpret_cast<const char*>(AField.data()), AField.size());
    const auto found = ACache.find(key);
    if (found != ACache.end()) return found->second;
    QString text = TakeText(AField, AMaxLength);
    if (key.size() <= kMaxSharedTextBytes && ACache.size() < kMaxSharedTexts) ACache.emplace(key, text);
    return text;
  }

  static constexpr qsizetype kWholeText = std::numeric_limits<qsizetype>::max();
  static constexpr std::size_t kMaxSharedTexts = 4096;
  static constexpr std::size_t kMaxSharedTextBytes = 256;

  std::span<const std::byte> FSource;
  std::size_t FPos = 0;
  // Keys point into FSource, which outlives the reader. Names and captions
  // are cut, text values are not, so each has its own cache.
  TextCache FLabels;
  TextCache FValues;
};

}  // namespace ostrel::btdoc

// ---------------------------------------------------------------------------
// TBTDOC20

TBTDOC20::TBTDOC20() : FTopNode(std::make_unique<TBTNode20_Directory>(QString(), QStringLiteral("\\"))) {}

TBTDOC20::~TBTDOC20() = default;

void TBTDOC20::SetName(const QString& AValue) { FName = AValue.left(TBTNode20::MaxTextLength); }

void TBTDOC20::Clear() { FTopNode->ChildNodes().Clear(); }

std::size_t TBTDOC20::DocBufSize() const {
  std::size_t size = 2 + StoredTextSize(FName);
  std::vector<const TBTNode20*> stack{FTopNode.get()};
  while (!stack.empty()) {
    const TBTNode20* node = stack.back();
    stack.pop_back();
    size += kRecordHeaderSize + StoredTextSize(node->FNodeName) + StoredTextSize(node->FNodeCaption) +
            node->FDataSize;
    for (const auto& child : node->FChildNodes.FItems) stack.push_back(child.get());
  }
  return size;
}

std::size_t TBTDOC20::Save(std::span<std::byte> ADest) const {
  const std::size_t total = DocBufSize();
  if (ADest.size() < total) throw EBinaryTreeDocError(QStringLiteral("Buffer too small for the document"));
  std::byte* out = ADest.data();
  out[0] = std::byte{FVersion};
  out[1] = std::byte{StoredTextSize(FName)};
  out += 2;
  out += PutText(out, FName, StoredTextLength(FName));

  // Pre-order: children are pushed last first so the first child is written next.
  std::vector<const TBTNode20*> stack{FTopNode.get()};
  while (!stack.empty()) {
    const TBTNode20* node = stack.back();
    stack.pop_back();
    out[0] = std::byte{node->FNodeType};
    qToLittleEndian<std::uint32_t>(static_cast<std::uint32_t>(node->FChildNodes.FItems.size()), out + 1);
    out[5] = std::byte{StoredTextSize(node->FNodeName)};
    out[6] = std::byte{StoredTextSize(node->FNodeCaption)};
    qToLittleEndian<std::uint32_t>(node->FDataSize, out + 7);
    out += kRecordHeaderSize;
    out += PutText(out, node->FNodeName, StoredTextLength(node->FNodeName));
    out += PutText(out, node->FNodeCaption, StoredTextLength(node->FNodeCaption));
    node->ReadBuffer(std::span<std::byte>(out, node->FDataSize));
    out += node->FDataSize;
    const auto& children = node->FChildNodes.FItems;
    for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back(it->get());
  }
  return total;
}

QByteArray TBTDOC20::Save() const {
  const std::size_t size = DocBufSize();
  if (size > static_cast<std::size_t>(std::numeric_limits<qsizetype>::max())) {
    throw EBinaryTreeDocError(QStringLiteral("Document too large"));
  }
  QByteArray buffer = UninitializedBuffer(static_cast<qsizetype>(size));
  Save(std::as_writable_bytes(std::span<char>(buffer.data(), static_cast<std::size_t>(buffer.size()))));
  return buffer;
}

void TBTDOC20::Load(std::span<const std::byte> ASource) {
  ostrel::btdoc::DocReader reader(ASource);
  QString name = reader.ReadHeader();
  std::unique_ptr<TBTNode20> root = reader.ReadTree();
  FName = std::move(name);
  FTopNode = std::move(root);
}

void TBTDOC20::Load(const QByteArray& ASource) {
  Load(std::as_bytes(std::span<const char>(ASource.constData(), static_cast<std::size_t>(ASource.size()))));
}

void TBTDOC20::LoadFromStream(QIODevice& AStream) {
  if (!AStream.isSequential()) AStream.seek(0);
  Load(AStream.readAll());
}

void TBTDOC20::SaveToStream(QIODevice& AStream) const {
  const QByteArray buffer = Save();
  if (!AStream.isSequential()) AStream.seek(0);
  if (AStream.write(buffer) != buffer.size()) {
    throw Exception(QStringLiteral("Stream write error: %1").arg(AStream.errorString()));
  }
  if (auto* file = qobject_cast<QFileDevice*>(&AStream)) {
    file->resize(buffer.size());
  } else if (auto* memory = qobject_cast<QBuffer*>(&AStream)) {
    memory->buffer().truncate(buffer.size());
  }
}

void TBTDOC20::LoadFromFile(const QString& AFileName) {
  QFile file(AFileName);
  if (!file.open(QIODevice::ReadOnly)) {
    throw Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(AFileName, file.errorString()));
  }
  LoadFromStream(file);
}

void TBTDOC20::SaveToFile(const QString& AFileName) const {
  QSaveFile file(AFileName);
  if (!file.open(QIODevice::WriteOnly)) {
    throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(AFileName, file.errorString()));
  }
  const QByteArray buffer = Save();
  if (file.write(buffer) != buffer.size() || !file.commit()) {
    throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(AFileName, file.errorString()));
  }
}

void TBTDOC20::Assign(const TBTDOC20& ASource) {
  if (&ASource == this) return;
  Load(ASource.Save());
}

TBTNode20* TBTDOC20::CreateNode(std::uint8_t AType, TBTNode20* AParentNode, const QString& ANodeCaption,
                                const QString& ANodeName) {
  TBTNode20* parent = AParentNode != nullptr ? AParentNode : FTopNode.get();
  return parent->AddChildNode(AType, ANodeName, ANodeCaption);
}

TBTNode20* TBTDOC20::FindNodeByName(const QString& ANodeName, bool ARecursive) const {
  if (!ARecursive) return Nodes().FindNodeByName(ANodeName);
  // Depth-first, each node before its subtree, siblings from the last to the first.
  std::vector<TBTNode20*> stack;
  for (const auto& child : FTopNode->FChildNodes.FItems) stack.push_back(child.get());
  while (!stack.empty()) {
    TBTNode20* node = stack.back();
    stack.pop_back();
    if (node->NodeName() == ANodeName) return node;
    for (const auto& child : node->FChildNodes.FItems) stack.push_back(child.get());
  }
  return nullptr;
}

namespace {

QString StripPath(const QString& APath) {
  const QString trimmed = APath.trimmed();
  qsizetype first = 0;
  qsizetype last = trimmed.size();
  while (first < last && trimmed[first] == u'\\') ++first;
  while (last > first && trimmed[last - 1] == u'\\') --last;
  return trimmed.mid(first, last - first);
}

TBTNode20* FindByPath(const TBTNodeList20& ANodes, const QString& ANodePath) {
  const QString path = StripPath(ANodePath);
  const qsizetype slash = path.indexOf(u'\\');
  const QString head = slash < 0 ? path : path.left(slash);
  if (head.isEmpty()) return nullptr;
  const QString rest = slash < 0 ? QString() : path.mid(slash + 1);
  for (TBTNode20* node : ANodes) {
    if (node->NodeName() != head) continue;
    if (rest.isEmpty()) return node;
    if (TBTNode20* found = FindByPath(node->ChildNodes(), rest)) return found;
  }
  return nullptr;
}

}  // namespace

TBTNode20* TBTDOC20::FindNodeByPath(const QString& ANodePath) const { return FindByPath(Nodes(), ANodePath); }
