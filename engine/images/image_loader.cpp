#include "engine/images/image_loader.h"

#include <cstdio>
#include <cstring>

#include "engine/core/exit.h"
#include "engine/core/vorn.h"
#include "engine/files/file.h"

namespace {

constexpr const char* kCaption = "Vorn Error";
constexpr const char* kNotFound =
    ".TIF File Not Found: %s\n\nMake sure paths and names of TIF images are correct. If you "
    "started the game outside of Visual C++, make sure the executable is in the correct location "
    "to find images.";
constexpr const char* kCompression =
    "TIF Load Error: LZW Compression not supported.\n\nVorn does not support LZW compressed TIF "
    "images. Save your TIF image again and be sure that the LZW compression option is turned "
    "off.\n";
constexpr const char* kCorrupt = "Load:Tiff: File is corrupted, or is not a .TIFF file.\n";
constexpr const char* kUnknownMode = "Load:Tiff: Unknown TIFF mode.\n";
constexpr const char* kMoreImages =
    "Load:Tiff: (Warning only) File contains multiple tiff images - reading only first.\n";

// The message box waits for the user; loading goes on once it is closed.
void ShowError(const char* text) {
  if (Vorn.backend != nullptr) {
    Vorn.backend->Windows().MessageBox(nullptr, text, kCaption, platform::MB_OK);
  } else {
    std::fprintf(stderr, "%s: %s\n", kCaption, text);
  }
}

void PrintLine(const char* line) {
  std::fputs(line, stdout);
  std::fflush(stdout);
}

[[noreturn]] void Refuse(const char* line) {
  PrintLine(line);
  VornExit(-1);
}

}  // namespace

void ImageLoader::Load(const char* path, Image* image, int32_t purpose) {
  ImageLoader loader;
  loader.Read(path, image);
  image->Prepare(purpose);
}

void ImageLoader::Read(const char* path, Image* image) {
  image_ = image;
  // The name field holds 99 characters; a longer name cannot be opened as given.
  if (path == nullptr || std::strlen(path) >= sizeof path_) Refuse(kCorrupt);
  std::strcpy(path_, path);

  File file;
  if (file.Open(path_, FILE_READ | RANDOM) == FILE_NOTEXIST) {
    char text[400];
    std::snprintf(text, sizeof text, kNotFound, path_);
    ShowError(text);
    return;
  }

  // The picture is prepared right after; packing its pixels for the display while reading
  // spares the 24-bit copy that preparation would otherwise convert.
  const TiffOutcome outcome = tiff_.Read(file, *image_, true);
  for (int32_t i = 0; i < outcome.compression_notices; ++i) ShowError(kCompression);
  if (outcome.status == TIFF_CORRUPT) Refuse(kCorrupt);
  if (outcome.status == TIFF_UNKNOWN_MODE) Refuse(kUnknownMode);
  if (outcome.more_images) PrintLine(kMoreImages);
  file.Close();
}
