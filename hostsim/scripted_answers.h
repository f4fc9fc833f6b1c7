// Scripted answers: a test makes the host answer one request with a result
// of its choice, without running the service, to show how the library
// takes failures and odd results.
#ifndef TAVREL_HOSTSIM_SCRIPTED_ANSWERS_H
#define TAVREL_HOSTSIM_SCRIPTED_ANSWERS_H

#include <cstdint>

#include "hostsim.h"

namespace hostsim {

// The next request for `code` answers `result`. Only services registered
// through Scriptable take scripted answers.
void AnswerNextRequest(int32_t code, int32_t result);
void ClearScriptedAnswers();
// Takes the answer scripted for `code`, if there is one.
bool TakeScriptedAnswer(int32_t code, int32_t *result);

template <int32_t kCode, Service kService>
int32_t Scriptable(const ServiceCall &call) {
  int32_t result = 0;
  return TakeScriptedAnswer(kCode, &result) ? result : kService(call);
}

} // namespace hostsim

#endif
