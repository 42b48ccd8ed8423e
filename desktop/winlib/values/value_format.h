// Formatting a value text: a printf-style format filled with up to four
// arguments, each a double or a text.
//
// The format is checked against the arguments before anything is formatted:
// each conversion takes the next argument and must be of its kind (a, e, f,
// g with no length or 'l' for a double; s with no length for a text), with
// flags, a width and a precision given as digits. '*', positional arguments,
// other conversions and more than four conversions do not match.
// A number marked as none is shown as "---" in its conversion's width.
#ifndef DESKTOP_WINLIB_VALUES_VALUE_FORMAT_H
#define DESKTOP_WINLIB_VALUES_VALUE_FORMAT_H

#include "desktop/winlib/containers/byte_object.h"

constexpr int value_argument_limit = 4;
// The longest text a value text may grow to.
constexpr int value_text_limit = 16382;

struct valueArgument {
  bool is_text = false;
  double number = 0.0;
  const char* text = "";
  bool none = false;  // the number stands for no value
};

enum class valueFormatResult { formatted, mismatch, too_long };

// Formats format with the arguments (count of them, at most four) into out.
// On a mismatch or a text longer than value_text_limit, out is left as it
// was; *length then holds the length the text would have had (too_long).
valueFormatResult format_value_text(byteObjectClass& out, const char* format, const valueArgument* args, int count,
                                    int* length);

#endif
