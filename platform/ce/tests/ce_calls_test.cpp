#include <gtest/gtest.h>

#include <string>

#include "platform/ce/ce_calls.h"

TEST(CeSetThreadPriority, TheUnitsLevelsMapOntoWin32Priorities) {
  HANDLE self = GetCurrentThread();
  struct Case {
    int ce;
    int win32;
  } cases[] = {
      {0, THREAD_PRIORITY_TIME_CRITICAL},  {248, THREAD_PRIORITY_TIME_CRITICAL}, {249, THREAD_PRIORITY_HIGHEST},
      {250, THREAD_PRIORITY_ABOVE_NORMAL}, {251, THREAD_PRIORITY_NORMAL},        {252, THREAD_PRIORITY_BELOW_NORMAL},
      {253, THREAD_PRIORITY_LOWEST},       {255, THREAD_PRIORITY_IDLE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ce);
    EXPECT_TRUE(CeSetThreadPriority(self, c.ce));
    EXPECT_EQ(GetThreadPriority(self), c.win32);
  }
  for (int bad : {-1, 256}) {
    SetLastError(0);
    EXPECT_FALSE(CeSetThreadPriority(self, bad));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(GetThreadPriority(self), THREAD_PRIORITY_IDLE);  // unchanged
  }
  CeSetThreadPriority(self, 251);
}

TEST(EventModify, SetResetAndPulse) {
  HANDLE manual = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(manual, nullptr);
  EXPECT_TRUE(EventModify(manual, EVENT_SET));
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);  // manual reset: stays set
  EXPECT_TRUE(EventModify(manual, EVENT_RESET));
  EXPECT_EQ(WaitForSingleObject(manual, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(EventModify(manual, EVENT_PULSE));  // nobody waits: it ends reset
  EXPECT_EQ(WaitForSingleObject(manual, 0), static_cast<DWORD>(WAIT_TIMEOUT));

  // An unknown function fails and changes nothing.
  EXPECT_TRUE(EventModify(manual, EVENT_SET));
  for (DWORD bad : {0ul, 4ul}) {
    SetLastError(0);
    EXPECT_FALSE(EventModify(manual, bad));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  CloseHandle(manual);

  HANDLE automatic = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  EXPECT_TRUE(EventModify(automatic, EVENT_SET));
  EXPECT_EQ(WaitForSingleObject(automatic, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(automatic, 0), static_cast<DWORD>(WAIT_TIMEOUT));  // one waiter released
  CloseHandle(automatic);
}

TEST(GetProcAddressW, FindsExportsByWideNameOrOrdinal) {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  ASSERT_NE(kernel, nullptr);
  EXPECT_EQ(GetProcAddressW(kernel, L"GetTickCount"), GetProcAddress(kernel, "GetTickCount"));
  EXPECT_NE(GetProcAddressW(kernel, L"GetTickCount"), nullptr);
  EXPECT_EQ(GetProcAddressW(kernel, MAKEINTRESOURCEW(1)), GetProcAddress(kernel, MAKEINTRESOURCEA(1)));

  struct Case {
    const wchar_t* name;
  } missing[] = {{L"NoSuchExport"}, {L"GetTick\u00c7ount"}, {L""}, {nullptr}};
  for (const Case& c : missing) {
    SetLastError(0);
    EXPECT_EQ(GetProcAddressW(kernel, c.name), nullptr);
    EXPECT_NE(GetLastError(), 0u);
  }
  std::wstring overlong = L"GetTickCount" + std::wstring(300, L'x');
  EXPECT_EQ(GetProcAddressW(kernel, overlong.c_str()), nullptr);
}
