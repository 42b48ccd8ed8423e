// For pictures of a window test's screen: with ERG_PICTURE_PAUSE_MS set, a
// test that calls picture_pause keeps its windows alive (dispatching their
// messages) that many milliseconds, while a picture is taken from outside
// (import -window root). Without it, nothing happens.
#ifndef PICTURE_PAUSE_H
#define PICTURE_PAUSE_H

void picture_pause();

#endif
