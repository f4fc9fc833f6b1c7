// The simulated host's command-text cursor and the parsing services that
// read through it (10 to 14, 59, 124, 182).
//
// What the services read:
//   10  the next character as it stands, blanks included; 0 at the end
//   11  steps past that character
//   12  after blanks, a word of up to 31 characters that are neither blanks
//       nor one of , ; | and the carriage return; answers its length
//   13  after blanks, a number in C notation; kExpectedNumberError if none
//   14  after blanks, a name: a letter, then letters, digits and underscores,
//       at most 31; kExpectedNameError (59) if none, kNameTooLongError
//       (without moving) if longer
//   59  1 if the current folder holds an object of that name, else 0
//   124 as 14; with bit 1 of its value item a name in single quotes may
//       also stand there; the integer item is set to 1 for a quoted name
//   182 after blanks, 1 at the end of the command, a carriage return, ";"
//       or "|", else 0
// Blanks are spaces and tabs. A failed read leaves the cursor where it was.
#ifndef TAVREL_HOSTSIM_COMMAND_TEXT_H
#define TAVREL_HOSTSIM_COMMAND_TEXT_H

#include <cstdint>
#include <string>

namespace hostsim {

enum CommandTextError : int32_t {
  kExpectedNameError = 59,
  kExpectedNumberError = 1401,
  kCommandNameTooLongError = 1402,
};

// Sets the command that the parsing services read, from its start.
void SetCommandLine(const std::string &line);
// What the services have not read yet.
std::string RemainingCommand();

} // namespace hostsim

#endif
