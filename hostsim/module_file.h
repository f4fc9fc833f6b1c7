// Reads a 32-bit Windows module (PE32, i386) from its bytes: the export and
// import tables, the resources and the version resource. Needs nothing of
// Windows, so a module can be checked on any build machine. Every offset,
// count and size comes from the file and is checked against it: a file that
// is no such module, or whose tables lie outside it, is refused with the
// reason, and no table is walked further than a real module could need.
#ifndef TAVREL_HOSTSIM_MODULE_FILE_H
#define TAVREL_HOSTSIM_MODULE_FILE_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace hostsim {

struct ModuleExports {
  std::string moduleName;     // the name the export table gives the module
  uint32_t functionCount = 0; // exported functions, named or not
  std::vector<std::string> names;
};

// Imported names per library; "#N" for a function imported by ordinal N.
using ModuleImports = std::map<std::string, std::vector<std::string>>;

// One resource: type and id are names, or "#N" for numeric ones.
struct ResourceEntry {
  std::string type;
  std::string id;
  uint32_t language = 0;
  size_t offset = 0; // of its bytes in the file
  size_t size = 0;
};

class ModuleFile {
public:
  // The file at `path`; Error() says why when it cannot be read or is no
  // 32-bit Windows module.
  static ModuleFile Open(const std::string &path);
  explicit ModuleFile(std::string bytes);

  bool Valid() const { return error_.empty(); }
  const std::string &Error() const { return error_; }

  // Each reads one table; false, with the reason in `error`, when the table
  // lies outside the file or is too large to be real. A module without the
  // table has an empty one.
  bool ReadExports(ModuleExports &exports, std::string &error) const;
  bool ReadImports(ModuleImports &imports, std::string &error) const;
  bool ReadResources(std::vector<ResourceEntry> &resources,
                     std::string &error) const;

  std::string ResourceBytes(const ResourceEntry &resource) const;
  // The bytes of resource (type, id, language); false if it is not there.
  bool Resource(const std::string &type, uint32_t id, uint32_t language,
                std::string &data) const;

private:
  struct Directory {
    uint32_t rva = 0;
    uint32_t size = 0;
  };
  struct DirectoryEntry {
    uint32_t name;
    uint32_t target;
    std::string key; // the name as text: "#N" for a number
  };

  uint16_t U16(size_t at) const;
  uint32_t U32(size_t at) const;
  bool Fits(uint64_t at, uint64_t size) const;
  std::string ParseHeaders();
  std::string CheckSections() const;
  Directory DataDirectory(uint32_t index) const;
  bool Locate(uint64_t rva, uint64_t size, size_t &at) const;
  bool ReadString(uint32_t rva, std::string &text) const;
  bool ReadImportedNames(uint32_t thunks, std::vector<std::string> &names,
                         uint32_t &total, std::string &error) const;
  bool ReadResourceDirectory(uint32_t root, uint32_t dir,
                             std::vector<DirectoryEntry> &entries,
                             uint32_t &visited, std::string &error) const;
  bool ResourceName(uint32_t root, uint32_t name, std::string &key) const;
  bool ReadResourceLanguages(uint32_t root, const DirectoryEntry &type,
                             const DirectoryEntry &id,
                             std::vector<ResourceEntry> &resources,
                             uint32_t &visited, std::string &error) const;

  std::string bytes_;
  std::string error_;
  size_t optionalHeader_ = 0, sections_ = 0;
  uint32_t directoryCount_ = 0, sectionCount_ = 0;
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
bool ParseVersionNode(const std::string &data, size_t at, VersionNode &node);

} // namespace hostsim

#endif
