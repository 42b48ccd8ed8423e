// Every failure result of the converter exports, each reached by injecting
// the fault that causes it on the simulated board.
#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "hwlib/tests/sim_board_fixture.h"

namespace {

int32_t values[16];

uint32_t read_single() { return get_1255_data(&values[0]); }
uint32_t read_dual() { return get_dual_data(&values[0], &values[1]); }
uint32_t read_samples(uint32_t count) { return get_1255_samples(values, count); }

void fault(int which, int64_t param = 0) { sim_fault_set(which, param); }

// Waits for a conversion to be ready, then delays the one after it.
void delay_next_conversion(int64_t microseconds) {
  ASSERT_EQ(1u, wait_while_gpio_bit(12, 0, 1, 100));
  fault(SIM_FAULT_CONVERSION_LATE, microseconds);
}

// Stops the shifter with the transmit FIFO full (8 bytes, no device selected).
void fill_transmit_fifo() {
  put_gpio_bit(1, 3, 1);
  fault(SIM_FAULT_TX_NEVER_IDLE);
  for (int i = 0; i < 8; ++i) put_spi_reg(3, 0xFF);
}

struct code_case {
  const char* name;
  void (*arrange)();
  uint32_t (*act)();
  uint32_t expected;
  // Words cut short, in the rows that set it:
  // - "samples: byte 1 of value 1 late": a byte whose reply was lost still
  //   clocked the converter's output on, and SDATAC then goes out as the
  //   word's next dummy byte, so the deselect at the end cuts the word short;
  // - "single: transmitter not idle after RDATA", "dual: echo of WAKEUP
  //   late", "register read: echo of RREG late", "register read: echo of
  //   count late": the read gives up after RDATA or RREG went out and before
  //   its dummy bytes, so the converter's output is never clocked out.
  uint32_t partial_words = 0;
};

// Status word values: 0x80 transmitter idle, 0x10 transmit FIFO not full,
// 0x04 receive FIFO not empty. GPIO word 12 bit 0 high: no conversion ready.
const code_case kCases[] = {
    // get_1255_data
    {"single: transmitter not idle", [] { fault(SIM_FAULT_TX_NEVER_IDLE); }, read_single,
     0xF0000010u},
    {"single: receive FIFO never drained", [] { fault(SIM_FAULT_RX_FLOOD); }, read_single,
     0xF4000094u},
    {"single: no conversion ready", [] { fault(SIM_FAULT_DRDY_STUCK_HIGH); }, read_single,
     0xF1000001u},
    {"single: transmitter not idle after RDATA", [] { fault(SIM_FAULT_TX_NEVER_IDLE, 1); },
     read_single, 0xF0000014u, 1},
    {"single: echo of RDATA late", [] { fault(SIM_FAULT_WITHHOLD_RX_FROM, 0); }, read_single,
     0xB0100003u},
    {"single: data byte 1 late", [] { fault(SIM_FAULT_WITHHOLD_RX_FROM, 1); }, read_single,
     0xB0100003u},
    {"single: data byte 2 late", [] { fault(SIM_FAULT_WITHHOLD_RX_FROM, 2); }, read_single,
     0xB0200003u},
    {"single: data byte 3 late", [] { fault(SIM_FAULT_WITHHOLD_RX_BYTE, 3); }, read_single,
     0xB0300003u},

    // get_dual_data
    {"dual: transmitter not idle", [] { fault(SIM_FAULT_TX_NEVER_IDLE); }, read_dual,
     0xF0000010u},
    {"dual: receive FIFO never drained", [] { fault(SIM_FAULT_RX_FLOOD); }, read_dual, 0xF4000094u},
    {"dual: no conversion ready", [] { fault(SIM_FAULT_DRDY_STUCK_HIGH); }, read_dual, 0xF1000001u},
    // input 0's exchange: replies to 0x51, 0x00, mux, SYNC, WAKEUP, RDATA and
    // the three dummy bytes, each withheld from there on
    {"dual: echo of WREG late", [] { fault(SIM_FAULT_WITHHOLD_RX_FROM, 0); }, read_dual,
     0xB0100003u},
    {"dual: echo of register count late", [] { fault(SIM_FAULT_WITHHOLD_RX_FROM, 1); }, read_dual,
     0xB0100003u},
    {"dual: echo of multiplexer value late", [] { fault(SIM_FAULT_WITHHOLD_RX_FROM, 2); },
     read_dual, 0xB0200003u},
    {"dual: echo of SYNC late", [] { fault(SIM_FAULT_WITHHOLD_RX_FROM, 3); }, read_dual,
     0xB0300003u},
    {"dual: echo of WAKEUP late", [] { fault(SIM_FAULT_WITHHOLD_RX_FROM, 4); }, read_dual,
     0xB0400003u, 1},
    {"dual: echo of RDATA late", [] { fault(SIM_FAULT_WITHHOLD_RX_FROM, 5); }, read_dual,
     0xB0500003u},
    {"dual: data byte 1 late", [] { fault(SIM_FAULT_WITHHOLD_RX_FROM, 6); }, read_dual,
     0xB0600003u},
    {"dual: data byte 2 late", [] { fault(SIM_FAULT_WITHHOLD_RX_FROM, 7); }, read_dual,
     0xB0700003u},
    {"dual: last byte of input 0 late", [] { fault(SIM_FAULT_WITHHOLD_RX_BYTE, 8); }, read_dual,
     0xB0800003u},
    {"dual: last byte of input 1 late", [] { fault(SIM_FAULT_WITHHOLD_RX_BYTE, 17); }, read_dual,
     0xB0800003u},

    // get_1255_samples: before the loop
    {"samples: no conversion ready", [] { fault(SIM_FAULT_DRDY_STUCK_HIGH); },
     [] { return read_samples(4); }, 0xF1000001u},
    {"samples: no echo of RDATAC", [] { fault(SIM_FAULT_WITHHOLD_RX_BYTE, 0); },
     [] { return read_samples(4); }, 0xF3000090u},
    {"samples: receive FIFO never drained", [] { fault(SIM_FAULT_RX_FLOOD); },
     [] { return read_samples(4); }, 0xF4000094u},
    // in the loop: the low bits count the values read
    {"samples: byte 1 of value 1 late", [] { fault(SIM_FAULT_WITHHOLD_RX_BYTE, 1); },
     [] { return read_samples(4); }, 0xB0100000u, 1},
    {"samples: byte 2 of value 5 late", [] { fault(SIM_FAULT_WITHHOLD_RX_BYTE, 14); },
     [] { return read_samples(8); }, 0xB0200004u},
    {"samples: byte 3 of value 3 late", [] { fault(SIM_FAULT_WITHHOLD_RX_BYTE, 9); },
     [] { return read_samples(8); }, 0xB0300002u},
    {"samples: data ready stays low", [] { fault(SIM_FAULT_DRDY_STUCK_LOW); },
     [] { return read_samples(4); }, 0xCC000001u},
    {"samples: next conversion late", [] { delay_next_conversion(3000); },
     [] { return read_samples(4); }, 0xAA000001u},
    // after the loop
    {"samples: no conversion ready before SDATAC", [] { delay_next_conversion(6000); },
     [] { return read_samples(1); }, 0xFC000001u},

    // get_1255_reg: its codes are also possible register contents
    {"register read: transmitter not idle", [] { fault(SIM_FAULT_TX_NEVER_IDLE); },
     [] { return get_1255_reg(1); }, 224u},
    {"register read: receive FIFO never drained", [] { fault(SIM_FAULT_RX_FLOOD); },
     [] { return get_1255_reg(1); }, 228u},
    {"register read: transmitter stops after RREG", [] { fault(SIM_FAULT_TX_NEVER_IDLE, 1); },
     [] { return get_1255_reg(1); }, 225u},
    {"register read: echo of RREG late", [] { fault(SIM_FAULT_WITHHOLD_RX_FROM, 0); },
     [] { return get_1255_reg(1); }, 226u, 1},
    {"register read: echo of count late", [] { fault(SIM_FAULT_WITHHOLD_RX_FROM, 1); },
     [] { return get_1255_reg(1); }, 227u, 1},
    {"register read: register byte late", [] { fault(SIM_FAULT_WITHHOLD_RX_BYTE, 2); },
     [] { return get_1255_reg(1); }, 228u},

    // put_1255_reg and put_5722: 0 on a time-out
    {"register write: transmit FIFO full", fill_transmit_fifo,
     [] { return put_1255_reg(1, 0x08); }, 0u},
    {"register write: transmitter not idle", [] { fault(SIM_FAULT_TX_NEVER_IDLE); },
     [] { return put_1255_reg(1, 0x08); }, 0u},
    {"dac write: transmit FIFO full", fill_transmit_fifo, [] { return put_5722(15, 18); }, 0u},
    {"dac write: transmitter not idle", [] { fault(SIM_FAULT_TX_NEVER_IDLE); },
     [] { return put_5722(15, 18); }, 0u},
};

class result_code_test : public adc_test, public ::testing::WithParamInterface<code_case> {};

TEST_P(result_code_test, FaultGivesItsCode) {
  const code_case& c = GetParam();
  expected_partial_words = c.partial_words;
  c.arrange();
  if (HasFatalFailure()) return;
  EXPECT_EQ(c.expected, c.act()) << std::hex << std::showbase;
}

void PrintTo(const code_case& c, std::ostream* out) { *out << c.name; }

INSTANTIATE_TEST_SUITE_P(converter, result_code_test, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<code_case>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p) {
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           }
                           return name;
                         });

using samples_edge_test = adc_test;

TEST_F(samples_edge_test, ZeroCountStillFramesTheContinuousRead) {
  EXPECT_EQ(0u, get_1255_samples(values, 0));
  EXPECT_EQ((std::vector<uint8_t>{0x03, 0x0F}), bytes_sent());
  EXPECT_EQ(0, sim_adc_continuous());
}

TEST_F(samples_edge_test, NoConversionReadyMeansNoRdatac) {
  fault(SIM_FAULT_DRDY_STUCK_HIGH);
  EXPECT_EQ(0xF1000001u, get_1255_samples(values, 4));
  EXPECT_TRUE(bytes_sent().empty());
}

TEST_F(samples_edge_test, ValuesBeforeALateByteAreKept) {
  sim_adc_set_constant(0, 0x123456);
  restart_conversions();
  for (int32_t& v : values) v = -7;
  fault(SIM_FAULT_WITHHOLD_RX_BYTE, 15);  // byte 3 of value 5
  EXPECT_EQ(0xB0300004u, get_1255_samples(values, 8));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(0x123456, values[i]) << i;
  EXPECT_EQ(-7, values[5]);
  // The converter was taken out of continuous mode all the same.
  EXPECT_EQ(0x0F, bytes_sent().back());
  EXPECT_EQ(0, sim_adc_continuous());
}

TEST_F(samples_edge_test, LateFinalConversionLeavesContinuousMode) {
  delay_next_conversion(6000);
  EXPECT_EQ(0xFC000001u, get_1255_samples(values, 1));
  EXPECT_NE(0x0F, bytes_sent().back());
  EXPECT_EQ(1, sim_adc_continuous());
}

}  // namespace
