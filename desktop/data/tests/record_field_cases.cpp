#include "desktop/data/tests/record_field_cases.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

template <typename T>
void add_value(std::vector<recordFieldCase>& cases, const std::string& field, size_t offset, const char* label,
               T value) {
  recordFieldCase c{field + " = " + label, offset, std::vector<unsigned char>(sizeof(T))};
  std::memcpy(c.bytes.data(), &value, sizeof(T));
  cases.push_back(std::move(c));
}

template <typename T>
void add_field(std::vector<recordFieldCase>& cases, const std::string& field, size_t offset) {
  using limits = std::numeric_limits<T>;
  add_value<T>(cases, field, offset, "0", T(0));
  add_value<T>(cases, field, offset, "1", T(1));
  add_value<T>(cases, field, offset, "-1", static_cast<T>(-1));
  add_value<T>(cases, field, offset, "lowest", limits::lowest());
  add_value<T>(cases, field, offset, "max", limits::max());
  if (limits::has_quiet_NaN) {
    add_value<T>(cases, field, offset, "NaN", limits::quiet_NaN());
    add_value<T>(cases, field, offset, "inf", limits::infinity());
    add_value<T>(cases, field, offset, "-inf", -limits::infinity());
  }
}

void add_block(std::vector<recordFieldCase>& cases, const std::string& block, size_t at) {
  add_field<double>(cases, block + ".Divisor", at + offsetof(samplesBlock, Divisor));
  add_field<int32_t>(cases, block + ".ErrorCount", at + offsetof(samplesBlock, ErrorCount));
  add_field<uint32_t>(cases, block + ".ErrorTimes[0]", at + offsetof(samplesBlock, ErrorTimes));
  add_field<uint8_t>(cases, block + ".Flag", at + offsetof(samplesBlock, Flag));
  add_field<int32_t>(cases, block + ".PointCount", at + offsetof(samplesBlock, PointCount));
  add_field<uint32_t>(cases, block + ".Time", at + offsetof(samplesBlock, Time));
  add_field<uint32_t>(cases, block + ".CollectionTime", at + offsetof(samplesBlock, CollectionTime));
}

}  // namespace

void recordFieldCase::apply(testFileRecord& record) const {
  std::memcpy(reinterpret_cast<unsigned char*>(&record) + offset, bytes.data(), bytes.size());
}

std::vector<recordFieldCase> record_field_cases() {
  std::vector<recordFieldCase> cases;
  add_field<uint32_t>(cases, "TestTime.LowDateTime", offsetof(testFileRecord, TestTime.LowDateTime));
  add_field<uint32_t>(cases, "TestTime.HighDateTime", offsetof(testFileRecord, TestTime.HighDateTime));
  add_field<int32_t>(cases, "ProgramVersion", offsetof(testFileRecord, ProgramVersion));
  add_field<float>(cases, "FilterValue", offsetof(testFileRecord, FilterValue));
  add_field<uint32_t>(cases, "RunMilliseconds", offsetof(testFileRecord, RunMilliseconds));
  add_field<int32_t>(cases, "P", offsetof(testFileRecord, P));
  add_field<int32_t>(cases, "S", offsetof(testFileRecord, S));
  add_field<int32_t>(cases, "T", offsetof(testFileRecord, T));
  add_field<int32_t>(cases, "N", offsetof(testFileRecord, N));
  const size_t config = offsetof(testFileRecord, Config);
  add_field<int32_t>(cases, "Config.Intensity", config + offsetof(runConfig, Intensity));
  add_field<uint32_t>(cases, "Config.Filter", config + offsetof(runConfig, Filter));
  add_field<int32_t>(cases, "Config.Background", config + offsetof(runConfig, Background));
  add_field<int32_t>(cases, "Config.AdaptationTime", config + offsetof(runConfig, AdaptationTime));
  add_field<int32_t>(cases, "Config.RepeatInterval", config + offsetof(runConfig, RepeatInterval));
  add_field<int32_t>(cases, "Config.RepeatCount", config + offsetof(runConfig, RepeatCount));
  add_field<int32_t>(cases, "Config.SampleRate", config + offsetof(runConfig, SampleRate));
  add_field<int32_t>(cases, "Config.PreTime", config + offsetof(runConfig, PreTime));
  add_field<int32_t>(cases, "Config.PostTime", config + offsetof(runConfig, PostTime));
  add_field<int32_t>(cases, "Config.Unused", config + offsetof(runConfig, Unused));
  add_field<double>(cases, "Config.Scale", config + offsetof(runConfig, Scale));
  add_field<double>(cases, "Config.Offset", config + offsetof(runConfig, Offset));
  add_block(cases, "LastSweep", offsetof(testFileRecord, LastSweep));
  add_block(cases, "Average", offsetof(testFileRecord, Average));
  return cases;
}
