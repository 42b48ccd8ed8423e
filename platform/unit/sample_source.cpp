#include "platform/unit/sample_source.h"

#include <utility>

namespace simunit {

int32_t ConstantSource::next(uint64_t) { return value_; }

SequenceSource::SequenceSource(std::vector<int32_t> values) : values_(std::move(values)) {}

int32_t SequenceSource::next(uint64_t) {
  int32_t v = values_[pos_];
  pos_ = (pos_ + 1) % values_.size();
  return v;
}

void SequenceSource::skip(uint64_t count) {
  pos_ = static_cast<size_t>((pos_ + count % values_.size()) % values_.size());
}

}  // namespace simunit
