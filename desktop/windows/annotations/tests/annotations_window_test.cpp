#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "desktop/windows/annotations/annotation_edit.h"
#include "desktop/windows/annotations/annotations.h"
#include "desktop/winlib/controls/tests/control_test_window.h"
#include "desktop/winlib/fonts/font_dialog_ui.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/tests/picture_pause.h"
#include "desktop/winlib/tests/window_texts.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

// An annotated window whose data map to page millimetres by a gain and an
// offset, as a graph's axes would. It is a child of the shared holder, which
// Wine takes down faster than a top-level window.
class notesWindow : public winTypeClass, public annotationListClass {
 public:
  notesWindow() : winTypeClass(&shared_holder(), 99) {
    HWND window = CreateWindowExA(0, "general", "notes", WS_CHILD | WS_BORDER, 10, 10, 500, 380,
                                  shared_holder().hwnd(), nullptr, program_instance, nullptr);
    set_hwnd(window);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
  }

  double x_to_page(double x, const paper&) override { return 10.0 + x * gain; }
  double y_to_page(double y, const paper&) override { return 80.0 - y * gain; }

  void draw(HDC dc, const paper& scale) override { draw_annotations(dc, scale); }
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override {
    if (message == WM_PAINT) {
      paint_window();
      return 0;
    }
    return DefWindowProcA(hwnd(), message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
  }

  // Paints now, so that every annotation's rectangle is laid out.
  void repaint() {
    InvalidateRect(hwnd(), nullptr, TRUE);
    UpdateWindow(hwnd());
  }

  double gain = 0.5;
};

// The editors open under the window, newest first.
std::vector<annotationEditClass*> editors_of(winTypeClass* owner) {
  std::vector<annotationEditClass*> found;
  windowNode* node = find_window_node(owner);
  for (windowNode* child = node ? node->first_child : nullptr; child; child = child->next) {
    if (auto* editor = dynamic_cast<annotationEditClass*>(child->object)) found.push_back(editor);
  }
  return found;
}

void type_into(annotationEditClass* editor, const std::string& text) {
  SendMessageA(editor->entry()->edit_hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void click(buttonClass* button) { SendMessageA(button->hwnd(), BM_CLICK, 0, 0); }

// Dispatches messages until the window is gone (at most 2 seconds): an
// edit field's caret keeps the queue busy, so it never runs idle.
void pump_until_gone(HWND window) {
  DWORD start = GetTickCount();
  MSG msg;
  while (IsWindow(window) && GetTickCount() - start < 2000) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

bool needs_paint(winTypeClass& window) { return GetUpdateRect(window.hwnd(), nullptr, FALSE) != 0; }

class Annotations : public ::testing::Test {
 protected:
  // Keeps a top-level window open while the tests' own windows close.
  void SetUp() override { shared_holder(); }
};

}  // namespace

TEST_F(Annotations, AddFindAndTheEditorsTheyOpen) {
  message_capture capture;
  auto* owner = new notesWindow;
  EXPECT_EQ(owner->add_annotation(owner, 20.0, 40.0, 300, 200), 0);
  std::vector<annotationEditClass*> editors = editors_of(owner);
  ASSERT_EQ(editors.size(), 1u);
  EXPECT_EQ(window_text(editors[0]->hwnd()), "add annotation");
  EXPECT_EQ(window_text(editors[0]->entry()->edit_hwnd()), " ");
  RECT r{};
  GetWindowRect(editors[0]->hwnd(), &r);
  EXPECT_EQ(r.left, 300);
  EXPECT_EQ(r.top, 200);
  // The annotation is listed, and drawn as " ", while its editor is open.
  annotationItem* first = owner->annotation(0);
  ASSERT_NE(first, nullptr);
  EXPECT_STREQ(first->text(), " ");
  SendMessageA(editors[0]->hwnd(), WM_CLOSE, 0, 0);

  // A second one at the same anchor overlaps the first.
  EXPECT_EQ(owner->add_annotation(owner, 20.0, 40.0, 300, 200), 1);
  annotationItem* second = owner->annotation(1);
  type_into(editors_of(owner)[0], "second, longer text");
  HWND editor_window = editors_of(owner)[0]->hwnd();
  click(editors_of(owner)[0]->ok_button());
  pump_until_gone(editor_window);
  EXPECT_STREQ(second->text(), "second, longer text");
  EXPECT_TRUE(editors_of(owner).empty());

  owner->repaint();
  double page_x = 10.0 + 20.0 * owner->gain;
  double page_y = 80.0 - 40.0 * owner->gain;
  EXPECT_DOUBLE_EQ(first->text_object().reference_x(), page_x);
  EXPECT_DOUBLE_EQ(first->text_object().reference_y(), page_y);
  // Only finding opens nothing; any editor x but 0.0 opens an editor on the
  // first annotation (in order of creation) under the point.
  EXPECT_EQ(owner->find_annotation(owner, page_x + 0.5, page_y + 0.5, 0.0, 30.0), first);
  EXPECT_TRUE(editors_of(owner).empty());
  EXPECT_EQ(owner->find_annotation(owner, page_x + 0.5, page_y + 0.5, 30.0, 0.0), first);
  editors = editors_of(owner);
  ASSERT_EQ(editors.size(), 1u);
  EXPECT_EQ(window_text(editors[0]->hwnd()), "edit annotation");
  EXPECT_EQ(editors[0]->annotation(), first);
  picture_pause();
  // The edges of the text's rectangle belong to it; a point past the longer
  // text finds nothing and opens nothing.
  EXPECT_EQ(owner->find_annotation(owner, page_x, page_y, 0.0, 0.0), first);
  double right = second->text_object().right();
  EXPECT_EQ(owner->find_annotation(owner, right, page_y + 0.5, 0.0, 0.0), second);
  EXPECT_EQ(owner->find_annotation(owner, right + 1.0, page_y + 0.5, 5.0, 5.0), nullptr);
  EXPECT_EQ(editors_of(owner).size(), 1u);

  // After the scale changes, a redraw puts each annotation at its anchor's
  // new page position.
  owner->gain = 1.5;
  second->set_anchor(30.0, 10.0);
  owner->repaint();
  EXPECT_DOUBLE_EQ(first->text_object().reference_x(), 10.0 + 20.0 * 1.5);
  EXPECT_DOUBLE_EQ(first->text_object().reference_y(), 80.0 - 40.0 * 1.5);
  EXPECT_DOUBLE_EQ(second->text_object().reference_x(), 10.0 + 30.0 * 1.5);
  EXPECT_DOUBLE_EQ(second->text_object().reference_y(), 80.0 - 10.0 * 1.5);
  EXPECT_TRUE(capture.texts().empty());
  SendMessageA(owner->hwnd(), WM_CLOSE, 0, 0);
}

TEST_F(Annotations, EveryWayOfClosingTheEditorCommitsItsField) {
  message_capture capture;
  auto* owner = new notesWindow;
  owner->add_annotation(owner, 1.0, 1.0, 100, 100);
  annotationItem* note = owner->annotation(0);
  SendMessageA(editors_of(owner)[0]->hwnd(), WM_CLOSE, 0, 0);
  note->set_text("as opened");
  owner->repaint();

  enum way { ok, enter, close_box, cancel };
  // Each case opens an editor on the text the case before left.
  struct {
    way how;
    std::string typed;
    std::string committed;
  } cases[] = {
      {ok, "50% of b %s", "50% of b %s"},  // the text is shown as typed, never formatted
      {enter, "changed by Enter", "changed by Enter"},
      {close_box, "changed by closing", "changed by closing"},
      {cancel, "typed, then cancelled", "changed by closing"},
      {ok, std::string(70, 'a') + "tail", std::string(63, 'a')},
      {ok, "", ""},
      {cancel, "something", ""},
  };
  for (const auto& c : cases) {
    std::string before = note->text();
    auto* editor = new annotationEditClass(owner, "edit annotation", note, 50, 50);
    HWND window = editor->hwnd();
    EXPECT_EQ(window_text(editor->entry()->edit_hwnd()), before);
    type_into(editor, c.typed);
    // The annotation keeps its text until the editor closes.
    EXPECT_EQ(note->text(), before);
    ValidateRect(owner->hwnd(), nullptr);
    switch (c.how) {
      case ok: click(editor->ok_button()); break;
      case enter: SendMessageA(window, WM_KEYDOWN, VK_RETURN, 0); break;
      case close_box: SendMessageA(window, WM_CLOSE, 0, 0); break;
      case cancel: click(editor->cancel_button()); break;
    }
    // A click repaints the owner before the editor closes.
    if (c.how == ok || c.how == cancel) {
      EXPECT_TRUE(needs_paint(*owner)) << c.typed;
    }
    pump_until_gone(window);
    EXPECT_FALSE(IsWindow(window)) << c.typed;
    EXPECT_EQ(note->text(), c.committed) << c.typed;
    EXPECT_EQ(note->text_object().line_text(0), c.committed) << c.typed;
    EXPECT_EQ(note->open_editors(), 0u);
    owner->repaint();  // the new text's rectangle
  }
  EXPECT_TRUE(capture.texts().empty());
  SendMessageA(owner->hwnd(), WM_CLOSE, 0, 0);
}

namespace {
BOOL cancel_font(CHOOSEFONTA*) { return FALSE; }
DWORD no_error() { return 0; }
}  // namespace

TEST_F(Annotations, SetFontOffersTheDialogAndKeepsTheEditorOpen) {
  message_capture capture;
  font_dialog_calls previous = font_dialog_ui_install(font_dialog_calls{cancel_font, no_error});
  auto* owner = new notesWindow;
  owner->add_annotation(owner, 1.0, 1.0, 100, 100);
  annotationEditClass* editor = editors_of(owner)[0];
  ValidateRect(owner->hwnd(), nullptr);
  click(editor->font_button());
  EXPECT_TRUE(needs_paint(*owner));
  EXPECT_TRUE(IsWindow(editor->hwnd()));
  font_dialog_ui_install(previous);
  SendMessageA(owner->hwnd(), WM_CLOSE, 0, 0);
}

TEST_F(Annotations, ClosingTheOwnerWithEditorsOpenClosesThemFirst) {
  message_capture capture;
  auto* owner = new notesWindow;
  owner->add_annotation(owner, 1.0, 1.0, 100, 100);
  owner->add_annotation(owner, 2.0, 2.0, 120, 120);
  owner->repaint();
  // Two editors on the first annotation, one on the second.
  owner->find_annotation(owner, 11.0, 80.0, 50.0, 50.0);
  std::vector<annotationEditClass*> editors = editors_of(owner);
  ASSERT_EQ(editors.size(), 3u);
  std::vector<HWND> windows;
  for (auto* editor : editors) {
    type_into(editor, "never committed");
    windows.push_back(editor->hwnd());
  }
  EXPECT_EQ(owner->annotation(0)->open_editors(), 2u);
  HWND owner_window = owner->hwnd();
  SendMessageA(owner_window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(owner_window));
  for (HWND window : windows) EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(capture.texts().empty());
}

TEST_F(Annotations, AnEditorWithoutAnAnnotationBuildsNothing) {
  message_capture capture;
  auto* editor = new annotationEditClass(&shared_holder(), "add annotation", nullptr, 10, 10);
  EXPECT_EQ(editor->hwnd(), nullptr);
  EXPECT_EQ(editor->entry(), nullptr);
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** NO ANNOTATION TO PROCESS ***"});
  delete editor;
}
