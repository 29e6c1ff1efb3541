// The bytes two machines exchange in a network match, and their checking.
//
// Every number is little-endian. The decoders take nothing on trust: a packet whose size does not
// match its declared contents exactly, whose kind or input values are unknown, or whose frame
// numbers cannot be valid is refused as a whole, so the session only ever sees sound values.
// Whether a frame number fits the session's own progress is the session's check.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace online {

// Raised whenever the meaning of a packet changes; a joiner of another version is refused.
constexpr uint16_t kProtocolVersion = 1;
constexpr uint16_t kDefaultPort = 7531;

// An input is one of three values (nothing held, the first key, the second key).
constexpr uint8_t kInputValues = 3;
// More unacknowledged inputs than this are sent in the following packets, oldest first.
constexpr int kMaxInputsPerPacket = 64;
// Checksums are exchanged for frames that are multiples of this.
constexpr uint32_t kChecksumEvery = 30;
// The largest input delay a hello may carry.
constexpr uint8_t kMaxInputDelayOnWire = 8;

enum class PacketKind : uint8_t { Hello = 1, Inputs = 2 };

// Sent once by the host to the player it accepted: what both sides need to play the same match.
struct Hello {
  uint16_t version = kProtocolVersion;
  uint32_t match_id = 0;  // tells this match's packets from a stale one's
  uint32_t seed = 0;
  uint8_t input_delay = 0;  // the host's choice, played by both sides
};

// Sent every frame by both sides.
struct InputPacket {
  uint32_t match_id = 0;
  uint32_t frame = 0;      // the sender's next frame to play
  int8_t advantage = 0;    // how many frames the sender believes it runs ahead of the receiver
  uint32_t acked = 0;      // the receiver's inputs the sender holds: frames below this
  uint32_t sum_frame = 0;  // the sender's latest confirmed frame that is a multiple of 30...
  uint64_t sum = 0;        // ...and its state's checksum there
  uint32_t first = 0;      // the frame of inputs[0]
  uint8_t count = 0;
  uint8_t inputs[kMaxInputsPerPacket] = {};
};

std::vector<uint8_t> EncodeHello(const Hello& hello);
std::vector<uint8_t> EncodeInputs(const InputPacket& packet);

// The kind of a packet that passes the common header check, or nothing.
std::optional<PacketKind> PeekKind(std::span<const uint8_t> bytes);
std::optional<Hello> DecodeHello(std::span<const uint8_t> bytes);
std::optional<InputPacket> DecodeInputs(std::span<const uint8_t> bytes);

// The word a joiner presents when it connects: a mark of this game and its protocol version.
uint32_t JoinWord(uint16_t version = kProtocolVersion);
// The version in a join word, or nothing when the word is not this game's.
std::optional<uint16_t> VersionOfJoinWord(uint32_t word);

// Why a connection was closed, carried in the word of a disconnection.
enum class CloseReason : uint8_t {
  None = 0,       // a plain disconnection: the other side left
  Version = 1,    // value: the refusing side's protocol version
  Full = 2,       // the host already has an opponent
  OutOfStep = 3,  // value: the frame whose checksums differed
  Done = 4,       // the match ended normally
  NotVorn = 5,    // the connection did not present this game's join word
};
struct Closing {
  CloseReason reason = CloseReason::None;
  uint32_t value = 0;  // 24 bits
};
uint32_t CloseWord(Closing closing);
// Unknown reasons read as a plain disconnection.
Closing ReadCloseWord(uint32_t word);

}  // namespace online
