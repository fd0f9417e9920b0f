#include "tools/host/chunking.h"

#include <cstdio>

std::vector<ChunkSpan> SplitIntoChunks(size_t totalLength, size_t chunkLength,
                                       UINT32 extraFlags) {
  std::vector<ChunkSpan> chunks;
  size_t offset = 0;
  do {
    size_t length = totalLength - offset < chunkLength ? totalLength - offset : chunkLength;
    UINT32 flags = extraFlags & ~static_cast<UINT32>(CHANNEL_FLAG_FIRST | CHANNEL_FLAG_LAST);
    if (offset == 0) flags |= CHANNEL_FLAG_FIRST;
    if (offset + length == totalLength) flags |= CHANNEL_FLAG_LAST;
    chunks.push_back({offset, static_cast<UINT32>(length), flags});
    offset += length;
  } while (offset < totalLength);
  return chunks;
}

std::string DescribeFlags(UINT32 flags) {
  std::string text;
  if (flags & CHANNEL_FLAG_FIRST) text = "FIRST";
  if (flags & CHANNEL_FLAG_LAST) text += text.empty() ? "LAST" : "|LAST";
  if (text.empty()) text = "none";
  UINT32 others = flags & ~static_cast<UINT32>(CHANNEL_FLAG_FIRST | CHANNEL_FLAG_LAST);
  if (others != 0) {
    char buffer[16];
    std::snprintf(buffer, sizeof(buffer), "+0x%x", static_cast<unsigned>(others));
    text += buffer;
  }
  return text;
}
