// The manual shutdown ("SHUTDOWN" on the shutdown confirmation): the run's
// time on the remote-control line and in the log, files flushed, and the
// main dialog told to end the program.
#ifndef HANDHELD_UI_FRAME_SHUTDOWN_H
#define HANDHELD_UI_FRAME_SHUTDOWN_H

void manual_shutdown();

#endif
