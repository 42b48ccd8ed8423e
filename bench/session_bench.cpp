// Loads and analyses a session of tests as the desktop program does when it
// opens one, stage by stage, and prints the time and the peak memory of
// each stage:
//   read          the test record files and, found by a folder scan, their
//                 sample files
//   average       the test's trace, the samples list and its average
//   filter chain  spike removal, 60 Hz and 50 Hz notches and the low-pass,
//                 switched on together as the state file does (one rebuild)
//   a-/b-wave     the measurement model and its detection
// Every test stays in memory until the end, as in an open session.
//
//   session_bench [--values FILE] [folder]
// Without a folder the Windows build writes a session of 100 generated
// tests (12000 points, 10 sweeps each) into a temporary folder first,
// untimed, and removes it at the end; the native build needs a folder. With
// --values the stage times and each test's a-/b-wave times and amplitudes
// go to FILE, for bench/session_numpy.py to compare.
//
// The Windows build reads through the program's file calls; the native
// build, which has none, reads the same bytes through standard streams and
// the stored layouts' byte helpers.
#ifdef _WIN32
#include <windows.h>

#include <psapi.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "block_traces.h"
#include "filtered_trace.h"
#include "samples_list.h"
#include "wave_measurement.h"

#ifdef _WIN32
#include "directory_scan.h"
#include "modal_ui.h"
#include "path_names.h"
#include "session_writer.h"
#include "test_files.h"
#endif

namespace {

#ifdef _WIN32

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
#endif

// The a-wave value that means none was found before the b-wave.
constexpr double no_awave_value = 200000.0;

struct loadedTest {
  std::string path;
  std::string name;
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

#ifdef _WIN32
memoryFigures memory_now() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return {0.0, 0.0};
  const double mb = 1024.0 * 1024.0;
  return {counters.PeakWorkingSetSize / mb, counters.WorkingSetSize / mb};
}
#else
// The resident set's peak and size from /proc/self/status.
memoryFigures memory_now() {
  memoryFigures m{0.0, 0.0};
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    double kb = 0.0;
    if (std::sscanf(line.c_str(), "VmHWM: %lf", &kb) == 1) m.peak_mb = kb / 1024.0;
    if (std::sscanf(line.c_str(), "VmRSS: %lf", &kb) == 1) m.current_mb = kb / 1024.0;
  }
  return m;
}
#endif

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

#ifdef _WIN32
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
#else
std::vector<std::string> test_files_in(const std::string& folder) {
  std::vector<std::string> found;
  std::error_code error;
  for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = item.path().filename().string();
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".TST") == 0) found.push_back(item.path().string());
  }
  std::sort(found.begin(), found.end());
  return found;
}

// The file's bytes when it has exactly size of them.
bool read_sized(const std::string& path, size_t size, std::vector<uint8_t>& bytes) {
  FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return false;
  bytes.resize(size + 1);
  const size_t got = std::fread(bytes.data(), 1, size + 1, in);
  std::fclose(in);
  bytes.resize(size);
  return got == size;
}

void read_test(loadedTest& test) {
  std::vector<uint8_t> bytes;
  std::unique_ptr<testFileRecord> record(new testFileRecord);
  if (!read_sized(test.path, 1 + sizeof(testFileRecord), bytes) ||
      !test_record_from_bytes(bytes.data() + 1, bytes.size() - 1, *record)) {
    std::fprintf(stderr, "cannot read %s\n", test.path.c_str());
    return;
  }
  test.record = std::move(record);
  const std::filesystem::path path(test.path);
  const std::string stem = path.stem().string();
  std::vector<std::string> names;
  for (const auto& item : std::filesystem::directory_iterator(path.parent_path())) {
    const std::string name = item.path().filename().string();
    if (name.size() == stem.size() + 7 && name.compare(0, stem.size(), stem) == 0 &&
        name.compare(stem.size() + 3, 4, ".spl") == 0 && name[stem.size()] == '-') {
      names.push_back(item.path().string());
    }
  }
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    std::unique_ptr<samplesBlock> block(new samplesBlock);
    if (read_sized(name, sizeof(samplesBlock), bytes) &&
        samples_block_from_bytes(bytes.data(), bytes.size(), *block)) {
      test.blocks.push_back(std::move(block));
    }
  }
}
#endif

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
  tracePlusClass::rebuildBatch batch(*test.entry);
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
  std::string folder, values_path;
  for (int i = 1; i < argc; i++) {
    if (std::strcmp(argv[i], "--values") == 0 && i + 1 < argc) {
      values_path = argv[++i];
    } else {
      folder = argv[i];
    }
  }
  const bool generated = folder.empty();
#ifdef _WIN32
  modal_ui_install(modal_ui_calls{wide_box_to_stderr, box_to_stderr, nullptr});
  if (generated) {
    sessionShape shape;
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    folder = std::string(temp) + "erg_session_bench_" + std::to_string(GetCurrentProcessId());
    std::filesystem::create_directories(folder);
    stageClock writing;
    if (write_session(folder, shape).empty()) return 1;
    std::printf("session written: %d tests, %d points, %d sweeps each, in %.0f ms\n", shape.tests, shape.points,
                shape.samples, writing.elapsed_ms());
  }
#else
  if (generated) {
    std::fprintf(stderr, "usage: session_bench [--values FILE] folder\n");
    return 2;
  }
#endif

  std::vector<std::string> paths = test_files_in(folder);
  std::vector<std::unique_ptr<loadedTest>> tests;
  for (const std::string& path : paths) {
    tests.emplace_back(new loadedTest);
    tests.back()->path = path;
    tests.back()->name = std::filesystem::path(path).filename().string();
  }
  std::printf("session: %d tests in %s\n", static_cast<int>(tests.size()), folder.c_str());
  std::printf("%-14s %10s %16s %14s\n", "stage", "time ms", "peak memory MB", "memory MB");
  const memoryFigures start = memory_now();
  print_stage("start", 0.0);

  struct stage {
    const char* name;
    void (*run)(loadedTest&);
  } stages[] = {{"read", read_test}, {"average", average_test}, {"filter chain", filter_test},
                {"a-/b-wave", measure_test}};
  std::vector<double> times;
  double total = 0.0;
  for (const stage& s : stages) {
    stageClock clock;
    for (auto& test : tests) s.run(*test);
    double ms = clock.elapsed_ms();
    total += ms;
    times.push_back(ms);
    print_stage(s.name, ms);
  }
  print_stage("total", total);
  const memoryFigures end = memory_now();
  if (!tests.empty()) {
    std::printf("per test: %.2f ms, %.2f MB of peak memory above the start\n", total / tests.size(),
                (end.peak_mb - start.current_mb) / tests.size());
  }

  // The summary leaves out the values that mean "not found": an a-wave of
  // 200000 uV (none before the b-wave, as in a flicker test), and with it
  // the b-wave amplitude, which is taken from the a-wave.
  int measured = 0, no_awave = 0;
  double b_time = 0.0, b_amplitude = 0.0, a_amplitude = 0.0;
  for (auto& test : tests) {
    if (!test->model) continue;
    measured++;
    b_time += test->model->bwave_time.value();
    if (test->model->awave_point.value() == no_awave_value) {
      no_awave++;
    } else {
      a_amplitude += test->model->awave_amplitude.value();
      b_amplitude += test->model->bwave_amplitude.value();
    }
  }
  if (measured > 0) {
    std::printf("measured %d tests: b-wave at %.1f mS on average", measured, b_time / measured);
    const int with_awave = measured - no_awave;
    if (with_awave > 0) {
      std::printf(", mean b-wave %.1f uV, mean a-wave %.1f uV", b_amplitude / with_awave, a_amplitude / with_awave);
    }
    std::printf(" (%d test%s without an a-wave left out of the amplitudes)\n", no_awave, no_awave == 1 ? "" : "s");
  }

  if (!values_path.empty()) {
    FILE* out = std::fopen(values_path.c_str(), "w");
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", values_path.c_str());
      return 1;
    }
    for (size_t i = 0; i < times.size(); i++) std::fprintf(out, "stage %s %.3f\n", stages[i].name, times[i]);
    std::fprintf(out, "stage total %.3f\n", total);
    // Per test: a-wave time, b-wave time (mS), a-wave and b-wave amplitudes (uV).
    for (auto& test : tests) {
      if (!test->model) continue;
      waveMeasurementModel& m = *test->model;
      std::fprintf(out, "test %s %.17g %.17g %.17g %.17g\n", test->name.c_str(), m.awave_time.value(),
                   m.bwave_time.value(), m.awave_amplitude.value(), m.bwave_amplitude.value());
    }
    std::fclose(out);
  }
  tests.clear();
  if (generated) std::filesystem::remove_all(folder);
  return measured == static_cast<int>(paths.size()) && measured > 0 ? 0 : 1;
}
