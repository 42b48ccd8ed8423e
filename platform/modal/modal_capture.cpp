#include "platform/modal/modal_capture.h"

namespace {

modal_capture* active = nullptr;

std::string utf8(const wchar_t* text) {
  if (!text || !*text) return std::string();
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], n, nullptr, nullptr);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

}  // namespace

modal_capture::modal_capture() {
  previous_ = modal_ui_install(modal_ui_calls{on_message_box_w, on_message_box_a, nullptr});
  active = this;
}

modal_capture::~modal_capture() {
  active = nullptr;
  modal_ui_install(previous_);
}

void modal_capture::answer(int id) { answers_.push_back(id); }

int modal_capture::default_answer(UINT type) {
  static const int buttons[][3] = {
      {IDOK, 0, 0},                     // MB_OK
      {IDOK, IDCANCEL, 0},              // MB_OKCANCEL
      {IDABORT, IDRETRY, IDIGNORE},     // MB_ABORTRETRYIGNORE
      {IDYES, IDNO, IDCANCEL},          // MB_YESNOCANCEL
      {IDYES, IDNO, 0},                 // MB_YESNO
      {IDRETRY, IDCANCEL, 0},           // MB_RETRYCANCEL
      {IDCANCEL, IDTRYAGAIN, IDCONTINUE}// MB_CANCELTRYCONTINUE
  };
  UINT kind = type & MB_TYPEMASK;
  if (kind >= sizeof buttons / sizeof buttons[0]) kind = 0;
  UINT index = (type & MB_DEFMASK) >> 8;
  if (index > 2 || buttons[kind][index] == 0) index = 0;
  return buttons[kind][index];
}

int modal_capture::record(HWND owner, std::string text, std::string caption, UINT type) {
  bool scripted = !answers_.empty();
  int answer = scripted ? answers_.front() : default_answer(type);
  if (scripted) answers_.pop_front();
  records_.push_back(modal_record{owner, std::move(caption), std::move(text), type, answer, scripted});
  return answer;
}

int modal_capture::on_message_box_w(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
  return active->record(owner, utf8(text), utf8(caption), type);
}

int modal_capture::on_message_box_a(HWND owner, const char* text, const char* caption, UINT type) {
  return active->record(owner, text ? text : "", caption ? caption : "", type);
}
