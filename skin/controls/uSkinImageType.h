#pragma once
// The image control: one picture with a caption over it; it can size itself
// to the picture, play an animated GIF, and spin its picture or step through
// the pictures of an image list on a timer.
//
// The steps of that timer are pure functions below; the family's classes follow them.

#include "skin/base/uComponentType.h"
#include "skin/base/uDrawPicture.h"
#include "skin/base/uSkinFireMonkeyControl.h"
#include "skin/base/uSkinMaterial.h"
#include "skin/base/uSkinRegManager.h"
#include "skin/host/Timer.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace ostrel::skin {

// The rotation timer's interval for ARotateSpeed: ceiling(ARotateSpeed x 10)
// milliseconds, at least 1 (a speed of 0 or below would tick on every pass of
// the event loop) and at most what a timer takes; a speed that is not a
// number counts as 0.
int RotateTimerInterval(double ARotateSpeed);

// The angle after one tick: an angle of 360 or more starts again at 0, the
// increment is added, and a result above 360 is clipped to 360; so with an
// increment of 20 the angles run 20, 40, …, 360, 20, … The sum never
// overflows, whatever the increment.
std::int32_t NextRotateAngle(std::int32_t AAngle, std::int32_t AIncrement);

// The image index after one tick for a list of ACount pictures: the next one,
// back to 0 after the last; a list of one picture or none keeps AIndex.
std::int32_t NextFrameImageIndex(std::int32_t AIndex, std::int32_t ACount);

// The image index a list item's frame animation shows ATicksSinceStart timer
// ticks after it started, in a list of ACount pictures (at least one).
std::int32_t ItemFrameImageIndex(std::int64_t ATicksSinceStart, std::int32_t ACount);

// A bound text that is a picture's address: it starts with "http://" or
// "https://" in any letter case.
bool IsPictureUrl(const QString& AText);

// A bound text as an image index: the number it spells, -1 when it spells none.
std::int32_t ImageIndexFromText(const QString& AText);

// The file in which a generated page keeps the picture of the image named
// AComponentName: "pics/<name>.png" in the page's data folder.
QString PageDataPictureFile(const QString& APageDataDir, const QString& AComponentName);

}  // namespace ostrel::skin

class TImageProperties;

class ISkinImage {
 public:
  virtual TImageProperties* GetImageProperties() const = 0;

 protected:
  ~ISkinImage() = default;
};

class TImageProperties : public TSkinControlProperties {
  Q_OBJECT
  Q_PROPERTY(TDrawPicture* Picture READ Picture WRITE SetPicture)
  Q_PROPERTY(bool Animated READ Animated WRITE SetAnimated)
  Q_PROPERTY(double AnimateSpeed READ AnimateSpeed WRITE SetAnimateSpeed)
  Q_PROPERTY(std::int32_t GIFDelayExp READ GIFDelayExp WRITE SetGIFDelayExp)
  Q_PROPERTY(std::int32_t CurrentRotateAngle READ CurrentRotateAngle WRITE SetCurrentRotateAngle)
  Q_PROPERTY(bool Rotated READ Rotated WRITE SetRotated)
  Q_PROPERTY(double RotateSpeed READ RotateSpeed WRITE SetRotateSpeed)
  Q_PROPERTY(std::int32_t RotateIncrement READ RotateIncrement WRITE SetRotateIncrement)
  Q_PROPERTY(bool IsToolBar READ IsToolBar WRITE SetIsToolBar)

 public:
  // Raises "This Component Do not Support ISkinImage Interface" when
  // ASkinControl is no image; sizes the image to 120 x 100.
  explicit TImageProperties(TControl* ASkinControl);
  ~TImageProperties() override;

  QString GetComponentClassify() const override { return QStringLiteral("SkinImage"); }
  // The stored values of AutoSize, Picture, Animated, AnimateSpeed, Rotated,
  // RotateSpeed and RotateIncrement, without reaching the engine or the timer.
  void AssignProperties(const TSkinControlProperties* ASource) override;
  // A new picture re-sizes the image before it repaints.
  void DoPropertiesChange(TObject* Sender) override;

  TDrawPicture* Picture() const { return FPicture.get(); }
  void SetPicture(const TDrawPicture* AValue) { FPicture->Assign(AValue); }
  bool Animated() const { return FAnimated; }
  // Starts or stops a GIF picture's playback.
  void SetAnimated(bool AValue);
  double AnimateSpeed() const { return FAnimateSpeed; }
  void SetAnimateSpeed(double AValue);
  std::int32_t GIFDelayExp() const { return FGIFDelayExp; }
  // Values below 1 are stored as 1.
  void SetGIFDelayExp(std::int32_t AValue);
  std::int32_t CurrentRotateAngle() const { return FCurrentRotateAngle; }
  void SetCurrentRotateAngle(std::int32_t AValue);
  bool Rotated() const { return FRotated; }
  // Runs the rotation timer, made on the first switch on.
  void SetRotated(bool AValue);
  double RotateSpeed() const { return FRotateSpeed; }
  void SetRotateSpeed(double AValue);
  std::int32_t RotateIncrement() const { return FRotateIncrement; }
  void SetRotateIncrement(std::int32_t AValue) { FRotateIncrement = AValue; }
  bool IsToolBar() const { return FIsToolBar; }
  void SetIsToolBar(bool AValue) { FIsToolBar = AValue; }

  // The rotation timer, none before Rotated was first switched on.
  TTimer* RotateTimer() const { return FRotateTimer.get(); }
  std::int32_t AnimateTicket() const { return FAnimateTicket; }
  // One tick of the rotation timer: the next angle, or for a picture from an
  // image list the next picture of the list; then a repaint.
  void DoRotateTimer();
  // The picture's engine when it can play GIFs, else none.
  TSkinBaseGIFPictureEngine* GIFEngine() const;

 private:
  void Repaint();

  bool FIsToolBar = false;
  std::unique_ptr<TDrawPicture> FPicture;
  bool FAnimated = false;
  double FAnimateSpeed = 10.0;
  std::int32_t FGIFDelayExp = 12;
  std::int32_t FCurrentRotateAngle = 0;
  bool FRotated = false;
  double FRotateSpeed = 5.0;
  std::int32_t FRotateIncrement = 20;
  std::unique_ptr<TTimer> FRotateTimer;
  std::int32_t FAnimateTicket = 0;
  ISkinImage* FSkinImageIntf;
};

class TSkinImageMaterial : public TSkinControlMaterial {
  Q_OBJECT
  Q_PROPERTY(TDrawPictureParam* DrawPictureParam READ DrawPictureParam WRITE SetDrawPictureParam)
  Q_PROPERTY(TDrawTextParam* DrawCaptionParam READ DrawCaptionParam WRITE SetDrawCaptionParam)

 public:
  explicit TSkinImageMaterial(TComponent* AOwner = nullptr);
  ~TSkinImageMaterial() override;

  TDrawPictureParam* DrawPictureParam() const { return FDrawPictureParam; }
  void SetDrawPictureParam(const TDrawPictureParam* AValue) { FDrawPictureParam->Assign(AValue); }
  TDrawTextParam* DrawCaptionParam() const { return FDrawCaptionParam; }
  void SetDrawCaptionParam(const TDrawTextParam* AValue) { FDrawCaptionParam->Assign(AValue); }

 private:
  TDrawTextParam* FDrawCaptionParam;
  TDrawPictureParam* FDrawPictureParam;
};

class TSkinImageDefaultMaterial : public TSkinImageMaterial {
  Q_OBJECT

 public:
  using TSkinImageMaterial::TSkinImageMaterial;
  ~TSkinImageDefaultMaterial() override;
};

class TSkinImageType : public TSkinControlType {
 public:
  bool CustomBind(TControl* ASkinControl) override;
  void CustomUnBind() override;
  // The GIF frame, or the picture turned by CurrentRotateAngle; the caption over it.
  bool CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial, const TRectF& ADrawRect,
                   const TPaintData& APaintData) override;
  // The picture's size; none while reading, without a parent or without a picture.
  bool CalcAutoSize(double& AWidth, double& AHeight) override;

 private:
  ISkinImage* FSkinImageIntf = nullptr;
};

class TSkinImage : public TSkinFireMonkeyControl,
                   public ISkinImage,
                   public IBindSkinItemObjectControl,
                   public IBindSkinItemValueControl,
                   public IBindSkinItemBoolControl,
                   public IBindSkinItemTextControl,
                   public IBindSkinItemIconControl,
                   public IBindSkinItemNamedTextControl {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetText)

 public:
  explicit TSkinImage(TComponent* AOwner = nullptr);
  ~TSkinImage() override;

  TPropertiesClass GetPropertiesClassType() const override { return TPropertiesClass::Of<TImageProperties>(); }
  TImageProperties* GetImageProperties() const override { return static_cast<TImageProperties*>(Properties()); }
  TImageProperties* Prop() const { return GetImageProperties(); }
  TSkinImageDefaultMaterial* Material() { return SelfOwnMaterialToDefault(); }
  TSkinImageDefaultMaterial* SelfOwnMaterialToDefault();
  TSkinImageDefaultMaterial* CurrentUseMaterialToDefault();

  // An animated GIF read from a form starts playing.
  void Loaded() override;
  void DoCustomMaterialChange(TObject* Sender) override;

  // A picture given a name (AccessibleName or a hint) is an image to screen
  // readers; one without is decoration and stays out of their way.
  TAccessibleRole AccessibleRole() const override {
    return AccessibleName().isEmpty() ? TAccessibleRole::None : TAccessibleRole::Image;
  }

  // --- item binding: each writes the picture's fields directly, then repaints ---
  // A picture, referenced (none clears the reference).
  void BindingItemObject(TObject* AObject) override;
  // A number is the image index, a Boolean index 1 or 0; a text with a line
  // break is Base64 picture data and one starting "http://" or "https://" an
  // address, either kept in the binding item's picture (the image's own
  // without one) and referenced; any other text is an image index.
  void BindingItemValue(const QVariant& AValue) override;
  void BindingItemBool(bool AValue) override;
  void BindingItemText(const QString& AText) override { BindingItemValue(AText); }
  // A picture from an image list is shown by its index in that list, any other by reference.
  void BindingItemIcon(TDrawPicture* AIcon) override;
  // An image index, or an address set on the item's picture of that name;
  // while the item runs a frame animation of the field and the picture comes
  // from a filled image list, the index follows that animation instead.
  void BindingItemNamedText(const QString& AFieldName, const QString& AText, ISkinBindingItem* AItem) override;
  // The item whose pictures value bindings keep; not owned, none by default.
  void SetBindingItem(ISkinBindingItem* AItem) { FBindingItem = AItem; }

  // --- the picture file of a generated page ---
  // An unchanged picture gives its name (and a downloaded picture is saved
  // to the page's picture file); a changed one is saved there and gives the
  // file's name.
  QVariant GetPostValue(const QString& APageDataDir) override;
  // Base64 data, else the page's picture file of that name, else an
  // address; a file that is missing or does not decode leaves the picture
  // empty and is logged.
  void SetControlValue(const QVariant& AValue, const QString& APageDataDir) override;

  // How many bound list items run the image's frame animation.
  int ItemAnimateRefCount = 0;

 private:
  void Repaint();
  // The picture a value binding keeps its data or address in.
  TDrawPicture* BindingPicture(const QString& AFieldName);
  void LoadBase64(TDrawPicture& APicture, const QString& AText);

  ISkinBindingItem* FBindingItem = nullptr;
  std::unique_ptr<TDrawPicture> FBindingPicture;
};

class TSkinFMXImage : public TSkinImage {
  Q_OBJECT

 public:
  using TSkinImage::TSkinImage;
  ~TSkinFMXImage() override;
};

void RegisterSkinImageFamily(ostrel::skin::SkinLibraryRegistration& AReg);
