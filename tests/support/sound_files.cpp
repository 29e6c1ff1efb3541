#include "support/sound_files.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace sound_files {

namespace {

std::string Little(uint64_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  return out;
}

}  // namespace

std::string Chunk(const std::string& tag, const std::string& body, int64_t declared_size) {
  const uint64_t size = declared_size >= 0 ? static_cast<uint64_t>(declared_size) : body.size();
  std::string out = tag + Little(size, 4) + body;
  if (body.size() % 2 == 1) out.push_back('\0');
  return out;
}

std::string FormatBody(uint16_t format_tag, uint16_t channels, uint32_t rate, uint16_t bits,
                       const std::string& extra) {
  const uint32_t align = channels * ((bits + 7u) / 8u);
  return Little(format_tag, 2) + Little(channels, 2) + Little(rate, 4) + Little(rate * align, 4) +
         Little(align, 2) + Little(bits, 2) + extra;
}

std::string Riff(const std::string& chunks, const std::string& riff, const std::string& wave) {
  return riff + Little(chunks.size() + 4, 4) + wave + chunks;
}

std::string Pattern(std::size_t count, int start) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) out.push_back(static_cast<char>((start + i) % 251));
  return out;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Sox(const std::string& arguments) {
  const std::string command = "sox " + arguments + " 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

}  // namespace sound_files
