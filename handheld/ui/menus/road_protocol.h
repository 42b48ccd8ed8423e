// Choosing what to run: the protocol page with its "READY" graph, the eye
// label, the session list, the test list, the custom test editor with the
// numeric value entry, and the pages that follow the choice of a program:
// the filter question and the version notice.
#ifndef HANDHELD_UI_MENUS_ROAD_PROTOCOL_H
#define HANDHELD_UI_MENUS_ROAD_PROTOCOL_H

#include <windows.h>

int protocol_page_menu(int command, LPARAM value);
int eye_label_menu(int command, LPARAM value);
int session_list_menu(int command, LPARAM value);
int test_list_menu(int command, LPARAM value);
int custom_test_menu(int command, LPARAM value);
int value_entry_menu(int command, LPARAM value);
int filter_question_menu(int command, LPARAM value);
int version_notice_menu(int command, LPARAM value);

// The protocol page's graph: the chosen protocol's name, "READY" and the
// filter labels.
void show_ready_graph(HDC dc);

// After a program is chosen and scanned: the version notice, the filter
// question, or back to the protocol page.
void check_program_versions();

void install_road_protocol_menus();

#endif
