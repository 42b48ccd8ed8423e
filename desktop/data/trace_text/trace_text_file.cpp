#include "trace_text_file.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "file_streams.h"
#include "messages.h"
#include "path_names.h"
#include "whole_file.h"

namespace {

constexpr const char* units_extension = ".cv_";
constexpr const char* units_title = "csvxy";
// Longest file name the proposal takes from a trace's label.
constexpr int proposal_name_limit = 260;
// Longest line read; the rest of a longer line is passed over.
constexpr int line_size = 512;

// The text after the last "\", "/" or ":".
const char* after_last_separator(const char* path) {
  const char* name = path;
  for (const char* p = path; *p; p++) {
    if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
  }
  return name;
}

// The extension of the file name itself (empty when it has none).
const char* name_extension(const char* path) {
  const char* dot = std::strrchr(after_last_separator(path), '.');
  return dot ? dot + 1 : "";
}

bool extension_is(const char* path, const char* extension) {
  return byteObjectClass(name_extension(path)).equals_nocase(extension);
}

bool is_csv(const char* path) { return extension_is(path, "csv"); }

// Reads one whole line into buffer (cut to its size); false at the end of
// the file.
bool next_line(FILE* file, char* buffer, int size) {
  if (!std::fgets(buffer, size, file)) return false;
  size_t length = std::strlen(buffer);
  if (length > 0 && buffer[length - 1] != '\n') {
    for (int c = std::fgetc(file); c != EOF && c != '\n';) c = std::fgetc(file);
  }
  return true;
}

// One point per line, up to limit points, up to the first line that is not
// two finite numbers. Returns the points read.
int32_t read_points(FILE* file, bool csv, int32_t limit, double* xs, double* ys) {
  char line[line_size];
  int32_t n = 0;
  while (n < limit && next_line(file, line, sizeof line)) {
    double x = 0.0;
    double y = 0.0;
    int got = csv ? std::sscanf(line, "%lg,%lg", &x, &y) : std::sscanf(line, "%lg\t%lg", &x, &y);
    if (got != 2 || !std::isfinite(x) || !std::isfinite(y)) break;
    if (xs) xs[n] = x;
    if (ys) ys[n] = y;
    n++;
  }
  return n;
}

FILE* open_pass(const char* path, int pass) {
  FILE* file = std::fopen(path, "r");
  if (!file) errormessage("*** UNABLE TO OPEN [%s]\n on pass %d ***", path, pass);
  return file;
}

}  // namespace

traceTextForm trace_text_form(const char* path) {
  if (!path) return traceTextForm::unknown;
  if (is_csv(path)) return traceTextForm::csv;
  if (extension_is(path, "xy") || extension_is(path, "txt")) return traceTextForm::xy;
  return traceTextForm::unknown;
}

bool trace_text_form_known(const char* path) {
  if (trace_text_form(path) != traceTextForm::unknown) return true;
  errormessage("*** UNRECOGNIZED FILE EXTENSION [%s] ***", path ? name_extension(path) : "");
  return false;
}

void trace_units_file_name(const char* path, byteObjectClass& out) {
  strip_name_extension(path, out);
  out.append(units_extension);
}

void old_trace_units_file_name(const char* path, byteObjectClass& out) {
  strip_extension(path, out);
  out.append(units_extension);
}

traceUnitsClass::traceUnitsClass() : x_unit_("unknown"), y_unit_("unknown") {
  add_entry("xunits", kv_byte_object, &x_unit_);
  add_entry("yunits", kv_byte_object, &y_unit_);
}

bool traceUnitsClass::load(const char* path) {
  byteObjectClass name;
  trace_units_file_name(path, name);
  if (!file_exists(name.text())) old_trace_units_file_name(path, name);
  return file_exists(name.text()) && load_file(name.text());
}

bool traceUnitsClass::save(const char* path) {
  byteObjectClass name;
  trace_units_file_name(path, name);
  return save_file(name.text(), units_title);
}

void trace_file_proposal(const traceClass& trace, const char* folder_hint, char* buffer, int size) {
  if (!buffer || size < 1) return;
  buffer[0] = 0;
  byteObjectClass folder("\\");
  if (folder_hint && *folder_hint) path_directory(folder_hint, folder);
  const char* extension = ".csv";
  int room = size - 1 - static_cast<int>(std::strlen(extension));
  if (folder.length() > room) folder.set("");
  if (room < 0) return;

  const char* source = *trace.label() ? trace.label() : trace.legend_text();
  char name[proposal_name_limit + 1];
  make_safe_file_name(source, name, sizeof name);
  int name_room = room - folder.length();
  if (static_cast<int>(std::strlen(name)) > name_room) name[name_room] = 0;
  std::snprintf(buffer, static_cast<size_t>(size), "%s%s%s", folder.text(), name, extension);
}

bool write_trace_text_file(const char* path, const traceClass& trace) {
  if (!trace_text_form_known(path)) return false;
  traceTextForm form = trace_text_form(path);
  const char* format = form == traceTextForm::csv ? "%5.1lf,%8.2lf\n" : "%5.1lf \t %8.2lf\n";
  wholeFileStep failed = wholeFileStep::none;
  const bool written = write_file_whole(
      path, "wb",
      [&](FILE* file) {
        for (int32_t i = 0; i < trace.get_count(); i++) {
          if (std::fprintf(file, format, trace.x_at(i), trace.y_at(i)) <= 0) return false;
        }
        return true;
      },
      &failed);
  if (failed == wholeFileStep::open) {
    errormessage("*** UNABLE TO CREATE FILE [%s] ***", path);
    return false;
  }
  if (!written) {
    errormessage("*** WRITE TO [%s] FAILED ***\n%s", path, whole_file_step_text(failed));
    return false;
  }
  traceUnitsClass units;
  units.set_x_unit(trace.x_units());
  units.set_y_unit(trace.y_units());
  return units.save(path);
}

traceClass* read_trace_text_file(const char* path, int32_t limit) {
  if (!path) path = "";
  bool csv = is_csv(path);
  FILE* file = open_pass(path, 1);
  if (!file) return nullptr;
  if (limit < 0) limit = 0;
  int32_t n = read_points(file, csv, limit, nullptr, nullptr);
  char line[line_size];
  bool cut = n == limit && next_line(file, line, sizeof line);
  std::fclose(file);
  if (cut) errormessage("*** [%s] HOLDS MORE THAN %d POINTS: ONLY THE FIRST %d ARE READ ***", path, limit, limit);

  std::vector<double> xs(static_cast<size_t>(n));
  std::vector<double> ys(static_cast<size_t>(n));
  file = open_pass(path, 2);
  if (!file) return nullptr;
  // The file may have changed between the passes: only what this pass
  // really read is taken.
  int32_t read = read_points(file, csv, n, xs.data(), ys.data());
  std::fclose(file);

  traceClass* trace = new traceClass;
  trace->set_data(0, xs.data(), ys.data(), read);

  byteObjectClass base;
  strip_name_extension(path, base);
  byteObjectClass name(after_last_separator(base.text()));
  name.append("(");
  name.append(name_extension(path));
  name.append(")");
  trace->set_label(name.text());
  trace->set_name(name.text());

  traceUnitsClass units;
  units.load(path);
  trace->set_x_units(units.x_unit());
  trace->set_y_units(units.y_unit());
  return trace;
}
