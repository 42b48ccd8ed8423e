#include "desktop/winlib/drawing/colours.h"

#include "desktop/winlib/messages/quiet_report.h"

uint32_t colour_value(int index) {
  if (!valid_colour_index(index)) {
    report_error("### COLOUR INDEX %d OUT OF RANGE ###", index);
    return colour_table[5];
  }
  return colour_table[index];
}

const char* colour_name(int index) { return valid_colour_index(index) ? colour_names[index] : "?"; }
