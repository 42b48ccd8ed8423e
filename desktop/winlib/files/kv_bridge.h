// kvBridgeClass: binds text keys to program variables, so that a whole set
// of them is saved to, or loaded from, a key/value text file in one call.
#ifndef DESKTOP_WINLIB_FILES_KV_BRIDGE_H
#define DESKTOP_WINLIB_FILES_KV_BRIDGE_H

#include <cstdint>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/files/kv_text.h"
#include "desktop/winlib/containers/list_payload.h"
#include "desktop/winlib/containers/r_list.h"

// Type codes of the bound variables.
enum kvEntryType : int32_t {
  kv_text = 0,          // char array of a given size, NUL-terminated
  kv_double = 1,        // "%lg"
  kv_float = 2,         // "%g"
  kv_uint8 = 3,         // "%d"
  kv_int8 = 4,
  kv_uint16 = 5,
  kv_int16 = 6,
  kv_uint32 = 7,        // written as a signed 32-bit number
  kv_int32 = 8,
  kv_user = 9,          // the entry's user routine
  kv_byte_object = 10,  // byteObjectClass
  kv_bool = 11,         // byte: "1" or "0"
  kv_sublist = 12,      // a nested item of sub-entries
};

class kvBridgeEntryClass;

// A user type's routine: direction 0 writes the variable's text into buffer,
// direction 1 reads it from buffer.
typedef void (*kvUserRoutine)(int direction, kvBridgeEntryClass* entry, byteObjectClass* buffer);

class kvBridgeEntryClass : public listPayload {
 public:
  kvBridgeEntryClass(const char* key, int32_t type, void* target, kvUserRoutine routine, int32_t target_size);
  // Deletes the sub-entries when it owns them, then empties their list.
  ~kvBridgeEntryClass() override;
  kvBridgeEntryClass(const kvBridgeEntryClass&) = delete;
  kvBridgeEntryClass& operator=(const kvBridgeEntryClass&) = delete;

  byteObjectClass key;
  int32_t type;
  void* target;
  int32_t target_size;  // bytes of a kv_text target
  kvUserRoutine routine;
  int32_t owns_sub_entries = 0;
  r_list<kvBridgeEntryClass> sub_entries;
};

// The bindings of a bridge: the top-level entries (owned) and the list that
// add_entry appends to.
class kvEntryTable {
 public:
  kvEntryTable();
  ~kvEntryTable();
  kvEntryTable(const kvEntryTable&) = delete;
  kvEntryTable& operator=(const kvEntryTable&) = delete;

  uint32_t serial;
  r_list<kvBridgeEntryClass> entries;
  r_list<kvBridgeEntryClass>* current;
};

class kvBridgeClass {
 public:
  kvBridgeClass();
  // Deletes the loaded list, then every entry.
  ~kvBridgeClass();
  kvBridgeClass(const kvBridgeClass&) = delete;
  kvBridgeClass& operator=(const kvBridgeClass&) = delete;

  uint32_t serial() const { return serial_; }

  // Binds key to the variable at target. A kv_text target needs its size in
  // bytes (a value read into it is cut to fit, and reported); a kv_user
  // entry needs its routine. Returns the entry, null (reported) when refused.
  kvBridgeEntryClass* add_entry(const char* key, int32_t type, void* target, kvUserRoutine routine = nullptr,
                                int32_t target_size = 0);
  // Adds a kv_sublist entry and makes its sub-entries the list that
  // add_entry appends to from now on.
  kvBridgeEntryClass* push_sublist(const char* key);

  // Appends "(" title " " entries ")" on one line.
  void create_kvreport(const char* title, byteObjectClass* report);
  // Appends the indented form, one entry a line, ".  " per level.
  void pp_target_values(const char* title, byteObjectClass* report);
  // The indented form into an emptied buffer, titled "<place title here>".
  void target_values_report(byteObjectClass* report);

  // The variable's text as written, or null (reported).
  const char* get_value_from_target(kvBridgeEntryClass* entry);
  // Stores the node's value text into the variable.
  void set_target_to_value(kvBridgeEntryClass* entry, kvNode* node);

  // Writes the compact report in place of the file, whole or not at all
  // (whole_file.h); a file that already holds the same bytes is not written
  // again. False (reported, naming the file and the step that failed) when
  // the title is refused or the file cannot be created, written, flushed,
  // closed or renamed: the old file is then left as it was.
  bool save_file(const char* file_name, const char* title);
  // Reads and parses the file, sets every bound variable whose key it holds
  // (the others keep their values) and keeps the parsed list. False without
  // a message when the file does not open.
  bool load_file(const char* file_name);

  const char* get_loaded_value(const char* key);
  const char* loaded_title();
  kvList* loaded_list() { return loaded_; }

  // Deletes the loaded items and every binding; the bridge stays usable.
  void clear_bindings();

 private:
  void apply(kvList* parsed, r_list<kvBridgeEntryClass>& entries);
  void write_compact(byteObjectClass& report, r_list<kvBridgeEntryClass>& entries);
  void write_indented(byteObjectClass& report, r_list<kvBridgeEntryClass>& entries, int level);

  uint32_t serial_;
  kvEntryTable table_;
  kvList* loaded_ = nullptr;
};

#endif
