// A file dialog of a test answered as the user would: the chosen path
// written into the record, or a cancel for an empty one.
#ifndef DESKTOP_WINLIB_TESTS_FILE_DIALOG_ANSWERS_H
#define DESKTOP_WINLIB_TESTS_FILE_DIALOG_ANSWERS_H

#include <windows.h>

#include <commdlg.h>

#include <cstdio>
#include <string>
#include <vector>

inline BOOL answer_file_dialog(OPENFILENAMEA* record, const std::string& path) {
  if (path.empty()) return FALSE;
  std::snprintf(record->lpstrFile, record->nMaxFile, "%s", path.c_str());
  record->nFileOffset = static_cast<WORD>(path.rfind('\\') + 1);
  return TRUE;
}

// With the first answer of the queue, taken off it; an empty queue cancels.
inline BOOL answer_file_dialog(OPENFILENAMEA* record, std::vector<std::string>& answers) {
  if (answers.empty()) return FALSE;
  std::string answer = answers.front();
  answers.erase(answers.begin());
  return answer_file_dialog(record, answer);
}

#endif
