#pragma once
// The label: one caption drawn with its material's text parameter; it can
// size itself to the caption.

#include "skin/base/uComponentType.h"
#include "skin/base/uSkinFireMonkeyControl.h"
#include "skin/base/uSkinMaterial.h"
#include "skin/base/uSkinRegManager.h"

#include <QString>
#include <QVariant>

class TLabelProperties;

class ISkinLabel {
 public:
  virtual QString GetCaption() const = 0;
  virtual void SetCaption(const QString& AValue) = 0;
  virtual TLabelProperties* GetLabelProperties() const = 0;

 protected:
  ~ISkinLabel() = default;
};

// Lets an item template recolour a control's text by colour code.
class IProcessItemColor {
 public:
  // Codes 2 to 9 recolour the caption of a control with a self-owned
  // material; AOldColor receives the colour it had. False for other codes.
  virtual bool ProcessItemColor(int AColorType, TAlphaColor AColor, TAlphaColor& AOldColor) = 0;
  virtual bool SetItemColor(int AColorType, TAlphaColor AColor) = 0;

 protected:
  ~IProcessItemColor() = default;
};

class TLabelProperties : public TSkinControlProperties {
  Q_OBJECT

 public:
  // Raises "This Component Do not Support ISkinLabel Interface" when
  // ASkinControl is no label; sizes the label to 120 x 22.
  explicit TLabelProperties(TControl* ASkinControl);
  ~TLabelProperties() override;

  QString GetComponentClassify() const override { return QStringLiteral("SkinLabel"); }

 private:
  ISkinLabel* FSkinLabelIntf;
};

class TSkinLabelMaterial : public TSkinControlMaterial {
  Q_OBJECT
  Q_PROPERTY(TDrawTextParam* DrawCaptionParam READ DrawCaptionParam WRITE SetDrawCaptionParam)

 public:
  explicit TSkinLabelMaterial(TComponent* AOwner = nullptr);
  ~TSkinLabelMaterial() override;

  TDrawTextParam* DrawCaptionParam() const { return FDrawCaptionParam; }
  void SetDrawCaptionParam(const TDrawTextParam* AValue) { FDrawCaptionParam->Assign(AValue); }

 private:
  TDrawTextParam* FDrawCaptionParam;
};

class TSkinLabelDefaultMaterial : public TSkinLabelMaterial {
  Q_OBJECT

 public:
  using TSkinLabelMaterial::TSkinLabelMaterial;
  ~TSkinLabelDefaultMaterial() override;
};

class TSkinLabelType : public TSkinControlType {
 public:
  bool CustomBind(TControl* ASkinControl) override;
  void CustomUnBind() override;
  bool CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial, const TRectF& ADrawRect,
                   const TPaintData& APaintData) override;
  // The measured caption with the parameter's adjustments and insets.
  bool CalcAutoSize(double& AWidth, double& AHeight) override;
  void TextChanged() override;
  // Where the caption goes in the paint rectangle; all of it for a plain label.
  virtual TRectF GetCaptionDrawRect(const TRectF& ADrawRect);

 private:
  ISkinLabel* FSkinLabelIntf = nullptr;
};

class TSkinLabel : public TSkinFireMonkeyControl,
                   public ISkinLabel,
                   public IProcessItemColor,
                   public IBindSkinItemValueControl,
                   public IBindSkinItemTextControl {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetText)
  Q_PROPERTY(QString Text READ Text WRITE SetText)

 public:
  explicit TSkinLabel(TComponent* AOwner = nullptr);
  ~TSkinLabel() override;

  TPropertiesClass GetPropertiesClassType() const override { return TPropertiesClass::Of<TLabelProperties>(); }
  QString GetCaption() const override { return SkinControlCore::GetCaption(); }
  void SetCaption(const QString& AValue) override { SkinControlCore::SetCaption(AValue); }
  TLabelProperties* GetLabelProperties() const override { return static_cast<TLabelProperties*>(Properties()); }
  TLabelProperties* Prop() const { return GetLabelProperties(); }
  TSkinLabelDefaultMaterial* Material() { return SelfOwnMaterialToDefault(); }
  TSkinLabelDefaultMaterial* SelfOwnMaterialToDefault();
  TSkinLabelDefaultMaterial* CurrentUseMaterialToDefault();

  bool ProcessItemColor(int AColorType, TAlphaColor AColor, TAlphaColor& AOldColor) override;
  bool SetItemColor(int AColorType, TAlphaColor AColor) override;

  void DoCustomMaterialChange(TObject* Sender) override;
  QVariant GetPostValue(const QString&) override { return GetCaption(); }
  void SetControlValue(const QVariant& AValue, const QString&) override { SetCaption(AValue.toString()); }
  // A list item template shows its field's value or text as the caption.
  void BindingItemValue(const QVariant& AValue) override { SetCaption(AValue.toString()); }
  void BindingItemText(const QString& AText) override { SetCaption(AText); }

  TAccessibleRole AccessibleRole() const override { return TAccessibleRole::Label; }
  // The stored accessible name, else the caption.
  QString AccessibleName() const override;
};

class TSkinFMXLabel : public TSkinLabel {
  Q_OBJECT

 public:
  using TSkinLabel::TSkinLabel;
  ~TSkinFMXLabel() override;
};

void RegisterSkinLabelFamily(ostrel::skin::SkinLibraryRegistration& AReg);
