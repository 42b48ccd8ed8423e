// The windows a window opens, and the few things it asks of its holder,
// when their library stands above its own in the link graph: a table of
// entries the program fills once at its start (register_all_openers) and
// lower libraries call, so that no library links one that links it back.
// An entry left empty reports "*** NO WINDOW OPENER: <entry> ***" when
// called and does nothing.
#ifndef DESKTOP_WINDOWS_OPENERS_WINDOW_OPENERS_H
#define DESKTOP_WINDOWS_OPENERS_WINDOW_OPENERS_H

class thumbnailClass;
class traceClass;
class winTypeClass;

struct windowOpeners {
  // The analysis windows of a thumbnail's test, at (x, y) pixels of the
  // screen; trace is the test's active trace.
  void (*measurement_graph)(thumbnailClass* test, int x, int y);
  void (*comparison_graph)(thumbnailClass* test);
  void (*op_panel)(thumbnailClass* test, const traceClass* trace, int x, int y);
  void (*spectrum)(thumbnailClass* test, const traceClass* trace, int x, int y);
  void (*band_pass)(thumbnailClass* test, const traceClass* trace, int x, int y);
  // The drag item of a thumbnail's trace (the trace clipboard holds it), at
  // (x, y) mm of the screen.
  void (*drag_item)(thumbnailClass* test, double x, double y);
  // The summary of a session panel: the open one refreshed and shown; a new
  // one in place of the open one.
  void (*show_summary)(winTypeClass* session);
  void (*open_summary)(winTypeClass* session);
  // The printed report of a session panel.
  void (*print_report)(winTypeClass* session);
  // A test locator window at (x, y) pixels of the screen.
  void (*test_locator)(int x, int y);
  // What a thumbnail asks of the session panel that holds it: its filter
  // menu checked after the thumbnail's filters, the thumbnail cut, the
  // thumbnail clipboard pasted before or after it.
  void (*session_filter_checks)(winTypeClass* session);
  void (*session_cut)(winTypeClass* session, thumbnailClass* test);
  void (*session_paste)(winTypeClass* session, thumbnailClass* reference, int before);
};

extern windowOpeners window_openers;

void report_missing_opener(const char* name);

// Calls entry with the arguments; an empty entry is reported under name.
template <typename... Params, typename... Args>
void call_opener(void (*entry)(Params...), const char* name, Args... args) {
  if (entry)
    entry(args...);
  else
    report_missing_opener(name);
}

#endif
