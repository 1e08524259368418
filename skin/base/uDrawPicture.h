#pragma once
// The picture every skinned control shows: a bitmap of its own plus where
// its pixels really come from (its own pixels, an image list by index or
// name, a referenced picture, a file, the program's resources, a URL, an
// event), the order in which pdtAuto tries them, the caches of file and
// resource pictures with their memory of having tried, the state-dependent
// index and name the canvas sets before each draw, and its persistence.
//
// Downloading pictures is not part of the library: a picture asks a download
// manager for an entry and listens to its state. The manager and its entries
// are interfaces here; nothing in the library implements them.

#include "skin/base/uBaseList.h"
#include "skin/base/uSkinImageList.h"
#include "skin/base/uSkinPicture.h"
#include "skin/host/Component.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace uDrawPicture {
Q_NAMESPACE

enum class TPictureDrawType : std::uint8_t {
  pdtAuto,
  pdtPicture,
  pdtImageList,
  pdtImageName,
  pdtReference,
  pdtRefDrawPicture,
  pdtFile,
  pdtUrl,
  pdtResource,
  pdtOnGetPictureEvent,
};
Q_ENUM_NS(TPictureDrawType)

// The states of a download entry.
enum class TDownloadPictureState : std::uint8_t {
  dpsNone,
  dpsWaitDownload,
  dpsDownloading,
  dpsDownloadSucc,
  dpsDownloadFail,
  dpsDownloadImageInvalid,
};
Q_ENUM_NS(TDownloadPictureState)

}  // namespace uDrawPicture

using uDrawPicture::TDownloadPictureState;
using uDrawPicture::TPictureDrawType;

class TBaseDrawPicture;
class TDrawPicture;

// One download of one URL, owned by its manager.
class TDownloadPictureCacheItem : public TPersistent {
  Q_OBJECT

 public:
  ~TDownloadPictureCacheItem() override;

  virtual TDownloadPictureState State() const = 0;
  // The downloaded file; empty while there is none.
  virtual QString FileName() const = 0;
  // The entry's picture, which a listening draw picture loads from the file
  // once; owned by the entry.
  virtual TSkinPicture* Picture() = 0;
  // Whether the entry's picture was loaded from the file already.
  virtual bool IsPictureLoaded() const = 0;
  virtual void SetPictureLoaded(bool AValue) = 0;

  // Listeners are told of each state change by the manager, on the UI thread.
  virtual void AddListener(TBaseDrawPicture* AListener) = 0;
  virtual void RemoveListener(TBaseDrawPicture* AListener) = 0;
};

// Downloads pictures for draw pictures; a component, so forms can refer to it.
class TDownloadPictureManager : public TComponent {
  Q_OBJECT

 public:
  explicit TDownloadPictureManager(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
  ~TDownloadPictureManager() override;

  // The entry for AUrl, made and started when new, with AListener told of its
  // state changes; ATag names the request (the picture's name and caption).
  virtual TDownloadPictureCacheItem* GetUrlPicture(const QString& AUrl, TBaseDrawPicture* AListener,
                                                   const QString& ATag) = 0;
  // Placeholders shown while a picture waits, downloads, failed or is no picture.
  virtual TSkinPicture* WaitDownloadPicture() = 0;
  virtual TSkinPicture* DownloadingPicture() = 0;
  virtual TSkinPicture* DownloadFailPicture() = 0;
  virtual TSkinPicture* ImageInvalidPicture() = 0;
};

namespace ostrel::skin {

// The file name without its folder, which ends at a slash or a backslash.
QString FileNamePart(const QString& AFileName);

// The resource name a picture file stands for: the file name without its
// folder, with every "@" and "." replaced by "_" ("img/logo@2x.png" gives
// "logo_2x_png").
QString ResourceNameFromFileName(const QString& AFileName);

// The manager draw pictures use when they have none of their own and are
// given none; none unless the program sets one. Not owned.
TDownloadPictureManager* DefaultDownloadPictureManager();
void SetDefaultDownloadPictureManager(TDownloadPictureManager* AManager);

}  // namespace ostrel::skin

class TBaseDrawPicture : public TSkinPicture {
  Q_OBJECT

 public:
  using TGetSkinImageListEvent = std::function<void(TObject* Sender, TSkinBaseImageList*& AImageList)>;
  using TGetDownloadPictureManagerEvent = std::function<void(TObject* Sender, TDownloadPictureManager*& AManager)>;
  using TGetPictureEvent = std::function<void(TObject* Sender, TSkinPicture*& APicture)>;

  static constexpr std::int32_t DefaultImageIndex = -1;

  TBaseDrawPicture(const QString& AName = QString(), const QString& ACaption = QString(),
                   const QString& AGroup = QString());
  ~TBaseDrawPicture() override;

  // The picture to draw, by PictureDrawType; may be null or empty.
  TSkinPicture* CurrentPicture() override;
  bool CurrentPictureIsEmpty();
  int CurrentPictureWidth();
  int CurrentPictureHeight();
  int CurrentPictureDrawWidth() { return CurrentPictureWidth(); }
  int CurrentPictureDrawHeight() { return CurrentPictureHeight(); }
  int CurrentPictureDrawLeft() const { return 0; }
  int CurrentPictureDrawTop() const { return 0; }
  bool CurrentPictureIsGIF();

  // One source each.
  TSkinPicture* ImageIndexPicture() const;
  TSkinPicture* ImageNamePicture() const;
  // Loaded from the file on first use and kept, found or not, until the file
  // name changes; a file that exists but does not decode gives an empty picture.
  TSkinPicture* FileNamePicture();
  // Loaded from the program's resources on first use and kept, found or not,
  // until the resource or file name changes.
  TSkinPicture* ResourceNamePicture();
  TSkinPicture* WebUrlPicture();
  TSkinPicture* OnGetPictureEventPicture();

  // The own manager, else the one OnGetDownloadPictureManager supplies, else the default one.
  TDownloadPictureManager* GetDownloadPictureManager();
  // Told by the download entry when its state changed.
  void DownloadStateChanged(TDownloadPictureCacheItem* AItem);

  // Own pixels to 0 x 0.
  void ClearPicture() { SetSize(0, 0); }
  // Every source back to none, the caches freed and untried, own pixels
  // cleared; nothing is told.
  void Clear() override;

  // The picture copy, then from another draw picture its sources and names
  // (the caches of this one stay), then one change.
  void Assign(const TPersistent* ASource) override;

  // Class name "TDrawPicture"; the picture's nodes, then the sources.
  bool SaveToDocNode(TBTNode20_Class* ADocNode) const override;
  // The picture's nodes, then the sources straight into their fields: no
  // cache reset, no clipping, no change told. Name, caption and group are
  // not read back.
  bool LoadFromDocNode(TBTNode20_Class* ADocNode) override;

  QString Name() const { return FName; }
  void SetName(const QString& AValue) { FName = AValue; }
  QString Caption() const { return FCaption; }
  void SetCaption(const QString& AValue) { FCaption = AValue; }
  QString Group() const { return FGroup; }
  void SetGroup(const QString& AValue) { FGroup = AValue; }

  TPictureDrawType PictureDrawType() const { return FPictureDrawType; }
  void SetPictureDrawType(TPictureDrawType AValue);
  std::int32_t ImageIndex() const { return FImageIndex; }
  void SetImageIndex(std::int32_t AValue);
  // The name by which the image list finds this picture, and by which this
  // picture finds an item of its list. Hides the picture's own ImageName.
  QString ImageName() const { return FImageName; }
  void SetImageName(const QString& AValue);
  QString FileName() const { return FFileName; }
  void SetFileName(const QString& AValue);
  QString ResourceName() const { return FResourceName; }
  void SetResourceName(const QString& AValue);
  QString Url() const { return FUrl; }
  void SetUrl(const QString& AValue);
  QString LoadedFilePath() const { return FLoadedFilePath; }
  TSkinPicture* RefPicture() const { return FRefPicture.data(); }
  void SetRefPicture(TSkinPicture* AValue);
  TDrawPicture* RefDrawPicture() const;
  void SetRefDrawPicture(TDrawPicture* AValue);
  TSkinBaseImageList* SkinImageList() const { return FSkinImageList; }
  void SetSkinImageList(TSkinBaseImageList* AValue);
  TDownloadPictureManager* DownloadPictureManager() const { return FDownloadPictureManager.data(); }
  void SetDownloadPictureManager(TDownloadPictureManager* AValue) { FDownloadPictureManager = AValue; }
  TDownloadPictureCacheItem* UrlPicture() const { return FUrlPicture.data(); }
  // The material that holds this picture; not owned.
  TPersistent* SkinMaterial() const { return FSkinMaterial; }
  void SetSkinMaterial(TPersistent* AValue) { FSkinMaterial = AValue; }

  // Written by the canvas right before each draw; -1 and empty replace nothing.
  std::int32_t CurrentEffectImageIndex = -1;
  QString CurrentEffectImageName;

  // Field writes without notification or cache reset.
  void SetStaticRefPicture(TSkinPicture* AValue) { FRefPicture = AValue; }
  void SetStaticRefDrawPicture(TDrawPicture* AValue);
  void SetStaticImageIndex(std::int32_t AValue) { FImageIndex = AValue; }
  void SetStaticImageName(const QString& AValue) { FImageName = AValue; }
  void SetStaticSkinImageList(TSkinBaseImageList* AValue) { FSkinImageList = AValue; }
  void SetStaticPictureDrawType(TPictureDrawType AValue) { FPictureDrawType = AValue; }
  void SetStaticUrl(const QString& AValue) { FUrl = AValue; }

  TGetSkinImageListEvent OnGetSkinImageList;
  TGetDownloadPictureManagerEvent OnGetDownloadPictureManager;
  TGetPictureEvent OnGetPicture;

  // A downloaded file is checked for GIF bytes when loaded.
  bool IsCheckGIFWhenLoad = true;
  // A downloaded picture is also loaded into this picture's own pixels.
  bool IsLoadUrlPictureToSelf = false;
  // Length of the base64 text last decoded into this picture by a data-bound image control.
  std::int32_t Base64Length = 0;

 private:
  TSkinBaseImageList* ImageList() const;
  // Stops listening to the download entry and forgets it.
  void ForgetUrlPicture();
  // The entry's picture, or its rounded copy when IsClipRound.
  TSkinPicture* DownloadedPicture(TDownloadPictureCacheItem& AItem);

  QString FName;
  QString FCaption;
  QString FGroup;
  QString FFileName;
  std::unique_ptr<TSkinPicture> FFilePicture;
  bool FIsLoadedFromFile = false;
  QString FLoadedFilePath;
  QString FUrl;
  QPointer<TDownloadPictureCacheItem> FUrlPicture;
  // The rounded copy of the entry's picture, and the entry it was made for.
  std::unique_ptr<TSkinPicture> FUrlClipRoundPicture;
  const TDownloadPictureCacheItem* FUrlClipRoundSource = nullptr;
  QString FResourceName;
  std::unique_ptr<TSkinPicture> FResourcePicture;
  bool FIsLoadedFromResource = false;
  std::int32_t FImageIndex = DefaultImageIndex;
  // Reserved for a dark theme; nothing uses it.
  std::int32_t FDrakThemeImageIndex = 0;
  QString FImageName;
  QPointer<TSkinPicture> FRefPicture;
  QPointer<TSkinPicture> FRefDrawPicture;
  TPictureDrawType FPictureDrawType = TPictureDrawType::pdtAuto;
  TPersistent* FSkinMaterial = nullptr;
  TSkinBaseImageList* FSkinImageList = nullptr;
  std::unique_ptr<TSkinObjectChangeLink> FSkinImageListChangeLink;
  QPointer<TDownloadPictureManager> FDownloadPictureManager;
};

namespace ostrel::skin {

// Points ATarget at AGiven, writing its fields without notification (as a
// list item binds a picture to a template control): a draw picture that
// itself refers to a drawing picture is referenced as that drawing picture
// (pdtRefDrawPicture), any other picture by its current picture
// (pdtReference); AGiven is clipped round when ATarget or AGiven asks for it.
// None clears both references.
void BindReferencePicture(TBaseDrawPicture& ATarget, TSkinPicture* AGiven);

}  // namespace ostrel::skin

// The draw picture of materials, image lists and stored forms.
class TDrawPicture : public TBaseDrawPicture {
  Q_OBJECT
  Q_PROPERTY(bool IsClipRound READ IsClipRound WRITE SetIsClipRound)
  Q_PROPERTY(QString ImageName READ ImageName WRITE SetImageName)
  Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
  Q_PROPERTY(QString ResourceName READ ResourceName WRITE SetResourceName)
  Q_PROPERTY(TDownloadPictureManager* DownloadPictureManager READ DownloadPictureManager WRITE SetDownloadPictureManager)
  Q_PROPERTY(std::int32_t ImageIndex READ ImageIndex WRITE SetImageIndex)
  Q_PROPERTY(QString Url READ Url WRITE SetUrl)
  Q_PROPERTY(uDrawPicture::TPictureDrawType PictureDrawType READ PictureDrawType WRITE SetPictureDrawType)
  Q_PROPERTY(TSkinBaseImageList* SkinImageList READ SkinImageList WRITE SetSkinImageList)

 public:
  using TBaseDrawPicture::TBaseDrawPicture;
  ~TDrawPicture() override;

  Q_INVOKABLE bool IsIsClipRoundStored() const { return IsClipRound(); }
  Q_INVOKABLE bool IsImageNameStored() const { return !ImageName().isEmpty(); }
  Q_INVOKABLE bool IsFileNameStored() const { return !FileName().isEmpty(); }
  Q_INVOKABLE bool IsResourceNameStored() const { return !ResourceName().isEmpty(); }
  Q_INVOKABLE bool IsImageIndexStored() const { return ImageIndex() != DefaultImageIndex; }
  Q_INVOKABLE bool IsUrlStored() const { return !Url().isEmpty(); }
  Q_INVOKABLE bool IsPictureDrawTypeStored() const { return PictureDrawType() != TPictureDrawType::pdtAuto; }
};
