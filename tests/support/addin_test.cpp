#include "tests/support/addin_test.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "tools/host/chunking.h"

void AddinTest::SetUp() {
  ResetWindows();
  ResetHost();

  char cwd[PATH_MAX];
  ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
  previousDirectory_ = cwd;
  std::string pattern = (std::filesystem::temp_directory_path() / "quarven-test-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  directory_ = pattern;
  ASSERT_EQ(chdir(directory_.c_str()), 0);

  // The plug-in state is zero at load only if no earlier case left it loaded.
  ASSERT_EQ(dlopen(QUARVEN_ADDIN_PATH, RTLD_NOW | RTLD_NOLOAD), nullptr);
  library_ = dlopen(QUARVEN_ADDIN_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library_, nullptr) << dlerror();
  entry_ = reinterpret_cast<PVIRTUALCHANNELENTRY>(dlsym(library_, "VirtualChannelEntry"));
  ASSERT_NE(entry_, nullptr);
}

void AddinTest::TearDown() {
  if (library_ != nullptr) {
    EXPECT_EQ(dlclose(library_), 0);
  }
  EXPECT_EQ(chdir(previousDirectory_.c_str()), 0);
  std::filesystem::remove_all(directory_);
}

BOOL AddinTest::Enter(std::vector<unsigned char> entryPoints) {
  BOOL result = entry_(reinterpret_cast<PCHANNEL_ENTRY_POINTS>(entryPoints.data()));
  // The table is the host's and valid only during the call; spoil it so that
  // any later use of it shows.
  std::fill(entryPoints.begin(), entryPoints.end(), 0xDD);
  return result;
}

void AddinTest::Event(UINT event, LPVOID pInitHandle) {
  ASSERT_FALSE(Host().inits.empty());
  Host().inits.back().pChannelInitEventProc(pInitHandle, event, nullptr, 0);
}

void AddinTest::Connect() {
  ASSERT_TRUE(Enter());
  Event(CHANNEL_EVENT_INITIALIZED);
  Event(CHANNEL_EVENT_CONNECTED, Host().initHandle);
  ASSERT_EQ(Host().opens.size(), 1u);
  ASSERT_NE(Host().opens.back().pChannelOpenEventProc, nullptr);
}

void AddinTest::Receive(const Chunk& chunk) {
  ASSERT_FALSE(Host().opens.empty());
  // A host's buffer may be longer than the chunk; the bytes after it must not be stored.
  std::string buffer = chunk.bytes + "TRAILING-GARBAGE";
  UINT32 length = static_cast<UINT32>(chunk.bytes.size());
  Host().opens.back().pChannelOpenEventProc(Host().nextOpenHandle - 1, chunk.event, buffer.data(),
                                            length, chunk.totalLength.value_or(length),
                                            chunk.dataFlags);
}

void AddinTest::Send(const std::string& document, size_t chunkSize) {
  for (const Chunk& chunk : Message(document, chunkSize)) Receive(chunk);
}

std::vector<Chunk> Message(const std::string& document, size_t chunkSize) {
  std::vector<Chunk> chunks;
  for (const ChunkSpan& span : SplitIntoChunks(document.size(), chunkSize)) {
    chunks.push_back({span.flags, document.substr(span.offset, span.length),
                      CHANNEL_EVENT_DATA_RECEIVED, static_cast<UINT32>(document.size())});
  }
  return chunks;
}

void ExpectNotices(const std::vector<std::string>& texts) {
  std::vector<std::string> shown;
  for (const Notice& notice : Windows().notices) {
    shown.push_back(notice.text);
    EXPECT_EQ(notice.owner, nullptr);
    EXPECT_EQ(notice.caption, "Velquist");
    EXPECT_EQ(notice.type, static_cast<UINT>(MB_OK));
  }
  EXPECT_EQ(shown, texts);
}
