#include "desktop/winlib/tests/start_up_environment.h"

#include <gtest/gtest.h>

#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/windows/window_classes.h"

namespace {

std::vector<std::string> texts;

class startUp : public ::testing::Environment {
 public:
  void SetUp() override {
    message_capture capture;
    register_window_classes();
    texts = capture.texts();
  }
};

::testing::Environment* const start_up = ::testing::AddGlobalTestEnvironment(new startUp);

}  // namespace

const std::vector<std::string>& start_up_texts() { return texts; }
