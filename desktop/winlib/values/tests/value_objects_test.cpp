#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "desktop/winlib/messages/debug_log.h"
#include "desktop/winlib/values/double_objects.h"
#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/messages/quiet_report.h"
#include "desktop/winlib/values/string_object.h"
#include "desktop/winlib/tests/temp_folder.h"

namespace {

// The order in which objects were updated.
std::vector<std::string> trail;

// A dependent that records each update and reports whether it changed.
class probe : public linkClass {
 public:
  explicit probe(const char* probe_name, bool changes = true) : linkClass(42, 1), changes_(changes) {
    set_name(probe_name);
  }
  bool update() override {
    trail.push_back(name());
    ++updates;
    return changes_;
  }
  int updates = 0;

 private:
  bool changes_;
};

// A computed value that records its updates.
class tracedValue : public doubleModObject {
 public:
  tracedValue(const char* traced_name, int32_t operation) : doubleModObject(operation) { set_name(traced_name); }
  bool update() override {
    trail.push_back(name());
    return doubleModObject::update();
  }
};

doubleObject* stored(doubleObject& d, double v) {
  d.set_value(v);
  return &d;
}

std::vector<std::string> kinds_and_names(const linkClass& object) {
  std::vector<std::string> out;
  for (referenceNodeClass* link = object.link_list(); link; link = link->next) {
    out.push_back(std::string(link->kind == referenceNodeClass::ARGUMENT ? "A:" : "S:") + link->other->name());
  }
  return out;
}

std::vector<std::string> read_lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The debug log on a file of the test's own; the lines after its head.
class loggedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    trail.clear();
    log_open(path.c_str());
  }
  void TearDown() override { log_close(); }
  std::vector<std::string> logged() {
    std::vector<std::string> lines = read_lines(path);
    if (lines.size() < 3) return {};
    return std::vector<std::string>(lines.begin() + 3, lines.end());
  }
  temp_folder folder;
  std::string path = folder.file("values_log.txt");
};

}  // namespace

// ---- operations ------------------------------------------------------------

TEST(DoubleModObject, EachOperationOnItsArgumentsInLinkOrder) {
  struct row {
    int32_t operation;
    std::vector<double> args;
    double expected;
  };
  const row rows[] = {
      {op_absolute, {-2.5}, 2.5},
      {op_copy, {-2.5}, -2.5},
      {op_negate, {-2.5}, 2.5},
      {op_add, {7, 3}, 10},
      {op_multiply, {7, 3}, 21},
      {op_divide, {7, 2}, 3.5},
      {op_subtract, {7, 3}, 4},
      {op_multiply_add, {2, 3, 4}, 10},
      // More arguments than needed: the first ones count.
      {op_subtract, {7, 3, 100}, 4},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.operation);
    std::vector<doubleObject> args(r.args.size());
    doubleModObject result(r.operation);
    for (size_t i = 0; i < args.size(); ++i) result.add_dependency(stored(args[i], r.args[i]));
    EXPECT_DOUBLE_EQ(result.value(), r.expected);
    EXPECT_DOUBLE_EQ(result.stored_value(), r.expected);
  }
}

TEST(DoubleModObject, FreshObjectsAndTheStoredValue) {
  doubleObject d;
  EXPECT_EQ(d.type(), 6u);
  EXPECT_STREQ(d.name(), "unknown");
  EXPECT_DOUBLE_EQ(d.value(), -123.45);
  EXPECT_DOUBLE_EQ(d.last_value(), -1234.5);
  EXPECT_EQ(subtractObject().operation(), op_subtract);
  EXPECT_DOUBLE_EQ(d.set_value(3.0), 3.0);
  EXPECT_DOUBLE_EQ(d.value(), 3.0);
}

TEST(DoubleModObject, ValuesThatCannotBeComputedAreReportedAndKeepTheStoredValue) {
  struct row {
    const char* what;
    int32_t operation;
    std::vector<double> args;
    const char* message;
  };
  const row rows[] = {
      {"one argument short", op_subtract, {5.0}, "doubleModObject(x) type 7 value has 1 references, needs 2"},
      {"no argument", op_negate, {}, "doubleModObject(x) type 3 value has 0 references, needs 1"},
      {"two of three", op_multiply_add, {1, 2}, "doubleModObject(x) type 8 value has 2 references, needs 3"},
      {"division by zero", op_divide, {5.0, 0.0}, "doubleModObject::value DIVISION BY ZERO"},
      {"division by minus zero", op_divide, {5.0, -0.0}, "doubleModObject::value DIVISION BY ZERO"},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.what);
    message_capture capture;
    std::vector<doubleObject> args(r.args.size());
    doubleModObject x(r.operation);
    x.set_name("x");
    for (size_t i = 0; i < args.size(); ++i) x.add_dependency(stored(args[i], r.args[i]));
    EXPECT_DOUBLE_EQ(x.value(), value_not_computed);
    EXPECT_DOUBLE_EQ(x.stored_value(), -123.45);
    EXPECT_DOUBLE_EQ(x.last_value(), -1234.5);
    EXPECT_EQ(capture.texts(), std::vector<std::string>{r.message});
  }
}

TEST(DoubleModObject, AnArgumentWithoutANumberIsReported) {
  message_capture capture;
  probe text_less("words");
  doubleModObject x(op_copy);
  x.set_name("x");
  x.add_dependency(&text_less);
  EXPECT_DOUBLE_EQ(x.value(), value_not_computed);
  EXPECT_EQ(capture.texts(),
            std::vector<std::string>{"*** doubleModObject(x) ARGUMENT [words] OF TYPE 42 HAS NO VALUE ***"});
}

TEST(DoubleModObject, CodesAboveEightTakeThreeArgumentsAndKeepTheValue) {
  message_capture capture;
  doubleObject a, b, c;
  doubleModObject x(9);
  x.add_arguments(stored(a, 1), stored(b, 2), stored(c, 3), nullptr);
  EXPECT_DOUBLE_EQ(x.value(), -123.45);
  EXPECT_TRUE(capture.texts().empty());
}

TEST(DoubleModObject, UserRoutineOverResolvedArguments) {
  // The b/a ratio of the wave measurement is built this way.
  auto ratio = [](referenceNodeClass* first) {
    linkClass* args[2];
    if (!resolve_arguments(2, first, args)) return -9876.543;
    double b = 0, a = 0;
    args[0]->numeric_value(&b);
    args[1]->numeric_value(&a);
    return a == 0.0 ? 0.0 : std::fabs(b / a);
  };
  message_capture capture;
  doubleObject b, a;
  doubleObject r;
  EXPECT_TRUE(r.define_routine(ratio, stored(b, 40), stored(a, -20), nullptr));
  EXPECT_DOUBLE_EQ(r.value(), 2.0);
  a.set_value(0.0);
  EXPECT_DOUBLE_EQ(r.stored_value(), 0.0);  // passed on by the change of a

  doubleObject lone;
  doubleObject short_ratio;
  short_ratio.define_routine(ratio, &lone, nullptr);
  EXPECT_DOUBLE_EQ(short_ratio.value(), -9876.543);
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** resolve_arguments, not enough 2 wanted, 1 found ***"});
}

// ---- links -------------------------------------------------------------------

TEST(Links, AnArgumentIsLinkedOnceEachWayAndLeavesEveryListWhenDestroyed) {
  doubleObject x, y;
  x.set_name("x");
  y.set_name("y");
  doubleModObject sum(op_add);
  sum.set_name("sum");
  sum.add_dependency(&x);
  sum.add_dependency(&x);
  sum.add_dependency(&y);
  EXPECT_EQ(kinds_and_names(sum), (std::vector<std::string>{"A:x", "A:y"}));
  EXPECT_EQ(kinds_and_names(x), std::vector<std::string>{"S:sum"});
  {
    doubleModObject twice(op_multiply);
    twice.set_name("twice");
    twice.add_arguments(&sum, &x, nullptr);
    EXPECT_EQ(kinds_and_names(x), (std::vector<std::string>{"S:sum", "S:twice"}));
    EXPECT_EQ(kinds_and_names(sum), (std::vector<std::string>{"A:x", "A:y", "S:twice"}));
  }
  EXPECT_EQ(kinds_and_names(x), std::vector<std::string>{"S:sum"});
  EXPECT_EQ(kinds_and_names(sum), (std::vector<std::string>{"A:x", "A:y"}));
  {
    doubleObject gone;
    gone.set_name("gone");
    sum.add_dependency(&gone);
    x.add_dependency(&gone);  // gone is both an argument and a dependent
    gone.add_dependency(&x);
  }
  EXPECT_EQ(kinds_and_names(sum), (std::vector<std::string>{"A:x", "A:y"}));
  EXPECT_EQ(kinds_and_names(x), std::vector<std::string>{"S:sum"});
  EXPECT_EQ(x.link_count(), 1);
}

TEST(Links, ALinkToTheObjectItselfIsHandled) {
  // Linked both ways into its own list; its value stays the stored one
  // instead of computing itself without end, and destroying it frees both
  // links once (the sanitizers of the host build watch this).
  auto* self = new doubleModObject(op_copy);
  self->set_name("self");
  EXPECT_TRUE(self->add_dependency(self));
  EXPECT_EQ(kinds_and_names(*self), (std::vector<std::string>{"A:self", "S:self"}));
  EXPECT_DOUBLE_EQ(self->value(), -123.45);
  EXPECT_TRUE(self->propagate());
  delete self;

  doubleObject other;
  stringObjectClass text;
  text.set_format_text("%g");
  text.add_dependency(&text);  // skipped as an argument
  text.add_dependency(stored(other, 3));
  EXPECT_STREQ(text.cvalue(), "3");
  EXPECT_TRUE(text.remove_link(&text));
  EXPECT_EQ(kinds_and_names(text), (std::vector<std::string>{"A:unknown"}));
}

TEST(Links, RefusalsAreReported) {
  message_capture capture;
  doubleObject a, b, late;
  doubleModObject locked(op_add);
  locked.define_routine([](referenceNodeClass*) { return 1.0; }, &a, &b, nullptr);
  EXPECT_FALSE(locked.add_dependency(&late));
  EXPECT_EQ(locked.link_count(), 2);
  doubleModObject follower(op_copy);
  EXPECT_TRUE(follower.add_dependency(&locked));  // a SINK still enters a locked list
  EXPECT_EQ(locked.link_count(), 3);
  EXPECT_FALSE(follower.add_dependency(nullptr));
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"*** Attempt to add an argument to a locked object ***",
                                                       "*** referenceNodeClass:  null source linkClass ***"}));
}

TEST(Links, RemoveLinkTakesOutBothHalves) {
  doubleObject x;
  x.set_name("x");
  subtractObject s;
  s.set_name("s");
  s.add_dependency(&x);
  EXPECT_TRUE(x.remove_link(&s));
  EXPECT_EQ(x.link_count(), 0);
  EXPECT_EQ(s.link_count(), 0);
  EXPECT_FALSE(x.remove_link(&s));
  EXPECT_TRUE(x.remove_link(nullptr));
}

TEST(Links, NamesAreCutToThirtyOneCharacters) {
  message_capture capture;
  doubleObject d;
  d.set_name("abcdefghijklmnopqrstuvwxyz0123456789");
  EXPECT_STREQ(d.name(), "abcdefghijklmnopqrstuvwxyz01234");
  EXPECT_EQ(capture.texts().size(), 1u);
}

// ---- propagation ---------------------------------------------------------------

TEST_F(loggedTest, ASameValueIsPassedOnOnce) {
  doubleObject d;
  probe p("p");
  p.add_dependency(&d);
  d.set_value(1.0);
  d.set_value(1.0);
  EXPECT_EQ(p.updates, 1);
  d.set_value(std::numeric_limits<double>::quiet_NaN());
  d.set_value(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(p.updates, 2);  // no number set again is no change
  d.set_active(false);
  d.set_value(2.0);
  EXPECT_EQ(p.updates, 2);
  d.set_active(true);
  d.propagate();  // passed on explicitly once active again
  EXPECT_EQ(p.updates, 3);
}

TEST_F(loggedTest, ADerivedValueThatIsNoNumberIsPassedOnOnceHoweverOftenItIsRead) {
  // inf - inf: a display reading it at each paint is told of one change.
  doubleObject a, b;
  stored(a, std::numeric_limits<double>::infinity());
  stored(b, std::numeric_limits<double>::infinity());
  doubleModObject difference(op_subtract);
  difference.add_arguments(&a, &b, nullptr);
  probe display("display");
  display.add_dependency(&difference);
  for (int i = 0; i < 5; i++) EXPECT_TRUE(std::isnan(difference.value()));
  EXPECT_EQ(display.updates, 1);
}

TEST_F(loggedTest, AChangeTravelsDepthFirstInLinkOrder) {
  // x -> sum = x + y -> abs = |sum|, and x -> after.
  doubleObject x, y;
  stored(y, -10);
  tracedValue sum("sum", op_add);
  tracedValue abs_sum("abs", op_absolute);
  probe after("after");
  sum.add_arguments(&x, &y, nullptr);
  abs_sum.add_dependency(&sum);
  after.add_dependency(&x);
  trail.clear();
  x.set_value(4);
  EXPECT_EQ(trail, (std::vector<std::string>{"sum", "abs", "after"}));
  EXPECT_DOUBLE_EQ(sum.stored_value(), -6);
  EXPECT_DOUBLE_EQ(abs_sum.stored_value(), 6);
}

TEST_F(loggedTest, AnUnchangedObjectStopsThePropagation) {
  doubleObject x;
  probe still("still", false);
  probe beyond("beyond");
  still.add_dependency(&x);
  beyond.add_dependency(&still);
  x.set_value(1);
  EXPECT_EQ(trail, std::vector<std::string>{"still"});
}

TEST_F(loggedTest, ACycleStopsAtTheFirstObjectMetAgain) {
  probe a("a"), b("b");
  a.add_dependency(&b);
  b.add_dependency(&a);
  a.propagate();
  EXPECT_EQ(trail, std::vector<std::string>{"b"});

  // A cycle of computed values ends too: each gives its stored value when
  // met again while computing.
  doubleObject d;
  doubleModObject p(op_add), q(op_copy);
  p.add_arguments(&d, &q, nullptr);
  q.add_dependency(&p);
  d.set_value(1.0);
  EXPECT_TRUE(std::isfinite(p.value()));
  EXPECT_TRUE(std::isfinite(q.value()));
}

TEST_F(loggedTest, ErrorsWhilePropagatingAreLoggedOnceAndNotShown) {
  message_capture capture;
  doubleObject d;
  subtractObject short1, short2;  // one argument short, with the same name
  short1.set_name("propagated_short");
  short2.set_name("propagated_short");
  short1.add_dependency(&d);
  short2.add_dependency(&d);
  d.set_value(1.0);
  d.set_value(2.0);
  EXPECT_TRUE(capture.texts().empty());
  const std::string message = "doubleModObject(propagated_short) type 7 value has 1 references, needs 2";
  EXPECT_EQ(logged(), std::vector<std::string>{message});
  // Asked for directly, the error is shown.
  EXPECT_DOUBLE_EQ(short1.value(), value_not_computed);
  EXPECT_EQ(capture.texts(), std::vector<std::string>{message});
}

TEST_F(loggedTest, ReportsAndLinkReportsGoToTheLog) {
  doubleObject x;
  x.report("unnamed");  // nothing for an object without a name
  x.set_name("x");
  x.report("value");
  subtractObject s;
  s.set_name("s");
  s.add_dependency(&x);
  x.links().report_links("x");
  EXPECT_EQ(logged(), (std::vector<std::string>{
                          "report  6 [                               x] [value]",
                          "",
                          "=============== report_links  [x] ====================",
                          ".  SINK     [               s]",
                          "=============== end report_links  [x] ===============",
                      }));
}

// ---- value texts ------------------------------------------------------------

TEST(StringObject, FormatsFilledFromTheArgumentsKinds) {
  struct arg {
    bool text;
    double number;
    const char* words;
    bool none = false;  // the number stands for no value
  };
  struct row {
    const char* format;
    std::vector<arg> args;
    const char* expected;
  };
  const arg n125{false, 12.5, ""}, n2{false, 2, ""}, n3{false, 3, ""}, abc{true, 0, "abc"};
  const arg gone{false, 200000.0, "", true};
  const row rows[] = {
      {"%6.2lf uV", {n125}, " 12.50 uV"},
      {"%s=%g", {abc, n3}, "abc=3"},  // mask 8 + 0
      {"%g, %s", {n2, abc}, "2, abc"},
      {"%-5s|%+.1e", {abc, n125}, "abc  |+1.2e+01"},
      {"50%% of %g%%", {n2}, "50% of 2%"},
      {"%g %g", {n2}, "2 1.2345"},                       // a position without an argument
      {"%g %g %g %g", {n2, n3, n2, n3, n2}, "2 3 2 3"},  // four at most
      {"no conversion", {n2}, "no conversion"},
      // No value shows dashes in the conversion's width and side.
      {"a = %5.1lf uV, t = %5.1lf mS", {gone, n125}, "a =   --- uV, t =  12.5 mS"},
      {"%-6.2f|%.1e|%07g|%s", {gone, gone, gone, abc}, "---   |---|    ---|abc"},
      {"%g%%", {gone}, "---%"},
      // Formats that do not fit the arguments.
      {"%d", {n2}, "***invalid***"},
      {"%s", {n2}, "***invalid***"},
      {"%f", {abc}, "***invalid***"},
      {"%g %s", {n2}, "***invalid***"},
      {"%g %g %g %g %g", {n2}, "***invalid***"},
      {"%*g", {n2, n3}, "***invalid***"},
      {"%1$g", {n2}, "***invalid***"},
      {"%Lf", {n2}, "***invalid***"},
      {"%ls", {abc}, "***invalid***"},
      {"%n", {n2}, "***invalid***"},
      {"%", {n2}, "***invalid***"},
      {"%5", {n2}, "***invalid***"},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.format);
    std::vector<doubleObject> numbers(r.args.size());
    std::vector<stringObjectClass> texts(r.args.size());
    stringObjectClass s;
    s.set_format_text(r.format);
    for (size_t i = 0; i < r.args.size(); ++i) {
      if (r.args[i].text) {
        texts[i].set_format_text(r.args[i].words);
        s.add_dependency(&texts[i]);
      } else {
        s.add_dependency(stored(numbers[i], r.args[i].number));
        const bool none = r.args[i].none;
        s.set_no_value(&numbers[i], [none] { return none; });
      }
    }
    EXPECT_STREQ(s.cvalue(), r.expected);
    EXPECT_STREQ(s.last_text(), r.expected);
  }
}

TEST(StringObject, TextsWithoutArgumentsAndArgumentsWithoutValues) {
  message_capture capture;
  stringObjectClass empty;
  EXPECT_STREQ(empty.cvalue(), "");

  stringObjectClass unlinked;
  unlinked.set_format_text("plain %% %g");
  EXPECT_STREQ(unlinked.cvalue(), "plain %% %g");  // no links: the format as it stands

  stringObjectClass only_sinks;
  only_sinks.set_format_text("%g");
  probe reader("reader");
  reader.add_dependency(&only_sinks);
  EXPECT_STREQ(only_sinks.cvalue(), "1.2345");

  stringObjectClass odd;
  odd.set_format_text("%g");
  probe neither("neither");
  odd.add_dependency(&neither);
  EXPECT_STREQ(odd.cvalue(), "***invalid***");
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"string::cvalue Type 42 unknown"});
}

TEST(StringObject, TextRoutineAndAppendedFormat) {
  doubleObject d;
  stringObjectClass s;
  s.add_dependency(stored(d, 7));
  EXPECT_STREQ(s.append_format("%g"), "7");
  EXPECT_STREQ(s.append_format(" mS"), "7 mS");
  s.set_text_routine([](referenceNodeClass*) { return "made"; });
  EXPECT_STREQ(s.cvalue(), "made");
}

TEST(StringObject, ATextTooLongIsReportedAndInvalid) {
  message_capture capture;
  doubleObject d;
  stringObjectClass s;
  s.set_format_text("%20000g");
  s.add_dependency(stored(d, 1));
  EXPECT_STREQ(s.cvalue(), "***invalid***");
  EXPECT_EQ(capture.texts(),
            std::vector<std::string>{"*** stringObjectClass::reformat, BUFFER (16382 < 20000) OVERRUN ***"});

  capture.clear();
  stringObjectClass huge(std::string(20000, 'x').c_str());
  EXPECT_EQ(std::string(huge.format_text()).size(), 16382u);
  EXPECT_EQ(capture.texts(),
            std::vector<std::string>{"*** stringObjectClass::reformat, BUFFER (16382 < 20000) OVERRUN ***"});
}

TEST(StringObject, ACycleOfTextsGivesTheLastText) {
  stringObjectClass a, b;
  a.set_format_text("a(%s)");
  b.set_format_text("b(%s)");
  a.add_dependency(&b);
  b.add_dependency(&a);
  EXPECT_STREQ(a.cvalue(), "a(b())");
}

TEST(StringObject, UpdateOnceAfterEachFormatChangeWhileLive) {
  stringObjectClass s;
  EXPECT_TRUE(s.update());
  EXPECT_FALSE(s.update());
  s.set_format_text("x");
  s.set_live(false);
  EXPECT_FALSE(s.update());
  s.set_live(true);
  EXPECT_TRUE(s.update());
  EXPECT_EQ(s.type(), 9u);
}

TEST_F(loggedTest, AnyErrorMessageInsideAQuietScopeIsLoggedOnceNotShownNotCounted) {
  message_capture capture;
  set_error_count(0);
  const char* no_format = nullptr;
  {
    quietReportScope quiet;
    errormessage("*** PAINT FAILED %d ***", 7);
    errormessage("*** PAINT FAILED %d ***", 7);
    // fmt reports a format it cannot use and still hands back a text.
    const char* text = fmt(no_format);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "");
  }
  EXPECT_TRUE(capture.texts().empty());
  EXPECT_EQ(error_count(), 0u);
  EXPECT_EQ(logged(), (std::vector<std::string>{"*** PAINT FAILED 7 ***", "*** fmt: ZERO LENGTH TEXT ***"}));
}
