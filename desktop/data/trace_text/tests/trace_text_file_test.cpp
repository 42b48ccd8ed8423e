#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>
#endif

#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "desktop/data/trace_text/trace_text_file.h"
#include "platform/files/whole_file.h"

namespace {

std::string read_all(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool exists(const std::string& path) { return std::ifstream(path).good(); }

// Four points that exercise the widths, the rounding and a sign.
void fill_sample(traceClass& trace) {
  const double x[] = {0.0, 12.36, 1234.56, -5.04};
  const double y[] = {1.234, -100.5, 12345.678, 0.004};
  trace.set_data(3, x, y, 4);
  trace.set_x_units("mS");
  trace.set_y_units("uV");
  trace.set_label("ignored by the file");
  trace.set_x_offset(100.0);  // display settings are not written
  trace.y_factor = 2.0;
}

void expect_points(const traceClass& trace, const std::vector<xyPair>& expected) {
  ASSERT_EQ(trace.get_count(), static_cast<int32_t>(expected.size()));
  for (size_t i = 0; i < expected.size(); i++) {
    EXPECT_DOUBLE_EQ(trace.points()[i].x, expected[i].x) << i;
    EXPECT_DOUBLE_EQ(trace.points()[i].y, expected[i].y) << i;
  }
}

const std::vector<xyPair> rounded = {{0.0, 1.23}, {12.4, -100.5}, {1234.6, 12345.68}, {-5.0, 0.0}};

}  // namespace

TEST(TraceTextFile, EachFormIsWrittenByteExactWithItsSideFileAndReadsBack) {
  struct {
    const char* name;
    const char* data;
    const char* side;
    const char* trace_name;
  } cases[] = {
      {"trace1.csv", "  0.0,    1.23\n 12.4, -100.50\n1234.6,12345.68\n -5.0,    0.00\n", "trace1.cv_", "trace1(csv)"},
      {"Trace2.CSV", "  0.0,    1.23\n 12.4, -100.50\n1234.6,12345.68\n -5.0,    0.00\n", "Trace2.cv_", "Trace2(CSV)"},
      {"t.xy", "  0.0 \t     1.23\n 12.4 \t  -100.50\n1234.6 \t 12345.68\n -5.0 \t     0.00\n", "t.cv_", "t(xy)"},
      // The text form the reader takes for ".txt" is the XY form.
      {"a.b.txt", "  0.0 \t     1.23\n 12.4 \t  -100.50\n1234.6 \t 12345.68\n -5.0 \t     0.00\n", "a.b.cv_",
       "a.b(txt)"},
  };
  for (const auto& c : cases) {
    message_capture capture;
    temp_folder folder;
    std::string path = folder.file(c.name);
    traceClass trace;
    fill_sample(trace);
    ASSERT_TRUE(write_trace_text_file(path.c_str(), trace)) << c.name;
    EXPECT_EQ(read_all(path), c.data) << c.name;
    EXPECT_EQ(read_all(folder.file(c.side)), "(csvxy (xunits mS)(yunits uV))") << c.name;

    std::unique_ptr<traceClass> back(read_trace_text_file(path.c_str()));
    ASSERT_NE(back, nullptr) << c.name;
    expect_points(*back, rounded);
    EXPECT_STREQ(back->label(), c.trace_name);
    EXPECT_STREQ(back->name(), c.trace_name);
    EXPECT_STREQ(back->legend_text(), c.trace_name);
    EXPECT_STREQ(back->x_units(), "mS");
    EXPECT_STREQ(back->y_units(), "uV");
    EXPECT_EQ(back->color, 0);
    EXPECT_TRUE(capture.texts().empty()) << c.name;
  }
}

TEST(TraceTextFile, AnUnknownExtensionIsRefusedBeforeTheFileIsOpened) {
  message_capture capture;
  temp_folder folder;
  folder.write("kept.dat", "precious\n");
  traceClass trace;
  fill_sample(trace);
  EXPECT_FALSE(write_trace_text_file(folder.file("kept.dat").c_str(), trace));
  EXPECT_EQ(read_all(folder.file("kept.dat")), "precious\n");
  EXPECT_FALSE(exists(folder.file("kept.cv_")));
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** UNRECOGNIZED FILE EXTENSION [dat] ***"});
}

// A full disk or a program killed while a trace file is replaced keeps the
// old file byte for byte; a failure names the file.
TEST(TraceTextFile, AFailedOrKilledWriteKeepsTheOldFile) {
  message_capture capture;
  temp_folder folder;
  folder.write("kept.csv", "  1.0,    2.00\n");
  const std::string path = folder.file("kept.csv");
  traceClass trace;
  fill_sample(trace);
  const struct {
    wholeFileFault fault;
    const char* says;
  } cases[] = {
      {wholeFileFault::flush, "could not be flushed to the disk (is the disk full?)"},
      {wholeFileFault::close, "could not be closed (is the disk full?)"},
      {wholeFileFault::killed, "could not replace the old file"},
  };
  for (const auto& c : cases) {
    capture.clear();
    set_whole_file_fault(c.fault);
    EXPECT_FALSE(write_trace_text_file(path.c_str(), trace));
    set_whole_file_fault(wholeFileFault::none);
    EXPECT_EQ(read_all(path), "  1.0,    2.00\n");
    EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** WRITE TO [" + path + "] FAILED ***\n" + c.says});
  }
}

TEST(TraceTextFile, SideFileNamesCutAtTheLastDotOfTheFileName) {
  struct {
    const char* path;
    const char* side;
    const char* old_side;
  } cases[] = {
      {"C:\\data.v2\\trace1.csv", "C:\\data.v2\\trace1.cv_", "C:\\data.cv_"},
      {"C:\\data\\a.b.csv", "C:\\data\\a.b.cv_", "C:\\data\\a.cv_"},
      {"C:\\data\\plain", "C:\\data\\plain.cv_", "C:\\data\\plain.cv_"},
      {"/tmp/x.y/t.xy", "/tmp/x.y/t.cv_", "/tmp/x.cv_"},
      {"t.csv", "t.cv_", "t.cv_"},
  };
  for (const auto& c : cases) {
    byteObjectClass name;
    trace_units_file_name(c.path, name);
    EXPECT_STREQ(name.text(), c.side) << c.path;
    old_trace_units_file_name(c.path, name);
    EXPECT_STREQ(name.text(), c.old_side) << c.path;
  }
}

TEST(TraceTextFile, UnitsComeFromTheOldSideFileWhenOnlyThatOneExists) {
  message_capture capture;
  temp_folder folder;
  folder.write("run.v1/t.csv", "1,2\n");
  std::string path = folder.file("run.v1/t.csv");
  byteObjectClass old_name;
  old_trace_units_file_name(path.c_str(), old_name);
  std::ofstream(old_name.text(), std::ios::binary) << "(csvxy (xunits s)(yunits mV))";

  std::unique_ptr<traceClass> trace(read_trace_text_file(path.c_str()));
  ASSERT_NE(trace, nullptr);
  EXPECT_STREQ(trace->x_units(), "s");
  EXPECT_STREQ(trace->y_units(), "mV");

  // The side file of the new name wins once it exists.
  folder.write("run.v1/t.cv_", "(csvxy (xunits ms)(yunits nV))");
  trace.reset(read_trace_text_file(path.c_str()));
  EXPECT_STREQ(trace->x_units(), "ms");
  EXPECT_STREQ(trace->y_units(), "nV");
  std::remove(old_name.text());
  EXPECT_TRUE(capture.texts().empty());
}

TEST(TraceTextFile, ReadingStopsAtTheFirstLineThatIsNotTwoNumbers) {
  struct {
    const char* name;
    std::string text;
    std::vector<xyPair> points;
  } cases[] = {
      {"header.csv", "time,value\n1,2\n", {}},
      {"empty.csv", "", {}},
      {"gap.csv", "1,2\n3,4\n\n5,6\n", {{1, 2}, {3, 4}}},
      {"later.csv", "1,2\nbad\n5,6\n", {{1, 2}}},
      {"tabs.xy", "1 \t 2\n3\t4\n 5   6\n7,8\n", {{1, 2}, {3, 4}, {5, 6}}},
      {"comma.xy", "1,2\n", {}},
      {"nan.csv", "1,2\nnan,3\n4,5\n", {{1, 2}}},
      {"crlf.csv", "1,2\r\n3,4\r\n", {{1, 2}, {3, 4}}},
      {"nolf.csv", "1,2\n3,4", {{1, 2}, {3, 4}}},
      {"long.csv", "1,2" + std::string(2000, ' ') + "\n3,4\n", {{1, 2}, {3, 4}}},
  };
  for (const auto& c : cases) {
    message_capture capture;
    temp_folder folder;
    folder.write(c.name, c.text);
    std::unique_ptr<traceClass> trace(read_trace_text_file(folder.file(c.name).c_str()));
    ASSERT_NE(trace, nullptr) << c.name;
    expect_points(*trace, c.points);
    EXPECT_STREQ(trace->x_units(), "unknown") << c.name;
    EXPECT_STREQ(trace->y_units(), "unknown") << c.name;
    EXPECT_TRUE(capture.texts().empty()) << c.name;
  }
}

TEST(TraceTextFile, AFileOfMorePointsThanTheLimitIsReportedAndCut) {
  message_capture capture;
  temp_folder folder;
  folder.write("long.csv", "1,1\n2,2\n3,3\n4,4\n");
  folder.write("exact.csv", "1,1\n2,2\n3,3\n");
  std::string path = folder.file("long.csv");
  std::unique_ptr<traceClass> trace(read_trace_text_file(path.c_str(), 3));
  ASSERT_NE(trace, nullptr);
  expect_points(*trace, {{1, 1}, {2, 2}, {3, 3}});
  EXPECT_EQ(capture.texts(),
            std::vector<std::string>{"*** [" + path + "] HOLDS MORE THAN 3 POINTS: ONLY THE FIRST 3 ARE READ ***"});
  // Exactly the limit, then nothing more to read: not reported.
  for (const char* text : {"1,1\n2,2\n3,3\n", "1,1\n2,2\n3,3\n\n", "1,1\n2,2\n3,3\nend\n"}) {
    capture.clear();
    folder.write("exact.csv", text);
    trace.reset(read_trace_text_file(folder.file("exact.csv").c_str(), 3));
    EXPECT_EQ(trace->get_count(), 3) << text;
    EXPECT_TRUE(capture.texts().empty()) << text;
  }
}

TEST(TraceTextFile, HugeValuesReadBackAsTheFormatRoundsThem) {
  const double x[] = {1e300, -2.5e250, 1.7976931348623157e308, 0.05};
  const double y[] = {2e300, 1e250, -1.7976931348623157e308, 123.456};
  for (const char* name : {"huge.csv", "huge.xy"}) {
    message_capture capture;
    temp_folder folder;
    traceClass trace;
    trace.set_data(0, x, y, 4);
    std::string path = folder.file(name);
    ASSERT_TRUE(write_trace_text_file(path.c_str(), trace)) << name;
    std::unique_ptr<traceClass> back(read_trace_text_file(path.c_str()));
    ASSERT_NE(back, nullptr) << name;
    std::vector<xyPair> expected;
    for (int i = 0; i < 4; i++) {
      char xs[400];
      char ys[400];
      std::snprintf(xs, sizeof xs, "%.1f", x[i]);
      std::snprintf(ys, sizeof ys, "%.2f", y[i]);
      expected.push_back({std::strtod(xs, nullptr), std::strtod(ys, nullptr)});
    }
    expect_points(*back, expected);
    EXPECT_TRUE(capture.texts().empty()) << name;
  }
}

TEST(TraceTextFile, ALineLongerThanTheReaderTakesIsRefusedNotCut) {
  message_capture capture;
  temp_folder folder;
  // Cut anywhere, this line would still parse as a point, (3, 0.0).
  folder.write("wide.csv", "1,2\n3,0." + std::string(70000, '0') + "7\n5,6\n");
  std::string path = folder.file("wide.csv");
  std::unique_ptr<traceClass> trace(read_trace_text_file(path.c_str()));
  ASSERT_NE(trace, nullptr);
  expect_points(*trace, {{1, 2}});
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** [" + path +
                                                      "] LINE 2 IS LONGER THAN 65536 CHARACTERS: ONLY THE 1 POINTS "
                                                      "BEFORE IT ARE READ ***"});
}

TEST(TraceTextFile, AFileThatCannotBeOpenedIsReportedWithItsPass) {
  message_capture capture;
  temp_folder folder;
  std::string path = folder.file("missing.csv");
  EXPECT_EQ(read_trace_text_file(path.c_str()), nullptr);
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** UNABLE TO OPEN [" + path + "]\n on pass 1 ***"});
}

#ifndef _WIN32
// How many descriptors of this process are open on path.
static int open_here(const std::string& path) {
  std::error_code error;
  std::filesystem::path target = std::filesystem::canonical(path, error);
  int count = 0;
  for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd", error)) {
    std::error_code ignored;
    if (std::filesystem::read_symlink(fd.path(), ignored) == target) count++;
  }
  return count;
}

// Offers text to the next reader of the pipe at path once that reader holds
// it open, and returns once the reader has closed it again.
static void offer(const std::string& path, const std::string& text) {
  int fd = open(path.c_str(), O_WRONLY);
  while (open_here(path) < 2) std::this_thread::yield();
  EXPECT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  close(fd);
  while (open_here(path) > 0) std::this_thread::yield();
}

// A pipe stands for a file that another program rewrites between the two
// passes: the first pass sees five lines, the second only two. The writer
// waits for the first pass to close the pipe before it offers the second
// text, which the second pass then opens.
TEST(TraceTextFile, AFileThatShrinksBetweenThePassesGivesWhatTheSecondPassRead) {
  message_capture capture;
  temp_folder folder;
  std::string path = folder.file("changing.csv");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  std::thread writer([&path] {
    offer(path, "1,1\n2,2\n3,3\n4,4\n5,5\n");
    offer(path, "7,7\n8,8\n");
  });
  std::unique_ptr<traceClass> trace(read_trace_text_file(path.c_str()));
  writer.join();
  ASSERT_NE(trace, nullptr);
  expect_points(*trace, {{7, 7}, {8, 8}});
  EXPECT_TRUE(capture.texts().empty());
}
#endif

TEST(TraceTextFile, TheProposalIsBuiltWithinItsBuffer) {
  struct {
    const char* label;
    const char* legend;
    const char* hint;
    int size;
    const char* proposal;
  } cases[] = {
      {"a:b\\c.d e", "", "C:\\data\\old.csv", 260, "C:\\data\\a-b-c,d_e.csv"},
      {"", "legend", "C:\\data\\old.csv", 260, "C:\\data\\legend.csv"},
      {"name", "", nullptr, 260, "\\name.csv"},
      {"name", "", "", 260, "\\name.csv"},
      {"name", "", "old.csv", 260, "name.csv"},
      {"abcdefghij", "", "C:\\d\\x.csv", 16, "C:\\d\\abcdef.csv"},
      {"abcdefghij", "", "C:\\a\\long\\folder\\x", 16, "abcdefghij.csv"},
      {"abc", "", "C:\\d\\x", 4, ""},
  };
  for (const auto& c : cases) {
    traceClass trace;
    trace.set_label(c.label);
    trace.set_legend_text(c.legend);
    char buffer[260];
    std::memset(buffer, 'z', sizeof buffer);
    trace_file_proposal(trace, c.hint, buffer, c.size);
    EXPECT_STREQ(buffer, c.proposal) << c.label;
  }
  // A label of any length stays within 260 characters.
  traceClass trace;
  trace.set_label(std::string(600, 'n').c_str());
  char buffer[1000];
  trace_file_proposal(trace, "C:\\d\\", buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer), "C:\\d\\" + std::string(260, 'n') + ".csv");
}

TEST(TraceTextFile, FormsFromExtensions) {
  EXPECT_EQ(trace_text_form("C:\\a.b\\t.CSV"), traceTextForm::csv);
  EXPECT_EQ(trace_text_form("t.Xy"), traceTextForm::xy);
  EXPECT_EQ(trace_text_form("t.txt"), traceTextForm::xy);
  EXPECT_EQ(trace_text_form("C:\\a.csv\\t"), traceTextForm::unknown);
  EXPECT_EQ(trace_text_form("t.csv.bak"), traceTextForm::unknown);
  EXPECT_EQ(trace_text_form(nullptr), traceTextForm::unknown);
}
