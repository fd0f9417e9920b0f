// The receiver: each channel message becomes temp.pdf in the current directory
// and one print request once the whole document is in the file.
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "tests/support/addin_test.h"

namespace {

constexpr UINT32 F = CHANNEL_FLAG_FIRST;
constexpr UINT32 L = CHANNEL_FLAG_LAST;
constexpr UINT32 FL = CHANNEL_FLAG_FIRST | CHANNEL_FLAG_LAST;

std::vector<Chunk> Join(std::vector<std::vector<Chunk>> parts) {
  std::vector<Chunk> all;
  for (auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// Bytes of every value, a PDF's binary marker line among them: nothing may be translated.
std::string AllBytes() {
  std::string bytes = "%PDF-1.7\r\n%\xE2\xE3\xCF\xD3\r\n";
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes + "\n\r\n\x1A\0tail";
}

std::string Pattern(size_t length) {
  std::string bytes(length, '\0');
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

class ReceiverTest : public AddinTest {
 protected:
  void SetUp() override {
    AddinTest::SetUp();
    Connect();
    Windows().calls.clear();
  }

  void WriteSpool(const std::string& content) {
    std::ofstream("temp.pdf", std::ios::binary) << content;
  }

  // Every print request asks the same thing, of a spool file already closed.
  void ExpectPrintRequestsOf(const std::vector<std::string>& documents,
                             const std::optional<std::string>& directory) {
    std::vector<std::string> printed;
    for (const PrintRequest& request : Windows().prints) {
      printed.push_back(request.spoolContent.value_or("<no spool file>"));
      EXPECT_EQ(request.owner, nullptr);
      EXPECT_EQ(request.verb, "print");
      EXPECT_EQ(request.file, "temp.pdf");
      EXPECT_FALSE(request.hasParameters);
      EXPECT_EQ(request.directory, directory);
      EXPECT_EQ(request.show, SW_HIDE);
      EXPECT_FALSE(request.spoolStillOpen);
    }
    EXPECT_EQ(printed, documents);
  }
  void ExpectPrintRequestsOf(const std::vector<std::string>& documents) {
    ExpectPrintRequestsOf(documents, directory_);
  }
};

struct DocumentCase {
  const char* name;
  std::optional<std::string> spoolBefore;
  std::vector<Chunk> chunks;
  std::optional<std::string> spoolAfter;
  std::vector<std::string> printed;
};

void PrintTo(const DocumentCase& c, std::ostream* os) { *os << c.name; }

class Documents : public ReceiverTest, public ::testing::WithParamInterface<DocumentCase> {};

TEST_P(Documents, SpoolFileAndPrintRequestsAreAsSent) {
  const DocumentCase& c = GetParam();
  if (c.spoolBefore) WriteSpool(*c.spoolBefore);
  for (const Chunk& chunk : c.chunks) Receive(chunk);
  EXPECT_EQ(ReadSpool(), c.spoolAfter);
  ExpectPrintRequestsOf(c.printed);
  EXPECT_FALSE(SpoolIsOpen());
  ExpectNotices({});
}

const std::string kLarge = Pattern(64 * 1024 + 123);

INSTANTIATE_TEST_SUITE_P(
    Receiver, Documents,
    ::testing::Values(
        DocumentCase{"OneChunkWithBothFlags",
                     std::nullopt,
                     {{FL, "%PDF-1.4 one"}},
                     "%PDF-1.4 one",
                     {"%PDF-1.4 one"}},
        DocumentCase{"ManyChunksInOrder",
                     std::nullopt,
                     {{F, "alpha-"}, {0, "beta-"}, {0, "gamma-"}, {L, "delta"}},
                     "alpha-beta-gamma-delta",
                     {"alpha-beta-gamma-delta"}},
        DocumentCase{"LargeDocumentInHostChunks", std::nullopt, Message(kLarge), kLarge, {kLarge}},
        DocumentCase{
            "ChunkOfOneByteEach", std::nullopt, Message("abcdefgh", 1), "abcdefgh", {"abcdefgh"}},
        DocumentCase{"EveryByteValueUnchanged",
                     std::nullopt,
                     Message(AllBytes(), 7),
                     AllBytes(),
                     {AllBytes()}},
        DocumentCase{"ReplacesTheOldSpoolFile", "old document", {{FL, "new"}}, "new", {"new"}},
        DocumentCase{"EmptyMessagePrintsAnEmptyFile", "old", {{FL, ""}}, "", {""}},
        DocumentCase{"EmptyFirstChunkLeavesAnEmptyFile", "old", {{F, ""}}, "", {}},
        DocumentCase{
            "EmptyMiddleChunk", std::nullopt, {{F, "ab"}, {0, ""}, {L, "cd"}}, "abcd", {"abcd"}},
        DocumentCase{"EmptyLastChunkPrintsWhatTheFileHolds",
                     std::nullopt,
                     {{F, "ab"}, {L, ""}},
                     "ab",
                     {"ab"}},
        DocumentCase{
            "MiddleChunkWithoutSpoolFileCreatesIt", std::nullopt, {{0, "orphan"}}, "orphan", {}},
        DocumentCase{"ExtraFlagBitsAreIgnored",
                     std::nullopt,
                     {{F | 0x10, "a"}, {0x30, "b"}, {L | 0x100, "c"}, {FL | 0xFFFFFFF0u, "d"}},
                     "d",
                     {"abc", "d"}},
        DocumentCase{
            "OnlyExtraBitsIsAMiddleChunk", "kept", {{0x04, "+"}, {0x80000000u, "+"}}, "kept++", {}},
        DocumentCase{"TotalLengthIsIgnored",
                     std::nullopt,
                     {{F, "ab", CHANNEL_EVENT_DATA_RECEIVED, 0},
                      {0, "cd", CHANNEL_EVENT_DATA_RECEIVED, 1},
                      {L, "ef", CHANNEL_EVENT_DATA_RECEIVED, 0xFFFFFFFFu}},
                     "abcdef",
                     {"abcdef"}},
        DocumentCase{"UnfinishedDocumentIsReplacedByTheNext",
                     std::nullopt,
                     {{F, "cut "}, {0, "short"}, {FL, "next"}},
                     "next",
                     {"next"}},
        DocumentCase{"LastChunkAfterAFinishedDocumentPrintsTheWholeFileAgain",
                     std::nullopt,
                     {{FL, "doc"}, {L, "+late"}},
                     "doc+late",
                     {"doc", "doc+late"}},
        DocumentCase{"TwoDocumentsInARow",
                     std::nullopt,
                     Join({Message("first document", 4), Message("second", 4)}),
                     "second",
                     {"first document", "second"}},
        DocumentCase{"EventsThatAreNotDataStoreNothing",
                     "kept",
                     {{FL, "own write", CHANNEL_EVENT_WRITE_COMPLETE},
                      {F, "cancelled", CHANNEL_EVENT_WRITE_CANCELLED},
                      {L, "connected", CHANNEL_EVENT_CONNECTED}},
                     "kept",
                     {}}),
    [](const ::testing::TestParamInfo<DocumentCase>& info) { return info.param.name; });

TEST_F(ReceiverTest, OneChunkMessageRemovesWritesThenQueriesAndPrintsInOneCall) {
  WriteSpool("old");
  Receive({FL, "doc"});
  EXPECT_EQ(Windows().calls, (std::vector<std::string>{
                                 "DeleteFileA temp.pdf", "GetFileAttributesA temp.pdf",
                                 "GetLastError", "GetCurrentDirectoryA 260", "ShellExecuteA"}));
  ExpectPrintRequestsOf({"doc"});
}

// Faults of the file system and the shell, each followed by a document that must
// come through whole once the fault is gone.
struct FaultCase {
  const char* name;
  std::function<void(ReceiverTest&)> fault;
  std::function<void(ReceiverTest&)> repair;
  std::vector<Chunk> chunks;
  std::optional<std::string> spoolAfter;  // just after the chunks, before the repair
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class Faults : public ReceiverTest, public ::testing::WithParamInterface<FaultCase> {};

void DirectoryInTheWay(ReceiverTest&) { ASSERT_EQ(mkdir("temp.pdf", 0700), 0); }
void RemoveDirectoryInTheWay(ReceiverTest&) { ASSERT_EQ(rmdir("temp.pdf"), 0); }
// A disk that has become full: the spool file stands for /dev/full.
void DiskFull(ReceiverTest&) {
  ASSERT_EQ(unlink("temp.pdf"), 0);
  ASSERT_EQ(symlink("/dev/full", "temp.pdf"), 0);
}
void DiskFreed(ReceiverTest&) { ASSERT_EQ(unlink("temp.pdf"), 0); }

TEST_P(Faults, DocumentIsDroppedWholeAndTheNextOnePrints) {
  const FaultCase& c = GetParam();
  Receive({F, "begun "});
  c.fault(*this);
  for (const Chunk& chunk : c.chunks) Receive(chunk);
  EXPECT_EQ(ReadSpool(), c.spoolAfter);
  ExpectPrintRequestsOf({});

  c.repair(*this);
  Send("next document", 5);
  EXPECT_EQ(ReadSpool(), "next document");
  ExpectPrintRequestsOf({"next document"});
  ExpectNotices({});
}

INSTANTIATE_TEST_SUITE_P(
    Receiver, Faults,
    ::testing::Values(
        // The old file cannot be removed: the new document must not land behind it.
        FaultCase{"OldSpoolFileHeldAtFirstChunk",
                  [](ReceiverTest&) { Windows().keepFileOnDelete = true; },
                  [](ReceiverTest&) { Windows().keepFileOnDelete = false; },
                  {{F, "new "}, {0, "doc"}, {L, "ument"}},
                  "begun "},
        // A failed query does not show that the old file is gone.
        FaultCase{"OldSpoolFileHeldAndItsQueryFails",
                  [](ReceiverTest&) {
                    Windows().keepFileOnDelete = true;
                    Windows().failFileAttributes = true;
                  },
                  [](ReceiverTest&) {
                    Windows().keepFileOnDelete = false;
                    Windows().failFileAttributes = false;
                  },
                  {{F, "new "}, {0, "doc"}, {L, "ument"}},
                  "begun "},
        FaultCase{"QueryFailsAfterTheRemoval",
                  [](ReceiverTest&) { Windows().failFileAttributes = true; },
                  [](ReceiverTest&) { Windows().failFileAttributes = false; },
                  {{F, "new"}, {L, "doc"}},
                  std::nullopt},
        FaultCase{"SpoolFileCannotBeOpenedAtFirstChunk",
                  [](ReceiverTest& t) {
                    DiskFreed(t);
                    DirectoryInTheWay(t);
                  },
                  RemoveDirectoryInTheWay,
                  {{F, "new"}, {L, "doc"}},
                  std::nullopt},
        FaultCase{"SpoolFileCannotBeOpenedMidDocument",
                  [](ReceiverTest& t) {
                    DiskFreed(t);
                    DirectoryInTheWay(t);
                  },
                  [](ReceiverTest& t) {
                    RemoveDirectoryInTheWay(t);
                    // Room again before the document ends: its last chunk must still be dropped.
                    t.Receive({L, "end"});
                  },
                  {{0, "middle"}},
                  std::nullopt},
        FaultCase{"ShortWriteOfALargeChunk",
                  DiskFull,
                  [](ReceiverTest& t) {
                    DiskFreed(t);
                    t.Receive({0, "more"});
                    t.Receive({L, "end"});
                  },
                  {{0, Pattern(100000)}},
                  std::nullopt},
        FaultCase{"CloseFailsToFlushASmallChunk",
                  DiskFull,
                  [](ReceiverTest& t) {
                    DiskFreed(t);
                    t.Receive({L, "end"});
                  },
                  {{0, "small"}, {L, "end"}},
                  std::nullopt}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

// A refused print request (no program registered to print PDF files, out of
// memory) is not reported: the file stays for the user, the next document replaces it.
class PrintRefused : public ReceiverTest, public ::testing::WithParamInterface<int> {};

TEST_P(PrintRefused, LeavesTheSpoolFileAndTheNextDocumentPrints) {
  Windows().printResult = reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(GetParam()));
  Send("refused");
  EXPECT_EQ(ReadSpool(), "refused");
  Send("next");
  EXPECT_EQ(ReadSpool(), "next");
  ExpectPrintRequestsOf({"refused", "next"});
  ExpectNotices({});
}

INSTANTIATE_TEST_SUITE_P(Receiver, PrintRefused, ::testing::Values(0, 2, SE_ERR_NOASSOC, 32));

class DirectoryQuery : public ReceiverTest, public ::testing::WithParamInterface<DWORD> {};

TEST_P(DirectoryQuery, FailedOrTooLongGivesNoWorkingDirectory) {
  Windows().directoryResult = GetParam();
  Receive({FL, "doc"});
  ExpectPrintRequestsOf({"doc"}, std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Receiver, DirectoryQuery, ::testing::Values(0, 260, 261, 32767));

}  // namespace
