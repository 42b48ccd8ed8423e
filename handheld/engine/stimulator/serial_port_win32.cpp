// The platform's serial devices on Windows: CreateFileW, the comm state and
// the time-outs.
#include <windows.h>

#include "platform/modal/modal_ui.h"
#include "handheld/engine/stimulator/serial_port_device.h"

bool open_device_port(serialPort* port, const wchar_t* name, uint32_t baud) {
  HANDLE h = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    modal_message_box(nullptr, L"*** UNABLE TO OPEN UART CHANNEL ***", L"CreateFile", MB_OK);
    return false;
  }
  DCB dcb;
  ZeroMemory(&dcb, sizeof dcb);
  dcb.DCBlength = sizeof dcb;
  GetCommState(h, &dcb);
  dcb.BaudRate = baud;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.fParity = FALSE;
  dcb.fNull = FALSE;
  SetCommState(h, &dcb);

  COMMTIMEOUTS timeouts;
  ZeroMemory(&timeouts, sizeof timeouts);
  GetCommTimeouts(h, &timeouts);
  timeouts.ReadIntervalTimeout = 0;
  timeouts.ReadTotalTimeoutMultiplier = 0;
  timeouts.ReadTotalTimeoutConstant = 0;
  timeouts.WriteTotalTimeoutMultiplier = 0;
  timeouts.WriteTotalTimeoutConstant = 0;
  SetCommTimeouts(h, &timeouts);

  port->device = h;
  return true;
}

size_t write_device_port(serialPort* port, const uint8_t* bytes, size_t n) {
  DWORD written = 0;
  if (!WriteFile(static_cast<HANDLE>(port->device), bytes, static_cast<DWORD>(n), &written, nullptr)) return 0;
  return written;
}

int read_device_port(serialPort* port, uint8_t* out, size_t max) {
  for (;;) {
    // Announce the thread first, then look for a cancel: a cancel after the
    // look finds the thread and cancels its ReadFile.
    port->reading_thread = GetCurrentThreadId();
    if (port->cancelled) {
      port->reading_thread = 0;
      return 0;
    }
    DWORD got = 0;
    BOOL ok = ReadFile(static_cast<HANDLE>(port->device), out, static_cast<DWORD>(max), &got, nullptr);
    port->reading_thread = 0;
    if (!ok) return port->cancelled ? 0 : -1;
    if (got > 0) return static_cast<int>(got);
    // A read that ended empty without a cancel (a time-out of the port) is
    // read again: 0 tells the caller the reads were cancelled.
    if (port->cancelled) return 0;
    Sleep(1);
  }
}

void cancel_device_read(serialPort* port) {
  // With every time-out 0 a read waits for ever: cancel it on its thread.
  DWORD id = port->reading_thread;
  if (id == 0) return;
  HANDLE thread = OpenThread(THREAD_TERMINATE, FALSE, id);
  if (thread == nullptr) return;
  CancelSynchronousIo(thread);
  CloseHandle(thread);
}

void close_device_port(serialPort* port) {
  CloseHandle(static_cast<HANDLE>(port->device));
  port->device = nullptr;
}
