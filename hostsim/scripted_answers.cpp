#include "scripted_answers.h"

#include <map>

namespace hostsim {
namespace {

std::map<int32_t, int32_t> &Answers() {
  static std::map<int32_t, int32_t> answers;
  return answers;
}

} // namespace

void AnswerNextRequest(int32_t code, int32_t result) {
  Answers()[code] = result;
}

void ClearScriptedAnswers() { Answers().clear(); }

bool TakeScriptedAnswer(int32_t code, int32_t *result) {
  auto scripted = Answers().find(code);
  if (scripted == Answers().end()) return false;
  *result = scripted->second;
  Answers().erase(scripted);
  return true;
}

} // namespace hostsim
