#include "core/start_mode.h"

#include <gtest/gtest.h>

namespace stubwright {
namespace {

constexpr uint64_t kStub = 23552;

struct ModeCase {
  const char* name;
  std::optional<uint64_t> ownFileSize;
  ArgumentList parameters;
  StartMode mode;
};

class StartModeTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(StartModeTest, ChoosesWhatTheRunDoes) {
  EXPECT_EQ(ChooseStartMode(GetParam().ownFileSize, kStub, GetParam().parameters), GetParam().mode);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartModeTest,
    ::testing::Values(
        ModeCase{"LauncherWithoutParametersLaunches", kStub + 1, {"l.exe"}, StartMode::kLaunch},
        ModeCase{
            "LauncherGivenABuildCommandStillLaunches", kStub + 40, {"l.exe", "/b", "f", "v", "c"}, StartMode::kLaunch},
        ModeCase{"BareStubWithoutParametersShowsUsage", kStub, {"s.exe"}, StartMode::kUsage},
        ModeCase{"EmptyCommandLineShowsUsage", kStub, {}, StartMode::kUsage},
        ModeCase{"ThreeParametersShowUsage", kStub, {"s.exe", "/b", "f", "v"}, StartMode::kUsage},
        ModeCase{"FourParametersWithAnotherSwitchShowUsage", kStub, {"s.exe", "/x", "f", "v", "c"}, StartMode::kUsage},
        ModeCase{"FourParametersBuild", kStub, {"s.exe", "/b", "f", "v", "c"}, StartMode::kBuild},
        ModeCase{"CapitalSwitchBuilds", kStub, {"s.exe", "/B", "f", "v", "c"}, StartMode::kBuild},
        ModeCase{"MoreParametersBuild", kStub, {"s.exe", "/b", "f", "v", "c", "a1", "a2"}, StartMode::kBuild},
        ModeCase{"FileSmallerThanTheStubIsTheBareStub", kStub - 1, {"s.exe", "/b", "f", "v", "c"}, StartMode::kBuild},
        ModeCase{"UnreadableOwnFileIsTheBareStub", std::nullopt, {"s.exe", "/b", "f", "v", "c"}, StartMode::kBuild},
        ModeCase{"UnreadableOwnFileWithoutParametersShowsUsage", std::nullopt, {"s.exe"}, StartMode::kUsage}),
    [](const ::testing::TestParamInfo<ModeCase>& info) { return std::string(info.param.name); });

TEST(BuildSwitch, IsSlashBInEitherCaseAndNothingElse) {
  EXPECT_TRUE(IsBuildSwitch("/b"));
  EXPECT_TRUE(IsBuildSwitch("/B"));
  for (const char* other : {"", "/", "b", "-b", "\\b", "/c", "/b ", "/bb", " /b", "/\xE2"})
    EXPECT_FALSE(IsBuildSwitch(other)) << other;
}

}  // namespace
}  // namespace stubwright
