#include "handheld/ui/offdevice/simulated_unit_setup.h"

#include <windows.h>
#include <shellapi.h>

#include <stdio.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

#include "platform/ce/card_path.h"
#include "handheld/engine/stimulator/serial_port.h"
#include "platform/unit/sim_unit.h"
#include "handheld/engine/offdevice/simulated_stimulator_port.h"

namespace {

// The battery's conversion on its input: five conversions x 1.6001462936401368e-7 volts.
const double kBatteryVoltsPerCount = 1.6001462936401368e-7;
const uint32_t kBatteryInput = 2;

std::shared_ptr<remote_text_endpoint> endpoint;

// "COM3:" with every byte the unit writes also appended to a file.
class transcript_endpoint final : public serial_endpoint {
 public:
  transcript_endpoint(std::shared_ptr<remote_text_endpoint> line, FILE* file) : line_(std::move(line)), file_(file) {}
  ~transcript_endpoint() override {
    if (file_ != nullptr) fclose(file_);
  }
  size_t write(const uint8_t* bytes, size_t n) override {
    {
      std::lock_guard<std::mutex> hold(lock_);
      if (file_ != nullptr) {
        fwrite(bytes, 1, n, file_);
        fflush(file_);
      }
    }
    return line_->write(bytes, n);
  }
  int read(uint8_t* out, size_t max, const std::atomic<bool>& cancelled) override {
    return line_->read(out, max, cancelled);
  }

 private:
  std::shared_ptr<remote_text_endpoint> line_;
  std::mutex lock_;
  FILE* file_;
};

// Keeps the virtual clock moving at least as fast as real time: whatever
// real time passed that the unit's own sleeps and register accesses did
// not already account for is added.
struct clockPacer {
  std::atomic<bool> stop{false};
  std::thread thread;

  void run() {
    auto lastReal = std::chrono::steady_clock::now();
    uint64_t lastVirtual = sim_now_ns();
    while (!stop) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      const auto now = std::chrono::steady_clock::now();
      const uint64_t real = static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now - lastReal).count());
      const uint64_t passed = sim_now_ns() - lastVirtual;
      if (passed < real) sim_advance_ns(real - passed);
      lastReal = now;
      lastVirtual = sim_now_ns();
    }
  }
};

clockPacer pacer;

}  // namespace

bool set_up_simulated_unit(const simulatedUnitOptions& options) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(options.card), error);
  if (!std::filesystem::is_directory(std::filesystem::path(options.card), error)) return false;
  set_card_root(options.card.c_str());

  sim_reset();
  for (uint32_t input : {0u, 1u}) {
    sim_signal signal;
    sim_signal_defaults(input, &signal);
    sim_signal_set(input, &signal);
  }
  const double perConversion = options.batteryVolts / 5.0 / kBatteryVoltsPerCount;
  sim_adc_set_constant(kBatteryInput, static_cast<int32_t>(perConversion + 0.5));

  if (options.stimulator) {
    use_simulated_stimulator_port();
  } else {
    register_serial_endpoint(L"COM2:", nullptr);
  }
  endpoint = use_remote_text_endpoint();
  if (!options.transcript.empty()) {
    FILE* file = _wfopen(options.transcript.c_str(), L"wb");
    if (file != nullptr) register_serial_endpoint(L"COM3:", std::make_shared<transcript_endpoint>(endpoint, file));
  }
  if (!pacer.thread.joinable()) {
    pacer.stop = false;
    pacer.thread = std::thread([] { pacer.run(); });
  }
  return true;
}

void tear_down_simulated_unit() {
  if (pacer.thread.joinable()) {
    pacer.stop = true;
    pacer.thread.join();
  }
  register_serial_endpoint(L"COM2:", nullptr);
  register_serial_endpoint(L"COM3:", nullptr);
  endpoint.reset();
}

std::shared_ptr<remote_text_endpoint> remote_line_endpoint() { return endpoint; }

std::wstring card_folder_for(const wchar_t* commandLine) {
  int count = 0;
  LPWSTR* args = commandLine != nullptr && commandLine[0] != L'\0' ? CommandLineToArgvW(commandLine, &count) : nullptr;
  std::wstring folder;
  if (args != nullptr && count > 1) folder = args[1];
  if (args != nullptr) LocalFree(args);
  if (!folder.empty()) return folder;
  const wchar_t* setting = _wgetenv(L"ERG_CARD_FOLDER");
  if (setting != nullptr && setting[0] != L'\0') return setting;
  wchar_t program[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  return (std::filesystem::path(program).parent_path() / L"Storage Card").wstring();
}
