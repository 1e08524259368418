#include "skin/base/uBinaryObjectList.h"

#include "skin/base/uBinaryTreeDoc.h"

namespace {

// Closes the list's update bracket however the work inside it ends.
class UpdateBracket {
 public:
  explicit UpdateBracket(TBaseList& AList) : FList(AList) { FList.BeginUpdate(); }
  ~UpdateBracket() { FList.EndUpdate(); }
  UpdateBracket(const UpdateBracket&) = delete;
  UpdateBracket& operator=(const UpdateBracket&) = delete;

 private:
  TBaseList& FList;
};

}  // namespace

TBinaryObjectList::TBinaryObjectList(bool AIsCreateObjectChangeManager)
    : TBaseList(TObjectOwnership::ooOwned, AIsCreateObjectChangeManager) {}

TBinaryObjectList::~TBinaryObjectList() = default;

std::unique_ptr<TPersistent> TBinaryObjectList::CreateBinaryObject(const QString&) {
  throw Exception(QStringLiteral("Have Not Implement TBinaryObjectList.CreateBinaryObject"));
}

QString TBinaryObjectList::GetBinaryObjectNodeName() const { return QStringLiteral("BinaryObject"); }

bool TBinaryObjectList::CanSaveToDocNode(const TObject*) const { return true; }

void TBinaryObjectList::CheckItemIndex(int AIndex, int ALast) const {
  if (AIndex < 0 || AIndex > ALast) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(AIndex));
}

TPersistent* TBinaryObjectList::AddBinaryObject() {
  std::unique_ptr<TPersistent> object = CreateBinaryObject(QString());
  TPersistent* const result = object.get();
  AddOwned(std::move(object));
  return result;
}

TPersistent* TBinaryObjectList::Insert(int Index) {
  CheckItemIndex(Index, Count());
  if (ObjectOwnership() != TObjectOwnership::ooOwned) {
    throw EListError(QStringLiteral("A reference list cannot take over an object"));
  }
  std::unique_ptr<TPersistent> object = CreateBinaryObject(QString());
  TPersistent* const result = object.release();
  TBaseList::Insert(Index, result);
  return result;
}

TPersistent* TBinaryObjectList::GetItem(int Index) const { return GetItemAs<TPersistent>(Index); }

void TBinaryObjectList::SetItem(int Index, std::unique_ptr<TPersistent> Value) {
  CheckItemIndex(Index, Count() - 1);
  TObject* const old = TBaseList::GetItem(Index);
  int heldIn = 0;
  for (int i = 0; i < Count(); ++i) heldIn += TBaseList::GetItem(i) == old ? 1 : 0;
  // An item held in another slot too stays; otherwise it is freed, also when
  // a change handler raises, since its slot no longer holds it by then.
  const std::unique_ptr<TObject> doomed(ObjectOwnership() == TObjectOwnership::ooOwned && heldIn == 1 ? old : nullptr);
  TBaseList::SetItem(Index, Value.release());
}

void TBinaryObjectList::LoadFromDocNode(TBTNode20* ADocNode) {
  if (ADocNode == nullptr) return;
  const UpdateBracket bracket(*this);
  for (TBTNode20* child : ADocNode->ChildNodes()) {
    TBTNode20_Class* const node = child->ConvertNode_Class();
    if (node == nullptr) continue;
    std::unique_ptr<TPersistent> object = CreateBinaryObject(node->ReadChildWideString(QStringLiteral("ClassName")));
    auto* const storable = dynamic_cast<ISupportClassDocNode*>(object.get());
    if (storable == nullptr) continue;
    storable->LoadFromDocNode(node);
    AddOwned(std::move(object));
  }
}

void TBinaryObjectList::SaveToDocNode(TBTNode20* ADocNode) const {
  if (ADocNode == nullptr) return;
  const QString nodeName = GetBinaryObjectNodeName();
  for (int i = 0; i < Count(); ++i) {
    TObject* const item = TBaseList::GetItem(i);
    if (item == nullptr) continue;
    TBTNode20_Class* const node = ADocNode->AddChildNode_Class(nodeName);
    if (const auto* storable = dynamic_cast<const ISupportClassDocNode*>(item); storable != nullptr && CanSaveToDocNode(item)) {
      storable->SaveToDocNode(node);
    }
  }
}

QByteArray TBinaryObjectList::SaveToBytes() const {
  TBTDOC20 document;
  SaveToDocNode(document.TopNode());
  return document.Save();
}

void TBinaryObjectList::LoadFromBytes(const QByteArray& AData) {
  // The whole document is read before the list is touched, so bytes that
  // are no document leave every item in place.
  TBTDOC20 document;
  if (!AData.isEmpty()) document.Load(AData);
  const UpdateBracket bracket(*this);
  Clear(true, true);
  LoadFromDocNode(document.TopNode());
}

void TBinaryObjectList::LoadFromFile(const QString& AFilePath, bool AIsNeedClear) {
  TBTDOC20 document;
  document.LoadFromFile(AFilePath);
  const UpdateBracket bracket(*this);
  if (AIsNeedClear) Clear(true, true);
  LoadFromDocNode(document.TopNode());
}

bool TBinaryObjectList::SaveToFile(const QString& AFilePath) const {
  try {
    TBTDOC20 document;
    SaveToDocNode(document.TopNode());
    document.SaveToFile(AFilePath);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void TBinaryObjectList::Assign(const TPersistent* ASource) {
  const auto* source = dynamic_cast<const TBinaryObjectList*>(ASource);
  if (source == nullptr || source == this) return;
  const UpdateBracket bracket(*this);
  Clear(true, true);
  for (int i = 0; i < source->Count(); ++i) {
    const TPersistent* const item = source->GetItem(i);
    if (item == nullptr) continue;
    std::unique_ptr<TPersistent> copy = CreateBinaryObject(item->ClassName());
    copy->Assign(item);
    AddOwned(std::move(copy));
  }
}

QStringList TBinaryObjectList::BinaryPropertyNames() const { return {QStringLiteral("Data")}; }

void TBinaryObjectList::ReadBinaryProperty(const QString&, const QByteArray& AData) { LoadFromBytes(AData); }

std::optional<QByteArray> TBinaryObjectList::WriteBinaryProperty(const QString&) const { return SaveToBytes(); }
