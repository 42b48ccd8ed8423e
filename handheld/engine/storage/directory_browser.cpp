#include "handheld/engine/storage/directory_browser.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <system_error>

#include "handheld/engine/log/ascii_text.h"
#include "handheld/engine/storage/card_files.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/log/engine_messages.h"
#include "handheld/engine/storage/test_files.h"

namespace {

// The folder the dialog starts from and returns to.
const wchar_t BROWSE_ROOT[] = L"Storage Card";

const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::wstring entry_path(const directoryBrowser& browser, int position) {
  return browser.folder + L"\\" + browser.entries[static_cast<size_t>(position)];
}

int entry_count(const directoryBrowser& browser) { return static_cast<int>(browser.entries.size()) - 1; }

void refill(directoryBrowser& browser) {
  browser.entries = folder_listing(browser.folder);
  if (browser.position > entry_count(browser)) browser.position = entry_count(browser);
  if (browser.position < 0) browser.position = 0;
}

// The browser in a folder, at its first entry, with the status text given.
void show_folder(directoryBrowser& browser, const std::wstring& folder, const wchar_t* status) {
  browser.folder = folder;
  browser.top_level = folder == BROWSE_ROOT;
  browser.position = 0;
  refill(browser);
  browser.text_1099 = status;
  browser.text_1100.clear();
  browser.text_1101.clear();
}

// "ddMMMyy HH:MM" of a file time, local.
std::wstring file_time_text(std::filesystem::file_time_type time) {
  const auto system = std::chrono::time_point_cast<std::chrono::system_clock::duration>(
      time - std::filesystem::file_time_type::clock::now() + std::chrono::system_clock::now());
  const std::time_t t = std::chrono::system_clock::to_time_t(system);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &t);
#else
  localtime_r(&t, &local);
#endif
  char date[16], clock[16], text[40];
  std::snprintf(date, sizeof date, "%02d%s%02d", local.tm_mday, kMonths[local.tm_mon % 12], local.tm_year % 100);
  std::snprintf(clock, sizeof clock, "%02d:%02d", local.tm_hour, local.tm_min);
  std::snprintf(text, sizeof text, "%s %s", date, clock);
  return widen(text);
}

std::wstring field_wide(const char16_t* field, size_t units) {
  std::wstring text;
  for (size_t i = 0; i < units && field[i] != u'\0'; ++i) text += static_cast<wchar_t>(field[i]);
  return text;
}

void show_entry(directoryBrowser& browser, testFileRecord& record) {
  browser.text_1099.clear();
  browser.text_1100.clear();
  browser.text_1101.clear();
  if (browser.position == 0) return;
  const std::wstring name = browser.entries[static_cast<size_t>(browser.position)];
  if (is_folder_entry(browser, browser.position)) {
    browser.folder_files = static_cast<int>(card_matches(entry_path(browser, browser.position) + L"\\*").size());
    browser.text_1099 = L"DIRECTORY";
    browser.text_1100 = L"(" + std::to_wstring(browser.folder_files) + L" files)";
    return;
  }
  if (!read_tst_file(record, name, browser.folder)) {
    browser.text_1099 = L"!!! UNABLE TO READ !!!";
    return;
  }
  browser.text_1099 = field_wide(record.ProtocolName, 64);
  browser.text_1101 = field_wide(record.TestId, 20) + L" " + field_wide(record.SessionTitle, 64);
  browser.text_1100 = file_time_text(last_read_file_time());
  browser.shown_channel = is_channel_b_name(name) ? 1 : 0;
}

}  // namespace

std::wstring without_extension(const std::wstring& name) {
  const size_t dot = name.find_last_of(L'.');
  return dot != std::wstring::npos && dot > 0 ? name.substr(0, dot) : name;
}

std::vector<std::wstring> folder_listing(const std::wstring& folder) {
  std::vector<std::wstring> entries{L"^"};
  for (const std::wstring& name : card_matches(folder + L"\\???????_*")) {
    if (card_is_directory(folder + L"\\" + name)) entries.push_back(name);
  }
  for (const std::wstring& name : card_matches(folder + L"\\P??S??T??*.TST")) {
    if (!card_is_directory(folder + L"\\" + name)) entries.push_back(without_extension(name));
  }
  return entries;
}

bool is_folder_entry(const directoryBrowser& browser, int position) {
  if (position <= 0 || position > entry_count(browser)) return false;
  return card_is_directory(entry_path(browser, position));
}

void browser_open(directoryBrowser& browser) { show_folder(browser, BROWSE_ROOT, L"'SELECT' for directory list"); }

browseAction browser_command(directoryBrowser& browser, int code, testFileRecord& record) {
  const int last = entry_count(browser);
  switch (code) {
    case PAGE_KEY_UP:
      browser.position = browser.position == 0 ? last : browser.position - 1;
      show_entry(browser, record);
      return BROWSE_NOTHING;
    case PAGE_KEY_DOWN:
      browser.position = browser.position >= last ? 0 : browser.position + 1;
      show_entry(browser, record);
      return BROWSE_NOTHING;
    case PAGE_SELECT:
      if (browser.position == 0) {
        if (!browser.top_level) show_folder(browser, folder_of(browser.folder), L"NOT AVAILABLE");
        return BROWSE_NOTHING;
      }
      if (!is_folder_entry(browser, browser.position)) {
        // The main dialog shows the record: it must hold this test, not
        // the one browsed before an unreadable entry.
        const std::wstring& name = browser.entries[static_cast<size_t>(browser.position)];
        return read_tst_file(record, name, browser.folder) ? BROWSE_SHOW_TEST : BROWSE_NOTHING;
      }
      browser.folder_files = static_cast<int>(card_matches(entry_path(browser, browser.position) + L"\\*").size());
      if (browser.folder_files == 0) return BROWSE_ASK_DELETE_FOLDER;
      show_folder(browser, entry_path(browser, browser.position), L"'SELECT' for directory list");
      return BROWSE_NOTHING;
    case BROWSE_DELETE_TEST: {
      if (browser.position == 0 || is_folder_entry(browser, browser.position)) return BROWSE_NOTHING;
      log_mesg("$$$ change to delete_ERG_from_cf $$$");
      const std::wstring name = browser.entries[static_cast<size_t>(browser.position)];
      if (!delete_named_test_files(browser.folder, name, L".TST")) {
        engine_show_message(4, "### Unable to completely delete ###\n\n%s", narrow(name).c_str());
      }
      refill(browser);
      show_entry(browser, record);
      return BROWSE_NOTHING;
    }
    case BROWSE_DELETE_FOLDER: {
      if (!is_folder_entry(browser, browser.position)) return BROWSE_NOTHING;
      const std::wstring folder = entry_path(browser, browser.position);
      // The folder's old log file goes with the folder, never from a
      // folder that holds anything else.
      const std::vector<std::wstring> inside = card_matches(folder + L"\\*");
      std::error_code error;
      if (inside.size() == 1 && wildcard_match(L"vandulog.txt", inside[0])) {
        std::filesystem::remove(card_file_path(folder + L"\\" + inside[0]), error);
      }
      std::filesystem::remove(card_file_path(folder), error);
      if (!error) {
        browser.folder = BROWSE_ROOT;
        browser.top_level = true;
        browser.position = 0;
      } else {
        engine_show_message(4, "### Unable to delete ###\ndirectory\n\n%s\n\nsystem error #%d",
                            narrow(folder).c_str(), error.value());
      }
      refill(browser);
      show_entry(browser, record);
      return BROWSE_NOTHING;
    }
    case PAGE_CLOSE:
      return BROWSE_DESTROY;
    default:
      return BROWSE_NOTHING;
  }
}
