// Lets the compiler check printf-style calls of this library against their
// arguments. The formatting underneath follows C99 rules on both builds.
#ifndef DESKTOP_WINLIB_MESSAGES_PRINTF_CHECK_H
#define DESKTOP_WINLIB_MESSAGES_PRINTF_CHECK_H

#if defined(__MINGW32__)
#define ERG_PRINTF(format_index, first_arg) __attribute__((format(gnu_printf, format_index, first_arg)))
#else
#define ERG_PRINTF(format_index, first_arg) __attribute__((format(printf, format_index, first_arg)))
#endif

#endif
