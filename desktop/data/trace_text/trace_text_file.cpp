#include "desktop/data/trace_text/trace_text_file.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "desktop/winlib/files/file_streams.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/files/path_names.h"
#include "platform/files/whole_file.h"

namespace {

constexpr const char* units_extension = ".cv_";
constexpr const char* units_title = "csvxy";
// Longest file name the proposal takes from a trace's label.
constexpr int proposal_name_limit = 260;
// Longest line read: far above the longest point line the writer makes
// (two of the largest doubles printed whole, about 640 characters). A longer
// line is refused, never cut, since a cut line parses as other numbers.
constexpr size_t line_limit = 65536;

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

enum class lineRead { end_of_file, line, too_long };

// Reads one whole line (its line feed kept) into line; a line longer than
// line_limit is passed over to its end and reported as too_long.
lineRead next_line(FILE* file, std::string& line) {
  line.clear();
  char chunk[512];
  bool too_long = false;
  while (std::fgets(chunk, sizeof chunk, file)) {
    size_t length = std::strlen(chunk);
    if (!too_long) line.append(chunk, length);
    if (line.size() > line_limit) {
      too_long = true;
      line.clear();
    }
    if (length > 0 && chunk[length - 1] == '\n') break;
  }
  if (too_long) return lineRead::too_long;
  return line.empty() ? lineRead::end_of_file : lineRead::line;
}

// One point of a line: two finite numbers.
bool parse_point(const std::string& line, bool csv, double& x, double& y) {
  int got = csv ? std::sscanf(line.c_str(), "%lg,%lg", &x, &y) : std::sscanf(line.c_str(), "%lg\t%lg", &x, &y);
  return got == 2 && std::isfinite(x) && std::isfinite(y);
}

// One point per line, up to limit points, up to the first line that is not
// two finite numbers. Returns the points read; too_long tells whether the
// reading ended at a line longer than line_limit.
int32_t read_points(FILE* file, bool csv, int32_t limit, double* xs, double* ys, bool* too_long = nullptr) {
  std::string line;
  int32_t n = 0;
  if (too_long) *too_long = false;
  while (n < limit) {
    lineRead got = next_line(file, line);
    if (got == lineRead::too_long && too_long) *too_long = true;
    double x = 0.0;
    double y = 0.0;
    if (got != lineRead::line || !parse_point(line, csv, x, y)) break;
    if (xs) xs[n] = x;
    if (ys) ys[n] = y;
    n++;
  }
  return n;
}

// Whether a point follows where the reading stopped.
bool point_follows(FILE* file, bool csv) {
  std::string line;
  double x = 0.0;
  double y = 0.0;
  return next_line(file, line) == lineRead::line && parse_point(line, csv, x, y);
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
  bool too_long = false;
  int32_t n = read_points(file, csv, limit, nullptr, nullptr, &too_long);
  bool cut = n == limit && point_follows(file, csv);
  std::fclose(file);
  if (cut) errormessage("*** [%s] HOLDS MORE THAN %d POINTS: ONLY THE FIRST %d ARE READ ***", path, limit, limit);
  if (too_long)
    errormessage("*** [%s] LINE %d IS LONGER THAN %d CHARACTERS: ONLY THE %d POINTS BEFORE IT ARE READ ***", path,
                 n + 1, static_cast<int>(line_limit), n);

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
