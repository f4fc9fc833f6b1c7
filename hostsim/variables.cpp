// Named numeric and text variables of the simulated host.
#include "variables.h"

#include <cstring>
#include <map>
#include <utility>

#include "data_folders.h"
#include "hostsim.h"
#include "items.h"

namespace hostsim {
namespace {

enum : int32_t {
  kTextTypeCode = 0,
  kNumericTypeCode = 4, // a real 64-bit float
  kTypeFlagBit = 0x4000
};

struct Variable {
  int32_t typeCode = 0;
  double real = 0, imaginary = 0;
  std::string text;
  bool IsText() const { return (typeCode & ~kTypeFlagBit) == kTextTypeCode; }
};

// Keyed by folder and case-folded name, as the folder namespace matches.
using Key = std::pair<int32_t, std::string>;
std::map<Key, Variable> variables;

Key KeyOf(const std::string &name) {
  std::string folded = name;
  for (char &c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return {CurrentFolder(), folded};
}

Variable *Find(const std::string &name) {
  auto found = variables.find(KeyOf(name));
  return found == variables.end() ? nullptr : &found->second;
}

std::string NameItem(const ServiceCall &call) {
  const char *name = ItemPointer<const char>(ItemOr0(call, 0));
  return name ? name : "";
}

// The answer for a name that is not a variable of the wanted kind.
int32_t Missing(const std::string &name, int32_t whenNothing) {
  int32_t type = 0;
  return FindObject(CurrentFolder(), name, &type) ? kWrongObjectTypeError
                                                  : whenNothing;
}

int32_t FetchNumber(const ServiceCall &call) {
  std::string name = NameItem(call);
  Variable *v = Find(name);
  if (v == nullptr || v->IsText()) return Missing(name, kNoSuchVariableError);
  *ItemPointer<double>(ItemOr0(call, 1)) = v->real;
  *ItemPointer<double>(ItemOr0(call, 2)) = v->imaginary;
  return 0;
}

int32_t StoreNumber(const ServiceCall &call) {
  std::string name = NameItem(call);
  Variable *v = Find(name);
  if (v == nullptr || v->IsText()) return Missing(name, kNoSuchNumberResult);
  v->real = *ItemPointer<const double>(ItemOr0(call, 1));
  v->imaginary = *ItemPointer<const double>(ItemOr0(call, 2));
  return 0;
}

int32_t StoreText(const ServiceCall &call) {
  std::string name = NameItem(call);
  Variable *v = Find(name);
  if (v == nullptr || !v->IsText()) return Missing(name, kNoSuchVariableError);
  v->text = ItemPointer<const char>(ItemOr0(call, 1));
  return 0;
}

int32_t Create(const ServiceCall &call) {
  std::string name = NameItem(call);
  if (name.empty() || name.size() > kMaxNameChars) return kBadNameError;
  Variable variable;
  variable.typeCode = ItemOr0(call, 1);
  int32_t objectType = variable.IsText() ? kStringObject : kVariableObject;
  if (!AddObject(CurrentFolder(), name, objectType)) return kNameTakenError;
  variables[KeyOf(name)] = variable;
  return 0;
}

const ServiceRegistration registrations[] = {
    {3, FetchNumber}, {5, StoreNumber}, {6, StoreText}, {45, Create}};

} // namespace

void ResetVariables() { variables.clear(); }

bool MakeNumericVariable(const std::string &name, double value) {
  if (name.empty() || name.size() > kMaxNameChars ||
      !AddObject(CurrentFolder(), name, kVariableObject))
    return false;
  Variable variable;
  variable.typeCode = kNumericTypeCode;
  variable.real = value;
  variables[KeyOf(name)] = variable;
  return true;
}

int32_t VariableTypeCode(const std::string &name) {
  Variable *v = Find(name);
  return v ? v->typeCode : -1;
}

bool NumericValue(const std::string &name, double *real, double *imaginary) {
  Variable *v = Find(name);
  if (v == nullptr || v->IsText()) return false;
  *real = v->real;
  *imaginary = v->imaginary;
  return true;
}

bool TextValue(const std::string &name, std::string *text) {
  Variable *v = Find(name);
  if (v == nullptr || !v->IsText()) return false;
  *text = v->text;
  return true;
}

} // namespace hostsim
