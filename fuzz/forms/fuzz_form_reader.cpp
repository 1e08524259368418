// Feeds arbitrary text to the stored-form reader. Every input must either be
// refused with EFormError, leaving no component alive, or be read into a tree
// whose written form reads back and writes again to the very same text.

#include "skin/host/Animation.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"
#include "skin/host/FrameClock.h"
#include "skin/host/PropertyTypes.h"

#include <QPointer>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

enum class TFuzzOption : std::uint8_t { foOne, foTwo, foThree };

namespace {

int gLive = 0;

class TFuzzPoint : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(float X MEMBER X)
  Q_PROPERTY(float Y MEMBER Y)

 public:
  float X = 0;
  float Y = 0;
};

class TFuzzList : public TComponent, public IBinaryProperties {
  Q_OBJECT

 public:
  explicit TFuzzList(TComponent* AOwner = nullptr) : TComponent(AOwner) { ++gLive; }
  ~TFuzzList() override { --gLive; }
  QStringList BinaryPropertyNames() const override { return {QStringLiteral("Data")}; }
  void ReadBinaryProperty(const QString&, const QByteArray& AData) override {
    if (AData.size() % 3 == 1) throw Exception(QStringLiteral("bad data"));
    FData = AData;
  }
  std::optional<QByteArray> WriteBinaryProperty(const QString&) const override {
    return FData.isEmpty() ? std::nullopt : std::optional<QByteArray>(FData);
  }
  QByteArray FData;
};

class TFuzzControl : public TComponent, public IEventProperties {
  Q_OBJECT
  Q_PROPERTY(TFuzzPoint* Position READ Position)
  Q_PROPERTY(float Width MEMBER FWidth)
  Q_PROPERTY(double Scale MEMBER FScale)
  Q_PROPERTY(int Count MEMBER FCount)
  Q_PROPERTY(uint Color MEMBER FColor)
  Q_PROPERTY(bool Visible MEMBER FVisible)
  Q_PROPERTY(TFuzzKind Kind MEMBER FKind)
  Q_PROPERTY(TSet<TFuzzOption> Options MEMBER FOptions)
  Q_PROPERTY(Qt::Alignment Align MEMBER FAlign)
  Q_PROPERTY(QString Caption MEMBER FCaption)
  Q_PROPERTY(QStringList Lines MEMBER FLines)
  Q_PROPERTY(QByteArray Raw MEMBER FRaw)
  Q_PROPERTY(TFuzzList* List MEMBER FList)

 public:
  enum class TFuzzKind : std::uint8_t { fkA, fkB, fkC };
  Q_ENUM(TFuzzKind)

  explicit TFuzzControl(TComponent* AOwner = nullptr) : TComponent(AOwner) {
    ++gLive;
    FEvents.Add(QStringLiteral("OnClick"), FOnClick);
  }
  ~TFuzzControl() override { --gLive; }
  TFuzzPoint* Position() { return &FPosition; }
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return FParent.data(); }
  void SetParentComponent(TComponent* AParent) override { FParent = AParent; }
  QStringList EventNames() const override { return FEvents.Names(); }
  bool SetEventHandler(const QString& AEvent, const TEventHandlerRef& AHandler) override {
    return FEvents.Bind(AEvent, AHandler);
  }
  QString EventHandlerName(const QString& AEvent) const override { return FEvents.HandlerName(AEvent); }

  TFuzzPoint FPosition;
  float FWidth = 0;
  double FScale = 1;
  int FCount = 0;
  uint FColor = 0;
  bool FVisible = true;
  TFuzzKind FKind = TFuzzKind::fkA;
  TSet<TFuzzOption> FOptions;
  Qt::Alignment FAlign = Qt::AlignLeft;
  QString FCaption;
  QStringList FLines;
  QByteArray FRaw;
  TFuzzList* FList = nullptr;
  TNotifyEvent FOnClick;

 private:
  QPointer<TComponent> FParent;
  ostrel::host::TEventTable FEvents;
};

class TFuzzForm : public TComponent {
  Q_OBJECT
  Q_PROPERTY(QString Caption MEMBER FCaption)

 public:
  explicit TFuzzForm(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
  Q_INVOKABLE void Click(TObject*) {}
  Q_INVOKABLE void Process(TObject*) {}
  QString FCaption;
};

[[noreturn]] void Abort(const char* AWhat, const QString& AText) {
  std::fprintf(stderr, "%s\n%s\n", AWhat, AText.toUtf8().constData());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ostrel::host::RegisterClass<TFuzzForm>();
  ostrel::host::RegisterClass<TFuzzControl>();
  ostrel::host::RegisterClass<TFuzzList>();
  ostrel::host::RegisterAnimationClasses();
  ostrel::host::RegisterEnumNames<TFuzzOption>({"foOne", "foTwo", "foThree"});
  ostrel::host::RegisterSetType<TFuzzOption>();
  // Enabled animations start on load; a clock that never ticks keeps runs deterministic.
  static ostrel::host::ManualFrameClock clock;
  ostrel::host::FrameClock::SetCurrent(&clock);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ASize) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(AData), static_cast<qsizetype>(ASize));
  std::unique_ptr<TComponent> root;
  try {
    root = ostrel::host::ReadComponent(text);
  } catch (const ostrel::host::EFormError&) {
    if (gLive != 0) Abort("a refused form left components alive", text);
    return 0;
  }
  const QString first = ostrel::host::WriteComponent(*root);
  root.reset();
  std::unique_ptr<TComponent> again;
  try {
    again = ostrel::host::ReadComponent(first);
  } catch (const ostrel::host::EFormError& e) {
    Abort(e.what(), first);
  }
  if (ostrel::host::WriteComponent(*again) != first) Abort("writing is not stable", first);
  return 0;
}

#include "fuzz_form_reader.moc"
