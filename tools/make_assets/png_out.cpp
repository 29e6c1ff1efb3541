#include "tools/make_assets/png_out.h"

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

namespace assets {
namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
  Put32(out, static_cast<uint32_t>(body.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  const uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
  Put32(out, static_cast<uint32_t>(crc));
}

}  // namespace

bool WritePng(const std::string& path, const Picture& picture) {
  // Each row: filter byte 0 (none), then R, G, B and, with alpha, A.
  const int samples = picture.has_alpha ? 4 : 3;
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(picture.height) * (picture.width * samples + 1));
  for (int y = 0; y < picture.height; ++y) {
    raw.push_back(0);
    for (int x = 0; x < picture.width; ++x) {
      const uint8_t* p = picture.At(x, y);
      raw.insert(raw.end(), p, p + samples);
    }
  }
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packed_size);
  if (compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()), 9) !=
      Z_OK) {
    return false;
  }
  packed.resize(packed_size);

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  std::vector<uint8_t> header;
  Put32(header, static_cast<uint32_t>(picture.width));
  Put32(header, static_cast<uint32_t>(picture.height));
  // 8 bits, truecolour (6: with alpha), deflate, no filter, no interlace.
  const uint8_t colour_type = picture.has_alpha ? 6 : 2;
  header.insert(header.end(), {8, colour_type, 0, 0, 0});
  Chunk(out, "IHDR", header);
  Chunk(out, "IDAT", packed);
  Chunk(out, "IEND", {});

  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  if (!file) {
    std::fprintf(stderr, "make-assets: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

}  // namespace assets
