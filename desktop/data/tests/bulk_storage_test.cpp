#include "desktop/data/bulk_storage.h"

#include <gtest/gtest.h>

#include <vector>

#include "desktop/data/trace_data.h"

namespace {

TEST(PointStorage, ArraysOfEverySizeHoldTheirPointsAndAFreedOneServesTheNext) {
  for (int32_t n : {1, 100, 4095, 4096, 12000, 70000}) {
    xyPair* a = allocate_point_array(n);
    xyPair* b = allocate_point_array(n);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    for (int32_t i = 0; i < n; i++) a[i] = b[i] = xyPair{static_cast<double>(i), -static_cast<double>(i)};
    EXPECT_EQ(a[n - 1].x, b[n - 1].x) << n;
    EXPECT_TRUE(a + n <= b || b + n <= a) << n;  // no overlap
    free_point_array(a);
    xyPair* again = allocate_point_array(n);
    if (n * sizeof(xyPair) >= 16 * 1024) {
      EXPECT_EQ(again, a) << n;  // the freed block, kept by its size
    }
    for (int32_t i = 0; i < n; i++) again[i] = xyPair{1.0, 2.0};
    EXPECT_EQ(b[n - 1].y, -static_cast<double>(n - 1)) << n;
    free_point_array(again);
    free_point_array(b);
  }
  // Many blocks (tens of megabytes): each one usable to its end, the storage
  // growing as they are taken.
  std::vector<xyPair*> many;
  for (int i = 0; i < 100; i++) {
    many.push_back(allocate_point_array(12000));
    many.back()[0] = many.back()[11999] = xyPair{static_cast<double>(i), 0.0};
  }
  for (int i = 0; i < 100; i++) EXPECT_EQ(many[i][11999].x, static_cast<double>(i));
  for (xyPair* p : many) free_point_array(p);

  // Arrays made elsewhere with new[], large or small, are freed as such.
  free_point_array(new xyPair[12000]);
  free_point_array(new xyPair[3]);
  free_point_array(nullptr);

  // Blocks of bytes, small and large, for containers.
  std::vector<int16_t, bulkAllocator<int16_t>> values(12000, 7);
  values.push_back(-3);
  std::vector<int16_t, bulkAllocator<int16_t>> copy(values);
  EXPECT_EQ(copy.back(), -3);
  EXPECT_EQ(copy[11999], 7);
  std::vector<int32_t, bulkAllocator<int32_t>> few{1, 2, 3};
  EXPECT_EQ(few[2], 3);
}

TEST(PointStorage, TracesFreeTheirArraysThroughIt) {
  for (int round = 0; round < 3; round++) {
    traceDataClass trace;
    xyPair* pairs = new_points(12000);
    for (int32_t i = 0; i < 12000; i++) pairs[i] = xyPair{i * 0.5, 1.0};
    trace.adopt_xy_pairs(pairs, 12000);
    traceDataClass copy;
    copy.copy_data(trace);
    copy.points()[5].y = 7.0;  // its own array now
    EXPECT_EQ(trace.points()[5].y, 1.0);
    EXPECT_EQ(copy.get_count(), 12000);
    trace.adopt_xy_pairs(new xyPair[2]{{0.0, 1.0}, {1.0, 2.0}}, 2);
    EXPECT_EQ(trace.get_count(), 2);
  }
}

}  // namespace
