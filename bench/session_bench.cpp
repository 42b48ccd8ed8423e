// Loads and analyses a session of tests as the desktop program does when it
// opens one, stage by stage, and prints the time and the peak memory of
// each stage:
//   load          each test through its test document: the record, its
//                 sample files (found by a folder scan, in name order) into
//                 the samples list, the trace and its entry with the
//                 samples' average, the state file and the a-/b-wave
//   filter chain  spike removal, 60 Hz and 50 Hz notches and the low-pass
//                 at 150 Hz, switched on together (one rebuild)
//   a-/b-wave     the detection on the filtered trace
//   total         the three above: the work bench/session_numpy.py does
//   state file    each test's state file written
//   close         the documents closed (they keep their state files)
//   reopen        the session opened again: each test with its state file,
//                 which switches the filters on, and its a-/b-wave
// Every test stays in memory until the session closes, as in an open
// session; the peak memory per test is taken before it closes.
//
//   session_bench [--values FILE] [folder]
// Without a folder the Windows build writes a session of 100 generated
// tests (12000 points, 10 sweeps each) into a temporary folder first,
// untimed, and removes it at the end; the native build needs a folder. With
// --values the stage times and each test's a-/b-wave times and amplitudes
// (after the filter chain) go to FILE, for bench/session_numpy.py to
// compare. The state files the run writes are removed at its end.
//
// The Windows build loads through the program's test document; the native
// build, which has no windows layer, does the same steps through the
// analysis core, reading the same bytes through standard streams and the
// stored layouts' byte helpers.
#ifdef _WIN32
#include <windows.h>

#include <psapi.h>
#else
#include <dirent.h>
#endif

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "desktop/data/block_traces.h"
#include "desktop/data/filtered_trace.h"
#include "desktop/data/folder_listing.h"
#include "desktop/data/samples_list.h"
#include "desktop/data/test_state.h"
#include "desktop/data/wave_measurement.h"

#ifdef _WIN32
#include "platform/modal/modal_ui.h"
#include "tools/session_writer.h"
#include "desktop/data/test_document.h"
#include "desktop/data/test_file_reading.h"
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

// One test as the program holds it: its test document.
struct loadedTest {
  std::string path;
  std::string name;
  double number = 0.0;
  std::unique_ptr<testDocument> document;

  bool load() {
    document.reset(new testDocument);
    return document->load(path.c_str(), test_source_pc, number);
  }
  testDocument* loaded() const { return document && document->loaded() ? document.get() : nullptr; }
  void filter() {
    testDocument* d = loaded();
    if (!d) return;
    tracePlusClass::rebuildBatch batch(*d->entry());
    d->set_spike_filter(1);
    d->set_60hz_filter(1);
    d->set_50hz_filter(1);
    d->set_lowpass_frequency(150.0);
    d->set_lowpass_filter(1);
  }
  void measure() {
    if (testDocument* d = loaded()) d->recalculate_ab(0);
  }
  void save_state() {
    if (testDocument* d = loaded()) d->save_state();
  }
  void close() { document.reset(); }
  waveMeasurementModel* model() const { return loaded() ? loaded()->model() : nullptr; }
};

#else

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

// The file names of a folder.
std::vector<std::string> folder_file_names(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(folder.empty() ? "." : folder.c_str())) {
    while (const dirent* item = readdir(dir)) {
      if (item->d_type != DT_DIR) names.emplace_back(item->d_name);
    }
    closedir(dir);
  }
  return names;
}

// What a test document holds, made by the steps of its loading through the
// analysis core.
struct nativeDocument {
  std::unique_ptr<testFileRecord> record;
  std::unique_ptr<traceClass> trace;
  samplesListClass samples;
  std::unique_ptr<tracePlusClass> entry;
  std::unique_ptr<waveMeasurementModel> model;
  testStateClass state;

  bool load(const std::string& path) {
    // The bytes of each file, through one buffer kept for the whole run as
    // the program keeps one.
    static std::vector<uint8_t> bytes;
    record.reset(new testFileRecord);
    if (!read_sized(path, 1 + sizeof(testFileRecord), bytes) ||
        !test_record_from_bytes(bytes.data() + 1, bytes.size() - 1, *record)) {
      std::fprintf(stderr, "cannot read %s\n", path.c_str());
      record.reset();
      return false;
    }
    trace.reset(make_trace_from_block(*record, record->Average, 3));
    if (!trace) return false;
    // The sample files, in name order, each into the samples list as it is
    // read; the record's last sweep after them. The folder is listed
    // through the system's own directory reading, once for a session load
    // as the program lists it.
    const std::string folder = path.substr(0, path.find_last_of('/') + 1);
    const std::vector<std::string> names = sample_file_names(path, folder_file_names);
    int number = 0;
    std::unique_ptr<samplesBlock> block(new samplesBlock);
    for (const std::string& name : names) {
      if (read_sized(folder + name, sizeof(samplesBlock), bytes) &&
          samples_block_from_bytes(bytes.data(), bytes.size(), *block) &&
          samples.add_sample(*record, *block, number) >= 0) {
        number++;
      }
    }
    if (number > 0) samples.add_sample(*record, record->LastSweep, number);
    entry.reset(new tracePlusClass(trace.get()));
    {
      tracePlusClass::rebuildBatch batch(*entry);
      entry->set_sample_list(&samples);
      model.reset(new waveMeasurementModel(record.get(), entry.get()));
      load_test_state(state, path.c_str(), *model, *entry, samples);
      entry->set_sample_list(&samples);
    }
    measure();
    return true;
  }
  void filter() {
    tracePlusClass::rebuildBatch batch(*entry);
    entry->set_spike_filter(1);
    entry->set_60hz_filter(1);
    entry->set_50hz_filter(1);
    entry->set_lowpass_filter(1, 150.0);
    state.filtering.set("1111");
    state.lowpass_frequency = 150.0;
  }
  void measure() {
    if (state.auto_ab) model->find_ab_waves(*entry->active_trace(), 0.0, ab_window_end(*record), *record, 0);
  }
};

struct loadedTest {
  std::string path;
  std::string name;
  double number = 0.0;
  std::unique_ptr<nativeDocument> document;

  bool load() {
    document.reset(new nativeDocument);
    if (document->load(path)) return true;
    document.reset();
    return false;
  }
  void filter() {
    if (document) document->filter();
  }
  void measure() {
    if (document) document->measure();
  }
  void save_state() {
    if (document) save_test_state(document->state, path.c_str(), document->samples);
  }
  void close() { document.reset(); }
  waveMeasurementModel* model() const { return document ? document->model.get() : nullptr; }
};

#endif

// The a-wave value that means none was found before the b-wave.
constexpr double no_awave_value = 200000.0;

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

// The test files of a folder (".tst" in any case, as the unit and the
// program name them), by name.
std::vector<std::string> test_files_in(const std::string& folder) {
  std::vector<std::string> found;
  std::error_code error;
  for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = item.path().filename().string();
    std::string extension = name.size() > 4 ? name.substr(name.size() - 4) : "";
    for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (extension == ".TST") found.push_back(item.path().string());
  }
  std::sort(found.begin(), found.end());
  return found;
}

// The state files beside the test files (written by this run).
void remove_state_files(const std::vector<std::string>& paths) {
  std::error_code error;
  for (const std::string& path : paths) std::filesystem::remove(std::filesystem::path(path).replace_extension(".st_"), error);
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
  remove_state_files(paths);
  std::vector<std::unique_ptr<loadedTest>> tests;
  for (const std::string& path : paths) {
    tests.emplace_back(new loadedTest);
    tests.back()->path = path;
    tests.back()->name = std::filesystem::path(path).filename().string();
    tests.back()->number = static_cast<double>(tests.size());
  }
  std::printf("session: %d tests in %s\n", static_cast<int>(tests.size()), folder.c_str());
  std::printf("%-14s %10s %16s %14s\n", "stage", "time ms", "peak memory MB", "memory MB");
  const memoryFigures start = memory_now();
  print_stage("start", 0.0);

  struct stage {
    const char* name;
    void (*run)(loadedTest&);
    bool session_load;  // loads every test, as the program opens a session
  };
  std::vector<std::pair<const char*, double>> times;
  auto run_stage = [&](const stage& s) {
    stageClock clock;
    std::unique_ptr<folderListingShare> listings(s.session_load ? new folderListingShare : nullptr);
    for (auto& test : tests) s.run(*test);
    const double ms = clock.elapsed_ms();
    times.emplace_back(s.name, ms);
    print_stage(s.name, ms);
    return ms;
  };
  double total = 0.0;
  total += run_stage({"load", [](loadedTest& t) { t.load(); }, true});
  total += run_stage({"filter chain", [](loadedTest& t) { t.filter(); }, false});
  total += run_stage({"a-/b-wave", [](loadedTest& t) { t.measure(); }, false});
  times.emplace_back("total", total);
  print_stage("total", total);
  const memoryFigures end = memory_now();

  // The values after the filter chain, kept before the session closes.
  struct values {
    std::string name;
    double a_time, b_time, a_amplitude, b_amplitude, a_point;
  };
  std::vector<values> measured_values;
  for (auto& test : tests) {
    waveMeasurementModel* m = test->model();
    if (!m) continue;
    measured_values.push_back({test->name, m->awave_time.value(), m->bwave_time.value(), m->awave_amplitude.value(),
                               m->bwave_amplitude.value(), m->awave_point.value()});
  }

  run_stage({"state file", [](loadedTest& t) { t.save_state(); }, false});
  run_stage({"close", [](loadedTest& t) { t.close(); }, false});
  run_stage({"reopen", [](loadedTest& t) { t.load(); }, true});
  int reopened = 0;
  for (auto& test : tests) reopened += test->model() ? 1 : 0;
  if (!tests.empty()) {
    std::printf("per test: %.2f ms, %.2f MB of peak memory above the start\n", total / tests.size(),
                (end.peak_mb - start.current_mb) / tests.size());
  }

  // The summary leaves out the values that mean "not found": an a-wave of
  // 200000 uV (none before the b-wave, as in a flicker test), and with it
  // the b-wave amplitude, which is taken from the a-wave.
  const int measured = static_cast<int>(measured_values.size());
  int no_awave = 0;
  double b_time = 0.0, b_amplitude = 0.0, a_amplitude = 0.0;
  for (const values& v : measured_values) {
    b_time += v.b_time;
    if (v.a_point == no_awave_value) {
      no_awave++;
    } else {
      a_amplitude += v.a_amplitude;
      b_amplitude += v.b_amplitude;
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
    for (const auto& t : times) std::fprintf(out, "stage %s %.3f\n", t.first, t.second);
    // Per test: a-wave time, b-wave time (mS), a-wave and b-wave amplitudes (uV).
    for (const values& v : measured_values) {
      std::fprintf(out, "test %s %.17g %.17g %.17g %.17g\n", v.name.c_str(), v.a_time, v.b_time, v.a_amplitude,
                   v.b_amplitude);
    }
    std::fclose(out);
  }
  tests.clear();
  remove_state_files(paths);
  if (generated) std::filesystem::remove_all(folder);
  const int expected = static_cast<int>(paths.size());
  return measured == expected && reopened == expected && measured > 0 ? 0 : 1;
}
