// The library's start-up (register_window_classes) runs once for the whole
// window test program, before its first test, as the program's entry runs it.
#ifndef DESKTOP_WINLIB_TESTS_START_UP_ENVIRONMENT_H
#define DESKTOP_WINLIB_TESTS_START_UP_ENVIRONMENT_H

#include <string>
#include <vector>

// The messages the start-up showed.
const std::vector<std::string>& start_up_texts();

#endif
