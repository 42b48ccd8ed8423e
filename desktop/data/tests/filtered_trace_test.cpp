#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "desktop/data/filtered_trace.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/data/tests/record_fixture.h"
#include "desktop/data/samples_list.h"
#include "desktop/data/trace_filters.h"

namespace {

std::vector<double> ys_of(const traceDataClass* t) {
  std::vector<double> out;
  for (int32_t i = 0; i < t->get_count(); i++) out.push_back(t->points()[i].y);
  return out;
}

std::unique_ptr<traceClass> trace_of(const std::vector<double>& ys, double step = 1.0) {
  std::unique_ptr<traceClass> t(new traceClass);
  std::vector<double> xs;
  for (size_t i = 0; i < ys.size(); i++) xs.push_back(i * step);
  t->set_data(3, xs.data(), ys.data(), static_cast<int32_t>(ys.size()));
  return t;
}

// 600 points over 300 mS: mains at 60 and 50 Hz over a slow wave, and one
// spike.
std::unique_ptr<traceClass> mains_trace() {
  const double pi = std::acos(-1.0);
  std::vector<double> ys;
  for (int i = 0; i < 600; i++) {
    double t = i * 0.5 / 1000.0;
    ys.push_back(100.0 + 40.0 * std::sin(2 * pi * 3 * t) + 20.0 * std::sin(2 * pi * 60 * t) +
                 15.0 * std::sin(2 * pi * 50 * t) + (i == 200 ? 300.0 : 0.0));
  }
  auto t = trace_of(ys, 0.5);
  t->set_label("mains");
  return t;
}

// The filters applied by hand in the entry's order.
std::vector<double> by_hand(const traceClass& source, bool spike, bool n60, bool n50, bool lowpass, double cutoff) {
  std::unique_ptr<traceClass> t(new traceClass(&source));
  if (spike) {
    std::unique_ptr<traceClass> cleaned(new traceClass(t.get()));
    spike_filter(t->points(), cleaned->points(), t->get_count());
    t = std::move(cleaned);
  }
  if (n60) t.reset(notch_filter(t.get(), 60.0, 10.0));
  if (n50) t.reset(notch_filter(t.get(), 50.0, 10.0));
  if (lowpass) t.reset(fir_lowpass_trace(t.get(), cutoff));
  return ys_of(t.get());
}

TEST(SamplesList, AverageOfTheIncludedSamples) {
  auto record = make_record();
  samplesListClass list;
  fill_block(record->LastSweep, {1, 2, 3}, 1.0, 3, 0);
  EXPECT_EQ(list.add_sample(*record, record->LastSweep, 0), 0);
  fill_block(record->LastSweep, {3, 4, 5}, 1.0, 3, 0);
  EXPECT_EQ(list.add_sample(*record, record->LastSweep, 1), 1);
  EXPECT_STREQ(list.get_trace(1)->label(), "[spl 1]");
  EXPECT_EQ(list.get_trace(1)->color, 5);
  EXPECT_EQ(ys_of(list.average()), (std::vector<double>{2.0, 3.0, 4.0}));

  // Kept until something changes: a change of a sample's points is not seen.
  traceClass* first_average = list.average();
  list.get_trace(0)->points()[0].y = 101.0;
  EXPECT_EQ(list.average(), first_average);
  EXPECT_EQ(ys_of(list.average())[0], 2.0);

  EXPECT_EQ(list.set_sample_flag(0, 0), 1);
  EXPECT_EQ(list.set_sample_flag(1, 0), 1);
  EXPECT_EQ(list.average(), nullptr);
  list.set_sample_flag(1, 1);
  EXPECT_EQ(ys_of(list.average()), (std::vector<double>{3.0, 4.0, 5.0}));
  EXPECT_STREQ(list.average()->label(), "[spl 1]");
}

// Sweeps are kept as their stored values: the average made from them equals
// the one made from their traces, a trace is made when first asked for, and
// once handed out (and perhaps changed) it is what the average takes.
TEST(SamplesList, AverageFromStoredValuesAndFromHandedOutTraces) {
  auto record = make_record();
  record->Config.Scale = 0.25;
  record->Config.Offset = -3.0;
  samplesListClass list;
  fill_block(record->LastSweep, {10, -7, 33, 5}, 2.0, 4, 1);
  list.add_sample(*record, record->LastSweep, 0);
  fill_block(record->LastSweep, {1, 2, 3, 4}, 3.0, 4, 1);
  list.add_sample(*record, record->LastSweep, 1);
  fill_block(record->LastSweep, {-9, 8, 0, 6}, 1.0, 4, 1);
  list.add_sample(*record, record->LastSweep, 2);
  const std::vector<double> from_values = ys_of(list.average());
  std::vector<double> from_traces(4, 0.0);
  for (int s = 0; s < 3; s++) {
    for (int i = 0; i < 4; i++) from_traces[i] += list.get_trace(s)->points()[i].y / 3;
  }
  for (int i = 0; i < 4; i++) EXPECT_DOUBLE_EQ(from_values[i], from_traces[i]) << i;
  EXPECT_STREQ(list.average()->label(), "[spl 0]");
  EXPECT_EQ(list.get_trace(2), list.get_trace(2));

  list.get_trace(2)->points()[1].y = 303.0;
  list.set_sample_flag(1, 0);
  EXPECT_DOUBLE_EQ(ys_of(list.average())[1], (list.get_trace(0)->points()[1].y + 303.0) / 2);
}

// The average of sweeps whose traces nothing asked for is made when first
// read, equal value for value to the one made from their traces, with the
// same extent before and after.
TEST(SamplesList, AnAverageNothingReadsIsNotMade) {
  auto record = make_record();
  record->Config.Scale = 0.3;
  record->Config.Offset = 1.5;
  samplesListClass stored, asked;
  const std::vector<std::vector<int32_t>> sweeps = {{10, -7, 33, 5, 70000}, {1, 2, 3, 4, 5}, {-9, 8, 0}};
  for (size_t s = 0; s < sweeps.size(); s++) {
    fill_block(record->LastSweep, sweeps[s], 3.0, static_cast<uint32_t>(sweeps[s].size()), 1);
    stored.add_sample(*record, record->LastSweep, static_cast<int>(s));
    asked.add_sample(*record, record->LastSweep, static_cast<int>(s));
    asked.get_trace(static_cast<int32_t>(s));
  }
  traceClass average, from_traces;
  ASSERT_TRUE(stored.make_average(average));
  ASSERT_TRUE(asked.make_average(from_traces));
  EXPECT_TRUE(average.points_pending());
  EXPECT_FALSE(from_traces.points_pending());
  EXPECT_STREQ(average.label(), "[spl 0]");
  EXPECT_EQ(average.last_x(), from_traces.last_x());
  from_traces.compute_extent();  // made in place from the first sweep's points
  EXPECT_EQ(average.ymin(), from_traces.ymin());
  EXPECT_EQ(average.ymax(), from_traces.ymax());
  EXPECT_TRUE(average.points_pending());
  EXPECT_EQ(ys_of(&average), ys_of(&from_traces));
  EXPECT_EQ(average.xmin(), from_traces.xmin());
  EXPECT_EQ(average.points()[4].x, from_traces.points()[4].x);
}

TEST(SamplesList, SamplesOfDifferentLengths) {
  auto record = make_record();
  samplesListClass list;
  fill_block(record->LastSweep, {2, 4, 6}, 1.0, 3, 0);
  list.add_sample(*record, record->LastSweep, 0);
  fill_block(record->LastSweep, {2, 4}, 1.0, 2, 0);
  list.add_sample(*record, record->LastSweep, 1);
  EXPECT_EQ(ys_of(list.average()), (std::vector<double>{2.0, 4.0, 3.0}));
}

TEST(SamplesList, IndexesOutsideTheListAndRefusedBlocks) {
  auto record = make_record();
  samplesListClass list;
  message_capture capture;
  record->LastSweep.PointCount = 0;
  EXPECT_EQ(list.add_sample(*record, record->LastSweep, 0), -1);
  EXPECT_EQ(list.get_count(), 0);
  fill_block(record->LastSweep, {1}, 1.0, 1, 0);
  list.add_sample(*record, record->LastSweep, 0);
  capture.clear();
  EXPECT_EQ(list.get_sample_flag(1), 0);
  EXPECT_EQ(list.get_trace(-1), nullptr);
  EXPECT_EQ(list.set_sample_flag(5, 0), 0);
  EXPECT_EQ(capture.texts(),
            (std::vector<std::string>{
                "*** samplesListClass::get_sample_flag - Requested offset (1) TOO LARGE, max = (0)",
                "*** samplesListClass::get_trace - Requested offset (-1) TOO LARGE, max = (0)",
                "*** samplesListClass::set_sample_flag - Requested offset (5) TOO LARGE, max = (0)"}));
  EXPECT_EQ(list.get_sample_flag(0), 1);
}

TEST(FilteredTrace, RebuildOrderAndSwitchesAsATable) {
  auto source = mains_trace();
  for (int bits = 0; bits < 16; bits++) {
    bool spike = bits & 1, n60 = bits & 2, n50 = bits & 4, lowpass = bits & 8;
    tracePlusClass entry(source.get());
    entry.set_spike_filter(spike);
    entry.set_60hz_filter(n60);
    entry.set_50hz_filter(n50);
    entry.set_lowpass_filter(lowpass, 80.0);
    EXPECT_EQ(entry.any_filter(), bits != 0) << bits;
    EXPECT_EQ(ys_of(entry.active_trace()), by_hand(*source, spike, n60, n50, lowpass, 80.0)) << bits;
    EXPECT_STREQ(entry.active_trace()->label(), "mains");
    EXPECT_EQ(entry.active_trace()->color, 3);
  }
  // The order is seen: low-pass before the notch differs.
  std::unique_ptr<traceClass> lowpassed(fir_lowpass_trace(source.get(), 80.0));
  std::unique_ptr<traceClass> swapped(notch_filter(lowpassed.get(), 60.0, 10.0));
  EXPECT_NE(ys_of(swapped.get()), by_hand(*source, false, true, false, true, 80.0));
}

TEST(FilteredTrace, SwitchesRebuildOnlyOnChange) {
  auto source = mains_trace();
  tracePlusClass entry(source.get());
  EXPECT_EQ(entry.active_trace(), entry.own_trace());
  EXPECT_EQ(entry.filtered_trace(), nullptr);
  EXPECT_TRUE(entry.set_60hz_filter(1));
  traceClass* built = entry.filtered_trace();
  EXPECT_FALSE(entry.set_60hz_filter(1));
  EXPECT_EQ(entry.filtered_trace(), built);

  EXPECT_TRUE(entry.set_lowpass_filter(0, 70.0));  // a new frequency rebuilds
  EXPECT_FALSE(entry.set_lowpass_filter(0, 70.0));
  EXPECT_TRUE(entry.switch_lowpass_filter(1));
  EXPECT_EQ(entry.lowpass_frequency(), 70.0);

  EXPECT_TRUE(entry.set_60hz_filter(0));
  EXPECT_TRUE(entry.set_spike_filter(1));
  EXPECT_TRUE(entry.set_spike_filter(0));  // from the own copy: low-pass only
  EXPECT_EQ(ys_of(entry.active_trace()), by_hand(*source, false, false, false, true, 70.0));
}

// Switches set while a batch is open rebuild once, when the last batch ends,
// to what setting them one by one gives; a batch without a change rebuilds
// nothing.
TEST(FilteredTrace, ABatchOfSwitchesRebuildsOnceAtItsEnd) {
  auto source = mains_trace();
  tracePlusClass entry(source.get());
  {
    tracePlusClass::rebuildBatch batch(entry);
    {
      tracePlusClass::rebuildBatch inner(entry);
      EXPECT_TRUE(entry.set_spike_filter(1));
      EXPECT_TRUE(entry.set_60hz_filter(1));
    }
    EXPECT_EQ(entry.filtered_trace(), nullptr);
    EXPECT_TRUE(entry.set_50hz_filter(1));
    EXPECT_TRUE(entry.set_lowpass_filter(1, 90.0));
    EXPECT_FALSE(entry.set_lowpass_filter(1, 90.0));
    EXPECT_EQ(entry.filtered_trace(), nullptr);
  }
  ASSERT_NE(entry.filtered_trace(), nullptr);
  EXPECT_EQ(entry.active_trace(), entry.filtered_trace());
  EXPECT_EQ(ys_of(entry.active_trace()), by_hand(*source, true, true, true, true, 90.0));

  traceClass* built = entry.filtered_trace();
  {
    tracePlusClass::rebuildBatch batch(entry);
    EXPECT_FALSE(entry.set_60hz_filter(1));
  }
  EXPECT_EQ(entry.filtered_trace(), built);
}

TEST(FilteredTrace, ALowpassFrequencyThatIsNoNumberIsRefused) {
  auto source = mains_trace();
  tracePlusClass entry(source.get());
  entry.set_lowpass_filter(1, 70.0);
  const std::vector<double> before = ys_of(entry.active_trace());
  message_capture capture;
  EXPECT_FALSE(entry.set_lowpass_filter(1, std::nan("")));
  EXPECT_FALSE(entry.set_lowpass_filter(0, std::nan("")));
  EXPECT_EQ(capture.texts().size(), 2u);
  EXPECT_TRUE(entry.has_lowpass_filter());
  EXPECT_EQ(entry.lowpass_frequency(), 70.0);
  EXPECT_EQ(ys_of(entry.active_trace()), before);
}

TEST(FilteredTrace, RebuiltTraceStartsShownWithPlainOffsets) {
  auto source = mains_trace();
  tracePlusClass entry(source.get());
  entry.set_shown(0);
  entry.set_offsets(5.0, 6.0);
  EXPECT_EQ(entry.own_trace()->shown, 0);
  EXPECT_EQ(entry.x_offset(), 5.0);
  entry.set_spike_filter(1);
  EXPECT_EQ(entry.active_trace()->shown, 1);
  EXPECT_EQ(entry.x_offset(), 0.0);
  entry.set_color(2);
  EXPECT_EQ(entry.filtered_trace()->color, 2);
  EXPECT_EQ(entry.color(), 2);
  entry.drop_filtered();
  EXPECT_EQ(entry.active_trace(), entry.own_trace());
}

TEST(FilteredTrace, ACopyRebuildsWithTheSameSwitches) {
  auto source = mains_trace();
  tracePlusClass entry(source.get());
  entry.set_lowpass_filter(1, 50.0);
  tracePlusClass copy(entry);
  EXPECT_EQ(copy.lowpass_frequency(), 50.0);
  EXPECT_TRUE(copy.has_lowpass_filter());
  EXPECT_EQ(copy.source_trace(), source.get());
  ASSERT_NE(copy.filtered_trace(), nullptr);
  EXPECT_EQ(ys_of(copy.active_trace()), by_hand(*source, false, false, false, true, 50.0));
}

TEST(FilteredTrace, TheSamplesAverageReplacesTheTraceUntilTheListGoes) {
  auto record = make_record();
  auto source = trace_of({0.0, 0.0, 0.0});
  tracePlusClass entry(source.get());
  message_capture capture;
  EXPECT_FALSE(entry.set_sample_list(nullptr));
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"*** tracePlusClass::set_sample_list - SAMPLES LIST IS NULL ***"}));
  {
    samplesListClass list;
    EXPECT_TRUE(entry.set_sample_list(&list));  // empty: the own copy's values
    EXPECT_EQ(ys_of(entry.active_trace()), (std::vector<double>{0.0, 0.0, 0.0}));
    fill_block(record->LastSweep, {2, 4, 6}, 2.0, 3, 0);
    list.add_sample(*record, record->LastSweep, 0);
    EXPECT_TRUE(entry.set_sample_list(&list));
    EXPECT_EQ(ys_of(entry.active_trace()), (std::vector<double>{1.0, 2.0, 3.0}));
    EXPECT_EQ(entry.active_trace()->color, 3);  // the own copy's attributes
    tracePlusClass copy(entry);
    EXPECT_EQ(copy.samples_list(), &list);
    list.set_sample_flag(0, 0);
    entry.rebuild();
    EXPECT_EQ(ys_of(entry.active_trace()), (std::vector<double>{0.0, 0.0, 0.0}));
    list.set_sample_flag(0, 1);
    entry.rebuild();
  }
  // The list is gone: the entry no longer refers to it and rebuilds safely.
  EXPECT_EQ(entry.samples_list(), nullptr);
  entry.set_spike_filter(1);
  EXPECT_EQ(ys_of(entry.active_trace()), (std::vector<double>{0.0, 0.0, 0.0}));
}

}  // namespace

namespace {

// While a batch holds the rebuild, the last time is that of the trace the
// rebuild then makes, whatever it starts from.
TEST(FilteredTrace, TheLastTimeInABatchIsThatOfTheTraceItsRebuildMakes) {
  auto record = make_record();
  auto source = trace_of({0.0, 1.0, 2.0, 3.0}, 0.5);
  const struct {
    const char* label;
    int samples;     // sample blocks in the list
    bool excluded;   // the first sample left out
    bool handed_out; // the first sample's trace handed out and moved
    bool spike;      // a filter on
  } cases[] = {
      {"no list", -1, false, false, false},  {"an empty list", 0, false, false, false},
      {"stored values", 2, false, false, false}, {"the first left out", 2, true, false, false},
      {"a handed-out trace", 2, false, true, false}, {"a filter on", 2, false, false, true},
  };
  for (const auto& c : cases) {
    samplesListClass list;
    for (int s = 0; s < c.samples; s++) {
      fill_block(record->LastSweep, {2, 4, 6}, 3.0, s == 0 ? 7 : 11, s == 0 ? 2 : 1);
      list.add_sample(*record, record->LastSweep, s);
    }
    if (c.handed_out) list.get_trace(0)->points()[2].x = 9.25;
    tracePlusClass entry(source.get());
    double held = 0.0;
    {
      tracePlusClass::rebuildBatch batch(entry);
      if (c.samples >= 0) entry.set_sample_list(&list);
      if (c.excluded) list.set_sample_flag(0, 0);
      if (c.spike) entry.set_spike_filter(1);
      held = entry.active_last_x();
    }
    const traceClass* made = entry.active_trace();
    EXPECT_EQ(held, made->x(made->get_count() - 1)) << c.label;
  }
}

}  // namespace
