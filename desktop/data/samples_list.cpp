#include "samples_list.h"

#include <algorithm>
#include <limits>

#include "block_traces.h"
#include "filtered_trace.h"
#include "fmt.h"
#include "messages.h"

sampleEntry::~sampleEntry() { delete trace; }

samplesListClass::samplesListClass() : entries_("nameless") {}

samplesListClass::~samplesListClass() {
  // Detaching calls back into detach_user, so work on a copy.
  std::vector<tracePlusClass*> users;
  users.swap(users_);
  for (tracePlusClass* entry : users) entry->detach_samples_list(this);
  delete_list_items(&entries_);
}

int32_t samplesListClass::add_sample(const testFileRecord& record, const samplesBlock& block, int number) {
  blockFields fields;
  if (!read_block_fields(block, fields)) return -1;
  sampleEntry* entry = new sampleEntry;
  entry->fields = fields;
  const int32_t* values = block.Data;
  const bool narrow = std::all_of(values, values + fields.count, [](int32_t v) {
    return v >= std::numeric_limits<int16_t>::min() && v <= std::numeric_limits<int16_t>::max();
  });
  if (narrow) {
    entry->raw16.assign(values, values + fields.count);
  } else {
    entry->raw32.assign(values, values + fields.count);
  }
  entry->scale = record.Config.Scale;
  entry->offset = record.Config.Offset;
  entry->number = number;
  r_list<sampleEntry>::element* element = entries_.add(entry);
  if (!element) {
    delete entry;
    return -1;
  }
  element->delete_flag = 1;
  average_valid_ = 0;
  return entries_.count() - 1;
}

traceClass* samplesListClass::make_trace(const sampleEntry& entry) {
  traceClass* trace =
      entry.raw32.empty()
          ? make_trace_from_values(entry.raw16.data(), entry.fields, entry.scale, entry.offset, 5)
          : make_trace_from_values(entry.raw32.data(), entry.fields, entry.scale, entry.offset, 5);
  trace->set_label(fmt("[spl %d]", entry.number));
  return trace;
}

traceClass* samplesListClass::trace_of(sampleEntry* entry) {
  if (!entry->trace) entry->trace = make_trace(*entry);
  return entry->trace;
}

sampleEntry* samplesListClass::entry_at(int32_t index, const char* caller) {
  if (index < 0 || index >= entries_.count()) {
    errormessage("*** samplesListClass::%s - Requested offset (%d) TOO LARGE, max = (%d)", caller,
                 static_cast<int>(index), static_cast<int>(entries_.count() - 1));
    return nullptr;
  }
  return entries_.get(static_cast<uint16_t>(index));
}

int samplesListClass::set_sample_flag(int32_t index, uint8_t flag) {
  sampleEntry* entry = entry_at(index, "set_sample_flag");
  if (!entry) return 0;
  entry->include = flag;
  average_valid_ = 0;
  return 1;
}

uint8_t samplesListClass::get_sample_flag(int32_t index) {
  sampleEntry* entry = entry_at(index, "get_sample_flag");
  return entry ? entry->include : 0;
}

traceClass* samplesListClass::get_trace(int32_t index) {
  sampleEntry* entry = entry_at(index, "get_trace");
  return entry ? trace_of(entry) : nullptr;
}

traceClass* samplesListClass::average() {
  if (average_valid_) return &average_;
  if (!make_average(average_)) return nullptr;
  average_valid_ = 1;
  return &average_;
}

bool samplesListClass::make_average(traceClass& out) {
  int32_t included = 0;
  for (auto* e = entries_.head(); e; e = e->next) {
    if (e->payload && e->payload->include) included++;
  }
  if (included == 0) return false;
  bool first = true;
  xyPair* sum = nullptr;
  int32_t count = 0;
  for (auto* e = entries_.head(); e; e = e->next) {
    sampleEntry* entry = e->payload;
    if (!entry || !entry->include) continue;
    if (first) {
      // The first sample gives the average its attributes and x; a trace
      // made only for this is not kept, and its points pass to out as they
      // are.
      traceClass* made = entry->trace ? nullptr : make_trace(*entry);
      out.load(entry->trace ? entry->trace : made);
      delete made;
      sum = out.points();
      count = out.get_count();
      for (int32_t i = 0; i < count; i++) sum[i].y /= included;
      first = false;
      continue;
    }
    if (entry->trace) {
      // A trace once handed out may have been changed: it is what counts.
      const xyPair* add = static_cast<const traceClass*>(entry->trace)->points();
      int32_t n = std::min(count, entry->trace->get_count());
      for (int32_t i = 0; i < n; i++) sum[i].y += add[i].y / included;
    } else {
      // The values its trace would hold, without making it.
      const int32_t n = std::min(count, entry->fields.count);
      const microvoltConversion convert(entry->fields, entry->scale, entry->offset);
      auto add = [&](const auto* raw) {
        for_each_microvolts(raw, n, convert, [&](int32_t i, double y) { sum[i].y += y / included; });
      };
      if (entry->raw32.empty()) {
        add(entry->raw16.data());
      } else {
        add(entry->raw32.data());
      }
    }
  }
  return true;
}

bool samplesListClass::average_last_x(double& x) const {
  for (auto* e = entries_.head(); e; e = e->next) {
    const sampleEntry* entry = e->payload;
    if (!entry || !entry->include) continue;
    // The average takes its points' x from the first included sample.
    if (entry->trace) {
      const int32_t n = entry->trace->get_count();
      x = n > 0 ? entry->trace->x_at(n - 1) : 0.0;
    } else {
      const double step = static_cast<double>(entry->fields.total_time) / entry->fields.count;
      x = block_point_time(entry->fields.count - 1, step, entry->fields);
    }
    return true;
  }
  return false;
}

void samplesListClass::attach_user(tracePlusClass* entry) {
  if (entry && std::find(users_.begin(), users_.end(), entry) == users_.end()) users_.push_back(entry);
}

void samplesListClass::detach_user(tracePlusClass* entry) {
  users_.erase(std::remove(users_.begin(), users_.end(), entry), users_.end());
}
