// TEMPORARY STAND-IN for the session panel, until the real one lands: a
// window of type 1 in the "session" class titled with its path, and a record
// of what it was asked, for the main window's tests. Removed with its folder
// when the real panel arrives.
#ifndef SESSION_PANEL_H
#define SESSION_PANEL_H

#include <string>
#include <vector>

#include "window_object.h"

class sessionPanelClass : public winTypeClass {
 public:
  // mode 1 the PC, 2 the docked unit; path a test or special session file,
  // or null.
  sessionPanelClass(int mode, const char* path, int several_files);

  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;
  // 1 when the panel is good: no path, or a path that exists.
  int status() const { return status_; }
  bool add_files(int mode, const char* path, int several_files);

  // What the panel was asked: its mode, several-files flags and paths.
  int mode() const { return mode_; }
  const std::vector<int>& several_flags() const { return several_; }
  const std::vector<std::string>& paths() const { return paths_; }

 private:
  int mode_;
  int status_ = 1;
  std::vector<int> several_;
  std::vector<std::string> paths_;
};

#endif
