// The remote-control line's reader, a byte at a time: every byte but a
// carriage return is echoed while the typed line has room (a backspace
// always), and a carriage return runs the line. Each line's words hold no
// blank and come from the line.
#include <cstring>
#include <string>

#include "fuzz/fuzz_support.h"
#include "handheld/engine/remote/remote_commands.h"
#include "handheld/engine/remote/remote_line_capture.h"
#include "handheld/engine/remote/text_buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_card();
  reset_remote_line();
  remote_line_capture capture;
  int typed = 0;
  std::string line;
  for (size_t i = 0; i < size; ++i) {
    const uint8_t byte = data[i];
    if (byte == '\r') {
      const std::string text = line.substr(0, line.find('\0'));
      for (int n = 1; n <= 5; ++n) {
        textBuffer word;
        line_word(n, text.c_str(), word);
        FUZZ_CHECK(std::strchr(word.text(), ' ') == nullptr);
        FUZZ_CHECK(text.find(word.text()) != std::string::npos);
      }
      take_remote_byte(byte);
      capture.clear();
      typed = 0;
      line.clear();
      continue;
    }
    const size_t echoed = capture.text().size();
    take_remote_byte(byte);
    const std::string out = capture.text();
    bool echo = true;
    if (byte == 8) {
      if (typed > 0) line.pop_back();
      typed = typed > 0 ? typed - 1 : 0;
    } else if (typed >= REMOTE_LINE_LIMIT) {
      echo = false;
    } else {
      ++typed;
      line.push_back(static_cast<char>(byte));
    }
    FUZZ_CHECK(out.size() == echoed + (echo ? 1 : 0));
    if (echo) FUZZ_CHECK(static_cast<uint8_t>(out.back()) == byte);
  }
  reset_remote_line();
  return 0;
}
