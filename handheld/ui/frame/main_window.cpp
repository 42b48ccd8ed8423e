#include "handheld/ui/frame/main_window.h"

#include "handheld/engine/hardware/hw_binding.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/frame/main_dialog_proc.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/ui/frame/timers.h"

HINSTANCE instance = nullptr;
HWND main_window = nullptr;
std::atomic<unsigned char> quit_flag{0};
DWORD start_ticks = 0;

namespace {

const int STRING_CHARACTERS = 100;

WPARAM lastWParam = 0;

void create_main_dialog(HWND window) {
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(MAIN_DIALOG_RESOURCE), reinterpret_cast<LPCWSTR>(RT_DIALOG));
  HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
  const void* dialogTemplate = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (dialogTemplate == nullptr) return;
  CreateDialogIndirectParamW(instance, static_cast<LPCDLGTEMPLATEW>(dialogTemplate), window, mainDialogProc, 0);
}

void size_for_screen(HWND window) {
  RECT r = {0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
}

}  // namespace

ATOM register_main_window_class(HINSTANCE module, const wchar_t* className) {
  WNDCLASSW wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = mainWndProc;
  wc.hInstance = module;
  wc.hIcon = LoadIconW(module, MAKEINTRESOURCEW(MAIN_ICON));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = className;
  return RegisterClassW(&wc);
}

int init_instance(HINSTANCE module, int showCommand) {
  instance = module;
  wchar_t className[STRING_CHARACTERS + 1] = {};
  wchar_t title[STRING_CHARACTERS + 1] = {};
  LoadStringW(module, STRING_CLASS, className, STRING_CHARACTERS);
  register_main_window_class(module, className);
  LoadStringW(module, STRING_TITLE, title, STRING_CHARACTERS);
  HWND window = CreateWindowExW(0, className, title, WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, nullptr, nullptr, module, nullptr);
  if (window == nullptr) return 0;
  main_window = window;
  size_for_screen(window);
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  return 1;
}

LRESULT CALLBACK mainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      main_window = window;
      create_main_dialog(window);
      return 0;
    case WM_DESTROY:
      quit_flag = 1;
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      wchar_t text[STRING_CHARACTERS + 1] = {};
      LoadStringW(instance, STRING_DESCRIPTION, text, STRING_CHARACTERS);
      DrawTextW(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_QUIT:
      quit_flag = 1;
      return static_cast<LRESULT>(wParam);
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

void route_message(MSG& message) {
  lastWParam = message.wParam;
  if (message.message == WM_TIMER) {
    timer_handler(message.wParam);
    return;
  }
  HWND top = top_dialog();
  if (top != nullptr && IsDialogMessageW(top, &message)) return;
  if (main_dialog != nullptr && IsDialogMessageW(main_dialog, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

WPARAM run_message_loop() {
  while (quit_flag.load() == 0) {
    MSG message;
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) continue;
    if (got == 0) {
      // WM_QUIT is never dispatched: it ends the loop as the window's
      // procedure would.
      lastWParam = message.wParam;
      quit_flag = 1;
      break;
    }
    route_message(message);
  }
  return lastWParam;
}

void exit_sequence() {
  hardware.put_gpio_bit(12, 2, 0);
  Sleep(100);
  send_8051_byte(COMMAND_EXIT);
}

int vandu_main(HINSTANCE module, int showCommand) {
  if (!init_instance(module, showCommand)) return 0;
  const WPARAM result = run_message_loop();
  exit_sequence();
  return static_cast<int>(result);
}
