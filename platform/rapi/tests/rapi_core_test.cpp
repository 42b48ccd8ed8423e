#include <gtest/gtest.h>

#include "platform/rapi/rapi_faults.h"
#include "platform/rapi/rapi_paths.h"

TEST(RapiFaults, ParsesEveryWordAndRefusesBadText) {
  RapiFaults f;
  ASSERT_TRUE(parse_rapi_faults("init_refused,init_silent,init_failed,filetime_failed,short_read=100,delay=5,unplug_after=3", f));
  EXPECT_TRUE(f.init_refused && f.init_silent && f.init_failed && f.filetime_failed);
  EXPECT_EQ(f.short_read, 100);
  EXPECT_EQ(f.delay_ms, 5u);
  EXPECT_EQ(f.unplug_after, 3);

  ASSERT_TRUE(parse_rapi_faults("", f));
  EXPECT_FALSE(f.init_refused);
  EXPECT_EQ(f.short_read, -1);
  EXPECT_EQ(f.unplug_after, -1);

  RapiFaults kept;
  kept.delay_ms = 7;
  for (const char* bad : {"nonsense", "short_read", "short_read=", "short_read=-1", "delay=99999999",
                          "unplug_after=x", "init_refused=1", "delay=5,bogus"}) {
    EXPECT_FALSE(parse_rapi_faults(bad, kept)) << bad;
    EXPECT_EQ(kept.delay_ms, 7u) << bad;
  }
}

TEST(RapiPaths, MapsCardPathsOnlyAndNeverLeavesTheCard) {
  struct Case {
    const wchar_t* unit;
    bool ok;
    const wchar_t* host;
  } cases[] = {
      {L"\\Storage Card", true, L"C:\\card"},
      {L"\\Storage Card\\", true, L"C:\\card"},
      {L"\\storage card\\A_1\\*", true, L"C:\\card\\A_1\\*"},
      {L"Storage Card\\A_1\\P01S01T0101A.tst", true, L"C:\\card\\A_1\\P01S01T0101A.tst"},
      {L"\\Storage Cards\\x", false, L""},
      {L"\\Windows\\x", false, L""},
      {L"\\Storage Card\\..\\secret", false, L""},
      {L"\\Storage Card\\A\\..", false, L""},
      {L"\\Storage Card\\..x\\ok", true, L"C:\\card\\..x\\ok"},
  };
  for (const Case& c : cases) {
    std::wstring out = L"unchanged";
    EXPECT_EQ(map_unit_path(c.unit, L"C:\\card\\", out), c.ok);
    if (c.ok) {
      EXPECT_EQ(out, c.host);
    }
  }
  std::wstring out;
  EXPECT_FALSE(map_unit_path(nullptr, L"C:\\card", out));
  EXPECT_FALSE(map_unit_path(L"\\Storage Card", L"", out));
}
