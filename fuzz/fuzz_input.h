// Reading a fuzz input as a sequence of choices, and checks that stop the
// run with a message when a property does not hold.
#ifndef TAVREL_FUZZ_FUZZ_INPUT_H
#define TAVREL_FUZZ_FUZZ_INPUT_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#define FUZZ_CHECK(condition)                                                  \
  do {                                                                         \
    if (!(condition)) {                                                        \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__,    \
                   #condition);                                                \
      std::abort();                                                            \
    }                                                                          \
  } while (0)

// Takes fixed-size values from the front of the input; an exhausted input
// gives zeros, so every input is a valid sequence of choices.
class FuzzInput {
public:
  FuzzInput(const uint8_t *data, size_t size) : data_(data), size_(size) {}

  uint8_t Byte() { return size_ > 0 ? (--size_, *data_++) : 0; }
  template <typename T> T Take() {
    T value{};
    size_t n = sizeof value < size_ ? sizeof value : size_;
    std::memcpy(&value, data_, n);
    data_ += n;
    size_ -= n;
    return value;
  }
  // Up to `max` bytes, ending early at a zero byte (which is consumed).
  std::string Text(size_t max) {
    std::string text;
    while (size_ > 0 && text.size() < max) {
      char c = static_cast<char>(Byte());
      if (c == '\0') break;
      text.push_back(c);
    }
    return text;
  }
  std::string Rest() { return Text(size_); }
  // `n` bytes; those past the input's end are zeros.
  std::vector<uint8_t> Bytes(size_t n) {
    std::vector<uint8_t> bytes(n);
    size_t taken = n < size_ ? n : size_;
    if (taken > 0) std::memcpy(bytes.data(), data_, taken);
    data_ += taken;
    size_ -= taken;
    return bytes;
  }
  bool Empty() const { return size_ == 0; }

private:
  const uint8_t *data_;
  size_t size_;
};

// A buffer with guard bytes on both sides, for targets that cannot use the
// address sanitizer: a write past either end shows in the guards.
template <size_t N> struct GuardedBuffer {
  static constexpr uint8_t kGuard = 0xA5;
  static constexpr size_t kGuardBytes = 64;
  uint8_t before[kGuardBytes];
  char bytes[N];
  uint8_t after[kGuardBytes];

  GuardedBuffer() {
    std::memset(before, kGuard, sizeof before);
    std::memset(bytes, 0, sizeof bytes);
    std::memset(after, kGuard, sizeof after);
  }
  bool GuardsIntact() const {
    for (size_t k = 0; k < kGuardBytes; ++k) {
      if (before[k] != kGuard || after[k] != kGuard) return false;
    }
    return true;
  }
  bool Terminated() const { return std::memchr(bytes, 0, N) != nullptr; }
};

#endif
