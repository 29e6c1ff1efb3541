#include "game/replay_format.h"

#include <array>

namespace {

constexpr uint8_t kMagic[4] = {'V', 'R', 'P', 'L'};
constexpr uint8_t kChecksumTag = 0xC5;
constexpr uint8_t kEndTag = 0xE7;
constexpr uint8_t kLevelMax = 3;
constexpr size_t kHeaderBytes = 4 + 2 + 4 + 2 * SIDES + 4;
// The end record after its tag: why, frames, checksum, CRC.
constexpr size_t kEndBytes = 1 + 4 + 8 + 4;
// A 32-bit advance takes at most five groups of seven bits.
constexpr int kMaxAdvanceBytes = 5;

constexpr std::array<uint32_t, 256> MakeCrcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}
constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

uint32_t CrcAdd(uint32_t crc, uint8_t byte) {
  return kCrcTable[(crc ^ byte) & 0xFFu] ^ (crc >> 8);
}

uint8_t InputByte(FrameInput in) {
  return static_cast<uint8_t>(static_cast<unsigned>(in.side[0]) | static_cast<unsigned>(in.side[1])
                                                                      << 2);
}

bool SideInRange(ReplaySide s) {
  if (s.kind == ReplaySideKind::Cpu) return s.level >= 1 && s.level <= kLevelMax;
  return static_cast<uint8_t>(s.kind) <= static_cast<uint8_t>(ReplaySideKind::Idle) && s.level == 0;
}

// Reads the bytes front to back, noting where it stands for the message about a bad field.
class Reader {
 public:
  explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  size_t left() const { return bytes_.size() - at_; }
  size_t at() const { return at_; }
  uint64_t Word(int bytes) {
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= uint64_t{bytes_[at_++]} << (8 * i);
    return v;
  }
  uint8_t Byte() { return bytes_[at_++]; }
  // The CRC of every byte read so far.
  uint32_t Crc() const {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < at_; ++i) crc = CrcAdd(crc, bytes_[i]);
    return crc ^ 0xFFFFFFFFu;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t at_ = 0;
};

enum class Advance : uint8_t { Ok, Short, Bad };

// The clock's advance, in its shortest form only, so that every file has one spelling.
Advance ReadAdvance(Reader* r, uint32_t* out) {
  uint64_t value = 0;
  for (int i = 0; i < kMaxAdvanceBytes; ++i) {
    if (r->left() == 0) return Advance::Short;
    const uint8_t b = r->Byte();
    value |= uint64_t{b & 0x7Fu} << (7 * i);
    if ((b & 0x80u) != 0) continue;
    if ((b == 0 && i > 0) || value > 0xFFFFFFFFu) return Advance::Bad;
    *out = static_cast<uint32_t>(value);
    return Advance::Ok;
  }
  return Advance::Bad;
}

bool Garbled(const std::string& what, size_t at, std::string* why) {
  *why = "it is garbled: " + what + " at byte " + std::to_string(at);
  return false;
}

bool CutShort(std::string* why) {
  *why = "it was cut short (it has no end marker)";
  return false;
}

bool ReadHeader(Reader* r, ReplayHeader* h, std::string* why) {
  if (r->left() < sizeof kMagic) return CutShort(why);
  for (const uint8_t m : kMagic) {
    if (r->Byte() != m) {
      *why = "it is not a replay";
      return false;
    }
  }
  if (r->left() < 2) return CutShort(why);
  const auto version = static_cast<uint16_t>(r->Word(2));
  if (version != REPLAY_VERSION) {
    *why = "it is a replay of format version " + std::to_string(version) +
           ", and this program reads version " + std::to_string(REPLAY_VERSION);
    return false;
  }
  if (r->left() < kHeaderBytes - 6) return CutShort(why);
  h->seed = static_cast<uint32_t>(r->Word(4));
  for (ReplaySide& s : h->side) {
    const size_t at = r->at();
    s.kind = static_cast<ReplaySideKind>(r->Byte());
    s.level = r->Byte();
    if (!SideInRange(s)) return Garbled("a side's kind or level is out of range", at, why);
  }
  h->start_ms = static_cast<uint32_t>(r->Word(4));
  return true;
}

bool ReadEnd(Reader* r, Replay* out, std::string* why) {
  if (r->left() < kEndBytes) return CutShort(why);
  const size_t at = r->at();
  const uint8_t end = r->Byte();
  if (end > static_cast<uint8_t>(ReplayEnd::ProgramEnded))
    return Garbled("the end marker's reason is out of range", at, why);
  out->end = static_cast<ReplayEnd>(end);
  if (r->Word(4) != out->frames.size())
    return Garbled("the end marker's frame count differs from the frames", at, why);
  out->final_checksum = r->Word(8);
  const uint32_t crc = r->Crc();
  if (r->Word(4) != crc) return Garbled("the bytes do not match their CRC", r->at() - 4, why);
  if (r->left() != 0) return Garbled("bytes follow the end marker", r->at(), why);
  return true;
}

}  // namespace

ReplayEncoder::ReplayEncoder(const ReplayHeader& header) : last_ms_(header.start_ms) {
  for (const uint8_t m : kMagic) Put(m);
  PutWord(REPLAY_VERSION, 2);
  PutWord(header.seed, 4);
  for (const ReplaySide& s : header.side) Put(static_cast<uint8_t>(s.kind)), Put(s.level);
  PutWord(header.start_ms, 4);
}

void ReplayEncoder::Put(uint8_t byte) {
  pending_.push_back(byte);
  crc_ = CrcAdd(crc_, byte);
}

void ReplayEncoder::PutWord(uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) Put(static_cast<uint8_t>(value >> (8 * i)));
}

void ReplayEncoder::Frame(uint32_t ms, FrameInput input) {
  Put(InputByte(input));
  // The clock wraps after 49 days; the advance is taken on the wrapping clock too.
  uint32_t advance = ms - last_ms_;
  last_ms_ = ms;
  while (advance >= 0x80u) {
    Put(static_cast<uint8_t>((advance & 0x7Fu) | 0x80u));
    advance >>= 7;
  }
  Put(static_cast<uint8_t>(advance));
  ++frames_;
}

void ReplayEncoder::Check(uint64_t checksum) {
  Put(kChecksumTag);
  PutWord(checksum, 8);
}

void ReplayEncoder::End(ReplayEnd why, uint64_t final_checksum) {
  Put(kEndTag);
  Put(static_cast<uint8_t>(why));
  PutWord(frames_, 4);
  PutWord(final_checksum, 8);
  PutWord(crc_ ^ 0xFFFFFFFFu, 4);
}

std::vector<uint8_t> ReplayEncoder::Take() {
  std::vector<uint8_t> out;
  out.swap(pending_);
  return out;
}

std::vector<uint8_t> EncodeReplay(const Replay& replay) {
  ReplayEncoder e(replay.header);
  size_t checked = 0;
  for (const ReplayFrame& f : replay.frames) {
    e.Frame(f.ms, f.input);
    if (e.ChecksumDue() && checked < replay.checksums.size()) e.Check(replay.checksums[checked++]);
  }
  e.End(replay.end, replay.final_checksum);
  return e.Take();
}

bool DecodeReplay(std::span<const uint8_t> bytes, Replay* out, std::string* why) {
  if (bytes.size() > REPLAY_MAX_BYTES) {
    *why = "it is too large to be a replay (" + std::to_string(bytes.size()) + " bytes)";
    return false;
  }
  Replay replay;
  Reader r(bytes);
  if (!ReadHeader(&r, &replay.header, why)) return false;
  uint32_t ms = replay.header.start_ms;
  bool check_due = false;
  while (r.left() > 0) {
    const size_t at = r.at();
    const uint8_t tag = r.Byte();
    if (tag == kEndTag) {
      if (check_due) return Garbled("a checksum is missing", at, why);
      if (!ReadEnd(&r, &replay, why)) return false;
      *out = std::move(replay);
      return true;
    }
    if (tag == kChecksumTag) {
      if (!check_due) return Garbled("a checksum is out of place", at, why);
      if (r.left() < 8) return CutShort(why);
      replay.checksums.push_back(r.Word(8));
      check_due = false;
      continue;
    }
    const auto left = static_cast<Spin>(tag & 3u);
    const auto right = static_cast<Spin>((tag >> 2) & 3u);
    if ((tag & 0xF0u) != 0 || left > Spin::Second || right > Spin::Second)
      return Garbled("unknown record or input out of range", at, why);
    if (check_due) return Garbled("a checksum is missing", at, why);
    uint32_t advance = 0;
    const Advance read = ReadAdvance(&r, &advance);
    if (read == Advance::Short) return CutShort(why);
    if (read == Advance::Bad) return Garbled("a clock advance is out of range", at + 1, why);
    ms += advance;
    replay.frames.push_back(ReplayFrame{ms, FrameInput{{left, right}}});
    check_due = replay.frames.size() % REPLAY_CHECKSUM_EVERY == 0;
  }
  return CutShort(why);
}
