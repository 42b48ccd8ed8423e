// Sessions under the virtual display: series, chosen lists and special
// sessions, ordering by test time, the session's filters, cut and paste, and
// the thumbnails' own data (samples, filter text, state file, unloaded tests).
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/winlib/controls/buttons.h"
#include "desktop/winlib/tests/default_printer.h"
#include "desktop/winlib/controls/edit_fields.h"
#include "desktop/winlib/tests/file_dialog_answers.h"
#include "desktop/winlib/files/file_dialog_ui.h"
#include "desktop/data/filtered_trace.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/drawing/print_dialog_ui.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/winlib/tests/pump.h"
#include "desktop/data/session/report_pages.h"
#include "desktop/data/tests/record_fixture.h"
#include "desktop/data/samples_list.h"
#include "desktop/windows/session_panel/session_panel.h"
#include "desktop/windows/summary/session_report.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "desktop/data/test_state.h"
#include "desktop/windows/thumbnail/thumb_state.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/winlib/tests/window_texts.h"
#include "desktop/winlib/windows/window_tree.h"
#include "platform/files/whole_file.h"

namespace {

// A flash response: flat before the flash, a trough at 15 mS, a peak at 40 mS.
std::vector<int32_t> erg_values(int n, double total_ms, double pre_ms) {
  std::vector<int32_t> v(static_cast<size_t>(n));
  for (int i = 0; i < n; i++) {
    double t = i * total_ms / n - pre_ms;
    double y = 0.0;
    if (t > 0) y = -60.0 * std::exp(-std::pow((t - 15.0) / 5.0, 2)) + 150.0 * std::exp(-std::pow((t - 40.0) / 12.0, 2));
    v[static_cast<size_t>(i)] = static_cast<int32_t>(std::lround(y * 10.0));
  }
  return v;
}

// A test file in folder: its counters, a time (minutes past a fixed day) and
// its sample files.
std::string write_test(const temp_folder& folder, const std::string& name, int test, int minutes, int samples = 0,
                       char16_t eye = u'D') {
  auto record = make_record();
  record->ProgramVersion = 3030;
  record->P = 1;
  record->S = 2;
  record->T = test;
  record->N = 1;
  record->Eye = eye;
  record->FlickerMark = u'N';
  record->Config.Intensity = 3000;
  record->Config.RepeatCount = 1;
  record->Config.RepeatInterval = 1000;
  record->Config.PreTime = 20;
  record->Config.PostTime = 180;
  uint64_t ticks = 133000000000000000ull + static_cast<uint64_t>(minutes) * 600000000ull;
  record->TestTime.LowDateTime = static_cast<uint32_t>(ticks);
  record->TestTime.HighDateTime = static_cast<uint32_t>(ticks >> 32);
  const char16_t id[] = u"PATIENT01 ";
  for (int i = 0; i < 10; i++) record->TestId[i] = id[i];
  // A whole test: its sample files and the last sweep make its average.
  fill_block(record->Average, erg_values(400, 200.0, 20.0), samples > 0 ? samples + 1.0 : 10.0, 200, 20);
  fill_block(record->LastSweep, erg_values(400, 200.0, 20.0), 1.0, 200, 20);
  std::string path = folder.file(name);
  write_bytes(path, test_file_bytes(*record));
  std::string base = name.substr(0, name.rfind('.'));
  for (int s = 0; s < samples; s++) {
    samplesBlock block{};
    fill_block(block, erg_values(400, 200.0, 20.0), 1.0, 200, 20);
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "-%.2d.spl", s + 1);
    write_bytes(folder.file(base + suffix), samples_file_bytes(block));
  }
  return path;
}

std::vector<std::string> thumb_names(const sessionPanelClass& panel) {
  std::vector<std::string> names;
  for (int i = 0; i < panel.thumbnail_count(); i++) names.emplace_back(panel.thumbnail(i)->file_name());
  return names;
}

// The save and open dialogs answer with the next scripted path (null: cancel).
std::vector<std::string> dialog_answers;
BOOL scripted_dialog(OPENFILENAMEA* record) { return answer_file_dialog(record, dialog_answers); }
DWORD no_error() { return 0; }

class SessionPanelTest : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = file_dialog_ui_install({scripted_dialog, scripted_dialog, no_error}); }
  void TearDown() override {
    file_dialog_ui_install(previous_);
    dialog_answers.clear();
    pump();
  }
  file_dialog_calls previous_{};
  temp_folder folder;
  message_capture boxes;
};

TEST_F(SessionPanelTest, ASeriesOpensEveryTestOfItsProtocolAndSessionInTimeOrder) {
  std::string first = write_test(folder, "P01S02T0301A.tst", 1, 30);
  write_test(folder, "P01S02T0302A.tst", 2, 10);
  write_test(folder, "P01S02T0303A.tst", 3, 20);
  std::string alone = write_test(folder, "test1.tst", 4, 5);

  auto* panel = new sessionPanelClass(session_mode_pc, first.c_str(), 0);
  ASSERT_EQ(panel->status(), 1);
  ASSERT_EQ(thumb_names(*panel), (std::vector<std::string>{"P01S02T0302A", "P01S02T0303A", "P01S02T0301A"}));
  for (int i = 0; i < 3; i++) EXPECT_EQ(panel->thumbnail(i)->number(), i + 1);
  EXPECT_EQ(window_text(panel->hwnd()), "[3] " + first);
  pump();
  EXPECT_TRUE(IsWindowVisible(panel->thumbnail(0)->hwnd()));
  delete panel;

  auto* single = new sessionPanelClass(session_mode_pc, alone.c_str(), 0);
  EXPECT_EQ(thumb_names(*single), std::vector<std::string>{"test1"});
  delete single;

  auto* missing = new sessionPanelClass(session_mode_pc, folder.file("P09S09T0101A.tst").c_str(), 0);
  EXPECT_EQ(missing->status(), 0);
  delete missing;
  EXPECT_NE(boxes.texts().back().find("*** No matching files found ["), std::string::npos);
}

TEST_F(SessionPanelTest, SpecialSessionsKeepTheirOrderNestAndRefuseToIncludeThemselves) {
  std::string a = write_test(folder, "P01S02T0301A.tst", 1, 30);
  std::string b = write_test(folder, "P01S02T0302A.tst", 2, 10);
  std::string c = write_test(folder, "P01S02T0303A.tst", 3, 20);
  std::string inner = folder.file("inner.s_f");
  std::string outer = folder.file("outer.s_f");
  {
    std::ofstream(inner, std::ios::binary) << c << "\r\n" << outer << "\r\n";
    std::ofstream(outer, std::ios::binary) << "\r\n" << a << "\r\n\r\n" << inner << "\n" << b << "\r";
  }
  auto* panel = new sessionPanelClass(session_mode_pc, outer.c_str(), 0);
  ASSERT_EQ(panel->status(), 1);
  // In file order, unsorted; the loop back to outer.s_f is skipped once.
  EXPECT_EQ(thumb_names(*panel), (std::vector<std::string>{"P01S02T0301A", "P01S02T0303A", "P01S02T0302A"}));
  EXPECT_STREQ(panel->name(), "outer");
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{"*** SPECIAL SESSION [" + outer + "] INCLUDES ITSELF ***"});
  EXPECT_FALSE(panel->modified());

  // Saving over an existing file asks; No leaves it as it was.
  std::string before;
  {
    std::ifstream in(inner, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    before = s.str();
  }
  dialog_answers = {inner};
  boxes.clear();
  boxes.answer(answer_no);
  EXPECT_FALSE(panel->save_special_session("save", true));
  ASSERT_EQ(boxes.records().size(), 1u);
  EXPECT_EQ(boxes.records()[0].caption, "-- FILE EXISTS --");
  EXPECT_EQ(boxes.records()[0].text, "-- UPDATE SESSION [inner] FILE?");
  std::ifstream again(inner, std::ios::binary);
  std::stringstream now;
  now << again.rdbuf();
  EXPECT_EQ(now.str(), before);

  // A full disk keeps the old file byte for byte and names it.
  dialog_answers = {inner};
  boxes.clear();
  boxes.answer(answer_yes);
  set_whole_file_fault(wholeFileFault::close);
  EXPECT_FALSE(panel->save_special_session("save", true));
  set_whole_file_fault(wholeFileFault::none);
  std::ifstream kept(inner, std::ios::binary);
  std::stringstream kept_text;
  kept_text << kept.rdbuf();
  EXPECT_EQ(kept_text.str(), before);
  ASSERT_EQ(boxes.texts().size(), 2u);
  EXPECT_EQ(boxes.texts()[1], "*** UNABLE TO WRITE THE SPECIAL SESSION [" + inner +
                                  "] ***\ncould not be closed (is the disk full?)");

  // Saved anew, the list reads back in display order.
  std::string saved = folder.file("saved.s_f");
  dialog_answers = {saved};
  EXPECT_TRUE(panel->save_special_session("save", true));
  EXPECT_STREQ(panel->name(), "saved");
  std::vector<std::string> listed;
  ASSERT_TRUE(read_special_session_list(saved.c_str(), listed));
  EXPECT_EQ(listed, (std::vector<std::string>{a, c, b}));
  delete panel;
}

TEST_F(SessionPanelTest, ASpecialSessionNamedManyTimesOverIsReadOncePerLoad) {
  // Each level lists the next fan_out times, the last lists two tests; read
  // at every naming, depth 4 of fan-out 50 would make 50^3 reads of the last.
  struct {
    int depth;
    int fan_out;
  } cases[] = {{2, 3}, {4, 50}};
  std::string a = write_test(folder, "P01S02T0301A.tst", 1, 30);
  std::string b = write_test(folder, "P01S02T0302A.tst", 2, 10);
  for (const auto& c : cases) {
    std::vector<std::string> levels;
    for (int d = 0; d < c.depth; d++)
      levels.push_back(folder.file("fan" + std::to_string(c.depth) + "_" + std::to_string(d) + ".s_f"));
    for (int d = 0; d < c.depth; d++) {
      std::ofstream out(levels[static_cast<size_t>(d)], std::ios::binary);
      if (d + 1 < c.depth) {
        for (int k = 0; k < c.fan_out; k++) out << levels[static_cast<size_t>(d + 1)] << "\r\n";
      } else {
        out << a << "\r\n" << b << "\r\n";
      }
    }
    boxes.clear();
    auto* panel = new sessionPanelClass(session_mode_pc, levels[0].c_str(), 0);
    ASSERT_EQ(panel->status(), 1) << c.depth;
    EXPECT_EQ(thumb_names(*panel), (std::vector<std::string>{"P01S02T0301A", "P01S02T0302A"})) << c.depth;
    EXPECT_TRUE(boxes.texts().empty()) << c.depth;
    delete panel;
  }
}

TEST_F(SessionPanelTest, SessionFiltersCutAndPaste) {
  std::string first = write_test(folder, "P01S02T0301A.tst", 1, 10);
  write_test(folder, "P01S02T0302A.tst", 2, 20);
  write_test(folder, "P01S02T0303A.tst", 3, 30);
  auto* panel = new sessionPanelClass(session_mode_pc, first.c_str(), 0);
  ASSERT_EQ(panel->status(), 1);
  HWND window = panel->hwnd();
  auto checked = [panel](int id) { return (GetMenuState(panel->menu(), id, MF_BYCOMMAND) & MF_CHECKED) != 0; };

  SendMessageA(window, WM_COMMAND, session_50hz, 0);
  EXPECT_TRUE(checked(session_50hz));
  SendMessageA(window, WM_COMMAND, session_60hz, 0);
  EXPECT_TRUE(checked(session_60hz));
  EXPECT_FALSE(checked(session_50hz));
  for (int i = 0; i < 3; i++) {
    tracePlusClass* entry = panel->thumbnail(i)->document().entry();
    EXPECT_TRUE(entry->has_60hz_filter());
    EXPECT_TRUE(entry->has_50hz_filter());  // the session's menu does not touch the other notch
  }

  // Scrolling moves the first shown thumbnail one at a time, within the session.
  const struct {
    int request;
    int position;
    int first;
  } scrolls[] = {{SB_LINEDOWN, 0, 2}, {SB_PAGEDOWN, 0, 3}, {SB_LINEDOWN, 0, 3}, {SB_LINEUP, 0, 2},
                 {SB_PAGEUP, 0, 1},   {SB_LINEUP, 0, 1},   {SB_THUMBPOSITION, 3, 3}, {SB_ENDSCROLL, 0, 3}};
  for (const auto& step : scrolls) {
    SendMessageA(window, WM_VSCROLL, MAKEWPARAM(step.request, step.position), 0);
    EXPECT_EQ(panel->first_shown(), step.first) << step.request;
  }
  SendMessageA(window, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1), 0);
  pump();
  EXPECT_TRUE(IsWindowVisible(panel->thumbnail(0)->hwnd()));

  // The session low-pass frequency switches low-pass on everywhere.
  panel->apply_filter(80.0, session_lowpass);
  panel->update_filter_checks();
  EXPECT_TRUE(checked(session_lowpass));
  EXPECT_EQ(panel->lowpass_frequency(), 80.0);

  // Cut the first, paste it after the last.
  thumbnailClass* first_thumb = panel->thumbnail(0);
  first_thumb->run_command(thumb_cut);
  ASSERT_EQ(panel->thumbnail_count(), 2);
  panel->thumbnail(1)->run_command(thumb_paste_after);
  EXPECT_EQ(thumb_names(*panel), (std::vector<std::string>{"P01S02T0302A", "P01S02T0303A", "P01S02T0301A"}));
  EXPECT_EQ(panel->thumbnail(2)->number(), 3);
  EXPECT_TRUE(panel->modified());
  delete panel;
}

TEST_F(SessionPanelTest, AThumbnailKeepsItsSamplesFiltersAndStateFile) {
  std::string path = write_test(folder, "P01S02T0301A.tst", 1, 10, 3);
  std::string broken = folder.file("P01S02T0399A.tst");
  write_bytes(broken, std::vector<uint8_t>(100, 0));
  {
    auto* panel = new sessionPanelClass(session_mode_pc, path.c_str(), 1);
    ASSERT_EQ(panel->status(), 1);
    thumbnailClass* thumb = panel->thumbnail(0);
    testDocument& doc = thumb->document();
    ASSERT_TRUE(thumb->loaded());
    ASSERT_EQ(doc.samples().get_count(), 4);
    EXPECT_STREQ(doc.samples().get_trace(0)->label(), "[spl 0]");
    EXPECT_STREQ(doc.samples().get_trace(3)->label(), "[spl 3]");
    EXPECT_STREQ(doc.main_trace()->name(), "P01S02T0101A:PATIENT01");
    EXPECT_STREQ(doc.info().lines[4], "flashes: 1 each 1 S (  1.00Hz)");
    EXPECT_NE(std::string(doc.caption()).find("[PATIENT01 ] 0D:  P01S02T0301A "), std::string::npos);
    EXPECT_NEAR(doc.model()->bwave_time.value(), 40.0, 1.0);

    // The measurement graph opens on the test and closes with it.
    thumb->run_command(thumb_measurement_graph);
    windowNode* graph = find_window_of_type(3);
    ASSERT_NE(graph, nullptr);
    EXPECT_TRUE(IsWindow(graph->hwnd));

    thumb->run_command(thumb_60hz);
    thumb->run_command(thumb_50hz);
    EXPECT_STREQ(doc.state().filtering.text(), "0100");
    char text[128];
    doc.filter_text(text, sizeof text);
    EXPECT_STREQ(text, "(4) 50Hz ");
    doc.samples().set_sample_flag(1, 0);
    HWND graph_window = graph->hwnd;
    delete panel;  // the thumbnail writes its state file
    EXPECT_FALSE(IsWindow(graph_window));
    EXPECT_EQ(find_window_of_type(3), nullptr);
  }
  std::ifstream in(folder.file("P01S02T0301A.st_"));
  ASSERT_TRUE(in.good());
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(all.find("0100"), std::string::npos);
  EXPECT_NE(all.find("1011"), std::string::npos);

  // Reopened, the filters and sample flags come back.
  auto* panel = new sessionPanelClass(session_mode_pc, path.c_str(), 1);
  testDocument& doc = panel->thumbnail(0)->document();
  EXPECT_TRUE(doc.entry()->has_50hz_filter());
  EXPECT_FALSE(doc.entry()->has_60hz_filter());
  EXPECT_EQ(doc.samples().get_sample_flag(1), 0);
  delete panel;

  // A test that cannot be read stays as an unloaded thumbnail, painted safely.
  boxes.clear();
  auto* damaged = new sessionPanelClass(session_mode_pc, broken.c_str(), 1);
  ASSERT_EQ(damaged->thumbnail_count(), 1);
  EXPECT_FALSE(damaged->thumbnail(0)->loaded());
  EXPECT_EQ(damaged->thumbnail(0)->popup_menu() != nullptr, true);
  InvalidateRect(damaged->thumbnail(0)->hwnd(), nullptr, TRUE);
  pump();
  EXPECT_EQ(boxes.texts().back(), "*** UNABLE TO LOAD FILE [" + broken + "] ***");
  delete damaged;
}

}  // namespace

// The report of a 7-test session through the real printer path has the pages
// its pagination gives, and printing writes no state file.
TEST_F(SessionPanelTest, TheSessionReportPrintsThePagesItCounts) {
  std::string file = default_printer_file();
  ASSERT_FALSE(file.empty()) << "no default printer on a file port: tools/wine-printer.sh sets it up";
  DeleteFileA(file.c_str());
  std::string first;
  for (int t = 1; t <= 7; t++) {
    std::string path = write_test(folder, "P01S02T03" + std::string(t < 10 ? "0" : "") + std::to_string(t) + "A.tst", t, t);
    if (t == 1) first = path;
  }
  auto* panel = new sessionPanelClass(session_mode_pc, first.c_str(), 0);
  ASSERT_EQ(panel->thumbnail_count(), 7);
  print_dialog_calls previous = print_dialog_ui_install(
      print_dialog_calls{default_printer_dialog, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr});
  boxes.clear();
  EXPECT_TRUE(print_session_report(*panel, nullptr));
  print_dialog_ui_install(previous);
  EXPECT_TRUE(boxes.texts().empty());
  EXPECT_EQ(printing_flag, 0);
  reportPages expected = paginate_report(7, printer_paper.height_mm, 10, 3);
  int pages = printed_pages(file);
  EXPECT_EQ(pages, expected.total);
  EXPECT_GE(pages, 2);
  EXPECT_EQ(GetFileAttributesA(folder.file("P01S02T0301A.st_").c_str()), INVALID_FILE_ATTRIBUTES);
  delete panel;
}

// The test information window: the texts of the record, an edit discarded
// without a question, and one kept by answering Yes when the window closes.
TEST_F(SessionPanelTest, TheTestInformationWindowKeepsOnlySavedEdits) {
  std::string path = write_test(folder, "P01S02T0301A.tst", 1, 10);
  auto* panel = new sessionPanelClass(session_mode_pc, path.c_str(), 1);
  thumbnailClass* thumb = panel->thumbnail(0);
  testStateClass& state = thumb->document().state();
  auto open_info = [thumb]() {
    thumb->run_command(thumb_source_info);
    windowNode* node = find_window_of_type(thumb_state_window_type);
    return node ? static_cast<thumbStateClass*>(node->object) : nullptr;
  };
  thumbStateClass* info = open_info();
  ASSERT_NE(info, nullptr);
  EXPECT_STREQ(info->info_text(0), "Unit Serial Number = 123456");
  EXPECT_EQ(std::string(info->info_text(3)).rfind("Optical Filter : ", 0), 0u);

  // Typed: the selection replaced, as keys do.
  HWND notes = info->notes_edit()->get_edit()->hwnd();
  SendMessageA(notes, EM_SETSEL, 0, -1);
  SendMessageA(notes, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("seen twice"));
  EXPECT_STREQ(state.notes.text(), "seen twice");
  EXPECT_EQ(state.state_changed, 1);
  SendMessageA(info->hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
               reinterpret_cast<LPARAM>(info->discard_button()->hwnd()));
  pump();
  EXPECT_EQ(find_window_of_type(thumb_state_window_type), nullptr);
  EXPECT_STREQ(state.notes.text(), "none");
  EXPECT_TRUE(boxes.texts().empty());

  info = open_info();
  ASSERT_NE(info, nullptr);
  SetWindowTextA(info->user_id_edit()->get_edit()->hwnd(), "tech7");
  EXPECT_STREQ(info->user_id_text(), "tech7");
  boxes.answer(answer_yes);
  SendMessageA(info->hwnd(), WM_CLOSE, 0, 0);
  ASSERT_EQ(boxes.records().size(), 1u);
  EXPECT_EQ(boxes.records()[0].caption, "-- State information has changed --");
  EXPECT_EQ(boxes.records()[0].text, "-- For File:\n-- " + path + "\n\n-- Save new information? --");
  std::ifstream in(folder.file("P01S02T0301A.st_"));
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(all.find("tech7"), std::string::npos);
  delete panel;
}
