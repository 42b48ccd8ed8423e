// Writes the demonstration card (ini file and protocol programs) into a
// folder, made if missing:
//   make_demo_card <card folder>
// then: record_protocol <card folder> DEMO.ses
#include <cstdio>
#include <filesystem>
#include <string>

#include "demo_card.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_demo_card <card folder>\n");
    return 2;
  }
  std::error_code error;
  const std::filesystem::path card(argv[1]);
  std::filesystem::create_directories(card, error);
  if (!std::filesystem::is_directory(card, error)) {
    std::fprintf(stderr, "cannot make the folder %s\n", argv[1]);
    return 1;
  }
  if (!write_demo_card(card.wstring())) return 1;
  std::printf("demonstration card in %s: record it with record_protocol %s %ls\n", argv[1], argv[1], kDemoProtocol);
  return 0;
}
