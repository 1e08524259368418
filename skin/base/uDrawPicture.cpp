#include "skin/base/uDrawPicture.h"

#include "skin/base/uBaseLog.h"
#include "skin/base/uDrawParam.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

TDownloadPictureManager* gDefaultDownloadPictureManager = nullptr;

// The folder of the running program, with a trailing separator.
QString ExecutableFolder() {
  QString folder;
  if (QCoreApplication::instance() != nullptr) {
    folder = QCoreApplication::applicationDirPath();
  } else {
    folder = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
  }
  return folder.endsWith(u'/') ? folder : folder + u'/';
}

bool IsEmptyPicture(TSkinPicture* APicture) { return APicture == nullptr || APicture->IsEmpty(); }

const char* StateText(TDownloadPictureState AState) {
  switch (AState) {
    case TDownloadPictureState::dpsNone: return "None";
    case TDownloadPictureState::dpsWaitDownload: return "WaitDownload";
    case TDownloadPictureState::dpsDownloadSucc: return "DownloadSucc";
    case TDownloadPictureState::dpsDownloadFail: return "DownloadFail";
    case TDownloadPictureState::dpsDownloadImageInvalid: return "DownloadImageInvalid";
    case TDownloadPictureState::dpsDownloading: break;
  }
  return nullptr;
}

}  // namespace

TDownloadPictureCacheItem::~TDownloadPictureCacheItem() = default;

TDownloadPictureManager::~TDownloadPictureManager() = default;

QString ostrel::skin::FileNamePart(const QString& AFileName) {
  // Forms written on Windows separate folders with backslashes.
  const qsizetype folderEnd = std::max(AFileName.lastIndexOf(u'/'), AFileName.lastIndexOf(u'\\'));
  return AFileName.mid(folderEnd + 1);
}

QString ostrel::skin::ResourceNameFromFileName(const QString& AFileName) {
  QString name = FileNamePart(AFileName);
  name.replace(u'@', u'_');
  name.replace(u'.', u'_');
  return name;
}

TDownloadPictureManager* ostrel::skin::DefaultDownloadPictureManager() { return gDefaultDownloadPictureManager; }

void ostrel::skin::SetDefaultDownloadPictureManager(TDownloadPictureManager* AManager) {
  gDefaultDownloadPictureManager = AManager;
}

// TBaseDrawPicture

TBaseDrawPicture::TBaseDrawPicture(const QString& AName, const QString& ACaption, const QString& AGroup)
    : FName(AName), FCaption(ACaption), FGroup(AGroup), FSkinImageListChangeLink(std::make_unique<TSkinObjectChangeLink>()) {
  FSkinImageListChangeLink->SetOnChange([this](TObject*) { DoChange(); });
  FSkinImageListChangeLink->SetOnDestroy([this](TObject*) { FSkinImageList = nullptr; });
}

TBaseDrawPicture::~TBaseDrawPicture() {
  // The entry may outlive this picture; it must not tell a picture that is gone.
  if (FUrlPicture != nullptr) FUrlPicture->RemoveListener(this);
}

TDrawPicture* TBaseDrawPicture::RefDrawPicture() const { return static_cast<TDrawPicture*>(FRefDrawPicture.data()); }

void TBaseDrawPicture::SetStaticRefDrawPicture(TDrawPicture* AValue) { FRefDrawPicture = AValue; }

TSkinPicture* TBaseDrawPicture::CurrentPicture() {
  switch (FPictureDrawType) {
    case TPictureDrawType::pdtPicture: return this;
    case TPictureDrawType::pdtImageList: return ImageIndexPicture();
    case TPictureDrawType::pdtImageName: return ImageNamePicture();
    case TPictureDrawType::pdtReference: return FRefPicture.data();
    case TPictureDrawType::pdtRefDrawPicture: return RefDrawPicture() != nullptr ? RefDrawPicture()->CurrentPicture() : nullptr;
    case TPictureDrawType::pdtFile: return FileNamePicture();
    case TPictureDrawType::pdtUrl: return WebUrlPicture();
    case TPictureDrawType::pdtResource: return ResourceNamePicture();
    case TPictureDrawType::pdtOnGetPictureEvent: return OnGetPictureEventPicture();
    case TPictureDrawType::pdtAuto: break;
  }
  // Each source is tried only while nothing with pixels was found.
  TSkinPicture* result = TSkinPicture::CurrentPicture();
  if (IsEmptyPicture(result) && FRefPicture != nullptr) result = FRefPicture.data();
  if (IsEmptyPicture(result) && RefDrawPicture() != nullptr) result = RefDrawPicture()->CurrentPicture();
  if (IsEmptyPicture(result)) result = ImageIndexPicture();
  if (IsEmptyPicture(result)) result = ImageNamePicture();
  if (IsEmptyPicture(result) && !FFileName.isEmpty()) result = FileNamePicture();
  if (IsEmptyPicture(result) && (!FResourceName.isEmpty() || !FFileName.isEmpty())) result = ResourceNamePicture();
  if (IsEmptyPicture(result)) result = !FUrl.isEmpty() ? WebUrlPicture() : OnGetPictureEventPicture();
  return result;
}

bool TBaseDrawPicture::CurrentPictureIsEmpty() { return IsEmptyPicture(CurrentPicture()); }

int TBaseDrawPicture::CurrentPictureWidth() {
  TSkinPicture* picture = CurrentPicture();
  return picture != nullptr ? picture->Width() : 0;
}

int TBaseDrawPicture::CurrentPictureHeight() {
  TSkinPicture* picture = CurrentPicture();
  return picture != nullptr ? picture->Height() : 0;
}

bool TBaseDrawPicture::CurrentPictureIsGIF() {
  TSkinPicture* picture = CurrentPicture();
  return picture != nullptr && picture->HasGIFStream();
}

TSkinBaseImageList* TBaseDrawPicture::ImageList() const {
  if (FSkinImageList != nullptr) return FSkinImageList;
  TSkinBaseImageList* supplied = nullptr;
  if (OnGetSkinImageList) OnGetSkinImageList(const_cast<TBaseDrawPicture*>(this), supplied);
  return supplied;
}

TSkinPicture* TBaseDrawPicture::ImageIndexPicture() const {
  const TSkinBaseImageList* list = ImageList();
  if (list == nullptr) return nullptr;
  const int count = list->Count();
  for (const std::int32_t index : {CurrentEffectImageIndex, FImageIndex}) {
    if (index < 0 || index >= count) continue;
    if (TDrawPicture* item = list->GetItem(index)) return item->CurrentPicture();
  }
  return nullptr;
}

TSkinPicture* TBaseDrawPicture::ImageNamePicture() const {
  const TSkinBaseImageList* list = ImageList();
  if (list == nullptr) return nullptr;
  for (const QString* name : {&CurrentEffectImageName, &FImageName}) {
    if (name->isEmpty()) continue;
    if (TDrawPicture* item = list->GetItemByName(*name)) return item->CurrentPicture();
  }
  return nullptr;
}

TSkinPicture* TBaseDrawPicture::FileNamePicture() {
  if (FIsLoadedFromFile) return FFilePicture.get();
  FFilePicture.reset();
  FIsLoadedFromFile = true;
  QString path = FFileName;
  if (!QFileInfo(path).isFile()) path = ExecutableFolder() + FFileName;
  if (FFileName.isEmpty() || !QFileInfo(path).isFile()) return nullptr;
  auto picture = std::make_unique<TSkinPicture>();
  try {
    picture->LoadFromFile(path);
  } catch (const EFOpenError& e) {
    // A file that exists but cannot be read is a missing picture, not a failed paint.
    TBaseLog::Instance().HandleException(e.Message(), QStringLiteral("uDrawPicture"),
                                         QStringLiteral("TBaseDrawPicture.FileNamePicture ") + path, QString());
    return nullptr;
  }
  FLoadedFilePath = path;
  FFilePicture = std::move(picture);
  return FFilePicture.get();
}

TSkinPicture* TBaseDrawPicture::ResourceNamePicture() {
  if (FIsLoadedFromResource) return FResourcePicture.get();
  FResourcePicture.reset();
  FIsLoadedFromResource = true;
  const QString name = !FResourceName.isEmpty() ? FResourceName : ostrel::skin::ResourceNameFromFileName(FFileName);
  if (name.isEmpty()) return nullptr;
  auto picture = std::make_unique<TSkinPicture>();
  if (!picture->LoadFromResource(name)) return nullptr;
  FResourcePicture = std::move(picture);
  return FResourcePicture.get();
}

TDownloadPictureManager* TBaseDrawPicture::GetDownloadPictureManager() {
  if (FDownloadPictureManager != nullptr) return FDownloadPictureManager.data();
  TDownloadPictureManager* supplied = nullptr;
  if (OnGetDownloadPictureManager) OnGetDownloadPictureManager(this, supplied);
  return supplied != nullptr ? supplied : ostrel::skin::DefaultDownloadPictureManager();
}

TSkinPicture* TBaseDrawPicture::DownloadedPicture(TDownloadPictureCacheItem& AItem) {
  TSkinPicture* picture = AItem.Picture();
  if (!IsClipRound() || IsEmptyPicture(picture)) return picture;
  if (FUrlClipRoundSource != &AItem || FUrlClipRoundPicture == nullptr) {
    FUrlClipRoundPicture = picture->CreateClipRoundPicture(ClipRoundCorners(), ClipRoundYRadis(), ClipRoundXRadis());
    FUrlClipRoundSource = &AItem;
  }
  return FUrlClipRoundPicture.get();
}

TSkinPicture* TBaseDrawPicture::WebUrlPicture() {
  if (FUrlPicture == nullptr && !FUrl.isEmpty()) {
    if (TDownloadPictureManager* manager = GetDownloadPictureManager()) {
      FUrlPicture = manager->GetUrlPicture(FUrl, this, FName + FCaption);
    }
  }
  TDownloadPictureCacheItem* item = FUrlPicture.data();
  if (item == nullptr) return nullptr;
  const TDownloadPictureState state = item->State();
  if (const char* text = StateText(state);
      text != nullptr && !(state == TDownloadPictureState::dpsDownloadSucc && !IsEmptyPicture(item->Picture()))) {
    TBaseLog::Instance().OutputDebugString(QStringLiteral("BriselUI TBaseDrawPicture.WebUrlPicture UrlPicture.State ") +
                                           QString::fromLatin1(text));
  }
  TDownloadPictureManager* manager = GetDownloadPictureManager();
  switch (state) {
    case TDownloadPictureState::dpsDownloadSucc:
      return IsEmptyPicture(item->Picture()) ? nullptr : DownloadedPicture(*item);
    case TDownloadPictureState::dpsWaitDownload: return manager != nullptr ? manager->WaitDownloadPicture() : nullptr;
    case TDownloadPictureState::dpsDownloading: return manager != nullptr ? manager->DownloadingPicture() : nullptr;
    case TDownloadPictureState::dpsDownloadFail: return manager != nullptr ? manager->DownloadFailPicture() : nullptr;
    case TDownloadPictureState::dpsDownloadImageInvalid:
      return manager != nullptr ? manager->ImageInvalidPicture() : nullptr;
    case TDownloadPictureState::dpsNone: break;
  }
  return nullptr;
}

void TBaseDrawPicture::DownloadStateChanged(TDownloadPictureCacheItem* AItem) {
  if (AItem == nullptr || AItem != FUrlPicture.data()) return;
  if (AItem->State() != TDownloadPictureState::dpsDownloadSucc || !QFileInfo(AItem->FileName()).isFile()) return;
  if (!AItem->IsPictureLoaded() && AItem->Picture() != nullptr) {
    TSkinPicture& picture = *AItem->Picture();
    try {
      if (IsCheckGIFWhenLoad) {
        picture.LoadFromFile(AItem->FileName());
      } else {
        picture.DirectLoadFromFile(AItem->FileName());
      }
    } catch (const EFOpenError& e) {
      TBaseLog::Instance().HandleException(e.Message(), QStringLiteral("uDrawPicture"),
                                           QStringLiteral("TBaseDrawPicture.DownloadStateChanged"), QString());
    }
    AItem->SetPictureLoaded(true);
    FUrlClipRoundPicture.reset();
  }
  if (IsClipRound()) DownloadedPicture(*AItem);
  if (IsLoadUrlPictureToSelf) {
    try {
      if (IsCheckGIFWhenLoad) {
        LoadFromFile(AItem->FileName());
      } else {
        DirectLoadFromFile(AItem->FileName());
      }
    } catch (const EFOpenError& e) {
      TBaseLog::Instance().HandleException(e.Message(), QStringLiteral("uDrawPicture"),
                                           QStringLiteral("TBaseDrawPicture.DownloadStateChanged"), QString());
    }
  }
  DoChange();
}

TSkinPicture* TBaseDrawPicture::OnGetPictureEventPicture() {
  TSkinPicture* picture = nullptr;
  if (OnGetPicture) OnGetPicture(this, picture);
  return picture;
}

void TBaseDrawPicture::ForgetUrlPicture() {
  if (FUrlPicture != nullptr) FUrlPicture->RemoveListener(this);
  FUrlPicture = nullptr;
  FUrlClipRoundPicture.reset();
  FUrlClipRoundSource = nullptr;
}

void TBaseDrawPicture::Clear() {
  FPictureDrawType = TPictureDrawType::pdtAuto;
  FSkinImageList = nullptr;
  FRefPicture = nullptr;
  FRefDrawPicture = nullptr;
  FUrlPicture = nullptr;
  FUrlClipRoundPicture.reset();
  FUrlClipRoundSource = nullptr;
  ClearPicture();
  FImageIndex = DefaultImageIndex;
  FImageName.clear();
  FResourceName.clear();
  FUrl.clear();
  FFileName.clear();
  FLoadedFilePath.clear();
  FFilePicture.reset();
  FIsLoadedFromFile = false;
  FResourcePicture.reset();
  FIsLoadedFromResource = false;
  CurrentEffectImageIndex = -1;
  CurrentEffectImageName.clear();
}

void TBaseDrawPicture::Assign(const TPersistent* ASource) {
  TSkinPicture::Assign(ASource);
  if (const auto* source = dynamic_cast<const TBaseDrawPicture*>(ASource)) {
    FPictureDrawType = source->FPictureDrawType;
    FName = source->FName;
    FCaption = source->FCaption;
    FGroup = source->FGroup;
    SetSkinImageList(source->FSkinImageList);
    FImageIndex = source->FImageIndex;
    FImageName = source->FImageName;
    if (FUrl != source->FUrl) ForgetUrlPicture();
    FUrl = source->FUrl;
    FFileName = source->FFileName;
    FResourceName = source->FResourceName;
    FRefPicture = source->FRefPicture;
    FRefDrawPicture = source->FRefDrawPicture;
  }
  DoChange();
}

void TBaseDrawPicture::SetPictureDrawType(TPictureDrawType AValue) {
  if (FPictureDrawType == AValue) return;
  FPictureDrawType = AValue;
  DoChange();
}

void TBaseDrawPicture::SetImageIndex(std::int32_t AValue) {
  if (FImageIndex == AValue) return;
  FImageIndex = AValue;
  DoChange();
}

void TBaseDrawPicture::SetImageName(const QString& AValue) {
  if (FImageName == AValue) return;
  FImageName = AValue;
  DoChange();
}

void TBaseDrawPicture::SetFileName(const QString& AValue) {
  if (FFileName == AValue) return;
  FFileName = AValue;
  FFilePicture.reset();
  FIsLoadedFromFile = false;
  FLoadedFilePath.clear();
  // The resource name may come from the file name, so its cache is stale too.
  FResourcePicture.reset();
  FIsLoadedFromResource = false;
  DoChange();
}

void TBaseDrawPicture::SetResourceName(const QString& AValue) {
  if (FResourceName == AValue) return;
  FResourceName = AValue;
  FResourcePicture.reset();
  FIsLoadedFromResource = false;
  DoChange();
}

void TBaseDrawPicture::SetUrl(const QString& AValue) {
  if (FUrl == AValue) return;
  FUrl = AValue;
  ForgetUrlPicture();
  if (IsLoadUrlPictureToSelf) ClearPicture();
  DoChange();
}

void TBaseDrawPicture::SetRefPicture(TSkinPicture* AValue) {
  if (FRefPicture.data() == AValue) return;
  FRefPicture = AValue;
  DoChange();
}

void TBaseDrawPicture::SetRefDrawPicture(TDrawPicture* AValue) {
  if (RefDrawPicture() == AValue) return;
  FRefDrawPicture = AValue;
  DoChange();
}

void TBaseDrawPicture::SetSkinImageList(TSkinBaseImageList* AValue) {
  if (FSkinImageList == AValue) return;
  if (FSkinImageList != nullptr) FSkinImageList->UnRegisterChanges(FSkinImageListChangeLink.get());
  FSkinImageList = AValue;
  if (FSkinImageList != nullptr) FSkinImageList->RegisterChanges(FSkinImageListChangeLink.get());
  DoChange();
}

bool TBaseDrawPicture::SaveToDocNode(TBTNode20_Class* ADocNode) const {
  if (!TSkinPicture::SaveToDocNode(ADocNode)) return false;
  ADocNode->SetClassName(QStringLiteral("TDrawPicture"));
  ADocNode->AddChildNode_WideString(QStringLiteral("Name"), QStringLiteral("名称"), FName);
  ADocNode->AddChildNode_WideString(QStringLiteral("Caption"), QStringLiteral("标题"), FCaption);
  ADocNode->AddChildNode_WideString(QStringLiteral("Group"), QStringLiteral("分组"), FGroup);
  ADocNode->AddChildNode_Int32(QStringLiteral("PictureDrawType"), QStringLiteral("绘制类型"),
                               ostrel::skin::EnumToOrdinal(FPictureDrawType));
  ADocNode->AddChildNode_Int32(QStringLiteral("ImageIndex"), QStringLiteral("图片下标"), FImageIndex);
  ADocNode->AddChildNode_WideString(QStringLiteral("ImageName"), QStringLiteral("图片名称"), FImageName);
  ADocNode->AddChildNode_WideString(QStringLiteral("FileName"), QStringLiteral("图片文件名"), FFileName);
  ADocNode->AddChildNode_WideString(QStringLiteral("ResourceName"), QStringLiteral("图片资源名称"), FResourceName);
  ADocNode->AddChildNode_WideString(QStringLiteral("Url"), QStringLiteral("图片链接"), FUrl);
  ADocNode->AddChildNode_Bool32(QStringLiteral("IsClipRound"), QStringLiteral("是否剪裁成圆形"), IsClipRound());
  return true;
}

bool TBaseDrawPicture::LoadFromDocNode(TBTNode20_Class* ADocNode) {
  if (!TSkinPicture::LoadFromDocNode(ADocNode)) return false;
  bool isClipRound = IsClipRound();
  for (TBTNode20* child : ADocNode->ChildNodes()) {
    const QString& name = child->NodeName();
    if (name == u"PictureDrawType") {
      ostrel::skin::ReadNodeValue(child, FPictureDrawType);
    } else if (name == u"ImageIndex") {
      ostrel::skin::ReadNodeValue(child, FImageIndex);
    } else if (name == u"ImageName") {
      ostrel::skin::ReadNodeValue(child, FImageName);
    } else if (name == u"FileName") {
      ostrel::skin::ReadNodeValue(child, FFileName);
    } else if (name == u"ResourceName") {
      ostrel::skin::ReadNodeValue(child, FResourceName);
    } else if (name == u"Url") {
      ostrel::skin::ReadNodeValue(child, FUrl);
    } else if (name == u"IsClipRound") {
      ostrel::skin::ReadNodeValue(child, isClipRound);
    }
  }
  // The stored flag only: the stored pixels were clipped when they were saved.
  SetStaticIsClipRound(isClipRound);
  return true;
}

// TDrawPicture

TDrawPicture::~TDrawPicture() = default;

namespace ostrel::skin {

void BindReferencePicture(TBaseDrawPicture& ATarget, TSkinPicture* AGiven) {
  if (AGiven == nullptr) {
    ATarget.SetStaticRefPicture(nullptr);
    ATarget.SetStaticRefDrawPicture(nullptr);
    return;
  }
  if (ATarget.IsClipRound() || AGiven->IsClipRound()) AGiven->SetIsClipRound(true);
  auto* drawPicture = dynamic_cast<TDrawPicture*>(AGiven);
  if (drawPicture != nullptr && drawPicture->PictureDrawType() == TPictureDrawType::pdtRefDrawPicture) {
    ATarget.SetStaticPictureDrawType(TPictureDrawType::pdtRefDrawPicture);
    ATarget.SetStaticRefDrawPicture(drawPicture);
    return;
  }
  ATarget.SetStaticPictureDrawType(TPictureDrawType::pdtReference);
  ATarget.SetStaticRefPicture(drawPicture != nullptr ? drawPicture->CurrentPicture() : AGiven);
}

}  // namespace ostrel::skin
