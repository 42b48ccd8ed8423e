// The board's option flags, read from the analog-to-digital converter's
// digital I/O register with every battery reading, and the unit's part on
// the master/slave link that follows from them. Read by the stimulus
// settings, the status lines and the parameter editor.
#ifndef HANDHELD_ENGINE_HARDWARE_BOARD_OPTIONS_H
#define HANDHELD_ENGINE_HARDWARE_BOARD_OPTIONS_H

#include <atomic>

// Option bits (the register's low byte).
const int BOARD_MASTER_LINK = 2;  // master/slave link fitted
const int BOARD_FILL_IN = 4;      // fill-in flash fitted
const int BOARD_DUAL_DOME = 8;    // second dome fitted

// The low byte of the converter's I/O register at the last battery reading
// (0 before the first).
extern std::atomic<int> board_options;

// Set with board_options: master when the link is fitted and [MASTER] is not
// 0, slave when the link is fitted and [MASTER] is 0; neither without it.
extern std::atomic<int> is_master;
extern std::atomic<int> is_slave;

// The [MASTER] system parameter's switch (1 = master, its default). The
// parameter table keeps it whenever it reads or stores the parameter.
extern std::atomic<int> master_enabled;

inline bool dual_dome_fitted() { return (board_options.load() & BOARD_DUAL_DOME) != 0; }
inline bool fill_in_fitted() { return (board_options.load() & BOARD_FILL_IN) != 0; }
inline bool master_link_fitted() { return (board_options.load() & BOARD_MASTER_LINK) != 0; }

#endif
