#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/files/path_names.h"
#include "desktop/winlib/files/path_stack.h"

namespace {

std::string apply(void (*helper)(const char*, byteObjectClass&), const char* path) {
  byteObjectClass out("stale");
  helper(path, out);
  return out.text();
}

}  // namespace

TEST(PathNames, Parts) {
  struct {
    const char* path;
    const char* directory;
    const char* name;
    const char* base;
    const char* extension;
    const char* stripped;
  } cases[] = {
      {"C:\\data\\a.tst", "C:\\data\\", "a.tst", "a", "tst", "C:\\data\\a"},
      {"a.tst", "", "a.tst", "a", "tst", "a"},
      {"C:a.tst", "C:", "a.tst", "a", "tst", "C:a"},
      {"C:\\d.x\\a.b.c", "C:\\d.x\\", "a.b.c", "a", "c", "C:\\d"},
      {"\\a", "", "\\a", "\\a", "", "\\a"},  // index 0 is not looked at
      {"C:\\data\\", "C:\\data\\", "", "", "", "C:\\data\\"},
      {"", "", "", "", "", ""},
      {nullptr, "", "", "", "", ""},
  };
  for (const auto& c : cases) {
    const char* label = c.path ? c.path : "(null)";
    EXPECT_EQ(apply(path_directory, c.path), c.directory) << label;
    EXPECT_EQ(apply(file_name, c.path), c.name) << label;
    EXPECT_EQ(apply(file_base_name, c.path), c.base) << label;
    EXPECT_EQ(apply(file_extension, c.path), c.extension) << label;
    EXPECT_EQ(apply(strip_extension, c.path), c.stripped) << label;
  }
}

TEST(PathNames, MakeFileName) {
  struct {
    const char* folder;
    const char* name;
    const char* extension;
    const char* result;
  } cases[] = {
      {"C:\\x", "a", "tst", "C:\\x\\a.tst"}, {"C:\\x", "a.b", "tst", "C:\\x\\a.b"},
      {"C:\\x\\", "a", ".tst", "C:\\x\\a.tst"}, {"", "a", "tst", "a.tst"},
      {nullptr, "a", nullptr, "a"},           {"C:\\x", "a.b.c", "tst", "C:\\x\\a.b.c"},
  };
  for (const auto& c : cases) {
    char buffer[32];
    ASSERT_TRUE(make_fname(sizeof buffer, buffer, c.folder, c.name, c.extension)) << c.result;
    EXPECT_STREQ(buffer, c.result);
  }

  message_capture capture;
  char buffer[16];
  memset(buffer, 'Q', sizeof buffer);
  EXPECT_TRUE(make_fname(11, buffer, "C:\\x", "a", "tst"));  // 4 + 1 + 4 + 2
  EXPECT_FALSE(make_fname(10, buffer, "C:\\x", "a", "tst"));
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** make_fname : NOT ENOUGH ROOM IN USER'S BUFFER ***"});
}

TEST(PathNames, SafeFileNames) {
  struct {
    const char* text;
    const char* safe;
  } cases[] = {
      {"12:30 1.5", "12-30_1,5"},
      {"C:\\a\tb", "C--a_b"},
      {"caf\xe9", "caf_"},
      {"", ""},
  };
  for (const auto& c : cases) {
    byteObjectClass out;
    safe_file_name(c.text, out);
    EXPECT_STREQ(out.text(), c.safe);
    char array[32];
    make_safe_file_name(c.text, array, sizeof array);
    EXPECT_STREQ(array, c.safe);
  }
  char small[4] = {'x', 'x', 'x', 'x'};
  make_safe_file_name("12:30", small, sizeof small);
  EXPECT_STREQ(small, "12-");
}

TEST(PathNames, InFolder) {
  EXPECT_TRUE(is_in_folder("C:\\Data\\x\\a.tst", "c:\\data\\b.tst"));
  EXPECT_TRUE(is_in_folder("C:\\data\\a.tst", "C:\\DATA\\b.tst"));
  EXPECT_FALSE(is_in_folder("C:\\a.tst", "C:\\data\\b.tst"));
  EXPECT_FALSE(is_in_folder("C:\\data\\a.tst", "b.tst"));
  EXPECT_FALSE(is_in_folder("C:\\datum\\a.tst", "C:\\data\\b.tst"));
}

TEST(PathNames, Stack) {
  message_capture capture;
  pathStackClass stack(3);
  EXPECT_STREQ(stack.top_path(), "");
  EXPECT_STREQ(stack.push_path("C:\\a\\f.tst"), "C:\\a\\");
  EXPECT_STREQ(stack.push_path("C:\\b\\g.tst"), "C:\\b\\");
  EXPECT_EQ(stack.push_path("C:\\c\\h.tst"), nullptr);  // capacity 3 holds 2
  EXPECT_STREQ(stack.top_path(), "C:\\b\\");
  EXPECT_STREQ(stack.pop_path(), "C:\\b\\");
  EXPECT_STREQ(stack.pop_path(), "C:\\a\\");
  EXPECT_EQ(stack.pop_path(), nullptr);
  EXPECT_STREQ(stack.top_path(), "");
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"*** PATH STACK OVERFLOW ***", "*** PATH STACK UNDERFLOW ***"}));
}
