// Choosing what to run: the protocol page (1) with its "READY" graph, the
// eye label (36), the session list (7), the test list (4), the custom test
// editor (8) with the numeric value entry (18), and the pages that follow
// the choice of a program: the filter question (40) and the version notice
// (41).
#ifndef ROAD_PROTOCOL_H
#define ROAD_PROTOCOL_H

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
