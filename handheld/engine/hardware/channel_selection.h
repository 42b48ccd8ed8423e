// The recording channel selection shared by the main dialog, the protocol
// interpreter, the ini file and the log: which channels record, which one is
// shown, and the eye on each. Written by one thread, read by several.
#ifndef HANDHELD_ENGINE_HARDWARE_CHANNEL_SELECTION_H
#define HANDHELD_ENGINE_HARDWARE_CHANNEL_SELECTION_H

#include <atomic>
#include <cstdint>

// Eye codes of a channel.
constexpr int32_t kEyeNone = 1;
constexpr int32_t kEyeOD = 2;
constexpr int32_t kEyeOS = 3;

struct channelSelection {
  std::atomic<uint8_t> a_on{1};
  std::atomic<uint8_t> b_on{0};
  std::atomic<int32_t> current{0};      // 0 = A, 1 = B
  std::atomic<int32_t> eye_a{kEyeNone};
  std::atomic<int32_t> eye_b{kEyeNone};
};

extern channelSelection channels;

#endif
