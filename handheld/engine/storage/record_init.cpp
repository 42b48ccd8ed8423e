#include "handheld/engine/storage/record_init.h"

#include <cstring>

namespace {

constexpr int32_t kInitialPointCount = 12000;
constexpr uint32_t kInitialTime = 500000;

// Copies text and its terminator into a field without passing its end.
void copy_text(char16_t* field, size_t units, const char16_t* text) {
  size_t i = 0;
  for (; i + 1 < units && text[i] != u'\0'; ++i) field[i] = text[i];
  field[i] = u'\0';
}

void reset_block(samplesBlock& block, double divisor) {
  block.Divisor = divisor;
  block.ErrorCount = 0;
  block.Flag = 0;
  block.PointCount = kInitialPointCount;
  block.Time = kInitialTime;
  block.CollectionTime = 0;
  std::memset(block.Data, 0, sizeof block.Data);
}

}  // namespace

samplesBlock& init_samples_block(samplesBlock& block) {
  reset_block(block, 1.0);
  return block;
}

testFileRecord& init_test_record(testFileRecord& record) {
  init_samples_block(record.LastSweep);
  init_samples_block(record.Average);
  record.P = 0;
  record.T = 0;
  copy_text(record.TestId, 20, u"?");
  copy_text(record.ProtocolName, 64, u"?");
  copy_text(record.SessionTitle, 64, u" ");
  copy_text(record.SecondText, 64, u" ");
  record.Eye = u'N';
  // The serial number field holds 7 units; the default leaves the last clear.
  std::memcpy(record.UnitId, u"1234567", sizeof record.UnitId);
  record.UnitId[6] = u'\0';
  copy_text(record.CfcId, 12, u"----------");
  runConfig& config = record.Config;
  config.Intensity = 10;
  config.Filter = 0;
  config.Background = 0;
  config.AdaptationTime = 0;
  config.RepeatInterval = 0;
  config.RepeatCount = 1;
  config.SampleRate = 15000;
  config.PreTime = 20;
  config.PostTime = 180;
  clear_test_samples(record);
  return record;
}

void destroy_test_record(testFileRecord&) {}

void clear_test_samples(testFileRecord& record) {
  reset_block(record.LastSweep, 1.0);
  reset_block(record.Average, 0.0);
}
