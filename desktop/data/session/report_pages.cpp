#include "desktop/data/session/report_pages.h"

#include <algorithm>
#include <cmath>

reportPages paginate_report(int tests, double page_height_mm, int table_rows, int heading_rows) {
  reportPages pages;
  const double slots = std::trunc((page_height_mm - 20.0) / 40.0);
  // A page too short for a whole slot still takes one test.
  pages.per_page = slots >= 1.0 && slots < 1e6 ? static_cast<int>(slots) : 1;
  if (tests < 0) tests = 0;
  if (heading_rows < 0) heading_rows = 0;
  if (table_rows < heading_rows) table_rows = heading_rows;
  pages.test_pages = tests > 0 ? (tests - 1) / pages.per_page + 1 : 0;
  const int on_last = tests % pages.per_page;
  if (tests > 0 && on_last != 0) {
    const double fit = std::trunc((page_height_mm - (40.0 * on_last + 15.0)) / 7.0);
    if (fit > heading_rows + 6) pages.rows_on_last_test_page = static_cast<int>(std::min<double>(fit, table_rows));
  }
  // The summary pages print every body row the last test page did not.
  const int printed = pages.rows_on_last_test_page > 0 ? pages.rows_on_last_test_page - heading_rows : 0;
  const int left = table_rows - heading_rows - printed;
  pages.summary_pages = left > 0 ? (left + report_summary_page_rows - 1) / report_summary_page_rows : 0;
  pages.total = pages.test_pages + pages.summary_pages;
  return pages;
}
