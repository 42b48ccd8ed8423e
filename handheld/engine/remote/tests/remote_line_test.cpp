#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "handheld/engine/remote/remote_line.h"
#include "handheld/engine/remote/remote_line_capture.h"

TEST(RemoteLine, EachCallIsOneWriteCutAt255Characters) {
  remote_line_capture line;
  remote_printf("-- WE'RE UP\r\n");
  remote_printf("[%s] [%d] [%ls]\r\n", "READGPIOREG", 12, L"wide");
  std::string long_text(600, 'x');
  remote_printf("%s", long_text.c_str());
  remote_printf("%s", "");  // nothing to write
  std::vector<std::string> writes = line.writes();
  ASSERT_EQ(writes.size(), 3u);
  EXPECT_EQ(writes[0], "-- WE'RE UP\r\n");
  EXPECT_EQ(writes[1], "[READGPIOREG] [12] [wide]\r\n");
  EXPECT_EQ(writes[2], std::string(255, 'x'));
}

TEST(RemoteLine, WithoutAWriterTheTextGoesNowhereAndACaptureRestoresTheLast) {
  remote_printf("lost\r\n");
  remote_line_capture outer;
  {
    remote_line_capture inner;
    remote_printf("inner");
    EXPECT_EQ(inner.text(), "inner");
  }
  remote_printf("outer");
  EXPECT_EQ(outer.text(), "outer");
}

TEST(RemoteLine, WritesOfSeveralThreadsStayWhole) {
  remote_line_capture line;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < 200; ++i) remote_printf("thread %d line %03d\r\n", t, i);
    });
  }
  for (std::thread& t : threads) t.join();
  std::vector<std::string> writes = line.writes();
  ASSERT_EQ(writes.size(), 800u);
  for (const std::string& w : writes) {
    ASSERT_EQ(w.size(), 19u) << w;
    EXPECT_EQ(w.compare(0, 7, "thread "), 0) << w;
  }
}
