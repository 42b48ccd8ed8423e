// The cross-thread request queue: locked, newest first, and empty means
// nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "handheld/ui/frame/tests/harness_fixture.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menu_request.h"
#include "handheld/ui/menus/menu_stack.h"

namespace {

using VanduMenuRequests = VanduTest;

TEST_F(VanduMenuRequests, RequestsFromTwoThreadsRunNewestFirst) {
  clear_menu_requests();
  std::vector<std::thread> threads;
  for (int t = 0; t < 2; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < 4; ++i) request_menu(main_dialog, 100 * t + i, MENU_SYSTEM_SETUP, nullptr, 0, false);
    });
  }
  for (std::thread& t : threads) t.join();
  ASSERT_EQ(menu_request_count(), 8);
  std::vector<int> queued;
  for (int slot = 0; slot < 8; ++slot) queued.push_back(menu_request_slot(slot).pageCode);
  std::vector<int> taken;
  menuRequest r;
  while (take_menu_request(r)) taken.push_back(r.pageCode);
  std::reverse(queued.begin(), queued.end());
  EXPECT_EQ(taken, queued);
  EXPECT_FALSE(take_menu_request(r)) << "an empty queue gives nothing";
  pump_until_idle(50);  // the eight posted runs find nothing
  EXPECT_EQ(shown_menu(), MENU_MAIN);
}

TEST_F(VanduMenuRequests, ElevenRequestsKeepTheNewestInTheLastSlot) {
  clear_menu_requests();
  for (int i = 1; i <= 11; ++i) request_menu(main_dialog, i, MENU_SYSTEM_SETUP, nullptr, 0, false);
  EXPECT_EQ(menu_request_count(), MENU_REQUEST_SLOTS);
  std::vector<int> taken;
  menuRequest r;
  while (take_menu_request(r)) taken.push_back(r.pageCode);
  EXPECT_EQ(taken, (std::vector<int>{11, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
}

TEST_F(VanduMenuRequests, AWorkerThreadsRequestShowsItsMenu) {
  std::thread worker([] { request_menu(main_dialog, PAGE_NONE, MENU_SYSTEM_SETUP, nullptr, 0, false); });
  worker.join();
  pump_until_idle(50);
  EXPECT_EQ(shown_menu(), MENU_SYSTEM_SETUP);
  EXPECT_EQ(key_caption(KEY_UPPER_RIGHT), L"Restore Defaults");
}

}  // namespace
