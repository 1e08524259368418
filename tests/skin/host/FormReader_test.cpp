#include "skin/host/Animation.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"
#include "skin/host/PropertyTypes.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QPointer>

#include <bit>
#include <cstdint>
#include <vector>

using ostrel::host::EFormError;
using ostrel::host::ReadComponent;
using ostrel::host::ReadComponentInto;
using ostrel::host::WriteComponent;

enum class TTestOption : std::uint8_t { toHover, toPress, toFocus };
using TTestOptions = TSet<TTestOption>;

namespace {

int gLiveTestComponents = 0;

class TTestPosition : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(float X MEMBER X)
  Q_PROPERTY(float Y MEMBER Y)

 public:
  float X = 0;
  float Y = 0;
};

class TTestImageList : public TComponent, public IBinaryProperties {
  Q_OBJECT

 public:
  explicit TTestImageList(TComponent* AOwner = nullptr) : TComponent(AOwner) { ++gLiveTestComponents; }
  ~TTestImageList() override { --gLiveTestComponents; }

  QStringList BinaryPropertyNames() const override { return {QStringLiteral("Data")}; }
  void ReadBinaryProperty(const QString&, const QByteArray& AData) override {
    // Stands for a document reader that checks its signature.
    if (!AData.startsWith("PIC")) throw Exception(QStringLiteral("Not a picture list"));
    FData = AData;
  }
  std::optional<QByteArray> WriteBinaryProperty(const QString&) const override {
    return FData.isEmpty() ? std::nullopt : std::optional<QByteArray>(FData);
  }

  QByteArray FData;
};

class TTestPanel : public TComponent, public IEventProperties {
  Q_OBJECT
  Q_PROPERTY(TTestPosition* Position READ Position)
  Q_PROPERTY(float Width MEMBER FWidth)
  Q_PROPERTY(double Scale MEMBER FScale)
  Q_PROPERTY(uint Color MEMBER FColor)
  Q_PROPERTY(bool Visible MEMBER FVisible)
  Q_PROPERTY(TTestAlign Align MEMBER FAlign)
  Q_PROPERTY(TTestOptions Options MEMBER FOptions)
  Q_PROPERTY(Qt::Alignment TextAlign MEMBER FTextAlign)
  Q_PROPERTY(QString Caption MEMBER FCaption)
  Q_PROPERTY(QStringList Lines MEMBER FLines)
  Q_PROPERTY(bool ShowHint MEMBER FShowHint)
  Q_PROPERTY(QString Hint MEMBER FHint)
  Q_PROPERTY(TTestImageList* Images MEMBER FImages)

 public:
  enum class TTestAlign : std::uint8_t { alNone, alTop, alBottom };
  Q_ENUM(TTestAlign)

  explicit TTestPanel(TComponent* AOwner = nullptr) : TComponent(AOwner) {
    ++gLiveTestComponents;
    FEvents.Add(QStringLiteral("OnClick"), FOnClick);
  }
  ~TTestPanel() override { --gLiveTestComponents; }

  TTestPosition* Position() { return &FPosition; }
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return FParent.data(); }
  void SetParentComponent(TComponent* AParent) override { FParent = AParent; }

  Q_INVOKABLE bool IsHintStored() const { return FShowHint; }

  QStringList EventNames() const override { return FEvents.Names(); }
  bool SetEventHandler(const QString& AEvent, const TEventHandlerRef& AHandler) override {
    return FEvents.Bind(AEvent, AHandler);
  }
  QString EventHandlerName(const QString& AEvent) const override { return FEvents.HandlerName(AEvent); }

  void Loaded() override {
    TComponent::Loaded();
    ++FLoadedCalls;
  }

  TTestPosition FPosition;
  float FWidth = 0;
  double FScale = 1;
  uint FColor = claNull;
  bool FVisible = true;
  TTestAlign FAlign = TTestAlign::alNone;
  TTestOptions FOptions;
  Qt::Alignment FTextAlign = Qt::AlignLeft;
  QString FCaption;
  QStringList FLines;
  bool FShowHint = false;
  QString FHint;
  TTestImageList* FImages = nullptr;
  TNotifyEvent FOnClick;
  int FLoadedCalls = 0;

 private:
  QPointer<TComponent> FParent;
  ostrel::host::TEventTable FEvents;
};

class TTestForm : public TComponent {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(int ClientWidth MEMBER FClientWidth)

 public:
  explicit TTestForm(TComponent* AOwner = nullptr) : TComponent(AOwner) {}

  QString Caption() const { return FCaption; }
  void SetCaption(const QString& AValue) {
    FCaption = AValue;
    FStateWhenSet = ComponentState();
  }

  Q_INVOKABLE void ButtonClick(TObject* Sender) { FClicks.push_back(Sender); }
  Q_INVOKABLE void AniProcess(TObject*) { ++FFrames; }

  QString FCaption;
  int FClientWidth = 0;
  TComponentState FStateWhenSet;
  std::vector<TObject*> FClicks;
  int FFrames = 0;
};

// The canonical text of a small form: what the writer produces and the reader takes.
const QString kForm = QStringLiteral(
    "object TestForm: TTestForm\n"
    "  Caption = 'Setup '#20320#22909\n"
    "  ClientWidth = 640\n"
    "  object Panel: TTestPanel\n"
    "    Tag = -3\n"
    "    Position.X = 1.5\n"
    "    Position.Y = -20\n"
    "    Width = 0.1\n"
    "    Scale = 1e-07\n"
    "    Color = xFF0092CA\n"
    "    Align = alBottom\n"
    "    Options = [toHover, toFocus]\n"
    "    TextAlign = [AlignRight, AlignVCenter]\n"
    "    Images = Icons\n"
    "    OnClick = ButtonClick\n"
    "    object Label: TTestPanel\n"
    "      Color = claWhite\n"
    "      Visible = False\n"
    "      Caption = 'It''s a caption long enough to need more than one line of text in' +\n"
    "        ' the stored form'#13#10'next'\n"
    "      Lines = (\n"
    "        'first'\n"
    "        ''\n"
    "        'third')\n"
    "      ShowHint = True\n"
    "      Hint = 'Browse'\n"
    "    end\n"
    "    object Fade: TFloatAnimation\n"
    "      Duration = 2\n"
    "      Interpolation = Cubic\n"
    "      PropertyName = 'Position.Y'\n"
    "      StartValue = 100\n"
    "      StopValue = 50\n"
    "      OnProcess = AniProcess\n"
    "    end\n"
    "  end\n"
    "  object Icons: TTestImageList\n"
    "    Data = {\n"
    "      504943000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C\n"
    "      1D1E1F}\n"
    "  end\n"
    "end\n");

class FormReaderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ostrel::host::RegisterClass<TTestForm>();
    ostrel::host::RegisterClass<TTestPanel>();
    ostrel::host::RegisterClass<TTestImageList>();
    ostrel::host::RegisterAnimationClasses();
    ostrel::host::RegisterEnumNames<TTestOption>({"toHover", "toPress", "toFocus"});
    ostrel::host::RegisterSetType<TTestOption>();
  }

  ostrel::host::ManualFrameClock clock;
  ostrel::host::ScopedFrameClock useClock{clock};
};

TEST_F(FormReaderTest, ReadsTheTreeAndWritesTheSameTextBack) {
  std::unique_ptr<TComponent> root = ReadComponent(kForm);
  auto* form = qobject_cast<TTestForm*>(root.get());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Name(), QStringLiteral("TestForm"));
  EXPECT_EQ(form->FCaption, QStringLiteral("Setup \u4F60\u597D"));
  EXPECT_EQ(form->FClientWidth, 640);

  auto* panel = qobject_cast<TTestPanel*>(form->FindComponent(QStringLiteral("Panel")));
  auto* label = qobject_cast<TTestPanel*>(form->FindComponent(QStringLiteral("Label")));
  auto* fade = qobject_cast<TFloatAnimation*>(form->FindComponent(QStringLiteral("Fade")));
  auto* icons = qobject_cast<TTestImageList*>(form->FindComponent(QStringLiteral("Icons")));
  ASSERT_TRUE(panel && label && fade && icons);
  EXPECT_EQ(form->ComponentCount(), 4) << "the root owns every component of the form";
  EXPECT_EQ(panel->GetParentComponent(), form);
  EXPECT_EQ(label->GetParentComponent(), panel);
  EXPECT_EQ(fade->Parent(), panel);

  EXPECT_EQ(panel->Tag(), -3);
  EXPECT_EQ(panel->FPosition.X, 1.5f);
  EXPECT_EQ(panel->FPosition.Y, -20.0f);
  EXPECT_EQ(panel->FWidth, 0.1f);
  EXPECT_EQ(panel->FScale, 1e-7);
  EXPECT_EQ(panel->FColor, 0xFF0092CAu);
  EXPECT_EQ(panel->FAlign, TTestPanel::TTestAlign::alBottom);
  EXPECT_EQ(panel->FOptions, (TTestOptions{TTestOption::toHover, TTestOption::toFocus}));
  EXPECT_EQ(panel->FTextAlign, Qt::AlignRight | Qt::AlignVCenter);
  EXPECT_EQ(panel->FImages, icons);
  EXPECT_EQ(label->FColor, claWhite);
  EXPECT_FALSE(label->FVisible);
  EXPECT_EQ(label->FCaption,
            QStringLiteral("It's a caption long enough to need more than one line of text in the stored form\r\nnext"));
  EXPECT_EQ(label->FLines, (QStringList{QStringLiteral("first"), QString(), QStringLiteral("third")}));
  EXPECT_EQ(icons->FData, QByteArray::fromHex("504943000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F"));

  ASSERT_TRUE(panel->FOnClick);
  panel->FOnClick(panel);
  EXPECT_EQ(form->FClicks, std::vector<TObject*>{panel});

  EXPECT_EQ(WriteComponent(*form), kForm);
}

TEST_F(FormReaderTest, ReadingMarksLoadingThenCallsLoadedAndStartsAnimations) {
  TTestForm form;
  ReadComponentInto(form, kForm);
  EXPECT_TRUE(form.FStateWhenSet.Contains(TComponentStateItem::csLoading));
  EXPECT_TRUE(form.FStateWhenSet.Contains(TComponentStateItem::csReading));
  for (TComponent* c : form.Components()) {
    EXPECT_FALSE(c->ComponentState().Contains(TComponentStateItem::csLoading)) << c->Name().toStdString();
    EXPECT_FALSE(c->ComponentState().Contains(TComponentStateItem::csReading)) << c->Name().toStdString();
  }
  EXPECT_EQ(qobject_cast<TTestPanel*>(form.FindComponent(QStringLiteral("Panel")))->FLoadedCalls, 1);

  // The stored animation is not enabled; enabling it runs it on the panel.
  auto* fade = qobject_cast<TFloatAnimation*>(form.FindComponent(QStringLiteral("Fade")));
  auto* panel = qobject_cast<TTestPanel*>(form.FindComponent(QStringLiteral("Panel")));
  EXPECT_FALSE(fade->Running());
  fade->SetEnabled(true);
  EXPECT_EQ(panel->FPosition.Y, 100.0f);
  clock.Run(2.5);
  EXPECT_EQ(panel->FPosition.Y, 50.0f);
  EXPECT_GE(form.FFrames, 2) << "OnProcess reaches the form's handler";
}

TEST_F(FormReaderTest, EnabledAnimationsStartWhenTheFormHasLoaded) {
  const QString text = QStringLiteral(
      "object F: TTestForm\n"
      "  object P: TTestPanel\n"
      "    object A: TIntAnimation\n"
      "      Delay = 1\n"
      "      Duration = 1\n"
      "      Enabled = True\n"
      "      PropertyName = 'Tag'\n"
      "      StopValue = 10\n"
      "    end\n"
      "  end\n"
      "end\n");
  std::unique_ptr<TComponent> root = ReadComponent(text);
  auto* animation = qobject_cast<TIntAnimation*>(root->FindComponent(QStringLiteral("A")));
  EXPECT_TRUE(animation->Running());
  EXPECT_EQ(WriteComponent(*root), text) << "the delay holds the value";
  clock.Run(1.5);
  EXPECT_EQ(root->FindComponent(QStringLiteral("P"))->Tag(), 5);
}

TEST_F(FormReaderTest, DefaultsAndStoredRulesAreLeftOut) {
  TTestForm form;
  form.SetName(QStringLiteral("Form"));
  auto* panel = new TTestPanel(&form);
  panel->SetName(QStringLiteral("Plain"));
  panel->SetParentComponent(&form);
  panel->FHint = QStringLiteral("not shown, so not stored");
  panel->FImages = nullptr;
  EXPECT_EQ(WriteComponent(form), QStringLiteral("object Form: TTestForm\n"
                                                 "  object Plain: TTestPanel\n"
                                                 "  end\n"
                                                 "end\n"));
}

TEST_F(FormReaderTest, UnnamedComponentsAndClearedReferencesReadBack) {
  const QString text = QStringLiteral(
      "object F: TTestForm\n"
      "  object TTestPanel\n"
      "    Width = 4\n"
      "  end\n"
      "end\n");
  std::unique_ptr<TComponent> root = ReadComponent(text);
  ASSERT_EQ(root->ComponentCount(), 1);
  EXPECT_TRUE(root->Components().first()->Name().isEmpty());
  EXPECT_EQ(WriteComponent(*root), text);

  TTestForm form;
  (new TTestImageList(&form))->SetName(QStringLiteral("Icons"));
  ReadComponentInto(form, QStringLiteral("object F: TTestForm\n"
                                         "  object P: TTestPanel\n"
                                         "    Images = Icons\n"
                                         "    Images = nil\n"
                                         "  end\n"
                                         "end\n"));
  EXPECT_EQ(qobject_cast<TTestPanel*>(form.FindComponent(QStringLiteral("P")))->FImages, nullptr)
      << "the last line for a property wins, and nil clears a reference";
}

TEST_F(FormReaderTest, StringsOfAnyTextSurviveARoundTrip) {
  const QString texts[] = {
      QString(),
      QStringLiteral("'"),
      QStringLiteral("tab\there, bell\a"),
      QStringLiteral("\u4E2D\u6587 and \U0001F600 emoji"),
      QString(200, u'x') + QStringLiteral("\U0001F600"),
      QString(63, u'y') + QStringLiteral("\U0001F600") + QStringLiteral("z"),
  };
  for (const QString& text : texts) {
    TTestForm form;
    form.SetName(QStringLiteral("Form"));
    form.SetCaption(text);
    const QString written = WriteComponent(form);
    TTestForm back;
    ReadComponentInto(back, written);
    EXPECT_EQ(back.Caption(), text) << written.toStdString();
    EXPECT_EQ(WriteComponent(back), written);
  }
}

// A written number reads back as the same bits: negative zero and whole
// numbers past 64 bits would otherwise come back as integers, or not at all.
TEST_F(FormReaderTest, RealNumbersSurviveARoundTripBitForBit) {
  const struct {
    double Scale;
    float Width;
  } cases[] = {
      {-0.0, -0.0f},
      {9.876543210987654e18, 9.876543e18f},
      {-9.3e18, 1.5e19f},
      {1e300, 3.4e38f},
      {5e-324, 1e-45f},
      {123456789012.0, 16777216.0f},
      {0.1, 0.1f},
  };
  for (const auto& c : cases) {
    TTestForm form;
    form.SetName(QStringLiteral("Form"));
    auto* panel = new TTestPanel(&form);
    panel->SetName(QStringLiteral("P"));
    panel->SetParentComponent(&form);
    panel->FScale = c.Scale;
    panel->FWidth = c.Width;
    const QString written = WriteComponent(form);
    TTestForm back;
    ReadComponentInto(back, written);
    const auto* read = qobject_cast<TTestPanel*>(back.FindComponent(QStringLiteral("P")));
    ASSERT_NE(read, nullptr) << written.toStdString();
    EXPECT_EQ(std::bit_cast<std::uint64_t>(read->FScale), std::bit_cast<std::uint64_t>(c.Scale)) << written.toStdString();
    // Width's default is 0, which -0 equals, so that one is left out rather than written.
    EXPECT_EQ(read->FWidth, c.Width) << written.toStdString();
    EXPECT_EQ(WriteComponent(back), written);
  }
}

struct MalformedCase {
  const char* Text;
  int Line;
  int Column;
  const char* Message;
};

TEST_F(FormReaderTest, MalformedFormsNameTheirPlaceAndLeaveNothingBehind) {
  const MalformedCase cases[] = {
      {"object F: TTestForm\n  object P: TNoSuchClass\n  end\nend\n", 2, 13, "Class TNoSuchClass not found"},
      {"object F: TTestForm\n  object P: TTestPanel\n    Colour = claWhite\n  end\nend\n", 3, 5, "Unknown property Colour"},
      {"object F: TTestForm\n  object P: TTestPanel\n    Position.Z = 1\n  end\nend\n", 3, 5, "Unknown property Position.Z"},
      {"object F: TTestForm\n  object P: TTestPanel\n    Width = 'wide'\n  end\nend\n", 3, 13, "Invalid value for property Width"},
      {"object F: TTestForm\n  ClientWidth = 99999999999\nend\n", 2, 17, "Invalid value for property ClientWidth"},
      {"object F: TTestForm\n  object P: TTestPanel\n    Align = alLeft\n  end\nend\n", 3, 13, "Invalid value alLeft"},
      {"object F: TTestForm\n  object P: TTestPanel\n    Options = [toHover, toDrag]\n  end\nend\n", 3, 15, "Invalid set member toDrag"},
      {"object F: TTestForm\n  object P: TTestPanel\n    Color = xFF00\n  end\nend\n", 3, 13, "Invalid value for property Color"},
      {"object F: TTestForm\n  object P: TTestPanel\n    Visible = True\n", 2, 3, "Object 'P' has no 'end'"},
      {"object F: TTestForm\n  object P: TTestPanel\n    Caption = 'open\n  end\nend\n", 3, 15, "Unterminated string"},
      {"object F: TTestForm\n  object P: TTestPanel\n    OnClick = NoSuchHandler\n  end\nend\n", 3, 5, "NoSuchHandler"},
      {"object F: TTestForm\n  object P: TTestPanel\n    Images = Nobody\n  end\nend\n", 3, 14, "Component Nobody not found"},
      {"object F: TTestForm\n  object P: TTestPanel\n    Images = Q\n  end\n  object Q: TTestPanel\n  end\nend\n", 3, 14,
       "Component Q does not fit property Images"},
      {"object F: TTestForm\n  object P: TTestPanel\n  end\n  object P: TTestPanel\n  end\nend\n", 4, 3,
       "A component named P already exists"},
      {"object F: TTestForm\n  object I: TTestImageList\n    Data = {50494}\n  end\nend\n", 3, 12, "Odd number of hex digits"},
      {"object F: TTestForm\n  object I: TTestImageList\n    Data = {0102}\n  end\nend\n", 3, 5, "Not a picture list"},
      {"object F: TTestForm\n  object I: TTestImageList\n    Data = {01 02\n", 3, 12, "Unterminated binary value"},
      {"object F: TTestForm\nend\nobject G: TTestForm\nend\n", 3, 1, "End of text expected"},
      {"object F: TTestPanel\nend\n", 1, 11, "does not match the root"},
      {"object F: TTestForm\n  Caption = 'changed'\n  object P: TTestPanel\n    Width = True\n  end\nend\n", 4, 13,
       "Invalid value for property Width"},
      {"object F: TTestForm\n  Caption = #99999\nend\n", 2, 13, "Character code out of range"},
      {"object F: TTestForm\n  Caption = 'a' +\nend\n", 3, 1, "String expected after '+'"},
      {"object F: TTestForm\n  ClientWidth = 12abc\nend\n", 2, 17, "Invalid number"},
  };
  for (const MalformedCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TTestForm form;
    form.SetName(QStringLiteral("Original"));
    form.SetCaption(QStringLiteral("kept"));
    try {
      ReadComponentInto(form, QString::fromUtf8(c.Text));
      ADD_FAILURE() << "no error";
    } catch (const EFormError& e) {
      EXPECT_EQ(e.Line(), c.Line);
      EXPECT_EQ(e.Column(), c.Column);
      EXPECT_TRUE(e.Message().contains(QString::fromUtf8(c.Message))) << e.Message().toStdString();
      EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Line %1, column %2: ").arg(c.Line).arg(c.Column)));
    }
    EXPECT_EQ(form.ComponentCount(), 0);
    EXPECT_EQ(gLiveTestComponents, 0);
    EXPECT_EQ(form.Name(), QStringLiteral("Original"));
    EXPECT_EQ(form.Caption(), QStringLiteral("kept"));
    EXPECT_FALSE(form.IsLoading());
    EXPECT_TRUE(clock.IsIdle());
  }
}

TEST_F(FormReaderTest, ReadComponentLeavesNothingWhenTheTextIsBad) {
  EXPECT_THROW(ReadComponent(QStringLiteral("object F: TTestForm\n  object P: TTestPanel\n    Width = x\n  end\nend\n")),
               EFormError);
  EXPECT_EQ(gLiveTestComponents, 0);
  EXPECT_THROW(ReadComponent(QStringLiteral("object F: TUnknownForm\nend\n")), EFormError);
}

TEST_F(FormReaderTest, DeeplyNestedInputIsRefused) {
  QString text;
  for (int i = 0; i < 1000; ++i) text += QStringLiteral("object P%1: TTestPanel\n").arg(i);
  EXPECT_THROW(ReadComponent(text), EFormError);
  EXPECT_EQ(gLiveTestComponents, 0);
}

}  // namespace

#include "FormReader_test.moc"
