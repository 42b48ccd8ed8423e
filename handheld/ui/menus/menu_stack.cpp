#include "handheld/ui/menus/menu_stack.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include <memory>
#include <mutex>
#include <string>

#include "handheld/engine/log/engine_log.h"
#include "handheld/ui/dialogs/key_captions.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menus/menu_captions.h"
#include "handheld/ui/menu_request.h"
#include "handheld/ui/message_display.h"

namespace {

struct menuLevel {
  HWND dialog = nullptr;
  int menuId = 0;
  DLGPROC dialogProc = nullptr;
  std::unique_ptr<keyCaptions> saved;
};

menuLevel menuStack[MENU_STACK_LEVELS];
int menuTop = -1;
// A full stack is logged once until a level is taken off again; it is
// never shown through a message page, which would be one more push.
bool overflowLogged = false;

struct deferredMessage {
  std::mutex lock;
  int kind = 0;
  std::string text;
  bool pending = false;
};

deferredMessage& deferred() {
  static deferredMessage d;
  return d;
}

HWND create_page(DLGPROC dialogProc, int resourceId) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(resourceId), reinterpret_cast<LPCWSTR>(RT_DIALOG));
  HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
  const void* dialogTemplate = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (dialogTemplate == nullptr) {
    show_message(MESSAGE_INTERNAL, false, "### DIALOG %d NOT FOUND ###", resourceId);
    return nullptr;
  }
  return CreateDialogIndirectParamW(instance, static_cast<LPCDLGTEMPLATEW>(dialogTemplate), main_dialog,
                                    dialogProc, 0);
}

// Closes the top level: its dialog told to close, its captions put back.
void drop_top_level() {
  menuLevel& level = menuStack[menuTop];
  if (level.dialog != nullptr && IsWindow(level.dialog)) {
    ShowWindow(level.dialog, SW_HIDE);
    SendMessageW(level.dialog, WM_USER, PAGE_CLOSE, 0);
  }
  if (level.saved) restore_key_captions(*level.saved);
  level = menuLevel{};
  --menuTop;
  overflowLogged = false;
}

}  // namespace

HWND push_menu(int menuId, DLGPROC dialogProc, int resourceId) {
  if (menuTop >= MENU_STACK_LEVELS - 1) {
    if (!overflowLogged) {
      overflowLogged = true;
      log_mesg("*** dialog stack overflow ***");
      log_mesg("### push_menu: OVERFLOW ###");
    }
    return nullptr;
  }
  ++menuTop;
  menuLevel& level = menuStack[menuTop];
  level = menuLevel{};
  level.menuId = menuId;
  level.saved.reset(new (std::nothrow) keyCaptions);
  if (level.saved) save_key_captions(*level.saved);
  if (dialogProc == nullptr) return nullptr;
  level.dialogProc = dialogProc;
  // The level stands before its dialog is made, so that a dialog asking for
  // the top dialog while it opens finds itself.
  level.dialog = create_page(dialogProc, resourceId);
  return level.dialog;
}

HWND push_dialog(DLGPROC dialogProc, int resourceId) { return push_menu(current_menu(), dialogProc, resourceId); }

int pop_menu() {
  if (menuTop < 0) {
    show_message(MESSAGE_INTERNAL, false, "### pop_menu: UNDERFLOW ###");
    return MENU_SHUTDOWN_CONFIRM;
  }
  const int menu = menuStack[menuTop].menuId;
  while (menuTop >= 0 && menuStack[menuTop].menuId == menu) {
    drop_top_level();
    if (menuTop < 0) {
      show_message(MESSAGE_INTERNAL, false, "### pop_menu: UNDERFLOW AFTER INITIAL POP ###");
      return MENU_SHUTDOWN_CONFIRM;
    }
  }
  menuLevel& uncovered = menuStack[menuTop];
  if (uncovered.dialog != nullptr && IsWindow(uncovered.dialog)) {
    ShowWindow(uncovered.dialog, SW_SHOW);
    PostMessageW(uncovered.dialog, WM_USER, PAGE_UNCOVERED, 0);
  }
  return uncovered.menuId;
}

int pop_dialog() {
  if (menuTop < 0) {
    show_message(MESSAGE_INTERNAL, false, "### DIALOG UNDERFLOW ###");
    return 0;
  }
  if (menuStack[menuTop].dialog == nullptr) {
    show_message(MESSAGE_INTERNAL, false, "### pop_dialog, NO DIALOG AT TOP LEVEL ###");
    return 0;
  }
  drop_top_level();
  return 1;
}

int current_menu() {
  if (menuTop < 0) {
    show_message(MESSAGE_INTERNAL, false, "### current_menu: STACK IS EMPTY ###");
    return MENU_SHUTDOWN_CONFIRM;
  }
  return menuStack[menuTop].menuId;
}

HWND top_dialog() {
  for (int i = menuTop; i >= 0; --i) {
    if (menuStack[i].dialog != nullptr) return menuStack[i].dialog;
  }
  return nullptr;
}

bool dialog_is_active(DLGPROC dialogProc) {
  for (int i = menuTop; i >= 0; --i) {
    if (menuStack[i].dialog != nullptr) return menuStack[i].dialogProc == dialogProc;
  }
  return false;
}

int menu_stack_depth() { return menuTop + 1; }

void raise_page_windows() {
  // Only the pop-ups over the topmost page inside the main window: what
  // lies under that page stays covered by it.
  int lowest = 0;
  for (int i = menuTop; i >= 0; --i) {
    HWND page = menuStack[i].dialog;
    if (page != nullptr && IsWindow(page) && IsWindowVisible(page) &&
        (GetWindowLongPtrW(page, GWL_STYLE) & WS_CHILD) != 0) {
      lowest = i + 1;
      break;
    }
  }
  for (int i = lowest; i <= menuTop; ++i) {
    HWND page = menuStack[i].dialog;
    if (page == nullptr || !IsWindow(page) || !IsWindowVisible(page)) continue;
    SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void clear_menu_stack() {
  while (menuTop >= 0) {
    menuLevel& level = menuStack[menuTop];
    if (level.dialog != nullptr && IsWindow(level.dialog)) DestroyWindow(level.dialog);
    level = menuLevel{};
    --menuTop;
  }
  overflowLogged = false;
}

int send_to_top_dialog(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND dialog = top_dialog();
  if (dialog == nullptr) return 0;
  SendMessageW(dialog, message, wParam, lParam);
  return 1;
}

int post_to_top_dialog(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND dialog = top_dialog();
  if (dialog == nullptr) return 0;
  PostMessageW(dialog, message, wParam, lParam);
  return 1;
}

void open_menu(int menuId, int pageCode, bool replace) {
  request_menu(main_dialog, pageCode, menuId, nullptr, 0, replace);
}

void go_back(int pageCode) { request_menu(main_dialog, pageCode, MENU_GO_BACK, nullptr, 0, false); }

int post_key_to_page(int command) {
  if (command < KEY_UPPER_LEFT || command > KEY_LOWER_RIGHT) return 0;
  post_to_top_dialog(WM_USER, static_cast<WPARAM>(PAGE_KEY_UP + (command - KEY_UPPER_LEFT)), 0);
  return 1;
}

void post_main_command(int id, LPARAM value) {
  if (main_dialog != nullptr) PostMessageW(main_dialog, WM_COMMAND, static_cast<WPARAM>(id), value);
}

void defer_message(int kind, const char* text) {
  deferredMessage& d = deferred();
  std::lock_guard<std::mutex> hold(d.lock);
  d.kind = kind;
  d.text.assign(text != nullptr ? text : "", 0, text != nullptr ? strnlen(text, 255) : 0);
  d.pending = true;
}

int show_deferred_message() {
  deferredMessage& d = deferred();
  int kind;
  std::string text;
  {
    std::lock_guard<std::mutex> hold(d.lock);
    if (!d.pending) return 0;
    d.pending = false;
    kind = d.kind;
    text = d.text;
  }
  show_message(kind, false, "%s", text.c_str());
  return 1;
}

void set_menu_captions(HWND window, const wchar_t* c1, const wchar_t* c2, const wchar_t* c3, const wchar_t* c4,
                       int pageCode) {
  set_key_captions(window, c1, c2, c3, c4);
  if (pageCode != PAGE_NONE && window != nullptr) {
    PostMessageW(window, WM_COMMAND, PAGE_SHOWN_COMMAND, pageCode);
  }
  if (window != nullptr) ShowWindow(window, SW_SHOW);
}

void show_menu(HWND window, int pageCode, int menuId, DLGPROC dialogProc, int resourceId, bool replace) {
  // The stimulator link's message mode is its own: a menu change never
  // ends a message being received.
  if (menuId == MENU_GO_BACK) {
    pop_menu();
    if (pageCode != PAGE_NONE && window != nullptr) {
      PostMessageW(window, WM_COMMAND, PAGE_SHOWN_COMMAND, pageCode);
    }
    if (window != nullptr) ShowWindow(window, SW_SHOW);
    return;
  }
  if (replace) pop_menu();
  const int depth = menu_stack_depth();
  push_menu(menuId, dialogProc, resourceId);
  if (menu_stack_depth() == depth) return;  // refused: the keys stay the shown menu's
  set_menu_captions(window, menu_caption(menuId, 0), menu_caption(menuId, 1), menu_caption(menuId, 2),
                    menu_caption(menuId, 3), pageCode);
}

void run_menu_request() {
  menuRequest request;
  if (!take_menu_request(request)) return;
  show_menu(request.window, request.pageCode, request.menuId, request.dialogProc, request.resourceId,
            request.replace);
}
