// Printing a window: the real path to the project's PostScript printer under
// Wine, a memory page of a chosen size, and the failures of the dialog and
// the document calls. The page the real path writes is rendered and probed
// by check_printed_page.sh.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "desktop/winlib/controls/tests/control_test_window.h"
#include "desktop/winlib/tests/default_printer.h"
#include "desktop/winlib/tests/memory_bitmap.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/drawing/print_dialog_ui.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/winlib/drawing/text_drawing.h"

namespace {

// What the window's drawing saw, and a black box from (20, 30) to (60, 70) mm.
struct drawingSeen {
  int calls = 0;
  uint8_t flag = 0;
  paper scale;
};

void draw_box(HDC dc, const paper& scale, drawingSeen& seen) {
  ++seen.calls;
  seen.flag = printing_flag;
  seen.scale = scale;
  RECT box{scale.px_x(20.0), scale.px_y(30.0), scale.px_x(60.0), scale.px_y(70.0)};
  FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  TextOutA(dc, scale.px_x(20.0), scale.px_y(75.0), "printed page", 12);
  // A long line laid out to end at 150 mm by its extent on this context:
  // the page must show it ending there, whatever advances the printer's
  // font has of its own.
  HFONT font = CreateFontA(scale.px_y(4.0), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
  HGDIOBJ old = SelectObject(dc, font);
  const char* line = "[P01S01T0400A]   1Mar 2024 09:03:55 [P01S01T0400B]   1Mar 2024 09:04:12";
  SIZE extent = utf8_text_extent(dc, line, -1);
  utf8_text_out(dc, scale.px_x(150.0) - extent.cx, scale.px_y(85.0), line, -1);
  SelectObject(dc, old);
  DeleteObject(font);
}

// The handles a scripted dialog gave out.
struct handlesGiven {
  HDC dc = nullptr;
  HGLOBAL dev_mode = nullptr;
  HGLOBAL dev_names = nullptr;
};
handlesGiven given;

// The memory page the stand-in dialog prints on: 400 x 300 pixels that say
// they are 100 x 75 mm.
memoryBitmap* page = nullptr;

BOOL memory_dialog(PRINTDLGA* record) {
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, page->bitmap());
  record->hDC = dc;
  given.dc = dc;
  return TRUE;
}
int memory_caps(HDC, int index) {
  switch (index) {
    case HORZRES: return page->width();
    case VERTRES: return page->height();
    case HORZSIZE: return 100;
    case VERTSIZE: return 75;
    default: return 0;
  }
}
int accept_call(HDC) { return 1; }
int accept_doc(HDC, const DOCINFOA*) { return 1; }
int refuse_call(HDC) { return SP_ERROR; }
int refuse_doc(HDC, const DOCINFOA*) { return SP_ERROR; }

// The default printer without showing the dialog: the real device context.
BOOL recording_printer_dialog(PRINTDLGA* record) {
  BOOL ok = default_printer_dialog(record);
  given.dc = record->hDC;
  given.dev_mode = record->hDevMode;
  given.dev_names = record->hDevNames;
  return ok;
}

DWORD dialog_error = 0;
BOOL failing_dialog(PRINTDLGA*) { return FALSE; }
DWORD failing_error() { return dialog_error; }

class Printing : public ::testing::Test {
 protected:
  void SetUp() override {
    given = handlesGiven{};
    page = &memory;
    holder.painter = [this](HDC dc, const paper& scale) { draw_box(dc, scale, seen); };
  }
  void TearDown() override {
    print_dialog_ui_install(previous);
    page = nullptr;
  }
  void install(const print_dialog_calls& calls) { previous = print_dialog_ui_install(calls); }

  print_dialog_calls previous = print_dialog_ui();
  memoryBitmap memory{400, 300};
  testHolderWindow& holder = shared_holder();
  drawingSeen seen;
};

}  // namespace

// The real path: the default printer (the project's PostScript printer on a
// file port) prints one page; the file goes beside the test for
// check_printed_page.sh to render and probe.
TEST_F(Printing, AWindowPrintedToThePostScriptPrinterGivesOnePage) {
  std::string file = default_printer_file();
  ASSERT_FALSE(file.empty()) << "no default printer on a file port: tools/wine-printer.sh sets it up";
  DeleteFileA(file.c_str());
  install(print_dialog_calls{recording_printer_dialog, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr});
  message_capture capture;

  ASSERT_TRUE(print_window(holder.hwnd(), &holder, nullptr, "ignored"));

  EXPECT_TRUE(capture.texts().empty());
  EXPECT_EQ(seen.calls, 1);
  EXPECT_EQ(seen.flag, 1);
  EXPECT_EQ(printing_flag, 0);
  // Laid out on the whole printable area of the page.
  EXPECT_GT(printer_paper.x_px_per_mm, 5.0);
  EXPECT_EQ(seen.scale.x_px_per_mm, printer_paper.x_px_per_mm);
  EXPECT_EQ(seen.scale.width_px, printer_paper.width_px);
  // The job's device context and the dialog's memory are gone.
  EXPECT_EQ(GetObjectType(given.dc), 0u);
  ASSERT_NE(given.dev_mode, nullptr);
  EXPECT_EQ(GlobalFlags(given.dev_mode), static_cast<UINT>(GMEM_INVALID_HANDLE));
  EXPECT_EQ(GlobalFlags(given.dev_names), static_cast<UINT>(GMEM_INVALID_HANDLE));
  EXPECT_EQ(print_record().hDC, nullptr);
  EXPECT_EQ(print_record().hDevMode, nullptr);

  EXPECT_EQ(printed_pages(file), 1) << file;
  EXPECT_TRUE(CopyFileA(file.c_str(), "printed_window.ps", FALSE));
}

// A memory page of 100 x 75 mm at 4 pixels per millimetre: without a scale
// the window is laid out on the page; with its own scale (2 pixels per mm)
// it keeps that scale.
TEST_F(Printing, TheSameDrawingOnAMemoryPageAtAChosenScale) {
  install(print_dialog_calls{memory_dialog, nullptr, accept_doc, accept_call, accept_call, accept_call, accept_call,
                             memory_caps});
  struct row {
    bool own_scale;
    int inside_x, inside_y, outside_x, outside_y;
  };
  paper half;
  half.rescale(200, 150, 100, 75);
  for (row r : {row{false, 160, 200, 60, 100}, row{true, 80, 100, 160, 200}}) {
    SCOPED_TRACE(r.own_scale);
    memory.clear();
    ASSERT_TRUE(print_window(holder.hwnd(), &holder, r.own_scale ? &half : nullptr, "memory"));
    EXPECT_DOUBLE_EQ(printer_paper.x_px_per_mm, 4.0);
    EXPECT_DOUBLE_EQ(printer_paper.y_px_per_mm, 4.0);
    EXPECT_EQ(memory.at(r.inside_x, r.inside_y), RGB(0, 0, 0));
    EXPECT_NE(memory.at(r.outside_x, r.outside_y), RGB(0, 0, 0));
    EXPECT_NE(memory.at(390, 290), RGB(0, 0, 0));
    EXPECT_EQ(GetObjectType(given.dc), 0u);
  }
  EXPECT_EQ(printing_flag, 0);
}

// A failed StartDoc or StartPage is reported; nothing is drawn, the flag
// stays clear and the device context is freed.
TEST_F(Printing, AFailedDocumentStartIsReportedAndFreed) {
  struct row {
    int (*start_doc)(HDC, const DOCINFOA*);
    int (*start_page)(HDC);
    const char* message;
  };
  for (row r : {row{refuse_doc, accept_call, "*** print_begin: StartDoc failed ***"},
                row{accept_doc, refuse_call, "*** print_begin: StartPage failed ***"}}) {
    SCOPED_TRACE(r.message);
    install(print_dialog_calls{memory_dialog, nullptr, r.start_doc, r.start_page, accept_call, accept_call,
                               accept_call, memory_caps});
    message_capture capture;
    seen.calls = 0;
    EXPECT_FALSE(print_window(holder.hwnd(), &holder, nullptr, "x"));
    ASSERT_EQ(capture.texts().size(), 1u);
    EXPECT_EQ(capture.texts()[0].rfind(r.message, 0), 0u) << capture.texts()[0];
    EXPECT_EQ(seen.calls, 0);
    EXPECT_EQ(printing_flag, 0);
    EXPECT_EQ(GetObjectType(given.dc), 0u);
    print_dialog_ui_install(previous);
  }
}

// A cancelled dialog ends the job quietly; a failed one (no printer) is
// reported. Either way the printer record is left as it was.
TEST_F(Printing, ACancelIsQuietAndAFailedDialogIsReported) {
  install(print_dialog_calls{failing_dialog, failing_error, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr});
  printer_paper.rescale(1000, 2000, 50, 100);
  paper before = printer_paper;
  struct row {
    DWORD error;
    const char* message;
  };
  for (row r : {row{0, nullptr}, row{PDERR_NODEFAULTPRN, "*** print_setup: the print dialog failed ***\n"
                                                         "*** PDERR_NODEFAULTPRN (no printer is installed) ***"}}) {
    message_capture capture;
    dialog_error = r.error;
    EXPECT_FALSE(print_window(holder.hwnd(), &holder, nullptr, "x"));
    EXPECT_EQ(capture.texts(), r.message ? std::vector<std::string>{r.message} : std::vector<std::string>{});
    EXPECT_EQ(seen.calls, 0);
    EXPECT_EQ(printer_paper.x_px_per_mm, before.x_px_per_mm);
    EXPECT_EQ(printer_paper.height_mm, before.height_mm);
  }
}
