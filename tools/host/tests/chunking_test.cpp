#include "tools/host/chunking.h"

#include <gtest/gtest.h>

namespace {

// Every chunk is at most the chunk length, the chunks cover the message in
// order, FIRST is on the first only and LAST on the last only.
void ExpectWellFormed(const std::vector<ChunkSpan>& chunks, size_t total, size_t chunkLength) {
  ASSERT_FALSE(chunks.empty());
  size_t offset = 0;
  for (size_t i = 0; i < chunks.size(); ++i) {
    EXPECT_EQ(chunks[i].offset, offset) << i;
    EXPECT_LE(chunks[i].length, chunkLength) << i;
    EXPECT_EQ((chunks[i].flags & CHANNEL_FLAG_FIRST) != 0, i == 0) << i;
    EXPECT_EQ((chunks[i].flags & CHANNEL_FLAG_LAST) != 0, i + 1 == chunks.size()) << i;
    if (i + 1 < chunks.size()) {
      EXPECT_EQ(chunks[i].length, chunkLength) << i;
    }
    offset += chunks[i].length;
  }
  EXPECT_EQ(offset, total);
}

TEST(Chunking, AMessageOfOneChunkCarriesBothFlags) {
  auto chunks = SplitIntoChunks(100, kClientChunkLength);
  ASSERT_EQ(chunks.size(), 1u);
  EXPECT_EQ(chunks[0].length, 100u);
  EXPECT_EQ(chunks[0].flags, static_cast<UINT32>(CHANNEL_FLAG_FIRST | CHANNEL_FLAG_LAST));
}

TEST(Chunking, ExactlyOneChunkLength) {
  auto chunks = SplitIntoChunks(1600, 1600);
  ASSERT_EQ(chunks.size(), 1u);
  EXPECT_EQ(chunks[0].flags, static_cast<UINT32>(CHANNEL_FLAG_FIRST | CHANNEL_FLAG_LAST));
}

TEST(Chunking, OneByteOverAChunkLengthMakesTwo) {
  auto chunks = SplitIntoChunks(1601, 1600);
  ASSERT_EQ(chunks.size(), 2u);
  EXPECT_EQ(chunks[0].flags, static_cast<UINT32>(CHANNEL_FLAG_FIRST));
  EXPECT_EQ(chunks[1].length, 1u);
  EXPECT_EQ(chunks[1].flags, static_cast<UINT32>(CHANNEL_FLAG_LAST));
}

TEST(Chunking, MiddleChunksCarryNeitherFlag) {
  auto chunks = SplitIntoChunks(5000, 1600);
  ASSERT_EQ(chunks.size(), 4u);
  EXPECT_EQ(chunks[1].flags, 0u);
  EXPECT_EQ(chunks[2].flags, 0u);
  EXPECT_EQ(chunks[3].length, 200u);
  ExpectWellFormed(chunks, 5000, 1600);
}

TEST(Chunking, WellFormedForManySizes) {
  for (size_t chunkLength : {1u, 7u, 1600u, 4096u}) {
    for (size_t total : {1u, 2u, 1599u, 1600u, 1601u, 3200u, 3201u, 100000u}) {
      SCOPED_TRACE(testing::Message() << total << " in " << chunkLength);
      ExpectWellFormed(SplitIntoChunks(total, chunkLength), total, chunkLength);
    }
  }
}

TEST(Chunking, AnEmptyMessageIsOneEmptyChunkWithBothFlags) {
  auto chunks = SplitIntoChunks(0, 1600);
  ASSERT_EQ(chunks.size(), 1u);
  EXPECT_EQ(chunks[0].length, 0u);
  EXPECT_EQ(chunks[0].flags, static_cast<UINT32>(CHANNEL_FLAG_FIRST | CHANNEL_FLAG_LAST));
}

TEST(Chunking, ExtraFlagsGoOnEveryChunkAndDoNotForgeFirstOrLast) {
  auto chunks = SplitIntoChunks(4000, 1600, 0x10 | CHANNEL_FLAG_FIRST | CHANNEL_FLAG_LAST);
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[0].flags, 0x10u | CHANNEL_FLAG_FIRST);
  EXPECT_EQ(chunks[1].flags, 0x10u);
  EXPECT_EQ(chunks[2].flags, 0x10u | CHANNEL_FLAG_LAST);
}

TEST(Chunking, DescribesFlags) {
  EXPECT_EQ(DescribeFlags(0), "none");
  EXPECT_EQ(DescribeFlags(1), "FIRST");
  EXPECT_EQ(DescribeFlags(2), "LAST");
  EXPECT_EQ(DescribeFlags(3), "FIRST|LAST");
  EXPECT_EQ(DescribeFlags(0x13), "FIRST|LAST+0x10");
}

}  // namespace
