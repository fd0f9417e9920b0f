#include "tools/send/document.h"

#include <filesystem>
#include <string>

#include "tests/send/scratch_dir.h"

namespace {

using DocumentTest = ScratchDirTest;

TEST_F(DocumentTest, ReadsEveryByteUnchanged) {
  // Bytes a text-mode read would change, repeated past one read block.
  std::string bytes("%PDF\r\n\0\x1a\xff\n", 10);
  while (bytes.size() < 200 * 1024) bytes += bytes;
  const Document document = ReadDocument(Write("doc.pdf", bytes), bytes.size());
  EXPECT_EQ(document.error, "");
  EXPECT_EQ(std::string(document.bytes.begin(), document.bytes.end()), bytes);
}

TEST_F(DocumentTest, RefusesWhatCannotBeSent) {
  std::filesystem::create_directory(PathOf("folder"));
  const struct {
    std::string path;
    std::uint64_t maxBytes;
    std::string error;
  } cases[] = {
      {PathOf("missing.pdf"), 100, "no such file"},
      {Write("empty.pdf", ""), 100, "is empty, there is nothing to send"},
      {PathOf("folder"), 100, "cannot be read: Is a directory"},
      {Write("long.pdf", std::string(101, 'x')), 100,
       "longer than one message can carry (100 bytes)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadDocument(c.path, c.maxBytes).error, c.path + ": " + c.error);
  }
}

TEST_F(DocumentTest, TakesAFileOfExactlyTheLimit) {
  EXPECT_EQ(ReadDocument(Write("full.pdf", std::string(100, 'x')), 100).error, "");
}

}  // namespace
