// Fills the window openers' table with the program's windows: the program
// calls it once at its start, and so do the tests that open windows through
// the table.
#ifndef DESKTOP_WINDOWS_OPENERS_REGISTER_OPENERS_H
#define DESKTOP_WINDOWS_OPENERS_REGISTER_OPENERS_H

void register_all_openers();

#endif
