#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/messages/messages.h"

namespace {

struct shown_case {
  const char* what;
  int (*show)();
  const char* caption;
  unsigned style;
  int scripted;  // 0: none
  int result;    // -2: not checked
};

int show_error() { return errormessage("error %d [%s]", 42, "x"), -2; }
int show_info() { return infomessage("info %d [%s]", 42, "x"), -2; }
int ask_yes_no() { return yesnomessage("Question", "info %d [%s]", 42, "x"); }
int ask_yes_no_untitled() { return yesnomessage("", "info %d [%s]", 42, "x"); }
int ask_yes_no_null() { return yesnomessage(nullptr, "info %d [%s]", 42, "x"); }
int ask_yes_no_cancel() { return yesnocancelmessage("Save", "info %d [%s]", 42, "x"); }
int ask_yes_no_cancel_null() { return yesnocancelmessage(nullptr, "info %d [%s]", 42, "x"); }
int alert_retry() { return alertmessage("info %d [%s]", 42, "x"); }

}  // namespace

TEST(Messages, EachKindShowsItsCaptionStyleAndText) {
  const unsigned top = box_topmost;
  const shown_case cases[] = {
      {"error", show_error, "*** ERROR ***", box_ok | top, 0, -2},
      {"info", show_info, "info", box_ok | top, 0, -2},
      {"yes/no", ask_yes_no, "Question", box_yes_no | top, answer_no, answer_no},
      {"yes/no empty caption", ask_yes_no_untitled, "YES or NO", box_yes_no | top, answer_yes, answer_yes},
      {"yes/no null caption", ask_yes_no_null, "YES or NO", box_yes_no | top, answer_no, answer_no},
      {"yes/no/cancel", ask_yes_no_cancel, "Save", box_yes_no_cancel | top, answer_cancel, answer_cancel},
      {"yes/no/cancel null caption", ask_yes_no_cancel_null, "YES or NO", box_yes_no_cancel | top, answer_no,
       answer_no},
      {"alert", alert_retry, "!!! ALERT !!!", box_abort_retry_ignore | box_icon_question | box_task_modal,
       answer_retry, answer_retry},
  };
  for (const shown_case& c : cases) {
    SCOPED_TRACE(c.what);
    message_capture capture;
    if (c.scripted) capture.answer(c.scripted);
    int result = c.show();
    if (c.result != -2) {
      EXPECT_EQ(result, c.result);
    }
    ASSERT_EQ(capture.records().size(), 1u);
    const captured_box box = capture.records()[0];
    EXPECT_EQ(box.caption, c.caption);
    EXPECT_EQ(box.style, c.style);
    EXPECT_EQ(box.text, std::string(c.what == std::string("error") ? "error 42 [x]" : "info 42 [x]"));
  }
}

TEST(Messages, ErrorsAndAlertsAreCountedOthersAreNot) {
  message_capture capture;
  uint32_t before = error_count();
  errormessage("one");
  infomessage("not counted");
  yesnomessage(nullptr, "not counted");
  capture.answer(answer_ignore);
  EXPECT_EQ(alertmessage("two"), answer_ignore);
  EXPECT_EQ(error_count(), before + 2);
  set_error_count(0);
  EXPECT_EQ(error_count(), 0u);
}

// Errors met while windows close are counted at once and shown, in the order
// met, only when the outermost held scope ends; questions are not held.
TEST(Messages, HeldErrorsAreShownWhenTheOutermostScopeEnds) {
  message_capture capture;
  uint32_t before = error_count();
  {
    heldReportsScope outer;
    errormessage("first %d", 1);
    {
      heldReportsScope inner;
      errormessage("second");
    }
    EXPECT_EQ(error_count(), before + 2);
    yesnomessage(nullptr, "asked now");
    EXPECT_EQ(capture.texts(), std::vector<std::string>{"asked now"});
  }
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"asked now", "first 1", "second"}));
  EXPECT_EQ(capture.captions()[2], "*** ERROR ***");
  errormessage("after");
  EXPECT_EQ(capture.texts().back(), "after");
}

TEST(Messages, FormatOfExactly1000CharactersIsShownLongerIsRefused) {
  const std::string limit(1000, 'a');
  const std::string over(1001, 'b');
  message_capture capture;

  errormessage("%s", limit.c_str());  // the format is short; the text is long
  errormessage(limit.c_str());        // NOLINT: a 1000-character format
  errormessage(over.c_str());
  infomessage(limit.c_str());
  infomessage(over.c_str());
  EXPECT_EQ(alertmessage(over.c_str()), -1);

  std::vector<std::string> texts = capture.texts();
  ASSERT_EQ(texts.size(), 6u);
  EXPECT_EQ(texts[0], limit);
  EXPECT_EQ(texts[1], limit);
  EXPECT_EQ(texts[2], "*** ERROR MESSAGE IS TOO LONG ***");
  EXPECT_EQ(texts[3], limit);
  EXPECT_EQ(texts[4], "*** MESSAGE IS TOO LONG [bbbbbbbbbbbbbbbbbbbb...] ***");
  EXPECT_EQ(texts[5], "*** ALERT MESSAGE IS TOO LONG ***");
  EXPECT_EQ(capture.captions()[4], "*** ERROR ***");
}

TEST(Messages, OverrunIsReportedFirstThenTheCutTextIsShown) {
  struct overrun_case {
    const char* what;
    void (*show)(const std::string&);
    size_t limit;
    const char* overrun;
    const char* caption;
  };
  const overrun_case cases[] = {
      {"error", [](const std::string& t) { errormessage("%s", t.c_str()); }, 1023,
       "*** errormessage: BUFFER OVERRUN ***", "*** ERROR ***"},
      {"info", [](const std::string& t) { infomessage("%s", t.c_str()); }, 16382,
       "*** infomessage: BUFFER OVERRUN ***", "info"},
      {"yes/no", [](const std::string& t) { yesnomessage("Q", "%s", t.c_str()); }, 1023,
       "*** yesnomessage: BUFFER OVERRUN ***", "Q"},
      {"yes/no/cancel", [](const std::string& t) { yesnocancelmessage("Q", "%s", t.c_str()); }, 1023,
       "*** yesnocancelmessage: BUFFER OVERRUN ***", "Q"},
      {"alert",
       [](const std::string& t) {
         EXPECT_EQ(alertmessage("%s", t.c_str()), answer_retry);
       },
       1023, "*** errormessage: BUFFER OVERRUN ***", "!!! ALERT !!!"},
  };
  for (const overrun_case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string text(c.limit + 10, 'z');
    text[c.limit - 1] = 'E';  // the last character kept
    message_capture capture;
    capture.answer(answer_ok);     // the overrun report
    capture.answer(answer_retry);  // the message itself
    c.show(text);
    std::vector<captured_box> boxes = capture.records();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "*** ERROR ***");
    EXPECT_EQ(boxes[0].text, c.overrun);
    EXPECT_EQ(boxes[1].caption, c.caption);
    EXPECT_EQ(boxes[1].text, text.substr(0, c.limit));
  }
  message_capture fits;
  errormessage("%s", std::string(1023, 'f').c_str());
  EXPECT_EQ(fits.records().size(), 1u);
}

TEST(Messages, InfoLinesShowsEachLineAsItsOwnMessage) {
  message_capture capture;
  infomessage_lines("first %d\r\nsecond\n\nfourth %s\n", 1, "100%");
  infomessage_lines(nullptr);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"first 1", "second", "", "fourth 100%"}));
  for (const std::string& caption : capture.captions()) EXPECT_EQ(caption, "info");
}

TEST(Messages, DebugConsoleTakesErrorsAndInformationButNotQuestions) {
  static std::vector<std::string> console;
  console.clear();
  message_capture capture;
  debug_console_output = [](const char* text) { console.push_back(text); };
  uint32_t before = error_count();
  errormessage("to the console %d", 1);
  infomessage("also %s", "there");
  yesnomessage(nullptr, "a question");
  debug_console_output = nullptr;
  EXPECT_EQ(console, (std::vector<std::string>{"to the console 1", "also there"}));
  EXPECT_EQ(error_count(), before + 1);
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"a question"});
}
