// make_path: checks, and on request creates, every folder of a path.
#ifndef DESKTOP_WINLIB_FILES_MAKE_PATH_H
#define DESKTOP_WINLIB_FILES_MAKE_PATH_H

// Walks the folders of path (the part after its last "\" is a file name and
// is not visited), entering each in turn. A folder that cannot be entered
// gives minus the length of the path built so far, unless create is set:
// then it is created (after a Yes of the box captioned with its name when
// ask is set; No gives the same negative result) and entered again, up to 5
// times with 100 ms waits. The first segments of a network path ("\\server
// \share") are not tested. Returns the offset of the file-name part, or a
// negative value when the path ended inside a network prefix. The current
// folder is left as it was found. Each step writes a trace line to standard
// output.
int make_path(const char* path, bool create, bool ask);

#endif
