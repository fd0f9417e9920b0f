// The Wine integration tests: the real DLL, loaded by the stand-in client (its
// session code, or quarven-host.exe itself), on a real Windows runtime.
//   wine-tests CASE
// The driver (run-wine.sh) gives each case a fresh current directory (the
// client's, where temp.pdf lands) and sets QUARVEN_* to the paths it needs.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/wine/check.h"
#include "tests/wine/support.h"
#include "tools/host/session.h"

namespace {

const char kInitFailed[] = "RDP Virtual channel Init Failed";
const char kOpenFailed[] = "Open of RDP virtual channel failed";
const char kV1Server[] = "Connecting to a non Windows 2000 Terminal Server";

std::string Bytes(const Document& document) {
  return std::string(document.bytes.begin(), document.bytes.end());
}

Document MakeDocument(const std::string& name, const std::string& bytes) {
  return Document{name, std::vector<unsigned char>(bytes.begin(), bytes.end())};
}

Document Sample() {
  std::vector<Document> documents;
  std::string error;
  bool read = ReadDocuments({EnvPath("QUARVEN_SAMPLE_PDF")}, &documents, &error);
  CHECK(read);
  if (!read) {
    std::printf("%s\n", error.c_str());
    return Document{"missing", {}};
  }
  return documents[0];
}

// A document of this length whose bytes all differ from their neighbours'.
std::string Pattern(size_t length, char seed) {
  std::string bytes(length, '\0');
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(seed + i * 7 + (i >> 8));
  return bytes;
}

HostOptions Options() {
  HostOptions options;
  options.addinPath = EnvPath("QUARVEN_ADDIN");
  return options;
}

// Runs a session with the notice watcher on the client's calls.
SessionResult Run(const HostOptions& options, const std::vector<Document>& documents,
                  std::vector<SeenNotice>* notices, SessionHooks hooks = SessionHooks()) {
  NoticeWatcher watcher;
  hooks.beforeAddinCall = [&](const char* function) { watcher.CallStarted(function); };
  hooks.afterAddinCall = [&](const char* function) { watcher.CallReturned(function); };
  SessionResult result = RunSession(options, documents, hooks);
  *notices = watcher.Stop();
  return result;
}

// One notice as the add-in must show it: a modal, ownerless "Velquist" box with OK
// only, shown by the given call, which waited until the box was dismissed.
void ExpectNotice(const SeenNotice& notice, const char* text, const char* during) {
  CHECK_EQ(notice.caption, std::string("Velquist"));
  CHECK_EQ(notice.text, std::string(text));
  CHECK_EQ(notice.className, std::string("#32770"));  // the dialog class of MessageBox
  CHECK(notice.visible);
  CHECK(notice.okButton);
  CHECK(!notice.cancelButton);
  CHECK(!notice.owned);
  CHECK_EQ(notice.during, std::string(during));
  CHECK(notice.blocked);
  CHECK(notice.returnedAfter);
}

// What reached the print handler for one document: the spool file's full path
// in the client's current directory, that directory, SW_HIDE, the whole file.
void ExpectPrinted(const PrintRecord& print, const std::string& document) {
  std::string cwd = CurrentDirectory();
  CHECK(EqualsIgnoringCase(print.path, cwd + "\\temp.pdf"));
  CHECK(print.path.size() > 3 && print.path[1] == ':' && print.path[2] == '\\');
  CHECK(EqualsIgnoringCase(print.cwd, cwd));
  CHECK_EQ(print.args, 1);
  CHECK((print.startFlags & STARTF_USESHOWWINDOW) != 0);
  CHECK_EQ(print.show, static_cast<unsigned>(SW_HIDE));
  CHECK_EQ(print.error, std::string());
  CHECK_EQ(print.size, static_cast<long long>(document.size()));
  CHECK(print.copyBytes == document);
}

// Waits long enough for a handler that should not come to show up.
void Settle() { Sleep(2500); }

// A multi-page PDF in 1600-byte chunks: byte-identical in temp.pdf, printed once.
void DocumentCase() {
  Document sample = Sample();
  STEP("sample PDF: %zu bytes", sample.bytes.size());
  CHECK(sample.bytes.size() > 3 * kClientChunkLength);
  CHECK(Bytes(sample).compare(0, 5, "%PDF-") == 0);

  std::vector<ChunkRecord> chunks;
  SessionHooks hooks;
  hooks.onChunk = [&](const ChunkRecord& chunk) { chunks.push_back(chunk); };
  std::vector<SeenNotice> notices;
  SessionResult result = Run(Options(), {sample}, &notices, hooks);
  CHECK_EQ(static_cast<int>(result.status), static_cast<int>(SessionStatus::kRanThrough));
  CHECK_EQ(result.entryResult, TRUE);
  CHECK_EQ(result.delivered, 1u);
  CHECK_EQ(result.writes, 0u);
  CHECK_EQ(notices.size(), 0u);

  STEP("the chunks as the client sent them");
  size_t expected = (sample.bytes.size() + kClientChunkLength - 1) / kClientChunkLength;
  CHECK_EQ(chunks.size(), expected);
  size_t sum = 0;
  for (size_t i = 0; i < chunks.size(); ++i) {
    CHECK(chunks[i].dataLength <= kClientChunkLength);
    CHECK_EQ(chunks[i].totalLength, static_cast<UINT32>(sample.bytes.size()));
    CHECK_EQ((chunks[i].dataFlags & CHANNEL_FLAG_FIRST) != 0, i == 0);
    CHECK_EQ((chunks[i].dataFlags & CHANNEL_FLAG_LAST) != 0, i + 1 == chunks.size());
    sum += chunks[i].dataLength;
  }
  CHECK_EQ(sum, sample.bytes.size());

  STEP("temp.pdf in the client's current directory %s", CurrentDirectory().c_str());
  bool present = false;
  CHECK(ReadFileBytes("temp.pdf", &present) == Bytes(sample));
  CHECK(present);

  STEP("the print handler");
  CHECK(WaitForPrints(1));
  Settle();
  std::vector<PrintRecord> prints = ReadPrints();
  CHECK_EQ(prints.size(), 1u);
  if (!prints.empty()) {
    STEP("handler got path %s, working directory %s, show %u, %lld bytes", prints[0].path.c_str(),
         prints[0].cwd.c_str(), prints[0].show, prints[0].size);
    ExpectPrinted(prints[0], Bytes(sample));
  }
}

// Several documents, across a reconnection and with other chunk sizes and
// flag bits: each printed once, whole, with nothing of the one before.
void DocumentsCase() {
  std::vector<Document> documents = {
      Sample(),
      MakeDocument("one chunk", "%PDF-1.4 a document of one chunk\n"),
      MakeDocument("two full chunks", Pattern(2 * kClientChunkLength, 'a')),
      MakeDocument("one byte over a chunk", Pattern(kClientChunkLength + 1, 'b')),
  };
  HostOptions options = Options();
  options.reconnect = true;
  SessionHooks hooks;
  // Each handler reads its document before the next one replaces it.
  hooks.afterDocument = [](size_t index) { CHECK(WaitForPrints(index + 1)); };
  std::vector<SeenNotice> notices;
  SessionResult result = Run(options, documents, &notices, hooks);
  CHECK_EQ(static_cast<int>(result.status), static_cast<int>(SessionStatus::kRanThrough));
  CHECK_EQ(result.delivered, documents.size());
  CHECK_EQ(notices.size(), 0u);

  STEP("small chunks, and other bits in dataFlags");
  Document odd = MakeDocument("odd chunks", Pattern(5000, 'c'));
  options = Options();
  options.chunkLength = 333;
  options.extraDataFlags = 0x10;
  hooks.afterDocument = [&](size_t) { CHECK(WaitForPrints(documents.size() + 1)); };
  result = Run(options, {odd}, &notices, hooks);
  CHECK_EQ(static_cast<int>(result.status), static_cast<int>(SessionStatus::kRanThrough));
  documents.push_back(odd);

  Settle();
  std::vector<PrintRecord> prints = ReadPrints();
  CHECK_EQ(prints.size(), documents.size());
  for (size_t i = 0; i < prints.size() && i < documents.size(); ++i) {
    STEP("print %zu: %s", i + 1, documents[i].name.c_str());
    ExpectPrinted(prints[i], Bytes(documents[i]));
  }
  CHECK(ReadFileBytes("temp.pdf") == Bytes(odd));
}

// Every notice, and the refusals that show none.
void NoticesCase() {
  std::vector<SeenNotice> notices;
  Document sample = Sample();

  STEP("registration refused with CHANNEL_RC_TOO_MANY_CHANNELS (5)");
  HostOptions options = Options();
  options.refuseInitCode = 5;
  SessionResult result = Run(options, {sample}, &notices);
  CHECK_EQ(static_cast<int>(result.status), static_cast<int>(SessionStatus::kEntryRefused));
  CHECK_EQ(result.entryResult, FALSE);
  CHECK_EQ(notices.size(), 1u);
  if (!notices.empty()) ExpectNotice(notices[0], kInitFailed, "VirtualChannelEntry");

  STEP("open failed, in each of two connections");
  options = Options();
  options.failOpenCode = 13;
  options.reconnect = true;
  result = Run(options, {sample, sample}, &notices);
  CHECK_EQ(result.entryResult, TRUE);
  CHECK_EQ(static_cast<int>(result.status), static_cast<int>(SessionStatus::kNotDelivered));
  CHECK_EQ(notices.size(), 2u);
  for (const SeenNotice& notice : notices)
    ExpectNotice(notice, kOpenFailed, "VirtualChannelInitEvent");

  STEP("a server without virtual channels");
  options = Options();
  options.v1Server = true;
  result = Run(options, {}, &notices);
  CHECK_EQ(static_cast<int>(result.status), static_cast<int>(SessionStatus::kRanThrough));
  CHECK_EQ(notices.size(), 1u);
  if (!notices.empty()) ExpectNotice(notices[0], kV1Server, "VirtualChannelInitEvent");

  STEP("options left unset, and options with another bit: FALSE, no notice");
  options = Options();
  options.optionsAnswer = OptionsAnswer::kUnset;
  result = Run(options, {}, &notices);
  CHECK_EQ(result.entryResult, FALSE);
  CHECK_EQ(notices.size(), 0u);
  options.optionsAnswer = OptionsAnswer::kExtraBits;
  options.extraOptionBits = 0x1;
  result = Run(options, {}, &notices);
  CHECK_EQ(result.entryResult, FALSE);
  CHECK_EQ(notices.size(), 0u);

  STEP("a plain session: no notice");
  result = Run(Options(), {}, &notices);
  CHECK_EQ(static_cast<int>(result.status), static_cast<int>(SessionStatus::kRanThrough));
  CHECK_EQ(notices.size(), 0u);

  Settle();
  CHECK_EQ(ReadPrints().size(), 0u);
}

// A spool file held open without sharing by another program (a PDF reader
// that keeps the printout open): the next document is dropped, not printed
// behind the old one; once released, the one after prints whole.
void HeldSpoolCase() {
  std::string first = Pattern(4000, 'A');
  std::string blocked = Pattern(3000, 'B');
  std::string after = Pattern(4500, 'C');
  std::vector<Document> documents = {MakeDocument("first", first),
                                     MakeDocument("while held", blocked),
                                     MakeDocument("after release", after)};
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, "quarven-test-holder-ready");
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, "quarven-test-holder-release");
  PROCESS_INFORMATION holder = {};

  SessionHooks hooks;
  hooks.afterDocument = [&](size_t index) {
    if (index == 0) {
      CHECK(WaitForPrints(1));
      STEP("another program opens temp.pdf without sharing");
      std::string command = Quote(EnvPath("QUARVEN_SPOOL_HOLDER")) + " " +
                            Quote(CurrentDirectory() + "\\temp.pdf") +
                            " quarven-test-holder-ready quarven-test-holder-release";
      STARTUPINFOA startup = {};
      startup.cb = sizeof(startup);
      std::vector<char> line(command.begin(), command.end());
      line.push_back('\0');
      CHECK(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &holder));
      CHECK_EQ(WaitForSingleObject(ready, 20000), static_cast<DWORD>(WAIT_OBJECT_0));
      // The hold is real: the file can be neither removed nor appended to.
      CHECK(!DeleteFileA("temp.pdf"));
      FILE* append = std::fopen("temp.pdf", "ab");
      CHECK(append == nullptr);
      if (append != nullptr) std::fclose(append);
    } else if (index == 1) {
      Settle();
      STEP("nothing printed for the document sent while the file was held");
      CHECK_EQ(ReadPrints().size(), 1u);
      SetEvent(release);
      CHECK_EQ(WaitForSingleObject(holder.hProcess, 20000), static_cast<DWORD>(WAIT_OBJECT_0));
      STEP("released: temp.pdf is still the first document, nothing behind it");
      CHECK(ReadFileBytes("temp.pdf") == first);
    } else {
      CHECK(WaitForPrints(2));
    }
  };
  std::vector<SeenNotice> notices;
  SessionResult result = Run(Options(), documents, &notices, hooks);
  CHECK_EQ(static_cast<int>(result.status), static_cast<int>(SessionStatus::kRanThrough));
  CHECK_EQ(notices.size(), 0u);
  Settle();
  std::vector<PrintRecord> prints = ReadPrints();
  CHECK_EQ(prints.size(), 2u);
  if (prints.size() >= 2) {
    ExpectPrinted(prints[0], first);
    ExpectPrinted(prints[1], after);
  }
  CHECK(ReadFileBytes("temp.pdf") == after);
  if (holder.hProcess != nullptr) {
    CloseHandle(holder.hProcess);
    CloseHandle(holder.hThread);
  }
  CloseHandle(ready);
  CloseHandle(release);
}

// Runs quarven-host.exe, dismissing its notices from here, and checks its
// exit status and what it said.
ProgramRun Host(const std::string& arguments, DWORD expectedStatus, const char* said,
                std::vector<SeenNotice>* notices = nullptr) {
  STEP("quarven-host %s", arguments.c_str());
  NoticeWatcher watcher;
  ProgramRun run = RunProgram(Quote(EnvPath("QUARVEN_HOST")) + " " + arguments);
  std::vector<SeenNotice> seen = watcher.Stop();
  if (notices != nullptr) *notices = seen;
  CHECK(!run.timedOut);
  bool ok = CHECK_EQ(run.exitCode, expectedStatus);
  ok &= CHECK(Contains(run.output, said));
  if (!ok) std::printf("output:\n%s\n", run.output.c_str());
  return run;
}

void HostCliCase() {
  std::string addin = Quote(EnvPath("QUARVEN_ADDIN"));
  std::string sample = Quote(EnvPath("QUARVEN_SAMPLE_PDF"));
  std::vector<SeenNotice> notices;

  ProgramRun run = Host(addin + " " + sample, 0, "session: ran through");
  std::printf("%s", run.output.c_str());
  for (const char* step :
       {"VirtualChannelEntry returned TRUE", "event: CHANNEL_EVENT_INITIALIZED",
        "event: CHANNEL_EVENT_CONNECTED, server", "VirtualChannelOpen returns 0",
        "dataFlags 0x1 (FIRST)", "dataFlags 0x2 (LAST)", "event: CHANNEL_EVENT_DISCONNECTED",
        "event: CHANNEL_EVENT_TERMINATED", "unload: FreeLibrary done"}) {
    CHECK(Contains(run.output, step));
  }
  CHECK(WaitForPrints(1));
  Host("", 2, "usage: quarven-host [options] ADDIN.dll [DOCUMENT...]");
  Host("--chunk-size 0 " + addin, 2, "bad value for --chunk-size");
  Host("C:\\no\\such\\quarven.dll", 3, "cannot find the add-in C:\\no\\such\\quarven.dll");
  Host(Quote(EnvPath("QUARVEN_NO_ENTRY_DLL")), 3, "exports no VirtualChannelEntry");
  Host(Quote(EnvPath("QUARVEN_HOST")), 3, "is a Windows program, not a DLL");
  Host(sample, 3, "is not a Windows DLL");
  std::string other = EnvPath("QUARVEN_OTHER_ADDIN");
  bool otherBuilt = GetFileAttributesA(other.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (!CHECK(otherBuilt)) std::printf("build the other architecture first: %s\n", other.c_str());
#if defined(_WIN64)
  Host(Quote(other), 3, "is a DLL for i386 (32-bit), but this quarven-host is x86-64 (64-bit)");
#else
  Host(Quote(other), 3, "is a DLL for x86-64 (64-bit), but this quarven-host is i386 (32-bit)");
#endif
  Host(addin + " C:\\no\\such\\document.pdf", 3,
       "cannot read the document C:\\no\\such\\document.pdf");

  Host("--refuse-init 5 " + addin + " " + sample, 4, "refused the entry", &notices);
  CHECK_EQ(notices.size(), 1u);
  if (!notices.empty()) CHECK_EQ(notices[0].text, std::string(kInitFailed));
  Host("--leave-options " + addin, 4, "refused the entry", &notices);
  CHECK_EQ(notices.size(), 0u);
  Host("--extra-options 0x1 " + addin, 4, "refused the entry", &notices);
  CHECK_EQ(notices.size(), 0u);
  Host("--fail-open 13 " + addin + " " + sample, 5, "no open channel \"QUARVEN\"", &notices);
  CHECK_EQ(notices.size(), 1u);
  if (!notices.empty()) CHECK_EQ(notices[0].text, std::string(kOpenFailed));
  Host("--v1-server " + addin + " " + sample, 5, "CHANNEL_EVENT_V1_CONNECTED", &notices);
  CHECK_EQ(notices.size(), 1u);
  if (!notices.empty()) CHECK_EQ(notices[0].text, std::string(kV1Server));
  Host("--reconnect --server test-server --chunk-size 1000 " + addin, 0,
       "event: CHANNEL_EVENT_CONNECTED, server \"test-server\"");

  Settle();
  std::vector<PrintRecord> prints = ReadPrints();
  CHECK_EQ(prints.size(), 1u);
  if (!prints.empty()) ExpectPrinted(prints[0], Bytes(Sample()));
}

// 32-bit: each of the add-in's three functions removes its own arguments.
void StdcallCase() {
  std::string addin = Quote(EnvPath("QUARVEN_ADDIN"));
  ProgramRun run =
      Host(addin + " " + Quote(EnvPath("QUARVEN_SAMPLE_PDF")), 0, "session: ran through");
  CHECK(
      Contains(run.output, "stack: VirtualChannelEntry removed its 4 argument bytes (__stdcall)"));
  CHECK(Contains(run.output,
                 "stack: VirtualChannelInitEvent removed its 16 argument bytes (__stdcall)"));
  CHECK(Contains(run.output,
                 "stack: VirtualChannelOpenEvent removed its 24 argument bytes (__stdcall)"));
  STEP("a __cdecl entry is caught");
  Host(Quote(EnvPath("QUARVEN_CDECL_DLL")), 6,
       "VirtualChannelEntry removed 0 of its 4 argument bytes from the stack: it is not __stdcall");
  std::vector<SeenNotice> notices;
  SessionResult result = Run(Options(), {Sample()}, &notices);
  CHECK(result.stackChecked);
  CHECK_EQ(static_cast<int>(result.status), static_cast<int>(SessionStatus::kRanThrough));
}

// The version resource, read as Explorer's Properties reads it.
void VersionCase() {
  for (const char* variable : {"QUARVEN_ADDIN", "QUARVEN_HOST"}) {
    std::string path = EnvPath(variable);
    STEP("version of %s", path.c_str());
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (!CHECK(size > 0)) continue;
    std::vector<char> info(size);
    CHECK(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (CHECK(VerQueryValueA(info.data(), "\\", reinterpret_cast<LPVOID*>(&fixed), &length))) {
      CHECK_EQ(fixed->dwFileVersionMS,
               static_cast<DWORD>((QUARVEN_VERSION_MAJOR << 16) | QUARVEN_VERSION_MINOR));
      CHECK_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(QUARVEN_VERSION_PATCH << 16));
    }
    for (const char* name : {"ProductName", "FileDescription", "FileVersion"}) {
      char* value = nullptr;
      std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
      bool found =
          VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<LPVOID*>(&value), &length) &&
          value != nullptr;
      CHECK(found);
      if (!found) continue;
      STEP("  %s: %s", name, value);
      if (std::strcmp(name, "ProductName") == 0)
        CHECK_EQ(std::string(value), std::string("quarven"));
      if (std::strcmp(name, "FileVersion") == 0)
        CHECK_EQ(std::string(value), std::string(QUARVEN_VERSION));
      if (std::strcmp(name, "FileDescription") == 0) CHECK(std::strlen(value) > 10);
    }
  }
}

struct Case {
  const char* name;
  void (*run)();
};

const Case kCases[] = {
    {"document", DocumentCase},    {"documents", DocumentsCase}, {"notices", NoticesCase},
    {"held-spool", HeldSpoolCase}, {"host-cli", HostCliCase},    {"stdcall", StdcallCase},
    {"version", VersionCase},
};

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  for (const Case& c : kCases) {
    if (argc == 2 && std::strcmp(argv[1], c.name) == 0) {
      c.run();
      return check::Finish(c.name);
    }
  }
  std::printf("usage: wine-tests CASE, CASE one of:");
  for (const Case& c : kCases) std::printf(" %s", c.name);
  std::printf("\n");
  return 2;
}
