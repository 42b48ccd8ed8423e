// Running a program on the unit: the whole road from "Acquire Data" to a
// stored, repeated and discarded test and the shutdown; pause, skip,
// restart and stop; the refusals before a run; a card that takes no file;
// the electrodes' noise reported after a test.
#include <gtest/gtest.h>

#include "handheld/engine/storage/card_files.h"
#include "handheld/ui/status/card_room.h"
#include "handheld/engine/electrodes/electrode_measurements.h"
#include "handheld/ui/menus/setup_electrode_window.h"
#include "platform/ce/unit_clock.h"
#include "handheld/ui/dialogs/key_captions.h"
#include "handheld/ui/frame/main_window.h"
#include "handheld/ui/message_display.h"
#include "handheld/ui/menu_request.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/plotter/plotter.h"
#include "handheld/engine/protocols/protocol_interpreter.h"
#include "handheld/ui/menus/tests/road_fixture.h"
#include "handheld/ui/menus/road_state.h"

namespace {

class RoadRun : public RoadTest {
 protected:
  // From the main menu: the id (its first character 'A'), the eye label
  // left, the test list and the test at list position.
  void choose_test(int position) {
    press(KEY_UPPER_LEFT);   // "Acquire Data"
    press(KEY_UPPER_RIGHT);  // TAB
    press(KEY_UPPER_LEFT);   // 'A'
    press(KEY_LOWER_RIGHT);  // "OK"
    press(KEY_LOWER_RIGHT);  // "NEXT"
    if (shown_menu() == MENU_MESSAGE) press(KEY_LOWER_RIGHT);  // no sessions: the notice's "Back"
    press(KEY_UPPER_RIGHT);  // "GO TO TEST LIST -->"
    for (int i = 0; i < position; ++i) press(KEY_LOWER_LEFT);
    press(KEY_UPPER_RIGHT);  // SELECT
  }
  // Until the run has ended and the page after the test shows. Sweeps are
  // collected from the simulated converter at the machine's pace: the bound
  // is generous for a loaded machine.
  bool run_to_end(int maxMs = 300000) {
    if (!pump_until([] { return !road.runStarted && shown_menu() == MENU_AFTER_TEST; }, maxMs)) return false;
    pump_posted();  // what the ended run left queued
    return true;
  }
};

TEST_F(RoadRun, TheWholeRoadKeepsOnlyTheTestsThatWereKept) {
  write_program(L"FLASH1.TES", flash_test_program("FLASH ONE", 3));
  write_program(L"SESSION.SES", session_program("SESSION", {"FLASH1"}, 1000));
  choose_test(0);
  ASSERT_EQ(shown_menu(), MENU_PROTOCOL_PAGE);

  press(KEY_UPPER_LEFT);  // "Run Protocol"
  EXPECT_NE(log_text().find("run protocol [FLASH1]"), std::string::npos);
  ASSERT_TRUE(run_to_end());
  EXPECT_EQ(key_caption(KEY_UPPER_LEFT), L"Repeat Protocol");
  EXPECT_EQ(key_caption(KEY_LOWER_RIGHT), L"Next");
  EXPECT_EQ(stored_tests(), std::vector<std::string>{"P01S00T0000A-A.tst"});

  press(KEY_LOWER_LEFT);  // "Discard Test"
  EXPECT_NE(plotter_row_text(-3).find(L"--- TEST DELETED ---"), std::wstring::npos);
  EXPECT_TRUE(stored_tests().empty());
  press(KEY_UPPER_LEFT);  // "Repeat Protocol"
  ASSERT_TRUE(run_to_end());
  EXPECT_EQ(stored_tests(), std::vector<std::string>{"P01S00T0000A-A.tst"}) << "the discarded number is taken again";
  press(KEY_UPPER_LEFT);
  ASSERT_TRUE(run_to_end());
  EXPECT_EQ(stored_tests(), (std::vector<std::string>{"P01S00T0000A-A.tst", "P01S00T0001A-A.tst"}));

  press(KEY_LOWER_RIGHT);  // "Next"
  EXPECT_EQ(shown_menu(), MENU_PROTOCOL_PAGE);
  press(KEY_LOWER_RIGHT);  // "Back"
  EXPECT_EQ(shown_menu(), MENU_MAIN);
  press(KEY_LOWER_RIGHT);  // "Quit"
  EXPECT_EQ(shown_menu(), MENU_SHUTDOWN_CONFIRM);
  press(KEY_UPPER_RIGHT);  // "SHUTDOWN"
  EXPECT_TRUE(pump_until([] { return quit_flag.load() != 0; }, 5000));
  EXPECT_EQ(stored_tests().size(), 2u);
}

TEST_F(RoadRun, AFullCardAndAMissingProtocolAreRefusedAndNothingIsWritten) {
  write_program(L"FLASH1.TES", flash_test_program("FLASH ONE", 3));
  choose_test(0);
  ASSERT_EQ(shown_menu(), MENU_PROTOCOL_PAGE);
  set_free_space_probe([](int64_t& freeBytes, unsigned long&) {
    freeBytes = 96680;
    return true;
  });
  clear_remote_transcript();
  press(KEY_UPPER_LEFT);  // "Run Protocol"
  EXPECT_NE(remote_transcript().find("[!!! Compact Flash !!!\nIS FULL.]"), std::string::npos) << remote_transcript();
  EXPECT_FALSE(road.runStarted);
  press(KEY_LOWER_RIGHT);  // the message's "Back"
  EXPECT_EQ(shown_menu(), MENU_AFTER_TEST) << "back on the page after a test, nothing run";
  set_free_space_probe(nullptr);

  press(KEY_LOWER_RIGHT);  // "Next"
  ASSERT_EQ(shown_menu(), MENU_PROTOCOL_PAGE);
  deselect_program();
  clear_remote_transcript();
  press(KEY_UPPER_LEFT);
  EXPECT_NE(remote_transcript().find("[*** NO PROTOCOL HAS BEEN SELECTED ***]"), std::string::npos);
  EXPECT_EQ(shown_menu(), MENU_MESSAGE);
  pump_until_idle(300);
  EXPECT_TRUE(stored_tests().empty());
}

TEST_F(RoadRun, TheRunsEndWaitsBehindAMessageAndIsNoKeyPress) {
  write_program(L"FLASH1.TES", flash_test_program("FLASH ONE", 20));
  choose_test(0);
  ASSERT_EQ(shown_menu(), MENU_PROTOCOL_PAGE);
  hold_run_when([] { return run_inside_test(); });
  press(KEY_UPPER_LEFT);  // "Run Protocol"
  ASSERT_TRUE(pump_until([] { return run_held(); }, 20000));
  show_message(MESSAGE_WARNING, false, "A NOTICE OVER THE RUN");
  pump_until_idle(100);
  ASSERT_EQ(shown_menu(), MENU_MESSAGE);
  continue_run();
  ASSERT_TRUE(pump_until([] { return !run_commands.running.load(); }, 20000));
  pump_until_idle(300);
  EXPECT_EQ(shown_menu(), MENU_MESSAGE) << "the run's end does not close the message";
  EXPECT_EQ(page_text(1093), L"A NOTICE OVER THE RUN");
  press(KEY_LOWER_RIGHT);  // the message's "Back": the running page takes the end
  EXPECT_EQ(shown_menu(), MENU_AFTER_TEST);
  EXPECT_FALSE(road.runStarted);
  EXPECT_EQ(stored_tests().size(), 1u);
  press(KEY_LOWER_RIGHT);  // "Next"
  EXPECT_EQ(shown_menu(), MENU_PROTOCOL_PAGE);
}

// What the operator does while a session of two tests runs, and what is
// stored after it. Each case holds the run at its moment (inside the first
// test, or in the session's first wait) before the key is pressed, so the
// key finds the run where the case says.
struct runCase {
  const char* name;
  bool inTest;                 // held inside the first test, else in the first wait
  std::vector<int> keys;       // pressed while held (after "Pause" unless stopping)
  size_t stored;               // tests on the card after the run
  std::vector<std::wstring> pausedCaptions;
};

TEST_F(RoadRun, PauseSkipRestartAndStop) {
  write_program(L"FLASH1.TES", flash_test_program("FLASH ONE", 20));
  write_program(L"FLASH2.TES", flash_test_program("FLASH TWO", 20));
  write_program(L"TWO.TES", session_program("TWO TESTS", {"FLASH1", "FLASH2"}, 120000));
  const std::vector<std::wstring> inTest{L"Continue", L"Skip Test", L"Restart Test", L""};
  const std::vector<std::wstring> inWait{L"Continue", L"Skip Session", L"Restart Session", L"Skip Wait"};
  const runCase cases[] = {
      {"continue", true, {KEY_UPPER_LEFT, KEY_UPPER_LEFT}, 2, inTest},
      {"skip test", true, {KEY_UPPER_LEFT, KEY_LOWER_LEFT}, 1, inTest},
      {"restart test", true, {KEY_UPPER_LEFT, KEY_UPPER_RIGHT}, 2, inTest},
      {"skip session", false, {KEY_UPPER_LEFT, KEY_LOWER_LEFT}, 0, inWait},
      {"restart session", false, {KEY_UPPER_LEFT, KEY_UPPER_RIGHT}, 2, inWait},
      {"skip wait", false, {KEY_UPPER_LEFT, KEY_LOWER_RIGHT}, 2, inWait},
      {"stop in a test", true, {KEY_LOWER_RIGHT}, 0, {}},
      // Paused in a test the lower-right key is blank: it stops nothing.
      {"blank key paused in a test", true, {KEY_UPPER_LEFT, KEY_LOWER_RIGHT}, 2, inTest},
  };
  choose_test(2);  // TWO
  ASSERT_EQ(shown_menu(), MENU_PROTOCOL_PAGE) << remote_transcript();
  for (const runCase& c : cases) {
    SCOPED_TRACE(c.name);
    const size_t before = stored_tests().size();
    // Held inside the first test, or in the session's first wait (its
    // seconds shown, no test open).
    if (c.inTest) {
      hold_run_when([] { return run_inside_test(); });
    } else {
      hold_run_when([] { return !run_inside_test() && plotter_row_text(-3).find(L"wait") != std::wstring::npos; });
    }
    press(KEY_UPPER_LEFT);  // "Run Protocol"
    ASSERT_EQ(shown_menu(), MENU_RUNNING);
    ASSERT_TRUE(pump_until([] { return run_held(); }, 20000)) << "the run holds where the case says";
    for (size_t k = 0; k < c.keys.size(); ++k) {
      touch_key(c.keys[k]);
      pump_until_idle(50);
      if (k == 0 && !c.pausedCaptions.empty()) {
        EXPECT_EQ((std::vector<std::wstring>{key_caption(KEY_UPPER_LEFT), key_caption(KEY_LOWER_LEFT), key_caption(KEY_UPPER_RIGHT), key_caption(KEY_LOWER_RIGHT)}),
                  c.pausedCaptions);
      }
    }
    if (c.keys.size() == 1) {
      EXPECT_EQ(shown_menu(), MENU_RUNNING) << "a stopped run still held: the page waits for its end";
    }
    continue_run();  // a case that never paused through its keys lets the run go
    ASSERT_TRUE(run_to_end());
    EXPECT_EQ(stored_tests().size() - before, c.stored);
    press(KEY_LOWER_RIGHT);  // "Next"
    ASSERT_EQ(shown_menu(), MENU_PROTOCOL_PAGE) << "the end of the run was not taken as Next";
  }
}

// A card that takes no file (read-only): the run ends at its first test
// with one message, the log says so once, nothing stored before changes,
// and three keys lead back to the main menu.
TEST_F(RoadRun, ACardThatTakesNoFileEndsTheRunWithOneMessage) {
  write_program(L"FLASH1.TES", flash_test_program("FLASH ONE", 5));
  store_patient_test(9, 0, "KEPT");
  const std::vector<std::string> before = stored_tests();
  choose_test(0);
  ASSERT_EQ(shown_menu(), MENU_PROTOCOL_PAGE);
  // The card turns read-only once the start-up has set the day's folder
  // (its log has begun).
  ASSERT_TRUE(pump_until([this] { return log_text().find("set_ERG_directory, g_ERG_directory_index") != std::string::npos; }));
  struct writable {
    ~writable() { set_card_read_only(false); }
  } restore;
  set_card_read_only(true);
  clear_remote_transcript();
  const size_t logBefore = log_text().size();
  press(KEY_UPPER_LEFT);  // "Run Protocol"
  ASSERT_TRUE(pump_until([] { return !run_commands.running.load() && shown_menu() == MENU_MESSAGE; }, 60000));
  ASSERT_TRUE(pump_until([] { return menu_request_count() == 0; }, 5000));
  const std::string line = remote_transcript();
  size_t messages = 0;
  for (size_t at = line.find("\r\n["); at != std::string::npos; at = line.find("\r\n[", at + 1)) ++messages;
  if (line.rfind("[", 0) == 0) ++messages;
  EXPECT_EQ(messages, 1u) << line;
  EXPECT_NE(line.find("UNABLE TO OPEN"), std::string::npos) << line;
  EXPECT_EQ(line.find("OVERFLOW"), std::string::npos);
  EXPECT_LT(log_text().size() - logBefore, 4096u) << "the log stays short";

  press(KEY_LOWER_RIGHT);  // the message's "Back": the page after the test
  EXPECT_EQ(shown_menu(), MENU_AFTER_TEST);
  press(KEY_LOWER_RIGHT);  // "Next"
  press(KEY_LOWER_RIGHT);  // "Back"
  EXPECT_EQ(shown_menu(), MENU_MAIN);
  EXPECT_EQ(stored_tests(), before);
}

// Electrodes whose last check found a channel too noisy are reported when
// a test has been taken, before the protocol goes on.
TEST_F(RoadRun, NoisyElectrodesAreReportedAfterATest) {
  write_program(L"FLASH1.TES", flash_test_program("FLASH ONE", 3));
  choose_test(0);
  ASSERT_EQ(shown_menu(), MENU_PROTOCOL_PAGE);
  electrode_results.impedance_a_eye = MEASUREMENT_FAILED;
  electrode_monitor.stabilise_channel = 0;
  electrode_monitor.stabilise_failed = 1;
  note_electrode_measurement(ELECTRODE_MODE_IMPEDANCE);
  electrode_monitor.stabilise_failed = 0;
  ASSERT_TRUE(electrode_noise_failed());
  press(KEY_UPPER_LEFT);  // "Run Protocol"
  ASSERT_TRUE(pump_until([] { return page_text(1093).find(L"CHECK CHANNEL A") != std::wstring::npos; }, 60000))
      << "the report on its page";
  EXPECT_FALSE(road.runStarted);
  EXPECT_EQ(shown_menu(), MENU_MESSAGE);
  EXPECT_EQ(stored_tests().size(), 1u);
  press(KEY_LOWER_RIGHT);  // "Back": the protocol page, to check the electrodes or go on
  EXPECT_EQ(shown_menu(), MENU_PROTOCOL_PAGE);
}

}  // namespace
