// Start-up of a unit whose hardware library is missing and whose
// stimulator port does not open: both reported, and the unit still comes
// up with its main menu and safe library entries.
#include <gtest/gtest.h>

#include <memory>

#include "handheld/ui/frame/tests/harness_fixture.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "platform/modal/modal_capture.h"

namespace {

class VanduWithoutLibraryAndPort : public VanduTest {
 protected:
  VanduWithoutLibraryAndPort() {
    options_.copyLibraryToCard = false;
    options_.stimulator = false;
    options_.pumpStartUp = false;
  }
  void SetUp() override {
    // "COM2:" must be a port this machine cannot open.
    HANDLE port = CreateFileW(L"COM2:", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port != INVALID_HANDLE_VALUE) {
      CloseHandle(port);
      GTEST_SKIP() << "this machine has a serial port COM2";
    }
    boxes_ = std::make_unique<modal_capture>();
    VanduTest::SetUp();
  }
  void TearDown() override {
    VanduTest::TearDown();
    boxes_.reset();
  }
  std::unique_ptr<modal_capture> boxes_;
};

TEST_F(VanduWithoutLibraryAndPort, ReportsBothAndStillComesUp) {
  ASSERT_TRUE(pump_until_remote_text("-- WE'RE UP\r\n", 10000));
  pump_until_idle();
  const std::string line = remote_transcript();
  const size_t library = line.find("*** DLL INSTALLATION FAILED ***\r\n");
  const size_t framed = line.find(
      "\r\n*************************"
      "*** UNABLE TO CREATE UART THREAD ***"
      "\r\n*************************\r\n");
  const size_t up = line.find("-- WE'RE UP\r\n");
  ASSERT_NE(library, std::string::npos);
  ASSERT_NE(framed, std::string::npos);
  EXPECT_LT(library, framed);
  EXPECT_LT(framed, up);

  ASSERT_FALSE(boxes_->records().empty());
  EXPECT_EQ(boxes_->records()[0].text, "*** UNABLE TO OPEN UART CHANNEL ***");

  // The library's entries answer as absent hardware; the menus stand.
  EXPECT_EQ(hardware.module, nullptr);
  EXPECT_EQ(hardware.get_gpio_reg(12), 0xFFFFFFFFu);
  EXPECT_EQ(key_caption(KEY_UPPER_LEFT), L"Acquire Data");
  EXPECT_EQ(shown_menu(), MENU_MAIN);
}

}  // namespace
