#include "handheld/engine/offdevice/simulated_stimulator_port.h"

#include <chrono>
#include <memory>
#include <thread>

#include "handheld/engine/stimulator/serial_port.h"
#include "platform/unit/sim_unit.h"

namespace {

// How often a waiting read looks again, in real time.
const std::chrono::milliseconds kPollInterval(1);

class simulated_stimulator_endpoint final : public serial_endpoint {
 public:
  size_t write(const uint8_t* bytes, size_t n) override {
    size_t done = 0;
    while (done < n) {
      uint32_t part = n - done > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(n - done);
      sim_stim_write(bytes + done, part);
      done += part;
    }
    return n;
  }

  int read(uint8_t* out, size_t max, const std::atomic<bool>& cancelled) override {
    uint32_t limit = max > 4096 ? 4096u : static_cast<uint32_t>(max);
    while (!cancelled) {
      uint32_t n = sim_stim_read(out, limit);
      if (n > 0) return static_cast<int>(n);
      std::this_thread::sleep_for(kPollInterval);
    }
    return 0;
  }
};

}  // namespace

void use_simulated_stimulator_port() {
  register_serial_endpoint(L"COM2:", std::make_shared<simulated_stimulator_endpoint>());
}
