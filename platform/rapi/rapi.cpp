// The remote API stand-in: the docked unit's card is a folder of this PC.
#include "platform/rapi/rapi_standin.h"

#include <algorithm>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/rapi/rapi_faults.h"
#include "platform/rapi/rapi_paths.h"

namespace {

std::mutex state_lock;
bool faults_read = false;
RapiFaults faults;
DWORD calls = 0;
std::wstring card_override;

struct Search {
  std::vector<CE_FIND_DATA> entries;
  size_t next = 0;
};

struct UnitFile {
  HANDLE file = INVALID_HANDLE_VALUE;
};

std::set<Search*> searches;
std::set<UnitFile*> files;

void read_environment_faults() {
  if (faults_read) return;
  faults_read = true;
  char text[256];
  DWORD length = GetEnvironmentVariableA("ERG_RAPI_FAULTS", text, sizeof text);
  if (length > 0 && length < sizeof text) parse_rapi_faults(text, faults);
}

// Counts a call and applies the delay; false when the unit is unplugged.
bool begin_call() {
  DWORD delay = 0;
  bool present = true;
  {
    std::lock_guard<std::mutex> hold(state_lock);
    read_environment_faults();
    ++calls;
    delay = faults.delay_ms;
    if (faults.unplug_after >= 0 && static_cast<int64_t>(calls) > faults.unplug_after) present = false;
  }
  if (delay > 0) Sleep(delay);
  if (!present) SetLastError(ERROR_DEVICE_NOT_CONNECTED);
  return present;
}

RapiFaults current_faults() {
  std::lock_guard<std::mutex> hold(state_lock);
  return faults;
}

std::wstring folder_of_program() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return L"Storage Card";
  std::wstring folder(path, length);
  size_t slash = folder.find_last_of(L"\\/");
  folder = slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
  return folder + L"Storage Card";
}

std::wstring card_folder() {
  {
    std::lock_guard<std::mutex> hold(state_lock);
    if (!card_override.empty()) return card_override;
  }
  wchar_t value[MAX_PATH];
  DWORD length = GetEnvironmentVariableW(L"ERG_UNIT_CARD", value, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return std::wstring(value, length);
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\TARNAVELLE\\TOLMARO", L"unit_card_folder", RRF_RT_REG_SZ,
                   nullptr, value, &size) == ERROR_SUCCESS &&
      value[0] != L'\0') {
    return value;
  }
  return folder_of_program();
}

bool map_path(LPCWSTR unit_path, std::wstring& out) {
  if (!map_unit_path(unit_path, card_folder(), out)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  return true;
}

void fill_entry(const WIN32_FIND_DATAW& found, CE_FIND_DATA& entry) {
  entry = CE_FIND_DATA();
  entry.dwFileAttributes = found.dwFileAttributes;
  entry.ftCreationTime = found.ftCreationTime;
  entry.ftLastAccessTime = found.ftLastAccessTime;
  entry.ftLastWriteTime = found.ftLastWriteTime;
  entry.nFileSizeHigh = found.nFileSizeHigh;
  entry.nFileSizeLow = found.nFileSizeLow;
  wcsncpy(entry.cFileName, found.cFileName, MAX_PATH - 1);
}

bool take_search(HANDLE handle, Search*& search) {
  std::lock_guard<std::mutex> hold(state_lock);
  search = static_cast<Search*>(handle);
  if (searches.count(search) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  return true;
}

bool take_file(HANDLE handle, UnitFile*& file) {
  std::lock_guard<std::mutex> hold(state_lock);
  file = static_cast<UnitFile*>(handle);
  if (files.count(file) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  return true;
}

}  // namespace

RAPI_API HRESULT WINAPI CeRapiInitEx(RAPIINIT* init) {
  if (!begin_call()) return E_FAIL;
  if (init == nullptr || init->cbSize != sizeof(RAPIINIT)) return E_INVALIDARG;
  RapiFaults now = current_faults();
  if (now.init_refused) return E_FAIL;
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (event == nullptr) return E_FAIL;
  // The outcome is written before the event is set, and never after this
  // call returns: a caller that gave up waiting may have freed the record.
  init->heRapiInit = event;
  init->hrRapiInit = now.init_failed ? E_FAIL : S_OK;
  if (!now.init_silent) SetEvent(event);
  return S_OK;
}

RAPI_API HANDLE WINAPI CeFindFirstFile(LPCWSTR pattern, CE_FIND_DATA* data) {
  if (!begin_call()) return INVALID_HANDLE_VALUE;
  std::wstring host;
  if (data == nullptr || !map_path(pattern, host)) return INVALID_HANDLE_VALUE;
  auto* search = new Search;
  WIN32_FIND_DATAW found;
  HANDLE scan = FindFirstFileW(host.c_str(), &found);
  if (scan != INVALID_HANDLE_VALUE) {
    do {
      if (wcscmp(found.cFileName, L".") == 0 || wcscmp(found.cFileName, L"..") == 0) continue;
      CE_FIND_DATA entry;
      fill_entry(found, entry);
      search->entries.push_back(entry);
    } while (FindNextFileW(scan, &found));
    FindClose(scan);
  }
  // The unit lists a folder in the order its files were made; here the
  // order is the names'.
  std::sort(search->entries.begin(), search->entries.end(),
            [](const CE_FIND_DATA& a, const CE_FIND_DATA& b) { return _wcsicmp(a.cFileName, b.cFileName) < 0; });
  if (search->entries.empty()) {
    delete search;
    SetLastError(ERROR_NO_MORE_FILES);
    return INVALID_HANDLE_VALUE;
  }
  *data = search->entries[0];
  search->next = 1;
  std::lock_guard<std::mutex> hold(state_lock);
  searches.insert(search);
  return search;
}

RAPI_API BOOL WINAPI CeFindNextFile(HANDLE handle, CE_FIND_DATA* data) {
  if (!begin_call()) return FALSE;
  Search* search = nullptr;
  if (!take_search(handle, search) || data == nullptr) return FALSE;
  if (search->next >= search->entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  *data = search->entries[search->next++];
  return TRUE;
}

RAPI_API BOOL WINAPI CeFindClose(HANDLE handle) {
  if (!begin_call()) return FALSE;
  Search* search = nullptr;
  if (!take_search(handle, search)) return FALSE;
  {
    std::lock_guard<std::mutex> hold(state_lock);
    searches.erase(search);
  }
  delete search;
  return TRUE;
}

RAPI_API HANDLE WINAPI CeCreateFile(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES,
                                    DWORD creation, DWORD flags, HANDLE) {
  if (!begin_call()) return INVALID_HANDLE_VALUE;
  // The desktop only reads the unit's files: nothing may change them.
  if ((access & ~static_cast<DWORD>(GENERIC_READ)) != 0 || creation != OPEN_EXISTING) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  std::wstring host;
  if (!map_path(path, host)) return INVALID_HANDLE_VALUE;
  HANDLE file = CreateFileW(host.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                            flags & FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return INVALID_HANDLE_VALUE;
  auto* unit_file = new UnitFile;
  unit_file->file = file;
  std::lock_guard<std::mutex> hold(state_lock);
  files.insert(unit_file);
  return unit_file;
}

RAPI_API DWORD WINAPI CeGetFileSize(HANDLE handle, DWORD* size_high) {
  if (!begin_call()) return INVALID_FILE_SIZE;
  UnitFile* file = nullptr;
  if (!take_file(handle, file)) return INVALID_FILE_SIZE;
  return GetFileSize(file->file, size_high);
}

RAPI_API BOOL WINAPI CeGetFileTime(HANDLE handle, FILETIME* creation, FILETIME* last_access, FILETIME* last_write) {
  if (!begin_call()) return FALSE;
  UnitFile* file = nullptr;
  if (!take_file(handle, file)) return FALSE;
  if (current_faults().filetime_failed) {
    SetLastError(ERROR_GEN_FAILURE);
    return FALSE;
  }
  return GetFileTime(file->file, creation, last_access, last_write);
}

RAPI_API BOOL WINAPI CeReadFile(HANDLE handle, LPVOID buffer, DWORD count, LPDWORD read, LPOVERLAPPED) {
  if (read != nullptr) *read = 0;
  if (!begin_call()) return FALSE;
  UnitFile* file = nullptr;
  if (!take_file(handle, file)) return FALSE;
  int64_t limit = current_faults().short_read;
  if (limit >= 0 && count > limit) count = static_cast<DWORD>(limit);
  return ReadFile(file->file, buffer, count, read, nullptr);
}

RAPI_API BOOL WINAPI CeCloseHandle(HANDLE handle) {
  if (!begin_call()) return FALSE;
  UnitFile* file = nullptr;
  if (!take_file(handle, file)) return FALSE;
  {
    std::lock_guard<std::mutex> hold(state_lock);
    files.erase(file);
  }
  CloseHandle(file->file);
  delete file;
  return TRUE;
}

RAPI_API BOOL WINAPI rapi_standin_configure(const char* text) {
  RapiFaults parsed;
  if (!parse_rapi_faults(text, parsed)) return FALSE;
  std::lock_guard<std::mutex> hold(state_lock);
  faults_read = true;
  faults = parsed;
  calls = 0;
  return TRUE;
}

RAPI_API void WINAPI rapi_standin_set_card(LPCWSTR folder) {
  std::lock_guard<std::mutex> hold(state_lock);
  card_override = folder != nullptr ? folder : L"";
}

RAPI_API DWORD WINAPI rapi_standin_call_count(void) {
  std::lock_guard<std::mutex> hold(state_lock);
  return calls;
}
