#include "handheld/ui/frame/unit_resources.h"

#include <new>

#include "handheld/ui/colour_brushes.h"
#include "handheld/engine/storage/record_init.h"
#include "handheld/ui/dialogs/unit_drawing.h"

testFileRecord* test_records[TEST_RECORD_COUNT] = {};

void create_unit_resources() {
  create_colour_brushes();
  create_pens_and_fonts();
  for (testFileRecord*& record : test_records) {
    if (record == nullptr) record = new (std::nothrow) testFileRecord;
    if (record != nullptr) init_test_record(*record);
  }
}

void free_unit_resources() {
  for (testFileRecord*& record : test_records) {
    if (record == nullptr) continue;
    destroy_test_record(*record);
    delete record;
    record = nullptr;
  }
  delete_colour_brushes();
  delete_pens_and_fonts();
}
