#include "handheld/ui/menus/tests/setup_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "handheld/ui/main_dialog.h"
#include "handheld/ui/frame/main_window.h"
#include "handheld/ui/menu_request.h"
#include "platform/unit/sim_unit.h"

void SetupTest::SetUp() {
  VanduTest::SetUp();
  seen_ = remote_transcript().size();
  sim_stim_clear_logs();
}

void SetupTest::open(int menuId, int pageCode) {
  request_menu(main_dialog, pageCode, menuId, nullptr, 0, false);
  pump_until_idle(150);
}

void SetupTest::press(int control) {
  touch_key(control);
  pump_until_idle(150);
}

std::array<std::wstring, 4> SetupTest::captions() const {
  return {key_caption(KEY_UPPER_LEFT), key_caption(KEY_LOWER_LEFT), key_caption(KEY_UPPER_RIGHT), key_caption(KEY_LOWER_RIGHT)};
}

std::vector<std::string> SetupTest::messages() {
  const std::string line = remote_transcript();
  std::vector<std::string> found;
  size_t at = seen_;
  while ((at = line.find('[', at)) != std::string::npos) {
    const size_t end = line.find("]\r\n", at);
    if (end == std::string::npos) break;
    found.push_back(line.substr(at + 1, end - at - 1));
    at = end + 3;
  }
  seen_ = line.size();
  return found;
}

std::vector<std::string> SetupTest::stimulator_records() {
  std::vector<sim_stim_record> records(sim_stim_records(nullptr, 0));
  records.resize(sim_stim_records(records.data(), static_cast<uint32_t>(records.size())));
  sim_stim_clear_logs();
  std::vector<std::string> texts;
  for (const sim_stim_record& r : records) {
    const uint32_t n = r.length < SIM_STIM_RECORD_BYTES ? r.length : SIM_STIM_RECORD_BYTES;
    texts.emplace_back(reinterpret_cast<const char*>(r.bytes), n);
  }
  return texts;
}

void SetupTest::save_screen(const char* name) const {
  const char* folder = std::getenv("ERG_PICTURES");
  if (folder == nullptr || *folder == '\0') return;
  // From the screen, where the pages lie over the main window.
  pump_until_idle(100);
  POINT origin{0, 0};
  ClientToScreen(main_window, &origin);
  std::vector<uint32_t> pixels(240 * 320, 0);
  HDC screen = GetDC(nullptr);
  for (int y = 0; y < 320; ++y) {
    for (int x = 0; x < 240; ++x) {
      const COLORREF c = GetPixel(screen, origin.x + x, origin.y + y);
      pixels[y * 240 + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
  }
  ReleaseDC(nullptr, screen);
  const std::string path = std::string(folder) + "/" + name + ".ppm";
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return;
  std::fprintf(file, "P6\n240 320\n255\n");
  for (uint32_t p : pixels) {
    const unsigned char rgb[3] = {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                                  static_cast<unsigned char>(p)};
    std::fwrite(rgb, 1, 3, file);
  }
  std::fclose(file);
}
