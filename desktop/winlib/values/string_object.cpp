#include "desktop/winlib/values/string_object.h"

#include <cstring>
#include <string>

#include "desktop/winlib/messages/quiet_report.h"
#include "desktop/winlib/values/value_format.h"

namespace {

constexpr const char* invalid_text = "***invalid***";

// Sets a flag for the time the text is made.
class formattingGuard {
 public:
  explicit formattingGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~formattingGuard() { flag_ = false; }
  formattingGuard(const formattingGuard&) = delete;
  formattingGuard& operator=(const formattingGuard&) = delete;

 private:
  bool& flag_;
};

}  // namespace

stringObjectClass::stringObjectClass(const char* initial) : linkClass(string_object_type, 1) {
  if (!initial) initial = "";
  int length = static_cast<int>(std::strlen(initial));
  if (length > value_text_limit) {
    report_error("*** stringObjectClass::reformat, BUFFER (%d < %d) OVERRUN ***", value_text_limit, length);
    length = value_text_limit;
  }
  format_.set_bytes(initial, length);
  changed_ = 1;
}

bool stringObjectClass::update() {
  if (!live_ || !changed_) return false;
  changed_ = 0;
  return true;
}

void stringObjectClass::set_format_text(const char* text) {
  format_.set(text);
  changed_ = 1;
}

void stringObjectClass::set_no_value(const linkClass* argument, std::function<bool()> test) {
  no_values_.emplace_back(argument, std::move(test));
  changed_ = 1;
}

const char* stringObjectClass::append_format(const char* text) {
  format_.append(text);
  changed_ = 1;
  return cvalue();
}

const char* stringObjectClass::invalid() {
  text_.set(invalid_text);
  return text_.text();
}

const char* stringObjectClass::cvalue() {
  if (formatting_) return text_.text();
  formattingGuard guard(formatting_);
  if (text_routine()) {
    const char* made = text_routine()(link_list());
    text_.set(made);
    return text_.text();
  }
  if (format_.length() == 0) {
    text_.set("");
    return text_.text();
  }
  if (link_count() == 0) return format_.text();

  // Texts are copied at once: making a later argument's value may pass a
  // change on and make an earlier text object's text anew.
  valueArgument args[value_argument_limit];
  std::string texts[value_argument_limit];
  int count = 0;
  for (referenceNodeClass* link = link_list(); link && count < value_argument_limit; link = link->next) {
    if (link->kind != referenceNodeClass::ARGUMENT || link->other == this) continue;
    valueArgument& arg = args[count];
    if (link->other->numeric_value(&arg.number)) {
      arg.is_text = false;
      for (const auto& hook : no_values_)
        if (hook.first == link->other && hook.second()) arg.none = true;
    } else if (const char* text = link->other->text_value()) {
      arg.is_text = true;
      texts[count] = text;
    } else {
      report_error("string::cvalue Type %d unknown", static_cast<int>(link->other->type()));
      return invalid();
    }
    ++count;
  }
  for (int i = 0; i < count; ++i) {
    if (args[i].is_text) args[i].text = texts[i].c_str();
  }
  int length = 0;
  switch (format_value_text(text_, format_.text(), args, count, &length)) {
    case valueFormatResult::formatted:
      return text_.text();
    case valueFormatResult::too_long:
      report_error("*** stringObjectClass::reformat, BUFFER (%d < %d) OVERRUN ***", value_text_limit, length);
      return invalid();
    case valueFormatResult::mismatch:
      break;
  }
  return invalid();
}
