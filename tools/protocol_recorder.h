// Records a protocol on the simulated unit: the unit powered on with its
// stimulator and the start-up exchange made with it as the unit makes it
// (version, calibration table with the serial number, clock; the default
// table, with a message, when the stimulator does not answer), the card's
// ini file read, the program run by the test thread
// on the virtual clock, every test stored on the card as the unit stores
// it (test files, sample files, dataset texts, the day's log).
#ifndef TOOLS_PROTOCOL_RECORDER_H
#define TOOLS_PROTOCOL_RECORDER_H

#include <cstdint>
#include <string>
#include <vector>

struct recordingResult {
  bool ran = false;                 // the program ran to its end
  std::vector<std::wstring> stored;  // files the run added to the test folder, by name
  std::vector<std::string> messages;  // the messages the unit showed
  uint64_t unit_ms = 0;             // unit time the run took
  std::wstring test_folder;         // the test folder on this machine
};

// Runs the program file program_file (a name on the card, ".tes" or
// ".ses") with test_id as the entered test id (null: the default). False
// when the unit could not be set up or the program not read (the reason in
// result.messages); otherwise true, with result.ran false when the run
// stopped on an error.
bool record_protocol(const std::wstring& card_folder, const std::wstring& program_file, const wchar_t* test_id,
                     recordingResult& result);

#endif
