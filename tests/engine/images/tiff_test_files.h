// TIFF files for the image tests: hand-built byte layouts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/images/image.h"

namespace tiff_files {

using Bytes = std::vector<uint8_t>;

// A picture as the reader delivers it before preparation: R, G, B bytes and optional alpha.
struct Picture {
  int width = 0;
  int height = 0;
  Bytes rgb;    // width × height × 3
  Bytes alpha;  // width × height, or empty
  bool operator==(const Picture&) const = default;
};

// A picture whose every byte differs from its neighbours, so that a byte taken from the wrong
// place shows.
Picture Pattern(int width, int height, bool with_alpha, int seed = 0);
// The picture an Image holds after loading (24-bit, before preparation).
Picture FromImage(const Image& image);

// Values of 2 or 4 bytes in a file, in its own byte order ('M' at the start: most significant byte
// first). The writes grow the file when they reach past its end.
uint32_t Get(const Bytes& file, uint32_t at, uint32_t bytes = 4);
void Put(Bytes& file, uint32_t at, uint32_t value, uint32_t bytes = 4);

constexpr uint16_t kShort = 3;
constexpr uint16_t kLong = 4;
struct Entry {
  uint16_t tag;
  uint16_t type;
  uint32_t count;
  uint32_t value;  // a SHORT with count 1 goes into the first two bytes of the field
};

// Building a file piece by piece: the header, then blocks appended word aligned (each call
// returns the block's offset), then the directory, which the header points to.
Bytes Header(bool msb_first);
uint32_t Append(Bytes& file, const Bytes& block);
// Values of `bytes` bytes each.
uint32_t AppendValues(Bytes& file, const std::vector<uint32_t>& values, uint32_t bytes = 4);
// At `at` when given (room kept for it earlier), else at the end.
uint32_t PutDirectory(Bytes& file, const std::vector<Entry>& entries, uint32_t next = 0,
                      uint32_t at = 0);

// How MakeTiff lays out a file.
struct Layout {
  bool msb_first = false;
  int bits = 8;                  // 8, 16 or 32 bits per sample
  int rows_per_strip = 0;        // 0: one strip and no RowsPerStrip entry
  bool directory_first = false;  // directory right after the header, pixel data after it
};

// A chunky RGB file of `picture` (with its alpha as an extra sample when it has one). 16- and
// 32-bit samples hold the picture's byte as their most significant byte and a different low
// part, so that a reader taking the wrong byte fails.
Bytes MakeTiff(const Picture& picture, const Layout& layout);

// Position of the 12-byte entry for `tag` in the first directory; 0 when there is none.
uint32_t EntryAt(const Bytes& file, uint16_t tag);
// Where the offset of the directory after the first is kept.
uint32_t NextLink(const Bytes& file);
// Rewrites the value field of the entry for `tag` (as MakeTiff wrote it: SHORT or LONG).
void SetEntry(Bytes& file, uint16_t tag, uint32_t value);

void WriteFile(const std::string& path, const Bytes& bytes);
// Also keeps the file as a seed for the TIFF fuzz target, when the build gives a seed folder.
void WriteSeed(const std::string& name, const Bytes& bytes);

// Writes `picture` as a PAM file with 8-bit samples, or 16-bit ones whose high byte is the
// picture's byte: the source other programs' TIFF writers are given.
void WritePam(const std::string& path, const Picture& picture, int bits);
// Runs a shell command; true when it exits with 0.
bool Shell(const std::string& command);

}  // namespace tiff_files
