#include "tools/bench/chunk_runs.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace {

using Clock = std::chrono::steady_clock;

const char* const kSpoolFile = "temp.pdf";  // the add-in's own name; the others differ
const char* const kFloorFile = "floor.pdf";
const char* const kHeldFile = "held.pdf";

// The bytes of every chunk; what they are costs nothing.
char gChunk[kChunkSize];

std::uint32_t LengthOf(std::uint64_t index, std::uint64_t documentSize) {
  std::uint64_t left = documentSize - index * kChunkSize;
  return static_cast<std::uint32_t>(left < kChunkSize ? left : kChunkSize);
}

void MustHave(bool ok, const char* what) {
  if (ok) return;
  std::perror(what);
  std::exit(1);
}

void ReceiveChunk(PCHANNEL_OPEN_EVENT_FN handler, std::uint64_t i, std::uint64_t count,
                  std::uint64_t documentSize) {
  UINT32 flags = (i == 0 ? CHANNEL_FLAG_FIRST : 0) | (i + 1 == count ? CHANNEL_FLAG_LAST : 0);
  handler(1, CHANNEL_EVENT_DATA_RECEIVED, gChunk, LengthOf(i, documentSize),
          static_cast<UINT32>(documentSize), flags);
}

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

std::uint64_t ChunkCount(std::uint64_t documentSize) {
  return (documentSize + kChunkSize - 1) / kChunkSize;
}

RunTimes TimeRun(PCHANNEL_OPEN_EVENT_FN handler, std::uint64_t documentSize) {
  // No run pays for freeing the previous run's files.
  for (const char* name : {kSpoolFile, kFloorFile, kHeldFile}) std::remove(name);
  RunTimes times{};
  std::uint64_t count = ChunkCount(documentSize);
  FILE* pHeld = nullptr;
  for (std::uint64_t i = 0; i < count; ++i) {
    std::uint32_t length = LengthOf(i, documentSize);
    // Each way goes first in turn, so that none always follows the same one.
    for (std::uint64_t k = 0; k < 3; ++k) {
      Clock::time_point start = Clock::now();
      switch ((i + k) % 3) {
        case 0: {
          ReceiveChunk(handler, i, count, documentSize);
          double receiver = Since(start);
          times.receiver += receiver;
          if (i + 1 == count) times.printRequest = receiver;
          break;
        }
        case 1: {
          FILE* pFloor = std::fopen(kFloorFile, "ab");
          MustHave(pFloor != nullptr && std::fwrite(gChunk, 1, length, pFloor) == length &&
                       std::fclose(pFloor) == 0,
                   kFloorFile);
          times.floor += Since(start);
          break;
        }
        default:
          if (i == 0) pHeld = std::fopen(kHeldFile, "ab");
          MustHave(pHeld != nullptr && std::fwrite(gChunk, 1, length, pHeld) == length, kHeldFile);
          if (i + 1 == count) MustHave(std::fclose(pHeld) == 0, kHeldFile);
          times.heldOpen += Since(start);
      }
    }
  }
  return times;
}

void Receive(PCHANNEL_OPEN_EVENT_FN handler, std::uint64_t documentSize) {
  std::uint64_t count = ChunkCount(documentSize);
  for (std::uint64_t i = 0; i < count; ++i) ReceiveChunk(handler, i, count, documentSize);
}
