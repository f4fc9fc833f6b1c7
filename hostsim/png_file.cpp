// PNG writing: signature, IHDR, one IDAT of stored deflate blocks, IEND.
#include "png_file.h"

#include <algorithm>
#include <fstream>

namespace hostsim {
namespace {

using Bytes = std::vector<uint8_t>;

void PutBig32(Bytes &out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<uint8_t>(v >> shift));
}

uint32_t Crc32(const uint8_t *p, size_t n) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) {
    crc ^= p[i];
    for (int bit = 0; bit < 8; ++bit)
      crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

uint32_t Adler32(const Bytes &data) {
  uint32_t a = 1, b = 0;
  for (uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

void PutChunk(Bytes &out, const char *type, const Bytes &body) {
  PutBig32(out, static_cast<uint32_t>(body.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  PutBig32(out, Crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored blocks (at most 65535 bytes each).
Bytes StoredZlib(const Bytes &raw) {
  Bytes z = {0x78, 0x01};
  size_t at = 0;
  do {
    size_t n = std::min<size_t>(65535, raw.size() - at);
    z.push_back(at + n == raw.size() ? 1 : 0);
    uint16_t len = static_cast<uint16_t>(n), nlen = static_cast<uint16_t>(~n);
    z.insert(z.end(), {uint8_t(len), uint8_t(len >> 8), uint8_t(nlen),
                       uint8_t(nlen >> 8)});
    z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
    at += n;
  } while (at < raw.size());
  PutBig32(z, Adler32(raw));
  return z;
}

} // namespace

bool WritePngFile(const std::string &path, uint32_t width, uint32_t height,
                  const std::vector<uint8_t> &rgb) {
  size_t row = size_t{width} * 3;
  if (width == 0 || height == 0 || rgb.size() != row * height) return false;
  Bytes raw;
  raw.reserve((row + 1) * height);
  for (uint32_t y = 0; y < height; ++y) {
    raw.push_back(0); // no filter
    raw.insert(raw.end(), rgb.begin() + y * row, rgb.begin() + (y + 1) * row);
  }
  Bytes header;
  PutBig32(header, width);
  PutBig32(header, height);
  header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB, no interlace
  Bytes file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(file, "IHDR", header);
  PutChunk(file, "IDAT", StoredZlib(raw));
  PutChunk(file, "IEND", {});
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char *>(file.data()),
            static_cast<std::streamsize>(file.size()));
  return static_cast<bool>(out);
}

} // namespace hostsim
