// The stand-in client's command line:
//   quarven-host [options] ADDIN.dll [DOCUMENT...]
// Other tools rely on this form; tools/host/README.md documents it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/channel.h"
#include "tools/host/chunking.h"

enum class OptionsAnswer {
  kInitialized,  // what the real client does: options |= CHANNEL_OPTION_INITIALIZED
  kUnset,        // leave options as the add-in handed them
  kExtraBits,    // CHANNEL_OPTION_INITIALIZED and extraOptionBits
};

struct HostOptions {
  std::string addinPath;
  std::vector<std::string> documents;

  UINT refuseInitCode = CHANNEL_RC_OK;  // non-zero: VirtualChannelInit refuses with it
  OptionsAnswer optionsAnswer = OptionsAnswer::kInitialized;
  ULONG extraOptionBits = 0;
  UINT failOpenCode = CHANNEL_RC_OK;  // non-zero: VirtualChannelOpen fails with it
  bool v1Server = false;              // CHANNEL_EVENT_V1_CONNECTED instead of CONNECTED
  std::string serverName = "quarven-host";
  size_t chunkLength = kClientChunkLength;
  UINT32 extraDataFlags = 0;  // set in every chunk's dataFlags besides FIRST and LAST
  bool reconnect = false;     // DISCONNECTED and CONNECTED again between documents
  unsigned pauseMs = 0;       // wait after each document
};

// The usage text, for --help and after a usage error.
extern const char kUsage[];

enum class ParseResult { kRun, kHelp, kError };

// Parses argv[1..argc-1]. On kError, *error says what is wrong.
ParseResult ParseHostOptions(int argc, const char* const* argv, HostOptions* options,
                             std::string* error);
