// Windows shown over a samples list (the sample selection) close before the
// list goes. The windows layer installs the closer when it first shows such
// a window; until then there is nothing to close.
#ifndef DESKTOP_DATA_SAMPLES_VIEWS_H
#define DESKTOP_DATA_SAMPLES_VIEWS_H

class samplesListClass;

using samplesViewsCloser = void (*)(const samplesListClass* samples);
void install_samples_views_closer(samplesViewsCloser closer);

// Closes every window shown over samples.
void close_samples_views(const samplesListClass* samples);

#endif
