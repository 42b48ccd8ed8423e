// samplesListClass: a test's sweeps (its sample files and the record's last
// sweep), one trace each with an include flag, and the cached average of the
// included ones, which becomes the test's trace when a filtered trace entry
// is given the list. A sweep is held as its stored values until its trace
// is first asked for.
#ifndef DESKTOP_DATA_SAMPLES_LIST_H
#define DESKTOP_DATA_SAMPLES_LIST_H

#include <cstdint>
#include <memory>
#include <vector>

#include "desktop/data/block_traces.h"
#include "desktop/winlib/containers/list_payload.h"
#include "desktop/winlib/containers/r_list.h"
#include "desktop/data/record_fields.h"
#include "handheld/engine/storage/stored_records.h"
#include "desktop/data/trace.h"

class tracePlusClass;

// One sample: its include flag and its trace, which it owns (null until
// the list makes it from the stored values).
class sampleEntry : public listPayload {
 public:
  sampleEntry() = default;
  ~sampleEntry() override;
  sampleEntry(const sampleEntry&) = delete;
  sampleEntry& operator=(const sampleEntry&) = delete;

  uint8_t include = 1;
  traceClass* trace = nullptr;

  // The block's values (shared with the sample's trace and the average
  // made from them) and the sample's number.
  std::shared_ptr<const blockValues> values;
  int number = 0;
};

class samplesListClass {
 public:
  samplesListClass();
  // Deletes every entry with its trace, then the average; trace entries
  // that still use the list are detached from it first.
  ~samplesListClass();
  samplesListClass(const samplesListClass&) = delete;
  samplesListClass& operator=(const samplesListClass&) = delete;

  // Appends a sample made from the block (colour 5, labelled "[spl %d]"
  // with number) and returns its index; -1 (nothing added) when the block
  // is refused.
  int32_t add_sample(const testFileRecord& record, const samplesBlock& block, int number);

  // 1 when set; 0 (reported) for an index outside the list.
  int set_sample_flag(int32_t index, uint8_t flag);
  // The flag; 0 (reported) for an index outside the list.
  uint8_t get_sample_flag(int32_t index);
  // The sample's trace; null (reported) for an index outside the list.
  traceClass* get_trace(int32_t index);
  int32_t get_count() const { return entries_.count(); }

  // The average of the included samples (kept until a sample or a flag
  // changes), or null when none is included.
  traceClass* average();
  // The same average made into out (its points and attributes), without
  // keeping it; false, with out left as it was, when none is included.
  // A filtered trace entry starts its rebuild from this. While no sample's
  // trace has been asked for, out makes its points from the samples' values
  // when they are first read.
  bool make_average(traceClass& out);
  // The x of the last point of the average make_average would make, without
  // making it; false when none is included.
  bool average_last_x(double& x) const;

  // The trace entries that use this list register here, so that the list
  // can detach them when it is destroyed first.
  void attach_user(tracePlusClass* entry);
  void detach_user(tracePlusClass* entry);

 private:
  sampleEntry* entry_at(int32_t index, const char* caller);
  // The entry's trace, made from its values when it has none yet.
  traceClass* trace_of(sampleEntry* entry);
  // A new trace of the entry's values.
  static traceClass* make_trace(const sampleEntry& entry);

  uint8_t average_valid_ = 0;
  traceClass average_;
  r_list<sampleEntry> entries_;
  std::vector<tracePlusClass*> users_;
};

#endif
