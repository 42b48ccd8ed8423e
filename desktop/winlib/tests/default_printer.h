// The default printer of the test prefix: the project's PostScript printer on
// a file port (tools/wine-printer.sh sets it up). A print dialog that takes
// it without showing, the file it writes and the pages in that file.
#ifndef DESKTOP_WINLIB_TESTS_DEFAULT_PRINTER_H
#define DESKTOP_WINLIB_TESTS_DEFAULT_PRINTER_H

#include <windows.h>

#include <string>

// A print dialog that answers with the default printer.
BOOL default_printer_dialog(PRINTDLGA* record);
// The default printer's file port as a path this program can open; empty
// when the default printer does not print to a file.
std::string default_printer_file();
// The pages of a printed PostScript file; -1 when it cannot be read.
int printed_pages(const std::string& file);

#endif
