#include "block_text_file.h"

#include <shlobj.h>

#include <cstdio>

#include "byte_object.h"
#include "file_dialogs.h"
#include "messages.h"
#include "record_fields.h"
#include "system_text.h"
#include "whole_file.h"

namespace {

constexpr int path_buffer_size = 260;

// The start folder: the given one, else the documents folder, cut after its
// last backslash (found at index 1 or later) so that a file path gives its
// folder.
void start_folder(const char* folder, byteObjectClass& out) {
  if (folder && *folder) {
    out.set(folder);
  } else {
    char documents[MAX_PATH] = "";
    if (SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents) == S_OK) {
      out.set(documents);
      out.append("\\");
    } else {
      out.set("");
    }
  }
  for (int32_t i = out.length() - 1; i >= 1; i--) {
    if (out.text()[i] == '\\') {
      out.set_substring(byteObjectClass(out), 0, i);
      break;
    }
  }
}

bool write_lines(FILE* file, const samplesBlock& block, const blockFields& fields, const testFileRecord& record) {
  char line[96];
  for (int32_t i = 0; i < fields.count; i++) {
    double time = static_cast<double>(i) * fields.total_time / fields.count;
    double value = raw_to_microvolts(block.Data[i], fields, record.Config.Scale, record.Config.Offset);
    int length = snprintf(line, sizeof line, "%5.1lf \t %8.2lf\n", time, value);
    if (length < 0 || length >= static_cast<int>(sizeof line)) return false;
    if (fwrite(line, 1, static_cast<size_t>(length), file) != static_cast<size_t>(length)) return false;
  }
  return true;
}

}  // namespace

const char* save_data_as_text(HWND owner, const testFileRecord& record, const samplesBlock& block, const char* name,
                              const char* folder) {
  static byteObjectClass chosen_path;
  blockFields fields;
  if (!read_block_fields(block, fields)) return nullptr;

  byteObjectClass proposed;
  start_folder(folder, proposed);
  proposed.append("XY_");
  proposed.append(name);
  proposed.append(".txt");

  char chosen[path_buffer_size] = "";
  if (!file_name_dialog(owner, "Save text data", proposed.text(), "Text Files (*.txt)\0*.txt\0\0", ".txt", chosen,
                        sizeof chosen, true, true, 0)) {
    return folder;
  }
  wholeFileStep failed = wholeFileStep::none;
  bool written = write_file_whole(
      chosen, "wb", [&](FILE* file) { return write_lines(file, block, fields, record); }, &failed);
  if (failed == wholeFileStep::open) {
    errormessage("*** UNABLE TO CREATE FILE [%s] ***\n%s", chosen, last_error_text(0));
    return folder;  // the caller keeps the folder it had
  }
  if (!written) {
    errormessage("*** WRITE TO [%s] FAILED ***\n%s", chosen, whole_file_step_text(failed));
    return folder;
  }
  chosen_path.set(chosen);
  return chosen_path.text();
}
