// How a session report falls into pages: thumbnail slots of 40 mm from 15 mm
// down, the summary table's rows (7 mm) below the last test page's
// thumbnails when enough fit, then "REPORT SUMMARY" pages of at most 33 body
// rows. Portable.
#ifndef DESKTOP_DATA_SESSION_REPORT_PAGES_H
#define DESKTOP_DATA_SESSION_REPORT_PAGES_H

constexpr int report_summary_page_rows = 33;

struct reportPages {
  int per_page = 1;              // tests on a test page (at least one)
  int test_pages = 0;
  int rows_on_last_test_page = 0;  // table rows there, heading rows included; 0 for none
  int summary_pages = 0;
  int total = 0;                 // exactly the pages printed
};

// tests in the session, the page's printable height in mm, and the summary
// table's rows with its heading rows among them.
reportPages paginate_report(int tests, double page_height_mm, int table_rows, int heading_rows);

#endif
