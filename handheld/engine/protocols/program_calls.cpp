#include "program_calls.h"

#include <cstring>
#include <cwchar>
#include <mutex>
#include <string>

#include "engine_log.h"
#include "engine_messages.h"
#include "program_files.h"
#include "protocol_program.h"

namespace {

constexpr size_t kSelectedNameChars = 63;
constexpr int kMaxCallDepth = 10;
constexpr int kLastCountedStep = 62;

std::mutex g_selected_lock;
std::wstring g_selected;

struct testCount {
  int count;
  bool stopped;
};
testCount g_tests{0, false};

void count_tests_in(const programRecord& program, int depth) {
  for (int i = 0; i <= kLastCountedStep && !g_tests.stopped; ++i) {
    const programStep& step = program.Steps[i];
    if (step.Opcode == OPCODE_TEST) {
      ++g_tests.count;
    } else if (step.Opcode == OPCODE_CALL) {
      // Ten levels in all, the calling program's among them, as a run allows.
      if (depth + 1 >= kMaxCallDepth) {
        char name[8];
        unpack_name(step.Name, name, sizeof name);
        engine_show_message(0, "*** CALLS NESTED TOO DEEPLY (>%d) ***\n[%s]", kMaxCallDepth,
                            name);
        g_tests.stopped = true;
        return;
      }
      programRecord called;
      clear_program(called);
      called.CurrentStep = 0;
      if (find_program_file(step.Name, called)) count_tests_in(called, depth + 1);
    }
  }
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
  if (depth == 0) g_tests = testCount{0, false};
  count_tests_in(program, depth);
  return g_tests.count;
}
