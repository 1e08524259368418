#pragma once
// The steps start-up hands over, as the program runs them.

#include <functional>
#include <utility>

#include "setup/core/Report.h"
#include "setup/core/SetupState.h"
#include "setup/core/Startup.h"
#include "setup/core/TaskRunner.h"

namespace ostrel::setup {

// The report's values as the process-wide strings hold them now.
ReportInputs ReportInputsFrom(const SetupState& state);

class SetupRoleActions final : public IRoleActions {
 public:
  // install is the window's Install action.
  SetupRoleActions(const SetupState& state, ITaskRunner& tasks, std::function<void()> install);

  // The uninstall procedure RunUninstall carries out.
  void SetUninstall(std::function<void()> uninstall) { uninstall_ = std::move(uninstall); }

  void StartUninstallReport() override;
  void RunUninstall() override;
  void Install() override;

 private:
  const SetupState& state_;
  ITaskRunner& tasks_;
  std::function<void()> install_;
  std::function<void()> uninstall_;
};

}  // namespace ostrel::setup
