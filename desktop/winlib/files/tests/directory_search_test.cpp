#include <gtest/gtest.h>

#include <windows.h>

#include <unistd.h>

#include <cstdio>
#include <exception>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "desktop/winlib/files/directory_search.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

// What a search showed and found, kept apart from the owner so that it
// outlives an owner closed during the search.
struct search_record {
  std::vector<std::string> files;  // relative to the root
  std::map<int, std::string> lines;
  std::string count, accepted;
  int refreshes = 0;
};

// A small stand-in for the test locator window: its panel writes into a
// record; the sub-folder switch, the cancel request and the accepted count
// are fields.
class test_owner : public directorySearchOwner {
 public:
  test_owner(search_record& record, const std::string& root)
      : directorySearchOwner(nullptr, window_type::test_search), record_(record), root_(root) {}

  void draw(HDC, const paper&) override {}

  void show_count(const char* text) override { record_.count = text; }
  void show_accepted(const char* text) override { record_.accepted = text; }
  void show_message(int line, const char* text) override {
    record_.lines[line] = text;
    on_message(line);
  }
  void refresh_panel() override { record_.refreshes++; }
  bool include_subfolders() override { return subfolders; }
  int32_t accepted_count() override { return accepted; }
  bool cancel_requested() override { return cancel; }

  // The panel dispatches one waiting window message with each line.
  virtual void on_message(int) {}

  void found(const WIN32_FIND_DATAA* data, const char* folder) {
    record_.files.push_back(std::string(folder).substr(root_.size()) + data->cFileName);
    accepted++;
    if (cancel_after > 0 && accepted >= cancel_after) cancel = true;
    if (error_after > 0 && accepted >= error_after) errormessage("*** BAD TEST FILE ***");
  }

  bool subfolders = true;
  bool cancel = false;
  int32_t accepted = 0;
  int cancel_after = 0;
  int error_after = 0;

 private:
  search_record& record_;
  std::string root_;
};

void record_file(directorySearchOwner* owner, const WIN32_FIND_DATAA* data, const char* folder) {
  static_cast<test_owner*>(owner)->found(data, folder);
}

std::string root_of(const temp_folder& folder) { return folder.path().string() + "\\"; }

// Runs one search, made with new as window objects are, on owner's behalf.
void run_search(test_owner& owner, const std::string& root) {
  getDirectoryClass* search = new getDirectoryClass(&owner, "search", "TST", root.c_str());
  search->scan(record_file, root.c_str());
  delete search;
}

void make_tree(const temp_folder& folder) {
  folder.write("b.tst", "");
  folder.write("a.TST", "");
  folder.write("x.txt", "");
  folder.write("sub\\c.TST", "");
  folder.write("sub\\deeper\\d.TST", "");
  folder.write(".hidden\\e.TST", "");
  folder.write("dir.TST\\f.TST", "");
  std::filesystem::create_directory(folder.path() / "z");
}

class DirectorySearch : public ::testing::Test {
 protected:
  void SetUp() override { set_error_count(0); }
  void TearDown() override { set_error_count(0); }
};

}  // namespace

TEST_F(DirectorySearch, WalksSubFoldersInNameOrder) {
  message_capture capture;
  temp_folder folder;
  make_tree(folder);
  std::string root = root_of(folder);
  search_record record;
  test_owner owner(record, root);
  run_search(owner, root);

  EXPECT_EQ(record.files,
            (std::vector<std::string>{"a.TST", "b.tst", "dir.TST\\f.TST", "sub\\c.TST", "sub\\deeper\\d.TST"}));
  EXPECT_EQ(getDirectoryClass::found_count(), 5 + 4);  // files, and the folders dir.TST, sub, deeper, z
  EXPECT_EQ(record.count, "    9");
  EXPECT_EQ(record.accepted, "Accepted:     5");
  EXPECT_EQ(record.lines[0], root);
  EXPECT_EQ(record.lines[1], "");
  EXPECT_EQ(record.lines[2], "");
  EXPECT_EQ(record.refreshes, 5);
  EXPECT_TRUE(capture.texts().empty());
}

TEST_F(DirectorySearch, SubFolderSwitchCancelAndErrors) {
  message_capture capture;
  temp_folder folder;
  make_tree(folder);
  std::string root = root_of(folder);
  struct {
    bool subfolders;
    int cancel_after;
    int error_after;
    std::vector<std::string> files;
  } cases[] = {
      {false, 0, 0, {"a.TST", "b.tst"}},
      {true, 3, 0, {"a.TST", "b.tst", "dir.TST\\f.TST"}},
      {true, 0, 2, {"a.TST", "b.tst"}},
  };
  for (const auto& c : cases) {
    set_error_count(0);
    search_record record;
    test_owner owner(record, root);
    owner.subfolders = c.subfolders;
    owner.cancel_after = c.cancel_after;
    owner.error_after = c.error_after;
    run_search(owner, root);
    EXPECT_EQ(record.files, c.files);
  }
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** BAD TEST FILE ***"});

  // An error counted before the scan stops it at once.
  search_record record;
  test_owner owner(record, root);
  run_search(owner, root);
  EXPECT_TRUE(record.files.empty());
}

TEST_F(DirectorySearch, TwelveLevelsDeep) {
  message_capture capture;
  temp_folder folder;
  std::string relative;
  std::vector<std::string> expected = {"top.TST"};
  folder.write("top.TST", "");
  for (int level = 1; level <= 12; level++) {
    relative += "level" + std::to_string(level) + "\\";
    folder.write(relative + "f.TST", "");
    expected.push_back(relative + "f.TST");
  }
  std::string root = root_of(folder);
  search_record record;
  test_owner owner(record, root);
  run_search(owner, root);
  EXPECT_EQ(record.files, expected);
  EXPECT_EQ(record.lines[12], "");  // the deepest folder's line, emptied on the way back
  EXPECT_EQ(getDirectoryClass::found_count(), 13 + 12);
  EXPECT_TRUE(capture.texts().empty());
}

TEST_F(DirectorySearch, StopsAtTheDepthLimit) {
  message_capture capture;
  temp_folder folder;
  std::string relative;
  for (int level = 1; level <= directory_search_depth_limit + 2; level++) {
    relative += "d\\";
    folder.write(relative + std::to_string(level) + ".TST", "");
  }
  std::string root = root_of(folder);
  search_record record;
  test_owner owner(record, root);
  run_search(owner, root);
  ASSERT_EQ(record.files.size(), static_cast<size_t>(directory_search_depth_limit));
  EXPECT_EQ(record.files.back().substr(record.files.back().rfind('\\') + 1),
            std::to_string(directory_search_depth_limit) + ".TST");
  EXPECT_EQ(capture.captions(), std::vector<std::string>{"info"});
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** FOLDERS MORE THAN 32 LEVELS BELOW [" + root +
                                                      "] WERE NOT SEARCHED ***"});
  EXPECT_EQ(error_count(), 0u);
}

#ifdef ERG_FOLDER_LOOP
TEST_F(DirectorySearch, EndsOnAFolderLoop) {
  // A folder whose sub-folder "inner\back" leads back to it (a symbolic
  // link made by the build), seen through Wine's drive of the build host.
  std::string root = ERG_FOLDER_LOOP;
  for (char& c : root) c = c == '/' ? '\\' : c;
  root += "\\";
  if (GetFileAttributesA((root + "inner\\back\\a.TST").c_str()) == INVALID_FILE_ATTRIBUTES) {
    GTEST_SKIP() << "no folder loop at " << root;
  }
  message_capture capture;
  search_record record;
  test_owner owner(record, root);
  run_search(owner, root);
  EXPECT_EQ(record.files, (std::vector<std::string>{"a.TST", "inner\\b.TST"}));
  EXPECT_TRUE(capture.texts().empty());
}
#endif

namespace {

// An owner that a dispatched message closes: on its first message line of
// depth 1 it takes the waiting message, a close request, and deletes
// itself, as a window does on WM_CLOSE, and the search with it. Its storage
// is kept and filled with a pattern that no call survives: a call on it
// after that ends the test program (see the test).
class closing_owner : public test_owner {
 public:
  using test_owner::test_owner;
  void on_message(int line) override {
    MSG message;
    if (line == 1 && PeekMessageA(&message, nullptr, WM_APP, WM_APP, PM_REMOVE)) delete this;
  }
  static void* operator new(size_t size) {
    EXPECT_LE(size, sizeof storage);
    return storage;
  }
  static void operator delete(void* object, size_t size) { memset(object, 0xCC, size); }

 private:
  alignas(16) static unsigned char storage[512];
};
alignas(16) unsigned char closing_owner::storage[512];

[[noreturn]] void closed_owner_called() {
  fputs("*** the search called its owner after the owner was closed ***\n", stderr);
  _exit(3);
}

LONG WINAPI closed_owner_fault(EXCEPTION_POINTERS*) { closed_owner_called(); }

}  // namespace

TEST_F(DirectorySearch, OwnerClosedDuringTheSearch) {
  // A call on the closed owner ends the program at once, and loudly, rather
  // than starting the system's debugger.
  std::terminate_handler previous_terminate = std::set_terminate(closed_owner_called);
  LPTOP_LEVEL_EXCEPTION_FILTER previous_filter = SetUnhandledExceptionFilter(closed_owner_fault);
  message_capture capture;
  temp_folder folder;
  make_tree(folder);
  std::string root = root_of(folder);
  search_record record;
  closing_owner* owner = new closing_owner(record, root);
  getDirectoryClass* search = new getDirectoryClass(owner, "search", "TST", root.c_str());
  MSG queue;
  PeekMessageA(&queue, nullptr, 0, 0, PM_NOREMOVE);  // the thread gets its message queue
  PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
  search->scan(record_file, root.c_str());
  // Both are gone from the window tree; the search went no further.
  EXPECT_EQ(find_window_of_type(window_type::test_search), nullptr);
  EXPECT_EQ(find_window_of_type(window_type::directory_getter), nullptr);
  EXPECT_EQ(record.files, (std::vector<std::string>{"a.TST", "b.tst"}));
  EXPECT_EQ(record.lines[1], root + "dir.TST\\");
  EXPECT_TRUE(capture.texts().empty());
  SetUnhandledExceptionFilter(previous_filter);
  std::set_terminate(previous_terminate);
}
