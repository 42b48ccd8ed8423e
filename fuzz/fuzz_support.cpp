#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include <unistd.h>

#include "platform/ce/card_path.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/log/engine_messages.h"
#include "desktop/winlib/messages/message_recorder.h"
#include "handheld/engine/storage/record_init.h"
#include "handheld/engine/storage/stored_records.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/engine/storage/test_folders.h"

namespace {

folderDate pinned_date() { return folderDate{2024, 3, 15}; }

void quiet(int, const char*) {}

// The scratch folder, kept for the exit handler after statics are gone.
std::string* scratch = nullptr;

std::filesystem::path make_card() {
  std::error_code error;
  std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error) folder = ".";
  folder /= "erg_fuzz_" + std::to_string(static_cast<long long>(::getpid()));
  std::filesystem::remove_all(folder, error);
  std::filesystem::create_directories(folder / "card");
  scratch = new std::string(folder.string());
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(*scratch, ignored);
  });
  return folder / "card";
}

}  // namespace

void fuzz_failed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", condition, file, line);
  std::abort();
}

const std::filesystem::path& fuzz_card() {
  static const std::filesystem::path card = [] {
    std::filesystem::path made = make_card();
    set_card_root(made.wstring().c_str());
    set_folder_date_source(pinned_date);
    copy_default_parameters();
    set_cfc_id("CFC7");
    set_logging_on(false);
    set_show_message_handler(quiet);
    return made;
  }();
  return card;
}

void fuzz_write(const std::filesystem::path& relative, const uint8_t* data, size_t size) {
  const std::filesystem::path path = fuzz_card() / relative;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void fuzz_write(const std::filesystem::path& relative, const std::string& text) {
  fuzz_write(relative, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

std::string fuzz_read(const std::filesystem::path& relative) {
  std::ifstream in(fuzz_card() / relative, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void fuzz_forget_messages() { message_recorder::instance().clear(); }

std::vector<uint8_t> fuzz_patched(const std::vector<uint8_t>& base, const uint8_t* data, size_t size) {
  std::vector<uint8_t> file = base;
  if (size == 0) return file;
  const int change = static_cast<int>(data[0] % 5) - 2;
  file.resize(static_cast<size_t>(static_cast<long long>(file.size()) + change), 0);
  size_t at = 1;
  while (!file.empty() && at + 5 <= size) {
    const uint32_t offset = static_cast<uint32_t>(data[at]) | static_cast<uint32_t>(data[at + 1]) << 8 |
                            static_cast<uint32_t>(data[at + 2]) << 16 | static_cast<uint32_t>(data[at + 3]) << 24;
    size_t length = data[at + 4];
    at += 5;
    if (length > size - at) length = size - at;
    for (size_t i = 0; i < length; ++i) file[(offset + i) % file.size()] = data[at + i];
    at += length;
  }
  return file;
}

const std::vector<uint8_t>& fresh_record_bytes() {
  static const std::vector<uint8_t> bytes = [] {
    std::vector<uint8_t> made(sizeof(testFileRecord));
    testFileRecord* record = new testFileRecord;
    std::memset(record, 0, sizeof(testFileRecord));
    init_test_record(*record);
    std::memcpy(made.data(), record, sizeof(testFileRecord));
    destroy_test_record(*record);
    delete record;
    return made;
  }();
  return bytes;
}
