#include "tools/host/session.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "tools/host/addin_call.h"
#include "tools/host/chunking.h"
#include "tools/host/host_codes.h"
#include "tools/host/pe_machine.h"

namespace {

#if defined(_WIN64)
constexpr uint16_t kOwnMachine = kMachineAmd64;
#else
constexpr uint16_t kOwnMachine = kMachineI386;
#endif

// The channel that documents travel on.
constexpr char kDocumentChannel[] = "QUARVEN";

void Say(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(stdout, format, args);
  va_end(args);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::string Format(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof(buffer), format, args);
  va_end(args);
  return buffer;
}

// A table longer than the fields the add-in knows, as a newer client hands over.
struct ExtendedEntryPoints {
  CHANNEL_ENTRY_POINTS known;
  DWORD newerFields[4];
};

struct OpenChannel {
  std::string name;
  DWORD handle;
  PCHANNEL_OPEN_EVENT_FN handler;
};

// The client's side of the session. The add-in's calls reach it through the
// functions below, which find it here: one session runs at a time.
struct Client {
  const HostOptions* options = nullptr;
  bool inEntry = false;
  bool initialized = false;
  PCHANNEL_INIT_EVENT_FN initHandler = nullptr;
  std::vector<std::string> channels;
  bool connected = false;
  std::vector<OpenChannel> opens;  // of the current connection
  DWORD nextOpenHandle = 0x51;
  unsigned writes = 0;
};

Client* gClient = nullptr;
// The init handle: what the client gives the add-in to name this registration.
char gInitHandleCookie;
LPVOID const kInitHandle = &gInitHandleCookie;

bool NameIsValid(const char* name, size_t size) {
  return memchr(name, '\0', size) != nullptr && name[0] != '\0';
}

UINT VCAPITYPE ClientVirtualChannelInit(LPVOID* ppInitHandle, PCHANNEL_DEF pChannel,
                                        INT channelCount, ULONG versionRequested,
                                        PCHANNEL_INIT_EVENT_FN pChannelInitEventProc) {
  Client& client = *gClient;
  UINT rc = CHANNEL_RC_OK;
  if (!client.inEntry) {
    rc = CHANNEL_RC_NOT_IN_VIRTUALCHANNELENTRY;
  } else if (client.initialized) {
    rc = CHANNEL_RC_ALREADY_INITIALIZED;
  } else if (ppInitHandle == nullptr) {
    rc = CHANNEL_RC_BAD_INIT_HANDLE;
  } else if (pChannel == nullptr) {
    rc = CHANNEL_RC_BAD_CHANNEL;
  } else if (channelCount <= 0 || channelCount > CHANNEL_MAX_COUNT) {
    rc = CHANNEL_RC_TOO_MANY_CHANNELS;
  } else if (pChannelInitEventProc == nullptr) {
    rc = CHANNEL_RC_BAD_PROC;
  } else {
    for (INT i = 0; i < channelCount; ++i) {
      if (!NameIsValid(pChannel[i].name, sizeof(pChannel[i].name))) rc = CHANNEL_RC_BAD_CHANNEL;
    }
  }
  if (rc == CHANNEL_RC_OK && client.options->refuseInitCode != CHANNEL_RC_OK) {
    rc = client.options->refuseInitCode;
    Say("  client: VirtualChannelInit refuses the registration as asked (--refuse-init)");
  }

  std::string names;
  for (INT i = 0; pChannel != nullptr && i < channelCount && i < CHANNEL_MAX_COUNT; ++i) {
    names += (i ? ", \"" : "\"") + std::string(pChannel[i].name, strnlen(pChannel[i].name, 8)) +
             "\" options 0x" + Format("%08lx", static_cast<unsigned long>(pChannel[i].options));
  }
  Say("  add-in calls VirtualChannelInit: %d channel(s) [%s], version %lu", channelCount,
      names.c_str(), static_cast<unsigned long>(versionRequested));

  if (rc == CHANNEL_RC_OK) {
    client.initialized = true;
    client.initHandler = pChannelInitEventProc;
    *ppInitHandle = kInitHandle;
    for (INT i = 0; i < channelCount; ++i) {
      client.channels.push_back(pChannel[i].name);
      switch (client.options->optionsAnswer) {
        case OptionsAnswer::kInitialized:
          pChannel[i].options |= CHANNEL_OPTION_INITIALIZED;
          break;
        case OptionsAnswer::kUnset:
          break;
        case OptionsAnswer::kExtraBits:
          pChannel[i].options |= CHANNEL_OPTION_INITIALIZED | client.options->extraOptionBits;
          break;
      }
      Say("  client: channel \"%s\" registered, options now 0x%08lx", client.channels.back().c_str(),
          static_cast<unsigned long>(pChannel[i].options));
    }
    Say("  client: init handle %p stored", kInitHandle);
  }
  Say("  client: VirtualChannelInit returns %u (%s)", rc, ResultCodeName(rc));
  return rc;
}

UINT VCAPITYPE ClientVirtualChannelOpen(LPVOID pInitHandle, LPDWORD pOpenHandle,
                                        PCHAR pChannelName,
                                        PCHANNEL_OPEN_EVENT_FN pChannelOpenEventProc) {
  Client& client = *gClient;
  std::string name = pChannelName != nullptr ? std::string(pChannelName, strnlen(pChannelName, 8))
                                             : std::string("(null)");
  Say("  add-in calls VirtualChannelOpen: \"%s\", init handle %p", name.c_str(), pInitHandle);
  UINT rc = CHANNEL_RC_OK;
  bool registered = false;
  for (const std::string& channel : client.channels) registered |= channel == name;
  bool open = false;
  for (const OpenChannel& channel : client.opens) open |= channel.name == name;
  if (pInitHandle != kInitHandle || !client.initialized) {
    rc = CHANNEL_RC_BAD_INIT_HANDLE;
  } else if (!client.connected) {
    rc = CHANNEL_RC_NOT_CONNECTED;
  } else if (pOpenHandle == nullptr) {
    rc = CHANNEL_RC_BAD_CHANNEL_HANDLE;
  } else if (pChannelName == nullptr || !registered) {
    rc = CHANNEL_RC_UNKNOWN_CHANNEL_NAME;
  } else if (pChannelOpenEventProc == nullptr) {
    rc = CHANNEL_RC_BAD_PROC;
  } else if (open) {
    rc = CHANNEL_RC_ALREADY_OPEN;
  } else if (client.options->failOpenCode != CHANNEL_RC_OK) {
    rc = client.options->failOpenCode;
    Say("  client: VirtualChannelOpen fails as asked (--fail-open)");
  }
  if (rc == CHANNEL_RC_OK) {
    DWORD handle = client.nextOpenHandle++;
    *pOpenHandle = handle;
    client.opens.push_back({name, handle, pChannelOpenEventProc});
    Say("  client: channel \"%s\" open, open handle 0x%lx stored", name.c_str(),
        static_cast<unsigned long>(handle));
  }
  Say("  client: VirtualChannelOpen returns %u (%s)", rc, ResultCodeName(rc));
  return rc;
}

UINT VCAPITYPE ClientVirtualChannelClose(DWORD openHandle) {
  Client& client = *gClient;
  Say("  add-in calls VirtualChannelClose: open handle 0x%lx",
      static_cast<unsigned long>(openHandle));
  for (size_t i = 0; i < client.opens.size(); ++i) {
    if (client.opens[i].handle == openHandle) {
      client.opens.erase(client.opens.begin() + i);
      Say("  client: VirtualChannelClose returns 0 (CHANNEL_RC_OK)");
      return CHANNEL_RC_OK;
    }
  }
  Say("  client: VirtualChannelClose returns %u (CHANNEL_RC_BAD_CHANNEL_HANDLE)",
      CHANNEL_RC_BAD_CHANNEL_HANDLE);
  return CHANNEL_RC_BAD_CHANNEL_HANDLE;
}

UINT VCAPITYPE ClientVirtualChannelWrite(DWORD openHandle, LPVOID pData, ULONG dataLength,
                                         LPVOID pUserData) {
  (void)pData;
  (void)pUserData;
  Client& client = *gClient;
  ++client.writes;
  Say("  add-in calls VirtualChannelWrite: open handle 0x%lx, %lu bytes (the server is not "
      "listening: nothing is sent)",
      static_cast<unsigned long>(openHandle), static_cast<unsigned long>(dataLength));
  for (const OpenChannel& channel : client.opens) {
    if (channel.handle == openHandle) return CHANNEL_RC_OK;
  }
  return CHANNEL_RC_NOT_OPEN;
}

// Reads the start of the DLL: a clear word for a file that the loader would
// refuse, before the loader's own terse one.
bool CheckAddinFile(const std::string& path, std::string* error) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
      // A bare name may still be found on the DLL search path, as the client finds it.
      if (path.find_first_of("\\/:") == std::string::npos) return true;
      *error = "cannot find the add-in " + path;
    } else {
      *error = Format("cannot read the add-in %s (Windows error %lu)", path.c_str(),
                      static_cast<unsigned long>(code));
    }
    return false;
  }
  unsigned char header[4096];
  DWORD got = 0;
  BOOL read = ReadFile(file, header, sizeof(header), &got, nullptr);
  CloseHandle(file);
  if (!read) {
    *error = "cannot read the add-in " + path;
    return false;
  }
  PeInfo info = ReadPeInfo(header, got);
  if (!info.isPe) {
    *error = path + " is not a Windows DLL";
    return false;
  }
  if (!info.isDll) {
    *error = path + " is a Windows program, not a DLL";
    return false;
  }
  if (info.machine != kOwnMachine) {
    *error = Format(
        "%s is a DLL for %s, but this quarven-host is %s and, like the Remote Desktop client "
        "of that architecture, loads only %s add-ins: use the quarven-host built for %s",
        path.c_str(), MachineName(info.machine), MachineName(kOwnMachine),
        MachineName(kOwnMachine), MachineName(info.machine));
    return false;
  }
  Say("load: %s is a DLL for %s", path.c_str(), MachineName(info.machine));
  return true;
}

class Session {
 public:
  Session(const HostOptions& options, const std::vector<Document>& documents,
          const SessionHooks& hooks)
      : options_(options), documents_(documents), hooks_(hooks) {
    client_.options = &options;
  }

  SessionResult Run() {
    gClient = &client_;
    Say("quarven-host: a stand-in Remote Desktop client, %s", MachineName(kOwnMachine));
    if (Load()) {
      if (Enter()) Events();
      Unload();
    }
    gClient = nullptr;
    result_.writes = client_.writes;
    if (result_.status == SessionStatus::kRanThrough) {
      Say("session: ran through: entry accepted, %zu of %zu document(s) handed over",
          result_.delivered, documents_.size());
    } else {
      Say("session: did not run through: %s", result_.error.c_str());
    }
    if (client_.writes > 0) {
      Say("session: the add-in wrote to the channel %u time(s)", client_.writes);
    }
    return result_;
  }

 private:
  void Fail(SessionStatus status, const std::string& error) {
    if (result_.status != SessionStatus::kRanThrough) return;
    result_.status = status;
    result_.error = error;
  }

  bool Load() {
    std::string error;
    if (!CheckAddinFile(options_.addinPath, &error)) {
      Fail(SessionStatus::kLoadFailed, error);
      return false;
    }
    module_ = LoadLibraryA(options_.addinPath.c_str());
    if (module_ == nullptr) {
      DWORD code = GetLastError();
      const char* why = code == ERROR_MOD_NOT_FOUND      ? "not found, or a DLL it needs is missing"
                        : code == ERROR_BAD_EXE_FORMAT ? "not a DLL for this architecture"
                                                       : "the loader refused it";
      Fail(SessionStatus::kLoadFailed,
           Format("cannot load the add-in %s: %s (Windows error %lu)",
                  options_.addinPath.c_str(), why, static_cast<unsigned long>(code)));
      return false;
    }
    Say("load: LoadLibrary(\"%s\") done", options_.addinPath.c_str());
    entry_ = reinterpret_cast<PVIRTUALCHANNELENTRY>(
        reinterpret_cast<void*>(GetProcAddress(module_, "VirtualChannelEntry")));
    if (entry_ == nullptr) {
      Fail(SessionStatus::kLoadFailed,
           options_.addinPath +
               " exports no VirtualChannelEntry: it is not a Remote Desktop client add-in");
      Unload();
      return false;
    }
    Say("load: VirtualChannelEntry found");
    return true;
  }

  void Unload() {
    if (module_ == nullptr) return;
    FreeLibrary(module_);
    module_ = nullptr;
    Say("unload: FreeLibrary done");
  }

  // Records the measurement of one call into the add-in; false on a mismatch.
  bool Checked(const char* function, const StackCheck& check, bool* reported) {
    if (!check.measured) return true;
    result_.stackChecked = true;
    if (!check.ok()) {
      Fail(SessionStatus::kStackMismatch,
           Format("%s removed %d of its %d argument bytes from the stack: it is not __stdcall, "
                  "and the Remote Desktop client would crash here",
                  function, check.removed, check.expected));
      return false;
    }
    if (!*reported) {
      Say("stack: %s removed its %d argument bytes (__stdcall)", function, check.removed);
      *reported = true;
    }
    return true;
  }

  void Before(const char* function) {
    if (hooks_.beforeAddinCall) hooks_.beforeAddinCall(function);
  }
  void After(const char* function) {
    if (hooks_.afterAddinCall) hooks_.afterAddinCall(function);
  }

  bool Enter() {
    ExtendedEntryPoints table;
    memset(&table, 0, sizeof(table));
    table.known.cbSize = sizeof(table);
    table.known.protocolVersion = VIRTUAL_CHANNEL_VERSION_WIN2000;
    table.known.pVirtualChannelInit = ClientVirtualChannelInit;
    table.known.pVirtualChannelOpen = ClientVirtualChannelOpen;
    table.known.pVirtualChannelClose = ClientVirtualChannelClose;
    table.known.pVirtualChannelWrite = ClientVirtualChannelWrite;
    for (DWORD& field : table.newerFields) field = 0x0ddba11;
    Say("entry: calling VirtualChannelEntry (table cbSize %lu, %zu bytes more than the four "
        "known operations; protocolVersion %lu)",
        static_cast<unsigned long>(table.known.cbSize), sizeof(table.newerFields),
        static_cast<unsigned long>(table.known.protocolVersion));

    StackCheck check;
    client_.inEntry = true;
    Before("VirtualChannelEntry");
    BOOL accepted = CallEntry(entry_, &table.known, &check);
    After("VirtualChannelEntry");
    client_.inEntry = false;
    // The table was the add-in's to read during the call only.
    memset(&table, 0xdd, sizeof(table));
    result_.entryCalled = true;
    result_.entryResult = accepted;
    Say("entry: VirtualChannelEntry returned %s", accepted ? "TRUE" : "FALSE");
    if (!Checked("VirtualChannelEntry", check, &entryReported_)) return false;
    if (!accepted) {
      Fail(SessionStatus::kEntryRefused,
           "the add-in refused the entry (VirtualChannelEntry returned FALSE); the client "
           "unloads it and sends it no events");
      return false;
    }
    if (!client_.initialized) {
      Fail(SessionStatus::kNotDelivered,
           "VirtualChannelEntry returned TRUE without registering a channel: no events");
      return false;
    }
    return true;
  }

  bool InitEvent(UINT event, const char* data) {
    UINT length = data != nullptr ? static_cast<UINT>(strlen(data) + 1) : 0;
    if (data != nullptr) {
      Say("event: %s, server \"%s\"", InitEventName(event), data);
    } else {
      Say("event: %s", InitEventName(event));
    }
    StackCheck check;
    Before("VirtualChannelInitEvent");
    CallInitEvent(client_.initHandler, kInitHandle, event, const_cast<char*>(data), length,
                  &check);
    After("VirtualChannelInitEvent");
    return Checked("VirtualChannelInitEvent", check, &initEventReported_);
  }

  bool Connect() {
    client_.connected = true;
    client_.opens.clear();
    if (options_.v1Server) return InitEvent(CHANNEL_EVENT_V1_CONNECTED, nullptr);
    return InitEvent(CHANNEL_EVENT_CONNECTED, options_.serverName.c_str());
  }

  bool Disconnect() {
    client_.connected = false;
    client_.opens.clear();
    return InitEvent(CHANNEL_EVENT_DISCONNECTED, nullptr);
  }

  void Events() {
    if (!InitEvent(CHANNEL_EVENT_INITIALIZED, nullptr) || !Connect()) return;
    for (size_t i = 0; i < documents_.size(); ++i) {
      if (i > 0 && options_.reconnect && (!Disconnect() || !Connect())) return;
      if (!Deliver(i)) return;
    }
    if (!Disconnect()) return;
    InitEvent(CHANNEL_EVENT_TERMINATED, nullptr);
  }

  // Hands one document over as one message; false when the session must stop.
  bool Deliver(size_t index) {
    const Document& document = documents_[index];
    const OpenChannel* channel = nullptr;
    for (const OpenChannel& open : client_.opens) {
      if (open.name == kDocumentChannel) channel = &open;
    }
    if (channel == nullptr) {
      Say("document %zu/%zu: %s: not handed over: the add-in has no open channel \"%s\" in "
          "this connection",
          index + 1, documents_.size(), document.name.c_str(), kDocumentChannel);
      Fail(SessionStatus::kNotDelivered,
           Format("document %s was not handed over: no open channel \"%s\"",
                  document.name.c_str(), kDocumentChannel));
      return true;
    }
    std::vector<ChunkSpan> chunks =
        SplitIntoChunks(document.bytes.size(), options_.chunkLength, options_.extraDataFlags);
    Say("document %zu/%zu: %s, %zu bytes, %zu chunk(s) of at most %zu bytes", index + 1,
        documents_.size(), document.name.c_str(), document.bytes.size(), chunks.size(),
        options_.chunkLength);
    // The client's buffer is longer than each chunk: the add-in reads dataLength bytes only.
    std::vector<unsigned char> buffer(options_.chunkLength + 64);
    const UINT32 total = static_cast<UINT32>(document.bytes.size());
    for (size_t c = 0; c < chunks.size(); ++c) {
      const ChunkSpan& chunk = chunks[c];
      std::fill(buffer.begin(), buffer.end(), 0xcc);
      if (chunk.length > 0) memcpy(buffer.data(), document.bytes.data() + chunk.offset, chunk.length);
      bool shown = chunks.size() <= 6 || c < 2 || c + 2 >= chunks.size();
      if (shown) {
        Say("  chunk %zu/%zu: CHANNEL_EVENT_DATA_RECEIVED, dataLength %lu, totalLength %lu, "
            "dataFlags 0x%lx (%s)",
            c + 1, chunks.size(), static_cast<unsigned long>(chunk.length),
            static_cast<unsigned long>(total), static_cast<unsigned long>(chunk.flags),
            DescribeFlags(chunk.flags).c_str());
      } else if (c == 2) {
        Say("  chunks 3..%zu: the same, dataFlags 0x%lx (%s)", chunks.size() - 2,
            static_cast<unsigned long>(chunk.flags), DescribeFlags(chunk.flags).c_str());
      }
      StackCheck check;
      Before("VirtualChannelOpenEvent");
      CallOpenEvent(channel->handler, channel->handle, CHANNEL_EVENT_DATA_RECEIVED, buffer.data(),
                    chunk.length, total, chunk.flags, &check);
      After("VirtualChannelOpenEvent");
      if (!Checked("VirtualChannelOpenEvent", check, &openEventReported_)) return false;
      if (hooks_.onChunk) hooks_.onChunk({index, chunk.length, total, chunk.flags});
    }
    ++result_.delivered;
    Say("document %zu/%zu: handed over", index + 1, documents_.size());
    if (hooks_.afterDocument) hooks_.afterDocument(index);
    if (options_.pauseMs > 0) Sleep(options_.pauseMs);
    return true;
  }

  const HostOptions& options_;
  const std::vector<Document>& documents_;
  const SessionHooks& hooks_;
  Client client_;
  SessionResult result_;
  HMODULE module_ = nullptr;
  PVIRTUALCHANNELENTRY entry_ = nullptr;
  bool entryReported_ = false, initEventReported_ = false, openEventReported_ = false;
};

}  // namespace

bool ReadDocuments(const std::vector<std::string>& paths, std::vector<Document>* documents,
                   std::string* error) {
  for (const std::string& path : paths) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
      *error = "cannot read the document " + path + ": " + std::strerror(errno);
      return false;
    }
    Document document;
    document.name = path;
    unsigned char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0) {
      document.bytes.insert(document.bytes.end(), buffer, buffer + got);
    }
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
      *error = "cannot read the document " + path;
      return false;
    }
    documents->push_back(std::move(document));
  }
  return true;
}

SessionResult RunSession(const HostOptions& options, const std::vector<Document>& documents,
                         const SessionHooks& hooks) {
  return Session(options, documents, hooks).Run();
}
