// The module-file reader. Positions inside the loaded image (RVAs) are
// mapped to file offsets through the section table; a structure counts as
// present only when all of it lies in one section's bytes in the file.
#include "module_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace hostsim {
namespace {

// Far beyond any real module: a module file of more bytes, a table of more
// entries or a name of more characters is damaged or hostile.
constexpr size_t kMaxFileBytes = size_t(64) << 20;
constexpr uint32_t kMaxTableEntries = 4096;
constexpr size_t kMaxNameLength = 1024;
constexpr uint32_t kMaxSections = 96; // the system's own limit
constexpr int kMaxVersionDepth = 8;

enum : uint16_t {
  kDosSignature = 0x5A4D,
  kMachineI386 = 0x14C,
  kMagicPe32 = 0x10B,
  kMagicPe32Plus = 0x20B
};
enum : uint32_t {
  kPeSignature = 0x4550,
  kExportDirectory = 0,
  kImportDirectory = 1,
  kResourceDirectory = 2,
  kHighBit = 0x80000000u
};
enum : size_t {
  kFileHeaderBytes = 24, // signature and file header
  kDirectoriesAt = 96,   // in the PE32 optional header
  kSectionBytes = 40,
  kImportDescriptorBytes = 20,
  kSymbolBytes = 18
};

const struct {
  uint16_t code;
  const char *name;
} kMachines[] = {{0x8664, "x86-64"},     {0xAA64, "ARM64"},
                 {0x01C0, "ARM"},        {0x01C4, "ARM Thumb-2"},
                 {0x0200, "Itanium"},    {0x0166, "MIPS"},
                 {0x01F0, "PowerPC"},    {0x5064, "RISC-V 64"},
                 {0x0000, "no machine"}, {0x014D, "i860"}};

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

std::string MachineName(uint16_t code) {
  for (const auto &machine : kMachines)
    if (machine.code == code) return machine.name;
  return "machine " + Hex(code);
}

bool Fail(std::string &error, const std::string &reason) {
  error = reason;
  return false;
}

std::string TooMany(const char *what) {
  return std::string("the ") + what + " has more than " +
         std::to_string(kMaxTableEntries) +
         " entries, or loops back on itself: the file is damaged";
}

} // namespace

// Read in chunks up to the limit: the file may be a device without end.
ModuleFile ModuleFile::Open(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes;
  char chunk[1 << 16];
  while (in && bytes.size() <= kMaxFileBytes) {
    in.read(chunk, sizeof chunk);
    bytes.append(chunk, static_cast<size_t>(in.gcount()));
  }
  bool tooLarge = bytes.size() > kMaxFileBytes, unreadable = !in && !in.eof();
  ModuleFile file(tooLarge ? std::string() : std::move(bytes));
  if (unreadable) file.error_ = "cannot read " + path;
  if (tooLarge)
    file.error_ = "larger than " + std::to_string(kMaxFileBytes >> 20) +
                  " MiB: no module is that large";
  return file;
}

ModuleFile::ModuleFile(std::string bytes) : bytes_(std::move(bytes)) {
  error_ = ParseHeaders();
  if (error_.empty()) error_ = CheckSections();
}

uint16_t ModuleFile::U16(size_t at) const {
  uint16_t v = 0;
  if (Fits(at, 2)) std::memcpy(&v, bytes_.data() + at, 2);
  return v;
}

uint32_t ModuleFile::U32(size_t at) const {
  uint32_t v = 0;
  if (Fits(at, 4)) std::memcpy(&v, bytes_.data() + at, 4);
  return v;
}

bool ModuleFile::Fits(uint64_t at, uint64_t size) const {
  return at <= bytes_.size() && size <= bytes_.size() - at;
}

std::string ModuleFile::ParseHeaders() {
  if (bytes_.size() > kMaxFileBytes) return "larger than any module";
  if (!Fits(0, 0x40) || U16(0) != kDosSignature)
    return "not a Windows module: no MZ header";
  uint32_t nt = U32(0x3C);
  if (!Fits(nt, kFileHeaderBytes) || U32(nt) != kPeSignature)
    return "not a Windows module: no PE header where the MZ header points";
  uint16_t machine = U16(nt + 4);
  if (machine != kMachineI386)
    return "built for " + MachineName(machine) + ", not for 32-bit x86";
  optionalHeader_ = nt + kFileHeaderBytes;
  uint16_t optionalSize = U16(nt + 20);
  if (!Fits(optionalHeader_, optionalSize))
    return "the file ends inside its optional header";
  uint16_t magic = U16(optionalHeader_);
  if (magic == kMagicPe32Plus)
    return "a 64-bit module (PE32+), not a 32-bit one";
  if (magic != kMagicPe32 || optionalSize < kDirectoriesAt)
    return "the optional header is not that of a 32-bit module";
  uint32_t room = (optionalSize - kDirectoriesAt) / 8;
  directoryCount_ = std::min(U32(optionalHeader_ + 92), room);
  sections_ = optionalHeader_ + optionalSize;
  sectionCount_ = U16(nt + 6);
  if (sectionCount_ > kMaxSections)
    return std::to_string(sectionCount_) +
           " sections: more than a module can have";
  if (!Fits(sections_, uint64_t(kSectionBytes) * sectionCount_))
    return "the file ends inside its section table";
  uint32_t symbols = U32(nt + 12), symbolCount = U32(nt + 16);
  if (symbols != 0 && !Fits(symbols, uint64_t(kSymbolBytes) * symbolCount))
    return "the file ends inside its symbol table: it was cut short";
  return "";
}

// A module whose sections' bytes run past its end was cut short.
std::string ModuleFile::CheckSections() const {
  for (uint32_t k = 0; k < sectionCount_; ++k) {
    size_t s = sections_ + kSectionBytes * k;
    if (!Fits(U32(s + 20), U32(s + 16))) {
      std::string name(bytes_.data() + s, strnlen(bytes_.data() + s, 8));
      if (name.empty()) name = "number " + std::to_string(k + 1);
      return "the file ends inside section " + name + ": it was cut short";
    }
  }
  return "";
}

ModuleFile::Directory ModuleFile::DataDirectory(uint32_t index) const {
  Directory dir;
  if (!Valid() || index >= directoryCount_) return dir;
  size_t at = optionalHeader_ + kDirectoriesAt + 8 * index;
  dir.rva = U32(at);
  dir.size = U32(at + 4);
  return dir;
}

bool ModuleFile::Locate(uint64_t rva, uint64_t size, size_t &at) const {
  for (uint32_t k = 0; k < sectionCount_; ++k) {
    size_t s = sections_ + kSectionBytes * k;
    uint64_t start = U32(s + 12), raw = U32(s + 16), virtualSize = U32(s + 8);
    uint64_t inFile = virtualSize != 0 && virtualSize < raw ? virtualSize : raw;
    if (rva < start || rva - start > inFile || size > inFile - (rva - start))
      continue;
    at = static_cast<size_t>(U32(s + 20) + (rva - start));
    return true;
  }
  return false;
}

bool ModuleFile::ReadString(uint32_t rva, std::string &text) const {
  size_t at = 0;
  if (!Locate(rva, 1, at)) return false;
  size_t room = std::min(bytes_.size() - at, kMaxNameLength + 1);
  const char *start = bytes_.data() + at;
  const void *nul = std::memchr(start, 0, room);
  if (nul == nullptr) return false;
  text.assign(start, static_cast<const char *>(nul) - start);
  return true;
}

bool ModuleFile::ReadExports(ModuleExports &exports, std::string &error) const {
  exports = ModuleExports();
  if (!Valid()) return Fail(error, error_);
  Directory dir = DataDirectory(kExportDirectory);
  if (dir.rva == 0) return true;
  size_t at = 0, names = 0;
  if (!Locate(dir.rva, 40, at))
    return Fail(error, "the export directory lies outside the file");
  exports.functionCount = U32(at + 20);
  uint32_t count = U32(at + 24);
  if (count > kMaxTableEntries || exports.functionCount > kMaxTableEntries)
    return Fail(error, TooMany("export table"));
  if (!ReadString(U32(at + 12), exports.moduleName) ||
      !Locate(U32(at + 32), uint64_t(4) * count, names))
    return Fail(error, "the export table lies outside the file");
  for (uint32_t k = 0; k < count; ++k) {
    std::string name;
    if (!ReadString(U32(names + 4 * k), name))
      return Fail(error, "an exported name lies outside the file");
    exports.names.push_back(name);
  }
  return true;
}

bool ModuleFile::ReadImportedNames(uint32_t thunks,
                                   std::vector<std::string> &names,
                                   uint32_t &total, std::string &error) const {
  for (uint64_t t = thunks;; t += 4) {
    size_t at = 0;
    if (!Locate(t, 4, at))
      return Fail(error, "an import list lies outside the file");
    uint32_t entry = U32(at);
    if (entry == 0) return true;
    if (++total > kMaxTableEntries) return Fail(error, TooMany("import table"));
    std::string name;
    if (entry & kHighBit) {
      name = "#" + std::to_string(entry & 0xFFFF);
    } else if (!ReadString(entry + 2, name)) {
      return Fail(error, "an imported name lies outside the file");
    }
    names.push_back(name);
  }
}

bool ModuleFile::ReadImports(ModuleImports &imports, std::string &error) const {
  imports.clear();
  if (!Valid()) return Fail(error, error_);
  Directory dir = DataDirectory(kImportDirectory);
  if (dir.rva == 0) return true;
  uint32_t total = 0;
  for (uint32_t k = 0; k <= kMaxTableEntries; ++k) {
    size_t at = 0;
    if (!Locate(dir.rva + uint64_t(kImportDescriptorBytes) * k,
                kImportDescriptorBytes, at))
      return Fail(error, "the import directory lies outside the file");
    if (U32(at + 12) == 0) return true; // the empty entry ends the list
    std::string library;
    if (!ReadString(U32(at + 12), library))
      return Fail(error, "an imported library's name lies outside the file");
    uint32_t thunks = U32(at) ? U32(at) : U32(at + 16);
    if (!ReadImportedNames(thunks, imports[library], total, error))
      return false;
  }
  return Fail(error, TooMany("import directory"));
}

// Names in the resource directory are 16-bit characters after their count;
// characters other than printable ASCII show as '?'.
bool ModuleFile::ResourceName(uint32_t root, uint32_t name,
                              std::string &key) const {
  if (!(name & kHighBit)) {
    key = "#" + std::to_string(name);
    return true;
  }
  size_t at = 0;
  uint64_t rva = uint64_t(root) + (name & ~kHighBit);
  if (!Locate(rva, 2, at)) return false;
  uint16_t length = U16(at);
  if (length > kMaxNameLength || !Locate(rva, 2 + 2 * uint64_t(length), at))
    return false;
  key.clear();
  for (uint16_t k = 0; k < length; ++k) {
    uint16_t c = U16(at + 2 + 2 * size_t(k));
    key += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
  }
  return true;
}

// `visited` counts every entry walked, so that directories that share or
// loop back to each other cannot make the walk endless.
bool ModuleFile::ReadResourceDirectory(uint32_t root, uint32_t dir,
                                       std::vector<DirectoryEntry> &entries,
                                       uint32_t &visited,
                                       std::string &error) const {
  size_t at = 0;
  uint64_t rva = uint64_t(root) + dir;
  if (!Locate(rva, 16, at))
    return Fail(error, "the resource directory lies outside the file");
  uint32_t count = uint32_t(U16(at + 12)) + U16(at + 14);
  visited += count;
  if (visited > kMaxTableEntries)
    return Fail(error, TooMany("resource directory"));
  if (!Locate(rva + 16, uint64_t(8) * count, at))
    return Fail(error, "the resource directory lies outside the file");
  entries.clear();
  for (uint32_t k = 0; k < count; ++k) {
    DirectoryEntry entry{U32(at + 8 * k), U32(at + 8 * k + 4), ""};
    if (!ResourceName(root, entry.name, entry.key))
      return Fail(error, "a resource name lies outside the file");
    entries.push_back(entry);
  }
  return true;
}

bool ModuleFile::ReadResourceLanguages(uint32_t root,
                                       const DirectoryEntry &type,
                                       const DirectoryEntry &id,
                                       std::vector<ResourceEntry> &resources,
                                       uint32_t &visited,
                                       std::string &error) const {
  std::vector<DirectoryEntry> languages;
  if (!(id.target & kHighBit))
    return Fail(error, "resource " + type.key + " " + id.key +
                           " has no language directory");
  if (!ReadResourceDirectory(root, id.target & ~kHighBit, languages, visited,
                             error))
    return false;
  for (const DirectoryEntry &language : languages) {
    size_t at = 0;
    ResourceEntry resource{type.key, id.key, 0, 0, 0};
    if ((language.target | language.name) & kHighBit ||
        !Locate(uint64_t(root) + language.target, 16, at) ||
        !Locate(U32(at), U32(at + 4), resource.offset))
      return Fail(error, "the bytes of resource " + type.key + " " + id.key +
                             " lie outside the file");
    resource.language = language.name;
    resource.size = U32(at + 4);
    resources.push_back(resource);
  }
  return true;
}

bool ModuleFile::ReadResources(std::vector<ResourceEntry> &resources,
                               std::string &error) const {
  resources.clear();
  if (!Valid()) return Fail(error, error_);
  uint32_t root = DataDirectory(kResourceDirectory).rva, visited = 0;
  if (root == 0) return true;
  std::vector<DirectoryEntry> types, ids;
  if (!ReadResourceDirectory(root, 0, types, visited, error)) return false;
  for (const DirectoryEntry &type : types) {
    if (!(type.target & kHighBit))
      return Fail(error, "resource type " + type.key + " has no directory");
    if (!ReadResourceDirectory(root, type.target & ~kHighBit, ids, visited,
                               error))
      return false;
    for (const DirectoryEntry &id : ids) {
      if (!ReadResourceLanguages(root, type, id, resources, visited, error))
        return false;
    }
  }
  return true;
}

std::string ModuleFile::ResourceBytes(const ResourceEntry &resource) const {
  if (!Fits(resource.offset, resource.size)) return "";
  return bytes_.substr(resource.offset, resource.size);
}

bool ModuleFile::Resource(const std::string &type, uint32_t id,
                          uint32_t language, std::string &data) const {
  std::vector<ResourceEntry> resources;
  std::string error;
  if (!ReadResources(resources, error)) return false;
  for (const ResourceEntry &r : resources) {
    if (r.type == type && r.id == "#" + std::to_string(id) &&
        r.language == language) {
      data = ResourceBytes(r);
      return true;
    }
  }
  return false;
}

namespace {

uint16_t VersionWord(const std::string &data, size_t at) {
  return at + 2 <= data.size()
             ? uint16_t(uint8_t(data[at]) | uint8_t(data[at + 1]) << 8)
             : 0;
}

size_t Align4(size_t at) { return (at + 3) & ~size_t(3); }

// Nodes nest inside their parent's length; the depth is bounded as well,
// so that a hostile resource cannot exhaust the stack.
bool ParseVersionNodeAt(const std::string &data, size_t at, int depth,
                        VersionNode &node) {
  uint16_t length = VersionWord(data, at);
  uint16_t valueLength = VersionWord(data, at + 2);
  node.type = VersionWord(data, at + 4);
  size_t end = at + length, p = at + 6;
  if (depth > kMaxVersionDepth || length < 6 || end > data.size()) return false;
  for (; p + 2 <= end && VersionWord(data, p); p += 2)
    node.key += char(VersionWord(data, p));
  p = std::min(Align4(p + 2), end);
  if (node.type == 1) { // text: valueLength counts 16-bit characters
    for (uint16_t k = 0; k < valueLength && p + 2 * k + 2 <= end &&
                         VersionWord(data, p + 2 * k);
         ++k)
      node.value += char(VersionWord(data, p + 2 * k));
    p += 2 * size_t(valueLength);
  } else {
    node.value = data.substr(p, std::min<size_t>(valueLength, end - p));
    p += valueLength;
  }
  for (p = Align4(p); p + 6 <= end; p = Align4(p + VersionWord(data, p))) {
    VersionNode child;
    if (!ParseVersionNodeAt(data, p, depth + 1, child)) return false;
    node.children.push_back(child);
  }
  return true;
}

} // namespace

bool ParseVersionNode(const std::string &data, size_t at, VersionNode &node) {
  return ParseVersionNodeAt(data, at, 0, node);
}

} // namespace hostsim
