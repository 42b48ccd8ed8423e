#include "program_files.h"

#include <cstdio>
#include <system_error>
#include <vector>

#include "card_files.h"
#include "engine_messages.h"

bool read_program_file(const std::wstring& unit_path, programRecord& program) {
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
  FILE* file = open_card_file(unit_path, "wb");
  if (file == nullptr) {
    engine_show_message(0, "*** UNABLE TO CREATE PROGRAM FILE ***");
    return false;
  }
  std::vector<uint8_t> bytes(sizeof(programRecord));
  program_record_to_bytes(program, bytes.data(), bytes.size());
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  written = std::fclose(file) == 0 && written;
  if (!written) {
    remove_card_path(unit_path);  // a part of a program is no program
    engine_show_message(0, "*** UNABLE TO STORE PROGRAM FILE ***");
  }
  return written;
}
