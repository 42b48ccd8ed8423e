#include "desktop/winlib/files/directory_search.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/messages/messages.h"

namespace {

// The entries of a folder matching pattern, in name order: folders or files.
std::vector<WIN32_FIND_DATAA> entries(const std::string& pattern, bool folders) {
  std::vector<WIN32_FIND_DATAA> found;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(pattern.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    bool is_folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (is_folder == folders) found.push_back(data);
  } while (FindNextFileA(search, &data));
  FindClose(search);
  std::sort(found.begin(), found.end(), [](const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b) {
    return strcmp(a.cFileName, b.cFileName) < 0;
  });
  return found;
}

// The file system's identity of a folder; false when it cannot be read.
bool identify(const std::string& folder, DWORD& volume, DWORD& high, DWORD& low) {
  HANDLE handle = CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  bool known = GetFileInformationByHandle(handle, &info) != 0;
  CloseHandle(handle);
  volume = info.dwVolumeSerialNumber;
  high = info.nFileIndexHigh;
  low = info.nFileIndexLow;
  return known;
}

}  // namespace

int32_t getDirectoryClass::found_ = 0;

getDirectoryClass::getDirectoryClass(directorySearchOwner* owner, const char*, const char* extension, const char*)
    : winTypeClass(owner, window_type::directory_getter), owner_(owner), extension_(extension) {}

bool getDirectoryClass::in_tree(const getDirectoryClass* search) {
  windowNode* node = find_window_node(search);
  return node && node->type == window_type::directory_getter;
}

bool getDirectoryClass::go_on() { return error_count() < 1 && !owner_->cancel_requested(); }

bool getDirectoryClass::show_found() {
  owner_->show_count(fmt("%5d", static_cast<int>(found_)));
  return in_tree(this);
}

void getDirectoryClass::scan(directorySearchCallback callback, const char* root) {
  callback_ = callback;
  found_ = 0;
  depth_limited_ = false;
  if (!show_found()) return;
  folder_id chain[directory_search_depth_limit + 1];
  branch_ = chain;
  branch_depth_ = 0;
  std::string top = root ? root : "";
  if (!search(top.c_str(), 0)) return;
  branch_ = nullptr;
  if (depth_limited_) {
    infomessage("*** FOLDERS MORE THAN %d LEVELS BELOW [%s] WERE NOT SEARCHED ***", directory_search_depth_limit,
                top.c_str());
  }
}

bool getDirectoryClass::search(const char* folder, int depth) {
  if (owner_->cancel_requested()) return true;
  folder_id id = {};
  bool known = identify(folder, id.volume, id.index_high, id.index_low);
  if (known) {
    for (int i = 0; i < branch_depth_; i++) {
      const folder_id& up = branch_[i];
      if (up.volume == id.volume && up.index_high == id.index_high && up.index_low == id.index_low) return true;
    }
  }
  owner_->show_accepted(fmt("Accepted: %5d", static_cast<int>(owner_->accepted_count())));
  if (!in_tree(this)) return false;
  owner_->show_message(depth, fmt("%s", folder));
  if (!in_tree(this)) return false;
  owner_->refresh_panel();
  if (!in_tree(this) || !list_files(folder)) return false;

  if (!known) id = folder_id{0, 0, 0};
  branch_[branch_depth_++] = id;
  for (const WIN32_FIND_DATAA& entry : entries(std::string(folder) + "*.*", true)) {
    if (!go_on() || !owner_->include_subfolders()) break;
    if (entry.cFileName[0] == '.') continue;
    if (depth >= directory_search_depth_limit) {
      depth_limited_ = true;
      break;
    }
    std::string sub = std::string(folder) + entry.cFileName + "\\";
    if (!search(sub.c_str(), depth + 1)) return false;
    found_++;
    if (!show_found()) return false;
    owner_->show_message(depth + 1, "");
    if (!in_tree(this)) return false;
  }
  branch_depth_--;
  return true;
}

bool getDirectoryClass::list_files(const char* folder) {
  std::string path = folder;
  path.erase(path.find_last_of('\\') + 1);
  for (const WIN32_FIND_DATAA& entry : entries(path + "*." + extension_.text(), false)) {
    if (!go_on()) break;
    callback_(owner_, &entry, path.c_str());
    if (!in_tree(this)) return false;
    found_++;
    if (!show_found()) return false;
  }
  return true;
}
