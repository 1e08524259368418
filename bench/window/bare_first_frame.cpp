// The reference for the setup's start-up: a bare Qt program that shows a
// window of the setup window's size and kind (656 x 376, borderless,
// translucent, on top) with one dark rectangle, and ends once its first
// frame is painted, as the setup does with OSTREL_EXIT_AFTER_FIRST_FRAME=1.

#include "setup/app/window/FirstFrameProbe.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace {

class BareWindow final : public QWidget {
 public:
  BareWindow() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(656, 376);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(8, 8, 640, 360, QColor(0x1d, 0x1d, 0x1d));
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  BareWindow window;
  ostrel::app::ExitAfterFirstFrameIfAsked(window);
  window.show();
  return QApplication::exec();
}
