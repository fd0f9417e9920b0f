// Native stand-ins for the Windows calls the add-in makes, so that the add-in
// built for Linux is a complete library. Each does the nearest POSIX thing.
#include <errno.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/win32.h"

extern char** environ;

namespace {
// The error of the last failed call, as GetLastError reports it. The add-in runs
// on one thread, so one value serves.
DWORD gLastError;

DWORD ErrorOf(int error) { return error == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED; }
}  // namespace

extern "C" {

HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes) {
  return (uFlags & LMEM_ZEROINIT) ? calloc(1, uBytes) : malloc(uBytes);
}

// Like the real call: NULL on success.
HLOCAL WINAPI LocalFree(HLOCAL hMem) {
  free(hMem);
  return NULL;
}

// There is no desktop to show a box on; the notice goes to standard error.
int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  (void)hWnd;
  (void)uType;
  fprintf(stderr, "[%s] %s\n", lpCaption ? lpCaption : "", lpText ? lpText : "");
  return IDOK;
}

BOOL WINAPI DeleteFileA(LPCSTR lpFileName) {
  if (unlink(lpFileName) == 0) return TRUE;
  gLastError = ErrorOf(errno);
  return FALSE;
}

DWORD WINAPI GetFileAttributesA(LPCSTR lpFileName) {
  struct stat status;
  if (lstat(lpFileName, &status) != 0) {
    gLastError = ErrorOf(errno);
    return INVALID_FILE_ATTRIBUTES;
  }
  return S_ISDIR(status.st_mode) ? 0x10 /* directory */ : 0x80 /* normal */;
}

DWORD WINAPI GetLastError(void) { return gLastError; }

// The Windows contract: the length without the NUL on success, the size needed
// (NUL included) when the buffer is too small, 0 on failure.
DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
  char* pCwd = getcwd(NULL, 0);
  if (pCwd == NULL) return 0;
  DWORD length = static_cast<DWORD>(strlen(pCwd));
  DWORD result = length + 1;
  if (length < nBufferLength) {
    memcpy(lpBuffer, pCwd, length + 1);
    result = length;
  }
  free(pCwd);
  return result;
}

// The print verb hands the file to lp, the system's print command, without
// waiting for it, as the shell does with the registered print application.
HINSTANCE WINAPI ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                               LPCSTR lpDirectory, INT nShowCmd) {
  (void)hwnd;
  (void)lpParameters;
  (void)nShowCmd;
  if (lpOperation == NULL || strcmp(lpOperation, "print") != 0 || lpFile == NULL) {
    return reinterpret_cast<HINSTANCE>(SE_ERR_NOASSOC);
  }
  std::string path = lpFile;
  if (lpFile[0] != '/' && lpDirectory != NULL) path = std::string(lpDirectory) + "/" + lpFile;
  char program[] = "lp";
  char* argv[] = {program, &path[0], NULL};
  pid_t pid;
  if (posix_spawnp(&pid, program, NULL, NULL, argv, environ) != 0) {
    return reinterpret_cast<HINSTANCE>(SE_ERR_NOASSOC);
  }
  return reinterpret_cast<HINSTANCE>(42);  // above 32: the program was started
}
}
