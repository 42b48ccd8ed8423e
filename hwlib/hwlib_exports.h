// The hardware access library's 17 exports, by their plain names, with their
// exact C types. The library (Kestal, or Ombrel on the older platform)
// defines them; the handheld program binds them by name at run time through
// the pointer types below.
//
// Register numbers, bit numbers and bit states are 8-bit; register values and
// time-outs (milliseconds) 32-bit; samples signed 32-bit.
#ifndef HWLIB_HWLIB_EXPORTS_H
#define HWLIB_HWLIB_EXPORTS_H

#include <stdint.h>
#include <wchar.h>

#if defined(_WIN32) && defined(HWLIB_BUILD_DLL)
#define HWLIB_API __declspec(dllexport)
#else
#define HWLIB_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef const wchar_t* (*version_fn)(void);
typedef uint32_t (*spi_setup_fn)(uint32_t a, uint32_t b, uint32_t c);
typedef uint32_t (*get_spi_reg_fn)(uint8_t word);
typedef void (*put_spi_reg_fn)(uint8_t word, uint32_t value);
typedef uint32_t (*wait_while_spi_bit_fn)(uint8_t word, uint8_t bit, uint8_t state, uint32_t timeout_ms);
typedef uint32_t (*wait_till_xmit_fifo_empty_fn)(void);
typedef uint32_t (*get_1255_samples_fn)(int32_t* values, uint32_t count);
typedef uint32_t (*get_1255_data_fn)(int32_t* value);
typedef uint32_t (*get_dual_data_fn)(int32_t* input0, int32_t* input1);
typedef uint32_t (*get_1255_reg_fn)(uint8_t reg);
typedef uint32_t (*put_1255_reg_fn)(uint8_t reg, uint32_t value);
typedef uint32_t (*put_5722_fn)(uint8_t command, uint16_t value);
typedef uint32_t (*get_gpio_reg_fn)(uint8_t word);
typedef void (*put_gpio_reg_fn)(uint8_t word, uint32_t value);
typedef void (*put_gpio_bit_fn)(uint8_t word, uint8_t bit, uint8_t state);
typedef uint32_t (*wait_while_gpio_bit_fn)(uint8_t word, uint8_t bit, uint8_t state, uint32_t timeout_ms);
typedef uint32_t (*get_uart3_reg_fn)(uint8_t word);

HWLIB_API const wchar_t* version(void);
HWLIB_API uint32_t spi_setup(uint32_t a, uint32_t b, uint32_t c);
HWLIB_API uint32_t get_spi_reg(uint8_t word);
HWLIB_API void put_spi_reg(uint8_t word, uint32_t value);
HWLIB_API uint32_t wait_while_spi_bit(uint8_t word, uint8_t bit, uint8_t state, uint32_t timeout_ms);
HWLIB_API uint32_t wait_till_xmit_fifo_empty(void);
HWLIB_API uint32_t get_1255_samples(int32_t* values, uint32_t count);
HWLIB_API uint32_t get_1255_data(int32_t* value);
HWLIB_API uint32_t get_dual_data(int32_t* input0, int32_t* input1);
HWLIB_API uint32_t get_1255_reg(uint8_t reg);
HWLIB_API uint32_t put_1255_reg(uint8_t reg, uint32_t value);
HWLIB_API uint32_t put_5722(uint8_t command, uint16_t value);
HWLIB_API uint32_t get_gpio_reg(uint8_t word);
HWLIB_API void put_gpio_reg(uint8_t word, uint32_t value);
HWLIB_API void put_gpio_bit(uint8_t word, uint8_t bit, uint8_t state);
HWLIB_API uint32_t wait_while_gpio_bit(uint8_t word, uint8_t bit, uint8_t state, uint32_t timeout_ms);
HWLIB_API uint32_t get_uart3_reg(uint8_t word);

#ifdef __cplusplus
}
#endif

#endif
