#include "desktop/winlib/files/make_path.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/values/text_scan.h"

namespace {

// Puts the current folder back when the walk ends, however it ends.
class current_folder_keeper {
 public:
  current_folder_keeper() {
    DWORD n = GetCurrentDirectoryA(0, nullptr);
    folder_.assign(n + 1, 0);
    if (n == 0 || GetCurrentDirectoryA(n + 1, folder_.data()) == 0) folder_.assign(1, 0);
  }
  ~current_folder_keeper() { restore(); }
  current_folder_keeper(const current_folder_keeper&) = delete;
  current_folder_keeper& operator=(const current_folder_keeper&) = delete;

  void restore() const {
    if (folder_[0]) SetCurrentDirectoryA(folder_.data());
  }
  // Enters folder as seen from the folder the walk started in.
  bool enter(const std::string& folder) const {
    restore();
    return SetCurrentDirectoryA(folder.c_str()) != 0;
  }

 private:
  std::vector<char> folder_;
};

// The folder as it is tested: a bare drive "C:" as "C:\".
std::string testable(const std::string& folder) {
  if (folder.size() == 2 && folder[1] == ':') return folder + "\\";
  return folder;
}

}  // namespace

int make_path(const char* path, bool create, bool ask) {
  if (!path) path = "";
  current_folder_keeper keeper;
  const char* last = strrchr(path, '\\');
  const int file_offset = last ? static_cast<int>(last - path) + 1 : 0;
  const std::string folders(path, last ? static_cast<size_t>(last - path) : 0);

  std::string built;
  int backslash_count = 0;
  const bool network = folders.compare(0, 2, "\\\\") == 0;
  size_t at = 0;
  for (int index = 0; last && at <= folders.size(); index++) {
    std::vector<char> segment(folders.size() + 1);
    int n = token_split(folders.c_str() + at, "\\", segment.data(), segment.size());
    size_t length = n > 0 ? static_cast<size_t>(n) : n < 0 ? 0 : strlen(segment.data());
    printf("## %2d %2d[%s] [%s] [%s]\n", index, n, segment.data(), folders.c_str() + at, built.c_str());
    if (index > 0) {
      built += '\\';
      backslash_count++;
    }
    built += segment.data();
    at += length + 1;
    printf("## total path so far [%s]\n", built.c_str());
    printf("## backslash_count %d\n", backslash_count);
    // A network path's "\\server\share" is entered only as a whole.
    if (length == 0 || (network && backslash_count < 3)) continue;
    std::string folder = testable(built);
    printf("## folder [%s]\n", folder.c_str());
    if (keeper.enter(folder)) continue;
    printf("## PATH INVALID\n");
    const int refused = -static_cast<int>(built.size());
    if (!create) return refused;
    if (ask && yesnomessage(segment.data(), "create directory?") != answer_yes) return refused;
    if (!CreateDirectoryA(folder.c_str(), nullptr)) {
      errormessage("*** UNABLE TO CREATE DIRECTORY [%s] ***", folder.c_str());
      return refused;
    }
    bool entered = false;
    for (int attempt = 0; attempt < 5 && !entered; attempt++) {
      Sleep(100);
      entered = keeper.enter(folder);
    }
    if (!entered) {
      errormessage("*** UNABLE TO SWITCH TO NEW DIRECTORY [%s] ***", folder.c_str());
      return refused;
    }
  }
  if (network && backslash_count < 3) return -file_offset;
  printf("## path valid\n");
  return file_offset;
}
