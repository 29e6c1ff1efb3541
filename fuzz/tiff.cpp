// Arbitrary bytes as a TIFF file: the decoding core must end every one of them with a result,
// inside its buffers and its limits, and what it reads must prepare cleanly.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/core/pixel_format.h"
#include "engine/files/file.h"
#include "engine/images/image.h"
#include "engine/images/tiff_reader.h"
#include "fuzz/check.h"

namespace {

// The reader works on a File, so each input becomes the contents of one in-memory file.
struct MemoryFile {
  int fd = memfd_create("fuzz-tiff", 0);
  std::string path = "/proc/self/fd/" + std::to_string(fd);
};

void UseLayout(bool five_five_five) {
  if (five_five_five) {
    SetScreenFormat(0x7C00, 0x03E0, 0x001F);
  } else {
    SetScreenFormat(0xF800, 0x07E0, 0x001F);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static MemoryFile memory;
  Check(memory.fd >= 0 && ftruncate(memory.fd, 0) == 0);
  Check(size == 0 || pwrite(memory.fd, data, size, 0) == static_cast<ssize_t>(size));

  File file;
  Check(file.Open(memory.path.c_str(), FILE_READ | RANDOM) == FILE_OK);
  Image image;
  TiffReader reader;
  const TiffOutcome outcome = reader.Read(file, image);
  file.Close();

  if (image.data == nullptr) return 0;
  // Whatever the file said, a picture that was made stays inside the reader's limits.
  const int64_t pixels = int64_t{image.width} * image.height;
  Check(image.width >= 1 && image.height >= 1 && pixels <= TIFF_MAX_PIXELS &&
        (image.format & IMAGE_RGB24) && image.alpha != nullptr);
  if (outcome.status != TIFF_OK) return 0;

  // Preparation of what was read, on either layout and for any purpose, chosen by the input so
  // that the fuzzer can steer it; every picture the reader takes is prepared, up to the cap.
  const uint8_t last = size > 0 ? data[size - 1] : 0;
  UseLayout(last & 0x10);
  image.ConvertTo16();
  Check(image.format & IMAGE_RGB16);

  // The loader's direct path packs display pixels while reading; it must give exactly what
  // reading 24-bit pixels and converting them gives. Rows are decoded alike whatever the
  // picture's size, so the second read is left to pictures of up to a million pixels: it would
  // double the time of the largest inputs.
  if (pixels > (1 << 20)) {
    image.Prepare((last & 3) + 1);
    return 0;
  }
  File again;
  Check(again.Open(memory.path.c_str(), FILE_READ | RANDOM) == FILE_OK);
  Image direct;
  TiffReader direct_reader;
  const TiffOutcome direct_outcome = direct_reader.Read(again, direct, true);
  again.Close();
  if (direct_outcome.status != outcome.status || direct.width != image.width ||
      direct.height != image.height || direct.format != image.format ||
      std::memcmp(direct.data, image.data, static_cast<size_t>(pixels) * 2) != 0 ||
      ((image.format & IMAGE_ALPHA) &&
       std::memcmp(direct.alpha, image.alpha, static_cast<size_t>(pixels)) != 0)) {
    __builtin_trap();
  }

  image.Prepare((last & 3) + 1);
  Check(image.format & IMAGE_RGB16);
  return 0;
}
