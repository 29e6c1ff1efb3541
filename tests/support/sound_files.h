// WAVE files for sound tests: hand-built byte layouts for the odd cases, and ordinary files
// written by sox, an encoder independent of ours.
#pragma once

#include <cstdint>
#include <string>

namespace sound_files {

// A chunk: tag, 32-bit little-endian size of `body` (or `declared_size` when given), the body,
// and a pad byte after an odd body.
std::string Chunk(const std::string& tag, const std::string& body, int64_t declared_size = -1);

// The body of a format chunk: tag, channels, rate, byte rate, block alignment, bits, then
// `extra` bytes.
std::string FormatBody(uint16_t format_tag, uint16_t channels, uint32_t rate, uint16_t bits,
                       const std::string& extra = "");

// "RIFF", the size of what follows, "WAVE", then the chunks.
std::string Riff(const std::string& chunks, const std::string& riff = "RIFF",
                 const std::string& wave = "WAVE");

// Bytes 0, 1, 2, ... (mod 251) so that every position is recognisable.
std::string Pattern(std::size_t count, int start = 0);

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
// Runs sox with the arguments; true when it succeeded.
bool Sox(const std::string& arguments);

}  // namespace sound_files
