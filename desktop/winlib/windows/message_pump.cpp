#include "desktop/winlib/windows/message_pump.h"

LRESULT pump_one_message() {
  MSG message;
  BOOL got = PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
  if (!got) return got;
  TranslateMessage(&message);
  return DispatchMessageA(&message);
}
