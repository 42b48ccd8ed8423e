#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rapi/rapi_standin.h"

namespace {

std::wstring write_file(const std::wstring& path, const std::string& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  EXPECT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
  return path;
}

// A card folder of its own: A_1 holds two tests (made in reverse name order)
// and a sample file, B_2 is empty.
class UnitCard : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    card_ = std::wstring(temp) + L"rapi_card_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(card_.c_str(), nullptr);
    CreateDirectoryW((card_ + L"\\A_1").c_str(), nullptr);
    CreateDirectoryW((card_ + L"\\B_2").c_str(), nullptr);
    write_file(card_ + L"\\A_1\\P01S01T0102A.tst", "second");
    write_file(card_ + L"\\A_1\\P01S01T0101A.tst", "first test bytes");
    write_file(card_ + L"\\A_1\\P01S01T0101A-00.spl", "s");
    rapi_standin_set_card(card_.c_str());
    ASSERT_TRUE(rapi_standin_configure(""));
  }
  void TearDown() override {
    rapi_standin_configure("");
    rapi_standin_set_card(nullptr);
    for (const wchar_t* f : {L"\\A_1\\P01S01T0102A.tst", L"\\A_1\\P01S01T0101A.tst", L"\\A_1\\P01S01T0101A-00.spl"}) {
      DeleteFileW((card_ + f).c_str());
    }
    RemoveDirectoryW((card_ + L"\\A_1").c_str());
    RemoveDirectoryW((card_ + L"\\B_2").c_str());
    RemoveDirectoryW(card_.c_str());
  }

  std::vector<std::wstring> list(const wchar_t* pattern) {
    std::vector<std::wstring> names;
    CE_FIND_DATA data;
    HANDLE search = CeFindFirstFile(pattern, &data);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      names.push_back(data.cFileName);
    } while (CeFindNextFile(search, &data));
    EXPECT_TRUE(CeFindClose(search));
    return names;
  }

  std::wstring card_;
};

}  // namespace

TEST_F(UnitCard, InitSignalsItsOutcome) {
  RAPIINIT init = {sizeof(RAPIINIT), nullptr, E_FAIL};
  ASSERT_EQ(CeRapiInitEx(&init), S_OK);
  ASSERT_EQ(WaitForSingleObject(init.heRapiInit, 0), WAIT_OBJECT_0);
  EXPECT_EQ(init.hrRapiInit, S_OK);
  CloseHandle(init.heRapiInit);

  RAPIINIT wrong_size = {12, nullptr, 0};
  EXPECT_NE(CeRapiInitEx(&wrong_size), S_OK);
  EXPECT_NE(CeRapiInitEx(nullptr), S_OK);

  ASSERT_TRUE(rapi_standin_configure("init_refused"));
  EXPECT_NE(CeRapiInitEx(&init), S_OK);

  ASSERT_TRUE(rapi_standin_configure("init_silent"));
  ASSERT_EQ(CeRapiInitEx(&init), S_OK);
  EXPECT_EQ(WaitForSingleObject(init.heRapiInit, 50), static_cast<DWORD>(WAIT_TIMEOUT));
  CloseHandle(init.heRapiInit);

  ASSERT_TRUE(rapi_standin_configure("init_failed"));
  ASSERT_EQ(CeRapiInitEx(&init), S_OK);
  ASSERT_EQ(WaitForSingleObject(init.heRapiInit, 0), WAIT_OBJECT_0);
  EXPECT_NE(init.hrRapiInit, S_OK);
  CloseHandle(init.heRapiInit);
}

TEST_F(UnitCard, ListsFoldersInNameOrderWithTheirKinds) {
  EXPECT_EQ(list(L"\\Storage Card\\*"), (std::vector<std::wstring>{L"A_1", L"B_2"}));
  EXPECT_EQ(list(L"\\Storage Card\\A_1\\*"),
            (std::vector<std::wstring>{L"P01S01T0101A-00.spl", L"P01S01T0101A.tst", L"P01S01T0102A.tst"}));
  EXPECT_EQ(list(L"\\Storage Card\\A_1\\P01S01T0101A.tst"), (std::vector<std::wstring>{L"P01S01T0101A.tst"}));
  EXPECT_TRUE(list(L"\\Storage Card\\B_2\\*").empty());
  EXPECT_TRUE(list(L"\\Storage Card\\missing\\*").empty());
  EXPECT_TRUE(list(L"\\Storage Card\\..\\*").empty());
  EXPECT_TRUE(list(L"\\Windows\\*").empty());

  CE_FIND_DATA data;
  HANDLE search = CeFindFirstFile(L"\\Storage Card\\*", &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  CeFindClose(search);
  EXPECT_FALSE(CeFindClose(search));
  EXPECT_FALSE(CeFindNextFile(search, &data));
}

TEST_F(UnitCard, ReadsFilesWholeAndRefusesToWrite) {
  HANDLE f = CeCreateFile(L"\\Storage Card\\A_1\\P01S01T0101A.tst", GENERIC_READ, FILE_SHARE_READ, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  EXPECT_EQ(CeGetFileSize(f, nullptr), 16u);
  FILETIME written = {0, 0};
  EXPECT_TRUE(CeGetFileTime(f, nullptr, nullptr, &written));
  EXPECT_NE(written.dwHighDateTime, 0u);
  char bytes[32] = {};
  DWORD read = 0;
  EXPECT_TRUE(CeReadFile(f, bytes, sizeof bytes, &read, nullptr));
  EXPECT_EQ(std::string(bytes, read), "first test bytes");
  EXPECT_TRUE(CeCloseHandle(f));
  EXPECT_FALSE(CeCloseHandle(f));

  for (DWORD creation : {static_cast<DWORD>(OPEN_EXISTING), static_cast<DWORD>(CREATE_ALWAYS)}) {
    EXPECT_EQ(CeCreateFile(L"\\Storage Card\\A_1\\P01S01T0101A.tst", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           creation, 0, nullptr),
              INVALID_HANDLE_VALUE);
  }
  EXPECT_EQ(CeCreateFile(L"\\Storage Card\\A_1\\none.tst", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(list(L"\\Storage Card\\A_1\\P01S01T0101A.tst").size(), 1u);
}

TEST_F(UnitCard, InjectedFileFaults) {
  ASSERT_TRUE(rapi_standin_configure("filetime_failed,short_read=5"));
  HANDLE f = CeCreateFile(L"\\Storage Card\\A_1\\P01S01T0101A.tst", GENERIC_READ, FILE_SHARE_READ, nullptr,
                          OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  FILETIME written;
  EXPECT_FALSE(CeGetFileTime(f, nullptr, nullptr, &written));
  char bytes[32];
  DWORD read = 0;
  EXPECT_TRUE(CeReadFile(f, bytes, sizeof bytes, &read, nullptr));
  EXPECT_EQ(read, 5u);
  EXPECT_TRUE(CeCloseHandle(f));

  // Unplugged after three calls: the fourth fails, whatever it is.
  ASSERT_TRUE(rapi_standin_configure("unplug_after=3"));
  f = CeCreateFile(L"\\Storage Card\\A_1\\P01S01T0101A.tst", GENERIC_READ, FILE_SHARE_READ, nullptr,
                   OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  EXPECT_EQ(CeGetFileSize(f, nullptr), 16u);
  EXPECT_TRUE(CeReadFile(f, bytes, 1, &read, nullptr));
  EXPECT_FALSE(CeReadFile(f, bytes, 1, &read, nullptr));
  EXPECT_EQ(read, 0u);
  EXPECT_EQ(rapi_standin_call_count(), 4u);
  RAPIINIT init = {sizeof(RAPIINIT), nullptr, 0};
  EXPECT_NE(CeRapiInitEx(&init), S_OK);
  EXPECT_FALSE(rapi_standin_configure("unknown_fault"));
  ASSERT_TRUE(rapi_standin_configure(""));
  EXPECT_TRUE(CeCloseHandle(f));
}
