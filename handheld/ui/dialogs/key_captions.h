// The four soft keys of the main dialog: their captions, saved and put
// back around a menu level, and their blank flags. Key 1 is the upper-left
// key (control KEY_UPPER_LEFT), 2 the lower-left (KEY_LOWER_LEFT), 3 the
// upper-right (KEY_UPPER_RIGHT), 4 the lower-right (KEY_LOWER_RIGHT). A key with an empty caption is blank: its
// stimulator key is ignored by the stimulator's reader.
#ifndef HANDHELD_UI_DIALOGS_KEY_CAPTIONS_H
#define HANDHELD_UI_DIALOGS_KEY_CAPTIONS_H

#include <windows.h>

#include "handheld/engine/ids/handheld_ids.h"

const int KEY_CAPTION_CHARACTERS = 64;  // a saved caption, terminator included
struct keyCaptions {
  wchar_t text[4][KEY_CAPTION_CHARACTERS];
};

// key 1..4 (any other number means 4).
void set_key_caption(HWND dialog, int key, const wchar_t* caption);
void set_key_captions(HWND dialog, const wchar_t* c1, const wchar_t* c2, const wchar_t* c3, const wchar_t* c4);
bool key_is_blank(int key);

// The main dialog's four captions.
void save_key_captions(keyCaptions& saved);
void restore_key_captions(const keyCaptions& saved);

// The caption of a key control (KEY_UPPER_LEFT..KEY_LOWER_RIGHT) of the
// main dialog, at most capacity - 1 characters.
void key_caption_text(int control, wchar_t* out, int capacity);

// The stimulator's key ('1'..'4') of a key control, and back: '1' is
// KEY_UPPER_LEFT, '2' KEY_UPPER_RIGHT, '3' KEY_LOWER_LEFT, '4'
// KEY_LOWER_RIGHT. 0 for anything else.
int control_of_stimulator_key(int byte);
int stimulator_key_of_control(int control);

#endif
