#include "support/player_pictures.h"

#include <filesystem>
#include <fstream>
#include <vector>

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFFu);
  Put16(out, v >> 16);
}

}  // namespace

void WriteSolidTiff(const std::string& path, int width, int height, uint8_t r, uint8_t g,
                    uint8_t b) {
  const auto w = static_cast<uint32_t>(width);
  const auto h = static_cast<uint32_t>(height);
  struct Entry {
    uint16_t tag;
    uint16_t type;  // 3 SHORT, 4 LONG
    uint32_t count;
    uint32_t value;
  };
  constexpr uint32_t kEntries = 9;
  constexpr uint32_t kBitsAt = 8 + 2 + kEntries * 12 + 4;
  constexpr uint32_t kPixelsAt = kBitsAt + 6;
  const Entry entries[kEntries] = {
      {256, 3, 1, w}, {257, 3, 1, h}, {258, 3, 3, kBitsAt},
      {259, 3, 1, 1}, {262, 3, 1, 2}, {273, 4, 1, kPixelsAt},
      {277, 3, 1, 3}, {278, 3, 1, h}, {279, 4, 1, w * h * 3},
  };
  std::vector<uint8_t> out = {'I', 'I'};
  Put16(out, 42);
  Put32(out, 8);
  Put16(out, kEntries);
  for (const Entry& e : entries) {
    Put16(out, e.tag);
    Put16(out, e.type);
    Put32(out, e.count);
    if (e.type == 3 && e.count == 1) {
      Put16(out, e.value);
      Put16(out, 0);
    } else {
      Put32(out, e.value);
    }
  }
  Put32(out, 0);  // no next directory
  for (int i = 0; i < 3; ++i) Put16(out, 8);
  for (uint32_t i = 0; i < w * h; ++i) {
    out.push_back(r);
    out.push_back(g);
    out.push_back(b);
  }
  const std::filesystem::path file(path);
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
}

void MakeSolidMasked(Image* image, int width, int height, uint16_t value) {
  image->Create(width, height, IMAGE_RGB16);
  uint16_t* pixels = image->pixels16();
  for (int i = 0; i < width * height; ++i) pixels[i] = value;
  image->purpose = DRAW_MASKED;
}
