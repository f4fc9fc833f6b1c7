// HandleToText and TextToHandle on handles of any content and size, with
// any maximum and a resize that may fail. The destination has exactly the
// max + 1 bytes the caller must give, so the address sanitizer sees any
// byte written past it.
#include <string>

#include "fuzz_input.h"
#include "hostlink.h"
#include "hostsim.h"

namespace {

void CheckHandleToText(Handle h, const std::string &content, int32_t max) {
  size_t bytes = max >= 0 ? static_cast<size_t>(max) + 1 : 1;
  char *dest = static_cast<char *>(std::malloc(bytes));
  std::memset(dest, 'Q', bytes);
  int32_t result = HandleToText(h, dest, max);
  if (h == nullptr) {
    FUZZ_CHECK(result == NullHandleError && dest[0] == '\0');
  } else if (max >= 0) {
    bool cut = content.size() > static_cast<size_t>(max);
    size_t kept = cut ? static_cast<size_t>(max) : content.size();
    FUZZ_CHECK(result == (cut ? TextTruncatedError : 0));
    FUZZ_CHECK(std::memcmp(dest, content.data(), kept) == 0);
    FUZZ_CHECK(dest[kept] == '\0');
  }
  std::free(dest);
}

// The handle then holds exactly the text, or the resize failed and says so.
void CheckTextToHandle(Handle h, const std::string &text, bool failResize) {
  if (failResize) hostsim::FailMemoryRequests(1);
  int32_t result = TextToHandle(text.c_str(), h);
  hostsim::FailMemoryRequests(0);
  if (h == nullptr) {
    FUZZ_CHECK(result == NullHandleError);
  } else if (failResize) {
    FUZZ_CHECK(result == ResizeFailedError);
  } else {
    FUZZ_CHECK(result == 0);
    FUZZ_CHECK(GetHandleSize(h) == static_cast<int32_t>(text.size()));
    FUZZ_CHECK(text.empty() || std::memcmp(*h, text.data(), text.size()) == 0);
  }
}

} // namespace

// The input: null handle or not, a maximum, whether the resize fails, the
// text for TextToHandle up to a zero byte, then the handle's bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzInput input(data, size);
  int32_t handles = hostsim::LiveHandleCount();
  bool null = input.Byte() == 0xFF;
  int32_t max = input.Take<int16_t>();
  bool failResize = input.Byte() % 8 == 0;
  std::string text = input.Text(size);
  std::string content;
  while (!input.Empty())
    content.push_back(static_cast<char>(input.Byte()));
  Handle h = null ? nullptr : NewHandle(static_cast<int32_t>(content.size()));
  if (h != nullptr && !content.empty())
    std::memcpy(*h, content.data(), content.size());
  CheckHandleToText(h, content, max);
  CheckTextToHandle(h, text, failResize);
  if (h != nullptr) DisposeHandle(h);
  FUZZ_CHECK(hostsim::LiveHandleCount() == handles);
  return 0;
}
