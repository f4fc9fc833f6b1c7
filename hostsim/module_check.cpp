// The module check. The host finds its three resources by type name and
// id 1100; a near miss (a type name in other case, without its '#', or the
// resource under another id) leaves it with nothing, and the module fails
// later with "unknown error" or no functions, so near misses are named.
#include "module_check.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "hostlink.h"
#include "number_types.h"

namespace hostsim {
namespace {

constexpr uint32_t kResourceId = 1100;
constexpr uint32_t kOwnLanguage = 0x0C09;
constexpr int32_t kFirstErrorCode = 10001;
constexpr size_t kInformationWords = 5;
constexpr size_t kHostTextLimit = 255;
constexpr size_t kHostNameLimit = 31;
const char kHostExecutable[] = "igor.exe";

// Libraries every Windows system has; anything else would have to travel
// with the module.
const char *const kSystemLibraries[] = {
    "advapi32.dll", "bcrypt.dll",   "comctl32.dll", "comdlg32.dll",
    "crypt32.dll",  "gdi32.dll",    "imm32.dll",    "kernel32.dll",
    "msvcrt.dll",   "ntdll.dll",    "ole32.dll",    "oleaut32.dll",
    "psapi.dll",    "rpcrt4.dll",   "setupapi.dll", "shell32.dll",
    "shlwapi.dll",  "user32.dll",   "uxtheme.dll",  "version.dll",
    "winmm.dll",    "winspool.drv", "ws2_32.dll"};

std::string Hex(uint32_t value, int digits = 1) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

// Names come from the file: control characters show as '?'.
std::string Quoted(std::string text) {
  for (char &c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  return "\"" + text + "\"";
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return text;
}

// Number types by name (Complex before a complex one), and a wave.
std::string TypeName(int32_t code) {
  if (code == ParamTypeWave) return "wave";
  for (const NumberTypeName &type : kNumberTypeNames) {
    if (type.code == code) return type.name;
    if ((type.code | NumTypeComplex) == code)
      return std::string("Complex") + type.name;
  }
  return Hex(static_cast<uint16_t>(code));
}

// ---- Resources ------------------------------------------------------------

bool ValidHostName(const std::string &name) {
  if (name.empty() || name.size() > kHostNameLimit ||
      !std::isalpha(static_cast<unsigned char>(name[0])))
    return false;
  return std::all_of(name.begin(), name.end(), [](unsigned char c) {
    return std::isalnum(c) || c == '_';
  });
}

void ReadFunctions(const std::string &bytes, ModuleCheck &check) {
  const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
  if (!ParseFunctionTable(data, bytes.size(), check.functions)) {
    check.problems.push_back(
        "XOPF 1100 is no function table: an entry, or the 0 that ends the "
        "table, runs past its " +
        std::to_string(bytes.size()) + " bytes");
    return;
  }
  if (check.functions.empty())
    check.notes.push_back("XOPF 1100 lists no functions");
  for (size_t k = 0; k < check.functions.size(); ++k) {
    const std::string &name = check.functions[k].name;
    if (!ValidHostName(name))
      check.problems.push_back(
          "function " + std::to_string(k) + " of XOPF 1100, " + Quoted(name) +
          ", is no valid name: a letter, then letters, digits or _, at most " +
          std::to_string(kHostNameLimit) + " characters");
  }
}

// NUL-terminated texts; an empty one ends the list.
void ReadErrorTexts(const std::string &bytes, ModuleCheck &check) {
  for (size_t at = 0; at < bytes.size();) {
    size_t nul = bytes.find('\0', at);
    if (nul == std::string::npos) break;
    if (nul == at) return;
    check.errorTexts.push_back(bytes.substr(at, nul - at));
    if (nul - at > kHostTextLimit)
      check.notes.push_back(
          "the host cuts error text " +
          std::to_string(kFirstErrorCode - 1 + check.errorTexts.size()) +
          " to " + std::to_string(kHostTextLimit) + " characters");
    at = nul + 1;
  }
  check.problems.push_back(
      "STR# 1100 does not end with an empty text (a NUL after the last "
      "text's NUL)");
}

void ReadInformation(const std::string &bytes, ModuleCheck &check) {
  if (bytes.size() < 2 * kInformationWords) {
    check.problems.push_back(
        "XOPI 1100 holds " + std::to_string(bytes.size()) +
        " bytes where the host reads five 16-bit words (10 bytes)");
    return;
  }
  for (size_t k = 0; k < kInformationWords; ++k)
    check.information.push_back(
        uint16_t(uint8_t(bytes[2 * k]) | uint8_t(bytes[2 * k + 1]) << 8));
}

struct ExpectedResource {
  const char *type;
  const char *what;
  void (*read)(const std::string &bytes, ModuleCheck &check);
};

const ExpectedResource kExpectedResources[] = {
    {"XOPF", "the function table", ReadFunctions},
    {"STR#", "the error texts", ReadErrorTexts},
    {"XOPI", "the information record", ReadInformation},
};

std::string IdText(const std::string &id) {
  return id[0] == '#' ? "id " + id.substr(1) : "the name " + Quoted(id);
}

// The host asks for no language: with one of its own missing it takes
// another, so a resource in another language still works.
const ResourceEntry &ChooseLanguage(const ExpectedResource &expected,
                                    const std::vector<ResourceEntry> &found,
                                    ModuleCheck &check) {
  for (const ResourceEntry &r : found)
    if (r.language == kOwnLanguage) return r;
  check.notes.push_back(std::string(expected.type) + " 1100 is in language " +
                        Hex(found[0].language, 4) + ", not " +
                        Hex(kOwnLanguage, 4) +
                        " as the module's own resources are; the host still "
                        "finds it");
  return found[0];
}

// A type name the host would not match: other case, or '#' missing or
// added. The host looks type names up in capitals.
bool NearMiss(const std::string &found, const std::string &expected) {
  auto folded = [](std::string name) {
    name.erase(std::remove(name.begin(), name.end(), '#'), name.end());
    return Lower(name);
  };
  return found != expected && found[0] != '#' &&
         folded(found) == folded(expected);
}

// Names near misses of the expected type, or resources of a numeric type
// with its id; false if there are none.
bool ReportMisnamed(const ExpectedResource &expected,
                    const std::vector<ResourceEntry> &all, ModuleCheck &check) {
  std::set<std::string> misnamed, numeric;
  for (const ResourceEntry &r : all) {
    if (NearMiss(r.type, expected.type)) misnamed.insert(r.type);
    if (r.type[0] == '#' && r.id == "#1100") numeric.insert(r.type.substr(1));
  }
  for (const std::string &type : misnamed)
    check.problems.push_back("resource type " + Quoted(type) + " found where " +
                             Quoted(expected.type) +
                             " was expected (type names are exact, in "
                             "capitals, and quoted in resource scripts)");
  if (!misnamed.empty()) return true;
  for (const std::string &type : numeric)
    check.problems.push_back("resource 1100 found under the numeric type " +
                             type + " where the type name " +
                             Quoted(expected.type) + " was expected");
  return !numeric.empty();
}

void CheckResource(const ExpectedResource &expected, const ModuleFile &file,
                   const std::vector<ResourceEntry> &all, ModuleCheck &check) {
  std::vector<ResourceEntry> atId;
  std::set<std::string> otherIds;
  for (const ResourceEntry &r : all) {
    if (r.type != expected.type) continue;
    if (r.id == "#" + std::to_string(kResourceId)) {
      atId.push_back(r);
    } else {
      otherIds.insert(r.id);
    }
  }
  if (!atId.empty()) {
    expected.read(file.ResourceBytes(ChooseLanguage(expected, atId, check)),
                  check);
    return;
  }
  for (const std::string &id : otherIds)
    check.problems.push_back(Quoted(expected.type) + " resource found under " +
                             IdText(id) + " where id 1100 was expected");
  if (otherIds.empty() && !ReportMisnamed(expected, all, check))
    check.problems.push_back("no " + Quoted(expected.type) +
                             " resource with id 1100 (" + expected.what + ")");
}

// ---- Exports and imports --------------------------------------------------

void CheckExports(const ModuleExports &exports, ModuleCheck &check) {
  check.exports = exports.names;
  if (std::find(exports.names.begin(), exports.names.end(), "main") ==
      exports.names.end())
    check.problems.push_back("main is not exported: the host calls it first");
  for (const std::string &name : exports.names)
    if (name != "main")
      check.problems.push_back("exports " + Quoted(name) +
                               " besides main: only main may be exported");
  if (exports.functionCount > exports.names.size())
    check.problems.push_back(
        "exports " +
        std::to_string(exports.functionCount - exports.names.size()) +
        " function(s) without a name: only main may be exported");
}

bool SystemLibrary(const std::string &library) {
  for (const char *system : kSystemLibraries)
    if (library == system) return true;
  return false;
}

void CheckImports(const ModuleImports &imports, ModuleCheck &check) {
  for (const auto &entry : imports) {
    const std::string library = Lower(entry.first);
    check.importedLibraries.push_back(entry.first);
    if (library == kHostExecutable || SystemLibrary(library)) continue;
    std::string hint = library.compare(0, 3, "lib") == 0
                           ? " (link the runtime statically)"
                           : "";
    check.problems.push_back("imports from " + Quoted(entry.first) +
                             ", which is neither a Windows system library "
                             "nor the host Igor.exe" +
                             hint);
  }
}

// ---- The description ------------------------------------------------------

std::string Joined(const std::vector<std::string> &items,
                   const char *none = "") {
  std::string text;
  for (const std::string &item : items)
    text += (text.empty() ? "" : ", ") + item;
  return text.empty() ? none : text;
}

std::string FunctionLine(size_t index, const ExternalFunction &f) {
  std::vector<std::string> params;
  for (int32_t type : f.paramTypes)
    params.push_back(TypeName(type));
  return "    " + std::to_string(index) + "  " + f.name + "(" + Joined(params) +
         ") -> " + TypeName(f.resultType) + "\n";
}

std::string HostView(const ModuleCheck &check) {
  std::string text = "  functions (XOPF 1100):\n";
  for (size_t k = 0; k < check.functions.size(); ++k)
    text += FunctionLine(k, check.functions[k]);
  text += "  error texts (STR# 1100):\n";
  for (size_t k = 0; k < check.errorTexts.size(); ++k)
    text += "    " + std::to_string(kFirstErrorCode + k) + "  " +
            check.errorTexts[k] + "\n";
  std::vector<std::string> words;
  for (uint16_t word : check.information)
    words.push_back(std::to_string(word));
  return text + "  information record (XOPI 1100): " + Joined(words) +
         "\n  exports: " + Joined(check.exports) +
         "\n  imports from: " + Joined(check.importedLibraries, "nothing") +
         "\n";
}

} // namespace

ModuleCheck CheckModule(const ModuleFile &file) {
  ModuleCheck check;
  ModuleExports exports;
  ModuleImports imports;
  std::vector<ResourceEntry> resources;
  std::string error;
  if (!file.Valid()) {
    check.problems.push_back(file.Error());
    return check;
  }
  if (!file.ReadExports(exports, error) || !file.ReadImports(imports, error) ||
      !file.ReadResources(resources, error)) {
    check.problems.push_back(error);
    return check;
  }
  for (const ExpectedResource &expected : kExpectedResources)
    CheckResource(expected, file, resources, check);
  CheckExports(exports, check);
  CheckImports(imports, check);
  return check;
}

std::string DescribeModuleCheck(const std::string &path,
                                const ModuleCheck &check) {
  std::string text = check.problems.empty()
                         ? path +
                               " passes the module check; the host reads:\n" +
                               HostView(check)
                         : path + " fails the module check:\n";
  for (const std::string &problem : check.problems)
    text += "  " + problem + "\n";
  for (const std::string &note : check.notes)
    text += "  note: " + note + "\n";
  return text;
}

bool CheckModuleFile(const std::string &path, std::FILE *out, std::FILE *err) {
  ModuleCheck check = CheckModule(ModuleFile::Open(path));
  bool passes = check.problems.empty();
  std::fputs(DescribeModuleCheck(path, check).c_str(), passes ? out : err);
  return passes;
}

} // namespace hostsim
