#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/winlib/files/file_streams.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "platform/files/whole_file.h"

namespace {

std::string content(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

TEST(FileStreams, ExistenceTests) {
  temp_folder folder;
  folder.write("kept.txt", "keep me");
  std::string kept = folder.file("kept.txt");
  std::string missing = folder.file("missing.txt");
  std::string no_folder = folder.file("no_such_folder") + "/x.txt";

  EXPECT_TRUE(file_exists(kept.c_str()));
  EXPECT_FALSE(file_exists(missing.c_str()));
  EXPECT_FALSE(file_exists(nullptr));

  // Testing whether a file can be written never empties it.
  EXPECT_TRUE(file_writable(kept.c_str()));
  EXPECT_EQ(content(kept), "keep me");
  EXPECT_TRUE(file_writable(missing.c_str()));
  EXPECT_TRUE(file_exists(missing.c_str()));
  EXPECT_FALSE(file_writable(no_folder.c_str()));

  std::string path = folder.path().string();
  EXPECT_TRUE(is_directory(path.c_str()));
  EXPECT_FALSE(is_directory(kept.c_str()));
  EXPECT_FALSE(is_directory(no_folder.c_str()));
  EXPECT_FALSE(is_directory(""));
#ifdef _WIN32
  EXPECT_TRUE(is_directory((path + "\\").c_str()));
#endif
}

TEST(FileStreams, OpenForOutput) {
  message_capture capture;
  temp_folder folder;
  std::string name = folder.file("out.txt");

  FILE* file = open_for_output(name.c_str());
  ASSERT_NE(file, nullptr);
  fputs("one", file);
  EXPECT_TRUE(close_output(file));
  EXPECT_TRUE(capture.records().empty());  // a new file: no question

  struct {
    int answer;
    bool opens;
    const char* after;
  } cases[] = {
      {answer_no, true, "onetwo"},
      {answer_yes, true, "two"},
      {answer_cancel, false, "two"},
  };
  for (const auto& c : cases) {
    capture.clear();
    capture.answer(c.answer);
    file = open_for_output(name.c_str());
    EXPECT_EQ(file != nullptr, c.opens);
    if (file) {
      fputs("two", file);
      EXPECT_TRUE(close_output(file));
    }
    EXPECT_EQ(content(name), c.after);
    ASSERT_EQ(capture.records().size(), 1u);
    EXPECT_EQ(capture.records()[0].caption, "File Exists. Replace?");
    EXPECT_EQ(capture.records()[0].text,
              "file: " + name + "\n\n-- Yes = Replace existing file.\n-- No  = Append to file.");
    EXPECT_EQ(capture.records()[0].style & 0xF, box_yes_no_cancel);
  }

  // Replaced on a full disk, or by a program killed before the close: the
  // old file stays byte for byte; a failure names the file.
  const struct {
    wholeFileFault fault;
    const char* says;
  } failures[] = {
      {wholeFileFault::flush, "could not be flushed to the disk (is the disk full?)"},
      {wholeFileFault::killed, "could not replace the old file"},
  };
  for (const auto& f : failures) {
    capture.clear();
    capture.answer(answer_yes);
    file = open_for_output(name.c_str());
    ASSERT_NE(file, nullptr);
    fputs("three", file);
    set_whole_file_fault(f.fault);
    EXPECT_FALSE(close_output(file));
    set_whole_file_fault(wholeFileFault::none);
    EXPECT_EQ(content(name), "two");
    ASSERT_EQ(capture.texts().size(), 2u);
    EXPECT_EQ(capture.texts()[1], "*** Unable to write file [" + name + "] ***\n" + f.says);
  }

  capture.clear();
  std::string no_folder = folder.file("no_such_folder") + "/x.txt";
  EXPECT_EQ(open_for_output(no_folder.c_str()), nullptr);
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** Unable to open new file [" + no_folder + "] ***"});
}

TEST(FileStreams, ReadLines) {
  temp_folder folder;
  folder.write("lines.txt", "  one\ntwo words\n   \nthree\rfourfourfour\nlast");
  std::string name = folder.file("lines.txt");
  FILE* file = fopen(name.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  struct {
    bool skip;
    int size;
    bool result;
    const char* line;
  } steps[] = {
      {true, 16, true, "one"},   {false, 16, true, "two words"}, {true, 16, false, ""},
      {false, 16, true, "three"}, {false, 6, true, "fourf"},      {false, 6, true, "ourfo"},
      {false, 6, true, "ur"},     {true, 16, true, "last"},        {false, 16, false, ""},
  };
  for (const auto& s : steps) {
    char buffer[16];
    EXPECT_EQ(read_line(file, buffer, s.size, s.skip), s.result) << s.line;
    EXPECT_STREQ(buffer, s.line);
  }
  fclose(file);

  folder.write("bytes.bin", std::string("ab\0cd", 5));
  file = fopen(folder.file("bytes.bin").c_str(), "rb");
  ASSERT_NE(file, nullptr);
  char bytes[8];
  EXPECT_EQ(read_bytes(file, 3, bytes), 3);
  EXPECT_EQ(std::string(bytes, 3), std::string("ab\0", 3));
  EXPECT_EQ(read_bytes(file, 8, bytes), 2);
  fclose(file);
}
