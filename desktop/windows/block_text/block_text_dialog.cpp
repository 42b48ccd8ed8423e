#include "desktop/windows/block_text/block_text_dialog.h"

#include <shlobj.h>

#include "desktop/data/block_text_file.h"
#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/files/file_dialogs.h"
#include "desktop/data/record_fields.h"

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
  // A file not written leaves the caller the folder it had.
  if (!write_block_text(chosen, record, block, fields)) return folder;
  chosen_path.set(chosen);
  return chosen_path.text();
}
