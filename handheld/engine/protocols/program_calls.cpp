#include "handheld/engine/protocols/program_calls.h"

#include <cstring>
#include <cwchar>
#include <algorithm>
#include <map>
#include <mutex>
#include <string>

#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/log/engine_messages.h"
#include "handheld/engine/storage/program_files.h"
#include "handheld/engine/protocols/protocol_program.h"

namespace {

constexpr size_t kSelectedNameChars = 63;
constexpr int kMaxCallDepth = 10;
constexpr int kLastCountedStep = 62;

std::mutex g_selected_lock;
std::wstring g_selected;

// What a called program adds to a count: its tests with those of the
// programs it calls, and how many levels of calls stand below it (0 for a
// program that calls nothing; a CALL to a missing program is a level).
struct calledCount {
  int tests;
  int levels;
};

// Each called program is looked for and counted once per count: programs
// that call in a fan-out would otherwise cost 63 lookups per level to the
// power of the levels. The number of different called programs is bounded
// too, so that a count ends quickly whatever the card holds.
constexpr int kMaxCalledPrograms = 256;

struct testCount {
  int count;
  bool stopped;
  std::map<uint32_t, calledCount> counted;
};
testCount g_tests{0, false, {}};

void stop_count(const char* format, int limit, uint32_t packed) {
  char name[8];
  unpack_name(packed, name, sizeof name);
  engine_show_message(0, format, limit, name);
  g_tests.stopped = true;
}

// Counts the program's tests into the global count; returns its levels.
int count_tests_in(const programRecord& program, int depth) {
  int levels = 0;
  for (int i = 0; i <= kLastCountedStep && !g_tests.stopped; ++i) {
    const programStep& step = program.Steps[i];
    if (step.Opcode == OPCODE_TEST) {
      ++g_tests.count;
      continue;
    }
    if (step.Opcode != OPCODE_CALL) continue;
    // Ten levels in all, the calling program's among them, as a run allows.
    if (depth + 1 >= kMaxCallDepth) {
      stop_count("*** CALLS NESTED TOO DEEPLY (>%d) ***\n[%s]", kMaxCallDepth, step.Name);
      break;
    }
    auto known = g_tests.counted.find(step.Name);
    // A program counted before adds its count again (a missing one adds
    // nothing), unless at this depth its calls would nest too deeply: then it
    // is walked again, to stop where the nesting ends.
    if (known != g_tests.counted.end() && depth + 1 + known->second.levels < kMaxCallDepth) {
      g_tests.count += known->second.tests;
      levels = std::max(levels, 1 + known->second.levels);
      continue;
    }
    if (known == g_tests.counted.end() &&
        static_cast<int>(g_tests.counted.size()) >= kMaxCalledPrograms) {
      stop_count("*** TOO MANY CALLED PROGRAMS TO COUNT (>%d) ***\n[%s]", kMaxCalledPrograms,
                 step.Name);
      break;
    }
    programRecord called;
    clear_program(called);
    called.CurrentStep = 0;
    calledCount result{0, 0};
    if (find_program_file(step.Name, called)) {
      const int before = g_tests.count;
      result.levels = count_tests_in(called, depth + 1);
      result.tests = g_tests.count - before;
    }
    levels = std::max(levels, 1 + result.levels);
    if (!g_tests.stopped) g_tests.counted[step.Name] = result;
  }
  return levels;
}

}  // namespace

void set_selected_protocol_name(const wchar_t* name) {
  std::wstring kept = name == nullptr ? std::wstring() : std::wstring(name);
  if (kept.size() > kSelectedNameChars) kept.resize(kSelectedNameChars);
  std::lock_guard<std::mutex> hold(g_selected_lock);
  g_selected = kept;
}

void get_selected_protocol_name(wchar_t* out, size_t capacity) {
  if (out == nullptr || capacity == 0) return;
  std::lock_guard<std::mutex> hold(g_selected_lock);
  size_t n = g_selected.size() < capacity - 1 ? g_selected.size() : capacity - 1;
  g_selected.copy(out, n);
  out[n] = L'\0';
}

bool find_program_file(uint32_t name, programRecord& program) {
  char narrow[8];
  unpack_name(name, narrow, sizeof narrow);
  const std::wstring called(narrow, narrow + std::strlen(narrow));
  wchar_t selected_text[kSelectedNameChars + 1];
  get_selected_protocol_name(selected_text, sizeof selected_text / sizeof selected_text[0]);
  const std::wstring selected(selected_text);
  // A name that is not one folder's name is not used as a folder.
  const bool have_folder = !selected.empty() && selected.find_first_of(L"\\/:") == std::wstring::npos &&
                           selected != L"." && selected != L"..";

  for (const wchar_t* place : {L"Storage Card", L"Storage Card\\TEST_LIB", L"Storage Card\\TESTS"}) {
    const std::wstring root(place);
    const std::wstring in_folder = root + L"\\" + selected + L"\\" + called;
    const std::wstring here = root + L"\\" + called;
    if (have_folder && read_program_file(in_folder + L".tes", program)) return true;
    if (read_program_file(here + L".tes", program)) return true;
    if (read_program_file(here + L".ses", program)) return true;
    if (have_folder && read_program_file(in_folder + L".ses", program)) return true;
  }
  log_mesg("*** CALLED FILE [%s] NOT FOUND FOR [%ls] ***", narrow, selected.c_str());
  return false;
}

int count_tests(const programRecord& program, int depth) {
  if (depth == 0) g_tests = testCount{0, false, {}};
  count_tests_in(program, depth);
  return g_tests.count;
}
