// image-inspect: loads a TIFF file the way the game does and shows what the engine made of it.
//
//   image-inspect [--purpose plain|masked|alpha|additive] [--layout 565|555]
//                 [--raw16 OUT] [--alpha OUT] FILE
//
// The engine runs on a headless display of the chosen 16-bit layout, so the pixels come out in
// that layout. The loader's own lines appear on standard output as it prints them, its message
// boxes on standard error as "CAPTION: TEXT"; a file the loader refuses ends this program as it
// would end the game (status 255). Then one line describes the image, and the prepared pixels
// (16-bit little-endian, row by row) and the alpha bytes, when the image has them, are written to
// the named files.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/core/errors.h"
#include "engine/core/vorn.h"
#include "engine/images/image_loader.h"
#include "platform/headless/headless.h"

namespace {

int Usage() {
  std::fputs(
      "usage: image-inspect [--purpose plain|masked|alpha|additive] [--layout 565|555]\n"
      "                     [--raw16 OUT] [--alpha OUT] FILE\n",
      stderr);
  return 2;
}

int PurposeByName(const std::string& name) {
  if (name == "plain") return DRAW_PLAIN;
  if (name == "masked") return DRAW_MASKED;
  if (name == "alpha") return DRAW_ALPHA;
  if (name == "additive") return DRAW_ADDITIVE;
  return 0;
}

bool WriteAll(const std::string& path, const void* bytes, size_t count) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  const bool ok = (count == 0 || std::fwrite(bytes, 1, count, out) == count);
  return std::fclose(out) == 0 && ok;
}

bool WritePixels(const std::string& path, const Image& image) {
  const size_t count = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
  std::string bytes(count * 2, '\0');
  const uint16_t* pixels = image.pixels16();
  for (size_t i = 0; i < count && pixels != nullptr; ++i) {
    bytes[2 * i] = static_cast<char>(pixels[i] & 0xFF);  // little-endian whatever the host
    bytes[2 * i + 1] = static_cast<char>(pixels[i] >> 8);
  }
  return WriteAll(path, bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  int purpose = DRAW_PLAIN;
  auto layout = platform::headless::Layout::k565;
  std::string raw16_path;
  std::string alpha_path;
  std::string file;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--purpose" && has_value) {
      purpose = PurposeByName(argv[++i]);
      if (purpose == 0) return Usage();
    } else if (arg == "--layout" && has_value) {
      const std::string value = argv[++i];
      if (value == "565") {
        layout = platform::headless::Layout::k565;
      } else if (value == "555") {
        layout = platform::headless::Layout::k555;
      } else {
        return Usage();
      }
    } else if (arg == "--raw16" && has_value) {
      raw16_path = argv[++i];
    } else if (arg == "--alpha" && has_value) {
      alpha_path = argv[++i];
    } else if (arg.rfind("--", 0) == 0 || !file.empty()) {
      return Usage();
    } else {
      file = arg;
    }
  }
  if (file.empty()) return Usage();

  // The display reports the pixel format the images are prepared for.
  platform::headless::Config config;
  config.layout = layout;
  config.echo_message_boxes = true;
  platform::headless::HeadlessPlatform headless(config);
  Vorn.UsePlatform(&headless);
  Vorn.show_cmd = 1;
  Vorn.Initialize(0, 800, 600);
  if (Vorn.status != STATUS_RUNNING) {
    std::fprintf(stderr, "image-inspect: the headless engine did not start (status %d)\n",
                 Vorn.status);
    return 1;
  }

  Image image;
  ImageLoader::Load(file.c_str(), &image, purpose);
  std::fflush(stdout);

  std::printf("width=%d height=%d format=0x%02X purpose=%d\n", image.width, image.height,
              image.format, image.purpose);
  std::fflush(stdout);

  int status = 0;
  if (!raw16_path.empty() && !WritePixels(raw16_path, image)) {
    std::fprintf(stderr, "image-inspect: cannot write %s\n", raw16_path.c_str());
    status = 1;
  }
  if (!alpha_path.empty() && (image.format & IMAGE_ALPHA) && image.alpha != nullptr) {
    const size_t count = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
    if (!WriteAll(alpha_path, image.alpha, count)) {
      std::fprintf(stderr, "image-inspect: cannot write %s\n", alpha_path.c_str());
      status = 1;
    }
  }
  Vorn.UsePlatform(nullptr);
  return status;
}
