// The simulated host's numeric and text variables, with the services that
// reach them: 3 fetch a number, 5 store a number, 6 store a text, 45 create.
// Variables live in the current data folder's namespace (data_folders.h).
#ifndef TAVREL_HOSTSIM_VARIABLES_H
#define TAVREL_HOSTSIM_VARIABLES_H

#include <cstdint>
#include <string>

namespace hostsim {

enum VariableError : int32_t {
  kNoSuchVariableError = 1201,
  kWrongObjectTypeError = 1202,
  kNameTakenError = 1203,
  kNoSuchNumberResult = -1, // service 5: nothing of that name exists
};

// Removes every variable; call with ResetFolders.
void ResetVariables();
// A real numeric variable in the current folder; false when the name is
// not usable or taken.
bool MakeNumericVariable(const std::string &name, double value);
// The type code a variable was created with (bit 0x4000 included), or -1.
int32_t VariableTypeCode(const std::string &name);
bool NumericValue(const std::string &name, double *real, double *imaginary);
bool TextValue(const std::string &name, std::string *text);

} // namespace hostsim

#endif
