// The fixture of every test: a freshly loaded add-in, driven as a host drives it,
// in a fresh temporary directory that is the current directory of the case.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/channel.h"
#include "tests/support/fake_host.h"
#include "tests/support/windows_double.h"

struct Chunk {
  UINT32 dataFlags;
  std::string bytes;
  UINT event = CHANNEL_EVENT_DATA_RECEIVED;
  std::optional<UINT32> totalLength;  // by default the length of the bytes
};

class AddinTest : public ::testing::Test {
 public:
  void SetUp() override;
  void TearDown() override;

  // Calls the entry with a table as MakeEntryPoints builds it.
  BOOL Enter(std::vector<unsigned char> entryPoints = MakeEntryPoints());
  // Sends one session event to the handler the add-in registered.
  void Event(UINT event, LPVOID pInitHandle = nullptr);
  // Registers and connects, so that the host holds the open-event handler.
  void Connect();
  // Hands one chunk to the open-event handler named at the last open.
  void Receive(const Chunk& chunk);
  // Hands a document over as the host does, in Message's chunks.
  void Send(const std::string& document, size_t chunkSize = 1600);

 protected:
  void* library_ = nullptr;
  PVIRTUALCHANNELENTRY entry_ = nullptr;
  std::string directory_;

 private:
  std::string previousDirectory_;
};

// A document as the host delivers it: chunks of at most chunkSize bytes, the
// first flagged CHANNEL_FLAG_FIRST, the last CHANNEL_FLAG_LAST.
std::vector<Chunk> Message(const std::string& document, size_t chunkSize = 1600);

// Expects exactly these notices, each a modal, ownerless "Velquist" box with OK only.
void ExpectNotices(const std::vector<std::string>& texts);
