// The trace clipboard: one program-wide object through which a trace is
// copied between windows ("Trace Clipboard (TCOPY)" fills it, "Paste Trace
// (TPASTE)" and the drag of a thumbnail read it). It holds its own copy of
// the trace and never owns another one.
#ifndef DESKTOP_DATA_TRACE_CLIPBOARD_H
#define DESKTOP_DATA_TRACE_CLIPBOARD_H

#include <cstdint>

#include "desktop/data/trace.h"

class thumbnailClass;

class traceClipboardClass : public traceClass {
 public:
  traceClipboardClass() = default;

  // Loads a copy of source; with a name, the name is appended to the
  // legend text and becomes the label, else the label is the source's.
  // False (nothing loaded) for a null source.
  bool store(const traceClass* source, const char* name);

  bool loaded() const { return loaded_ != 0; }
  // The held trace when loaded, else null.
  const traceClass* loaded_trace() const { return loaded() ? this : nullptr; }

 private:
  uint8_t loaded_ = 0;
};

class clipboardClass : public traceClipboardClass {
 public:
  clipboardClass() = default;

  const char* type_tag() const override;

  // A trace of a window that is not a thumbnail: no source thumbnail.
  bool store(const traceClass* source, const char* name);
  // The test trace of a thumbnail, which becomes the source.
  bool store_thumbnail(thumbnailClass* thumbnail, const traceClass* test_trace, const char* name);

  // The thumbnail whose trace is held, or null.
  thumbnailClass* source_window() const { return source_; }
  bool held() const { return held_ != 0; }

  // A thumbnail being destroyed calls this: the clipboard keeps its copy of
  // the trace but no longer names that thumbnail as its source.
  void forget_source(const thumbnailClass* thumbnail);

 private:
  thumbnailClass* source_ = nullptr;
  uint8_t held_ = 0;
};

// The program's one trace clipboard.
extern clipboardClass trace_clipboard;

#endif
