// Reads a 32-bit PE file from its bytes on disk: export and import tables,
// resources, and version-resource text. Needs nothing of Windows, so the
// module file can be checked on any build machine.
#ifndef TAVREL_CORE_TEST_PE_FILE_H
#define TAVREL_CORE_TEST_PE_FILE_H

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

class PeFile {
public:
  explicit PeFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), {});
    Parse();
  }

  bool Valid() const { return valid_; }

  std::string ExportName() const {
    uint32_t dir = Directory(kExportDirectory);
    return dir ? String(U32(Offset(dir) + 12)) : "";
  }

  std::vector<std::string> Exports() const {
    std::vector<std::string> names;
    uint32_t dir = Directory(kExportDirectory);
    if (!dir) return names;
    size_t at = Offset(dir);
    uint32_t count = U32(at + 24), table = Offset(U32(at + 32));
    for (uint32_t k = 0; k < count; ++k)
      names.push_back(String(U32(table + 4 * k)));
    return names;
  }

  uint32_t ExportedFunctionCount() const {
    uint32_t dir = Directory(kExportDirectory);
    return dir ? U32(Offset(dir) + 20) : 0;
  }

  std::map<std::string, std::vector<std::string>> Imports() const {
    std::map<std::string, std::vector<std::string>> imports;
    uint32_t dir = Directory(kImportDirectory);
    for (size_t at = dir ? Offset(dir) : bytes_.size();
         at + 20 <= bytes_.size() && U32(at + 12); at += 20) {
      auto &names = imports[String(U32(at + 12))];
      uint32_t thunks = U32(at) ? U32(at) : U32(at + 16);
      for (size_t t = Offset(thunks); t + 4 <= bytes_.size() && U32(t);
           t += 4) {
        uint32_t entry = U32(t);
        names.push_back(entry & 0x80000000u ? "#ordinal" : String(entry + 2));
      }
    }
    return imports;
  }

  // The bytes of resource (type, id, language); type is a name or "#n".
  bool Resource(const std::string &type, uint32_t id, uint32_t language,
                std::string &data) const {
    uint32_t root = Directory(kResourceDirectory);
    if (!root) return false;
    size_t base = Offset(root);
    size_t types = base, names, languages, entry;
    if (!FindEntry(base, types, type, names) ||
        !FindEntry(base, names, "#" + std::to_string(id), languages) ||
        !FindEntry(base, languages, "#" + std::to_string(language), entry))
      return false;
    size_t at = Offset(U32(entry)), size = U32(entry + 4);
    if (at + size > bytes_.size()) return false;
    data.assign(bytes_.data() + at, size);
    return true;
  }

private:
  enum { kExportDirectory = 0, kImportDirectory = 1, kResourceDirectory = 2 };

  uint16_t U16(size_t at) const {
    uint16_t v = 0;
    if (at + 2 <= bytes_.size()) std::memcpy(&v, bytes_.data() + at, 2);
    return v;
  }
  uint32_t U32(size_t at) const {
    uint32_t v = 0;
    if (at + 4 <= bytes_.size()) std::memcpy(&v, bytes_.data() + at, 4);
    return v;
  }

  void Parse() {
    if (bytes_.size() < 0x40 || U16(0) != 0x5A4D) return;
    nt_ = U32(0x3C);
    if (U32(nt_) != 0x4550 || U16(nt_ + 24) != 0x10B) return; // PE32 only
    sections_ = nt_ + 24 + U16(nt_ + 20);
    sectionCount_ = U16(nt_ + 6);
    valid_ = true;
  }

  uint32_t Directory(int entry) const {
    return valid_ ? U32(nt_ + 24 + 96 + 8 * entry) : 0;
  }

  size_t Offset(uint32_t rva) const {
    for (uint32_t k = 0; k < sectionCount_; ++k) {
      size_t s = sections_ + 40 * k;
      uint32_t size = U32(s + 8) ? U32(s + 8) : U32(s + 16),
               start = U32(s + 12);
      if (rva >= start && rva < start + size) return rva - start + U32(s + 20);
    }
    return bytes_.size();
  }

  std::string String(uint32_t rva) const {
    size_t at = Offset(rva);
    if (at >= bytes_.size()) return "";
    return std::string(bytes_.data() + at,
                       strnlen(bytes_.data() + at, bytes_.size() - at));
  }

  // Finds `key` in the resource directory at `dir`; `found` is the offset of
  // the subdirectory, or of the data entry at the last level.
  bool FindEntry(size_t base, size_t dir, const std::string &key,
                 size_t &found) const {
    uint32_t count = U16(dir + 12) + U16(dir + 14);
    for (uint32_t k = 0; k < count; ++k) {
      size_t e = dir + 16 + 8 * k;
      uint32_t name = U32(e), target = U32(e + 4);
      if (EntryName(base, name) != key) continue;
      found = base + (target & 0x7FFFFFFFu);
      return true;
    }
    return false;
  }

  std::string EntryName(size_t base, uint32_t name) const {
    if (!(name & 0x80000000u)) return "#" + std::to_string(name);
    size_t at = base + (name & 0x7FFFFFFFu);
    std::string text;
    for (uint16_t n = U16(at), k = 0; k < n; ++k)
      text += static_cast<char>(U16(at + 2 + 2 * k));
    return text;
  }

  std::vector<char> bytes_;
  bool valid_ = false;
  size_t nt_ = 0, sections_ = 0;
  uint32_t sectionCount_ = 0;
};

// A node of a version resource: key, value bytes, children.
struct VersionNode {
  std::string key;
  std::string value; // text values as 8-bit characters, binary values raw
  uint16_t type = 0;
  std::vector<VersionNode> children;

  const VersionNode *Child(const std::string &name) const {
    for (const auto &c : children)
      if (c.key == name) return &c;
    return nullptr;
  }
};

// Parses the version-resource node at `at` in `data`; false if malformed.
inline bool ParseVersionNode(const std::string &data, size_t at,
                             VersionNode &node) {
  auto u16 = [&](size_t p) -> uint16_t {
    return p + 2 <= data.size()
               ? uint16_t(uint8_t(data[p]) | uint8_t(data[p + 1]) << 8)
               : 0;
  };
  uint16_t length = u16(at), valueLength = u16(at + 2);
  node.type = u16(at + 4);
  size_t end = at + length, p = at + 6;
  if (length < 6 || end > data.size()) return false;
  for (; p + 2 <= end && u16(p); p += 2)
    node.key += char(u16(p));
  p = (p + 2 + 3) & ~size_t(3);
  if (node.type == 1) { // text: valueLength counts 16-bit characters
    for (uint16_t k = 0; k < valueLength && u16(p + 2 * k); ++k)
      node.value += char(u16(p + 2 * k));
    p += 2 * valueLength;
  } else {
    node.value = data.substr(p, valueLength);
    p += valueLength;
  }
  for (p = (p + 3) & ~size_t(3); p + 6 <= end;
       p = (p + u16(p) + 3) & ~size_t(3)) {
    VersionNode child;
    if (!ParseVersionNode(data, p, child)) return false;
    node.children.push_back(child);
  }
  return true;
}

#endif
