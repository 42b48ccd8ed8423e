#include "desktop/windows/trace_text/trace_text_dialogs.h"

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/files/file_dialogs.h"
#include "desktop/winlib/files/file_streams.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/settings/registry_settings.h"
#include "desktop/data/trace_text/trace_text_file.h"

namespace {

const char save_filter[] = "CSV (*.csv)\0*.csv\0;XY (*.xy)\0*.xy\0;text-xy (*.txt)\0*.txt\0";
const char open_filter[] = "CSV Files (*.csv)\0*.csv\0XY Files (*.xy)\0*.xy\0All Files\0*.*\0";

}  // namespace

const char* save_trace_text_file(HWND owner, const traceClass* trace, const char* title, const char* folder_hint) {
  static byteObjectClass written;
  if (!trace) return nullptr;
  char proposal[MAX_PATH];
  trace_file_proposal(*trace, folder_hint, proposal, sizeof proposal);
  char chosen[MAX_PATH];
  for (;;) {
    // The dialog takes its default extension without the dot.
    if (!file_name_dialog(owner, title, proposal, save_filter, "csv", chosen, sizeof chosen, true, true, 0)) {
      return nullptr;
    }
    if (!trace_text_form_known(chosen)) continue;
    if (file_exists(chosen) &&
        yesnomessage("File Exists", "Overwrite Existing File?\n[%s]", chosen) != answer_yes) {
      continue;
    }
    if (!write_trace_text_file(chosen, *trace)) return nullptr;
    written.set(chosen);
    return written.text();
  }
}

traceClass* load_trace_text_file(const char* path, bool with_dialog) {
  char chosen[MAX_PATH];
  if (with_dialog) {
    if (!file_name_dialog(nullptr, "Select text data file", path, open_filter, "csv", chosen, sizeof chosen, false,
                          true, 0)) {
      return nullptr;
    }
    path = chosen;
  }
  traceClass* trace = read_trace_text_file(path);
  if (trace) set_program_setting("last_text_file", path);
  return trace;
}
