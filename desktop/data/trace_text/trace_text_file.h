// Traces as plain text files, one point per line: the CSV form
// ("%5.1lf,%8.2lf\n") and the XY form ("%5.1lf \t %8.2lf\n"), with the
// axis units kept in a key/value side file (".cv_") beside the trace file.
// The points are the trace's stored values; the display's offsets and
// factors are not applied. Everything here is portable; the file dialogs
// that choose the files are in trace_text_dialogs.h.
#ifndef DESKTOP_DATA_TRACE_TEXT_TRACE_TEXT_FILE_H
#define DESKTOP_DATA_TRACE_TEXT_TRACE_TEXT_FILE_H

#include <cstdint>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/files/kv_bridge.h"
#include "desktop/data/trace.h"

// The form a file's extension asks for: "csv" the CSV form, "xy" and "txt"
// the XY form (any case); any other extension none.
enum class traceTextForm { csv, xy, unknown };
traceTextForm trace_text_form(const char* path);
// False, reported "*** UNRECOGNIZED FILE EXTENSION [%s] ***", for a path
// of no known form.
bool trace_text_form_known(const char* path);

// The side file of a trace file: the path up to the last "." of its file
// name, followed by ".cv_". Files written before kept their units in the
// path up to its first "." followed by ".cv_"; that name is still read.
void trace_units_file_name(const char* path, byteObjectClass& out);
void old_trace_units_file_name(const char* path, byteObjectClass& out);

// The axis units of a trace file ("unknown" until set or read).
class traceUnitsClass : public kvBridgeClass {
 public:
  traceUnitsClass();

  // Reads the side file of the trace file at path (the old name when only
  // that one exists); false, units left alone, when neither is there.
  bool load(const char* path);
  // Writes the side file of the trace file at path, titled "csvxy".
  bool save(const char* path);

  const char* x_unit() const { return x_unit_.text(); }
  const char* y_unit() const { return y_unit_.text(); }
  void set_x_unit(const char* text) { x_unit_.set(text); }
  void set_y_unit(const char* text) { y_unit_.set(text); }

 private:
  byteObjectClass x_unit_;
  byteObjectClass y_unit_;
};

// The dialog's proposal for saving a trace: the folder of the hint (up to
// and including its last "\" or ":"; "\" without a hint) followed by the
// trace's label (its legend text when the label is empty) made safe as a
// file name and ".csv". It is built within buffer (size bytes): the name is
// cut to make room, and a folder that leaves no room is not taken.
void trace_file_proposal(const traceClass& trace, const char* folder_hint, char* buffer, int size);

// Writes the trace to path in the form its extension asks for, then the
// side file with the trace's units. An extension of no known form is
// refused (trace_text_form_known) before anything is opened, so an existing
// file is never emptied. False (reported) on any failure.
bool write_trace_text_file(const char* path, const traceClass& trace);

// The most points a trace file gives (a trace of the program has some
// thousands).
constexpr int32_t trace_text_point_limit = 10000000;

// Reads a trace file: "%lg,%lg" per line for an extension "csv" (any case),
// "%lg\t%lg" for any other, up to the end of the file or the first line
// that does not give two finite numbers (at most limit points; a longer
// file is reported and cut; a line of more than 65536 characters is
// reported and ends the reading). The points go to a new trace
// (colour 0) named "base(extension)" after the file, with the units of its
// side file ("unknown" without one). Null, reported, when the file cannot
// be opened. The caller owns the trace.
traceClass* read_trace_text_file(const char* path, int32_t limit = trace_text_point_limit);

#endif
