// The simulated host with its variables and wave store emptied around each
// test, for the wrapper and wave tests.
#ifndef TAVREL_SERVICES_TESTS_WAVE_HOST_TEST_H
#define TAVREL_SERVICES_TESTS_WAVE_HOST_TEST_H

#include "simulated_host.h"
#include "variables.h"
#include "wave_store.h"

class WaveHostTest : public SimulatedHostTest {
protected:
  void SetUp() override {
    SimulatedHostTest::SetUp();
    hostsim::ResetVariables();
    hostsim::ResetWaves();
  }
  void TearDown() override {
    hostsim::ResetWaves();
    hostsim::ResetVariables();
    SimulatedHostTest::TearDown();
  }
  // True when `call` sends no request to the host.
  template <typename Call> bool SendsNothing(Call call) {
    int32_t before = hostsim::ServiceCallCount();
    call();
    return RequestsSince(before) == 0;
  }
};

#endif
