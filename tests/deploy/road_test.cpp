// The road of a document from the server to the client's printer, under Wine:
// quarven-send → the server's API (the stand-in wtsapi32.dll) → the stand-in
// client, chunking as the real one does → the add-in → temp.pdf → the print
// handler. And what the sender says when the road is closed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <thread>

#include "tests/deploy/deploy_paths.h"
#include "tests/deploy/files.h"
#include "tests/deploy/wine.h"

namespace fs = std::filesystem;

namespace {

class RoadTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    if (!prefix_.Ready()) GTEST_SKIP() << "no " << prefix_.arch << " Wine prefix on this machine";
    const fs::path scratch = fs::path(kScratchDir) / ("road-" + prefix_.arch);
    fs::remove_all(scratch);
    server_ = scratch / "server";
    client_ = scratch / "client";
    fs::create_directories(server_);
    fs::create_directories(client_ / "prints");
    // The sender as released, with the stand-in for the server's API beside it.
    fs::copy(Release("quarven-send.exe"), server_);
    fs::copy(std::string(prefix_.arch == "x64" ? kX64Build : kX86Build) +
                 "/tools/wtsapi-standin/wtsapi32.dll",
             server_);
  }

  std::string Release(const std::string& file) const {
    return std::string(kReleaseDir) + "/" + prefix_.arch + "/" + file;
  }

  // Runs quarven-send in the client's folder, which the stand-in client inherits.
  Ran Send(std::vector<std::string> args, const std::string& session = "") const {
    args.insert(args.begin(), WindowsPath((server_ / "quarven-send.exe").string()));
    return prefix_.Run(
        args, client_.string(),
        {{"WINEDLLOVERRIDES", "wtsapi32=n"},
         {"QUARVEN_STANDIN_SESSION", session},
         {"QUARVEN_STANDIN_HOST", WindowsPath(Release("quarven-host.exe"))},
         {"QUARVEN_STANDIN_ADDIN", WindowsPath(Release("quarven.dll"))},
         {"QUARVEN_STANDIN_MESSAGE", WindowsPath((client_ / "message.bin").string())},
         {"QUARVEN_PRINT_LOG_DIR", WindowsPath((client_ / "prints").string())}});
  }

  WinePrefix prefix_ = PrefixFor(GetParam());
  fs::path server_, client_;
};

TEST_P(RoadTest, SenderSaysWhyNothingWasSent) {
  const std::string document(5000, 'd');
  std::ofstream(client_ / "doc.pdf", std::ios::binary) << document;
  std::ofstream(client_ / "empty.pdf", std::ios::binary);
  const struct {
    std::vector<std::string> args;
    std::string session;
    int status;
    std::string says;
  } cases[] = {
      {{"doc.pdf"}, "console", 4, "quarven-send: not in a Remote Desktop session"},
      {{"doc.pdf"},
       "no-channel",
       5,
       "quarven-send: the channel QUARVEN is not available on this connection: is the quarven "
       "add-in installed on the client?"},
      {{"doc.pdf"}, "short-write", 6, "quarven-send: only 2500 of the 5000 bytes of doc.pdf"},
      {{"missing.pdf"}, "", 3, "quarven-send: missing.pdf: no such file"},
      {{"empty.pdf"}, "", 3, "quarven-send: empty.pdf: is empty"},
      {{}, "", 2, "usage: quarven-send FILE"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    const Ran ran = Send(c.args, c.session);
    EXPECT_EQ(ran.status, c.status) << ran.output;
    EXPECT_NE(ran.output.find(c.says), std::string::npos) << ran.output;
    // Nothing reached the client.
    EXPECT_FALSE(fs::exists(client_ / "message.bin"));
    EXPECT_FALSE(fs::exists(client_ / "temp.pdf"));
  }
}

// The print handler's record of one start: "n=1|path=...|show=0|...".
std::map<std::string, std::string> Fields(const std::string& line) {
  std::map<std::string, std::string> fields;
  size_t at = 0;
  while (at < line.size()) {
    const size_t end = std::min(line.find('|', at), line.size());
    const std::string field = line.substr(at, end - at);
    const size_t equals = field.find('=');
    if (equals != std::string::npos) fields[field.substr(0, equals)] = field.substr(equals + 1);
    at = end + 1;
  }
  return fields;
}

// The print handler runs on its own once the add-in has asked the shell to print.
std::string WaitForPrintLog(const fs::path& log) {
  for (int tries = 0; tries < 300 && ReadAll(log.string()).find('\n') == std::string::npos;
       ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return ReadAll(log.string());
}

TEST_P(RoadTest, CarriesAPdfUnchangedToThePrintHandler) {
  const std::string document = ReadAll(prefix_.SamplePdf());
  ASSERT_GT(document.size(), 3 * 1600u) << "the sample must take several chunks";
  fs::copy(prefix_.SamplePdf(), client_ / "report.pdf");

  const Ran ran = Send({"report.pdf"});
  ASSERT_EQ(ran.status, 0) << ran.output;
  EXPECT_NE(ran.output.find("quarven-send: sent report.pdf (" + std::to_string(document.size()) +
                            " bytes) on QUARVEN"),
            std::string::npos)
      << ran.output;
  // What the server's API was handed, and what the add-in spooled from the chunks.
  EXPECT_EQ(ReadAll((client_ / "message.bin").string()), document);
  EXPECT_EQ(ReadAll((client_ / "temp.pdf").string()), document);

  // One print, of the client's temp.pdf, hidden, and the handler read it whole.
  const std::string log = WaitForPrintLog(client_ / "prints" / "prints.log");
  ASSERT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
  const auto print = Fields(log.substr(0, log.find('\n')));
  EXPECT_EQ(print.at("path"), WindowsPath((client_ / "temp.pdf").string())) << log;
  EXPECT_EQ(print.at("show"), "0") << log;  // SW_HIDE
  const fs::path copy = client_ / "prints" / print.at("copy");
  EXPECT_EQ(ReadAll(copy.string()), document);
  const Ran pages = ::Run({"pdfinfo", copy.string()});
  EXPECT_TRUE(std::regex_search(pages.output, std::regex("\\nPages: +4\\n"))) << pages.output;
}

INSTANTIATE_TEST_SUITE_P(Windows, RoadTest, ::testing::Values("x86", "x64"));

}  // namespace
