#include "handheld/ui/plotter/result_graph.h"

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/ui/plotter/plotter.h"
#include "handheld/engine/protocols/protocol_interpreter.h"
#include "handheld/engine/acquisition/sample_statistics.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/ui/frame/unit_resources.h"

void channel_data_calibration(double& scale, double& offset) {
  const int first = channels.current.load() == 1 ? 8 : 6;
  scale = calibration_table[first].load();
  offset = calibration_table[first + 1].load();
}

void show_result_channels(bool last_sweep, bool average, bool record_texts) {
  const int channel = channels.current.load() == 1 ? 1 : 0;
  const testFileRecord* record = test_records[channel];
  if (record == nullptr) return;
  show_test_result(record_texts ? record : nullptr, average ? &record->Average : nullptr,
                   last_sweep ? &record->LastSweep : nullptr);
}

void show_test_result(const testFileRecord* record, const samplesBlock* average, const samplesBlock* last_sweep) {
  if (record == nullptr && average == nullptr && last_sweep == nullptr) return;
  double scale = 1.0, offset = 0.0;
  channel_data_calibration(scale, offset);
  if (record != nullptr) clear_graph_strings();
  const samplesBlock* scaled = average != nullptr ? average : last_sweep;
  if (scaled != nullptr) {
    double min = 0.0, tmin = 0.0, max = 0.0, tmax = 0.0;
    if (minmax(*scaled, 0.0, scaled->Time, min, tmin, max, tmax, scale, offset)) {
      push_scale(0.0, scaled->Time, min - 0.01 * min, max + 0.01 * max, scaled->CollectionTime,
                 system_parameter(PARAM_GRAPHRANGE));
    } else {
      push_scale(0.0, scaled->Time > 0 ? scaled->Time : 1.0, -1.0, 1.0, scaled->CollectionTime,
                 system_parameter(PARAM_GRAPHRANGE));
    }
  }
  erase_background_draw_axes(5, 1);
  if (last_sweep != nullptr) plot(last_sweep, 0, scale, offset);
  if (average != nullptr) plot(average, 3, scale, offset);
  if (record != nullptr) {
    show_filter_labels();
    show_test_label(record, channels.current.load());
    if (!run_commands.running.load()) graph_string1(3, -3, 11, L"END OF PROTOCOL");
  }
  pop_scale();
}
