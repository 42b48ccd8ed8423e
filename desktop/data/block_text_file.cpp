#include "desktop/data/block_text_file.h"

#include <cstdio>

#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/messages/system_text.h"
#include "platform/files/whole_file.h"

namespace {

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

bool write_block_text(const char* path, const testFileRecord& record, const samplesBlock& block,
                      const blockFields& fields) {
  wholeFileStep failed = wholeFileStep::none;
  bool written = write_file_whole(
      path, "wb", [&](FILE* file) { return write_lines(file, block, fields, record); }, &failed);
  if (failed == wholeFileStep::open) {
    errormessage("*** UNABLE TO CREATE FILE [%s] ***\n%s", path, last_error_text(0));
    return false;
  }
  if (!written) {
    errormessage("*** WRITE TO [%s] FAILED ***\n%s", path, whole_file_step_text(failed));
    return false;
  }
  return true;
}
