#include <gtest/gtest.h>
TEST(EngineCore, Builds) { SUCCEED(); }
