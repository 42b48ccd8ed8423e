// The window tree without windows: insertion order and sibling links,
// deletion with children, the running flag, the searches, the count and the
// dump. Window handles here are only keys (no window behind them).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "desktop/winlib/messages/debug_log.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/windows/window_object.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

std::vector<std::string> destroyed;

class probeWindow : public winTypeClass {
 public:
  probeWindow(winTypeClass* parent, uint32_t type, const char* name) : winTypeClass(parent, type), name_(name) {}
  ~probeWindow() override { destroyed.push_back(name_); }
  void draw(HDC, const paper&) override {}

 private:
  std::string name_;
};

HWND fake_handle(uintptr_t n) { return reinterpret_cast<HWND>(0x10000 + n * 16); }

// Every test starts and ends with an empty tree and the program running.
class WindowTree : public ::testing::Test {
 protected:
  void SetUp() override {
    destroyed.clear();
    program_running = 1;
    ASSERT_EQ(window_tree_root().next, nullptr);
  }
  void TearDown() override {
    while (windowNode* n = window_tree_root().next) delete_window_node(n, 1);
    program_running = 1;
  }
  windowNode& root = window_tree_root();
};

// Checks every link of a chain: each node's previous is the node before it
// (the root for the top-level chain, null for a child chain's head).
void expect_chain(windowNode* head, windowNode* head_previous, const std::vector<winTypeClass*>& objects) {
  windowNode* before = head_previous;
  windowNode* n = head;
  for (winTypeClass* object : objects) {
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->object, object);
    EXPECT_EQ(n->previous, before);
    before = n;
    n = n->next;
  }
  EXPECT_EQ(n, nullptr);
}

}  // namespace

TEST_F(WindowTree, NewNodesGoToTheHeadOfTheirChainWithEveryLinkRight) {
  probeWindow* a = new probeWindow(nullptr, window_type::session, "A");
  probeWindow* b = new probeWindow(nullptr, window_type::summary, "B");
  expect_chain(root.next, &root, {b, a});

  probeWindow* c1 = new probeWindow(a, window_type::thumbnail, "c1");
  probeWindow* c2 = new probeWindow(a, window_type::thumbnail, "c2");
  probeWindow* c3 = new probeWindow(a, window_type::thumbnail, "c3");
  expect_chain(a->node->first_child, nullptr, {c3, c2, c1});
  for (probeWindow* c : {c1, c2, c3}) {
    EXPECT_EQ(c->node->parent, a->node);
    EXPECT_EQ(c->parent, a);
    EXPECT_EQ(c->type, window_type::thumbnail);
    EXPECT_EQ(c->state, 1);
  }
  EXPECT_EQ(b->node->first_child, nullptr);
}

TEST_F(WindowTree, UnlinkingAfterHeadInsertionsLeavesNoStaleLink) {
  // Each deletion in turn takes the tail, the middle and the head of a chain
  // whose nodes were all inserted at its head.
  probeWindow* a = new probeWindow(nullptr, 1, "A");
  probeWindow* b = new probeWindow(nullptr, 1, "B");
  probeWindow* c = new probeWindow(nullptr, 1, "C");
  probeWindow* d = new probeWindow(nullptr, 1, "D");
  delete a;
  expect_chain(root.next, &root, {d, c, b});
  delete c;
  expect_chain(root.next, &root, {d, b});
  delete d;
  expect_chain(root.next, &root, {b});

  probeWindow* k1 = new probeWindow(b, 2, "k1");
  probeWindow* k2 = new probeWindow(b, 2, "k2");
  probeWindow* k3 = new probeWindow(b, 2, "k3");
  delete k1;
  expect_chain(b->node->first_child, nullptr, {k3, k2});
  delete k3;
  expect_chain(b->node->first_child, nullptr, {k2});
  probeWindow* k4 = new probeWindow(b, 2, "k4");
  delete k2;
  expect_chain(b->node->first_child, nullptr, {k4});
  EXPECT_EQ(destroyed, (std::vector<std::string>{"A", "C", "D", "k1", "k3", "k2"}));
}

TEST_F(WindowTree, DeletingAWindowDeletesItsSubtreeAndLeavesNoNodeOfIt) {
  probeWindow* keep = new probeWindow(nullptr, 1, "keep");
  probeWindow* top = new probeWindow(nullptr, 3, "top");
  probeWindow* c1 = new probeWindow(top, 16, "c1");
  probeWindow* c2 = new probeWindow(top, 16, "c2");
  new probeWindow(c1, 17, "g1");
  top->set_hwnd(fake_handle(1));
  c1->set_hwnd(fake_handle(2));
  c2->set_hwnd(fake_handle(3));

  delete top;
  // The window's own destructor runs first; the tree then deletes what is
  // beneath it, depth first.
  EXPECT_EQ(destroyed, (std::vector<std::string>{"top", "c2", "g1", "c1"}));
  for (uintptr_t n = 1; n <= 3; ++n) EXPECT_EQ(find_window_object(fake_handle(n)), nullptr);
  expect_chain(root.next, &root, {keep});
  EXPECT_EQ(keep->node->first_child, nullptr);
  EXPECT_EQ(program_running, 1);
}

TEST_F(WindowTree, DeletingTheNodeDeletesItsObjectOnce) {
  probeWindow* a = new probeWindow(nullptr, 1, "A");
  probeWindow* child = new probeWindow(a, 2, "child");
  delete_window_node(find_window_node(child), 1);
  EXPECT_EQ(destroyed, (std::vector<std::string>{"child"}));
  EXPECT_EQ(a->node->first_child, nullptr);
  delete_window_node(a->node, 1);
  EXPECT_EQ(destroyed, (std::vector<std::string>{"child", "A"}));
  EXPECT_EQ(root.next, nullptr);
  delete_window_node(nullptr, 1);
}

TEST_F(WindowTree, OnlyTheLastTopLevelWindowStopsTheProgram) {
  probeWindow* a = new probeWindow(nullptr, 1, "A");
  probeWindow* b = new probeWindow(nullptr, 1, "B");
  probeWindow* child = new probeWindow(b, 2, "child");
  delete child;
  EXPECT_EQ(program_running, 1);
  delete a;
  EXPECT_EQ(program_running, 1);
  delete b;
  EXPECT_EQ(program_running, 0);
}

TEST_F(WindowTree, ANodeWithChildrenIsNotRemoved) {
  message_capture capture;
  probeWindow* a = new probeWindow(nullptr, 1, "A");
  probeWindow* child = new probeWindow(a, 2, "child");
  EXPECT_FALSE(remove_window_node(a->node, 1));
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"*** CANNOT REMOVE A NODE WITH CHILDREN ***"}));
  EXPECT_TRUE(destroyed.empty());
  expect_chain(root.next, &root, {a});
  expect_chain(a->node->first_child, nullptr, {child});
}

TEST_F(WindowTree, SearchesFindByObjectHandleAndTypeDepthFirst) {
  probeWindow* a = new probeWindow(nullptr, 1, "A");
  probeWindow* a_child = new probeWindow(a, 22, "a-child");
  probeWindow* b = new probeWindow(nullptr, 22, "B");
  probeWindow* unbound = new probeWindow(a, 16, "unbound");
  a->set_hwnd(fake_handle(1));
  EXPECT_EQ(a_child->set_hwnd(fake_handle(2)), fake_handle(2));
  b->set_hwnd(fake_handle(3));

  EXPECT_EQ(find_window_object(fake_handle(2)), a_child);
  EXPECT_EQ(find_window_object(fake_handle(3)), b);
  EXPECT_EQ(find_window_object(fake_handle(9)), nullptr);
  EXPECT_EQ(find_window_object(nullptr), nullptr);  // not the unbound node's
  EXPECT_EQ(unbound->hwnd(), nullptr);
  EXPECT_EQ(find_window_node(a_child), a_child->node);
  EXPECT_EQ(find_window_node(nullptr), nullptr);
  // B is the head of the top-level chain, so it is met before A's child.
  EXPECT_EQ(find_window_of_type(22), b->node);
  delete b;
  EXPECT_EQ(find_window_of_type(22), a_child->node);
  EXPECT_EQ(find_window_of_type(4), nullptr);
}

TEST_F(WindowTree, AWindowWhoseParentIsNotInTheTreeIsMadeTopLevelAndReported) {
  message_capture capture;
  probeWindow* parent = new probeWindow(nullptr, 1, "parent");
  // Take the parent out of the tree, keeping the object.
  windowNode* node = parent->node;
  node->object = nullptr;
  parent->node = nullptr;
  ASSERT_TRUE(remove_window_node(node, 0));
  probeWindow* orphan = new probeWindow(parent, 2, "orphan");
  ASSERT_EQ(capture.records().size(), 1u);
  expect_chain(root.next, &root, {orphan});
  EXPECT_EQ(orphan->node->parent, nullptr);
  delete parent;
  EXPECT_EQ(destroyed, (std::vector<std::string>{"parent"}));
  expect_chain(root.next, &root, {orphan});
}

TEST_F(WindowTree, CountGrowsPastThreeWithAnyWindowBesideTheMainOne) {
  EXPECT_EQ(count_window_nodes(), 1);
  probeWindow* main_window = new probeWindow(nullptr, window_type::main_window, "main");
  EXPECT_EQ(count_window_nodes(), 3);
  probeWindow* child = new probeWindow(main_window, 16, "child");
  EXPECT_GT(count_window_nodes(), 3);
  delete child;
  EXPECT_EQ(count_window_nodes(), 3);
  new probeWindow(nullptr, 1, "second");
  EXPECT_EQ(count_window_nodes(), 6);
}

TEST_F(WindowTree, DumpNamesEachNodeByTypeAndIndentsChildren) {
  const char* path = "winlib_window_tree_dump.txt";
  std::remove(path);
  log_open(path);
  probeWindow* session = new probeWindow(nullptr, window_type::session, "session");
  new probeWindow(session, window_type::thumbnail, "thumbnail");
  new probeWindow(nullptr, window_type::pseudo_dialog, "dialog");
  new probeWindow(nullptr, 23, "drag");
  dump_window_tree("probe");
  log_close();

  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::remove(path);
  std::vector<std::string> names;
  bool titled = false;
  for (const std::string& line : lines) {
    if (line == "========================[probe]=========================") titled = true;
    if (line.find(" = ") != std::string::npos && line.find("[WNC], CHILD") != std::string::npos) {
      names.push_back(line.substr(0, line.find(" = ")));
    }
  }
  EXPECT_TRUE(titled);
  EXPECT_EQ(names, (std::vector<std::string>{"Main      ", "TraceDrag ", "Other     ", "Session   ",
                                             ".  Thumbnail "}));
  EXPECT_EQ(lines.back(), "=====================================================");
}

TEST(WindowNumbers, EachInstanceOfAClassTakesTheNextNumber) {
  int32_t counter = 0;
  globalInstanceClass first(counter);
  globalInstanceClass second(counter);
  EXPECT_EQ(first.instance_number, 1);
  EXPECT_EQ(second.instance_number, 2);
  EXPECT_EQ(counter, 2);
}

TEST(WindowPlacement, MinusOneKeepsPositionOrSize) {
  paper scale;
  ASSERT_TRUE(scale.rescale(400, 300, 100, 100));  // 4 x 3 px/mm
  scale.set_origin(10, 20);
  struct placement_case {
    double x, y, w, h;
    windowPlacement want;
  };
  const placement_case cases[] = {
      {5.0, 5.0, 10.0, 10.0, {30, 35, 50, 50, false, false}},
      {-1.0, 5.0, 10.0, 10.0, {0, 0, 50, 50, true, false}},
      {5.0, -1.0, 10.0, 10.0, {0, 0, 50, 50, true, false}},
      {5.0, 5.0, -1.0, 10.0, {30, 35, 0, 0, false, true}},
      {2.9, 0.5, 0.1, 0.2, {21, 21, 10, 20, false, false}},
  };
  for (const placement_case& c : cases) {
    windowPlacement p = window_placement(c.x, c.y, c.w, c.h, scale);
    EXPECT_EQ(p.x, c.want.x) << c.x;
    EXPECT_EQ(p.y, c.want.y) << c.y;
    EXPECT_EQ(p.width, c.want.width) << c.w;
    EXPECT_EQ(p.height, c.want.height) << c.h;
    EXPECT_EQ(p.keep_position, c.want.keep_position);
    EXPECT_EQ(p.keep_size, c.want.keep_size);
  }
}
