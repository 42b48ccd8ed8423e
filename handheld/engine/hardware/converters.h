// Set-up of the board's two converters through the hardware library: the
// digital-to-analog converter's start-up, the analog-to-digital converter's
// reset and configuration (input pair, buffer, data rate, self-calibration),
// and both converters at rest between tests. Every routine returns after its
// SPI traffic is done and holds the converter lock throughout.
#ifndef HANDHELD_ENGINE_HARDWARE_CONVERTERS_H
#define HANDHELD_ENGINE_HARDWARE_CONVERTERS_H

#include <atomic>
#include <mutex>

// GPIO lines of the converters (word, bit).
const int GPIO_CONVERTER_WORD = 1;
const int GPIO_DAC_SELECT_BIT = 1;     // 0 = digital-to-analog converter selected
const int GPIO_FLASH_TRIGGER_BIT = 2;  // flash trigger to the stimulator
const int GPIO_ADC_SELECT_BIT = 3;     // 0 = analog-to-digital converter selected
const int GPIO_DATA_READY_WORD = 12;
const int GPIO_DATA_READY_BIT = 0;     // 0 = a conversion is ready

// Held for each whole converter routine, sweep collection and remote
// hardware command: SPI exchanges must not interleave. Recursive, so that a
// collection holding it may set the converter up.
std::recursive_mutex& converter_lock();

// The data rate last set by setup_adc (samples per second; 0 before), and 1
// once setup_adc has run.
extern std::atomic<int> adc_data_rate;
extern std::atomic<int> adc_configured;

void init_dac();
void reset_adc();
// rate: 15000, 7500, 3750 or 2000 (any other rate leaves the data rate as it
// was); positive and negative: the multiplexer nibbles already in place (0
// and 8: input 0 against the common input); buffer: input buffer on when its
// low byte is non-zero.
void setup_adc(int rate, int positive, int negative, int buffer);
void standby_converters();

#endif
