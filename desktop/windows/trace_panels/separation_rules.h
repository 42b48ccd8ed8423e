// The separation panel's rule that needs no window: the offset a typed text
// stands for. Portable.
#ifndef DESKTOP_WINDOWS_TRACE_PANELS_SEPARATION_RULES_H
#define DESKTOP_WINDOWS_TRACE_PANELS_SEPARATION_RULES_H

// The number the text begins with ("%lg"); 0.0 for an empty text, one that
// does not begin with a number, or one whose number is not finite.
double separation_value(const char* text);

#endif
