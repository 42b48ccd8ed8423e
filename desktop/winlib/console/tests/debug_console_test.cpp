#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/winlib/console/debug_console.h"
#include "desktop/winlib/tests/message_capture.h"

namespace {

// A console of 80 x 6 characters held in memory, with keys queued by the test.
class gridConsole : public consoleDevice {
 public:
  gridConsole() : rows(6, std::string(80, ' ')) {}
  bool info(int& width, int& height, int& x, int& y) override {
    width = 80;
    height = static_cast<int>(rows.size());
    x = cx;
    y = cy;
    return true;
  }
  bool set_cursor(int x, int y) override {
    cx = x;
    cy = y;
    return true;
  }
  bool scroll_up(int first, int last) override {
    for (int r = first; r <= last; ++r) rows[r - 1] = rows[r];
    rows[last] = std::string(80, ' ');
    return true;
  }
  void write(int x, int y, const char* text, int length) override {
    for (int i = 0; i < length && x + i < 80; ++i) rows[y][x + i] = text[i];
  }
  bool next_key(char& c, uint16_t& vk) override {
    if (keys.empty()) return false;
    c = keys.front().first;
    vk = keys.front().second;
    keys.erase(keys.begin());
    return true;
  }
  std::string row(int y) const {
    std::string r = rows[y];
    return r.substr(0, r.find_last_not_of(' ') + 1);
  }
  std::vector<std::string> rows;
  std::vector<std::pair<char, uint16_t>> keys;
  int cx = 0;
  int cy = 5;
};

std::vector<std::string> handled;
uint8_t base_handler(const char* command) {
  handled.push_back(std::string("base:") + command);
  return 1;
}
uint8_t once_handler(const char* command) {
  handled.push_back(std::string("once:") + command);
  return 1;
}

void type(debugConsoleClass& console, const std::string& text) {
  for (char c : text) console.key(c, 0);
  console.key(13, 0);
}

}  // namespace

TEST(DebugConsole, LongMessagesSplitIntoRowsOfEighty) {
  auto* grid = new gridConsole;
  debugConsoleClass console(base_handler, grid);
  console.printf("%s", std::string(200, 'x').c_str());
  EXPECT_EQ(grid->row(2), std::string(80, 'x'));
  EXPECT_EQ(grid->row(3), std::string(80, 'x'));
  EXPECT_EQ(grid->row(4), std::string(40, 'x'));
  EXPECT_EQ(grid->row(5), ">");
  EXPECT_EQ(console.output().get(0), std::string(200, 'x'));

  console.print_text("one\r\ntwo");
  EXPECT_EQ(grid->row(3), "one");
  EXPECT_EQ(grid->row(4), "two");

  message_capture capture;
  console.printf("%s", std::string(1100, 'y').c_str());
  ASSERT_EQ(capture.texts().size(), 1u);
  EXPECT_NE(capture.texts()[0].find("### message BUFFER OVERFLOW (>1023) ###"), std::string::npos);
  EXPECT_EQ(console.output().get(0), std::string(1023, 'y'));
}

TEST(DebugConsole, CommandsReachTheHandlersAndTheHistory) {
  handled.clear();
  auto* grid = new gridConsole;
  debugConsoleClass console(base_handler, grid);
  console.key(8, 0);  // backspace at an empty command
  EXPECT_STREQ(console.input_line(), "> ");
  type(console, "abx");
  console.key(0, 0x74);  // F5
  console.set_handler(once_handler);
  type(console, "first");
  type(console, "second");
  EXPECT_EQ(handled, (std::vector<std::string>{"base:abx", "base:f5", "once:first", "base:second"}));

  // Up from a fresh prompt recalls the latest line; Up again the one before.
  console.key(0, 0x26);
  EXPECT_STREQ(console.input_line(), "> second");
  console.key(0, 0x26);
  EXPECT_STREQ(console.input_line(), "> first");
  console.key(0, 0x28);
  EXPECT_STREQ(console.input_line(), "> second");
  console.key(8, 0);
  EXPECT_STREQ(console.input_line(), "> secon");

  grid->keys = {{'o', 0}, {'k', 0}, {13, 0}};
  console.poll();
  EXPECT_EQ(handled.back(), "base:seconok");
}

TEST(ConsoleHistory, KeepsTheLastThirtyAndWrapsBothWays) {
  consoleHistory history;
  // Browsing back from an empty ring wraps from index 0 to 29.
  EXPECT_STREQ(history.previous(), "");
  EXPECT_EQ(history.browse_index(), 29);
  for (int i = 1; i <= 31; ++i) history.add(("> line " + std::to_string(i)).c_str());
  EXPECT_STREQ(history.get(0), "> line 31");
  EXPECT_STREQ(history.get(28), "> line 3");
  EXPECT_STREQ(history.get(29), "");  // the slot after the latest is empty
  EXPECT_STREQ(history.previous(), "line 31");
  for (int i = 0; i < 28; ++i) history.previous();
  EXPECT_STREQ(history.previous(), "");
  EXPECT_STREQ(history.previous(), "line 31");
  EXPECT_STREQ(history.next(), "");
  EXPECT_EQ(ring_index(-1, 30), 29);
  EXPECT_EQ(ring_index(-31, 30), 29);
}
