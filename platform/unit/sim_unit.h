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
#ifndef PLATFORM_UNIT_SIM_UNIT_H
#define PLATFORM_UNIT_SIM_UNIT_H

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

// The battery's converter input and its counts at power-on.
#define SIM_BATTERY_INPUT  2u
#define SIM_BATTERY_COUNTS 4999543

// Sample sources of the analog-to-digital converter, per positive input 0..7
// (the multiplexer's high nibble). Values are 24-bit two's complement; wider
// values are truncated to 24 bits on the wire. Power-on source: constant 0,
// except on the battery's input: a charged battery of about 4.0 V as the unit
// reads it (five conversions x 1.6001462936401368e-7 V).
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
  SIM_FAULT_WITHHOLD_RX_FROM,     // param: every byte received from the param-th from now on
                                  // (0 = the next) never arrives, until the fault is cleared
  // Stimulator faults (serial replies are its answers to 'V', 'v', the table
  // request, 't' and 'b'; keys and messages sent by sim_stim_send are not
  // replies).
  SIM_FAULT_STIM_REPLY_LATE,      // param: the next reply arrives param microseconds late,
                                  // then the fault clears itself
  SIM_FAULT_STIM_REPLY_SHORT,     // param: the next reply loses its last param bytes (its
                                  // length byte still announces them), then the fault clears
  SIM_FAULT_STIM_SILENT,          // no replies at all until the fault is cleared
  SIM_FAULT_STIM_NO_SYNC          // flashes and the impedance sine go on, but the sync input
                                  // stays high until the fault is cleared
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

// ---- Stimulator microcontroller, "COM2:" -------------------------------------
// The stimulator on the unit's serial port, as the port sees it. Bytes the
// unit writes are parsed at once, at the current virtual time (writing takes
// no virtual time; the unit's own pacing sleeps). Bytes the stimulator sends
// (its replies, key bytes, injected messages) are queued with the virtual time
// at which they arrive; a read takes those whose time has come, in order.
SIM_API void sim_stim_write(const uint8_t* bytes, uint32_t n);
// Moves up to max arrived bytes into out; returns how many.
SIM_API uint32_t sim_stim_read(uint8_t* out, uint32_t max);

// What it does:
// - 'V' or 'v': replies with message 'v' (6 bytes of version text).
// - 'l' 0x01 0xF0: replies with message 'l', its calibration table, 30
//   doubles of 8 bytes, little-endian (240 bytes, length byte 241).
// - 't': replies with message 't', its clock as a FILETIME, 8 bytes
//   big-endian (all zero while its clock is not set).
// - 'b': replies with message 'b', the backlight in effect as two counts of
//   4 bytes each, laid out as the unit sends them (power-on: 0 and 0, full
//   backlight).
// - 'L' index length bytes: index 1..30 stores a table entry, 0 stores the
//   backlight and puts it in effect; 'B' and 8 bytes puts a backlight in
//   effect; 'S' and 8 bytes sets its clock (FILETIME, big-endian).
// - 'f' and 6 bytes (flash word D, mode, prescaler p, count, 16-bit values
//   high byte first) sets the flash: duration (D + 1) / 5 us, and a flicker
//   period (p x count + D - 1560) / 5 us. A period request of 0 arrives as a
//   count that cancels D - 1560 in 16 bits, with p 1: single flashes. The
//   first 'f' arms the flash trigger for good.
// - A falling edge of the flash trigger (GPIO word 1 bit 2), when armed,
//   flashes sync_delay_us later: the flash's light is its drive (converter
//   outputs 1 and 3, 819.2 counts a volt) times its duration, and the sync
//   input goes low for sync_pulse_us. With a flicker period it flashes every
//   period from then on, as many flashes as the mode byte counts (0: until
//   'D'), or until 'D' comes first; edges while it flickers are ignored.
// - 'E' (eye) or 'R' (reference) starts the impedance sine on that
//   electrode of each channel, rising from 0 at the command, with a sync
//   pulse every sine_sync_ms rounded to whole sine periods (so at an upward
//   zero crossing), the first one period of pulses after the command; 'W',
//   'D' and 'O' stop it.
// - 'I' and 'O' enter and leave impedance mode; "TS", "TZ" and 'X' are only
//   recorded.
// A record with a wrong layout ('l' not followed by 0x01 0xF0, an 'L' index
// above 30 or a length other than 8, backlight words that disagree, a 'T'
// not followed by 'S' or 'Z') is counted as bad and otherwise ignored. A byte
// that starts no record is counted as unknown. There is no time-out inside a
// record: a letter sent without its body takes the next bytes as its body.

#define SIM_STIM_TABLE_ENTRIES 30u
#define SIM_STIM_RECORD_BYTES 12u
#define SIM_STIM_RECORD_LOG_CAPACITY 4096u
#define SIM_STIM_RECEIVED_LOG_CAPACITY 65536u

struct sim_stim_config {
  char version[6];        // the 'v' payload: major in bytes 0-1, minor in bytes 3-5
  uint32_t sync_delay_us; // flash trigger falling edge to flash and sync low
  uint32_t sync_pulse_us; // how long the sync input stays low
  double sine_hz;         // impedance sine frequency
  uint32_t sine_sync_ms;  // sync pulse period while the sine runs
  // The impedance sine's peak-to-peak microvolts on the converter input for an
  // electrode of R ohms: (R - ohms_offset) / ohms_per_uv, never below 0.
  double ohms_per_uv;
  double ohms_offset;
};
// Power-on: "03.010", 100 us, 1000 us, 100 Hz, 100 ms, 15.25, -90.
SIM_API void sim_stim_get_config(struct sim_stim_config* out);
// Takes effect from the next flash, pulse or sine start. A zero sine_hz,
// sine_sync_ms or ohms_per_uv keeps the value in force.
SIM_API void sim_stim_set_config(const struct sim_stim_config* config);

// Its own calibration table (30 entries). Power-on: the unit's default
// calibration, with the serial number "1234567" packed into entry 19.
SIM_API void sim_stim_set_table(const double* entries);
SIM_API void sim_stim_get_table(double* out);
// Its clock as a FILETIME (100 ns since 1601), running on virtual time from
// now; 0 = not set. Power-on: 2024-03-01 09:00:00.
SIM_API void sim_stim_set_clock(uint64_t filetime);

struct sim_stim_state {
  uint32_t records;           // complete records parsed
  uint32_t bad_records;       // complete records with a wrong layout
  uint32_t unknown_bytes;     // bytes that start no record
  uint32_t partial;           // bytes of an unfinished record held
  uint32_t flash_word;        // D of the last 'f'
  uint32_t flash_mode;        // its mode byte
  uint32_t prescaler;         // its p
  uint32_t flicker_count;     // its count
  double flash_us;            // flash duration
  double flicker_period_us;   // 0: single flashes
  int32_t armed;              // 1 after the first 'f'
  int32_t flickering;         // 1 from the flicker's first trigger until 'D' or its last counted flash
  uint32_t flashes;           // flashes since power-on
  uint64_t last_flash_ns;     // virtual time of the last flash
  double last_flash_vms;      // its light: drive volts x milliseconds
  uint32_t sync_pulses;       // times the sync input went low
  int32_t sine_electrode;     // -1 off, 0 eye, 1 reference
  int32_t impedance_mode;     // 1 from 'I' until 'O'
  uint32_t backlight[2];      // counts in effect (last 'B' or 'L' 0)
  uint32_t stored_backlight[2]; // counts of the last 'L' 0
  uint64_t clock_filetime;    // its clock now (0: not set)
  int32_t exited;             // 1 after 'X'
};
SIM_API void sim_stim_get_state(struct sim_stim_state* out);

// Every complete record (bad ones too), oldest first; the newest
// SIM_STIM_RECORD_LOG_CAPACITY are kept. length is the record's whole length;
// bytes holds its first SIM_STIM_RECORD_BYTES.
struct sim_stim_record {
  uint64_t at_ns;
  uint32_t length;
  uint8_t bytes[SIM_STIM_RECORD_BYTES];
};
// Copies up to max records and returns how many the log holds.
SIM_API uint32_t sim_stim_records(struct sim_stim_record* out, uint32_t max);
// Every byte the unit wrote, in order (the newest SIM_STIM_RECEIVED_LOG_CAPACITY).
SIM_API uint32_t sim_stim_received(uint8_t* out, uint32_t max);
// Empties both logs.
SIM_API void sim_stim_clear_logs(void);

// Sends bytes to the unit (its keys '1' to '4', a short or malformed
// message...): they arrive delay_us from now, and never before the bytes
// queued ahead of them.
SIM_API void sim_stim_send(const uint8_t* bytes, uint32_t n, uint32_t delay_us);
// Sends the message 'U', n + 1, id, payload (n at most 254).
SIM_API void sim_stim_send_message(uint8_t id, const uint8_t* payload, uint32_t n, uint32_t delay_us);

// ---- The eye, its electrodes and the signal on each converter input ---------
// A signal replaces the input's source (like sim_adc_set_constant); sim_reset
// puts constant 0 back on every input. Its microvolts at each conversion:
//   baseline + drift x (seconds since set) + hum x sin(2 pi hum_hz t + phase)
//   + noise x N(0, 1)
//   + for each flash, the eye's response (response SIM_RESPONSE_EYE): a human
//     eye's ERG for the flash's light and the background in force at it
//     (eye_response.h; the light as the unit's default calibration gives it:
//     a flash of 1 cd.s/m^2 is 0.26428 volt-ms, and a background drive of
//     v volts above 0.8 V gives 20 v cd/m^2),
//     or (SIM_RESPONSE_SHAPE) its light (volts x ms) x (a_wave_uv x a(t) + b_wave_uv x b(t))
//   + the channel's eye electrode - its reference electrode (each: its drift
//     since set and its noise), + the impedance sine through the driven
//     electrode (inverted for the reference)
// with a(t) of depth 1 at a_wave_ms and b(t) of height 1 at b_wave_ms
// (erg_response.h), converted to counts = (uV - offset_uv) / scale_uv_per_count,
// rounded and kept within 24 bits. The defaults' front end matches the unit's
// default data calibration, so raw x 0.00045 - 1930 gives the microvolts back.
struct sim_signal {
  double baseline_uv;
  double noise_uv;          // standard deviation
  double hum_uv;            // mains hum amplitude
  double hum_hz;
  double hum_phase_deg;     // phase at virtual time 0
  double drift_uv_per_s;
  double a_wave_uv;         // a-wave depth per volt-millisecond of flash light
  double b_wave_uv;         // b-wave height per volt-millisecond
  double a_wave_ms;         // trough time after the flash (> 0)
  double b_wave_ms;         // peak time (> a_wave_ms)
  double b_decay_ms;        // time the b-wave takes to fall back (> 0)
  double scale_uv_per_count;
  double offset_uv;
  int32_t channel;          // whose electrodes: 0 channel A, 1 channel B, -1 none
  uint32_t seed;            // of the noise
  int32_t response;         // SIM_RESPONSE_EYE or SIM_RESPONSE_SHAPE
};
#define SIM_RESPONSE_EYE 0
#define SIM_RESPONSE_SHAPE 1
// Defaults for an input: no baseline, drift or hum (50 Hz), 0.5 uV noise,
// the eye's response; for the shape, a-wave 40 uV and b-wave 80 uV per
// volt-millisecond at 15 and 40 ms, 60 ms decay; 0.00045 uV a count from
// -1930 uV, channel = input for inputs 0 and 1 (else -1), seed = input + 1.
SIM_API void sim_signal_defaults(uint32_t input, struct sim_signal* out);
// Sets the signal of input 0..7 (others: nothing). Times that make no
// waveform and a zero scale are taken from the defaults.
SIM_API void sim_signal_set(uint32_t input, const struct sim_signal* signal);

#define SIM_EYE 0u
#define SIM_REFERENCE 1u
struct sim_electrode {
  double ohms;             // sets the impedance sine's amplitude
  double noise_uv;         // standard deviation
  double drift_uv_per_s;   // from the time it is set
};
// Channel 0 (A) or 1 (B), SIM_EYE or SIM_REFERENCE. Power-on: 2000 ohms, no
// noise, no drift.
SIM_API void sim_electrode_set(uint32_t channel, uint32_t electrode, const struct sim_electrode* e);

#ifdef __cplusplus
}
#endif

#endif
