// Painting one thumbnail: a generated test of 12000 points (10 sweeps, the
// filter chain switched on) in its thumbnail, painted into a memory bitmap
// the size of the thumbnail on the screen again and again. Prints the median
// and the fastest time of one paint. Needs a display (tools/bench.sh gives
// every benchmark but the session one a virtual display).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "desktop/data/filtered_trace.h"
#include "platform/modal/modal_ui.h"
#include "desktop/winlib/geometry/paper.h"
#include "tools/session_writer.h"
#include "desktop/data/test_file_reading.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/winlib/windows/window_classes.h"

namespace {

int box_to_stderr(HWND, const char* text, const char* caption, UINT) {
  std::fprintf(stderr, "[%s] %s\n", caption ? caption : "", text ? text : "");
  return IDOK;
}
int wide_box_to_stderr(HWND, const wchar_t* text, const wchar_t*, UINT) {
  std::fprintf(stderr, "%ls\n", text ? text : L"");
  return IDOK;
}

}  // namespace

int main() {
  modal_ui_install(modal_ui_calls{wide_box_to_stderr, box_to_stderr, nullptr});
  register_window_classes();

  sessionShape shape;
  shape.tests = 1;
  char temp[MAX_PATH] = "";
  GetTempPathA(sizeof temp, temp);
  const std::string folder = std::string(temp) + "erg_thumbnail_bench_" + std::to_string(GetCurrentProcessId());
  std::filesystem::create_directories(folder);
  const std::vector<std::string> paths = write_session(folder, shape);
  if (paths.empty()) return 1;

  int status = 0;
  {
    thumbnailClass thumb(nullptr, 1.0, 0, 0, paths[0].c_str(), test_source_pc);
    if (!thumb.loaded()) {
      std::fprintf(stderr, "the generated test did not load\n");
      status = 1;
    } else {
      {
        tracePlusClass::rebuildBatch batch(*thumb.document().entry());
        thumb.set_spike_filter(1);
        thumb.set_60hz_filter(1);
        thumb.set_50hz_filter(1);
        thumb.set_lowpass_filter(1);
      }
      const int points = thumb.document().entry()->active_trace()->get_count();
      HDC screen = GetDC(nullptr);
      HDC dc = CreateCompatibleDC(screen);
      const int width = screen_paper.scale_x(110.0), height = screen_paper.scale_y(30.0);
      HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
      HGDIOBJ old = SelectObject(dc, bitmap);
      thumb.measure(dc, screen_paper);
      std::vector<double> times;
      for (int i = 0; i < 60; i++) {
        PatBlt(dc, 0, 0, width, height, WHITENESS);
        const auto start = std::chrono::steady_clock::now();
        thumb.draw(dc, screen_paper);
        GdiFlush();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
      }
      std::sort(times.begin(), times.end());
      std::printf("thumbnail of %d points (%d by %d pixels), one paint: median %.2f ms, fastest %.2f ms\n", points,
                  width, height, times[times.size() / 2], times.front());
      SelectObject(dc, old);
      DeleteObject(bitmap);
      DeleteDC(dc);
      ReleaseDC(nullptr, screen);
    }
  }
  std::error_code error;
  std::filesystem::remove_all(folder, error);
  return status;
}
