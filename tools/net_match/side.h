// One side of net-match, run in a process of its own: it meets the other side through the relay,
// plays the match with the computer on its side, and reports on `out_fd`:
//   port=N                    (the host, once it listens)
//   side=... frames=F rollbacks=R max_rollback=M stalls=S checksum=HEX
//   log=N                     followed by N confirmed frames, two input bytes each
#pragma once

#include <cstdint>

namespace net_match {

struct SideOptions {
  bool host = true;
  uint16_t port = 0;  // the joiner's: the relay's port
  uint32_t seed = 0;  // the host's: the match's seed
  uint32_t limit = UINT32_MAX;
  int fps = 60;
  int input_delay = 2;
  int level = 2;
};

// The process's exit status: 0 when the match reached its confirmed end.
int RunSide(const SideOptions& options, int out_fd);

}  // namespace net_match
