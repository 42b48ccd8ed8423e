// Browsing the stored tests: the file list with the directory dialog, a
// stored test's graph, the question before an empty folder is deleted, and
// the graph cursor and scale pages.
#ifndef HANDHELD_UI_MENUS_ROAD_FILES_H
#define HANDHELD_UI_MENUS_ROAD_FILES_H

#include <windows.h>

int file_list_menu(int command, LPARAM value);
int stored_test_menu(int command, LPARAM value);
int delete_folder_menu(int command, LPARAM value);
int graph_cursor_menu(int command, LPARAM value);
int graph_scale_menu(int command, LPARAM value);

// The plotter's paint while a browsed test is shown: its average and last
// sweep scaled together, the average's extremes marked and written.
void show_stored_test(HDC dc);

void install_road_file_menus();

#endif
