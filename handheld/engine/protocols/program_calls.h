// Programs that call other programs: where a called program file is looked
// for on the storage card, and how many tests a program will record with the
// programs it calls.
#ifndef HANDHELD_ENGINE_PROTOCOLS_PROGRAM_CALLS_H
#define HANDHELD_ENGINE_PROTOCOLS_PROGRAM_CALLS_H

#include <cstddef>
#include <cstdint>

#include "handheld/engine/storage/stored_records.h"

// The name (without extension) of the protocol selected in the protocol
// list; its folder is the first place a called program is looked for. Kept
// to 63 characters; empty until a protocol is selected.
void set_selected_protocol_name(const wchar_t* name);
void get_selected_protocol_name(wchar_t* out, size_t capacity);

// Reads the called program (a packed name) from the first of these files
// that reads, with S the selected protocol and N the called name:
//   Storage Card\S\N.tes, Storage Card\N.tes, Storage Card\N.ses,
//   Storage Card\S\N.ses, then the same four under "TEST_LIB" and under
//   "TESTS".
// The places in S's folder are skipped while no protocol is selected. None
// reads: logged, false.
bool find_program_file(uint32_t name, programRecord& program);

// TEST steps in steps 0 to 62 of program, following CALL steps into called
// program files (one not found is skipped). Call with depth 0. A CALL that
// would make more than 10 levels with the calling programs (a program that
// calls itself) stops the whole count with a message, as it stops a run; the
// count so far is returned. Each called program is looked for and counted
// once per count, and a count that would call more than 256 different
// programs stops likewise with a message.
int count_tests(const programRecord& program, int depth);

#endif
