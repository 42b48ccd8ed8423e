// tracePlusClass: one entry of a graph's trace list, and the trace of a
// thumbnail. It keeps its own copy of a trace with processing switches
// (spike removal, 60 Hz notch, 50 Hz notch, low-pass at a cut-off) and an
// optional samples list whose average replaces the trace; when any of them
// is on, a filtered trace is rebuilt from the copy in that fixed order.
#ifndef DESKTOP_DATA_FILTERED_TRACE_H
#define DESKTOP_DATA_FILTERED_TRACE_H

#include <cstdint>

#include "desktop/winlib/containers/list_payload.h"
#include "desktop/data/trace.h"

class samplesListClass;
class plotAttributesWindow;

class tracePlusClass : public listPayload {
 public:
  // Own copy loaded from source, with its attributes; nothing is rebuilt.
  // A null source gives an empty copy.
  explicit tracePlusClass(const traceClass* source);
  // A copy of other's own copy, sharing its source and samples list, with
  // its switches set again (so its filtered trace is rebuilt).
  tracePlusClass(const tracePlusClass& other);
  tracePlusClass& operator=(const tracePlusClass&) = delete;
  // Deletes the filtered trace and the own copy; the source and the samples
  // list are left alone.
  ~tracePlusClass() override;

  // The own copy when no switch is on and no samples list is set; else the
  // filtered trace (the own copy until there is one).
  traceClass* active_trace() const;
  // The x of the active trace's last point (0.0 when it has none). While a
  // batch holds a rebuild and no filter is on, that of the trace the rebuild
  // will make (the samples' average or the own copy), without making it;
  // with a filter on, the held rebuild is made now.
  double active_last_x();
  traceClass* own_trace() const { return own_; }
  traceClass* filtered_trace() const { return filtered_; }

  // Each returns false when nothing changed; else stores and rebuilds (once
  // at the end of a batch, when one is open). A low-pass frequency that is
  // no number is reported and refused.
  bool set_spike_filter(uint8_t flag);
  bool set_60hz_filter(uint8_t flag);
  bool set_50hz_filter(uint8_t flag);
  bool set_lowpass_filter(uint8_t flag, double frequency);
  bool switch_lowpass_filter(uint8_t flag);
  // Null is reported and refused; any list (also the same one) rebuilds.
  bool set_sample_list(samplesListClass* list);
  // The list calls this when it is destroyed: the entry forgets it.
  void detach_samples_list(const samplesListClass* list);

  // While one lives, the setters above store without rebuilding; when the
  // last one ends, the entry rebuilds once if any of them changed something
  // (only the last rebuild of several is ever seen).
  class rebuildBatch {
   public:
    explicit rebuildBatch(tracePlusClass& entry);
    ~rebuildBatch();
    rebuildBatch(const rebuildBatch&) = delete;
    rebuildBatch& operator=(const rebuildBatch&) = delete;

   private:
    tracePlusClass& entry_;
  };

  // Rebuilds the filtered trace from the own copy: the samples' average,
  // spike removal, 60 Hz notch, 50 Hz notch, low-pass, in that order.
  void rebuild();
  void drop_filtered();
  bool any_filter() const;

  bool has_spike_filter() const { return spike_ != 0; }
  bool has_60hz_filter() const { return notch60_ != 0; }
  bool has_50hz_filter() const { return notch50_ != 0; }
  bool has_lowpass_filter() const { return lowpass_ != 0; }
  double lowpass_frequency() const { return lowpass_frequency_; }
  samplesListClass* samples_list() const { return samples_; }
  const traceClass* source_trace() const { return source_; }
  plotAttributesWindow* attributes_window() const { return attributes_window_; }
  void set_attributes_window(plotAttributesWindow* window) { attributes_window_ = window; }

  // Of the own copy.
  int32_t color() const { return own_->color; }
  int32_t line_width() const { return own_->line_width; }
  // Of the active trace.
  bool use_for_scaling() const { return active_trace()->use_for_scaling != 0; }
  double x_offset() const { return active_trace()->x_offset(); }
  double y_offset() const { return active_trace()->y_offset(); }

  // Written to the own copy and, when there is one, the filtered trace.
  void set_color(int32_t colour);
  void set_no_line(int32_t points_only);
  void set_dash(int32_t period);
  void set_symbol(int32_t symbol);
  void set_shown(uint8_t shown);
  void set_symbol_size(double size);
  void set_symbol_separation(double separation);
  void set_symbol_color(int32_t colour);
  void set_line_width(int32_t width);
  // Stores the low-pass cut-off for the next switch; rebuilds nothing. A
  // frequency that is no number is reported and refused.
  bool set_lowpass_frequency(double frequency);
  // Of the own copy.
  int32_t no_line() const { return own_->points_only; }
  int32_t dash() const { return own_->dash_period; }
  uint8_t shown() const { return own_->shown; }
  // Of the active trace.
  int32_t symbol() const { return active_trace()->symbol; }
  // Written to the active trace only.
  void set_use_for_scaling(uint8_t flag);
  void set_offsets(double x, double y);
  void set_x_offset(double x);
  void set_y_offset(double y);

 private:
  // Replaces the filtered trace by next when there is one.
  void replace_filtered(traceClass* next);
  // A setter's rebuild: now, or at the end of the open batch.
  void changed();

  uint8_t spike_ = 0;
  uint8_t notch60_ = 0;
  uint8_t notch50_ = 0;
  uint8_t lowpass_ = 0;
  samplesListClass* samples_ = nullptr;
  double lowpass_frequency_ = 50.0;
  const traceClass* source_ = nullptr;
  traceClass* own_ = nullptr;
  traceClass* filtered_ = nullptr;
  plotAttributesWindow* attributes_window_ = nullptr;
  int32_t open_batches_ = 0;
  uint8_t rebuild_pending_ = 0;
};

#endif
