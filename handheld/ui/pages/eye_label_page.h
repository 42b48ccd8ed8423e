// The eye label page (dialog 152): four lines, the chosen one framed by
// asterisks: leave the label as it is, no eye label, OD, OS. UP and DOWN
// (PAGE_KEY_UP, PAGE_KEY_DOWN) move the choice; the menu's NEXT key applies it.
#ifndef HANDHELD_UI_PAGES_EYE_LABEL_PAGE_H
#define HANDHELD_UI_PAGES_EYE_LABEL_PAGE_H

#include <windows.h>

const int EYE_LABEL_DIALOG = 152;
const int EYE_LINE_LEAVE = 1166;
const int EYE_LINE_NONE = 1162;
const int EYE_LINE_OD = 1163;
const int EYE_LINE_OS = 1164;

// 0 leave as is, 1 no eye label, 2 OD, 3 OS (kept between openings).
extern int eye_choice;

INT_PTR CALLBACK eyeLabelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void show_eye_choices(HWND dialog);

#endif
