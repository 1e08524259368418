// The progress bar family: a new bar, the value rules with their events and
// repaints, the two looks through a recording device and on pixels, stored
// forms (out-of-range values clamped, the orientation kept), the material's
// stored node and copy, item binding and the install animation's path.

#include "skin/base/uQtDrawCanvas.h"
#include "skin/controls/uSkinProgressBarType.h"
#include "skin/host/Animation.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"
#include "skin/host/FrameClock.h"
#include "skin/host/HostClasses.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/skin/host/HostTestSupport.h"
#include "tests/support/LogCapture.h"
#include "tests/support/RecordingPaintDevice.h"
#include "tests/support/SkinTestFamily.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>

#include <memory>
#include <vector>

using paint_record::Op;
using paint_record::OpKind;

namespace {

// The bar with its protected paint reachable and its repaint requests counted.
class TTestProgressBar : public TSkinFMXProgressBar {
  Q_OBJECT

 public:
  using TSkinFMXProgressBar::TSkinFMXProgressBar;
  void PaintTo(QPainter& ACanvas) { Paint(ACanvas); }
  void Invalidate() override {
    ++InvalidateCount;
    TSkinFMXProgressBar::Invalidate();
  }
  int InvalidateCount = 0;
};

// Columns of one colour each, so a pixel tells which part of the picture landed there.
QImage Columns(int AWidth, int AHeight, std::initializer_list<QColor> AColors) {
  QImage image(AWidth, AHeight, QImage::Format_ARGB32);
  const int columns = static_cast<int>(AColors.size());
  int column = 0;
  for (const QColor& color : AColors) {
    for (int x = column * AWidth / columns; x < (column + 1) * AWidth / columns; ++x) {
      for (int y = 0; y < AHeight; ++y) image.setPixelColor(x, y, color);
    }
    ++column;
  }
  return image;
}

class ProgressBarTest : public testing::Test {
 protected:
  void SetUp() override {
    host_test::App();
    ostrel::host::RegisterHostClasses();
    ostrel::skin::StartSkinLibrary({&ostrel::skin::RegisterSkinCoreFamily, &RegisterSkinProgressBarFamily});
  }

  TTestProgressBar* NewBar(const QString& ATypeName = QString()) {
    auto* bar = new TTestProgressBar(&FOwner);
    if (!ATypeName.isEmpty()) bar->SetComponentTypeName(ATypeName);
    return bar;
  }

  static std::vector<Op> Record(TTestProgressBar& ABar) {
    paint_record::RecordingPaintDevice device;
    {
      QPainter painter(&device);
      ABar.PaintTo(painter);
      EXPECT_FALSE(painter.hasClipping()) << "the bar resets its clip";
    }
    return device.Ops();
  }

  static QImage Render(TTestProgressBar& ABar) { return controls_test::RenderControl(ABar); }

  static std::vector<QString> Texts(const std::vector<Op>& AOps) {
    std::vector<QString> texts;
    for (const Op& op : AOps) {
      if (op.Kind == OpKind::Text) texts.push_back(op.Text);
    }
    return texts;
  }

  TComponent FOwner;
};

TEST_F(ProgressBarTest, ANewBarHasItsSizeRangeAndDefaultLook) {
  TTestProgressBar* bar = NewBar();
  EXPECT_EQ(bar->Width(), 120);
  EXPECT_EQ(bar->Height(), 22);
  TProgressBarProperties* properties = bar->Prop();
  EXPECT_EQ(properties->Min(), 0);
  EXPECT_EQ(properties->Max(), 100);
  EXPECT_EQ(properties->Position(), 0);
  EXPECT_EQ(properties->Orientation(), TProgressBarOrientation::prHorizontal);
  EXPECT_EQ(properties->GetComponentClassify(), QStringLiteral("SkinProgressBar"));
  EXPECT_TRUE(TControlTypeClass::Of<TSkinProgressBarDefaultType>().IsClassOf(bar->SkinControlType()));
  ASSERT_NE(bar->Material(), nullptr);
  EXPECT_EQ(bar->CurrentUseMaterialToDefault(), bar->Material());

  bar->Material()->SetIsDrawPercent(true);
  EXPECT_EQ(Texts(Record(*bar)), std::vector<QString>{QStringLiteral("0%")});

  TTestProgressBar* colour = NewBar(QStringLiteral("Color"));
  EXPECT_TRUE(TControlTypeClass::Of<TSkinProgressBarColorType>().IsClassOf(colour->SkinControlType()));
  EXPECT_NE(dynamic_cast<TSkinProgressBarColorMaterial*>(colour->CurrentUseMaterial()), nullptr);
  EXPECT_EQ(colour->Material(), nullptr) << "the default-typed view of another material";
}

TEST_F(ProgressBarTest, ValueRulesClampAndFireOnceForARealChange) {
  TTestProgressBar* bar = NewBar();
  std::vector<TObject*> senders;
  bar->SetOnChange([&](TObject* ASender) { senders.push_back(ASender); });
  TProgressBarProperties* p = bar->Prop();

  struct Row {
    const char* Name;
    void (*Set)(TProgressBarProperties&);
    std::int32_t Min, Max, Position;
    bool Fires;
  };
  const Row rows[] = {
      {"beyond the maximum", [](TProgressBarProperties& q) { q.SetPosition(150); }, 0, 100, 100, true},
      {"the same again", [](TProgressBarProperties& q) { q.SetPosition(100); }, 0, 100, 100, false},
      {"above the maximum again clamps to the same", [](TProgressBarProperties& q) { q.SetPosition(170); }, 0, 100,
       100, false},
      {"below the minimum", [](TProgressBarProperties& q) { q.SetPosition(-5); }, 0, 100, 0, true},
      {"a lower maximum pulls a position down", [](TProgressBarProperties& q) { q.SetPosition(80); }, 0, 100, 80, true},
      {"", [](TProgressBarProperties& q) { q.SetMax(50); }, 0, 50, 50, true},
      {"a higher minimum pushes it up", [](TProgressBarProperties& q) { q.SetMin(60); }, 60, 50, 50, true},
      {"minimum above maximum gives the maximum", [](TProgressBarProperties& q) { q.SetPosition(55); }, 60, 50, 50,
       false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    senders.clear();
    bar->InvalidateCount = 0;
    row.Set(*p);
    EXPECT_EQ(p->Min(), row.Min);
    EXPECT_EQ(p->Max(), row.Max);
    EXPECT_EQ(p->Position(), row.Position);
    EXPECT_EQ(senders, row.Fires ? std::vector<TObject*>{p} : std::vector<TObject*>{});
    EXPECT_EQ(bar->InvalidateCount, row.Fires ? 1 : 0);
  }

  senders.clear();
  bar->InvalidateCount = 0;
  p->SetStaticPosition(500);
  EXPECT_EQ(p->Position(), 500) << "the static position is taken as it is";
  EXPECT_TRUE(senders.empty());
  EXPECT_EQ(bar->InvalidateCount, 0);
}

TEST_F(ProgressBarTest, PercentageTextIsRoundedDownAndFollowsThePosition) {
  TTestProgressBar* bar = NewBar();
  bar->Material()->SetIsDrawPercent(true);
  struct Row {
    std::int32_t Min, Max, Position;
    const char* Text;
  };
  const Row rows[] = {{0, 0, 0, "0%"}, {0, 100, 33, "33%"}, {0, 3, 2, "66%"}, {0, 100, 29, "29%"}, {0, 100, 100, "100%"}};
  for (const Row& row : rows) {
    bar->Prop()->SetMin(row.Min);
    bar->Prop()->SetMax(row.Max);
    bar->Prop()->SetPosition(row.Position);
    EXPECT_EQ(Texts(Record(*bar)), std::vector<QString>{QLatin1String(row.Text)}) << row.Text;
  }

  // The caption follows the percentage, each with its own parameter.
  bar->SetText(QStringLiteral("Installing"));
  bar->Material()->DrawCaptionParam()->SetFontSize(20);
  const std::vector<Op> ops = Record(*bar);
  ASSERT_EQ(Texts(ops), (std::vector<QString>{QStringLiteral("100%"), QStringLiteral("Installing")}));
  std::vector<double> sizes;
  for (const Op& op : ops) {
    if (op.Kind == OpKind::Text) sizes.push_back(op.FontPixels);
  }
  EXPECT_LT(sizes[0], sizes[1]);
}

// The default look with a fore picture whose ends differ from its middle.
class ProgressBarPictureTest : public ProgressBarTest {
 protected:
  void SetUp() override {
    ProgressBarTest::SetUp();
    FBar = NewBar();
    FBar->SetSize(120, 10);
    TSkinProgressBarDefaultMaterial* m = FBar->Material();
    m->HorzForeGndPicture()->SetImage(Columns(30, 10, {Qt::blue, Qt::red, Qt::green}));
    m->VertForeGndPicture()->SetImage(Columns(10, 30, {Qt::blue}));
    m->ForeGndDrawPictureParam()->SetIsStretch(true);
  }

  // The fore picture's draws: every image op, as no back picture is set.
  std::vector<Op> ForeOps() {
    std::vector<Op> images;
    for (const Op& op : Record(*FBar)) {
      if (op.Kind == OpKind::Image || op.Kind == OpKind::Pixmap) images.push_back(op);
    }
    return images;
  }

  static QRectF Union(const std::vector<Op>& AOps) {
    QRectF bounds;
    for (const Op& op : AOps) bounds |= op.Rect;
    return bounds;
  }

  TTestProgressBar* FBar = nullptr;
};

TEST_F(ProgressBarPictureTest, ClippedTheWholePictureIsRevealedUpToThePositionElseItIsSqueezedIntoIt) {
  struct Row {
    const char* Name;
    bool Clip;
    TProgressBarOrientation Orientation;
    std::int32_t Position;
    QRectF Percent;
  };
  const Row rows[] = {
      {"clipped, a quarter", true, TProgressBarOrientation::prHorizontal, 25, {0, 0, 30, 10}},
      {"clipped, the end", true, TProgressBarOrientation::prHorizontal, 100, {0, 0, 120, 10}},
      {"squeezed, a quarter", false, TProgressBarOrientation::prHorizontal, 25, {0, 0, 30, 10}},
      {"vertical grows from the top", false, TProgressBarOrientation::prVertical, 50, {0, 0, 10, 60}},
  };
  // The whole picture over the whole bar: what a clipped bar reveals part of.
  FBar->Material()->SetIsClipPercentRect(false);
  FBar->Prop()->SetPosition(100);
  const std::vector<Op> whole = ForeOps();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    FBar->Prop()->SetOrientation(row.Orientation);
    FBar->Material()->SetIsClipPercentRect(row.Clip);
    FBar->Prop()->SetPosition(row.Position);
    const std::vector<Op> fore = ForeOps();
    ASSERT_FALSE(fore.empty());
    // Clipped, the whole picture's pieces are cut at the position by hand
    // (no painter clip): each keeps its place and scale.
    EXPECT_EQ(Union(fore), row.Percent);
    for (const Op& op : fore) {
      EXPECT_TRUE(op.Clip.isNull());
      if (!row.Clip) continue;
      const auto piece = std::find_if(whole.begin(), whole.end(), [&](const Op& w) {
        return w.Rect.left() == op.Rect.left() && w.Source.left() == op.Source.left();
      });
      ASSERT_NE(piece, whole.end()) << op.Rect.left();
      EXPECT_NEAR(op.Rect.width() / op.Source.width(), piece->Rect.width() / piece->Source.width(), 1e-9);
    }
    FBar->Prop()->SetOrientation(TProgressBarOrientation::prHorizontal);
  }
  // Both pictures stretch in three parts along the bar.
  Record(*FBar);
  EXPECT_EQ(FBar->Material()->ForeGndDrawPictureParam()->StretchStyle(), TPictureStretchStyle::issThreePartHorz);
  EXPECT_EQ(FBar->Material()->BackGndDrawPictureParam()->StretchStyle(), TPictureStretchStyle::issThreePartHorz);
}

TEST_F(ProgressBarPictureTest, ClippedTheRightEndStaysHiddenUntilTheEndWhileSqueezedItAlwaysShows) {
  const QColor green(Qt::green);
  FBar->Prop()->SetPosition(50);
  FBar->Material()->SetIsClipPercentRect(true);
  QImage half = Render(*FBar);
  EXPECT_EQ(half.pixelColor(3, 5), QColor(Qt::blue)) << "the left end";
  EXPECT_EQ(half.pixelColor(55, 5), QColor(Qt::red)) << "the stretched middle";
  EXPECT_EQ(half.pixelColor(62, 5).alpha(), 0) << "nothing past the position";
  for (int x = 0; x < half.width(); ++x) ASSERT_NE(half.pixelColor(x, 5), green) << x;

  FBar->Material()->SetIsClipPercentRect(false);
  const QImage squeezed = Render(*FBar);
  EXPECT_EQ(squeezed.pixelColor(57, 5), green) << "the right end at the position";
  EXPECT_EQ(squeezed.pixelColor(62, 5).alpha(), 0);

  // At the end, revealing the whole picture is drawing it whole.
  FBar->Prop()->SetPosition(100);
  const QImage unclipped = Render(*FBar);
  FBar->Material()->SetIsClipPercentRect(true);
  EXPECT_EQ(Render(*FBar), unclipped);
}

TEST_F(ProgressBarPictureTest, ASecondPaintChangesNoParameterAndAsksNoRepaint) {
  FBar->Prop()->SetOrientation(TProgressBarOrientation::prVertical);
  Record(*FBar);
  FBar->InvalidateCount = 0;
  Record(*FBar);
  EXPECT_EQ(FBar->InvalidateCount, 0);
  EXPECT_EQ(FBar->Material()->ForeGndDrawPictureParam()->StretchStyle(), TPictureStretchStyle::issThreePartVert);
}

TEST_F(ProgressBarTest, TheColourLookFillsFromItsEdgeOrFromTheOtherWhenReversed) {
  TTestProgressBar* bar = NewBar(QStringLiteral("Color"));
  bar->SetSize(100, 20);
  auto* m = dynamic_cast<TSkinProgressBarColorMaterial*>(bar->CurrentUseMaterial());
  ASSERT_NE(m, nullptr);
  m->ForeColor()->SetIsFill(true);
  m->ForeColor()->FillDrawColor()->SetColor(0xFF0092CA);
  bar->Prop()->SetPosition(30);
  struct Row {
    const char* Name;
    TProgressBarOrientation Orientation;
    bool Reverse;
    bool Clip;
    QRectF Fill;
    QRectF Clipped;
  };
  const Row rows[] = {
      {"from the left", TProgressBarOrientation::prHorizontal, false, false, {0, 0, 30, 20}, {}},
      {"reversed from the right", TProgressBarOrientation::prHorizontal, true, false, {70, 0, 30, 20}, {}},
      {"reversed and clipped", TProgressBarOrientation::prHorizontal, true, true, {0, 0, 100, 20}, {70, 0, 30, 20}},
      {"vertical from the top", TProgressBarOrientation::prVertical, false, false, {0, 0, 20, 30}, {}},
      {"vertical reversed from the bottom", TProgressBarOrientation::prVertical, true, false, {0, 70, 20, 30}, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    bar->Prop()->SetOrientation(row.Orientation);
    m->SetIsReverse(row.Reverse);
    m->SetIsClipPercentRect(row.Clip);
    const std::vector<Op> ops = Record(*bar);
    ASSERT_EQ(ops.size(), 1u) << testing::PrintToString(ops);
    EXPECT_EQ(ops[0].Rect, row.Fill);
    EXPECT_EQ(ops[0].Brush, QColor(0x00, 0x92, 0xCA));
    EXPECT_EQ(ops[0].Clip, row.Clipped);
    bar->Prop()->SetOrientation(TProgressBarOrientation::prHorizontal);
  }
}

// A canvas whose rectangles fail, as a host canvas that lost its device might.
class TFailingRectCanvas : public TQtDrawCanvas {
 public:
  bool DrawRect(TBaseDrawRectParam*, const TRectF&) override { throw Exception(QStringLiteral("device lost")); }
};

TEST_F(ProgressBarTest, AFailingColourPaintIsLoggedWithItsStepAndLeavesNoClip) {
  TTestProgressBar* bar = NewBar(QStringLiteral("Color"));
  bar->SetSize(100, 20);
  auto* m = dynamic_cast<TSkinProgressBarColorMaterial*>(bar->CurrentUseMaterial());
  ASSERT_NE(m, nullptr);
  m->SetIsClipPercentRect(true);
  bar->Prop()->SetPosition(30);
  LogCapture log;
  paint_record::RecordingPaintDevice device;
  QPainter painter(&device);
  TFailingRectCanvas canvas;
  canvas.Prepare(&painter);
  TSkinControlType* type = bar->SkinControlType();
  EXPECT_FALSE(type->CustomPaint(canvas, m, bar->LocalRect(), TPaintData{}));
  EXPECT_FALSE(painter.hasClipping()) << "the clip is reset when the fill fails";
  canvas.UnPrepare();
  ASSERT_EQ(log.Lines().size(), 1);
  const QString line = log.Lines().first();
  EXPECT_TRUE(line.contains(QStringLiteral("Exception:device lost"))) << line.toStdString();
  EXPECT_TRUE(line.contains(QStringLiteral("TSkinProgressBarColorType.CustomPaint GetUpSpaceDrawRect 3 0,0,30,20,")))
      << line.toStdString();
}

TEST_F(ProgressBarTest, DegenerateBarsPaintWithoutFault) {
  for (const QString& type : {QStringLiteral("Default"), QStringLiteral("Color")}) {
    TTestProgressBar* bar = NewBar(type);
    auto* m = dynamic_cast<TSkinProgressBarMaterial*>(bar->CurrentUseMaterial());
    ASSERT_NE(m, nullptr);
    m->SetIsDrawPercent(true);
    m->SetIsClipPercentRect(true);
    struct Row {
      float Width, Height;
      std::int32_t Min, Max, Position;
    };
    const Row rows[] = {{0, 0, 0, 100, 50},
                        {120, 22, 5, 5, 5},
                        {120, 22, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(),
                         std::numeric_limits<std::int32_t>::max()},
                        {120, 22, 100, 0, 0}};
    for (const Row& row : rows) {
      bar->SetSize(row.Width, row.Height);
      bar->Prop()->SetMax(row.Max);
      bar->Prop()->SetMin(row.Min);
      bar->Prop()->SetPosition(row.Position);
      for (const Op& op : Record(*bar)) {
        EXPECT_GE(op.Rect.left(), -0.001);
        EXPECT_LE(op.Rect.right(), row.Width + 0.001) << "nothing beyond the track";
      }
    }
  }
}

TEST_F(ProgressBarTest, OrientationSwapsTheSizeExceptWhileLoading) {
  TTestProgressBar* bar = NewBar();
  bar->Position()->SetPoint(TPointF(7, 9));
  bar->Prop()->SetOrientation(TProgressBarOrientation::prVertical);
  EXPECT_EQ(bar->Width(), 22);
  EXPECT_EQ(bar->Height(), 120);
  EXPECT_EQ(bar->Position()->Point(), TPointF(7, 9));
  bar->Prop()->SetOrientation(TProgressBarOrientation::prVertical);
  EXPECT_EQ(bar->Width(), 22) << "the same orientation swaps nothing";
}

TEST_F(ProgressBarTest, AStoredFormKeepsItsSizeAndClampsItsPositionWhateverTheOrderOfItsLines) {
  const QString text = QStringLiteral(
      "object Form1: TForm\n"
      "  object Tall: TSkinFMXProgressBar\n"
      "    Width = 4\n"
      "    Height = 300\n"
      "    Properties.Orientation = prVertical\n"
      "    Properties.Position = 150\n"
      "    Properties.Max = 120\n"
      "  end\n"
      "  object Over: TSkinFMXProgressBar\n"
      "    Properties.Position = 150\n"
      "  end\n"
      "  object Under: TSkinFMXProgressBar\n"
      "    Properties.Min = 10\n"
      "    Properties.Position = -3\n"
      "  end\n"
      "end\n");
  std::unique_ptr<TComponent> form = ostrel::host::ReadComponent(text);
  auto bar = [&](const char* AName) {
    auto* found = dynamic_cast<TSkinProgressBar*>(form->FindComponent(QLatin1String(AName)));
    EXPECT_NE(found, nullptr) << AName;
    return found->Prop();
  };
  EXPECT_EQ(bar("Tall")->Position(), 120) << "the maximum read after the position still counts";
  EXPECT_EQ(bar("Tall")->Orientation(), TProgressBarOrientation::prVertical);
  auto* tall = dynamic_cast<TSkinProgressBar*>(form->FindComponent(QStringLiteral("Tall")));
  EXPECT_EQ(tall->Width(), 4);
  EXPECT_EQ(tall->Height(), 300);
  EXPECT_EQ(bar("Over")->Position(), 100);
  EXPECT_EQ(bar("Under")->Position(), 10);

  const QString written = ostrel::host::WriteComponent(*form);
  EXPECT_TRUE(written.contains(QStringLiteral("Properties.Position = 120"))) << written.toStdString();
  std::unique_ptr<TComponent> again = ostrel::host::ReadComponent(written);
  EXPECT_EQ(ostrel::host::WriteComponent(*again), written);
}

TEST_F(ProgressBarTest, TheInstallAnimationMovesThePositionThroughItsPropertyPath) {
  ostrel::host::ManualFrameClock clock;
  ostrel::host::ScopedFrameClock useClock(clock);
  TTestProgressBar* bar = NewBar();
  int changes = 0;
  bar->SetOnChange([&](TObject*) { ++changes; });
  auto* animation = new TIntAnimation(&FOwner);
  animation->SetParent(bar);
  animation->SetPropertyName(QStringLiteral("Properties.Position"));
  animation->SetStartValue(0);
  animation->SetStopValue(99);
  animation->SetDuration(15);
  animation->Start();
  clock.Run(15.5);
  EXPECT_EQ(bar->Prop()->Position(), 99);
  EXPECT_GT(changes, 10);
  EXPECT_GT(bar->InvalidateCount, 10);
}

TEST_F(ProgressBarTest, ItemBindingSetsThePositionAsItIs) {
  TTestProgressBar* bar = NewBar();
  int changes = 0;
  bar->SetOnChange([&](TObject*) { ++changes; });
  struct Row {
    QVariant Value;
    std::int32_t Position;
  };
  const Row rows[] = {{QVariant(42), 42}, {QVariant(500), 500}, {QVariant(QStringLiteral("17")), 17},
                      {QVariant(QStringLiteral("abc")), 0}, {QVariant(2.0), 2}};
  for (const Row& row : rows) {
    bar->BindingItemValue(row.Value);
    EXPECT_EQ(bar->Prop()->Position(), row.Position) << row.Value.toString().toStdString();
  }
  bar->BindingItemText(QStringLiteral("-8"));
  EXPECT_EQ(bar->Prop()->Position(), -8);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(bar->InvalidateCount, 0);
}

TEST_F(ProgressBarTest, WithoutTheProgressBarInterfaceTheFamilyRefuses) {
  test_support::StartSkinTestFamily();
  TSkinTestBox box(&FOwner);
  const QString message = QStringLiteral("This Component Do not Support ISkinProgressBar Interface");
  try {
    TProgressBarProperties properties(&box);
    ADD_FAILURE() << "no refusal";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), message);
  }
  TSkinProgressBarDefaultType type;
  try {
    type.Bind(&box);
    ADD_FAILURE() << "no refusal";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

TEST_F(ProgressBarTest, TheMaterialFlagsNotifyOnChangeAndTravelThroughCopiesAndStoredNodes) {
  TSkinProgressBarDefaultMaterial source(&FOwner);
  int changes = 0;
  source.SetOnChange([&](TObject*) { ++changes; });
  source.SetIsDrawPercent(true);
  source.SetIsDrawPercent(true);
  source.SetIsClipPercentRect(true);
  EXPECT_EQ(changes, 2);

  TSkinProgressBarColorMaterial copy(&FOwner);
  copy.Assign(&source);
  EXPECT_TRUE(copy.IsDrawPercent());

  TBTDOC20 doc;
  TBTNode20_Class* node = doc.TopNode()->AddChildNode_Class(QStringLiteral("Material"));
  ASSERT_TRUE(source.SaveToDocNode(node));
  const TBTNodeList20& children = node->ChildNodes();
  ASSERT_GT(children.Count(), 0);
  EXPECT_EQ(children.GetItems(children.Count() - 1)->NodeName(), QStringLiteral("IsDrawPercent"));
  TSkinProgressBarDefaultMaterial loaded(&FOwner);
  ASSERT_TRUE(loaded.LoadFromDocNode(node));
  EXPECT_TRUE(loaded.IsDrawPercent());
}

}  // namespace

#include "uSkinProgressBar_test.moc"
