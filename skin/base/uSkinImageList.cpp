#include "skin/base/uSkinImageList.h"

#include "skin/base/uDrawCanvas.h"
#include "skin/base/uDrawClassRegistry.h"
#include "skin/base/uDrawPicture.h"

#include <QStringView>

#include <array>
#include <cmath>

namespace {

// Scales beyond this are no display's; a larger value would only lengthen the search.
constexpr int kMaxLookupScale = 16;

int LookupScaleCeiling(double AScreenScale) {
  if (!(AScreenScale > 1.0)) return 1;
  if (AScreenScale >= kMaxLookupScale) return kMaxLookupScale;
  return static_cast<int>(std::ceil(AScreenScale));
}

// "@Kx" for a scale K > 1, kept on the stack: the lookup runs for every
// picture drawn by name, and should not allocate.
class ScaleSuffix {
 public:
  explicit ScaleSuffix(int AScale) {
    FText[FSize++] = u'@';
    if (AScale >= 10) FText[FSize++] = static_cast<char16_t>(u'0' + AScale / 10);
    FText[FSize++] = static_cast<char16_t>(u'0' + AScale % 10);
    FText[FSize++] = u'x';
  }
  QStringView View() const { return QStringView(FText.data(), FSize); }

 private:
  std::array<char16_t, 4> FText{};
  qsizetype FSize = 0;
};

bool IsNameWithSuffix(QStringView AItemName, QStringView AName, QStringView ASuffix) {
  return AItemName.size() == AName.size() + ASuffix.size() && AItemName.startsWith(AName) && AItemName.endsWith(ASuffix);
}

std::unique_ptr<TDrawPicture> PictureFromFile(const QString& APictureFile) {
  std::unique_ptr<TDrawPicture> picture = CreateDrawPicture(QString(), QString(), QString());
  picture->LoadFromFile(APictureFile);
  return picture;
}

}  // namespace

// TDrawPictureList

TDrawPictureList::TDrawPictureList() : TBinaryObjectList(true) {}

TDrawPictureList::~TDrawPictureList() = default;

std::unique_ptr<TPersistent> TDrawPictureList::CreateBinaryObject(const QString&) {
  return CreateDrawPicture(QString(), QString(), QString());
}

TDrawPicture* TDrawPictureList::GetItem(int Index) const { return GetItemAs<TDrawPicture>(Index); }

TDrawPicture* TDrawPictureList::GetItemByName(const QString& AName) const {
  ostrel::skin::DrawClasses();  // the back end reads the display scale when it starts
  return GetItemByName(AName, ostrel::skin::DrawSettings().ScreenScale);
}

TDrawPicture* TDrawPictureList::GetItemByName(const QString& AName, double AScreenScale) const {
  if (AName.isEmpty()) return nullptr;
  const int count = Count();
  for (int scale = LookupScaleCeiling(AScreenScale); scale > 1; --scale) {
    const ScaleSuffix suffix(scale);
    for (int i = 0; i < count; ++i) {
      TDrawPicture* const item = GetItem(i);
      if (item != nullptr && IsNameWithSuffix(item->ImageName(), AName, suffix.View())) return item;
    }
  }
  for (int i = 0; i < count; ++i) {
    TDrawPicture* const item = GetItem(i);
    if (item != nullptr && item->ImageName() == AName) return item;
  }
  return nullptr;
}

TDrawPicture* TDrawPictureList::Add() { return static_cast<TDrawPicture*>(AddBinaryObject()); }

int TDrawPictureList::AddPictureFile(const QString& APictureFile) { return AddOwned(PictureFromFile(APictureFile)); }

int TDrawPictureList::AddFileNameOnly(const QString& AFileName) {
  std::unique_ptr<TDrawPicture> picture = CreateDrawPicture(QString(), QString(), QString());
  picture->SetFileName(ostrel::skin::FileNamePart(AFileName));
  return AddOwned(std::move(picture));
}

void TDrawPictureList::ReplacePictureFile(int Index, const QString& APictureFile) {
  CheckItemIndex(Index, Count() - 1);
  SetItem(Index, PictureFromFile(APictureFile));
}

void TDrawPictureList::ReplaceFileNameOnly(int AIndex, const QString& AFileName) {
  CheckItemIndex(AIndex, Count() - 1);
  if (TDrawPicture* const item = GetItem(AIndex)) item->SetFileName(ostrel::skin::FileNamePart(AFileName));
}

void TDrawPictureList::SetItem(int Index, std::unique_ptr<TDrawPicture> AValue) {
  TBinaryObjectList::SetItem(Index, std::move(AValue));
}

// TSkinBaseImageList

TSkinBaseImageList::TSkinBaseImageList(TComponent* AOwner)
    : TComponent(AOwner),
      FSkinObjectChangeManager(std::make_unique<TSkinObjectChangeManager>(this)),
      FPictureList(std::make_unique<TDrawPictureList>()) {
  FPictureList->SetOnChange([this](TObject*) { DoChange(); });
}

TSkinBaseImageList::~TSkinBaseImageList() {
  BeginDestroy();
  FPictureList.reset();
}

int TSkinBaseImageList::Count() const { return FPictureList->Count(); }

TDrawPicture* TSkinBaseImageList::GetItem(int AIndex) const { return FPictureList->GetItem(AIndex); }

TDrawPicture* TSkinBaseImageList::GetItemByName(const QString& AName) const { return FPictureList->GetItemByName(AName); }

void TSkinBaseImageList::SetPictureList(const TDrawPictureList* AValue) { FPictureList->Assign(AValue); }

void TSkinBaseImageList::RegisterChanges(TSkinObjectChangeLink* ALink) { FSkinObjectChangeManager->RegisterChanges(ALink); }

void TSkinBaseImageList::UnRegisterChanges(TSkinObjectChangeLink* ALink) {
  FSkinObjectChangeManager->UnRegisterChanges(ALink);
}

void TSkinBaseImageList::DoChange() { FSkinObjectChangeManager->DoChange(this); }

void TSkinBaseImageList::BeginDestroy() {
  if (!FSkinObjectChangeManager->IsDestroy()) FSkinObjectChangeManager->BeginDestroy(this);
}

TSkinImageList::~TSkinImageList() = default;

// Building stored data

QByteArray ostrel::skin::BuildImageListData(std::span<const NamedPictureFile> APictures) {
  TDrawPictureList list;
  for (const NamedPictureFile& entry : APictures) {
    std::unique_ptr<TDrawPicture> picture = PictureFromFile(entry.FilePath);
    if (picture->IsEmpty()) throw Exception(QStringLiteral("\"%1\" holds no picture").arg(entry.FilePath));
    // The picture's own name and its image-list name: stored data names
    // each item twice, and lists find it by the second.
    static_cast<TSkinPicture&>(*picture).SetImageName(entry.ImageName);
    picture->SetStaticImageName(entry.ImageName);
    list.AddOwned(std::move(picture));
  }
  return list.SaveToBytes();
}
