#include "handheld/ui/harness/vandu_harness.h"

#include <initializer_list>
#include <chrono>
#include <filesystem>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/frame/main_window.h"
#include "handheld/ui/menu_request.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/engine/remote/remote_line.h"
#include "handheld/engine/remote/remote_uart.h"
#include "platform/unit/sim_unit.h"
#include "handheld/ui/offdevice/simulated_unit_setup.h"
#include "handheld/engine/stimulator/startup_replies.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/stimulator/stimulator_message.h"
#include "handheld/engine/stimulator/stimulator_reader.h"
#include "handheld/ui/frame/timers.h"
#include "handheld/engine/storage/unit_time.h"
#include "handheld/ui/frame/unit_workers.h"

namespace {

bool running = false;

void copy_library(const std::wstring& card) {
  wchar_t program[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  const std::filesystem::path folder = std::filesystem::path(program).parent_path();
  std::error_code error;
  for (const wchar_t* name : {L"Kestal.dll"}) {
    std::filesystem::path from = folder / name;
    if (!std::filesystem::exists(from, error)) from = folder.parent_path() / name;
    std::filesystem::copy_file(from, std::filesystem::path(card) / name,
                               std::filesystem::copy_options::overwrite_existing, error);
  }
}

bool pump_once() {
  MSG message;
  if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return false;
  route_message(message);
  return true;
}

using clock_type = std::chrono::steady_clock;

}  // namespace

bool vandu_start(const harnessOptions& options) {
  if (running) vandu_stop();
  std::error_code error;
  std::filesystem::create_directories(options.card, error);
  if (options.copyLibraryToCard) copy_library(options.card);
  simulatedUnitOptions unit;
  unit.card = options.card;
  unit.stimulator = options.stimulator;
  if (!set_up_simulated_unit(unit)) return false;
  sim_stim_clear_logs();
  quit_flag = 0;
  if (!init_instance(GetModuleHandleW(nullptr), SW_SHOW)) {
    tear_down_simulated_unit();
    return false;
  }
  running = true;
  if (options.pumpStartUp) {
    // The start-up exchange ends with the clock (twice: the first paint
    // asks for the version again), or stops when the stimulator is silent.
    pump_until([] { return flash_8051_mode.load() == FLASH_MODE_IDLE && version_received.load() != 0; }, 3000);
    pump_until_idle();
  }
  return true;
}

void vandu_stop() {
  if (!running) return;
  exit_sequence();
  stop_unit_workers();
  stop_stimulator_reader();
  close_8051_uart();
  close_remote_uart();
  reset_timers();
  clear_menu_stack();
  clear_menu_requests();
  if (main_window != nullptr && IsWindow(main_window)) DestroyWindow(main_window);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
  main_window = nullptr;
  main_dialog = nullptr;
  UnregisterClassW(L"VANDU", GetModuleHandleW(nullptr));
  set_8051_message_timer(stimulatorMessageTimer{nullptr, nullptr, nullptr});
  end_8051_message();
  flash_8051_mode = FLASH_MODE_IDLE;
  version_received = 0;
  calibration_received = 0;
  reset_calibration_table();
  set_unit_time_filetime(0);
  tear_down_simulated_unit();
  quit_flag = 0;
  running = false;
}

void pump_until_idle(int quietMs) {
  auto quietSince = clock_type::now();
  while (quit_flag.load() == 0) {
    if (pump_once()) {
      quietSince = clock_type::now();
      continue;
    }
    if (clock_type::now() - quietSince >= std::chrono::milliseconds(quietMs)) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

void pump_posted() {
  // Bounded by a count, not by time: a page that kept posting to itself
  // would otherwise hold the test for ever.
  for (int handled = 0; handled < 100000 && quit_flag.load() == 0 && pump_once(); ++handled) {
  }
}

bool pump_until(const std::function<bool()>& condition, int maxMs) {
  const auto end = clock_type::now() + std::chrono::milliseconds(maxMs);
  while (!condition()) {
    if (quit_flag.load() != 0 || clock_type::now() >= end) return condition();
    if (!pump_once()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return true;
}

void post_stimulator_byte(uint8_t byte) { PostMessageW(main_dialog, WM_USER, NOTICE_STIMULATOR_BYTE, byte); }

void touch_key(int control) { PostMessageW(main_dialog, WM_COMMAND, static_cast<WPARAM>(control), 0); }

void post_framed_message(uint8_t id, const std::vector<uint8_t>& payload) {
  post_stimulator_byte('U');
  post_stimulator_byte(static_cast<uint8_t>(payload.size() + 1));
  post_stimulator_byte(id);
  for (uint8_t byte : payload) post_stimulator_byte(byte);
}

void stimulator_sends(uint8_t id, const std::vector<uint8_t>& payload) {
  sim_stim_send_message(id, payload.data(), static_cast<uint32_t>(payload.size()), 0);
}

std::wstring key_caption(int control) {
  wchar_t text[128] = {};
  if (main_dialog != nullptr) GetDlgItemTextW(main_dialog, control, text, 128);
  return text;
}

std::wstring page_text(int item) {
  wchar_t text[512] = {};
  HWND page = top_dialog();
  if (page != nullptr) GetDlgItemTextW(page, item, text, 512);
  return text;
}

HWND top_page() { return top_dialog(); }

int shown_menu() { return menu_stack_depth() > 0 ? current_menu() : -1; }

std::string remote_transcript() {
  auto line = remote_line_endpoint();
  return line ? line->output() : std::string();
}

void clear_remote_transcript() {
  auto line = remote_line_endpoint();
  if (line) line->clear_output();
}

bool pump_until_remote_text(const std::string& text, int maxMs) {
  return pump_until([&text] { return remote_transcript().find(text) != std::string::npos; }, maxMs);
}

std::vector<uint8_t> sent_to_stimulator() {
  std::vector<uint8_t> bytes(sim_stim_received(nullptr, 0));
  bytes.resize(sim_stim_received(bytes.data(), static_cast<uint32_t>(bytes.size())));
  sim_stim_clear_logs();
  return bytes;
}

std::vector<uint32_t> screen_pixels() {
  std::vector<uint32_t> pixels(static_cast<size_t>(SCREEN_WIDTH) * SCREEN_HEIGHT, 0);
  if (main_window == nullptr) return pixels;
  HDC window = GetDC(main_window);
  HDC memory = CreateCompatibleDC(window);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = SCREEN_WIDTH;
  info.bmiHeader.biHeight = -SCREEN_HEIGHT;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, window, 0, 0, SRCCOPY);
  GdiFlush();
  const uint32_t* source = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = source[i] & 0xFFFFFFu;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(main_window, window);
  return pixels;
}
