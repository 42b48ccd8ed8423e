// The ini file "Storage Card\VANDU.ini": the channel switches, the cfc id
// and the 19 system parameters as "%s %lg" lines.
#ifndef HANDHELD_ENGINE_STORAGE_INI_FILE_H
#define HANDHELD_ENGINE_STORAGE_INI_FILE_H

// Reads the file over the current settings (the caller copies the defaults
// first). Missing: "-- NO INIT FILE --" is shown and false. A cfc id with a
// character not allowed in a folder name is refused with a message and the
// id stays "NOT_SET". A parameter line whose value is not a finite number
// is skipped (its value stays).
bool read_ini_file();

// Creates the file anew with the current settings; false when it cannot
// (the old file is then kept as it was).
bool write_ini_file();

#endif
