#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <thread>
#include <memory>
#include <string>
#include <vector>

#include "handheld/engine/hardware/board_options.h"
#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/tests/card_fixture.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/electrodes/electrode_monitor.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/tests/engine_message_capture.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "handheld/engine/protocols/interpreter_screen.h"
#include "handheld/engine/stimulator/main_dialog_post_capture.h"
#include "handheld/engine/protocols/program_error.h"
#include "handheld/engine/storage/program_files.h"
#include "handheld/engine/protocols/protocol_interpreter.h"
#include "handheld/engine/protocols/protocol_program.h"
#include "handheld/engine/storage/record_init.h"
#include "platform/unit/sim_unit.h"
#include "handheld/engine/tests/simulated_unit.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/engine/storage/test_files.h"
#include "handheld/engine/storage/test_folders.h"
#include "platform/ce/unit_clock.h"
#include "handheld/engine/storage/unit_time.h"

namespace {

// Records when each sweep was drawn and the texts shown.
class recordingScreen : public interpreterScreen {
 public:
  void row_text(int, int row, int column, const wchar_t* text) override {
    rows.push_back(std::to_wstring(row) + L"," + std::to_wstring(column) + L":" + text);
    if (on_row) on_row(rows.back());
  }
  std::function<void(const std::wstring&)> on_row;
  void draw_sweep(const samplesBlock&, double, double) override {
    sweep_ticks.push_back(unit_tick_ms());
    if (on_sweep) on_sweep();
  }
  std::function<void()> on_sweep;
  void show_test_label(const testFileRecord&) override {
    if (++labels == trigger_label && on_label) on_label();
  }
  int labels = 0;
  int trigger_label = 1;
  std::function<void()> on_label;
  void request_menu(int page, int menu) override { menus.emplace_back(page, menu); }
  bool shown(const std::wstring& text) const { return std::find(rows.begin(), rows.end(), text) != rows.end(); }
  std::vector<std::pair<int, int>> menus;
  std::vector<uint32_t> sweep_ticks;
  std::vector<std::wstring> rows;
};

// The simulated unit with its stimulator and a fresh storage card.
class Interpreter : public SimulatedUnit {
 protected:
  void SetUp() override {
    SimulatedUnit::SetUp();
    load_default_calibration();
    open_stimulator();
    card_ = set_up_test_card(folder_);
    run_count = 4;
    channels.a_on = 1;
    channels.b_on = 1;
    set_entered_test_id(nullptr);
    ASSERT_TRUE(set_ERG_directory(false));
    for (uint32_t input : {0u, 1u}) {
      sim_signal signal;
      sim_signal_defaults(input, &signal);
      sim_signal_set(input, &signal);
    }
    program_ = std::make_unique<programRecord>();
    clear_program(*program_);
    std::strcpy(program_->Texts[0], "???");  // no title of its own: the caller's is kept
    set_interpreter_screen(&screen_);
  }
  void TearDown() override {
    set_interpreter_screen(nullptr);
    is_master = 0;
    is_slave = 0;
    send_8051_byte(COMMAND_DONE);
    reset_calibration_table();
    channels.a_on = 1;
    channels.b_on = 0;
    tear_down_test_card();
    set_unit_time_filetime(0);
    SimulatedUnit::TearDown();
  }

  std::filesystem::path in_folder(const std::wstring& name) const { return card_ / "T240315_CFC7" / name; }
  std::vector<std::wstring> stored(const wchar_t* extension) const {
    std::vector<std::wstring> names;
    for (const auto& e : std::filesystem::directory_iterator(card_ / "T240315_CFC7")) {
      if (e.path().extension() == extension) names.push_back(e.path().filename().wstring());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  void push(uint16_t opcode, uint32_t value) { ASSERT_TRUE(push_step(*program_, opcode, value, 0)); }
  // A single flash with pre and post milliseconds.
  static uint32_t rfr(uint32_t pre, uint32_t post) { return (pre << 24) | post; }
  // A program on the card for a session to call (also kept in `called`):
  // one flash test with no title of its own, ended by the step given.
  static void write_called_test(const wchar_t* path, uint16_t endOpcode, uint32_t endValue,
                                programRecord& called) {
    clear_program(called);
    std::strcpy(called.Texts[0], "???");
    ASSERT_TRUE(push_step(called, OPCODE_TEST, 0, 0));
    ASSERT_TRUE(push_step(called, OPCODE_INTENSITY, 20000, 0));
    ASSERT_TRUE(push_step(called, OPCODE_RFR, rfr(5, 40), 0));
    ASSERT_TRUE(push_step(called, endOpcode, endValue, 0));
    ASSERT_TRUE(write_program_file(path, called));
  }

  // TEST, INTENSITY 20000, body, END TEST.
  void single_test(const std::vector<std::pair<uint16_t, uint32_t>>& body) {
    push(OPCODE_TEST, 0);
    push(OPCODE_INTENSITY, 20000);
    for (const auto& step : body) push(step.first, step.second);
    push(OPCODE_END_TEST, 0);
  }
  std::unique_ptr<testFileRecord> read_stored(const std::wstring& name) {
    auto read = std::make_unique<testFileRecord>();
    EXPECT_TRUE(read_tst_file(*read, name)) << std::string(name.begin(), name.end());
    return read;
  }

  std::filesystem::path card_;
  std::unique_ptr<programRecord> program_;
  recordingScreen screen_;
};

TEST_F(Interpreter, SingleFlashTestStoresBothChannels) {
  set_entered_test_id(L"AB12");
  push(OPCODE_TEST, 0);
  push(OPCODE_INTENSITY, 20000);
  push(OPCODE_RFR, rfr(20, 180));
  push(OPCODE_END_TEST, 0);
  ASSERT_TRUE(scan_program(*program_));
  engine_message_capture capture;
  ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"PHOTOPIC"));
  EXPECT_TRUE(capture.messages().empty());
  EXPECT_FALSE(run_commands.running);

  const std::vector<std::wstring> names = stored(L".tst");
  ASSERT_EQ(names, (std::vector<std::wstring>{L"P01S00T0004A-AB12.tst", L"P01S00T0004B-AB12.tst"}));
  for (int channel = 0; channel < 2; ++channel) {
    EXPECT_EQ(std::filesystem::file_size(in_folder(names[channel])), 96681u);
    auto read = std::make_unique<testFileRecord>();
    ASSERT_TRUE(read_tst_file(*read, names[channel]));
    EXPECT_EQ(read->T, 0);
    EXPECT_EQ(read->N, 4);
    EXPECT_EQ(read->TestId[0], u'A');
    EXPECT_EQ(read->ProtocolName[0], u'P');
    EXPECT_EQ(read->FlickerMark, u'N');
    EXPECT_EQ(read->Config.Intensity, 20000);
    EXPECT_EQ(read->Config.PreTime, 20);
    EXPECT_EQ(read->Config.PostTime, 180);
    EXPECT_EQ(read->Average.Divisor, 1.0);
    EXPECT_EQ(read->Average.CollectionTime, 20u);
    EXPECT_NEAR(read->LastSweep.Time, 200.0, 1.0);
    // The b-wave rises well above the pre-flash baseline: the response was recorded.
    const double scale = read->Config.Scale;
    const int flash = read->Average.PointCount * 20 / 200;
    const int peak = read->Average.PointCount * 60 / 200;
    EXPECT_GT((read->Average.Data[peak] - read->Average.Data[flash / 2]) * scale, 0.0) << channel;
  }
}

// The stored average is the simulated eye's response: flat before the
// flash, the a-wave trough at 15 ms and the b-wave peak at 40 ms after it,
// each of its size per volt-millisecond of the flash's light, within the
// noise left after averaging.
TEST_F(Interpreter, StoredAverageIsTheSimulatedResponse) {
  channels.b_on = 0;
  sim_signal signal;
  sim_signal_defaults(0, &signal);
  signal.response = SIM_RESPONSE_SHAPE;
  signal.noise_uv = 4.0;
  sim_signal_set(0, &signal);
  single_test({{OPCODE_REPEAT_MS, (1000u << 16) | 16u}, {OPCODE_RFR, rfr(20, 180)}, {OPCODE_END_REPEAT, 0}});
  ASSERT_TRUE(scan_program(*program_));
  ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"RESPONSE"));
  sim_stim_state stimulator{};
  sim_stim_get_state(&stimulator);
  const double light = stimulator.last_flash_vms;
  ASSERT_GT(light, 0.0);

  auto read = read_stored(L"P01S00T0004A-0000000000.tst");
  const samplesBlock& avg = read->Average;
  ASSERT_EQ(avg.Divisor, 16.0);
  // Microvolts of the average at t ms after the flash.
  auto at = [&](double t) {
    const double from_start = avg.CollectionTime + t;
    const int i = static_cast<int>(from_start * avg.PointCount / avg.Time + 0.5);
    return avg.Data[i] / avg.Divisor * read->Config.Scale + read->Config.Offset;
  };
  const double noise = 4.0 * 4.0 / std::sqrt(16.0);  // four standard deviations of the mean
  EXPECT_NEAR(at(-10.0), signal.baseline_uv, noise);
  EXPECT_NEAR(at(signal.a_wave_ms), signal.baseline_uv - signal.a_wave_uv * light, noise + 0.02 * signal.a_wave_uv * light);
  EXPECT_NEAR(at(signal.b_wave_ms), signal.baseline_uv + signal.b_wave_uv * light, noise + 0.02 * signal.b_wave_uv * light);
  EXPECT_NEAR(at(170.0), signal.baseline_uv, noise);
}

// The electrode check (the monitor's passes, impedance checks included)
// leaves the converter and the stimulator as a test needs them: the test
// recorded after it stores as many points as the same test without it, and
// no sweep starts from a failed conversion.
TEST_F(Interpreter, TestAfterTheElectrodeCheckStoresAsWithoutIt) {
  single_test({{OPCODE_REPEAT_MS, (2000u << 16) | 4u}, {OPCODE_RFR, rfr(20, 230)}, {OPCODE_END_REPEAT, 0}});
  ASSERT_TRUE(scan_program(*program_));
  struct firstValues {
    int points;
    int32_t first;
  };
  // The channel A record the last run added.
  const auto record = [&] {
    const std::vector<std::wstring> names = stored(L".tst");
    const auto last = std::find_if(names.rbegin(), names.rend(), [](const std::wstring& n) { return n[11] == L'A'; });
    EXPECT_NE(last, names.rend());
    if (last == names.rend()) return firstValues{0, 0};
    auto read = read_stored(*last);
    return firstValues{read->Average.PointCount, read->LastSweep.Data[0]};
  };
  ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"BEFORE"));
  const firstValues without = record();
  ASSERT_EQ(2u, stored(L".tst").size());

  {
    main_dialog_post_capture notices;
    const auto passes = [&notices] {
      size_t n = 0;
      for (const mainDialogNotice& p : notices.notices()) n += p.wparam == ELECTRODE_VALUES_READY ? 1 : 0;
      return n;
    };
    copy_default_parameters();
    set_electrode_calibration();
    const sim_electrode electrode{3000.0, 0.0, 0.0};
    for (uint32_t input : {0u, 1u}) {
      sim_electrode_set(input, SIM_EYE, &electrode);
      sim_electrode_set(input, SIM_REFERENCE, &electrode);
    }
    ASSERT_TRUE(start_electrode_monitor_thread());
    monitor_control.impedance_wanted = 1;
    monitor_control.active = 1;
    for (size_t pass = 1; pass <= 18; ++pass) {
      signal_electrode_monitor();
      ASSERT_TRUE(notices.wait_for_kind(ELECTRODE_VALUES_READY, pass, 60000));
      ASSERT_EQ(pass, passes());
    }
    EXPECT_EQ(STATUS_GOOD, monitor_channels[0].eye_status.load()) << "no impedance check made";
    stop_electrode_monitor_thread();  // ends the pass in hand and joins the thread
    monitor_control.impedance_wanted = 0;
  }

  ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"AFTER"));
  ASSERT_EQ(2u, stored(L".tst").size());  // the same test number, stored over the first
  const firstValues with = record();
  EXPECT_EQ(without.points, with.points);
  EXPECT_NE(0, with.first);
  EXPECT_NEAR(without.first, with.first, 0.02 * std::abs(without.first));
}

TEST_F(Interpreter, RepeatFlashesAtAFixedRateFromItsStart) {
  channels.b_on = 0;
  single_test({{OPCODE_REPEAT_MS, (1000u << 16) | 10u}, {OPCODE_RFR, rfr(20, 180)}, {OPCODE_END_REPEAT, 0}});
  ASSERT_TRUE(scan_program(*program_));
  ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"REPEAT"));
  ASSERT_EQ(screen_.sweep_ticks.size(), 10u);
  for (size_t i = 1; i < 10; ++i) {
    EXPECT_EQ(screen_.sweep_ticks[i] - screen_.sweep_ticks[0], 1000u * i) << i;
  }
  EXPECT_TRUE(screen_.shown(L"-2,19:repeat  10     "));
  EXPECT_TRUE(screen_.shown(L"-2,30:10"));
  auto read = read_stored(L"P01S00T0004A-0000000000.tst");
  EXPECT_EQ(read->Average.Divisor, 10.0);
  EXPECT_EQ(read->TestId[0], u'0');
  EXPECT_FALSE(std::filesystem::exists(in_folder(L"P01S00T0004B-0000000000.tst")));
}

TEST_F(Interpreter, SixtyFlashesKeepFortyNineSweepsAndTheirSampleFiles) {
  channels.b_on = 0;
  store_system_parameter(PARAM_SAMPLES, 1);
  single_test({{OPCODE_REPEAT, 60}, {OPCODE_RFR, rfr(5, 40)}, {OPCODE_END_REPEAT, 0}});
  ASSERT_TRUE(scan_program(*program_));
  ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"MANY"));
  EXPECT_EQ(last_test_sweep_count(), 49);
  auto read = read_stored(L"P01S00T0004A-0000000000.tst");
  EXPECT_EQ(read->Average.Divisor, 49.0);
  EXPECT_EQ(stored(L".spl").size(), 48u);
  EXPECT_TRUE(std::filesystem::exists(in_folder(L"P01S00T0004A-0000000000-47.spl")));
}

// [SAMPLES] as the ini file may hold it: a whole number of at least 1
// writes sample files, whatever its size; below 1 none.
TEST_F(Interpreter, SampleFilesFollowTheSamplesParameterOfAnySize) {
  channels.b_on = 0;
  single_test({{OPCODE_REPEAT, 3}, {OPCODE_RFR, rfr(5, 40)}, {OPCODE_END_REPEAT, 0}});
  ASSERT_TRUE(scan_program(*program_));
  const std::pair<double, size_t> cases[] = {{1e300, 2u}, {0.5, 0u}, {-1e300, 0u}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    std::filesystem::remove_all(card_ / "T240315_CFC7");
    ASSERT_TRUE(set_ERG_directory(false));
    store_system_parameter(PARAM_SAMPLES, c.first);
    ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"SAMPLES"));
    EXPECT_EQ(stored(L".spl").size(), c.second);
  }
}

TEST_F(Interpreter, WaitOutsideAnyBlockTimesItself) {
  channels.b_on = 0;
  push(OPCODE_WAIT, 1500);
  single_test({{OPCODE_RFR, rfr(20, 180)}});
  ASSERT_TRUE(scan_program(*program_));
  const uint32_t start = unit_tick_ms();
  ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"WAIT"));
  ASSERT_EQ(screen_.sweep_ticks.size(), 1u);
  EXPECT_GE(screen_.sweep_ticks[0] - start, 1500u + 200u);
  EXPECT_TRUE(screen_.shown(L"-3,21:wait   1      "));
  EXPECT_TRUE(screen_.shown(L"-3,30:  1"));
  EXPECT_TRUE(screen_.shown(L"-3,11:END OF PROTOCOL"));
}

// FLICKER(2): count 60, sweeps of 40 ms, one every 50 ms.
TEST_F(Interpreter, FlickerTrainKeepsFortyNineSweepsMarkedAsFlicker) {
  channels.b_on = 0;
  single_test({{OPCODE_FLICKER2, (50u << 20) | (40u << 10) | 60u}});
  ASSERT_TRUE(scan_program(*program_));
  engine_message_capture capture;
  ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"FLICKER"));
  EXPECT_TRUE(capture.messages().empty());
  EXPECT_EQ(last_test_sweep_count(), 49);
  auto read = read_stored(L"P01S00T0004A-0000000000.tst");
  EXPECT_EQ(read->FlickerMark, u'Y');
  EXPECT_EQ(read->Average.Divisor, 49.0);
  EXPECT_NEAR(read->Average.Time, 40.0, 1.0);
  EXPECT_TRUE(screen_.shown(L"5,6:-- FLICKER RUNNING --"));
}

// The operator pauses at the third second of a 10 s wait for 5 s: the wait
// keeps its 3 s and runs 7 s more.
TEST_F(Interpreter, PausedWaitResumesWithTheSecondsItHadWaited) {
  channels.b_on = 0;
  single_test({{OPCODE_WAIT, 10000}, {OPCODE_RFR, rfr(20, 180)}});
  ASSERT_TRUE(scan_program(*program_));
  std::thread operator_thread;
  screen_.on_row = [&operator_thread](const std::wstring& text) {
    if (text != L"-3,30:  3" || operator_thread.joinable()) return;
    pause_run();
    operator_thread = std::thread([] {
      unit_sleep_ms(5000);
      continue_run();
    });
  };
  const uint32_t start = unit_tick_ms();
  ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"PAUSE"));
  ASSERT_TRUE(operator_thread.joinable());
  operator_thread.join();
  ASSERT_EQ(screen_.sweep_ticks.size(), 1u);
  const uint32_t taken = screen_.sweep_ticks[0] - start;
  EXPECT_GE(taken, 15000u + 200u);
  EXPECT_LT(taken, 15000u + 400u);
}

// The operator's commands at the start of a test (the session shows its
// label first): a restarted test keeps its number outside a session and
// takes the one after the next inside; a skipped test is not stored; a
// restarted session runs again as the next session, also when the command
// comes while a called test runs; a skipped session stores nothing more.
TEST_F(Interpreter, RestartAndSkipNumberTheTests) {
  struct commandCase {
    const char* what;
    int session_tests;  // 0: one test outside a session
    bool called;        // the session calls its tests
    std::atomic<bool>* command;
    int label;
    std::vector<std::wstring> stored;
  };
  const std::vector<commandCase> cases = {
      {"restart test outside a session", 0, false, &run_commands.restart_test, 1, {L"P01S00T0004A-0000000000.tst"}},
      {"restart test in a session", 2, false, &run_commands.restart_test, 2,
       {L"P01S01T0304A-0000000000.tst", L"P01S01T0404A-0000000000.tst"}},
      {"skip test in a session", 2, false, &run_commands.skip_test, 2, {L"P01S01T0204A-0000000000.tst"}},
      {"restart session", 2, false, &run_commands.restart_session, 3,
       {L"P01S01T0104A-0000000000.tst", L"P01S02T0104A-0000000000.tst", L"P01S02T0204A-0000000000.tst"}},
      {"restart session in a called test", 2, true, &run_commands.restart_session, 3,
       {L"P01S01T0104A-0000000000.tst", L"P01S02T0104A-0000000000.tst", L"P01S02T0204A-0000000000.tst"}},
      {"skip session", 3, false, &run_commands.skip_session, 3, {L"P01S01T0104A-0000000000.tst"}},
      {"skip session in a called test", 3, true, &run_commands.skip_session, 3, {L"P01S01T0104A-0000000000.tst"}},
  };
  channels.b_on = 0;
  auto called = std::make_unique<programRecord>();
  ASSERT_NO_FATAL_FAILURE(write_called_test(L"Storage Card\\ONE.tes", OPCODE_END_TEST, 0, *called));
  for (const commandCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(card_ / "T240315_CFC7");
    ASSERT_TRUE(set_ERG_directory(false));
    session_number = 0;
    clear_program(*program_);
    std::strcpy(program_->Texts[0], "???");
    if (c.session_tests == 0) single_test({{OPCODE_RFR, rfr(5, 40)}});
    if (c.session_tests > 0) push(OPCODE_SESSION, 0);
    for (int i = 0; i < c.session_tests; ++i) {
      if (c.called) {
        ASSERT_TRUE(push_step(*program_, OPCODE_CALL, 0, pack_name("ONE")));
      } else {
        single_test({{OPCODE_RFR, rfr(5, 40)}});
      }
    }
    if (c.session_tests > 0) push(OPCODE_END_SESSION, 0);
    ASSERT_TRUE(scan_program(*program_));
    screen_.labels = 0;
    std::atomic<bool>* command = c.command;
    screen_.trigger_label = c.label;
    screen_.on_label = [command] { *command = true; };
    engine_message_capture capture;
    EXPECT_TRUE(Execute(*program_, 0, 0, 0, 0, L"COMMANDS"));
    EXPECT_TRUE(capture.messages().empty());
    EXPECT_EQ(stored(L".tst"), c.stored);

    // The next run starts afresh: its test is numbered outside any session.
    std::filesystem::remove_all(card_ / "T240315_CFC7");
    ASSERT_TRUE(set_ERG_directory(true));
    clear_program(*program_);
    std::strcpy(program_->Texts[0], "???");
    single_test({{OPCODE_RFR, rfr(5, 40)}});
    ASSERT_TRUE(scan_program(*program_));
    screen_.on_label = nullptr;
    EXPECT_TRUE(Execute(*program_, 0, 0, 0, 0, L"NEXT"));
    const std::vector<std::wstring> next = stored(L".tst");
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0].substr(6), L"T0004A-0000000000.tst");
  }
}

// A minute's wait before a test, ended by the operator at its third second
// with "Skip Wait", or with "Restart Session" outside any session (no block
// to unwind: the run carries on): the test runs at once.
TEST_F(Interpreter, OperatorEndsAWait) {
  channels.b_on = 0;
  push(OPCODE_WAIT, 60000);
  single_test({{OPCODE_RFR, rfr(20, 180)}});
  ASSERT_TRUE(scan_program(*program_));
  for (std::atomic<bool>* command : {&run_commands.skip_wait, &run_commands.restart_session}) {
    screen_.sweep_ticks.clear();
    screen_.on_row = [command](const std::wstring& text) {
      if (text == L"-3,30:  3") *command = true;
    };
    const uint32_t start = unit_tick_ms();
    ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"WAIT"));
    ASSERT_EQ(screen_.sweep_ticks.size(), 1u);
    EXPECT_GE(screen_.sweep_ticks[0] - start, 3000u + 200u);
    EXPECT_LT(screen_.sweep_ticks[0] - start, 4000u + 200u);
    EXPECT_EQ(stored(L".tst"), std::vector<std::wstring>{L"P01S00T0004A-0000000000.tst"});
  }
}

// A restart pressed as the previous run ended does not stop the next one.
TEST_F(Interpreter, RestartLeftFromTheLastRunIsNoCommand) {
  channels.b_on = 0;
  single_test({{OPCODE_RFR, rfr(5, 40)}});
  ASSERT_TRUE(scan_program(*program_));
  run_commands.restart_test = true;
  engine_message_capture capture;
  EXPECT_TRUE(Execute(*program_, 0, 0, 0, 0, L"STALE"));
  EXPECT_TRUE(capture.messages().empty());
  EXPECT_EQ(stored(L".tst").size(), 1u);
}

TEST_F(Interpreter, TestThreadRunsTheLoadedProgramOnRunSet) {
  channels.b_on = 0;
  single_test({{OPCODE_RFR, rfr(20, 180)}});
  ASSERT_TRUE(scan_program(*program_));
  set_loaded_program(*program_);
  main_dialog_post_capture posts;
  start_test_thread();
  sent_to_stimulator();
  signal_run_set();
  const auto run_ended = [&posts] {
    for (const mainDialogNotice& n : posts.notices()) {
      if (n.target == NOTICE_MAIN_DIALOG && n.message == NOTICE_WM_COMMAND && n.wparam == RUN_ENDED_COMMAND &&
          n.lparam == RUN_ENDED_CODE) {
        return true;
      }
    }
    return false;
  };
  for (int i = 0; i < 5000 && !run_ended(); ++i) posts.wait_for(posts.notices().size() + 1, 1);
  stop_test_thread();
  EXPECT_TRUE(run_ended()) << "the main dialog was not told the run ended";
  EXPECT_TRUE(last_run_result());
  EXPECT_EQ(stored(L".tst").size(), 1u);
  const std::vector<uint8_t> sent = sent_to_stimulator();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.back(), COMMAND_DONE);
}

// A Stop given as soon as the run is asked for, before the test thread has
// woken, holds: the run's commands are cleared when it is asked for, not
// when it begins.
TEST_F(Interpreter, AStopBeforeTheRunBeginsHolds) {
  channels.b_on = 0;
  single_test({{OPCODE_RFR, rfr(20, 180)}});
  ASSERT_TRUE(scan_program(*program_));
  set_loaded_program(*program_);
  main_dialog_post_capture posts;
  run_commands.skip_wait = true;  // left by an earlier run
  signal_run_set();
  EXPECT_FALSE(run_commands.skip_wait.load());
  run_commands.stop = true;
  start_test_thread();  // wakes to the run already asked for
  const bool ended = posts.wait_for(1, 20000);
  stop_test_thread();
  EXPECT_TRUE(ended) << "the main dialog was told the run ended";
  EXPECT_TRUE(stored(L".tst").empty()) << "the stopped run stored nothing";
}

// FLICKER(1), a flash every 20 ms, 60 flashes: sweeps of 4 x 20 - 10 = 70 ms
// on the single-flash collectors while the stimulator flickers, each
// starting at the next flash; the 1.2 s of flashes hold 15 of them, and
// 60 / ceil(70 / 20 - 0.2) = 15 are averaged.
TEST_F(Interpreter, FirstFlickerKeepsItsSweepsAndAveragesItsShare) {
  channels.b_on = 0;
  single_test({{OPCODE_FLICKER1, (60u << 16) | 20u}});
  ASSERT_TRUE(scan_program(*program_));
  engine_message_capture capture;
  ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"FLICKER"));
  EXPECT_TRUE(capture.messages().empty());
  sim_stim_state stimulator{};
  sim_stim_get_state(&stimulator);
  EXPECT_NEAR(stimulator.flicker_period_us, 20000.0, 200.0);
  EXPECT_EQ(last_test_sweep_count(), 15);
  auto read = read_stored(L"P01S00T0004A-0000000000.tst");
  EXPECT_EQ(read->FlickerMark, u'Y');
  EXPECT_EQ(read->Average.Divisor, 15.0);
  EXPECT_NEAR(read->Average.Time, 70.0, 1.0);
  EXPECT_EQ(screen_.menus, (std::vector<std::pair<int, int>>{{17, 33}, {17, 46}}));
}

// FLICKER(2) of 100 flashes, one every 50 ms, with sweeps of 200 ms: the
// stimulator stops after its 100 flashes, so the 5 s of flashes hold at
// most 25 sweeps, each started by a flash, and the run takes the train's
// time and the last sweep's wait.
TEST_F(Interpreter, CountedFlickerStopsAfterItsFlashes) {
  channels.b_on = 0;
  single_test({{OPCODE_FLICKER2, (50u << 20) | (200u << 10) | 100u}});
  ASSERT_TRUE(scan_program(*program_));
  sim_stim_state before{};
  sim_stim_get_state(&before);
  const uint32_t start = unit_tick_ms();
  engine_message_capture capture;
  ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"FLICKER"));
  const uint32_t taken = unit_tick_ms() - start;
  EXPECT_TRUE(capture.messages().empty());
  sim_stim_state after{};
  sim_stim_get_state(&after);
  EXPECT_EQ(after.flashes - before.flashes, 100u);
  EXPECT_EQ(after.flickering, 0);
  EXPECT_GE(last_test_sweep_count(), 20);
  EXPECT_LE(last_test_sweep_count(), 25);
  EXPECT_LT(taken, 100u * 50u + 200u + 500u);
  auto read = read_stored(L"P01S00T0004A-0000000000.tst");
  EXPECT_EQ(read->Average.Divisor, static_cast<double>(last_test_sweep_count()));
}

// A session of three tests with a minute's pause after each of the first
// two: the stored test times, the files' times, the log records and the
// folder's date all come from the unit's clock, a minute and a sweep apart.
TEST_F(Interpreter, StoredTimesFollowTheUnitsClock) {
  channels.b_on = 0;
  use_unit_time_for_log_and_folders();
  std::filesystem::remove_all(card_ / "T240315_CFC7");
  const uint64_t set = unit_time_to_filetime(unitTime{2024, 3, 15, 9, 0, 0, 0, 0});
  set_unit_time_filetime(set);
  ASSERT_TRUE(set_ERG_directory(false));  // dated by the unit: T240315
  push(OPCODE_SESSION, 0);
  for (int i = 0; i < 3; ++i) {
    push(OPCODE_TEST, 0);
    push(OPCODE_INTENSITY, 20000);
    push(OPCODE_RFR, rfr(20, 180));
    push(i < 2 ? OPCODE_END_TEST_PAUSE : OPCODE_END_TEST, i < 2 ? 60000 : 0);
  }
  push(OPCODE_END_SESSION, 0);
  ASSERT_TRUE(scan_program(*program_));
  ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"TIMES"));
  const std::vector<std::wstring> names = stored(L".tst");
  ASSERT_EQ(names.size(), 3u);
  const double tick = 1e-7;
  std::vector<double> seconds;
  for (const std::wstring& name : names) {
    SCOPED_TRACE(std::string(name.begin(), name.end()));
    auto read = read_stored(name);
    const uint64_t t = (static_cast<uint64_t>(read->TestTime.HighDateTime) << 32) | read->TestTime.LowDateTime;
    seconds.push_back((static_cast<double>(t) - static_cast<double>(set)) * tick);
    // The file's time, shown in local time, is the unit's.
    const auto written = std::filesystem::last_write_time(in_folder(name));
    const std::time_t when = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(
            written - std::filesystem::file_time_type::clock::now() + std::chrono::system_clock::now()));
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    const uint64_t file_time = unit_time_to_filetime(unitTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                                              local.tm_hour, local.tm_min, local.tm_sec, 0, 0});
    EXPECT_NEAR(static_cast<double>(file_time) * tick, static_cast<double>(t) * tick, 2.0);
  }
  EXPECT_GT(seconds[0], 0.2);
  EXPECT_LT(seconds[0], 1.0);
  EXPECT_NEAR(seconds[1] - seconds[0], 60.2, 0.3);
  EXPECT_NEAR(seconds[2] - seconds[1], 60.2, 0.3);
  std::ifstream log_file(card_ / "LOG" / "T240315_CFC7.txt", std::ios::binary);
  std::stringstream log_text;
  log_text << log_file.rdbuf();
  const std::string log = log_text.str();
  EXPECT_NE(log.find("(time 09:01:00)(chan A)(mesg \"STORE TEST"), std::string::npos) << log;
  EXPECT_NE(log.find("(time 09:02:00)(chan A)(mesg \"STORE TEST"), std::string::npos) << log;
}

// A long sweep, then in the next test a short one: the short test's last
// sweep, its sample files and its average hold zeros after its own values.
TEST_F(Interpreter, StoredBlocksHoldNothingBeyondTheirValues) {
  channels.b_on = 0;
  store_system_parameter(PARAM_SAMPLES, 1);
  push(OPCODE_SESSION, 0);
  single_test({{OPCODE_REPEAT, 3}, {OPCODE_RFR, rfr(20, 180)}, {OPCODE_END_REPEAT, 0}});
  single_test({{OPCODE_REPEAT, 3}, {OPCODE_RFR, rfr(5, 40)}, {OPCODE_END_REPEAT, 0}});
  push(OPCODE_END_SESSION, 0);
  ASSERT_TRUE(scan_program(*program_));
  ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"ZEROS"));
  // Index of the first nonzero value at or after from, or -1.
  const auto nonzero_from = [](const int32_t* data, int from) {
    for (int i = std::max(from, 0); i < kSamplesPerBlock; ++i) {
      if (data[i] != 0) return i;
    }
    return -1;
  };
  auto read = read_stored(L"P01S01T0204A-0000000000.tst");
  ASSERT_LT(read->LastSweep.PointCount, 1000);
  EXPECT_EQ(nonzero_from(read->LastSweep.Data, read->LastSweep.PointCount + 1), -1);
  EXPECT_EQ(nonzero_from(read->Average.Data, read->Average.PointCount), -1);
  for (const wchar_t* name : {L"P01S01T0204A-0000000000-00.spl", L"P01S01T0204A-0000000000-01.spl"}) {
    SCOPED_TRACE(std::string(name, name + std::wcslen(name)));
    std::ifstream file(in_folder(name), std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), sizeof(samplesBlock));
    auto block = std::make_unique<samplesBlock>();
    std::memcpy(block.get(), bytes.data(), sizeof(samplesBlock));
    ASSERT_LT(block->PointCount, 1000);
    EXPECT_EQ(nonzero_from(block->Data, block->PointCount + 1), -1);
  }
}

// "Skip Test" at the second sweep of a REPEAT in a session's test: that test
// ends with its blocks, and the session runs on to store its next test.
TEST_F(Interpreter, SkipTestInsideARepeatEndsThatTestOnly) {
  channels.b_on = 0;
  push(OPCODE_SESSION, 0);
  single_test({{OPCODE_REPEAT_MS, (1000u << 16) | 5u}, {OPCODE_RFR, rfr(5, 40)}, {OPCODE_END_REPEAT, 0}});
  single_test({{OPCODE_RFR, rfr(5, 40)}});
  push(OPCODE_END_SESSION, 0);
  ASSERT_TRUE(scan_program(*program_));
  screen_.on_sweep = [this] {
    if (screen_.sweep_ticks.size() == 2) run_commands.skip_test = true;
  };
  engine_message_capture capture;
  EXPECT_TRUE(Execute(*program_, 0, 0, 0, 0, L"SKIP"));
  EXPECT_TRUE(capture.messages().empty());
  EXPECT_EQ(stored(L".tst"), std::vector<std::wstring>{L"P01S01T0204A-0000000000.tst"});
}

// Two tests of a session, each ending with a pause of 5 s: the pauses take
// their time whether the tests stand in the session or are called programs
// (whose own block stack is empty after their END TEST: the session's
// block times the pause).
TEST_F(Interpreter, PauseAfterATestAlsoRunsInACalledProgram) {
  channels.b_on = 0;
  auto called = std::make_unique<programRecord>();
  ASSERT_NO_FATAL_FAILURE(write_called_test(L"Storage Card\\PAUSE.tes", OPCODE_END_TEST_PAUSE, 5000, *called));
  for (bool call : {false, true}) {
    SCOPED_TRACE(call ? "called" : "inline");
    clear_program(*program_);
    std::strcpy(program_->Texts[0], "???");
    screen_.rows.clear();
    push(OPCODE_SESSION, 0);
    for (int i = 0; i < 2; ++i) {
      if (call) {
        ASSERT_TRUE(push_step(*program_, OPCODE_CALL, 0, pack_name("PAUSE")));
      } else {
        for (int k = 0; k < called->StepCount; ++k) push(called->Steps[k].Opcode, called->Steps[k].Value);
      }
    }
    push(OPCODE_END_SESSION, 0);
    ASSERT_TRUE(scan_program(*program_));
    const uint32_t start = unit_tick_ms();
    engine_message_capture capture;
    ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"PAUSE"));
    const uint32_t taken = unit_tick_ms() - start;
    EXPECT_TRUE(capture.messages().empty());
    EXPECT_GE(taken, 10000u);
    EXPECT_LT(taken, 11000u);
    EXPECT_TRUE(screen_.shown(L"-3,21:wait   5      "));
  }
}

// Messages shown as the user interface shows them: an error or internal
// message raises the run's error flag.
std::vector<std::string> g_raised_messages;
void show_raising_the_flag(int kind, const char* text) {
  g_raised_messages.emplace_back(text);
  if (kind == 0 || kind == 4) program_error = true;
}

// A step that ends with an error message raised the error flag: the run
// says so after that step, once, and carries on.
TEST_F(Interpreter, AnErrorDuringAStepIsReportedAfterIt) {
  channels.b_on = 0;
  push(OPCODE_SESSION, 0);
  single_test({});  // no sweep: an error message
  single_test({{OPCODE_RFR, rfr(5, 40)}});
  push(OPCODE_END_SESSION, 0);
  ASSERT_TRUE(scan_program(*program_));
  g_raised_messages.clear();
  const show_message_handler previous = set_show_message_handler(show_raising_the_flag);
  const bool result = Execute(*program_, 0, 0, 0, 0, L"ERROR");
  set_show_message_handler(previous);
  EXPECT_TRUE(result);
  EXPECT_EQ(g_raised_messages, (std::vector<std::string>{"*** NO SAMPLE DATA ACQUIRED ***",
                                                          "*** ERROR ***\nduring program\nexecution."}));
  EXPECT_EQ(stored(L".tst"), std::vector<std::wstring>{L"P01S01T0204A-0000000000.tst"});
}

// A master unit holds GPIO 13 bit 1 up for the test thread's run and drops
// GPIO 12 bit 1 for each collection, raising it again after.
TEST_F(Interpreter, MasterSignalsItsRunAndEachCollection) {
  channels.b_on = 0;
  is_master = 1;
  single_test({{OPCODE_REPEAT, 3}, {OPCODE_RFR, rfr(5, 40)}, {OPCODE_END_REPEAT, 0}});
  ASSERT_TRUE(scan_program(*program_));
  int reads = 0;
  int collection_bit_up = 0;
  int run_bit_down = 0;
  set_read_hook([&](int) {
    ++reads;
    if ((hardware.get_gpio_reg(12) & 2u) != 0) ++collection_bit_up;
    if ((hardware.get_gpio_reg(13) & 2u) == 0) ++run_bit_down;
    return true;
  });
  set_loaded_program(*program_);
  start_test_thread();
  signal_run_set();
  for (int i = 0; i < 5000 && !(test_stored && !run_commands.running); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  stop_test_thread();
  set_read_hook(nullptr);
  EXPECT_TRUE(last_run_result());
  EXPECT_GT(reads, 3 * 45 * 15 / 2);
  EXPECT_EQ(collection_bit_up, 0);
  EXPECT_EQ(run_bit_down, 0);
  EXPECT_NE(hardware.get_gpio_reg(12) & 2u, 0u);
  EXPECT_EQ(hardware.get_gpio_reg(13) & 2u, 0u);
}

// A slave unit takes its timing from the master: it does not wait on a
// WAIT of 501 ms or more, a repeat interval above the END REPEAT's value
// (700 for a block with an RFR) or an END TEST pause; a shorter WAIT or
// interval still waits. Each sweep takes 200 ms.
TEST_F(Interpreter, SlaveLeavesTheLongWaitsToItsMaster) {
  using steps = std::vector<std::pair<uint16_t, uint32_t>>;
  const steps wait_5000 = {{OPCODE_WAIT, 5000}, {OPCODE_RFR, rfr(20, 180)}};
  const steps wait_400 = {{OPCODE_WAIT, 400}, {OPCODE_RFR, rfr(20, 180)}};
  const steps repeat_2000 = {{OPCODE_REPEAT_MS, (2000u << 16) | 3u}, {OPCODE_RFR, rfr(20, 180)}, {OPCODE_END_REPEAT, 0}};
  const steps repeat_500 = {{OPCODE_REPEAT_MS, (500u << 16) | 3u}, {OPCODE_RFR, rfr(20, 180)}, {OPCODE_END_REPEAT, 0}};
  struct slaveCase {
    const char* what;
    const steps* body;
    bool session_pause;  // two such tests in a session, the first with a pause of 5 s
    bool slave;
    uint32_t at_least;
    uint32_t below;
    const wchar_t* shown;
  };
  const slaveCase cases[] = {
      {"wait 5000", &wait_5000, false, false, 5200, 6000, L"-3,21:wait   5      "},
      {"slave wait 5000", &wait_5000, false, true, 200, 1000, L"-3,21:slave wait    "},
      {"slave wait 400", &wait_400, false, true, 600, 1000, L"-3,21:slave mode    "},
      {"repeat 2000", &repeat_2000, false, false, 4200, 5000, nullptr},
      {"slave repeat 2000", &repeat_2000, false, true, 600, 1500, L"-3,21:slave wait    "},
      {"slave repeat 500", &repeat_500, false, true, 1200, 1500, nullptr},
      {"pause 5000", &wait_400, true, false, 5000 + 1200, 7000, L"-3,21:wait   5      "},
      {"slave pause 5000", &wait_400, true, true, 1200, 2000, L"-3,21:slave wait    "},
  };
  channels.b_on = 0;
  for (const slaveCase& c : cases) {
    SCOPED_TRACE(c.what);
    is_slave = c.slave ? 1 : 0;
    clear_program(*program_);
    std::strcpy(program_->Texts[0], "???");
    screen_.rows.clear();
    if (c.session_pause) {
      push(OPCODE_SESSION, 0);
      push(OPCODE_TEST, 0);
      push(OPCODE_INTENSITY, 20000);
      for (const auto& step : *c.body) push(step.first, step.second);
      push(OPCODE_END_TEST_PAUSE, 5000);
      single_test(*c.body);
      push(OPCODE_END_SESSION, 0);
    } else {
      single_test(*c.body);
    }
    ASSERT_TRUE(scan_program(*program_));
    const uint32_t start = unit_tick_ms();
    ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"SLAVE"));
    const uint32_t taken = unit_tick_ms() - start;
    EXPECT_GE(taken, c.at_least);
    EXPECT_LT(taken, c.below);
    if (c.shown != nullptr) {
      EXPECT_TRUE(screen_.shown(c.shown));
    }
  }
  EXPECT_FALSE(stored(L".tst").empty());
}

// A slave holds each collection while the master keeps GPIO 12 bit 1 up.
TEST_F(Interpreter, SlaveCollectsWhenTheMasterReleasesIt) {
  channels.b_on = 0;
  is_slave = 1;
  single_test({{OPCODE_RFR, rfr(20, 180)}});
  ASSERT_TRUE(scan_program(*program_));
  hardware.put_gpio_bit(12, 1, 1);
  const uint64_t release_ns = sim_now_ns() + 2000000000ull;
  std::thread master([release_ns] {
    while (sim_now_ns() < release_ns) std::this_thread::yield();
    hardware.put_gpio_bit(12, 1, 0);
  });
  const uint32_t start = unit_tick_ms();
  EXPECT_TRUE(Execute(*program_, 0, 0, 0, 0, L"SLAVE"));
  const uint32_t taken = unit_tick_ms() - start;
  master.join();
  EXPECT_GE(taken, 2000u + 200u);
  EXPECT_TRUE(screen_.shown(L"-3,21:slave mode    "));
  EXPECT_EQ(stored(L".tst"), std::vector<std::wstring>{L"P01S00T0004A-0000000000-SLAVE.tst"});
}

// [DATASET] on: beside each channel's test its dataset text, whose values
// are the stored average divided by its divisor.
TEST_F(Interpreter, DatasetTextStoredBesideEachTest) {
  store_system_parameter(PARAM_DATASET, 1);
  single_test({{OPCODE_REPEAT, 3}, {OPCODE_RFR, rfr(20, 180)}, {OPCODE_END_REPEAT, 0}});
  ASSERT_TRUE(scan_program(*program_));
  ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"DATASET"));
  const std::vector<std::wstring> names = stored(L".s");
  ASSERT_EQ(names, (std::vector<std::wstring>{L"P01S00T0004A-0000000000.s", L"P01S00T0004B-0000000000.s"}));
  for (const std::wstring& name : names) {
    SCOPED_TRACE(std::string(name.begin(), name.end()));
    std::ifstream file(in_folder(name), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    const std::string dataset = text.str();
    auto read = read_stored(name.substr(0, name.size() - 2) + L".tst");
    EXPECT_EQ(dataset.rfind("(erg ", 0), 0u);
    EXPECT_NE(dataset.find("(testid \"0000000000\")"), std::string::npos);
    EXPECT_NE(dataset.find("(count " + std::to_string(read->Average.PointCount) + ")"), std::string::npos);
    const std::string y = "(units mV)\n";
    const size_t at = dataset.find(y);
    ASSERT_NE(at, std::string::npos);
    const double first = std::strtod(dataset.c_str() + at + y.size(), nullptr);
    ASSERT_EQ(read->Average.Divisor, 3.0);
    const double expected = read->Average.Data[0] / 3.0 * read->Config.Scale + read->Config.Offset;
    EXPECT_NEAR(first, expected, std::fabs(expected) * 1e-5);
  }
}

// A strong 60 Hz hum on channel A: the stored average keeps it without the
// notch and loses it with [NOTCHFREQ] at 60.
TEST_F(Interpreter, NotchFrequencyFiltersTheStoredAverage) {
  channels.b_on = 0;
  sim_signal hum;
  sim_signal_defaults(0, &hum);
  hum.hum_uv = 200.0;
  hum.hum_hz = 60.0;
  hum.response = SIM_RESPONSE_SHAPE;
  hum.a_wave_uv = 0.0;
  hum.b_wave_uv = 0.0;
  sim_signal_set(0, &hum);
  single_test({{OPCODE_RFR, rfr(20, 180)}});
  ASSERT_TRUE(scan_program(*program_));
  // The amplitude at 60 Hz over the sweep's whole cycles (the average's
  // PointCount values lie Time / (PointCount - 1) apart).
  const auto hum_amplitude = [](const testFileRecord& r) {
    const samplesBlock& b = r.Average;
    const double seconds_per_value = b.Time / 1000.0 / (b.PointCount - 1);
    const double cycles = std::floor(b.Time / 1000.0 * 60.0);
    const int values = static_cast<int>(std::lround(cycles / 60.0 / seconds_per_value));
    const double radians_per_value = 2.0 * std::acos(-1.0) * 60.0 * seconds_per_value;
    double re = 0.0;
    double im = 0.0;
    for (int i = 0; i < values; ++i) {
      const double v = b.Data[i] / b.Divisor * r.Config.Scale;
      re += v * std::cos(radians_per_value * i);
      im += v * std::sin(radians_per_value * i);
    }
    return 2.0 * std::sqrt(re * re + im * im) / values;
  };
  std::vector<double> amplitudes;
  for (double notch : {0.0, 60.0}) {
    store_system_parameter(PARAM_NOTCHFREQ, notch);
    ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"NOTCH"));
    amplitudes.push_back(hum_amplitude(*read_stored(L"P01S00T0004A-0000000000.tst")));
  }
  EXPECT_NEAR(amplitudes[0], 200.0, 20.0);
  EXPECT_LT(amplitudes[1], 20.0);
}

// The test folder holds 800 entries: the first test of a session is still
// stored there (its 801st), the next test moves on to the folder "-1".
TEST_F(Interpreter, FullTestFolderMovesTheNextTestOn) {
  channels.b_on = 0;
  for (int i = 0; i < 800; ++i) {
    std::ofstream(card_ / "T240315_CFC7" / ("E" + std::to_string(1000 + i) + ".dat"));
  }
  push(OPCODE_SESSION, 0);
  single_test({{OPCODE_RFR, rfr(5, 40)}});
  single_test({{OPCODE_RFR, rfr(5, 40)}});
  push(OPCODE_END_SESSION, 0);
  ASSERT_TRUE(scan_program(*program_));
  ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"FULL"));
  EXPECT_EQ(stored(L".tst"), std::vector<std::wstring>{L"P01S01T0104A-0000000000.tst"});
  EXPECT_TRUE(std::filesystem::exists(card_ / "T240315_CFC7-1" / "P01S01T0204A-0000000000.tst"));
  EXPECT_EQ(erg_directory_index, 1);
  std::ifstream log(card_ / "LOG" / "T240315_CFC7.txt", std::ios::binary);
  std::stringstream text;
  text << log.rdbuf();
  EXPECT_NE(text.str().find("next ERG directory [Storage Card\\\\T240315_CFC7-1]"), std::string::npos) << text.str();
}

// After a restart in a folder whose last session is 99, the next session
// goes to the next folder as session 1; the stored test is left as it was.
TEST_F(Interpreter, SessionPastNinetyNineContinuesInTheNextFolder) {
  channels.b_on = 0;
  const std::filesystem::path earlier = in_folder(L"P01S99T0104A-0000000000.tst");
  std::ofstream(earlier, std::ios::binary) << "an earlier test";
  ASSERT_TRUE(set_ERG_directory(false));
  ASSERT_EQ(session_number.load(), 99);
  push(OPCODE_SESSION, 0);
  single_test({{OPCODE_RFR, rfr(5, 40)}});
  single_test({{OPCODE_RFR, rfr(5, 40)}});
  push(OPCODE_END_SESSION, 0);
  ASSERT_TRUE(scan_program(*program_));
  ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"NEXT"));
  EXPECT_EQ(stored(L".tst"), std::vector<std::wstring>{L"P01S99T0104A-0000000000.tst"});
  std::ifstream file(earlier, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "an earlier test");
  for (const char* name : {"P01S01T0104A-0000000000.tst", "P01S01T0204A-0000000000.tst"}) {
    EXPECT_TRUE(std::filesystem::exists(card_ / "T240315_CFC7-1" / name)) << name;
  }
}

// A session calling one test program three times: the tests are numbered
// in the session and carry its title; the called program's own title
// (without its '+') names the protocol.
TEST_F(Interpreter, SessionOfCalledTestsNumbersThemInTheSession) {
  channels.b_on = 0;
  auto called = std::make_unique<programRecord>();
  clear_program(*called);
  std::strcpy(called->Texts[0], "PHOT");
  std::strcpy(called->Texts[1], "+Photopic");
  ASSERT_TRUE(push_step(*called, OPCODE_TITLE, 1, 0));
  ASSERT_TRUE(push_step(*called, OPCODE_TEST, 0, 0));
  ASSERT_TRUE(push_step(*called, OPCODE_INTENSITY, 20000, 0));
  ASSERT_TRUE(push_step(*called, OPCODE_RFR, rfr(5, 40), 0));
  ASSERT_TRUE(push_step(*called, OPCODE_END_TEST_PAUSE, 300, 0));
  ASSERT_TRUE(write_program_file(L"Storage Card\\PHOT.tes", *called));

  std::strcpy(program_->Texts[1], "Cone session");
  push(OPCODE_SESSION, 0);
  push(OPCODE_TITLE, 1);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(push_step(*program_, OPCODE_CALL, 0, pack_name("PHOT")));
  push(OPCODE_END_SESSION, 0);
  ASSERT_TRUE(scan_program(*program_));
  engine_message_capture capture;
  ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"SESSION"));
  EXPECT_TRUE(capture.messages().empty());
  EXPECT_EQ(stored(L".tst"), (std::vector<std::wstring>{L"P01S01T0104A-0000000000.tst", L"P01S01T0204A-0000000000.tst",
                                                         L"P01S01T0304A-0000000000.tst"}));
  auto read = read_stored(L"P01S01T0304A-0000000000.tst");
  EXPECT_EQ(std::u16string(read->SessionTitle), u"Cone session");
  EXPECT_EQ(std::u16string(read->ProtocolName), u"Photopic");
}

// Runs that stop with a message and store nothing, each on a fresh unit.
struct faultCase {
  const char* what;
  std::vector<std::pair<uint16_t, uint32_t>> steps;
  bool result;
  const char* message;
};

class InterpreterFault : public Interpreter, public ::testing::WithParamInterface<faultCase> {};

TEST_P(InterpreterFault, StopsTheRunWithItsMessage) {
  for (const auto& step : GetParam().steps) push(step.first, step.second);
  ASSERT_TRUE(scan_program(*program_));
  engine_message_capture capture;
  EXPECT_EQ(Execute(*program_, 0, 0, 0, 0, L"FAULT"), GetParam().result);
  ASSERT_FALSE(capture.messages().empty());
  EXPECT_EQ(capture.messages()[0].second, GetParam().message);
  EXPECT_TRUE(stored(L".tst").empty());
  EXPECT_FALSE(run_commands.running);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, InterpreterFault,
    ::testing::Values(
        faultCase{"eleven_blocks", std::vector<std::pair<uint16_t, uint32_t>>(11, {OPCODE_REPEAT, 1}), false,
                  "*** TOO MANY BLOCK LEVELS ON STACK (>10) ***"},
        faultCase{"end_repeat_outside", {{OPCODE_END_REPEAT, 0}}, false, "### END REPEAT outside of REPEAT block ###"},
        faultCase{"end_test_outside", {{OPCODE_END_TEST, 0}}, false, "### END TEST outside of TEST block ###"},
        faultCase{"no_sweep", {{OPCODE_TEST, 0}, {OPCODE_END_TEST, 0}}, true, "*** NO SAMPLE DATA ACQUIRED ***"},
        faultCase{"collection_overrun", {{OPCODE_TEST, 0}, {OPCODE_RFR, (20u << 24) | 0xFFFFFu}, {OPCODE_END_TEST, 0}},
                  true, "*** ERROR ***\nRFR DATA COLLECTION"},
        faultCase{"flicker_interval_0", {{OPCODE_TEST, 0}, {OPCODE_FLICKER2, (40u << 10) | 10u}, {OPCODE_END_TEST, 0}},
                  false, "*** FLICKER INTERVAL OF 0 ms ***"},
        faultCase{"two_flickers",
                  {{OPCODE_TEST, 0}, {OPCODE_FLICKER2, (50u << 20) | (40u << 10) | 3u},
                   {OPCODE_FLICKER2, (50u << 20) | (40u << 10) | 3u}, {OPCODE_END_TEST, 0}},
                  false, "*** MULTIPLE 'FLICKER' COMMANDS IN TEST ***"}),
    [](const ::testing::TestParamInfo<faultCase>& info) { return std::string(info.param.what); });

// The program's filter value scales its flash intensities; a value that
// is no number filters nothing and a product beyond range is held at the end.
TEST_F(Interpreter, FilterValueScalesTheIntensityWithinRange) {
  struct filterCase {
    uint32_t bits;
    int32_t intensity;
  };
  const auto bits = [](float f) {
    uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
  };
  const filterCase cases[] = {
      {bits(20.0f), 40000},  // 20000 / 10 x 20
      {bits(1.0f), 20000},
      {0x7FC00000u, 20000},  // NaN
      {0x7F800000u, 20000},  // infinity
      {bits(1e30f), 2147483647},
  };
  channels.b_on = 0;
  for (const filterCase& c : cases) {
    SCOPED_TRACE(c.bits);
    std::filesystem::remove_all(card_ / "T240315_CFC7");
    ASSERT_TRUE(set_ERG_directory(false));
    clear_program(*program_);
    std::strcpy(program_->Texts[0], "???");
    push(OPCODE_FILTER, c.bits);
    single_test({{OPCODE_RFR, rfr(5, 40)}});
    ASSERT_TRUE(scan_program(*program_));
    Execute(*program_, 0, 0, 0, 0, L"FILTER");
    const std::vector<std::wstring> names = stored(L".tst");
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(read_stored(names[0])->Config.Intensity, c.intensity);
  }
}

TEST_F(Interpreter, ProgramWithoutAValidStepCountIsNotRun) {
  for (int32_t count : {0, 65, -1}) {
    program_->StepCount = count;
    EXPECT_FALSE(Execute(*program_, 0, 0, 0, 0, L"EMPTY")) << count;
    EXPECT_FALSE(run_commands.running);
  }
}

TEST_F(Interpreter, CalledProgramMissingStops) {
  ASSERT_TRUE(push_step(*program_, OPCODE_CALL, 0, pack_name("SELF")));
  ASSERT_TRUE(scan_program(*program_));
  engine_message_capture capture;
  EXPECT_FALSE(Execute(*program_, 0, 0, 0, 0, L"CALL"));
  ASSERT_EQ(capture.messages().size(), 1u);
  EXPECT_EQ(capture.messages()[0].second.rfind("*** CALLED PROCEDURE\n[SELF]\nNOT FOUND ***", 0), 0u);
}

TEST_F(Interpreter, ProgramCallingItselfStopsAtTenLevels) {
  ASSERT_TRUE(push_step(*program_, OPCODE_CALL, 0, pack_name("SELF")));
  ASSERT_TRUE(write_program_file(L"Storage Card\\SELF.tes", *program_));
  ASSERT_TRUE(scan_program(*program_));
  engine_message_capture capture;
  EXPECT_FALSE(Execute(*program_, 0, 0, 0, 0, L"CALL"));
  ASSERT_EQ(capture.messages().size(), 1u);
  EXPECT_EQ(capture.messages()[0].second, "*** CALLED PROCEDURE [SELF] IS INVALID ***");
}

}  // namespace
