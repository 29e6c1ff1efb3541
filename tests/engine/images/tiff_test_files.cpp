#include "tiff_test_files.h"

#include <tiffio.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace tiff_files {

Picture Pattern(int width, int height, bool with_alpha, int seed) {
  Picture p;
  p.width = width;
  p.height = height;
  const auto count = static_cast<size_t>(width) * static_cast<size_t>(height);
  p.rgb.resize(count * 3);
  for (size_t i = 0; i < p.rgb.size(); ++i) {
    p.rgb[i] = static_cast<uint8_t>((i * 37 + static_cast<size_t>(seed) * 101 + i / 7) % 256);
  }
  if (with_alpha) {
    p.alpha.resize(count);
    for (size_t i = 0; i < count; ++i) {
      p.alpha[i] = static_cast<uint8_t>((i * 59 + static_cast<size_t>(seed) * 13 + 3) % 256);
    }
  }
  return p;
}

Picture FromImage(const Image& image) {
  Picture p;
  p.width = image.width;
  p.height = image.height;
  const auto count = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
  if (image.data != nullptr) p.rgb.assign(image.data, image.data + count * 3);
  if ((image.format & IMAGE_ALPHA) && image.alpha != nullptr) {
    p.alpha.assign(image.alpha, image.alpha + count);
  }
  return p;
}

Builder::Builder(bool msb_first) : msb_first_(msb_first) {
  bytes_ = {msb_first ? uint8_t('M') : uint8_t('I'), msb_first ? uint8_t('M') : uint8_t('I')};
  bytes_.resize(8);
  Put16(2, 42);
}

void Builder::Put16(uint32_t at, uint16_t value) {
  if (bytes_.size() < at + 2) bytes_.resize(at + 2);
  bytes_[at] = static_cast<uint8_t>(msb_first_ ? value >> 8 : value);
  bytes_[at + 1] = static_cast<uint8_t>(msb_first_ ? value : value >> 8);
}

void Builder::Put32(uint32_t at, uint32_t value) {
  if (bytes_.size() < at + 4) bytes_.resize(at + 4);
  for (uint32_t i = 0; i < 4; ++i) {
    const uint32_t shift = msb_first_ ? 8 * (3 - i) : 8 * i;
    bytes_[at + i] = static_cast<uint8_t>(value >> shift);
  }
}

uint32_t Builder::Append(const Bytes& bytes) {
  if (bytes_.size() % 2) bytes_.push_back(0);
  const auto at = static_cast<uint32_t>(bytes_.size());
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return at;
}

uint32_t Builder::AppendShorts(const std::vector<uint16_t>& values) {
  const uint32_t at = Append(Bytes(values.size() * 2));
  for (size_t i = 0; i < values.size(); ++i) Put16(at + static_cast<uint32_t>(2 * i), values[i]);
  return at;
}

uint32_t Builder::AppendLongs(const std::vector<uint32_t>& values) {
  const uint32_t at = Append(Bytes(values.size() * 4));
  for (size_t i = 0; i < values.size(); ++i) Put32(at + static_cast<uint32_t>(4 * i), values[i]);
  return at;
}

uint32_t Builder::AppendDirectory(const std::vector<Entry>& entries, uint32_t next, bool first) {
  const uint32_t at = Append(Bytes(2 + 12 * entries.size() + 4));
  Put16(at, static_cast<uint16_t>(entries.size()));
  uint32_t e = at + 2;
  for (const Entry& entry : entries) {
    Put16(e, entry.tag);
    Put16(e + 2, entry.type);
    Put32(e + 4, entry.count);
    if (entry.type == kShort && entry.count == 1) {
      Put16(e + 8, static_cast<uint16_t>(entry.value));
      Put16(e + 10, 0);
    } else {
      Put32(e + 8, entry.value);
    }
    e += 12;
  }
  Put32(e, next);
  if (first) Put32(4, at);
  return at;
}

namespace {

bool MsbFirst(const Bytes& file) {
  return file.size() >= 2 && file[0] == 'M';
}

// A sample whose most significant byte is `v` and whose other bytes differ from `v`.
void PutSample(Bytes& out, uint8_t v, int bits, bool msb_first) {
  const int n = bits / 8;
  uint32_t value = static_cast<uint32_t>(v) << (bits - 8);
  const uint8_t low[3] = {static_cast<uint8_t>(v ^ 0x5A), static_cast<uint8_t>(v ^ 0xC3),
                          static_cast<uint8_t>(v ^ 0x3C)};
  for (int i = 1; i < n; ++i) value |= static_cast<uint32_t>(low[i - 1]) << (bits - 8 - 8 * i);
  for (int i = 0; i < n; ++i) {
    const int shift = msb_first ? 8 * (n - 1 - i) : 8 * i;
    out.push_back(static_cast<uint8_t>(value >> shift));
  }
}

}  // namespace

Bytes MakeTiff(const Picture& picture, const Layout& layout) {
  Builder b(layout.msb_first);
  const bool alpha = !picture.alpha.empty();
  const uint16_t samples = alpha ? 4 : 3;
  const int rows = layout.rows_per_strip > 0 ? layout.rows_per_strip : picture.height;
  const int strips = (picture.height + rows - 1) / rows;
  constexpr int kEntries = 11;

  uint32_t directory = 0;
  if (layout.directory_first) directory = b.Append(Bytes(2 + 12 * (kEntries + 1) + 4));

  // The lists come before the pixels, so that cutting a file short cuts only pixels.
  const uint32_t sizes =
      b.AppendShorts(std::vector<uint16_t>(samples, static_cast<uint16_t>(layout.bits)));
  const uint32_t offset_list = strips > 1 ? b.AppendLongs(std::vector<uint32_t>(strips)) : 0;
  const uint32_t count_list = strips > 1 ? b.AppendLongs(std::vector<uint32_t>(strips)) : 0;
  std::vector<uint32_t> offsets;
  std::vector<uint32_t> counts;
  for (int s = 0; s < strips; ++s) {
    Bytes strip;
    for (int y = s * rows; y < std::min(picture.height, (s + 1) * rows); ++y) {
      for (int x = 0; x < picture.width; ++x) {
        const size_t i = static_cast<size_t>(y) * static_cast<size_t>(picture.width) + x;
        for (int c = 0; c < 3; ++c) {
          PutSample(strip, picture.rgb[i * 3 + c], layout.bits, layout.msb_first);
        }
        if (alpha) PutSample(strip, picture.alpha[i], layout.bits, layout.msb_first);
      }
    }
    offsets.push_back(b.Append(strip));
    counts.push_back(static_cast<uint32_t>(strip.size()));
  }
  for (int s = 0; s < strips && strips > 1; ++s) {
    b.Put32(offset_list + 4 * static_cast<uint32_t>(s), offsets[s]);
    b.Put32(count_list + 4 * static_cast<uint32_t>(s), counts[s]);
  }
  const uint32_t offset_value = strips == 1 ? offsets[0] : offset_list;
  const uint32_t count_value = strips == 1 ? counts[0] : count_list;

  std::vector<Entry> entries = {
      {256, kShort, 1, static_cast<uint32_t>(picture.width)},
      {257, kShort, 1, static_cast<uint32_t>(picture.height)},
      {258, kShort, samples, sizes},
      {259, kShort, 1, 1},
      {262, kShort, 1, 2},
      {273, kLong, static_cast<uint32_t>(strips), offset_value},
      {277, kShort, 1, samples},
  };
  if (layout.rows_per_strip > 0) {
    entries.push_back({278, kShort, 1, static_cast<uint32_t>(layout.rows_per_strip)});
  }
  entries.push_back({279, kLong, static_cast<uint32_t>(strips), count_value});
  entries.push_back({284, kShort, 1, 1});
  if (alpha) entries.push_back({338, kShort, 1, 2});

  if (layout.directory_first) {
    // Written into the room kept after the header; any space left over stays zero.
    Bytes out = b.bytes();
    Builder d(layout.msb_first);
    const uint32_t at = d.AppendDirectory(entries, layout.next_directory);
    const Bytes& dir = d.bytes();
    std::copy(dir.begin() + at, dir.end(), out.begin() + directory);
    Put32(out, 4, directory);
    return out;
  }
  b.AppendDirectory(entries, layout.next_directory);
  return b.bytes();
}

uint32_t Get32(const Bytes& file, uint32_t at) {
  uint32_t v = 0;
  for (uint32_t i = 0; i < 4; ++i) {
    const uint32_t shift = MsbFirst(file) ? 8 * (3 - i) : 8 * i;
    v |= static_cast<uint32_t>(file.at(at + i)) << shift;
  }
  return v;
}

namespace {
uint16_t Get16(const Bytes& file, uint32_t at) {
  return MsbFirst(file) ? static_cast<uint16_t>(file.at(at) << 8 | file.at(at + 1))
                        : static_cast<uint16_t>(file.at(at + 1) << 8 | file.at(at));
}
}  // namespace

void Put32(Bytes& file, uint32_t at, uint32_t value) {
  for (uint32_t i = 0; i < 4; ++i) {
    const uint32_t shift = MsbFirst(file) ? 8 * (3 - i) : 8 * i;
    file.at(at + i) = static_cast<uint8_t>(value >> shift);
  }
}

void Put16(Bytes& file, uint32_t at, uint16_t value) {
  file.at(at) = static_cast<uint8_t>(MsbFirst(file) ? value >> 8 : value);
  file.at(at + 1) = static_cast<uint8_t>(MsbFirst(file) ? value : value >> 8);
}

uint32_t EntryAt(const Bytes& file, uint16_t tag) {
  const uint32_t directory = Get32(file, 4);
  const uint16_t count = Get16(file, directory);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t at = directory + 2 + 12 * i;
    if (Get16(file, at) == tag) return at;
  }
  return 0;
}

void SetEntry(Bytes& file, uint16_t tag, uint32_t value) {
  const uint32_t at = EntryAt(file, tag);
  if (at == 0) std::abort();
  if (Get16(file, at + 2) == kShort && Get32(file, at + 4) == 1) {
    Put16(file, at + 8, static_cast<uint16_t>(value));
  } else {
    Put32(file, at + 8, value);
  }
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  const std::filesystem::path p(path);
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

void WriteSeed(const std::string& name, const Bytes& bytes) {
#ifdef VORN_TIFF_SEED_DIR
  // Seeds stay small so that the fuzzer's inputs stay small too.
  if (bytes.size() <= 4096) WriteFile(std::string(VORN_TIFF_SEED_DIR) + "/" + name, bytes);
#else
  (void)name;
  (void)bytes;
#endif
}

void WritePam(const std::string& path, const Picture& picture, int bits) {
  const bool alpha = !picture.alpha.empty();
  std::string header = "P7\nWIDTH " + std::to_string(picture.width) + "\nHEIGHT " +
                       std::to_string(picture.height) + "\nDEPTH " + (alpha ? "4" : "3") +
                       "\nMAXVAL " + (bits == 16 ? "65535" : "255") + "\nTUPLTYPE " +
                       (alpha ? "RGB_ALPHA" : "RGB") + "\nENDHDR\n";
  Bytes out(header.begin(), header.end());
  const size_t count = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height);
  for (size_t i = 0; i < count; ++i) {
    for (int c = 0; c < (alpha ? 4 : 3); ++c) {
      const uint8_t v = c < 3 ? picture.rgb[i * 3 + c] : picture.alpha[i];
      if (bits == 16)
        PutSample(out, v, 16, true);  // PAM is most significant byte first
      else
        out.push_back(v);
    }
  }
  WriteFile(path, out);
}

bool Run(const std::string& command) {
  return std::system(command.c_str()) == 0;
}

bool LibtiffPicture(const std::string& path, Picture* out) {
  TIFFSetWarningHandler(nullptr);
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  if (tif == nullptr) return false;
  uint32_t width = 0, height = 0;
  uint16_t bits = 1, samples = 1, photometric = PHOTOMETRIC_MINISBLACK, planar = 1;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
  TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
  TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
  const bool rgb = photometric == PHOTOMETRIC_RGB && samples >= 3;
  const bool gray = photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE;
  if (planar != PLANARCONFIG_CONTIG || !(rgb || gray) ||
      !(bits == 1 || bits == 8 || bits == 16 || bits == 32)) {
    TIFFClose(tif);
    return false;
  }
  out->width = static_cast<int>(width);
  out->height = static_cast<int>(height);
  const size_t count = static_cast<size_t>(width) * height;
  out->rgb.assign(count * 3, 0);
  out->alpha.clear();
  if (rgb && samples >= 4) out->alpha.assign(count, 0);

  std::vector<uint8_t> line(static_cast<size_t>(TIFFScanlineSize(tif)));
  // The most significant byte of sample s of pixel x, in the host's order after libtiff's swap.
  auto high = [&](uint32_t x, uint32_t s) -> uint8_t {
    const size_t index = static_cast<size_t>(x) * samples + s;
    if (bits == 8) return line[index];
    if (bits == 16) {
      uint16_t v;
      std::memcpy(&v, &line[index * 2], 2);
      return static_cast<uint8_t>(v >> 8);
    }
    uint32_t v;
    std::memcpy(&v, &line[index * 4], 4);
    return static_cast<uint8_t>(v >> 24);
  };
  bool ok = true;
  for (uint32_t y = 0; y < height && ok; ++y) {
    ok = TIFFReadScanline(tif, line.data(), y, 0) == 1;
    for (uint32_t x = 0; x < width && ok; ++x) {
      uint8_t* px = &out->rgb[(static_cast<size_t>(y) * width + x) * 3];
      if (bits == 1) {
        const bool set = (line[x / 8] >> (7 - x % 8)) & 1;
        const bool white_is_zero = photometric == PHOTOMETRIC_MINISWHITE;
        px[0] = px[1] = px[2] = (set != white_is_zero) ? 255 : 0;
      } else if (gray) {
        px[0] = px[1] = px[2] = high(x, 0);
      } else {
        for (uint32_t c = 0; c < 3; ++c) px[c] = high(x, c);
        if (!out->alpha.empty()) out->alpha[static_cast<size_t>(y) * width + x] = high(x, 3);
      }
    }
  }
  TIFFClose(tif);
  return ok;
}

Facts FileFacts(const std::string& path) {
  Facts f;
  TIFFSetWarningHandler(nullptr);
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  if (tif == nullptr) return f;
  f.msb_first = TIFFIsBigEndian(tif) != 0;
  f.strips = TIFFNumberOfStrips(tif);
  TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &f.bits);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &f.samples);
  TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &f.photometric);
  f.pages = static_cast<uint16_t>(TIFFNumberOfDirectories(tif));
  TIFFClose(tif);
  return f;
}

}  // namespace tiff_files
