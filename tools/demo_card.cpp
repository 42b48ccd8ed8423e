#include "tools/demo_card.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/ce/card_path.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/storage/ini_file.h"
#include "handheld/engine/storage/program_files.h"
#include "handheld/engine/protocols/protocol_program.h"
#include "handheld/engine/storage/system_parameters.h"

const wchar_t* const kDemoProtocol = L"DEMO.ses";

namespace {

struct step {
  uint16_t opcode;
  uint32_t value;
  const char* called;  // CALL only
};

// A single flash: pre and post milliseconds.
constexpr uint32_t flash(uint32_t pre, uint32_t post) { return (pre << 24) | post; }
// REPEAT count flashes, one every interval_ms.
constexpr uint32_t every(uint32_t interval_ms, uint32_t count) { return (interval_ms << 16) | count; }
// FLICKER(2): interval, sweep length (ms) and flash count.
constexpr uint32_t flicker(uint32_t interval_ms, uint32_t length_ms, uint32_t count) {
  return (interval_ms << 20) | (length_ms << 10) | count;
}

struct program {
  const wchar_t* file;
  const char* name;   // text 0
  const char* title;  // text 1 ('+': names the protocol of its tests)
  std::vector<step> steps;
};

std::vector<program> demo_programs() {
  return {
      {L"DARK1.tes", "DARK1", "+Dark-adapted 0.01",
       {{OPCODE_TITLE, 1, nullptr},
        {OPCODE_TEST, 0, nullptr},
        {OPCODE_INTENSITY, 10, nullptr},
        {OPCODE_REPEAT_MS, every(2000, 8), nullptr},
        {OPCODE_RFR, flash(20, 230), nullptr},
        {OPCODE_END_REPEAT, 0, nullptr},
        {OPCODE_END_TEST, 0, nullptr}}},
      {L"DARK3.tes", "DARK3", "+Dark-adapted 3.0",
       {{OPCODE_TITLE, 1, nullptr},
        {OPCODE_TEST, 0, nullptr},
        {OPCODE_INTENSITY, 3000, nullptr},
        {OPCODE_REPEAT_MS, every(15000, 3), nullptr},
        {OPCODE_RFR, flash(20, 230), nullptr},
        {OPCODE_END_REPEAT, 0, nullptr},
        {OPCODE_END_TEST, 0, nullptr}}},
      {L"PHOT3.tes", "PHOT3", "+Light-adapted 3.0",
       {{OPCODE_TITLE, 1, nullptr},
        {OPCODE_TEST, 0, nullptr},
        {OPCODE_INTENSITY, 3000, nullptr},
        {OPCODE_REPEAT_MS, every(1000, 10), nullptr},
        {OPCODE_RFR, flash(20, 180), nullptr},
        {OPCODE_END_REPEAT, 0, nullptr},
        {OPCODE_END_TEST, 0, nullptr}}},
      {L"FLIC30.tes", "FLIC30", "+30 Hz flicker",
       {{OPCODE_TITLE, 1, nullptr},
        {OPCODE_TEST, 0, nullptr},
        {OPCODE_INTENSITY, 3000, nullptr},
        {OPCODE_FLICKER2, flicker(33, 33, 60), nullptr},
        {OPCODE_END_TEST, 0, nullptr}}},
      {kDemoProtocol, "DEMO", "Demonstration session",
       {{OPCODE_SESSION, 0, nullptr},
        {OPCODE_TITLE, 1, nullptr},
        {OPCODE_BACKGROUND, 0, nullptr},
        {OPCODE_WAIT, 60000, nullptr},
        {OPCODE_CALL, 0, "DARK1"},
        {OPCODE_CALL, 0, "DARK3"},
        {OPCODE_BACKGROUND, 30000, nullptr},
        {OPCODE_WAIT, 120000, nullptr},
        {OPCODE_CALL, 0, "PHOT3"},
        {OPCODE_CALL, 0, "FLIC30"},
        {OPCODE_END_SESSION, 0, nullptr}}},
  };
}

bool write_program(const program& p) {
  auto record = std::make_unique<programRecord>();
  clear_program(*record);
  std::snprintf(record->Texts[0], sizeof record->Texts[0], "%s", p.name);
  std::snprintf(record->Texts[1], sizeof record->Texts[1], "%s", p.title);
  for (const step& s : p.steps) {
    if (!push_step(*record, s.opcode, s.value, s.called != nullptr ? pack_name(s.called) : 0)) return false;
  }
  return write_program_file(std::wstring(L"Storage Card\\") + p.file, *record);
}

}  // namespace

bool write_demo_card(const std::wstring& card_folder) {
  set_card_root(card_folder.c_str());
  copy_default_parameters();
  store_system_parameter(PARAM_SAMPLES, 1);
  store_system_parameter(PARAM_DATASET, 1);
  channels.a_on = 1;
  channels.b_on = 1;
  set_cfc_id("DEMO");
  if (!write_ini_file()) {
    std::fprintf(stderr, "cannot write the ini file on %ls\n", card_folder.c_str());
    return false;
  }
  for (const program& p : demo_programs()) {
    if (!write_program(p)) {
      std::fprintf(stderr, "cannot write %ls on %ls\n", p.file, card_folder.c_str());
      return false;
    }
  }
  return true;
}
