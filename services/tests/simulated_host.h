// A fresh simulated host for each test: a record, an empty folder tree, no
// command line, no scripted answers, and a host version the test may change.
#ifndef TAVREL_SERVICES_TESTS_SIMULATED_HOST_H
#define TAVREL_SERVICES_TESTS_SIMULATED_HOST_H

#include <gtest/gtest.h>

#include "command_text.h"
#include "data_folders.h"
#include "folders.h"
#include "host_record_test.h"
#include "hostlink.h"
#include "hostsim.h"
#include "items.h"
#include "scripted_answers.h"

class SimulatedHostTest : public HostRecordTest {
protected:
  void SetUp() override {
    HostRecordTest::SetUp();
    HostVersion = 600;
    hostsim::ResetFolders();
    hostsim::SetCommandLine("");
    hostsim::ClearScriptedAnswers();
  }

  // Requests the host has seen since `before`.
  int32_t RequestsSince(int32_t before) {
    return hostsim::ServiceCallCount() - before;
  }
  int32_t LastCode() { return hostsim::LastServiceCall().code; }
  int32_t LastItem(size_t k) {
    return hostsim::ItemOr0(hostsim::LastServiceCall(), k);
  }
};

#endif
