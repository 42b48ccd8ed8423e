#include "handheld/ui/electrode_results.h"

#include <wchar.h>

#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/electrodes/electrode_measurements.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/ui/message_display.h"

namespace {

void set_result(HWND dialog, int item, double value, const wchar_t* format) {
  wchar_t text[32];
  if (value == MEASUREMENT_FAILED) {
    wcscpy(text, L"INVALID");
  } else {
    swprintf(text, sizeof text / sizeof text[0], format, value);
  }
  SetDlgItemTextW(dialog, item, text);
}

void show_impedances(HWND dialog) {
  const electrodeResults& r = electrode_results;
  const bool a = channels.a_on.load() != 0, b = channels.b_on.load() != 0;
  const wchar_t* ohms = L"%5.0lf ohms";
  if (a && b) {
    set_result(dialog, 1146, r.impedance_a_eye, ohms);
    set_result(dialog, 1145, r.impedance_a_ref, ohms);
    set_result(dialog, 1148, r.impedance_b_eye, ohms);
    set_result(dialog, 1147, r.impedance_b_ref, ohms);
    log_mesg("impedance A-eye %5.0lf, A-ref %5.0lf, B-eye %5.0lf, B-ref %5.0lf",
             r.impedance_a_eye.load(), r.impedance_a_ref.load(), r.impedance_b_eye.load(),
             r.impedance_b_ref.load());
  } else if (b) {
    SetDlgItemTextW(dialog, 1144, L"Channel B");
    set_result(dialog, 1143, r.impedance_b_eye, ohms);
    set_result(dialog, 1142, r.impedance_b_ref, ohms);
    log_mesg("impedance B-eye %5.0lf, B-ref %5.0lf", r.impedance_b_eye.load(),
             r.impedance_b_ref.load());
  } else {
    SetDlgItemTextW(dialog, 1144, L"Channel A");
    set_result(dialog, 1143, r.impedance_a_eye, ohms);
    set_result(dialog, 1142, r.impedance_a_ref, ohms);
    log_mesg("impedance A-eye %5.0lf, A-ref %5.0lf", r.impedance_a_eye.load(),
             r.impedance_a_ref.load());
  }
}

void show_baselines(HWND dialog) {
  const electrodeResults& r = electrode_results;
  const bool a = channels.a_on.load() != 0, b = channels.b_on.load() != 0;
  const wchar_t* uv = L"%4.1lf uV";
  if (a && b) {
    set_result(dialog, 1150, r.baseline_a, uv);
    set_result(dialog, 1151, r.baseline_b, uv);
    log_mesg("baseline A %4.1lf B %4.1lf", r.baseline_a.load(), r.baseline_b.load());
  } else if (b) {
    SetDlgItemTextW(dialog, 1149, L"Channel B");
    set_result(dialog, 1150, r.baseline_b, uv);
    log_mesg("baseline B %4.1lf", r.baseline_b.load());
  } else {
    SetDlgItemTextW(dialog, 1149, L"Channel A");
    set_result(dialog, 1150, r.baseline_a, uv);
    log_mesg("baseline A %4.1lf", r.baseline_a.load());
  }
}

INT_PTR result_page(HWND dialog, UINT message, WPARAM wParam, void (*show)(HWND)) {
  switch (message) {
    case WM_INITDIALOG:
      show(dialog);
      return TRUE;
    case WM_USER:
      if (wParam == PAGE_CLOSE) {
        DestroyWindow(dialog);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

INT_PTR CALLBACK impedanceResultProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  return result_page(dialog, message, wParam, show_impedances);
}

INT_PTR CALLBACK baselineResultProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  return result_page(dialog, message, wParam, show_baselines);
}
