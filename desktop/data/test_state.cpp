#include "desktop/data/test_state.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "desktop/data/filtered_trace.h"
#include "desktop/winlib/messages/fmt.h"
#include "desktop/data/folder_listing.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/files/path_names.h"
#include "desktop/data/samples_list.h"
#include "desktop/data/wave_measurement.h"

namespace {

constexpr int filter_count = 4;
constexpr int filter_60hz = 0;
constexpr int filter_50hz = 1;
constexpr int filter_spike = 2;
constexpr int filter_lowpass = 3;

// A value object kept in the file: written as "%lg", read without passing
// the change on (the displays follow at the next recalculation).
void value_object_entry(int direction, kvBridgeEntryClass* entry, byteObjectClass* buffer) {
  doubleObject* value = static_cast<doubleObject*>(entry->target);
  if (direction == 0) {
    buffer->set(fmt("%lg", value->value()));
    return;
  }
  char* end = nullptr;
  double read = std::strtod(buffer->text(), &end);
  if (end == buffer->text()) return;
  bool active = value->is_active();
  value->set_active(false);
  value->set_value(read);
  value->set_active(active);
}

// Four characters, each '1' or '0': anything but '0' is on, missing ones
// are off.
void normalise_filtering(byteObjectClass& filtering) {
  char flags[filter_count + 1] = "0000";
  for (int i = 0; i < filter_count && i < filtering.length(); i++) {
    flags[i] = filtering.text()[i] == '0' ? '0' : '1';
  }
  filtering.set(flags);
}

void bind_keys(testStateClass& state, waveMeasurementModel& model) {
  kvBridgeClass& b = state.binding;
  b.add_entry("atime", kv_user, &model.awave_time, value_object_entry);
  b.add_entry("aamplitude", kv_user, &model.awave_point, value_object_entry);
  b.add_entry("btime", kv_user, &model.bwave_time, value_object_entry);
  b.add_entry("bamplitude", kv_user, &model.bwave_point, value_object_entry);
  b.add_entry("blineslope", kv_user, &model.baseline_slope, value_object_entry);
  b.add_entry("blineintercept", kv_user, &model.baseline_intercept, value_object_entry);
  b.add_entry("abauto", kv_bool, &state.auto_ab);
  b.add_entry("lpfrequency", kv_double, &state.lowpass_frequency);
  b.add_entry("filtering", kv_byte_object, &state.filtering);
  b.add_entry("samples", kv_byte_object, &state.samples);
  b.add_entry("userid", kv_byte_object, &state.user_id);
  b.add_entry("notes", kv_byte_object, &state.notes);
  state.bound = 1;
}

}  // namespace

testStateClass::testStateClass() : filtering("0000"), samples(""), notes("none"), user_id(" ") {}

void state_file_name(const char* test_path, byteObjectClass& out) {
  strip_name_extension(test_path, out);
  out.append(".st_");
}

bool load_test_state(testStateClass& state, const char* test_path, waveMeasurementModel& model,
                     tracePlusClass& entry, samplesListClass& samples) {
  linkClass* kept[] = {&model.awave_time, &model.awave_point, &model.bwave_time,
                       &model.bwave_point, &model.baseline_slope, &model.baseline_intercept};
  for (linkClass* value : kept) state.monitor.add_dependency(value);
  if (!state.bound) bind_keys(state, model);

  byteObjectClass name;
  state_file_name(test_path, name);
  // A file that a session load's listing of the folder lacks is not opened.
  bool loaded = !listed_as_absent(name.text()) && state.binding.load_file(name.text());
  state.state_loaded = loaded ? 1 : 0;
  if (std::isnan(state.lowpass_frequency)) {
    errormessage("*** STATE FILE [%s]: THE LOW-PASS FREQUENCY IS NO NUMBER, %lg Hz USED ***", name.text(),
                 default_lowpass_frequency);
    state.lowpass_frequency = default_lowpass_frequency;
  }

  {
    // One rebuild for all the switches.
    tracePlusClass::rebuildBatch batch(entry);
    if (entry.set_lowpass_filter(entry.has_lowpass_filter(), state.lowpass_frequency)) state.lowpass_changed = 1;
    normalise_filtering(state.filtering);
    const char* flags = state.filtering.text();
    entry.set_60hz_filter(flags[filter_60hz] == '1');
    entry.set_50hz_filter(flags[filter_50hz] == '1');
    entry.set_spike_filter(flags[filter_spike] == '1');
    entry.switch_lowpass_filter(flags[filter_lowpass] == '1');
  }

  int32_t count = samples.get_count();
  if (count > 0 && state.samples.length() == count) {
    for (int32_t i = 0; i < count; i++) samples.set_sample_flag(i, state.samples.text()[i] == '0' ? 0 : 1);
  }
  state.samples_changed = 0;
  state.filters_changed = 0;
  state.state_changed = 0;
  return loaded;
}

bool save_test_state(testStateClass& state, const char* test_path, samplesListClass& samples) {
  byteObjectClass name;
  state_file_name(test_path, name);
  if (!state.bound) {
    errormessage("*** NO STATE IS KEPT FOR THIS TEST ***\n[%s]", name.text());
    return false;
  }
  int32_t count = samples.get_count();
  if (count > 0) {
    state.samples.set("");
    for (int32_t i = 0; i < count; i++) state.samples.append_char(samples.get_sample_flag(i) ? '1' : '0');
  }
  if (!state.binding.save_file(name.text(), "TestState")) return false;
  state.state_changed = 0;
  return true;
}
