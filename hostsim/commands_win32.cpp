// Command text, one line at a time:
//   wave NAME [TYPE] = V, V, ...   makes a one-dimensional wave (TYPE one of
//                                   Float32 Float64 Int8 Int16 Int32 UInt8
//                                   UInt16 UInt32; Float64 when left out)
//   variable NAME = V               makes a numeric variable
//   NAME                            shows a wave's type and values
//   EXPRESSION                      evaluates calls of external functions,
//                                   e.g. "WritePort(0x378, 255)"
// Values are numbers (decimal, 0x hex, with an exponent, nan, inf, optionally
// signed), variable names or calls. A wave parameter takes a wave's name.
// Names are matched without regard to case, as the host's command language
// does.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "hostlink.h"
#include "hostsim.h"
#include "number_types.h"
#include "numconv.h"
#include "variables.h"
#include "wave_store.h"

namespace hostsim {
namespace {

int32_t WaveTypeNamed(const std::string &name) {
  for (const auto &type : kNumberTypeNames) {
    if (strcasecmp(type.name, name.c_str()) == 0) return type.code;
  }
  return 0;
}

const char *WaveTypeName(int32_t code) {
  for (const auto &type : kNumberTypeNames) {
    if (type.code == code) return type.name;
  }
  return "?";
}

std::string Formatted(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", value);
  return text;
}

std::string ShowWave(const std::string &name, Handle wave) {
  std::string text = "wave " + name + " " + WaveTypeName(WaveType(wave)) + " =";
  const char *separator = " ";
  for (double value : WaveValues(wave)) {
    text += separator + Formatted(value);
    separator = ", ";
  }
  return text;
}

struct Parser {
  Extension &ext;
  const std::string &text;
  size_t at = 0;
  std::string error;
  bool functionFailed = false;

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

  bool AtEnd() {
    SkipSpace();
    return at == text.size();
  }

  // A wave parameter is named; its handle travels in the slot's first bytes.
  bool WaveArgument(double &slot) {
    SkipSpace();
    std::string name;
    if (!Name(name)) return Fail("expected a wave name");
    ExternalParam param{};
    param.wave = WaveNamed(name);
    if (param.wave == nullptr) return Fail("no wave named '" + name + "'");
    std::memcpy(&slot, &param, sizeof slot);
    return true;
  }

  bool Argument(const ExternalFunction &f, size_t k, double &value) {
    bool wave = k < f.paramTypes.size() && f.paramTypes[k] == ParamTypeWave;
    return wave ? WaveArgument(value) : Expression(value);
  }

  // item, item, ...: calls `item` for each until one fails.
  template <typename Item> bool CommaList(Item item) {
    for (;;) {
      if (!item()) return false;
      SkipSpace();
      if (at >= text.size() || text[at] != ',') return true;
      ++at;
    }
  }

  bool Arguments(const ExternalFunction &f, std::vector<double> &args) {
    if (!Expect('(')) return false;
    SkipSpace();
    bool empty = at < text.size() && text[at] == ')';
    auto argument = [&] {
      double value;
      if (!Argument(f, args.size(), value)) return false;
      args.push_back(value);
      return true;
    };
    if ((!empty && !CommaList(argument)) || !Expect(')')) return false;
    if (args.size() == f.paramTypes.size()) return true;
    return Fail(f.name + " takes " + std::to_string(f.paramTypes.size()) +
                " parameter(s), not " + std::to_string(args.size()));
  }

  bool Call(const std::string &name, double &value) {
    size_t index;
    const ExternalFunction *f = Find(name, index);
    if (f == nullptr) return Fail("unknown function '" + name + "'");
    std::vector<double> args;
    if (!Arguments(*f, args)) return false;
    int32_t status = CallExternalFunction(ext, index, args, value);
    if (status == 0) return true;
    functionFailed = true;
    error = f->name + " returned error " + std::to_string(status);
    return false;
  }

  bool Expression(double &value) {
    SkipSpace();
    size_t start = at;
    std::string name;
    if (Name(name)) {
      SkipSpace();
      if (at < text.size() && text[at] == '(') return Call(name, value);
      double imaginary;
      if (NumericValue(name, &value, &imaginary)) return true;
      at = start; // nan, inf and the like are numbers
    }
    return Number(value);
  }

  bool ValueList(std::vector<double> &values) {
    auto value = [&] {
      double v;
      if (!Expression(v)) return false;
      values.push_back(v);
      return true;
    };
    return CommaList(value) && (AtEnd() || Fail("unexpected text"));
  }

  // "wave NAME [TYPE] = V, ...", after the word "wave".
  bool WaveDefinition() {
    std::string name, typeName;
    SkipSpace();
    if (!Name(name)) return Fail("expected a wave name");
    SkipSpace();
    int32_t type = NumTypeFloat64;
    if (Name(typeName) && (type = WaveTypeNamed(typeName)) == 0)
      return Fail("unknown number type '" + typeName + "'");
    std::vector<double> values;
    if (!Expect('=') || (!AtEnd() && !ValueList(values))) return false;
    HostOwnRequests own;
    Handle wave =
        MakeWave(1, type, {static_cast<int32_t>(values.size())}, name);
    if (wave == nullptr) return Fail("cannot make a wave named '" + name + "'");
    StoreWaveValues(wave, values);
    return true;
  }

  // "variable NAME = V", after the word "variable".
  bool VariableDefinition() {
    std::string name;
    SkipSpace();
    if (!Name(name)) return Fail("expected a variable name");
    double value;
    if (!Expect('=') || !Expression(value)) return false;
    if (!AtEnd()) return Fail("unexpected text");
    if (!MakeNumericVariable(name, value))
      return Fail("cannot make a variable named '" + name + "'");
    return true;
  }

  // A definition or a wave's name: true when the line was one, with `done`
  // telling whether it succeeded.
  bool Statement(std::string &report, bool &done) {
    SkipSpace();
    size_t start = at;
    std::string word;
    if (!Name(word)) return false;
    bool alone = AtEnd();
    bool defines = !alone && text[at] != '(';
    if (Handle wave = alone ? WaveNamed(word) : nullptr) {
      report = ShowWave(word, wave);
      return done = true;
    }
    if (defines && strcasecmp(word.c_str(), "wave") == 0) {
      done = WaveDefinition();
      return true;
    }
    if (defines && strcasecmp(word.c_str(), "variable") == 0) {
      done = VariableDefinition();
      return true;
    }
    at = start;
    return false;
  }
};

} // namespace

bool EvaluateCommand(Extension &ext, const std::string &line, double &value,
                     std::string &error) {
  Parser parser{ext, line, 0, {}, false};
  bool ok = parser.Expression(value) &&
            (parser.AtEnd() || parser.Fail("unexpected text"));
  error = parser.error;
  return ok;
}

LineStatus RunCommandLine(Extension &ext, const std::string &line,
                          std::string &report) {
  Parser parser{ext, line, 0, {}, false};
  bool done = false;
  double value = 0;
  if (!parser.Statement(report, done)) {
    done = parser.Expression(value) &&
           (parser.AtEnd() || parser.Fail("unexpected text"));
    if (done) report = line + " = " + Formatted(value);
  }
  if (done) return LineStatus::kDone;
  report = parser.error;
  return parser.functionFailed ? LineStatus::kFunctionFailed
                               : LineStatus::kBadText;
}

} // namespace hostsim
