// The window module shows the skinned window when the program's stored form
// reads, and the plain window when there is no stored form or the form names
// a class nobody registered; the skinned window finds its pictures in the
// program's resources while it reads.

#include "setup/app/window/MainFormWindow.h"
#include "setup/app/window/PlainSetupWindow.h"
#include "setup/app/window/SetupWindowChoice.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/Control.h"
#include "skin/host/Resources.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <map>
#include <stdexcept>
#include <string>

namespace {

QApplication& App() {
  if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
  static int argc = 1;
  static char name[] = "setup_window_choice_test";
  static char* argv[] = {name, nullptr};
  static QApplication* const app = new QApplication(argc, argv);
  return *app;
}

class NoExitSystem final : public ostrel::platform::ISystem {
 public:
  std::string ExecutablePath() const override { return "/nowhere/OstrelSetup"; }
  ostrel::platform::GuidBytes NewGuid() override { return {}; }
  [[noreturn]] void ExitProcess(unsigned) override { throw std::logic_error("the test ended the process"); }
};

// A program's resources, by name, and the names asked for.
struct Bundle {
  std::map<std::string, std::string> Entries;
  std::shared_ptr<std::vector<std::string>> Asked = std::make_shared<std::vector<std::string>>();

  ostrel::app::ResourceFinder Finder() const {
    return [this](std::string_view name) -> std::optional<std::span<const std::byte>> {
      Asked->emplace_back(name);
      const auto it = Entries.find(std::string(name));
      if (it == Entries.end()) return std::nullopt;
      return std::as_bytes(std::span(it->second.data(), it->second.size()));
    };
  }
};

// Reads a resource while the form is read, as a picture named in a form does.
class TResourceProbe : public TControl {
  Q_OBJECT
  Q_PROPERTY(QString ResourceName READ ResourceName WRITE SetResourceName)

 public:
  explicit TResourceProbe(TComponent* AOwner = nullptr) : TControl(AOwner) {}
  QString ResourceName() const { return FName; }
  void SetResourceName(const QString& AName) {
    FName = AName;
    FFound = ostrel::host::FindProgramResource(AName).has_value();
  }
  bool Found() const { return FFound; }

 private:
  QString FName;
  bool FFound = false;
};

const char* const kReadableForm = R"(object MainForm: TMainForm
  ClientWidth = 656
  ClientHeight = 376
  object BgImage: TResourceProbe
    Width = 640
    Height = 360
    ResourceName = 'bg'
  end
end
)";

TEST(SetupWindowChoice, TakesTheStoredFormWhenItReadsElseThePlainWindow) {
  App();
  ostrel::host::RegisterClass<TResourceProbe>();
  NoExitSystem system;
  struct Case {
    const char* What;
    std::map<std::string, std::string> Entries;
    bool Skinned;
  };
  const Case cases[] = {
      {"no stored form", {}, false},
      {"a class nobody registered", {{"TMAINFORM", "object MainForm: TMainForm\n  object X: TNoSuchControl\n  end\nend\n"}},
       false},
      {"a form that does not parse", {{"TMAINFORM", "object MainForm: TMainForm\n"}}, false},
      {"a form that reads", {{"TMAINFORM", kReadableForm}, {"bg", "picture bytes"}}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    Bundle bundle{c.Entries};
    const auto window = ostrel::app::CreateSetupWindow(system, bundle.Finder());
    ASSERT_NE(window, nullptr);
    auto* skinned = dynamic_cast<ostrel::app::MainFormWindow*>(window.get());
    EXPECT_EQ(skinned != nullptr, c.Skinned);
    EXPECT_EQ(dynamic_cast<ostrel::app::PlainSetupWindow*>(window.get()) != nullptr, !c.Skinned);
    if (skinned != nullptr) {
      auto* probe = dynamic_cast<TResourceProbe*>(skinned->Form().Control("BgImage"));
      ASSERT_NE(probe, nullptr);
      EXPECT_TRUE(probe->Found());
      EXPECT_EQ(skinned->Form().ClientWidth(), 656);
    }
  }
}

}  // namespace

#include "SetupWindowChoice_test.moc"
