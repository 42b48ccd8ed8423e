#include "handheld/engine/storage/program_files.h"

#include <cstdio>
#include <system_error>
#include <vector>

#include "handheld/engine/log/ascii_text.h"
#include "handheld/engine/storage/card_files.h"
#include "handheld/engine/log/engine_messages.h"
#include "platform/files/whole_file.h"

bool read_program_file(const std::wstring& unit_path, programRecord& program) {
  remove_leftover_temporary(card_file_path(unit_path));
  FILE* file = open_card_file(unit_path, "rb");
  if (file == nullptr) return false;
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(card_file_path(unit_path), error);
  if (error) {
    std::fclose(file);
    return false;
  }
  if (size != sizeof(programRecord)) {
    std::fclose(file);
    engine_show_message(0, "*** PROGRAM FILE IS THE WRONG SIZE ***");
    return false;
  }
  std::vector<uint8_t> bytes(sizeof(programRecord));
  const bool read = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  std::fclose(file);
  return read && program_record_from_bytes(bytes.data(), bytes.size(), program);
}

bool write_program_file(const std::wstring& unit_path, const programRecord& program) {
  std::vector<uint8_t> bytes(sizeof(programRecord));
  program_record_to_bytes(program, bytes.data(), bytes.size());
  // A program that dies while replacing a user's file leaves the old file.
  wholeFileStep failed = wholeFileStep::none;
  if (write_bytes_whole(card_file_path(unit_path), bytes.data(), bytes.size(), &failed)) return true;
  if (failed == wholeFileStep::open) {
    engine_show_message(0, "*** UNABLE TO CREATE PROGRAM FILE ***\n%s", narrow(unit_path).c_str());
  } else {
    engine_show_message(0, "*** UNABLE TO STORE PROGRAM FILE ***\n%s", narrow(unit_path).c_str());
  }
  return false;
}
