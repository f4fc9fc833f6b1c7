// Splitting a ";"-separated popup list given by its length, with no
// terminator: the text sits in a buffer of exactly that length, so the
// address sanitizer sees any byte read past it. Entries must reproduce the
// text, each cut to 255 characters, at positions counting up.
#include <cstdlib>
#include <string>
#include <vector>

#include "detail/dialog_logic.h"
#include "fuzz_input.h"

namespace {

struct Entry {
  std::string text;
  int32_t position;
};

void Collect(const char *entry, int32_t position, void *context) {
  static_cast<std::vector<Entry> *>(context)->push_back({entry, position});
}

// The entries the list should give: split at each ";", the last one only
// when something follows the final separator.
std::vector<std::string> Expected(const std::string &text) {
  std::vector<std::string> entries;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    std::string entry = text.substr(start, end - start);
    entries.push_back(entry.substr(0, 255).c_str()); // a zero byte ends it
    start = end + 1;
  }
  return entries;
}

} // namespace

// The input: a start position, then the list's bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzInput input(data, size);
  int32_t position = input.Take<int16_t>();
  std::string text;
  while (!input.Empty())
    text.push_back(static_cast<char>(input.Byte()));
  char *exact = static_cast<char *>(std::malloc(text.size() + 1));
  std::memcpy(exact, text.data(), text.size());
  std::vector<Entry> entries;
  ForEachListEntry(exact, static_cast<int32_t>(text.size()), position, Collect,
                   &entries);
  std::free(exact);
  std::vector<std::string> expected = Expected(text);
  FUZZ_CHECK(entries.size() == expected.size());
  for (size_t k = 0; k < entries.size() && k < expected.size(); ++k) {
    FUZZ_CHECK(entries[k].text == expected[k]);
    int32_t want = position;
    for (size_t step = 0; step < k && want < AppendPosition; ++step)
      ++want;
    FUZZ_CHECK(entries[k].position == want);
  }
  return 0;
}
