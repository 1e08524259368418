#include "setup/core/RoleActions.h"

#include <utility>

namespace ostrel::setup {

ReportInputs ReportInputsFrom(const SetupState& state) {
  SetupValues values = state.Snapshot();
  return ReportInputs{std::move(values.LangTag), std::move(values.ChannelTag), std::move(values.InstallId),
                      std::move(values.VersionText)};
}

SetupRoleActions::SetupRoleActions(const SetupState& state, ITaskRunner& tasks, std::function<void()> install)
    : state_(state), tasks_(tasks), install_(std::move(install)) {}

void SetupRoleActions::StartUninstallReport() {
  const SetupState& state = state_;
  tasks_.Post([&state] { SendReport(ReportKind::Uninstall, ReportInputsFrom(state)); });
}

void SetupRoleActions::RunUninstall() {
  if (uninstall_) uninstall_();
}

void SetupRoleActions::Install() {
  if (install_) install_();
}

}  // namespace ostrel::setup
