// One session of the stand-in client with an add-in, as the Windows Remote
// Desktop client runs it (see shared/host-interface.md): load the DLL, call
// VirtualChannelEntry, send the session events and the documents, unload.
// Windows only.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "tools/host/options.h"

struct Document {
  std::string name;
  std::vector<unsigned char> bytes;
};

// Reads each file whole. On failure, *error names the file and the reason.
bool ReadDocuments(const std::vector<std::string>& paths, std::vector<Document>* documents,
                   std::string* error);

// The exit status of quarven-host for each outcome.
enum class SessionStatus {
  kRanThrough = 0,     // entry accepted, every document handed over
  kLoadFailed = 3,     // missing, unreadable, wrong architecture, not a DLL, no entry
  kEntryRefused = 4,   // VirtualChannelEntry returned FALSE
  kNotDelivered = 5,   // a document found no open channel "QUARVEN"
  kStackMismatch = 6,  // a function of the add-in left the stack unbalanced (32-bit)
};

struct ChunkRecord {
  size_t document;
  UINT32 dataLength;
  UINT32 totalLength;
  UINT32 dataFlags;
};

// For tests: called on the client's thread around its work.
struct SessionHooks {
  std::function<void(const char* function)> beforeAddinCall;
  std::function<void(const char* function)> afterAddinCall;
  std::function<void(const ChunkRecord& chunk)> onChunk;
  std::function<void(size_t document)> afterDocument;
};

struct SessionResult {
  SessionStatus status = SessionStatus::kRanThrough;
  std::string error;  // what went wrong, for the user; empty when it ran through
  bool entryCalled = false;
  BOOL entryResult = FALSE;
  size_t delivered = 0;   // documents handed over whole
  unsigned writes = 0;    // VirtualChannelWrite calls (a one-way add-in makes none)
  bool stackChecked = false;
};

// Runs the session, printing each step on standard output.
SessionResult RunSession(const HostOptions& options, const std::vector<Document>& documents,
                         const SessionHooks& hooks = SessionHooks());
