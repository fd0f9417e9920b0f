// The Windows calls and types the add-in uses. Windows builds take them from the
// system headers; other builds get these declarations, implemented by the native
// stand-in library (platform/native) or by a test's own doubles.
#pragma once

#ifdef _WIN32

// <shellapi.h> needs the types of <windows.h>, so it comes second.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#else

#include <stddef.h>
#include <stdint.h>

#define WINAPI

typedef int BOOL;
typedef unsigned int UINT;
typedef int INT;
typedef uint32_t DWORD;
typedef uint32_t ULONG;
typedef uint32_t UINT32;
typedef char CHAR;
typedef char* PCHAR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void VOID;
typedef void* LPVOID;
typedef void* HLOCAL;
typedef void* HWND;
typedef void* HINSTANCE;
typedef DWORD* LPDWORD;
typedef uintptr_t SIZE_T;

#define TRUE 1
#define FALSE 0
#define MAX_PATH 260
#define LMEM_ZEROINIT 0x0040
#define MB_OK 0x00000000L
#define IDOK 1
#define SW_HIDE 0
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define SE_ERR_NOASSOC 31
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_SHARING_VIOLATION 32L

extern "C" {
HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes);
HLOCAL WINAPI LocalFree(HLOCAL hMem);
int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
BOOL WINAPI DeleteFileA(LPCSTR lpFileName);
DWORD WINAPI GetFileAttributesA(LPCSTR lpFileName);
DWORD WINAPI GetLastError(void);
DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer);
HINSTANCE WINAPI ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                               LPCSTR lpDirectory, INT nShowCmd);
}

#endif
