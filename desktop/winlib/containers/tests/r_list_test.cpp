#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/containers/r_list.h"
#include "desktop/winlib/containers/string_list.h"

namespace {

int destroyed = 0;

struct item : listPayload {
  explicit item(int v = 0) : value(v) {}
  ~item() override { ++destroyed; }
  int value;
};

struct plain_record {
  int a;
  double b;
};

using list = r_list<item>;

const char* scan_off = "### r_list::scan_next_l [L] ###\nScanActiveFlag is FALSE8.";
const char* scan_again = "### r_list::scan_init_l [L] scan already active ###\nw/ ScanActiveFlag TRUE8.";

std::vector<int> values(list& l) {
  std::vector<int> out;
  for (r_list_element<item>* e = l.head(); e; e = e->next) out.push_back(e->payload ? e->payload->value : -1);
  return out;
}

}  // namespace

TEST(RList, ScanOfAnEmptyListAndNextWithoutAScan) {
  message_capture capture;
  list l("L");
  EXPECT_EQ(l.first(), nullptr);
  EXPECT_FALSE(l.scan_active());
  EXPECT_EQ(l.next(), nullptr);
  EXPECT_EQ(capture.texts(), std::vector<std::string>{scan_off});
  EXPECT_EQ(capture.captions(), std::vector<std::string>{"*** ERROR ***"});
}

TEST(RList, AddAppendsAtTheTailAndReturnsTheElement) {
  message_capture capture;
  item a(1), b(2), c(3);
  list l("L");
  r_list_element<item>* ea = l.add(&a);
  ASSERT_NE(ea, nullptr);
  EXPECT_EQ(ea, l.head());
  EXPECT_EQ(ea->payload, &a);
  EXPECT_EQ(ea->owner, &l);
  EXPECT_EQ(l.add(&b, 1)->payload, &b);
  EXPECT_EQ(l.add(&b, 1), nullptr);  // already there: nothing added, no message
  l.add(&c);
  EXPECT_EQ(values(l), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(l.count(), 3);
  EXPECT_EQ(l.head_item(), &a);
  EXPECT_EQ(l.tail()->payload, &c);
  EXPECT_TRUE(capture.texts().empty());
  EXPECT_EQ(l.add_lep(nullptr), nullptr);
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"### list add(list element): LIST ELEMENT IS NULL ###"});
}

TEST(RList, AddDuringAScanIsRefusedAndTheScanGoesOn) {
  message_capture capture;
  item a(1), b(2), x(9);
  list l("L");
  l.add(&a);
  l.add(&b);
  std::vector<int> seen;
  for (item* p = l.first(); p; p = l.next()) {
    seen.push_back(p->value);
    EXPECT_EQ(l.add(&x), nullptr);
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2}));
  EXPECT_EQ(l.count(), 2);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>(2, "### list add: scan is active ###")));
  // With unique set, add's own find ends the outer scan and then succeeds.
  capture.clear();
  l.first();
  EXPECT_NE(l.add(&x, 1), nullptr);
  EXPECT_EQ(capture.texts(), std::vector<std::string>{scan_again});
  EXPECT_FALSE(l.scan_active());
}

TEST(RList, GetByIndex) {
  message_capture capture;
  item a(1), b(2);
  list l("L");
  l.add(&a);
  EXPECT_EQ(l.get(0), &a);
  EXPECT_FALSE(l.scan_active());
  EXPECT_EQ(l.get(1), nullptr);
  EXPECT_EQ(l.get_lep(7), nullptr);
  l.add(&b);
  EXPECT_EQ(l.get(1), &b);
  EXPECT_EQ(l.get_lep(1), l.tail());
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"### r_list::get(1) [L] ### INDEX IS OUT OF RANGE",
                                                       "### r_list::get_lep(7) [L] ### INDEX IS OUT OF RANGE"}));
}

TEST(RList, GetInsideAScanOfTheSameListEndsThatScan) {
  message_capture capture;
  item a(1), b(2), c(3);
  list l("L");
  l.add(&a);
  l.add(&b);
  l.add(&c);
  std::vector<int> seen;
  for (item* p = l.first(); p; p = l.next()) {
    seen.push_back(p->value);
    l.get(2);
  }
  EXPECT_EQ(seen, std::vector<int>{1});
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{scan_again, scan_off}));
}

TEST(RList, NullPayloadStopsAFirstNextLoopButNotTheScan) {
  message_capture capture;
  item a(1), c(3);
  list l("L");
  l.add(&a);
  l.add(nullptr);
  l.add(&c);
  EXPECT_EQ(l.first(), &a);
  EXPECT_EQ(l.next(), nullptr);
  EXPECT_TRUE(l.scan_active());
  EXPECT_EQ(l.next(), &c);
  EXPECT_EQ(l.next(), nullptr);
  EXPECT_FALSE(l.scan_active());
  EXPECT_TRUE(capture.texts().empty());
}

TEST(RList, Names) {
  message_capture capture;
  const std::string n31(31, 'n'), n32(32, 'm');
  list a(n31.c_str());
  list b(n32.c_str());
  list c(nullptr);
  EXPECT_EQ(std::string(a.name()), n31);
  EXPECT_STREQ(b.name(), "too long");
  EXPECT_STREQ(c.name(), "nameless");
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"### r_list, name [" + n32 + "] too long ###"});
}

TEST(RList, FindLeavesTheCursorOnTheHit) {
  message_capture capture;
  item a(1), b(2), z(0);
  list l("L");
  l.add(&a);
  l.add(&b);
  EXPECT_EQ(l.find(&b), l.tail());
  EXPECT_EQ(l.cursor(), l.tail());
  EXPECT_FALSE(l.scan_active());
  EXPECT_EQ(l.find(&z), nullptr);
  EXPECT_FALSE(l.scan_active());
  EXPECT_TRUE(capture.texts().empty());
}

TEST(RList, InsertBefore) {
  message_capture capture;
  item a(1), b(2), h(7), m(8);
  list l("L");
  l.insert_before(&h);
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"### list: insert_before [L] ###ScanActiveFlag is FALSE8."});
  l.add(&a);
  l.add(&b);
  l.first();  // cursor on the head
  l.insert_before(&h);
  EXPECT_EQ(values(l), (std::vector<int>{7, 1, 2}));
  EXPECT_EQ(l.head()->prev, nullptr);
  EXPECT_FALSE(l.scan_active());
  l.first();
  l.next();
  l.next();  // cursor on b
  l.insert_before(&m);
  EXPECT_EQ(values(l), (std::vector<int>{7, 1, 8, 2}));
  EXPECT_EQ(l.count(), 4);
  EXPECT_EQ(l.tail()->prev->payload, &m);
  EXPECT_EQ(capture.texts().size(), 1u);
}

TEST(RList, RemoveCurrent) {
  message_capture capture;
  item a(1), b(2), c(3);
  list l("L");
  l.add(&a);
  l.add(&b);
  l.add(&c);
  l.first();
  l.next();  // on b
  EXPECT_EQ(l.remove_current(), &c);
  EXPECT_TRUE(l.scan_active());
  EXPECT_EQ(values(l), (std::vector<int>{1, 3}));
  EXPECT_EQ(l.remove_current(), nullptr);  // the last element
  EXPECT_FALSE(l.scan_active());
  EXPECT_EQ(l.count(), 1);
  EXPECT_EQ(l.tail()->payload, &a);
  EXPECT_EQ(l.tail()->next, nullptr);
  EXPECT_EQ(l.remove_current(), nullptr);  // no cursor
  EXPECT_TRUE(capture.texts().empty());
}

TEST(RList, RemovalRefusals) {
  message_capture capture;
  item a(1), b(2);
  list l("L"), other("O");
  l.add(&a);
  r_list_element<item>* foreign = other.add(&b);
  l.first();
  EXPECT_EQ(l.remove_lep(l.head(), 1), 0);
  l.clear();
  l.remove_all();
  EXPECT_EQ(l.count(), 1);
  l.scan_end();
  EXPECT_EQ(l.remove_lep(nullptr, 1), 0);
  EXPECT_EQ(l.remove_lep(foreign, 1), 0);
  EXPECT_EQ(other.count(), 1);
  const std::string active = "###   r_list::remove_lep [L] ###\n REMOVAL WHILE SCAN IS ACTIVE!";
  EXPECT_EQ(capture.texts(),
            (std::vector<std::string>{active, active, active,
                                      "###  r_list::remove_lep( lep )[L]  ###\nLIST ELEMENT POINTER IS NULL!",
                                      "###  r_list::remove_lep  [L] ###\nLIST ELEMENT NOT A MEMBER OF CURRENT LIST!"}));
}

TEST(RList, RemovingTheCursorElementClearsTheCursor) {
  message_capture capture;
  item a(1), b(2);
  list l("L");
  l.add(&a);
  r_list_element<item>* eb = l.add(&b);
  ASSERT_EQ(l.find(&b), eb);
  EXPECT_EQ(l.remove_lep(eb, 1), 1);
  EXPECT_EQ(l.cursor(), nullptr);
  EXPECT_EQ(l.remove_current(), nullptr);
  EXPECT_EQ(values(l), std::vector<int>{1});
}

TEST(RList, Swap) {
  message_capture capture;
  item a(1), b(2);
  list l("L");
  r_list_element<item>* ea = l.add(&a);
  r_list_element<item>* eb = l.add(&b);
  ea->free_flag = 1;
  EXPECT_TRUE(l.swap(ea, eb));
  EXPECT_EQ(values(l), (std::vector<int>{2, 1}));
  EXPECT_EQ(ea->free_flag, 0);
  EXPECT_EQ(eb->free_flag, 1);
  eb->free_flag = 0;
  EXPECT_FALSE(l.swap(ea, nullptr));
  l.first();
  EXPECT_FALSE(l.swap(ea, eb));
  l.scan_end();
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"### r_list<TYP>::swap [L] ###\nargument(s) is(are) NULL.",
                                                       "### r_list<TYP>::swap [L] ###\nscan is active."}));
}

TEST(RList, ElementFlagsDecideWhatHappensToThePayload) {
  destroyed = 0;
  {
    list l("L");
    l.add(new item(1))->delete_flag = 1;
    r_list_element<item>* both = l.add(new item(2));
    both->delete_flag = 1;
    both->free_flag = 1;
    item kept(3);
    l.add(&kept);
    l.clear();
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(l.count(), 0);
    EXPECT_EQ(l.head(), nullptr);
  }
  r_list<plain_record> records("records");
  records.add(new plain_record{1, 2.0})->free_flag = 1;
  records.add(new plain_record{3, 4.0})->delete_flag = 1;
  records.clear();  // the sanitizers see both records released
  EXPECT_EQ(records.count(), 0);
}

TEST(RList, DestroyingAListDuringItsScanReportsOnce) {
  message_capture capture;
  destroyed = 0;
  {
    list l("L");
    l.add(new item(1))->delete_flag = 1;
    l.add(new item(2))->delete_flag = 1;
    l.first();
  }
  EXPECT_EQ(capture.texts(),
            std::vector<std::string>{"###   r_list::remove_lep [L] ###\n REMOVAL WHILE SCAN IS ACTIVE!"});
  EXPECT_EQ(destroyed, 2);  // nothing of the list outlives it
}

TEST(RList, DeleteListItemsSkipsNullPayloadsAndEmptiesTheList) {
  message_capture capture;
  destroyed = 0;
  list l("L");
  l.add(new item(1));
  l.add(nullptr);
  l.add(new item(3));
  EXPECT_EQ(delete_list_items(&l), &l);
  EXPECT_EQ(destroyed, 2);
  EXPECT_EQ(l.count(), 0);
  EXPECT_EQ(l.head(), nullptr);
  EXPECT_FALSE(l.scan_active());
  EXPECT_TRUE(capture.texts().empty());

  item* twice = new item(2);
  l.add(twice);
  l.add(twice);
  delete_list_items(&l);
  EXPECT_EQ(destroyed, 3);
  EXPECT_EQ(l.count(), 0);

  list* handed_over = new list("handed over");
  handed_over->add(new item(4));
  handed_over->add(nullptr);
  handed_over->add(new item(5));
  delete_all(handed_over);
  EXPECT_EQ(destroyed, 5);
  delete_all<item>(nullptr);
  EXPECT_TRUE(capture.texts().empty());
}

// Payloads of other kinds, each with its own destructor.
struct traceEntry : listPayload {
  ~traceEntry() override { ++destroyed; }
};
struct sampleItem : listPayload {
  ~sampleItem() override { ++destroyed; }
};
struct noteItem : listPayload {};

TEST(RList, PayloadsOfTheAnalysisSubsystemsAreDeletedThroughTheirOwnDestructors) {
  destroyed = 0;
  r_list<traceEntry> traces("traces");
  traces.add(new traceEntry)->delete_flag = 1;
  r_list<sampleItem> samples("samples");
  samples.add(new sampleItem)->delete_flag = 1;
  r_list<noteItem> notes("notes");
  notes.add(new noteItem);
  r_list<listPayload> mixed("mixed");
  mixed.add(new byteObjectClass("text"))->delete_flag = 1;
  delete_list_items(&notes);
  traces.clear();
  samples.clear();
  mixed.clear();
  EXPECT_EQ(traces.count() + samples.count() + notes.count() + mixed.count(), 0);
  EXPECT_EQ(destroyed, 2);
}

TEST(StringList, OwnsItsTexts) {
  message_capture capture;
  stringListClass* texts = new stringListClass;
  EXPECT_STREQ(texts->name(), "nameless");
  EXPECT_EQ(&texts->list(), texts);
  EXPECT_STREQ(texts->append("one")->text(), "one");
  EXPECT_STREQ(texts->append(nullptr)->text(), "");
  char buffer[] = "three";
  texts->append(buffer);
  buffer[0] = 'T';
  EXPECT_EQ(texts->count(), 3);
  EXPECT_STREQ(texts->get(2)->text(), "three");
  texts->add(nullptr);
  delete texts;  // the sanitizers see every text released
  EXPECT_TRUE(capture.texts().empty());

  r_list<byteObjectClass>* chosen = new stringListClass;
  static_cast<stringListClass*>(chosen)->append("a.tst");
  delete_all(chosen);
}
