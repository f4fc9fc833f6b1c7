// Reads the export and import tables of a PE file from its bytes on disk.
#ifndef TAVREL_CORE_TEST_PE_IMAGE_H
#define TAVREL_CORE_TEST_PE_IMAGE_H

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

class PeImage {
public:
  explicit PeImage(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), {});
  }

  bool Valid() const { return bytes_.size() > 0x200 && Nt() != nullptr; }

  std::string ExportName() const {
    const auto *dir =
        Directory<IMAGE_EXPORT_DIRECTORY>(IMAGE_DIRECTORY_ENTRY_EXPORT);
    return dir ? String(dir->Name) : "";
  }

  std::vector<std::string> Exports() const {
    std::vector<std::string> names;
    const auto *dir =
        Directory<IMAGE_EXPORT_DIRECTORY>(IMAGE_DIRECTORY_ENTRY_EXPORT);
    if (dir == nullptr) return names;
    const DWORD *rvas = At<DWORD>(dir->AddressOfNames);
    for (DWORD k = 0; rvas && k < dir->NumberOfNames; ++k)
      names.push_back(String(rvas[k]));
    return names;
  }

  DWORD ExportedFunctionCount() const {
    const auto *dir =
        Directory<IMAGE_EXPORT_DIRECTORY>(IMAGE_DIRECTORY_ENTRY_EXPORT);
    return dir ? dir->NumberOfFunctions : 0;
  }

  // Imported names by DLL name.
  std::map<std::string, std::vector<std::string>> Imports() const {
    std::map<std::string, std::vector<std::string>> imports;
    const auto *desc =
        Directory<IMAGE_IMPORT_DESCRIPTOR>(IMAGE_DIRECTORY_ENTRY_IMPORT);
    for (; desc && desc->Name != 0; ++desc) {
      auto &names = imports[String(desc->Name)];
      DWORD thunkRva = desc->OriginalFirstThunk ? desc->OriginalFirstThunk
                                                : desc->FirstThunk;
      for (const DWORD *thunk = At<DWORD>(thunkRva); thunk && *thunk; ++thunk) {
        if (*thunk & IMAGE_ORDINAL_FLAG32) {
          names.push_back("#ordinal");
        } else {
          names.push_back(String(*thunk + 2)); // skip the hint
        }
      }
    }
    return imports;
  }

private:
  const IMAGE_NT_HEADERS32 *Nt() const {
    if (bytes_.size() < sizeof(IMAGE_DOS_HEADER)) return nullptr;
    LONG offset =
        reinterpret_cast<const IMAGE_DOS_HEADER *>(bytes_.data())->e_lfanew;
    if (offset <= 0 ||
        size_t(offset) + sizeof(IMAGE_NT_HEADERS32) > bytes_.size())
      return nullptr;
    return reinterpret_cast<const IMAGE_NT_HEADERS32 *>(bytes_.data() + offset);
  }

  size_t Offset(DWORD rva) const {
    const IMAGE_NT_HEADERS32 *nt = Nt();
    const IMAGE_SECTION_HEADER *s = IMAGE_FIRST_SECTION(nt);
    for (WORD k = 0; k < nt->FileHeader.NumberOfSections; ++k, ++s) {
      DWORD size = s->Misc.VirtualSize ? s->Misc.VirtualSize : s->SizeOfRawData;
      if (rva >= s->VirtualAddress && rva < s->VirtualAddress + size)
        return rva - s->VirtualAddress + s->PointerToRawData;
    }
    return bytes_.size();
  }

  template <typename T> const T *At(DWORD rva) const {
    size_t offset = Offset(rva);
    return offset + sizeof(T) <= bytes_.size()
               ? reinterpret_cast<const T *>(bytes_.data() + offset)
               : nullptr;
  }

  template <typename T> const T *Directory(int entry) const {
    const IMAGE_DATA_DIRECTORY &d = Nt()->OptionalHeader.DataDirectory[entry];
    return d.VirtualAddress ? At<T>(d.VirtualAddress) : nullptr;
  }

  std::string String(DWORD rva) const {
    size_t offset = Offset(rva);
    if (offset >= bytes_.size()) return "";
    return std::string(bytes_.data() + offset,
                       strnlen(bytes_.data() + offset, bytes_.size() - offset));
  }

  std::vector<char> bytes_;
};

#endif
