// Writes a picture as a PNG file, with no library: uncompressed deflate
// blocks are valid PNG and keep this small.
#ifndef TAVREL_HOSTSIM_PNG_FILE_H
#define TAVREL_HOSTSIM_PNG_FILE_H

#include <cstdint>
#include <string>
#include <vector>

namespace hostsim {

// rgb holds height rows of width pixels, three bytes each, top row first.
bool WritePngFile(const std::string &path, uint32_t width, uint32_t height,
                  const std::vector<uint8_t> &rgb);

} // namespace hostsim

#endif
