// The remote API of a docked Windows CE unit, as the desktop program's device
// link uses it: nine calls that start the link, list folders and read files
// on the unit. This is our own stand-in (rapi.dll): "\Storage Card\..." of the
// docked unit is a folder of this PC (see rapi_standin.h for the setting and
// for the faults a test can inject). Structures have their 64-bit sizes; a
// caller sets cbSize to sizeof.
#ifndef PLATFORM_RAPI_RAPI_H
#define PLATFORM_RAPI_RAPI_H

#include <windows.h>

#ifdef RAPI_BUILD_DLL
#define RAPI_API extern "C" __declspec(dllexport)
#else
#define RAPI_API extern "C" __declspec(dllimport)
#endif

// The asynchronous start of the link. The call fills heRapiInit with an
// event that is set once the link is up or has failed; hrRapiInit then holds
// the outcome (0: connected).
struct RAPIINIT {
  DWORD cbSize;
  HANDLE heRapiInit;
  HRESULT hrRapiInit;
};

// One entry of a folder listing on the unit.
struct CE_FIND_DATA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwOID;
  WCHAR cFileName[MAX_PATH];
};

#ifdef _WIN64
static_assert(sizeof(RAPIINIT) == 24, "RAPIINIT has its 64-bit size");
static_assert(sizeof(CE_FIND_DATA) == 560, "CE_FIND_DATA has its 64-bit size");
#endif

// 0 when the start was accepted (the outcome comes through the event).
RAPI_API HRESULT WINAPI CeRapiInitEx(RAPIINIT* init);

// Entries of a folder on the unit: pattern is a folder path followed by '*'
// (or a name with wildcards, or a single path). INVALID_HANDLE_VALUE when
// nothing matches. Entries come in name order.
RAPI_API HANDLE WINAPI CeFindFirstFile(LPCWSTR pattern, CE_FIND_DATA* data);
RAPI_API BOOL WINAPI CeFindNextFile(HANDLE search, CE_FIND_DATA* data);
RAPI_API BOOL WINAPI CeFindClose(HANDLE search);

// Files on the unit, for reading only: a request to write, create or
// truncate is refused with ERROR_ACCESS_DENIED.
RAPI_API HANDLE WINAPI CeCreateFile(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                    DWORD creation, DWORD flags, HANDLE template_file);
RAPI_API DWORD WINAPI CeGetFileSize(HANDLE file, DWORD* size_high);
RAPI_API BOOL WINAPI CeGetFileTime(HANDLE file, FILETIME* creation, FILETIME* last_access, FILETIME* last_write);
RAPI_API BOOL WINAPI CeReadFile(HANDLE file, LPVOID buffer, DWORD count, LPDWORD read, LPOVERLAPPED overlapped);
RAPI_API BOOL WINAPI CeCloseHandle(HANDLE handle);

#endif
