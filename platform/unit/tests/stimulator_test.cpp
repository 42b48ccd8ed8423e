// The simulated stimulator's serial side: what it parses, what it answers,
// the state it keeps, and its reply faults.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "platform/unit/tests/sim_bus.h"

namespace {

using bytes = std::vector<uint8_t>;

void write(const bytes& b) { sim_stim_write(b.data(), static_cast<uint32_t>(b.size())); }

bytes read_all() {
  bytes out(4096);
  out.resize(sim_stim_read(out.data(), static_cast<uint32_t>(out.size())));
  return out;
}

sim_stim_state state() {
  sim_stim_state s = {};
  sim_stim_get_state(&s);
  return s;
}

std::vector<sim_stim_record> records() {
  std::vector<sim_stim_record> r(sim_stim_records(nullptr, 0));
  r.resize(sim_stim_records(r.data(), static_cast<uint32_t>(r.size())));
  return r;
}

bytes le(double v) {
  bytes b(8);
  uint64_t bits;
  memcpy(&bits, &v, 8);
  for (int i = 0; i < 8; ++i) b[i] = static_cast<uint8_t>(bits >> (8 * i));
  return b;
}

bytes cat(std::initializer_list<bytes> parts) {
  bytes out;
  for (const bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// A backlight count as the unit sends it: 0xC000 + v and 0x10000 - v.
bytes backlight(uint32_t v) {
  uint32_t a = 0xC000 + v, b = 0x10000 - v;
  return {uint8_t((a >> 8) & 0xFF), uint8_t(a & 0xFF), uint8_t((b >> 8) & 0xFF), uint8_t(b & 0xFF)};
}

bytes framed(uint8_t id, const bytes& payload) {
  bytes m = {'U', uint8_t(payload.size() + 1), id};
  m.insert(m.end(), payload.begin(), payload.end());
  return m;
}

bytes version_text() { return {'0', '3', '.', '0', '1', '0'}; }

bytes table_bytes(const double* t) {
  bytes out;
  for (int i = 0; i < 30; ++i) {
    bytes e = le(t[i]);
    out.insert(out.end(), e.begin(), e.end());
  }
  return out;
}

}  // namespace

TEST(SimStimulator, AnswersVersionTableAndClockRequests) {
  sim_reset();
  double table[30];
  sim_stim_get_table(table);
  // The power-on table is the unit's defaults with a serial number in entry 19.
  EXPECT_EQ(table[0], 4.8e-05);
  EXPECT_EQ(table[7], -1930.0);
  EXPECT_EQ(table[24], 1.9e-10);
  EXPECT_EQ(table[29], 0.8);
  uint8_t serial[8];
  memcpy(serial, &table[19], 8);
  EXPECT_EQ(bytes(serial, serial + 8), (bytes{1, 2, 3, 4, 5, 6, 0, 107}));

  const uint64_t clock = 133537572000000000ull;
  sim_stim_set_clock(clock);
  bytes clock_be = {0x01, 0xDA, 0x6B, 0xB6, 0xD7, 0x3A, 0x68, 0x00};
  double zeros[30] = {};

  struct {
    const char* what;
    bytes request;
    bytes reply;
  } cases[] = {
      {"V", {'V'}, framed('v', version_text())},
      {"v", {'v'}, framed('v', version_text())},
      {"table", {'l', 0x01, 0xF0}, framed('l', table_bytes(table))},
      {"clock", {'t'}, framed('t', clock_be)},
      {"table request of another kind", {'l', 0x02, 0xF0}, {}},
      {"backlight at power-on", {'b'}, framed('b', cat({backlight(0), backlight(0)}))},
      {"backlight", cat({{'B'}, backlight(10), backlight(20)}), {}},
      {"backlight in effect", {'b'}, framed('b', cat({backlight(10), backlight(20)}))},
      {"stop", {'D'}, {}},
  };
  for (const auto& c : cases) {
    write(c.request);
    EXPECT_EQ(read_all(), c.reply) << c.what;
  }
  EXPECT_EQ(state().bad_records, 1u);

  // Its clock runs on virtual time; an unset clock answers zeros; an all-zero
  // table goes out as zeros.
  sim_stim_set_clock(clock);
  sim_advance_ns(5000000000ull);
  write({'t'});
  bytes r = read_all();
  ASSERT_EQ(r.size(), 11u);
  uint64_t t = 0;
  for (int i = 3; i < 11; ++i) t = (t << 8) | r[i];
  EXPECT_EQ(t, clock + 50000000ull);
  sim_stim_set_clock(0);
  write({'t'});
  EXPECT_EQ(read_all(), framed('t', bytes(8, 0)));
  sim_stim_set_table(zeros);
  write({'l', 0x01, 0xF0});
  EXPECT_EQ(read_all(), framed('l', bytes(240, 0)));
}

TEST(SimStimulator, RecordsChangeItsStateWhateverTheWriteBoundaries) {
  sim_reset();
  const bytes flash_body = {0x61, 0xA7, 0x01, 0x02, 0x95, 0x88};  // D 24999, mode 1, p 2, count 38280
  // The records as the unit sends them, some in two writes.
  const std::vector<bytes> writes = {
      cat({{'L', 5, 8}, le(12.5)}),
      cat({{'L', 0, 8}, backlight(0), backlight(0)}),
      cat({{'B'}, backlight(4000), backlight(8000)}),
      {'f'},
      flash_body,
      {'S'},
      {0x01, 0xDA, 0x00, 0x00, 0x12, 0x34, 0x56, 0x78},
      {'T', 'S'},
      {'T'},
      {'Z'},
      {'I'},
      {'X'},
      {'b'},
  };
  for (const bytes& w : writes) write(w);
  sim_stim_state s = state();
  EXPECT_EQ(s.records, 10u);
  EXPECT_EQ(s.bad_records, 0u);
  EXPECT_EQ(s.partial, 0u);
  double table[30];
  sim_stim_get_table(table);
  EXPECT_EQ(table[4], 12.5);
  EXPECT_EQ(s.stored_backlight[0], 0u);
  EXPECT_EQ(s.stored_backlight[1], 0u);
  EXPECT_EQ(s.backlight[0], 4000u);
  EXPECT_EQ(s.backlight[1], 8000u);
  EXPECT_EQ(read_all(), framed('b', cat({backlight(4000), backlight(8000)})));
  EXPECT_EQ(s.flash_word, 24999u);
  EXPECT_EQ(s.flash_mode, 1u);
  EXPECT_EQ(s.prescaler, 2u);
  EXPECT_EQ(s.flicker_count, 38280u);
  EXPECT_DOUBLE_EQ(s.flash_us, 5000.0);
  EXPECT_NEAR(s.flicker_period_us, 20000.0, 1.0);
  EXPECT_EQ(s.armed, 1);
  EXPECT_EQ(s.clock_filetime, 0x01DA000012345678ull);
  EXPECT_EQ(s.impedance_mode, 1);
  EXPECT_EQ(s.exited, 1);

  // Each record whole in the log, with its length.
  auto log = records();
  ASSERT_EQ(log.size(), 10u);
  EXPECT_EQ(log[0].length, 11u);
  EXPECT_EQ(log[3].length, 7u);
  EXPECT_EQ(bytes(log[3].bytes, log[3].bytes + 7), cat({{'f'}, flash_body}));
  EXPECT_EQ(log[4].length, 9u);
  EXPECT_EQ(log[6].bytes[1], 'Z');
  // Every byte as written.
  std::vector<uint8_t> raw(sim_stim_received(nullptr, 0));
  sim_stim_received(raw.data(), static_cast<uint32_t>(raw.size()));
  EXPECT_EQ(raw.size(), 11u + 11 + 9 + 7 + 9 + 2 + 2 + 3);
  sim_stim_clear_logs();
  EXPECT_EQ(records().size(), 0u);
  EXPECT_EQ(sim_stim_received(nullptr, 0), 0u);
}

TEST(SimStimulator, FlickerPeriodDecoding) {
  // (D, p, count) as the unit computes them for a period, and what the
  // stimulator makes of them.
  struct {
    uint32_t d, p, count;
    double period_us;
  } cases[] = {
      {24999, 2, 38280, 19999.8},   // 20 ms at full duration
      {24999, 1, 0xA471, 0.0},      // period 0: count -23439 in 16 bits
      {49, 1, 1511, 0.0},           // period 0 with D below 1560: count 1511
      {1559, 1, 1, 0.0},            // period 0, D 1559
      {1560, 1, 0, 0.0},            // period 0, D 1560
      {49, 1, 51511, 10000.0},      // 10 ms, short flash
      {24999, 1, 26561, 10000.0},   // 10 ms, full flash
      {24999, 8, 59570, 99999.8},   // 100 ms
  };
  for (const auto& c : cases) {
    sim_reset();
    write({'f', uint8_t(c.d >> 8), uint8_t(c.d), 1, uint8_t(c.p), uint8_t(c.count >> 8), uint8_t(c.count)});
    EXPECT_NEAR(state().flicker_period_us, c.period_us, 0.2) << c.d << " " << c.p << " " << c.count;
    EXPECT_NEAR(state().flash_us, (c.d + 1) / 5.0, 1e-9);
  }
}

TEST(SimStimulator, BadRecordsUnknownBytesAndASwallowedBody) {
  sim_reset();
  write({'Q'});                               // starts no record
  write(cat({{'L', 31, 8}, le(1.0)}));        // no entry 31
  write({'L', 1, 4, 1, 2, 3, 4});             // length not 8: its 4 bytes are taken
  write(cat({{'L', 0, 8}, backlight(5), {0xFF, 0xFF, 0xFF, 0xFF}}));  // words disagree
  write({'T', 'Q'});
  sim_stim_state s = state();
  EXPECT_EQ(s.unknown_bytes, 1u);
  EXPECT_EQ(s.records, 4u);
  EXPECT_EQ(s.bad_records, 4u);
  EXPECT_EQ(s.partial, 0u);
  double table[30];
  sim_stim_get_table(table);
  EXPECT_EQ(table[0], 4.8e-05);

  // A letter sent without its body takes the next command as its body.
  write({'f'});
  write({'V'});
  EXPECT_EQ(state().partial, 2u);
  EXPECT_TRUE(read_all().empty());
  write({'D', 'D', 'D', 'D', 'D'});
  EXPECT_EQ(state().partial, 0u);
  EXPECT_EQ(state().flash_word, uint32_t('V' << 8 | 'D'));
}

TEST(SimStimulator, SendsKeysAndMessagesInOrderAtTheirTime) {
  sim_reset();
  const uint8_t keys[] = {'1', '4'};
  sim_stim_send(keys, 2, 0);
  const uint8_t status = 0x41;
  sim_stim_send_message('s', &status, 1, 3000);
  sim_stim_send(keys, 1, 0);  // queued behind the late message: no overtaking
  EXPECT_EQ(read_all(), (bytes{'1', '4'}));
  sim_advance_ns(2999000);
  EXPECT_TRUE(read_all().empty());
  sim_advance_ns(1000);
  EXPECT_EQ(read_all(), (bytes{'U', 2, 's', 0x41, '1'}));
  sim_stim_send_message('a', nullptr, 0, 0);
  EXPECT_EQ(read_all(), (bytes{'U', 1, 'a'}));
}

TEST(SimStimulator, ReplyFaults) {
  sim_reset();
  sim_fault_set(SIM_FAULT_STIM_REPLY_SHORT, 100);
  write({'l', 0x01, 0xF0});
  bytes r = read_all();
  ASSERT_EQ(r.size(), 243u - 100u);
  EXPECT_EQ(r[1], 241);  // still announces the whole table
  write({'V'});  // the fault cleared itself
  EXPECT_EQ(read_all().size(), 9u);

  sim_fault_set(SIM_FAULT_STIM_REPLY_LATE, 2000);
  write({'v'});
  EXPECT_TRUE(read_all().empty());
  sim_advance_ns(2000000);
  EXPECT_EQ(read_all(), framed('v', version_text()));
  write({'v'});
  EXPECT_EQ(read_all().size(), 9u);

  sim_fault_set(SIM_FAULT_STIM_SILENT, 0);
  write({'V'});
  write({'t'});
  sim_advance_ns(1000000000);
  EXPECT_TRUE(read_all().empty());
  sim_fault_clear(SIM_FAULT_STIM_SILENT);
  write({'V'});
  EXPECT_EQ(read_all().size(), 9u);

  // Keys are not replies: faults leave them alone; a reset clears faults.
  sim_fault_set(SIM_FAULT_STIM_SILENT, 0);
  const uint8_t key = '2';
  sim_stim_send(&key, 1, 0);
  EXPECT_EQ(read_all(), bytes{'2'});
  sim_reset();
  write({'V'});
  EXPECT_EQ(read_all().size(), 9u);
}

TEST(SimStimulator, ConfigurationKeepsValuesThatCannotBeZero) {
  sim_reset();
  sim_stim_config c;
  sim_stim_get_config(&c);
  EXPECT_EQ(std::string(c.version, 6), "03.010");
  EXPECT_EQ(c.sync_delay_us, 100u);
  EXPECT_EQ(c.sync_pulse_us, 1000u);
  EXPECT_EQ(c.sine_hz, 100.0);
  EXPECT_EQ(c.sine_sync_ms, 100u);
  EXPECT_EQ(c.ohms_per_uv, 15.25);
  EXPECT_EQ(c.ohms_offset, -90.0);
  memcpy(c.version, "02.987", 6);
  c.sine_hz = 0;
  c.sine_sync_ms = 0;
  c.ohms_per_uv = 0;
  sim_stim_set_config(&c);
  sim_stim_get_config(&c);
  EXPECT_EQ(c.sine_hz, 100.0);
  EXPECT_EQ(c.sine_sync_ms, 100u);
  EXPECT_EQ(c.ohms_per_uv, 15.25);
  write({'V'});
  EXPECT_EQ(read_all(), framed('v', bytes{'0', '2', '.', '9', '8', '7'}));
}
