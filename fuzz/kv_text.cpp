// The key/value text: the item scanner moves forward on every item and ends;
// the parsed tree holds what the scanner gives; every plain value, written
// as an item, scans back to itself (without its outer blanks).
#include <cstring>
#include <string>

#include "desktop/winlib/containers/byte_object.h"
#include "fuzz/fuzz_support.h"
#include "desktop/winlib/files/kv_text.h"

namespace {

// What a value written by kv_item scans back as.
std::string expected_value(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return text.substr(0, text.empty() ? 0 : 1);
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void check_nodes(kvList* list, int depth) {
  FUZZ_CHECK(depth <= kv_nesting_limit);
  for (r_list_element<kvNode>* e = list->nodes().head(); e; e = e->next) {
    kvNode* node = e->payload;
    FUZZ_CHECK(node != nullptr);
    if (node->sub_list() != nullptr) {
      check_nodes(node->sub_list(), depth + 1);
      continue;
    }
    const std::string value = node->value.text();
    byteObjectClass item;
    kv_item(item, "k", value.c_str());
    byteObjectClass key, scanned;
    int32_t offset = 0;
    FUZZ_CHECK(next_KVlist(item, offset, key, scanned) == 1);
    FUZZ_CHECK(std::strcmp(key.text(), "k") == 0);
    FUZZ_CHECK(scanned.text() == expected_value(value));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_card();
  const byteObjectClass source(data, static_cast<int32_t>(size));
  int32_t offset = 0;
  for (;;) {
    byteObjectClass key, value;
    const int32_t before = offset;
    const int result = next_KVlist(source, offset, key, value);
    if (result == -2 || result == -1) break;
    FUZZ_CHECK(offset > before && offset <= static_cast<int32_t>(size));
  }
  kvList* list = parse_kvlist(source);
  if (list != nullptr) {
    check_nodes(list, 1);
    kvlist_report(list);
    delete list;
  }
  fuzz_forget_messages();
  return 0;
}
