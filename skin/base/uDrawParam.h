#pragma once
// The base of every drawing parameter: the sub-rectangle a parameter draws
// into, the interaction states, the per-state effects and the rule that picks
// the effect in force, change notification, copy and persistence to a class
// node of the binary tree document.
//
// Adding a parameter kind (see uDrawRectParam for a complete one):
//  1. Effect: derive T<Kind>ParamEffect from TDrawParamCommonEffect. Add the
//     fields with their defaults; setters notify through DoChange() on a real
//     change; colours come from CreateEffectDrawColor(), which wires them.
//     Override HasEffectTypes (own set OR common set), CopyValuesFrom (copy
//     own values from a source of the same class, then call the base; Assign
//     and MixEffects both go through it), SaveToDocNode (call the base first,
//     then append own nodes) and LoadFromChildNode (return true for the base's
//     nodes, else take own names).
//  2. Effect setting: derive T<Kind>EffectSetting from TDrawEffectSetting,
//     pass &TDrawEffectSetting::MakeEffect<T<Kind>ParamEffect> to the
//     protected constructor and republish the five effects with the kind's
//     type (getters hide the base ones; setters Assign into the owned effect).
//  3. Parameter: derive from TDrawParam passing
//     std::make_unique<T<Kind>EffectSetting>() to the protected constructor;
//     create own parts in the constructor body (colours via CreateDrawColor,
//     other owned parts wired to DoChange), then call Clear() last, because
//     the base constructor can only reach the base Clear. Override Clear (base
//     first), Assign (own values when the source is the same kind, then
//     TDrawParam::Assign, which copies the base values and notifies),
//     SaveToDocNode (base first, then own nodes in their stored order) and
//     LoadFromChildNode as for effects. Publish DrawRectSetting and the typed
//     DrawEffectSetting with Q_PROPERTY, plus the kind's own properties.
//  4. Stored-form rules: a property whose storing follows a rule other than
//     "differs from a fresh object" gets Q_INVOKABLE bool Is<Prop>Stored();
//     doubles compare with StoredTolerance. Enumerations go into a Q_NAMESPACE
//     named after the unit, with Q_ENUM_NS; sets are TSet<E>; a set node of
//     the document holds OrdinalSetToText / OrdinalTextToSet text, and the
//     ReadNodeValue overloads load any stored node into its field safely.

#include "skin/base/uBinaryTreeDoc.h"
#include "skin/base/uGraphicCommon.h"
#include "skin/host/Persistent.h"
#include "skin/host/Set.h"
#include "skin/host/Types.h"

#include <QMetaEnum>
#include <QObject>
#include <QString>

#include <cmath>
#include <cstdint>
#include <memory>
#include <type_traits>

namespace uDrawParam {
Q_NAMESPACE

enum class TDPSizeType : std::uint8_t { dpstPixel, dpstPercent };
Q_ENUM_NS(TDPSizeType)

enum class TDPPositionHorzType : std::uint8_t { dpphtNone, dpphtLeft, dpphtCenter, dpphtRight };
Q_ENUM_NS(TDPPositionHorzType)

enum class TDPPositionVertType : std::uint8_t { dppvtNone, dppvtTop, dppvtCenter, dppvtBottom };
Q_ENUM_NS(TDPPositionVertType)

enum class TDPEffectState : std::uint8_t { dpstMouseDown, dpstMouseOver, dpstPushed, dpstFocused, dpstDisabled };
Q_ENUM_NS(TDPEffectState)

enum class TDPCommonEffectType : std::uint8_t { dpcetOffsetChange, dpcetAlphaChange };
Q_ENUM_NS(TDPCommonEffectType)

}  // namespace uDrawParam

using uDrawParam::TDPCommonEffectType;
using uDrawParam::TDPEffectState;
using uDrawParam::TDPPositionHorzType;
using uDrawParam::TDPPositionVertType;
using uDrawParam::TDPSizeType;
using TDPEffectStates = TSet<TDPEffectState>;
using TDPCommonEffectTypes = TSet<TDPCommonEffectType>;

namespace ostrel::skin {

// Makes the drawing model's sets readable and writable in stored forms. Runs
// once; every drawing object's constructor calls it, so a form never meets a
// set type that is not registered yet.
void RegisterDrawParamPropertyTypes();

// Doubles within this distance of their default are not written into forms.
inline constexpr double StoredTolerance = 0.001;

inline bool DiffersFrom(double AValue, double ADefault) { return std::abs(AValue - ADefault) > StoredTolerance; }

// A set as stored in documents: the decimal ordinal of each member in
// ascending order, each followed by a comma ("0,1," for the first two values,
// "" for the empty set).
template <class E>
QString OrdinalSetToText(TSet<E> ASet, int AValueCount) {
  QString text;
  for (int i = 0; i < AValueCount; ++i) {
    if (ASet.Contains(static_cast<E>(i))) {
      text += QString::number(i);
      text += u',';
    }
  }
  return text;
}

// Reads OrdinalSetToText's text. Items are trimmed; empty items, items that
// are not integers and ordinals outside 0..AValueCount-1 are skipped, so a
// damaged text never sets bits that name no value.
template <class E>
TSet<E> OrdinalTextToSet(const QString& AText, int AValueCount) {
  TSet<E> set;
  for (const QStringView item : QStringView(AText).split(u',')) {
    const QStringView trimmed = item.trimmed();
    if (trimmed.isEmpty()) continue;
    bool ok = false;
    const int ordinal = trimmed.toInt(&ok);
    if (ok && ordinal >= 0 && ordinal < AValueCount) set.Include(static_cast<E>(ordinal));
  }
  return set;
}

// The forms above for enumerations registered with Q_ENUM_NS, whose value
// count the meta-object knows.
template <class E>
QString OrdinalSetToText(TSet<E> ASet) {
  return OrdinalSetToText(ASet, QMetaEnum::fromType<E>().keyCount());
}

template <class E>
TSet<E> OrdinalTextToSet(const QString& AText) {
  return OrdinalTextToSet<E>(AText, QMetaEnum::fromType<E>().keyCount());
}

// An ordinal read from a document as an enumeration value, or ADefault when
// it names no value.
template <class E>
E OrdinalToEnum(std::int32_t AOrdinal, E ADefault) {
  return AOrdinal >= 0 && AOrdinal < QMetaEnum::fromType<E>().keyCount() ? static_cast<E>(AOrdinal) : ADefault;
}

template <class E>
std::int32_t EnumToOrdinal(E AValue) {
  return static_cast<std::int32_t>(AValue);
}

// Loading helpers: each takes the value of ANode into AField when ANode is of
// the node class that value is stored in, and leaves AField as it is when not.
void ReadNodeValue(TBTNode20* ANode, double& AField);        // TBTNode20_Real64
void ReadNodeValue(TBTNode20* ANode, bool& AField);          // TBTNode20_Bool32
void ReadNodeValue(TBTNode20* ANode, std::uint8_t& AField);  // TBTNode20_UInt8
void ReadNodeValue(TBTNode20* ANode, std::int32_t& AField);  // TBTNode20_Int32
void ReadNodeValue(TBTNode20* ANode, QString& AField);       // TBTNode20_WideString
// TBTNode20_Color. The node holds the resolved colour only, so the loaded
// colour is an own colour without theme link.
void ReadNodeValue(TBTNode20* ANode, TDrawColor& AField);

// An enumeration stored as its ordinal (TBTNode20_Int32); ordinals that name no value are skipped.
template <class E>
requires std::is_enum_v<E>
void ReadNodeValue(TBTNode20* ANode, E& AField) {
  if (const auto* node = ANode->ConvertNode_Int32()) AField = OrdinalToEnum(node->Data(), AField);
}

// A set stored as ordinal text (TBTNode20_WideString).
template <class E>
void ReadNodeValue(TBTNode20* ANode, TSet<E>& AField) {
  if (const auto* node = ANode->ConvertNode_WideString()) AField = OrdinalTextToSet<E>(node->Data());
}

}  // namespace ostrel::skin

namespace ostrel::skin {

// Whatever a canvas keeps per parameter between paints (paths and brushes it
// built for it, keyed by the values they were built from). The parameter
// only owns it, so that it lives exactly as long as the parameter.
class KeptDrawCache {
 public:
  KeptDrawCache() = default;
  KeptDrawCache(const KeptDrawCache&) = delete;
  KeptDrawCache& operator=(const KeptDrawCache&) = delete;
  virtual ~KeptDrawCache();
};

// Persistence shared by the drawing model's objects: Load clears the object
// and offers every stored child node, in stored order, to LoadFromChildNode;
// nodes that no class of the object knows, or that have another node class
// than expected, are ignored.
class DocNodeObject : public TInterfacedPersistent, public ISupportClassDocNode {
  Q_OBJECT

 public:
  ~DocNodeObject() override;

  // False, with the object untouched, when there is no node to read.
  bool LoadFromDocNode(TBTNode20_Class* ADocNode) override;
  bool SaveToDocNode(TBTNode20_Class* ADocNode) const override = 0;

  // Returns the object to its defaults without freeing parts.
  virtual void Clear() = 0;

 protected:
  DocNodeObject();
  // True when ANode was recognised (whether or not its value was usable).
  virtual bool LoadFromChildNode(TBTNode20* ANode) = 0;
};

}  // namespace ostrel::skin

// Where a parameter draws inside the control's rectangle: insets, or a fixed
// size placed by alignment, in pixels or percent of the control's size.
// Applied only while Enabled; changes while disabled are silent.
class TDrawRectSetting : public ostrel::skin::DocNodeObject {
  Q_OBJECT
  Q_PROPERTY(double Left READ Left WRITE SetLeft)
  Q_PROPERTY(double Top READ Top WRITE SetTop)
  Q_PROPERTY(double Right READ Right WRITE SetRight)
  Q_PROPERTY(double Bottom READ Bottom WRITE SetBottom)
  Q_PROPERTY(double Width READ Width WRITE SetWidth)
  Q_PROPERTY(double Height READ Height WRITE SetHeight)
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
  Q_PROPERTY(uDrawParam::TDPSizeType SizeType READ SizeType WRITE SetSizeType)
  Q_PROPERTY(uDrawParam::TDPPositionHorzType PositionHorzType READ PositionHorzType WRITE SetPositionHorzType)
  Q_PROPERTY(uDrawParam::TDPPositionVertType PositionVertType READ PositionVertType WRITE SetPositionVertType)

 public:
  TDrawRectSetting();
  ~TDrawRectSetting() override;

  void Assign(const TPersistent* ASource) override;
  // All six numbers 0, disabled, percent, no placement; never notifies.
  void Clear() override;

  // The rectangle to draw into for the control rectangle AControlRect.
  TRectF CalcDrawRect(const TRectF& AControlRect) const;

  // Left, Top, Width, Height at once: one notification, none when unchanged.
  void SetBounds(double ALeft, double ATop, double AWidth, double AHeight);
  // Left, Top, Right, Bottom at once: one notification, none when unchanged.
  void SetMargins(double ALeft, double ATop, double ARight, double ABottom);

  bool SaveToDocNode(TBTNode20_Class* ADocNode) const override;

  double Left() const { return FLeft; }
  void SetLeft(double AValue) { SetValue(FLeft, AValue); }
  double Top() const { return FTop; }
  void SetTop(double AValue) { SetValue(FTop, AValue); }
  double Right() const { return FRight; }
  void SetRight(double AValue) { SetValue(FRight, AValue); }
  double Bottom() const { return FBottom; }
  void SetBottom(double AValue) { SetValue(FBottom, AValue); }
  double Width() const { return FWidth; }
  void SetWidth(double AValue) { SetValue(FWidth, AValue); }
  double Height() const { return FHeight; }
  void SetHeight(double AValue) { SetValue(FHeight, AValue); }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool AValue);
  TDPSizeType SizeType() const { return FSizeType; }
  void SetSizeType(TDPSizeType AValue) { SetValue(FSizeType, AValue); }
  TDPPositionHorzType PositionHorzType() const { return FPositionHorzType; }
  void SetPositionHorzType(TDPPositionHorzType AValue) { SetValue(FPositionHorzType, AValue); }
  TDPPositionVertType PositionVertType() const { return FPositionVertType; }
  void SetPositionVertType(TDPPositionVertType AValue) { SetValue(FPositionVertType, AValue); }

  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = std::move(AValue); }

  Q_INVOKABLE bool IsLeftStored() const;
  Q_INVOKABLE bool IsTopStored() const;
  Q_INVOKABLE bool IsRightStored() const;
  Q_INVOKABLE bool IsBottomStored() const;
  Q_INVOKABLE bool IsWidthStored() const;
  Q_INVOKABLE bool IsHeightStored() const;
  Q_INVOKABLE bool IsEnabledStored() const;
  Q_INVOKABLE bool IsSizeTypeStored() const;
  Q_INVOKABLE bool IsPositionHorzTypeStored() const;
  Q_INVOKABLE bool IsPositionVertTypeStored() const;

 protected:
  bool LoadFromChildNode(TBTNode20* ANode) override;

 private:
  template <class V>
  void SetValue(V& AField, V AValue) {
    if (AField == AValue) return;
    AField = AValue;
    DoChange();
  }
  // Notifies only while enabled; Enabled itself always notifies.
  void DoChange();

  double FLeft = 0;
  double FTop = 0;
  double FRight = 0;
  double FBottom = 0;
  double FWidth = 0;
  double FHeight = 0;
  bool FEnabled = false;
  TNotifyEvent FOnChange;
  TDPSizeType FSizeType = TDPSizeType::dpstPercent;
  TDPPositionHorzType FPositionHorzType = TDPPositionHorzType::dpphtNone;
  TDPPositionVertType FPositionVertType = TDPPositionVertType::dppvtNone;
};

// What one interaction state changes: the common changes (alpha, offset);
// kind-specific subclasses add their own values and effect types. Effects
// without any effect type are never in force.
class TDrawParamCommonEffect : public ostrel::skin::DocNodeObject {
  Q_OBJECT
  Q_PROPERTY(std::uint8_t Alpha READ Alpha WRITE SetAlpha)
  Q_PROPERTY(double Offset READ Offset WRITE SetOffset)
  Q_PROPERTY(TDPCommonEffectTypes CommonEffectTypes READ CommonEffectTypes WRITE SetCommonEffectTypes)

 public:
  static constexpr std::uint8_t DefaultAlpha = 180;
  static constexpr double DefaultOffset = 1.0;

  TDrawParamCommonEffect();
  ~TDrawParamCommonEffect() override;

  // From an effect of the same class: every value CopyValuesFrom copies; from
  // an effect of another kind: the common values. Then notifies.
  void Assign(const TPersistent* ASource) override;
  // Effects keep their values on Clear; a parameter's Clear leaves them as they are.
  void Clear() override;
  virtual bool HasEffectTypes() const;
  // Makes this effect the mix of a pushed and a mouse-down effect: the pushed
  // effect's values, both effects' common types, and the sum of the offsets
  // of those that change the offset. Runs on every paint that mixes, so it
  // copies without class checks beyond one type comparison and never allocates.
  virtual void MixEffects(const TDrawParamCommonEffect* APushedEffect, const TDrawParamCommonEffect* AMouseDownEffect);

  bool SaveToDocNode(TBTNode20_Class* ADocNode) const override;

  // The three common properties write their fields without notification.
  std::uint8_t Alpha() const { return FAlpha; }
  void SetAlpha(std::uint8_t AValue) { FAlpha = AValue; }
  double Offset() const { return FOffset; }
  void SetOffset(double AValue) { FOffset = AValue; }
  TDPCommonEffectTypes CommonEffectTypes() const { return FCommonEffectTypes; }
  void SetCommonEffectTypes(TDPCommonEffectTypes AValue) { FCommonEffectTypes = AValue; }

  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = std::move(AValue); }

  Q_INVOKABLE bool IsAlphaStored() const;
  Q_INVOKABLE bool IsOffsetStored() const;
  Q_INVOKABLE bool IsCommonEffectTypesStored() const;

 protected:
  bool LoadFromChildNode(TBTNode20* ANode) override;
  // Copies the values of this effect's class from ASource, which is of the
  // same class. Kinds copy their own values (colours with
  // StaticAssignColor) and call the base, which copies the common ones.
  // Notifies nothing: Assign notifies once afterwards.
  virtual void CopyValuesFrom(const TDrawParamCommonEffect& ASource);
  void DoChange();
  // A colour owned by the effect whose changes fire the effect's OnChange.
  std::unique_ptr<TDrawColor> CreateEffectDrawColor(const QString& AName, const QString& ACaption);

 private:
  std::uint8_t FAlpha = DefaultAlpha;
  double FOffset = DefaultOffset;
  TNotifyEvent FOnChange;
  TDPCommonEffectTypes FCommonEffectTypes;
};

// The effects of one parameter, one per state, plus the scratch effect that
// holds the mix of pushed and mouse-down. Only the pushed effect's changes
// reach the setting's OnChange. Each kind's setting republishes the five
// effects with its own effect type; the declarations here are not stored so
// that a form writes every effect once, under the kind's declaration.
class TDrawEffectSetting : public ostrel::skin::DocNodeObject {
  Q_OBJECT
  Q_PROPERTY(bool IsMixedMouseDownAndPushedEffect READ IsMixedMouseDownAndPushedEffect WRITE
                 SetIsMixedMouseDownAndPushedEffect)
  Q_PROPERTY(TDrawParamCommonEffect* MouseDownEffect READ MouseDownEffect WRITE SetMouseDownEffect STORED false)
  Q_PROPERTY(TDrawParamCommonEffect* MouseOverEffect READ MouseOverEffect WRITE SetMouseOverEffect STORED false)
  Q_PROPERTY(TDrawParamCommonEffect* PushedEffect READ PushedEffect WRITE SetPushedEffect STORED false)
  Q_PROPERTY(TDrawParamCommonEffect* DisabledEffect READ DisabledEffect WRITE SetDisabledEffect STORED false)
  Q_PROPERTY(TDrawParamCommonEffect* FocusedEffect READ FocusedEffect WRITE SetFocusedEffect STORED false)

 public:
  using TEffectFactory = std::unique_ptr<TDrawParamCommonEffect> (*)();

  template <class TEffect>
  static std::unique_ptr<TDrawParamCommonEffect> MakeEffect() {
    return std::make_unique<TEffect>();
  }

  TDrawEffectSetting();
  ~TDrawEffectSetting() override;

  // Copies the mixing switch and the pushed, mouse-over, mouse-down and mixed
  // effects; the disabled and focused effects stay as they are.
  void Assign(const TPersistent* ASource) override;
  // Mixing off and Clear on the effects (which keep their values).
  void Clear() override;

  // The effect in force for AStates, or null. May rebuild the mixed effect.
  TDrawParamCommonEffect* EffectFor(TDPEffectStates AStates) const;

  bool SaveToDocNode(TBTNode20_Class* ADocNode) const override;

  bool IsMixedMouseDownAndPushedEffect() const { return FIsMixedMouseDownAndPushedEffect; }
  void SetIsMixedMouseDownAndPushedEffect(bool AValue) { FIsMixedMouseDownAndPushedEffect = AValue; }

  TDrawParamCommonEffect* DisabledEffect() const { return FDisabledEffect.get(); }
  TDrawParamCommonEffect* FocusedEffect() const { return FFocusedEffect.get(); }
  TDrawParamCommonEffect* PushedEffect() const { return FPushedEffect.get(); }
  TDrawParamCommonEffect* MouseOverEffect() const { return FMouseOverEffect.get(); }
  TDrawParamCommonEffect* MouseDownEffect() const { return FMouseDownEffect.get(); }
  TDrawParamCommonEffect* MixedEffect() const { return FMixedEffect.get(); }
  // Each setter copies AValue into the owned effect.
  void SetDisabledEffect(const TDrawParamCommonEffect* AValue) { FDisabledEffect->Assign(AValue); }
  void SetFocusedEffect(const TDrawParamCommonEffect* AValue) { FFocusedEffect->Assign(AValue); }
  void SetPushedEffect(const TDrawParamCommonEffect* AValue) { FPushedEffect->Assign(AValue); }
  void SetMouseOverEffect(const TDrawParamCommonEffect* AValue) { FMouseOverEffect->Assign(AValue); }
  void SetMouseDownEffect(const TDrawParamCommonEffect* AValue) { FMouseDownEffect->Assign(AValue); }

  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = std::move(AValue); }

 protected:
  // AMakeEffect creates the kind's effects (MakeEffect<TKindParamEffect>).
  explicit TDrawEffectSetting(TEffectFactory AMakeEffect);
  bool LoadFromChildNode(TBTNode20* ANode) override;

 private:
  void DoChange();

  TNotifyEvent FOnChange;
  std::unique_ptr<TDrawParamCommonEffect> FDisabledEffect;
  std::unique_ptr<TDrawParamCommonEffect> FFocusedEffect;
  std::unique_ptr<TDrawParamCommonEffect> FPushedEffect;
  std::unique_ptr<TDrawParamCommonEffect> FMouseOverEffect;
  std::unique_ptr<TDrawParamCommonEffect> FMouseDownEffect;
  std::unique_ptr<TDrawParamCommonEffect> FMixedEffect;
  bool FIsMixedMouseDownAndPushedEffect = false;
};

namespace ostrel::skin {

// The effect setting of one parameter kind: its effects are all created as
// TEffect, so the kind's published effect properties can name that class. A
// kind derives from it, adds Q_OBJECT and declares the five properties.
template <class TEffect>
class TypedEffectSetting : public TDrawEffectSetting {
 public:
  TypedEffectSetting() : TDrawEffectSetting(&MakeEffect<TEffect>) {}

  TEffect* DisabledEffect() const { return Typed(TDrawEffectSetting::DisabledEffect()); }
  TEffect* FocusedEffect() const { return Typed(TDrawEffectSetting::FocusedEffect()); }
  TEffect* MouseDownEffect() const { return Typed(TDrawEffectSetting::MouseDownEffect()); }
  TEffect* MouseOverEffect() const { return Typed(TDrawEffectSetting::MouseOverEffect()); }
  TEffect* PushedEffect() const { return Typed(TDrawEffectSetting::PushedEffect()); }
  void SetDisabledEffect(const TEffect* AValue) { TDrawEffectSetting::SetDisabledEffect(AValue); }
  void SetFocusedEffect(const TEffect* AValue) { TDrawEffectSetting::SetFocusedEffect(AValue); }
  void SetMouseDownEffect(const TEffect* AValue) { TDrawEffectSetting::SetMouseDownEffect(AValue); }
  void SetMouseOverEffect(const TEffect* AValue) { TDrawEffectSetting::SetMouseOverEffect(AValue); }
  void SetPushedEffect(const TEffect* AValue) { TDrawEffectSetting::SetPushedEffect(AValue); }

 private:
  static TEffect* Typed(TDrawParamCommonEffect* AEffect) { return static_cast<TEffect*>(AEffect); }
};

}  // namespace ostrel::skin

// Base of all drawing parameters: base alpha, sub-rectangle, per-state
// effects, the states in force (written by the control before each paint)
// and the alpha actually used for drawing.
class TDrawParam : public ostrel::skin::DocNodeObject {
  Q_OBJECT

 public:
  static constexpr std::uint8_t DefaultAlpha = 255;

  TDrawParam(const QString& AName, const QString& ACaption);
  ~TDrawParam() override;

  // Copies Alpha, the sub-rectangle and the effect setting from any drawing
  // parameter, then notifies. Name, caption, states and DrawAlpha stay.
  void Assign(const TPersistent* ASource) override;
  // Alpha and DrawAlpha 255, sub-rectangle and effect setting cleared.
  void Clear() override;

  // The class of the flat facade (TDrawParamSetting or a kind's subclass).
  // Nothing creates facades by itself; the class is reported for tools.
  virtual const QMetaObject* GetDrawParamSettingClass() const;

  // The effect in force for StaticEffectStates, or null.
  TDrawParamCommonEffect* CurrentEffect() const;
  // The effect's alpha when it changes alpha, else Alpha.
  std::uint8_t CurrentEffectAlpha() const;
  // The sub-rectangle's rectangle, moved right and down by the offset of the
  // effect in force when it changes the offset.
  virtual TRectF CalcDrawRect(const TRectF& AControlRect) const;

  bool SaveToDocNode(TBTNode20_Class* ADocNode) const override;

  // Calls OnChange with this parameter as sender.
  void DoChange();

  QString Name() const { return FName; }
  QString Caption() const { return FCaption; }
  std::uint8_t Alpha() const { return FAlpha; }
  void SetAlpha(std::uint8_t AValue);
  TDPEffectStates StaticEffectStates() const { return FEffectStates; }
  void SetStaticEffectStates(TDPEffectStates AValue) { FEffectStates = AValue; }
  TDrawRectSetting* DrawRectSetting() const { return FDrawRectSetting.get(); }
  void SetDrawRectSetting(const TDrawRectSetting* AValue) { FDrawRectSetting->Assign(AValue); }
  TDrawEffectSetting* DrawEffectSetting() const { return FDrawEffectSetting.get(); }
  void SetDrawEffectSetting(const TDrawEffectSetting* AValue) { FDrawEffectSetting->Assign(AValue); }
  // The material that holds this parameter; not owned.
  TPersistent* SkinMaterial() const { return FSkinMaterial; }
  void SetSkinMaterial(TPersistent* AValue) { FSkinMaterial = AValue; }

  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = std::move(AValue); }

  Q_INVOKABLE bool IsAlphaStored() const;

  // The alpha the canvas draws with, set by the control before each paint.
  std::uint8_t DrawAlpha = DefaultAlpha;
  // False for parameters that draw a control's inner items rather than the control.
  bool IsControlParam = true;

  // The canvas's cache for this parameter; empty until a canvas first draws it.
  ostrel::skin::KeptDrawCache* DrawCache() const { return FDrawCache.get(); }
  void SetDrawCache(std::unique_ptr<ostrel::skin::KeptDrawCache> AValue) { FDrawCache = std::move(AValue); }

 protected:
  // For kinds: AEffectSetting is the kind's effect setting. The kind's
  // constructor creates its own parts and then calls Clear().
  TDrawParam(const QString& AName, const QString& ACaption, std::unique_ptr<TDrawEffectSetting> AEffectSetting);

  bool LoadFromChildNode(TBTNode20* ANode) override;
  // A colour owned by the caller whose changes notify this parameter.
  std::unique_ptr<TDrawColor> CreateDrawColor(const QString& AName, const QString& ACaption);

 private:
  QString FName;
  QString FCaption;
  std::uint8_t FAlpha = DefaultAlpha;
  TNotifyEvent FOnChange;
  TDPEffectStates FEffectStates;
  std::unique_ptr<TDrawRectSetting> FDrawRectSetting;
  std::unique_ptr<TDrawEffectSetting> FDrawEffectSetting;
  TPersistent* FSkinMaterial = nullptr;
  std::unique_ptr<ostrel::skin::KeptDrawCache> FDrawCache;
};

// A facade with flat property names over a parameter's sub-rectangle and the
// common values of its mouse-down, mouse-over and pushed effects, kept for
// forms written against those names. Every sub-rectangle setter switches the
// sub-rectangle on exactly when one of its nine values differs from the
// facade's defaults (0, pixels, leading alignment).
class TDrawParamSetting : public TInterfacedPersistent {
  Q_OBJECT
  Q_PROPERTY(uDrawParam::TDPSizeType DrawRectSizeType READ DrawRectSizeType WRITE SetDrawRectSizeType)
  Q_PROPERTY(double DrawRectLeft READ DrawRectLeft WRITE SetDrawRectLeft)
  Q_PROPERTY(double DrawRectTop READ DrawRectTop WRITE SetDrawRectTop)
  Q_PROPERTY(double DrawRectRight READ DrawRectRight WRITE SetDrawRectRight)
  Q_PROPERTY(double DrawRectBottom READ DrawRectBottom WRITE SetDrawRectBottom)
  Q_PROPERTY(double DrawRectWidth READ DrawRectWidth WRITE SetDrawRectWidth)
  Q_PROPERTY(double DrawRectHeight READ DrawRectHeight WRITE SetDrawRectHeight)
  Q_PROPERTY(uGraphicCommon::TSkinAlign DrawRectHorzAlign READ DrawRectHorzAlign WRITE SetDrawRectHorzAlign)
  Q_PROPERTY(uGraphicCommon::TSkinAlign DrawRectVertAlign READ DrawRectVertAlign WRITE SetDrawRectVertAlign)
  Q_PROPERTY(std::uint8_t MouseDownAlpha READ MouseDownAlpha WRITE SetMouseDownAlpha)
  Q_PROPERTY(std::uint8_t MouseOverAlpha READ MouseOverAlpha WRITE SetMouseOverAlpha)
  Q_PROPERTY(std::uint8_t PushedAlpha READ PushedAlpha WRITE SetPushedAlpha)
  Q_PROPERTY(double MouseDownOffset READ MouseDownOffset WRITE SetMouseDownOffset)
  Q_PROPERTY(double MouseOverOffset READ MouseOverOffset WRITE SetMouseOverOffset)
  Q_PROPERTY(double PushedOffset READ PushedOffset WRITE SetPushedOffset)
  Q_PROPERTY(bool MouseDownAlphaChange READ MouseDownAlphaChange WRITE SetMouseDownAlphaChange)
  Q_PROPERTY(bool MouseOverAlphaChange READ MouseOverAlphaChange WRITE SetMouseOverAlphaChange)
  Q_PROPERTY(bool PushedAlphaChange READ PushedAlphaChange WRITE SetPushedAlphaChange)
  Q_PROPERTY(bool MouseDownOffsetChange READ MouseDownOffsetChange WRITE SetMouseDownOffsetChange)
  Q_PROPERTY(bool MouseOverOffsetChange READ MouseOverOffsetChange WRITE SetMouseOverOffsetChange)
  Q_PROPERTY(bool PushedOffsetChange READ PushedOffsetChange WRITE SetPushedOffsetChange)

 public:
  // ADrawParam is not owned and must outlive the facade.
  explicit TDrawParamSetting(TDrawParam* ADrawParam);
  ~TDrawParamSetting() override;

  TDrawParam* DrawParam() const { return FDrawParam; }

  TDPSizeType DrawRectSizeType() const { return Rect().SizeType(); }
  void SetDrawRectSizeType(TDPSizeType AValue);
  double DrawRectLeft() const { return Rect().Left(); }
  void SetDrawRectLeft(double AValue);
  double DrawRectTop() const { return Rect().Top(); }
  void SetDrawRectTop(double AValue);
  double DrawRectRight() const { return Rect().Right(); }
  void SetDrawRectRight(double AValue);
  double DrawRectBottom() const { return Rect().Bottom(); }
  void SetDrawRectBottom(double AValue);
  double DrawRectWidth() const { return Rect().Width(); }
  void SetDrawRectWidth(double AValue);
  double DrawRectHeight() const { return Rect().Height(); }
  void SetDrawRectHeight(double AValue);
  TSkinAlign DrawRectHorzAlign() const;
  void SetDrawRectHorzAlign(TSkinAlign AValue);
  TSkinAlign DrawRectVertAlign() const;
  void SetDrawRectVertAlign(TSkinAlign AValue);

  std::uint8_t MouseDownAlpha() const { return MouseDown().Alpha(); }
  void SetMouseDownAlpha(std::uint8_t AValue) { MouseDown().SetAlpha(AValue); }
  std::uint8_t MouseOverAlpha() const { return MouseOver().Alpha(); }
  void SetMouseOverAlpha(std::uint8_t AValue) { MouseOver().SetAlpha(AValue); }
  std::uint8_t PushedAlpha() const { return Pushed().Alpha(); }
  void SetPushedAlpha(std::uint8_t AValue) { Pushed().SetAlpha(AValue); }
  double MouseDownOffset() const { return MouseDown().Offset(); }
  void SetMouseDownOffset(double AValue) { MouseDown().SetOffset(AValue); }
  double MouseOverOffset() const { return MouseOver().Offset(); }
  void SetMouseOverOffset(double AValue) { MouseOver().SetOffset(AValue); }
  double PushedOffset() const { return Pushed().Offset(); }
  void SetPushedOffset(double AValue) { Pushed().SetOffset(AValue); }
  bool MouseDownAlphaChange() const { return HasCommon(MouseDown(), TDPCommonEffectType::dpcetAlphaChange); }
  void SetMouseDownAlphaChange(bool AValue) { SetCommon(MouseDown(), TDPCommonEffectType::dpcetAlphaChange, AValue); }
  bool MouseOverAlphaChange() const { return HasCommon(MouseOver(), TDPCommonEffectType::dpcetAlphaChange); }
  void SetMouseOverAlphaChange(bool AValue) { SetCommon(MouseOver(), TDPCommonEffectType::dpcetAlphaChange, AValue); }
  bool PushedAlphaChange() const { return HasCommon(Pushed(), TDPCommonEffectType::dpcetAlphaChange); }
  void SetPushedAlphaChange(bool AValue) { SetCommon(Pushed(), TDPCommonEffectType::dpcetAlphaChange, AValue); }
  bool MouseDownOffsetChange() const { return HasCommon(MouseDown(), TDPCommonEffectType::dpcetOffsetChange); }
  void SetMouseDownOffsetChange(bool AValue) { SetCommon(MouseDown(), TDPCommonEffectType::dpcetOffsetChange, AValue); }
  bool MouseOverOffsetChange() const { return HasCommon(MouseOver(), TDPCommonEffectType::dpcetOffsetChange); }
  void SetMouseOverOffsetChange(bool AValue) { SetCommon(MouseOver(), TDPCommonEffectType::dpcetOffsetChange, AValue); }
  bool PushedOffsetChange() const { return HasCommon(Pushed(), TDPCommonEffectType::dpcetOffsetChange); }
  void SetPushedOffsetChange(bool AValue) { SetCommon(Pushed(), TDPCommonEffectType::dpcetOffsetChange, AValue); }

 protected:
  TDrawParamCommonEffect& MouseDown() const { return *FDrawParam->DrawEffectSetting()->MouseDownEffect(); }
  TDrawParamCommonEffect& MouseOver() const { return *FDrawParam->DrawEffectSetting()->MouseOverEffect(); }
  TDrawParamCommonEffect& Pushed() const { return *FDrawParam->DrawEffectSetting()->PushedEffect(); }

 private:
  TDrawRectSetting& Rect() const { return *FDrawParam->DrawRectSetting(); }
  // Switches the sub-rectangle on when any value differs from the facade defaults.
  void UpdateRectEnabled();
  static bool HasCommon(const TDrawParamCommonEffect& AEffect, TDPCommonEffectType AType) {
    return AEffect.CommonEffectTypes().Contains(AType);
  }
  static void SetCommon(TDrawParamCommonEffect& AEffect, TDPCommonEffectType AType, bool AValue);

  TDrawParam* const FDrawParam;
};
