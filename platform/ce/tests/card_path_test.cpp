#include <gtest/gtest.h>

#include <string>

#include "platform/ce/card_path.h"

namespace {

#ifdef _WIN32
const wchar_t kSep = L'\\';
#else
const wchar_t kSep = L'/';
#endif

// The expected text with every backslash in the separator of this build.
std::wstring native(std::wstring text) {
  for (wchar_t& c : text) {
    if (c == L'\\') c = kSep;
  }
  return text;
}

std::wstring resolve(const wchar_t* path) {
  wchar_t out[260];
  EXPECT_TRUE(resolve_card_path(path, out, 260));
  return out;
}

class CardPath : public ::testing::Test {
 protected:
  void TearDown() override { set_card_root(nullptr); }
};

TEST_F(CardPath, CardPathsResolveAgainstTheRootAndOthersStayAsGiven) {
  set_card_root(L"C:\\units\\card7\\");
  struct Case {
    const wchar_t* path;
    const wchar_t* expected;
  } cases[] = {
      {L"Storage Card\\Kestal.DLL", L"C:\\units\\card7\\Kestal.DLL"},
      {L"\\Storage Card\\LOG\\T120309NOT_SET.log", L"C:\\units\\card7\\LOG\\T120309NOT_SET.log"},
      {L"storage card\\VANDU.ini", L"C:\\units\\card7\\VANDU.ini"},
      {L"STORAGE CARD/TESTS/a.tes", L"C:\\units\\card7\\TESTS/a.tes"},
      {L"Storage Card", L"C:\\units\\card7"},
      {L"\\Storage Card\\", L"C:\\units\\card7"},
      {L"Storage Cards\\x", L"Storage Cards\\x"},
      {L"Storage Car", L"Storage Car"},
      {L"Kestal.DLL", L"Kestal.DLL"},
      {L"\\Windows\\x.dll", L"\\Windows\\x.dll"},
      {L"", L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(resolve(c.path), native(c.expected)) << std::wstring(c.path).size();
  }
}

TEST_F(CardPath, DefaultRootIsTheStorageCardFolderAndCanBeRestored) {
  EXPECT_EQ(resolve(L"\\Storage Card\\VANDU.ini"), native(L"Storage Card\\VANDU.ini"));
  set_card_root(L"D:\\card");
  set_card_root(L"");
  wchar_t root[64];
  ASSERT_TRUE(get_card_root(root, 64));
  EXPECT_EQ(std::wstring(root), L"Storage Card");
}

TEST_F(CardPath, ADriveRootKeepsItsSeparator) {
  set_card_root(L"E:\\");
  EXPECT_EQ(resolve(L"Storage Card\\x.tes"), native(L"E:\\x.tes"));
}

TEST_F(CardPath, AResultThatDoesNotFitIsRefusedAndLeftEmpty) {
  set_card_root(L"C:\\card");
  wchar_t out[16];
  out[0] = L'?';
  EXPECT_FALSE(resolve_card_path(L"Storage Card\\abcdefgh", out, 16));  // 17 characters
  EXPECT_EQ(out[0], L'\0');
  EXPECT_TRUE(resolve_card_path(L"Storage Card\\abcdefg", out, 16));  // 15 fit
  EXPECT_FALSE(get_card_root(out, 7));
  EXPECT_EQ(out[0], L'\0');
  EXPECT_FALSE(resolve_card_path(L"x", out, 0));
}

}  // namespace
