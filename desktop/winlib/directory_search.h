// getDirectoryClass: the recursive search for test files below a folder,
// reporting its progress on its owner's information panel.
//
// The owner is the test locator window. The search needs of it only what
// directorySearchOwner declares. Panel calls may dispatch a waiting window
// message, and a dispatched message may close the owner: the search checks
// after each such call that the owner still exists before it touches it
// again, and stops when it is gone.
#ifndef DIRECTORY_SEARCH_H
#define DIRECTORY_SEARCH_H

#include <windows.h>

#include <cstdint>

#include "byte_object.h"

// What the search reads and shows of its owner.
class directorySearchOwner {
 public:
  directorySearchOwner();
  virtual ~directorySearchOwner();
  directorySearchOwner(const directorySearchOwner&) = delete;
  directorySearchOwner& operator=(const directorySearchOwner&) = delete;

  // Whether owner is an owner that has not been destroyed.
  static bool exists(const directorySearchOwner* owner);

  // The information panel: its count line, its line of accepted tests, one
  // of its message lines (each may dispatch one waiting window message),
  // and a repaint.
  virtual void show_count(const char* text) = 0;
  virtual void show_accepted(const char* text) = 0;
  virtual void show_message(int line, const char* text) = 0;
  virtual void refresh_panel() = 0;
  // The check box that includes sub-folders.
  virtual bool include_subfolders() = 0;
  // The count of accepted tests.
  virtual int32_t accepted_count() = 0;
  // The cancel request, read between folders.
  virtual bool cancel_requested() = 0;
};

// Called for each file found: the owner, the file's find data and its
// folder (ending in "\").
typedef void (*directorySearchCallback)(directorySearchOwner* owner, const WIN32_FIND_DATAA* found,
                                        const char* folder);

// Folders deeper than this below the root are not searched.
constexpr int directory_search_depth_limit = 32;

class getDirectoryClass {
 public:
  static constexpr int window_type = 13;

  // The search for files with the given extension on behalf of owner (the
  // name and the root folder are not used).
  getDirectoryClass(directorySearchOwner* owner, const char* name, const char* extension, const char* root);
  getDirectoryClass(const getDirectoryClass&) = delete;
  getDirectoryClass& operator=(const getDirectoryClass&) = delete;

  // Sets the found counter to 0 and searches root (a folder path ending in
  // "\"). Goes on only while the error counter is below 1 (the caller sets
  // it to 0 first), the owner exists and has not asked to cancel. Visits
  // the files and sub-folders of each folder in name order; folders already
  // open higher up the same branch (a folder loop) are skipped, and folders
  // below the depth limit are left out, which is reported once.
  void scan(directorySearchCallback callback, const char* root);

  // Files and folders found by the last scan.
  static int32_t found_count() { return found_; }

 private:
  struct folder_id {
    DWORD volume, index_high, index_low;
  };
  bool go_on() const;
  bool owner_exists() const { return directorySearchOwner::exists(owner_); }
  void search(const char* folder, int depth);
  void list_files(const char* folder);
  void show_found();

  directorySearchOwner* owner_;
  byteObjectClass extension_;
  directorySearchCallback callback_ = nullptr;
  folder_id* branch_ = nullptr;
  int branch_depth_ = 0;
  bool depth_limited_ = false;
  static int32_t found_;
};

#endif
