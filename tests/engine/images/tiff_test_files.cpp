#include "tiff_test_files.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tiff_files {

Picture Pattern(int width, int height, bool with_alpha, int seed) {
  Picture p{width, height, {}, {}};
  const auto count = static_cast<size_t>(width) * static_cast<size_t>(height);
  const auto s = static_cast<size_t>(seed);
  for (size_t i = 0; i < count * 3; ++i) p.rgb.push_back(uint8_t((i * 37 + s * 101 + i / 7) % 256));
  for (size_t i = 0; with_alpha && i < count; ++i)
    p.alpha.push_back(uint8_t((i * 59 + s * 13 + 3) % 256));
  return p;
}

Picture FromImage(const Image& image) {
  Picture p{image.width, image.height, {}, {}};
  const auto count = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
  if (image.data != nullptr) p.rgb.assign(image.data, image.data + count * 3);
  if ((image.format & IMAGE_ALPHA) && image.alpha != nullptr) {
    p.alpha.assign(image.alpha, image.alpha + count);
  }
  return p;
}

namespace {

bool MsbFirst(const Bytes& file) {
  return !file.empty() && file[0] == 'M';
}

// Byte i (of n) of a value in the file's order.
uint32_t Shift(const Bytes& file, uint32_t i, uint32_t n) {
  return MsbFirst(file) ? 8 * (n - 1 - i) : 8 * i;
}

// A sample whose most significant byte is `v` and whose other bytes differ from `v`.
void PutSample(Bytes& out, uint8_t v, int bits, bool msb_first) {
  const int n = bits / 8;
  uint32_t value = static_cast<uint32_t>(v) << (bits - 8);
  const uint8_t low[3] = {uint8_t(v ^ 0x5A), uint8_t(v ^ 0xC3), uint8_t(v ^ 0x3C)};
  for (int i = 1; i < n; ++i) value |= static_cast<uint32_t>(low[i - 1]) << (bits - 8 - 8 * i);
  for (int i = 0; i < n; ++i)
    out.push_back(uint8_t(value >> (msb_first ? 8 * (n - 1 - i) : 8 * i)));
}

}  // namespace

uint32_t Get(const Bytes& file, uint32_t at, uint32_t n) {
  uint32_t v = 0;
  for (uint32_t i = 0; i < n; ++i) v |= uint32_t{file.at(at + i)} << Shift(file, i, n);
  return v;
}

void Put(Bytes& file, uint32_t at, uint32_t value, uint32_t n) {
  if (file.size() < at + n) file.resize(at + n);
  for (uint32_t i = 0; i < n; ++i) file[at + i] = uint8_t(value >> Shift(file, i, n));
}

Bytes Header(bool msb_first) {
  Bytes file(8, msb_first ? 'M' : 'I');
  Put(file, 2, 42, 2);
  Put(file, 4, 0);
  return file;
}

uint32_t Append(Bytes& file, const Bytes& block) {
  if (file.size() % 2) file.push_back(0);
  const auto at = static_cast<uint32_t>(file.size());
  file.insert(file.end(), block.begin(), block.end());
  return at;
}

uint32_t AppendValues(Bytes& file, const std::vector<uint32_t>& values, uint32_t n) {
  const uint32_t at = Append(file, Bytes(values.size() * n));
  for (uint32_t i = 0; i < values.size(); ++i) Put(file, at + n * i, values[i], n);
  return at;
}

uint32_t PutDirectory(Bytes& file, const std::vector<Entry>& entries, uint32_t next, uint32_t at) {
  const auto n = static_cast<uint32_t>(entries.size());
  if (at == 0) at = Append(file, Bytes(2 + 12 * n + 4));
  Put(file, at, n, 2);
  for (uint32_t i = 0; i < n; ++i) {
    const Entry& e = entries[i];
    const uint32_t p = at + 2 + 12 * i;
    Put(file, p, e.tag, 2);
    Put(file, p + 2, e.type, 2);
    Put(file, p + 4, e.count);
    Put(file, p + 8, 0);
    Put(file, p + 8, e.value, e.type == kShort && e.count == 1 ? 2 : 4);
  }
  Put(file, at + 2 + 12 * n, next);
  Put(file, 4, at);
  return at;
}

Bytes MakeTiff(const Picture& picture, const Layout& layout) {
  Bytes b = Header(layout.msb_first);
  const bool alpha = !picture.alpha.empty();
  const uint16_t samples = alpha ? 4 : 3;
  const int rows = layout.rows_per_strip > 0 ? layout.rows_per_strip : picture.height;
  const int strips = (picture.height + rows - 1) / rows;
  const uint32_t entry_count = 9 + (layout.rows_per_strip > 0) + alpha;
  const uint32_t directory =
      layout.directory_first ? Append(b, Bytes(2 + 12 * entry_count + 4)) : 0;

  // The lists come before the pixels, so that cutting a file short cuts only pixels.
  const uint32_t sizes = AppendValues(b, std::vector<uint32_t>(samples, layout.bits), 2);
  const uint32_t offset_list = strips > 1 ? AppendValues(b, std::vector<uint32_t>(strips)) : 0;
  const uint32_t count_list = strips > 1 ? AppendValues(b, std::vector<uint32_t>(strips)) : 0;
  uint32_t offset = 0, count = 0;
  for (int s = 0; s < strips; ++s) {
    Bytes strip;
    for (int y = s * rows; y < std::min(picture.height, (s + 1) * rows); ++y) {
      for (int x = 0; x < picture.width; ++x) {
        const size_t i = static_cast<size_t>(y) * static_cast<size_t>(picture.width) + x;
        for (int c = 0; c < 3; ++c)
          PutSample(strip, picture.rgb[i * 3 + c], layout.bits, layout.msb_first);
        if (alpha) PutSample(strip, picture.alpha[i], layout.bits, layout.msb_first);
      }
    }
    offset = Append(b, strip);
    count = static_cast<uint32_t>(strip.size());
    if (strips > 1) {
      Put(b, offset_list + 4 * uint32_t(s), offset);
      Put(b, count_list + 4 * uint32_t(s), count);
    }
  }
  std::vector<Entry> entries = {
      {256, kShort, 1, uint32_t(picture.width)},
      {257, kShort, 1, uint32_t(picture.height)},
      {258, kShort, samples, sizes},
      {259, kShort, 1, 1},
      {262, kShort, 1, 2},
      {273, kLong, uint32_t(strips), strips > 1 ? offset_list : offset},
      {277, kShort, 1, samples},
  };
  if (layout.rows_per_strip > 0)
    entries.push_back({278, kShort, 1, uint32_t(layout.rows_per_strip)});
  entries.push_back({279, kLong, uint32_t(strips), strips > 1 ? count_list : count});
  entries.push_back({284, kShort, 1, 1});
  if (alpha) entries.push_back({338, kShort, 1, 2});
  PutDirectory(b, entries, 0, directory);
  return b;
}

uint32_t EntryAt(const Bytes& file, uint16_t tag) {
  const uint32_t directory = Get(file, 4);
  for (uint32_t i = 0; i < Get(file, directory, 2); ++i) {
    const uint32_t at = directory + 2 + 12 * i;
    if (Get(file, at, 2) == tag) return at;
  }
  return 0;
}

uint32_t NextLink(const Bytes& file) {
  return Get(file, 4) + 2 + 12 * Get(file, Get(file, 4), 2);
}

void SetEntry(Bytes& file, uint16_t tag, uint32_t value) {
  const uint32_t at = EntryAt(file, tag);
  if (at == 0) std::abort();
  Put(file, at + 8, value, Get(file, at + 2, 2) == kShort && Get(file, at + 4) == 1 ? 2 : 4);
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  const std::filesystem::path p(path);
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void WriteSeed([[maybe_unused]] const std::string& name, [[maybe_unused]] const Bytes& bytes) {
#ifdef VORN_TIFF_SEED_DIR
  // Seeds stay small so that the fuzzer's inputs stay small too.
  if (bytes.size() <= 4096) WriteFile(std::string(VORN_TIFF_SEED_DIR) + "/" + name, bytes);
#endif
}

void WritePam(const std::string& path, const Picture& picture, int bits) {
  const bool alpha = !picture.alpha.empty();
  const std::string header = "P7\nWIDTH " + std::to_string(picture.width) + "\nHEIGHT " +
                             std::to_string(picture.height) + "\nDEPTH " + (alpha ? "4" : "3") +
                             "\nMAXVAL " + (bits == 16 ? "65535" : "255") + "\nTUPLTYPE " +
                             (alpha ? "RGB_ALPHA" : "RGB") + "\nENDHDR\n";
  Bytes out(header.begin(), header.end());
  for (size_t i = 0; i < picture.rgb.size() / 3; ++i) {
    for (int c = 0; c < (alpha ? 4 : 3); ++c) {
      PutSample(out, c < 3 ? picture.rgb[i * 3 + c] : picture.alpha[i], bits, true);
    }
  }
  WriteFile(path, out);
}

bool Shell(const std::string& command) {
  return std::system(command.c_str()) == 0;
}

}  // namespace tiff_files
