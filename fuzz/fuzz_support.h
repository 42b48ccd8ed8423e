// What every fuzz target shares: a scratch storage card of its own process,
// files written there from the input, messages kept quiet, and the check
// that stops a target when a reader breaks what it must hold.
#ifndef FUZZ_FUZZ_SUPPORT_H
#define FUZZ_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

// Prints what failed and aborts, so that libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                  \
  do {                                                                         \
    if (!(condition)) fuzz_failed(#condition, __FILE__, __LINE__);             \
  } while (0)
[[noreturn]] void fuzz_failed(const char* condition, const char* file, int line);

// A scratch folder of this process (made once, emptied on exit), made the
// unit's storage card with the date, cfc id and parameters the tests use.
// Engine messages and the message boxes of the portable build are dropped.
const std::filesystem::path& fuzz_card();

// Writes bytes to a file below the card (folders made as needed).
void fuzz_write(const std::filesystem::path& relative, const uint8_t* data, size_t size);
void fuzz_write(const std::filesystem::path& relative, const std::string& text);
std::string fuzz_read(const std::filesystem::path& relative);

// Forgets the message boxes recorded so far (they would pile up over runs).
void fuzz_forget_messages();

#include <vector>

// The bytes of a fresh test record as the unit initialises it (every other
// byte zero).
const std::vector<uint8_t>& fresh_record_bytes();

// A file of a fixed-size format made from a small input, so that seeds stay
// small: the base bytes, their length moved by -2 to +2 (the first input
// byte), then patches, each a 4-byte little-endian offset (taken modulo the
// length), a length byte and that many bytes.
std::vector<uint8_t> fuzz_patched(const std::vector<uint8_t>& base, const uint8_t* data, size_t size);

#endif
