#include "engine/images/tiff_reader.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>

namespace {

constexpr uint16_t TAG_IMAGE_WIDTH = 256;
constexpr uint16_t TAG_IMAGE_LENGTH = 257;
constexpr uint16_t TAG_BITS_PER_SAMPLE = 258;
constexpr uint16_t TAG_COMPRESSION = 259;
constexpr uint16_t TAG_PHOTOMETRIC = 262;
constexpr uint16_t TAG_STRIP_OFFSETS = 273;
constexpr uint16_t TAG_ROWS_PER_STRIP = 278;
constexpr uint16_t TAG_EXTRA_SAMPLES = 338;

constexpr uint16_t TYPE_SHORT = 3;
constexpr uint32_t COMPRESSION_NONE = 1;
constexpr int32_t PHOTOMETRIC_WHITE_IS_ZERO = 0;
constexpr int32_t PHOTOMETRIC_PALETTE = 3;

constexpr int32_t ENTRY_BYTES = 12;

// Strip bytes come from the file this many at a time (or the whole file, when smaller).
constexpr int64_t kWindowBytes = 64 * 1024;

// Sample sizes the row conversion knows; any other size leaves the pixels zero.
bool Convertible(int32_t bits) {
  return bits == 8 || bits == 16 || bits == 32;
}

}  // namespace

uint16_t TiffReader::Read16() {
  uint16_t stored = 0;
  file_->Read16(&stored);
  return order_.ReadUS(stored);
}

uint32_t TiffReader::Read32() {
  uint32_t stored = 0;
  file_->Read32(&stored);
  return order_.ReadUL(stored);
}

bool TiffReader::Inside(uint64_t offset, uint64_t bytes) const {
  const auto size = static_cast<uint64_t>(file_size_);
  return offset <= size && bytes <= size - offset;
}

TiffOutcome TiffReader::Read(File& file, Image& image, bool display_pixels) {
  // Nothing carries over from an earlier file.
  width = 0;
  height = 0;
  format = 0;
  mode = TIFF_MODE_BILEVEL;  // a file without BitsPerSample has one bit per sample
  extra_samples = 0;
  sample_list = 0;
  for (int32_t& bits : sample_bits) bits = 0;
  sample_bits[0] = 1;
  bits_value = 1;
  photometric = -1;
  strips = -1;
  strip_offsets = 0;
  rows_per_strip = 0;
  bits_per_pixel = 0;
  bytes_per_row = 0;
  samples_per_pixel_ = 1;
  order_.Set(ORDER_LBF);
  file_ = &file;
  display_pixels_ = display_pixels;

  TiffOutcome outcome;
  auto fail = [&outcome](TiffStatus status) {
    outcome.status = status;
    return outcome;
  };

  if (file.Seek(FILE_TOEND) != 0) return fail(TIFF_CORRUPT);
  file_size_ = file.Tell();
  if (file_size_ < 8 || file.Seek(FILE_TOSTART) != 0) return fail(TIFF_CORRUPT);

  uint8_t mark[2] = {};
  file.Read16(mark);
  if (mark[0] != 'I' || mark[1] != 'I') order_.Set(ORDER_MBF);
  if (Read16() != 42) return fail(TIFF_CORRUPT);

  const uint32_t directory = Read32();
  if (!Inside(directory, 2)) return fail(TIFF_CORRUPT);
  file.Seek(static_cast<int32_t>(directory));
  const TiffStatus entries = ReadEntries(outcome);
  if (entries != TIFF_OK) return fail(entries);
  const int32_t after_entries = file.Tell();

  // A palette picture has no conversion: the image keeps what it held.
  if (mode != TIFF_MODE_PALETTE) {
    const TiffStatus planned = PlanRows();
    if (planned != TIFF_OK) return fail(planned);
    const uint8_t made =
        display_pixels_ ? static_cast<uint8_t>((format & ~IMAGE_RGB24) | IMAGE_RGB16) : format;
    image.Create(width, height, made);
    // A picture without columns or rows is an empty image, which the game draws as nothing.
    if (width > 0 && height > 0) {
      if (image.data == nullptr || image.alpha == nullptr) return fail(TIFF_CORRUPT);
      const TiffStatus read = ReadStrips(image);
      if (read != TIFF_OK) return fail(read);
    }
  }

  // Only the first picture is read; a link to another one (wherever it points) is just noted.
  file.Seek(after_entries);
  if (Inside(static_cast<uint32_t>(after_entries), 4) && Read32() != 0) outcome.more_images = true;
  return outcome;
}

TiffStatus TiffReader::ReadEntries(TiffOutcome& outcome) {
  const uint64_t first_entry = static_cast<uint64_t>(file_->Tell()) + 2;
  const uint16_t count = Read16();
  if (!Inside(first_entry, static_cast<uint64_t>(count) * ENTRY_BYTES)) return TIFF_CORRUPT;

  for (uint16_t i = 0; i < count; ++i) {
    const uint16_t tag = Read16();
    const uint16_t type = Read16();
    const uint32_t values = Read32();
    uint8_t field[4] = {};
    file_->Read32(field);
    uint16_t halves[2];
    std::memcpy(halves, field, sizeof halves);
    uint32_t whole;
    std::memcpy(&whole, field, sizeof whole);
    // A single SHORT sits in the first two bytes of the field; anything else is read whole.
    const uint32_t value =
        (type == TYPE_SHORT && values == 1) ? order_.ReadUS(halves[0]) : order_.ReadUL(whole);

    switch (tag) {
      case TAG_IMAGE_WIDTH:
        width = static_cast<int32_t>(std::min<uint32_t>(value, 0x7FFFFFFF));
        break;
      case TAG_IMAGE_LENGTH:
        height = static_cast<int32_t>(std::min<uint32_t>(value, 0x7FFFFFFF));
        break;
      case TAG_BITS_PER_SAMPLE:
        bits_value = value;
        if (values == 1) {
          mode = (value == 1) ? TIFF_MODE_BILEVEL : TIFF_MODE_GRAY;
          sample_bits[0] = static_cast<int32_t>(std::min<uint32_t>(value, 0xFFFF));
          samples_per_pixel_ = 1;
        } else if (values == 2) {
          // Gray with an extra sample: both sizes fit in the field itself.
          mode = TIFF_MODE_GRAY;
          sample_bits[0] = order_.ReadUS(halves[0]);
          sample_bits[1] = order_.ReadUS(halves[1]);
          samples_per_pixel_ = 2;
        } else if (values == 3 || values == 4) {
          mode = TIFF_MODE_RGB;
          sample_list = value;
        } else {
          return TIFF_UNKNOWN_MODE;
        }
        break;
      case TAG_COMPRESSION:
        if (value != COMPRESSION_NONE) ++outcome.compression_notices;
        break;
      case TAG_PHOTOMETRIC:
        photometric = static_cast<int32_t>(std::min<uint32_t>(value, 0xFFFF));
        if (photometric == PHOTOMETRIC_PALETTE) mode = TIFF_MODE_PALETTE;
        break;
      case TAG_STRIP_OFFSETS:
        strip_offsets = value;
        break;
      case TAG_ROWS_PER_STRIP:
        // The strip count comes from the height known at this point. Zero rows per strip
        // means the TIFF default, the whole picture in one strip, even after an earlier entry.
        rows_per_strip = value;
        strips = -1;
        if (value != 0) {
          const uint64_t rows = height > 0 ? static_cast<uint64_t>(height) : 0;
          strips = static_cast<int32_t>((rows + value - 1) / value);
        }
        break;
      case TAG_EXTRA_SAMPLES:
        extra_samples = 1;
        break;
      default:
        break;
    }
  }
  return TIFF_OK;
}

TiffStatus TiffReader::ReadSampleSizes() {
  const int32_t count = extra_samples ? 4 : 3;
  if (!Inside(sample_list, static_cast<uint64_t>(count) * 2)) return TIFF_CORRUPT;
  const int32_t back = file_->Tell();
  file_->Seek(static_cast<int32_t>(sample_list));
  for (int32_t i = 0; i < 4; ++i) sample_bits[i] = i < count ? Read16() : 0;
  file_->Seek(back);
  return TIFF_OK;
}

TiffStatus TiffReader::PlanRows() {
  if (width < 0 || height < 0 || int64_t{width} * height > TIFF_MAX_PIXELS) return TIFF_CORRUPT;
  int32_t samples = 1;
  format = IMAGE_RGB24;
  if (mode == TIFF_MODE_RGB) {
    if (ReadSampleSizes() != TIFF_OK) return TIFF_CORRUPT;
    samples = extra_samples ? 4 : 3;
    if (extra_samples) format = IMAGE_RGB24 | IMAGE_ALPHA;
  } else if (mode == TIFF_MODE_GRAY) {
    samples = samples_per_pixel_;
  } else {
    sample_bits[0] = 1;
  }

  int64_t bits = 0;
  for (int32_t i = 0; i < samples; ++i) {
    if (sample_bits[i] <= 0) return TIFF_CORRUPT;
    bits += sample_bits[i];
  }
  bits_per_pixel = static_cast<int32_t>(bits);

  if (mode == TIFF_MODE_BILEVEL) {
    bytes_per_row = (width + 7) / 8;  // rows are padded to whole bytes
  } else {
    bytes_per_row = static_cast<int32_t>(static_cast<int64_t>(width) * bits / 8);
    // The conversion steps through each pixel by the size of its first sample, so every
    // sample must have that size or it would read past the row.
    if (Convertible(sample_bits[0]) && bits != static_cast<int64_t>(samples) * sample_bits[0]) {
      return TIFF_CORRUPT;
    }
  }
  if (RowsConvertible() && bytes_per_row > TIFF_ROW_BUFFER) return TIFF_CORRUPT;
  return TIFF_OK;
}

bool TiffReader::RowsConvertible() const {
  return mode == TIFF_MODE_BILEVEL || Convertible(sample_bits[0]);
}

TiffStatus TiffReader::ReadStrips(Image& image) {
  if (!RowsConvertible()) return TIFF_OK;  // the picture stays zero

  // The window, and after it room for one short row. Made here, per picture, and given back on
  // every way out.
  window_capacity_ = static_cast<int32_t>(std::min<int64_t>(kWindowBytes, file_size_));
  const std::unique_ptr<uint8_t[]> memory(
      new (std::nothrow) uint8_t[static_cast<size_t>(window_capacity_) + TIFF_ROW_BUFFER]);
  if (memory == nullptr) return TIFF_CORRUPT;
  window_ = memory.get();
  short_row_ = memory.get() + window_capacity_;
  window_start_ = 0;
  window_bytes_ = 0;
  const Rgb16 pack;
  pack_ = &pack;
  const TiffStatus status = ReadAllStrips(image);
  window_ = nullptr;
  short_row_ = nullptr;
  pack_ = nullptr;
  return status;
}

TiffStatus TiffReader::ReadAllStrips(Image& image) {
  if (strips < 0) return ReadStrip(image, strip_offsets, 0, height - 1);
  if (strips == 0) return TIFF_OK;

  const uint64_t per_strip = rows_per_strip;
  const auto rows = static_cast<uint64_t>(height);
  if (strips == 1) {
    const auto last = static_cast<int32_t>(std::min(per_strip, rows) - 1);
    return ReadStrip(image, strip_offsets, 0, last);
  }

  // Only the strips that hold rows of this height are looked up.
  const uint64_t used =
      std::min<uint64_t>(static_cast<uint64_t>(strips), (rows + per_strip - 1) / per_strip);
  if (!Inside(strip_offsets, used * 4)) return TIFF_CORRUPT;
  // The offsets are fetched a batch at a time rather than with a seek and a read per strip.
  uint32_t batch[256];
  constexpr uint64_t kBatch = sizeof batch / sizeof batch[0];
  for (uint64_t i = 0; i < used; ++i) {
    if (i % kBatch == 0) {
      const uint64_t count = std::min(kBatch, used - i);
      std::memcpy(batch, Fetch(strip_offsets + 4 * i, static_cast<int32_t>(count * 4)),
                  static_cast<std::size_t>(count * 4));
    }
    const uint32_t offset = order_.ReadUL(batch[i % kBatch]);
    const uint64_t first = i * per_strip;
    const uint64_t last = std::min(first + per_strip - 1, rows - 1);
    const TiffStatus status =
        ReadStrip(image, offset, static_cast<int32_t>(first), static_cast<int32_t>(last));
    if (status != TIFF_OK) return status;
  }
  return TIFF_OK;
}

const uint8_t* TiffReader::Fetch(uint64_t position, int32_t bytes) {
  const uint64_t end = position + static_cast<uint64_t>(bytes);
  if (position < window_start_ || end > window_start_ + static_cast<uint64_t>(window_bytes_)) {
    // Refill from `position` on, as far as the window and the file go.
    window_start_ = position;
    window_bytes_ = static_cast<int32_t>(std::min<uint64_t>(
        static_cast<uint64_t>(window_capacity_), static_cast<uint64_t>(file_size_) - position));
    file_->Seek(static_cast<int32_t>(position));
    if (file_->Read(window_bytes_, window_) != FILE_OK) {
      // The file changed under us or could not be read: what it did not give reads as zero,
      // never as leftover memory.
      std::memset(window_, 0, static_cast<size_t>(window_bytes_));
    }
  }
  return window_ + (position - window_start_);
}

TiffStatus TiffReader::ReadStrip(Image& image, uint32_t offset, int32_t first_row,
                                 int32_t last_row) {
  // A strip that starts outside the file is a broken file; one that is cut short is read as far
  // as it goes and leaves its missing rows zero.
  uint64_t position = offset;
  const auto size = static_cast<uint64_t>(file_size_);
  if (position >= size) return TIFF_CORRUPT;

  for (int32_t row = first_row; row <= last_row && position < size; ++row) {
    const auto present = static_cast<int32_t>(
        std::min<uint64_t>(static_cast<uint64_t>(bytes_per_row), size - position));
    const uint8_t* bytes = Fetch(position, present);
    position += static_cast<uint64_t>(present);
    int32_t pixels = width;
    if (present < bytes_per_row) {
      // The last row the file holds: its missing bytes read as zero, and only the pixels it
      // reaches into are converted.
      std::memcpy(short_row_, bytes, static_cast<size_t>(present));
      std::memset(short_row_ + present, 0, static_cast<size_t>(bytes_per_row - present));
      bytes = short_row_;
      const int64_t covered =
          (static_cast<int64_t>(present) * 8 + bits_per_pixel - 1) / bits_per_pixel;
      pixels = static_cast<int32_t>(std::min<int64_t>(covered, width));
    }
    ConvertRow(image, row, bytes, pixels);
  }
  return TIFF_OK;
}

template <typename Put>
void TiffReader::DecodeRow(const uint8_t* bytes, int32_t pixels, uint8_t* alpha, Put put) const {
  if (mode == TIFF_MODE_BILEVEL) {
    // Most significant bit first; a set bit is white unless white is stored as zero.
    const uint8_t set = photometric == PHOTOMETRIC_WHITE_IS_ZERO ? 0 : 255;
    const auto clear = static_cast<uint8_t>(255 - set);
    for (int32_t x = 0; x < pixels; ++x) {
      const uint8_t v = ((bytes[x >> 3] >> (7 - (x & 7))) & 1) ? set : clear;
      put(x, v, v, v);
    }
    return;
  }

  // Each sample contributes its most significant byte, wherever the file's byte order puts it.
  const int32_t sample_bytes = sample_bits[0] / 8;
  const int32_t high = order_.order == ORDER_MBF ? 0 : sample_bytes - 1;
  const int32_t stride = bits_per_pixel / 8;
  const uint8_t* p = bytes + high;

  if (mode == TIFF_MODE_GRAY) {
    for (int32_t x = 0; x < pixels; ++x, p += stride) put(x, *p, *p, *p);
    return;
  }
  const auto rgb = [&](auto step) {
    if (alpha == nullptr) {
      for (int32_t x = 0; x < pixels; ++x, p += stride) put(x, p[0], p[step], p[2 * step]);
      return;
    }
    for (int32_t x = 0; x < pixels; ++x, p += stride) {
      put(x, p[0], p[step], p[2 * step]);
      alpha[x] = p[3 * step];
    }
  };
  // Bytes as samples, the usual case, with the step known to the compiler.
  if (sample_bytes == 1) {
    rgb(std::integral_constant<int32_t, 1>{});
  } else {
    rgb(sample_bytes);
  }
}

void TiffReader::ConvertRow(Image& image, int32_t row, const uint8_t* bytes, int32_t pixels) const {
  const size_t first_pixel = static_cast<size_t>(row) * static_cast<size_t>(width);
  uint8_t* alpha = mode == TIFF_MODE_RGB && extra_samples ? image.alpha + first_pixel : nullptr;

  if (display_pixels_) {
    uint16_t* out = image.pixels16() + first_pixel;
    const Rgb16& pack = *pack_;
    DecodeRow(bytes, pixels, alpha,
              [out, &pack](int32_t x, uint8_t r, uint8_t g, uint8_t b) { out[x] = pack(r, g, b); });
    return;
  }

  uint8_t* rgb = image.data + first_pixel * 3;
  if (mode == TIFF_MODE_RGB && sample_bits[0] == 8 && alpha == nullptr) {
    std::memcpy(rgb, bytes, static_cast<size_t>(pixels) * 3);
    return;
  }
  if (mode == TIFF_MODE_RGB && sample_bits[0] == 8) {
    // Four bytes in, three out: each pixel is copied whole and the next one overwrites the
    // fourth byte, so only the last pixel of the row needs care not to write past it.
    int32_t x = 0;
    for (; x + 1 < pixels; ++x, bytes += 4, rgb += 3) {
      std::memcpy(rgb, bytes, 4);
      alpha[x] = bytes[3];
    }
    for (; x < pixels; ++x, bytes += 4, rgb += 3) {
      rgb[0] = bytes[0];
      rgb[1] = bytes[1];
      rgb[2] = bytes[2];
      alpha[x] = bytes[3];
    }
    return;
  }
  DecodeRow(bytes, pixels, alpha, [rgb](int32_t x, uint8_t r, uint8_t g, uint8_t b) {
    uint8_t* out = rgb + static_cast<size_t>(x) * 3;
    out[0] = r;
    out[1] = g;
    out[2] = b;
  });
}
