// The release zip holds exactly what a user needs, each file as built.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "tests/deploy/deploy_paths.h"
#include "tests/deploy/files.h"
#include "tests/deploy/zip_listing.h"

namespace {

std::string Read(const std::string& path) {
  EXPECT_TRUE(std::filesystem::exists(path)) << path;
  return ReadAll(path);
}

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n' && (out.empty() || out.back() != '\r')) out += '\r';
    out += c;
  }
  return out;
}

// Each entry of the zip and the bytes it must hold.
std::map<std::string, std::string> Expected() {
  std::map<std::string, std::string> expected;
  for (const auto& [arch, build] : {std::pair{"x86", kX86Build}, std::pair{"x64", kX64Build}}) {
    for (const char* program : {"quarven.dll", "quarven-host.exe", "quarven-send.exe"}) {
      expected[std::string(arch) + "/" + program] = Read(std::string(build) + "/" + program);
    }
  }
  for (const char* script : {"install.cmd", "uninstall.cmd"}) {
    expected[script] = WithCrLf(Read(std::string(kSourceDir) + "/tools/install/" + script));
  }
  expected["README.md"] = Read(std::string(kSourceDir) + "/README.md");
  expected["LICENSE.txt"] = Read(std::string(kSourceDir) + "/LICENSE");
  return expected;
}

TEST(ReleaseZip, HoldsExactlyTheReleaseFilesAsBuilt) {
  const auto entries = ListZip(kReleaseZip);
  const auto expected = Expected();
  std::map<std::string, ZipEntry> wanted;
  for (const auto& [name, bytes] : expected) wanted[name] = ZipEntry{Crc32(bytes), bytes.size()};

  for (const auto& [name, entry] : entries) {
    auto it = wanted.find(name);
    if (it == wanted.end()) {
      ADD_FAILURE() << "unexpected entry " << name;
      continue;
    }
    EXPECT_EQ(entry.size, it->second.size) << name;
    EXPECT_EQ(entry.crc32, it->second.crc32) << name;
  }
  for (const auto& [name, entry] : wanted) EXPECT_EQ(entries.count(name), 1u) << "missing " << name;
}

}  // namespace
