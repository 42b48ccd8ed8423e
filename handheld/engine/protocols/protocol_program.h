// Protocol programs: the operation and unit tables, step names packed in base
// 37, building and clearing a program, and the pre-pass that every program
// gets before it runs. Called programs are found by program_calls.h.
//
// A program is a programRecord (stored_records.h): at most 64 steps, each a
// 16-bit opcode (low byte the operation, high byte the unit), a packed name
// and a 32-bit value whose encoding depends on the opcode.
#ifndef HANDHELD_ENGINE_PROTOCOLS_PROTOCOL_PROGRAM_H
#define HANDHELD_ENGINE_PROTOCOLS_PROTOCOL_PROGRAM_H

#include <cstddef>
#include <cstdint>

#include "handheld/engine/storage/stored_records.h"

// ---- Operations, units and the opcodes in use ----

constexpr int kProgramOperations = 27;
constexpr int kProgramUnits = 13;

// The operation name of an opcode's low byte, the unit name of its high byte;
// "UNKNOWN" and "?" for an index beyond the tables.
const char* program_operation_name(uint16_t opcode);
const char* program_unit_name(uint16_t opcode);

// Opcodes are compared whole: an operation with another unit is another
// opcode.
constexpr uint16_t OPCODE_REPEAT = 0x000B;
constexpr uint16_t OPCODE_REPEAT_MS = 0x080B;
constexpr uint16_t OPCODE_END_REPEAT = 0x000C;
constexpr uint16_t OPCODE_CALL = 0x000D;
constexpr uint16_t OPCODE_TEST = 0x000E;
constexpr uint16_t OPCODE_SESSION = 0x000F;
constexpr uint16_t OPCODE_END_TEST = 0x0010;
constexpr uint16_t OPCODE_END_TEST_PAUSE = 0x0810;  // value: pause in ms
constexpr uint16_t OPCODE_END_SESSION = 0x0011;
constexpr uint16_t OPCODE_NOP = 0x0013;
constexpr uint16_t OPCODE_TITLE = 0x0014;
constexpr uint16_t OPCODE_VERSION = 0x001A;
constexpr uint16_t OPCODE_BACKGROUND = 0x0303;   // MCD
constexpr uint16_t OPCODE_INTENSITY = 0x0404;    // MCDS
constexpr uint16_t OPCODE_WAIT = 0x080A;         // mSEC
constexpr uint16_t OPCODE_RFR = 0x0816;
constexpr uint16_t OPCODE_WAIT_REPEAT = 0x0817;
constexpr uint16_t OPCODE_FLICKER1 = 0x0818;
constexpr uint16_t OPCODE_FLICKER2 = 0x0819;
constexpr uint16_t OPCODE_FILTER = 0x0B15;       // DIV

// ---- Names ----

// Packs up to six characters: value = value * 37 + index, from the first
// character on; 'A'..'Z' (either case) are 0..25, '_' 26, '0'..'9' 27..36,
// anything else 26. A longer text packs to 0 (no name).
uint32_t pack_name(const char* text);

// The base-37 digits of value as symbols, most significant first (at most
// 7), into text (capacity bytes, always terminated); 0 gives "".
void unpack_name(uint32_t value, char* text, size_t capacity);

// ---- Building ----

// Appends a step at the step count. A full program (or one whose step count
// is out of range) is left unchanged and the result is false.
bool push_step(programRecord& program, uint16_t opcode, uint32_t value, uint32_t name);
// The same with value = low (16 bits) + high * 65536.
bool push_step_pair(programRecord& program, uint16_t opcode, uint16_t high, uint16_t low,
                    uint32_t name);

// Every step zero, step count and the reserved word 0, the eight texts
// "X1X"; the current step is left as it is.
void clear_program(programRecord& program);

// Program text index into out (capacity bytes, at most 63 characters, always
// terminated). An index of 8 or more is logged and gives false with out "".
bool program_text(const programRecord& program, uint32_t index, char* out, size_t capacity);

// ---- The pre-pass ----

// What scan_program finds, for the interpreter and the main dialog.
struct programScanResult {
  float FilterValue;          // the FILTER step's value; 1.0 without one
  bool FilterSet;
  int RequiredMajor;          // from a VERSION step; 0 without one
  int RequiredMinor;
  bool FlickerIncompatible;   // FLICKER(2) with stimulator firmware below 3
};
programScanResult program_scan_result();
// The neutral-density factor the run applies to its intensities, as the
// operator confirmed it (the fitted filter's factor, or 1.0 without one).
void set_scan_filter_value(float value);

// The stimulator firmware's major version, from its version message; 0 until
// it arrives.
void set_stimulator_firmware_major(int major);
int stimulator_firmware_major();

// The pre-pass before a program runs: resets and fills the scan result, and
// gives an END REPEAT whose block holds an RFR the value 700 and a REPEAT
// without interval the interval of its WAIT/REPEAT. A step count outside 1
// to 64 is refused with a message and false; the program is then not to run.
bool scan_program(programRecord& program);

#endif
