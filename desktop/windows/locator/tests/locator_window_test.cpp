#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "desktop/winlib/controls/buttons.h"
#include "desktop/winlib/panels/directory_panel.h"
#include "desktop/winlib/controls/edit_fields.h"
#include "desktop/winlib/files/kv_bridge.h"
#include "desktop/winlib/controls/list_controls.h"
#include "desktop/data/locator/tests/locator_fixture.h"
#include "desktop/windows/locator/locator_window.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/tests/program_setting_restore.h"
#include "desktop/winlib/tests/pump.h"
#include "desktop/data/tests/record_fixture.h"
#include "desktop/winlib/settings/registry_settings.h"
#include "desktop/windows/session_panel/session_panel.h"
#include "desktop/winlib/tests/start_up_environment.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "desktop/data/test_state.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

std::string root_of(const temp_folder& folder) { return folder.path().string() + "\\"; }

// The 1000 tests of the tree, written once for the program.
const std::string& tree_root() {
  static temp_folder folder;
  static std::string root;
  if (root.empty()) {
    root = root_of(folder);
    write_locator_tree(root);
  }
  return root;
}

void write_user_id(const std::string& test_path, const char* user_id) {
  byteObjectClass name, value(user_id);
  state_file_name(test_path.c_str(), name);
  kvBridgeClass state;
  state.add_entry("userid", kv_byte_object, &value);
  ASSERT_TRUE(state.save_file(name.text(), "TestState"));
}

// A small folder that shows each criterion: ids, patients, channels, a
// slave unit's name, a name of another form, a short and a long file, and
// state files with user ids.
class criteriaFolder {
 public:
  criteriaFolder() {
    root = root_of(folder);
    write_locator_test(root + "P01S01T0101A1234.TST", "P12", 7, 80);
    write_user_id(root + "P01S01T0101A1234.TST", "JANE");
    write_locator_test(root + "P01S01T0101B1234.TST", "P12", 7, 90);
    write_user_id(root + "P01S01T0101B1234.TST", "BOB");
    write_locator_test(root + "P01S01T0201A.TST", "Q5", 8, 100);
    write_locator_test(root + "P02S01T0101B0000000000-SLAVE.TST", "0000000000", 7, 70);
    write_user_id(root + "P02S01T0101B0000000000-SLAVE.TST", "jane doe");
    write_locator_test(root + "short.TST", "SHORTNAME", 7, 60);
    write_locator_test(root + "P03S01T0101A.TST", "CUT", 7, 60);
    std::vector<uint8_t> bytes = test_file_bytes(*make_record());
    bytes.resize(5000);
    write_bytes(root + "P03S01T0101A.TST", bytes);
    write_locator_test(root + "P04S01T0101A.TST", "LONG", 9, 110);
    bytes = test_file_bytes(*make_record());
    bytes.push_back(0);
    bytes.push_back(0);
    FILE* f = std::fopen((root + "P04S01T0101A.TST").c_str(), "ab");
    std::fwrite(bytes.data(), 1, 2, f);
    std::fclose(f);
  }
  temp_folder folder;
  std::string root;
};

// The locator rooted at a folder, with the setting put back afterwards.
class Locator : public ::testing::Test {
 protected:
  void SetUp() override {
    start_up_texts();
    const char* old = get_program_setting(locator_root_setting, true);
    saved_root_ = old != nullptr ? old : "";
    const char* session_file = get_program_setting("last_session_file", true);
    saved_session_file_ = session_file != nullptr ? session_file : "";
    set_error_count(0);
  }
  void TearDown() override {
    if (locator_ != nullptr && find_window_node(locator_) != nullptr) SendMessageA(locator_->hwnd(), WM_CLOSE, 0, 0);
    close_sessions();
    pump();
    restore_program_setting(locator_root_setting, saved_root_);
    restore_program_setting("last_session_file", saved_session_file_);
    set_error_count(0);
  }

  testLocatorPanelClass* open(const std::string& root) {
    set_program_setting(locator_root_setting, root.c_str());
    locator_ = new testLocatorPanelClass(100, 10);
    pump();
    return locator_;
  }

  void click(HWND control) {
    SendMessageA(locator_->hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(control));
  }
  void list_notice(int code) {
    SendMessageA(locator_->hwnd(), WM_COMMAND, MAKEWPARAM(0, code), reinterpret_cast<LPARAM>(locator_->list()->hwnd()));
  }
  void find(const char* test_id, const char* patient, const char* eye, const char* user_id) {
    locator_->test_id_edit()->get_edit()->set_text(test_id);
    locator_->patient_edit()->get_edit()->set_text(patient);
    locator_->eye_edit()->get_edit()->set_text(eye);
    locator_->user_id_edit()->get_edit()->set_text(user_id);
    click(locator_->find_button());
    pump();
  }
  std::vector<std::string> rows() {
    std::vector<std::string> texts;
    for (int i = 0; i < locator_->list()->count(); i++) texts.push_back(locator_->list()->item_text(i));
    return texts;
  }
  static sessionPanelClass* session() {
    windowNode* node = find_window_of_type(session_window_type);
    return node != nullptr ? static_cast<sessionPanelClass*>(node->object) : nullptr;
  }
  static void close_sessions() {
    while (sessionPanelClass* panel = session()) SendMessageA(panel->hwnd(), WM_CLOSE, 0, 0);
  }

  // The criteria folder, made on first use. It and the capture outlive the
  // windows, which may write state files and report when they close.
  criteriaFolder& criteria() {
    if (!criteria_) criteria_.reset(new criteriaFolder());
    return *criteria_;
  }

  message_capture capture;
  std::unique_ptr<criteriaFolder> criteria_;
  testLocatorPanelClass* locator_ = nullptr;
  std::string saved_root_;
  std::string saved_session_file_;
};

// Cancels the search at the n-th message that the progress panel lets run,
// through the panel's close box, as a person would.
class cancelAtPump : public winTypeClass {
 public:
  explicit cancelAtPump(int pumps) : winTypeClass(nullptr, window_type::general), left_(pumps) {
    set_hwnd(CreateWindowExA(0, "general", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, program_instance, nullptr));
    PostMessageA(hwnd(), WM_APP, 0, 0);
  }
  void draw(HDC, const paper&) override {}
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override {
    if (message != WM_APP) return DefWindowProcA(hwnd(), message, wparam, lparam);
    if (--left_ > 0) {
      PostMessageA(hwnd(), WM_APP, 0, 0);
    } else if (HWND panel = FindWindowA(nullptr, " SEARCHING FOR TESTS")) {
      SendMessageA(panel, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    return 0;
  }

 private:
  int left_;
};

}  // namespace

TEST_F(Locator, SearchesAThousandTestsWithAndWithoutSubFoldersAndCancels) {
  const std::string& root = tree_root();
  open(root);
  EXPECT_EQ(GetMenuItemID(GetSubMenu(locator_->menu(), 0), 0), static_cast<UINT>(locator_new_directory));
  char title[300];
  GetWindowTextA(locator_->hwnd(), title, sizeof title);
  EXPECT_EQ(std::string(title), "Test Locator: tests@[" + root + "]");
  EXPECT_FALSE(IsWindowVisible(locator_->remove_button()));
  EXPECT_FALSE(IsWindowVisible(locator_->session_button()));

  find("", "", "", "");
  EXPECT_EQ(locator_->found_count(), 1000);
  EXPECT_EQ(locator_->list()->count(), 1000);
  EXPECT_STREQ(locator_->count_text(), "1000");
  EXPECT_EQ(locator_->list()->item_text(0), "P01S01T0001A");
  EXPECT_EQ(locator_->list()->item_text(999), "P10S01T4901B");
  EXPECT_EQ(locator_->item_test_id(999), "T9-99");
  // The first entry is chosen and previewed; the list buttons show.
  EXPECT_EQ(locator_->list()->selection(), 0);
  ASSERT_NE(locator_->preview(), nullptr);
  EXPECT_EQ(std::string(locator_->preview()->path()), root + "P01S01T0001A.TST");
  EXPECT_TRUE(IsWindowVisible(locator_->preview()->hwnd()));
  EXPECT_TRUE(IsWindowVisible(locator_->remove_button()));
  EXPECT_FALSE(IsIconic(locator_->hwnd()));
  EXPECT_EQ(find_window_of_type(info_panel_type), nullptr);

  // Without sub-folders only the root's tests.
  click(locator_->subfolder_box());
  find("", "", "", "");
  EXPECT_EQ(locator_->found_count(), tree_folder_files);
  click(locator_->subfolder_box());

  // A search cancelled from the panel stops between folders; the next one
  // finds everything again.
  auto* canceller = new cancelAtPump(3);
  find("", "", "", "");
  delete canceller;
  EXPECT_GT(locator_->found_count(), 0);
  EXPECT_LT(locator_->found_count(), 1000);
  EXPECT_EQ(locator_->found_count() % tree_folder_files, 0);
  EXPECT_EQ(locator_->list()->count(), locator_->found_count());
  find("", "", "", "");
  EXPECT_EQ(locator_->found_count(), 1000);
  EXPECT_TRUE(capture.texts().empty());
}

TEST_F(Locator, CriteriaTable) {
  const std::string& root = criteria().root;
  open(root);
  const std::string short_read = "*** READING OF FILE ***\n" + root +
                                 "\nP03S01T0101A.TST\n*** FAILED ***\n***requested 96680, got 4999 bytes ***";
  const std::string bad_name = "*** INCORRECT FILENAME [short.TST]***";
  const std::string bad_eye = "*** EYE MUST BE 'OD' or 'OS' or blank ***";
  const std::string a = "P01S01T0101A1234", b = "P01S01T0101B1234", q = "P01S01T0201A",
                    slave = "P02S01T0101B0000000000-SLAVE", longer = "P04S01T0101A", shortname = "short";
  struct Case {
    const char *test_id, *patient, *eye, *user_id;
    std::vector<std::string> rows;
    std::vector<std::string> messages;  // besides the short file's
  } cases[] = {
      {"", "", "", "", {a, b, q, slave, longer, shortname}, {}},
      {"", "0", "", "", {a, b, q, slave, longer, shortname}, {}},
      {"", "7", "", "", {a, b, slave, shortname}, {}},
      {"p*", "", "", "", {a, b}, {}},
      {"P?", "", "", "", {}, {}},
      {"\"*\"", "", "", "", {}, {}},
      {"0*", "7", "", "", {slave}, {}},
      {"", "", "od", "", {a, q, longer}, {bad_name}},
      {"", "", "OS", "", {b, slave}, {bad_name}},
      {"", "", "X", "", {}, {bad_eye, bad_eye, bad_eye, bad_eye, bad_eye, bad_name}},
      {"", "", "", "J*", {a, slave}, {}},
      // With an eye given the user id still applies.
      {"", "", "OD", "J*", {a}, {bad_name}},
      {"", "", "OS", "BOB", {b}, {bad_name}},
  };
  for (const Case& c : cases) {
    capture.clear();
    find(c.test_id, c.patient, c.eye, c.user_id);
    const std::string label = std::string("[") + c.test_id + "|" + c.patient + "|" + c.eye + "|" + c.user_id + "]";
    EXPECT_EQ(rows(), c.rows) << label;
    EXPECT_EQ(locator_->found_count(), static_cast<int>(c.rows.size())) << label;
    // Files come in name order: the short file's report comes after those
    // of the files before it.
    std::vector<std::string> texts = capture.texts();
    auto at = std::find(texts.begin(), texts.end(), short_read);
    ASSERT_NE(at, texts.end()) << label;
    texts.erase(at);
    EXPECT_EQ(texts, c.messages) << label;
    // A skipped file does not stop the search, nor count as a stop.
    EXPECT_EQ(error_count(), 0u) << label;
  }
}

TEST_F(Locator, RemoveOpenAndListToSession) {
  criteriaFolder& fixture = criteria();
  open(fixture.root);
  find("", "7", "", "");
  ASSERT_EQ(rows().size(), 4u);

  // Double click opens the test's series (P01S01: three tests).
  const int32_t cascade = window_cascade_count;
  locator_->list()->set_selection(0);
  list_notice(LBN_SELCHANGE);
  list_notice(LBN_DBLCLK);
  ASSERT_NE(session(), nullptr);
  EXPECT_EQ(session()->thumbnail_count(), 3);
  EXPECT_EQ(window_cascade_count, cascade + 1);
  close_sessions();

  // The whole list to one session, in list order.
  click(locator_->session_button());
  ASSERT_NE(session(), nullptr);
  EXPECT_EQ(session()->thumbnail_count(), 4);
  EXPECT_EQ(window_cascade_count, cascade + 2);
  close_sessions();

  // Removing keeps the position; the last removal hides the buttons.
  locator_->list()->set_selection(1);
  list_notice(LBN_SELCHANGE);
  click(locator_->remove_button());
  EXPECT_EQ(rows(), (std::vector<std::string>{"P01S01T0101A1234", "P02S01T0101B0000000000-SLAVE", "short"}));
  EXPECT_EQ(locator_->list()->selection(), 1);
  ASSERT_NE(locator_->preview(), nullptr);
  EXPECT_EQ(std::string(locator_->preview()->path()), fixture.root + "P02S01T0101B0000000000-SLAVE.TST");
  EXPECT_STREQ(locator_->count_text(), "  3");
  locator_->list()->set_selection(2);
  click(locator_->remove_button());
  EXPECT_EQ(locator_->list()->selection(), 1);
  click(locator_->remove_button());
  click(locator_->remove_button());
  EXPECT_EQ(locator_->list()->count(), 0);
  EXPECT_STREQ(locator_->count_text(), "  0");
  EXPECT_EQ(locator_->preview(), nullptr);
  EXPECT_FALSE(IsWindowVisible(locator_->remove_button()));
  EXPECT_FALSE(IsWindowVisible(locator_->session_button()));
  click(locator_->remove_button());  // nothing chosen: nothing happens
  EXPECT_EQ(find_window_of_type(thumbnail_window_type), nullptr);
  EXPECT_TRUE(capture.texts().size() == 1u);  // the short file's report
}

// The preview shows its thumbnail whole: the wave results right of the
// graph lie inside the thumbnail's window, and the window inside its frame.
TEST_F(Locator, ThePreviewShowsItsThumbnailWhole) {
  open(criteria().root);
  find("", "", "", "");
  ASSERT_GT(locator_->list()->count(), 0);
  locator_->list()->set_selection(0);
  list_notice(LBN_SELCHANGE);
  pump();
  thumbnailClass* shown = locator_->preview();
  ASSERT_NE(shown, nullptr);
  RECT client{};
  GetClientRect(shown->hwnd(), &client);
  EXPECT_LE(shown->waveform_text().right(), screen_paper.mm_x(client.right)) << shown->waveform_line(2);
  EXPECT_LE(shown->waveform_text().bottom(), screen_paper.mm_y(client.bottom));
}

TEST_F(Locator, ClosingDuringTheSearchEndsIt) {
  open(tree_root());
  // The first message the panel runs closes the locator.
  PostMessageA(locator_->hwnd(), WM_CLOSE, 0, 0);
  click(locator_->find_button());
  EXPECT_EQ(find_window_of_type(locator_window_type), nullptr);
  EXPECT_EQ(find_window_of_type(info_panel_type), nullptr);
  locator_ = nullptr;
  EXPECT_TRUE(capture.texts().empty());
}

TEST_F(Locator, NewTestDirectoryChoosesTheRoot) {
  const std::string root = criteria().root;
  const std::string above = root.substr(0, root.find_last_of('\\', root.size() - 2) + 1);
  open(root);
  auto chooser = [&]() -> directoryPanelClass* {
    SendMessageA(locator_->hwnd(), WM_COMMAND, MAKEWPARAM(locator_new_directory, 0), 0);
    pump();
    windowNode* node = find_window_of_type(pseudo_dialog_type);
    return node != nullptr ? dynamic_cast<directoryPanelClass*>(node->object) : nullptr;
  };
  auto chosen = [&](directoryPanelClass* panel, buttonClass* button) {
    SendMessageA(panel->hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(button->hwnd()));
    pump();
  };

  // The chooser starts at the root; OK on the folder above makes it the root.
  directoryPanelClass* panel = chooser();
  ASSERT_NE(panel, nullptr);
  char title[300];
  GetWindowTextA(panel->hwnd(), title, sizeof title);
  EXPECT_STREQ(title, "Select Root Test Directory");
  EXPECT_STREQ(panel->current_path(), root.c_str());
  listTreeClass* tree = panel->tree();
  tree->select_item(tree->parent_item(reinterpret_cast<HTREEITEM>(
      SendMessageA(tree->hwnd(), TVM_GETNEXTITEM, TVGN_CARET, 0))));
  EXPECT_EQ(chooser(), panel);  // one chooser at a time
  chosen(panel, panel->ok_button());
  EXPECT_EQ(find_window_of_type(pseudo_dialog_type), nullptr);
  EXPECT_STREQ(get_program_setting(locator_root_setting, true), above.c_str());
  UpdateWindow(locator_->hwnd());
  GetWindowTextA(locator_->hwnd(), title, sizeof title);
  EXPECT_EQ(std::string(title), "Test Locator: tests@[" + above + "]");

  // CANCEL keeps the root.
  set_program_setting(locator_root_setting, root.c_str());
  panel = chooser();
  ASSERT_NE(panel, nullptr);
  panel->tree()->select_item(panel->first_drive());
  chosen(panel, panel->cancel_button());
  EXPECT_EQ(find_window_of_type(pseudo_dialog_type), nullptr);
  EXPECT_STREQ(get_program_setting(locator_root_setting, true), root.c_str());

  // The close box asks whether to keep the folder shown.
  panel = chooser();
  ASSERT_NE(panel, nullptr);
  panel->tree()->select_item(panel->tree()->parent_item(
      reinterpret_cast<HTREEITEM>(SendMessageA(panel->tree()->hwnd(), TVM_GETNEXTITEM, TVGN_CARET, 0))));
  capture.answer(answer_yes);
  SendMessageA(panel->hwnd(), WM_CLOSE, 0, 0);
  pump();
  EXPECT_EQ(find_window_of_type(pseudo_dialog_type), nullptr);
  ASSERT_EQ(capture.captions(), std::vector<std::string>{"Use value?"});
  EXPECT_EQ(capture.texts()[0], "-- Keep the value [" + above + "]");
  EXPECT_STREQ(get_program_setting(locator_root_setting, true), above.c_str());
}

// With ERG_LOCATOR_HOLD=<seconds> the locator stays on the screen with its
// results and preview, for a picture.
TEST_F(Locator, HoldsForAPicture) {
  const char* hold = std::getenv("ERG_LOCATOR_HOLD");
  if (hold == nullptr) GTEST_SKIP() << "ERG_LOCATOR_HOLD not set";
  open(criteria().root);
  find("", "", "", "");
  locator_->test_id_edit()->get_edit()->set_text("P*");
  // With ERG_LOCATOR_HOLD_CHOOSER set, the root's folder chooser too.
  if (std::getenv("ERG_LOCATOR_HOLD_CHOOSER") != nullptr) {
    SendMessageA(locator_->hwnd(), WM_COMMAND, MAKEWPARAM(locator_new_directory, 0), 0);
  }
  const DWORD end = GetTickCount() + static_cast<DWORD>(std::atoi(hold)) * 1000u;
  while (GetTickCount() < end) {
    pump();
    Sleep(20);
  }
}
