#include "desktop/data/test_document.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "desktop/data/block_traces.h"
#include "desktop/winlib/messages/date_time_text.h"
#include "desktop/data/filtered_trace.h"
#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/data/record_fields.h"
#include "desktop/data/folder_listing.h"
#include "desktop/data/samples_views.h"
#include "desktop/data/session/session_files.h"
#include "desktop/data/test_file_reading.h"
#include "desktop/winlib/values/wide_text.h"

namespace {

// Filtering text positions.
constexpr int filter_60hz = 0;
constexpr int filter_50hz = 1;
constexpr int filter_spike = 2;
constexpr int filter_lowpass = 3;

// The base name without its extension.
std::string name_without_extension(const std::string& name) {
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

bool ends_with(const std::string& text, const char* tail) {
  size_t n = std::strlen(tail);
  return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

void set_filter_char(byteObjectClass& filtering, int position, uint8_t on) {
  char text[5] = "0000";
  const char* old = filtering.text();
  for (int i = 0; i < 4 && old[i]; i++) text[i] = old[i];
  text[position] = on ? '1' : '0';
  filtering.set(text);
}

}  // namespace

void test_time_text(const SYSTEMTIME& time, char* buffer, size_t size) {
  std::snprintf(buffer, size, "%2d%s %4d %.2d:%.2d:%.2d", time.wDay, month_name(time.wMonth), time.wYear,
                time.wHour, time.wMinute, time.wSecond);
}

testDocument::testDocument() {
  state_.filtering.set("0000");
  state_.notes.set("none");
  state_.user_id.set(" ");
}

testDocument::~testDocument() {
  // A selection window opened on these samples by another window goes first.
  close_samples_views(&samples_);
  if (loaded() && !print_only_ && source_ == test_source_pc && state_needs_saving())
    save_test_state(state_, path(), samples_);
}

bool testDocument::is_flicker() const { return record_ && record_->FlickerMark == u'Y'; }

bool testDocument::is_slave() const { return ends_with(name_without_extension(file_name()), "-SLAVE"); }

void testDocument::make_trace_name(const testFileRecord& record, const char* base_name, byteObjectClass& out) {
  char text[96];
  std::snprintf(text, sizeof text, "P%.2iS%.2iT%.2i%.2i%c", static_cast<int>(record.P), static_cast<int>(record.S),
                static_cast<int>(record.T), static_cast<int>(record.N),
                test_channel_letter(base_name) == 'A' ? 'A' : 'B');
  out.set(text);
  std::string id = utf8_text(record.TestId, 10);
  while (!id.empty() && id.back() == ' ') id.pop_back();
  bool all_blank = true;
  for (int i = 0; i < 10; i++) all_blank = all_blank && record.TestId[i] == u' ';
  if (!all_blank) {
    out.append(":");
    out.append(id.c_str());
  }
  std::string base = name_without_extension(base_name);
  if (std::count_if(base.begin(), base.end(), [](char c) { return c == '_' || c == '-'; }) >= 2) out.append(":SLAVE");
}

bool testDocument::load(const char* path, int source, double number) {
  source_ = source;
  number_ = number;
  path_.set(path ? path : "");
  file_name_.set(path_base_name(path_.text()).c_str());
  fileTime stored_time{};
  {
    // Kept in bulk storage: a session's records freed to the heap when it
    // closes would be given back to the system page by page.
    std::unique_ptr<testFileRecord> read(read_test_file(path_.text(), source, &stored_time));
    record_.reset(read ? bulk_copy(*read) : nullptr);
  }
  if (record_) main_trace_.reset(make_trace_from_block(*record_, record_->Average, 3));
  if (!record_ || !main_trace_) {
    infomessage("*** UNABLE TO LOAD FILE [%s] ***", path_.text());
    return false;
  }
  loaded_ = 1;
  fileTime when = record_test_time(*record_, stored_time);
  file_time_.dwLowDateTime = when.LowDateTime;
  file_time_.dwHighDateTime = when.HighDateTime;
  // Both the record's time and a file's time read from the PC are local.
  test_time_ = readable_local_time(file_time_, false);

  load_samples();

  byteObjectClass name;
  make_trace_name(*record_, file_name(), name);
  main_trace_->set_name(name.text());
  main_trace_->set_label(name.text());
  graph_.set_y_range(main_trace_->ymin(), main_trace_->ymax());
  entry_ = graph_.add_trace(main_trace_.get());
  {
    // The samples list, the state file's switches and sample flags and the
    // list set again give one rebuild: the model takes the trace's last time
    // without the average being made, and nothing else reads the trace in
    // between.
    tracePlusClass::rebuildBatch batch(*entry_);
    attach_samples();

    model_ = std::make_unique<waveMeasurementModel>(record_.get(), entry_);
    model_->test_name.set_format_text(file_name());
    byteObjectClass id;
    record_text(record_->TestId, 20, 10, id);
    model_->label.set(fmt("%s: %s", id.text(), file_name()));
    model_->elapsed_seconds.set_value(record_->RunMilliseconds / 1000.0);

    make_info();
    if (source_ == test_source_pc) load_test_state(state_, path_.text(), *model_, *entry_, samples_);
    make_caption();

    // Set again after the state file cleared it, so that a test from the PC
    // always keeps its state file when it closes.
    attach_samples();
  }
  recalculate_ab(0);
  return true;
}

void testDocument::load_samples() {
  const std::string folder = path_folder(path_.text());
  const std::vector<std::string> names = sample_file_names(path_.text(), folder_file_names);
  // The unit stores a test's sample files before its record: count - 1 of
  // them beside the record's last sweep, count being the average's divisor.
  // Where some but not all are here the run was cut while storing: the
  // stored average is the test's trace, not an average of what is left.
  // None at all is a test stored without sample files.
  const double divisor = record_->Average.Divisor;
  const int expected = divisor >= 2.0 && divisor <= 1.0e6 ? static_cast<int>(divisor) - 1 : 0;
  const int found = static_cast<int>(names.size());
  if (found > 0 && found < expected) {
    samples_found_ = found;
    samples_expected_ = expected;
    errormessage("*** TEST [%s] IS INCOMPLETE ***\n%d of %d sample files: the stored average is shown.",
                 path_.text(), found, expected);
    return;
  }
  int number = 0;
  for (const std::string& name : names) {
    std::string sample_path = folder + name;
    std::unique_ptr<samplesBlock> block(read_samples_file(sample_path.c_str(), source_, nullptr));
    if (!block) continue;
    if (samples_.add_sample(*record_, *block, number) >= 0) number++;
  }
  if (number > 0) samples_.add_sample(*record_, record_->LastSweep, number);
}

void testDocument::make_info() {
  const testFileRecord& r = *record_;
  info_.intensity = r.Config.Intensity;
  info_.flash_count = r.Config.RepeatCount & 0x3FF;
  info_.interval_seconds = r.Config.RepeatInterval / 1000.0;
  info_.frequency = info_.interval_seconds > 0.0 ? 1.0 / info_.interval_seconds : 0.0;
  info_.pre_time = r.Config.PreTime;
  info_.post_time = r.Config.PostTime;
  info_.background = r.Config.Background;

  const char* eye = r.Eye == u'D' ? "OD:" : r.Eye == u'S' ? "OS:" : " ";
  byteObjectClass id, title, protocol;
  record_text(r.TestId, 20, 20, id);
  record_text(r.SessionTitle, 64, 64, title);
  record_text(r.ProtocolName, 64, 64, protocol);
  auto line = [this](int i) { return info_.lines[i]; };
  constexpr size_t n = sizeof info_.lines[0];
  std::snprintf(line(0), n, "%g [%s] %s %s", number_, id.text(), eye, title.text());
  std::snprintf(line(1), n, "%s", protocol.text());
  char when[64];
  test_time_text(test_time_, when, sizeof when);
  std::snprintf(line(2), n, "[%.12s]  %s", file_name(), when);
  std::snprintf(line(3), n, "intensity : %g mcd.s/m^2. %s", info_.intensity, nd_filter_label().c_str());
  std::snprintf(line(4), n, is_slave() ? "flashes: %g each %g S (%6.2fHz) (SLAVE)" : "flashes: %g each %g S (%6.2fHz)",
                info_.flash_count, info_.interval_seconds, info_.frequency);
  std::snprintf(line(5), n, "data : %g mS - flash - %g mS.", info_.pre_time, info_.post_time);
  std::snprintf(line(6), n, "Background %g mcd/m^2", info_.background);
}

std::string testDocument::nd_filter_label() const {
  double factor = record_->FilterValue;
  if (!(std::isfinite(factor)) || factor <= 0.0 || factor == 1.0) return " ";
  return fmt("ND%g", std::log10(factor));
}

void testDocument::make_caption() {
  const testFileRecord& r = *record_;
  byteObjectClass id;
  record_text(r.TestId, 20, 20, id);
  const char* eye = r.Eye == u'D' ? "0D: " : r.Eye == u'S' ? "OS: " : "";
  char when[64];
  test_time_text(test_time_, when, sizeof when);
  caption_.set(fmt("[%s] %s %s %s", id.text(), eye, file_name(), when));
}

void testDocument::set_number(double number) {
  number_ = number;
  if (loaded()) make_info();
}

bool testDocument::set_60hz_filter(uint8_t on) {
  bool changed = entry_ && entry_->set_60hz_filter(on);
  state_.filters_changed |= changed ? 1 : 0;
  set_filter_char(state_.filtering, filter_60hz, on);
  return changed;
}

bool testDocument::set_50hz_filter(uint8_t on) {
  bool changed = entry_ && entry_->set_50hz_filter(on);
  state_.filters_changed |= changed ? 1 : 0;
  set_filter_char(state_.filtering, filter_50hz, on);
  return changed;
}

bool testDocument::set_spike_filter(uint8_t on) {
  bool changed = entry_ && entry_->set_spike_filter(on);
  state_.filters_changed |= changed ? 1 : 0;
  set_filter_char(state_.filtering, filter_spike, on);
  return changed;
}

bool testDocument::set_lowpass_filter(uint8_t on) {
  bool changed = entry_ && entry_->set_lowpass_filter(on, entry_->lowpass_frequency());
  state_.filters_changed |= changed ? 1 : 0;
  set_filter_char(state_.filtering, filter_lowpass, on);
  return changed;
}

bool testDocument::set_lowpass_frequency(double frequency) {
  if (!entry_) return false;
  bool changed = entry_->set_lowpass_filter(entry_->has_lowpass_filter() ? 1 : 0, frequency);
  state_.lowpass_changed |= changed ? 1 : 0;
  if (changed) state_.lowpass_frequency = frequency;
  return changed;
}

void testDocument::copy_analysis_from(testDocument& other) {
  if (!loaded() || !other.loaded()) return;
  tracePlusClass* from = other.entry();
  set_60hz_filter(from->has_60hz_filter() ? 1 : 0);
  set_50hz_filter(from->has_50hz_filter() ? 1 : 0);
  set_spike_filter(from->has_spike_filter() ? 1 : 0);
  set_lowpass_frequency(from->lowpass_frequency());
  set_lowpass_filter(from->has_lowpass_filter() ? 1 : 0);
  if (other.samples().get_count() == samples_.get_count()) {
    for (int32_t i = 0; i < samples_.get_count(); i++) samples_.set_sample_flag(i, other.samples().get_sample_flag(i));
    attach_samples();
  }
  state_.auto_ab = other.state().auto_ab;
  if (state_.auto_ab) {
    recalculate_ab(1);
    return;
  }
  model_->refit_baseline();
  waveMeasurementModel& mine = *model_;
  waveMeasurementModel& theirs = *other.model();
  mine.awave_time.set_value(theirs.awave_time.value());
  mine.awave_point.set_value(theirs.awave_point.value());
  mine.bwave_time.set_value(theirs.bwave_time.value());
  mine.bwave_point.set_value(theirs.bwave_point.value());
}

void testDocument::attach_samples() {
  if (!entry_) return;
  state_.samples_changed = 1;
  entry_->set_sample_list(&samples_);
}

bool testDocument::recalculate_ab(int propagate) {
  if (!loaded() || !model_ || !state_.auto_ab) return false;
  model_->find_ab_waves(*entry_->active_trace(), 0.0, ab_window_end(*record_), *record_, propagate);
  return true;
}

bool testDocument::state_needs_saving() {
  if (state_.samples_changed || state_.filters_changed || state_.lowpass_changed || state_.monitor.changed())
    state_.state_changed = 1;
  return state_.state_changed != 0;
}

bool testDocument::save_state() {
  if (!loaded() || source_ != test_source_pc) return false;
  return save_test_state(state_, path(), samples_);
}

void testDocument::filter_text(char* buffer, size_t size) const {
  std::string text;
  if (samples_list_count() > 0) text = fmt("(%d) ", static_cast<int>(samples_list_count()));
  if (incomplete()) text = fmt("(%d of %d sample files) ", samples_found_, samples_expected_);
  const char* flags = state_.filtering.text();
  for (int i = 0; i < 4 && flags[i]; i++) {
    if (flags[i] != '1') continue;
    if (i == filter_60hz) text += "60Hz ";
    if (i == filter_50hz) text += "50Hz ";
    if (i == filter_spike) text += "Spk ";
    if (i == filter_lowpass) text += fmt("Lp(%g) ", entry_ ? entry_->lowpass_frequency() : state_.lowpass_frequency);
  }
  std::snprintf(buffer, size, "%s", text.c_str());
}

int32_t testDocument::samples_list_count() const { return samples_.get_count(); }

namespace {

// A record's text field into text (room for it as UTF-8), or
// "-unavailable-" when there is no record or the field is empty.
const char* field_text(const char16_t* field, int units, int max_chars, char (&text)[64]) {
  byteObjectClass out;
  if (field) record_text(field, units, max_chars, out);
  std::snprintf(text, sizeof text, "%s", out.length() ? out.text() : "-unavailable-");
  return text;
}

}  // namespace

const char* testDocument::unit_serial_text() const {
  static char text[64];
  return field_text(record_ ? record_->UnitId : nullptr, 7, 7, text);
}

const char* testDocument::cfc_number_text() const {
  static char text[64];
  return field_text(record_ ? record_->CfcId : nullptr, 12, 11, text);
}

const char* testDocument::version_text() const {
  static char text[32];
  if (!record_ || record_->ProgramVersion == 0)
    std::snprintf(text, sizeof text, "-unavailable-");
  else
    std::snprintf(text, sizeof text, "%5.3f", record_->ProgramVersion / 1000.0);
  return text;
}

const char* testDocument::nd_filter_text() const {
  static char text[32];
  double factor = record_ ? record_->FilterValue : 0.0;
  if (factor == 0.0)
    std::snprintf(text, sizeof text, "n/a");
  else if (factor == 1.0)
    std::snprintf(text, sizeof text, "none");
  else
    std::snprintf(text, sizeof text, "%5.3f", factor);
  return text;
}
