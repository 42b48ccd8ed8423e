// stringObjectClass: a value text. Its printf-style format is filled with up
// to four arguments taken from its ARGUMENT links in order: numbers from
// numeric value objects, texts from other value texts and text objects.
//
// A format that does not fit the arguments' kinds, or an argument that is
// neither, gives "***invalid***" (and, for the argument, a report).
#ifndef DESKTOP_WINLIB_VALUES_STRING_OBJECT_H
#define DESKTOP_WINLIB_VALUES_STRING_OBJECT_H

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/values/link_object.h"

constexpr uint32_t string_object_type = 9;

class stringObjectClass : public linkClass {
 public:
  // The initial text is the format (every object of the program starts
  // with an empty one).
  explicit stringObjectClass(const char* initial = "");

  // True, once, after the format changed, and only while the object is live.
  bool update() override;
  // Its current text.
  const char* text_value() override { return cvalue(); }

  // The current text, formatted again: with a text routine, the routine's
  // text; an empty format gives an empty text; an object without links
  // gives its format as it stands; else the format filled with the
  // arguments. Met again while its own text is being made (a cycle of
  // texts), it gives its last text.
  const char* cvalue();

  void set_format_text(const char* text);
  // While test holds, the number of the argument is no value: its
  // conversion shows "---" in the conversion's width.
  void set_no_value(const linkClass* argument, std::function<bool()> test);
  // Appends to the format; returns cvalue().
  const char* append_format(const char* text);

  const char* format_text() const { return format_.text(); }
  // The text made by the last cvalue().
  const char* last_text() const { return text_.text(); }

  void set_live(bool on) { live_ = on ? 1 : 0; }
  bool is_live() const { return live_ != 0; }
  void set_shown(bool on) { shown_ = on ? 1 : 0; }
  bool is_shown() const { return shown_ != 0; }
  bool is_changed() const { return changed_ != 0; }

 private:
  const char* invalid();

  uint8_t shown_ = 1;
  uint8_t changed_ = 1;  // the format changed since the last update
  uint8_t live_ = 1;     // updates are allowed
  byteObjectClass text_;
  byteObjectClass format_;
  bool formatting_ = false;
  std::vector<std::pair<const linkClass*, std::function<bool()>>> no_values_;
};

#endif
