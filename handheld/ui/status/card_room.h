// Room on the storage card: each test stores one 96680-byte record per
// recording channel. The free space is counted in signed 64 bits, so a full
// card is never taken for room.
#ifndef HANDHELD_UI_STATUS_CARD_ROOM_H
#define HANDHELD_UI_STATUS_CARD_ROOM_H

#include <stdint.h>

#include <functional>

#include "handheld/engine/storage/stored_records.h"

const int64_t TEST_RECORD_BYTES = 96680;

// The bytes free on the card to the program; false when they cannot be
// read (the platform's error code in error). Tests replace the probe; null
// restores the card's own.
using free_space_probe = std::function<bool(int64_t& freeBytes, unsigned long& error)>;
void set_free_space_probe(free_space_probe probe);

// The program the operator selected (its tests are counted); null: none.
void set_selected_program(const programRecord* program);

// True when the selected program's tests fit; "!!! Compact Flash !!!\nIS
// FULL." and false when they do not. With showRoom, room for fewer than 20
// tests is shown. Free space that cannot be read shows its message and
// answers true: it never blocks a test.
bool check_card_space(bool showRoom);

// Writes "CF: %4d rem." on the graph with the number of runs of the
// selected program that fit, or "CF:  ---- rem." when not even one does;
// returns the number (0 after a message when the space cannot be read).
int show_tests_remaining();

#endif
