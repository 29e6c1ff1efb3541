// The bytes of a recorded match, and nothing else: writing them as a match is played and reading
// them back with every field checked.
//
// All numbers are little-endian.
//   header   "VRPL", version (u16), seed (u32), per side its kind and level (u8 each),
//            the clock reading the match started at (u32)
//   frame    one byte with both sides' input (left in bits 0-1, right in bits 2-3, the high
//            nibble 0), then the clock's advance since the previous frame (or since the start)
//            in 7-bit groups, lowest first, the high bit marking that more follow
//   checksum 0xC5, the state's checksum after the frame (u64); after every 60th frame
//   end      0xE7, why it ended (u8), the number of frames (u32), the final state's checksum
//            (u64), a CRC-32 of every byte before it (u32); nothing follows
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "game/input.h"

constexpr uint16_t REPLAY_VERSION = 1;
constexpr int REPLAY_CHECKSUM_EVERY = 60;
// No match comes near this (an hour of unpaced frames is a few megabytes); larger is not ours.
constexpr size_t REPLAY_MAX_BYTES = size_t{64} << 20;

// Who played a side, in the order of the options' side kinds.
enum class ReplaySideKind : uint8_t { Keys = 0, Cpu = 1, Robot = 2, Idle = 3 };
struct ReplaySide {
  ReplaySideKind kind = ReplaySideKind::Keys;
  uint8_t level = 0;  // the computer's level 1 to 3; 0 for every other kind
  bool operator==(const ReplaySide&) const = default;
};

struct ReplayHeader {
  uint32_t seed = 0;
  ReplaySide side[SIDES];
  uint32_t start_ms = 0;
  bool operator==(const ReplayHeader&) const = default;
};

struct ReplayFrame {
  uint32_t ms = 0;
  FrameInput input;
  bool operator==(const ReplayFrame&) const = default;
};

enum class ReplayEnd : uint8_t { MatchOver = 0, ProgramEnded = 1 };

struct Replay {
  ReplayHeader header;
  std::vector<ReplayFrame> frames;
  // The state's checksum after frames 60, 120, ...
  std::vector<uint64_t> checksums;
  ReplayEnd end = ReplayEnd::ProgramEnded;
  uint64_t final_checksum = 0;
};

// Builds the bytes as the match goes; a recorder hands them on to its file with Take.
class ReplayEncoder {
 public:
  explicit ReplayEncoder(const ReplayHeader& header);
  void Frame(uint32_t ms, FrameInput input);
  // Whether the frame just added is one whose checksum the file carries: Check must follow.
  bool ChecksumDue() const { return frames_ % REPLAY_CHECKSUM_EVERY == 0 && frames_ > 0; }
  void Check(uint64_t checksum);
  void End(ReplayEnd why, uint64_t final_checksum);
  // The bytes added since the last call.
  std::vector<uint8_t> Take();
  uint32_t frames() const { return frames_; }

 private:
  void Put(uint8_t byte);
  void PutWord(uint64_t value, int bytes);

  std::vector<uint8_t> pending_;
  uint32_t crc_ = 0xFFFFFFFFu;
  uint32_t frames_ = 0;
  uint32_t last_ms_ = 0;
};

// The whole file at once.
std::vector<uint8_t> EncodeReplay(const Replay& replay);

// Reads a whole file. False, with one line saying what is wrong, for a file that is not a
// replay, is of another version, was cut short (no end marker) or holds a field out of range, a
// checksum record out of place or bytes that do not match their CRC.
bool DecodeReplay(std::span<const uint8_t> bytes, Replay* out, std::string* why);
