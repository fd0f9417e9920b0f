#include "tools/send/sender.h"

#include <sstream>
#include <string>
#include <vector>

#include "tests/send/scratch_dir.h"

namespace {

// Records what the sender does on the channel and answers as told.
class FakeChannel : public ServerChannel {
 public:
  Opened opened = Opened::kYes;
  std::uint64_t missing = 0;  // how many bytes of a write the channel does not take

  std::vector<std::string> calls;
  std::string message;

  Opened Open(const char* name) override {
    calls.push_back(std::string("open ") + name);
    return opened;
  }
  std::uint64_t Write(const std::vector<char>& bytes) override {
    calls.push_back("write");
    message.assign(bytes.begin(), bytes.end());
    return bytes.size() - missing;
  }
  void Close() override { calls.push_back("close"); }
};

class SenderTest : public ScratchDirTest {
 protected:
  SendStatus Run(std::vector<std::string> args) { return Send(args, channel_, 1000, out_, err_); }

  FakeChannel channel_;
  std::ostringstream out_, err_;
};

TEST_F(SenderTest, SendsTheWholeFileAsOneMessage) {
  const std::string bytes("%PDF-1.4\r\n\0binary\n", 19);
  const std::string path = Write("doc.pdf", bytes);
  EXPECT_EQ(Run({path}), kSent);
  EXPECT_EQ(channel_.calls, (std::vector<std::string>{"open QUARVEN", "write", "close"}));
  EXPECT_EQ(channel_.message, bytes);
  EXPECT_EQ(out_.str(), "quarven-send: sent " + path + " (19 bytes) on QUARVEN\n");
  EXPECT_EQ(err_.str(), "");
}

TEST_F(SenderTest, RefusesABadCommandLineOrFileWithoutOpeningTheChannel) {
  const struct {
    std::vector<std::string> args;
    SendStatus status;
    std::string error;  // the start of the message
  } cases[] = {
      {{}, kUsage, "usage: quarven-send FILE\n"},
      {{""}, kUsage, "usage: quarven-send FILE\n"},
      {{Write("a.pdf", "a"), Write("b.pdf", "b")}, kUsage, "usage: quarven-send FILE\n"},
      {{PathOf("missing.pdf")}, kBadFile, "quarven-send: " + PathOf("missing.pdf") + ": no such"},
      {{Write("empty.pdf", "")}, kBadFile, "quarven-send: " + PathOf("empty.pdf") + ": is empty"},
      {{Write("long.pdf", std::string(1001, 'x'))},
       kBadFile,
       "quarven-send: " + PathOf("long.pdf") + ": longer than one message"},
  };
  for (const auto& c : cases) {
    err_.str("");
    EXPECT_EQ(Run(c.args), c.status) << c.error;
    EXPECT_EQ(err_.str().rfind(c.error, 0), 0u) << err_.str();
  }
  EXPECT_EQ(channel_.calls, std::vector<std::string>{});
  EXPECT_EQ(out_.str(), "");
}

TEST_F(SenderTest, SaysWhyTheChannelCannotBeOpened) {
  const struct {
    ServerChannel::Opened opened;
    SendStatus status;
    std::string error;
  } cases[] = {
      {ServerChannel::Opened::kNotInSession, kNotInSession,
       "quarven-send: not in a Remote Desktop session"},
      {ServerChannel::Opened::kNotOnConnection, kNoChannel,
       "quarven-send: the channel QUARVEN is not available on this connection: is the quarven "
       "add-in installed on the client?\n"},
  };
  const std::string path = Write("doc.pdf", "document");
  for (const auto& c : cases) {
    channel_.opened = c.opened;
    channel_.calls.clear();
    err_.str("");
    EXPECT_EQ(Run({path}), c.status);
    EXPECT_EQ(channel_.calls, std::vector<std::string>{"open QUARVEN"});
    EXPECT_EQ(err_.str().rfind(c.error, 0), 0u) << err_.str();
  }
  EXPECT_EQ(out_.str(), "");
}

TEST_F(SenderTest, ReportsAWriteThatFallsShort) {
  const std::string path = Write("doc.pdf", "document");
  for (std::uint64_t missing : {1, 8}) {  // short by a byte; nothing sent at all
    channel_.missing = missing;
    channel_.calls.clear();
    err_.str("");
    EXPECT_EQ(Run({path}), kShortWrite);
    EXPECT_EQ(channel_.calls, (std::vector<std::string>{"open QUARVEN", "write", "close"}));
    EXPECT_EQ(err_.str(), "quarven-send: only " + std::to_string(8 - missing) +
                              " of the 8 bytes of " + path + " were sent; send it again\n");
  }
  EXPECT_EQ(out_.str(), "");
}

}  // namespace
