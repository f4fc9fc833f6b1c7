// A cursor over one command line and the parsing services that move it.
#include "command_text.h"

#include <cstdlib>
#include <cstring>

#include "data_folders.h"
#include "hostsim.h"
#include "items.h"
#include "scripted_answers.h"

namespace hostsim {
namespace {

struct Cursor {
  std::string line;
  size_t at = 0;
};

Cursor &TheCursor() {
  static Cursor cursor;
  return cursor;
}

char CharAt(size_t k) {
  const std::string &line = TheCursor().line;
  return k < line.size() ? line[k] : '\0';
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLetter(char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
bool IsNameChar(char c) {
  return IsLetter(c) || (c >= '0' && c <= '9') || c == '_';
}

// Where the next non-blank character stands; the cursor does not move.
size_t AfterBlanks() {
  size_t k = TheCursor().at;
  while (IsBlank(CharAt(k)))
    ++k;
  return k;
}

// Copies line[from, from + length) to `buffer` and moves the cursor past
// `consumed` characters from `from`.
void Deliver(char *buffer, size_t from, size_t length, size_t consumed) {
  std::memcpy(buffer, TheCursor().line.data() + from, length);
  buffer[length] = '\0';
  TheCursor().at = from + consumed;
}

int32_t ReadPlainName(char *buffer) {
  size_t from = AfterBlanks(), end = from;
  if (IsLetter(CharAt(from))) {
    while (IsNameChar(CharAt(end)))
      ++end;
  }
  buffer[0] = '\0';
  if (end == from) return kExpectedNameError;
  if (end - from > kMaxNameChars) return kCommandNameTooLongError;
  Deliver(buffer, from, end - from, end - from);
  return 0;
}

// 'any name' with the quotes; the name itself may not hold a colon.
int32_t ReadQuotedName(char *buffer) {
  size_t from = AfterBlanks() + 1;
  size_t close = TheCursor().line.find('\'', from);
  buffer[0] = '\0';
  if (close == std::string::npos || close == from) return kExpectedNameError;
  std::string name = TheCursor().line.substr(from, close - from);
  if (name.find(':') != std::string::npos) return kExpectedNameError;
  if (name.size() > kMaxNameChars) return kCommandNameTooLongError;
  Deliver(buffer, from, name.size(), name.size() + 1);
  return 0;
}

int32_t PeekChar(const ServiceCall &) {
  return static_cast<unsigned char>(CharAt(TheCursor().at));
}

int32_t SkipChar(const ServiceCall &) {
  if (TheCursor().at < TheCursor().line.size()) ++TheCursor().at;
  return 0;
}

int32_t ReadWord(const ServiceCall &call) {
  char *buffer = ItemPointer<char>(ItemOr0(call, 0));
  if (buffer == nullptr) return 0;
  size_t from = AfterBlanks(), end = from;
  while (end - from < kMaxNameChars && CharAt(end) != '\0' &&
         !IsBlank(CharAt(end)) && std::strchr(",;|\r", CharAt(end)) == nullptr)
    ++end;
  Deliver(buffer, from, end - from, end - from);
  return static_cast<int32_t>(end - from);
}

int32_t ReadNumber(const ServiceCall &call) {
  double *value = ItemPointer<double>(ItemOr0(call, 0));
  if (value == nullptr) return kBadValueError;
  size_t from = AfterBlanks();
  const char *start = TheCursor().line.c_str() + from;
  char *end = nullptr;
  double number = std::strtod(start, &end);
  // strtod would also step over line ends; the command text does not.
  if (end == start || std::strchr(" \t\r\n\f\v", *start) != nullptr)
    return kExpectedNumberError;
  *value = number;
  TheCursor().at = from + static_cast<size_t>(end - start);
  return 0;
}

int32_t ReadName(const ServiceCall &call) {
  char *buffer = ItemPointer<char>(ItemOr0(call, 0));
  if (buffer == nullptr) return kBadValueError;
  return ReadPlainName(buffer);
}

int32_t ReadNameExtended(const ServiceCall &call) {
  int32_t *quoted = ItemPointer<int32_t>(ItemOr0(call, 0));
  char *buffer = ItemPointer<char>(ItemOr0(call, 1));
  if (quoted == nullptr || buffer == nullptr) return kBadValueError;
  *quoted = 0;
  bool quotesAllowed = (ItemOr0(call, 2) & 1) != 0;
  if (!quotesAllowed || CharAt(AfterBlanks()) != '\'')
    return ReadPlainName(buffer);
  int32_t result = ReadQuotedName(buffer);
  if (result == 0) *quoted = 1;
  return result;
}

int32_t KnowsName(const ServiceCall &call) {
  const char *name = ItemPointer<const char>(ItemOr0(call, 0));
  int32_t type = 0;
  return name != nullptr && FindObject(CurrentFolder(), name, &type);
}

int32_t AtCommandEnd(const ServiceCall &) {
  char c = CharAt(AfterBlanks());
  return c == '\0' || c == '\r' || c == ';' || c == '|';
}

const ServiceRegistration registrations[] = {
    {10, Scriptable<10, PeekChar>},
    {11, Scriptable<11, SkipChar>},
    {12, Scriptable<12, ReadWord>},
    {13, Scriptable<13, ReadNumber>},
    {14, Scriptable<14, ReadName>},
    {59, Scriptable<59, KnowsName>},
    {124, Scriptable<124, ReadNameExtended>},
    {182, Scriptable<182, AtCommandEnd>},
};

} // namespace

void SetCommandLine(const std::string &line) {
  TheCursor().line = line;
  TheCursor().at = 0;
}

std::string RemainingCommand() {
  return TheCursor().line.substr(TheCursor().at);
}

} // namespace hostsim
