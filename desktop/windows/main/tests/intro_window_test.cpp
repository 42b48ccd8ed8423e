// The main window under the virtual display. The same tests run in the build
// with the device link and in the build without it (device_link_built()).
#include <gtest/gtest.h>
#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "desktop/windows/comparison/comparison_panel.h"
#include "desktop/windows/device_link/device_link.h"
#include "desktop/winlib/files/file_dialog_ui.h"
#include "desktop/winlib/tests/file_drop.h"
#include "desktop/winlib/fonts/font_dialog_ui.h"
#include "desktop/winlib/fonts/fonts.h"
#include "desktop/windows/main/intro_rules.h"
#include "desktop/windows/main/intro_window.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/data/tests/record_fixture.h"
#include "desktop/winlib/settings/registry_settings.h"
#include "desktop/windows/session_panel/session_panel.h"
#include "desktop/windows/summary/summary.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/windows/trace_text/trace_text_dialogs.h"
#include "desktop/winlib/windows/window_classes.h"
#include "desktop/winlib/windows/window_tree.h"
#include "platform/files/whole_file.h"
#include "platform/modal/modal_capture.h"

namespace {

void pump() {
  for (int round = 0; round < 3; ++round) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(20);
  }
}

std::vector<winTypeClass*> top_level_windows(uint32_t type) {
  std::vector<winTypeClass*> found;
  for (windowNode* n = window_tree_root().next; n; n = n->next) {
    if (n->type == type && n->object) found.push_back(n->object);
  }
  return found;
}

std::vector<sessionPanelClass*> panels() {
  std::vector<sessionPanelClass*> found;
  for (winTypeClass* w : top_level_windows(window_type::session)) found.push_back(static_cast<sessionPanelClass*>(w));
  return found;
}

// The names of a panel's tests, in its order.
std::vector<std::string> test_names(const sessionPanelClass* panel) {
  std::vector<std::string> names;
  for (int i = 0; i < panel->thumbnail_count(); ++i) names.emplace_back(panel->thumbnail(i)->file_name());
  return names;
}

// A stored test in folder: a flash response as its average, recorded this
// many minutes after a fixed time (panels show their tests in time order).
std::string write_test(const temp_folder& folder, const std::string& name, int minutes) {
  auto record = make_record();
  record->ProgramVersion = 3030;
  record->P = 1;
  record->S = 2;
  record->T = minutes;
  record->N = 1;
  record->Eye = u'D';
  record->FlickerMark = u'N';
  record->Config.Intensity = 3000;
  record->Config.RepeatCount = 1;
  record->Config.RepeatInterval = 1000;
  record->Config.PreTime = 20;
  record->Config.PostTime = 180;
  const uint64_t ticks = 133000000000000000ull + static_cast<uint64_t>(minutes) * 600000000ull;
  record->TestTime.LowDateTime = static_cast<uint32_t>(ticks);
  record->TestTime.HighDateTime = static_cast<uint32_t>(ticks >> 32);
  std::vector<int32_t> values(400);
  for (size_t i = 0; i < values.size(); ++i) {
    const double t = i * 0.5 - 20.0;
    const double y = t > 0 ? -60.0 * std::exp(-std::pow((t - 15.0) / 5.0, 2)) +
                                 150.0 * std::exp(-std::pow((t - 40.0) / 12.0, 2))
                           : 0.0;
    values[i] = static_cast<int32_t>(std::lround(y * 10.0));
  }
  fill_block(record->Average, values, 10.0, 200, 20);
  fill_block(record->LastSweep, values, 1.0, 200, 20);
  const std::string path = folder.file(name);
  write_bytes(path, test_file_bytes(*record));
  return path;
}

// Every window left by a test goes, and the run flag is up again.
void close_everything() {
  windowNode& root = window_tree_root();
  while (root.next) delete_window_node(root.next, 1);
  program_running = 1;
  pump();
}

// One menu item as text: its id, its text, "-" for a separator, "(grayed)"
// when disabled; a pop-up's items follow it indented.
void describe_menu(HMENU menu, const std::string& indent, std::vector<std::string>& out) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[64] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    ASSERT_TRUE(GetMenuItemInfoA(menu, i, TRUE, &info));
    if (info.fType & MFT_SEPARATOR) {
      out.push_back(indent + "-");
      continue;
    }
    std::string line = indent + std::to_string(info.wID) + " " + text;
    if (info.fState & MFS_GRAYED) line += " (grayed)";
    out.push_back(line);
    if (info.hSubMenu) describe_menu(info.hSubMenu, indent + "  ", out);
  }
}

// Scripted dialogs: the font dialog picks a font, the open dialog a file.
LOGFONTA scripted_font{};
bool font_chosen = true;
BOOL choose_scripted_font(CHOOSEFONTA* record) {
  if (!font_chosen) return FALSE;
  *record->lpLogFont = scripted_font;
  return TRUE;
}
DWORD no_error() { return 0; }

std::string scripted_path;
std::string dialog_title;
BOOL open_scripted_file(OPENFILENAMEA* record) {
  dialog_title = record->lpstrTitle ? record->lpstrTitle : "";
  if (scripted_path.empty()) return FALSE;
  std::snprintf(record->lpstrFile, record->nMaxFile, "%s", scripted_path.c_str());
  record->nFileOffset = static_cast<WORD>(scripted_path.rfind('\\') + 1);
  return TRUE;
}
BOOL never_save(OPENFILENAMEA*) { return FALSE; }
BOOL save_scripted_file(OPENFILENAMEA* record) {
  if (scripted_path.empty()) return FALSE;
  std::snprintf(record->lpstrFile, record->nMaxFile, "%s", scripted_path.c_str());
  record->nFileOffset = static_cast<WORD>(scripted_path.rfind('\\') + 1);
  return TRUE;
}

class IntroWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    program_running = 1;
    start_up_path.set("");
    scripted_path.clear();
    previous_dialogs_ = file_dialog_ui_install(file_dialog_calls{open_scripted_file, never_save, no_error});
  }
  void TearDown() override {
    close_everything();
    file_dialog_ui_install(previous_dialogs_);
  }

  introWindowClass* open() {
    auto* window = new introWindowClass;
    EXPECT_NE(window->hwnd(), nullptr);
    pump();
    return window;
  }

  temp_folder folder;
  file_dialog_calls previous_dialogs_{};
};

TEST_F(IntroWindow, ShowsItsTitleMenusAndButtonsForItsBuild) {
  message_capture capture;
  introWindowClass* window = open();
  HWND hwnd = window->hwnd();
  EXPECT_EQ(main_window_handle, hwnd);
  EXPECT_EQ(top_level_windows(window_type::main_window).size(), 1u);
  char text[64];
  GetClassNameA(hwnd, text, sizeof text);
  EXPECT_STREQ(text, "intro");
  GetWindowTextA(hwnd, text, sizeof text);
  const bool link = device_link_built();
  EXPECT_STREQ(text, link ? " TOLMARO 4.380" : " TOLMARO 4.380V");
  EXPECT_TRUE(IsWindowVisible(hwnd));

  std::vector<std::string> menu;
  describe_menu(GetMenu(hwnd), "", menu);
  std::vector<std::string> want = {"1000 File", "  1100 Open Session From PC"};
  if (link) want.push_back("  1200 Open Session From Unit");
  for (const char* line : {"  1300 Open Test Locator Panel", "  1400 Open a special session", "  -",
                           "  1500 Exit", "2000 Edit", "  2100 Change Font",
                           "  2200 Open Comparison Graph", "3000 Help", "  3100 Open User Manual"}) {
    want.push_back(line);
  }
  EXPECT_EQ(menu, want);

  // The buttons: one row after the first layout, 2 mm apart, the locator
  // enabled; the window as wide as the layout says, truncated to pixels.
  buttonClass* pc = window->pc_button();
  buttonClass* unit = window->unit_button();
  buttonClass* locator = window->locator_button();
  ASSERT_NE(pc, nullptr);
  ASSERT_NE(locator, nullptr);
  EXPECT_EQ(unit != nullptr, link);
  EXPECT_TRUE(IsWindowEnabled(locator->hwnd()));
  buttonClass* before_locator = unit ? unit : pc;
  if (unit) {
    EXPECT_DOUBLE_EQ(unit->x(), pc->right() + 2.0);
  }
  EXPECT_DOUBLE_EQ(locator->x(), before_locator->right() + 2.0);
  EXPECT_DOUBLE_EQ(locator->y(), pc->y());
  const double row = unit ? pc->width() + unit->width() + locator->width() + 4.0
                          : pc->width() + locator->width() + 2.0;
  const double logo = 480 / screen_paper.x_px_per_mm;
  const double banner = 760 / screen_paper.x_px_per_mm;
  const introLayout layout = first_layout(logo, banner, row);
  RECT frame;
  GetWindowRect(hwnd, &frame);
  EXPECT_EQ(frame.right - frame.left, static_cast<int>(layout.width * screen_paper.x_px_per_mm));
  EXPECT_EQ(frame.bottom - frame.top, static_cast<int>((locator->bottom() + 17.0) * screen_paper.y_px_per_mm));
  EXPECT_DOUBLE_EQ(pc->x(), layout.centred ? layout.width / 2.0 - row / 2.0 : 2.0);
  EXPECT_TRUE(capture.texts().empty());
}

TEST_F(IntroWindow, ClosingAsksOnlyWhileOtherWindowsAreOpen) {
  message_capture capture;
  introWindowClass* window = open();
  SendMessageA(window->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(capture.texts().empty());
  EXPECT_EQ(program_running, 0);
  EXPECT_EQ(window_tree_root().next, nullptr);
  EXPECT_EQ(main_window_handle, nullptr);

  program_running = 1;
  window = open();
  HWND main = window->hwnd();
  ASSERT_NE(open_session_panel(session_mode_pc, write_test(folder, "P01S02T0301A.tst", 1).c_str(), 0), nullptr);
  capture.answer(answer_no);
  SendMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_EQ(capture.records().size(), 1u);
  EXPECT_EQ(capture.records()[0].caption, "Yes or No");
  EXPECT_EQ(capture.records()[0].text, "Close all TOLMARO windows and exit?");
  EXPECT_EQ(program_running, 1);
  EXPECT_EQ(panels().size(), 1u);
  EXPECT_EQ(find_window_object(main), window);

  // Exit is the same as closing: the same question, and Yes closes all.
  capture.clear();
  capture.answer(answer_yes);
  SendMessageA(main, WM_COMMAND, intro_command::exit, 0);
  pump();
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"Close all TOLMARO windows and exit?"});
  EXPECT_EQ(program_running, 0);
  EXPECT_EQ(window_tree_root().next, nullptr);
  EXPECT_FALSE(IsWindow(main));
}

TEST_F(IntroWindow, CommandsAndButtonsOpenSessionPanels) {
  message_capture capture;
  introWindowClass* window = open();
  HWND main = window->hwnd();
  scripted_path = write_test(folder, "one.tst", 1);
  SendMessageA(main, WM_COMMAND, intro_command::session_from_pc, 0);
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(window->pc_button()->hwnd()));
  PostMessageA(main, WM_COMMAND, new_pc_session_request, 1);  // as a panel asks
  pump();
  std::vector<sessionPanelClass*> open_panels = panels();
  ASSERT_EQ(open_panels.size(), 3u);
  for (sessionPanelClass* p : open_panels) {
    EXPECT_EQ(p->mode(), session_mode_pc);
    EXPECT_EQ(test_names(p), std::vector<std::string>{"one"});
  }
  EXPECT_EQ(dialog_title, "Select test(s) or a special session (s_f) file.");

  // The locator opens from its menu item and its button.
  EXPECT_EQ(SendMessageA(main, WM_COMMAND, intro_command::test_locator, 0), 0);
  EXPECT_EQ(SendMessageA(main, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                         reinterpret_cast<LPARAM>(window->locator_button()->hwnd())),
            0);
  EXPECT_EQ(top_level_windows(window_type::test_search).size(), 2u);
  EXPECT_EQ(panels().size(), 3u);
  EXPECT_TRUE(capture.texts().empty());
}

TEST_F(IntroWindow, DroppedFilesAreSortedByKind) {
  // One series of three tests.
  const std::string a = write_test(folder, "P01S02T0301A.tst", 1);
  const std::string b = write_test(folder, "P01S02T0302A.tst", 2);
  const std::string c = write_test(folder, "P01S02T0303A.TST", 3);
  message_capture capture;
  introWindowClass* window = open();
  HWND main = window->hwnd();

  // Three tests among other files: one panel with each test once (the
  // several-files flag keeps each to itself, not its series); every other
  // file gets its message and the drop goes on.
  SendMessageA(main, WM_DROPFILES,
               reinterpret_cast<WPARAM>(make_drop({folder.file("x.st_"), a, folder.file("y.spl"), b,
                                                   folder.file("z.doc"), c})),
               0);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{
                                 "*** CANNOT PROCESS A STATE FILE IN THIS WAY *** ***",
                                 "*** CANNOT PROCESS A SAMPLE FILE IN THIS WAY ***",
                                 "UNKNOWN EXTENSION [doc]",
                             }));
  std::vector<sessionPanelClass*> open_panels = panels();
  ASSERT_EQ(open_panels.size(), 1u);
  EXPECT_EQ(test_names(open_panels[0]), (std::vector<std::string>{"P01S02T0301A", "P01S02T0302A", "P01S02T0303A"}));

  // One test alone: a panel of its own with the flag clear, so its series.
  SendMessageA(main, WM_DROPFILES, reinterpret_cast<WPARAM>(make_drop({b})), 0);
  open_panels = panels();
  ASSERT_EQ(open_panels.size(), 2u);
  EXPECT_EQ(open_panels[0]->thumbnail_count(), 3);

  // A panel that fails is closed and the rest of the drop is left.
  capture.clear();
  SendMessageA(main, WM_DROPFILES, reinterpret_cast<WPARAM>(make_drop({folder.file("gone.tst"), b, folder.file("z.doc")})),
               0);
  EXPECT_EQ(panels().size(), 2u);
  ASSERT_EQ(capture.texts().size(), 1u);
  EXPECT_EQ(capture.texts()[0].rfind("*** No matching files found [", 0), 0u) << capture.texts()[0];
}

TEST_F(IntroWindow, ComparisonGraphsFromTheMenuAndFromDroppedTextTraces) {
  message_capture capture;
  introWindowClass* window = open();
  HWND main = window->hwnd();
  {
    std::ofstream csv(folder.file("first.csv"));
    csv << "  0.0,    1.00\n  1.0,    2.00\n  2.0,    4.00\n";
    std::ofstream xy(folder.file("second.xy"));
    xy << "  0.0 \t     3.00\n  1.0 \t     5.00\n";
  }
  // No comparison graph open: one named after the file; the next drop adds
  // to it.
  SendMessageA(main, WM_DROPFILES, reinterpret_cast<WPARAM>(make_drop({folder.file("first.csv")})), 0);
  std::vector<winTypeClass*> graphs = top_level_windows(window_type::comparison_graph);
  ASSERT_EQ(graphs.size(), 1u);
  auto* graph = static_cast<comparisonPanelClass*>(graphs[0]);
  EXPECT_EQ(window->latest_comparison_graph(), graph);
  char title[128];
  GetWindowTextA(graph->hwnd(), title, sizeof title);
  EXPECT_EQ(std::string(title), "CG" + std::to_string(graph->instance_number) + "( first )");
  SendMessageA(main, WM_DROPFILES, reinterpret_cast<WPARAM>(make_drop({folder.file("second.xy")})), 0);
  ASSERT_EQ(graph->trace_count(), 2);
  EXPECT_EQ(graph->trace_entry(1)->own_trace()->get_count(), 3);
  EXPECT_EQ(graph->trace_entry(2)->own_trace()->y_at(1), 5.0);

  // A file that gives no trace ends the drop: the later file is left.
  SendMessageA(main, WM_DROPFILES,
               reinterpret_cast<WPARAM>(make_drop({folder.file("gone.csv"), folder.file("first.csv")})), 0);
  EXPECT_EQ(graph->trace_count(), 2);
  ASSERT_EQ(capture.texts().size(), 1u);
  EXPECT_NE(capture.texts()[0].find("gone.csv"), std::string::npos) << capture.texts()[0];

  // Edit > Open Comparison Graph: "GLOBAL", which later drops go to.
  EXPECT_EQ(SendMessageA(main, WM_COMMAND, intro_command::comparison_graph, 0), 0);
  comparisonPanelClass* global = window->latest_comparison_graph();
  ASSERT_NE(global, graph);
  GetWindowTextA(global->hwnd(), title, sizeof title);
  EXPECT_EQ(std::string(title), "CG" + std::to_string(global->instance_number) + "( GLOBAL )");
  SendMessageA(main, WM_DROPFILES, reinterpret_cast<WPARAM>(make_drop({folder.file("first.csv")})), 0);
  EXPECT_EQ(global->trace_count(), 1);
  // Once it is closed, drops go to the one before it.
  SendMessageA(global->hwnd(), WM_COMMAND, cg_command::close, 0);
  pump();
  EXPECT_EQ(window->latest_comparison_graph(), graph);
  SendMessageA(main, WM_DROPFILES, reinterpret_cast<WPARAM>(make_drop({folder.file("second.xy")})), 0);
  EXPECT_EQ(graph->trace_count(), 3);
}

TEST_F(IntroWindow, AManualThatCannotBeOpenedIsReported) {
  message_capture capture;
  introWindowClass* window = open();
  // No "InstallPath" in the test prefix: the manual is looked for at the root.
  ASSERT_STREQ(get_registry_value(HKEY_LOCAL_MACHINE, settings_maker, settings_program, "InstallPath", true), "");
  EXPECT_EQ(SendMessageA(window->hwnd(), WM_COMMAND, intro_command::user_manual, 0), 0);
  ASSERT_EQ(capture.records().size(), 1u);
  EXPECT_EQ(capture.records()[0].caption, "*** ERROR ***");
  EXPECT_EQ(capture.records()[0].text.rfind("*** ShellExecute FAILED ***\n[\\TOLMAROusersManual.pdf]\n", 0), 0u)
      << capture.records()[0].text;
}

TEST_F(IntroWindow, ProgramFontRoundTripsThroughItsSetting) {
  message_capture capture;
  const LOGFONTA kept = program_logfont;
  const HFONT kept_font = program_font;
  font_dialog_calls previous = font_dialog_ui_install(font_dialog_calls{choose_scripted_font, no_error});
  introWindowClass* window = open();

  scripted_font = LOGFONTA{};
  scripted_font.lfHeight = -21;
  scripted_font.lfWeight = 700;
  scripted_font.lfItalic = 1;
  scripted_font.lfCharSet = ANSI_CHARSET;
  scripted_font.lfPitchAndFamily = FF_SWISS | VARIABLE_PITCH;
  std::strcpy(scripted_font.lfFaceName, "Liberation Sans Narrow");
  font_chosen = false;
  EXPECT_EQ(SendMessageA(window->hwnd(), WM_COMMAND, intro_command::change_font, 0), 1);
  EXPECT_EQ(program_font, kept_font);
  font_chosen = true;
  EXPECT_EQ(SendMessageA(window->hwnd(), WM_COMMAND, intro_command::change_font, 0), 0);
  EXPECT_NE(program_font, kept_font);
  EXPECT_STREQ(get_program_setting("PROGRAM_FONT", true), "-21 0 0 0 700 1 0 0 0 0 0 0 34 Liberation Sans Narrow\n");

  program_logfont = LOGFONTA{};
  program_font_chosen = 0;
  window->load_program_font();
  EXPECT_EQ(program_font_chosen, 1);
  EXPECT_EQ(program_logfont.lfHeight, -21);
  EXPECT_EQ(program_logfont.lfWeight, 700);
  EXPECT_EQ(program_logfont.lfItalic, 1);
  EXPECT_EQ(program_logfont.lfPitchAndFamily, FF_SWISS | VARIABLE_PITCH);
  EXPECT_STREQ(program_logfont.lfFaceName, "Liberation Sans Narrow");

  // A setting with overlong words keeps three words, cut to the field.
  ASSERT_TRUE(set_program_setting(
      "PROGRAM_FONT", ("-12 0 0 0 400 0 0 0 0 0 0 0 0 " + std::string(80, 'A') + " B C D\n").c_str()));
  window->load_program_font();
  EXPECT_EQ(std::strlen(program_logfont.lfFaceName), static_cast<size_t>(LF_FACESIZE - 1));
  EXPECT_EQ(program_logfont.lfHeight, -12);

  set_program_setting("PROGRAM_FONT", "");
  font_dialog_ui_install(previous);
  program_logfont = kept;
  program_font = kept_font;
  program_font_chosen = 0;
  EXPECT_TRUE(capture.texts().empty());
}

TEST_F(IntroWindow, SpecialSessionOpensItsList) {
  const std::string a = write_test(folder, "P01S02T0301A.tst", 1);
  const std::string c = write_test(folder, "P01S02T0303A.tst", 3);
  const std::string list = folder.file("visit.s_f");
  std::ofstream(list, std::ios::binary) << c << "\r\n" << a << "\r\n";
  message_capture capture;
  introWindowClass* window = open();
  EXPECT_FALSE(window->open_special_session("Pick"));  // cancelled: nothing
  EXPECT_TRUE(panels().empty());
  scripted_path = list;
  SendMessageA(window->hwnd(), WM_COMMAND, intro_command::special_session, 0);
  EXPECT_EQ(dialog_title, "Select a special session to load");
  std::vector<sessionPanelClass*> open_panels = panels();
  ASSERT_EQ(open_panels.size(), 1u);
  EXPECT_EQ(test_names(open_panels[0]), (std::vector<std::string>{"P01S02T0303A", "P01S02T0301A"}));
  EXPECT_TRUE(capture.texts().empty());
}

// A folder named in scripts beyond any one code page: its session opens
// from the open dialog, its summary and a trace are saved as text in it, and
// a special session kept there opens its list. The program holds the names
// as UTF-8; the file system sees them whole.
TEST_F(IntroWindow, AFolderNamedInAnyScriptOpensAndKeepsItsFiles) {
  const std::string name = "P\xC3\xA4ti\xC3\xABnt M\xC3\xBCller \xE6\x97\xA5\xE6\x9C\xAC "
                           "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xC5\x82\xC3\xB3" "d\xC5\xBA";
  const std::filesystem::path where = folder.path() / std::filesystem::u8path(name);
  ASSERT_TRUE(std::filesystem::create_directory(where));
  // Every path below is text as the program holds it (UTF-8).
  const std::string inside = folder.file("") + name + "\\";
  for (int minutes : {1, 2}) {
    const std::string test = "P01S02T030" + std::to_string(minutes) + "A.tst";
    std::filesystem::rename(write_test(folder, test, minutes), where / test);
  }
  const std::string a = inside + "P01S02T0301A.tst";
  const std::string b = inside + "P01S02T0302A.tst";
  file_dialog_ui_install(file_dialog_calls{open_scripted_file, save_scripted_file, no_error});
  message_capture capture;
  introWindowClass* window = open();

  scripted_path = a;
  SendMessageA(window->hwnd(), WM_COMMAND, intro_command::session_from_pc, 0);
  pump();
  std::vector<sessionPanelClass*> open_panels = panels();
  ASSERT_EQ(open_panels.size(), 1u);
  EXPECT_EQ(test_names(open_panels[0]), (std::vector<std::string>{"P01S02T0301A", "P01S02T0302A"}));
  EXPECT_EQ(std::string(open_panels[0]->thumbnail(0)->document().path()), a);

  open_panels[0]->open_summary();
  pump();
  auto* summary = static_cast<summaryClass*>(open_panels[0]->summary());
  ASSERT_NE(summary, nullptr);
  scripted_path = inside + "Summary_visit.txt";
  EXPECT_TRUE(summary->save_as_text(summary->hwnd(), "visit", inside.c_str(), false));
  scripted_path = inside + "trace.txt";
  const char* saved = save_trace_text_file(window->hwnd(), open_panels[0]->thumbnail(1)->document().main_trace(),
                                           "Save", inside.c_str());
  ASSERT_NE(saved, nullptr);
  EXPECT_EQ(std::string(saved), scripted_path);
  EXPECT_GT(std::filesystem::file_size(where / "Summary_visit.txt"), 0u);
  EXPECT_GT(std::filesystem::file_size(where / "trace.txt"), 0u);

  std::ofstream(where / "visit.s_f", std::ios::binary) << b << "\r\n" << a << "\r\n";
  scripted_path = inside + "visit.s_f";
  SendMessageA(window->hwnd(), WM_COMMAND, intro_command::special_session, 0);
  pump();
  open_panels = panels();
  ASSERT_EQ(open_panels.size(), 2u);
  // The special session keeps its list's order (the window tree's newest first).
  EXPECT_EQ(test_names(open_panels[0]), (std::vector<std::string>{"P01S02T0302A", "P01S02T0301A"}));
  EXPECT_TRUE(capture.texts().empty()) << capture.texts()[0];
}

// The program's run: the command line's test opens a session; Exit ends the
// message loop (which waits between messages).
std::vector<std::string> seen_paths;
void CALLBACK look_and_exit(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  seen_paths.clear();
  for (sessionPanelClass* p : panels()) {
    for (const std::string& name : test_names(p)) seen_paths.push_back(name);
  }
  PostMessageA(main_window_handle, WM_COMMAND, intro_command::exit, 0);
}

TEST_F(IntroWindow, CommandLineTestOpensItsSessionAndExitEndsTheLoop) {
  const std::string test = write_test(folder, "P01S02T0301A.TST", 1);
  write_test(folder, "P01S02T0302A.tst", 2);
  struct Case {
    std::string line;
    std::vector<std::string> tests;
  } cases[] = {
      {"\"" + test + "\" \t", {"P01S02T0301A", "P01S02T0302A"}},
      {folder.file("notes.txt"), {}},
  };
  for (const Case& c : cases) {
    message_capture capture;
    capture.answer(answer_yes);
    program_running = 1;
    SetTimer(nullptr, 0, 300, look_and_exit);
    run_main_window(c.line.c_str());
    EXPECT_EQ(seen_paths, c.tests) << c.line;
    EXPECT_EQ(program_running, 0);
    EXPECT_EQ(window_tree_root().next, nullptr);
    EXPECT_EQ(capture.texts().size(), c.tests.empty() ? 0u : 1u) << c.line;  // the closing question
  }
}

// Closing on a full disk: every state file that cannot be rewritten is
// reported in a box of its own that belongs to no window (a box owned by a
// window being destroyed closes unseen), the old files stay and the loop
// ends.
void CALLBACK change_states_and_exit(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  seen_paths.clear();
  for (sessionPanelClass* p : panels()) {
    for (int i = 0; i < p->thumbnail_count(); ++i) {
      p->thumbnail(i)->document().state().state_changed = 1;
      seen_paths.emplace_back(p->thumbnail(i)->file_name());
    }
  }
  set_whole_file_fault(wholeFileFault::flush);
  PostMessageA(main_window_handle, WM_COMMAND, intro_command::exit, 0);
}

TEST_F(IntroWindow, EveryStateFileThatCannotBeWrittenOnClosingIsShown) {
  const std::vector<std::string> names = {"P01S02T0301A", "P01S02T0302A", "P01S02T0303A", "P01S02T0304A"};
  std::string first;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string test = write_test(folder, names[i] + ".tst", static_cast<int>(i) + 1);
    if (i == 0) first = test;
    folder.write(names[i] + ".st_", "(TestState (atime 1))");
  }
  modal_capture capture;
  capture.answer(IDYES);
  program_running = 1;
  SetTimer(nullptr, 0, 300, change_states_and_exit);
  run_main_window(("\"" + first + "\"").c_str());
  set_whole_file_fault(wholeFileFault::none);
  EXPECT_EQ(seen_paths, names);
  EXPECT_EQ(program_running, 0);
  EXPECT_EQ(window_tree_root().next, nullptr);
  ASSERT_EQ(capture.records().size(), 1 + names.size());
  EXPECT_EQ(capture.records()[0].text, "Close all TOLMARO windows and exit?");
  std::vector<std::string> reported;
  for (size_t i = 1; i < capture.records().size(); ++i) {
    const modal_record& box = capture.records()[i];
    EXPECT_EQ(box.caption, "*** ERROR ***");
    EXPECT_EQ(box.owner, nullptr) << box.text;
    const std::string head = "*** kvBridgeClass::save_file - WRITE TO [";
    const std::string tail = ".st_] FAILED ***\ncould not be flushed to the disk (is the disk full?)";
    ASSERT_EQ(box.text.rfind(head, 0), 0u) << box.text;
    ASSERT_GT(box.text.size(), head.size() + tail.size());
    EXPECT_EQ(box.text.substr(box.text.size() - tail.size()), tail);
    const std::string path = box.text.substr(head.size(), box.text.size() - head.size() - tail.size());
    reported.push_back(path.substr(path.find_last_of("\\/") + 1));
  }
  std::sort(reported.begin(), reported.end());
  EXPECT_EQ(reported, names);
  for (const std::string& name : names) {
    std::ifstream kept(folder.file(name + ".st_"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "(TestState (atime 1))") << name;
  }
}

// Runs last: the main window's class goes away for a moment.
TEST_F(IntroWindow, AFailedMainWindowEndsTheProgramAfterItsMessage) {
  message_capture capture;
  ASSERT_TRUE(UnregisterClassA("intro", program_instance));
  run_main_window("");
  ASSERT_EQ(capture.records().size(), 1u);
  EXPECT_EQ(capture.records()[0].caption, "window");
  EXPECT_EQ(capture.records()[0].text.rfind("intro window creation failed\n", 0), 0u);
  EXPECT_EQ(program_running, 0);
  EXPECT_EQ(window_tree_root().next, nullptr);
  EXPECT_TRUE(register_window_class(intro_window_procedure, "intro", program_icon(8003), IDC_ARROW,
                                    system_background, 0));
}

}  // namespace
