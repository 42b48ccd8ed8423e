// What the unit takes from the stimulator's replies at start-up: its
// version ('v'), its calibration table with the unit's serial number ('l'),
// its status byte ('s') and the clock ('t'). The exchange runs: version
// request, 'v' reply, table request, 'l' reply, clock request (only when a
// table came back), 't' reply. Each function reads the last complete
// message (stimulator_message) and sends what follows it. The user
// interface's notice handler calls them; a console tool can make the same
// exchange through them.
#ifndef HANDHELD_ENGINE_STIMULATOR_STARTUP_REPLIES_H
#define HANDHELD_ENGINE_STIMULATOR_STARTUP_REPLIES_H

#include <stdint.h>

#include <atomic>

// The state of the exchange: what an 'l' reply means.
const int FLASH_MODE_TABLE = 0;   // the calibration table is awaited
const int FLASH_MODE_IDLE = 3;    // nothing is awaited
const int FLASH_MODE_REMOTE = 5;  // an 'l' reply belongs to the remote-control side
extern std::atomic<int> flash_8051_mode;

// The stimulator's firmware version, 0.0 until its reply.
struct stimulatorVersionNumber {
  int major;
  int minor;
};
stimulatorVersionNumber stimulator_version();
extern std::atomic<int> version_received;

// Its status byte and whether it came.
extern std::atomic<int> stimulator_status;
extern std::atomic<int> status_received;

// The version text of a 'v' payload: bytes 0-1 the major number, 3-5 the
// minor, each read as a decimal number (a field without digits reads 0).
// False when the payload is shorter than 6 bytes.
bool parse_version_payload(const uint8_t* payload, int n, int& major, int& minor);

// 'v': keeps the version (for the status lines and the log), awaits the
// table, sends the table request 'l', 0x01, 0xF0 (unless a table is already
// awaited) and raises the unit's power hold (GPIO word 12 bit 2). False,
// and nothing sent, for a payload too short to hold a version.
bool take_version_reply();

// 'l', by the exchange's state.
enum tableReplyResult {
  TABLE_TAKEN,         // table and serial number kept, the clock requested
  TABLE_DEFAULTS,      // the stimulator holds none: defaults loaded and sent back
  TABLE_REFUSED,       // not a whole table: the table kept
  TABLE_FOR_REMOTE,    // awaited by the remote-control side
  TABLE_UNEXPECTED,    // no table awaited ("### unknown g_flash_8051_mode %d ###")
};
// In FLASH_MODE_TABLE: the table taken (take_calibration_message), then
// idle. In FLASH_MODE_REMOTE: left to the remote-control side, then idle.
// Any other state: the message shown, the state kept.
tableReplyResult take_table_reply();
// The remote-control side's auto-calibration flag: while it is set, idle
// minutes are not counted.
extern std::atomic<uint8_t> auto_calibration;

// 's': the status byte kept.
void take_status_reply();

// 't': the eight payload bytes are a FILETIME, most significant byte first.
// Not all zero: the unit's clock is set to it (as local time); all zero:
// the clock is marked unset. Either way today's last test folder is
// chosen (set_ERG_directory) and the exchange is idle. True when the clock
// was set.
bool take_clock_reply();

// The eight bytes as a FILETIME (0 when all are zero, or fewer than 8).
uint64_t clock_payload_filetime(const uint8_t* payload, int n);

#endif
