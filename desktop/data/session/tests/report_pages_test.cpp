#include <gtest/gtest.h>

#include "desktop/data/session/report_pages.h"

TEST(ReportPages, PaginationTable) {
  struct Case {
    int tests;
    double height;
    int rows;
    int headings;
    int per_page, test_pages, on_test_page, summary_pages;
  } cases[] = {
      // A4 portrait (297 mm): six tests a page.
      {1, 297, 10, 3, 6, 1, 10, 0},     // the whole table under one test
      {1, 297, 60, 3, 6, 1, 34, 1},     // 34 rows there (31 body), 26 left: one page
      {6, 297, 10, 3, 6, 1, 0, 1},      // a full page: the table on its own page
      {7, 297, 10, 3, 6, 2, 10, 0},
      {5, 297, 10, 3, 6, 1, 10, 0},     // 5 x 40 + 15 leaves 11 rows, more than 3 + 6
      {5, 297, 30, 3, 6, 1, 11, 1},
      {12, 297, 40, 3, 6, 2, 0, 2},     // 37 body rows: 33 + 4
      {6, 297, 36, 3, 6, 1, 0, 1},      // exactly 33 body rows: one page
      {0, 297, 10, 3, 6, 0, 0, 1},
      {3, 50, 10, 3, 1, 3, 0, 1},       // a page too short for a slot still takes one test
      {3, 10, 10, 3, 1, 3, 0, 1},
  };
  for (const Case& c : cases) {
    reportPages p = paginate_report(c.tests, c.height, c.rows, c.headings);
    EXPECT_EQ(p.per_page, c.per_page) << c.tests << " tests, " << c.height << " mm";
    EXPECT_EQ(p.test_pages, c.test_pages) << c.tests << " tests, " << c.height << " mm";
    EXPECT_EQ(p.rows_on_last_test_page, c.on_test_page) << c.tests << " tests, " << c.height << " mm";
    EXPECT_EQ(p.summary_pages, c.summary_pages) << c.tests << " tests, " << c.height << " mm";
    EXPECT_EQ(p.total, c.test_pages + c.summary_pages);
  }
}
