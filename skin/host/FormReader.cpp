#include "skin/host/FormReader.h"

#include "skin/host/ClassRegistry.h"
#include "skin/host/Events.h"
#include "skin/host/PropertyTypes.h"

#include <QMetaProperty>
#include <QPointer>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace ostrel::host {

namespace {

[[noreturn]] void Fail(const FormPos& APos, const QString& AMessage) { throw EFormError(APos.Line, APos.Column, AMessage); }

// Runs AWork and gives any error the place APos in the text.
template <class F>
void At(const FormPos& APos, F&& AWork) {
  try {
    AWork();
  } catch (const EFormError&) {
    throw;
  } catch (const Exception& e) {
    Fail(APos, e.Message());
  } catch (const std::exception& e) {
    Fail(APos, QString::fromUtf8(e.what()));
  }
}

int FindProperty(const QMetaObject& AMeta, const QString& AName) {
  const int exact = AMeta.indexOfProperty(AName.toLatin1().constData());
  if (exact >= 0) return exact;
  for (int i = 0; i < AMeta.propertyCount(); ++i) {
    if (QString::fromLatin1(AMeta.property(i).name()).compare(AName, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

bool IsObjectProperty(const QMetaProperty& AProperty) {
  return AProperty.metaType().flags().testFlag(QMetaType::PointerToQObject);
}

// A component that is not part of its holder is referred to by name; any
// other object a property returns belongs to the holder and is read in place.
bool IsReference(const QMetaProperty& AProperty, const QObject* AValue) {
  if (const auto* component = qobject_cast<const TComponent*>(AValue)) return !component->IsSubComponent();
  if (AValue != nullptr) return false;
  const QMetaObject* type = AProperty.metaType().metaObject();
  return type != nullptr && type->inherits(&TComponent::staticMetaObject);
}

bool IsIdentifier(const FormValue& AValue, const char* AWord) {
  return AValue.Type == FormValue::Kind::Identifier && AValue.Text.compare(QLatin1String(AWord), Qt::CaseInsensitive) == 0;
}

[[noreturn]] void BadValue(const FormValue& AValue, const QMetaProperty& AProperty) {
  Fail(AValue.Pos, QStringLiteral("Invalid value for property %1").arg(QString::fromLatin1(AProperty.name())));
}

template <class T>
QVariant IntegerValue(const FormValue& AValue, const QMetaProperty& AProperty) {
  if (AValue.Type != FormValue::Kind::Integer) BadValue(AValue, AProperty);
  if constexpr (std::is_unsigned_v<T>) {
    if (AValue.Integer < 0 || static_cast<quint64>(AValue.Integer) > std::numeric_limits<T>::max()) BadValue(AValue, AProperty);
  } else {
    if (AValue.Integer < std::numeric_limits<T>::min() || AValue.Integer > std::numeric_limits<T>::max()) BadValue(AValue, AProperty);
  }
  return QVariant::fromValue(static_cast<T>(AValue.Integer));
}

QVariant ColorValue(const FormValue& AValue, const QMetaProperty& AProperty) {
  switch (AValue.Type) {
    case FormValue::Kind::Color: return QVariant::fromValue(static_cast<uint>(AValue.Color));
    case FormValue::Kind::Identifier:
      if (const auto color = ColorFromName(AValue.Text)) return QVariant::fromValue(static_cast<uint>(*color));
      break;
    case FormValue::Kind::Integer: return IntegerValue<uint>(AValue, AProperty);
    default: break;
  }
  BadValue(AValue, AProperty);
}

QVariant NumberValue(const FormValue& AValue, const QMetaProperty& AProperty, bool ASingle) {
  double number = 0;
  if (AValue.Type == FormValue::Kind::Integer) {
    number = static_cast<double>(AValue.Integer);
  } else if (AValue.Type == FormValue::Kind::Float) {
    number = AValue.Float;
  } else {
    BadValue(AValue, AProperty);
  }
  if (ASingle) {
    const auto single = static_cast<float>(number);
    if (!std::isfinite(single)) BadValue(AValue, AProperty);
    return QVariant::fromValue(single);
  }
  return QVariant::fromValue(number);
}

std::uint64_t SetBits(const FormValue& AValue, const QMetaProperty& AProperty, const EnumNames& ANames) {
  if (AValue.Type != FormValue::Kind::Set) BadValue(AValue, AProperty);
  std::uint64_t bits = 0;
  for (const QString& member : AValue.Members) {
    const auto ordinal = EnumValueOf(ANames, member);
    if (!ordinal || *ordinal < 0 || *ordinal >= 64) {
      Fail(AValue.Pos, QStringLiteral("Invalid set member %1 for property %2").arg(member, QString::fromLatin1(AProperty.name())));
    }
    bits |= std::uint64_t{1} << *ordinal;
  }
  return bits;
}

// Converts a value of the text to what AProperty holds; component references
// are handled by the caller.
QVariant ConvertValue(const QMetaProperty& AProperty, const FormValue& AValue) {
  const QMetaType type = AProperty.metaType();
  if (AProperty.isFlagType()) {
    const QMetaEnum meta = AProperty.enumerator();
    if (AValue.Type != FormValue::Kind::Set) BadValue(AValue, AProperty);
    int flags = 0;
    for (const QString& member : AValue.Members) {
      bool ok = false;
      const int value = meta.keyToValue(member.toLatin1().constData(), &ok);
      if (!ok) Fail(AValue.Pos, QStringLiteral("Invalid set member %1 for property %2").arg(member, QString::fromLatin1(AProperty.name())));
      flags |= value;
    }
    QVariant result(type, nullptr);
    if (type.sizeOf() == sizeof(int)) *static_cast<int*>(result.data()) = flags;
    return result;
  }
  if (const SetTypeInfo* set = FindSetType(type)) {
    return set->FromBits(SetBits(AValue, AProperty, EnumNamesOf(set->Element)));
  }
  if (const EnumNames names = EnumNamesOf(type); !names.empty()) {
    if (AValue.Type == FormValue::Kind::Integer) return MakeEnumVariant(type, AValue.Integer);
    if (AValue.Type != FormValue::Kind::Identifier) BadValue(AValue, AProperty);
    const auto value = EnumValueOf(names, AValue.Text);
    if (!value) Fail(AValue.Pos, QStringLiteral("Invalid value %1 for property %2").arg(AValue.Text, QString::fromLatin1(AProperty.name())));
    return MakeEnumVariant(type, *value);
  }
  switch (type.id()) {
    case QMetaType::Bool:
      if (IsIdentifier(AValue, "True")) return true;
      if (IsIdentifier(AValue, "False")) return false;
      BadValue(AValue, AProperty);
    case QMetaType::Int: return IntegerValue<int>(AValue, AProperty);
    case QMetaType::UInt: return ColorValue(AValue, AProperty);
    case QMetaType::LongLong: return IntegerValue<qint64>(AValue, AProperty);
    case QMetaType::ULongLong: return IntegerValue<quint64>(AValue, AProperty);
    case QMetaType::Short: return IntegerValue<short>(AValue, AProperty);
    case QMetaType::UShort: return IntegerValue<ushort>(AValue, AProperty);
    case QMetaType::SChar: return IntegerValue<signed char>(AValue, AProperty);
    case QMetaType::UChar: return IntegerValue<uchar>(AValue, AProperty);
    case QMetaType::Long: return IntegerValue<long>(AValue, AProperty);
    case QMetaType::ULong: return IntegerValue<ulong>(AValue, AProperty);
    case QMetaType::Double: return NumberValue(AValue, AProperty, false);
    case QMetaType::Float: return NumberValue(AValue, AProperty, true);
    case QMetaType::QString:
      if (AValue.Type != FormValue::Kind::String) BadValue(AValue, AProperty);
      return AValue.Text;
    case QMetaType::QByteArray:
      if (AValue.Type != FormValue::Kind::Binary) BadValue(AValue, AProperty);
      return AValue.Bytes;
    case QMetaType::QStringList: {
      if (AValue.Type != FormValue::Kind::List) BadValue(AValue, AProperty);
      QStringList list;
      for (const FormValue& item : AValue.Items) {
        if (item.Type != FormValue::Kind::String) BadValue(item, AProperty);
        list.append(item.Text);
      }
      return list;
    }
    default: break;
  }
  Fail(AValue.Pos, QStringLiteral("Property %1 has a type stored forms cannot hold").arg(QString::fromLatin1(AProperty.name())));
}

class Builder {
 public:
  explicit Builder(TComponent& ARoot) : FRoot(ARoot) {}

  void Read(const FormObject& ATop) {
    CheckRootClass(ATop);
    const bool wasLoading = FRoot.IsLoading();
    FRoot.SetLoading(true);
    FRoot.SetReading(true);
    try {
      if (!ATop.Name.isEmpty() && ATop.Name != FRoot.Name()) {
        const QString old = FRoot.Name();
        At(ATop.Pos, [&] { FRoot.SetName(ATop.Name); });
        FUndo.push_back([this, old] { FRoot.SetName(old); });
      }
      ApplyProperties(FRoot, ATop);
      for (const FormObject& child : ATop.Children) BuildChild(child, FRoot);
      CheckReferences();
      CheckNameClashes();
    } catch (...) {
      FStaging.reset();
      RollBack();
      FRoot.SetReading(false);
      FRoot.SetLoading(wasLoading);
      throw;
    }
    HandOver();
    FRoot.SetReading(false);
    for (const Created& c : FCreated) {
      if (!c.Component.isNull()) c.Component->SetReading(false);
    }
    FRoot.Loaded();
    for (const Created& c : FCreated) {
      if (!c.Component.isNull()) c.Component->Loaded();
    }
  }

 private:
  struct Created {
    QPointer<TComponent> Component;
    FormPos Pos;
  };

  struct Reference {
    QPointer<QObject> Target;
    QMetaProperty Property;
    QString Name;  // empty for nil
    FormPos Pos;
    bool OnRootSide;
    QPointer<QObject> Resolved;
  };

  void CheckRootClass(const FormObject& ATop) const {
    if (ATop.ClassName.compare(FRoot.ClassName(), Qt::CaseInsensitive) == 0) return;
    for (const QMetaObject* meta = FRoot.metaObject(); meta != nullptr; meta = meta->superClass()) {
      QString name = QString::fromLatin1(meta->className());
      const qsizetype cut = name.lastIndexOf(QStringLiteral("::"));
      if (cut >= 0) name = name.mid(cut + 2);
      if (name.compare(ATop.ClassName, Qt::CaseInsensitive) == 0) return;
    }
    Fail(ATop.ClassPos, QStringLiteral("Class %1 does not match the root %2").arg(ATop.ClassName, FRoot.ClassName()));
  }

  void BuildChild(const FormObject& ABlock, TComponent& AParent) {
    const ClassRegistry::Factory factory = ClassRegistry::Instance().Find(ABlock.ClassName);
    if (!factory) Fail(ABlock.ClassPos, QStringLiteral("Class %1 not found").arg(ABlock.ClassName));
    TComponent* component = nullptr;
    At(ABlock.ClassPos, [&] { component = factory(FStaging.get()); });
    if (component == nullptr) Fail(ABlock.ClassPos, QStringLiteral("Class %1 could not be created").arg(ABlock.ClassName));
    FCreated.push_back(Created{component, ABlock.Pos});
    component->SetLoading(true);
    component->SetReading(true);
    At(ABlock.Pos, [&] { component->SetName(ABlock.Name); });
    At(ABlock.Pos, [&] { component->SetParentComponent(&AParent); });
    ApplyProperties(*component, ABlock);
    for (const FormObject& child : ABlock.Children) BuildChild(child, *component);
  }

  void ApplyProperties(TComponent& AComponent, const FormObject& ABlock) {
    const bool rootSide = &AComponent == &FRoot;
    for (const FormProperty& line : ABlock.Properties) At(line.Pos, [&] { Apply(AComponent, line, rootSide); });
  }

  void Apply(QObject& AComponent, const FormProperty& ALine, bool ARootSide) {
    const QStringList parts = ALine.Path.split(u'.');
    QObject* target = &AComponent;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
      const int index = FindProperty(*target->metaObject(), parts[i]);
      QObject* next = nullptr;
      if (index >= 0) {
        const QMetaProperty property = target->metaObject()->property(index);
        if (IsObjectProperty(property)) next = property.read(target).value<QObject*>();
        if (next != nullptr && IsReference(property, next)) next = nullptr;
      }
      if (next == nullptr) Fail(ALine.Pos, QStringLiteral("Unknown property %1").arg(ALine.Path));
      target = next;
    }
    const QString name = parts.last();
    const int index = FindProperty(*target->metaObject(), name);
    if (index >= 0) {
      SetProperty(*target, target->metaObject()->property(index), ALine, ARootSide);
      return;
    }
    if (auto* events = dynamic_cast<IEventProperties*>(target); events != nullptr && HasName(events->EventNames(), name)) {
      BindEvent(*events, name, ALine, ARootSide);
      return;
    }
    if (auto* binary = dynamic_cast<IBinaryProperties*>(target);
        binary != nullptr && HasName(binary->BinaryPropertyNames(), name)) {
      if (ALine.Value.Type != FormValue::Kind::Binary) Fail(ALine.Value.Pos, QStringLiteral("Binary value expected for %1").arg(name));
      if (ARootSide) {
        const std::optional<QByteArray> old = binary->WriteBinaryProperty(name);
        QPointer<QObject> guard(target);
        if (old) FUndo.push_back([guard, binary, name, bytes = *old] { if (!guard.isNull()) binary->ReadBinaryProperty(name, bytes); });
      }
      binary->ReadBinaryProperty(name, ALine.Value.Bytes);
      return;
    }
    Fail(ALine.Pos, QStringLiteral("Unknown property %1").arg(ALine.Path));
  }

  static bool HasName(const QStringList& ANames, const QString& AName) {
    return ANames.contains(AName, Qt::CaseInsensitive);
  }

  void SetProperty(QObject& ATarget, const QMetaProperty& AProperty, const FormProperty& ALine, bool ARootSide) {
    if (!AProperty.isWritable()) Fail(ALine.Pos, QStringLiteral("Property %1 is read-only").arg(ALine.Path));
    if (IsObjectProperty(AProperty)) {
      if (ALine.Value.Type != FormValue::Kind::Identifier) BadValue(ALine.Value, AProperty);
      if (!IsReference(AProperty, AProperty.read(&ATarget).value<QObject*>())) BadValue(ALine.Value, AProperty);
      FReferences.push_back(Reference{&ATarget, AProperty, IsIdentifier(ALine.Value, "nil") ? QString() : ALine.Value.Text,
                                      ALine.Value.Pos, ARootSide, nullptr});
      return;
    }
    const QVariant value = ConvertValue(AProperty, ALine.Value);
    if (ARootSide) Remember(ATarget, AProperty);
    if (!AProperty.write(&ATarget, value)) {
      Fail(ALine.Value.Pos, QStringLiteral("Cannot set property %1").arg(ALine.Path));
    }
  }

  void Remember(QObject& ATarget, const QMetaProperty& AProperty) {
    QPointer<QObject> guard(&ATarget);
    FUndo.push_back([guard, AProperty, old = AProperty.read(&ATarget)] {
      if (!guard.isNull()) AProperty.write(guard.data(), old);
    });
  }

  void BindEvent(IEventProperties& AEvents, const QString& AName, const FormProperty& ALine, bool ARootSide) {
    if (ALine.Value.Type != FormValue::Kind::Identifier) Fail(ALine.Value.Pos, QStringLiteral("Handler name expected for %1").arg(AName));
    if (ARootSide) {
      FUndo.push_back([this, &AEvents, AName, old = AEvents.EventHandlerName(AName)] {
        AEvents.SetEventHandler(AName, TEventHandlerRef{&FRoot, old});
      });
    }
    if (!AEvents.SetEventHandler(AName, TEventHandlerRef{&FRoot, ALine.Value.Text})) {
      Fail(ALine.Pos, QStringLiteral("Unknown property %1").arg(ALine.Path));
    }
  }

  // References may name components read later in the text, so they are
  // resolved once everything exists; the names are checked before the
  // hand-over so that a wrong one still leaves nothing behind.
  void CheckReferences() {
    for (Reference& ref : FReferences) {
      if (ref.Name.isEmpty()) continue;
      QObject* found = nullptr;
      if (ref.Name.compare(FRoot.Name(), Qt::CaseInsensitive) == 0) {
        found = &FRoot;
      } else if (TComponent* staged = FStaging->FindComponent(ref.Name)) {
        found = staged;
      } else {
        found = FRoot.FindComponent(ref.Name);
      }
      if (found == nullptr) Fail(ref.Pos, QStringLiteral("Component %1 not found").arg(ref.Name));
      const QMetaObject* wanted = ref.Property.metaType().metaObject();
      if (wanted != nullptr && !found->metaObject()->inherits(wanted)) {
        Fail(ref.Pos, QStringLiteral("Component %1 does not fit property %2").arg(ref.Name, QString::fromLatin1(ref.Property.name())));
      }
      ref.Resolved = found;
    }
  }

  void CheckNameClashes() const {
    for (const Created& created : FCreated) {
      if (created.Component.isNull()) continue;
      const QString name = created.Component->Name();
      if (name.isEmpty()) continue;
      if (FRoot.FindComponent(name) != nullptr || name.compare(FRoot.Name(), Qt::CaseInsensitive) == 0) {
        Fail(created.Pos, QStringLiteral("A component named %1 already exists").arg(name));
      }
    }
  }

  void HandOver() {
    std::vector<TComponent*> moved;
    try {
      while (FStaging->ComponentCount() > 0) {
        TComponent* c = FStaging->Components().first();
        FStaging->RemoveComponent(c);
        FRoot.InsertComponent(c);
        moved.push_back(c);
      }
      FStaging.reset();
      for (const Reference& ref : FReferences) {
        if (ref.Target.isNull()) continue;
        if (ref.OnRootSide) Remember(*ref.Target, ref.Property);
        // Typed as the property itself so that nil converts as well; a
        // QObject subclass starts with its QObject part, so the address fits.
        QObject* object = ref.Resolved.data();
        // A setter may refuse the component it is given (a material of another family).
        At(ref.Pos, [&] {
          if (!ref.Property.write(ref.Target.data(), QVariant(ref.Property.metaType(), &object))) {
            Fail(ref.Pos, QStringLiteral("Cannot set property %1").arg(QString::fromLatin1(ref.Property.name())));
          }
        });
      }
    } catch (...) {
      for (auto it = moved.rbegin(); it != moved.rend(); ++it) {
        FRoot.RemoveComponent(*it);
        std::unique_ptr<TComponent> dropped(*it);
      }
      FStaging.reset();
      RollBack();
      throw;
    }
  }

  void RollBack() {
    for (auto it = FUndo.rbegin(); it != FUndo.rend(); ++it) {
      try {
        (*it)();
      } catch (...) {
        // Putting back an old value must not hide the error that made us roll back.
      }
    }
    FUndo.clear();
  }

  TComponent& FRoot;
  std::unique_ptr<TComponent> FStaging = std::make_unique<TComponent>();
  std::vector<Created> FCreated;
  std::vector<Reference> FReferences;
  std::vector<std::function<void()>> FUndo;
};

}  // namespace

void ReadComponentInto(TComponent& ARoot, const QString& AText) { Builder(ARoot).Read(ParseForm(AText)); }

std::unique_ptr<TComponent> ReadComponent(const QString& AText) {
  const FormObject top = ParseForm(AText);
  std::unique_ptr<TComponent> root = ClassRegistry::Instance().CreateUnowned(top.ClassName);
  if (!root) Fail(top.ClassPos, QStringLiteral("Class %1 not found").arg(top.ClassName));
  Builder(*root).Read(top);
  return root;
}

}  // namespace ostrel::host
