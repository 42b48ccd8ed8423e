// How the engine's portable code shows an operator message. The user
// interface installs a handler that shows the text in its message dialog
// (with the kind as the message kind); until one is installed, the text is
// written to the log as an error trace line so that it is not lost.
#ifndef HANDHELD_ENGINE_LOG_ENGINE_MESSAGES_H
#define HANDHELD_ENGINE_LOG_ENGINE_MESSAGES_H

using show_message_handler = void (*)(int kind, const char* text);

// Installs the handler; null restores the default. Returns the previous one.
show_message_handler set_show_message_handler(show_message_handler handler);

// Formats (at most 511 characters) and passes the text to the handler.
void engine_show_message(int kind, const char* format, ...)
    __attribute__((format(gnu_printf, 2, 3)));

#endif
