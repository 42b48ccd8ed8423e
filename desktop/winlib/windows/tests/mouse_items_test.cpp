// Mouse-aware items: who takes a press, the capture until button-up, and the
// pointer record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/winlib/windows/mouse_items.h"
#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/geometry/position.h"

namespace {

std::vector<std::string> calls;

// An item that takes presses inside its box (in pixels at the scale).
class boxItem : public buttonAwareClass {
 public:
  boxItem(const char* name, double x, double y, double w, double h) : name_(name), box_(x, y, w, h) {}
  bool press(HDC, int x, int y, const paper& scale) override {
    calls.push_back(name_ + ".press");
    return box_.contains_pixel(x, y, scale);
  }
  void move(HDC, int x, int y, const paper&) override {
    calls.push_back(name_ + ".move " + std::to_string(x) + "," + std::to_string(y));
  }
  void release(HDC, const paper&) override { calls.push_back(name_ + ".release"); }
  void paint(HDC, const paper&) override { calls.push_back(name_ + ".paint"); }

 private:
  std::string name_;
  positionClass box_;
};

class MouseItems : public ::testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    ASSERT_TRUE(scale.rescale(200, 200, 100, 100));  // 2 px/mm
    scale.set_origin(10, 20);
    items.add_item(&first);
    items.add_item(&second);
  }
  paper scale;
  boxItem first{"first", 0.0, 0.0, 20.0, 20.0};
  boxItem second{"second", 10.0, 10.0, 20.0, 20.0};
  lbuttonAwareClass items;
};

}  // namespace

TEST_F(MouseItems, TheFirstItemThatAcceptsHoldsTheMouseUntilButtonUp) {
  // (40, 50) px is (15, 15) mm: inside both boxes.
  EXPECT_TRUE(items.button_down(nullptr, 40, 50, scale));
  EXPECT_EQ(items.captured, &first);
  EXPECT_EQ(items.capturing, 1);
  EXPECT_EQ(calls, (std::vector<std::string>{"first.press"}));

  calls.clear();
  EXPECT_TRUE(items.button_down(nullptr, 60, 70, scale));  // swallowed
  EXPECT_TRUE(items.mouse_move(nullptr, 42, 52, scale));
  EXPECT_TRUE(items.button_up(nullptr, scale));
  EXPECT_EQ(calls, (std::vector<std::string>{"first.move 42,52", "first.release", "first.paint"}));
  EXPECT_EQ(items.capturing, 0);
  EXPECT_EQ(items.releasing, 0);
  EXPECT_EQ(items.captured, &first);

  calls.clear();
  EXPECT_FALSE(items.button_up(nullptr, scale));
  EXPECT_TRUE(calls.empty());
}

TEST_F(MouseItems, APressNoItemTakesIsOfferedToAllAndReturnsFalse) {
  EXPECT_FALSE(items.button_down(nullptr, 400, 400, scale));
  EXPECT_EQ(calls, (std::vector<std::string>{"first.press", "second.press"}));
  EXPECT_EQ(items.capturing, 0);
  // The second box alone: (65, 75) px is (27.5, 27.5) mm.
  calls.clear();
  EXPECT_TRUE(items.button_down(nullptr, 65, 75, scale));
  EXPECT_EQ(items.captured, &second);
  EXPECT_EQ(calls, (std::vector<std::string>{"first.press", "second.press"}));
}

TEST_F(MouseItems, MovesWithoutACaptureAreOnlyRecorded) {
  EXPECT_FALSE(items.mouse_move(nullptr, 50, 30, scale));
  EXPECT_TRUE(calls.empty());
  EXPECT_DOUBLE_EQ(items.pointer_x_mm, 20.0);
  EXPECT_DOUBLE_EQ(items.pointer_y_mm, 5.0);
  EXPECT_EQ(items.pointer_x_px, 50);
  EXPECT_EQ(items.pointer_y_px, 30);
}

TEST_F(MouseItems, PaintingGoesToEveryItemInListOrder) {
  items.paint_items(nullptr, scale);
  EXPECT_EQ(calls, (std::vector<std::string>{"first.paint", "second.paint"}));
}
