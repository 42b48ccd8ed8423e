#include "handheld/engine/protocols/run_config_conversion.h"

#include <cstring>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/log/engine_messages.h"
#include "handheld/engine/protocols/protocol_program.h"

namespace {

constexpr int kLastStep = kProgramSteps - 1;
constexpr int kStepsAfterTest = 62;
constexpr int32_t kSampleRate = 15000;

// Calibration entries of the data line (scale, offset) of each channel.
constexpr int kChannelAScale = 6;
constexpr int kChannelBScale = 8;

// Field widths of the step values the custom test writes.
constexpr int32_t kMaxPreTime = 0x7F;         // RFR bits 24-30
constexpr int32_t kMaxPostTime = 0xFFFFF;     // RFR bits 0-19
constexpr int32_t kMaxFlickerField = 0x3FF;   // FLICKER(2) count and post time
constexpr int32_t kMaxFlickerInterval = 4000;
constexpr int32_t kMaxRepeatField = 0xFFFF;   // REPEAT count and interval
constexpr int32_t kMaxWaitSeconds = 2147483;  // the wait is stored in ms

bool in_range(const char* what, int32_t value, int32_t low, int32_t high) {
  if (value >= low && value <= high) return true;
  engine_show_message(0, "*** %s (%d) ***\nMUST BE %d TO %d", what, value, low, high);
  return false;
}

// Values of the settings that their steps cannot hold are refused before the
// program is touched.
bool settings_fit(const runConfig& c) {
  if (!in_range("WAIT [SEC]", c.AdaptationTime, 0, kMaxWaitSeconds)) return false;
  if (!in_range("PREFLASH DATA TIME", c.PreTime, 0, kMaxPreTime)) return false;
  if (c.RepeatCount < 2) return in_range("POSTFLASH DATA TIME", c.PostTime, 0, kMaxPostTime);
  if (c.PreTime == 0 && c.RepeatInterval <= kMaxFlickerInterval) {
    return in_range("mSEC BETWEEN FLASHES", c.RepeatInterval, 1, kMaxRepeatField) &&
           in_range("FLASHES PER TEST", c.RepeatCount, 2, kMaxFlickerField) &&
           in_range("POSTFLASH DATA TIME", c.PostTime, 0, kMaxFlickerField);
  }
  // The data and a 50 ms margin may take the whole interval, no more.
  if (int64_t{c.PreTime} + c.PostTime + 50 > c.RepeatInterval) {
    engine_show_message(0,
                        "*** Total data time ***\n(%d + %d [+50])\n*** is incompatible with "
                        "***\n'mSec between samples'\n(%d)",
                        c.PreTime, c.PostTime, c.RepeatInterval);
    return false;
  }
  if (!in_range("mSEC BETWEEN FLASHES", c.RepeatInterval, 1, kMaxRepeatField)) return false;
  return in_range("FLASHES PER TEST", c.RepeatCount, 2, kMaxRepeatField) &&
         in_range("POSTFLASH DATA TIME", c.PostTime, 0, kMaxPostTime);
}

void narrow_name(const wchar_t* wide, char* out) {
  size_t n = 0;
  for (; n < kProgramTextSize - 1 && wide[n] != L'\0'; ++n) {
    wchar_t c = wide[n];
    out[n] = (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
  }
  std::memset(out + n, 0, kProgramTextSize - n);
}

uint32_t rfr_value(const runConfig& c) {
  return static_cast<uint32_t>(c.PostTime) + (static_cast<uint32_t>(c.PreTime) << 24);
}

}  // namespace

bool convert_steps_to_config(const programRecord* program, int test_step, runConfig* config,
                             int32_t background, int32_t adaptation, int channel) {
  if (program == nullptr) {
    engine_show_message(4, "### convert_steps_to_config : program is null ###");
    return false;
  }
  if (config == nullptr) {
    engine_show_message(4, "### convert_steps_to_config : configuration is null ###");
    return false;
  }
  if (test_step < 0 || test_step > kLastStep ||
      program->Steps[test_step].Opcode != OPCODE_TEST) {
    engine_show_message(4, "### convert_steps_to_config : first step not TEST ###");
    return false;
  }
  runConfig& c = *config;
  c.Intensity = 0;
  c.Filter = 0;
  c.Background = background;
  c.AdaptationTime = adaptation;
  c.RepeatInterval = 0;
  c.RepeatCount = 0;
  c.SampleRate = kSampleRate;
  c.PreTime = 0;
  c.PostTime = 0;
  int scale_entry = channel == 1 ? kChannelBScale : kChannelAScale;
  c.Scale = calibration_table[scale_entry].load();
  c.Offset = calibration_table[scale_entry + 1].load();

  int last = test_step + kStepsAfterTest < kLastStep ? test_step + kStepsAfterTest : kLastStep;
  for (int i = test_step + 1; i <= last; ++i) {
    const programStep& step = program->Steps[i];
    uint32_t v = step.Value;
    switch (step.Opcode) {
      case OPCODE_REPEAT:
      case OPCODE_REPEAT_MS:
        c.RepeatCount = static_cast<int32_t>(v & 0xFFFFu);
        c.RepeatInterval = static_cast<int32_t>(v >> 16);
        continue;
      case OPCODE_END_REPEAT:
      case OPCODE_TITLE:
        continue;
      case OPCODE_BACKGROUND:
        c.Background = static_cast<int32_t>(v);
        continue;
      case OPCODE_INTENSITY:
        c.Intensity = static_cast<int32_t>(v);
        continue;
      case OPCODE_FILTER:
        c.Filter = v;
        continue;
      case OPCODE_WAIT:
        if (program->Steps[i - 1].Opcode == OPCODE_BACKGROUND) {
          c.AdaptationTime = static_cast<int32_t>(v / 1000);
        }
        continue;
      case OPCODE_RFR:
        c.PreTime = static_cast<int32_t>((v >> 24) & 0x7Fu);
        c.PostTime = static_cast<int32_t>(v & 0xFFFFFu);
        continue;
      case OPCODE_WAIT_REPEAT:
        c.RepeatInterval = static_cast<int32_t>(v);
        continue;
      case OPCODE_FLICKER1: {
        int32_t interval = static_cast<int32_t>(v & 0xFFFu);
        c.PreTime = 0;
        c.RepeatInterval = interval;
        c.RepeatCount = static_cast<int32_t>((v >> 16) & 0xFFFu);
        c.PostTime = interval < 200 ? 4 * interval : 800;
        continue;
      }
      case OPCODE_FLICKER2:
        c.RepeatCount = static_cast<int32_t>(v & 0x3FFu);
        c.RepeatInterval = static_cast<int32_t>(v >> 20);
        c.PostTime = static_cast<int32_t>((v >> 10) & 0x3FFu);
        c.PreTime = 0;
        continue;
      case OPCODE_END_TEST:
      case OPCODE_END_TEST_PAUSE:
        if (c.RepeatCount == 0) c.RepeatCount = 1;
        return true;
      default:
        engine_show_message(0, "### convert_steps_to_config:\nUNKNOWN OPERATION (%d) ###",
                            step.Opcode);
        break;
    }
    break;
  }
  engine_show_message(4, "### convert_steps_to_config : NO 'END TEST' FOUND ###");
  return false;
}

bool convert_config_to_program(customTestSettings* settings, programRecord* program) {
  if (settings == nullptr || program == nullptr) {
    engine_show_message(4, "### convert_config_to_program : %s is null ###",
                        settings == nullptr ? "settings" : "program");
    return false;
  }
  runConfig& c = settings->Config;
  if (!settings_fit(c)) return false;

  programRecord& p = *program;
  p.StepCount = 0;
  narrow_name(settings->Name, p.Texts[0]);
  c.Unused = 0;

  push_step(p, OPCODE_TEST, 0, pack_name("TEST"));
  push_step(p, OPCODE_INTENSITY, static_cast<uint32_t>(c.Intensity), pack_name("INT"));
  push_step(p, OPCODE_BACKGROUND, static_cast<uint32_t>(c.Background), pack_name("BKG"));
  push_step(p, OPCODE_WAIT, static_cast<uint32_t>(c.AdaptationTime) * 1000u, pack_name("WAIT"));
  if (c.RepeatCount < 2) {
    push_step(p, OPCODE_RFR, rfr_value(c), pack_name("RFR"));
  } else if (c.PreTime == 0 && c.RepeatInterval <= kMaxFlickerInterval) {
    uint32_t value = static_cast<uint32_t>(c.RepeatCount) |
                     (static_cast<uint32_t>(c.PostTime) << 10) |
                     (static_cast<uint32_t>(c.RepeatInterval) << 20);
    push_step(p, OPCODE_FLICKER2, value, 0);
  } else {
    push_step_pair(p, OPCODE_REPEAT_MS, static_cast<uint16_t>(c.RepeatInterval),
                   static_cast<uint16_t>(c.RepeatCount), pack_name("REPEAT"));
    push_step(p, OPCODE_RFR, rfr_value(c), pack_name("RFR"));
    push_step(p, OPCODE_WAIT_REPEAT, static_cast<uint32_t>(c.RepeatInterval), pack_name("WAITOR"));
    push_step(p, OPCODE_END_REPEAT, 0, pack_name("END REPEAT"));
  }
  push_step(p, OPCODE_END_TEST_PAUSE, 0, pack_name("END"));
  return true;
}
