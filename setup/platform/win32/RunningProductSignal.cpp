#include "setup/platform/RunningProductSignal.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "setup/platform/win32/WideText.h"
#include "setup/platform/win32/WindowsSystem.h"

namespace ostrel::platform {
namespace {

using win32::ToWide;
using win32::UniqueHandle;

// The mapping holds the window's handle in its first 4 bytes: window
// handles carry 32 significant bits on 64-bit Windows too.
constexpr DWORD kMappingSize = 4;
constexpr wchar_t kWindowClass[] = L"OstrelProductSignal";

// Whether the window belongs to a process of the user running this one.
// Anyone in the session may make a mapping of that name; only a window of
// our own user is taken for the product.
bool WindowOfSameUser(HWND window) {
  DWORD processId = 0;
  if (::GetWindowThreadProcessId(window, &processId) == 0) return false;
  const UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process.Valid()) return false;
  const auto theirs = win32::ProcessUserSid(process.Get());
  return !theirs.empty() && theirs == win32::ProcessUserSid(::GetCurrentProcess());
}

// The window handle the mapping names, or nothing when there is no mapping.
std::optional<HWND> ProductWindow(std::string_view product) {
  const auto name = ToWide(product);
  if (!name) return std::nullopt;
  const UniqueHandle mapping(::OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name->c_str()));
  if (!mapping.Valid()) return std::nullopt;
  const void* view = ::MapViewOfFile(mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, kMappingSize);
  // A mapping that cannot be viewed is still somebody's: no window to ask.
  if (view == nullptr) return HWND{};
  std::uint32_t handle = 0;
  std::memcpy(&handle, view, sizeof handle);
  ::UnmapViewOfFile(view);
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(handle));
}

// What the window procedure reaches: set while ServeOne runs; requests that
// come at any other time are answered 0 and otherwise left alone.
struct WindowState {
  const ProductSignalListener::Handler* handler = nullptr;
  bool handled = false;
};

LRESULT CALLBACK ListenerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kQuitProductMessage) return ::DefWindowProcW(window, message, wParam, lParam);
  auto* state = reinterpret_cast<WindowState*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (state == nullptr || state->handler == nullptr) return 0;
  state->handled = true;
  return static_cast<LRESULT>(
      (*state->handler)(message, static_cast<std::uint32_t>(wParam), static_cast<std::uint32_t>(lParam)));
}

bool RegisterListenerClass() {
  static const bool registered = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &ListenerWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    return ::RegisterClassW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

}  // namespace

struct ProductSignalListener::Impl {
  UniqueHandle mapping;
  HWND window = nullptr;
  WindowState state;
};

QuitAnswer SendQuitMessage(std::string_view product, std::chrono::milliseconds timeout) {
  const auto window = ProductWindow(product);
  if (!window) return QuitAnswer::NotRunning;
  if (*window == nullptr || !::IsWindow(*window)) return QuitAnswer::NoAnswer;
  if (!WindowOfSameUser(*window)) return QuitAnswer::NotRunning;
  DWORD_PTR result = 0;
  // A plain send waits for as long as the window takes; a hung product must
  // not hold the uninstaller past its bound.
  const auto limit = static_cast<UINT>(timeout.count() > 0 ? timeout.count() : 1);
  return ::SendMessageTimeoutW(*window, kQuitProductMessage, 0, 0, SMTO_NORMAL, limit, &result) != 0
             ? QuitAnswer::Answered
             : QuitAnswer::NoAnswer;
}

bool IsProductRunning(std::string_view product) { return ProductWindow(product).has_value(); }

std::unique_ptr<ProductSignalListener> ProductSignalListener::Listen(std::string_view product) {
  const auto name = ToWide(product);
  if (!name || !RegisterListenerClass()) return nullptr;
  UniqueHandle mapping(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kMappingSize, name->c_str()));
  if (!mapping.Valid() || ::GetLastError() == ERROR_ALREADY_EXISTS) return nullptr;

  auto impl = std::make_unique<Impl>();
  impl->window = ::CreateWindowExW(0, kWindowClass, name->c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
  if (impl->window == nullptr) return nullptr;
  ::SetWindowLongPtrW(impl->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&impl->state));

  void* view = ::MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, kMappingSize);
  if (view == nullptr) {
    ::DestroyWindow(impl->window);
    return nullptr;
  }
  const auto handle = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(impl->window));
  std::memcpy(view, &handle, sizeof handle);
  ::UnmapViewOfFile(view);
  impl->mapping = std::move(mapping);
  return std::unique_ptr<ProductSignalListener>(new ProductSignalListener(std::move(impl)));
}

ProductSignalListener::ProductSignalListener(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

ProductSignalListener::~ProductSignalListener() {
  StopListening();
  if (impl_->window != nullptr) ::DestroyWindow(impl_->window);
}

int ProductSignalListener::Descriptor() const { return -1; }

void ProductSignalListener::StopListening() { impl_->mapping.Reset(); }

bool ProductSignalListener::ServeOne(const Handler& handler, std::chrono::milliseconds readTimeout) {
  if (impl_->window == nullptr) return false;
  impl_->state.handler = &handler;
  impl_->state.handled = false;
  const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(readTimeout.count());
  // A message sent from another process is delivered inside the peek, which
  // runs the window procedure, and with it the handler, on this thread.
  for (;;) {
    MSG message{};
    while (::PeekMessageW(&message, impl_->window, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    const ULONGLONG now = ::GetTickCount64();
    if (impl_->state.handled || now >= deadline) break;
    ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now), QS_SENDMESSAGE | QS_POSTMESSAGE,
                                  MWMO_INPUTAVAILABLE);
  }
  impl_->state.handler = nullptr;
  return impl_->state.handled;
}

}  // namespace ostrel::platform
