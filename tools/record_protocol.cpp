// Records a protocol on the simulated unit into a storage card folder:
//   record_protocol <card folder> <program file on the card> [test id]
// The card's VANDU.ini is read as the unit reads it; the program runs on
// the unit's virtual clock, so minutes of waiting pass in seconds. The
// stored tests, sample files, dataset texts and the log stay on the card.
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

#include "tools/protocol_recorder.h"
#include "tools/wide_argument.h"

namespace {

int record(int argc, char** argv) {
  const std::wstring test_id = argc > 3 ? wide_argument(argv[3]) : std::wstring();
  const auto wall_start = std::chrono::steady_clock::now();
  recordingResult result;
  const wchar_t* id = argc > 3 ? test_id.c_str() : nullptr;
  if (!record_protocol(wide_argument(argv[1]), wide_argument(argv[2]), id, result)) return 1;
  const double wall_s = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();

  int tests = 0, samples = 0, datasets = 0;
  for (const std::wstring& name : result.stored) {
    const std::wstring extension = name.substr(name.rfind(L'.') + 1);
    if (extension == L"tst") {
      ++tests;
      std::printf("  %ls\n", name.c_str());
    } else if (extension == L"spl") {
      ++samples;
    } else {
      ++datasets;
    }
  }
  std::printf("%d test files, %d sample files, %d other files in %ls\n", tests, samples, datasets,
              result.test_folder.c_str());
  std::printf("%.1f minutes of unit time in %.1f s\n", result.unit_ms / 60000.0, wall_s);
  if (!result.ran) {
    std::printf("the run stopped on an error\n");
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: record_protocol <card folder> <program file on the card> [test id]\n");
    return 2;
  }
  use_environment_character_type();
  try {
    return record(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "cannot record: %s\n", e.what());
    return 1;
  }
}
