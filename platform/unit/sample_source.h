// What one input of the analog-to-digital converter sees. Each conversion of
// an input asks that input's source for one value; the converter keeps the low
// 24 bits (two's complement) for the wire.
#ifndef PLATFORM_UNIT_SAMPLE_SOURCE_H
#define PLATFORM_UNIT_SAMPLE_SOURCE_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace simunit {

class SampleSource {
 public:
  virtual ~SampleSource() = default;
  // The value of the conversion made at now_ns.
  virtual int32_t next(uint64_t now_ns) = 0;
  // `count` conversions went by unsampled (a long sleep is passed over in
  // whole blocks). Sources that depend only on time have nothing to do.
  virtual void skip(uint64_t count) { (void)count; }
};

// The same value at every conversion (power-on: 0 on every input).
class ConstantSource final : public SampleSource {
 public:
  explicit ConstantSource(int32_t value) : value_(value) {}
  int32_t next(uint64_t now_ns) override;

 private:
  int32_t value_;
};

// Values in order, one per conversion, from the start again after the last.
class SequenceSource final : public SampleSource {
 public:
  explicit SequenceSource(std::vector<int32_t> values);  // values not empty
  int32_t next(uint64_t now_ns) override;
  void skip(uint64_t count) override;

 private:
  std::vector<int32_t> values_;
  size_t pos_ = 0;
};

}  // namespace simunit

#endif
