#include "desktop/data/samples_views.h"

namespace {

samplesViewsCloser views_closer = nullptr;

}  // namespace

void install_samples_views_closer(samplesViewsCloser closer) { views_closer = closer; }

void close_samples_views(const samplesListClass* samples) {
  if (views_closer) views_closer(samples);
}
