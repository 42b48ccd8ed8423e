// The text table on its own, in a plain window: selection in two roles,
// sorting as numbers and as text, scrolling, live cells, drawing with its
// hit test, and font fitting in a narrow box.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "desktop/winlib/values/double_objects.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/windows/table/table.h"
#include "desktop/winlib/drawing/text_drawing.h"
#include "desktop/winlib/windows/window_classes.h"

namespace {

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// A window that owns a table.
class holderWindow : public winTypeClass {
 public:
  holderWindow() : winTypeClass(nullptr, window_type::general) {
    set_hwnd(CreateWindowExA(0, "general", "table", WS_OVERLAPPEDWINDOW, 10, 10, 700, 400, nullptr, nullptr,
                             program_instance, nullptr));
    ShowWindow(hwnd(), SW_SHOW);
  }
  void draw(HDC, const paper&) override {}
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override {
    if (message == WM_PAINT) {
      PAINTSTRUCT ps;
      BeginPaint(hwnd(), &ps);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    return DefWindowProcA(hwnd(), message, wparam, lparam);
  }
};

// Three header rows and the data rows given, one column of numbers, one of
// names and a third column of row tags.
struct tableFixture {
  explicit tableFixture(const std::vector<std::pair<const char*, const char*>>& rows)
      : holder(new holderWindow),
        table(new tableClass(holder, static_cast<int>(rows.size()) + 3, 3, 3)) {
    const char* headings[3][3] = {{"number", "n", " "}, {"name", " ", " "}, {"tag", " ", " "}};
    for (int c = 0; c < 3; c++)
      for (int r = 0; r < 3; r++) table->set_cell_format(r, c, headings[c][r]);
    for (size_t i = 0; i < rows.size(); i++) {
      int r = static_cast<int>(i) + 3;
      table->set_cell_format(r, 0, rows[i].first);
      table->set_cell_format(r, 1, rows[i].second);
      table->cell(r, 1)->text_flag = 1;
      table->set_cell_format(r, 2, std::to_string(i).c_str());
    }
  }
  ~tableFixture() {
    delete table;
    delete holder;
  }
  std::vector<std::string> column(int c) const {
    std::vector<std::string> texts;
    for (int r = 3; r < table->row_count(); r++) texts.emplace_back(table->cell_text(r, c));
    return texts;
  }
  holderWindow* holder;
  tableClass* table;
};

}  // namespace

TEST(TextTable, CellsAreSelectedAndDeselectedInTwoRoles) {
  tableFixture f({{"3", "c"}, {"1", "a"}, {"2", "b"}});
  tableClass& t = *f.table;
  EXPECT_EQ(t.x_column(), -1);
  t.select_cell(3, 0, cell_role_x);
  EXPECT_EQ(t.cell(3, 0)->state, cell_role_x);
  EXPECT_EQ(t.x_column(), 0);
  // A second click with the other role deselects and gives no role.
  t.select_cell(3, 0, cell_role_y);
  EXPECT_EQ(t.cell(3, 0)->state, cell_unselected);
  EXPECT_TRUE(t.selection().empty());
  EXPECT_EQ(t.y_column(), -1);

  t.select_cell(4, 2, cell_role_y);
  EXPECT_EQ(t.y_column(), 2);
  // A column selected twice is in the selection twice.
  t.select_column(1, cell_role_x);
  t.select_column(1, cell_role_x);
  EXPECT_EQ(t.selection().size(), 7u);
  EXPECT_EQ(t.x_column(), 0);  // the first X cell named it
  // A header row selects nothing.
  t.select_cell(1, 0, cell_role_x);
  EXPECT_EQ(t.selection().size(), 7u);
  t.clear_selection();
  EXPECT_TRUE(t.selection().empty());
  EXPECT_EQ(t.x_column(), -1);
  EXPECT_EQ(t.y_column(), -1);
  for (int r = 3; r < 6; r++)
    for (int c = 0; c < 3; c++) EXPECT_EQ(t.cell(r, c)->state, cell_unselected);
}

TEST(TextTable, SortingMovesWholeRowsAndKeepsTheSelection) {
  tableFixture f({{"10", "beta"}, {"9", "Zulu"}, {"-1.5", "alpha"}, {"9", "Beta"}});
  tableClass& t = *f.table;
  t.select_cell(3, 1, cell_role_x);  // "beta"
  // By number, ascending; equal numbers keep their order.
  t.select_cell(0, 0, cell_role_x);  // a header row sorts
  EXPECT_EQ(f.column(0), (std::vector<std::string>{"-1.5", "9", "9", "10"}));
  EXPECT_EQ(f.column(2), (std::vector<std::string>{"2", "1", "3", "0"}));
  EXPECT_TRUE(t.order_changed());
  EXPECT_EQ(t.cell(6, 1)->state, cell_role_x);
  // By text, byte by byte: upper case first.
  t.sort_by_column(1);
  EXPECT_EQ(f.column(1), (std::vector<std::string>{"Beta", "Zulu", "alpha", "beta"}));

  // Equal numbers: nothing moves and the flag stays clear.
  tableFixture same({{"4", "x"}, {"4", "y"}, {"4", "z"}});
  same.table->sort_by_column(0);
  EXPECT_FALSE(same.table->order_changed());
  EXPECT_EQ(same.column(1), (std::vector<std::string>{"x", "y", "z"}));

  // A value routine takes the place of the text.
  tableFixture routine({{"a", "x"}, {"b", "y"}, {"c", "z"}});
  for (int r = 3; r < 6; r++) routine.table->cell(r, 0)->value_routine = [r](winTypeClass*) { return -r; };
  routine.table->sort_by_column(0);
  EXPECT_EQ(routine.column(0), (std::vector<std::string>{"c", "b", "a"}));
}

TEST(TextTable, ScrollingStopsAtBothEnds) {
  tableFixture f({{"1", "a"}, {"2", "b"}, {"3", "c"}});
  tableClass& t = *f.table;
  EXPECT_EQ(t.first_shown_row(), 3);
  t.scroll_back();
  EXPECT_EQ(t.first_shown_row(), 3);
  for (int i = 0; i < 5; i++) t.scroll_forward();
  EXPECT_EQ(t.first_shown_row(), 5);  // the last row
  t.scroll_back();
  EXPECT_EQ(t.first_shown_row(), 4);
  t.set_scroll_offset(99);
  EXPECT_EQ(t.first_shown_row(), 5);
  t.set_scroll_offset(-3);
  EXPECT_EQ(t.first_shown_row(), 3);
}

TEST(TextTable, BoundCellsFollowTheirValueAndOtherTextsStayAsSet) {
  tableFixture f({{"1", "P01%dS02%s.tst"}, {"2", "b"}});
  tableClass& t = *f.table;
  // A text with '%' is shown as it is, never used as a format.
  EXPECT_STREQ(t.cell_text(3, 1), "P01%dS02%s.tst");
  t.sort_by_column(1);
  EXPECT_STREQ(t.cell_text(3, 1), "P01%dS02%s.tst");

  doubleObject value;
  value.set_value(12.34);
  t.set_cell_format(3, 2, "%5.1lf");
  t.bind_cell(3, 2, &value);
  EXPECT_STREQ(t.cell_text(3, 2), " 12.3");
  pump();
  ValidateRect(f.holder->hwnd(), nullptr);
  value.set_value(-40.0);
  EXPECT_STREQ(t.cell_text(3, 2), "-40.0");
  // The change alone repaints the owner.
  RECT dirty{};
  EXPECT_TRUE(GetUpdateRect(f.holder->hwnd(), &dirty, FALSE));
}

TEST(TextTable, DrawingRecordsTheCellsItShowsAndFitsANarrowBox) {
  std::vector<std::pair<const char*, const char*>> rows;
  const char* numbers[] = {"1", "2", "3", "4", "5", "6", "7", "8"};
  for (const char* n : numbers) rows.emplace_back(n, "a rather long file name.tst");
  tableFixture f(rows);
  tableClass& t = *f.table;
  t.set_visible_rows(6);  // three header rows and three data rows
  t.scroll_forward();
  t.scroll_forward();  // data rows 5, 6, 7 in view
  paper scale;
  scale.set_from_window(f.holder->hwnd());
  HDC dc = GetDC(f.holder->hwnd());
  ASSERT_TRUE(t.draw(dc, 0.0, 0.0, scale.width_mm, 60.0, scale, nullptr));

  int row = -1, column = -1;
  // Row heights of 10 mm: the middle of the fifth row is row 6.
  ASSERT_TRUE(t.find_cell(1.0, 45.0, &row, &column));
  EXPECT_EQ(row, 6);
  EXPECT_EQ(column, 0);
  ASSERT_TRUE(t.find_cell(1.0, 5.0, &row, &column));
  EXPECT_EQ(row, 0);
  // Below the rows drawn, and in rows scrolled out of view, nothing.
  EXPECT_FALSE(t.find_cell(1.0, 65.0, &row, &column));
  t.scroll_back();
  t.scroll_back();
  ASSERT_TRUE(t.draw(dc, 0.0, 0.0, scale.width_mm, 60.0, scale, nullptr));
  ASSERT_TRUE(t.find_cell(1.0, 45.0, &row, &column));
  EXPECT_EQ(row, 4);
  EXPECT_EQ(t.column_at(scale.px_x(1.0), scale.px_y(5.0)), 0);
  EXPECT_EQ(t.column_at(scale.px_x(1.0), scale.px_y(45.0)), -1);

  // A box far too narrow for the texts: fitting ends at the narrowest font.
  ASSERT_TRUE(t.draw(dc, 0.0, 0.0, 3.0, 60.0, scale, nullptr));
  ASSERT_TRUE(t.draw(dc, 0.0, 0.0, 0.01, 0.5, scale, nullptr));
  ReleaseDC(f.holder->hwnd(), dc);
}

// A printed table on the default printer's own context (Wine's PostScript
// driver in the scripts' sessions; else a screen context stands in): every
// text drawn, measured as that printer prints it (a font's requested
// character width is ignored there), lies within its column. Texts fit by a
// smaller font while one is left, then by a cut ending in "...".
TEST(TextTable, PrintedTextsStayInTheirColumnsAsThePrinterPrintsThem) {
  const char* long_name = "P01S01T0100A-DEMO01 with a note far too long for any column.tst";
  std::vector<std::pair<const char*, const char*>> rows;
  for (int i = 0; i < 8; i++) rows.emplace_back("00|00:02:39.1", i % 2 ? long_name : "P01S01T0200A-DEMO01");
  tableFixture f(rows);
  tableClass& t = *f.table;
  char name[256] = {};
  DWORD size = sizeof name;
  HDC dc = GetDefaultPrinterA(name, &size) ? CreateDCA(nullptr, name, nullptr, nullptr) : nullptr;
  const bool printer = dc != nullptr;
  if (!printer) dc = GetDC(f.holder->hwnd());
  ASSERT_NE(dc, nullptr);
  paper page;
  ASSERT_TRUE(page.set_from_device(dc));

  struct {
    double width_mm;
    bool cut;  // a text had to be cut
  } boxes[] = {{400.0, false}, {120.0, false}, {40.0, true}, {12.0, true}};
  for (const auto& box : boxes) {
    ASSERT_TRUE(t.draw(dc, 18.0, 10.0, box.width_mm, t.row_count() * 7.0 - 5.0, page, nullptr));
    bool any_cut = false;
    for (int r = 0; r < t.row_count(); r++) {
      for (int c = 0; c < t.column_count(); c++) {
        const tableClass::drawnCell& drawn = t.drawn_cell(r, c);
        LOGFONTA as_printed = drawn.font;
        as_printed.lfWidth = 0;
        HFONT font = CreateFontIndirectA(&as_printed);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE extent = utf8_text_extent(dc, drawn.text.c_str(), -1);
        SelectObject(dc, old);
        DeleteObject(font);
        EXPECT_LE(extent.cx, drawn.right_px - drawn.left_px)
            << box.width_mm << " mm, row " << r << " column " << c << ": [" << drawn.text << "]";
        EXPECT_LE(drawn.right_px, page.px_x(18.0 + box.width_mm) + 1);
        if (drawn.text != t.cell_text(r, c)) {
          any_cut = true;
          EXPECT_TRUE(drawn.text.empty() || drawn.text.rfind("...") == drawn.text.size() - 3)
              << "[" << drawn.text << "] for [" << t.cell_text(r, c) << "]";
        }
      }
    }
    EXPECT_EQ(any_cut, box.cut) << box.width_mm << " mm";
  }
  if (printer)
    DeleteDC(dc);
  else
    ReleaseDC(f.holder->hwnd(), dc);
}
