#include "handheld/ui/status/channel_cycle.h"

#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/protocols/interpreter_screen.h"

namespace {

struct selectionStep {
  bool a, b;
  int eyeA, eyeB;
};

const selectionStep kCycle[9] = {
    {true, true, kEyeNone, kEyeNone}, {true, true, kEyeOD, kEyeOS},    {true, true, kEyeOS, kEyeOD},
    {true, false, kEyeNone, kEyeNone}, {true, false, kEyeOD, kEyeNone}, {true, false, kEyeOS, kEyeNone},
    {false, true, kEyeNone, kEyeNone}, {false, true, kEyeNone, kEyeOD}, {false, true, kEyeNone, kEyeOS},
};

int eye_column(int code) { return code == kEyeOD ? 1 : code == kEyeOS ? 2 : 0; }

// Where the current selection stands in the cycle (-1 when it is not one
// of its steps).
int current_step() {
  const bool a = channels.a_on.load() != 0, b = channels.b_on.load() != 0;
  for (int i = 0; i < 9; ++i) {
    const selectionStep& s = kCycle[i];
    if (s.a != a || s.b != b) continue;
    if (a && b && s.eyeA == channels.eye_a.load() && s.eyeB == channels.eye_b.load()) return i;
    if (a && !b && s.eyeA == channels.eye_a.load()) return i;
    if (!a && b && s.eyeB == channels.eye_b.load()) return i;
  }
  return -1;
}

}  // namespace

const wchar_t* channel_label() {
  static const wchar_t* const both[3] = {L"        CHANNELS A AND B         ", L"    CHANNELS A(OD) AND B(OS)     ",
                                         L"    CHANNELS A(OS) AND B(OD)     "};
  static const wchar_t* const onlyA[3] = {L"         CHANNEL A ONLY         ", L"           CHANNEL A(OD)        ",
                                          L"           CHANNEL A(OS)        "};
  static const wchar_t* const onlyB[3] = {L"         CHANNEL B ONLY         ", L"          CHANNEL B(OD)         ",
                                          L"          CHANNEL B(OS)         "};
  const bool a = channels.a_on.load() != 0, b = channels.b_on.load() != 0;
  if (a && b) return both[eye_column(channels.eye_a.load())];
  if (a) return onlyA[eye_column(channels.eye_a.load())];
  if (b) return onlyB[eye_column(channels.eye_b.load())];
  return L"";
}

void show_channel_label() {
  const wchar_t* label = channel_label();
  if (label[0] != L'\0') interpreter_screen().row_text(5, -2, 0, label);
}

void next_channel_selection() {
  const int step = (current_step() + 1) % 9;
  const selectionStep& s = kCycle[step];
  if (s.a && s.b) {
    channels.current = 0;
  } else if (s.a) {
    channels.current = 0;
  } else {
    channels.current = 1;
  }
  channels.a_on = s.a ? 1 : 0;
  channels.b_on = s.b ? 1 : 0;
  channels.eye_a = s.eyeA;
  channels.eye_b = s.eyeB;
}
