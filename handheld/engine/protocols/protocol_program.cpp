#include "handheld/engine/protocols/protocol_program.h"

#include <atomic>
#include <cstring>
#include <mutex>

#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/log/engine_messages.h"

namespace {

const char* const kOperationNames[kProgramOperations] = {
    "UNKNOWN",    "FLASH",      "TIME",       "BACKGROUND", "INTENSITY",  "RECORD",
    "SAMPLE1",    "SET FLAG",   "ERGDATA",    "NEW FLAG",   "WAIT",       "REPEAT",
    "END REPEAT", "CALL",       "TEST",       "SESSION",    "END TEST",   "END SESSION",
    "END RECORD", "NOP",        "TITLE",      "FILTER",     "RFR",        "WAIT/REPEAT",
    "FLICKER(1)", "FLICKER(2)", "VERSION",
};

const char* const kUnitNames[kProgramUnits] = {
    " ", "CD", "CDS", "MCD", "MCDS", "SF", "LSF", "SEC", "mSEC", "MIN", "OPD", "DIV", "HZ",
};

const char kNameSymbols[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ_0123456789";
constexpr uint32_t kNameBase = 37;
constexpr size_t kMaxPackedLength = 6;

uint32_t name_index(char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<uint32_t>(c - 'A');
  if (c >= 'a' && c <= 'z') return static_cast<uint32_t>(c - 'a');
  if (c >= '0' && c <= '9') return 27 + static_cast<uint32_t>(c - '0');
  return 26;
}

bool step_count_in_range(int32_t count) { return count >= 0 && count <= kProgramSteps; }

std::atomic<int> g_firmware_major{0};
// Written by the scan on one thread, read by the interpreter or the main
// dialog on another.
std::mutex g_scan_lock;
programScanResult g_scan{1.0f, false, 0, 0, false};

constexpr int kScanRepeatDepth = 5;
constexpr uint32_t kRfrEndRepeatValue = 700;

}  // namespace

const char* program_operation_name(uint16_t opcode) {
  unsigned op = opcode & 0xFFu;
  return op < kProgramOperations ? kOperationNames[op] : kOperationNames[0];
}

const char* program_unit_name(uint16_t opcode) {
  unsigned unit = opcode >> 8;
  return unit < kProgramUnits ? kUnitNames[unit] : "?";
}

uint32_t pack_name(const char* text) {
  if (text == nullptr) return 0;
  size_t length = std::strlen(text);
  if (length > kMaxPackedLength) return 0;
  uint32_t value = 0;
  for (size_t i = 0; i < length; ++i) value = value * kNameBase + name_index(text[i]);
  return value;
}

void unpack_name(uint32_t value, char* text, size_t capacity) {
  if (text == nullptr || capacity == 0) return;
  char digits[8];
  size_t n = 0;
  while (value != 0 && n < sizeof digits) {
    digits[n++] = kNameSymbols[value % kNameBase];
    value /= kNameBase;
  }
  size_t out = 0;
  while (n > 0 && out + 1 < capacity) text[out++] = digits[--n];
  text[out] = '\0';
}

bool push_step(programRecord& program, uint16_t opcode, uint32_t value, uint32_t name) {
  int32_t count = program.StepCount;
  if (!step_count_in_range(count) || count == kProgramSteps) return false;
  programStep& step = program.Steps[count];
  step.Opcode = opcode;
  step.Padding = 0;
  step.Name = name;
  step.Value = value;
  program.StepCount = count + 1;
  return true;
}

bool push_step_pair(programRecord& program, uint16_t opcode, uint16_t high, uint16_t low,
                    uint32_t name) {
  return push_step(program, opcode, static_cast<uint32_t>(low) + static_cast<uint32_t>(high) * 65536u,
                   name);
}

void clear_program(programRecord& program) {
  for (programStep& step : program.Steps) step = programStep{0, 0, 0, 0};
  program.StepCount = 0;
  program.Reserved = 0;
  for (char* text : program.Texts) {
    std::memset(text, 0, kProgramTextSize);
    std::memcpy(text, "X1X", 3);
  }
}

bool program_text(const programRecord& program, uint32_t index, char* out, size_t capacity) {
  if (out == nullptr || capacity == 0) return false;
  out[0] = '\0';
  if (index >= static_cast<uint32_t>(kProgramTexts)) {
    log_mesg("### TITLE %u: NO SUCH PROGRAM TEXT (0 TO %d) ###", index, kProgramTexts - 1);
    return false;
  }
  const char* text = program.Texts[index];
  size_t n = 0;
  while (n < kProgramTextSize - 1 && n + 1 < capacity && text[n] != '\0') {
    out[n] = text[n];
    ++n;
  }
  out[n] = '\0';
  return true;
}

programScanResult program_scan_result() {
  std::lock_guard<std::mutex> hold(g_scan_lock);
  return g_scan;
}

void set_scan_filter_value(float value) {
  std::lock_guard<std::mutex> hold(g_scan_lock);
  g_scan.FilterValue = value;
}

void set_stimulator_firmware_major(int major) { g_firmware_major.store(major); }

int stimulator_firmware_major() { return g_firmware_major.load(); }

bool scan_program(programRecord& program) {
  programScanResult found{1.0f, false, 0, 0, false};
  {
    std::lock_guard<std::mutex> hold(g_scan_lock);
    g_scan = found;
  }
  int32_t count = program.StepCount;
  if (count < 1 || count > kProgramSteps) {
    engine_show_message(0, "*** INVALID PROGRAM ***\n%d steps\n(1 to %d allowed)", count,
                        kProgramSteps);
    return false;
  }
  int open_repeats[kScanRepeatDepth];
  int depth = 0;
  uint32_t pending_end_value = 0;
  for (int i = 0; i < count; ++i) {
    programStep& step = program.Steps[i];
    switch (step.Opcode) {
      case OPCODE_REPEAT:
      case OPCODE_REPEAT_MS:
        if (depth < kScanRepeatDepth) open_repeats[depth++] = i;
        pending_end_value = 0;
        break;
      case OPCODE_END_REPEAT:
        if (pending_end_value != 0) step.Value = pending_end_value;
        if (depth > 0) --depth;
        break;
      case OPCODE_RFR:
        pending_end_value = kRfrEndRepeatValue;
        break;
      case OPCODE_WAIT_REPEAT:
        if (depth > 0) {
          programStep& repeat = program.Steps[open_repeats[depth - 1]];
          if ((repeat.Value >> 16) == 0) {
            repeat.Value = (repeat.Value & 0xFFFFu) | (step.Value << 16);
          }
        }
        break;
      case OPCODE_FLICKER2:
        if (stimulator_firmware_major() < 3) found.FlickerIncompatible = true;
        break;
      case OPCODE_VERSION:
        found.RequiredMajor = static_cast<int>(step.Value >> 16);
        found.RequiredMinor = static_cast<int>(step.Value & 0xFFFFu);
        break;
      case OPCODE_FILTER: {
        float value;
        std::memcpy(&value, &step.Value, sizeof value);
        found.FilterValue = value;
        found.FilterSet = true;
        break;
      }
      default:
        break;
    }
  }
  std::lock_guard<std::mutex> hold(g_scan_lock);
  g_scan = found;
  return true;
}
