#include "desktop/winlib/files/kv_bridge.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/messages/messages.h"
#include "platform/files/whole_file.h"

namespace {

uint32_t entry_table_counter = 0;
uint32_t bridge_counter = 0;

// The number at the start of text as "%d" reads it; false when there is none.
bool read_integer(const char* text, long long& number) {
  char* end = nullptr;
  number = strtoll(text, &end, 10);
  return end != text;
}

// The bytes of a file; false when it does not open. A read that fails is
// reported. On Windows the text-mode line ends are undone here ("\r\n" read
// as "\n"), without text mode's end of file at a Ctrl-Z byte.
bool read_whole_file(const char* file_name, std::string& content) {
  FILE* file = fopen(file_name, "rb");
  if (!file) return false;
  char block[4096];
  size_t n;
  while ((n = fread(block, 1, sizeof block, file)) > 0) content.append(block, n);
  bool failed = ferror(file) != 0;
  fclose(file);
  if (failed) {
    errormessage("*** kvBridgeClass::load_file - READ OF [%s] FAILED ***", file_name);
    return false;
  }
#ifdef _WIN32
  std::string text;
  text.reserve(content.size());
  for (size_t i = 0; i < content.size(); i++) {
    if (content[i] == '\r' && i + 1 < content.size() && content[i + 1] == '\n') continue;
    text += content[i];
  }
  content.swap(text);
#endif
  return true;
}

}  // namespace

kvBridgeEntryClass::kvBridgeEntryClass(const char* entry_key, int32_t entry_type, void* entry_target,
                                       kvUserRoutine entry_routine, int32_t entry_target_size)
    : key(entry_key),
      type(entry_type),
      target(entry_target),
      target_size(entry_target_size),
      routine(entry_routine),
      sub_entries("nameless") {}

kvBridgeEntryClass::~kvBridgeEntryClass() {
  if (owns_sub_entries) {
    delete_list_items(&sub_entries);
  } else {
    sub_entries.remove_all();
  }
}

kvEntryTable::kvEntryTable() : serial(++entry_table_counter), entries("nameless"), current(&entries) {}

kvEntryTable::~kvEntryTable() { delete_list_items(&entries); }

kvBridgeClass::kvBridgeClass() : serial_(++bridge_counter) {}

kvBridgeClass::~kvBridgeClass() {
  delete loaded_;
  loaded_ = nullptr;
}

kvBridgeEntryClass* kvBridgeClass::add_entry(const char* key, int32_t type, void* target, kvUserRoutine routine,
                                             int32_t target_size) {
  bool needs_target = type != kv_user && type != kv_sublist;
  if (needs_target && !target) {
    errormessage("*** kvBridgeClass::add_entry - NO TARGET FOR [%s] ***", key ? key : "");
    return nullptr;
  }
  if (type == kv_text && target_size < 1) {
    errormessage("*** kvBridgeClass::add_entry - TEXT TARGET [%s] HAS NO SIZE ***", key ? key : "");
    return nullptr;
  }
  kvBridgeEntryClass* entry = new kvBridgeEntryClass(key, type, target, routine, target_size);
  if (!table_.current->add(entry)) {
    delete entry;
    return nullptr;
  }
  return entry;
}

kvBridgeEntryClass* kvBridgeClass::push_sublist(const char* key) {
  kvBridgeEntryClass* entry = new kvBridgeEntryClass(key, kv_sublist, nullptr, nullptr, 0);
  // The bridge made the sub-entries, so the entry deletes them with itself.
  entry->owns_sub_entries = 1;
  if (!table_.current->add(entry)) {
    delete entry;
    return nullptr;
  }
  table_.current = &entry->sub_entries;
  return entry;
}

const char* kvBridgeClass::get_value_from_target(kvBridgeEntryClass* entry) {
  static byteObjectClass result;
  if (!entry) {
    errormessage("*** kvBridgeClass::get_value_from_target ***\n*** kvBridgeEntryClass is null ***");
    return nullptr;
  }
  const void* t = entry->target;
  bool plain = entry->type >= kv_text && entry->type <= kv_bool && entry->type != kv_user;
  if (plain && !t) {
    errormessage("*** kvBridgeClass::get_value_from_target - NO TARGET FOR [%s] ***", entry->key.text());
    return nullptr;
  }
  switch (entry->type) {
    case kv_text: {
      const char* text = static_cast<const char*>(t);
      result.set_bytes(text, static_cast<int32_t>(strnlen(text, static_cast<size_t>(entry->target_size))));
      return result.text();
    }
    case kv_double: return fmt("%lg", *static_cast<const double*>(t));
    case kv_float: return fmt("%g", static_cast<double>(*static_cast<const float*>(t)));
    case kv_uint8: return fmt("%d", static_cast<int>(*static_cast<const uint8_t*>(t)));
    case kv_int8: return fmt("%d", static_cast<int>(*static_cast<const int8_t*>(t)));
    case kv_uint16: return fmt("%d", static_cast<int>(*static_cast<const uint16_t*>(t)));
    case kv_int16: return fmt("%d", static_cast<int>(*static_cast<const int16_t*>(t)));
    case kv_uint32: return fmt("%d", static_cast<int>(static_cast<int32_t>(*static_cast<const uint32_t*>(t))));
    case kv_int32: return fmt("%d", static_cast<int>(*static_cast<const int32_t*>(t)));
    case kv_user:
      if (!entry->routine) {
        errormessage("*** kvBridgeClass::get_value_from_target - skUserType routine is NULL ***");
        return nullptr;
      }
      result.set("");
      entry->routine(0, entry, &result);
      return result.text();
    case kv_byte_object: return static_cast<const byteObjectClass*>(t)->text();
    case kv_bool: return fmt("%d", *static_cast<const uint8_t*>(t) > 0 ? 1 : 0);
    default:
      errormessage("*** kvBridgeClass::get_value_from_target - BAD kvBridgeEntryClass TYPE (%d) ***",
                   static_cast<int>(entry->type));
      return nullptr;
  }
}

void kvBridgeClass::set_target_to_value(kvBridgeEntryClass* entry, kvNode* node) {
  if (!entry || !node) {
    errormessage("*** kvBridgeClass::set_target_to_value ***\n*** %s is null ***",
                 entry ? "kvNode" : "kvBridgeEntryClass");
    return;
  }
  void* t = entry->target;
  const char* text = node->value.text();
  bool plain = entry->type >= kv_text && entry->type <= kv_bool && entry->type != kv_user;
  if (plain && !t) {
    errormessage("*** kvBridgeClass::set_target_to_value - NO TARGET FOR [%s] ***", entry->key.text());
    return;
  }
  long long number = 0;
  bool is_number = false;
  if (entry->type >= kv_uint8 && entry->type <= kv_int32) is_number = read_integer(text, number);
  if (entry->type == kv_bool) is_number = read_integer(text, number);
  switch (entry->type) {
    case kv_text: {
      size_t room = static_cast<size_t>(entry->target_size) - 1;
      size_t n = strlen(text);
      if (n > room) {
        errormessage("*** kvBridgeClass::set_target_to_value - VALUE OF [%s] CUT TO %d CHARACTERS ***",
                     entry->key.text(), static_cast<int>(room));
        n = room;
      }
      memcpy(t, text, n);
      static_cast<char*>(t)[n] = 0;
      break;
    }
    case kv_double: sscanf(text, "%lg", static_cast<double*>(t)); break;
    case kv_float: sscanf(text, "%g", static_cast<float*>(t)); break;
    case kv_uint8:
    case kv_int8:
      if (is_number) *static_cast<uint8_t*>(t) = static_cast<uint8_t>(number);
      break;
    case kv_uint16:
    case kv_int16:
      if (is_number) *static_cast<uint16_t*>(t) = static_cast<uint16_t>(number);
      break;
    case kv_uint32:
    case kv_int32:
      if (is_number) *static_cast<uint32_t*>(t) = static_cast<uint32_t>(number);
      break;
    case kv_byte_object: static_cast<byteObjectClass*>(t)->set(text); break;
    case kv_bool:
      if (is_number) *static_cast<uint8_t*>(t) = number != 0 ? 1 : 0;
      break;
    case kv_user:
      if (entry->routine) {
        entry->routine(1, entry, &node->value);
        break;
      }
      [[fallthrough]];
    default:
      errormessage("*** kvBridgeClass::set_target_to_value - BAD kvBridgeEntryClass TYPE (%d) ***",
                   static_cast<int>(entry->type));
      break;
  }
}

void kvBridgeClass::write_compact(byteObjectClass& report, r_list<kvBridgeEntryClass>& entries) {
  for (auto* e = entries.head(); e; e = e->next) {
    kvBridgeEntryClass* entry = e->payload;
    if (!entry) continue;
    if (entry->type == kv_sublist) {
      report.append("(");
      report.append(entry->key.text());
      report.append(" ");
      write_compact(report, entry->sub_entries);
      report.append(")");
    } else {
      kv_item(report, entry->key.text(), get_value_from_target(entry));
    }
  }
}

void kvBridgeClass::write_indented(byteObjectClass& report, r_list<kvBridgeEntryClass>& entries, int level) {
  for (auto* e = entries.head(); e; e = e->next) {
    kvBridgeEntryClass* entry = e->payload;
    if (!entry) continue;
    report.append("\n");
    for (int i = 0; i < level; i++) report.append(".  ");
    if (entry->type == kv_sublist) {
      report.append("(");
      report.append(entry->key.text());
      report.append(" ");
      write_indented(report, entry->sub_entries, level + 1);
      report.append(")");
    } else {
      kv_item(report, entry->key.text(), get_value_from_target(entry));
    }
  }
}

void kvBridgeClass::create_kvreport(const char* title, byteObjectClass* report) {
  if (!title || !*title) {
    errormessage("*** kvBridgeClass::create_kvreport ***\n*** - supplied title is NULL ***");
    return;
  }
  if (!report) {
    errormessage("*** kvBridgeClass::create_kvreport ***\n*** - supplied report is NULL ***");
    return;
  }
  report->append("(");
  report->append(title);
  report->append(" ");
  write_compact(*report, table_.entries);
  report->append(")");
}

void kvBridgeClass::pp_target_values(const char* title, byteObjectClass* report) {
  if (!title || !*title) {
    errormessage("*** kvBridgeClass::pp_target_values ***\n*** - supplied title is NULL ***");
    return;
  }
  if (!report) {
    errormessage("*** kvBridgeClass::pp_target_values ***\n*** - supplied report is NULL ***");
    return;
  }
  report->append("(");
  report->append(title);
  report->append(" ");
  write_indented(*report, table_.entries, 1);
  report->append(")\n");
}

void kvBridgeClass::target_values_report(byteObjectClass* report) {
  if (report) report->set("");
  pp_target_values("<place title here>", report);
}

bool kvBridgeClass::save_file(const char* file_name, const char* title) {
  // A refused title leaves nothing to write: the file is not opened, so an
  // existing one is not emptied.
  byteObjectClass report;
  create_kvreport(title, &report);
  if (report.length() == 0) return false;
  if (!file_name) {
    errormessage("*** UNABLE TO OPEN FILE ***\n[%s]", "");
    return false;
  }
  // The same bytes are not written again: closing a large session costs
  // only the files that changed.
  size_t length = static_cast<size_t>(report.length());
  std::string present;
  if (read_whole_file(file_name, present) && present.size() == length &&
      std::memcmp(present.data(), report.text(), length) == 0)
    return true;
  wholeFileStep failed = wholeFileStep::none;
  if (write_file_whole(
          file_name, "w", [&](FILE* file) { return fwrite(report.text(), 1, length, file) == length; }, &failed))
    return true;
  if (failed == wholeFileStep::open) {
    errormessage("*** UNABLE TO OPEN FILE ***\n[%s]", file_name);
  } else {
    errormessage("*** kvBridgeClass::save_file - WRITE TO [%s] FAILED ***\n%s", file_name,
                 whole_file_step_text(failed));
  }
  return false;
}

void kvBridgeClass::apply(kvList* parsed, r_list<kvBridgeEntryClass>& entries) {
  for (auto* e = entries.head(); e; e = e->next) {
    kvBridgeEntryClass* entry = e->payload;
    if (!entry) continue;
    if (entry->sub_entries.count() > 0) apply(parsed, entry->sub_entries);
    kvNode* node = find_key(parsed, entry->key.text());
    if (!node) continue;
    if (entry->type == kv_sublist) {
      apply(parsed, entry->sub_entries);
    } else {
      set_target_to_value(entry, node);
    }
  }
}

bool kvBridgeClass::load_file(const char* file_name) {
  std::string content;
  remove_leftover_temporary(file_name);
  if (!file_name || !read_whole_file(file_name, content)) return false;
  byteObjectClass text(content.data(), static_cast<int32_t>(content.size()));
  kvList* parsed = parse_kvlist(text);
  apply(parsed, table_.entries);
  delete loaded_;
  loaded_ = parsed;
  return true;
}

const char* kvBridgeClass::get_loaded_value(const char* key) {
  kvNode* node = find_key(loaded_, key);
  return node ? node->value.text() : nullptr;
}

const char* kvBridgeClass::loaded_title() {
  kvNode* first = loaded_ ? loaded_->nodes().head_item() : nullptr;
  return first ? first->key.text() : nullptr;
}

void kvBridgeClass::clear_bindings() {
  if (loaded_) delete_list_items(&loaded_->nodes());
  delete_list_items(&table_.entries);
  table_.current = &table_.entries;
}
