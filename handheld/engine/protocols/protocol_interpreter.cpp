#include "handheld/engine/protocols/protocol_interpreter.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <thread>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>
#include <functional>
#include <mutex>
#include <string>

#include "handheld/engine/hardware/board_options.h"
#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/hardware/converters.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/log/engine_messages.h"
#include "handheld/engine/ids/handheld_ids.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "handheld/engine/protocols/interpreter_screen.h"
#include "handheld/engine/stimulator/main_dialog_post.h"
#include "handheld/engine/protocols/program_calls.h"
#include "handheld/engine/protocols/program_error.h"
#include "handheld/engine/protocols/protocol_program.h"
#include "handheld/engine/storage/record_init.h"
#include "handheld/engine/protocols/run_config_conversion.h"
#include "handheld/engine/acquisition/running_average.h"
#include "handheld/engine/acquisition/signal_filters.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/acquisition/stimulus.h"
#include "handheld/engine/acquisition/sweep_collection.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/engine/storage/test_files.h"
#include "handheld/engine/storage/test_folders.h"
#include "handheld/engine/hardware/thread_priority.h"
#include "platform/ce/unit_clock.h"
#include "handheld/engine/storage/unit_time.h"
#include "handheld/engine/threads/worker_event.h"

runCommands run_commands;
std::atomic<int> run_count{0};

namespace {
std::atomic<bool> insideTest{false};
}  // namespace

namespace {

// The pause gate: a manual-reset event, open unless paused.
struct pauseGate {
  std::mutex lock;
  std::condition_variable changed;
  bool open = true;
  bool held = false;  // the run waits at the gate
};

pauseGate& gate() {
  static pauseGate g;
  return g;
}

void wait_while_paused() {
  pauseGate& g = gate();
  std::unique_lock<std::mutex> hold(g.lock);
  g.held = !g.open;
  g.changed.wait_for(hold, std::chrono::milliseconds(72000000), [&g] { return g.open; });
  g.held = false;
}

// The point at which a run pauses itself, checked before each step.
struct holdPoint {
  std::mutex lock;
  std::function<bool()> condition;
};

holdPoint& hold_point() {
  static holdPoint h;
  return h;
}

void hold_here_when_asked() {
  holdPoint& h = hold_point();
  std::lock_guard<std::mutex> hold(h.lock);
  if (h.condition && h.condition()) {
    h.condition = nullptr;
    pause_run();
  }
}

// A run begins with no command of an earlier one. The main dialog's run
// clears them as it asks for the run, so that a Stop pressed before the
// test thread wakes is kept; a run started directly clears them itself.
std::atomic<bool> flagsClearedForRun{false};

void clear_run_commands() {
  run_commands.stop = false;
  run_commands.skip_test = false;
  run_commands.skip_session = false;
  run_commands.skip_wait = false;
  // A restart pressed as the last run ended is no command for this one.
  run_commands.restart_test = false;
  run_commands.restart_session = false;
}

constexpr int kBlockLevels = 10;
constexpr int kCallDepthLimit = 10;
constexpr int kSweepSlots = 50;
constexpr int kMaxSweeps = kSweepSlots - 1;  // sweeps go into slots 1..49
constexpr int kTitleCharacters = 63;
constexpr int kSessionTitleCharacters = 62;
constexpr int kSyncWord = 12;
constexpr int kSyncBit = 1;

// The run's state shared by every level of calls.
struct runState {
  std::mutex id_lock;
  wchar_t test_id[20] = L"0000000000";
  int run_tests = 0;         // T outside a session
  int session_tests = 0;     // T inside a session
  int averaging = kMaxSweeps;
  int sweeps = 0;            // sweeps of the current test
  int32_t intensity = 0;
  int32_t background = 0;
  uint32_t adaptation_tick = 0;
  bool in_session = false;
  bool title_pending = false;
  bool data_collected = false;
  wchar_t session_title[64] = L" ";
  testFileRecord records[2];
  samplesBlock slots[2][kSweepSlots];
  int stored_sweeps = 0;
};

runState& run() {
  static std::unique_ptr<runState> state = [] {
    auto s = std::make_unique<runState>();
    for (testFileRecord& r : s->records) init_test_record(r);
    for (auto& channel : s->slots) {
      for (samplesBlock& b : channel) init_samples_block(b);
    }
    return s;
  }();
  return *state;
}

// The values of sweep slots first .. last of both channels back to zero
// before a collection writes them: a slot stores only what its own sweep
// wrote, never the end of an earlier, longer sweep (another test's, or
// another patient's).
void clear_sweep_values(int first, int last) {
  runState& r = run();
  for (auto& channel : r.slots) {
    for (int i = first; i <= last; ++i) std::memset(channel[i].Data, 0, sizeof channel[i].Data);
  }
}

bool channel_on(int channel) { return channel == 0 ? channels.a_on.load() != 0 : channels.b_on.load() != 0; }

void copy_wide(char16_t* out, size_t capacity, const wchar_t* text, size_t limit) {
  std::memset(out, 0, capacity * sizeof(char16_t));
  for (size_t i = 0; i < limit && i + 1 < capacity && text[i] != L'\0'; ++i) out[i] = static_cast<char16_t>(text[i]);
}

void copy_narrow(char16_t* out, size_t capacity, const std::string& text, size_t limit) {
  std::memset(out, 0, capacity * sizeof(char16_t));
  for (size_t i = 0; i < limit && i < capacity && i < text.size(); ++i) {
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(text[i]));
  }
}

void widen(wchar_t* out, size_t capacity, const char* text, size_t limit) {
  size_t i = 0;
  for (; i < limit && i + 1 < capacity && text[i] != '\0'; ++i) out[i] = static_cast<unsigned char>(text[i]);
  out[i] = L'\0';
}

void row(int colour, int r, int column, const wchar_t* format, ...) {
  wchar_t text[64];
  va_list args;
  va_start(args, format);
  std::vswprintf(text, 64, format, args);
  va_end(args);
  text[63] = L'\0';
  interpreter_screen().row_text(colour, r, column, text);
}

// The unit's local time now as a file time.
fileTime local_file_time() {
  const uint64_t now = unit_time_filetime();
  return fileTime{static_cast<uint32_t>(now & 0xFFFFFFFFu), static_cast<uint32_t>(now >> 32)};
}

struct blockFrame {
  uint32_t Step = 0;
  bool Active = false;
  uint32_t Start = 0;
  uint32_t Duration = 0;
  uint16_t Opcode = 0;
  uint32_t Name = 0;
  uint32_t Value = 0;
};

enum class stepEnd { next, end_run, fail };

// One invocation of a program.
class programRun {
 public:
  programRun(programRecord& program, int depth, int32_t intensity, const wchar_t* title,
             programRun* caller = nullptr)
      : program_(program), depth_(depth), caller_(caller) {
    run().intensity = intensity;
    widen(title_, 64, "", 0);
    if (title != nullptr) std::wcsncpy(title_, title, kTitleCharacters);
    title_[kTitleCharacters] = L'\0';
  }

  bool execute();

 private:
  stepEnd step(const programStep& s, uint32_t index);
  stepEnd test_step(uint32_t index);
  stepEnd end_test(const programStep& s);
  stepEnd end_session();
  stepEnd end_repeat(const programStep& s);
  stepEnd rfr(const programStep& s);
  stepEnd flicker(const programStep& s);
  bool begin_synchronised_collection();
  void end_synchronised_collection();
  stepEnd call(const programStep& s);
  bool push(const programStep& s, uint32_t index);
  bool pop();
  // The innermost open block times the waits: this program's, else its
  // caller's (a called test program's pause between tests runs on the
  // session's block), else a frame of this program's own.
  bool has_timing() const { return top_ >= 0 || (caller_ != nullptr && caller_->has_timing()); }
  blockFrame& timing() {
    if (top_ >= 0) return frames_[top_];
    if (caller_ != nullptr && caller_->has_timing()) return caller_->timing();
    return own_;
  }
  void start_wait(uint32_t ms) {
    blockFrame& f = timing();
    f.Start = unit_tick_ms();
    f.Duration = ms;
    waiting_ = true;
  }

  programRecord& program_;
  int depth_;
  programRun* caller_;
  wchar_t title_[64];
  blockFrame frames_[kBlockLevels];
  blockFrame own_;  // times a WAIT outside any block
  int top_ = -1;
  bool executing_ = true;
  bool quiet_ = true;
  bool waiting_ = false;
  bool flicker_ran_ = false;
  int shown_seconds_ = -1;
  int waited_seconds_ = 0;
};

bool programRun::push(const programStep& s, uint32_t index) {
  if (top_ + 1 >= kBlockLevels) {
    engine_show_message(0, "*** TOO MANY BLOCK LEVELS ON STACK (>10) ***");
    return false;
  }
  blockFrame& f = frames_[++top_];
  f = blockFrame{};
  f.Step = index;
  f.Active = true;
  f.Start = unit_tick_ms();
  f.Opcode = s.Opcode;
  f.Name = s.Name;
  f.Value = s.Value;
  return true;
}

bool programRun::pop() {
  if (top_ < 0) {
    engine_show_message(0, "*** BLOCK STACK UNDERFLOW ***");
    return false;
  }
  frames_[top_--].Active = false;
  return true;
}

bool programRun::execute() {
  runState& r = run();
  interpreterScreen& screen = interpreter_screen();
  if (program_.StepCount < 1 || program_.StepCount > kProgramSteps) {
    log_mesg("Execute: program of %d steps not run", static_cast<int>(program_.StepCount));
    return false;
  }
  if (depth_ == 0) {
    screen.save_title();
    if (!flagsClearedForRun.exchange(false)) clear_run_commands();
    run_commands.running = true;
    r.run_tests = 0;
    // A run ended before its END SESSION (skip session, an error) left its
    // session open: this run starts outside any.
    r.in_session = false;
    r.title_pending = false;
    int input = 0;
    if (channels.a_on.load() != 0) {
      input = 0;
    } else if (channels.b_on.load() != 0) {
      input = 16;
    } else {
      engine_show_message(4, "### Execute : NO CHANNEL SPECIFIED ON ENTRY ###");
      run_commands.running = false;
      screen.restore_title();
      return false;
    }
    setup_adc(15000, input, 8, 0);
    screen.erase_graph();
    run_start_tick = unit_tick_ms();
  }
  char text0[64];
  if (program_text(program_, 0, text0, sizeof text0) && std::strcmp(text0, "???") != 0) {
    widen(title_, 64, text0, kTitleCharacters);
  }
  program_.CurrentStep = 0;
  bool result = true;

  for (;;) {
    if (run_commands.stop) break;
    program_error = false;
    hold_here_when_asked();
    wait_while_paused();
    if (executing_ && (run_commands.skip_test || run_commands.skip_session)) {
      executing_ = false;
      if (run_commands.skip_session) {
        run_commands.stop = true;
        break;
      }
    }
    if (run_commands.resume.exchange(false) && waiting_) {
      timing().Start = unit_tick_ms() - static_cast<uint32_t>(waited_seconds_) * 1000u;
    }
    if (run_commands.restart_test || run_commands.restart_session) {
      const bool test = run_commands.restart_test;
      const uint16_t wanted = test ? OPCODE_TEST : OPCODE_SESSION;
      int found = top_;
      while (found >= 0 && frames_[found].Opcode != wanted) --found;
      // A called program without the block to restart ends here and leaves
      // the command to its caller, whose stack may hold it (a session's
      // SESSION block around its called tests).
      if (found < 0 && depth_ > 0) break;
      while (top_ >= 0 && frames_[top_].Opcode != wanted) frames_[top_--].Active = false;
      run_commands.restart_test = false;
      run_commands.restart_session = false;
      waiting_ = false;
      if (top_ >= 0) {
        program_.CurrentStep = static_cast<int32_t>(frames_[top_].Step);
        frames_[top_--].Active = false;
        if (test) {
          runState& r = run();
          if (r.in_session || depth_ > 0) {
            ++r.session_tests;
          } else {
            --r.run_tests;
          }
        }
      } else if (test) {
        engine_show_message(4, "### NO TEST FOUND TO REPEAT ###");
        result = false;
        break;
      }
    }
    if (waiting_) {
      blockFrame& f = timing();
      const uint32_t elapsed = unit_tick_ms() - f.Start;
      waited_seconds_ = static_cast<int>(elapsed / 1000);
      if (!quiet_ && static_cast<int>(elapsed / 1000) != shown_seconds_) {
        shown_seconds_ = static_cast<int>(elapsed / 1000);
        row(7, -3, 30, L"%3d", shown_seconds_);
      }
      if (elapsed >= f.Duration || run_commands.skip_wait) {
        f.Start += f.Duration;
        row(7, -3, 21, L"%ls", L"          ");
        run_commands.skip_wait = false;
        waiting_ = false;
        shown_seconds_ = -1;
        waited_seconds_ = 0;
        if (program_.CurrentStep >= program_.StepCount) break;
      } else {
        unit_wait_ms(std::min<uint32_t>(f.Duration - elapsed, 50));
      }
      continue;
    }
    if (program_.CurrentStep < 0 || program_.CurrentStep >= program_.StepCount) break;
    const uint32_t index = static_cast<uint32_t>(program_.CurrentStep++);
    const programStep s = program_.Steps[index];
    if (executing_ && s.Name != 0 && !quiet_) {
      char name[8];
      unpack_name(s.Name, name, sizeof name);
      row(7, -1, 18 + 6 * depth_, L"%-6hs", name);
    }
    const stepEnd end = step(s, index);
    if (end == stepEnd::fail) {
      result = false;
      break;
    }
    if (end == stepEnd::end_run) break;
    // The flag error messages and error trace lines raise, on any thread.
    if (program_error.exchange(false)) engine_show_message(0, "*** ERROR ***\nduring program\nexecution.");
    // A restart left by a called program is taken at the top of the loop.
    const bool restart = run_commands.restart_test || run_commands.restart_session;
    if (program_.CurrentStep >= program_.StepCount && !waiting_ && !restart) break;
  }

  row(7, -1, 18 + 6 * depth_, L"%ls", L"      ");
  if (depth_ == 0) {
    set_background(0);
    standby_converters();
    run_commands.running = false;
    insideTest = false;
    row(3, -3, 11, L"%ls", L"END OF PROTOCOL");
    screen.restore_title();
  }
  return result;
}

stepEnd programRun::step(const programStep& s, uint32_t index) {
  runState& r = run();
  if (!executing_) {
    if (s.Opcode == OPCODE_END_TEST || s.Opcode == OPCODE_END_TEST_PAUSE) return end_test(s);
    if (s.Opcode == OPCODE_END_SESSION) return end_session();
    return stepEnd::next;
  }
  switch (s.Opcode) {
    case OPCODE_TEST:
      return test_step(index);
    case OPCODE_SESSION:
      session_number = session_number + 1;
      r.session_tests = 0;
      if (!push(s, index)) return stepEnd::fail;
      r.in_session = true;
      r.title_pending = true;
      r.data_collected = false;
      interpreter_screen().show_test_label(r.records[0]);
      return stepEnd::next;
    case OPCODE_TITLE: {
      char text[64];
      if (!program_text(program_, s.Value, text, sizeof text)) return stepEnd::next;
      wchar_t wide[64];
      widen(wide, 64, text, kSessionTitleCharacters);
      if (r.title_pending) {
        std::wcsncpy(r.session_title, wide, 63);
        r.session_title[63] = L'\0';
        r.title_pending = false;
      }
      std::wcsncpy(title_, wide[0] == L'+' ? wide + 1 : wide, kTitleCharacters);
      title_[kTitleCharacters] = L'\0';
      interpreter_screen().set_title(title_);
      return stepEnd::next;
    }
    case OPCODE_INTENSITY: {
      const float f = program_scan_result().FilterValue;
      int32_t intensity = static_cast<int32_t>(s.Value);
      // A filter value that is no number (a program file's bits) filters
      // nothing; a product beyond the intensity's range is held at its end.
      if (f != 1.0f && f != 0.0f && std::isfinite(f)) {
        const double d = f <= 50 ? 10.0 : f <= 500 ? 100.0 : 1000.0;
        const double product = static_cast<double>(s.Value) / d * f;
        intensity = static_cast<int32_t>(std::min(std::max(product, -2147483648.0), 2147483647.0));
      }
      set_flash(intensity, 1, 0, 0, 0);
      r.intensity = intensity;
      return stepEnd::next;
    }
    case OPCODE_BACKGROUND: {
      const int32_t value = static_cast<int32_t>(s.Value);
      set_background(value);
      if (value != r.background) r.adaptation_tick = unit_tick_ms();
      r.background = value;
      return stepEnd::next;
    }
    case OPCODE_WAIT:
      if (s.Value < 501) {
        start_wait(s.Value);
        return stepEnd::next;
      }
      quiet_ = false;
      if (is_slave.load() != 0) {
        row(5, -3, 21, L"%ls", L"slave wait    ");
        return stepEnd::next;
      }
      if (s.Value > 1000) row(7, -3, 21, L"wait %3d      ", static_cast<int>(s.Value / 1000));
      start_wait(s.Value);
      return stepEnd::next;
    case OPCODE_REPEAT:
    case OPCODE_REPEAT_MS: {
      if (!push(s, index)) return stepEnd::fail;
      blockFrame& f = frames_[top_];
      const uint32_t count = s.Value & 0xFFFF;
      const uint32_t interval = s.Value >> 16;
      f.Value = count;  // the flashes that remain
      r.averaging = static_cast<int>(count);
      quiet_ = false;
      if (interval != 0) {
        f.Duration = interval;
        if (interval < 700) quiet_ = true;
        if (interval > 1000) row(7, -3, 21, L"wait %3d      ", static_cast<int>(interval / 1000));
      }
      row(7, -2, 19, L"repeat %3d     ", static_cast<int>(count));
      row(7, -2, 30, L"%ls", L"1");
      return stepEnd::next;
    }
    case OPCODE_END_REPEAT:
      return end_repeat(s);
    case OPCODE_CALL:
      return call(s);
    case OPCODE_RFR:
      return rfr(s);
    case OPCODE_FLICKER1:
    case OPCODE_FLICKER2:
      return flicker(s);
    case OPCODE_END_TEST:
    case OPCODE_END_TEST_PAUSE:
      return end_test(s);
    case OPCODE_END_SESSION:
      return end_session();
    default:
      return stepEnd::next;
  }
}

stepEnd programRun::test_step(uint32_t index) {
  runState& r = run();
  if (!push(program_.Steps[index], index)) return stepEnd::fail;
  insideTest = true;
  int T = 0;
  if (r.in_session || depth_ > 0) {
    T = ++r.session_tests;
  } else {
    T = r.run_tests++;
    std::wcscpy(r.session_title, L" ");
    interpreter_screen().set_title(title_);
  }
  r.sweeps = 0;
  r.averaging = kMaxSweeps;
  flicker_ran_ = false;
  next_ERG_directory_if_full();
  if (next_ERG_directory_if_counters_pass(T)) {
    // The test numbers start again in the next folder.
    if (r.in_session || depth_ > 0) {
      T = r.session_tests = 1;
    } else {
      T = 0;
      r.run_tests = 1;
    }
  }
  wchar_t test_id[20];
  {
    std::lock_guard<std::mutex> hold(r.id_lock);
    std::wcscpy(test_id, r.test_id);
  }
  const std::string serial = unit_serial();
  const std::string cfc = cfc_id();
  const int32_t adaptation = static_cast<int32_t>(unit_tick_ms() - r.adaptation_tick);
  for (int channel = 0; channel < 2; ++channel) {
    testFileRecord& record = r.records[channel];
    clear_test_samples(record);
    record.P = protocol_number.load();
    record.S = session_number.load();
    record.T = T;
    record.N = run_count.load();
    copy_wide(record.TestId, 20, test_id, 19);
    copy_wide(record.SessionTitle, 64, r.session_title, kSessionTitleCharacters);
    record.FlickerMark = u'N';
    convert_steps_to_config(&program_, static_cast<int>(index), &record.Config, r.background, adaptation, channel);
    copy_narrow(record.UnitId, 7, serial, 7);
    copy_narrow(record.CfcId, 12, cfc, 11);
  }
  interpreter_screen().show_test_label(r.records[channels.current.load() == 1 ? 1 : 0]);
  return stepEnd::next;
}

stepEnd programRun::end_repeat(const programStep& s) {
  if (top_ < 0 || (frames_[top_].Opcode != OPCODE_REPEAT && frames_[top_].Opcode != OPCODE_REPEAT_MS)) {
    engine_show_message(4, "### END REPEAT outside of REPEAT block ###");
    return stepEnd::fail;
  }
  blockFrame& f = frames_[top_];
  if (f.Value > 0) --f.Value;
  if (f.Value > 0) {
    const uint32_t count = program_.Steps[f.Step].Value & 0xFFFF;
    if (f.Duration != 0) {
      if (f.Duration <= s.Value) {
        quiet_ = true;
        waiting_ = true;
      } else if (is_slave.load() != 0) {
        row(5, -3, 21, L"%ls", L"slave wait    ");
      } else {
        if (f.Duration > 1000) row(7, -3, 21, L"wait %3d      ", static_cast<int>(f.Duration / 1000));
        waiting_ = true;
      }
    }
    row(7, -2, 30, L"%d", static_cast<int>(count - f.Value + 1));
    program_.CurrentStep = static_cast<int32_t>(f.Step + 1);
    return stepEnd::next;
  }
  if (!pop()) return stepEnd::fail;
  row(7, -3, 21, L"%ls", L"          ");
  row(7, -2, 18, L"%ls", L"                ");
  quiet_ = false;
  return stepEnd::next;
}

stepEnd programRun::call(const programStep& s) {
  char name[8];
  unpack_name(s.Name, name, sizeof name);
  if (depth_ + 1 >= kCallDepthLimit) {
    engine_show_message(0, "*** CALLED PROCEDURE [%s] IS INVALID ***", name);
    log_mesg("call of [%s] stopped at depth %d", name, depth_ + 1);
    return stepEnd::fail;
  }
  auto called = std::make_unique<programRecord>();
  clear_program(*called);
  if (!find_program_file(s.Name, *called)) {
    engine_show_message(0, "*** CALLED PROCEDURE\n[%s]\nNOT FOUND ***\n%8.8lx", name,
                        static_cast<unsigned long>(s.Name));
    return stepEnd::fail;
  }
  if (!scan_program(*called)) {
    engine_show_message(0, "*** CALLED PROCEDURE [%s] IS INVALID ***", name);
    return stepEnd::fail;
  }
  runState& r = run();
  programRun inner(*called, depth_ + 1, r.intensity, title_, this);
  return inner.execute() ? stepEnd::next : stepEnd::fail;
}

// A master lowers its synchronisation output (GPIO register 12 bit 1) for
// the collection; a slave shows so and waits while the master's is high.
// False when the run is stopped meanwhile.
bool programRun::begin_synchronised_collection() {
  if (is_master.load() != 0) hardware.put_gpio_bit(kSyncWord, kSyncBit, 0);
  if (is_slave.load() == 0) return true;
  row(5, -3, 21, L"%ls", L"slave mode    ");
  while ((hardware.get_gpio_reg(kSyncWord) & (1u << kSyncBit)) != 0) {
    if (run_commands.stop || run_commands.skip_session) return false;
    unit_sleep_ms(1);
  }
  return true;
}

void programRun::end_synchronised_collection() {
  if (is_master.load() != 0) hardware.put_gpio_bit(kSyncWord, kSyncBit, 1);
}

stepEnd programRun::rfr(const programStep& s) {
  runState& r = run();
  const int pre = static_cast<int>((s.Value >> 24) & 0x7F);
  const int post = static_cast<int>(s.Value & 0xFFFFF);
  if (!begin_synchronised_collection()) return stepEnd::end_run;
  const int slot = std::min(r.sweeps + 1, kMaxSweeps);
  const bool a = channel_on(0);
  const bool b = channel_on(1);
  clear_sweep_values(slot, slot);
  set_thread_priority_for("RFR", COLLECTION_PRIORITY);
  int result = 0;
  if (a && b) {
    result = collect_dual_sweeps(pre, post, &r.slots[0][slot], &r.slots[1][slot], 12000, 0, 1, 300);
  } else {
    result = collect_sweep(pre, post, &r.slots[b && !a ? 1 : 0][slot], 12000, 0, 1, 300);
  }
  set_thread_priority_for("RFR2", WORKER_PRIORITY);
  end_synchronised_collection();
  if (result < 1) {
    engine_show_message(0, "*** ERROR ***\nRFR DATA COLLECTION");
    log_mesg("*** pre %d, post %d  CH-A %d CH-B %d***", pre, post, a ? 1 : 0, b ? 1 : 0);
    run_commands.skip_test = true;
    run_commands.skip_session = true;
    return stepEnd::next;
  }
  r.data_collected = true;
  const int shown = channels.current.load() == 1 && b ? 1 : (a ? 0 : 1);
  bool draw = !quiet_;
  if (is_slave.load() != 0) {
    const uint32_t next = static_cast<uint32_t>(program_.CurrentStep);
    draw = true;
    if (next < static_cast<uint32_t>(program_.StepCount)) {
      const programStep& n = program_.Steps[next];
      if ((n.Opcode == OPCODE_WAIT || n.Opcode == OPCODE_WAIT_REPEAT) && n.Value < 700) draw = false;
    }
  }
  if (draw) {
    const runConfig& c = r.records[shown].Config;
    interpreter_screen().draw_sweep(r.slots[shown][slot], c.Scale, c.Offset);
  }
  if (r.sweeps < kMaxSweeps) ++r.sweeps;
  return stepEnd::next;
}

stepEnd programRun::flicker(const programStep& s) {
  runState& r = run();
  if (flicker_ran_) {
    engine_show_message(0, "*** MULTIPLE 'FLICKER' COMMANDS IN TEST ***");
    return stepEnd::fail;
  }
  const bool second = s.Opcode == OPCODE_FLICKER2;
  int interval = 0;
  int count = 0;
  int length = 0;
  uint8_t mode = 0;
  if (second) {
    interval = static_cast<int>((s.Value >> 20) & 0xFFF);
    count = static_cast<int>(s.Value & 0x3FF);
    length = static_cast<int>((s.Value >> 10) & 0x3FF);
    mode = static_cast<uint8_t>(s.Value);
  } else {
    interval = static_cast<int>(s.Value & 0xFFF);
    count = static_cast<int>((s.Value >> 16) & 0xFFF);
    length = std::min(4 * interval - interval / 2, 800);
    mode = static_cast<uint8_t>(s.Value >> 16);
  }
  if (interval == 0) {
    engine_show_message(0, "*** FLICKER INTERVAL OF 0 ms ***");
    return stepEnd::fail;
  }
  interpreterScreen& screen = interpreter_screen();
  screen.request_menu(PAGE_DEFAULT, MENU_WAITING);
  row(7, 5, 6, L"%ls", L"-- FLICKER RUNNING --");
  flicker_ran_ = true;
  const double k = std::ceil(std::max(static_cast<double>(length) / interval - 0.2, 1.0));
  r.averaging = std::min(static_cast<int>(std::floor(count / k)), kMaxSweeps);
  for (int i = 1; i <= r.averaging; ++i) {
    r.slots[0][i].CollectionTime = 0;
    r.slots[1][i].CollectionTime = 0;
  }
  if (set_flash(r.intensity, mode, interval, 0, 0) == 0) return stepEnd::fail;
  if (!begin_synchronised_collection()) return stepEnd::end_run;
  const bool a = channel_on(0);
  const bool b = channel_on(1);
  samplesBlock* slot_a = &r.slots[0][1];
  samplesBlock* slot_b = &r.slots[1][1];
  clear_sweep_values(1, kMaxSweeps);
  set_thread_priority_for(second ? "flicker2 A" : "flicker A", COLLECTION_PRIORITY);
  int result = 0;
  if (second) {
    const int timeout = (interval + 10) * 2;
    result = a && b ? collect_dual_synced_sweeps(0, length, slot_a, slot_b, 12000, 0, kMaxSweeps, timeout)
                    : collect_synced_sweeps(0, length, a ? slot_a : slot_b, 12000, 0, kMaxSweeps, timeout);
  } else {
    const int timeout = 5 * interval + 20;
    result = a && b ? collect_dual_sweeps(0, length, slot_a, slot_b, 12000, 0, kMaxSweeps, timeout)
                    : collect_sweep(0, length, a ? slot_a : slot_b, 12000, 0, kMaxSweeps, timeout);
  }
  set_thread_priority_for(second ? "flicker2 B" : "flicker B", WORKER_PRIORITY);
  row(7, 5, 6, L"%ls", L"                     ");
  end_synchronised_collection();
  if (result < 0) {
    if (second) {
      engine_show_message(0, "*** ERROR ***\n\nFLICKER DATA COLLECTION\n(code = %d)", result);
      screen.request_menu(PAGE_DEFAULT, MENU_CALIBRATION_MESSAGE);
    } else {
      engine_show_message(0, "*** ERROR ***\n\nFLICKER DATA COLLECTION");
      screen.request_menu(PAGE_DEFAULT, MENU_GO_BACK);
    }
    run_commands.skip_test = true;
    run_commands.skip_session = true;
    return stepEnd::next;
  }
  r.data_collected = true;
  r.sweeps = std::min(result, kMaxSweeps);
  screen.request_menu(PAGE_DEFAULT, MENU_GO_BACK);
  return stepEnd::next;
}

stepEnd programRun::end_test(const programStep& s) {
  runState& r = run();
  bool end_run = false;
  if (executing_) {
    if (top_ < 0 || frames_[top_].Opcode != OPCODE_TEST) {
      engine_show_message(4, "### END TEST outside of TEST block ###");
      return stepEnd::fail;
    }
    row(7, -2, 18, L"%ls", L" AVERAGING     ");
    if (r.sweeps == 0) {
      engine_show_message(0, "*** NO SAMPLE DATA ACQUIRED ***");
    } else {
      const int averaging = std::max(1, std::min(r.sweeps, r.averaging));
      const double notch = system_parameter(PARAM_NOTCHFREQ);
      for (int channel = 0; channel < 2; ++channel) {
        if (!channel_on(channel)) continue;
        testFileRecord& record = r.records[channel];
        clear_test_samples(record);
        record.LastSweep = r.slots[channel][r.sweeps];
        for (int i = 1; i <= averaging; ++i) add_to_average_sample(record, &r.slots[channel][i], 1);
        if (flicker_ran_) record.FlickerMark = u'Y';
        if (notch != 0) {
          samplesBlock& avg = record.Average;
          // The average holds PointCount values: the word after them is no value.
          const int n = std::min(std::max(avg.PointCount, 0), kSamplesPerBlock);
          bandreject_filter(avg.Data, avg.Data, n, avg.Time, notch, 10.0);
        }
      }
      flicker_ran_ = false;
      interpreter_screen().show_result(r.records);
      row(7, -2, 18, L"%ls", L" SAVING DATA   ");
      const fileTime when = local_file_time();
      // A card that takes no file (full, read-only, gone) ends the run at
      // the first failure: its message is the run's one message.
      bool stored = true;
      for (int channel = 0; channel < 2 && stored; ++channel) {
        if (!channel_on(channel)) continue;
        r.records[channel].Config.Intensity = r.intensity;
        // [SAMPLES] counts as a whole number of at least 1; compared as it is
        // stored, so any value the ini file holds is safe. Sweep slots 1 to
        // count - 1 become the sample files, stored before the record.
        const bool samples = system_parameter(PARAM_SAMPLES) >= 1.0;
        const int sample_files = samples && r.sweeps > 1 ? r.sweeps - 1 : 0;
        stored = store_test(r.records, channel, when, title_, &r.slots[channel][1], sample_files);
      }
      r.stored_sweeps = r.sweeps;
      if (!stored) {
        log_mesg("RUN ENDED: THE TEST COULD NOT BE STORED");
        row(7, -2, 18, L"%ls", L"                ");
        return stepEnd::fail;
      }
    }
    if (!r.in_session) end_run = true;
    row(7, -2, 18, L"%ls", L"                ");
  }
  if (!executing_) {
    // A test skipped inside a block (a REPEAT) ends with its own TEST frame:
    // the blocks still open in it are left with it.
    int test = top_;
    while (test >= 0 && frames_[test].Opcode != OPCODE_TEST) --test;
    if (test >= 0 && test < top_) {
      while (top_ > test) frames_[top_--].Active = false;
      row(7, -3, 21, L"%ls", L"          ");
      row(7, -2, 18, L"%ls", L"                ");
    }
  }
  if (!pop()) return stepEnd::fail;
  insideTest = false;
  if (end_run) return stepEnd::end_run;
  if (s.Value != 0 && has_timing()) {
    if (is_slave.load() != 0) {
      row(5, -3, 21, L"%ls", L"slave wait    ");
    } else {
      quiet_ = false;
      row(7, -3, 21, L"wait %3d      ", static_cast<int>(s.Value / 1000));
      start_wait(s.Value);
    }
  }
  if (run_commands.skip_test) {
    run_commands.skip_test = false;
    executing_ = true;
  }
  return stepEnd::next;
}

stepEnd programRun::end_session() {
  runState& r = run();
  if (executing_ && (top_ < 0 || frames_[top_].Opcode != OPCODE_SESSION)) {
    log_mesg("TOPOPC is %d, not %d", top_ >= 0 ? frames_[top_].Opcode : 0, OPCODE_SESSION);
    engine_show_message(4, "### END SESSION outside of SESSION block ###");
    return stepEnd::fail;
  }
  if (!pop()) return stepEnd::fail;
  if (run_commands.skip_session) {
    run_commands.skip_session = false;
    executing_ = true;
  }
  r.in_session = false;
  return stepEnd::end_run;
}

}  // namespace

namespace {

struct testThread {
  std::mutex lock;
  std::unique_ptr<programRecord> program = std::make_unique<programRecord>();
  workerEvent run_set;
  std::thread thread;
  std::atomic<bool> quit{false};
  std::atomic<bool> result{false};
};

testThread& test_thread() {
  static testThread t;
  return t;
}

void test_thread_loop() {
  testThread& t = test_thread();
  for (;;) {
    t.run_set.wait();
    if (t.quit) return;
    const bool master = is_master.load() != 0;
    if (master) hardware.put_gpio_bit(13, 1, 1);
    auto program = std::make_unique<programRecord>();
    {
      std::lock_guard<std::mutex> hold(t.lock);
      *program = *t.program;
    }
    t.result = Execute(*program, 0, 0, 0, 0, L"");
    if (master) hardware.put_gpio_bit(13, 1, 0);
    send_8051_byte(COMMAND_DONE);
    post_command_to_main_dialog(RUN_ENDED_COMMAND, RUN_ENDED_CODE);
  }
}

}  // namespace

void pause_run() {
  pauseGate& g = gate();
  std::lock_guard<std::mutex> hold(g.lock);
  run_commands.resume = true;
  g.open = false;
}

void continue_run() {
  pauseGate& g = gate();
  {
    std::lock_guard<std::mutex> hold(g.lock);
    g.open = true;
  }
  g.changed.notify_all();
}

void set_loaded_program(const programRecord& program) {
  testThread& t = test_thread();
  std::lock_guard<std::mutex> hold(t.lock);
  *t.program = program;
}

bool start_test_thread() {
  testThread& t = test_thread();
  if (t.thread.joinable()) return true;
  t.quit = false;
  try {
    t.thread = std::thread(test_thread_loop);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

void stop_test_thread() {
  testThread& t = test_thread();
  if (!t.thread.joinable()) return;
  t.quit = true;
  run_commands.stop = true;
  continue_run();
  t.run_set.set();
  t.thread.join();
  flagsClearedForRun = false;  // a run asked for and never begun leaves nothing for the next
}

void signal_run_set() {
  clear_run_commands();
  flagsClearedForRun = true;
  test_thread().run_set.set();
}

void hold_run_when(std::function<bool()> condition) {
  holdPoint& h = hold_point();
  std::lock_guard<std::mutex> hold(h.lock);
  h.condition = std::move(condition);
}

bool run_held() {
  pauseGate& g = gate();
  std::lock_guard<std::mutex> hold(g.lock);
  return g.held;
}

bool last_run_result() { return test_thread().result; }

bool run_inside_test() { return insideTest.load() && run_commands.running.load(); }

void set_entered_test_id(const wchar_t* id) {
  runState& r = run();
  std::lock_guard<std::mutex> hold(r.id_lock);
  std::memset(r.test_id, 0, sizeof r.test_id);
  std::wcsncpy(r.test_id, id != nullptr && id[0] != L'\0' ? id : L"0000000000", 19);
}

bool Execute(programRecord& program, int depth, int32_t background, uint32_t adaptation_tick,
             int32_t intensity, const wchar_t* title) {
  runState& r = run();
  r.background = background;
  r.adaptation_tick = adaptation_tick;
  programRun invocation(program, depth, intensity, title);
  return invocation.execute();
}

const testFileRecord* last_test_records() { return run().records; }
int last_test_sweep_count() { return run().stored_sweeps; }
