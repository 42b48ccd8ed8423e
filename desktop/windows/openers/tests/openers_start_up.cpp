// The window openers' table filled before the first test, as the program
// fills it at its start: a test program that opens windows through the
// table adds this file to its sources.
#include <gtest/gtest.h>

#include "desktop/windows/openers/register_openers.h"

namespace {

class openersStartUp : public ::testing::Environment {
 public:
  void SetUp() override { register_all_openers(); }
};

::testing::Environment* const openers_start_up = ::testing::AddGlobalTestEnvironment(new openersStartUp);

}  // namespace
