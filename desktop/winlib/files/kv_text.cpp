#include "desktop/winlib/files/kv_text.h"

#include <cstring>
#include <string>

#include "desktop/winlib/messages/messages.h"

namespace {

// Bytes that make a token quoted (bytes taken as signed: 128 and above are
// below 33 too).
bool needs_quotes(char c) {
  signed char s = static_cast<signed char>(c);
  return s < 33 || s == 127 || c == '(' || c == ')' || c == '[' || c == ']' || c == '\\';
}

void set_text(byteObjectClass& target, const std::string& text) {
  target.set_bytes(text.data(), static_cast<int32_t>(text.size()));
}

kvList* parse_level(const byteObjectClass& text, int level) {
  kvList* list = new kvList;
  int32_t offset = 0;
  for (;;) {
    kvNode* node = new kvNode;
    int result = next_KVlist(text, offset, node->key, node->value);
    if (result < 1) {
      delete node;
      break;
    }
    if (level + result - 1 > kv_nesting_limit) {
      errormessage("*** KEY/VALUE TEXT NESTED DEEPER THAN %d LEVELS ***\nkey [%s], source_offset = %d",
                   kv_nesting_limit, node->key.text(), offset);
      delete node;
      break;
    }
    list->nodes().add(node);
    if (result > 1) node->set_sub_list(parse_level(node->value, level + 1));
  }
  return list;
}

void report_node(byteObjectClass& out, const kvNode* node, int level) {
  for (int i = 0; i < level; i++) out.append(".  ");
  out.append("(");
  out.append(node->key.text());
  out.append(" ");
  if (kvList* sub = node->sub_list()) {
    out.append("\n");
    for (auto* e = sub->nodes().head(); e; e = e->next) {
      if (e->payload) report_node(out, e->payload, level + 1);
    }
    for (int i = 0; i < level; i++) out.append(".  ");
  } else {
    out.append(node->value.text());
  }
  out.append(")\n");
}

uint32_t kv_list_counter = 0;

}  // namespace

void kv_quote(byteObjectClass& report, const char* text) {
  if (!text || !*text) {
    report.append("\"\"");
    return;
  }
  size_t length = strlen(text);
  size_t first = 0;
  while (first < length && text[first] == ' ') first++;
  if (first == length) first = 0;
  size_t last = length - 1;
  while (last > 0 && text[last] == ' ') last--;
  if (last < first) last = first;

  bool quoted = false;
  for (size_t i = first; i <= last; i++) quoted = quoted || needs_quotes(text[i]);
  std::string token;
  if (quoted) token += '"';
  for (size_t i = first; i <= last; i++) {
    if (text[i] == '"' || text[i] == '\\') token += '\\';
    token += text[i];
  }
  if (quoted) token += '"';
  report.append_bytes(token.data(), static_cast<int32_t>(token.size()));
}

void kv_item(byteObjectClass& report, const char* key, const char* value) {
  report.append("(");
  kv_quote(report, key);
  report.append(" ");
  kv_quote(report, value);
  report.append(")");
}

int next_KVlist(const byteObjectClass& source, int32_t& offset, byteObjectClass& key, byteObjectClass& value) {
  key.set("");
  value.set("");
  const int32_t length = source.length();
  if (offset < 0) offset = 0;
  if (offset >= length) return -2;
  const char* s = source.text();

  enum { before = 1, in_key, after_key, in_value };
  int phase = before, depth = 0, max_depth = 0;
  bool quoting = false, escape = false;
  std::string buffer;
  auto collecting = [&phase]() { return phase == in_key || phase == in_value; };

  while (offset < length) {
    char c = s[offset++];
    if (escape) {
      escape = false;
      // An escaped byte opening a value begins it.
      if (phase == after_key) phase = in_value;
      if (collecting()) buffer += c;
    } else if (c == '\\') {
      if (depth >= 2) buffer += c;
      escape = true;
    } else if (c == '"') {
      if (!quoting && phase == after_key) phase = in_value;
      quoting = !quoting;
      if (depth >= 2) buffer += c;
    } else if (quoting) {
      if (collecting()) buffer += c;
    } else if (c == '(') {
      depth++;
      if (depth > max_depth) max_depth = depth;
      if (depth == 1 && phase == before) {
        phase = in_key;
      } else if (phase == in_key) {
        set_text(key, buffer);
        buffer = "(";
        phase = in_value;
      } else if (phase == after_key) {
        buffer = "(";
        phase = in_value;
      } else {
        buffer += c;
      }
    } else if (c == ')') {
      depth--;
      if (depth <= 0) {
        set_text(value, buffer);
        return max_depth;
      }
      buffer += c;
    } else if (c == ' ') {
      if (phase == in_key) {
        set_text(key, buffer);
        buffer.clear();
        phase = after_key;
      } else if (phase == in_value) {
        buffer += c;
      }
    } else if (collecting()) {
      buffer += c;
    } else if (phase == after_key) {
      buffer.assign(1, c);
      phase = in_value;
    }
  }
  // Blanks, line ends and other bytes after the last item end the text.
  if (phase == before) return -2;
  errormessage("*** next_KVlist: SOURCE OVERRUN ***\nsource_offset = %d, source_string_size = %d", offset, length);
  return -1;
}

kvNode::~kvNode() { delete sub_list_; }

void kvNode::set_sub_list(kvList* list) {
  if (list && list != sub_list_) delete sub_list_;
  sub_list_ = list;
}

kvList::kvList() : serial_(++kv_list_counter), nodes_("nameless") {}

kvList::~kvList() { delete_list_items(&nodes_); }

kvList* parse_kvlist(const byteObjectClass& text) { return parse_level(text, 1); }

kvNode* find_key(kvList* list, const char* key) {
  if (!list || !key) return nullptr;
  for (auto* e = list->nodes().head(); e; e = e->next) {
    kvNode* node = e->payload;
    if (!node) continue;
    if (strcmp(node->key.text(), key) == 0) return node;
    if (kvNode* hit = find_key(node->sub_list(), key)) return hit;
  }
  return nullptr;
}

kvNode* find_path(kvList* list, const char* path) {
  if (!path) return nullptr;
  const char* colon = strchr(path, ':');
  size_t n = colon ? static_cast<size_t>(colon - path) : strlen(path);
  for (auto* e = list ? list->nodes().head() : nullptr; e; e = e->next) {
    kvNode* node = e->payload;
    if (!node || static_cast<size_t>(node->key.length()) != n || strncmp(node->key.text(), path, n) != 0) continue;
    return colon ? find_path(node->sub_list(), colon + 1) : node;
  }
  return nullptr;
}

const char* kvlist_report(kvList* list) {
  static byteObjectClass report;
  report.set("");
  kvNode* first = list ? list->nodes().head_item() : nullptr;
  if (first) report_node(report, first, 0);
  return report.text();
}
