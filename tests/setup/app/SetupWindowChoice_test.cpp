// The window module shows the skinned window when the program's stored form
// reads, and no window, with a one-line reason, when there is no stored form
// or it does not read; the skinned window finds its pictures in the program's
// resources while it reads.

#include "setup/app/window/MainFormWindow.h"
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

TEST(SetupWindowChoice, TakesTheStoredFormWhenItReadsAndSaysWhyWhenItDoesNot) {
  App();
  ostrel::host::RegisterClass<TResourceProbe>();
  NoExitSystem system;
  struct Case {
    const char* What;
    std::map<std::string, std::string> Entries;
    // Empty when the window is made.
    std::string Problem;
  };
  const Case cases[] = {
      {"no stored form", {}, "its stored form is missing or damaged"},
      {"a class nobody registered",
       {{"TMAINFORM", "object MainForm: TMainForm\n  object X: TNoSuchControl\n  end\nend\n"}},
       "its stored form does not read: "},
      {"a form that does not parse",
       {{"TMAINFORM", "object MainForm: TMainForm\n"}},
       "its stored form does not read: "},
      {"a form that reads", {{"TMAINFORM", kReadableForm}, {"bg", "picture bytes"}}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    Bundle bundle{c.Entries};
    const ostrel::app::CreatedWindow created = ostrel::app::CreateSetupWindow(system, bundle.Finder());
    auto* skinned = dynamic_cast<ostrel::app::MainFormWindow*>(created.window.get());
    if (c.Problem.empty()) {
      ASSERT_NE(skinned, nullptr) << created.problem;
      EXPECT_EQ(created.problem, "");
      auto* probe = dynamic_cast<TResourceProbe*>(skinned->Form().Control("BgImage"));
      ASSERT_NE(probe, nullptr);
      EXPECT_TRUE(probe->Found());
      EXPECT_EQ(skinned->Form().ClientWidth(), 656);
      continue;
    }
    EXPECT_EQ(created.window, nullptr);
    EXPECT_TRUE(created.problem.starts_with(c.Problem)) << created.problem;
    if (c.Problem.ends_with(": ")) {
      EXPECT_GT(created.problem.size(), c.Problem.size()) << "the reader's words follow";
    }
    EXPECT_EQ(created.problem.find('\n'), std::string::npos) << "one line";
  }
}

}  // namespace

#include "SetupWindowChoice_test.moc"
