// The window tree: one node per window object, keyed by window handle, that
// mirrors the ownership of windows. A window object made with a parent hangs
// under the parent's node, one made without a parent is a top-level node.
// The window procedures find their objects here; deleting a node deletes
// every window object beneath it and destroys their windows; when the last
// top-level node is gone the program's main loop stops.
//
// Top-level nodes form the chain that starts at the root's next; a node's
// children form the chain that starts at its first_child. A new node always
// goes to the head of its chain. Searches walk depth-first from the root: a
// node, then its first child's subtree, then its next sibling.
//
// One thread: the tree is used only from the user-interface thread.
#ifndef DESKTOP_WINLIB_WINDOWS_WINDOW_TREE_H
#define DESKTOP_WINLIB_WINDOWS_WINDOW_TREE_H

#include <cstdint>

#include "desktop/winlib/platform_types.h"

class winTypeClass;

struct windowNode {
  winTypeClass* object;  // null once the object is being destroyed
  HWND hwnd;             // null until bound
  uint32_t type;
  windowNode* parent;       // null for a top-level node
  windowNode* next;         // next sibling
  windowNode* previous;     // previous sibling; the root for the first top-level node
  windowNode* first_child;
};

// Window-type codes of the program's windows.
namespace window_type {
constexpr uint32_t session = 1;
constexpr uint32_t thumbnail = 2;
constexpr uint32_t measurement_graph = 3;
constexpr uint32_t comparison_graph = 4;
constexpr uint32_t summary = 5;
constexpr uint32_t test_search = 6;
constexpr uint32_t spectrum = 8;
constexpr uint32_t operations = 9;
constexpr uint32_t directory_tree = 10;
constexpr uint32_t inverse_transform = 12;
constexpr uint32_t directory_getter = 13;
constexpr uint32_t table = 14;
constexpr uint32_t general = 16;
constexpr uint32_t information_panel = 17;
constexpr uint32_t test_information = 18;
constexpr uint32_t plot_attributes = 19;
constexpr uint32_t main_window = 20;
constexpr uint32_t samples_window = 22;
constexpr uint32_t drag_item = 24;
constexpr uint32_t pseudo_dialog = 333;
}  // namespace window_type

// 1 while the program's main loop is to go on; 0 once no top-level window
// object is left.
extern uint8_t program_running;

// The static root (all fields null; never freed).
windowNode& window_tree_root();

// A new node for object under parent's node (parent null: top level),
// inserted at the head of its chain. A parent that is not in the tree is
// reported and the node goes to the top level.
windowNode* create_window_node(winTypeClass* parent, winTypeClass* object, uint32_t type);

// Null for a null object or one not in the tree.
windowNode* find_window_node(const winTypeClass* object);
// The object bound to this window handle; null for a null handle, one not in
// the tree, or one whose object is being destroyed.
winTypeClass* find_window_object(HWND window);
// The first node of this type.
windowNode* find_window_of_type(uint32_t type);

// Removes the node's children (depth first), then the node. Null does
// nothing.
void delete_window_node(windowNode* node, int flag);
void remove_window_children(windowNode* node);
// Unlinks and destroys a node without children: its object (if it still has
// one) is deleted and its window destroyed. A node with children is refused
// with "*** CANNOT REMOVE A NODE WITH CHILDREN ***" (false). With flag 1,
// when no top-level node is left, program_running becomes 0.
bool remove_window_node(windowNode* node, int flag);

// 1 for the bare root, 3 for the root and one top-level window, and larger
// as soon as any further window object exists.
int count_window_nodes();

// Writes the tree to the debug log under the title.
void dump_window_tree(const char* title);
// The type name the dump shows for a code.
const char* window_type_name(uint32_t type);

// Destroys the window of a node being removed (DestroyWindow on Windows).
void destroy_window_handle(HWND window);

#endif
