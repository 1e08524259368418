#include "setup/app/window/FailureMessage.h"

#include <QColor>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace ostrel::app {

namespace {

constexpr int kWidth = 420;
constexpr int kRadius = 4;

QString ColorName(QRgb AColor) { return QColor::fromRgba(AColor).name(QColor::HexRgb); }

}  // namespace

FailureMessage::FailureMessage(QWidget* AOwner, const QString& ATitle, const QString& AText)
    : QDialog(AOwner, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setWindowTitle(ATitle);
  setModal(true);
  setAttribute(Qt::WA_TranslucentBackground);
  setAccessibleName(ATitle);
  setAccessibleDescription(AText);

  FText = new QLabel(AText, this);
  FText->setWordWrap(true);
  FText->setTextFormat(Qt::PlainText);
  FText->setTextInteractionFlags(Qt::TextSelectableByMouse);
  FText->setStyleSheet(QStringLiteral("color: white; font-size: 14px;"));

  FOk = new QPushButton(QStringLiteral("OK"), this);
  FOk->setDefault(true);
  FOk->setAutoDefault(true);
  FOk->setFixedSize(100, 34);
  FOk->setCursor(Qt::PointingHandCursor);
  FOk->setStyleSheet(QStringLiteral("QPushButton { background: %1; border: 1px solid %2; border-radius: 4px;"
                                    " color: white; font-size: 14px; }"
                                    "QPushButton:hover { background: %3; border-color: %4; }"
                                    "QPushButton:pressed { background: %5; border-color: %5; }"
                                    "QPushButton:focus { border: 2px solid white; }")
                         .arg(ColorName(kButtonColor), QStringLiteral("#0098d4"), QStringLiteral("#0089bf"),
                              QStringLiteral("#0090c9"), QStringLiteral("#0077a6")));
  connect(FOk, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 20, 24, 20);
  layout->setSpacing(18);
  layout->addWidget(FText);
  layout->addWidget(FOk, 0, Qt::AlignRight);
  setFixedWidth(kWidth);
  setFixedHeight(sizeHint().height());
}

void FailureMessage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor::fromRgba(kBorderColor), 1));
  painter.setBrush(QColor::fromRgba(kPanelColor));
  painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kRadius, kRadius);
}

void FailureMessage::showEvent(QShowEvent* AEvent) {
  QDialog::showEvent(AEvent);
  // Over the window when it shows, else in the middle of the screen.
  const QWidget* owner = parentWidget();
  QRect area;
  if (owner != nullptr && owner->isVisible()) {
    area = owner->frameGeometry();
  } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    area = screen->availableGeometry();
  }
  if (area.isValid()) move(area.center() - QPoint(width() / 2, height() / 2));
  FOk->setFocus();
}

void ShowFailureMessage(QWidget* AOwner, const QString& ATitle, const QString& AText) {
  FailureMessage message(AOwner, ATitle, AText);
  message.exec();
}

}  // namespace ostrel::app
