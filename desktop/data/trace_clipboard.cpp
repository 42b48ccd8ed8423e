#include "desktop/data/trace_clipboard.h"

clipboardClass trace_clipboard;

bool traceClipboardClass::store(const traceClass* source, const char* name) {
  if (!load(source)) return false;
  if (name) {
    append_legend_text(name);
    set_label(name);
  }
  loaded_ = 1;
  return true;
}

const char* clipboardClass::type_tag() const {
  static const char tag[] = "CLP";
  return tag;
}

bool clipboardClass::store(const traceClass* source, const char* name) {
  if (!traceClipboardClass::store(source, name)) return false;
  held_ = 1;
  source_ = nullptr;
  return true;
}

bool clipboardClass::store_thumbnail(thumbnailClass* thumbnail, const traceClass* test_trace, const char* name) {
  if (!traceClipboardClass::store(test_trace, name)) return false;
  held_ = 1;
  source_ = thumbnail;
  return true;
}

void clipboardClass::forget_source(const thumbnailClass* thumbnail) {
  if (thumbnail && source_ == thumbnail) source_ = nullptr;
}
