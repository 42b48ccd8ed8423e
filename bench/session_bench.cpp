// Loads and analyses a session of tests as the desktop program does when it
// opens one, stage by stage, and prints the time and the peak memory of
// each stage:
//   read          the test record files and, found by a folder scan, their
//                 sample files
//   average       the test's trace, the samples list and its average
//   filter chain  spike removal, 60 Hz and 50 Hz notches and the low-pass,
//                 switched on one after another as the state file does
//   a-/b-wave     the measurement model and its detection
// Every test stays in memory until the end, as in an open session.
//
//   session_bench [folder]
// Without a folder a session of 100 generated tests (12000 points, 10
// sample files each) is written into a temporary folder first, untimed, and
// removed at the end.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "block_traces.h"
#include "directory_scan.h"
#include "filtered_trace.h"
#include "modal_ui.h"
#include "path_names.h"
#include "samples_list.h"
#include "session_writer.h"
#include "test_files.h"
#include "wave_measurement.h"

namespace {

// A message box of the program goes to standard error and is answered as
// Enter would: the benchmark never waits for a person.
int box_to_stderr(HWND, const char* text, const char* caption, UINT type) {
  std::fprintf(stderr, "[%s] %s\n", caption ? caption : "", text ? text : "");
  UINT buttons = type & MB_TYPEMASK;
  return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
}
int wide_box_to_stderr(HWND, const wchar_t* text, const wchar_t*, UINT) {
  std::fprintf(stderr, "%ls\n", text ? text : L"");
  return IDOK;
}

struct loadedTest {
  std::string path;
  fileTime file_time{};
  std::unique_ptr<testFileRecord> record;
  std::vector<std::unique_ptr<samplesBlock>> blocks;
  std::unique_ptr<traceClass> trace;
  samplesListClass samples;
  std::unique_ptr<tracePlusClass> entry;
  std::unique_ptr<waveMeasurementModel> model;
};

struct memoryFigures {
  double peak_mb;
  double current_mb;
};

memoryFigures memory_now() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return {0.0, 0.0};
  const double mb = 1024.0 * 1024.0;
  return {counters.PeakWorkingSetSize / mb, counters.WorkingSetSize / mb};
}

class stageClock {
 public:
  stageClock() : start_(std::chrono::steady_clock::now()) {}
  double elapsed_ms() const {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  std::chrono::steady_clock::time_point start_;
};

void print_stage(const char* name, double ms) {
  memoryFigures m = memory_now();
  std::printf("%-14s %10.1f %16.1f %14.1f\n", name, ms, m.peak_mb, m.current_mb);
}

// The test files of a folder, by name.
std::vector<std::string> test_files_in(const std::string& folder) {
  std::vector<std::string> found;
  directoryScanClass scan;
  scan.reset((folder + "\\*").c_str());
  for (const char* name = scan.get_first_file("*.TST"); name; name = scan.next_file()) {
    found.push_back(folder + "\\" + name);
  }
  std::sort(found.begin(), found.end());
  return found;
}

void read_test(loadedTest& test) {
  test.record.reset(read_test_file(test.path.c_str(), test_source_pc, &test.file_time));
  if (!test.record) return;
  byteObjectClass folder, base;
  path_directory(test.path.c_str(), folder);
  file_base_name(test.path.c_str(), base);
  std::vector<std::string> names;
  directoryScanClass scan;
  scan.reset(test.path.c_str());
  std::string pattern = std::string(base.text()) + "-??.spl";
  for (const char* name = scan.get_first_file(pattern.c_str()); name; name = scan.next_file()) {
    names.push_back(std::string(folder.text()) + name);
  }
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    samplesBlock* block = read_samples_file(name.c_str(), test_source_pc, nullptr);
    if (block) test.blocks.emplace_back(block);
  }
}

void average_test(loadedTest& test) {
  if (!test.record) return;
  int number = 0;
  for (auto& block : test.blocks) {
    if (test.samples.add_sample(*test.record, *block, number) >= 0) number++;
  }
  if (!test.blocks.empty()) test.samples.add_sample(*test.record, test.record->LastSweep, number);
  test.blocks.clear();
  test.trace.reset(make_trace_from_block(*test.record, test.record->Average, 3));
  if (!test.trace) return;
  test.entry.reset(new tracePlusClass(test.trace.get()));
  test.entry->set_sample_list(&test.samples);
}

void filter_test(loadedTest& test) {
  if (!test.entry) return;
  test.entry->set_spike_filter(1);
  test.entry->set_60hz_filter(1);
  test.entry->set_50hz_filter(1);
  test.entry->set_lowpass_filter(1, 150.0);
}

void measure_test(loadedTest& test) {
  if (!test.entry) return;
  test.model.reset(new waveMeasurementModel(test.record.get(), test.entry.get()));
  test.model->find_ab_waves(*test.entry->active_trace(), 0.0, ab_window_end(*test.record), *test.record, 0);
}

}  // namespace

int main(int argc, char** argv) {
  modal_ui_install(modal_ui_calls{wide_box_to_stderr, box_to_stderr, nullptr});

  std::string folder;
  bool generated = argc < 2;
  sessionShape shape;
  if (generated) {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    folder = std::string(temp) + "erg_session_bench_" + std::to_string(GetCurrentProcessId());
    std::filesystem::create_directories(folder);
    stageClock writing;
    if (write_session(folder, shape).empty()) return 1;
    std::printf("session written: %d tests, %d points, %d sample files each, in %.0f ms\n", shape.tests,
                shape.points, shape.samples, writing.elapsed_ms());
  } else {
    folder = argv[1];
  }

  std::vector<std::string> paths = test_files_in(folder);
  std::vector<std::unique_ptr<loadedTest>> tests;
  for (const std::string& path : paths) {
    tests.emplace_back(new loadedTest);
    tests.back()->path = path;
  }
  std::printf("session: %d tests in %s\n", static_cast<int>(tests.size()), folder.c_str());
  std::printf("%-14s %10s %16s %14s\n", "stage", "time ms", "peak memory MB", "memory MB");
  print_stage("start", 0.0);

  struct stage {
    const char* name;
    void (*run)(loadedTest&);
  } stages[] = {{"read", read_test}, {"average", average_test}, {"filter chain", filter_test},
                {"a-/b-wave", measure_test}};
  double total = 0.0;
  for (const stage& s : stages) {
    stageClock clock;
    for (auto& test : tests) s.run(*test);
    double ms = clock.elapsed_ms();
    total += ms;
    print_stage(s.name, ms);
  }
  print_stage("total", total);

  int measured = 0;
  double b_time = 0.0, b_amplitude = 0.0, a_amplitude = 0.0;
  for (auto& test : tests) {
    if (!test->model) continue;
    measured++;
    b_time += test->model->bwave_time.value();
    b_amplitude += test->model->bwave_amplitude.value();
    a_amplitude += test->model->awave_amplitude.value();
  }
  if (measured > 0) {
    std::printf("measured %d tests: mean b-wave %.1f uV at %.1f mS, mean a-wave %.1f uV\n", measured,
                b_amplitude / measured, b_time / measured, a_amplitude / measured);
  }
  tests.clear();
  if (generated) std::filesystem::remove_all(folder);
  return measured == static_cast<int>(paths.size()) && measured > 0 ? 0 : 1;
}
