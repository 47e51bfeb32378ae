// Kernel services of the device: last error, module file name, tick count, local memory
// (which the clipboard hands out), and the program's entry point.
#pragma once

#include "windef.h"
#include "winerror.h"

DWORD WINAPI GetLastError();
void WINAPI SetLastError(DWORD dwErrCode);

// The full path of the running program's file, as the operating system reports it.
// hModule 0 (or the program's own module) is the only module there is.
DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);
HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName);

inline constexpr DWORD INFINITE = 0xFFFFFFFF;
inline constexpr DWORD WAIT_OBJECT_0 = 0x00000000;
inline constexpr DWORD WAIT_TIMEOUT = 0x00000102;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

// The program's one thread.
DWORD WINAPI GetCurrentThreadId();
DWORD WINAPI GetCurrentProcessId();

DWORD WINAPI GetTickCount();
void WINAPI Sleep(DWORD dwMilliseconds);

inline constexpr UINT LMEM_FIXED = 0x0000;
inline constexpr UINT LMEM_MOVEABLE = 0x0002;
inline constexpr UINT LMEM_ZEROINIT = 0x0040;
inline constexpr UINT LPTR = LMEM_FIXED | LMEM_ZEROINIT;
inline constexpr UINT LHND = LMEM_MOVEABLE | LMEM_ZEROINIT;

HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes);
HLOCAL WINAPI LocalFree(HLOCAL hMem);
LPVOID WINAPI LocalLock(HLOCAL hMem);
BOOL WINAPI LocalUnlock(HLOCAL hMem);
SIZE_T WINAPI LocalSize(HLOCAL hMem);

int WINAPI lstrlenW(LPCWSTR lpString);

// The program supplies WinMain; the device's start-up calls it (the Windows CE form,
// with a wide command line).
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nShowCmd);
