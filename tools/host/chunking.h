// How the stand-in client splits one channel message into chunks, as the real
// client does: at most its chunk length each, in order, CHANNEL_FLAG_FIRST on the
// first, CHANNEL_FLAG_LAST on the last, both on a message of one chunk.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/channel.h"

// The real client's chunk length.
constexpr size_t kClientChunkLength = 1600;

struct ChunkSpan {
  size_t offset;
  UINT32 length;
  UINT32 flags;
};

// The chunks of a message of totalLength bytes, each at most chunkLength (> 0)
// bytes long, with extraFlags set besides the first and last flags. A message
// of no bytes is one chunk of length 0 with both flags.
std::vector<ChunkSpan> SplitIntoChunks(size_t totalLength, size_t chunkLength,
                                       UINT32 extraFlags = 0);

// "FIRST", "LAST", "FIRST|LAST", "none", with any other bits as "+0x..".
std::string DescribeFlags(UINT32 flags);
