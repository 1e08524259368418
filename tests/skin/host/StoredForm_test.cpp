// A window read from its stored form: controls, events bound to the form's
// handlers, alignment after loading, and animations moving controls.

#include "skin/host/Animation.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/Control.h"
#include "skin/host/Form.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"
#include "skin/host/FrameClock.h"
#include "skin/host/GlowEffect.h"
#include "skin/host/HostClasses.h"
#include "tests/skin/host/HostTestSupport.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QGraphicsItem>

#include <algorithm>
#include <memory>

namespace {

class TStoredTestForm : public TForm {
  Q_OBJECT

 public:
  explicit TStoredTestForm(TComponent* AOwner = nullptr) : TForm(AOwner) {}

  Q_INVOKABLE void ButtonClick(TObject* Sender) { clicks << dynamic_cast<TComponent*>(Sender)->Name(); }
  Q_INVOKABLE void BackMouseDown(TObject*, TMouseButton Button, TShiftState, float X, float Y) {
    downs << QStringLiteral("%1 %2,%3").arg(static_cast<int>(Button)).arg(X).arg(Y);
  }
  Q_INVOKABLE void FormCreate(TObject*) { ++created; }

  QStringList clicks;
  QStringList downs;
  int created = 0;
};

const QString kText = QStringLiteral(
    "object StoredTestForm: TStoredTestForm\n"
    "  Caption = 'Install Ostrel'\n"
    "  ClientWidth = 200\n"
    "  ClientHeight = 120\n"
    "  BorderStyle = None\n"
    "  Transparency = True\n"
    "  OnCreate = FormCreate\n"
    "  object Back: TControl\n"
    "    Position.X = 8\n"
    "    Position.Y = 8\n"
    "    Width = 180\n"
    "    Height = 100\n"
    "    ClipChildren = True\n"
    "    OnMouseDown = BackMouseDown\n"
    "    object Bar: TControl\n"
    "      Align = Bottom\n"
    "      Margins.Left = 1\n"
    "      Margins.Right = 1\n"
    "      Margins.Bottom = 1\n"
    "      Height = 4\n"
    "      HitTest = False\n"
    "    end\n"
    "    object Button: TControl\n"
    "      Position.X = 20\n"
    "      Position.Y = 30\n"
    "      Width = 60\n"
    "      Height = 20\n"
    "      OnClick = ButtonClick\n"
    "      object Slide: TFloatAnimation\n"
    "        Enabled = True\n"
    "        Duration = 1\n"
    "        PropertyName = 'Position.Y'\n"
    "        StartValue = 30\n"
    "        StopValue = 50\n"
    "      end\n"
    "    end\n"
    "    object Shadow: TGlowEffect\n"
    "      Opacity = 0.5\n"
    "    end\n"
    "  end\n"
    "end\n");

// Stands in for a progress bar: a properties object published as an object
// property whose writable Position is clamped to the range.
class TStandInBarProperties : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(int Max READ Max WRITE SetMax)
  Q_PROPERTY(int Position READ Position WRITE SetPosition)

 public:
  int Max() const { return FMax; }
  void SetMax(int AValue) { FMax = AValue; }
  int Position() const { return FPosition; }
  void SetPosition(int AValue) {
    FPosition = std::clamp(AValue, 0, FMax);
    ++Writes;
  }
  void Assign(const TPersistent* ASource) override {
    if (const auto* source = dynamic_cast<const TStandInBarProperties*>(ASource)) {
      FMax = source->FMax;
      FPosition = source->FPosition;
      return;
    }
    TPersistent::Assign(ASource);
  }

  int Writes = 0;

 private:
  int FMax = 100;
  int FPosition = 0;
};

class TStandInBar : public TControl {
  Q_OBJECT
  Q_PROPERTY(TStandInBarProperties* Properties READ Properties WRITE SetProperties)

 public:
  explicit TStandInBar(TComponent* AOwner = nullptr) : TControl(AOwner) {}
  TStandInBarProperties* Properties() const { return FProperties.get(); }
  // Owned sub-objects are never replaced: writing copies.
  void SetProperties(TStandInBarProperties* AValue) { FProperties->Assign(AValue); }

 private:
  std::unique_ptr<TStandInBarProperties> FProperties = std::make_unique<TStandInBarProperties>();
};

class StoredForm : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    host_test::App();
    ostrel::host::RegisterHostClasses();
    ostrel::host::RegisterAnimationClasses();
    ostrel::host::RegisterClass<TStoredTestForm>();
    ostrel::host::RegisterClass<TStandInBar>();
  }

  ostrel::host::ManualFrameClock clock;
  ostrel::host::ScopedFrameClock useClock{clock};
};

}  // namespace

TEST_F(StoredForm, ReadWindowRoutesPointerToFormHandlersAndAnimates) {
  TStoredTestForm form;
  ostrel::host::ReadComponentInto(form, kText);
  auto* back = qobject_cast<TControl*>(form.FindComponent(QStringLiteral("Back")));
  auto* bar = qobject_cast<TControl*>(form.FindComponent(QStringLiteral("Bar")));
  auto* button = qobject_cast<TControl*>(form.FindComponent(QStringLiteral("Button")));
  auto* shadow = qobject_cast<TGlowEffect*>(form.FindComponent(QStringLiteral("Shadow")));
  ASSERT_TRUE(back && bar && button && shadow);
  EXPECT_EQ(form.Controls(), QList<TControl*>{back});
  EXPECT_EQ(back->Controls(), (QList<TControl*>{bar, button}));
  EXPECT_EQ(bar->BoundsRect(), QRectF(1, 95, 178, 4)) << "aligned once loading finished";
  EXPECT_EQ(shadow->Parent(), back);
  EXPECT_NE(shadow->Shadow(), nullptr);

  form.Show();
  EXPECT_EQ(form.created, 1);

  host_test::Press(form, {40, 45});
  host_test::Release(form, {40, 45});
  EXPECT_EQ(form.clicks, QStringList{"Button"});
  // The bar takes no hits, so a press on it reaches the background beneath.
  host_test::Press(form, {100, 105}, Qt::RightButton);
  host_test::Release(form, {100, 105}, Qt::RightButton);
  EXPECT_EQ(form.downs, QStringList{"1 92,97"});

  clock.Advance(0.5);
  EXPECT_FLOAT_EQ(button->Position()->Y(), 40.0f);
  clock.Advance(0.6);
  EXPECT_FLOAT_EQ(button->Position()->Y(), 50.0f);
  EXPECT_EQ(button->Item()->pos(), QPointF(20, 50));
}

TEST_F(StoredForm, WrittenWindowReadsBackToTheSameText) {
  TStoredTestForm first;
  ostrel::host::ReadComponentInto(first, kText);
  const QString written = ostrel::host::WriteComponent(first);
  TStoredTestForm second;
  ostrel::host::ReadComponentInto(second, written);
  EXPECT_EQ(ostrel::host::WriteComponent(second), written);
  EXPECT_TRUE(written.contains(QStringLiteral("Margins.Bottom = 1"))) << written.toStdString();
  EXPECT_TRUE(written.contains(QStringLiteral("OnClick = ButtonClick")));
  EXPECT_FALSE(written.contains(QStringLiteral("Visible"))) << "defaults are not stored";
}

TEST_F(StoredForm, AnIntegerAnimationDrivesTheBarsPropertiesPositionAndTheFormKeepsIt) {
  const QString text = QStringLiteral(
      "object StoredTestForm: TStoredTestForm\n"
      "  object Bar: TStandInBar\n"
      "    Width = 638\n"
      "    Height = 4\n"
      "    Properties.Max = 60\n"
      "    Properties.Position = 5\n"
      "    object OperateAni: TIntAnimation\n"
      "      Duration = 15\n"
      "      Interpolation = Exponential\n"
      "      AnimationType = Out\n"
      "      PropertyName = 'Properties.Position'\n"
      "      StopValue = 99\n"
      "    end\n"
      "  end\n"
      "end\n");
  TStoredTestForm form;
  ostrel::host::ReadComponentInto(form, text);
  auto* bar = qobject_cast<TStandInBar*>(form.FindComponent(QStringLiteral("Bar")));
  auto* operate = qobject_cast<TIntAnimation*>(form.FindComponent(QStringLiteral("OperateAni")));
  ASSERT_TRUE(bar && operate);
  EXPECT_EQ(bar->Properties()->Position(), 5);
  const QString written = ostrel::host::WriteComponent(form);
  EXPECT_TRUE(written.contains(QStringLiteral("    Properties.Position = 5\n"))) << written.toStdString();
  EXPECT_TRUE(written.contains(QStringLiteral("      PropertyName = 'Properties.Position'\n")));

  operate->Start();
  EXPECT_EQ(bar->Properties()->Position(), 0);
  clock.Advance(1.5);
  EXPECT_EQ(bar->Properties()->Position(), 50) << "the control's own Position is not the one driven";
  EXPECT_FLOAT_EQ(bar->Position()->X(), 0.0f);
  clock.Advance(1.5);
  EXPECT_EQ(bar->Properties()->Position(), 60) << "the setter's own rules apply";
  const int writes = bar->Properties()->Writes;
  clock.Run(15);
  EXPECT_GT(bar->Properties()->Writes, writes);
  EXPECT_EQ(bar->Properties()->Position(), 60);
  EXPECT_FALSE(operate->Running());
}

#include "StoredForm_test.moc"
