// The four captions of every menu (keys KEY_UPPER_LEFT to KEY_LOWER_RIGHT),
// as data.
// "" marks a blank key.
#ifndef HANDHELD_UI_MENUS_MENU_CAPTIONS_H
#define HANDHELD_UI_MENUS_MENU_CAPTIONS_H

// Caption k (0..3) of a menu; "" for a menu outside 0..45.
const wchar_t* menu_caption(int menuId, int k);

#endif
