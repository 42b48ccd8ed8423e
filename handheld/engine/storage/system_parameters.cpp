#include "handheld/engine/storage/system_parameters.h"

#include <cstring>
#include <mutex>

#include "handheld/engine/hardware/board_options.h"
#include "handheld/engine/acquisition/stimulus.h"

namespace {

double values[SYSTEM_PARAMETER_COUNT];
uint8_t fillInListed = 0;
uint8_t masterListed = 0;
uint8_t datasetListed = 0;
double shutdownWorkingCopy = 12;

std::mutex cfcLock;
std::string cfcId = "NOT_SET";

}  // namespace

systemParameter system_parameters[SYSTEM_PARAMETER_COUNT] = {
    {L"Low Pass Filter Cutoff (Hz)", L"Hz", "[LPFREQ]", &values[PARAM_LPFREQ], 2, 10000, 0,
     L"Enter cutoff frequency in Hz.\nEnter '0' for no\nlow pass filtering.", nullptr},
    {L"Notch Filter (Hz)", L"Hz", "[NOTCHFREQ]", &values[PARAM_NOTCHFREQ], 10, 200, 0,
     L"Enter notch frequency in Hz.\nEnter '0' for no\nnotch filtering.", nullptr},
    {L"Save all Samples (YES/NO)", L"YES/NO", "[SAMPLES]", &values[PARAM_SAMPLES], 0, 1, 1,
     L"Enter a non-zero number to\n save all test samples.", nullptr},
    {L"Flash Fill (Pct)", L"Pct", "[FLASHFILL]", &values[PARAM_FLASHFILL], 0, 100, 0,
     L"Enter the percentage of\nflash fill.\n", &fillInListed},
    {L"Background Fill (Pct)", L"Pct", "[BKGFILL]", &values[PARAM_BKGFILL], 0, 100, 0,
     L"Enter the percentage of\nbackground fill.\n", &fillInListed},
    {L"Master Enable (ON/OFF)", L"ON/OFF", "[MASTER]", &values[PARAM_MASTER], 0, 1, 1,
     L"'1' = MASTER, '0' = SLAVE\n", &masterListed},
    {L"Electrode Noise (uV)", L"uV", "[NOISE]", &values[PARAM_NOISE], 0, 500, 30,
     L"Enter the acceptable\nelectrode\nnoise level in uV.", nullptr},
    {L"Stabilization Zero (uV)", L"uV", "[STABAVERAGE]", &values[PARAM_STABAVERAGE], 0, 1000, 200,
     L"Enter the acceptable\ndeviation from zero\nfor stabilization, in uV.", nullptr},
    {L"Stabilization Slope (uV/Second)", L"uV/Second", "[STABSLOPE]", &values[PARAM_STABSLOPE], 0,
     400, 150, L"Enter the acceptable\nstabilization\nslope in uV/Second.", nullptr},
    {L"Acceptable Impedance (Ohms)", L"Ohms", "[IMPEDANCE]", &values[PARAM_IMPEDANCE], 100, 10000,
     5000, L"Enter the acceptable\nelectrode\nimpedance level in ohms.", nullptr},
    {L"Low Level Backlight (0..100)", L"(0..100)", "[BACKLIGHT]", &values[PARAM_BACKLIGHT], 0, 100,
     90, L"Enter the display low-light\nbackground level:\n\n0 = off\n100 = full.", nullptr},
    {L"Minimum Graph Range (uV)", L"uV", "[GRAPHRANGE]", &values[PARAM_GRAPHRANGE], 0, 100, 50,
     L"Enter the smallest plot range\ndesired in uV.", nullptr},
    {L"Graphed Datapoints", L"(0-5000)", "[GRAPHDATAPOINTS]", &values[PARAM_GRAPHDATAPOINTS], 0,
     5000, 300, L"Fewer datapoints means faster display\n0 = Show all datapoints.", nullptr},
    {L"OD/OS Panel (ON/OFF)", L"ON/OFF", "[ODOS]", &values[PARAM_ODOS], 0, 1, 1,
     L"Enter a non-zero number to see\n the od/os panel.\n(0 to hide the panel).", nullptr},
    {L"Shutdown Time (Min)", L"Min", "[SHUTDOWN]", &values[PARAM_SHUTDOWN], 5, 60, 30,
     L"Enter the new timeout \n\nshutdown value in minutes.", nullptr},
    {L"ND1 (Log)", L"Log", "[ND1]", &values[PARAM_ND1], 0.5, 2, 1,
     L"Enter the ND1 filter \n\ncalibration value.", nullptr},
    {L"ND2 (Log)", L"Log", "[ND2]", &values[PARAM_ND2], 1.5, 3, 2,
     L"Enter the ND2 filter \n\ncalibration value.", nullptr},
    {L"ND3 (Log)", L"Log", "[ND3]", &values[PARAM_ND3], 2.5, 4, 3,
     L"Enter the ND3 filter \n\ncalibration value.", nullptr},
    {L"dataset output (YES/NO)", L"YES/NO", "[DATASET]", &values[PARAM_DATASET], 0, 1, 0,
     L"Output dataset file?\n\n0/1", &datasetListed},
};

double system_parameter(systemParameterIndex index) { return *system_parameters[index].value; }

void store_system_parameter(systemParameterIndex index, double value) {
  *system_parameters[index].value = value;
  switch (index) {
    case PARAM_FLASHFILL:
      set_flash_fill_percent(value);
      break;
    case PARAM_BKGFILL:
      set_background_fill_percent(value);
      break;
    case PARAM_MASTER:
      master_enabled = value != 0 ? 1 : 0;
      break;
    case PARAM_SHUTDOWN:
      shutdownWorkingCopy = value;
      break;
    default:
      break;
  }
}

void copy_default_parameters() {
  for (int i = 0; i < SYSTEM_PARAMETER_COUNT; ++i) *system_parameters[i].value = system_parameters[i].default_value;
  set_flash_fill_percent(system_parameter(PARAM_FLASHFILL));
  set_background_fill_percent(system_parameter(PARAM_BKGFILL));
  master_enabled = system_parameter(PARAM_MASTER) != 0 ? 1 : 0;
  shutdownWorkingCopy = 12;
}

double shutdown_minutes() { return shutdownWorkingCopy; }
void set_shutdown_minutes(double minutes) { shutdownWorkingCopy = minutes; }

void update_parameter_visibility() {
  fillInListed = fill_in_fitted() ? 1 : 0;
  masterListed = master_link_fitted() ? 1 : 0;
  const std::string id = cfc_id();
  datasetListed = id.size() >= 7 && (id[6] == 'c' || id[6] == 'p') ? 1 : 0;
}

bool parameter_listed(systemParameterIndex index) {
  const uint8_t* flag = system_parameters[index].visible;
  return flag == nullptr || *flag != 0;
}

std::string cfc_id() {
  std::lock_guard<std::mutex> hold(cfcLock);
  return cfcId;
}

bool set_cfc_id(const char* text) {
  if (text == nullptr) return false;
  const size_t length = std::strlen(text);
  if (length == 0 || length > kCfcIdCharacters) return false;
  if (std::strcmp(text, ".") == 0 || std::strcmp(text, "..") == 0) return false;
  for (size_t i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c <= ' ' || c == 127 || std::strchr("\\/:*?\"<>|", c) != nullptr) return false;
  }
  {
    std::lock_guard<std::mutex> hold(cfcLock);
    cfcId = text;
  }
  update_parameter_visibility();
  return true;
}

void reset_cfc_id() {
  {
    std::lock_guard<std::mutex> hold(cfcLock);
    cfcId = "NOT_SET";
  }
  update_parameter_visibility();
}
