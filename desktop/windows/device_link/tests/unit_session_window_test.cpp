// A session opened from the docked unit: the folder chosen in the link's
// dialog becomes a session of every test of that folder, read over the link,
// with the same data as the same files opened from the PC.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/windows/device_link/device_link.h"
#include "desktop/winlib/tests/message_capture.h"
#include "platform/rapi/rapi_standin.h"
#include "desktop/data/tests/record_fixture.h"
#include "desktop/windows/session_panel/session_panel.h"
#include "desktop/winlib/tests/start_up_environment.h"
#include "desktop/data/test_file_reading.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/winlib/panels/tree_items.h"

namespace {

// Each step returns false while what it needs is not in the tree yet (the
// dialog fills a folder as it opens), and is tried again at the next tick.
std::vector<std::function<bool(HWND tree)>> steps;
size_t next_step = 0;
// A step runs the dialog's own handlers, which may pump messages (this
// timer's among them): a tick during a step waits for the next one.
bool in_step = false;

void CALLBACK drive_dialog(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = FindWindowA(nullptr, "Select a file for display");
  if (dialog == nullptr || in_step || next_step >= steps.size()) return;
  // Not before the dialog's tree holds the card's folders.
  HWND tree = GetDlgItem(dialog, 1032);
  HTREEITEM root = tree ? TreeView_GetRoot(tree) : nullptr;
  if (root == nullptr || tree_first_child(tree, root) == nullptr) return;
  in_step = true;
  const bool done = steps[next_step](tree);
  in_step = false;
  if (done) next_step++;
}

HTREEITEM child_named(HWND tree, HTREEITEM parent, const char* name) {
  for (HTREEITEM at = tree_first_child(tree, parent); at != nullptr; at = TreeView_GetNextSibling(tree, at))
    if (std::string(tree_item_text(tree, at)) == name) return at;
  return nullptr;
}

void write_test(const std::string& path, int test, int peak) {
  auto record = make_record();
  record->ProgramVersion = 3030;
  record->P = 1;
  record->S = 1;
  record->T = test;
  record->TestTime = fileTime{static_cast<uint32_t>(test * 1000), 30000000};
  std::vector<int32_t> values(200);
  for (int i = 0; i < 200; i++) values[static_cast<size_t>(i)] = i > 20 && i < 60 ? peak * (i - 20) : 0;
  fill_block(record->Average, values, 1.0, 200, 20);
  fill_block(record->LastSweep, values, 1.0, 200, 20);
  write_bytes(path, test_file_bytes(*record));
}

}  // namespace

TEST(UnitSession, TheChosenFolderOfTheUnitOpensAsASession) {
  start_up_texts();
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string card = std::string(temp) + "erg_unit_session_" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(card.c_str(), nullptr);
  CreateDirectoryA((card + "\\A_1").c_str(), nullptr);
  write_test(card + "\\A_1\\P01S01T0101A.tst", 1, 3);
  write_test(card + "\\A_1\\P01S01T0202A.tst", 2, 5);
  std::wstring wide(card.begin(), card.end());
  rapi_standin_set_card(wide.c_str());
  rapi_standin_configure("");
  steps = {
      [](HWND tree) {
        HTREEITEM folder = child_named(tree, TreeView_GetRoot(tree), "A_1");
        return folder != nullptr && TreeView_SelectItem(tree, folder);
      },
      [](HWND tree) {
        HTREEITEM folder = child_named(tree, TreeView_GetRoot(tree), "A_1");
        HTREEITEM file = folder ? child_named(tree, folder, "P01S01T0202A.tst") : nullptr;
        return file != nullptr && TreeView_SelectItem(tree, file);
      },
  };
  next_step = 0;
  UINT_PTR timer = SetTimer(nullptr, 0, 20, drive_dialog);
  message_capture boxes;

  auto* panel = new sessionPanelClass(session_mode_unit, nullptr, 0);
  KillTimer(nullptr, timer);
  ASSERT_EQ(panel->status(), 1);
  ASSERT_EQ(panel->thumbnail_count(), 2);  // every test of the folder, not only the series chosen
  for (int i = 0; i < 2; i++) {
    thumbnailClass* thumb = panel->thumbnail(i);
    ASSERT_TRUE(thumb->loaded()) << i;
    EXPECT_EQ(thumb->source(), test_source_unit);
    std::string pc_path = card + "\\A_1\\" + thumb->file_name() + ".tst";
    testDocument from_pc;
    ASSERT_TRUE(from_pc.load(pc_path.c_str(), test_source_pc, 1));
    const traceClass* a = thumb->document().main_trace();
    const traceClass* b = from_pc.main_trace();
    ASSERT_EQ(a->get_count(), b->get_count());
    for (int32_t p = 0; p < a->get_count(); p++) ASSERT_EQ(a->y_at(p), b->y_at(p)) << p;
  }
  EXPECT_TRUE(boxes.texts().empty());

  // A test whose last-write time the unit cannot give is not loaded.
  ASSERT_TRUE(rapi_standin_configure("filetime_failed"));
  fileTime when{7, 7};
  std::unique_ptr<testFileRecord> refused(
      read_test_file(panel->thumbnail(0)->document().path(), test_source_unit, &when));
  EXPECT_EQ(refused, nullptr);
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{"*** CeGetFileTime FAILED ***"});
  rapi_standin_configure("");
  delete panel;

  rapi_standin_set_card(nullptr);
  for (const char* f : {"\\A_1\\P01S01T0101A.tst", "\\A_1\\P01S01T0202A.tst", "\\A_1\\P01S01T0101A.st_",
                        "\\A_1\\P01S01T0202A.st_"})
    DeleteFileA((card + f).c_str());
  RemoveDirectoryA((card + "\\A_1").c_str());
  RemoveDirectoryA(card.c_str());
}
