#include "desktop/data/samples_list.h"

#include <algorithm>
#include <limits>

#include "desktop/data/block_traces.h"
#include "desktop/data/filtered_trace.h"
#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/messages/messages.h"

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
  entry->values = std::make_shared<const blockValues>(block.Data, fields, record.Config.Scale, record.Config.Offset);
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
  traceClass* trace = make_trace_from_values(entry.values, 5);
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

namespace {

// The average of sweeps' values, point by point the sum of each value
// divided by the number of sweeps, in the sweeps' order; x and the count
// are the first sweep's.
class averageSource : public pointsSource {
 public:
  explicit averageSource(std::vector<std::shared_ptr<const blockValues>> sweeps) : sweeps_(std::move(sweeps)) {}
  void fill(int32_t from, int32_t n, xyPair* out) const override {
    const double included = static_cast<double>(sweeps_.size());
    sweeps_.front()->fill(from, n, out);
    for (int32_t i = 0; i < n; i++) out[i].y /= included;
    for (size_t s = 1; s < sweeps_.size(); s++) {
      const int32_t end = std::min(from + n, sweeps_[s]->count());
      if (end > from) sweeps_[s]->add_values(from, end - from, included, out);
    }
  }

 private:
  std::vector<std::shared_ptr<const blockValues>> sweeps_;
};

}  // namespace

bool samplesListClass::make_average(traceClass& out) {
  int32_t included = 0;
  bool traces_made = false;
  std::vector<std::shared_ptr<const blockValues>> sweeps;
  for (auto* e = entries_.head(); e; e = e->next) {
    if (!e->payload || !e->payload->include) continue;
    included++;
    traces_made = traces_made || e->payload->trace;
    sweeps.push_back(e->payload->values);
  }
  if (included == 0) return false;
  if (!traces_made) {
    // The first sample gives the average its attributes.
    sampleEntry* first = nullptr;
    for (auto* e = entries_.head(); e && !first; e = e->next) {
      if (e->payload && e->payload->include) first = e->payload;
    }
    std::unique_ptr<traceClass> made(make_trace(*first));
    out.load(made.get());
    const int32_t count = first->values->count();
    out.set_source(std::make_shared<const averageSource>(std::move(sweeps)), count);
    return true;
  }
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
    const int32_t n = std::min(count, entry->trace ? entry->trace->get_count() : entry->values->count());
    if (entry->trace) {
      // A trace once handed out may have been changed: it is what counts.
      const xyPair* add = static_cast<const traceClass*>(entry->trace)->points();
      for (int32_t i = 0; i < n; i++) sum[i].y += add[i].y / included;
    } else {
      entry->values->add_values(0, n, included, sum);
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
      x = entry->trace->last_stored_x();
    } else {
      x = entry->values->time_at(entry->values->count() - 1);
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
