// The summary as a text file: every row of its table, header rows first.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "desktop/winlib/files/file_dialogs.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/windows/summary/summary.h"
#include "platform/files/whole_file.h"

std::string summary_text_folder = "C:\\DOCUMENTS AND SETTINGS\\ALL USERS\\DOCUMENTS\\TOLMARO";

bool summaryClass::save_as_text(HWND window, const char* name, const char* folder, bool comma) {
  if (!table_) return false;
  std::string start = folder && *folder ? folder : summary_text_folder;
  size_t slash = start.rfind('\\');
  start = slash == std::string::npos ? std::string() : start.substr(0, slash + 1);
  start += std::string("Summary_") + (name ? name : "") + (comma ? ".csv" : ".txt");
  char chosen[260];
  const char* title = comma ? "Save comma separated data" : "Save tab separated data";
  const char* filter = comma ? "Text Files (*.csv)\0*.csv\0" : "Text Files (*.txt)\0*.txt\0";
  if (!file_name_dialog(window, title, start.c_str(), filter, comma ? "csv" : "txt", chosen, sizeof chosen, true,
                        false, 0))
    return false;
  const char* separator = comma ? "," : "\t";
  wholeFileStep failed = wholeFileStep::none;
  const bool written = write_file_whole(
      chosen, "wb",
      [&](std::FILE* out) {
        for (int row = 0; row < table_->row_count(); row++) {
          for (int column = 0; column < table_->column_count(); column++) {
            if (column > 0 && std::fputs(separator, out) < 0) return false;
            if (std::fputs(table_->cell_text(row, column), out) < 0) return false;
          }
          if (std::fputc('\n', out) == EOF) return false;
        }
        return true;
      },
      &failed);
  if (failed == wholeFileStep::open) {
    errormessage("*** UNABLE TO CREATE THE SUMMARY FILE [%s] ***\n%s", chosen, std::strerror(errno));
  } else if (!written) {
    errormessage("*** UNABLE TO WRITE THE SUMMARY FILE [%s] ***\n%s", chosen, whole_file_step_text(failed));
  }
  return written;
}
