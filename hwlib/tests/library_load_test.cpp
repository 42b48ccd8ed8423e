// Kestal.dll and Ombrel.dll as the program loads them: by name, with their
// 17 exports and nothing else, attaching to the simulated board.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "hwlib/hwlib_exports.h"
#include "platform/unit/sim_unit.h"

namespace {

// In the alphabetical order of the names, which is the order of the ordinals.
const char* const kExports[] = {
    "get_1255_data", "get_1255_reg",  "get_1255_samples", "get_dual_data",
    "get_gpio_reg",  "get_spi_reg",   "get_uart3_reg",    "put_1255_reg",
    "put_5722",      "put_gpio_bit",  "put_gpio_reg",     "put_spi_reg",
    "spi_setup",     "version",       "wait_till_xmit_fifo_empty",
    "wait_while_gpio_bit", "wait_while_spi_bit",
};

const wchar_t* const kLibraries[] = {L"Kestal.dll", L"Ombrel.dll"};

std::string narrow(const wchar_t* text) { return std::string(text, text + wcslen(text)); }

std::vector<uint64_t> map_requests() {
  std::vector<uint64_t> log(sim_map_log(nullptr, 0));
  log.resize(sim_map_log(log.data(), static_cast<uint32_t>(log.size())));
  return log;
}

// The names in the library's export directory.
std::vector<std::string> exported_names(HMODULE module, DWORD* function_count) {
  const BYTE* base = reinterpret_cast<const BYTE*>(module);
  const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  const IMAGE_EXPORT_DIRECTORY* exports =
      reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  const DWORD* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  std::vector<std::string> result;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
    result.push_back(reinterpret_cast<const char*>(base + names[i]));
  }
  *function_count = exports->NumberOfFunctions;
  return result;
}

template <class F>
F export_of(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

class library_load_test : public ::testing::TestWithParam<const wchar_t*> {
 protected:
  void SetUp() override {
    sim_reset();
    ASSERT_EQ(nullptr, GetModuleHandleW(GetParam())) << "loaded by an earlier test";
  }
  void TearDown() override { sim_fault_clear(SIM_FAULT_MAP_FAIL); }
};

TEST_P(library_load_test, ExportsTheSeventeenNamesByOrdinal) {
  HMODULE module = LoadLibraryW(GetParam());
  ASSERT_NE(nullptr, module);
  DWORD functions = 0;
  const std::vector<std::string> names = exported_names(module, &functions);
  EXPECT_EQ(std::vector<std::string>(std::begin(kExports), std::end(kExports)), names);
  EXPECT_EQ(17u, functions);
  for (int i = 0; i < 17; ++i) {
    SCOPED_TRACE(kExports[i]);
    FARPROC by_name = GetProcAddress(module, kExports[i]);
    EXPECT_NE(nullptr, by_name);
    EXPECT_EQ(by_name, GetProcAddress(module, MAKEINTRESOURCEA(i + 1)));
  }
  EXPECT_EQ(nullptr, GetProcAddress(module, "DllMain"));
  EXPECT_TRUE(FreeLibrary(module));
}

TEST_P(library_load_test, AttachMapsTheBlocksAndVersionIsStable) {
  HMODULE module = LoadLibraryW(GetParam());
  ASSERT_NE(nullptr, module);
  EXPECT_EQ((std::vector<uint64_t>{0x80000B00u, 0x80000E00u, 0x80000800u}), map_requests());

  auto version_of = export_of<version_fn>(module, "version");
  ASSERT_NE(nullptr, version_of);
  const wchar_t* first = version_of();
  EXPECT_EQ(" 3.100, Sep 14 2012", narrow(first));
  const wchar_t* second = version_of();
  EXPECT_EQ(first, second);
  EXPECT_EQ(" 3.100, Sep 14 2012", narrow(second));
  EXPECT_TRUE(FreeLibrary(module));
}

TEST_P(library_load_test, LoadFailsWhenTheGpioBlockFailsToMap) {
  sim_fault_set(SIM_FAULT_MAP_FAIL, 0x80000E00);
  EXPECT_EQ(nullptr, LoadLibraryW(GetParam()));
  EXPECT_EQ(nullptr, GetModuleHandleW(GetParam()));
  // The third UART block was never asked for.
  EXPECT_EQ((std::vector<uint64_t>{0x80000B00u, 0x80000E00u}), map_requests());

  sim_fault_clear(SIM_FAULT_MAP_FAIL);
  HMODULE module = LoadLibraryW(GetParam());
  EXPECT_NE(nullptr, module);
  if (module != nullptr) FreeLibrary(module);
}

TEST_P(library_load_test, ThreadAttachAndDetachChangeNothing) {
  HMODULE module = LoadLibraryW(GetParam());
  ASSERT_NE(nullptr, module);
  auto put_gpio = export_of<put_gpio_reg_fn>(module, "put_gpio_reg");
  auto get_gpio = export_of<get_gpio_reg_fn>(module, "get_gpio_reg");
  ASSERT_NE(nullptr, put_gpio);
  ASSERT_NE(nullptr, get_gpio);
  // Attach clears bit 0 of these words; set again, they show whether it ran again.
  put_gpio(13, 0x81);
  put_gpio(22, 0x41);
  const std::vector<uint64_t> mapped = map_requests();

  std::thread([] {}).join();
  std::thread([] {}).join();

  EXPECT_EQ(0x81u, get_gpio(13));
  EXPECT_EQ(0x41u, get_gpio(22));
  EXPECT_EQ(mapped, map_requests());
  EXPECT_TRUE(FreeLibrary(module));
}

INSTANTIATE_TEST_SUITE_P(hwlib, library_load_test, ::testing::ValuesIn(kLibraries),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                           return narrow(info.param).substr(0, narrow(info.param).find('.'));
                         });

}  // namespace
