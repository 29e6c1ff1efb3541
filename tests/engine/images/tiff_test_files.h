// TIFF files for the image tests: pictures whose every byte shows where it came from, and a
// builder that lays files out from a table of directory entries.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "engine/images/tiff_reader.h"

namespace tiff_files {

using Bytes = std::vector<uint8_t>;

// A picture as the reader delivers it before preparation: R, G, B bytes and optional alpha.
struct Picture {
  int width = 0, height = 0;
  Bytes rgb, alpha;  // width × height × 3; width × height or empty
  bool operator==(const Picture&) const = default;
};

// Every byte differs from its neighbours, so that a byte taken from the wrong place shows.
inline Picture Pattern(int width, int height, bool with_alpha, int seed = 0) {
  Picture p{width, height, {}, {}};
  const size_t count = size_t(width) * size_t(height), s = size_t(seed);
  for (size_t i = 0; i < count * 3; ++i) p.rgb.push_back(uint8_t((i * 37 + s * 101 + i / 7) % 256));
  for (size_t i = 0; with_alpha && i < count; ++i)
    p.alpha.push_back(uint8_t((i * 59 + s * 13 + 3) % 256));
  return p;
}

// What an Image holds after loading (24-bit, before preparation).
inline Picture FromImage(const Image& image) {
  Picture p{image.width, image.height, {}, {}};
  const size_t count = size_t(image.width) * size_t(image.height);
  if (image.data != nullptr) p.rgb.assign(image.data, image.data + count * 3);
  if ((image.format & IMAGE_ALPHA) && image.alpha != nullptr)
    p.alpha.assign(image.alpha, image.alpha + count);
  return p;
}

// Values of `n` bytes in the file's own byte order ('M' first: most significant byte first).
// Writes grow the file when they reach past its end.
inline uint32_t Shift(const Bytes& f, uint32_t i, uint32_t n) {
  return !f.empty() && f[0] == 'M' ? 8 * (n - 1 - i) : 8 * i;
}
inline uint32_t Get(const Bytes& f, uint32_t at, uint32_t n = 4) {
  uint32_t v = 0;
  for (uint32_t i = 0; i < n; ++i) v |= uint32_t{f.at(at + i)} << Shift(f, i, n);
  return v;
}
inline void Put(Bytes& f, uint32_t at, uint32_t value, uint32_t n = 4) {
  if (f.size() < at + n) f.resize(at + n);
  for (uint32_t i = 0; i < n; ++i) f[at + i] = uint8_t(value >> Shift(f, i, n));
}
inline uint32_t Size(const Bytes& f) {
  return static_cast<uint32_t>(f.size());
}

// Appends a block word aligned and returns its offset.
inline uint32_t Append(Bytes& f, const Bytes& block) {
  if (f.size() % 2) f.push_back(0);
  const uint32_t at = Size(f);
  f.insert(f.end(), block.begin(), block.end());
  return at;
}

// Chunky samples of pixels [first, end), with alpha as a fourth sample when the picture has it.
// Wider samples hold the picture's byte as their most significant byte and different low
// bytes, so that a reader taking the wrong byte fails.
inline Bytes Samples(const Picture& p, size_t first, size_t end, int bits, bool msb_first) {
  Bytes out;
  const size_t n = size_t(bits) / 8, samples = p.alpha.empty() ? 3 : 4;
  for (size_t i = first * samples; i < end * samples; ++i) {
    const uint8_t v = i % samples < 3 ? p.rgb[i / samples * 3 + i % samples] : p.alpha[i / samples];
    const uint8_t bytes[4] = {v, uint8_t(v ^ 0x5A), uint8_t(v ^ 0xC3), uint8_t(v ^ 0x3C)};
    for (size_t b = 0; b < n; ++b) out.push_back(bytes[msb_first ? b : n - 1 - b]);
  }
  return out;
}

// Samples of 8, 16 or 32 bits; 0 rows per strip: one strip and no RowsPerStrip entry.
struct Layout {
  bool msb_first = false;
  int bits = 8, rows_per_strip = 0;
};

// An uncompressed chunky RGB file of `p`: the header, the directory, the lists, then the pixels,
// so that cutting a file short cuts only pixels. The directory is a table of (tag, type, count,
// value) entries; a single SHORT value goes into the first two bytes of its field.
inline Bytes MakeTiff(const Picture& p, const Layout& l) {
  constexpr uint16_t kShort = 3, kLong = 4;
  const auto samples = uint32_t(p.alpha.empty() ? 3 : 4), w = uint32_t(p.width);
  const auto rows = uint32_t(l.rows_per_strip > 0 ? l.rows_per_strip : p.height);
  const uint32_t strips = (uint32_t(p.height) + rows - 1) / rows;
  std::vector<std::array<uint32_t, 4>> entries = {
      {256, kShort, 1, w},       {257, kShort, 1, uint32_t(p.height)},
      {258, kShort, samples, 0}, {259, kShort, 1, 1},
      {262, kShort, 1, 2},       {273, kLong, strips, 0}};
  if (l.rows_per_strip > 0) entries.push_back({278, kShort, 1, rows});
  if (samples == 4) entries.push_back({338, kShort, 1, 2});
  const auto n = uint32_t(entries.size());
  Bytes f(14 + 12 * n);
  f[0] = f[1] = l.msb_first ? 'M' : 'I';
  Put(f, 2, 42, 2), Put(f, 4, 8), Put(f, 8, n, 2);
  entries[2][3] = Append(f, Bytes(2 * samples));
  for (uint32_t i = 0; i < samples; ++i) Put(f, entries[2][3] + 2 * i, uint32_t(l.bits), 2);
  const uint32_t list = strips > 1 ? Append(f, Bytes(4 * strips)) : 0;
  for (uint32_t s = 0; s < strips; ++s) {
    const size_t end = std::min(uint32_t(p.height), (s + 1) * rows) * size_t{w};
    entries[5][3] = Append(f, Samples(p, s * rows * size_t{w}, end, l.bits, l.msb_first));
    if (list) Put(f, list + 4 * s, entries[5][3]);
  }
  if (list) entries[5][3] = list;
  for (uint32_t i = 0; i < n; ++i) {
    const auto [tag, type, count, value] = entries[i];
    Put(f, 10 + 12 * i, tag, 2), Put(f, 12 + 12 * i, type, 2), Put(f, 14 + 12 * i, count);
    Put(f, 18 + 12 * i, value, type == kShort && count == 1 ? 2 : 4);
  }
  return f;
}

// Position of the entry for `tag` in the first directory (0 when none), the link to the next
// directory, a rewrite of an entry as a LONG (with `count` values when given), and of the first
// `n` sizes in the sample-size list.
inline uint32_t EntryAt(const Bytes& f, uint16_t tag) {
  for (uint32_t i = 0, d = Get(f, 4); i < Get(f, d, 2); ++i)
    if (Get(f, d + 2 + 12 * i, 2) == tag) return d + 2 + 12 * i;
  return 0;
}
inline uint32_t NextLink(const Bytes& f) {
  return Get(f, 4) + 2 + 12 * Get(f, Get(f, 4), 2);
}
inline void SetEntry(Bytes& f, uint16_t tag, uint32_t value, uint32_t count = 0) {
  const uint32_t at = EntryAt(f, tag);
  Put(f, at + 2, 4, 2), Put(f, at + 8, value);
  if (count) Put(f, at + 4, count);
}
inline void SetSizes(Bytes& f, uint32_t bits, uint32_t n) {
  for (uint32_t i = 0; i < n; ++i) Put(f, Get(f, EntryAt(f, 258) + 8) + 2 * i, bits, 2);
}

// Returns `path`. With `seed`, also keeps the file as a seed for the TIFF fuzz target when the
// build gives a seed folder; seeds stay small so that the fuzzer's inputs stay small too.
inline std::string WriteFile(const std::string& path, const Bytes& bytes, bool seed = false) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
#ifdef VORN_TIFF_SEED_DIR
  if (seed && bytes.size() <= 4096) WriteFile(VORN_TIFF_SEED_DIR "/" + path, bytes);
#endif
  return path;
}

// Reads the file at `path` into `image`: how the read ended, its compression notices and
// whether more pictures follow.
inline std::tuple<TiffStatus, int, bool> ReadTiff(const std::string& path, Image& image) {
  File file;
  if (file.Open(path.c_str(), FILE_READ | RANDOM) != FILE_OK) return {TIFF_CORRUPT, -1, false};
  const TiffOutcome o = TiffReader().Read(file, image);
  return {o.status, o.compression_notices, o.more_images};
}

}  // namespace tiff_files
