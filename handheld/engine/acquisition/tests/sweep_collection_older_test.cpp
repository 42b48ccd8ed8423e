// The older platform's build reads the stimulator's sync pulse on GPIO word 0
// bit 7.
#include <gtest/gtest.h>

#include <memory>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/storage/record_init.h"
#include "platform/unit/sim_unit.h"
#include "handheld/engine/tests/simulated_unit.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/acquisition/stimulus.h"
#include "handheld/engine/acquisition/sweep_collection.h"
#include "handheld/engine/hardware/sync_input.h"

namespace {

class OlderPlatform : public SimulatedUnit {
 protected:
  void SetUp() override {
    SimulatedUnit::SetUp();
    sim_set_platform(1);
    load_default_calibration();
    open_stimulator();
  }
  void TearDown() override {
    reset_calibration_table();
    SimulatedUnit::TearDown();
  }
};

TEST_F(OlderPlatform, SweepsFollowTheSyncOnWordZero) {
  EXPECT_EQ(0, SYNC_INPUT.word);
  EXPECT_EQ(0x80, SYNC_INPUT.mask());
  ASSERT_EQ(1, set_flash(20000, 1, 0, 0, 0));
  std::unique_ptr<samplesBlock> block(new samplesBlock);
  init_samples_block(*block);
  EXPECT_EQ(1, collect_sweep(20, 50, block.get(), 12000, 0, 1, 300));
  EXPECT_NEAR(70.0, block->Time, 1.0);
  sim_fault_set(SIM_FAULT_STIM_NO_SYNC, 0);
  EXPECT_EQ(COLLECT_LOST_SYNC, collect_sweep(20, 50, block.get(), 12000, 0, 1, 300));
  sim_fault_clear(SIM_FAULT_STIM_NO_SYNC);
}

}  // namespace
