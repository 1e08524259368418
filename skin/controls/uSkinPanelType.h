#pragma once
// The panel: the plain container of the skinned controls. It paints its
// material's background, an optional background picture and an optional
// caption, and holds child controls.

#include "skin/base/uComponentType.h"
#include "skin/base/uDrawPicture.h"
#include "skin/base/uSkinFireMonkeyControl.h"
#include "skin/base/uSkinMaterial.h"
#include "skin/base/uSkinRegManager.h"

#include <QString>

#include <memory>

class TPanelProperties;

class ISkinPanel {
 public:
  virtual TPanelProperties* GetPanelProperties() const = 0;

 protected:
  ~ISkinPanel() = default;
};

class TPanelProperties : public TSkinControlProperties {
  Q_OBJECT
  Q_PROPERTY(bool IsToolBar READ IsToolBar WRITE SetIsToolBar)

 public:
  // Raises "This Component Do not Support ISkinPanel Interface" when
  // ASkinControl is no panel; sizes the panel to 200 x 50.
  explicit TPanelProperties(TControl* ASkinControl);
  ~TPanelProperties() override;

  QString GetComponentClassify() const override { return QStringLiteral("SkinPanel"); }
  void AssignProperties(const TSkinControlProperties* ASource) override;

  // A tool bar's caption keeps clear of its top padding.
  bool IsToolBar() const { return FIsToolBar; }
  void SetIsToolBar(bool AValue) { FIsToolBar = AValue; }

 private:
  bool FIsToolBar = false;
  ISkinPanel* FSkinPanelIntf;
};

class TSkinPanelMaterial : public TSkinControlMaterial {
  Q_OBJECT
  Q_PROPERTY(TDrawTextParam* DrawCaptionParam READ DrawCaptionParam WRITE SetDrawCaptionParam)

 public:
  explicit TSkinPanelMaterial(TComponent* AOwner = nullptr);
  ~TSkinPanelMaterial() override;

  TDrawTextParam* DrawCaptionParam() const { return FDrawCaptionParam; }
  void SetDrawCaptionParam(const TDrawTextParam* AValue) { FDrawCaptionParam->Assign(AValue); }

  // A picture behind the caption for callers that want one: made once, on
  // the first call, with its drawing parameter. Filling the picture does not
  // reach the material's controls; the caller repaints.
  void CreateBackgroundPicture();
  TDrawPicture* BackgroundPicture() const { return FBackgroundPicture.get(); }
  TDrawPictureParam* DrawPictureParam() const { return FDrawPictureParam; }

 private:
  TDrawTextParam* FDrawCaptionParam;
  std::unique_ptr<TDrawPicture> FBackgroundPicture;
  TDrawPictureParam* FDrawPictureParam = nullptr;
};

class TSkinPanelDefaultMaterial : public TSkinPanelMaterial {
  Q_OBJECT

 public:
  using TSkinPanelMaterial::TSkinPanelMaterial;
  ~TSkinPanelDefaultMaterial() override;
};

class TSkinPanelType : public TSkinControlType {
 public:
  bool CustomBind(TControl* ASkinControl) override;
  void CustomUnBind() override;
  bool CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial, const TRectF& ADrawRect,
                   const TPaintData& APaintData) override;
  void TextChanged() override;

 private:
  ISkinPanel* FSkinPanelIntf = nullptr;
};

namespace ostrel::skin {

// Where a panel's caption goes in ADrawRect: the whole of it, or for a tool
// bar (by flag or by the name "pnlToolBar") below its top padding.
TRectF PanelCaptionRect(const TRectF& ADrawRect, bool AIsToolBar, const QString& AName, double APaddingTop);

}  // namespace ostrel::skin

class TBaseSkinPanel : public TSkinFireMonkeyControl, public ISkinPanel {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetText)
  Q_PROPERTY(QString Text READ Text WRITE SetText)

 public:
  explicit TBaseSkinPanel(TComponent* AOwner = nullptr);
  ~TBaseSkinPanel() override;

  TPropertiesClass GetPropertiesClassType() const override { return TPropertiesClass::Of<TPanelProperties>(); }
  TPanelProperties* GetPanelProperties() const override { return static_cast<TPanelProperties*>(Properties()); }
  TPanelProperties* Prop() const { return GetPanelProperties(); }
  TSkinPanelDefaultMaterial* Material() { return SelfOwnMaterialToDefault(); }
  TSkinPanelDefaultMaterial* SelfOwnMaterialToDefault();
  TSkinPanelDefaultMaterial* CurrentUseMaterialToDefault();
};

class TSkinPanel : public TBaseSkinPanel {
  Q_OBJECT

 public:
  using TBaseSkinPanel::TBaseSkinPanel;
  ~TSkinPanel() override;
};

class TSkinFMXPanel : public TSkinPanel {
  Q_OBJECT

 public:
  using TSkinPanel::TSkinPanel;
  ~TSkinFMXPanel() override;
};

void RegisterSkinPanelFamily(ostrel::skin::SkinLibraryRegistration& AReg);
