// The desktop program's version, shown in its title and on printed reports;
// the title's suffix follows the build (device_link.h).
#ifndef DESKTOP_DATA_PROGRAM_VERSION_H
#define DESKTOP_DATA_PROGRAM_VERSION_H

constexpr double program_version = 4.38;

#endif
