#include "platform/unit/signal_source.h"

#include <math.h>

namespace simunit {

namespace {

const double kPi = 3.14159265358979323846;
const double kNsPerSecond = 1e9;
const double kMaxCount = 8388607.0;
const double kMinCount = -8388608.0;

// The light the eye gets, as the unit's default calibration has it: a flash
// of 1 cd.s/m^2 is 0.5 ms at the drive of 0.52856 V, and the background
// lamps give 20 cd/m^2 a volt above their threshold.
const double kVoltMsPerCds = 0.26428;
const double kCdPerBackgroundVolt = 20.0;

double seconds_between(uint64_t from_ns, uint64_t to_ns) {
  return to_ns >= from_ns ? (to_ns - from_ns) / kNsPerSecond : -((from_ns - to_ns) / kNsPerSecond);
}

}  // namespace

sim_signal default_signal(uint32_t input) {
  sim_signal s = {};
  s.baseline_uv = 0.0;
  s.noise_uv = 0.5;
  s.hum_uv = 0.0;
  s.hum_hz = 50.0;
  s.hum_phase_deg = 0.0;
  s.drift_uv_per_s = 0.0;
  s.a_wave_uv = 40.0;
  s.b_wave_uv = 80.0;
  s.a_wave_ms = 15.0;
  s.b_wave_ms = 40.0;
  s.b_decay_ms = 60.0;
  s.scale_uv_per_count = 0.00045;
  s.offset_uv = -1930.0;
  s.channel = input < Electrodes::kChannels ? static_cast<int32_t>(input) : -1;
  s.seed = input + 1;
  s.response = SIM_RESPONSE_EYE;
  return s;
}

SignalSource::SignalSource(const sim_signal& signal, const Stimulator& stimulator,
                           const Electrodes& electrodes, uint64_t now_ns)
    : signal_(signal),
      stimulator_(stimulator),
      electrodes_(electrodes),
      since_ns_(now_ns),
      noise_(signal.seed) {
  const sim_signal d = default_signal(0);
  if (!(signal_.a_wave_ms > 0.0)) signal_.a_wave_ms = d.a_wave_ms;
  if (!(signal_.b_wave_ms > signal_.a_wave_ms)) signal_.b_wave_ms = signal_.a_wave_ms + (d.b_wave_ms - d.a_wave_ms);
  if (!(signal_.b_decay_ms > 0.0)) signal_.b_decay_ms = d.b_decay_ms;
  if (signal_.scale_uv_per_count == 0.0 || !isfinite(signal_.scale_uv_per_count)) {
    signal_.scale_uv_per_count = d.scale_uv_per_count;
  }
  if (signal_.channel < 0 || signal_.channel >= static_cast<int32_t>(Electrodes::kChannels)) signal_.channel = -1;
  shape_ = ErgShape{signal_.a_wave_ms, signal_.b_wave_ms, signal_.b_decay_ms};
}

int32_t SignalSource::next(uint64_t now_ns) {
  double counts = (microvolts(now_ns) - signal_.offset_uv) / signal_.scale_uv_per_count;
  if (!(counts < kMaxCount)) return static_cast<int32_t>(kMaxCount);  // NaN included
  if (counts < kMinCount) return static_cast<int32_t>(kMinCount);
  return static_cast<int32_t>(llround(counts));
}

double SignalSource::microvolts(uint64_t now_ns) {
  double t = now_ns / kNsPerSecond;
  double uv = signal_.baseline_uv;
  uv += signal_.drift_uv_per_s * seconds_between(since_ns_, now_ns);
  if (signal_.hum_uv != 0.0) {
    uv += signal_.hum_uv * sin(2.0 * kPi * signal_.hum_hz * t + signal_.hum_phase_deg * kPi / 180.0);
  }
  if (signal_.noise_uv != 0.0) uv += signal_.noise_uv * noise_.next();
  uv += erg_uv(now_ns);
  uv += electrodes_uv(now_ns);
  return uv;
}

double SignalSource::erg_uv(uint64_t now_ns) const {
  const bool eye = signal_.response != SIM_RESPONSE_SHAPE;
  if (!eye && signal_.a_wave_uv == 0.0 && signal_.b_wave_uv == 0.0) return 0.0;
  const double length_ms = eye ? eye_length_ms() : erg_length_ms(shape_);
  double uv = 0.0;
  for (const Flash& f : stimulator_.flashes()) {
    if (f.at_ns > now_ns) continue;
    double t_ms = (now_ns - f.at_ns) / 1e6;
    if (t_ms > length_ms) continue;
    if (eye) {
      const EyeStimulus light = {f.volt_ms / kVoltMsPerCds, f.background_v * kCdPerBackgroundVolt};
      uv += eye_response_uv(light, t_ms);
    } else {
      uv += f.volt_ms * (signal_.a_wave_uv * erg_a_wave(shape_, t_ms) + signal_.b_wave_uv * erg_b_wave(shape_, t_ms));
    }
  }
  return uv;
}

double SignalSource::electrodes_uv(uint64_t now_ns) {
  if (signal_.channel < 0) return 0.0;
  const uint32_t c = static_cast<uint32_t>(signal_.channel);
  double uv = 0.0;
  for (uint32_t w = 0; w < Electrodes::kPerChannel; ++w) {
    const sim_electrode& e = electrodes_.electrode[c][w];
    double part = e.drift_uv_per_s * seconds_between(electrodes_.since_ns[c][w], now_ns);
    if (e.noise_uv != 0.0) part += e.noise_uv * noise_.next();
    // The channel records the eye against the reference.
    uv += w == SIM_EYE ? part : -part;
  }
  int driven = stimulator_.sine_electrode();
  if (driven >= 0) {
    const sim_electrode& e = electrodes_.electrode[c][driven];
    double amplitude = 0.5 * stimulator_.sine_peak_to_peak_uv(e.ohms);
    double t = seconds_between(stimulator_.sine_start_ns(), now_ns);
    double sine = amplitude * sin(2.0 * kPi * stimulator_.sine_hz() * t);
    uv += driven == SIM_EYE ? sine : -sine;
  }
  return uv;
}

}  // namespace simunit
