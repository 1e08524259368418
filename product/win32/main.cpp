// The demo product as a Windows program without Qt: it keeps the
// running-product signal (the "Ostrel" mapping and its window) while it runs
// and ends when the window gets message 1027. OSTREL_DEMO_IGNORE_QUIT=1 makes
// it answer the message without ending, as a product that does not honour it.

#include <windows.h>

#include <chrono>
#include <cstdint>

#include "setup/platform/RunningProductSignal.h"

namespace {

bool IgnoresQuit() {
  wchar_t value[4] = {};
  return ::GetEnvironmentVariableW(L"OSTREL_DEMO_IGNORE_QUIT", value, 4) == 1 && value[0] == L'1';
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace ostrel::platform;
  auto listener = ProductSignalListener::Listen("Ostrel");
  // One instance per user: another one already holds the signal.
  if (!listener) return 0;

  const bool ignoreQuit = IgnoresQuit();
  bool quit = false;
  const ProductSignalListener::Handler handler = [&](std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam) {
    if (message != kQuitProductMessage || wParam != 0 || lParam != 0 || ignoreQuit) return 0u;
    // Gone before the answer leaves, so the sender's next look finds no product.
    listener->StopListening();
    quit = true;
    return 0u;
  };
  while (!quit) listener->ServeOne(handler, std::chrono::seconds(1));
  return 0;
}
