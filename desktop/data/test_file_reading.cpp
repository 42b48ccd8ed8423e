#include "test_file_reading.h"

#include <windows.h>

#include <vector>

#include "file_info.h"
#include "messages.h"

namespace {

const char* source_word(int source) { return source == test_source_pc ? "PC" : "UNIT"; }

// Opens a PC file (the file-information object reports why it cannot),
// gives its local last-write time and checks its size. The messages name
// the kind of file. The file stays open in info for reading.
bool open_sized(const char* path, uint32_t size, const char* kind, fileInfoClass& info, fileTime* file_time_out) {
  if (!info.get(path, 1)) {
    errormessage("*** CAN NOT OPEN FILE [%s] ***\nfrom %s.", path, source_word(test_source_pc));
    return false;
  }
  if (file_time_out) {
    FILETIME local = info.last_write();
    *file_time_out = fileTime{local.dwLowDateTime, local.dwHighDateTime};
  }
  if (info.size() != size) {
    errormessage("*** File [%s] is the wrong size for a %s file ***", path, kind);
    return false;
  }
  return true;
}

unitFileReader unit_reader = nullptr;

}  // namespace

void install_unit_file_reader(unitFileReader reader) { unit_reader = reader; }

namespace {

enum class readResult { done, not_opened, short_read };

// The bytes of a file of the given size from the PC or the unit. A file
// that cannot be opened or has another size is reported here; a short read
// is left to the caller's message. The unit's reader reports its own.
readResult read_sized(const char* path, int source, uint32_t size, const char* kind, std::vector<uint8_t>& bytes,
                      fileTime* file_time_out) {
  bytes.resize(size);
  if (source != test_source_pc)
    return unit_reader && unit_reader(path, bytes.data(), size, file_time_out) ? readResult::done
                                                                               : readResult::not_opened;
  fileInfoClass file;
  if (!open_sized(path, size, kind, file, file_time_out)) return readResult::not_opened;
  return file.read(bytes.data(), size) == size ? readResult::done : readResult::short_read;
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
  if (got != readResult::done ||
      !test_record_from_bytes(bytes.data() + 1, bytes.size() - 1, *record)) {
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
  if (got != readResult::done ||
      !samples_block_from_bytes(bytes.data(), bytes.size(), *block)) {
    delete block;
    errormessage("*** UNABLE TO 'ReadFile' [%s] ***", path);
    return nullptr;
  }
  return block;
}
