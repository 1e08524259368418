// The form window, the published surface stored forms and animations use,
// and the services around the control tree: timer, bitmap, screen scale,
// glow and proxied widgets.

#include "skin/host/Bitmap.h"
#include "skin/host/Control.h"
#include "skin/host/Form.h"
#include "skin/host/GlowEffect.h"
#include "skin/host/Screen.h"
#include "skin/host/Timer.h"
#include "skin/host/WidgetProxy.h"
#include "tests/skin/host/HostTestSupport.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QEventLoop>
#include <QGraphicsItem>
#include <QGraphicsView>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace {

// A control that fills itself with one colour at its absolute opacity.
class Swatch : public TControl {
 public:
  Swatch(TComponent* AOwner, QColor AColor) : TControl(AOwner), FColor(AColor) {}

 protected:
  void Paint(QPainter& ACanvas) override {
    ACanvas.setOpacity(AbsoluteOpacity());
    ACanvas.fillRect(LocalRect(), FColor);
  }

 private:
  QColor FColor;
};

class HostServices : public ::testing::Test {
 protected:
  void SetUp() override { host_test::App(); }
};

// Runs the event loop until ADone says so or a generous limit passes.
template <class F>
void SpinUntil(F ADone) {
  QEventLoop loop;
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  limit.start(5000);
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (ADone()) loop.quit();
  });
  poll.start(1);
  loop.exec();
}

}  // namespace

TEST_F(HostServices, FormRunsOnCreateOnceBeforeItIsFirstShown) {
  TForm form;
  int created = 0;
  bool visibleDuringCreate = true;
  form.SetOnCreate([&](TObject*) {
    ++created;
    visibleDuringCreate = form.Visible();
  });
  form.Show();
  form.Hide();
  form.Show();
  EXPECT_EQ(created, 1);
  EXPECT_FALSE(visibleDuringCreate);

  // A form that is never shown still gets its OnCreate through DoCreate.
  TForm hidden;
  int hiddenCreated = 0;
  hidden.SetOnCreate([&](TObject*) { ++hiddenCreated; });
  hidden.DoCreate();
  hidden.DoCreate();
  EXPECT_EQ(hiddenCreated, 1);
  EXPECT_FALSE(hidden.Visible());
}

TEST_F(HostServices, FormWindowIsBorderlessTransparentOnTopAndCentred) {
  TForm form;
  form.SetClientSize(656, 376);
  form.SetBorderStyle(TFormBorderStyle::None);
  form.SetTransparency(true);
  form.SetFormStyle(TFormStyle::StayOnTop);
  form.SetPosition(TFormPosition::ScreenCenter);
  form.SetCaption(QStringLiteral("Install Ostrel"));
  form.Show();

  const QGraphicsView* view = form.View();
  EXPECT_TRUE(view->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(view->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(view->testAttribute(Qt::WA_TranslucentBackground));
  EXPECT_EQ(view->windowTitle(), QStringLiteral("Install Ostrel"));
  EXPECT_EQ(view->size(), QSize(656, 376));
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(view->geometry().center(), area.center());
}

// The window system learns that only a sizeable border resizes the window:
// asked to resize a fixed one (a tiling window manager, a maximize key), the
// window keeps its client size; a form made sizeable again gives way.
TEST_F(HostServices, OnlyASizeableFormWindowTakesAnotherSize) {
  TForm form;
  form.SetBorderStyle(TFormBorderStyle::None);
  form.SetClientSize(300, 200);
  form.Show();
  QGraphicsView* view = form.View();
  EXPECT_EQ(view->minimumSize(), QSize(300, 200));
  EXPECT_EQ(view->maximumSize(), QSize(300, 200));
  view->resize(500, 400);
  EXPECT_EQ(view->size(), QSize(300, 200));
  form.SetClientSize(320, 220);
  EXPECT_EQ(view->size(), QSize(320, 220));

  form.SetBorderStyle(TFormBorderStyle::Sizeable);
  view->resize(500, 400);
  EXPECT_EQ(view->size(), QSize(500, 400));
}

TEST_F(HostServices, PublishedPropertiesReachSubObjectsByPath) {
  TForm form;
  auto* control = new TControl(&form);
  control->SetParent(&form);
  // What a stored form or an animation does with "Position.Y", "Align" and "Margins.Bottom".
  auto* position = control->property("Position").value<QObject*>();
  ASSERT_NE(position, nullptr);
  ASSERT_TRUE(position->setProperty("Y", 42.5f));
  EXPECT_EQ(control->Item()->pos(), QPointF(0, 42.5));
  ASSERT_TRUE(control->setProperty("Align", QStringLiteral("Bottom")));
  EXPECT_EQ(control->Align(), TAlignLayout::Bottom);
  auto* margins = control->property("Margins").value<QObject*>();
  ASSERT_NE(margins, nullptr);
  ASSERT_TRUE(margins->setProperty("Bottom", 3.0f));
  EXPECT_FLOAT_EQ(control->Margins()->Bottom(), 3.0f);
  ASSERT_TRUE(control->setProperty("Opacity", 0.25));
  EXPECT_FLOAT_EQ(control->Opacity(), 0.25f);
  EXPECT_TRUE(control->EventNames().contains(QStringLiteral("OnClick")));
}

TEST_F(HostServices, StyleBookReferenceIsClearedWhenTheStyleBookGoesAway) {
  TForm form;
  auto* book = new TComponent(&form);
  form.SetStyleBook(book);
  EXPECT_EQ(form.property("StyleBook").value<TComponent*>(), book);
  // Changing owners is not going away.
  TComponent other;
  form.RemoveComponent(book);
  other.InsertComponent(book);
  EXPECT_EQ(form.StyleBook(), book);
  delete book;
  EXPECT_EQ(form.StyleBook(), nullptr);
}

TEST_F(HostServices, RenderedFormIsTransparentWhereNothingIsDrawn) {
  TForm form;
  form.SetClientSize(40, 40);
  form.SetTransparency(true);
  auto* swatch = new Swatch(&form, Qt::red);
  swatch->SetBounds(10, 10, 20, 20);
  swatch->SetParent(&form);
  const QImage image = form.RenderToImage();
  EXPECT_EQ(image.pixelColor(20, 20), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(2, 2).alpha(), 0);
}

// The shown window is what its repaints leave in the backing store. The view
// paints every pixel beneath the controls itself, so where a control was, the
// window shows what it shows where nothing is drawn.
TEST_F(HostServices, RepaintedWindowKeepsNothingOfAControlThatMovedAway) {
  for (const bool transparent : {true, false}) {
    SCOPED_TRACE(transparent ? "transparent" : "opaque");
    TForm form;
    form.SetClientSize(80, 60);
    form.SetBorderStyle(TFormBorderStyle::None);
    form.SetTransparency(transparent);
    auto* swatch = new Swatch(&form, Qt::red);
    swatch->SetBounds(10, 10, 20, 20);
    swatch->SetParent(&form);
    form.Show();
    const auto shown = [&] {
      QCoreApplication::processEvents();
      return QGuiApplication::primaryScreen()->grabWindow(form.View()->winId()).toImage();
    };
    ASSERT_EQ(shown().pixelColor(20, 20), QColor(Qt::red));

    swatch->SetBounds(50, 30, 20, 20);
    const QImage after = shown();
    EXPECT_EQ(after.pixelColor(60, 40), QColor(Qt::red));
    // As where nothing was ever drawn (the offscreen platform's store has no
    // alpha: a transparent pixel is black there).
    EXPECT_EQ(after.pixelColor(20, 20), after.pixelColor(2, 2));
    if (!transparent) {
      EXPECT_EQ(after.pixelColor(20, 20), form.View()->palette().window().color());
    }
  }
}

TEST_F(HostServices, TimerFiresWhileEnabledOnlyAfterLoadingAndWithAHandler) {
  TTimer timer;
  timer.SetLoading(true);
  timer.SetInterval(5);
  int ticks = 0;
  timer.SetOnTimer([&ticks](TObject*) { ++ticks; });
  EXPECT_FALSE(timer.Running());
  timer.Loaded();
  EXPECT_TRUE(timer.Running());
  SpinUntil([&] { return ticks >= 2; });
  EXPECT_GE(ticks, 2);

  timer.SetEnabled(false);
  EXPECT_FALSE(timer.Running());
  timer.SetEnabled(true);
  timer.SetOnTimer(nullptr);
  EXPECT_FALSE(timer.Running());
  timer.SetOnTimer([](TObject*) {});
  timer.SetInterval(0);
  EXPECT_FALSE(timer.Running());
}

TEST_F(HostServices, BitmapSizesLoadsAndSavesPng) {
  TBitmap bitmap;
  EXPECT_TRUE(bitmap.IsEmpty());
  bitmap.SetSize(3, 2);
  EXPECT_FALSE(bitmap.IsEmpty());
  EXPECT_EQ(bitmap.Image().format(), QImage::Format_ARGB32_Premultiplied);
  EXPECT_EQ(bitmap.Image().pixel(2, 1), 0u);

  QImage source(4, 3, QImage::Format_ARGB32);
  source.fill(QColor(0, 146, 202));
  source.setPixelColor(1, 1, QColor(255, 0, 0, 128));
  bitmap.SetImage(source);
  const QByteArray png = bitmap.SaveToStream();
  ASSERT_TRUE(png.startsWith("\x89PNG"));

  TBitmap copy;
  copy.LoadFromStream(png);
  EXPECT_EQ(copy.Width(), 4);
  EXPECT_EQ(copy.Height(), 3);
  EXPECT_EQ(copy.Image().pixelColor(0, 0), QColor(0, 146, 202));
  EXPECT_EQ(copy.Image().pixelColor(1, 1).alpha(), 128);

  // Other common formats load too.
  QByteArray bmp;
  QBuffer buffer(&bmp);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(source.save(&buffer, "BMP"));
  TBitmap fromBmp;
  fromBmp.LoadFromStream(bmp);
  EXPECT_EQ(fromBmp.Image().size(), QSize(4, 3));

  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("p.png"));
  copy.SaveToFile(file);
  TBitmap fromFile;
  fromFile.LoadFromFile(file);
  EXPECT_EQ(fromFile.Image(), copy.Image());
}

TEST_F(HostServices, BitmapKeepsItsPictureWhenLoadingFails) {
  TBitmap bitmap(2, 2);
  bitmap.Clear(0xFF00FF00u);
  const QByteArray png = bitmap.SaveToStream();
  const QByteArray bad[] = {QByteArray("not a picture"), png.left(png.size() / 2), QByteArray()};
  for (const QByteArray& bytes : bad) {
    EXPECT_THROW(bitmap.LoadFromStream(bytes), EInvalidGraphic);
    EXPECT_EQ(bitmap.Image().pixelColor(1, 1), QColor(Qt::green));
  }
  EXPECT_THROW(bitmap.LoadFromFile(QStringLiteral("/nonexistent/x.png")), EFOpenError);
  EXPECT_THROW(TBitmap().SaveToFile(QStringLiteral("/nonexistent/x.png")), EInvalidGraphic);
}

TEST_F(HostServices, ScreenScaleCanBeFixedForAScope) {
  const float real = ostrel::host::GetScreenScale();
  EXPECT_GT(real, 0.0f);
  {
    ostrel::host::ScopedScreenScale scale(1.5f);
    EXPECT_FLOAT_EQ(ostrel::host::GetScreenScale(), 1.5f);
  }
  EXPECT_FLOAT_EQ(ostrel::host::GetScreenScale(), real);
}

TEST_F(HostServices, GlowDrawsAShadowAroundItsControlAndComesOffAgain) {
  TForm form;
  form.SetClientSize(100, 100);
  form.SetTransparency(true);
  auto* swatch = new Swatch(&form, Qt::white);
  swatch->SetBounds(20, 20, 60, 60);
  swatch->SetParent(&form);
  auto* glow = new TGlowEffect(&form);
  glow->SetGlowColor(claBlack);
  glow->SetOpacity(0.5f);
  glow->SetParentComponent(swatch);

  ASSERT_NE(glow->Shadow(), nullptr);
  EXPECT_EQ(swatch->Item()->boundingRect(), QRectF(-8, -8, 76, 76)) << "the shadow's reach is repainted with it";

  QImage image = form.RenderToImage();
  EXPECT_EQ(image.pixelColor(50, 50), QColor(Qt::white));
  EXPECT_GT(image.pixelColor(18, 50).alpha(), 0);  // just outside the control
  EXPECT_EQ(image.pixelColor(2, 2).alpha(), 0);    // far outside

  delete glow;
  EXPECT_EQ(swatch->Item()->boundingRect(), QRectF(0, 0, 60, 60));
  image = form.RenderToImage();
  EXPECT_EQ(image.pixelColor(18, 50).alpha(), 0);

  // The control going first takes its item with it; the glow just forgets it.
  auto* second = new TGlowEffect(&form);
  second->SetParent(swatch);
  delete swatch;
  EXPECT_EQ(second->Parent(), nullptr);
}

TEST_F(HostServices, ProxiedWidgetGetsPointerInputUnlessAControlLiesAbove) {
  TForm form;
  form.SetClientSize(200, 100);
  form.Show();
  auto* proxy = new TWidgetProxy(&form);
  proxy->SetBounds(10, 10, 100, 30);
  proxy->SetParent(&form);
  auto button = std::make_unique<QPushButton>(QStringLiteral("Go"));
  QPointer<QPushButton> pushButton = button.get();
  proxy->SetWidget(std::move(button));
  int clicked = 0;
  QObject::connect(pushButton, &QPushButton::clicked, [&clicked] { ++clicked; });
  EXPECT_EQ(pushButton->size(), QSize(100, 30));

  int proxyDowns = 0;
  proxy->SetOnMouseDown([&proxyDowns](TObject*, TMouseButton, TShiftState, float, float) { ++proxyDowns; });
  host_test::Press(form, {50, 20});
  host_test::Release(form, {50, 20});
  EXPECT_EQ(clicked, 1);
  EXPECT_EQ(proxyDowns, 1);

  auto* cover = new TControl(&form);
  cover->SetBounds(40, 0, 40, 50);
  cover->SetParent(&form);
  host_test::Press(form, {50, 20});
  host_test::Release(form, {50, 20});
  EXPECT_EQ(clicked, 1);

  proxy->SetOpacity(0.5f);
  EXPECT_DOUBLE_EQ(proxy->Proxy()->opacity(), 0.5);
  proxy->SetEnabled(false);
  EXPECT_FALSE(pushButton->isEnabled());

  delete proxy;
  EXPECT_TRUE(pushButton.isNull());
}
