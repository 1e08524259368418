// Pointer, focus, opacity, clipping, alignment and paint rules of the control
// tree, driven through a real form window.

#include "skin/host/Control.h"
#include "skin/host/Form.h"
#include "tests/skin/host/HostTestSupport.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QGraphicsItem>
#include <QGraphicsView>
#include <QPainter>
#include <QPointer>
#include <QRegularExpression>
#include <QHelpEvent>
#include <QToolTip>

#include <limits>
#include <memory>

using host_test::DoublePress;
using host_test::Move;
using host_test::Press;
using host_test::Release;

namespace {

// Writes every hook it sees into a shared log as "Name.hook".
class Probe : public TControl {
 public:
  Probe(TComponent* AOwner, const QString& AName, QStringList& ALog) : TControl(AOwner), FLog(ALog) {
    SetName(AName);
  }

  void MouseDown(TMouseButton AButton, TShiftState AShift, float AX, float AY) override {
    FLog << QStringLiteral("%1.down(%2,%3)").arg(Name()).arg(AX).arg(AY);
    TControl::MouseDown(AButton, AShift, AX, AY);
  }
  void MouseMove(TShiftState AShift, float AX, float AY) override {
    FLog << QStringLiteral("%1.move").arg(Name());
    TControl::MouseMove(AShift, AX, AY);
  }
  void MouseUp(TMouseButton AButton, TShiftState AShift, float AX, float AY) override {
    FLog << QStringLiteral("%1.up").arg(Name());
    TControl::MouseUp(AButton, AShift, AX, AY);
  }
  void DoMouseEnter() override {
    FLog << QStringLiteral("%1.enter").arg(Name());
    TControl::DoMouseEnter();
  }
  void DoMouseLeave() override {
    FLog << QStringLiteral("%1.leave").arg(Name());
    TControl::DoMouseLeave();
  }
  void Click() override {
    // Still pressed and still captured while the click runs.
    FLog << QStringLiteral("%1.click(pressed=%2,captured=%3)")
                .arg(Name())
                .arg(Pressed())
                .arg(Form() != nullptr && Form()->Captured() == this);
    TControl::Click();
  }

 protected:
  void DoEnter() override {
    FLog << QStringLiteral("%1.focus").arg(Name());
    TControl::DoEnter();
  }
  void DoExit() override {
    FLog << QStringLiteral("%1.blur").arg(Name());
    TControl::DoExit();
  }
  void Paint(QPainter& ACanvas) override {
    const QPointF origin = ACanvas.worldTransform().map(QPointF(0, 0));
    FLog << QStringLiteral("%1.paint@%2,%3").arg(Name()).arg(origin.x()).arg(origin.y());
  }

 private:
  QStringList& FLog;
};

// Fills its rectangle with the painter's current brush, or with its own
// colour; with Scramble set it leaves the painter changed behind it.
class Filler : public TControl {
 public:
  Filler(TComponent* AOwner, QColor AColor) : TControl(AOwner), FColor(AColor) {}

  bool UsePainterBrush = false;
  bool Scramble = false;
  QPen SeenPen;
  QBrush SeenBrush;
  qreal SeenOpacity = -1;
  QPainter::CompositionMode SeenMode = QPainter::CompositionMode_Clear;
  bool SeenClipping = true;
  QPointF SeenOrigin;

 protected:
  void Paint(QPainter& ACanvas) override {
    SeenPen = ACanvas.pen();
    SeenBrush = ACanvas.brush();
    SeenOpacity = ACanvas.opacity();
    SeenMode = ACanvas.compositionMode();
    SeenClipping = ACanvas.hasClipping();
    SeenOrigin = ACanvas.worldTransform().map(QPointF(0, 0));
    ACanvas.fillRect(LocalRect(), UsePainterBrush ? ACanvas.brush() : QBrush(FColor));
    if (!Scramble) return;
    ACanvas.setPen(QPen(Qt::red, 7));
    ACanvas.setBrush(Qt::green);
    ACanvas.setOpacity(0.25);
    ACanvas.setCompositionMode(QPainter::CompositionMode_Clear);
    ACanvas.translate(13, 17);
    ACanvas.setClipRect(QRectF(0, 0, 1, 1));
  }

 private:
  QColor FColor;
};

class ControlTree : public ::testing::Test {
 protected:
  void SetUp() override {
    host_test::App();
    form = std::make_unique<TForm>();
    form->SetClientSize(200, 200);
    form->Show();
  }

  Probe* Add(const QString& AName, TComponent* AParent, float AX, float AY, float AW, float AH) {
    auto* probe = new Probe(form.get(), AName, log);
    probe->SetBounds(AX, AY, AW, AH);
    probe->SetParent(AParent);
    return probe;
  }

  QStringList log;
  std::unique_ptr<TForm> form;
};

}  // namespace

TEST_F(ControlTree, MovingBetweenControlsLeavesTheOldBeforeEnteringTheNew) {
  Probe* a = Add("A", form.get(), 0, 0, 50, 50);
  Probe* b = Add("B", form.get(), 50, 0, 50, 50);
  Move(*form, {10, 10});
  Move(*form, {60, 10});
  EXPECT_EQ(log, (QStringList{"A.enter", "A.move", "A.leave", "B.enter", "B.move"}));
  EXPECT_FALSE(a->IsMouseOver());
  EXPECT_TRUE(b->IsMouseOver());

  log.clear();
  Move(*form, {150, 150});
  EXPECT_EQ(log, (QStringList{"B.leave"}));
  EXPECT_EQ(form->Hovered(), nullptr);
}

TEST_F(ControlTree, PointerPassesThroughControlsThatTakeNoHits) {
  Probe* below = Add("Below", form.get(), 0, 0, 100, 100);
  Probe* above = Add("Above", form.get(), 0, 0, 100, 100);
  Probe* child = Add("Child", above, 10, 10, 20, 20);
  above->SetHitTest(false);

  Press(*form, {50, 50});
  Release(*form, {50, 50});
  EXPECT_EQ(log, (QStringList{"Below.enter", "Below.down(50,50)", "Below.click(pressed=1,captured=1)", "Below.up"}));

  // The children of a control without hit testing still take the pointer.
  EXPECT_EQ(form->ObjectAtPoint({15, 15}), child);
  // A hidden control (and its children) lets it through as well.
  above->SetVisible(false);
  EXPECT_EQ(form->ObjectAtPoint({15, 15}), below);
  // A disabled one does not: it is still the hit, and swallows it.
  above->SetVisible(true);
  above->SetEnabled(false);
  EXPECT_EQ(form->ObjectAtPoint({15, 15}), child);
  EXPECT_FALSE(child->AbsoluteEnabled());
}

TEST_F(ControlTree, ReleaseRunsClickTestThenMouseUpThenEndsCapture) {
  Probe* a = Add("A", form.get(), 0, 0, 50, 50);
  Press(*form, {10, 20});
  EXPECT_EQ(form->Captured(), a);
  EXPECT_TRUE(a->Pressed());
  Release(*form, {12, 22});
  EXPECT_EQ(log, (QStringList{"A.enter", "A.down(10,20)", "A.click(pressed=1,captured=1)", "A.up"}));
  EXPECT_EQ(form->Captured(), nullptr);
  EXPECT_FALSE(a->Pressed());
}

TEST_F(ControlTree, CapturedControlGetsMovesAndReleaseOutsideButNoClick) {
  Add("A", form.get(), 0, 0, 50, 50);
  Add("B", form.get(), 100, 0, 50, 50);
  Press(*form, {10, 10});
  Move(*form, {110, 10}, Qt::LeftButton);
  Release(*form, {110, 10});
  // No hover change while captured; once the capture ends the pointer's
  // real position takes the hover.
  EXPECT_EQ(log, (QStringList{"A.enter", "A.down(10,10)", "A.move", "A.up", "A.leave", "B.enter"}));
}

TEST_F(ControlTree, ClickNeedsALeftPressOnAnEnabledControl) {
  struct Case {
    const char* what;
    Qt::MouseButton button;
    bool disableWhilePressed;
    bool clicks;
  };
  const Case cases[] = {
      {"left", Qt::LeftButton, false, true},
      {"right", Qt::RightButton, false, false},
      {"left, disabled before the release", Qt::LeftButton, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto a = std::make_unique<Probe>(nullptr, "A", log);
    a->SetBounds(0, 0, 50, 50);
    a->SetParent(form.get());
    int clicks = 0;
    a->SetOnClick([&clicks](TObject*) { ++clicks; });
    Press(*form, {10, 10}, c.button);
    if (c.disableWhilePressed) a->SetEnabled(false);
    Release(*form, {10, 10}, c.button);
    EXPECT_EQ(clicks, c.clicks ? 1 : 0);
    EXPECT_EQ(form->Captured(), nullptr);
  }
}

TEST_F(ControlTree, DoubleClickPressNeverClicks) {
  Probe* a = Add("A", form.get(), 0, 0, 50, 50);
  int clicks = 0;
  a->SetOnClick([&clicks](TObject*) { ++clicks; });
  Press(*form, {10, 10});
  Release(*form, {10, 10});
  DoublePress(*form, {10, 10});
  EXPECT_TRUE(a->DoubleClick());
  EXPECT_FALSE(a->Pressed());
  Release(*form, {10, 10});
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(a->DoubleClick());
}

TEST_F(ControlTree, PressMovesFocusWithExitBeforeEnter) {
  Probe* a = Add("A", form.get(), 0, 0, 50, 50);
  Probe* b = Add("B", form.get(), 50, 0, 50, 50);
  Probe* plain = Add("Plain", form.get(), 100, 0, 50, 50);
  a->SetCanFocus(true);
  b->SetCanFocus(true);
  QStringList events;
  a->SetOnEnter([&events](TObject*) { events << "A.OnEnter"; });
  a->SetOnExit([&events](TObject*) { events << "A.OnExit"; });
  b->SetOnEnter([&events](TObject*) { events << "B.OnEnter"; });

  Press(*form, {10, 10});
  Release(*form, {10, 10});
  EXPECT_TRUE(a->IsFocused());
  Press(*form, {60, 10});
  Release(*form, {60, 10});
  EXPECT_TRUE(b->IsFocused());
  EXPECT_FALSE(a->IsFocused());
  EXPECT_EQ(events, (QStringList{"A.OnEnter", "A.OnExit", "B.OnEnter"}));
  EXPECT_EQ(log.filter(QRegularExpression("focus|blur")), (QStringList{"A.focus", "A.blur", "B.focus"}));

  // A control that cannot take the focus leaves it where it is.
  Press(*form, {110, 10});
  Release(*form, {110, 10});
  EXPECT_TRUE(b->IsFocused());
  plain->SetFocus();
  EXPECT_EQ(form->FocusedControl(), b);

  // Disabling the focused control moves the focus on, as Tab would.
  b->SetEnabled(false);
  EXPECT_EQ(form->FocusedControl(), a);
  EXPECT_EQ(log.mid(log.size() - 2), (QStringList{"B.blur", "A.focus"}));
}

TEST_F(ControlTree, OpacityMultipliesUpTheTreeAndQtOpacityStaysOne) {
  Probe* parent = Add("P", form.get(), 0, 0, 100, 100);
  Probe* child = Add("C", parent, 0, 0, 50, 50);
  parent->SetOpacity(0.5f);
  child->SetOpacity(0.5f);
  EXPECT_FLOAT_EQ(child->AbsoluteOpacity(), 0.25f);
  EXPECT_FLOAT_EQ(parent->AbsoluteOpacity(), 0.5f);
  EXPECT_DOUBLE_EQ(child->Item()->effectiveOpacity(), 1.0);
  child->SetParent(form.get());
  EXPECT_FLOAT_EQ(child->AbsoluteOpacity(), 0.5f);
}

TEST_F(ControlTree, ClippedAwayPartOfAChildTakesNoPointer) {
  struct Case {
    bool clip;
    QPointF point;
    const char* expected;
  };
  const Case cases[] = {
      {true, {60, 60}, "Back"},   // child's part outside the parent is clipped away
      {true, {45, 45}, "Child"},  // inside both
      {false, {60, 60}, "Child"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clip ? "clipping" : "not clipping");
    TForm local;
    local.SetClientSize(200, 200);
    local.Show();
    QStringList events;
    Probe back(nullptr, "Back", events);
    back.SetBounds(0, 0, 200, 200);
    back.SetParent(&local);
    Probe parent(nullptr, "Parent", events);
    parent.SetBounds(0, 0, 50, 50);
    parent.SetHitTest(false);
    parent.SetClipChildren(c.clip);
    parent.SetParent(&local);
    Probe child(nullptr, "Child", events);
    child.SetBounds(40, 40, 30, 30);
    child.SetParent(&parent);

    Press(local, c.point);
    Release(local, c.point);
    ASSERT_FALSE(events.isEmpty());
    EXPECT_TRUE(events.contains(QStringLiteral("%1.up").arg(c.expected))) << events.join(' ').toStdString();
    EXPECT_EQ(events.filter(".up").size(), 1);
  }
}

TEST_F(ControlTree, AlignBottomHonoursMarginsAndFollowsTheParent) {
  Probe* bg = Add("Bg", form.get(), 8, 8, 640, 360);
  Probe* bar = Add("Bar", bg, 0, 0, 100, 4);
  bar->Margins()->SetBounds(1, 0, 1, 1);
  bar->SetAlign(TAlignLayout::Bottom);
  EXPECT_EQ(bar->BoundsRect(), QRectF(1, 355, 638, 4));

  bg->SetSize(300, 200);
  EXPECT_EQ(bar->BoundsRect(), QRectF(1, 195, 298, 4));

  // The parent's padding keeps aligned children away from its edges.
  bg->Padding()->SetBounds(5, 0, 10, 20);
  EXPECT_EQ(bar->BoundsRect(), QRectF(6, 175, 283, 4));

  // While a form is being read the layout waits for Loaded.
  Probe* late = new Probe(form.get(), "Late", log);
  late->SetLoading(true);
  late->SetBounds(0, 0, 100, 50);
  late->SetParent(bg);
  auto* inner = new Probe(form.get(), "Inner", log);
  inner->SetHeight(10);
  inner->SetAlign(TAlignLayout::Bottom);
  inner->SetParent(late);
  EXPECT_EQ(inner->BoundsRect(), QRectF(0, 0, 0, 10));
  late->Loaded();
  EXPECT_EQ(inner->BoundsRect(), QRectF(0, 40, 100, 10));
}

TEST_F(ControlTree, PaintsParentBeforeChildrenAtTheirTopLeft) {
  Probe* parent = Add("P", form.get(), 10, 20, 100, 100);
  Add("C1", parent, 5, 5, 10, 10);
  Probe* c2 = Add("C2", parent, 30, 40, 10, 10);
  Add("G", c2, 1, 2, 5, 5);
  Add("S", form.get(), 150, 150, 10, 10);
  log.clear();
  form->RenderToImage();
  EXPECT_EQ(log, (QStringList{"P.paint@10,20", "C1.paint@15,25", "C2.paint@40,60", "G.paint@41,62",
                              "S.paint@150,150"}));
}

// The window repaints without a saved painter state per item, so what one
// control's paint leaves changed must not reach the next one.
TEST_F(ControlTree, WhatAPaintLeavesOnThePainterNeverReachesTheNextControl) {
  auto* first = new Filler(form.get(), Qt::blue);
  first->SetBounds(10, 10, 50, 50);
  first->Scramble = true;
  first->SetParent(form.get());
  auto* second = new Filler(form.get(), Qt::blue);
  second->SetBounds(100, 100, 50, 50);
  second->UsePainterBrush = true;
  second->SetParent(form.get());

  const QImage shown = form->View()->viewport()->grab().toImage();

  EXPECT_EQ(second->SeenPen, first->SeenPen);
  EXPECT_EQ(second->SeenBrush, first->SeenBrush);
  EXPECT_EQ(second->SeenOpacity, first->SeenOpacity);
  EXPECT_EQ(second->SeenMode, first->SeenMode);
  EXPECT_EQ(second->SeenClipping, first->SeenClipping);
  EXPECT_EQ(second->SeenOrigin, QPointF(100, 100));
  EXPECT_EQ(shown.pixelColor(30, 30), QColor(Qt::blue)) << "the first control's own fill";
}

// A clipping control's shape is kept between repaints; it must follow the
// control's size.
TEST_F(ControlTree, ChildrenAreClippedToTheParentsCurrentRectangle) {
  auto* parent = new Filler(form.get(), Qt::blue);
  parent->SetBounds(0, 0, 40, 40);
  parent->SetClipChildren(true);
  parent->SetParent(form.get());
  auto* child = new Filler(form.get(), Qt::red);
  child->SetBounds(0, 0, 100, 100);
  child->SetParent(parent);

  QImage shown = form->View()->viewport()->grab().toImage();
  EXPECT_EQ(shown.pixelColor(20, 20), QColor(Qt::red));
  EXPECT_NE(shown.pixelColor(60, 60), QColor(Qt::red));
  EXPECT_EQ(parent->Item()->shape().boundingRect(), QRectF(0, 0, 40, 40));

  parent->SetBounds(0, 0, 80, 80);
  shown = form->View()->viewport()->grab().toImage();
  EXPECT_EQ(shown.pixelColor(60, 60), QColor(Qt::red));
  EXPECT_NE(shown.pixelColor(90, 90), QColor(Qt::red));
  EXPECT_EQ(parent->Item()->shape().boundingRect(), QRectF(0, 0, 80, 80));
}

TEST_F(ControlTree, WheelGoesUpTheTreeUntilHandled) {
  Probe* outer = Add("Outer", form.get(), 0, 0, 100, 100);
  Probe* inner = Add("Inner", outer, 0, 0, 50, 50);
  QStringList seen;
  inner->SetOnMouseWheel([&seen](TObject*, TShiftState, int, bool&) { seen << "inner"; });
  outer->SetOnMouseWheel([&seen](TObject*, TShiftState, int ADelta, bool& AHandled) {
    seen << QStringLiteral("outer %1").arg(ADelta);
    AHandled = true;
  });
  host_test::Wheel(*form, {10, 10}, 120);
  EXPECT_EQ(seen, (QStringList{"inner", "outer 120"}));
}

TEST_F(ControlTree, ControlFreedInsideItsOwnClickIsNotTouchedAgain) {
  QPointer<Probe> a = Add("A", form.get(), 0, 0, 50, 50);
  a->SetOnClick([&a](TObject*) { delete a.data(); });
  Press(*form, {10, 10});
  Release(*form, {10, 10});
  EXPECT_TRUE(a.isNull());
  EXPECT_EQ(form->Captured(), nullptr);
  EXPECT_EQ(form->Hovered(), nullptr);
  Move(*form, {20, 20});
}

TEST_F(ControlTree, ReleaseThatNeverCameEndsThePressWithoutAClick) {
  Probe* a = Add("A", form.get(), 0, 0, 50, 50);
  Add("B", form.get(), 100, 0, 50, 50);
  int clicks = 0;
  a->SetOnClick([&clicks](TObject*) { ++clicks; });
  Press(*form, {10, 10});
  // The next press arrives with no button held before it: the first release was lost.
  Press(*form, {110, 10});
  Release(*form, {110, 10});
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(a->Pressed());
  EXPECT_EQ(log.filter(QRegularExpression("^(A|B)\\.(down|up|click)")),
            (QStringList{"A.down(10,10)", "A.up", "B.down(10,10)", "B.click(pressed=1,captured=1)", "B.up"}));
}

TEST_F(ControlTree, ParentGoingAwayDetachesChildrenWhichTheirOwnerStillFrees) {
  auto parent = std::make_unique<Probe>(nullptr, "P", log);
  parent->SetParent(form.get());
  QPointer<Probe> child = Add("C", parent.get(), 0, 0, 10, 10);
  child->SetCanFocus(true);
  child->SetFocus();
  parent.reset();
  ASSERT_FALSE(child.isNull());
  EXPECT_EQ(child->Parent(), nullptr);
  EXPECT_EQ(child->Item()->scene(), nullptr);
  EXPECT_EQ(form->FocusedControl(), nullptr);
  form.reset();
  EXPECT_TRUE(child.isNull());
}

TEST_F(ControlTree, CoordinatesMapBetweenControlFormAndScreen) {
  Probe* parent = Add("P", form.get(), 10, 20, 100, 100);
  Probe* child = Add("C", parent, 5, 6, 10, 10);
  EXPECT_EQ(child->LocalToAbsolute({1, 1}), QPointF(16, 27));
  EXPECT_EQ(child->AbsoluteToLocal({16, 27}), QPointF(1, 1));
  const QPointF screen = child->LocalToScreen({1.5, 1.5});
  EXPECT_EQ(screen - form->ClientToScreen({0, 0}), QPointF(16.5, 27.5));
  EXPECT_EQ(child->ScreenToLocal(screen), QPointF(1.5, 1.5));
}

TEST_F(ControlTree, ReparentingRejectsCycles) {
  Probe* a = Add("A", form.get(), 0, 0, 10, 10);
  Probe* b = Add("B", a, 0, 0, 10, 10);
  EXPECT_THROW(a->SetParent(b), Exception);
  EXPECT_THROW(a->SetParent(a), Exception);
  EXPECT_EQ(a->Parent(), form.get());
}

TEST_F(ControlTree, ExceptionFromAHandlerStaysOutOfTheEventLoop) {
  Probe* a = Add("A", form.get(), 0, 0, 50, 50);
  int clicks = 0;
  a->SetOnClick([&clicks](TObject*) {
    ++clicks;
    throw Exception(QStringLiteral("handler failed"));
  });
  Press(*form, {10, 10});
  EXPECT_NO_THROW(Release(*form, {10, 10}));
  // The release still completes: nothing stays pressed or captured.
  EXPECT_FALSE(a->Pressed());
  EXPECT_EQ(form->Captured(), nullptr);
  EXPECT_EQ(log.last(), "A.up");
  Press(*form, {10, 10});
  Release(*form, {10, 10});
  EXPECT_EQ(clicks, 2);
}

TEST_F(ControlTree, HoverShowsTheControlsHintAndTheNearestCursor) {
  Probe* panel = Add("Panel", form.get(), 0, 0, 100, 100);
  Probe* icon = Add("Icon", panel, 10, 10, 20, 20);
  panel->SetCursor(TCursor::crHandPoint);
  icon->SetHint(QStringLiteral("Browse"));
  icon->SetShowHint(true);
  QWidget* viewport = form->View()->viewport();
  const auto askForHint = [&](QPoint APoint) {
    QHelpEvent help(QEvent::ToolTip, APoint, viewport->mapToGlobal(APoint));
    QCoreApplication::sendEvent(viewport, &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };

  // The panel under the pointer has no hint; the tooltip only asks the hovered control.
  Move(*form, {50, 50});
  EXPECT_TRUE(askForHint({50, 50}).isEmpty());
  Move(*form, {15, 15});
  EXPECT_EQ(askForHint({15, 15}), QStringLiteral("Browse"));
  EXPECT_EQ(viewport->cursor().shape(), Qt::PointingHandCursor) << "inherited from the parent";

  Move(*form, {150, 150});
  EXPECT_EQ(viewport->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ControlTree, GeometryAndOpacityRejectValuesThatAreNotNumbers) {
  Probe* a = Add("A", form.get(), 10, 10, 50, 50);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  a->SetWidth(nan);
  a->SetHeight(-5);
  EXPECT_EQ(a->LocalRect(), QRectF(0, 0, 0, 0));
  a->SetSize(50, 50);
  a->Position()->SetX(nan);
  a->Position()->SetY(inf);
  EXPECT_EQ(a->BoundsRect(), QRectF(10, 10, 50, 50));
  a->SetOpacity(nan);
  EXPECT_EQ(a->Opacity(), 0.0f);
  a->SetOpacity(3);
  EXPECT_EQ(a->Opacity(), 1.0f);
  EXPECT_EQ(form->ObjectAtPoint({20, 20}), a);
}

namespace {

// A window system that always agrees to move the window.
class MovableForm : public TForm {
 public:
  int moves = 0;

 protected:
  bool BeginSystemMove() override {
    ++moves;
    return true;
  }
};

// A shown 100 x 100 window whose background starts the window drag on any press.
struct DraggableWindow {
  DraggableWindow() {
    form.SetClientSize(100, 100);
    form.Show();
    back = new Probe(&form, "Back", log);
    back->SetBounds(0, 0, 100, 100);
    back->SetParent(&form);
    back->SetOnMouseDown([this](TObject*, TMouseButton, TShiftState, float, float) { form.StartWindowDrag(); });
  }

  QApplication& app = host_test::App();  // before the form
  MovableForm form;
  QStringList log;
  Probe* back = nullptr;
};

}  // namespace

TEST(WindowDrag, PressThatStartsTheDragEndsAtOnceWithoutClickOrCapture) {
  DraggableWindow window;
  MovableForm& form = window.form;
  Probe* back = window.back;
  const QStringList& log = window.log;
  int clicks = 0;
  back->SetOnClick([&clicks](TObject*) { ++clicks; });

  Press(form, {10, 10}, Qt::RightButton);
  EXPECT_EQ(form.moves, 1);
  EXPECT_EQ(form.Captured(), nullptr);
  EXPECT_FALSE(back->Pressed());
  EXPECT_EQ(log, (QStringList{"Back.enter", "Back.down(10,10)", "Back.up"}));
  // Should the system hand the release over after all, it clicks nothing.
  Press(form, {10, 10});
  Release(form, {30, 30});
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(form.moves, 2);
}

TEST(DisabledControl, SwallowsThePointerSoNothingBeneathClicksOrDragsTheWindow) {
  struct Case {
    const char* what;
    bool disableParent;  // else the button itself
    bool buttonHitTest;
    bool reachesTheBackground;
  };
  const Case cases[] = {
      {"disabled button", false, true, false},
      {"enabled button inside a disabled panel", true, true, false},
      {"disabled button that takes no hits", false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DraggableWindow window;
    MovableForm& form = window.form;
    Probe* back = window.back;
    QStringList& log = window.log;
    auto* panel = new Probe(&form, "Panel", log);
    panel->SetBounds(10, 10, 80, 80);
    panel->SetParent(back);
    panel->SetHitTest(false);
    auto* button = new Probe(&form, "Button", log);
    button->SetBounds(10, 10, 40, 40);
    button->SetParent(panel);
    button->SetHitTest(c.buttonHitTest);
    int clicks = 0;
    button->SetOnClick([&clicks](TObject*) { ++clicks; });
    back->SetOnClick([&clicks](TObject*) { ++clicks; });
    (c.disableParent ? static_cast<TControl*>(panel) : button)->SetEnabled(false);

    Move(form, {30, 30});
    Press(form, {30, 30});
    Move(form, {32, 32}, Qt::LeftButton);
    Release(form, {32, 32});
    host_test::Wheel(form, {32, 32}, 120);

    EXPECT_EQ(clicks, 0);
    if (c.reachesTheBackground) {
      EXPECT_EQ(form.moves, 1);
      EXPECT_TRUE(log.contains("Back.down(30,30)")) << log.join(' ').toStdString();
    } else {
      EXPECT_EQ(form.moves, 0);
      EXPECT_EQ(log, QStringList()) << "no hover, press, move or release reaches any control";
      EXPECT_EQ(form.Hovered(), nullptr);
      EXPECT_EQ(form.Captured(), nullptr);
      EXPECT_FALSE(button->IsMouseOver());
    }
  }
}

// What a user cannot see is not there for the pointer: a button faded out
// (itself or through its panel, as an intro keeps it until it fades in)
// neither clicks nor keeps the press from the background beneath, which then
// moves the window as anywhere else; faded in, it takes the pointer again.
TEST(FadedOutControl, LetsThePointerThroughToWhatLiesBeneath) {
  struct Case {
    const char* what;
    bool fadePanel;  // else the button itself
  };
  for (const Case& c : {Case{"faded-out button", false}, Case{"button in a faded-out panel", true}}) {
    SCOPED_TRACE(c.what);
    DraggableWindow window;
    MovableForm& form = window.form;
    QStringList& log = window.log;
    auto* panel = new Probe(&form, "Panel", log);
    panel->SetBounds(10, 10, 80, 80);
    panel->SetParent(window.back);
    panel->SetHitTest(false);
    auto* button = new Probe(&form, "Button", log);
    button->SetBounds(10, 10, 40, 40);
    button->SetParent(panel);
    int clicks = 0;
    button->SetOnClick([&clicks](TObject*) { ++clicks; });
    TControl* faded = c.fadePanel ? static_cast<TControl*>(panel) : button;
    faded->SetOpacity(0);

    EXPECT_EQ(form.ObjectAtPoint({30, 30}), window.back);
    Move(form, {30, 30});
    Press(form, {30, 30});
    Release(form, {30, 30});
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(form.moves, 1) << "the press lands on the background";
    EXPECT_FALSE(log.join(' ').contains("Button")) << log.join(' ').toStdString();

    // Barely there is there: a user sees it and may mean it.
    faded->SetOpacity(0.05f);
    Move(form, {31, 31});
    Press(form, {31, 31});
    Release(form, {31, 31});
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form.moves, 1);

    // Fading out under the pointer ends the hover as hiding does.
    ASSERT_TRUE(button->IsMouseOver());
    faded->SetOpacity(0);
    EXPECT_FALSE(button->IsMouseOver());
    EXPECT_EQ(form.Hovered(), nullptr);
  }
}

TEST_F(ControlTree, DisablingOrHidingAHoveredControlEndsItsHoverAtOnce) {
  Probe* panel = Add("Panel", form.get(), 0, 0, 100, 100);
  Probe* a = Add("A", panel, 0, 0, 50, 50);
  for (const bool hide : {false, true}) {
    SCOPED_TRACE(hide ? "hidden" : "disabled");
    Move(*form, {10, 10});
    ASSERT_EQ(form->Hovered(), a);
    log.clear();
    if (hide) {
      panel->SetVisible(false);
    } else {
      panel->SetEnabled(false);
    }
    EXPECT_EQ(log, (QStringList{"A.leave"}));
    EXPECT_FALSE(a->IsMouseOver());
    EXPECT_EQ(form->Hovered(), nullptr);
    panel->SetVisible(true);
    panel->SetEnabled(true);
    Move(*form, {11, 11});
    EXPECT_EQ(form->Hovered(), a) << "the next move finds it again";
  }
}

TEST_F(ControlTree, PressReleasedElsewhereWithoutCaptureNeverClicksLater) {
  Probe* a = Add("A", form.get(), 0, 0, 50, 50);
  Probe* b = Add("B", form.get(), 50, 0, 50, 50);
  a->SetAutoCapture(false);
  b->SetAutoCapture(false);
  int clicksA = 0;
  a->SetOnClick([&clicksA](TObject*) { ++clicksA; });
  Press(*form, {10, 10});
  Release(*form, {60, 10});
  EXPECT_FALSE(a->Pressed());
  Press(*form, {60, 10});
  Release(*form, {10, 10});
  EXPECT_EQ(clicksA, 0);
  // A press and release on the same control still clicks.
  Press(*form, {10, 10});
  Release(*form, {10, 10});
  EXPECT_EQ(clicksA, 1);
}
