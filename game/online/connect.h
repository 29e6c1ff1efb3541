// The meeting of two machines before a network match: the host waits for one opponent and
// tells it the match's seed and settings; the joiner presents its protocol version and waits
// for them. Both are polled once a frame, so that a window can go on drawing meanwhile.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "game/online/protocol.h"
#include "platform/net/transport.h"

namespace online {

struct Meeting {
  int peer = 0;
  Hello hello;
};

class HostWait {
 public:
  HostWait(platform::net::Transport* transport, const Hello& hello)
      : transport_(transport), hello_(hello) {}
  // The opponent once one has joined. Joiners that cannot play this match are refused and told
  // why, and `notice` says so on this side; waiting goes on.
  std::optional<Meeting> Poll(std::string* notice);

 private:
  platform::net::Transport* transport_;
  Hello hello_;
};

class JoinWait {
 public:
  JoinWait(platform::net::Transport* transport, uint64_t wall_ms)
      : transport_(transport), since_ms_(wall_ms) {}
  // The host's hello once it came. A refusal or an unanswered wait ends the attempt: `failure`
  // then says why and `failed()` is true.
  std::optional<Meeting> Poll(uint64_t wall_ms, std::string* failure);
  bool failed() const { return failed_; }

 private:
  platform::net::Transport* transport_;
  uint64_t since_ms_;
  bool failed_ = false;
};

// How long a joiner waits for the host's answer.
constexpr uint64_t kJoinWaitMs = 5000;

// What the other side's closing word means, as a sentence for the player.
std::string DescribeClosing(Closing closing);

}  // namespace online
