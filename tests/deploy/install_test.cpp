// install.cmd and uninstall.cmd as a user runs them, in a 32-bit and a 64-bit
// Windows, checked with reg as an administrator would.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "tests/deploy/deploy_paths.h"
#include "tests/deploy/wine.h"

namespace fs = std::filesystem;

namespace {

constexpr char kKey[] =
    "HKCU\\Software\\Microsoft\\Terminal Server Client\\Default\\AddIns\\quarven";

class InstallTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    if (!prefix_.Ready()) GTEST_SKIP() << "no " << prefix_.arch << " Wine prefix on this machine";
    // Where users unpack things: a path with spaces and parentheses.
    release_ = fs::path(kScratchDir) / prefix_.arch / "Program Files (x86)" / "quarven 1";
    fs::remove_all(release_);
    fs::create_directories(release_.parent_path());
    fs::copy(kReleaseDir, release_, fs::copy_options::recursive);
    Run("uninstall.cmd");
  }

  // Runs a script of the release in its folder, as a double-click does.
  Ran Run(const std::string& script, const std::string& argument = "") const {
    std::vector<std::string> command{"cmd", "/c", script};
    if (!argument.empty()) command.push_back(argument);
    return prefix_.Run(command, release_.string());
  }

  // The DLL path the client would load, if the add-in is registered.
  std::optional<std::string> Registered() const {
    const Ran query = prefix_.Run({"reg", "query", kKey, "/v", "Name"});
    if (query.status != 0) return std::nullopt;
    const std::string marker = "REG_SZ";
    const auto at = query.output.find(marker);
    if (at == std::string::npos) return "(not a string: " + query.output + ")";
    const auto start = query.output.find_first_not_of(' ', at + marker.size());
    return query.output.substr(start, query.output.find_first_of("\r\n", start) - start);
  }

  std::string Dll(const std::string& arch) const {
    return WindowsPath((release_ / arch / "quarven.dll").string());
  }

  WinePrefix prefix_ = PrefixFor(GetParam());
  fs::path release_;
};

TEST_P(InstallTest, RegistersTheMatchingAddInAndRemovesItAgain) {
  const std::string native = Dll(prefix_.arch);
  const std::string other = Dll(prefix_.arch == "x64" ? "x86" : "x64");
  const struct {
    std::string script, argument;
    int status;
    std::string says;
    std::optional<std::string> registered;
  } steps[] = {
      {"uninstall.cmd", "", 0, "quarven is not installed for this user; nothing to remove",
       std::nullopt},
      {"install.cmd", "", 0, "quarven is installed for this user: " + native, native},
      {"install.cmd", "", 0, "quarven is already installed for this user: " + native, native},
      {"install.cmd", prefix_.arch == "x64" ? "x86" : "x64", 0,
       "Replaced the earlier registration of " + native, other},
      {"install.cmd", "arm64", 2, "usage: install.cmd [x86 | x64]", other},
      {"uninstall.cmd", "", 0, "quarven is removed for this user", std::nullopt},
      {"uninstall.cmd", "", 0, "quarven is not installed for this user", std::nullopt},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.script + " " + step.argument);
    const Ran ran = Run(step.script, step.argument);
    EXPECT_EQ(ran.status, step.status) << ran.output;
    EXPECT_NE(ran.output.find(step.says), std::string::npos) << ran.output;
    EXPECT_EQ(Registered(), step.registered);
  }
}

TEST_P(InstallTest, RegistersNothingWhenTheDllIsMissing) {
  fs::remove_all(release_ / prefix_.arch);
  const Ran ran = Run("install.cmd");
  EXPECT_EQ(ran.status, 1);
  EXPECT_NE(ran.output.find("quarven was not installed: " + Dll(prefix_.arch) + " is missing"),
            std::string::npos)
      << ran.output;
  EXPECT_EQ(Registered(), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Windows, InstallTest, ::testing::Values("x86", "x64"));

}  // namespace
