// The session report: the session's tests drawn as thumbnails at printer
// resolution, a few to a page, each page titled with the session's first
// test and numbered "page x of y".
#ifndef SESSION_REPORT_H
#define SESSION_REPORT_H

class sessionPanelClass;

// Prints the report of the panel's session through the print dialog. False
// when the dialog was cancelled or the job failed (reported).
bool print_session_report(sessionPanelClass& panel);

#endif
