#include "desktop/winlib/windows/window_tree.h"

#include <cstring>

#include "desktop/winlib/messages/debug_log.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/windows/window_object.h"

uint8_t program_running = 1;

namespace {

windowNode root{};

// Called when the last top-level window object is gone; the main loop
// watches program_running.
void end_of_windows() {}

windowNode* find_node_of(windowNode* node, const winTypeClass* object) {
  for (; node; node = node->next) {
    if (node->object == object) return node;
    if (windowNode* found = find_node_of(node->first_child, object)) return found;
  }
  return nullptr;
}

windowNode* find_node_by_handle(windowNode* node, HWND window) {
  for (; node; node = node->next) {
    if (node->hwnd == window) return node;
    if (windowNode* found = find_node_by_handle(node->first_child, window)) return found;
  }
  return nullptr;
}

windowNode* find_node_by_type(windowNode* node, uint32_t type) {
  for (; node; node = node->next) {
    if (node != &root && node->type == type) return node;
    if (windowNode* found = find_node_by_type(node->first_child, type)) return found;
  }
  return nullptr;
}

int count_from(const windowNode* node, int base) {
  int value = base + 1;
  if (node->first_child) value += count_from(node->first_child, base + 1);
  return node->next ? value + count_from(node->next, value) : value;
}

// Deletes the node's object (if it still has one), destroys its window and
// frees it.
void destroy_node(windowNode* node) {
  winTypeClass* object = node->object;
  node->object = nullptr;
  if (object) {
    object->node = nullptr;
    delete object;
  }
  if (HWND window = node->hwnd) {
    node->hwnd = nullptr;
    destroy_window_handle(window);
  }
  delete node;
}

constexpr const char* type_names[] = {
    "Main",      "Session",     "Thumbnail",   "MeasGraph",    "comparisonPanel", "Summary",
    "Database",  "Dummy",       "FFT",         "Op",           "DbTree",          "Patient",
    "IFFT",      "NoType",      "Table",       "TextEdit",     "InfoPanel",       "ThumbState",
    "plotAttributes", "IntroWindow", "TimerPanel", "SamplesWindow", "SampleWindow", "TraceDrag"};
constexpr uint32_t type_name_count = sizeof type_names / sizeof type_names[0];

constexpr const char* indent_dots = ".  .  .  .  .  .  .  .  .  .  .  ";

unsigned long long address(const void* p) { return static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(p)); }

void dump_nodes(const windowNode* node, size_t depth) {
  size_t dots = std::strlen(indent_dots);
  for (; node; node = node->next) {
    size_t n = depth * 3 < dots ? depth * 3 : dots;
    char lead[64];
    std::memcpy(lead, indent_dots, n);
    lead[n] = 0;
    log_message("%s%-10s = %8.8llx[WNC], CHILD %8.8llx[WNC], NEXT %8.8llx[WNC]", lead, window_type_name(node->type),
                address(node), address(node->first_child), address(node->next));
    log_message("%s|  .         last:%8.8llx[WNC] parent:%8.8llx[WNC], object:%8.8llx[WTC] window:%8.8llx[HWND]",
                lead, address(node->previous), address(node->parent), address(node->object), address(node->hwnd));
    log_message("%s|  .", lead);
    dump_nodes(node->first_child, depth + 1);
  }
}

}  // namespace

windowNode& window_tree_root() { return root; }

windowNode* create_window_node(winTypeClass* parent, winTypeClass* object, uint32_t type) {
  windowNode* parent_node = nullptr;
  if (parent) {
    parent_node = find_window_node(parent);
    if (!parent_node) {
      errormessage("### create_window_node: PARENT WINDOW NOT IN THE WINDOW TREE (type %u) ###", type);
    }
  }
  windowNode* node = new windowNode{};
  node->object = object;
  node->type = type;
  node->parent = parent_node;
  if (parent_node) {
    node->previous = nullptr;
    node->next = parent_node->first_child;
    if (node->next) node->next->previous = node;
    parent_node->first_child = node;
  } else {
    node->previous = &root;
    node->next = root.next;
    if (node->next) node->next->previous = node;
    root.next = node;
  }
  return node;
}

windowNode* find_window_node(const winTypeClass* object) {
  if (!object) return nullptr;
  return find_node_of(root.next, object);
}

winTypeClass* find_window_object(HWND window) {
  if (!window) return nullptr;
  windowNode* node = find_node_by_handle(root.next, window);
  return node ? node->object : nullptr;
}

windowNode* find_window_of_type(uint32_t type) { return find_node_by_type(root.next, type); }

void delete_window_node(windowNode* node, int flag) {
  if (!node) return;
  remove_window_children(node);
  remove_window_node(node, flag);
}

void remove_window_children(windowNode* node) {
  if (!node) return;
  while (windowNode* child = node->first_child) {
    if (child->first_child) remove_window_children(child);
    if (!remove_window_node(child, 1)) return;
  }
}

bool remove_window_node(windowNode* node, int flag) {
  if (!node) return false;
  if (node == &root) {
    errormessage("### remove_window_node: THE ROOT IS NEVER REMOVED ###");
    return false;
  }
  if (node->first_child) {
    errormessage("*** CANNOT REMOVE A NODE WITH CHILDREN ***");
    return false;
  }
  if (node->previous) node->previous->next = node->next;
  if (node->next) node->next->previous = node->previous;
  if (node->parent && node->parent->first_child == node) node->parent->first_child = node->next;
  node->previous = node->next = node->parent = nullptr;
  destroy_node(node);
  if (flag == 1 && !root.next) {
    program_running = 0;
    end_of_windows();
  }
  return true;
}

int count_window_nodes() { return count_from(&root, 0); }

const char* window_type_name(uint32_t type) { return type < type_name_count ? type_names[type] : "Other"; }

void dump_window_tree(const char* title) {
  log_message("========================[%s]=========================", title ? title : "");
  dump_nodes(&root, 0);
  log_message("=====================================================");
}
