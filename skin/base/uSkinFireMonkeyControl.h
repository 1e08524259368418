#pragma once
// The skinned control base. A skinned control is a host control that keeps
// the three companions of uComponentType (properties, control type,
// material), tracks hover and press for the drawing effects, turns the
// host's pointer and paint events into calls of its control type, fires its
// own pointer events, tells a click from a stay click and passes pointer
// events on to its parent on request.
//
// The skin part lives in ostrel::skin::SkinControlCore, a base class beside
// the host control, so that a control whose host base is not TControl itself
// (the combo box, on the host TComboBox) carries the very same contract:
//
//   class TMyControl : public THostControl, public ostrel::skin::SkinControlCore {
//     TMyControl(TComponent* AOwner) : THostControl(AOwner), SkinControlCore(static_cast<TControl&>(*this)) {
//       AddSkinEvents(EventTable());
//     }
//     ~TMyControl() override { Destroying(); DestroySkinParts(); }
//     // and the host overrides forwarding to the Skin… hooks, as
//     // TSkinFireMonkeyControl below does.
//   };
//
// A family's control derives from TSkinFireMonkeyControl and answers its
// properties class in GetPropertiesClassType; the properties object is made
// on first use, once the control is whole, so the family's interface is there.

#include "skin/base/uComponentType.h"
#include "skin/base/uDrawCanvas.h"
#include "skin/base/uSkinMaterial.h"
#include "skin/host/Component.h"
#include "skin/host/Control.h"
#include "skin/host/Events.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QPainter;

// The material settings of a control.
class ISkinControlMaterial {
 public:
  // The other control's type name, kind, material name, referenced material
  // and keep flag, then its self-owned material copied into this one's when both exist.
  virtual void CopyMaterialSettingsFrom(ISkinControlMaterial* ASource) = 0;
  virtual QString GetMaterialName() const = 0;
  virtual TMaterialUseKind GetMaterialUseKind() const = 0;
  virtual bool GetKeepSelfOwnMaterial() const = 0;
  virtual TSkinControlMaterial* GetSelfOwnMaterial() = 0;
  virtual TSkinControlMaterial* GetRefMaterial() const = 0;
  virtual QString GetComponentTypeName() const = 0;
  // The type name, or "Default" when it is blank.
  virtual QString GetComponentTypeNameOrDefault() const = 0;
  // Drops the self-owned material without freeing it; the control, its
  // component owner, still frees it when it goes.
  virtual void ForgetSelfOwnMaterial() = 0;
  virtual void SetRefMaterial(TSkinControlMaterial* AValue) = 0;
  virtual void SetKeepSelfOwnMaterial(bool AValue) = 0;
  virtual void SetMaterialUseKind(TMaterialUseKind AValue) = 0;
  virtual void SetMaterialName(const QString& AValue) = 0;
  virtual void SetComponentTypeName(const QString& AValue) = 0;

 protected:
  ~ISkinControlMaterial() = default;
};

// The data field a control is bound to in item templates.
class ISkinItemBindingControl {
 public:
  virtual QString GetBindItemFieldName() const = 0;
  virtual void SetBindItemFieldName(const QString& AValue) = 0;

 protected:
  ~ISkinItemBindingControl() = default;
};

// A control that shows the value (the text) of its bound field when a list
// item template fills it for one item.
class IBindSkinItemValueControl {
 public:
  virtual void BindingItemValue(const QVariant& AValue) = 0;

 protected:
  ~IBindSkinItemValueControl() = default;
};

class IBindSkinItemTextControl {
 public:
  virtual void BindingItemText(const QString& AText) = 0;

 protected:
  ~IBindSkinItemTextControl() = default;
};

// A control that shows a bound object, a picture as a rule (none clears it).
class IBindSkinItemObjectControl {
 public:
  virtual void BindingItemObject(TObject* AObject) = 0;

 protected:
  ~IBindSkinItemObjectControl() = default;
};

class IBindSkinItemBoolControl {
 public:
  virtual void BindingItemBool(bool AValue) = 0;

 protected:
  ~IBindSkinItemBoolControl() = default;
};

// A control that shows an item's icon: a picture taken from an image list by
// its index in that list, any other picture by reference.
class IBindSkinItemIconControl {
 public:
  virtual void BindingItemIcon(TDrawPicture* AIcon) = 0;

 protected:
  ~IBindSkinItemIconControl() = default;
};

// How far a list item's frame animation of one field has gone.
enum class TItemFrameAnimateState : std::uint8_t { ifasNone, ifasStarting, ifasRunning, ifasStopping };

// The list item whose fields fill a template control. It keeps one picture
// per field for pictures bound from data or an address, and may run a frame
// animation on a field, during which a bound image steps through its image list.
class ISkinBindingItem {
 public:
  // The item's picture for AFieldName, made when missing; the item owns it.
  virtual TDrawPicture* GetFieldPicture(const QString& AFieldName) = 0;
  virtual TItemFrameAnimateState GetFrameAnimateState(const QString& AFieldName) const = 0;
  virtual void SetFrameAnimateState(const QString& AFieldName, TItemFrameAnimateState AValue) = 0;
  // The bound control's tick count when the animation started.
  virtual std::int32_t GetFrameAnimateStartTicket(const QString& AFieldName) const = 0;
  virtual void SetFrameAnimateStartTicket(const QString& AFieldName, std::int32_t AValue) = 0;

 protected:
  ~ISkinBindingItem() = default;
};

// A control that shows a named field of an item as text, with the item at hand.
class IBindSkinItemNamedTextControl {
 public:
  virtual void BindingItemNamedText(const QString& AFieldName, const QString& AText, ISkinBindingItem* AItem) = 0;

 protected:
  ~IBindSkinItemNamedTextControl() = default;
};

// A control a list uses to edit one of its items in place.
class ICustomListItemEditor {
 public:
  virtual void SetEditValue(const QString& AValue) = 0;
  virtual QString GetEditValue() = 0;
  virtual void StartEdit() = 0;

 protected:
  ~ICustomListItemEditor() = default;
};

// What a generated page's field setting tells a control: its caption and,
// for a control that offers a choice, the options' values and captions, each
// a comma-separated text.
class TFieldControlSetting : public TObject {
 public:
  // The field's caption, which a button shows.
  QString Caption;
  QString OptionsValue;
  QString OptionsCaption;
};

// Data binding of generated pages; the core answers defaults.
class IControlForPageFramework {
 public:
  virtual bool LoadFromFieldControlSetting(TObject* ASetting) = 0;
  virtual QString GetPropJsonStr() const = 0;
  virtual void SetPropJsonStr(const QString& AJsonStr) = 0;
  // APageDataDir is the folder of the page's data, where controls keep files
  // that belong to their values (an image's picture, say).
  virtual QVariant GetPostValue(const QString& APageDataDir) = 0;
  virtual void SetControlValue(const QVariant& AValue, const QString& APageDataDir) = 0;
  virtual QVariant GetProp(const QString& AName) = 0;
  virtual void SetProp(const QString& AName, const QVariant& AValue) = 0;

 protected:
  ~IControlForPageFramework() = default;
};

// Translated texts by key and language.
class TLang {
 public:
  QString GetString(const QString& AKey, const QString& ALang) const { return FTexts.value(ALang + u'\n' + AKey); }
  void SetString(const QString& AKey, const QString& ALang, const QString& AText) {
    FTexts.insert(ALang + u'\n' + AKey, AText);
  }

 private:
  QHash<QString, QString> FTexts;
};

// Language switching of a control's texts.
class ILangProcess {
 public:
  virtual void RecordControlLangIndex(const QString& APrefix, TLang* ALang, const QString& ACurLang) = 0;
  virtual void TranslateControlLang(const QString& APrefix, TLang* ALang, const QString& ACurLang) = 0;

 protected:
  ~ILangProcess() = default;
};

// Ancestors that change how a control's pointer input and clicks behave:
// a skinned scroll box (a drag inside it scrolls rather than clicks) and a
// page control that switches pages by gesture.
class ISkinScrollBox {
 public:
  // Whether its vertical scroll bar is shown at all.
  virtual bool IsVertScrollBarShown() const = 0;

 protected:
  ~ISkinScrollBox() = default;
};

class ISkinGesturePageControl {
 public:
  virtual bool CanGesutreSwitch() const = 0;

 protected:
  ~ISkinGesturePageControl() = default;
};

namespace ostrel::skin {

// Set by every skinned control's press and cleared by its release; gesture
// managers read it.
bool IsMouseDownInSkinControl();
void SetIsMouseDownInSkinControl(bool AValue);

// The skin part of a skinned control (see the head of this file).
class SkinControlCore : public ISkinControl,
                        public ISkinControlMaterial,
                        public ISkinItemBindingControl,
                        public IControlForPageFramework,
                        public ILangProcess {
 public:
  SkinControlCore(const SkinControlCore&) = delete;
  SkinControlCore& operator=(const SkinControlCore&) = delete;

  // --- companions -----------------------------------------------------------
  // Made on first use from GetPropertiesClassType.
  TSkinControlProperties* Properties() const;
  // Copies AValue into the owned properties.
  void SetPropertiesFrom(const TSkinControlProperties* AValue);
  // Made on first use from the registry; none when the registry has no
  // class for the classification and type name (logged).
  TSkinControlType* SkinControlType();
  // The material in use, chosen on first use by MaterialUseKind.
  TSkinControlMaterial* CurrentUseMaterial();
  // Made when needed under mukSelfOwn or with KeepSelfOwnMaterial.
  TSkinControlMaterial* SelfOwnMaterial();
  TSkinControlMaterial* RefMaterial() const { return FRefMaterial.Material; }
  TSkinControlMaterial* CurrentUseMaterialIfAny() const { return FCurrentUseSkinMaterial.Material; }
  TSkinControlMaterial* SelfOwnMaterialIfAny() const { return FMaterial.Material; }

  QString ComponentTypeName() const { return FComponentTypeName; }
  TComponentTypeUseKind ComponentTypeUseKind() const { return FComponentTypeUseKind; }
  void SetComponentTypeUseKind(TComponentTypeUseKind AValue) { FComponentTypeUseKind = AValue; }
  QString MaterialName() const { return FMaterialName; }
  TMaterialUseKind MaterialUseKind() const { return FMaterialUseKind; }
  bool KeepSelfOwnMaterial() const { return FKeepSelfOwnMaterial; }

  void CreateSelfOwnMaterial();
  void FreeSelfOwnMaterial();
  void ReleaseCurrentUseMaterial();

  // --- overridable operations ------------------------------------------------
  virtual TControlTypeClass GetControlTypeClass();
  virtual TMaterialClass GetMaterialClass();
  virtual void CreateSkinControlType();
  virtual void CheckCurrentUseMaterialClass();
  virtual void CheckSelfOwnMaterialClass();
  virtual void DoMaterialChange(TObject* Sender);
  // Nothing here; families re-run their automatic size.
  virtual void DoCustomMaterialChange(TObject* Sender);
  virtual void DoMaterialDestroy(TObject* Sender);
  virtual TPropertiesClass GetPropertiesClassType() const;
  // Fires OnStayClick.
  virtual void StayClick();

  // --- state -----------------------------------------------------------------
  // The skin flag or the host's own pointer-over flag.
  bool GetIsMouseOver() const override;
  void SetIsMouseOver(bool AValue) override { FIsMouseOver = AValue; }
  bool IsMouseDown() const { return FIsMouseDown; }
  bool GetIsMouseDown() const override { return FIsMouseDown; }
  void SetIsMouseDown(bool AValue) override { FIsMouseDown = AValue; }
  bool MouseDownFocus() const { return FMouseDownFocus; }
  void SetMouseDownFocus(bool AValue) { FMouseDownFocus = AValue; }
  bool DirectUIVisible() const { return FDirectUIVisible; }
  void SetDirectUIVisible(bool AValue) { FDirectUIVisible = AValue; }
  int HitTestValue() const { return FHitTestValue; }
  void SetHitTestValue(int AValue) { FHitTestValue = AValue; }
  // The caption without TextChanged.
  QString StaticCaption() const { return FCaption; }
  void SetStaticCaption(const QString& AValue) { FCaption = AValue; }
  double Left() const;
  double Top() const;
  TDrawCanvas* Canvas() const { return FCanvas.get(); }
  const TPaintData& PaintData() const { return FPaintData; }
  IDirectUIParent* DirectUIParentIntf() const { return FDirectUIParentIntf; }

  // Data attached by item templates; owned when made by CreateOwnDataObject.
  TObject* DataObject() const { return FDataObject.get() != nullptr ? FDataObject.get() : FForeignDataObject; }
  void SetDataObject(TObject* AValue);
  template <class T>
  T* CreateOwnDataObject() {
    auto object = std::make_unique<T>();
    T* const result = object.get();
    FDataObject = std::move(object);
    FForeignDataObject = nullptr;
    return result;
  }

  // --- events ------------------------------------------------------------------
  const TNotifyEvent& OnStayClick() const { return FOnStayClick; }
  void SetOnStayClick(TNotifyEvent AValue);
  void SetOnCustomMouseDown(TMouseEvent AValue);
  void SetOnCustomMouseUp(TMouseEvent AValue);
  void SetOnCustomMouseMove(TMouseMoveEvent AValue);
  void SetOnCustomMouseEnter(TNotifyEvent AValue);
  void SetOnCustomMouseLeave(TNotifyEvent AValue);

  // --- ancestors ---------------------------------------------------------------
  bool FindParentScrollBox();
  bool FindParentGesturePageControl();

  // --- ISkinControl ------------------------------------------------------------
  double GetLeft() const override { return Left(); }
  double GetTop() const override { return Top(); }
  void SetLeft(double AValue) override;
  void SetTop(double AValue) override;
  double GetWidth() const override;
  double GetHeight() const override;
  void SetControlWidth(double AValue) override;
  void SetControlHeight(double AValue) override;
  void SetControlParent(TControl* AParent) override;
  void SetControlVisible(bool AValue) override;
  int GetWidthInt() const override;
  void SetWidthInt(int AValue) override;
  int GetHeightInt() const override;
  void SetHeightInt(int AValue) override;
  bool GetVisible() const override;
  bool GetEnabled() const override;
  bool GetIsFocused() const override;
  TControl* GetParent() const override;
  TSkinControlProperties* GetProperties() const override { return Properties(); }
  void SetProperties(const TSkinControlProperties* AValue) override { SetPropertiesFrom(AValue); }
  TSkinControlMaterial* GetCurrentUseMaterial() override { return CurrentUseMaterial(); }
  TSkinControlType* GetSkinControlType() override { return SkinControlType(); }
  QString GetCaption() const override { return FCaption; }
  // A different caption is stored and the control type hears of it.
  void SetCaption(const QString& AValue) override;
  bool GetParentMouseEvent() const override { return FParentMouseEvent; }
  void SetParentMouseEvent(bool AValue) override { FParentMouseEvent = AValue; }
  TMouseEventTransToParentType GetMouseEventTransToParentType() const override { return FMouseEventTransToParentType; }
  void SetMouseEventTransToParentType(TMouseEventTransToParentType AValue) override {
    FMouseEventTransToParentType = AValue;
  }
  bool GetParentIsScrollBox() override { return FindParentScrollBox(); }
  TControl* GetParentScrollBox() override;
  // Through a painting parent when there is one, else a host repaint.
  void Invalidate() override;
  void SetBoundsValues(double ALeft, double ATop, double AWidth, double AHeight) override;
  void SetBoundsRect(const TRectF& ARect) override;
  int GetParentChildControlCount() const override;
  TControl* GetParentChildControl(int AIndex) const override;
  int GetChildControlCount() const override;
  TControl* GetChildControl(int AIndex) const override;
  void ISkinControl_CustomMouseDown(TMouseButton Button, TShiftState Shift, float X, float Y, bool AIsChildMouseEvent,
                                    TObject* AChild) override;
  void ISkinControl_CustomMouseUp(TMouseButton Button, TShiftState Shift, float X, float Y, bool AIsChildMouseEvent,
                                  TObject* AChild) override;
  void ISkinControl_CustomMouseMove(TShiftState Shift, float X, float Y, bool AIsChildMouseEvent,
                                    TObject* AChild) override;
  void ISkinControl_CustomMouseEnter() override;
  void ISkinControl_CustomMouseLeave() override;
  const TMouseEvent& GetOnCustomMouseDown() const override { return FOnCustomMouseDown; }
  const TMouseEvent& GetOnCustomMouseUp() const override { return FOnCustomMouseUp; }
  const TMouseMoveEvent& GetOnCustomMouseMove() const override { return FOnCustomMouseMove; }
  const TNotifyEvent& GetOnCustomMouseEnter() const override { return FOnCustomMouseEnter; }
  const TNotifyEvent& GetOnCustomMouseLeave() const override { return FOnCustomMouseLeave; }
  void SetDirectUIParentIntf(IDirectUIParent* AValue) override { FDirectUIParentIntf = AValue; }
  bool GetHitTest() const override;
  int GetHitTestValue() const override { return FHitTestValue; }
  bool GetDirectUIVisible() const override { return FDirectUIVisible; }
  double GetAutoSizeWidth() override;
  double GetAutoSizeHeight() override;
  TRectF GetAutoSizeBoundsRect() override;

  // --- ISkinControlMaterial ----------------------------------------------------
  void CopyMaterialSettingsFrom(ISkinControlMaterial* ASource) override;
  QString GetMaterialName() const override { return FMaterialName; }
  TMaterialUseKind GetMaterialUseKind() const override { return FMaterialUseKind; }
  bool GetKeepSelfOwnMaterial() const override { return FKeepSelfOwnMaterial; }
  TSkinControlMaterial* GetSelfOwnMaterial() override { return SelfOwnMaterial(); }
  TSkinControlMaterial* GetRefMaterial() const override { return RefMaterial(); }
  QString GetComponentTypeName() const override { return FComponentTypeName; }
  QString GetComponentTypeNameOrDefault() const override;
  void ForgetSelfOwnMaterial() override;
  void SetRefMaterial(TSkinControlMaterial* AValue) override;
  void SetKeepSelfOwnMaterial(bool AValue) override;
  void SetMaterialUseKind(TMaterialUseKind AValue) override;
  void SetMaterialName(const QString& AValue) override;
  void SetComponentTypeName(const QString& AValue) override;

  // --- ISkinItemBindingControl ---------------------------------------------------
  QString GetBindItemFieldName() const override { return FBindItemFieldName; }
  void SetBindItemFieldName(const QString& AValue) override { FBindItemFieldName = AValue; }

  // --- IControlForPageFramework --------------------------------------------------
  bool LoadFromFieldControlSetting(TObject* ASetting) override;
  QString GetPropJsonStr() const override;
  void SetPropJsonStr(const QString& AJsonStr) override;
  QVariant GetPostValue(const QString& APageDataDir) override;
  void SetControlValue(const QVariant& AValue, const QString& APageDataDir) override;
  QVariant GetProp(const QString& AName) override;
  void SetProp(const QString& AName, const QVariant& AValue) override;

  // --- ILangProcess ----------------------------------------------------------------
  void RecordControlLangIndex(const QString& APrefix, TLang* ALang, const QString& ACurLang) override;
  void TranslateControlLang(const QString& APrefix, TLang* ALang, const QString& ACurLang) override;

 protected:
  // AHost is the control this object is the skin part of (the same object).
  explicit SkinControlCore(TControl& AHost);
  ~SkinControlCore();

  TControl& Host() const { return FHost; }
  bool IsLoadingOrReading() const;
  bool IsDesigning() const;

  // The host's own click: fires OnClick or runs the action.
  virtual void HostClick() = 0;

  // Adds the skin's event properties to the control's table, once, from its constructor.
  void AddSkinEvents(ostrel::host::TEventTable& ATable);
  // The skin part's destruction, in the library's order: the material in
  // use released, the change link, the control type, the material in use
  // again, the self-owned material, an owned data object, the properties and
  // the draw canvas; a failure of the last two is logged and swallowed. A
  // concrete control calls it first thing in its destructor, while it is
  // still whole for the notifications this causes; nothing is made anew afterwards.
  void DestroySkinParts();

  // Hooks for the concrete class's host overrides, each after (or around)
  // the host's own handling as documented there.
  void SkinLoaded();
  void SkinNotification(TComponent* AComponent, TOperation AOperation);
  void SkinMouseDownBegin();
  void SkinMouseDown(TMouseButton AButton, TShiftState AShift, float AX, float AY);
  void SkinMouseMove(TShiftState AShift, float AX, float AY);
  void SkinMouseUpBegin();
  void SkinMouseUp(TMouseButton AButton, TShiftState AShift, float AX, float AY);
  void SkinMouseWheel(TShiftState AShift, int AWheelDelta, bool& AHandled);
  // True when the control type handled the gesture, so the host need not.
  bool SkinGesture(const TGestureEventInfo& AEventInfo);
  void SkinResize();
  void SkinFocusEnter();
  void SkinFocusExit();
  // The focus as drawn came or went while the control kept it (TForm::FocusShown).
  void SkinFocusShownChanged();
  // A press from the keyboard or a screen reader, when enabled: the
  // control's Click, taken as a click without movement (a switch toggles).
  void SkinKeyClick();
  // The click rule: the host click outside scroll boxes, then the stay click
  // when the pointer moved less than 5 pixels between press and last move.
  void SkinClick();
  void SkinPaint(QPainter& ACanvas);

 private:
  // A material reference kept with the identities it had when it was
  // whole, so a material going away is recognised by address alone.
  struct MaterialSlot {
    TSkinControlMaterial* Material = nullptr;
    TComponent* Component = nullptr;
    TObject* Object = nullptr;
    void Set(TSkinControlMaterial* AMaterial);
    void Clear() { *this = MaterialSlot(); }
    bool Is(const TComponent* AComponent) const { return AComponent != nullptr && AComponent == Component; }
    bool Is(const TObject* AObject) const { return AObject != nullptr && AObject == Object; }
  };

  void ChooseCurrentUseMaterial();
  // Keeps the free notifications in step with the materials referred to.
  void WatchMaterials();
  void ForwardToParent(int AKind, TMouseButton AButton, TShiftState AShift, float AX, float AY, TObject* AChild);
  bool IsForwardingToParent();
  void LogControlLine(const QString& AText) const;
  void RunGuardedRelease(const char* APosition, const std::function<void()>& ARelease);
  // The control's class name while it is whole, for lines logged during its destruction.
  void NoteClassName() const;

  TControl& FHost;
  QString FCaption;
  std::unique_ptr<TDrawCanvas> FCanvas;
  TPaintData FPaintData;
  bool FParentMouseEvent = false;
  TMouseEventTransToParentType FMouseEventTransToParentType = TMouseEventTransToParentType::mettptAuto;
  bool FParentIsCanGesutrePageControl = false;
  QPointer<TControl> FParentCanGesutrePageControl;
  bool FParentIsScrollBox = false;
  QPointer<TControl> FParentScrollBox;
  QString FBindItemFieldName;
  bool FNeedHitTest = false;
  int FHitTestValue = 0;
  bool FDirectUIVisible = true;
  IDirectUIParent* FDirectUIParentIntf = nullptr;
  std::unique_ptr<TObject> FDataObject;
  TObject* FForeignDataObject = nullptr;
  QString FComponentTypeName;
  TComponentTypeUseKind FComponentTypeUseKind = TComponentTypeUseKind::ctukDefault;
  std::unique_ptr<TSkinControlType> FSkinControlType;
  QString FMaterialName;
  TMaterialUseKind FMaterialUseKind = TMaterialUseKind::mukSelfOwn;
  MaterialSlot FRefMaterial;
  bool FKeepSelfOwnMaterial = true;
  // Owned through the component tree: the control is its component owner.
  MaterialSlot FMaterial;
  MaterialSlot FCurrentUseSkinMaterial;
  std::unique_ptr<TSkinObjectChangeLink> FMaterialChangeLink;
  mutable std::unique_ptr<TSkinControlProperties> FProperties;
  bool FIsMouseOver = false;
  bool FIsMouseDown = false;
  bool FMouseDownFocus = false;
  bool FIsDestroying = false;
  bool FKeyClicking = false;
  mutable QString FClassName;
  // Components currently watched through free notification.
  std::vector<TComponent*> FWatched;
  ostrel::host::TEventTable* FEvents = nullptr;
  TNotifyEvent FOnStayClick;
  TMouseEvent FOnCustomMouseDown;
  TMouseEvent FOnCustomMouseUp;
  TMouseMoveEvent FOnCustomMouseMove;
  TNotifyEvent FOnCustomMouseEnter;
  TNotifyEvent FOnCustomMouseLeave;
};

}  // namespace ostrel::skin

class TSkinFireMonkeyControl : public TControl, public ostrel::skin::SkinControlCore {
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
  Q_PROPERTY(bool MouseDownFocus READ MouseDownFocus WRITE SetMouseDownFocus)
  Q_PROPERTY(TSkinControlProperties* Properties READ Properties WRITE SetPropertiesFrom)

 public:
  explicit TSkinFireMonkeyControl(TComponent* AOwner = nullptr);
  ~TSkinFireMonkeyControl() override;

  static QString Version() { return QStringLiteral("1.0"); }

  QString Caption() const { return GetCaption(); }
  QString Text() const { return GetCaption(); }
  void SetText(const QString& AValue) { SetCaption(AValue); }
  QString StaticText() const { return StaticCaption(); }
  void SetStaticText(const QString& AValue) { SetStaticCaption(AValue); }
  // The skin flag or the host's own pointer-over flag.
  bool IsMouseOver() const { return GetIsMouseOver(); }
  // The host width (height) rounded up; writing sets it.
  int WidthInt() const { return GetWidthInt(); }
  int HeightInt() const { return GetHeightInt(); }

  void Loaded() override;
  void MouseDown(TMouseButton AButton, TShiftState AShift, float AX, float AY) override;
  void MouseMove(TShiftState AShift, float AX, float AY) override;
  void MouseUp(TMouseButton AButton, TShiftState AShift, float AX, float AY) override;
  void MouseWheel(TShiftState AShift, int AWheelDelta, bool& AHandled) override;
  void DoMouseEnter() override;
  void DoMouseLeave() override;
  // The click rule of SkinClick; it also answers the skin interface's Click.
  void Click() override;
  void EnterFocus() override { DoEnter(); }
  // The control type's gesture first; true when it handled it.
  bool Gesture(const TGestureEventInfo& AEventInfo);
  void KeyClick() override;

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override;
  void DoEnter() override;
  void DoExit() override;
  void FocusShownChanged() override;
  void Resize() override;
  void Paint(QPainter& ACanvas) override;
  void HostClick() override { TControl::Click(); }
};
