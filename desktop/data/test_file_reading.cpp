#include "desktop/data/test_file_reading.h"

#include <vector>

#include "desktop/winlib/messages/messages.h"
#include "desktop/data/pc_file_read.h"

namespace {

const char* source_word(int source) { return source == test_source_pc ? "PC" : "UNIT"; }

unitFileReader unit_reader = nullptr;

}  // namespace

void install_unit_file_reader(unitFileReader reader) { unit_reader = reader; }

namespace {

enum class readResult { done, not_opened, short_read };

// The bytes of a file of the given size from the PC or the unit. A file
// that cannot be opened or has another size is reported here (the messages
// name the kind of file); a short read is left to the caller's message. The
// unit's reader reports its own.
readResult read_sized(const char* path, int source, uint32_t size, const char* kind, std::vector<uint8_t>& bytes,
                      fileTime* file_time_out) {
  bytes.resize(size);
  if (source != test_source_pc)
    return unit_reader && unit_reader(path, bytes.data(), size, file_time_out) ? readResult::done
                                                                               : readResult::not_opened;
  switch (read_pc_file(path, size, bytes.data(), file_time_out)) {
    case pcFileRead::done:
      return readResult::done;
    case pcFileRead::short_read:
      return readResult::short_read;
    case pcFileRead::wrong_size:
      errormessage("*** File [%s] is the wrong size for a %s file ***", path, kind);
      return readResult::not_opened;
    case pcFileRead::not_opened:
      break;
  }
  errormessage("*** CAN NOT OPEN FILE [%s] ***\nfrom %s.", path, source_word(test_source_pc));
  return readResult::not_opened;
}

// The bytes of the last file read by this thread, kept for the next: a
// session reads hundreds of files of the same two sizes.
thread_local std::vector<uint8_t> file_bytes;

}  // namespace

testFileRecord* read_test_file(const char* path, int source, fileTime* file_time_out) {
  if (source != test_source_pc && !unit_reader) return nullptr;
  if (!path) path = "";
  std::vector<uint8_t>& bytes = file_bytes;
  readResult got = read_sized(path, source, test_file_size, "test", bytes, file_time_out);
  if (got == readResult::not_opened) return nullptr;
  testFileRecord* record = new testFileRecord;
  if (got != readResult::done || !test_record_from_bytes(bytes.data() + 1, bytes.size() - 1, *record)) {
    delete record;
    errormessage("*** CAN NOT LOAD FILE [%s] ***\nfrom %s.", path, source_word(source));
    return nullptr;
  }
  return record;
}

samplesBlock* read_samples_file(const char* path, int source, fileTime* file_time_out) {
  if (source != test_source_pc && !unit_reader) return nullptr;
  if (!path) path = "";
  std::vector<uint8_t>& bytes = file_bytes;
  readResult got = read_sized(path, source, samples_file_size, "samples", bytes, file_time_out);
  if (got == readResult::not_opened) return nullptr;
  samplesBlock* block = new samplesBlock;
  if (got != readResult::done || !samples_block_from_bytes(bytes.data(), bytes.size(), *block)) {
    delete block;
    errormessage("*** UNABLE TO 'ReadFile' [%s] ***", path);
    return nullptr;
  }
  return block;
}
