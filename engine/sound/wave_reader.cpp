#include "engine/sound/wave_reader.h"

#include <algorithm>
#include <cstring>

#include "engine/files/byte_order.h"
#include "engine/files/file.h"

namespace {

// The fields a PCM format chunk holds, from the format tag to the sample width.
constexpr int64_t kFormatFields = 16;

bool ReadTag(File& file, char tag[4]) {
  return file.Read(4, tag) == FILE_OK;
}

bool TagIs(const char tag[4], const char* expected) {
  return std::memcmp(tag, expected, 4) == 0;
}

// Reads one stored value; false when the file ends first.
bool Read16(File& file, const ByteOrder& order, uint16_t* value) {
  uint16_t stored = 0;
  if (file.Read16(&stored) != FILE_OK) return false;
  *value = order.ReadUS(stored);
  return true;
}

bool Read32(File& file, const ByteOrder& order, uint32_t* value) {
  uint32_t stored = 0;
  if (file.Read32(&stored) != FILE_OK) return false;
  *value = order.ReadUL(stored);
  return true;
}

int64_t FileLength(File& file) {
  const int32_t here = file.Tell();
  file.Seek(FILE_TOEND);
  const int64_t length = file.Tell();
  file.Seek(here);
  return length;
}

// Chunks are padded to an even length.
int64_t ChunkEnd(int64_t start, uint32_t size) {
  return start + static_cast<int64_t>(size) + static_cast<int64_t>(size & 1u);
}

// The samples of a "data" chunk whose declared size is `declared`, clamped to what the file holds.
// Bytes the file fails to deliver stay zero.
void ReadSamples(File& file, uint32_t declared, int64_t file_length, WaveData* out) {
  const int64_t available = std::max<int64_t>(0, file_length - file.Tell());
  const int32_t size = static_cast<int32_t>(std::min<int64_t>(declared, available));
  const int32_t frame_bytes = out->channels * (out->bits / 8);

  out->has_samples = true;
  out->size = size;
  out->frames = size / frame_bytes;
  out->length =
      out->rate != 0 ? static_cast<float>(out->frames) / static_cast<float>(out->rate) : 0.0f;
  out->samples = std::make_unique<uint8_t[]>(static_cast<size_t>(size));
  if (out->bits > 16) return;  // wider samples are not read: the clip holds silence

  // One frame at a time, never placing more than the chunk's bytes.
  const int32_t piece = out->bits <= 8 ? out->channels : 2 * out->channels;
  for (int32_t placed = 0; placed < size; placed += piece) {
    if (file.Read(std::min(piece, size - placed), out->samples.get() + placed) != FILE_OK) break;
  }
}

}  // namespace

WaveResult DecodeWave(const char* name, WaveData* out) {
  File file;
  if (file.Open(name, FILE_READ | RANDOM) == FILE_NOTEXIST) return WAVE_NOT_FOUND;
  ByteOrder order;
  order.Set(ORDER_LBF);
  const int64_t file_length = FileLength(file);

  char tag[4] = {};
  uint32_t ignored = 0;
  uint32_t format_size = 0;
  bool valid = ReadTag(file, tag) && TagIs(tag, "RIFF");
  valid = valid && Read32(file, order, &ignored);
  valid = valid && ReadTag(file, tag) && TagIs(tag, "WAVE");
  valid = valid && ReadTag(file, tag) && TagIs(tag, "fmt ");
  valid = valid && Read32(file, order, &format_size);
  if (!valid) return WAVE_INVALID;
  const int64_t format_start = file.Tell();

  uint16_t format_tag = 0;
  if (!Read16(file, order, &format_tag)) return WAVE_INVALID;
  if (format_tag != 1) return WAVE_NOT_PCM;

  uint32_t rate = 0;
  uint16_t block_align = 0;
  if (!Read16(file, order, &out->channels) || !Read32(file, order, &rate) ||
      !Read32(file, order, &ignored) || !Read16(file, order, &block_align) ||
      !Read16(file, order, &out->bits)) {
    return WAVE_INVALID;
  }
  out->rate = static_cast<int32_t>(rate);
  // Without channels or with samples narrower than a byte, no frame size can be computed.
  if (format_size < kFormatFields || out->channels == 0 || out->bits < 8) return WAVE_INVALID;

  // Every chunk is walked by its declared size, so chunks of any size and content can stand
  // between the format chunk and the samples.
  int64_t next = ChunkEnd(format_start, format_size);
  while (next < file_length) {
    file.Seek(static_cast<int32_t>(next));
    uint32_t chunk_size = 0;
    if (!ReadTag(file, tag) || !Read32(file, order, &chunk_size)) break;
    const int64_t chunk_start = file.Tell();
    if (TagIs(tag, "data")) ReadSamples(file, chunk_size, file_length, out);
    // "fact" and every other chunk are stepped over.
    next = ChunkEnd(chunk_start, chunk_size);
  }
  return WAVE_LOADED;
}
