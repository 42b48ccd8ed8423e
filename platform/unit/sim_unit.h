// The simulated unit: the handheld board as the hardware access library and
// the handheld program see it, for running both off the device.
//
// One instance per process (SimUnit.dll in the Windows build, a static
// library in the host build), shared by the simulated hardware library and
// the program. Every call is thread-safe (one lock inside).
//
// Bus side: the hardware library "maps" a register block by its physical
// address and then reads and writes its 32-bit words through sim_reg_read and
// sim_reg_write. Every register access and every tick read advances the
// virtual clock by SIM_ACCESS_NS, so polling loops and time-outs run exactly
// and instantly on virtual time.
//
// Test side: reset, sample sources, board options, fault injection, the bus
// log and the strictness counters.
#ifndef SIM_UNIT_H
#define SIM_UNIT_H

#include <stdint.h>

#if defined(_WIN32) && defined(SIM_UNIT_BUILD_DLL)
#define SIM_API __declspec(dllexport)
#elif defined(_WIN32) && !defined(SIM_UNIT_STATIC)
#define SIM_API __declspec(dllimport)
#else
#define SIM_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// ---- Fixed facts of the board ----------------------------------------------
#define SIM_SPI_BASE   0x80000B00u   // 6 words
#define SIM_GPIO_BASE  0x80000E00u   // 34 words
#define SIM_UART3_BASE 0x80000800u   // 11 words
#define SIM_SPI_WORDS   6u
#define SIM_GPIO_WORDS  34u
#define SIM_UART3_WORDS 11u

#define SIM_ACCESS_NS   500u     // virtual time one register access or tick read takes
#define SIM_SPI_BYTE_NS 2000u    // time the SPI shifter takes for one byte
#define SIM_FIFO_DEPTH  8u       // transmit and receive FIFO depth

// SPI status word (word 5) bits.
#define SIM_SPI_TX_IDLE     0x80u
#define SIM_SPI_TX_NOT_FULL 0x10u
#define SIM_SPI_RX_NOT_EMPTY 0x04u

// ---- Bus side ----------------------------------------------------------------
// Returns a handle for the block at a physical address (one of the three
// bases above, with at least the block's size in bytes), or null when the
// address is unknown, the size too small, or a map failure is injected.
SIM_API void* sim_map_block(uint64_t physical_address, uint32_t bytes);
// Word access through a handle from sim_map_block. A word index outside the
// block reads 0 and ignores writes.
SIM_API uint32_t sim_reg_read(void* block, uint32_t word);
SIM_API void sim_reg_write(void* block, uint32_t word, uint32_t value);

// ---- Virtual clock -----------------------------------------------------------
SIM_API uint32_t sim_tick_ms(void);            // advances the clock by SIM_ACCESS_NS
SIM_API uint64_t sim_now_ns(void);             // reads without advancing
SIM_API void sim_advance_ns(uint64_t ns);      // lets time pass (a sleep)

// ---- Test side ---------------------------------------------------------------
// Back to power-on: registers, converters, FIFOs, sources, faults, counters and
// the bus and map logs; also the newer platform's wiring and board options 0,
// so that every test starting with a reset starts from the same board. The
// clock keeps running (it never goes back).
SIM_API void sim_reset(void);

// Which platform's sync input is wired: 0 newer (GPIO word 8 bit 5), 1 older
// (GPIO word 0 bit 7). Power-on: newer.
SIM_API void sim_set_platform(int older);
// Drives a GPIO input bit from outside (stimulator sync, ...). Input bits ignore
// register writes. Valid for the sync input bit of the current platform;
// other bits are left alone.
SIM_API void sim_gpio_set_input(uint32_t word, uint32_t bit, int level);

// Sample sources of the analog-to-digital converter, per positive input 0..7
// (the multiplexer's high nibble). Values are 24-bit two's complement; wider
// values are truncated to 24 bits on the wire. Power-on source: constant 0.
// Each conversion of an input takes that input's next value. Calls with an
// input above 7 (or no values) change nothing.
SIM_API void sim_adc_set_constant(uint32_t input, int32_t value);
// A sequence repeats from its start after its last value; count >= 1.
SIM_API void sim_adc_set_sequence(uint32_t input, const int32_t* values, uint32_t count);
// Board option inputs: the low nibble of the converter's IO register.
SIM_API void sim_adc_set_options(uint32_t nibble);

// Converter state for tests.
// Stored value of register 0..10 (0 for others): STATUS without its data-ready
// bit, IO without the board options.
SIM_API uint32_t sim_adc_register(uint32_t reg);
SIM_API int sim_adc_continuous(void);               // 1 between RDATAC and SDATAC
SIM_API int sim_adc_standby(void);                  // 1 after STANDBY until WAKEUP, RESET or SELFCAL
SIM_API uint32_t sim_adc_rate(void);                // samples per second of DRATE
SIM_API uint32_t sim_adc_self_calibrations(void);   // SELFCAL commands completed
SIM_API uint32_t sim_adc_resets(void);              // RESET commands seen
SIM_API uint32_t sim_dac_output(uint32_t channel);  // last value of output 0..3
SIM_API uint32_t sim_dac_control(void);             // last control word (command 15)
SIM_API uint32_t sim_dac_writes(void);              // complete two-byte words received

// Injected faults. param as given per fault; sim_fault_clear(fault) or
// sim_reset() removes it.
enum sim_fault {
  SIM_FAULT_DRDY_STUCK_HIGH = 1,  // data ready never goes low
  SIM_FAULT_DRDY_STUCK_LOW,       // data ready never goes high
  SIM_FAULT_CONVERSION_LATE,      // param: the next conversion comes param microseconds late
  SIM_FAULT_WITHHOLD_RX_BYTE,     // param: the param-th byte received from now (0 = the next) never arrives,
                                  // then the fault clears itself
  SIM_FAULT_TX_NEVER_IDLE,        // param: how many more bytes shift normally (the one in the
                                  // shifter included), then the shifter stops: bytes stay in the
                                  // transmit FIFO and it never reports idle (0 = stops at once)
  SIM_FAULT_RX_FLOOD,             // the receive FIFO is never empty: reads give 0xFF
  SIM_FAULT_MAP_FAIL,             // param: physical address whose block fails to map
  SIM_FAULT_WITHHOLD_RX_FROM      // param: every byte received from the param-th from now on
                                  // (0 = the next) never arrives, until the fault is cleared
};
SIM_API void sim_fault_set(int fault, int64_t param);
SIM_API void sim_fault_clear(int fault);

// Strictness counters: tests assert that each stays zero.
struct sim_counters {
  uint32_t rx_overruns;     // a byte arrived with the receive FIFO full
  uint32_t tx_overflows;    // a byte written with the transmit FIFO full
  uint32_t bus_contention;  // a byte shifted with both chip selects low
  uint32_t partial_words;   // a converter word cut short by its chip select
};
SIM_API void sim_get_counters(struct sim_counters* out);

// Bus log: every byte shifted, with the device that had its chip select low.
// It keeps the newest SIM_BUS_LOG_CAPACITY bytes; the map log the newest
// SIM_MAP_LOG_CAPACITY requests.
#define SIM_BUS_LOG_CAPACITY 65536u
#define SIM_MAP_LOG_CAPACITY 1024u
enum sim_device { SIM_DEV_NONE = 0, SIM_DEV_ADC = 1, SIM_DEV_DAC = 2, SIM_DEV_BOTH = 3 };
struct sim_bus_byte {
  uint8_t device;  // enum sim_device
  uint8_t mosi;    // byte sent by the controller
  uint8_t miso;    // byte returned to the controller
  uint8_t withheld;// 1 when the returned byte was withheld by a fault
};
// Copies up to max entries from the oldest and returns how many the log holds.
SIM_API uint32_t sim_bus_log(struct sim_bus_byte* out, uint32_t max);
SIM_API void sim_bus_log_clear(void);
// Map requests seen since reset, in order (physical addresses).
SIM_API uint32_t sim_map_log(uint64_t* out, uint32_t max);

#ifdef __cplusplus
}
#endif

#endif
