#include "setup/platform/ShellLink.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

// The interface of this library, not the system's narrow/wide switch.
#undef IShellLink

#include "setup/platform/win32/WideText.h"

namespace ostrel::platform {
namespace {

using win32::ToWide;

// The shell link object through both of its interfaces, on the thread that
// initialised COM for it; released, and COM uninitialised, with the object.
class ComShellLink final : public IShellLink {
 public:
  ComShellLink(::IShellLinkW* link, ::IPersistFile* file) : link_(link), file_(file) {}
  ComShellLink(const ComShellLink&) = delete;
  ComShellLink& operator=(const ComShellLink&) = delete;
  ~ComShellLink() override {
    file_->Release();
    link_->Release();
    ::CoUninitialize();
  }

  bool SetPath(const std::string& target) override {
    const auto wide = ToWide(target);
    return wide && SUCCEEDED(link_->SetPath(wide->c_str()));
  }
  bool SetWorkingDirectory(const std::string& folder) override {
    const auto wide = ToWide(folder);
    return wide && SUCCEEDED(link_->SetWorkingDirectory(wide->c_str()));
  }
  // Windows links offer no actions; the system's list of programs offers
  // the uninstall.
  bool AddAction(std::string_view, std::string_view, const std::string&) override { return true; }
  bool Save(const std::string& path) override {
    const auto wide = ToWide(path);
    return wide && SUCCEEDED(file_->Save(wide->c_str(), FALSE));
  }

 private:
  ::IShellLinkW* link_;
  ::IPersistFile* file_;
};

}  // namespace

std::unique_ptr<IShellLink> CreateShellLink() {
  // S_FALSE: already initialised on this thread, which still counts once.
  if (FAILED(::CoInitialize(nullptr))) return nullptr;
  ::IShellLinkW* link = nullptr;
  ::IPersistFile* file = nullptr;
  if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    return std::make_unique<ComShellLink>(link, file);
  }
  if (link != nullptr) link->Release();
  ::CoUninitialize();
  return nullptr;
}

}  // namespace ostrel::platform
