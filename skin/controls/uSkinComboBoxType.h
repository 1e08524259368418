#pragma once
// The skinned combo box's painter: it draws the closed control (state
// picture, arrow, selected text, help text) from its material over the host
// combo box, whose list, selection, keyboard and drop-down stay the host's.
//
// Which state picture shows is a pure function below; the family's classes
// follow it.

#include "skin/base/uComponentType.h"
#include "skin/base/uDrawParam.h"
#include "skin/base/uDrawPicture.h"
#include "skin/base/uSkinFireMonkeyControl.h"
#include "skin/base/uSkinMaterial.h"
#include "skin/base/uSkinRegManager.h"
#include "skin/host/ComboBox.h"
#include "skin/host/Set.h"
#include "skin/host/StyleObject.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>

namespace ostrel::skin {

// The four state pictures of the default combo box material.
enum class TComboBoxStatePicture : std::uint8_t { Normal, Hover, Focused, Disabled };
using TComboBoxStatePictures = TSet<TComboBoxStatePicture>;

// Disabled when disabled; else, painting AIsInteractive, Focused when
// focused, then Hover when hovered; else Normal. There is no pressed picture,
// and focus wins over hover. An empty choice falls back to Normal.
TComboBoxStatePicture ChooseComboBoxStatePicture(TDPEffectStates AStates, bool AIsInteractive,
                                                 TComboBoxStatePictures AEmpty);

}  // namespace ostrel::skin

class TComboBoxProperties;

// What the combo box's properties and control type ask of the combo box.
class ISkinComboBox {
 public:
  // The selected item's text; empty without a selection.
  virtual QString GetText() const = 0;
  virtual TComboBoxProperties* GetComboBoxProperties() const = 0;

 protected:
  ~ISkinComboBox() = default;
};

class TComboBoxProperties : public TSkinControlProperties {
  Q_OBJECT
  Q_PROPERTY(QString HelpText READ HelpText WRITE SetHelpText)

 public:
  // Raises "This Component Do not Support ISkinComboBox Interface" when
  // ASkinControl is no skinned combo box; sizes it to 100 x 22.
  explicit TComboBoxProperties(TControl* ASkinControl);
  ~TComboBoxProperties() override;

  QString GetComponentClassify() const override { return QStringLiteral("SkinComboBox"); }
  // AutoSize and HelpText.
  void AssignProperties(const TSkinControlProperties* ASource) override;

  // The text shown when the combo box is drawn as part of a list item.
  QString DrawText() const { return FDrawText; }
  void SetDrawText(const QString& AValue) { FDrawText = AValue; }
  // Shown, greyed, while nothing is selected. A different text repaints.
  QString HelpText() const { return FHelpText; }
  void SetHelpText(const QString& AValue);

  ISkinComboBox* SkinComboBoxIntf() const { return FSkinComboBoxIntf; }

 private:
  QString FDrawText;
  QString FHelpText;
  ISkinComboBox* FSkinComboBoxIntf = nullptr;
};

class TSkinComboBoxDefaultMaterial : public TSkinControlMaterial {
  Q_OBJECT
  Q_PROPERTY(TDrawPicture* ArrowPicture READ ArrowPicture WRITE SetArrowPicture)
  Q_PROPERTY(TDrawPictureParam* DrawArrowPictureParam READ DrawArrowPictureParam WRITE SetDrawArrowPictureParam)
  Q_PROPERTY(TDrawTextParam* DrawTextParam READ DrawTextParam WRITE SetDrawTextParam)
  Q_PROPERTY(TDrawTextParam* DrawHelpTextParam READ DrawHelpTextParam WRITE SetDrawHelpTextParam)
  Q_PROPERTY(TDrawPicture* NormalPicture READ NormalPicture WRITE SetNormalPicture)
  Q_PROPERTY(TDrawPicture* HoverPicture READ HoverPicture WRITE SetHoverPicture)
  Q_PROPERTY(TDrawPicture* FocusedPicture READ FocusedPicture WRITE SetFocusedPicture)
  Q_PROPERTY(TDrawPicture* DisabledPicture READ DisabledPicture WRITE SetDisabledPicture)
  Q_PROPERTY(TDrawPictureParam* DrawPictureParam READ DrawPictureParam WRITE SetDrawPictureParam)

 public:
  explicit TSkinComboBoxDefaultMaterial(TComponent* AOwner = nullptr);
  ~TSkinComboBoxDefaultMaterial() override;

  // A combo box repaints on every press and hover change, whatever its parameters say.
  bool HasMouseDownEffect() const override { return true; }
  bool HasMouseOverEffect() const override { return true; }

  TDrawPicture* ArrowPicture() const { return FArrowPicture; }
  void SetArrowPicture(const TDrawPicture* AValue) { FArrowPicture->Assign(AValue); }
  TDrawPictureParam* DrawArrowPictureParam() const { return FDrawArrowPictureParam; }
  void SetDrawArrowPictureParam(const TDrawPictureParam* AValue) { FDrawArrowPictureParam->Assign(AValue); }
  TDrawTextParam* DrawTextParam() const { return FDrawTextParam; }
  void SetDrawTextParam(const TDrawTextParam* AValue) { FDrawTextParam->Assign(AValue); }
  TDrawTextParam* DrawHelpTextParam() const { return FDrawHelpTextParam; }
  void SetDrawHelpTextParam(const TDrawTextParam* AValue) { FDrawHelpTextParam->Assign(AValue); }
  TDrawPicture* NormalPicture() const { return FNormalPicture; }
  void SetNormalPicture(const TDrawPicture* AValue) { FNormalPicture->Assign(AValue); }
  TDrawPicture* HoverPicture() const { return FHoverPicture; }
  void SetHoverPicture(const TDrawPicture* AValue) { FHoverPicture->Assign(AValue); }
  TDrawPicture* FocusedPicture() const { return FFocusedPicture; }
  void SetFocusedPicture(const TDrawPicture* AValue) { FFocusedPicture->Assign(AValue); }
  TDrawPicture* DisabledPicture() const { return FDisabledPicture; }
  void SetDisabledPicture(const TDrawPicture* AValue) { FDisabledPicture->Assign(AValue); }
  TDrawPictureParam* DrawPictureParam() const { return FDrawPictureParam; }
  void SetDrawPictureParam(const TDrawPictureParam* AValue) { FDrawPictureParam->Assign(AValue); }

  TDrawPicture* StatePicture(ostrel::skin::TComboBoxStatePicture AWhich) const;

 private:
  TDrawTextParam* FDrawHelpTextParam;
  TDrawTextParam* FDrawTextParam;
  TDrawPicture* FArrowPicture;
  TDrawPictureParam* FDrawArrowPictureParam;
  TDrawPicture* FNormalPicture;
  TDrawPicture* FHoverPicture;
  TDrawPicture* FFocusedPicture;
  TDrawPicture* FDisabledPicture;
  TDrawPictureParam* FDrawPictureParam;
};

// Draws the closed combo box: state picture, arrow, text or help text.
class TSkinComboBoxDefaultType : public TSkinControlType {
 public:
  bool CustomBind(TControl* ASkinControl) override;
  void CustomUnBind() override;
  bool CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial, const TRectF& ADrawRect,
                   const TPaintData& APaintData) override;
  // The help text, only while the shown text is empty.
  virtual void CustomPaintHelpText(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial, const TRectF& ADrawRect,
                                   const TPaintData& APaintData);

 protected:
  TComboBoxProperties* ComboBoxProperties() const;
  // The selected item's text, or the list item's DrawText when drawn as part of one.
  QString ShownText(const TPaintData& APaintData) const;

  ISkinComboBox* FSkinComboBoxIntf = nullptr;
};

// The host combo box wearing a skin. The host keeps the items, the
// selection, the keyboard and the drop-down; the skin paints the closed
// control on the host style's background part, whose own look (frame,
// arrow, selected text) it strips. It carries the whole skinned-control
// contract through SkinControlCore, as TSkinFireMonkeyControl does.
class TSkinFMXCustomComboBox : public TComboBox,
                               public ostrel::skin::SkinControlCore,
                               public ISkinComboBox,
                               public IBindSkinItemValueControl,
                               public IBindSkinItemTextControl,
                               public ICustomListItemEditor {
  Q_OBJECT
  Q_PROPERTY(bool ParentMouseEvent READ GetParentMouseEvent WRITE SetParentMouseEvent)
  Q_PROPERTY(QString BindItemFieldName READ GetBindItemFieldName WRITE SetBindItemFieldName)
  Q_PROPERTY(bool DirectUIVisible READ DirectUIVisible WRITE SetDirectUIVisible)
  Q_PROPERTY(QString _Version READ Version)
  Q_PROPERTY(uComponentType::TComponentTypeUseKind ComponentTypeUseKind READ ComponentTypeUseKind WRITE
                 SetComponentTypeUseKind)
  Q_PROPERTY(uComponentType::TMaterialUseKind MaterialUseKind READ MaterialUseKind WRITE SetMaterialUseKind)
  Q_PROPERTY(bool KeepSelfOwnMaterial READ KeepSelfOwnMaterial WRITE SetKeepSelfOwnMaterial)
  Q_PROPERTY(QString ComponentTypeName READ ComponentTypeName WRITE SetComponentTypeName)
  Q_PROPERTY(QString MaterialName READ MaterialName WRITE SetMaterialName)
  Q_PROPERTY(TSkinControlMaterial* SelfOwnMaterial READ SelfOwnMaterial)
  Q_PROPERTY(TSkinControlMaterial* RefMaterial READ RefMaterial WRITE SetRefMaterial)
  Q_PROPERTY(bool IsUseDefaultStyle READ IsUseDefaultStyle WRITE SetIsUseDefaultStyle)
  Q_PROPERTY(QStringList Values READ Values WRITE SetValues)
  Q_PROPERTY(bool IsAutoEditInItem READ IsAutoEditInItem WRITE SetIsAutoEditInItem)
  // One object under two names; stored forms keep it under Properties.
  Q_PROPERTY(TComboBoxProperties* ComboBoxProperties READ GetComboBoxProperties STORED false)
  Q_PROPERTY(TSkinControlProperties* Properties READ Properties WRITE SetPropertiesFrom)

 public:
  explicit TSkinFMXCustomComboBox(TComponent* AOwner = nullptr);
  ~TSkinFMXCustomComboBox() override;

  static QString Version() { return QStringLiteral("1.0"); }

  TComboBoxProperties* Prop() const { return GetComboBoxProperties(); }
  TSkinComboBoxDefaultMaterial* Material() { return SelfOwnMaterialToDefault(); }
  TSkinComboBoxDefaultMaterial* SelfOwnMaterialToDefault();
  TSkinComboBoxDefaultMaterial* CurrentUseMaterialToDefault();
  TPropertiesClass GetPropertiesClassType() const override { return TPropertiesClass::Of<TComboBoxProperties>(); }

  // The selected item's text; setting it selects the equal item, or nothing.
  QString GetText() const override { return SelectedText(); }
  void SetText(const QString& AValue);
  // The entry of Values at the selected index, empty without a selection;
  // raises when Values has no entry there. Setting it selects the index of
  // the equal entry of Values, or nothing.
  QString Value() const;
  void SetValue(const QString& AValue);
  QStringList Values() const { return FValues; }
  void SetValues(const QStringList& AValue) { FValues = AValue; }
  bool IsUseDefaultStyle() const { return FIsUseDefaultStyle; }
  // The host's own look instead of the skin; a change applies the style afresh.
  void SetIsUseDefaultStyle(bool AValue);
  bool IsAutoEditInItem() const { return FIsAutoEditInItem; }
  void SetIsAutoEditInItem(bool AValue) { FIsAutoEditInItem = AValue; }
  // The host style's part the skin paints on, while the style is applied.
  TStyleObject* StyleObjBackground() const { return FStyleObj_background; }
  TComboBoxProperties* GetComboBoxProperties() const override;

  // --- skin control contract through the host's overrides ----------------------------
  void Loaded() override;
  void MouseDown(TMouseButton AButton, TShiftState AShift, float AX, float AY) override;
  void MouseMove(TShiftState AShift, float AX, float AY) override;
  void MouseUp(TMouseButton AButton, TShiftState AShift, float AX, float AY) override;
  void MouseWheel(TShiftState AShift, int AWheelDelta, bool& AHandled) override;
  void DoMouseEnter() override;
  void DoMouseLeave() override;
  void Click() override;
  void EnterFocus() override { DoEnter(); }
  // Repaints the skin's part of the host style; nothing without it.
  void Invalidate() override;

  // --- language, page data, list items ------------------------------------------------
  void RecordControlLangIndex(const QString& APrefix, TLang* ALang, const QString& ACurLang) override;
  void TranslateControlLang(const QString& APrefix, TLang* ALang, const QString& ACurLang) override;
  // Items from the setting's option captions, Values from its option values; no selection.
  bool LoadFromFieldControlSetting(TObject* ASetting) override;
  // The selected item's value when Values has one, else the displayed text.
  QVariant GetPostValue(const QString& APageDataDir) override;
  // Selects by caption, then by value.
  void SetControlValue(const QVariant& AValue, const QString& APageDataDir) override;
  QVariant GetProp(const QString&) override { return {}; }
  void SetProp(const QString&, const QVariant&) override {}
  void BindingItemValue(const QVariant& AValue) override { Prop()->SetDrawText(AValue.toString()); }
  void BindingItemText(const QString& AText) override { Prop()->SetDrawText(AText); }
  void SetEditValue(const QString& AValue) override { SetText(AValue); }
  QString GetEditValue() override { return GetText(); }
  void StartEdit() override { DropDown(); }

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override;
  void DoEnter() override;
  void DoExit() override;
  void FocusShownChanged() override;
  void Resize() override;
  void HostClick() override { TComboBox::Click(); }
  void ApplyStyle() override;
  void FreeStyle() override;

 private:
  bool FIsUseDefaultStyle = false;
  TStyleObject* FContent = nullptr;
  QStringList FValues;
  bool FIsAutoEditInItem = false;
  TStyleObject* FStyleObj_background = nullptr;
};

// Inside a scroll box a press, move and release go to the skin alone, so
// the scroll box can be dragged through the combo box; a click without
// movement is then replayed to the host combo box, which opens its list.
class TSkinComboBox : public TSkinFMXCustomComboBox {
  Q_OBJECT

 public:
  using TSkinFMXCustomComboBox::TSkinFMXCustomComboBox;
  ~TSkinComboBox() override;

  bool WidgetTakesPointer() const override;
  void MouseUp(TMouseButton AButton, TShiftState AShift, float AX, float AY) override;

 private:
  bool IsPointerFirst();
};

class TSkinFMXComboBox : public TSkinComboBox {
  Q_OBJECT

 public:
  using TSkinComboBox::TSkinComboBox;
  ~TSkinFMXComboBox() override;
};

void RegisterSkinComboBoxFamily(ostrel::skin::SkinLibraryRegistration& AReg);
