// Loading a picture file into an Image and preparing it for the one draw operation that will
// draw it.
#pragma once

#include <cstdint>

#include "engine/images/image.h"
#include "engine/images/tiff_reader.h"

class ImageLoader {
 public:
  ImageLoader() = default;
  ~ImageLoader() { image_ = nullptr; }
  ImageLoader(const ImageLoader&) = delete;
  ImageLoader& operator=(const ImageLoader&) = delete;

  // Reads the TIFF file `path` ("\" or "/" separators) into `image`, then prepares the image for
  // `purpose` in every case that returns, also when the file is missing (the image then keeps
  // what it held). A missing file or an unsupported compression is shown in a message box and
  // loading goes on; a corrupt or unreadable file prints its line on standard output and ends
  // the program with status -1. Callable on a loader object or as ImageLoader::Load.
  static void Load(const char* path, Image* image, int32_t purpose);

 private:
  void Read(const char* path, Image* image);

  Image* image_ = nullptr;
  char path_[100] = {};
  TiffReader tiff_;
};
