// Command text: one call of an external function per line, for example
// "WritePort(0x378, 255)". Arguments are numbers (decimal, 0x hex, with an
// exponent, nan, inf, optionally signed) or nested calls. Function names are
// matched without regard to case, as the host's command language does.
#include <cctype>
#include <cstdlib>
#include <strings.h>

#include "hostsim.h"

namespace hostsim {
namespace {

struct Parser {
  Extension &ext;
  const std::string &text;
  size_t at = 0;
  std::string error;

  void SkipSpace() {
    while (at < text.size() &&
           std::isspace(static_cast<unsigned char>(text[at])))
      ++at;
  }

  bool Fail(const std::string &why) {
    if (error.empty()) error = why + " at column " + std::to_string(at + 1);
    return false;
  }

  bool Expect(char c) {
    SkipSpace();
    if (at < text.size() && text[at] == c) {
      ++at;
      return true;
    }
    return Fail(std::string("expected '") + c + "'");
  }

  bool Number(double &value) {
    const char *start = text.c_str() + at;
    char *end = nullptr;
    value = std::strtod(start, &end);
    if (end == start) return Fail("expected a number or a function call");
    at += end - start;
    return true;
  }

  bool Name(std::string &name) {
    size_t start = at;
    while (
        at < text.size() &&
        (std::isalnum(static_cast<unsigned char>(text[at])) || text[at] == '_'))
      ++at;
    name = text.substr(start, at - start);
    return !name.empty();
  }

  const ExternalFunction *Find(const std::string &name, size_t &index) {
    for (index = 0; index < ext.functions.size(); ++index) {
      if (strcasecmp(ext.functions[index].name.c_str(), name.c_str()) == 0)
        return &ext.functions[index];
    }
    return nullptr;
  }

  bool Arguments(std::vector<double> &args) {
    if (!Expect('(')) return false;
    SkipSpace();
    if (at < text.size() && text[at] == ')') return Expect(')');
    for (;;) {
      double value;
      if (!Expression(value)) return false;
      args.push_back(value);
      SkipSpace();
      if (at < text.size() && text[at] == ',') {
        ++at;
        continue;
      }
      return Expect(')');
    }
  }

  bool Call(const std::string &name, double &value) {
    size_t index;
    const ExternalFunction *f = Find(name, index);
    if (f == nullptr) return Fail("unknown function '" + name + "'");
    std::vector<double> args;
    if (!Arguments(args)) return false;
    if (args.size() != f->paramTypes.size()) {
      return Fail(f->name + " takes " + std::to_string(f->paramTypes.size()) +
                  " parameter(s), not " + std::to_string(args.size()));
    }
    int32_t status = CallExternalFunction(ext, index, args, value);
    if (status != 0)
      return Fail(f->name + " failed with code " + std::to_string(status));
    return true;
  }

  bool Expression(double &value) {
    SkipSpace();
    size_t start = at;
    std::string name;
    if (Name(name)) {
      SkipSpace();
      if (at < text.size() && text[at] == '(') return Call(name, value);
      at = start; // nan, inf and the like are numbers
    }
    return Number(value);
  }
};

} // namespace

bool EvaluateCommand(Extension &ext, const std::string &line, double &value,
                     std::string &error) {
  Parser parser{ext, line, 0, {}};
  bool ok = parser.Expression(value);
  if (ok) {
    parser.SkipSpace();
    if (parser.at != line.size()) ok = parser.Fail("unexpected text");
  }
  error = parser.error;
  return ok;
}

} // namespace hostsim
