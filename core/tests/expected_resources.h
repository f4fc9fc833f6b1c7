// What the module's resources must hold, byte for byte.
#ifndef TAVREL_CORE_TEST_EXPECTED_RESOURCES_H
#define TAVREL_CORE_TEST_EXPECTED_RESOURCES_H

#include <string>
#include <utility>
#include <vector>

inline std::string ExpectedErrorTexts() {
  return std::string("LoadLibrary Failed.\0"
                     "GetProcAddress for Oup32 Failed.\0"
                     "GetProcAddress for Inp32 Failed.\0\0\0",
                     88);
}

inline std::string ExpectedFunctionTable() {
  const unsigned char table[39] = {
      'W', 'r', 'i', 't',  'e',  'P', 'o', 'r', 't', 0,   0x00, 0x28, 4,
      0,   4,   0,   4,    0,    0,   0,   'R', 'e', 'a', 'd',  'P',  'o',
      'r', 't', 0,   0x00, 0x28, 4,   0,   4,   0,   0,   0,    0,    0};
  return std::string(reinterpret_cast<const char *>(table), sizeof table);
}

inline std::string ExpectedInformationRecord() {
  return std::string("\4\0\0\0\0\0\0\0\xF4\1", 10);
}

// The version strings in their order; the copyright text is ours to choose
// and only has to be there.
inline std::vector<std::pair<std::string, std::string>>
ExpectedVersionStrings(const std::string &copyright) {
  return {{"Comments", "Kestrin is an Igor Pro extension."},
          {"CompanyName", "Mollard"},
          {"FileDescription", "Kestrin"},
          {"FileVersion", "1, 0, 0, 1"},
          {"InternalName", "Kestrin"},
          {"LegalCopyright", copyright},
          {"LegalTrademarks", ""},
          {"OriginalFilename", "Kestrin.xop"},
          {"PrivateBuild", ""},
          {"ProductName", "Mollard Kestrin"},
          {"ProductVersion", "1, 0, 0, 1"},
          {"SpecialBuild", ""}};
}

#endif
