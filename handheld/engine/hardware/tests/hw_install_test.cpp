// Loading and binding the hardware library on the simulated board: the
// storage card's copy, the bare name, no library at all, a library missing
// an export, and the board's start-up state. Built once per platform build.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/ce/card_path.h"
#include "handheld/engine/hardware/converters.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "platform/modal/modal_capture.h"
#include "handheld/engine/remote/remote_line_capture.h"
#include "platform/unit/sim_unit.h"

namespace {

#ifdef ERG_OLDER_PLATFORM
const wchar_t kLibrary[] = L"Ombrel.DLL";
const char kLoadFailure[] = "*** UNABLE TO LOAD Ombrel.DLL ***\r\n";
const char kPlatformLine[] = "put_gpio_bit(4,7,0)";
#else
const wchar_t kLibrary[] = L"Kestal.DLL";
const char kLoadFailure[] = "*** UNABLE TO LOAD Kesta.DLL ***\r\n";
const char kPlatformLine[] = "put_gpio_bit(9,5,0)";
#endif

std::wstring folder_of(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/")); }

// This test's folder (the stand-in libraries beside it) and the folder above
// it (the build's libraries, which the test's folder does not hold, so that
// a bare-name load finds them only through the search path).
std::wstring test_folder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return folder_of(path);
}
std::wstring build_folder() { return folder_of(test_folder()); }

std::string recorder_calls() {
  typedef uint32_t (*log_fn)(char*, uint32_t);
  log_fn log = reinterpret_cast<log_fn>(
      reinterpret_cast<void (*)()>(GetProcAddress(static_cast<HMODULE>(hardware.module), "recorder_log")));
  if (log == nullptr) return "(no recorder)";
  std::string text(log(nullptr, 0) + 1, '\0');
  log(&text[0], static_cast<uint32_t>(text.size()));
  text.resize(text.size() - 1);
  return text;
}

class HardwareLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    card_ = std::wstring(temp) + L"erg_card_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(card_.c_str(), nullptr);
    set_card_root(card_.c_str());
    // The current folder is searched too: make it one without the libraries.
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    current_ = current;
    SetCurrentDirectoryW(test_folder().c_str());
    sim_reset();
    sim_set_platform(
#ifdef ERG_OLDER_PLATFORM
        1
#else
        0
#endif
    );
    unbind_hardware_library();
  }

  void TearDown() override {
    if (hardware.module != nullptr) FreeLibrary(static_cast<HMODULE>(hardware.module));
    unbind_hardware_library();
    SetDllDirectoryW(nullptr);
    SetCurrentDirectoryW(current_.c_str());
    DeleteFileW(on_card().c_str());
    RemoveDirectoryW(card_.c_str());
    set_card_root(nullptr);
  }

  std::wstring on_card() const { return card_ + L"\\" + kLibrary; }
  void put_on_card(const std::wstring& file) { ASSERT_TRUE(CopyFileW(file.c_str(), on_card().c_str(), FALSE)); }
  void put_real_library_on_card() {
    put_on_card(build_folder() + L"\\" + std::wstring(kLibrary, wcslen(kLibrary) - 4) + L".dll");
  }

  std::wstring loaded_from() const {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(static_cast<HMODULE>(hardware.module), path, MAX_PATH);
    return path;
  }

  std::wstring card_;
  std::wstring current_;
};

bool same_file_folder(const std::wstring& file, const std::wstring& folder) {
  return lstrcmpiW(folder_of(file).c_str(), folder.c_str()) == 0;
}

TEST_F(HardwareLibrary, TheStorageCardsCopyComesFirst) {
  put_real_library_on_card();
  SetDllDirectoryW(build_folder().c_str());  // the bare name would load too
  remote_line_capture line;
  modal_capture boxes;
  ASSERT_EQ(install_hardware_library(), 1);
  EXPECT_TRUE(same_file_folder(loaded_from(), card_)) << loaded_from().size();
  EXPECT_STREQ(hardware.version(), L" 3.100, Sep 14 2012");
  EXPECT_EQ(line.text(), "");
  EXPECT_TRUE(boxes.records().empty());
}

TEST_F(HardwareLibrary, WithoutACardCopyTheSearchPathsOneLoads) {
  SetDllDirectoryW(build_folder().c_str());
  ASSERT_EQ(install_hardware_library(), 1);
  EXPECT_TRUE(same_file_folder(loaded_from(), build_folder()));
  EXPECT_STREQ(hardware.version(), L" 3.100, Sep 14 2012");
}

TEST_F(HardwareLibrary, NoLibraryIsReportedOnTheRemoteLineAndTheStubsStay) {
  remote_line_capture line;
  modal_capture boxes;
  EXPECT_EQ(install_hardware_library(), 0);
  EXPECT_EQ(line.text(), kLoadFailure);
  EXPECT_TRUE(boxes.records().empty());
  EXPECT_EQ(hardware.module, nullptr);

  // Later use goes through the stubs: nothing reads ready, nothing crashes,
  // and the board sees no traffic.
  int32_t value = 0;
  EXPECT_EQ(hardware.get_1255_data(&value), 0xF1000000u);
  EXPECT_EQ(hardware.get_gpio_reg(12), 0xFFFFFFFFu);
  reset_adc();
  setup_adc(15000, 0, 8, 0);
  init_dac();
  standby_converters();
  EXPECT_EQ(sim_bus_log(nullptr, 0), 0u);
}

TEST_F(HardwareLibrary, AMissingExportIsNamedAndTheBoardIsLeftAlone) {
  put_on_card(test_folder() + L"\\hwlib_recorder_noversion.dll");
  remote_line_capture line;
  modal_capture boxes;
  EXPECT_EQ(install_hardware_library(), 0);
  ASSERT_EQ(boxes.records().size(), 1u);
  EXPECT_EQ(boxes.records()[0].text, "CANNOT GET DLL ADDRESS");
  EXPECT_EQ(boxes.records()[0].caption, "version");
  EXPECT_EQ(boxes.records()[0].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(boxes.records()[0].owner, nullptr);
  EXPECT_EQ(line.text(), "");

  // The fifteen found stay bound, version keeps its stub, and neither the
  // SPI set-up nor any GPIO line was written.
  HMODULE module = static_cast<HMODULE>(hardware.module);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(reinterpret_cast<void (*)()>(hardware.wait_while_gpio_bit),
            reinterpret_cast<void (*)()>(GetProcAddress(module, "wait_while_gpio_bit")));
  EXPECT_EQ(reinterpret_cast<void (*)()>(hardware.get_dual_data),
            reinterpret_cast<void (*)()>(GetProcAddress(module, "get_dual_data")));
  EXPECT_STREQ(hardware.version(), L"");
  EXPECT_EQ(recorder_calls(), "");
}

TEST_F(HardwareLibrary, TheBoardsStartUpLinesAreWrittenInOrder) {
  put_on_card(test_folder() + L"\\hwlib_recorder.dll");
  ASSERT_EQ(install_hardware_library(), 1);
  std::string expected = std::string("spi_setup(135,80,4)\n") +
                         "put_gpio_bit(11,3,0)\nput_gpio_bit(5,1,1)\nput_gpio_bit(5,2,1)\nput_gpio_bit(5,3,1)\n" +
                         kPlatformLine + "\n" +
                         "put_gpio_bit(22,0,0)\nput_gpio_bit(22,1,0)\nput_gpio_bit(13,0,0)\nput_gpio_bit(22,2,0)\n"
                         "put_gpio_bit(13,2,1)\nput_gpio_bit(22,1,0)\nput_gpio_bit(13,1,0)\nput_gpio_bit(12,2,0)\n";
  EXPECT_EQ(recorder_calls(), expected);
}

// The real library on the simulated board.
class BoardStartUp : public HardwareLibrary {
 protected:
  void SetUp() override {
    HardwareLibrary::SetUp();
    put_real_library_on_card();
    ASSERT_EQ(install_hardware_library(), 1);
    gpio_ = sim_map_block(SIM_GPIO_BASE, SIM_GPIO_WORDS * 4);
    spi_ = sim_map_block(SIM_SPI_BASE, SIM_SPI_WORDS * 4);
  }
  void TearDown() override {
    sim_counters counters;
    sim_get_counters(&counters);
    EXPECT_EQ(counters.rx_overruns, 0u);
    EXPECT_EQ(counters.tx_overflows, 0u);
    EXPECT_EQ(counters.bus_contention, 0u);
    EXPECT_EQ(counters.partial_words, 0u);
    HardwareLibrary::TearDown();
  }
  std::vector<sim_bus_byte> bus() {
    std::vector<sim_bus_byte> bytes(sim_bus_log(nullptr, 0));
    sim_bus_log(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return bytes;
  }
  void* gpio_ = nullptr;
  void* spi_ = nullptr;
};

TEST_F(BoardStartUp, TheLinesAndTheSpiSetUpHoldTheirStartUpState) {
  EXPECT_EQ(sim_reg_read(spi_, 0), 135u);
  EXPECT_EQ(sim_reg_read(spi_, 1), 80u);
  EXPECT_EQ(sim_reg_read(spi_, 4), 4u);
  EXPECT_EQ(sim_reg_read(gpio_, 5) & 0x0Eu, 0x0Eu);
  EXPECT_EQ(sim_reg_read(gpio_, 11) & 0x08u, 0u);
  EXPECT_EQ(sim_reg_read(gpio_, 13) & 0x07u, 0x04u);
  EXPECT_EQ(sim_reg_read(gpio_, 22) & 0x07u, 0u);
  EXPECT_EQ(sim_reg_read(gpio_, 12) & 0x04u, 0u);
#ifdef ERG_OLDER_PLATFORM
  EXPECT_EQ(sim_reg_read(gpio_, 4) & 0x80u, 0u);
#else
  EXPECT_EQ(sim_reg_read(gpio_, 9) & 0x20u, 0u);
#endif
}

TEST_F(BoardStartUp, TheConverterSetUpConfiguresTheBoardsConverter) {
  reset_adc();
  EXPECT_GE(sim_adc_resets(), 1u);
  uint32_t calibrations = sim_adc_self_calibrations();
  setup_adc(7500, 0x10, 8, 1);
  EXPECT_EQ(sim_adc_rate(), 7500u);
  EXPECT_EQ(sim_adc_register(1), 0x18u);
  EXPECT_EQ(sim_adc_register(0) & 0x02u, 0x02u);
  EXPECT_EQ(sim_adc_register(2), 0u);
  EXPECT_EQ(sim_adc_self_calibrations(), calibrations + 1);

  setup_adc(1000, 0, 8, 0);  // not a rate of the unit: the rate stays
  EXPECT_EQ(sim_adc_rate(), 7500u);
  EXPECT_EQ(adc_data_rate, 7500);
  EXPECT_EQ(sim_adc_register(1), 0x08u);
  EXPECT_EQ(sim_adc_self_calibrations(), calibrations + 2);
  EXPECT_EQ(sim_reg_read(gpio_, 1) & 0x0Au, 0x0Au);  // both converters deselected
}

TEST_F(BoardStartUp, StandbySendsItsBytesToEachConverter) {
  init_dac();
  EXPECT_EQ(sim_dac_control(), 18u);
  sim_bus_log_clear();
  standby_converters();
  std::vector<sim_bus_byte> bytes = bus();
  ASSERT_EQ(bytes.size(), 3u);
  EXPECT_EQ(bytes[0].device, SIM_DEV_ADC);
  EXPECT_EQ(bytes[0].mosi, 0xFD);
  EXPECT_EQ(bytes[1].device, SIM_DEV_DAC);
  EXPECT_EQ(bytes[1].mosi, 0xF0);
  EXPECT_EQ(bytes[2].device, SIM_DEV_DAC);
  EXPECT_EQ(bytes[2].mosi, 0x12);
  EXPECT_EQ(sim_adc_standby(), 1);
  EXPECT_EQ(sim_dac_control(), 18u);
}

}  // namespace
