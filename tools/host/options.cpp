#include "tools/host/options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

const char kUsage[] =
    "usage: quarven-host [options] ADDIN.dll [DOCUMENT...]\n"
    "\n"
    "Loads a Remote Desktop client add-in as the Windows client does, runs one\n"
    "session with it (initialized, connected, each DOCUMENT sent as one channel\n"
    "message on \"QUARVEN\", disconnected, terminated) and unloads it.\n"
    "\n"
    "options:\n"
    "  --refuse-init CODE   VirtualChannelInit refuses the registration with CODE (not 0)\n"
    "  --leave-options      VirtualChannelInit accepts but does not set CHANNEL_OPTION_INITIALIZED\n"
    "  --extra-options BITS VirtualChannelInit sets CHANNEL_OPTION_INITIALIZED and BITS too\n"
    "  --fail-open CODE     VirtualChannelOpen fails with CODE (not 0)\n"
    "  --v1-server          announce a server without virtual channels (CHANNEL_EVENT_V1_CONNECTED)\n"
    "  --server NAME        the server name sent with CHANNEL_EVENT_CONNECTED (default quarven-host)\n"
    "  --chunk-size N       chunks of at most N bytes (default 1600, the real client's)\n"
    "  --extra-flags BITS   set BITS in every chunk's dataFlags besides FIRST and LAST\n"
    "  --reconnect          disconnect and connect again between documents\n"
    "  --pause MS           wait MS milliseconds after each document\n"
    "  --help               show this text\n"
    "\n"
    "Numbers are decimal or 0x-prefixed hexadecimal.\n"
    "Exit status: 0 the session ran through (entry accepted, every document handed\n"
    "over); 2 usage error; 3 the add-in or a document cannot be loaded; 4 the add-in\n"
    "refused the entry; 5 a document could not be handed over (no open channel);\n"
    "6 the add-in broke the calling convention.\n";

namespace {

bool ParseNumber(const char* text, unsigned long max, unsigned long* value) {
  if (text == nullptr || *text == '\0' || *text == '-') return false;
  errno = 0;
  char* end = nullptr;
  unsigned long parsed = std::strtoul(text, &end, 0);
  if (errno != 0 || *end != '\0' || parsed > max) return false;
  *value = parsed;
  return true;
}

}  // namespace

ParseResult ParseHostOptions(int argc, const char* const* argv, HostOptions* options,
                             std::string* error) {
  std::vector<std::string> positional;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help") return ParseResult::kHelp;
    if (arg == "--leave-options") {
      options->optionsAnswer = OptionsAnswer::kUnset;
      continue;
    }
    if (arg == "--v1-server") {
      options->v1Server = true;
      continue;
    }
    if (arg == "--reconnect") {
      options->reconnect = true;
      continue;
    }

    // The options with a value.
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    unsigned long number = 0;
    bool known = true, valid = true;
    if (arg == "--server") {
      valid = value != nullptr && *value != '\0';
      if (valid) options->serverName = value;
    } else if (arg == "--refuse-init") {
      valid = ParseNumber(value, 0xffffffffUL, &number) && number != 0;
      options->refuseInitCode = static_cast<UINT>(number);
    } else if (arg == "--extra-options") {
      valid = ParseNumber(value, 0xffffffffUL, &number);
      options->optionsAnswer = OptionsAnswer::kExtraBits;
      options->extraOptionBits = static_cast<ULONG>(number);
    } else if (arg == "--fail-open") {
      valid = ParseNumber(value, 0xffffffffUL, &number) && number != 0;
      options->failOpenCode = static_cast<UINT>(number);
    } else if (arg == "--chunk-size") {
      valid = ParseNumber(value, 0x7fffffffUL, &number) && number != 0;
      options->chunkLength = number;
    } else if (arg == "--extra-flags") {
      valid = ParseNumber(value, 0xffffffffUL, &number);
      options->extraDataFlags = static_cast<UINT32>(number);
    } else if (arg == "--pause") {
      valid = ParseNumber(value, 3600000UL, &number);
      options->pauseMs = static_cast<unsigned>(number);
    } else {
      known = false;
    }
    if (!known) {
      *error = "unknown option " + arg;
      return ParseResult::kError;
    }
    if (!valid) {
      *error = value == nullptr ? arg + " needs a value"
                                : "bad value for " + arg + ": \"" + value + "\"";
      return ParseResult::kError;
    }
    ++i;
  }

  if (positional.empty()) {
    *error = "no add-in named";
    return ParseResult::kError;
  }
  options->addinPath = positional[0];
  options->documents.assign(positional.begin() + 1, positional.end());
  return ParseResult::kRun;
}
