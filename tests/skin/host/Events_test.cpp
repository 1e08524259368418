#include "skin/host/Events.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QObject>

namespace {

class HandlerHost : public QObject {
  Q_OBJECT

 public:
  QStringList calls;

  Q_INVOKABLE void ButtonClick(TObject* Sender) { calls << QStringLiteral("click %1").arg(Sender != nullptr); }
  Q_INVOKABLE void PanelMouseDown(TObject*, TMouseButton Button, TShiftState Shift, float X, float Y) {
    calls << QStringLiteral("down %1 %2 %3 %4")
                 .arg(static_cast<int>(Button))
                 .arg(Shift.Contains(TShiftStateItem::ssDouble))
                 .arg(X)
                 .arg(Y);
  }
  Q_INVOKABLE void Wheel(TObject*, TShiftState, int Delta, bool& Handled) { Handled = Delta > 0; }
};

class Clicker : public TPersistent, public IEventProperties {
 public:
  TNotifyEvent FOnClick;
  TMouseEvent FOnMouseDown;
  TMouseWheelEvent FOnMouseWheel;

  Clicker() {
    FEvents.Add(QStringLiteral("OnClick"), FOnClick);
    FEvents.Add(QStringLiteral("OnMouseDown"), FOnMouseDown);
    FEvents.Add(QStringLiteral("OnMouseWheel"), FOnMouseWheel);
  }
  QStringList EventNames() const override { return FEvents.Names(); }
  bool SetEventHandler(const QString& AEvent, const TEventHandlerRef& AHandler) override {
    return FEvents.Bind(AEvent, AHandler);
  }
  QString EventHandlerName(const QString& AEvent) const override { return FEvents.HandlerName(AEvent); }

 private:
  ostrel::host::TEventTable FEvents;
};

}  // namespace

TEST(EventProperties, BindsHandlersByNameAndPassesArguments) {
  HandlerHost host;
  Clicker c;
  ASSERT_TRUE(c.SetEventHandler(QStringLiteral("OnClick"), {&host, QStringLiteral("ButtonClick")}));
  ASSERT_TRUE(c.SetEventHandler(QStringLiteral("OnMouseDown"), {&host, QStringLiteral("PanelMouseDown")}));
  ASSERT_TRUE(c.SetEventHandler(QStringLiteral("OnMouseWheel"), {&host, QStringLiteral("Wheel")}));
  c.FOnClick(&c);
  c.FOnMouseDown(&c, TMouseButton::mbRight, TShiftState{TShiftStateItem::ssDouble}, 1.5f, 2.f);
  bool handled = false;
  c.FOnMouseWheel(&c, {}, 120, handled);
  EXPECT_TRUE(handled);
  EXPECT_EQ(host.calls, (QStringList{QStringLiteral("click 1"), QStringLiteral("down 1 1 1.5 2")}));
  EXPECT_EQ(c.EventHandlerName(QStringLiteral("OnClick")), QStringLiteral("ButtonClick"));
  EXPECT_EQ(c.EventNames(), (QStringList{QStringLiteral("OnClick"), QStringLiteral("OnMouseDown"),
                                         QStringLiteral("OnMouseWheel")}));
}

TEST(EventProperties, RejectsUnknownEventsAndMismatchedHandlers) {
  HandlerHost host;
  Clicker c;
  EXPECT_FALSE(c.SetEventHandler(QStringLiteral("OnPaint"), {&host, QStringLiteral("ButtonClick")}));
  // Right name, wrong signature: a click handler cannot take a mouse event.
  EXPECT_THROW(c.SetEventHandler(QStringLiteral("OnMouseDown"), {&host, QStringLiteral("ButtonClick")}),
               EEventBindError);
  EXPECT_THROW(c.SetEventHandler(QStringLiteral("OnClick"), {&host, QStringLiteral("Missing")}), EEventBindError);
  EXPECT_FALSE(c.FOnMouseDown);
  EXPECT_TRUE(c.EventHandlerName(QStringLiteral("OnMouseDown")).isEmpty());
}

TEST(EventProperties, HandlerOfADestroyedTargetIsNotCalled) {
  Clicker c;
  {
    HandlerHost host;
    ASSERT_TRUE(c.SetEventHandler(QStringLiteral("OnClick"), {&host, QStringLiteral("ButtonClick")}));
  }
  c.FOnClick(&c);
  ASSERT_TRUE(c.SetEventHandler(QStringLiteral("OnClick"), {nullptr, QString()}));
  EXPECT_FALSE(c.FOnClick);
}

#include "Events_test.moc"
