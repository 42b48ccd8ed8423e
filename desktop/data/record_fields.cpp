#include "desktop/data/record_fields.h"

#include <cmath>
#include <cstring>

#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/values/wide_text.h"

microvoltConversion::microvoltConversion(const blockFields& fields, double scale, double offset)
    : divisor_(fields.divisor), reciprocal_(1.0 / fields.divisor), scale_(scale), offset_(offset) {
  // A power of two well inside the exponent range: its reciprocal is exact,
  // and so is every product with a raw value.
  int exponent = 0;
  const double mantissa = std::frexp(divisor_, &exponent);
  exact_ = std::isfinite(divisor_) && std::fabs(mantissa) == 0.5 && exponent > -900 && exponent < 900;
}

bool read_block_fields(const samplesBlock& block, blockFields& out) {
  int32_t count = block.PointCount;
  if (count < 1) {
    errormessage("*** SAMPLES BLOCK HAS NO POINTS (POINT COUNT %d) ***", static_cast<int>(count));
    return false;
  }
  if (block.Time == 0) {
    errormessage("*** SAMPLES BLOCK SPANS NO TIME (TOTAL TIME 0) ***");
    return false;
  }
  if (count > kSamplesPerBlock) {
    errormessage("*** SAMPLES BLOCK POINT COUNT %d TOO LARGE, %d POINTS USED ***", static_cast<int>(count),
                 kSamplesPerBlock);
    count = kSamplesPerBlock;
  }
  double divisor = block.Divisor;
  if (divisor == 0.0 || !std::isfinite(divisor)) {
    errormessage("*** SAMPLES BLOCK DIVISOR IS %lg, 1 USED ***", divisor);
    divisor = 1.0;
  }
  uint32_t pretrigger = block.CollectionTime;
  if (pretrigger > block.Time) {
    errormessage("*** SAMPLES BLOCK PRE-TRIGGER TIME %u mS BEYOND ITS TOTAL TIME %u mS ***",
                 static_cast<unsigned>(pretrigger), static_cast<unsigned>(block.Time));
    pretrigger = block.Time;
  }
  out = blockFields{count, divisor, block.Time, pretrigger};
  return true;
}

void record_text(const char16_t* field, int field_units, int max_chars, byteObjectClass& out) {
  int units = field_units < max_chars ? field_units : max_chars;
  out.set(utf8_text(field, units > 0 ? static_cast<size_t>(units) : 0).c_str());
}

fileTime record_test_time(const testFileRecord& record, const fileTime& file_time) {
  return record.ProgramVersion >= record_time_version ? record.TestTime : file_time;
}

char test_channel_letter(const char* path) {
  if (!path) return 0;
  const char* name = path;
  for (const char* p = path; *p; p++) {
    if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
  }
  return std::strlen(name) > 11 ? name[11] : 0;
}
