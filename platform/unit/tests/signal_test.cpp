// The signal on the converter inputs: the ERG response after a flash, the
// impedance sine through each electrode, and baseline, noise, hum and drift.
#include <gtest/gtest.h>
#include <math.h>

#include <algorithm>

#include "platform/unit/tests/board_lines.h"

namespace {

sim_signal quiet_signal(uint32_t input) {
  sim_signal s;
  sim_signal_defaults(input, &s);
  s.noise_uv = 0.0;
  return s;
}

// The shape response: its trough and peak at their set times, in proportion
// to the light.
sim_signal shape_signal(uint32_t input) {
  sim_signal s = quiet_signal(input);
  s.response = SIM_RESPONSE_SHAPE;
  return s;
}

struct Extreme {
  double uv;
  double ms;
};

// The lowest and highest microvolts in the samples, with their time after t0.
std::pair<Extreme, Extreme> extremes(const std::vector<Sample>& samples, uint64_t t0) {
  Extreme lo = {1e300, 0}, hi = {-1e300, 0};
  for (const Sample& s : samples) {
    double uv = microvolts(s.raw);
    double ms = (static_cast<double>(s.at_ns) - static_cast<double>(t0)) / 1e6;
    if (uv < lo.uv) lo = {uv, ms};
    if (uv > hi.uv) hi = {uv, ms};
  }
  return {lo, hi};
}

}  // namespace

TEST(SimSignal, ErgResponseFollowsEachFlashAndItsDrive) {
  // Drive (converter counts, flash word) and the light it makes in volt-ms.
  struct {
    uint32_t output1, output3, flash_word;
    double volt_ms;
  } cases[] = {
      {819, 0, 24999, 819 / 819.2 * 5.0},
      {1638, 0, 24999, 1638 / 819.2 * 5.0},
      {819, 819, 24999, 1638 / 819.2 * 5.0},  // both domes
      {1638, 0, 12499, 1638 / 819.2 * 2.5},   // half the duration
      {0, 0, 24999, 0.0},                     // no drive: no response
  };
  for (const auto& c : cases) {
    SimBus bus;
    sim_signal s = shape_signal(0);
    s.baseline_uv = 20.0;
    sim_signal_set(0, &s);
    set_flash_drive(bus, c.output1, c.output3);
    arm_single_flash(c.flash_word);
    start_conversions(bus, 0);
    set_flash_trigger(bus, false);
    std::vector<Sample> samples = read_samples(bus, 15 * 120);  // 120 ms
    sim_stim_state st;
    sim_stim_get_state(&st);
    EXPECT_NEAR(st.last_flash_vms, c.volt_ms, 1e-9);
    uint64_t flash = st.last_flash_ns;
    auto e = extremes(samples, flash);
    if (c.volt_ms == 0.0) {
      EXPECT_NEAR(e.first.uv, 20.0, 0.001);
      EXPECT_NEAR(e.second.uv, 20.0, 0.001);
      continue;
    }
    // a-wave trough 40 uV per volt-ms at 15 ms, b-wave peak 80 uV at 40 ms.
    EXPECT_NEAR(e.first.uv, 20.0 - 40.0 * c.volt_ms, 0.01) << c.output1;
    EXPECT_NEAR(e.first.ms, 15.0, 0.07) << c.output1;
    EXPECT_NEAR(e.second.uv, 20.0 + 80.0 * c.volt_ms, 0.01) << c.output1;
    EXPECT_NEAR(e.second.ms, 40.0, 0.07) << c.output1;
    // Before the flash and after the response: the baseline.
    EXPECT_NEAR(microvolts(samples.front().raw), 20.0, 0.001);
    EXPECT_NEAR(microvolts(samples.back().raw), 20.0, 0.001);
  }
}

TEST(SimSignal, ErgShapeAndTimesAreConfigurable) {
  SimBus bus;
  sim_signal s = shape_signal(1);
  s.a_wave_uv = 10.0;
  s.b_wave_uv = 30.0;
  s.a_wave_ms = 20.0;
  s.b_wave_ms = 55.0;
  s.b_decay_ms = 30.0;
  sim_signal_set(1, &s);
  set_flash_drive(bus, 0, 1638);  // flash 2 only
  arm_single_flash();
  start_conversions(bus, 1);
  set_flash_trigger(bus, false);
  std::vector<Sample> samples = read_samples(bus, 15 * 100);
  sim_stim_state st;
  sim_stim_get_state(&st);
  auto e = extremes(samples, st.last_flash_ns);
  double light = 1638 / 819.2 * 5.0;
  EXPECT_NEAR(e.first.ms, 20.0, 0.07);
  EXPECT_NEAR(e.first.uv, -10.0 * light, 0.01);
  EXPECT_NEAR(e.second.ms, 55.0, 0.07);
  EXPECT_NEAR(e.second.uv, 30.0 * light, 0.01);
  // Over by 85 ms.
  EXPECT_NEAR(microvolts(samples.back().raw), 0.0, 0.001);
}

// The eye: its response grows with the flash by a saturating law, and a
// background that takes the rods away leaves the cones' smaller response.
TEST(SimSignal, EyeResponseSaturatesWithTheFlashAndShrinksOnABackground) {
  // Peak to trough microvolts of one flash of `cds` on a background drive of
  // `background` converter counts (1884: 30 cd/m^2).
  auto amplitude = [](double cds, uint32_t background) {
    SimBus bus;
    sim_signal s = quiet_signal(0);
    sim_signal_set(0, &s);
    bus.select(Select::Dac);
    for (uint32_t word : {background, (1u << 12) | 433u}) {  // 433 counts: 0.52856 V
      bus.xfer(static_cast<uint8_t>(word >> 8));
      bus.xfer(static_cast<uint8_t>(word));
    }
    bus.select(Select::None);
    arm_single_flash(static_cast<uint32_t>(cds * 2500.0 - 0.5));  // 0.5 ms a cd.s/m^2
    start_conversions(bus, 0);
    set_flash_trigger(bus, false);
    std::vector<Sample> samples = read_samples(bus, 15 * 250);
    auto e = extremes(samples, 0);
    return e.second.uv - e.first.uv;
  };
  const double flashes[] = {0.003, 0.01, 0.03, 0.3, 3.0, 10.0};
  double last = 0.0;
  for (double cds : flashes) {
    const double uv = amplitude(cds, 0);
    EXPECT_GT(uv, last) << cds;
    last = uv;
  }
  EXPECT_GT(amplitude(0.01, 0), 1.5 * amplitude(0.003, 0));  // growing in the dim range
  EXPECT_LT(amplitude(10.0, 0), 1.15 * amplitude(3.0, 0));   // saturated in the bright
  const double dark = amplitude(3.0, 0), light = amplitude(3.0, 1884);
  EXPECT_GT(light, dark / 3.0);
  EXPECT_LT(light, dark / 2.0);
  EXPECT_LT(amplitude(0.01, 1884), 2.0);
}

TEST(SimSignal, ImpedanceSineAmplitudeFollowsEachElectrodesResistance) {
  SimBus bus;
  const double ohms[2][2] = {{1000.0, 5000.0}, {10000.0, 2210.0}};
  for (uint32_t c = 0; c < 2; ++c) {
    for (uint32_t e = 0; e < 2; ++e) {
      sim_electrode el = {ohms[c][e], 0.0, 0.0};
      sim_electrode_set(c, e, &el);
    }
    sim_signal s = quiet_signal(c);
    sim_signal_set(c, &s);
  }
  for (uint8_t command : {'E', 'R'}) {
    uint32_t e = command == 'E' ? SIM_EYE : SIM_REFERENCE;
    stim_write({command});
    for (uint32_t c = 0; c < 2; ++c) {
      start_conversions(bus, c);
      auto ex = extremes(read_samples(bus, 15 * 25), 0);  // 2.5 periods of 100 Hz
      double expected = (ohms[c][e] + 90.0) / 15.25;  // the unit's default impedance line
      EXPECT_NEAR(ex.second.uv - ex.first.uv, expected, expected * 0.002) << command << c;
      EXPECT_NEAR(ex.second.uv + ex.first.uv, 0.0, 0.05);
    }
  }
  // The reference electrode's sine is inverted: just after a sync pulse
  // the eye's rises and the reference's falls.
  for (uint8_t command : {'E', 'R'}) {
    stim_write({command});
    start_conversions(bus, 0);
    std::vector<uint64_t> falls = sync_falls(bus, sim_now_ns() + 150000000);
    ASSERT_EQ(falls.size(), 1u);
    std::vector<Sample> after = read_samples(bus, 15);  // 1 ms: a tenth of a period
    double rise = microvolts(after.back().raw) - microvolts(after.front().raw);
    EXPECT_GT(command == 'E' ? rise : -rise, 5.0) << command;
  }
  stim_write({'W'});
  start_conversions(bus, 0);
  auto ex = extremes(read_samples(bus, 150), 0);
  EXPECT_NEAR(ex.second.uv - ex.first.uv, 0.0, 0.001);
}

TEST(SimSignal, BaselineNoiseHumDriftAndElectrodes) {
  struct {
    const char* what;
    double baseline, noise, hum, drift;
    sim_electrode eye, ref;
    double mean, sd, slope_per_s;
  } cases[] = {
      {"baseline", -35.0, 0, 0, 0, {2000, 0, 0}, {2000, 0, 0}, -35.0, 0.0, 0.0},
      {"noise", 0, 3.0, 0, 0, {2000, 0, 0}, {2000, 0, 0}, 0.0, 3.0, 0.0},
      {"hum", 0, 0, 10.0, 0, {2000, 0, 0}, {2000, 0, 0}, 0.0, 10.0 / sqrt(2.0), 0.0},
      // Over half a second: a drift of d uV/s has mean d / 4 and deviation d / 2 / sqrt(12).
      {"drift", 5.0, 0, 0, 40.0, {2000, 0, 0}, {2000, 0, 0}, 5.0 + 40.0 / 4, 20.0 / sqrt(12.0), 40.0},
      {"electrode noise", 0, 0, 0, 0, {2000, 2.0, 0}, {2000, 1.5, 0}, 0.0, 2.5, 0.0},
      {"electrode drift", 0, 0, 0, 0, {2000, 0, 30.0}, {2000, 0, 10.0}, 20.0 / 4, 10.0 / sqrt(12.0), 20.0},
  };
  for (const auto& c : cases) {
    SimBus bus;
    sim_electrode_set(0, SIM_EYE, &c.eye);
    sim_electrode_set(0, SIM_REFERENCE, &c.ref);
    sim_signal s = quiet_signal(0);
    s.baseline_uv = c.baseline;
    s.noise_uv = c.noise;
    s.hum_uv = c.hum;
    s.drift_uv_per_s = c.drift;
    sim_signal_set(0, &s);
    uint64_t t0 = sim_now_ns();
    start_conversions(bus, 0);
    // Half a second: 7500 samples, 25 whole hum periods.
    std::vector<Sample> samples = read_samples(bus, 7500);
    const double n = static_cast<double>(samples.size());
    double mean_x = 0, mean = 0;
    for (const Sample& p : samples) {
      mean_x += (p.at_ns - t0) / 1e9 / n;
      mean += microvolts(p.raw) / n;
    }
    double sxx = 0, sxy = 0, syy = 0;
    for (const Sample& p : samples) {
      double dx = (p.at_ns - t0) / 1e9 - mean_x, dy = microvolts(p.raw) - mean;
      sxx += dx * dx, sxy += dx * dy, syy += dy * dy;
    }
    double sd = sqrt(syy / n);
    EXPECT_NEAR(mean, c.mean, 0.1 + 0.01 * fabs(c.mean)) << c.what;
    EXPECT_NEAR(sd, c.sd, 0.05 + 0.02 * c.sd) << c.what;
    // (A sine over whole periods has a slope of its own: not looked at.)
    if (c.hum == 0.0) {
      EXPECT_NEAR(sxy / sxx, c.slope_per_s, 0.5 + 0.01 * fabs(c.slope_per_s)) << c.what;
    }
  }
}

TEST(SimSignal, SeededNoiseRepeatsAndFrontEndClampsTo24Bits) {
  auto run = [](uint32_t seed) {
    SimBus bus;
    sim_signal s;
    sim_signal_defaults(0, &s);
    s.noise_uv = 5.0;
    s.seed = seed;
    sim_signal_set(0, &s);
    start_conversions(bus, 0);
    std::vector<int32_t> raw;
    for (const Sample& p : read_samples(bus, 200)) raw.push_back(p.raw);
    return raw;
  };
  EXPECT_EQ(run(7), run(7));
  EXPECT_NE(run(7), run(8));

  SimBus bus;
  struct {
    double baseline;
    int32_t raw;
  } cases[] = {{0.0, 4288889}, {5000.0, 8388607}, {-10000.0, -8388608}, {-1930.0, 0}};
  for (const auto& c : cases) {
    sim_signal s = quiet_signal(2);
    s.baseline_uv = c.baseline;
    s.a_wave_ms = -1;  // falls back to the default shape
    s.scale_uv_per_count = 0;  // and the default front end
    sim_signal_set(2, &s);
    start_conversions(bus, 2);
    EXPECT_EQ(read_samples(bus, 1).at(0).raw, c.raw) << c.baseline;
  }
  // Input 2 has no electrodes: the sine does not reach it.
  stim_write({'E'});
  start_conversions(bus, 2);
  auto ex = extremes(read_samples(bus, 300), 0);
  EXPECT_EQ(ex.first.uv, ex.second.uv);
  // A reset puts constant 0 back.
  sim_reset();
  start_conversions(bus, 0);
  EXPECT_EQ(read_samples(bus, 1).at(0).raw, 0);
}
