// A recording double of the Windows calls the add-in makes. The test program
// defines them, so the add-in binds to these in place of the native stand-ins.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32.h"

struct Notice {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};

struct PrintRequest {
  HWND owner;
  std::string verb;
  std::string file;
  bool hasParameters;
  std::optional<std::string> directory;
  INT show;
  // The spool file as the printing application would find it.
  std::optional<std::string> spoolContent;
  bool spoolStillOpen;
};

struct WindowsDouble {
  // How the calls answer.
  bool failLocalAlloc = false;
  bool failLocalFree = false;       // LocalFree answers the handle, as on failure
  int noticeResult = IDOK;          // MessageBoxA's answer; 0 is a failure
  bool keepFileOnDelete = false;    // DeleteFileA fails, the file stays
  bool failFileAttributes = false;  // GetFileAttributesA fails whether or not the file is there
  std::optional<DWORD> directoryResult;  // GetCurrentDirectoryA answers this, writing nothing
  HINSTANCE printResult = reinterpret_cast<HINSTANCE>(42);  // 32 or below is a failure

  // What the add-in did.
  DWORD lastError = 0;  // as GetLastError answers it
  std::vector<Notice> notices;
  std::vector<std::size_t> allocationSizes;
  std::vector<void*> liveBlocks;
  std::vector<void*> freedBlocks;
  std::vector<std::string> calls;  // the names of the calls, in order
  std::vector<PrintRequest> prints;
};

// The one double, reset by every test.
WindowsDouble& Windows();
void ResetWindows();

// Reads the spool file in the current directory; nullopt when there is none.
std::optional<std::string> ReadSpool();
// True when this process has the spool file open.
bool SpoolIsOpen();
