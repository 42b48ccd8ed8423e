// The screen as the operator sees it, read as pixels: the file list drawn
// as soon as it opens, never over the soft keys nor through the stored
// test's graph; a blank key that leaves its page as it was; and every soft
// key counting as the operator at work.
#include <gtest/gtest.h>

#include <string.h>

#include <memory>

#include "handheld/ui/directory_dialog.h"
#include "handheld/ui/dialogs/key_captions.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/frame/main_window.h"
#include "handheld/ui/message_display.h"
#include "handheld/ui/plotter/plotter.h"
#include "handheld/engine/storage/record_init.h"
#include "handheld/ui/menus/tests/road_fixture.h"
#include "handheld/engine/storage/test_files.h"
#include "handheld/ui/frame/timers.h"

namespace {

const uint32_t BLACK = 0x000000;
const uint32_t WHITE = 0xFFFFFF;

// A window's rectangle in the screen's (the main window's client) pixels.
RECT on_screen(HWND window) {
  RECT r = {0, 0, 0, 0};
  GetWindowRect(window, &r);
  MapWindowPoints(HWND_DESKTOP, main_window, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

uint32_t pixel(const std::vector<uint32_t>& screen, int x, int y) {
  return screen[static_cast<size_t>(y) * SCREEN_WIDTH + x];
}

// The first row of the soft keys.
int key_rows_top() { return on_screen(GetDlgItem(main_dialog, KEY_UPPER_LEFT)).top; }

// The keys' colours at the corner of each key (as the keys draw them).
void expect_key_colours(const std::vector<uint32_t>& screen) {
  const struct {
    int control;
    uint32_t rgb;
  } keys[] = {{KEY_UPPER_LEFT, 0xFF0000},
              {KEY_LOWER_LEFT, 0x00FF00},
              {KEY_UPPER_RIGHT, 0xFFFF00},
              {KEY_LOWER_RIGHT, 0x0000FF}};
  for (const auto& k : keys) {
    const RECT r = on_screen(GetDlgItem(main_dialog, k.control));
    EXPECT_EQ(pixel(screen, r.left + 4, r.top + 3), k.rgb) << "key " << k.control;
    EXPECT_EQ(pixel(screen, r.right - 5, r.bottom - 4), k.rgb) << "key " << k.control;
  }
}

// Pixels of the screen above the keys.
std::vector<uint32_t> page_pixels() {
  std::vector<uint32_t> screen = screen_pixels();
  screen.resize(static_cast<size_t>(key_rows_top()) * SCREEN_WIDTH);
  return screen;
}

class RoadScreen : public RoadTest {
 protected:
  // A stored test in the day's folder, as the unit stores it.
  void store_a_test() {
    auto record = std::make_unique<testFileRecord>();
    memset(record.get(), 0, sizeof(testFileRecord));
    init_test_record(*record);
    record->P = 1;
    const char16_t name[] = u"Demonstration session";
    memcpy(record->ProtocolName, name, sizeof name);
    record->Config.Scale = 1.0;
    for (samplesBlock* block : {&record->Average, &record->LastSweep}) {
      block->Divisor = 1.0;
      block->PointCount = 100;
      block->Time = 100;
      for (int i = 0; i < 100; ++i) block->Data[i] = (i % 20) * 10 - 100;
    }
    ASSERT_TRUE(write_tst_file(*record, L".tst", 0));
  }
};

TEST_F(RoadScreen, TheFileListIsDrawnAtOnceAboveTheKeys) {
  store_a_test();
  press(KEY_LOWER_LEFT);  // "File Info"
  ASSERT_EQ(shown_menu(), MENU_FILE_LIST);
  HWND list = GetDlgItem(top_page(), DIRECTORY_LIST);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(IsWindowVisible(top_page())) << "shown as it opens, not on the first key";
  {
    const std::vector<uint32_t> screen = screen_pixels();
    const RECT r = on_screen(list);
    EXPECT_NE(pixel(screen, r.left + (r.right - r.left) / 2, r.bottom - 4), BLACK) << "the list is drawn";
    EXPECT_LE(on_screen(top_page()).bottom, key_rows_top()) << "the page ends above the keys";
    expect_key_colours(screen);
  }
  // Into the day's folder and back out, as the operator goes.
  for (int key : {KEY_LOWER_LEFT, KEY_UPPER_RIGHT, KEY_LOWER_LEFT, KEY_UPPER_RIGHT}) press(key);
  ASSERT_EQ(shown_menu(), MENU_RESULT_GRAPH);
  press(KEY_LOWER_RIGHT);  // "Back" from the graph
  ASSERT_EQ(shown_menu(), MENU_FILE_LIST);
  EXPECT_TRUE(IsWindowVisible(top_page()));
  expect_key_colours(screen_pixels());
}

TEST_F(RoadScreen, TheListIsHiddenWhileTheStoredTestsGraphIsUp) {
  store_a_test();
  press(KEY_LOWER_LEFT);  // "File Info"
  HWND list = top_page();
  for (int key : {KEY_LOWER_LEFT, KEY_UPPER_RIGHT, KEY_LOWER_LEFT, KEY_UPPER_RIGHT}) press(key);
  ASSERT_EQ(shown_menu(), MENU_RESULT_GRAPH);
  press(KEY_LOWER_RIGHT);  // "Back": the list shown again
  ASSERT_TRUE(IsWindowVisible(list));
  press(KEY_UPPER_RIGHT);  // SELECT: the graph over it once more
  ASSERT_EQ(shown_menu(), MENU_RESULT_GRAPH);
  ASSERT_TRUE(pump_until([] { return plotter_title_buffer() == L"Demonstration session"; }, 10000));
  EXPECT_FALSE(IsWindowVisible(list));
  // The graph's text rows hold only the graph's texts (black on its
  // frame), nothing of the list (white, or its selection's colours).
  const std::vector<uint32_t> screen = screen_pixels();
  const RECT graph = on_screen(top_page());
  for (int y = graph.bottom - 38; y < graph.bottom; ++y) {
    for (int x = graph.left; x < graph.right; ++x) {
      ASSERT_NE(pixel(screen, x, y), WHITE) << "at " << x << ", " << y;
    }
  }
  press(KEY_LOWER_RIGHT);  // "Back"
  EXPECT_TRUE(IsWindowVisible(list));
}

// A blank key, touched on the screen or pressed on the stimulator, leaves
// the page and the menu as they were.
TEST_F(RoadScreen, ABlankKeyLeavesThePageAsItWas) {
  struct blankCase {
    const char* name;
    int menu;
    int blankKey;
  };
  const blankCase cases[] = {
      {"a message", MENU_MESSAGE, KEY_UPPER_LEFT},
      {"a message, lower left", MENU_MESSAGE, KEY_LOWER_LEFT},
      {"the shutdown question", MENU_SHUTDOWN_CONFIRM, KEY_LOWER_RIGHT},
  };
  for (const blankCase& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.menu == MENU_MESSAGE) {
      show_message(MESSAGE_ERROR, false, "!!! Compact Flash !!!\nIS FULL.");
    } else {
      press(KEY_LOWER_RIGHT);  // "Quit"
    }
    ASSERT_TRUE(pump_until([&c] { return shown_menu() == c.menu; }, 30000));
    pump_posted();
    ASSERT_TRUE(key_caption(c.blankKey).empty());
    const std::vector<uint32_t> before = page_pixels();
    SendMessageW(GetDlgItem(main_dialog, c.blankKey), BM_CLICK, 0, 0);  // a touch, through the button
    pump_posted();
    post_stimulator_byte(static_cast<uint8_t>(stimulator_key_of_control(c.blankKey)));
    pump_posted();
    EXPECT_EQ(shown_menu(), c.menu);
    EXPECT_TRUE(page_pixels() == before) << "the page changed";
    press(c.menu == MENU_MESSAGE ? KEY_LOWER_RIGHT : KEY_UPPER_LEFT);  // "Back" / "CANCEL"
    ASSERT_EQ(shown_menu(), MENU_MAIN);
  }
}

// Every soft key is the operator at work: the idle minutes start again,
// from the screen as from the stimulator, blank keys included.
TEST_F(RoadScreen, EverySoftKeyResetsTheIdleMinutes) {
  const struct {
    const char* name;
    bool stimulator;
    int control;
  } keys[] = {
      {"File Info on the screen", false, KEY_LOWER_LEFT},
      {"Back on the screen", false, KEY_LOWER_RIGHT},
      {"File Info on the stimulator", true, KEY_LOWER_LEFT},
      {"Back on the stimulator", true, KEY_LOWER_RIGHT},
  };
  for (const auto& k : keys) {
    SCOPED_TRACE(k.name);
    idle_minutes = 7;
    if (k.stimulator) {
      post_stimulator_byte(static_cast<uint8_t>(stimulator_key_of_control(k.control)));
      pump_posted();
    } else {
      press(k.control);
    }
    EXPECT_EQ(idle_minutes.load(), 0);
  }
  show_message(MESSAGE_WARNING, false, "A NOTICE");
  ASSERT_TRUE(pump_until([] { return shown_menu() == MENU_MESSAGE; }, 30000));
  idle_minutes = 7;
  press(KEY_UPPER_LEFT);  // blank on the message page
  EXPECT_EQ(idle_minutes.load(), 0) << "a blank key too";
  EXPECT_EQ(shown_menu(), MENU_MESSAGE);
}

}  // namespace
