// Small routines over NUL-terminated text: display names of control bytes,
// hexadecimal digits, splitting at delimiters, word picking with double
// quotes, wildcard matching, trimming of fixed buffers, and a tokenizer.
//
// Every routine that writes into a caller's array takes the array's size and
// never writes past it; the result is always terminated.
#ifndef DESKTOP_WINLIB_VALUES_TEXT_SCAN_H
#define DESKTOP_WINLIB_VALUES_TEXT_SCAN_H

#include <cstddef>
#include <cstdint>

#include "desktop/winlib/containers/byte_object.h"

// Display names. The results live in buffers shared by all calls (one for a
// single byte, one for a whole text, one for the hex form of a whole text),
// valid until the next call of the same kind.
const char* char_name(unsigned char byte);      // "[NL]", "[CR]", "A", "[c8]"
const char* char_hex_name(unsigned char byte);  // printable or "[%2.2x]"
const char* bytes_name(const char* bytes, int count);
const char* text_name(const char* text);
const char* bytes_hex_name(const char* bytes, int count);

int hex_value(char c);                   // "A".."F" / "a".."f" -> 10..15, else c - '0'
unsigned char hex_byte(char high, char low);
char hex_digit(int value);               // 0..15 -> "0".."9", "A".."F"
void byte_to_hex(unsigned char byte, char out[2]);  // two digits, no terminator

// Copies text into output (at most size - 1 characters, always terminated)
// until a byte of the delimiter set. Returns the token's length (above 0)
// when a delimiter ended it, -1 (empty output) when the text begins with a
// delimiter, and 0 when the end of the text ended it (the rest is in the
// output). A token longer than the output is reported and cut; the length
// returned is still the token's, so a caller can step over it.
int token_split(const char* text, const char* delimiters, char* output, size_t size);

// Copies text upper-casing a to z only; at most size - 1 characters, always
// terminated. False when the text did not fit.
bool upper_copy(const char* text, char* destination, size_t size);

// Plain substring search. A null or empty needle is found; a null or empty
// haystack, or a needle longer than it, is not.
bool contains(const char* needle, const char* haystack);

// The index-th (0-based) word of text: words are separated by blanks and
// tabs; a double quote opening a word quotes up to the next double quote.
// Quotes are never copied. Writes at most size - 1 characters; returns the
// copied length, 0 when there is no such word.
int nth_word(const char* text, int index, char* output, int size);

// Runs of characters other than blank and tab; 0 for null.
int word_count(const char* text);

// Moves the text left over its leading blanks and tabs.
void trim_leading(char* buffer, int size);
// Turns trailing blanks, tabs (and NULs) into NULs, from the end of the text
// down to index 1.
void trim_trailing(char* buffer, int size);

// Wildcard match: unquoted "*" matches any run, unquoted "?" one character;
// double quotes in the pattern switch quoting. case_flag 1 compares exactly,
// otherwise after upper-casing. A null or empty pattern matches everything;
// a null or empty text matches nothing.
bool wildcard_match(const char* pattern, const char* text, int case_flag);

// Splits a source text at any byte of a delimiter set, one token at a time.
class tokenizerClass {
 public:
  tokenizerClass(const char* source, const char* delimiters);

  // Starts a tokenization; null while one is active, for an empty delimiter
  // set, or when the source holds no token.
  const char* first_token();
  // The next token; null when none is active or at the end, which ends it.
  const char* next_token();
  // Counts the tokens from the start; the position is kept.
  int token_count();
  void stop() { active_ = 0; }

 private:
  // Skips delimiters from pos and collects the next token into token;
  // false when nothing is left.
  bool collect(uint32_t& pos, byteObjectClass* token);
  bool is_delimiter(char c);

  uint32_t position_ = 0;
  uint8_t active_ = 0;
  byteObjectClass source_;
  byteObjectClass delimiters_;
  byteObjectClass token_;
};

#endif
