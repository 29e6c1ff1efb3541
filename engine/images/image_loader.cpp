#include "engine/images/image_loader.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/core/data_error.h"
#include "engine/core/exit.h"
#include "engine/core/vorn.h"
#include "engine/files/file.h"

namespace {

constexpr const char* kNotFoundAdvice =
    "\n\nMake sure paths and names of TIF images are correct. If you "
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
  if (path == nullptr) Refuse(kCorrupt);
  // The name field holds 99 characters. A longer name cannot be opened, which File reports as a
  // missing file: the same box, and the image stays as it is.
  File file;
  if (std::strlen(path) >= sizeof path_ || file.Open(path, FILE_READ | RANDOM) == FILE_NOTEXIST) {
    const std::string text = std::string(".TIF File Not Found: ") + path + kNotFoundAdvice;
    ShowDataError(text.c_str());
    return;
  }
  std::strcpy(path_, path);

  // The picture is prepared right after; packing its pixels for the display while reading
  // spares the 24-bit copy that preparation would otherwise convert.
  const TiffOutcome outcome = tiff_.Read(file, *image_, true);
  for (int32_t i = 0; i < outcome.compression_notices; ++i) ShowDataError(kCompression);
  if (outcome.status == TIFF_CORRUPT) Refuse(kCorrupt);
  if (outcome.status == TIFF_UNKNOWN_MODE) Refuse(kUnknownMode);
  if (outcome.more_images) PrintLine(kMoreImages);
  file.Close();
}
