#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "desktop/winlib/controls/tests/control_test_window.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/tests/picture_pause.h"
#include "desktop/windows/trace_panels/plot_attributes.h"
#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/data/tests/record_fixture.h"
#include "desktop/windows/samples/sample_select.h"
#include "desktop/data/samples_list.h"
#include "desktop/data/trace_clipboard.h"
#include "desktop/winlib/tests/window_texts.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

// The pop-up menus of the selectors answer with the next scripted command
// (0: dismissed).
std::vector<int> menu_answers;
BOOL scripted_menu(HMENU, UINT, int, int, HWND, LPTPMPARAMS) {
  if (menu_answers.empty()) return 0;
  int answer = menu_answers.front();
  menu_answers.erase(menu_answers.begin());
  return answer;
}

void fill_ramp(traceClass& trace) {
  std::vector<double> x, y;
  for (int i = 0; i < 200; i++) {
    x.push_back(i * 0.5);
    y.push_back((i % 7) * 3.0);
  }
  trace.set_data(3, x.data(), y.data(), 200);
  trace.set_label("OD ramp");
  trace.set_name("ramp");
}

// A trace entry as a comparison graph holds one.
struct entryFixture {
  entryFixture() {
    fill_ramp(source);
    entry = std::make_unique<tracePlusClass>(&source);
  }
  traceClass source;
  std::unique_ptr<tracePlusClass> entry;
};

std::string caption_of(groupMenuClass* selector) {
  std::string text = selector->caption().line_text(0);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// The pixel in the middle of a control of the window.
LPARAM centre_of(const positionClass& box) {
  const paper& s = screen_paper;
  return MAKELPARAM(s.px_x(box.x() + box.width() / 2.0), s.px_y(box.y() + box.height() / 2.0));
}

bool needs_paint(HWND window) { return GetUpdateRect(window, nullptr, FALSE) != 0; }

class PlotAttributes : public ::testing::Test {
 protected:
  void SetUp() override {
    menu_answers.clear();
    previous_ = popup_menu_ui_install(popup_menu_calls{scripted_menu});
    holder().notices.clear();
  }
  void TearDown() override { popup_menu_ui_install(previous_); }

  // The stand-in comparison graph: it hears the notices.
  testHolderWindow& holder() { return shared_holder(); }
  plotAttributesWindow* open(tracePlusClass* entry) {
    return new plotAttributesWindow(&holder(), entry, 10.0, 20.0, 2, "CG1");
  }

 private:
  popup_menu_calls previous_;
};

}  // namespace

TEST_F(PlotAttributes, OpeningShowsTheEntryAndResetsItsSymbols) {
  message_capture capture;
  entryFixture f;
  tracePlusClass& entry = *f.entry;
  entry.set_symbol(symbol_diamond);
  entry.set_symbol_size(6.0);
  entry.set_symbol_separation(5.0);
  entry.set_symbol_color(3);
  entry.set_line_width(3);
  entry.set_dash(5);
  entry.set_color(9);
  entry.set_spike_filter(1);  // a filtered trace, which takes the symbols too
  ASSERT_NE(entry.filtered_trace(), nullptr);

  plotAttributesWindow* window = open(&entry);
  ASSERT_NE(window->hwnd(), nullptr);
  EXPECT_EQ(entry.attributes_window(), window);
  EXPECT_EQ(window_text(window->hwnd()), "CG1 - 2. OD ramp Attributes");
  EXPECT_FALSE(IsWindowVisible(window->hwnd()));
  EXPECT_EQ(GetParent(window->hwnd()), holder().hwnd());
  for (traceClass* t : {entry.own_trace(), entry.filtered_trace()}) {
    EXPECT_EQ(t->symbol, symbol_none);
    EXPECT_EQ(t->symbol_size, 3.0);
    EXPECT_EQ(t->symbol_separation, 20.0);
    EXPECT_EQ(t->symbol_color, 0);
  }
  EXPECT_EQ(caption_of(window->symbol_menu()), "none");
  EXPECT_EQ(caption_of(window->size_menu()), "3mm");
  EXPECT_EQ(caption_of(window->separation_menu()), "20mS");
  EXPECT_EQ(caption_of(window->symbol_colour_menu()), "Red");
  EXPECT_EQ(caption_of(window->fill_menu()), "Dash-5");
  EXPECT_EQ(caption_of(window->width_menu()), "1.5mm");
  EXPECT_EQ(caption_of(window->line_colour_menu()), "White");
  EXPECT_FALSE(IsWindowVisible(window->samples_button()->hwnd()));
  EXPECT_EQ(window_text(window->lowpass_edit()->edit_hwnd()), "50");

  // Symbols set once the window exists (as the summary graph sets its own)
  // stay, and the window shows them at its next paint.
  entry.set_symbol(symbol_square);
  entry.set_symbol_size(5.0);
  entry.set_symbol_color(4);
  entry.set_symbol_separation(12.5);  // no entry stands for it
  entry.set_dash(0);
  window->show();
  window->invalidate();
  UpdateWindow(window->hwnd());
  EXPECT_EQ(entry.symbol(), symbol_square);
  EXPECT_EQ(caption_of(window->symbol_menu()), "square");
  EXPECT_EQ(caption_of(window->size_menu()), "5mm");
  EXPECT_EQ(caption_of(window->symbol_colour_menu()), "Violet");
  EXPECT_EQ(caption_of(window->separation_menu()), "--");
  EXPECT_EQ(caption_of(window->fill_menu()), "Solid");
  delete window;

  // Another fill and width leave the initial text; samples show the button.
  entry.set_dash(3);
  entry.set_line_width(7);
  samplesListClass samples;
  auto record = make_record();
  fill_block(record->LastSweep, {1, 2, 3}, 1.0, 3, 0);
  ASSERT_EQ(samples.add_sample(*record, record->LastSweep, 0), 0);
  entry.set_sample_list(&samples);
  window = open(&entry);
  EXPECT_EQ(caption_of(window->fill_menu()), "--");
  EXPECT_EQ(caption_of(window->width_menu()), "--");
  window->show();
  EXPECT_TRUE(IsWindowVisible(window->samples_button()->hwnd()));
  picture_pause();
  delete window;
  EXPECT_TRUE(capture.texts().empty());
}

TEST_F(PlotAttributes, ClicksSwitchTheEntryAndRepaintBothWindows) {
  message_capture capture;
  entryFixture f;
  tracePlusClass& entry = *f.entry;
  plotAttributesWindow* window = open(&entry);
  window->show();
  auto click = [&](checkBoxClass* box) {
    ValidateRect(holder().hwnd(), nullptr);
    SendMessageA(window->hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(box->hwnd()));
    EXPECT_TRUE(needs_paint(holder().hwnd()));
    UpdateWindow(window->hwnd());
  };
  auto checked = [](checkBoxClass* box) { return box->is_checked(); };

  click(window->spikes_box());
  EXPECT_TRUE(entry.has_spike_filter());
  EXPECT_TRUE(checked(window->spikes_box()));
  click(window->notch60_box());
  EXPECT_TRUE(entry.has_60hz_filter());
  // 50 Hz while 60 Hz is on leaves only 50 Hz on, and the boxes show it.
  click(window->notch50_box());
  EXPECT_TRUE(entry.has_50hz_filter());
  EXPECT_FALSE(entry.has_60hz_filter());
  EXPECT_TRUE(checked(window->notch50_box()));
  EXPECT_FALSE(checked(window->notch60_box()));
  click(window->notch50_box());
  EXPECT_FALSE(entry.has_50hz_filter());
  EXPECT_FALSE(entry.has_60hz_filter());
  click(window->lowpass_box());
  EXPECT_TRUE(entry.has_lowpass_filter());
  EXPECT_EQ(entry.lowpass_frequency(), 50.0);
  click(window->lowpass_box());
  EXPECT_FALSE(entry.has_lowpass_filter());
  click(window->show_box());
  EXPECT_EQ(entry.shown(), 0);
  EXPECT_FALSE(checked(window->show_box()));
  click(window->scaling_box());
  EXPECT_FALSE(entry.use_for_scaling());
  EXPECT_FALSE(checked(window->scaling_box()));

  SendMessageA(window->hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
               reinterpret_cast<LPARAM>(window->copy_button()->hwnd()));
  EXPECT_TRUE(trace_clipboard.loaded());
  EXPECT_EQ(trace_clipboard.get_count(), 200);
  EXPECT_EQ(trace_clipboard.source_window(), nullptr);
  delete window;
  EXPECT_TRUE(capture.texts().empty());
}

TEST_F(PlotAttributes, TheLowpassFieldTakesANumberEndedBySemicolon) {
  entryFixture f;
  tracePlusClass& entry = *f.entry;
  plotAttributesWindow* window = open(&entry);
  HWND field = window->lowpass_edit()->edit_hwnd();
  struct {
    const char* typed;
    double frequency;
    const char* shown;
    std::vector<std::string> messages;
  } cases[] = {
      {"150", 50.0, "150", {}},
      {"1000;", 1000.0, "1000", {}},
      {"1000.5;", 1000.0, "1000", {"*** ENTRY MUST BE BETWEEN 3 AND 1000 ***"}},
      {"2;", 1000.0, "1000", {"*** ENTRY MUST BE BETWEEN 3 AND 1000 ***"}},
      {"x2;", 1000.0, "1000", {"*** ENTRY MUST BE BETWEEN 3 AND 1000 ***"}},
      {";", 1000.0, "1000", {"*** NO ENTRY MADE, ENTER NUMBER, THEN SEMICOLON. ***"}},
      {"3;", 3.0, "3", {}},
  };
  for (const auto& c : cases) {
    message_capture capture;
    SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.typed));
    EXPECT_EQ(entry.lowpass_frequency(), c.frequency) << c.typed;
    EXPECT_EQ(window_text(field), c.shown) << c.typed;
    EXPECT_EQ(capture.texts(), c.messages) << c.typed;
    EXPECT_FALSE(entry.has_lowpass_filter());
  }
  // With the filter on, a new frequency rebuilds the filtered trace.
  entry.switch_lowpass_filter(1);
  traceClass* before = entry.filtered_trace();
  ASSERT_NE(before, nullptr);
  double y10 = before->points()[10].y;
  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("200;"));
  EXPECT_EQ(entry.lowpass_frequency(), 200.0);
  EXPECT_TRUE(entry.has_lowpass_filter());
  EXPECT_NE(entry.filtered_trace()->points()[10].y, y10);
  delete window;
}

TEST_F(PlotAttributes, RightClicksChooseFromTheSelectorsOrAskTheGraph) {
  message_capture capture;
  entryFixture f;
  tracePlusClass& entry = *f.entry;
  plotAttributesWindow* window = open(&entry);
  window->show();
  UpdateWindow(window->hwnd());
  auto pick = [&](groupMenuClass* selector, int index) {
    menu_answers = {static_cast<int>(group_menu_first_id) + index};
    SendMessageA(window->hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, centre_of(*selector));
    EXPECT_TRUE(menu_answers.empty());
  };
  pick(window->fill_menu(), 0);
  EXPECT_EQ(entry.no_line(), 1);
  pick(window->fill_menu(), 4);
  EXPECT_EQ(entry.no_line(), 0);
  EXPECT_EQ(entry.dash(), 10);
  EXPECT_EQ(caption_of(window->fill_menu()), "Dash-10");
  pick(window->width_menu(), 3);
  EXPECT_EQ(entry.line_width(), 4);
  pick(window->symbol_menu(), 4);
  EXPECT_EQ(entry.symbol(), symbol_circle);
  pick(window->size_menu(), 5);
  EXPECT_EQ(entry.own_trace()->symbol_size, 8.0);
  pick(window->separation_menu(), 0);
  EXPECT_EQ(entry.own_trace()->symbol_separation, 5.0);
  pick(window->symbol_colour_menu(), 6);
  EXPECT_EQ(entry.own_trace()->symbol_color, 6);
  EXPECT_TRUE(holder().notices.empty());
  LPARAM at = centre_of(*window->line_colour_menu());
  pick(window->line_colour_menu(), 7);
  EXPECT_EQ(entry.color(), 9);  // "White" is 9, not 7
  ASSERT_EQ(holder().notices.size(), 1u);
  EXPECT_EQ(holder().notices[0], std::make_pair(attributes_notice_colour, static_cast<intptr_t>(at)));

  // A dismissed menu changes nothing; a click on no selector asks the graph
  // for its copy menu and changes nothing either.
  holder().notices.clear();
  menu_answers = {0};
  SendMessageA(window->hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, centre_of(*window->width_menu()));
  EXPECT_EQ(entry.line_width(), 4);
  LPARAM empty = MAKELPARAM(screen_paper.px_x(window->width() - 1.0), screen_paper.px_y(window->height() - 1.0));
  SendMessageA(window->hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, empty);
  ASSERT_EQ(holder().notices.size(), 1u);
  EXPECT_EQ(holder().notices[0], std::make_pair(attributes_notice_copy_menu, static_cast<intptr_t>(empty)));
  EXPECT_EQ(entry.color(), 9);
  EXPECT_EQ(entry.line_width(), 4);
  delete window;
  EXPECT_TRUE(capture.texts().empty());
}

TEST_F(PlotAttributes, ShowSamplesOpensTheSelectionOfTheEntrysSamples) {
  message_capture capture;
  entryFixture f;
  tracePlusClass& entry = *f.entry;
  samplesListClass samples;
  auto record = make_record();
  fill_block(record->LastSweep, {1, 2, 3}, 1.0, 3, 0);
  samples.add_sample(*record, record->LastSweep, 0);
  fill_block(record->LastSweep, {5, 6, 7}, 1.0, 3, 0);
  samples.add_sample(*record, record->LastSweep, 1);
  entry.set_sample_list(&samples);
  plotAttributesWindow* window = open(&entry);
  window->show();
  auto press = [&] {
    SendMessageA(window->hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(window->samples_button()->hwnd()));
  };
  press();
  sampleSelectWindowClass* selection = window->samples_window();
  ASSERT_NE(selection, nullptr);
  EXPECT_TRUE(window->samples_shown());
  EXPECT_EQ(window_text(selection->hwnd()), "Samples for: OD ramp");
  EXPECT_EQ(window_text(window->samples_button()->hwnd()), "Hide Samples");
  EXPECT_TRUE(IsWindowVisible(selection->hwnd()));
  press();
  EXPECT_FALSE(window->samples_shown());
  EXPECT_FALSE(IsWindowVisible(selection->hwnd()));
  EXPECT_EQ(window_text(window->samples_button()->hwnd()), "Show Samples");
  press();
  EXPECT_EQ(window->samples_window(), selection);  // made once, then shown again

  // A change of the selection makes the entry the average of the samples
  // still included.
  selection->sample_window(0)->check_box()->uncheck();
  EXPECT_EQ(selection->apply_checks(), 0);
  EXPECT_EQ(entry.active_trace()->y_at(0), 5.0);

  // The selection closing is heard: the window forgets it.
  SendMessageA(selection->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(window->samples_window(), nullptr);
  EXPECT_FALSE(window->samples_shown());
  EXPECT_EQ(window_text(window->samples_button()->hwnd()), "Show Samples");
  delete window;
  EXPECT_TRUE(capture.texts().empty());
}

TEST_F(PlotAttributes, WithoutAnEntryNothingIsBuilt) {
  message_capture capture;
  int nodes = count_window_nodes();
  plotAttributesWindow* window = open(nullptr);
  EXPECT_EQ(window->hwnd(), nullptr);
  EXPECT_EQ(window->show_box(), nullptr);
  EXPECT_EQ(capture.texts(),
            std::vector<std::string>{"*** plotAttributesWindow::plotAttributesWindow - NO tracePlusClass PROVIDED. ***"});
  SendMessageA(holder().hwnd(), WM_PAINT, 0, 0);
  delete window;
  EXPECT_EQ(count_window_nodes(), nodes);
}

namespace {

// A graph that owns its entry and goes before its child windows, as a
// comparison graph does.
class ownerGraph : public winTypeClass {
 public:
  ownerGraph() : winTypeClass(&shared_holder(), 99) {
    HWND window = CreateWindowExA(0, "general", "graph", WS_CHILD | WS_VISIBLE, 0, 0, 500, 380,
                                  shared_holder().hwnd(), nullptr, program_instance, nullptr);
    set_hwnd(window);
  }
  void draw(HDC, const paper&) override {}
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override {
    return DefWindowProcA(hwnd(), message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
  }
  samplesListClass samples;  // a thumbnail's, which outlives the entry here
  entryFixture entry;
};

}  // namespace

TEST_F(PlotAttributes, ClosingTheGraphWithTheWindowAndItsSamplesShownDoesNotReachTheGoneEntry) {
  message_capture capture;
  auto* graph = new ownerGraph;
  auto record = make_record();
  fill_block(record->LastSweep, {1, 2, 3}, 1.0, 3, 0);
  graph->samples.add_sample(*record, record->LastSweep, 0);
  graph->entry.entry->set_sample_list(&graph->samples);
  auto* window = new plotAttributesWindow(graph, graph->entry.entry.get(), 5.0, 5.0, 1, "CG1");
  HWND attributes = window->hwnd();
  window->show();
  UpdateWindow(attributes);
  window->toggle_samples_window();
  ASSERT_NE(window->samples_window(), nullptr);
  HWND selection = window->samples_window()->hwnd();
  SendMessageA(graph->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(attributes));
  EXPECT_FALSE(IsWindow(selection));
  EXPECT_TRUE(capture.texts().empty());
}
