// Edit fields, labelled edits and the numeric entry pop-up.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "desktop/winlib/controls/tests/control_test_window.h"
#include "desktop/winlib/controls/edit_fields.h"
#include "desktop/winlib/controls/edit_number.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/fonts/program_fonts.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

std::string window_text(HWND window) {
  char text[512];
  GetWindowTextA(window, text, sizeof text);
  return text;
}

class EditFields : public ::testing::Test {
 protected:
  const paper& s = screen_paper;
  testHolderWindow& holder = shared_holder();
  HWND parent = holder.hwnd();
};

}  // namespace

TEST_F(EditFields, TextsAndNumbers) {
  editClass single(parent, program_font, 10, 10, s, edit_right, 12, 0);
  single.set_text(nullptr);
  EXPECT_EQ(window_text(single.hwnd()), "???");
  single.set_text("a\nb");
  EXPECT_EQ(window_text(single.hwnd()), "a\nb");  // a single line is sent as it is

  editClass multi(parent, program_font, 10, 30, s, edit_left, 20, 4, ES_AUTOVSCROLL);
  EXPECT_NEAR(multi.height(), 4 * (multi.height() - 2.0) / 4 + 2.0, 1e-9);
  multi.set_text("a\nb\rc\r\nd");
  EXPECT_STREQ(multi.get_text(), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(multi.text_length(), 10);

  struct row {
    const char* text;
    int as_int;
    double as_double;
  };
  for (row r : {row{"", 0, 0.0}, row{"12abc", 12, 12.0}, row{"abc", 0, 0.0}, row{" -7", -7, -7.0},
                row{"2.5e3", 2, 2500.0}, row{"99999999999", INT_MAX, 99999999999.0},
                row{"-99999999999", INT_MIN, -99999999999.0}}) {
    single.set_text(r.text);
    EXPECT_EQ(single.get_int(), r.as_int) << r.text;
    EXPECT_EQ(single.get_double(), r.as_double) << r.text;
  }
  single.set_int(-42);
  EXPECT_EQ(window_text(single.hwnd()), "-42");
  single.set_double(0.125);
  EXPECT_EQ(window_text(single.hwnd()), "0.125");
  char small[4];
  single.read_text(small, sizeof small);
  EXPECT_STREQ(small, "0.1");

  char text[] = "1;2;;3";
  EXPECT_TRUE(editClass::strip_semicolons(text));
  EXPECT_STREQ(text, "123");
  EXPECT_FALSE(editClass::strip_semicolons(text));

  bool semicolon = true;
  EXPECT_FALSE(single.check_notification(EN_CHANGE, multi.hwnd(), &semicolon));
  EXPECT_FALSE(semicolon);
  single.set_text("5;");
  EXPECT_TRUE(single.check_notification(EN_CHANGE, single.hwnd(), &semicolon));
  EXPECT_TRUE(semicolon);
  EXPECT_EQ(window_text(single.hwnd()), "5;");  // the field keeps its text
  EXPECT_TRUE(single.check_notification(EN_SETFOCUS, single.hwnd(), &semicolon));
  EXPECT_FALSE(semicolon);
}

// A label at the left: as wide as both, as high as the taller. A label above
// and wider than the field: as wide as the label, centred over the field.
TEST_F(EditFields, LabelledEditLayouts) {
  editLabelClass left(parent, program_font, 60, 10, s, "Frequency", program_font, label_left, 6, 0, edit_left);
  editClass* field = left.get_edit();
  textObjectClass* label = left.label();
  EXPECT_NEAR(left.width(), field->width() + label->width(), 1e-9);
  EXPECT_NEAR(left.height(), std::max(field->height(), label->height()), 1e-9);
  EXPECT_EQ(label->reference_x(), 60 - label->width());
  EXPECT_EQ(left.x(), std::min(label->x(), field->x()));
  EXPECT_NEAR(left.get_bottom(), left.y() + field->height(), 1e-9);

  editLabelClass above(parent, program_font, 60, 40, s, "A label much wider than its field", program_font,
                       label_above, 3, 0, edit_centred);
  field = above.get_edit();
  label = above.label();
  EXPECT_GT(label->width(), field->width());
  EXPECT_NEAR(above.width(), label->width(), 1e-9);
  EXPECT_NEAR(above.height(), field->height() + label->height(), 1e-9);
  EXPECT_NEAR(label->reference_x() + label->width() / 2.0, 60 + field->width() / 2.0, 1e-9);
  EXPECT_EQ(label->reference_y(), 40 - label->height());

  // Placing moves label and field together, the field to the point.
  double label_offset = label->reference_x() - field->x();
  above.place(80, 60, s);
  EXPECT_EQ(field->x(), 80.0);
  EXPECT_EQ(field->y(), 60.0);
  EXPECT_NEAR(label->reference_x() - field->x(), label_offset, 1e-9);

  message_capture capture;
  editLabelClass odd(parent, program_font, 60, 80, s, "x", program_font, 1, 3, 0, edit_left);
  std::string overlong(3000, 'z');
  odd.set_text("%s", overlong.c_str());
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"*** INVALID LABEL JUSTIFICATION FOR EDIT CONTROL **",
                                                       "*** editLabelClass::set_text, BUFFER OVERRUN ***"}));
  EXPECT_EQ(odd.get_edit()->text_length(), 2047);
  odd.set_text("%d%%", 50);
  EXPECT_EQ(window_text(odd.edit_hwnd()), "50%");
}

namespace {

// The pop-up's paths. Typing goes into the field (whose EN_CHANGE reaches
// the pop-up); buttons are clicked.
enum step { type_text, click_update, click_revert, click_close, typed_past_end };

struct numberCase {
  const char* name;
  std::vector<std::pair<step, const char*>> steps;
  double target;                // after the steps (the initial value is 50)
  size_t notices;               // WM_USER (0, 77) received by the parent
  bool closed;
  const char* field;            // the field at the end when open
  std::vector<std::string> messages;
};

}  // namespace

TEST_F(EditFields, NumericPopUpPaths) {
  const char* refused = "*** Value entered is not a single numeric value ***";
  const numberCase cases[] = {
      {"semicolon accepts and closes", {{type_text, "12.5;"}}, 12.5, 1, true, nullptr, {}},
      {"update with letters is refused", {{type_text, "abc"}, {click_update, nullptr}}, 50.0, 0, false, "50",
       {refused}},
      {"a number and more is refused", {{type_text, "12 13"}, {click_update, nullptr}}, 50.0, 0, false, "50",
       {refused}},
      {"update, then revert", {{type_text, "60"}, {click_update, nullptr}, {click_revert, nullptr}}, 50.0, 2, false,
       "50", {}},
      {"update keeps it open", {{type_text, "61"}, {click_update, nullptr}}, 61.0, 1, false, "61", {}},
      {"close writes nothing", {{type_text, "70"}, {click_close, nullptr}}, -1.0, 0, true, nullptr, {}},
      {"typing past the end accepts and closes", {{type_text, "80"}, {typed_past_end, nullptr}}, 80.0, 1, true,
       nullptr, {}},
      {"a refused semicolon stays open", {{type_text, "x;"}}, 50.0, 0, false, "50", {refused}},
  };
  for (const numberCase& c : cases) {
    SCOPED_TRACE(c.name);
    holder.notices.clear();
    double target = -1.0;
    message_capture capture;
    auto* popup = new editNumberClass(&holder, "Low pass", 20.0, 20.0, 50.0, &target, 77);
    HWND window = popup->hwnd();
    ASSERT_NE(window, nullptr);
    HWND field = popup->entry()->edit_hwnd();
    EXPECT_EQ(window_text(field), "50");
    for (const auto& st : c.steps) {
      switch (st.first) {
        case type_text: SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(st.second)); break;
        case click_update: SendMessageA(popup->update_button()->hwnd(), BM_CLICK, 0, 0); break;
        case click_revert: SendMessageA(popup->revert_button()->hwnd(), BM_CLICK, 0, 0); break;
        case click_close: SendMessageA(popup->close_button()->hwnd(), BM_CLICK, 0, 0); break;
        case typed_past_end:
          SendMessageA(window, WM_COMMAND, MAKEWPARAM(0, EN_MAXTEXT), reinterpret_cast<LPARAM>(field));
          break;
      }
      pump_messages();
      if (!IsWindow(window)) break;
    }
    pump_messages();
    EXPECT_EQ(target, c.target);
    EXPECT_EQ(holder.notices.size(), c.notices);
    for (const auto& n : holder.notices) {
      EXPECT_EQ(n.first, 0u);
      EXPECT_EQ(n.second, 77);
    }
    EXPECT_EQ(capture.texts(), c.messages);
    EXPECT_EQ(!IsWindow(window), c.closed);
    EXPECT_EQ(find_window_object(window) == nullptr, c.closed);
    if (!c.closed) {
      EXPECT_EQ(window_text(field), c.field);
      SendMessageA(window, WM_CLOSE, 0, 0);
    }
  }
}

// A pop-up without a parent window is refused and builds nothing.
TEST_F(EditFields, NumericPopUpWithoutParent) {
  message_capture capture;
  double target = 3.0;
  editNumberClass popup(nullptr, "x", 10.0, 10.0, 1.0, &target, 1);
  EXPECT_EQ(popup.hwnd(), nullptr);
  EXPECT_EQ(popup.entry(), nullptr);
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"### editNumberClass::editNumberClass - PARENT WINDOW IS NULL! ###"});
  EXPECT_EQ(target, 3.0);
}
