#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/files/kv_bridge.h"
#include "desktop/winlib/files/kv_text.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "platform/files/whole_file.h"

namespace {

std::string quoted(const char* text) {
  byteObjectClass out;
  kv_quote(out, text);
  return out.text();
}

// Scans text as one item: the result, the key and the value.
struct scanned {
  int result;
  std::string key, value;
  int32_t offset;
};
scanned scan(const std::string& text, int32_t offset = 0) {
  byteObjectClass source(text.data(), static_cast<int32_t>(text.size())), key, value;
  int result = next_KVlist(source, offset, key, value);
  return scanned{result, key.text(), value.text(), offset};
}

std::vector<std::string> keys_of(kvList* list) {
  std::vector<std::string> keys;
  for (auto* e = list->nodes().head(); e; e = e->next) keys.push_back(e->payload->key.text());
  return keys;
}

std::string read_file(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

TEST(KvText, TokensAreQuotedWhenTheyMustBe) {
  struct {
    const char* text;
    const char* written;
  } cases[] = {
      {"abc", "abc"},
      {"a b c", "\"a b c\""},
      {"", "\"\""},
      {nullptr, "\"\""},
      {"ab\"c", "ab\\\"c"},  // a double quote alone does not force quotes
      {"(x", "\"(x\""},
      {"x]", "\"x]\""},
      {"a\\b", "\"a\\\\b\""},
      {"  a b  ", "\"a b\""},
      {"   ", "\" \""},  // all blanks: index 0 stays
      {"\ta", "\"\ta\""},
      {"a\x7f", "\"a\x7f\""},
      {"\xc3\xa9", "\"\xc3\xa9\""},
      {"1.5e-07", "1.5e-07"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(quoted(c.text), c.written) << (c.text ? c.text : "(null)");
    if (!c.text) continue;
    // What is written reads back as the text without its outer blanks.
    std::string text = c.text;
    size_t first = text.find_first_not_of(' ');
    size_t last = text.find_last_not_of(' ');
    std::string expected = first == std::string::npos ? text.substr(0, text.empty() ? 0 : 1)
                                                       : text.substr(first, last - first + 1);
    byteObjectClass item;
    kv_item(item, "k", c.text);
    scanned s = scan(item.text());
    EXPECT_EQ(s.result, 1) << item.text();
    EXPECT_EQ(s.key, "k");
    EXPECT_EQ(s.value, expected) << item.text();
  }
}

TEST(KvText, ScanningItems) {
  scanned s = scan("(title (a 1)(b 2))");
  EXPECT_EQ(s.result, 2);
  EXPECT_EQ(s.key, "title");
  EXPECT_EQ(s.value, "(a 1)(b 2)");

  s = scan("(abc)");
  EXPECT_EQ(s.result, 1);
  EXPECT_EQ(s.key, "");
  EXPECT_EQ(s.value, "abc");

  s = scan("junk \"(not an item)\" \\( (k \"v (x)\")");
  EXPECT_EQ(s.result, 1);  // quoted parentheses do not nest
  EXPECT_EQ(s.key, "k");
  EXPECT_EQ(s.value, "v (x)");

  // Inside nested values quotes and escapes stay, so the value scans again
  // to the same texts.
  s = scan("(t (a \"x y\")(b q\\\"r))");
  EXPECT_EQ(s.value, "(a \"x y\")(b q\\\"r)");
  EXPECT_EQ(scan(s.value).value, "x y");
  EXPECT_EQ(scan(s.value, scan(s.value).offset).value, "q\"r");

  // An escaped byte may open a value.
  s = scan("(k \\\"quoted)");
  EXPECT_EQ(s.value, "\"quoted");

  s = scan(") (a 1)");
  EXPECT_EQ(s.result, 0);
  EXPECT_EQ(s.offset, 1);
}

TEST(KvText, EndsOfTheSource) {
  message_capture capture;
  EXPECT_EQ(scan("(a 1)", 5).result, -2);
  EXPECT_EQ(scan("(a 1)\r\n  \n", 5).result, -2);  // blanks and line ends after the last item
  EXPECT_EQ(scan("(a 1) trailing words", 5).result, -2);
  EXPECT_TRUE(capture.texts().empty());
  uint32_t errors = error_count();

  EXPECT_EQ(scan("(a (b 1)").result, -1);
  EXPECT_EQ(error_count(), errors + 1);
  EXPECT_EQ(capture.texts(), std::vector<std::string>{
                                 "*** next_KVlist: SOURCE OVERRUN ***\nsource_offset = 8, source_string_size = 8"});
}

TEST(KvText, ParsedTree) {
  message_capture capture;
  byteObjectClass text("(title (a 1)(sub (b 2)(a 3)))\r\n");
  kvList* list = parse_kvlist(text);
  ASSERT_EQ(keys_of(list), std::vector<std::string>{"title"});
  kvNode* title = list->nodes().head_item();
  ASSERT_NE(title->sub_list(), nullptr);
  EXPECT_EQ(keys_of(title->sub_list()), (std::vector<std::string>{"a", "sub"}));

  EXPECT_EQ(find_key(list, "a")->value.text(), std::string("1"));  // depth first: the first a
  EXPECT_EQ(find_key(list, "b")->value.text(), std::string("2"));
  EXPECT_EQ(find_key(list, "sub")->value.text(), std::string("(b 2)(a 3)"));
  EXPECT_EQ(find_key(list, "none"), nullptr);
  EXPECT_EQ(find_path(list, "title:sub:a")->value.text(), std::string("3"));
  EXPECT_EQ(find_path(list, "title:a")->value.text(), std::string("1"));
  EXPECT_EQ(find_path(list, "sub:a"), nullptr);
  EXPECT_EQ(find_path(list, "title:a:x"), nullptr);

  EXPECT_STREQ(kvlist_report(list), "(title \n.  (a 1)\n.  (sub \n.  .  (b 2)\n.  .  (a 3)\n.  )\n)\n");
  delete list;
  EXPECT_TRUE(capture.texts().empty());

  // A stray ")" between items ends the list silently; a cut item ends it
  // with its report; the items before are kept either way.
  byteObjectClass stray("(a 1) ) (b 2)");
  list = parse_kvlist(stray);
  EXPECT_EQ(keys_of(list), std::vector<std::string>{"a"});
  delete list;
  EXPECT_TRUE(capture.texts().empty());
  byteObjectClass cut("(a 1)(b 2)(c");
  list = parse_kvlist(cut);
  EXPECT_EQ(keys_of(list), (std::vector<std::string>{"a", "b"}));
  delete list;
  EXPECT_EQ(capture.texts().size(), 1u);
}

TEST(KvText, NestingLimit) {
  message_capture capture;
  auto nested = [](int depth) {
    std::string text;
    for (int i = 0; i < depth; i++) text += "(k" + std::to_string(i) + " ";
    text += "v";
    text += std::string(static_cast<size_t>(depth), ')');
    return text;
  };
  byteObjectClass deepest(nested(kv_nesting_limit).c_str());
  kvList* list = parse_kvlist(deepest);
  kvNode* node = find_key(list, "k63");
  ASSERT_NE(node, nullptr);
  EXPECT_STREQ(node->value.text(), "v");
  delete list;
  EXPECT_TRUE(capture.texts().empty());

  std::string text = "(first 1)" + nested(kv_nesting_limit + 1) + "(after 2)";
  byteObjectClass too_deep(text.c_str());
  list = parse_kvlist(too_deep);
  EXPECT_EQ(keys_of(list), std::vector<std::string>{"first"});
  delete list;
  EXPECT_EQ(capture.texts(), std::vector<std::string>{
                                 "*** KEY/VALUE TEXT NESTED DEEPER THAN 64 LEVELS ***\nkey [k0], source_offset = 390"});

  // A text of nothing but opening parentheses ends in one report.
  capture.clear();
  std::string opens(100000, '(');
  byteObjectClass flood(opens.c_str());
  delete parse_kvlist(flood);
  EXPECT_EQ(capture.texts().size(), 1u);
}

namespace {

// Every bound type, with values that test their edges.
struct all_types {
  char text[16] = "two words";
  double d = -1.25e-7;
  float f = 3.5f;
  uint8_t u8 = 250;
  int8_t i8 = -100;
  uint16_t u16 = 65000;
  int16_t i16 = -32000;
  uint32_t u32 = 4294967295u;
  int32_t i32 = -2000000000;
  int user = 42;
  byteObjectClass object{"(paren) \"q\""};
  uint8_t flag = 7;
  double nested = 9.5;
  int32_t deeper = 12;
};

void user_routine(int direction, kvBridgeEntryClass* entry, byteObjectClass* buffer) {
  int* value = static_cast<int*>(entry->target);
  if (direction == 0) {
    buffer->set(fmt("<%d>", *value));
  } else {
    sscanf(buffer->text(), "<%d>", value);
  }
}

void bind(kvBridgeClass& bridge, all_types& v) {
  bridge.add_entry("text", kv_text, v.text, nullptr, sizeof v.text);
  bridge.add_entry("d", kv_double, &v.d);
  bridge.add_entry("f", kv_float, &v.f);
  bridge.add_entry("u8", kv_uint8, &v.u8);
  bridge.add_entry("i8", kv_int8, &v.i8);
  bridge.add_entry("u16", kv_uint16, &v.u16);
  bridge.add_entry("i16", kv_int16, &v.i16);
  bridge.add_entry("u32", kv_uint32, &v.u32);
  bridge.add_entry("i32", kv_int32, &v.i32);
  bridge.add_entry("user", kv_user, &v.user, user_routine);
  bridge.add_entry("object", kv_byte_object, &v.object);
  bridge.add_entry("flag", kv_bool, &v.flag);
  bridge.push_sublist("sub");
  bridge.add_entry("nested", kv_double, &v.nested);
  bridge.push_sublist("inner");
  bridge.add_entry("deeper", kv_int32, &v.deeper);
}

const char* const all_types_report =
    "(state (text \"two words\")(d -1.25e-07)(f 3.5)(u8 250)(i8 -100)(u16 65000)(i16 -32000)(u32 -1)"
    "(i32 -2000000000)(user <42>)(object \"(paren) \\\"q\\\"\")(flag 1)(sub (nested 9.5)(inner (deeper 12))))";

}  // namespace

TEST(KvBridge, WritesEveryType) {
  message_capture capture;
  all_types v;
  kvBridgeClass bridge;
  bind(bridge, v);
  byteObjectClass report("head:");
  bridge.create_kvreport("state", &report);
  EXPECT_EQ(std::string(report.text()), std::string("head:") + all_types_report);

  bridge.target_values_report(&report);
  EXPECT_STREQ(report.text(),
               "(<place title here> \n.  (text \"two words\")\n.  (d -1.25e-07)\n.  (f 3.5)\n.  (u8 250)"
               "\n.  (i8 -100)\n.  (u16 65000)\n.  (i16 -32000)\n.  (u32 -1)\n.  (i32 -2000000000)\n.  (user <42>)"
               "\n.  (object \"(paren) \\\"q\\\"\")\n.  (flag 1)\n.  (sub \n.  .  (nested 9.5)\n.  .  (inner \n.  .  .  "
               "(deeper 12))))\n");
  EXPECT_TRUE(capture.texts().empty());
}

TEST(KvBridge, SavesAndLoadsEveryType) {
  message_capture capture;
  temp_folder folder;
  std::string name = folder.file("state.st_");
  all_types saved;
  kvBridgeClass writer;
  bind(writer, saved);
  ASSERT_TRUE(writer.save_file(name.c_str(), "state"));
  EXPECT_EQ(read_file(name), all_types_report);  // one line, no final line feed

  all_types loaded;
  memset(loaded.text, 0, sizeof loaded.text);
  loaded.d = loaded.nested = 0;
  loaded.f = 0;
  loaded.u8 = loaded.flag = 0;
  loaded.i8 = 0;
  loaded.u16 = 0;
  loaded.i16 = 0;
  loaded.u32 = 0;
  loaded.i32 = loaded.deeper = 0;
  loaded.user = 0;
  loaded.object.set("");
  kvBridgeClass reader;
  bind(reader, loaded);
  ASSERT_TRUE(reader.load_file(name.c_str()));
  EXPECT_STREQ(loaded.text, "two words");
  EXPECT_EQ(loaded.d, -1.25e-7);
  EXPECT_EQ(loaded.f, 3.5f);
  EXPECT_EQ(loaded.u8, 250);
  EXPECT_EQ(loaded.i8, -100);
  EXPECT_EQ(loaded.u16, 65000);
  EXPECT_EQ(loaded.i16, -32000);
  EXPECT_EQ(loaded.u32, 4294967295u);
  EXPECT_EQ(loaded.i32, -2000000000);
  EXPECT_EQ(loaded.user, 42);
  EXPECT_STREQ(loaded.object.text(), "(paren) \"q\"");
  EXPECT_EQ(loaded.flag, 1);
  EXPECT_EQ(loaded.nested, 9.5);
  EXPECT_EQ(loaded.deeper, 12);
  EXPECT_STREQ(reader.loaded_title(), "state");
  EXPECT_STREQ(reader.get_loaded_value("u32"), "-1");
  EXPECT_STREQ(reader.get_loaded_value("inner"), "(deeper 12)");
  EXPECT_EQ(reader.get_loaded_value("missing"), nullptr);
  EXPECT_TRUE(capture.texts().empty());

  reader.clear_bindings();
  EXPECT_EQ(reader.get_loaded_value("u32"), nullptr);
  EXPECT_STREQ(reader.loaded_title(), nullptr);
  double again = 0;
  reader.add_entry("d", kv_double, &again);  // bindings start again at the top
  ASSERT_TRUE(reader.load_file(name.c_str()));
  EXPECT_EQ(again, -1.25e-7);
}

TEST(KvBridge, LoadingKeepsWhatTheFileDoesNotSet) {
  message_capture capture;
  temp_folder folder;
  folder.write("partial.st_", "(state (d 2.5)(i32 nonsense)(flag 0)(f x))\r\n\r\n   ");
  all_types v;
  kvBridgeClass bridge;
  bind(bridge, v);
  ASSERT_TRUE(bridge.load_file(folder.file("partial.st_").c_str()));
  EXPECT_EQ(v.d, 2.5);
  EXPECT_EQ(v.i32, -2000000000);  // no number: unchanged
  EXPECT_EQ(v.f, 3.5f);
  EXPECT_EQ(v.flag, 0);
  EXPECT_EQ(v.u8, 250);  // absent: unchanged
  EXPECT_STREQ(v.text, "two words");
  EXPECT_TRUE(capture.texts().empty());  // the line ends after the item load silently

  EXPECT_FALSE(bridge.load_file(folder.file("missing.st_").c_str()));
  EXPECT_TRUE(capture.texts().empty());
}

TEST(KvBridge, TextTargetsAreBounded) {
  message_capture capture;
  temp_folder folder;
  folder.write("long.st_", "(state (text \"a text much longer than sixteen bytes\"))");
  all_types v;
  memset(v.text, 'Q', sizeof v.text);
  v.text[0] = 0;
  char guard[8] = "guard";
  kvBridgeClass bridge;
  bridge.add_entry("text", kv_text, v.text, nullptr, sizeof v.text);
  ASSERT_TRUE(bridge.load_file(folder.file("long.st_").c_str()));
  EXPECT_STREQ(v.text, "a text much lon");
  EXPECT_STREQ(guard, "guard");
  EXPECT_EQ(capture.texts(), std::vector<std::string>{
                                 "*** kvBridgeClass::set_target_to_value - VALUE OF [text] CUT TO 15 CHARACTERS ***"});
  capture.clear();

  // A text target without a size, or any target without a variable, is
  // refused when bound; an unterminated array is written within its size.
  EXPECT_EQ(bridge.add_entry("t", kv_text, v.text), nullptr);
  EXPECT_EQ(bridge.add_entry("d", kv_double, nullptr), nullptr);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"*** kvBridgeClass::add_entry - TEXT TARGET [t] HAS NO SIZE ***",
                                                       "*** kvBridgeClass::add_entry - NO TARGET FOR [d] ***"}));
  char raw[4] = {'a', 'b', 'c', 'd'};
  kvBridgeEntryClass entry("raw", kv_text, raw, nullptr, sizeof raw);
  EXPECT_STREQ(bridge.get_value_from_target(&entry), "abcd");
}

TEST(KvBridge, Refusals) {
  message_capture capture;
  kvBridgeClass bridge;
  byteObjectClass report;
  bridge.create_kvreport("", &report);
  bridge.create_kvreport("t", nullptr);
  bridge.pp_target_values(nullptr, &report);
  bridge.pp_target_values("t", nullptr);
  EXPECT_EQ(bridge.get_value_from_target(nullptr), nullptr);
  kvBridgeEntryClass user("u", kv_user, nullptr, nullptr, 0);
  kvBridgeEntryClass sub("s", kv_sublist, nullptr, nullptr, 0);
  int target = 0;
  kvBridgeEntryClass bad("b", 13, &target, nullptr, 0);
  EXPECT_EQ(bridge.get_value_from_target(&user), nullptr);
  EXPECT_EQ(bridge.get_value_from_target(&sub), nullptr);
  EXPECT_EQ(bridge.get_value_from_target(&bad), nullptr);
  kvNode node;
  node.value.set("1");
  bridge.set_target_to_value(&user, &node);
  bridge.set_target_to_value(&bad, &node);
  EXPECT_EQ(report.length(), 0);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{
                                 "*** kvBridgeClass::create_kvreport ***\n*** - supplied title is NULL ***",
                                 "*** kvBridgeClass::create_kvreport ***\n*** - supplied report is NULL ***",
                                 "*** kvBridgeClass::pp_target_values ***\n*** - supplied title is NULL ***",
                                 "*** kvBridgeClass::pp_target_values ***\n*** - supplied report is NULL ***",
                                 "*** kvBridgeClass::get_value_from_target ***\n*** kvBridgeEntryClass is null ***",
                                 "*** kvBridgeClass::get_value_from_target - skUserType routine is NULL ***",
                                 "*** kvBridgeClass::get_value_from_target - BAD kvBridgeEntryClass TYPE (12) ***",
                                 "*** kvBridgeClass::get_value_from_target - BAD kvBridgeEntryClass TYPE (13) ***",
                                 "*** kvBridgeClass::set_target_to_value - BAD kvBridgeEntryClass TYPE (9) ***",
                                 "*** kvBridgeClass::set_target_to_value - BAD kvBridgeEntryClass TYPE (13) ***",
                             }));
  capture.clear();

  // An entry whose value cannot be made is still written, empty.
  kvBridgeClass writer;
  writer.add_entry("u", kv_user, nullptr);
  writer.add_entry("n", kv_int32, &target);
  writer.create_kvreport("t", &report);
  EXPECT_STREQ(report.text(), "(t (u \"\")(n 0))");
  EXPECT_EQ(capture.texts().size(), 1u);
}

TEST(KvBridge, SaveFailuresAreReported) {
  message_capture capture;
  temp_folder folder;
  double d = 1;
  kvBridgeClass bridge;
  bridge.add_entry("d", kv_double, &d);
  std::string missing = folder.file("no_such_folder") + "/x.st_";
  EXPECT_FALSE(bridge.save_file(missing.c_str(), "t"));
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** UNABLE TO OPEN FILE ***\n[" + missing + "]"});
  capture.clear();

  // Without a title there is no report to write: an existing file is kept.
  std::string kept = folder.file("kept.st_");
  folder.write("kept.st_", "(old (d 2))");
  for (const char* title : {static_cast<const char*>(nullptr), ""}) {
    EXPECT_FALSE(bridge.save_file(kept.c_str(), title));
    EXPECT_EQ(read_file(kept), "(old (d 2))");
  }
  EXPECT_EQ(capture.texts(), std::vector<std::string>(2, "*** kvBridgeClass::create_kvreport ***\n"
                                                         "*** - supplied title is NULL ***"));
}

// A failing disk or a program killed while the file is replaced leaves the
// old file byte for byte, and a failure names the file.
TEST(KvBridge, AFailedOrKilledSaveKeepsTheOldFile) {
  message_capture capture;
  temp_folder folder;
  double d = 1;
  kvBridgeClass bridge;
  bridge.add_entry("d", kv_double, &d);
  const std::string name = folder.file("state.st_");
  const std::string old_text = "(TestState (notes \"user note 101\"))";
  const struct {
    wholeFileFault fault;
    const char* says;
  } cases[] = {
      {wholeFileFault::flush, "could not be flushed to the disk (is the disk full?)"},
      {wholeFileFault::close, "could not be closed (is the disk full?)"},
      {wholeFileFault::rename, "could not replace the old file"},
      {wholeFileFault::killed, nullptr},
  };
  for (const auto& c : cases) {
    folder.write("state.st_", old_text);
    capture.clear();
    set_whole_file_fault(c.fault);
    EXPECT_FALSE(bridge.save_file(name.c_str(), "TestState"));
    set_whole_file_fault(wholeFileFault::none);
    EXPECT_EQ(read_file(name), old_text);
    if (!c.says) continue;
    EXPECT_FALSE(std::filesystem::exists(name + ".new"));
    EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** kvBridgeClass::save_file - WRITE TO [" + name +
                                                        "] FAILED ***\n" + c.says});
  }
  // What the killed save left beside the file goes when it is next read.
  ASSERT_TRUE(std::filesystem::exists(name + ".new"));
  EXPECT_TRUE(bridge.load_file(name.c_str()));
  EXPECT_FALSE(std::filesystem::exists(name + ".new"));
}

// Closing a session writes only the state files that changed: a file that
// already holds the report is not touched (here a disk refusing every new
// file shows it), one that differs is replaced.
TEST(KvBridge, AnUnchangedFileIsNotWrittenAgain) {
  message_capture capture;
  temp_folder folder;
  double d = 1;
  kvBridgeClass bridge;
  bridge.add_entry("d", kv_double, &d);
  const std::string name = folder.file("state.st_");
  ASSERT_TRUE(bridge.save_file(name.c_str(), "TestState"));
  set_whole_file_fault(wholeFileFault::open);
  EXPECT_TRUE(bridge.save_file(name.c_str(), "TestState"));
  EXPECT_TRUE(capture.texts().empty());
  d = 2;
  EXPECT_FALSE(bridge.save_file(name.c_str(), "TestState"));
  set_whole_file_fault(wholeFileFault::none);
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** UNABLE TO OPEN FILE ***\n[" + name + "]"});
  ASSERT_TRUE(bridge.save_file(name.c_str(), "TestState"));
  EXPECT_EQ(read_file(name), "(TestState (d 2))");
}

TEST(KvBridge, RandomRoundTrip) {
  message_capture capture;
  temp_folder folder;
  std::mt19937 random(20240607);
  std::uniform_int_distribution<int> byte(1, 255), length(0, 40), kind(0, 4);
  const int n = 200;

  // Texts of any bytes but NUL, without outer blanks (which the format
  // drops), including line ends, Ctrl-Z, quotes, backslashes, parentheses.
  auto random_text = [&]() {
    std::string text;
    for (int i = length(random); i > 0; i--) text += static_cast<char>(byte(random));
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
  };

  struct value {
    int kind;
    std::string key;
    byteObjectClass text;
    double d = 0;
    int32_t i = 0;
    int16_t s = 0;
    uint8_t b = 0;
  };
  std::vector<value> saved(n), loaded(n);
  kvBridgeClass writer, reader;
  for (int k = 0; k < n; k++) {
    value& v = saved[k];
    v.kind = kind(random);
    v.key = random_text() + "#" + std::to_string(k);
    v.text.set(random_text().c_str());
    v.d = std::uniform_real_distribution<double>(-1e6, 1e6)(random);
    v.i = static_cast<int32_t>(random());
    v.s = static_cast<int16_t>(random());
    v.b = static_cast<uint8_t>(random() & 1);
    loaded[k].kind = v.kind;
    for (auto* p : {&v, &loaded[k]}) {
      kvBridgeClass& bridge = p == &v ? writer : reader;
      void* targets[] = {&p->text, &p->d, &p->i, &p->s, &p->b};
      int32_t types[] = {kv_byte_object, kv_double, kv_int32, kv_int16, kv_bool};
      ASSERT_NE(bridge.add_entry(v.key.c_str(), types[v.kind], targets[v.kind]), nullptr);
    }
  }
  std::string name = folder.file("random.st_");
  ASSERT_TRUE(writer.save_file(name.c_str(), "random"));
  ASSERT_TRUE(reader.load_file(name.c_str()));
  for (int k = 0; k < n; k++) {
    const value& a = saved[k];
    const value& b = loaded[k];
    switch (a.kind) {
      case 0: EXPECT_TRUE(a.text.equals(b.text)) << k << ": [" << a.text.printable() << "]"; break;
      case 1: EXPECT_EQ(b.d, strtod(fmt("%lg", a.d), nullptr)) << k; break;
      case 2: EXPECT_EQ(b.i, a.i) << k; break;
      case 3: EXPECT_EQ(b.s, a.s) << k; break;
      case 4: EXPECT_EQ(b.b, a.b) << k; break;
    }
  }
  EXPECT_TRUE(capture.texts().empty());
}
