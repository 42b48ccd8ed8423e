// The parenthesised key/value text of the program's settings files: the
// token writer, the item scanner, and the parsed tree of key/value lists.
//
// An item is "(" key " " value ")"; a value is one token or a run of nested
// items. Between items other bytes are skipped; a double quote there starts
// quoting (inside which parentheses are not seen) and a backslash makes the
// next byte skipped too. Items nest at most kv_nesting_limit levels deep.
#ifndef DESKTOP_WINLIB_FILES_KV_TEXT_H
#define DESKTOP_WINLIB_FILES_KV_TEXT_H

#include <cstdint>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/containers/list_payload.h"
#include "desktop/winlib/containers/r_list.h"

constexpr int kv_nesting_limit = 64;

// Appends text as one token: blanks around it dropped, quoted when it holds a
// byte below 33 or above 126, "(", ")", "[", "]" or a backslash, with every
// double quote and backslash escaped. Null or empty gives two double quotes.
void kv_quote(byteObjectClass& report, const char* text);
// Appends "(" key " " value ")", both written by kv_quote.
void kv_item(byteObjectClass& report, const char* key, const char* value);

// Scans the next item of source from offset (moved on past it) into key and
// value (both emptied first). Returns the deepest parenthesis level reached
// in the item (1 for a plain item, 2 or more when the value holds items, 0
// for a ")" before any "("); -2 when nothing but bytes outside items is left
// (the end of the source included); -1, reported as "SOURCE OVERRUN", when
// the source ends inside an item.
int next_KVlist(const byteObjectClass& source, int32_t& offset, byteObjectClass& key, byteObjectClass& value);

class kvList;

// One item of a parsed text: its key, its value as scanned (for a nested
// item the inner text) and, for a nested item, the parsed inner list.
class kvNode : public listPayload {
 public:
  kvNode() = default;
  ~kvNode() override;
  kvNode(const kvNode&) = delete;
  kvNode& operator=(const kvNode&) = delete;

  byteObjectClass key;
  byteObjectClass value;

  kvList* sub_list() const { return sub_list_; }
  // Takes the list; a new non-null list deletes the previous one.
  void set_sub_list(kvList* list);

 private:
  kvList* sub_list_ = nullptr;
};

// A parsed text: its items in order. Owns its nodes.
class kvList {
 public:
  kvList();
  ~kvList();
  kvList(const kvList&) = delete;
  kvList& operator=(const kvList&) = delete;

  uint32_t serial() const { return serial_; }
  r_list<kvNode>& nodes() { return nodes_; }

 private:
  uint32_t serial_;
  r_list<kvNode> nodes_;
};

// Parses a whole text. Items up to a fault are kept: a stray ")" or a text
// that stops inside an item ends the list; an item nested deeper than
// kv_nesting_limit is refused with a message and ends it too. The caller
// deletes the list.
kvList* parse_kvlist(const byteObjectClass& text);

// The first node, depth first, whose key equals key exactly; null when none.
kvNode* find_key(kvList* list, const char* key);
// The node at a path of keys separated by ":", each next key looked up in the
// previous node's sub-list; null when a key is missing.
kvNode* find_path(kvList* list, const char* path);

// The first node of list as indented text, in one buffer shared by all
// calls, valid until the next call.
const char* kvlist_report(kvList* list);

#endif
