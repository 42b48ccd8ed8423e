// The session report: the session's tests drawn as thumbnails at printer
// resolution, a few to a page, each page titled with the session's first
// test and numbered "page x of y"; then the session summary's table, below
// the last page's tests where it has room and on "REPORT SUMMARY" pages.
#ifndef DESKTOP_WINDOWS_SUMMARY_SESSION_REPORT_H
#define DESKTOP_WINDOWS_SUMMARY_SESSION_REPORT_H

class sessionPanelClass;
class summaryClass;

// Prints the report of the panel's session through the print dialog, with
// the given summary's table (none: a summary made for the report and
// deleted after it). False when the dialog was cancelled or the job failed
// (reported).
bool print_session_report(sessionPanelClass& panel, summaryClass* summary);

#endif
