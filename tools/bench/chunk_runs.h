// The three ways of storing a document that the benchmark compares. One run
// stores the same document all three ways at once, chunk by chunk in turn, each
// way into its own file, so that all three meet the same state of the machine.
#pragma once

#include <cstdint>

#include "platform/channel.h"

constexpr std::uint32_t kChunkSize = 1600;  // the client's chunk length

// Chunks in a document of this many bytes: full ones and a shorter last one.
std::uint64_t ChunkCount(std::uint64_t documentSize);

// Seconds spent by each way over the whole document.
struct RunTimes {
  double receiver;      // the add-in's open-event handler, into temp.pdf
  double printRequest;  // of which its last chunk, which also asks for the print
  double floor;         // each chunk opened, appended and closed
  double heldOpen;      // each chunk written to one file held open throughout
};

// Stores one document all three ways, starting with none of the files.
RunTimes TimeRun(PCHANNEL_OPEN_EVENT_FN handler, std::uint64_t documentSize);

// Only the receiver, for measuring what else a process needs to receive a document.
void Receive(PCHANNEL_OPEN_EVENT_FN handler, std::uint64_t documentSize);
