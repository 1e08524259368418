#pragma once
// A small family of skinned controls registered like a real one, for tests
// and benchmarks of the control model: "SkinTestBox" draws its background and
// caption from its material; the variant "Other" has a control type of its
// own and the same material; "SkinTestOther" is a second family whose
// material is of another class.

#include "skin/base/uComponentType.h"
#include "skin/base/uSkinFireMonkeyControl.h"
#include "skin/base/uSkinMaterial.h"
#include "skin/base/uSkinRegManager.h"

#include <QString>

class TTestBoxProperties : public TSkinControlProperties, public ostrel::skin::IBeforeDestruction {
  Q_OBJECT

 public:
  explicit TTestBoxProperties(TControl* ASkinControl);
  ~TTestBoxProperties() override;

  QString GetComponentClassify() const override { return QStringLiteral("SkinTestBox"); }
  // Fails while FailOnRelease is set, as a properties object whose release goes wrong.
  void BeforeDestruction() override;

  bool FailOnRelease = false;
};

class TSkinTestBoxMaterial : public TSkinControlMaterial {
  Q_OBJECT
  Q_PROPERTY(TDrawTextParam* DrawCaptionParam READ DrawCaptionParam WRITE SetDrawCaptionParam)
  Q_PROPERTY(TDrawPicture* IconPicture READ IconPicture WRITE SetIconPicture)

 public:
  explicit TSkinTestBoxMaterial(TComponent* AOwner = nullptr);
  ~TSkinTestBoxMaterial() override;

  TDrawTextParam* DrawCaptionParam() const { return FDrawCaptionParam; }
  void SetDrawCaptionParam(const TDrawTextParam* AValue) { FDrawCaptionParam->Assign(AValue); }
  TDrawPicture* IconPicture() const { return FIconPicture; }
  void SetIconPicture(const TDrawPicture* AValue) { FIconPicture->Assign(AValue); }

 private:
  TDrawTextParam* FDrawCaptionParam;
  TDrawPicture* FIconPicture;
};

// A material class derived from the family's, which style name searches also accept.
class TSkinTestBoxDerivedMaterial : public TSkinTestBoxMaterial {
  Q_OBJECT

 public:
  using TSkinTestBoxMaterial::TSkinTestBoxMaterial;
  ~TSkinTestBoxDerivedMaterial() override;
};

class TSkinTestBoxType : public TSkinControlType {
 public:
  bool CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial, const TRectF& ADrawRect,
                   const TPaintData& APaintData) override;
  // Ten pixels a character, twenty high.
  bool CalcAutoSize(double& AWidth, double& AHeight) override;
  int TextChangedCount = 0;
  int SizeChangedCount = 0;
  int FocusChangedCount = 0;
  void TextChanged() override { ++TextChangedCount; }
  void SizeChanged() override { ++SizeChangedCount; }
  void FocusChanged() override { ++FocusChangedCount; }
};

class TSkinTestBoxOtherType : public TSkinTestBoxType {};

// The test family's control, counting its repaint requests.
class TSkinTestBox : public TSkinFireMonkeyControl {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetText)

 public:
  explicit TSkinTestBox(TComponent* AOwner = nullptr);
  ~TSkinTestBox() override;

  TPropertiesClass GetPropertiesClassType() const override { return TPropertiesClass::Of<TTestBoxProperties>(); }
  void Invalidate() override;
  // The control's own paint onto ACanvas.
  void PaintTo(QPainter& ACanvas) { Paint(ACanvas); }
  TTestBoxProperties* TestProperties() const { return static_cast<TTestBoxProperties*>(Properties()); }
  TSkinTestBoxMaterial* TestMaterial() { return dynamic_cast<TSkinTestBoxMaterial*>(CurrentUseMaterial()); }

  int InvalidateCount = 0;
};

class TTestOtherProperties : public TSkinControlProperties {
  Q_OBJECT

 public:
  using TSkinControlProperties::TSkinControlProperties;
  QString GetComponentClassify() const override { return QStringLiteral("SkinTestOther"); }
};

class TSkinTestOtherMaterial : public TSkinControlMaterial {
  Q_OBJECT

 public:
  using TSkinControlMaterial::TSkinControlMaterial;
  ~TSkinTestOtherMaterial() override;
};

class TSkinTestOther : public TSkinFireMonkeyControl {
  Q_OBJECT

 public:
  using TSkinFireMonkeyControl::TSkinFireMonkeyControl;
  TPropertiesClass GetPropertiesClassType() const override { return TPropertiesClass::Of<TTestOtherProperties>(); }
};

namespace test_support {

void RegisterSkinTestFamily(ostrel::skin::SkinLibraryRegistration& AReg);

// Starts the library with the core's and the test family's registrations (once per process).
void StartSkinTestFamily();

}  // namespace test_support
