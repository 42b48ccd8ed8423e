#include <gtest/gtest.h>

#include "platform/modal/modal_capture.h"

TEST(ModalCapture, RecordsEveryBoxAndAnswersFromTheScript) {
  modal_capture capture;
  capture.answer(IDNO);
  EXPECT_EQ(modal_message_box(nullptr, "Delete it?", "YES or NO", MB_YESNO), IDNO);
  EXPECT_EQ(modal_message_box(nullptr, L"CANNOT GET DLL ADDRESS", L"version", MB_OK), IDOK);
  EXPECT_EQ(modal_message_box(nullptr, "text", nullptr, MB_OK), IDOK);

  const auto& r = capture.records();
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0].caption, "YES or NO");
  EXPECT_EQ(r[0].text, "Delete it?");
  EXPECT_EQ(r[0].type, static_cast<UINT>(MB_YESNO));
  EXPECT_TRUE(r[0].scripted);
  EXPECT_EQ(r[1].caption, "version");
  EXPECT_EQ(r[1].text, "CANNOT GET DLL ADDRESS");
  EXPECT_FALSE(r[1].scripted);
  EXPECT_EQ(r[2].caption, "");
}

TEST(ModalCapture, UnscriptedBoxesTakeTheDefaultButton) {
  struct { UINT type; int answer; } cases[] = {
      {MB_OK, IDOK},
      {MB_YESNO, IDYES},
      {MB_YESNO | MB_DEFBUTTON2, IDNO},
      {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
      {MB_ABORTRETRYIGNORE | MB_ICONQUESTION | MB_TASKMODAL, IDABORT},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
      {MB_OK | MB_DEFBUTTON3, IDOK},
  };
  for (const auto& c : cases) EXPECT_EQ(modal_capture::default_answer(c.type), c.answer) << c.type;
}

TEST(ModalCapture, PutsBackThePreviousTableWhenDone) {
  auto before = modal_ui().message_box_a;
  {
    modal_capture capture;
    EXPECT_NE(modal_ui().message_box_a, before);
  }
  EXPECT_EQ(modal_ui().message_box_a, before);
  EXPECT_EQ(modal_ui().message_box_a, modal_ui_platform().message_box_a);
}
