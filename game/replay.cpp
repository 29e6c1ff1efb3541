#include "game/replay.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "game/match_state.h"

static_assert(static_cast<int>(SideChoice::Kind::Cpu) == static_cast<int>(ReplaySideKind::Cpu) &&
                  static_cast<int>(SideChoice::Kind::Idle) ==
                      static_cast<int>(ReplaySideKind::Idle),
              "a recording stores the side kinds by their number");

ReplayHeader MakeReplayHeader(uint32_t seed, const SideChoice sides[SIDES], uint32_t start_ms) {
  ReplayHeader h;
  h.seed = seed;
  h.start_ms = start_ms;
  for (int side = 0; side < SIDES; ++side) {
    const bool cpu = sides[side].kind == SideChoice::Kind::Cpu;
    h.side[side] = ReplaySide{static_cast<ReplaySideKind>(sides[side].kind),
                              static_cast<uint8_t>(cpu ? sides[side].level : 0)};
  }
  return h;
}

SideChoice ReplaySideChoice(ReplaySide side) {
  return SideChoice{static_cast<SideChoice::Kind>(side.kind), side.level};
}

ReplayRecorder::~ReplayRecorder() {
  Close();
}

bool ReplayRecorder::Open(const std::string& path, std::string* error) {
  Close();
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) {
    *error = "cannot write the recording " + path + ": " + std::strerror(errno);
    return false;
  }
  path_ = path;
  return true;
}

void ReplayRecorder::Begin(const ReplayHeader& header) {
  if (file_ == nullptr) return;
  encoder_.emplace(header);
  Write();
}

void ReplayRecorder::Frame(uint32_t now_ms, FrameInput in, const GameState& after) {
  if (!encoder_) return;
  encoder_->Frame(now_ms, in);
  if (encoder_->ChecksumDue()) encoder_->Check(Checksum(after));
  if (after.match.game_state == GAME_OVER) return End(ReplayEnd::MatchOver, after);
  Write();
}

void ReplayRecorder::Finish(const GameState& s) {
  if (encoder_) return End(ReplayEnd::ProgramEnded, s);
  // Opened but never begun: the game did not start, and an empty file would only be refused.
  if (file_ != nullptr) {
    Close();
    std::remove(path_.c_str());
  }
}

void ReplayRecorder::End(ReplayEnd why, const GameState& s) {
  encoder_->End(why, Checksum(s));
  Write();
  if (file_ != nullptr && std::fclose(file_) != 0) {
    std::fprintf(stderr, "cannot finish the recording %s: %s\n", path_.c_str(),
                 std::strerror(errno));
  }
  file_ = nullptr;
  encoder_.reset();
}

void ReplayRecorder::Write() {
  const std::vector<uint8_t> bytes = encoder_->Take();
  if (file_ == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size()) return;
  // A full disk must not stop the match; the recording stops, and says so, instead.
  std::fprintf(stderr, "cannot write the recording %s: %s; recording stopped\n", path_.c_str(),
               std::strerror(errno));
  Close();
}

void ReplayRecorder::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  encoder_.reset();
}

bool LoadReplay(const std::string& path, Replay* out, std::string* why) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    *why = std::string("it cannot be read: ") + std::strerror(errno);
    return false;
  }
  // One byte more than a replay may have, so that a larger file is told apart.
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  size_t got = 0;
  while (bytes.size() <= REPLAY_MAX_BYTES && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
    bytes.insert(bytes.end(), chunk, chunk + got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    *why = "it cannot be read";
    return false;
  }
  return DecodeReplay(bytes, out, why);
}

bool ReplaySource::Advance(const GameState& after) {
  if (Ended()) return false;
  ++next_;
  // The reader makes sure there is one for every 60 frames; a recording put together otherwise
  // simply has fewer to compare.
  const size_t check = next_ / REPLAY_CHECKSUM_EVERY;
  if (next_ % REPLAY_CHECKSUM_EVERY == 0 && check <= replay_.checksums.size() &&
      Checksum(after) != replay_.checksums[check - 1]) {
    return false;
  }
  return !Ended() || Checksum(after) == replay_.final_checksum;
}
