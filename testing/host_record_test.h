// A test with a fresh host record, which checks on the way out that the test
// left no host block behind and no injected fault armed.
#ifndef TAVREL_TESTING_HOST_RECORD_TEST_H
#define TAVREL_TESTING_HOST_RECORD_TEST_H

#include <gtest/gtest.h>

#include "hostlink.h"
#include "hostsim.h"

class HostRecordTest : public ::testing::Test {
protected:
  void SetUp() override {
    handlesBefore_ = hostsim::LiveHandleCount();
    HostRecordHandle = hostsim::NewHostRecord();
  }
  void TearDown() override {
    hostsim::FailMemoryRequests(0);
    hostsim::FailServiceRequest(0, 0);
    hostsim::SetMoveRecordOnCallback(false);
    DisposeHandle(HostRecordHandle);
    HostRecordHandle = nullptr;
    HostVersion = 0;
    EXPECT_EQ(hostsim::LiveHandleCount(), handlesBefore_);
  }

  int32_t handlesBefore_ = 0;
};

#endif
