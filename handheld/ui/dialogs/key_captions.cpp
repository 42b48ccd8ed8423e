#include "handheld/ui/dialogs/key_captions.h"

#include <wchar.h>

#include <atomic>

#include "handheld/engine/ids/handheld_ids.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/engine/stimulator/stimulator_reader.h"

namespace {

std::atomic<bool> blank[4];

}  // namespace

int control_of_stimulator_key(int byte) {
  switch (byte) {
    case '1': return KEY_UPPER_LEFT;
    case '2': return KEY_UPPER_RIGHT;
    case '3': return KEY_LOWER_LEFT;
    case '4': return KEY_LOWER_RIGHT;
    default: return 0;
  }
}

int stimulator_key_of_control(int control) {
  switch (control) {
    case KEY_UPPER_LEFT: return '1';
    case KEY_UPPER_RIGHT: return '2';
    case KEY_LOWER_LEFT: return '3';
    case KEY_LOWER_RIGHT: return '4';
    default: return 0;
  }
}

void set_key_caption(HWND dialog, int key, const wchar_t* caption) {
  if (key < 1 || key > 4) key = 4;
  if (caption == nullptr) caption = L"";
  const int control = 1000 + key;
  SetDlgItemTextW(dialog, control, caption);
  const bool empty = caption[0] == L'\0';
  blank[key - 1] = empty;
  set_stimulator_key_disabled(stimulator_key_of_control(control) - '0', empty);
}

void set_key_captions(HWND dialog, const wchar_t* c1, const wchar_t* c2, const wchar_t* c3, const wchar_t* c4) {
  set_key_caption(dialog, 1, c1);
  set_key_caption(dialog, 2, c2);
  set_key_caption(dialog, 3, c3);
  set_key_caption(dialog, 4, c4);
}

bool key_is_blank(int key) {
  if (key < 1 || key > 4) key = 4;
  return blank[key - 1];
}

void key_caption_text(int control, wchar_t* out, int capacity) {
  if (out == nullptr || capacity <= 0) return;
  out[0] = L'\0';
  if (main_dialog != nullptr) GetDlgItemTextW(main_dialog, control, out, capacity);
}

void save_key_captions(keyCaptions& saved) {
  for (int k = 0; k < 4; ++k) key_caption_text(KEY_UPPER_LEFT + k, saved.text[k], KEY_CAPTION_CHARACTERS);
}

void restore_key_captions(const keyCaptions& saved) {
  if (main_dialog == nullptr) return;
  for (int k = 0; k < 4; ++k) set_key_caption(main_dialog, k + 1, saved.text[k]);
}
