#include "engine/images/tiff_reader.h"

#include <algorithm>
#include <cstring>

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

TiffOutcome TiffReader::Read(File& file, Image& image) {
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
    image.Create(width, height, format);
    if (image.data == nullptr || image.alpha == nullptr) return fail(TIFF_CORRUPT);
    const TiffStatus read = ReadStrips(image);
    if (read != TIFF_OK) return fail(read);
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
  if (width < 1 || width > TIFF_MAX_SIDE || height < 1 || height > TIFF_MAX_SIDE) {
    return TIFF_CORRUPT;
  }
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
  uint8_t row_buffer[TIFF_ROW_BUFFER];

  if (strips < 0) return ReadStrip(image, strip_offsets, 0, height - 1, row_buffer);
  if (strips == 0) return TIFF_OK;

  const uint64_t per_strip = rows_per_strip;
  const auto rows = static_cast<uint64_t>(height);
  if (strips == 1) {
    const auto last = static_cast<int32_t>(std::min(per_strip, rows) - 1);
    return ReadStrip(image, strip_offsets, 0, last, row_buffer);
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
      file_->Seek(static_cast<int32_t>(strip_offsets + 4 * i));
      file_->Read(static_cast<int32_t>(count * 4), batch);
    }
    const uint32_t offset = order_.ReadUL(batch[i % kBatch]);
    const uint64_t first = i * per_strip;
    const uint64_t last = std::min(first + per_strip - 1, rows - 1);
    const TiffStatus status = ReadStrip(image, offset, static_cast<int32_t>(first),
                                        static_cast<int32_t>(last), row_buffer);
    if (status != TIFF_OK) return status;
  }
  return TIFF_OK;
}

TiffStatus TiffReader::ReadStrip(Image& image, uint32_t offset, int32_t first_row, int32_t last_row,
                                 uint8_t* row_buffer) {
  // A strip that starts outside the file is a broken file; one that is cut short is read as far
  // as it goes and leaves its missing rows zero.
  uint64_t position = offset;
  const auto size = static_cast<uint64_t>(file_size_);
  if (position >= size) return TIFF_CORRUPT;
  file_->Seek(static_cast<int32_t>(position));

  // As many whole rows as the row buffer holds come in with one read: a large read goes from
  // the file straight into the buffer instead of through the stream's own.
  const int32_t rows_per_read = std::max(1, TIFF_ROW_BUFFER / bytes_per_row);
  int32_t row = first_row;
  while (row <= last_row) {
    const int32_t rows = std::min(rows_per_read, last_row - row + 1);
    const uint64_t wanted = static_cast<uint64_t>(rows) * static_cast<uint64_t>(bytes_per_row);
    const uint64_t available = position < size ? size - position : 0;
    const auto got = static_cast<int32_t>(std::min(wanted, available));
    if (got == 0) break;
    file_->Read(got, row_buffer);
    position += static_cast<uint64_t>(got);

    for (int32_t k = 0; k < rows; ++k, ++row) {
      const int32_t start = k * bytes_per_row;
      if (start >= got) return TIFF_OK;  // the rest of the strip is missing
      uint8_t* bytes = row_buffer + start;
      const int32_t present = std::min(bytes_per_row, got - start);
      int32_t pixels = width;
      if (present < bytes_per_row) {
        std::memset(bytes + present, 0, static_cast<size_t>(bytes_per_row - present));
        const int64_t covered =
            (static_cast<int64_t>(present) * 8 + bits_per_pixel - 1) / bits_per_pixel;
        pixels = static_cast<int32_t>(std::min<int64_t>(covered, width));
      }
      ConvertRow(image, row, bytes, pixels);
    }
  }
  return TIFF_OK;
}

void TiffReader::ConvertRow(Image& image, int32_t row, const uint8_t* bytes, int32_t pixels) const {
  const size_t first_pixel = static_cast<size_t>(row) * static_cast<size_t>(width);
  uint8_t* rgb = image.data + first_pixel * 3;

  if (mode == TIFF_MODE_BILEVEL) {
    // Most significant bit first; a set bit is white unless white is stored as zero.
    const uint8_t set = photometric == PHOTOMETRIC_WHITE_IS_ZERO ? 0 : 255;
    const auto clear = static_cast<uint8_t>(255 - set);
    for (int32_t x = 0; x < pixels; ++x, rgb += 3) {
      const uint8_t v = ((bytes[x >> 3] >> (7 - (x & 7))) & 1) ? set : clear;
      rgb[0] = rgb[1] = rgb[2] = v;
    }
    return;
  }

  // Each sample contributes its most significant byte, wherever the file's byte order puts it.
  const int32_t sample_bytes = sample_bits[0] / 8;
  const int32_t high = order_.order == ORDER_MBF ? 0 : sample_bytes - 1;
  const int32_t stride = bits_per_pixel / 8;

  if (mode == TIFF_MODE_GRAY) {
    const uint8_t* p = bytes + high;
    for (int32_t x = 0; x < pixels; ++x, p += stride, rgb += 3) rgb[0] = rgb[1] = rgb[2] = *p;
    return;
  }

  uint8_t* alpha = extra_samples ? image.alpha + first_pixel : nullptr;
  if (sample_bytes == 1 && alpha == nullptr) {
    std::memcpy(rgb, bytes, static_cast<size_t>(pixels) * 3);
    return;
  }
  if (sample_bytes == 1) {
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
  const uint8_t* p = bytes + high;
  for (int32_t x = 0; x < pixels; ++x, p += stride, rgb += 3) {
    rgb[0] = p[0];
    rgb[1] = p[sample_bytes];
    rgb[2] = p[2 * sample_bytes];
    if (alpha != nullptr) alpha[x] = p[3 * sample_bytes];
  }
}
