// getDirectoryClass: the recursive search for test files below a folder,
// reporting its progress on its owner's information panel.
//
// The owner is the test locator window; the search is a window object of
// type 13 beneath it in the window tree, made with new like every window
// object. Panel calls may dispatch a waiting window message, and a
// dispatched message may close the owner, which deletes the search with it:
// after each such call the search looks for itself in the window tree and
// stops, touching nothing, when it is gone.
#ifndef DESKTOP_WINLIB_FILES_DIRECTORY_SEARCH_H
#define DESKTOP_WINLIB_FILES_DIRECTORY_SEARCH_H

#include <windows.h>

#include <cstdint>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/windows/window_object.h"

// The window that owns a search, and what the search reads and shows of it.
class directorySearchOwner : public winTypeClass {
 public:
  directorySearchOwner(winTypeClass* parent, uint32_t type_code) : winTypeClass(parent, type_code) {}

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
  // The cancel request.
  virtual bool cancel_requested() = 0;
};

// Called for each file found: the owner, the file's find data and its
// folder (ending in "\").
typedef void (*directorySearchCallback)(directorySearchOwner* owner, const WIN32_FIND_DATAA* found,
                                        const char* folder);

// Folders deeper than this below the root are not searched.
constexpr int directory_search_depth_limit = 32;

class getDirectoryClass : public winTypeClass {
 public:
  // The search for files with the given extension, beneath owner in the
  // window tree (the name and the root folder are not used).
  getDirectoryClass(directorySearchOwner* owner, const char* name, const char* extension, const char* root);

  // Nothing to lay out or draw.
  void draw(HDC, const paper&) override {}

  // Sets the found counter to 0 and searches root (a folder path ending in
  // "\"). Goes on only while the error counter is below 1 (the caller sets
  // it to 0 first), the search is still in the window tree and its owner has
  // not asked to cancel. Visits the files and then the sub-folders of each
  // folder in name order; a folder already open higher up the same branch
  // (a folder loop) is skipped, and folders below the depth limit are left
  // out, which is reported once.
  void scan(directorySearchCallback callback, const char* root);

  // Files and folders found by the last scan.
  static int32_t found_count() { return found_; }

 private:
  struct folder_id {
    DWORD volume, index_high, index_low;
  };
  // Whether search is still in the window tree as a folder search. Safe on
  // a deleted search: it only compares the pointer.
  static bool in_tree(const getDirectoryClass* search);
  bool go_on();
  // Each returns false when the search has been deleted meanwhile.
  bool search(const char* folder, int depth);
  bool list_files(const char* folder);
  bool show_found();

  directorySearchOwner* owner_;
  byteObjectClass extension_;
  directorySearchCallback callback_ = nullptr;
  folder_id* branch_ = nullptr;
  int branch_depth_ = 0;
  bool depth_limited_ = false;
  static int32_t found_;
};

#endif
