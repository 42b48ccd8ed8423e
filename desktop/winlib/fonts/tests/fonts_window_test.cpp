// Fonts: the standard fonts, make_font's face name, the font stack and the
// font dialog through its seam.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "desktop/winlib/fonts/font_dialog_ui.h"
#include "desktop/winlib/fonts/fonts.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/geometry/paper.h"

namespace {

std::string face_of(HFONT font) {
  LOGFONTA record{};
  if (!GetObjectA(font, sizeof record, &record)) return "?";
  return record.lfFaceName;
}

// Scripted font dialogs: what the last call was given, and the answer.
struct scriptedDialog {
  static CHOOSEFONTA seen;
  static LOGFONTA start;
  static int calls;
  static BOOL choose(CHOOSEFONTA* record) {
    ++calls;
    seen = *record;
    start = *record->lpLogFont;
    std::strcpy(record->lpLogFont->lfFaceName, "Courier New");
    record->lpLogFont->lfHeight = -31;
    return TRUE;
  }
  static BOOL cancel(CHOOSEFONTA* record) {
    ++calls;
    seen = *record;
    record->lpLogFont->lfHeight = 999;  // a dialog may scribble on the record
    return FALSE;
  }
  static DWORD no_error() { return 0; }
};
CHOOSEFONTA scriptedDialog::seen{};
LOGFONTA scriptedDialog::start{};
int scriptedDialog::calls = 0;

class FontDialog : public ::testing::Test {
 protected:
  void TearDown() override { font_dialog_ui_install(previous); }
  void install(BOOL (*choose)(CHOOSEFONTA*)) {
    scriptedDialog::calls = 0;
    previous = font_dialog_ui_install(font_dialog_calls{choose, scriptedDialog::no_error});
  }
  font_dialog_calls previous = font_dialog_ui();
};

}  // namespace

// The start-up (start_up_environment.cpp) has made the standard fonts for
// the screen record.
TEST(Fonts, TheStandardFontsFollowTheScreenScale) {
  ASSERT_NE(program_font, nullptr);
  EXPECT_EQ(program_logfont.lfHeight, screen_paper.px_y(4.0));
  EXPECT_EQ(program_logfont.lfWidth, screen_paper.px_x(1.5));
  EXPECT_EQ(program_logfont.lfWeight, 400);
  EXPECT_STREQ(program_logfont.lfFaceName, "System");
  LOGFONTA underlined{};
  ASSERT_TRUE(GetObjectA(underlined_font, sizeof underlined, &underlined));
  EXPECT_EQ(underlined.lfUnderline, 1);
  EXPECT_EQ(underlined.lfHeight, program_logfont.lfHeight);
  LOGFONTA fixed{};
  ASSERT_TRUE(GetObjectA(fixed_font, sizeof fixed, &fixed));
  EXPECT_EQ(fixed.lfHeight, screen_paper.px_y(5.0));
  EXPECT_EQ(fixed.lfWidth, screen_paper.px_x(3.0));
  EXPECT_STREQ(fixed.lfFaceName, "Courier New");
  LOGFONTA bold{};
  ASSERT_TRUE(GetObjectA(small_bold_font, sizeof bold, &bold));
  EXPECT_EQ(bold.lfWeight, 700);
  EXPECT_EQ(button_font(), large_font);
  EXPECT_TRUE(is_standard_font(program_font));
}

TEST(Fonts, AChosenProgramFontIsMadeFromItsRecordWithoutTheUnderlinedFont) {
  HFONT saved[] = {program_font, underlined_font, large_font, small_bold_font, fixed_font};
  LOGFONTA saved_record = program_logfont;
  LOGFONTA chosen{};
  chosen.lfHeight = -21;
  chosen.lfWeight = 700;
  std::strcpy(chosen.lfFaceName, "Courier New");
  program_logfont = chosen;
  program_font_chosen = 1;
  underlined_font = nullptr;
  paper screen;
  screen.rescale(1280, 1024, 320, 256);
  make_standard_fonts(screen);
  EXPECT_EQ(face_of(program_font), "Courier New");
  EXPECT_EQ(underlined_font, nullptr);
  EXPECT_EQ(program_logfont.lfHeight, -21);
  for (HFONT f : {program_font, large_font, small_bold_font, fixed_font}) DeleteObject(f);
  program_font_chosen = 0;
  program_logfont = saved_record;
  program_font = saved[0];
  underlined_font = saved[1];
  large_font = saved[2];
  small_bold_font = saved[3];
  fixed_font = saved[4];
}

TEST(Fonts, MakeFontKeepsItsRecordAndCutsALongFaceTo31Characters) {
  const char* long_face = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";  // 40 characters
  HFONT font = make_font(12, 5, 700, long_face, 1);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(std::strlen(font_record.lfFaceName), 31u);
  EXPECT_EQ(std::string(font_record.lfFaceName), std::string(long_face, 31));
  EXPECT_EQ(font_record.lfHeight, 12);
  EXPECT_EQ(font_record.lfWidth, 5);
  EXPECT_EQ(font_record.lfUnderline, 1);
  EXPECT_EQ(face_of(font), std::string(long_face, 31));
  DeleteObject(font);

  paper scale;
  scale.rescale(200, 300, 100, 100);  // 2 x 3 px/mm
  font = make_font_scaled(scale, 5.0, 2.0, 400, "Arial", 90.0, 6);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font_record.lfHeight, 15);
  EXPECT_EQ(font_record.lfWidth, 4);
  EXPECT_EQ(font_record.lfEscapement, 900);
  EXPECT_EQ(font_record.lfOrientation, 900);
  EXPECT_EQ(font_record.lfUnderline, 0);
  EXPECT_EQ(font_record.lfItalic, 1);
  EXPECT_EQ(font_record.lfStrikeOut, 1);
  DeleteObject(font);
}

TEST(FontStack, PushesSelectAndPopsRestoreInTheirContext) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ original = GetCurrentObject(dc, OBJ_FONT);
  HFONT a = make_font(10, 0, 400, "Arial", 0);
  HFONT b = make_font(20, 0, 400, "Arial", 0);
  push_font(dc, a);
  push_font(dc, b);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), b);
  EXPECT_EQ(font_stack_depth(), 2);
  EXPECT_TRUE(pop_and_delete_font());
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), a);
  EXPECT_EQ(GetObjectType(b), 0u);  // deleted
  EXPECT_TRUE(pop_font());
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), original);
  EXPECT_NE(GetObjectType(a), 0u);  // only popped

  // A shared standard font is never deleted.
  push_font(dc, program_font);
  EXPECT_TRUE(pop_and_delete_font());
  EXPECT_NE(GetObjectType(program_font), 0u);

  message_capture capture;
  EXPECT_FALSE(pop_font());
  EXPECT_FALSE(pop_and_delete_font());
  push_font(nullptr, a);
  EXPECT_EQ(font_stack_depth(), 0);
  for (int i = 0; i < font_stack_size + 1; ++i) push_font(dc, a);
  EXPECT_EQ(font_stack_depth(), font_stack_size);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"*** FONT STACK UNDERFLOW ***", "*** FONT STACK UNDERFLOW ***",
                                                       "### push_font: context is null ###",
                                                       "*** FONT STACK OVERFLOW ***"}));
  while (font_stack_depth() > 0) pop_font();
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), original);
  DeleteObject(a);
  DeleteDC(dc);
}

TEST_F(FontDialog, AChosenFontFillsTheRecord) {
  install(scriptedDialog::choose);
  HWND owner = GetDesktopWindow();
  LOGFONTA record{};
  record.lfHeight = -12;
  std::strcpy(record.lfFaceName, "Arial");
  message_capture capture;
  EXPECT_TRUE(choose_font(record, false, owner));
  EXPECT_EQ(scriptedDialog::calls, 1);
  EXPECT_EQ(scriptedDialog::seen.lStructSize, sizeof(CHOOSEFONTA));
  EXPECT_EQ(scriptedDialog::seen.hwndOwner, owner);
  EXPECT_EQ(scriptedDialog::seen.Flags, static_cast<DWORD>(CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT));
  EXPECT_STREQ(scriptedDialog::start.lfFaceName, "Arial");
  EXPECT_STREQ(record.lfFaceName, "Courier New");
  EXPECT_EQ(record.lfHeight, -31);
  EXPECT_TRUE(capture.records().empty());
}

TEST_F(FontDialog, ACancelledDialogIsNoChoiceQuietOrNot) {
  install(scriptedDialog::cancel);
  LOGFONTA record{};
  record.lfHeight = -12;
  std::strcpy(record.lfFaceName, "Arial");
  message_capture capture;
  EXPECT_FALSE(choose_font(record, true, nullptr));
  EXPECT_TRUE(capture.records().empty());
  EXPECT_FALSE(choose_font(record, false, nullptr));
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"### Choosefont failed ###"}));
  EXPECT_EQ(record.lfHeight, -12);
  EXPECT_STREQ(record.lfFaceName, "Arial");
}
