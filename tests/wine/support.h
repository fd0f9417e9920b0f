// What the Wine tests share: the paths the driver hands over, the print
// handler's log, a watcher that reads and dismisses the add-in's notices from
// another thread, and a runner for quarven-host.exe.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

// mingw's win32 thread model has no std::thread or std::mutex: Win32's own.
class CriticalSection {
 public:
  CriticalSection() { InitializeCriticalSection(&section_); }
  ~CriticalSection() { DeleteCriticalSection(&section_); }
  void lock() { EnterCriticalSection(&section_); }
  void unlock() { LeaveCriticalSection(&section_); }

 private:
  CRITICAL_SECTION section_;
};

class Locked {
 public:
  explicit Locked(CriticalSection& section) : section_(section) { section_.lock(); }
  ~Locked() { section_.unlock(); }

 private:
  CriticalSection& section_;
};

// A path the driver set in the environment (a Windows path), or "".
std::string EnvPath(const char* name);

std::string ReadFileBytes(const std::string& path, bool* ok = nullptr);
std::string CurrentDirectory();
bool EqualsIgnoringCase(const std::string& a, const std::string& b);
bool Contains(const std::string& text, const std::string& part);

// One start of the print handler, from prints.log.
struct PrintRecord {
  int n = 0;
  std::string path, cwd, copy, error;
  unsigned long startFlags = 0;
  unsigned show = 0xffff;
  long long size = -1;
  int args = 0;
  std::string copyBytes;  // the file as the handler found it
};

std::vector<PrintRecord> ReadPrints();
// Waits until the handler has been started count times; false on time-out.
bool WaitForPrints(size_t count, DWORD timeoutMs = 30000);

struct SeenNotice {
  std::string caption, text, className;
  bool visible = false, okButton = false, cancelButton = false, owned = false;
  std::string during;     // the call into the add-in that was running, or ""
  bool blocked = false;   // that call had not returned while the box was up
  bool returnedAfter = false;  // and returned once the box was dismissed
};

// Finds each "Velquist" box from a thread of its own, reads it, waits a
// moment, checks that the call that showed it is still running, and presses OK.
class NoticeWatcher {
 public:
  NoticeWatcher();
  ~NoticeWatcher();
  // Session hooks: the client is about to call the add-in / the call returned.
  void CallStarted(const char* function);
  void CallReturned(const char* function);
  std::vector<SeenNotice> Stop();

 private:
  static DWORD WINAPI Thread(LPVOID self);
  void Run();
  std::atomic<bool> stop_{false};
  int depth_ = 0;
  long returns_ = 0;
  CriticalSection mutex_;
  std::string current_;
  std::vector<SeenNotice> seen_;
  HANDLE thread_ = nullptr;
};

struct ProgramRun {
  DWORD exitCode = 0xffffffff;
  std::string output;  // standard output and standard error
  bool timedOut = false;
};

// Runs a command line with its output captured.
ProgramRun RunProgram(const std::string& commandLine, DWORD timeoutMs = 60000);

// Quotes one argument for a Windows command line.
std::string Quote(const std::string& argument);
