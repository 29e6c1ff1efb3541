// Reading the first picture of an uncompressed, strip-organised TIFF file into an Image as
// 24-bit RGB with an optional alpha byte per pixel.
//
// The reader only decodes: it never shows a message, prints or ends the program. It reports what
// it found in a TiffOutcome, and the image loader turns that into what the user sees. Every
// offset, count and size the file gives is checked against the file before it is used, so no
// file can make it read or write outside a buffer, loop without end or allocate without bound.
#pragma once

#include <cstdint>

#include "engine/files/byte_order.h"
#include "engine/files/file.h"
#include "engine/images/image.h"
#include "engine/images/rgb16.h"

// How a read ended.
enum TiffStatus : int32_t {
  TIFF_OK = 0,            // the picture was read (or, for palette files, deliberately left alone)
  TIFF_CORRUPT = 1,       // not a TIFF file, or one that cannot be read safely
  TIFF_UNKNOWN_MODE = 2,  // BitsPerSample with a count other than 1 to 4
};

struct TiffOutcome {
  TiffStatus status = TIFF_OK;
  // Compression entries naming anything but "none" that were met before the read ended; the
  // strips are read as if uncompressed all the same.
  int32_t compression_notices = 0;
  // The file links to a further picture, which is not read.
  bool more_images = false;
};

// Picture modes, chosen by the BitsPerSample count and PhotometricInterpretation.
constexpr int32_t TIFF_MODE_BILEVEL = 0;
constexpr int32_t TIFF_MODE_GRAY = 1;
constexpr int32_t TIFF_MODE_RGB = 2;
constexpr int32_t TIFF_MODE_PALETTE = 3;

// Limits of what is read: pictures of more pixels than this are refused, whatever their shape,
// which bounds the memory one picture takes; and one row must fit the fixed row buffer.
constexpr int64_t TIFF_MAX_PIXELS = 16777216;
constexpr int32_t TIFF_ROW_BUFFER = 10000;

class TiffReader {
 public:
  // Reads from `file`, open for reading at any position. On TIFF_OK the image holds the picture
  // as IMAGE_RGB24 (with IMAGE_ALPHA when the file has an extra sample), except for palette
  // files, which leave it untouched. On an error the image is either untouched or a complete,
  // zero-filled picture of the size the file gave; it never holds uninitialised bytes.
  //
  // With `display_pixels` the picture is made as IMAGE_RGB16 instead, each pixel packed for the
  // screen pixel format as Image::ConvertTo16 would pack it, so that loading skips the 24-bit
  // copy; everything else is as above.
  TiffOutcome Read(File& file, Image& image, bool display_pixels = false);

  // What the last read found, in the order it is found.
  int32_t width = 0;
  int32_t height = 0;
  uint8_t format = 0;  // format bits of the image to create
  int32_t mode = TIFF_MODE_BILEVEL;
  int32_t extra_samples = 0;  // 1 when ExtraSamples marks a fourth sample as alpha
  uint32_t sample_list = 0;   // offset of the RGB sample-size list
  int32_t sample_bits[4] = {};
  uint32_t bits_value = 0;  // the BitsPerSample value as stored in its entry
  int32_t photometric = -1;
  int32_t strips = -1;  // -1 until RowsPerStrip gives a non-zero value: then one strip
  uint32_t strip_offsets = 0;
  uint32_t rows_per_strip = 0;
  int32_t bits_per_pixel = 0;
  int32_t bytes_per_row = 0;

 private:
  TiffStatus ReadEntries(TiffOutcome& outcome);
  TiffStatus ReadSampleSizes();
  TiffStatus PlanRows();
  // False for sample sizes the conversion does not know: such pictures stay zero.
  bool RowsConvertible() const;
  TiffStatus ReadStrips(Image& image);
  TiffStatus ReadAllStrips(Image& image);
  TiffStatus ReadStrip(Image& image, uint32_t offset, int32_t first_row, int32_t last_row);
  // `bytes` bytes of the file from `position` (all inside the file), through the read window.
  const uint8_t* Fetch(uint64_t position, int32_t bytes);
  void ConvertRow(Image& image, int32_t row, const uint8_t* bytes, int32_t pixels) const;
  template <typename Put>
  void DecodeRow(const uint8_t* bytes, int32_t pixels, uint8_t* alpha, Put put) const;
  uint16_t Read16();
  uint32_t Read32();
  // True when `bytes` bytes from `offset` lie inside the file.
  bool Inside(uint64_t offset, uint64_t bytes) const;

  File* file_ = nullptr;
  int64_t file_size_ = 0;
  // Conversions of the file's values; set once the byte-order mark is read.
  ByteOrder order_;
  // Gray pictures with an extra sample: how many samples each pixel stores.
  int32_t samples_per_pixel_ = 0;
  // Whether rows are packed straight into display pixels, and the tables that pack them.
  bool display_pixels_ = false;
  const Rgb16* pack_ = nullptr;
  // Strip bytes are read from the file a large block at a time into this window, which holds
  // the file's bytes [window_start_, window_start_ + window_bytes_).
  uint8_t* window_ = nullptr;
  int32_t window_capacity_ = 0;
  uint64_t window_start_ = 0;
  int32_t window_bytes_ = 0;
  // A row cut short by the end of the file, completed with zero bytes.
  uint8_t* short_row_ = nullptr;
};
