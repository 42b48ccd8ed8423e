// Writes a session of generated tests into a folder:
//   make_session <folder> [tests [samples]]
// 100 tests of 12000 points with 10 sweeps each unless told (the last in
// the record, the others as sample files).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/session_writer.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_session <folder> [tests [samples]]\n");
    return 2;
  }
  sessionShape shape;
  if (argc > 2) shape.tests = std::atoi(argv[2]);
  if (argc > 3) shape.samples = std::atoi(argv[3]);
  std::vector<std::string> tests = write_session(argv[1], shape);
  if (tests.empty() && shape.tests > 0) return 1;
  std::printf("%d tests of %d points with %d sweeps each in %s\n", static_cast<int>(tests.size()), shape.points,
              shape.samples, argv[1]);
  return 0;
}
