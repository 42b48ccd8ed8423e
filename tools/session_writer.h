// Writes a session of generated tests as the unit stores them: for each
// test a record file (".TST", with the average and the last sweep) and a
// sample file for every other sweep ("-00.spl" ...), made through the
// stored layouts' own initialiser and byte helpers.
#ifndef TOOLS_SESSION_WRITER_H
#define TOOLS_SESSION_WRITER_H

#include <string>
#include <vector>

struct sessionShape {
  int tests = 100;
  int samples = 10;     // sweeps per test, averaged into the record
  int points = 12000;   // points per block
  int total_ms = 500;   // time spanned by a block
  int pre_ms = 50;      // pre-flash time of a block
};

// Writes the session into folder (which must exist). Returns the paths of
// the test files; empty, with a line on standard error, when a file cannot
// be written.
std::vector<std::string> write_session(const std::string& folder, const sessionShape& shape);

#endif
