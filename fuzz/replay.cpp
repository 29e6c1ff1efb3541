// Feeds arbitrary bytes to the replay reader, and checks that whatever it accepts holds a
// checksum for every 60 frames, names sides it knows, and encodes back to the very same bytes.
#include <algorithm>
#include <cstdint>
#include <span>
#include <string>

#include "fuzz/check.h"
#include "game/replay_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  Replay replay;
  std::string why;
  if (!DecodeReplay(bytes, &replay, &why)) {
    // One line, for standard error.
    Check(!why.empty() && why.find('\n') == std::string::npos);
    return 0;
  }
  Check(replay.checksums.size() == replay.frames.size() / REPLAY_CHECKSUM_EVERY);
  for (const ReplayFrame& f : replay.frames) {
    for (const Spin s : f.input.side) Check(s <= Spin::Second);
  }
  const std::vector<uint8_t> again = EncodeReplay(replay);
  Check(std::equal(again.begin(), again.end(), bytes.begin(), bytes.end()));
  return 0;
}
