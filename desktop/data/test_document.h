// testDocument: one stored test as the desktop analyses it, apart from any
// window. It reads the test record and the sample files beside it, makes the
// averaged trace and the last sweep, keeps the test's entry in its small
// graph (filters and the samples' average), the a-/b-wave model and the
// state file's values, and builds the texts a thumbnail shows. A thumbnail
// window owns one; a benchmark or a report loads one headless.
#ifndef DESKTOP_DATA_TEST_DOCUMENT_H
#define DESKTOP_DATA_TEST_DOCUMENT_H

#include <cstdint>
#include <memory>
#include <string>

#include "desktop/data/bulk_storage.h"
#include "desktop/winlib/containers/byte_object.h"
#include "desktop/data/document_platform.h"
#include "desktop/data/graph/graph.h"
#include "desktop/data/samples_list.h"
#include "handheld/engine/storage/stored_records.h"
#include "desktop/data/test_state.h"
#include "desktop/data/trace.h"
#include "desktop/data/wave_measurement.h"

// The texts of the test information block, filled at loading.
struct testInfoTexts {
  double intensity = 0.0;
  double flash_count = 0.0;
  double interval_seconds = 0.0;
  double frequency = 0.0;
  double pre_time = 0.0;
  double post_time = 0.0;
  double background = 0.0;
  char lines[7][160] = {};
};

class testDocument {
 public:
  testDocument();
  // Writes the state file of a test from the PC when anything of it changed.
  ~testDocument();
  testDocument(const testDocument&) = delete;
  testDocument& operator=(const testDocument&) = delete;

  // Reads the test, its samples and (for a test from the PC) its state file,
  // and measures the a- and b-wave. False, with "*** UNABLE TO LOAD FILE [%s]
  // ***", when the record cannot be read: the document then stays unloaded.
  bool load(const char* path, int source, double number);

  bool loaded() const { return loaded_ != 0; }
  // The thumbnail's place in its session, shown in the first information line.
  void set_number(double number);
  const char* path() const { return path_.text(); }
  const char* file_name() const { return file_name_.text(); }
  const char* caption() const { return caption_.text(); }
  int source() const { return source_; }
  // The test's time: the record's own from version 3024 on, else the file's.
  const FILETIME& file_time() const { return file_time_; }
  const SYSTEMTIME& test_time() const { return test_time_; }

  testFileRecord* record() const { return record_.get(); }
  traceClass* main_trace() const { return main_trace_.get(); }
  tracePlusClass* entry() const { return entry_; }
  graphClass& graph() { return graph_; }
  samplesListClass& samples() { return samples_; }
  waveMeasurementModel* model() const { return model_.get(); }
  testStateClass& state() { return state_; }
  const testInfoTexts& info() const { return info_; }
  bool is_flicker() const;
  bool is_slave() const;

  // The trace name: "P%.2iS%.2iT%.2i%.2i", the channel letter, the test id and
  // ":SLAVE" where the name says so.
  static void make_trace_name(const testFileRecord& record, const char* base_name, byteObjectClass& out);

  // Filters: each returns whether the trace changed, keeps the state's
  // filtering text ("60 Hz", "50 Hz", spikes, low-pass) and change flags.
  bool set_60hz_filter(uint8_t on);
  bool set_50hz_filter(uint8_t on);
  bool set_spike_filter(uint8_t on);
  bool set_lowpass_filter(uint8_t on);
  bool set_lowpass_frequency(double frequency);

  // Hands the samples list to the entry (the average is rebuilt).
  void attach_samples();
  // Runs the a-/b-wave detection when automatic detection is on.
  bool recalculate_ab(int propagate);
  // Marks the state changed when anything the state file keeps changed.
  bool state_needs_saving();
  // Writes the state file now (a test from the PC only).
  bool save_state();

  // A test whose run was cut while its files were stored: some but not all
  // of its sample files are there. Its samples are not loaded; its trace is
  // the stored average.
  bool incomplete() const { return samples_expected_ > 0; }

  // "(%d) " (for an incomplete test "(%d of %d sample files) ") and the
  // switched filters, as the waveform text's last line.
  void filter_text(char* buffer, size_t size) const;

  // Takes another document's live analysis of the same test: its filters
  // and low-pass frequency, sample flags, automatic detection and, when that
  // is off, its a- and b-wave marks.
  void copy_analysis_from(testDocument& other);
  // A document made only to print never writes the state file.
  void set_print_only() { print_only_ = 1; }

  // Texts of the information window.
  const char* unit_serial_text() const;
  const char* cfc_number_text() const;
  const char* version_text() const;
  const char* nd_filter_text() const;

 private:
  void load_samples();
  std::string nd_filter_label() const;
  int32_t samples_list_count() const;
  void make_info();
  void make_caption();

  int samples_found_ = 0;
  int samples_expected_ = 0;  // set only for an incomplete test
  uint8_t loaded_ = 0;
  uint8_t print_only_ = 0;
  int source_ = 1;
  double number_ = 0.0;
  byteObjectClass path_;
  byteObjectClass file_name_;
  byteObjectClass caption_;
  FILETIME file_time_{};
  SYSTEMTIME test_time_{};
  std::unique_ptr<testFileRecord, bulkDelete> record_;  // in bulk storage
  std::unique_ptr<traceClass> main_trace_;
  samplesListClass samples_;
  graphClass graph_;
  tracePlusClass* entry_ = nullptr;  // owned by the graph
  std::unique_ptr<waveMeasurementModel> model_;
  testStateClass state_;
  testInfoTexts info_;
};

// "%2d%s %4d %.2d:%.2d:%.2d" of a time.
void test_time_text(const SYSTEMTIME& time, char* buffer, size_t size);

#endif
