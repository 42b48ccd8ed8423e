#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/settings/registry_settings.h"

namespace {

const char* settings_path = "SOFTWARE\\TARNAVELLE\\TOLMARO";

bool value_exists(HKEY root, const char* path, const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  bool found = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return found;
}

void delete_value(const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, settings_path, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, name);
  RegCloseKey(key);
}

}  // namespace

TEST(Registry, SettingRoundTrip) {
  message_capture capture;
  const struct {
    const char* name;
    const char* text;
  } cases[] = {
      {"winlib_test_folder", "C:\\data\\tests with blanks\\"},
      {"winlib_test_switch", "TRUE"},
      {"winlib_test_empty", ""},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(set_program_setting(c.name, c.text)) << c.name;
    EXPECT_STREQ(get_program_setting(c.name, false), c.text) << c.name;
  }
  EXPECT_TRUE(settings_key_exists());
  EXPECT_TRUE(set_program_setting(cases[0].name, "replaced"));
  EXPECT_STREQ(get_program_setting(cases[0].name, false), "replaced");
  for (const auto& c : cases) delete_value(c.name);
  EXPECT_TRUE(capture.texts().empty());
}

TEST(Registry, AMissingValueIsEmptyAndReportedUnlessQuiet) {
  message_capture capture;
  ASSERT_TRUE(set_program_setting("winlib_test_other", "x"));
  EXPECT_STREQ(get_program_setting("winlib_test_absent", true), "");
  EXPECT_TRUE(capture.texts().empty());
  EXPECT_STREQ(get_program_setting("winlib_test_absent", false), "");
  EXPECT_EQ(capture.texts(), std::vector<std::string>{
                                 "*** get_registry_value: RegQueryValueExx [SOFTWARE\\TARNAVELLE\\TOLMARO] "
                                 "winlib_test_absent FAILED ***"});
  EXPECT_EQ(capture.captions(), std::vector<std::string>{"*** ERROR ***"});
  delete_value("winlib_test_other");
}

TEST(Registry, AMissingKeyIsEmptyAndReportedAndNothingIsWritten) {
  // The prefix is shared with the session tests, which store this setting.
  delete_value("last_session_file");
  message_capture capture;
  EXPECT_STREQ(get_registry_value(HKEY_CURRENT_USER, "WINLIB_NO_MAKER", "NO_PROGRAM", "last_session_file", false),
               "");
  EXPECT_EQ(capture.texts(),
            std::vector<std::string>{"*** get_registry_value: RegOpenKeyEx [SOFTWARE\\WINLIB_NO_MAKER\\NO_PROGRAM] "
                                     "FAILED ***"});
  EXPECT_STREQ(get_registry_value(HKEY_CURRENT_USER, "WINLIB_NO_MAKER", "NO_PROGRAM", "last_session_file", true),
               "");
  EXPECT_EQ(capture.texts().size(), 1u);
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\WINLIB_NO_MAKER", 0, KEY_QUERY_VALUE, &key),
            ERROR_SUCCESS);
  EXPECT_FALSE(value_exists(HKEY_CURRENT_USER, settings_path, "last_session_file"));
}

TEST(Registry, AKeyThatCannotBeCreatedIsReported) {
  message_capture capture;
  HKEY bad_root = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x12345678));
  EXPECT_FALSE(set_registry_value(bad_root, "TARNAVELLE", "TOLMARO", "x", "y"));
  EXPECT_EQ(capture.texts(),
            std::vector<std::string>{"*** set_registry_value: RegOpenKeyEx [SOFTWARE\\TARNAVELLE\\TOLMARO] FAILED ***"});
}

TEST(Registry, ProgramFontRoundTrip) {
  message_capture capture;
  const char* faces[] = {"Courier New", "Arial", "Lucida Sans Unicode"};
  for (const char* face : faces) {
    LOGFONTA font{};
    font.lfHeight = -15;
    font.lfWidth = 6;
    font.lfWeight = 700;
    font.lfItalic = 1;
    font.lfCharSet = ANSI_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    ASSERT_TRUE(save_program_font(font));
    LOGFONTA back{};
    ASSERT_TRUE(parse_program_font(get_program_setting("PROGRAM_FONT", false), &back)) << face;
    EXPECT_STREQ(back.lfFaceName, face);
    EXPECT_EQ(back.lfHeight, -15);
    EXPECT_EQ(back.lfWidth, 6);
    EXPECT_EQ(back.lfWeight, 700);
    EXPECT_EQ(back.lfItalic, 1);
    EXPECT_EQ(back.lfQuality, CLEARTYPE_QUALITY);
    EXPECT_EQ(back.lfPitchAndFamily, FIXED_PITCH | FF_MODERN);
  }
  delete_value("PROGRAM_FONT");
  LOGFONTA untouched{};
  untouched.lfHeight = 99;
  EXPECT_FALSE(parse_program_font("", &untouched));
  EXPECT_FALSE(parse_program_font("1 2 3", &untouched));
  EXPECT_EQ(untouched.lfHeight, 99);
  EXPECT_TRUE(capture.texts().empty());
}
