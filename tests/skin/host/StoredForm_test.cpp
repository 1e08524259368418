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

class StoredForm : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    host_test::App();
    ostrel::host::RegisterHostClasses();
    ostrel::host::RegisterAnimationClasses();
    ostrel::host::RegisterClass<TStoredTestForm>();
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
  EXPECT_NE(back->Item()->graphicsEffect(), nullptr);

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

#include "StoredForm_test.moc"
