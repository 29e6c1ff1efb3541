#include "tools/match_sim/png_writer.h"

#include <zlib.h>

#include <cstdio>

#include "engine/core/pixel_format.h"

namespace match_sim {

namespace {

void Put32(std::vector<uint8_t>* out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<uint8_t>(v >> shift));
}

void Chunk(std::vector<uint8_t>* out, const char* type, const std::vector<uint8_t>& body) {
  Put32(out, static_cast<uint32_t>(body.size()));
  const size_t start = out->size();
  out->insert(out->end(), type, type + 4);
  out->insert(out->end(), body.begin(), body.end());
  const uLong crc = crc32(0L, out->data() + start, static_cast<uInt>(out->size() - start));
  Put32(out, static_cast<uint32_t>(crc));
}

// One channel of a display pixel, widened to 8 bits.
uint8_t Channel(uint16_t p, int mask, int shift, int bits) {
  if (bits <= 0) return 0;
  const uint32_t v = (static_cast<uint32_t>(p) & static_cast<uint32_t>(mask)) >> shift;
  const uint32_t max = (1u << bits) - 1;
  return static_cast<uint8_t>((v * 255 + max / 2) / max);
}

}  // namespace

bool WritePng(const std::string& path, const std::vector<uint16_t>& pixels, int width, int height) {
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(height) * (static_cast<size_t>(width) * 3 + 1));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < width; ++x) {
      const uint16_t p = pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + x];
      raw.push_back(Channel(p, red_mask, red_shift, red_bits));
      raw.push_back(Channel(p, green_mask, green_shift, green_bits));
      raw.push_back(Channel(p, blue_mask, blue_shift, blue_bits));
    }
  }
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packed_size);
  if (compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()), 6) !=
      Z_OK) {
    return false;
  }
  packed.resize(packed_size);

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  Put32(&header, static_cast<uint32_t>(width));
  Put32(&header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
  Chunk(&png, "IHDR", header);
  Chunk(&png, "IDAT", packed);
  Chunk(&png, "IEND", {});

  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), f) == png.size();
  return std::fclose(f) == 0 && written;
}

}  // namespace match_sim
