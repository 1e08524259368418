#include "skin/host/Screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace ostrel::host {

namespace {
// 0 means no override; the display scale is process-wide like the screen itself.
float gScaleOverride = 0.0f;
}  // namespace

float GetScreenScale() {
  if (gScaleOverride > 0.0f) return gScaleOverride;
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return 1.0f;
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? static_cast<float>(screen->devicePixelRatio()) : 1.0f;
}

ScopedScreenScale::ScopedScreenScale(float AScale) : FPrevious(gScaleOverride) { gScaleOverride = AScale; }

ScopedScreenScale::~ScopedScreenScale() { gScaleOverride = FPrevious; }

}  // namespace ostrel::host
