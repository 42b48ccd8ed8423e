// The unit's 19 system parameters, one static table in the order the editor
// lists them, with the other settings kept beside them in the ini file: the
// recording channel switches (channel_selection.h) and the cfc id.
#ifndef HANDHELD_ENGINE_STORAGE_SYSTEM_PARAMETERS_H
#define HANDHELD_ENGINE_STORAGE_SYSTEM_PARAMETERS_H

#include <cstddef>
#include <cstdint>
#include <string>

struct systemParameter {
  const wchar_t* caption;
  const wchar_t* units;
  const char* key;            // "[LPFREQ]": compared exactly, case-sensitive
  double* value;
  double minimum;
  double maximum;
  double default_value;
  const wchar_t* help;
  const uint8_t* visible;     // null: always listed
};

enum systemParameterIndex {
  PARAM_LPFREQ,
  PARAM_NOTCHFREQ,
  PARAM_SAMPLES,
  PARAM_FLASHFILL,
  PARAM_BKGFILL,
  PARAM_MASTER,
  PARAM_NOISE,
  PARAM_STABAVERAGE,
  PARAM_STABSLOPE,
  PARAM_IMPEDANCE,
  PARAM_BACKLIGHT,
  PARAM_GRAPHRANGE,
  PARAM_GRAPHDATAPOINTS,
  PARAM_ODOS,
  PARAM_SHUTDOWN,
  PARAM_ND1,
  PARAM_ND2,
  PARAM_ND3,
  PARAM_DATASET,
  SYSTEM_PARAMETER_COUNT
};

extern systemParameter system_parameters[SYSTEM_PARAMETER_COUNT];

// The value of one parameter.
double system_parameter(systemParameterIndex index);

// Stores a value and updates what follows from it: the fill shares of
// [FLASHFILL] and [BKGFILL], the master switch of [MASTER], the idle
// shutdown's working copy of [SHUTDOWN]. No range check.
void store_system_parameter(systemParameterIndex index, double value);

// Every value back to its default (the derived values follow).
void copy_default_parameters();

// The idle shutdown's working copy of [SHUTDOWN] in minutes: 12 until the
// ini file or the editor stores [SHUTDOWN].
double shutdown_minutes();
void set_shutdown_minutes(double minutes);

// Visibility of the optional rows: [FLASHFILL] and [BKGFILL] with the fill-in
// option fitted, [MASTER] with the master/slave link fitted (both from the
// board option flags), [DATASET] when the cfc id's seventh character is 'c'
// or 'p'.
void update_parameter_visibility();
bool parameter_listed(systemParameterIndex index);

// The cfc id: one word of at most 31 characters, "NOT_SET" until the ini
// file gives one. It names the test folders and the log file.
constexpr size_t kCfcIdCharacters = 31;
std::string cfc_id();
// False (and the id unchanged) when the text is empty, longer than 31
// characters, or holds a character that is not allowed in a folder name
// ('\', '/', ':', '*', '?', '"', '<', '>', '|', a control character or a
// blank) or is "." or "..".
bool set_cfc_id(const char* text);
// Sets the id without the checks: the "NOT_SET" of start-up.
void reset_cfc_id();

#endif
