#include "game/online/protocol.h"

namespace online {
namespace {

constexpr uint8_t kMagic0 = 'V';
constexpr uint8_t kMagic1 = 'n';
constexpr size_t kHeaderSize = 3;
constexpr size_t kHelloSize = kHeaderSize + 2 + 4 + 4 + 1;
constexpr size_t kInputsFixedSize = kHeaderSize + 4 + 4 + 1 + 4 + 4 + 8 + 4 + 1;
constexpr uint32_t kJoinMark = 0x566eu;  // "Vn"
constexpr uint32_t kValueMask = 0xffffffu;

class Writer {
 public:
  explicit Writer(PacketKind kind) { bytes_ = {kMagic0, kMagic1, static_cast<uint8_t>(kind)}; }
  void Put(uint64_t value, int size) {
    for (int i = 0; i < size; ++i) bytes_.push_back(static_cast<uint8_t>(value >> (8 * i)));
  }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

// Reads fields in order; the caller has checked the total size, so reads stay inside.
class Reader {
 public:
  explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  uint64_t Get(int size) {
    uint64_t value = 0;
    for (int i = 0; i < size; ++i) value |= uint64_t{bytes_[at_ + i]} << (8 * i);
    at_ += static_cast<size_t>(size);
    return value;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t at_ = kHeaderSize;
};

}  // namespace

std::vector<uint8_t> EncodeHello(const Hello& hello) {
  Writer w(PacketKind::Hello);
  w.Put(hello.version, 2);
  w.Put(hello.match_id, 4);
  w.Put(hello.seed, 4);
  w.Put(hello.input_delay, 1);
  return w.Take();
}

std::vector<uint8_t> EncodeInputs(const InputPacket& p) {
  Writer w(PacketKind::Inputs);
  w.Put(p.match_id, 4);
  w.Put(p.frame, 4);
  w.Put(static_cast<uint8_t>(p.advantage), 1);
  w.Put(p.acked, 4);
  w.Put(p.sum_frame, 4);
  w.Put(p.sum, 8);
  w.Put(p.first, 4);
  const uint8_t count = p.count <= kMaxInputsPerPacket ? p.count : kMaxInputsPerPacket;
  w.Put(count, 1);
  for (int i = 0; i < count; ++i) w.Put(p.inputs[i], 1);
  return w.Take();
}

std::optional<PacketKind> PeekKind(std::span<const uint8_t> bytes) {
  if (bytes.size() < kHeaderSize || bytes[0] != kMagic0 || bytes[1] != kMagic1) return {};
  const auto kind = static_cast<PacketKind>(bytes[2]);
  if (kind != PacketKind::Hello && kind != PacketKind::Inputs) return {};
  return kind;
}

std::optional<Hello> DecodeHello(std::span<const uint8_t> bytes) {
  if (PeekKind(bytes) != PacketKind::Hello || bytes.size() != kHelloSize) return {};
  Reader r(bytes);
  Hello h;
  h.version = static_cast<uint16_t>(r.Get(2));
  h.match_id = static_cast<uint32_t>(r.Get(4));
  h.seed = static_cast<uint32_t>(r.Get(4));
  h.input_delay = static_cast<uint8_t>(r.Get(1));
  if (h.input_delay > kMaxInputDelayOnWire) return {};
  return h;
}

std::optional<InputPacket> DecodeInputs(std::span<const uint8_t> bytes) {
  if (PeekKind(bytes) != PacketKind::Inputs || bytes.size() < kInputsFixedSize) return {};
  Reader r(bytes);
  InputPacket p;
  p.match_id = static_cast<uint32_t>(r.Get(4));
  p.frame = static_cast<uint32_t>(r.Get(4));
  p.advantage = static_cast<int8_t>(r.Get(1));
  p.acked = static_cast<uint32_t>(r.Get(4));
  p.sum_frame = static_cast<uint32_t>(r.Get(4));
  p.sum = r.Get(8);
  p.first = static_cast<uint32_t>(r.Get(4));
  p.count = static_cast<uint8_t>(r.Get(1));
  // The declared count must be exactly what follows, within the limit, and its frames must not
  // run past the largest frame number.
  if (p.count > kMaxInputsPerPacket || bytes.size() != kInputsFixedSize + p.count) return {};
  if (uint64_t{p.first} + p.count > UINT32_MAX || p.sum_frame % kChecksumEvery != 0) return {};
  for (int i = 0; i < p.count; ++i) {
    p.inputs[i] = static_cast<uint8_t>(r.Get(1));
    if (p.inputs[i] >= kInputValues) return {};
  }
  return p;
}

uint32_t JoinWord(uint16_t version) {
  return kJoinMark << 16 | version;
}

std::optional<uint16_t> VersionOfJoinWord(uint32_t word) {
  if (word >> 16 != kJoinMark) return {};
  return static_cast<uint16_t>(word & 0xffffu);
}

uint32_t CloseWord(Closing closing) {
  return static_cast<uint32_t>(closing.reason) | (closing.value & kValueMask) << 8;
}

Closing ReadCloseWord(uint32_t word) {
  const auto reason = static_cast<CloseReason>(word & 0xffu);
  switch (reason) {
    case CloseReason::None:
    case CloseReason::Version:
    case CloseReason::Full:
    case CloseReason::OutOfStep:
    case CloseReason::Done:
    case CloseReason::NotVorn:
      return {reason, word >> 8};
  }
  return {};
}

}  // namespace online
