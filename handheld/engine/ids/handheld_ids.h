// The handheld's ids, named here once: the soft-key menus (their numbers
// are the menu table's), the page codes a menu is shown with, the commands
// the main dialog takes and the codes of its internal command, the kinds
// of the notices other threads post it, and how a run's end is told. The
// engine's threads and the user interface both speak these numbers on the
// main dialog's messages, so this header stands below both.
#ifndef HANDHELD_ENGINE_IDS_HANDHELD_IDS_H
#define HANDHELD_ENGINE_IDS_HANDHELD_IDS_H

#include <stdint.h>

// The soft-key menus, by their role in the menu table.
enum menuIds : int {
  MENU_MAIN = 0,                       // main menu with the status page
  MENU_PROTOCOL_PAGE = 1,              // protocol page (captions set when shown)
  MENU_SYSTEM_SETUP = 2,               // system set-up
  MENU_AFTER_TEST = 3,                 // after a test
  MENU_TEST_LIST = 4,                  // test list
  MENU_IMPEDANCE_RUNNING = 5,          // impedance measurement running
  MENU_CALIBRATION_CHOICE = 6,         // calibration choice
  MENU_SESSION_LIST = 7,               // session (protocol) list
  MENU_CUSTOM_TEST = 8,                // custom test editor
  MENU_IMPEDANCE_CALIBRATION = 9,      // impedance calibration
  MENU_RESTORE_DEFAULTS = 10,          // restore factory parameter defaults
  MENU_DATA_CALIBRATION = 11,          // data calibration
  MENU_DATA_CALIBRATION_CHOICE = 12,   // data calibration choice
  MENU_ELECTRODES = 13,                // electrodes
  MENU_SET_TIME = 14,                  // set time (date/time page)
  MENU_DELETE_FOLDER = 15,             // delete an empty folder
  MENU_BASELINE_RUNNING = 16,          // baseline measurement running
  MENU_MESSAGE = 17,                   // message page
  MENU_VALUE_ENTRY = 18,               // numeric value entry
  MENU_SHUTDOWN_CONFIRM = 19,          // shutdown confirmation
  MENU_RUNNING = 20,                   // test running
  MENU_FILE_LIST = 21,                 // file list
  MENU_RESULT_GRAPH = 22,              // result graph
  MENU_GRAPH_CURSOR = 23,              // cursor on a graph
  MENU_GRAPH_SCALE = 24,               // graph scale
  MENU_FLASH_CALIBRATION = 25,         // flash calibration
  MENU_BACKGROUND_CALIBRATION = 26,    // background calibration
  MENU_CALIBRATION_ENTRY = 27,         // calibration entry
  MENU_ID_ENTRY = 28,                  // patient number and test id entry
  MENU_DATA_CHANNEL = 29,              // channel choice for data calibration
  MENU_IMPEDANCE_ELECTRODE = 30,       // electrode choice for impedance calibration
  MENU_CALIBRATION_VALUES = 31,        // calibration values file
  MENU_CALIBRATION_OTHER = 32,         // calibration values, other
  MENU_WAITING = 33,                   // waiting page
  MENU_ENTRY_PAGE = 34,                // entry page
  MENU_CALIBRATION_MESSAGE = 35,       // message page of the auto-calibration mode
  MENU_EYE_LABEL = 36,                 // eye label choice
  MENU_PARAMETER_LIST = 37,            // system parameter list
  MENU_PARAMETER_EDIT = 38,            // edit one system parameter
  MENU_PARAMETER_CONFIRM = 39,         // confirm a value
  MENU_FILTER_QUESTION = 40,           // yes/no question
  MENU_VERSION_NOTICE = 41,            // version incompatibility notice
  MENU_ELECTRODE_MONITOR = 42,         // electrode monitor window
  MENU_ELECTRODES_SINGLE_DOME = 43,    // electrodes (single dome)
  MENU_DOME = 44,                      // dome choice
  MENU_ELECTRODES_FILL_IN = 45,        // electrodes (fill-in fitted)
  MENU_COUNT = 46,                     // menus 0..45
  MENU_GO_BACK = 46,                   // not a menu: pop the current one
};

// The page codes: the value of the page-shown command a menu change posts,
// by which the menu shown decides what to set up.
enum pageCodes : int {
  PAGE_NONE = 9,                  // post no page-shown command
  PAGE_DEFAULT = 17,              // a menu opened afresh
  PAGE_NOTHING = 21,              // come back to a page already set up
  PAGE_CHOSEN = 22,               // a program chosen (or a value taken) below
  PAGE_EYE_LABEL = 27,            // to the eye label choice
  PAGE_VALUE_STORED = 33,         // back from the numeric value entry
  PAGE_RUN = 34,                  // "Run Protocol" pressed
  // 35 and 38 are the file list's own commands, given back as page codes
  // (BROWSE_DELETE_TEST, BROWSE_DELETE_FOLDER, directory_browser.h).
  PAGE_BACKGROUND_CALIBRATION = 39,
  PAGE_FLASH_CALIBRATION = 40,
  PAGE_CALIBRATION = 46,          // a calibration started from its choice
  PAGE_TIME_SET = 47,             // back from the date and time page, clock set
  PAGE_PATIENT_ENTRY = 48,        // the id entry for a patient and test id
  PAGE_SERIAL_ENTRY = 49,         // the id entry for the unit's serial number
  PAGE_CLOSE_MESSAGE = 50,        // back from the entry's message page
  PAGE_FROM_ELECTRODES = 53,
  PAGE_BACK_FROM_MESSAGE = 54,    // back from the message page
};

// The notices (WM_USER, the notice in wParam) a menu sends the page dialog
// on top: the soft keys passed on in their order (upper left first), the
// list pages' select, close, and shown again when the page above closed.
enum pageNotices : int {
  PAGE_CLOSE = 6,
  PAGE_KEY_UP = 18,                // upper left key
  PAGE_KEY_DOWN = 19,              // lower left key
  PAGE_KEY_TAB = 20,               // upper right key
  PAGE_KEY_DONE = 21,              // lower right key
  PAGE_SELECT = 22,                // a list page's select (edit) key
  PAGE_UNCOVERED = 36,
};

// Commands (WM_COMMAND ids) the main dialog takes: the four soft keys, the
// page-shown command (its value the page code) and the internal command
// that a page dialog or worker posts (its value one of internalCodes).
enum mainCommands : int {
  PAGE_SHOWN_COMMAND = 7,
  MAIN_INTERNAL_COMMAND = 11,
  KEY_UPPER_LEFT = 1001,
  KEY_LOWER_LEFT = 1002,
  KEY_UPPER_RIGHT = 1003,
  KEY_LOWER_RIGHT = 1004,
};

// The codes of the internal command.
enum internalCodes : int {
  ENTRY_DONE = 0,                  // the id entry page's "OK"
  LIST_OPEN_NEXT = 19,             // a list page opens the next list
  VALUE_PAGE_DONE = 21,            // the numeric value entry is done
  LIST_PROGRAM_CHOSEN = 22,        // a list page chose a program
  PAGE_SHOW_BROWSED_TEST = 22,     // the file list shows the chosen test
  PAGE_ASK_DELETE_FOLDER = 38,     // the file list asks to delete an empty folder
  CALIBRATION_POINTS_TAKEN = 42,   // the keypad took all of a calibration's points
  DATE_TIME_SAVE = 47,             // the date and time page set the clock
  ELECTRODE_DONE_CODE = 52,        // an electrode measurement ended
};

// The kinds (wParam) of the WM_USER notices posted to the main dialog, and
// the one the electrode monitor posts to the top dialog.
enum noticeKinds : uintptr_t {
  NOTICE_STIMULATOR_BYTE = 1,      // lParam: one byte from the stimulator
  ELECTRODE_VALUES_READY = 2,      // to the top dialog: the monitor's values
  NOTICE_ID_TYPE = 3,              // lParam: a stimulator message's id type
  NOTICE_STIMULATOR_MESSAGE = 4,   // lParam: the id of a complete message
  NOTICE_TIMER_EVENT = 25,         // lParam: the timer's id
  NOTICE_MENU_REQUEST = 26,        // run the newest queued menu request
};

// The test thread ends each run with the lower right key and this value:
// no key press, only the running page takes it.
enum runEndCodes : int {
  RUN_ENDED_COMMAND = KEY_LOWER_RIGHT,
  RUN_ENDED_CODE = 21,
};

#endif
