#include "skin/host/FormWriter.h"

#include "skin/host/ClassRegistry.h"
#include "skin/host/Events.h"
#include "skin/host/FormText.h"
#include "skin/host/PropertyTypes.h"

#include <QHash>
#include <QMetaProperty>

#include <map>
#include <memory>
#include <optional>

namespace ostrel::host {

namespace {

bool IsObjectProperty(const QMetaProperty& AProperty) {
  return AProperty.metaType().flags().testFlag(QMetaType::PointerToQObject);
}

bool IsReferenceValue(const QMetaProperty& AProperty, const QObject* AValue) {
  if (const auto* component = qobject_cast<const TComponent*>(AValue)) return !component->IsSubComponent();
  if (AValue != nullptr) return false;
  const QMetaObject* type = AProperty.metaType().metaObject();
  return type != nullptr && type->inherits(&TComponent::staticMetaObject);
}

// False when the object's Is<Name>Stored() rule says the property is not written.
bool IsStored(const QObject& AObject, const QMetaProperty& AProperty) {
  if (!AProperty.isStored()) return false;
  const QByteArray method = QByteArray("Is") + AProperty.name() + "Stored()";
  const int index = AObject.metaObject()->indexOfMethod(method.constData());
  if (index < 0) return true;
  bool stored = true;
  AObject.metaObject()->method(index).invoke(const_cast<QObject*>(&AObject), Qt::DirectConnection, Q_RETURN_ARG(bool, stored));
  return stored;
}

QString SetText(std::uint64_t ABits, const EnumNames& ANames) {
  QStringList members;
  for (const EnumValueName& n : ANames) {
    if (n.Value >= 0 && n.Value < 64 && (ABits & (std::uint64_t{1} << n.Value)) != 0) members.append(n.Name);
  }
  return u'[' + members.join(QStringLiteral(", ")) + u']';
}

std::optional<QString> FormatValue(const QMetaProperty& AProperty, const QVariant& AValue, const QString& AIndent) {
  const QMetaType type = AProperty.metaType();
  if (AProperty.isFlagType()) {
    const QMetaEnum meta = AProperty.enumerator();
    const int flags = type.sizeOf() == sizeof(int) ? *static_cast<const int*>(AValue.constData()) : AValue.toInt();
    QStringList members;
    int covered = 0;
    for (int i = 0; i < meta.keyCount(); ++i) {
      // Single-bit keys only, and the first of several keys sharing a bit.
      const int v = meta.value(i);
      if (v == 0 || (v & (v - 1)) != 0 || (flags & v) != v || (covered & v) != 0) continue;
      covered |= v;
      members.append(QString::fromLatin1(meta.key(i)));
    }
    return u'[' + members.join(QStringLiteral(", ")) + u']';
  }
  if (const SetTypeInfo* set = FindSetType(type)) return SetText(set->ToBits(AValue), EnumNamesOf(set->Element));
  if (const EnumNames names = EnumNamesOf(type); !names.empty()) {
    const qint64 value = EnumVariantValue(AValue);
    const QString name = EnumNameOf(names, value);
    return name.isEmpty() ? QString::number(value) : name;
  }
  switch (type.id()) {
    case QMetaType::Bool: return AValue.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::SChar:
    case QMetaType::Long: return QString::number(AValue.toLongLong());
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::ULong: return QString::number(AValue.toULongLong());
    case QMetaType::UInt: return ColorToText(AValue.toUInt());
    case QMetaType::Double: return FormatFormDouble(AValue.toDouble());
    case QMetaType::Float: return FormatFormFloat(AValue.toFloat());
    case QMetaType::QString: return FormatFormString(AValue.toString(), AIndent + QStringLiteral("  "));
    case QMetaType::QByteArray: return FormatFormBinary(AValue.toByteArray(), AIndent + QStringLiteral("  "));
    case QMetaType::QStringList: {
      const QStringList list = AValue.toStringList();
      QString text = QStringLiteral("(");
      for (const QString& item : list) text += u'\n' + AIndent + QStringLiteral("  ") + FormatFormString(item, AIndent + QStringLiteral("    "));
      return text + u')';
    }
    default: return std::nullopt;
  }
}

class Writer {
 public:
  explicit Writer(const TComponent& ARoot) : FRoot(ARoot) {}

  QString Write() {
    WriteObject(FRoot, 0);
    return FOut;
  }

 private:
  // The enclosing block of AComponent: its parent component when that is
  // written too, else the root.
  const TComponent* BlockOf(const TComponent& AComponent) const {
    const TComponent* parent = AComponent.GetParentComponent();
    if (parent != nullptr && (parent == &FRoot || parent->Owner() == &FRoot) && !parent->IsSubComponent()) return parent;
    return &FRoot;
  }

  void WriteObject(const TComponent& AComponent, int ALevel) {
    const QString indent(ALevel * 2, u' ');
    const QString name = AComponent.Name().isEmpty() ? QString() : AComponent.Name() + QStringLiteral(": ");
    FOut += indent + QStringLiteral("object ") + name + AComponent.ClassName() + u'\n';
    const QObject* defaults = DefaultsFor(AComponent);
    WriteProperties(AComponent, defaults, QString(), indent + QStringLiteral("  "), 0);
    for (const TComponent* child : FRoot.Components()) {
      if (child == &AComponent || child->IsSubComponent() || BlockOf(*child) != &AComponent) continue;
      WriteObject(*child, ALevel + 1);
    }
    FOut += indent + QStringLiteral("end\n");
  }

  void WriteProperties(const QObject& AObject, const QObject* ADefaults, const QString& APrefix, const QString& AIndent,
                       int ADepth) {
    const QMetaObject* meta = AObject.metaObject();
    const bool isComponent = qobject_cast<const TComponent*>(&AObject) != nullptr;
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
      const QMetaProperty property = meta->property(i);
      if (!property.isReadable()) continue;
      if (isComponent && qstrcmp(property.name(), "Name") == 0) continue;
      if (!IsStored(AObject, property)) continue;
      const QString path = APrefix + QString::fromLatin1(property.name());
      const QVariant value = property.read(&AObject);
      const std::optional<QVariant> fallback = DefaultValue(ADefaults, property);
      if (IsObjectProperty(property)) {
        const QObject* object = value.value<QObject*>();
        if (IsReferenceValue(property, object)) {
          if (!property.isWritable()) continue;
          const QObject* old = fallback ? fallback->value<QObject*>() : nullptr;
          if (object == old) continue;
          const auto* component = qobject_cast<const TComponent*>(object);
          FOut += AIndent + path + QStringLiteral(" = ") + (component != nullptr ? component->Name() : QStringLiteral("nil")) + u'\n';
        } else if (object != nullptr && ADepth < kMaxFormDepth) {
          const QObject* nestedDefaults = fallback ? fallback->value<QObject*>() : nullptr;
          WriteProperties(*object, nestedDefaults, path + u'.', AIndent, ADepth + 1);
        }
        continue;
      }
      if (!property.isWritable()) continue;
      if (fallback && *fallback == value) continue;
      const std::optional<QString> text = FormatValue(property, value, AIndent);
      if (text) FOut += AIndent + path + QStringLiteral(" = ") + *text + u'\n';
    }
    if (const auto* events = dynamic_cast<const IEventProperties*>(&AObject)) {
      for (const QString& event : events->EventNames()) {
        const QString handler = events->EventHandlerName(event);
        if (!handler.isEmpty()) FOut += AIndent + APrefix + event + QStringLiteral(" = ") + handler + u'\n';
      }
    }
    if (const auto* binary = dynamic_cast<const IBinaryProperties*>(&AObject)) {
      for (const QString& name : binary->BinaryPropertyNames()) {
        if (const std::optional<QByteArray> bytes = binary->WriteBinaryProperty(name)) {
          FOut += AIndent + APrefix + name + QStringLiteral(" = ") + FormatFormBinary(*bytes, AIndent + QStringLiteral("  ")) + u'\n';
        }
      }
    }
  }

  static std::optional<QVariant> DefaultValue(const QObject* ADefaults, const QMetaProperty& AProperty) {
    if (ADefaults == nullptr) return std::nullopt;
    const int index = ADefaults->metaObject()->indexOfProperty(AProperty.name());
    if (index < 0) return std::nullopt;
    return ADefaults->metaObject()->property(index).read(ADefaults);
  }

  // A fresh instance of the nearest registered class of AComponent, made once per class.
  const QObject* DefaultsFor(const TComponent& AComponent) {
    const QString className = AComponent.ClassName();
    if (const auto it = FDefaults.find(className); it != FDefaults.end()) return it->second.get();
    std::unique_ptr<TComponent> fresh = ClassRegistry::Instance().CreateUnowned(className);
    for (const QMetaObject* meta = AComponent.metaObject(); !fresh && meta != nullptr; meta = meta->superClass()) {
      QString name = QString::fromLatin1(meta->className());
      const qsizetype cut = name.lastIndexOf(QStringLiteral("::"));
      if (cut >= 0) name = name.mid(cut + 2);
      fresh = ClassRegistry::Instance().CreateUnowned(name);
    }
    const QObject* result = fresh.get();
    FDefaults.emplace(className, std::move(fresh));
    return result;
  }

  const TComponent& FRoot;
  QString FOut;
  std::map<QString, std::unique_ptr<TComponent>> FDefaults;
};

}  // namespace

QString WriteComponent(const TComponent& ARoot) { return Writer(ARoot).Write(); }

}  // namespace ostrel::host
