#include "handheld/ui/status/card_room.h"

#include <windows.h>

#include <stdio.h>

#include <memory>
#include <mutex>

#include "platform/ce/card_path.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/protocols/interpreter_screen.h"
#include "handheld/ui/message_display.h"
#include "handheld/engine/protocols/program_calls.h"

namespace {

std::mutex roomLock;
free_space_probe probe;
std::unique_ptr<programRecord> selected;

bool card_free_bytes(int64_t& freeBytes, unsigned long& error) {
  wchar_t root[MAX_PATH];
  if (!resolve_card_path(L"Storage Card", root, MAX_PATH)) {
    error = ERROR_BAD_PATHNAME;
    return false;
  }
  ULARGE_INTEGER available = {}, total = {}, free = {};
  if (!GetDiskFreeSpaceExW(root, &available, &total, &free)) {
    error = GetLastError();
    return false;
  }
  const uint64_t bytes = available.QuadPart;
  freeBytes = bytes > static_cast<uint64_t>(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(bytes);
  return true;
}

bool free_bytes(int64_t& freeBytes) {
  free_space_probe current;
  {
    std::lock_guard<std::mutex> hold(roomLock);
    current = probe;
  }
  unsigned long error = 0;
  const bool read = current ? current(freeBytes, error) : card_free_bytes(freeBytes, error);
  if (!read) {
    show_message(MESSAGE_INTERNAL, false, "### UNABLE TO GET DISK FREE SPACE ###\n[error %d]", static_cast<int>(error));
    return false;
  }
  if (freeBytes < 0) freeBytes = 0;
  return true;
}

int64_t per_test() { return channels.a_on.load() != 0 && channels.b_on.load() != 0 ? 2 : 1; }

int selected_test_count() {
  std::lock_guard<std::mutex> hold(roomLock);
  return selected ? count_tests(*selected, 0) : 0;
}

}  // namespace

void set_free_space_probe(free_space_probe newProbe) {
  std::lock_guard<std::mutex> hold(roomLock);
  probe = std::move(newProbe);
}

void set_selected_program(const programRecord* program) {
  std::lock_guard<std::mutex> hold(roomLock);
  if (program == nullptr) {
    selected.reset();
  } else {
    selected = std::make_unique<programRecord>(*program);
  }
}

bool check_card_space(bool showRoom) {
  int64_t F = 0;
  if (!free_bytes(F)) return true;
  const int64_t n = per_test();
  if ((F / TEST_RECORD_BYTES - 1) / n >= 20) return true;
  const int64_t tests = selected_test_count();
  if (F < n * (tests + 1) * TEST_RECORD_BYTES) {
    show_message(MESSAGE_ERROR, false, "!!! Compact Flash !!!\nIS FULL.");
    return false;
  }
  if (showRoom) {
    show_message(MESSAGE_WARNING, false, "!!! Compact Flash !!!\nhas room for only\n%d more tests.",
                 static_cast<int>((F / TEST_RECORD_BYTES - 2) / n));
  }
  return true;
}

int show_tests_remaining() {
  int64_t F = 0;
  if (!free_bytes(F)) return 0;
  int64_t tests = selected_test_count();
  if (tests < 1) tests = 1;  // a program without tests: room counted per single test
  const int64_t runs = F / (tests * per_test() * TEST_RECORD_BYTES);
  wchar_t text[32];
  if (runs < 1) {
    swprintf(text, 32, L"CF:  ---- rem.");
  } else {
    swprintf(text, 32, L"CF: %4d rem.", static_cast<int>(runs > 9999 ? 9999 : runs));
  }
  interpreter_screen().row_text(5, -1, 19, text);
  return static_cast<int>(runs > INT32_MAX ? INT32_MAX : runs);
}
