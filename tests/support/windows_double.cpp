#include "tests/support/windows_double.h"

#include <dirent.h>
#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {
WindowsDouble* gWindows = new WindowsDouble;

std::string SpoolPath() {
  char cwd[PATH_MAX];
  return std::string(getcwd(cwd, sizeof(cwd))) + "/temp.pdf";
}
}  // namespace

WindowsDouble& Windows() { return *gWindows; }

void ResetWindows() { *gWindows = WindowsDouble(); }

std::optional<std::string> ReadSpool() {
  struct stat status;
  if (stat("temp.pdf", &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  std::ifstream in("temp.pdf", std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool SpoolIsOpen() {
  std::string spool = SpoolPath();
  DIR* fds = opendir("/proc/self/fd");
  if (fds == NULL) {
    // Only a case that has used up the descriptors gets here, and it expects no print.
    perror("SpoolIsOpen: cannot list the open descriptors");
    abort();
  }
  bool open = false;
  while (dirent* entry = readdir(fds)) {
    char target[PATH_MAX];
    std::string link = std::string("/proc/self/fd/") + entry->d_name;
    ssize_t length = readlink(link.c_str(), target, sizeof(target) - 1);
    if (length > 0 && spool == std::string(target, length)) open = true;
  }
  closedir(fds);
  return open;
}

extern "C" {

HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes) {
  WindowsDouble& windows = Windows();
  windows.calls.push_back("LocalAlloc");
  if (windows.failLocalAlloc) return NULL;
  // Filled with a pattern so that a missing LMEM_ZEROINIT or copy shows.
  void* block = malloc(uBytes ? uBytes : 1);
  memset(block, (uFlags & LMEM_ZEROINIT) ? 0 : 0xA5, uBytes);
  windows.allocationSizes.push_back(uBytes);
  windows.liveBlocks.push_back(block);
  return block;
}

HLOCAL WINAPI LocalFree(HLOCAL hMem) {
  WindowsDouble& windows = Windows();
  windows.calls.push_back("LocalFree");
  windows.freedBlocks.push_back(hMem);
  auto live = std::find(windows.liveBlocks.begin(), windows.liveBlocks.end(), hMem);
  // Freeing a block that is not live is a double free; record it but do not free again.
  if (live == windows.liveBlocks.end()) return hMem;
  windows.liveBlocks.erase(live);
  free(hMem);
  // A failed free still releases the block here, so that the case itself leaks nothing.
  return windows.failLocalFree ? hMem : NULL;
}

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  Windows().calls.push_back("MessageBoxA");
  Windows().notices.push_back(
      {hWnd, lpText ? lpText : "<null>", lpCaption ? lpCaption : "<null>", uType});
  return Windows().noticeResult;
}

BOOL WINAPI DeleteFileA(LPCSTR lpFileName) {
  WindowsDouble& windows = Windows();
  windows.calls.push_back(std::string("DeleteFileA ") + lpFileName);
  if (windows.keepFileOnDelete) {
    windows.lastError = ERROR_SHARING_VIOLATION;
    return FALSE;
  }
  if (unlink(lpFileName) == 0) return TRUE;
  windows.lastError = errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED;
  return FALSE;
}

DWORD WINAPI GetFileAttributesA(LPCSTR lpFileName) {
  WindowsDouble& windows = Windows();
  windows.calls.push_back(std::string("GetFileAttributesA ") + lpFileName);
  struct stat status;
  if (windows.failFileAttributes) {
    windows.lastError = ERROR_ACCESS_DENIED;
    return INVALID_FILE_ATTRIBUTES;
  }
  if (lstat(lpFileName, &status) != 0) {
    windows.lastError = errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED;
    return INVALID_FILE_ATTRIBUTES;
  }
  return S_ISDIR(status.st_mode) ? 0x10 : 0x80;
}

DWORD WINAPI GetLastError() {
  Windows().calls.push_back("GetLastError");
  return Windows().lastError;
}

DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
  WindowsDouble& windows = Windows();
  windows.calls.push_back("GetCurrentDirectoryA " + std::to_string(nBufferLength));
  if (windows.directoryResult) {
    // A failed or too small query leaves garbage, never a usable name.
    memset(lpBuffer, 'x', nBufferLength);
    return *windows.directoryResult;
  }
  if (getcwd(lpBuffer, nBufferLength) == NULL) return 0;
  return static_cast<DWORD>(strlen(lpBuffer));
}

HINSTANCE WINAPI ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                               LPCSTR lpDirectory, INT nShowCmd) {
  WindowsDouble& windows = Windows();
  windows.calls.push_back("ShellExecuteA");
  PrintRequest request{hwnd,
                       lpOperation ? lpOperation : "<null>",
                       lpFile ? lpFile : "<null>",
                       lpParameters != NULL,
                       lpDirectory ? std::optional<std::string>(lpDirectory) : std::nullopt,
                       nShowCmd,
                       ReadSpool(),
                       SpoolIsOpen()};
  windows.prints.push_back(request);
  return windows.printResult;
}
}
