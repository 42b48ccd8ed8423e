// The library's version text.
#include <wchar.h>

#include "hwlib/hwlib_exports.h"

namespace {

const char kBuildDate[] = "Sep 14 2012";
wchar_t version_text[32];

}  // namespace

// Formats the text anew on every call into the one static buffer, so every
// call returns the same address.
extern "C" const wchar_t* version(void) {
  swprintf(version_text, sizeof version_text / sizeof version_text[0], L" 3.100, %hs", kBuildDate);
  return version_text;
}
