// The electrode result pages, filled from the results on opening.
#include <gtest/gtest.h>

#include <string>

#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/electrodes/electrode_measurements.h"
#include "handheld/ui/electrode_results.h"
#include "handheld/ui/message_display.h"

namespace {

std::wstring item_text(HWND dialog, int id) {
  wchar_t text[64] = L"";
  GetDlgItemTextW(dialog, id, text, 64);
  return text;
}

// The pages are children of the unit's screen: a window stands in for it.
class ResultPages : public ::testing::Test {
 protected:
  void SetUp() override {
    screen_ = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 240, 320, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(screen_, nullptr);
  }
  void TearDown() override {
    if (dialog_ != nullptr && IsWindow(dialog_)) DestroyWindow(dialog_);
    DestroyWindow(screen_);
    channels.a_on = 1;
    channels.b_on = 0;
  }
  HWND open(int resource, DLGPROC proc) {
    dialog_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), screen_,
                                 proc, 0);
    return dialog_;
  }
  HWND screen_ = nullptr;
  HWND dialog_ = nullptr;
};

TEST_F(ResultPages, ImpedancesOfBothChannelsWithAnUnmeasuredOne) {
  channels.a_on = 1;
  channels.b_on = 1;
  electrode_results.impedance_a_eye = 2999.6;
  electrode_results.impedance_a_ref = 1500.0;
  electrode_results.impedance_b_eye = MEASUREMENT_FAILED;
  electrode_results.impedance_b_ref = 812.0;
  HWND d = open(IMPEDANCE_RESULTS_BOTH, impedanceResultProc);
  ASSERT_NE(nullptr, d);
  EXPECT_EQ(L" 3000 ohms", item_text(d, 1146));
  EXPECT_EQ(L" 1500 ohms", item_text(d, 1145));
  EXPECT_EQ(L"INVALID", item_text(d, 1148));
  EXPECT_EQ(L"  812 ohms", item_text(d, 1147));
  SendMessageW(d, WM_USER, PAGE_CLOSE, 0);
  EXPECT_FALSE(IsWindow(d));
}

TEST_F(ResultPages, OneChannelPagesNameTheChannel) {
  channels.a_on = 0;
  channels.b_on = 1;
  electrode_results.impedance_b_eye = 4500.0;
  electrode_results.impedance_b_ref = 900.0;
  HWND d = open(IMPEDANCE_RESULTS_ONE, impedanceResultProc);
  ASSERT_NE(nullptr, d);
  EXPECT_EQ(L"Channel B", item_text(d, 1144));
  EXPECT_EQ(L" 4500 ohms", item_text(d, 1143));
  EXPECT_EQ(L"  900 ohms", item_text(d, 1142));
  DestroyWindow(d);

  channels.a_on = 1;
  channels.b_on = 0;
  electrode_results.baseline_a = 12.34;
  d = open(BASELINE_RESULTS_ONE, baselineResultProc);
  ASSERT_NE(nullptr, d);
  EXPECT_EQ(L"Channel A", item_text(d, 1149));
  EXPECT_EQ(L"12.3 uV", item_text(d, 1150));
  DestroyWindow(d);

  channels.b_on = 1;
  electrode_results.baseline_b = MEASUREMENT_FAILED;
  d = open(BASELINE_RESULTS_BOTH, baselineResultProc);
  ASSERT_NE(nullptr, d);
  EXPECT_EQ(L"12.3 uV", item_text(d, 1150));
  EXPECT_EQ(L"INVALID", item_text(d, 1151));
}

}  // namespace
