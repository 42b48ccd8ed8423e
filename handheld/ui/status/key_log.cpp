#include "handheld/ui/status/key_log.h"

#include <wchar.h>

#include <mutex>
#include <string>

#include "handheld/engine/log/ascii_text.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/remote/remote_line.h"
#include "handheld/engine/storage/unit_time.h"

namespace {

// Not 0: every key is also written "[caption]" on the remote-control line.
double key_echo = 0.0;

std::recursive_mutex keyLogLock;
keyLogEntry ring[KEY_LOG_ENTRIES];
int next = 0;
bool wrapped = false;

}  // namespace

void log_key(const wchar_t* caption) {
  if (caption == nullptr) caption = L"";
  std::lock_guard<std::recursive_mutex> hold(keyLogLock);
  keyLogEntry& e = ring[next];
  e.a_on = channels.a_on.load();
  e.b_on = channels.b_on.load();
  e.current = channels.current.load();
  wcsncpy(e.caption, caption, 31);
  e.caption[31] = L'\0';
  wcscpy(e.context, L"NONE");
  const unitTime t = unit_local_time();
  e.time = SYSTEMTIME{static_cast<WORD>(t.year),   static_cast<WORD>(t.month),  static_cast<WORD>(t.day_of_week),
                      static_cast<WORD>(t.day),    static_cast<WORD>(t.hour),   static_cast<WORD>(t.minute),
                      static_cast<WORD>(t.second), static_cast<WORD>(t.milliseconds)};
  next = (next + 1) % KEY_LOG_ENTRIES;
  if (next == 0) wrapped = true;
  if (key_echo != 0.0) remote_printf("[%s]", narrow(caption).c_str());
}

void init_key_log() {
  {
    std::lock_guard<std::recursive_mutex> hold(keyLogLock);
    wrapped = false;
    next = 0;
  }
  log_key(L"-KEY LOG INIT-");
}

void dump_key_log() {
  if (key_echo != 0.0) return;
  std::lock_guard<std::recursive_mutex> hold(keyLogLock);
  const int first = wrapped ? (next + 1) % KEY_LOG_ENTRIES : 0;
  int number = 0;
  for (int i = first; i != next; i = (i + 1) % KEY_LOG_ENTRIES) {
    const keyLogEntry& e = ring[i];
    log_named_message("keypress", "%2d %c%c %c (%20.20s) %.2d:%.2d:%.2d [%s]", number++, e.a_on ? 'A' : ' ',
                      e.b_on ? 'B' : ' ', e.current == 1 ? 'B' : 'A', narrow(e.context).c_str(), e.time.wHour,
                      e.time.wMinute, e.time.wSecond, narrow(e.caption).c_str());
  }
  init_key_log();
}

int key_log_next() {
  std::lock_guard<std::recursive_mutex> hold(keyLogLock);
  return next;
}

bool key_log_wrapped() {
  std::lock_guard<std::recursive_mutex> hold(keyLogLock);
  return wrapped;
}

keyLogEntry key_log_entry(int index) {
  std::lock_guard<std::recursive_mutex> hold(keyLogLock);
  return ring[((index % KEY_LOG_ENTRIES) + KEY_LOG_ENTRIES) % KEY_LOG_ENTRIES];
}
