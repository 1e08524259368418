#include "skin/host/Screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace ostrel::host {

namespace {
// 0 means no override; the display scale is process-wide like the screen itself.
float gScaleOverride = 0.0f;
}  // namespace

float GetScreenScale() { return ScreenServiceScale().value_or(1.0f); }

std::optional<float> ScreenServiceScale() {
  if (gScaleOverride > 0.0f) return gScaleOverride;
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return std::nullopt;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return std::nullopt;
  return static_cast<float>(screen->devicePixelRatio());
}

ScopedScreenScale::ScopedScreenScale(float AScale) : FPrevious(gScaleOverride) { gScaleOverride = AScale; }

ScopedScreenScale::~ScopedScreenScale() { gScaleOverride = FPrevious; }

}  // namespace ostrel::host
