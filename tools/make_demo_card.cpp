// Writes the demonstration card (ini file and protocol programs) into a
// folder, made if missing:
//   make_demo_card <card folder>
// then: record_protocol <card folder> DEMO.ses
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "tools/demo_card.h"
#include "tools/wide_argument.h"

namespace {

int make(const char* folder) {
  std::error_code error;
  const std::filesystem::path card(wide_argument(folder));
  std::filesystem::create_directories(card, error);
  if (!std::filesystem::is_directory(card, error)) {
    std::fprintf(stderr, "cannot make the folder %s\n", folder);
    return 1;
  }
  if (!write_demo_card(card.wstring())) return 1;
  std::printf("demonstration card in %s: record it with record_protocol %s %ls\n", folder, folder, kDemoProtocol);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_demo_card <card folder>\n");
    return 2;
  }
  use_environment_character_type();
  try {
    return make(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "cannot make the card: %s\n", e.what());
    return 1;
  }
}
