#include "printjob/spool.h"

#include <stdio.h>

// A relative name: the file lives in the host process's current directory.
#define SPOOL_FILE_NAME "temp.pdf"

BOOL StartSpoolFile() {
  // A missing file is the ordinary case; only one that survives matters.
  DeleteFileA(SPOOL_FILE_NAME);
  // Only a query that found no file shows it gone: one that failed shows nothing.
  return GetFileAttributesA(SPOOL_FILE_NAME) == INVALID_FILE_ATTRIBUTES &&
         GetLastError() == ERROR_FILE_NOT_FOUND;
}

BOOL AppendToSpoolFile(const void* pData, UINT32 dataLength) {
  FILE* pSpool = fopen(SPOOL_FILE_NAME, "ab");
  if (pSpool == NULL) return FALSE;
  BOOL stored = TRUE;
  if (dataLength > 0) stored = fwrite(pData, 1, dataLength, pSpool) == dataLength;
  // The close flushes the buffer, so a full disk may show only here.
  if (fclose(pSpool) != 0) stored = FALSE;
  return stored;
}

void PrintSpoolFile() {
  CHAR directory[MAX_PATH];
  DWORD length = GetCurrentDirectoryA(sizeof(directory), directory);
  // On failure the buffer holds nothing; when too small, the result is the size needed.
  LPCSTR pDirectory = (length == 0 || length >= sizeof(directory)) ? NULL : directory;
  ShellExecuteA(NULL, "print", SPOOL_FILE_NAME, NULL, pDirectory, SW_HIDE);
}
