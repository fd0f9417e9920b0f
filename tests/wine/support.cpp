#include "tests/wine/support.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

std::string EnvPath(const char* name) {
  char buffer[4096];
  DWORD length = GetEnvironmentVariableA(name, buffer, sizeof(buffer));
  if (length == 0 || length >= sizeof(buffer)) return "";
  return std::string(buffer, length);
}

std::string ReadFileBytes(const std::string& path, bool* ok) {
  std::string bytes;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (ok != nullptr) *ok = file != nullptr;
  if (file == nullptr) return bytes;
  char buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0) bytes.append(buffer, got);
  std::fclose(file);
  return bytes;
}

std::string CurrentDirectory() {
  char buffer[MAX_PATH];
  DWORD length = GetCurrentDirectoryA(sizeof(buffer), buffer);
  return std::string(buffer, length);
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && _stricmp(a.c_str(), b.c_str()) == 0;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

namespace {

std::string Field(const std::string& line, const std::string& key) {
  size_t at = 0;
  while (at <= line.size()) {
    size_t end = line.find('|', at);
    if (end == std::string::npos) end = line.size();
    std::string field = line.substr(at, end - at);
    if (field.compare(0, key.size() + 1, key + "=") == 0) return field.substr(key.size() + 1);
    at = end + 1;
  }
  return "";
}

}  // namespace

std::vector<PrintRecord> ReadPrints() {
  std::string dir = EnvPath("QUARVEN_PRINT_LOG_DIR");
  std::string log = ReadFileBytes(dir + "\\prints.log");
  std::vector<PrintRecord> prints;
  size_t at = 0;
  while (at < log.size()) {
    size_t end = log.find('\n', at);
    if (end == std::string::npos) break;  // a line being written
    std::string line = log.substr(at, end - at);
    at = end + 1;
    PrintRecord record;
    record.n = std::atoi(Field(line, "n").c_str());
    record.path = Field(line, "path");
    record.cwd = Field(line, "cwd");
    record.startFlags = std::strtoul(Field(line, "startflags").c_str(), nullptr, 0);
    record.show = static_cast<unsigned>(std::strtoul(Field(line, "show").c_str(), nullptr, 0));
    record.args = std::atoi(Field(line, "args").c_str());
    record.error = Field(line, "error");
    record.copy = Field(line, "copy");
    std::string size = Field(line, "size");
    if (!size.empty()) record.size = std::atoll(size.c_str());
    if (!record.copy.empty()) record.copyBytes = ReadFileBytes(dir + "\\" + record.copy);
    prints.push_back(record);
  }
  return prints;
}

bool WaitForPrints(size_t count, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (ReadPrints().size() < count) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(50);
  }
  return true;
}

NoticeWatcher::NoticeWatcher() { thread_ = CreateThread(nullptr, 0, Thread, this, 0, nullptr); }

NoticeWatcher::~NoticeWatcher() {
  if (thread_ != nullptr) Stop();
}

DWORD WINAPI NoticeWatcher::Thread(LPVOID self) {
  static_cast<NoticeWatcher*>(self)->Run();
  return 0;
}

void NoticeWatcher::CallStarted(const char* function) {
  Locked lock(mutex_);
  current_ = function;
  ++depth_;
}

void NoticeWatcher::CallReturned(const char* function) {
  (void)function;
  Locked lock(mutex_);
  --depth_;
  ++returns_;
  if (depth_ == 0) current_.clear();
}

std::vector<SeenNotice> NoticeWatcher::Stop() {
  // A box may come up just now: give the watcher a moment to see it.
  Sleep(300);
  stop_ = true;
  if (thread_ != nullptr) {
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  Locked lock(mutex_);
  return seen_;
}

void NoticeWatcher::Run() {
  while (!stop_) {
    HWND box = FindWindowA(nullptr, "Velquist");
    if (box == nullptr) {
      Sleep(20);
      continue;
    }
    SeenNotice notice;
    long returnsAtSight;
    {
      Locked lock(mutex_);
      notice.during = current_;
      returnsAtSight = returns_;
    }
    char buffer[512] = "";
    GetWindowTextA(box, buffer, sizeof(buffer));
    notice.caption = buffer;
    buffer[0] = '\0';
    GetClassNameA(box, buffer, sizeof(buffer));
    notice.className = buffer;
    buffer[0] = '\0';
    // A message box's text is the static control with id 0xFFFF.
    GetDlgItemTextA(box, 0xFFFF, buffer, sizeof(buffer));
    notice.text = buffer;
    notice.visible = IsWindowVisible(box) != FALSE;
    notice.okButton = GetDlgItem(box, IDOK) != nullptr;
    notice.cancelButton = GetDlgItem(box, IDCANCEL) != nullptr;
    notice.owned = GetWindow(box, GW_OWNER) != nullptr;

    // The call that showed the box must still be waiting for the user.
    Sleep(300);
    {
      Locked lock(mutex_);
      notice.blocked = !notice.during.empty() && returns_ == returnsAtSight && IsWindow(box);
    }
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    DWORD start = GetTickCount();
    while (IsWindow(box) && GetTickCount() - start < 10000) Sleep(10);
    // Once dismissed, the call returns.
    while (GetTickCount() - start < 10000) {
      {
        Locked lock(mutex_);
        if (returns_ != returnsAtSight) break;
      }
      if (notice.during.empty()) break;
      Sleep(10);
    }
    {
      Locked lock(mutex_);
      notice.returnedAfter = returns_ != returnsAtSight;
      seen_.push_back(notice);
    }
  }
}

std::string Quote(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
  std::string quoted = "\"";
  for (char c : argument) {
    if (c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

ProgramRun RunProgram(const std::string& commandLine, DWORD timeoutMs) {
  ProgramRun run;
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION process = {};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                &startup, &process);
  CloseHandle(writeEnd);
  if (!started) {
    run.output = "CreateProcess failed: " + std::to_string(GetLastError());
    CloseHandle(readEnd);
    return run;
  }
  struct Reader {
    HANDLE pipe;
    std::string* output;
    static DWORD WINAPI Thread(LPVOID self) {
      Reader* reader = static_cast<Reader*>(self);
      char buffer[4096];
      DWORD got = 0;
      while (ReadFile(reader->pipe, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        reader->output->append(buffer, got);
      }
      return 0;
    }
  } reader{readEnd, &run.output};
  HANDLE readerThread = CreateThread(nullptr, 0, Reader::Thread, &reader, 0, nullptr);
  if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
    run.timedOut = true;
    TerminateProcess(process.hProcess, 99);
    WaitForSingleObject(process.hProcess, 5000);
  }
  WaitForSingleObject(readerThread, 10000);
  CloseHandle(readerThread);
  GetExitCodeProcess(process.hProcess, &run.exitCode);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  CloseHandle(readEnd);
  return run;
}
