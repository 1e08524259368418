#pragma once
// The display scale: device pixels per logical pixel of the primary screen.

#include <optional>

namespace ostrel::host {

// 1 when there is no screen (no GUI application yet).
float GetScreenScale();
// The same, or nothing when there is no screen service to ask.
std::optional<float> ScreenServiceScale();

// Makes GetScreenScale answer AScale until the guard ends, so scale-dependent
// lookups can be checked at any scale on any machine.
class ScopedScreenScale {
 public:
  explicit ScopedScreenScale(float AScale);
  ~ScopedScreenScale();
  ScopedScreenScale(const ScopedScreenScale&) = delete;
  ScopedScreenScale& operator=(const ScopedScreenScale&) = delete;

 private:
  float FPrevious;
};

}  // namespace ostrel::host
