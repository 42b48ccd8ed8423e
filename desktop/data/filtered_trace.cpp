#include "desktop/data/filtered_trace.h"

#include <cmath>

#include "desktop/winlib/messages/messages.h"
#include "desktop/data/samples_list.h"
#include "desktop/data/trace_filters.h"

namespace {

constexpr double notch_width_hz = 10.0;

}  // namespace

tracePlusClass::tracePlusClass(const traceClass* source) : source_(source), own_(new traceClass(source)) {}

tracePlusClass::tracePlusClass(const tracePlusClass& other)
    : listPayload(other), source_(other.source_), own_(new traceClass(other.own_)) {
  lowpass_frequency_ = 170.0;
  if (other.samples_) {
    samples_ = other.samples_;
    samples_->attach_user(this);
  }
  rebuildBatch batch(*this);
  set_spike_filter(other.spike_);
  set_60hz_filter(other.notch60_);
  set_50hz_filter(other.notch50_);
  set_lowpass_filter(other.lowpass_, other.lowpass_frequency_);
  attributes_window_ = other.attributes_window_;
}

tracePlusClass::~tracePlusClass() {
  if (samples_) samples_->detach_user(this);
  delete filtered_;
  delete own_;
}

traceClass* tracePlusClass::active_trace() const {
  if (!any_filter() && !samples_) return own_;
  return filtered_ ? filtered_ : own_;
}

double tracePlusClass::active_last_x() {
  if (rebuild_pending_ && any_filter()) rebuild();
  if (rebuild_pending_) {
    // What rebuild starts from, in a new trace (no x offset or factor).
    double x = 0.0;
    if (samples_ && samples_->get_count() > 0 && samples_->average_last_x(x)) return x;
    return own_->last_stored_x();
  }
  return active_trace()->last_x();
}

bool tracePlusClass::set_spike_filter(uint8_t flag) {
  if (spike_ == flag) return false;
  spike_ = flag;
  changed();
  return true;
}

bool tracePlusClass::set_60hz_filter(uint8_t flag) {
  if (notch60_ == flag) return false;
  notch60_ = flag;
  changed();
  return true;
}

bool tracePlusClass::set_50hz_filter(uint8_t flag) {
  if (notch50_ == flag) return false;
  notch50_ = flag;
  changed();
  return true;
}

bool tracePlusClass::set_lowpass_filter(uint8_t flag, double frequency) {
  // A frequency that is no number made every value of the trace no number,
  // and never compared equal, so each call rebuilt again.
  if (std::isnan(frequency)) {
    errormessage("*** tracePlusClass::set_lowpass_filter - LOW-PASS FREQUENCY IS NO NUMBER ***");
    return false;
  }
  if (lowpass_ == flag && lowpass_frequency_ == frequency) return false;
  lowpass_ = flag;
  lowpass_frequency_ = frequency;
  changed();
  return true;
}

bool tracePlusClass::switch_lowpass_filter(uint8_t flag) { return set_lowpass_filter(flag, lowpass_frequency_); }

bool tracePlusClass::set_sample_list(samplesListClass* list) {
  if (!list) {
    errormessage("*** tracePlusClass::set_sample_list - SAMPLES LIST IS NULL ***");
    return false;
  }
  if (samples_ != list) {
    if (samples_) samples_->detach_user(this);
    samples_ = list;
    samples_->attach_user(this);
  }
  changed();
  return true;
}

void tracePlusClass::detach_samples_list(const samplesListClass* list) {
  if (list && samples_ == list) samples_ = nullptr;
}

void tracePlusClass::replace_filtered(traceClass* next) {
  if (!next) return;
  delete filtered_;
  filtered_ = next;
}

tracePlusClass::rebuildBatch::rebuildBatch(tracePlusClass& entry) : entry_(entry) { entry_.open_batches_++; }

tracePlusClass::rebuildBatch::~rebuildBatch() {
  if (--entry_.open_batches_ > 0 || !entry_.rebuild_pending_) return;
  entry_.rebuild_pending_ = 0;
  entry_.rebuild();
}

void tracePlusClass::changed() {
  if (open_batches_ > 0) {
    rebuild_pending_ = 1;
  } else {
    rebuild();
  }
}

void tracePlusClass::rebuild() {
  rebuild_pending_ = 0;
  delete filtered_;
  // The samples' average, when there is one, replaces the own copy; it is
  // made straight into the filtered trace (a copy shares the points of what
  // it copies until one of them changes).
  filtered_ = new traceClass;
  if (!samples_ || samples_->get_count() == 0 || !samples_->make_average(*filtered_)) filtered_->load(own_);
  if (spike_) {
    const traceClass* from = filtered_;
    traceClass* cleaned = new traceClass(from);
    spike_filter(from->points(), cleaned->points(), from->get_count());
    replace_filtered(cleaned);
  }
  if (notch60_) replace_filtered(notch_filter(filtered_, 60.0, notch_width_hz));
  if (notch50_) replace_filtered(notch_filter(filtered_, 50.0, notch_width_hz));
  if (lowpass_) replace_filtered(fir_lowpass_trace(filtered_, lowpass_frequency_));
  filtered_->compute_extent();
  filtered_->copy_attributes(*own_);
}

void tracePlusClass::drop_filtered() {
  delete filtered_;
  filtered_ = nullptr;
}

bool tracePlusClass::any_filter() const { return spike_ || notch60_ || notch50_ || lowpass_; }

void tracePlusClass::set_color(int32_t colour) {
  own_->color = colour;
  if (filtered_) filtered_->color = colour;
}

void tracePlusClass::set_no_line(int32_t points_only) {
  own_->points_only = points_only;
  if (filtered_) filtered_->points_only = points_only;
}

void tracePlusClass::set_dash(int32_t period) {
  own_->dash_period = period;
  if (filtered_) filtered_->dash_period = period;
}

void tracePlusClass::set_symbol(int32_t symbol) {
  own_->symbol = symbol;
  if (filtered_) filtered_->symbol = symbol;
}

void tracePlusClass::set_shown(uint8_t shown) {
  own_->shown = shown;
  if (filtered_) filtered_->shown = shown;
}

void tracePlusClass::set_symbol_size(double size) {
  own_->symbol_size = size;
  if (filtered_) filtered_->symbol_size = size;
}

void tracePlusClass::set_symbol_separation(double separation) {
  own_->symbol_separation = separation;
  if (filtered_) filtered_->symbol_separation = separation;
}

void tracePlusClass::set_symbol_color(int32_t colour) {
  own_->symbol_color = colour;
  if (filtered_) filtered_->symbol_color = colour;
}

void tracePlusClass::set_line_width(int32_t width) {
  own_->line_width = width;
  if (filtered_) filtered_->line_width = width;
}

bool tracePlusClass::set_lowpass_frequency(double frequency) {
  if (std::isnan(frequency)) {
    errormessage("*** tracePlusClass::set_lowpass_frequency - LOW-PASS FREQUENCY IS NO NUMBER ***");
    return false;
  }
  lowpass_frequency_ = frequency;
  return true;
}

void tracePlusClass::set_use_for_scaling(uint8_t flag) { active_trace()->use_for_scaling = flag; }

void tracePlusClass::set_offsets(double x, double y) {
  traceClass* active = active_trace();
  active->set_x_offset(x);
  active->set_y_offset(y);
}

void tracePlusClass::set_x_offset(double x) { active_trace()->set_x_offset(x); }

void tracePlusClass::set_y_offset(double y) { active_trace()->set_y_offset(y); }
