#include "setup/core/RoleActions.h"

#include <gtest/gtest.h>

#include "tests/setup/core/StartupFakes.h"

namespace ostrel::setup {
namespace {

TEST(RoleActions, UninstallReportGoesToThePoolAndInstallToTheWindow) {
  SetupState state;
  testing::FakeTasks tasks;
  int installs = 0;
  SetupRoleActions actions(state, tasks, [&] { ++installs; });

  actions.StartUninstallReport();
  EXPECT_EQ(tasks.posted.size(), 1u) << "the report runs on the pool, never inline";
  EXPECT_TRUE(tasks.calls.empty());

  actions.Install();
  EXPECT_EQ(installs, 1);
}

TEST(RoleActions, ReportCarriesEachStringUnderItsOwnName) {
  SetupState state;
  state.SetChannelTag("web");
  state.SetInstallId("{ID}");
  state.SetVersionText("2.0");
  state.SetInstallPath("D:\\Ostrel\\");
  const ReportInputs inputs = ReportInputsFrom(state);
  EXPECT_EQ(inputs.LangTag, "");
  EXPECT_EQ(inputs.ChannelTag, "web");
  EXPECT_EQ(inputs.InstallId, "{ID}");
  EXPECT_EQ(inputs.VersionText, "2.0");
}

}  // namespace
}  // namespace ostrel::setup
