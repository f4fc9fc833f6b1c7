// A fresh simulated host for one fuzz input: a record, an empty folder tree,
// no waves or variables, no command line, no scripted answers and no armed
// failures. Leaving it checks that no host block was leaked.
#ifndef TAVREL_FUZZ_FUZZ_HOST_H
#define TAVREL_FUZZ_FUZZ_HOST_H

#include "command_text.h"
#include "data_folders.h"
#include "fuzz_input.h"
#include "hostlink.h"
#include "hostsim.h"
#include "scripted_answers.h"
#include "variables.h"
#include "wave_store.h"

class FuzzHost {
public:
  explicit FuzzHost(int32_t version)
      : handles_(hostsim::LiveHandleCount()), ptrs_(hostsim::LivePtrCount()) {
    HostRecordHandle = hostsim::NewHostRecord();
    HostVersion = version;
    hostsim::ResetFolders();
    hostsim::SetCommandLine("");
    hostsim::ClearScriptedAnswers();
  }
  ~FuzzHost() {
    hostsim::FailServiceRequest(0, 0);
    hostsim::FailMemoryRequests(0);
    hostsim::ResetWaves();
    hostsim::ResetVariables();
    hostsim::ClearScriptedAnswers();
    DisposeHandle(HostRecordHandle);
    HostRecordHandle = nullptr;
    FUZZ_CHECK(hostsim::LiveHandleCount() == handles_);
    FUZZ_CHECK(hostsim::LivePtrCount() == ptrs_);
  }
  FuzzHost(const FuzzHost &) = delete;
  FuzzHost &operator=(const FuzzHost &) = delete;

private:
  int32_t handles_, ptrs_;
};

#endif
