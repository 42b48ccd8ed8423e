#include "handheld/ui/status/task_bar.h"

#include <windows.h>

#include "handheld/engine/remote/remote_line.h"

namespace {

HWND taskBar = nullptr;

}  // namespace

void hide_task_bar() {
  if (taskBar != nullptr) return;
  for (int look = 0; look < 3; ++look) {
    if (look > 0) Sleep(200);
    taskBar = FindWindowW(L"HHTaskBar", nullptr);
    if (taskBar != nullptr) {
      SendMessageW(taskBar, WM_CLOSE, 0, 0);
      ShowCursor(FALSE);
      return;
    }
  }
  remote_printf("*** TASKBAR HANDLE IS NULL ***\r\n");
  ShowCursor(FALSE);
}
