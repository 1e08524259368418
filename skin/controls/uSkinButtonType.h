#pragma once
// The button: a state picture behind, an icon and a caption laid out
// independently or centred together, two detail texts, a help text while the
// caption is empty; it can stay pushed, push itself on click, form a push
// group with its siblings and belong to a button group.
//
// Which state picture shows and where the centred block of icon and caption
// goes are pure functions below; the family's classes follow them.

#include "skin/base/uComponentType.h"
#include "skin/base/uDrawParam.h"
#include "skin/base/uDrawPicture.h"
#include "skin/base/uSkinFireMonkeyControl.h"
#include "skin/base/uSkinMaterial.h"
#include "skin/base/uSkinRegManager.h"
#include "skin/host/Set.h"
#include "skin/host/Types.h"

#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace ostrel::skin {

// The six state pictures of the default button material.
enum class TButtonStatePicture : std::uint8_t { Normal, Hover, Down, Disabled, Focused, Pushed };
using TButtonStatePictures = TSet<TButtonStatePicture>;

// The state picture for the effect states AStates (dpstPushed while the button
// is pushed): disabled shows Disabled whatever else holds; else pressed, then
// hovered, then pushed, then focused, hover, press and focus counting only
// when painting AIsInteractive. An empty choice falls back to Focused when
// focused and interactive, then to Pushed when pushed, then to Normal.
// AEmpty holds the pictures that are empty.
TButtonStatePicture ChooseButtonStatePicture(TDPEffectStates AStates, bool AIsInteractive,
                                             TButtonStatePictures AEmpty);

// Where icon and caption go when they are centred as one block in R: the
// block of AIconWidth + ACaptionWidth starts where it is centred; the icon
// comes first unless AIsIconAfterCaption. Each part is drawn into its
// rectangle by its own parameter.
struct TButtonBlockLayout {
  TRectF Icon;
  TRectF Caption;
};
TButtonBlockLayout CenterIconAndCaption(const TRectF& R, double AIconWidth, double ACaptionWidth,
                                        bool AIsIconAfterCaption);

// Which of its group material's three button materials a member of a button
// group paints with: the first member the first material when the group uses
// one; a group of at most one member the middle one; the last member the last
// material when the group uses one; every other member the middle one.
enum class TGroupButtonMaterial : std::uint8_t { First, Middle, Last };
TGroupButtonMaterial ChooseGroupButtonMaterial(std::int32_t AButtonIndex, std::int32_t AButtonCount,
                                               bool AIsUseFirstButtonMaterial, bool AIsUseLastButtonMaterial);

}  // namespace ostrel::skin

class TBaseSkinButton;
class TButtonGroupProperties;
class TButtonProperties;
class TSkinButtonMaterial;

// The members of a button group in the order it lays them out. It refers to
// the buttons and never owns them: a button leaves the list when it goes.
class TSkinButtonList {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  TBaseSkinButton* Items(int AIndex) const { return FItems[static_cast<std::size_t>(AIndex)]; }
  // -1 when the button is no member.
  int IndexOf(const TBaseSkinButton* AButton) const;
  void Add(TBaseSkinButton* AButton) { FItems.push_back(AButton); }
  void Remove(const TBaseSkinButton* AButton);
  // Takes the member at AFrom out and puts it in at ATo; both must be positions of the list.
  void Move(int AFrom, int ATo);
  void Clear() { FItems.clear(); }
  // Stable: members of equal keys keep their order.
  void SortBy(const std::function<std::int32_t(const TBaseSkinButton*)>& AKey);

 private:
  std::vector<TBaseSkinButton*> FItems;
};

// A button group, as its members and its own parts see it.
class ISkinButtonGroup {
 public:
  virtual TButtonGroupProperties* GetButtonGroupProperties() const = 0;
  virtual TSkinButtonList* GetButtonList() const = 0;
  // The group lays its members out again: one came, went, was shown or hidden.
  virtual void ButtonsVisibleChanged() = 0;
  // The group lays its members out again: their order or sizes changed.
  virtual void ButtonsSizeChanged() = 0;
  // The material the member at AButtonIndex paints with; none when the group has no material in use.
  virtual TSkinButtonMaterial* GetButtonMaterial(std::int32_t AButtonIndex) = 0;

 protected:
  ~ISkinButtonGroup() = default;
};

// What the button's properties and control type ask of the button.
class ISkinButton {
 public:
  virtual QString GetDetail() const = 0;
  virtual QString GetDetail1() const = 0;
  virtual TButtonProperties* GetButtonProperties() const = 0;

 protected:
  ~ISkinButton() = default;
};

class TBaseButtonProperties : public TSkinControlProperties {
  Q_OBJECT
  Q_PROPERTY(bool IsAutoPush READ IsAutoPush WRITE SetIsAutoPush)
  Q_PROPERTY(bool IsPushed READ IsPushed WRITE SetIsPushed)

 public:
  // Raises "This Component Do not Support ISkinButton Interface" when
  // ASkinControl is no button; sizes the button to 100 x 40.
  explicit TBaseButtonProperties(TControl* ASkinControl);
  // Leaves the button group, which lays its members out again.
  ~TBaseButtonProperties() override;

  QString GetComponentClassify() const override { return QStringLiteral("SkinButton"); }
  // AutoSize, IsPushed, IsAutoPush, PushedGroupIndex and both icons.
  void AssignProperties(const TSkinControlProperties* ASource) override;

  bool IsPushed() const { return FIsPushed; }
  // The push group's rule: pushing a member releases its pushed siblings of
  // the same PushedGroupIndex, and a pushed member with siblings cannot be
  // released directly. While the form is read the value is taken as it is.
  void SetIsPushed(bool AValue);
  // The flag alone, without the group rule or a repaint.
  bool StaticIsPushed() const { return FIsPushed; }
  void SetStaticIsPushed(bool AValue) { FIsPushed = AValue; }
  bool IsAutoPush() const { return FIsAutoPush; }
  void SetIsAutoPush(bool AValue) { FIsAutoPush = AValue; }
  std::int32_t PushedGroupIndex() const { return FPushedGroupIndex; }
  void SetPushedGroupIndex(std::int32_t AValue) { FPushedGroupIndex = AValue; }
  QString HelpText() const { return FHelpText; }
  // A different text is stored and the button repaints.
  void SetHelpText(const QString& AValue);
  TDrawPicture* Icon() const { return FIcon.get(); }
  void SetIcon(const TDrawPicture* AValue) { FIcon->Assign(AValue); }
  TDrawPicture* PushedIcon() const { return FPushedIcon.get(); }
  void SetPushedIcon(const TDrawPicture* AValue) { FPushedIcon->Assign(AValue); }
  // The button's place in its button group's list; -1 outside one.
  std::int32_t ButtonIndex() const;
  // While the form is read the number is only stored, for the group to sort
  // its members by; later it moves the button to that place in its group,
  // and a place beyond the last one is ignored.
  void SetButtonIndex(std::int32_t AValue);
  // The number last stored or read, which SortButtons orders members by.
  std::int32_t StoredButtonIndex() const { return FButtonIndex; }
  TControl* ButtonGroup() const { return FButtonGroup.data(); }
  // Leaves the group set before (the button loses its parent) and joins
  // AValue when it is a group: the button goes to the end of its list and
  // becomes its child. Any control is stored, a group or not.
  void SetButtonGroup(TControl* AValue);
  ISkinButtonGroup* SkinButtonGroupIntf() const { return FButtonGroup.isNull() ? nullptr : FSkinButtonGroupIntf; }
  // Drops the group without telling it; the group calls this as it goes.
  void ForgetButtonGroup();
  // PushedIcon while pushed and it has a picture, else Icon.
  TDrawPicture* CurrentIcon() const;
  ISkinButton* SkinButtonIntf() const { return FSkinButtonIntf; }

 private:
  QString FHelpText;
  bool FIsPushed = false;
  bool FIsAutoPush = false;
  std::int32_t FPushedGroupIndex = 0;
  std::unique_ptr<TDrawPicture> FIcon;
  std::unique_ptr<TDrawPicture> FPushedIcon;
  mutable std::int32_t FButtonIndex = -1;
  QPointer<TControl> FButtonGroup;
  ISkinButton* FSkinButtonIntf = nullptr;
  ISkinButtonGroup* FSkinButtonGroupIntf = nullptr;
};

class TButtonProperties : public TBaseButtonProperties {
  Q_OBJECT
  Q_PROPERTY(TDrawPicture* Icon READ Icon WRITE SetIcon)
  Q_PROPERTY(TDrawPicture* PushedIcon READ PushedIcon WRITE SetPushedIcon)
  Q_PROPERTY(TControl* ButtonGroup READ ButtonGroup WRITE SetButtonGroup)
  Q_PROPERTY(std::int32_t ButtonIndex READ ButtonIndex WRITE SetButtonIndex)
  Q_PROPERTY(std::int32_t PushedGroupIndex READ PushedGroupIndex WRITE SetPushedGroupIndex)
  Q_PROPERTY(QString HelpText READ HelpText WRITE SetHelpText)

 public:
  using TBaseButtonProperties::TBaseButtonProperties;
  ~TButtonProperties() override;
};

class TSkinButtonMaterial : public TSkinControlMaterial {
  Q_OBJECT
  Q_PROPERTY(bool IsAutoCenterIconAndCaption READ IsAutoCenterIconAndCaption WRITE SetIsAutoCenterIconAndCaption)
  Q_PROPERTY(TDrawTextParam* DrawDetailParam READ DrawDetailParam WRITE SetDrawDetailParam)
  Q_PROPERTY(TDrawTextParam* DrawDetail1Param READ DrawDetail1Param WRITE SetDrawDetail1Param)
  Q_PROPERTY(TDrawTextParam* DrawHelpTextParam READ DrawHelpTextParam WRITE SetDrawHelpTextParam)

 public:
  explicit TSkinButtonMaterial(TComponent* AOwner = nullptr);
  ~TSkinButtonMaterial() override;

  // A button repaints on every press and hover change, whatever its parameters say.
  bool HasMouseDownEffect() const override { return true; }
  bool HasMouseOverEffect() const override { return true; }

  bool IsAutoCenterIconAndCaption() const { return FIsAutoCenterIconAndCaption; }
  void SetIsAutoCenterIconAndCaption(bool AValue);
  TDrawTextParam* DrawCaptionParam() const { return FDrawCaptionParam; }
  void SetDrawCaptionParam(const TDrawTextParam* AValue) { FDrawCaptionParam->Assign(AValue); }
  TDrawTextParam* DrawDetailParam() const { return FDrawDetailParam; }
  void SetDrawDetailParam(const TDrawTextParam* AValue) { FDrawDetailParam->Assign(AValue); }
  TDrawTextParam* DrawDetail1Param() const { return FDrawDetail1Param; }
  void SetDrawDetail1Param(const TDrawTextParam* AValue) { FDrawDetail1Param->Assign(AValue); }
  TDrawPictureParam* DrawIconParam() const { return FDrawIconParam; }
  void SetDrawIconParam(const TDrawPictureParam* AValue) { FDrawIconParam->Assign(AValue); }
  TDrawTextParam* DrawHelpTextParam() const { return FDrawHelpTextParam; }
  void SetDrawHelpTextParam(const TDrawTextParam* AValue) { FDrawHelpTextParam->Assign(AValue); }

 private:
  bool FIsAutoCenterIconAndCaption = false;
  TDrawTextParam* FDrawHelpTextParam;
  TDrawTextParam* FDrawCaptionParam;
  TDrawTextParam* FDrawDetailParam;
  TDrawTextParam* FDrawDetail1Param;
  TDrawPictureParam* FDrawIconParam;
};

class TSkinButtonDefaultMaterial : public TSkinButtonMaterial {
  Q_OBJECT
  Q_PROPERTY(TDrawTextParam* DrawCaptionParam READ DrawCaptionParam WRITE SetDrawCaptionParam)
  Q_PROPERTY(TDrawPictureParam* DrawIconParam READ DrawIconParam WRITE SetDrawIconParam)
  Q_PROPERTY(TDrawPicture* NormalPicture READ NormalPicture WRITE SetNormalPicture)
  Q_PROPERTY(TDrawPicture* HoverPicture READ HoverPicture WRITE SetHoverPicture)
  Q_PROPERTY(TDrawPicture* DownPicture READ DownPicture WRITE SetDownPicture)
  Q_PROPERTY(TDrawPicture* DisabledPicture READ DisabledPicture WRITE SetDisabledPicture)
  Q_PROPERTY(TDrawPicture* FocusedPicture READ FocusedPicture WRITE SetFocusedPicture)
  Q_PROPERTY(TDrawPicture* PushedPicture READ PushedPicture WRITE SetPushedPicture)
  Q_PROPERTY(TDrawPictureParam* DrawPictureParam READ DrawPictureParam WRITE SetDrawPictureParam)

 public:
  explicit TSkinButtonDefaultMaterial(TComponent* AOwner = nullptr);
  ~TSkinButtonDefaultMaterial() override;

  TDrawPicture* NormalPicture() const { return FNormalPicture; }
  void SetNormalPicture(const TDrawPicture* AValue) { FNormalPicture->Assign(AValue); }
  TDrawPicture* HoverPicture() const { return FHoverPicture; }
  void SetHoverPicture(const TDrawPicture* AValue) { FHoverPicture->Assign(AValue); }
  TDrawPicture* DownPicture() const { return FDownPicture; }
  void SetDownPicture(const TDrawPicture* AValue) { FDownPicture->Assign(AValue); }
  TDrawPicture* DisabledPicture() const { return FDisabledPicture; }
  void SetDisabledPicture(const TDrawPicture* AValue) { FDisabledPicture->Assign(AValue); }
  TDrawPicture* FocusedPicture() const { return FFocusedPicture; }
  void SetFocusedPicture(const TDrawPicture* AValue) { FFocusedPicture->Assign(AValue); }
  TDrawPicture* PushedPicture() const { return FPushedPicture; }
  void SetPushedPicture(const TDrawPicture* AValue) { FPushedPicture->Assign(AValue); }
  TDrawPictureParam* DrawPictureParam() const { return FDrawPictureParam; }
  void SetDrawPictureParam(const TDrawPictureParam* AValue) { FDrawPictureParam->Assign(AValue); }

  TDrawPicture* StatePicture(ostrel::skin::TButtonStatePicture AWhich) const;

 private:
  TDrawPicture* FNormalPicture;
  TDrawPicture* FHoverPicture;
  TDrawPicture* FDownPicture;
  TDrawPicture* FDisabledPicture;
  TDrawPicture* FFocusedPicture;
  TDrawPicture* FPushedPicture;
  TDrawPictureParam* FDrawPictureParam;
};

// Lays out and draws icon, caption, details and help text; sizes the button
// to its caption (and icon); adds the pushed state to the effect states.
class TSkinButtonType : public TSkinControlType {
 public:
  bool CustomBind(TControl* ASkinControl) override;
  void CustomUnBind() override;
  bool CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial, const TRectF& ADrawRect,
                   const TPaintData& APaintData) override;
  TSkinControlMaterial* GetPaintCurrentUseMaterial() override;
  TDPEffectStates CalcCurrentEffectStates() override;
  TDPEffectStates GetCurrentEffectStates() override;
  bool CalcAutoSize(double& AWidth, double& AHeight) override;
  void TextChanged() override;
  // Forgets the measured caption, as after a change of the material.
  void ForgetCaptionWidth() { FCaptionWidth.reset(); }

 protected:
  TBaseButtonProperties* ButtonProperties() const;
  // The caption's width in R, measured again only when the caption, R or the
  // font in force changes: measuring lays the text out afresh, and a
  // repaint should not.
  double CaptionWidth(TDrawTextParam& AParam, const QString& ACaption, const TRectF& R);
  // The width the current icon takes inside R under the icon parameter; 0 without an icon.
  double IconDrawWidth(TSkinButtonMaterial& AMaterial, const TRectF& R) const;

  ISkinButton* FSkinButtonIntf = nullptr;

 private:
  struct MeasuredCaption {
    QString Caption;
    TRectF Rect;
    QString FontName;
    double FontSize = 0;
    TFontStyles FontStyle;
    double Width = 0;
  };
  std::optional<MeasuredCaption> FCaptionWidth;
};

// Draws the state picture behind what TSkinButtonType draws.
class TSkinButtonDefaultType : public TSkinButtonType {
 public:
  bool CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial, const TRectF& ADrawRect,
                   const TPaintData& APaintData) override;
};

class TBaseSkinButton : public TSkinFireMonkeyControl,
                        public ISkinButton,
                        public IBindSkinItemObjectControl,
                        public IBindSkinItemValueControl,
                        public IBindSkinItemTextControl {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetText)
  Q_PROPERTY(QString Text READ Text WRITE SetText)
  Q_PROPERTY(QString Detail READ GetDetail WRITE SetDetail)
  Q_PROPERTY(QString Detail1 READ GetDetail1 WRITE SetDetail1)

 public:
  explicit TBaseSkinButton(TComponent* AOwner = nullptr);
  ~TBaseSkinButton() override;

  TPropertiesClass GetPropertiesClassType() const override { return TPropertiesClass::Of<TButtonProperties>(); }
  TButtonProperties* Prop() const { return GetButtonProperties(); }
  TSkinButtonDefaultMaterial* Material() { return SelfOwnMaterialToDefault(); }
  TSkinButtonDefaultMaterial* SelfOwnMaterialToDefault();
  TSkinButtonDefaultMaterial* CurrentUseMaterialToDefault();

  QString GetDetail() const override { return FDetail; }
  QString GetDetail1() const override { return FDetail1; }
  TButtonProperties* GetButtonProperties() const override;
  // A different text is stored and the button repaints.
  void SetDetail(const QString& AValue);
  void SetDetail1(const QString& AValue);
  QVariant Value;

  // IsAutoPush flips IsPushed (by the push group's rule) before the click fires.
  void Click() override;
  TAccessibleRole AccessibleRole() const override { return TAccessibleRole::Button; }
  // The stored accessible name, else the caption, else the hint (an icon
  // button is known by its hint).
  QString AccessibleName() const override;
  // A button read inside a button group's block joins that group.
  void SetParentComponent(TComponent* AParent) override;
  void DoCustomMaterialChange(TObject* Sender) override;
  void RecordControlLangIndex(const QString& APrefix, TLang* ALang, const QString& ACurLang) override;
  void TranslateControlLang(const QString& APrefix, TLang* ALang, const QString& ACurLang) override;
  QVariant GetPostValue(const QString&) override { return GetCaption(); }
  void SetControlValue(const QVariant& AValue, const QString&) override { SetCaption(AValue.toString()); }
  bool LoadFromFieldControlSetting(TObject* ASetting) override;

  // Item binding: a value or a text is the caption; an object is a picture
  // the icon refers to (none clears the reference).
  void BindingItemValue(const QVariant& AValue) override { SetCaption(AValue.toString()); }
  void BindingItemText(const QString& AText) override { SetCaption(AText); }
  void BindingItemObject(TObject* AObject) override;

 private:
  QString FDetail;
  QString FDetail1;
};

class TSkinFMXButton : public TBaseSkinButton {
  Q_OBJECT

 public:
  using TBaseSkinButton::TBaseSkinButton;
  ~TSkinFMXButton() override;
};

void RegisterSkinButtonFamily(ostrel::skin::SkinLibraryRegistration& AReg);
