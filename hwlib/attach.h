// The library's process attach, callable directly for in-process tests.
#ifndef HWLIB_ATTACH_H
#define HWLIB_ATTACH_H

// Maps the SPI, GPIO and third UART blocks, in that order, clearing GPIO
// words 13 and 22 bit 0 after the GPIO block and UART word 3 bits 0-1 after
// the UART block. Returns 1, or 0 at the first block that fails to map; the
// blocks mapped before it stay mapped, the later ones are never requested.
int hwlib_attach(void);

#endif
