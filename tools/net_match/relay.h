// The relay between the host and the joiner of net-match: UDP datagrams carried both ways with
// the faults asked for. Delays are in game time: at F frames per second a game millisecond lasts
// 60 / F wall milliseconds, so a faster run sees the same network in frames.
#pragma once

#include <cstdint>
#include <queue>
#include <random>
#include <string>
#include <vector>

namespace net_match {

struct Faults {
  int loss_pct = 0;
  int delay_ms = 0;
  int jitter_ms = 0;
  int duplicate_pct = 0;
  int fps = 60;
};

class Relay {
 public:
  Relay(Faults faults, uint32_t seed) : faults_(faults), rng_(seed) {}
  ~Relay();
  // Opens the socket the joiner connects to (its port is port()) and the one that talks to the
  // host on `host_port`.
  bool Open(uint16_t host_port, std::string* error);
  uint16_t port() const { return port_; }
  int joiner_socket() const { return joiner_fd_; }
  int host_socket() const { return host_fd_; }

  // Takes what arrived on both sockets, then sends what is due. Returns the wall milliseconds
  // until the next datagram is due, or -1 when none waits.
  int Service(uint64_t now_us);

 private:
  struct Datagram {
    uint64_t due_us;
    uint64_t order;  // keeps equal due times in arrival order
    bool to_host;
    std::vector<uint8_t> bytes;
    bool operator>(const Datagram& o) const {
      return due_us != o.due_us ? due_us > o.due_us : order > o.order;
    }
  };
  void Take(int fd, bool to_host, uint64_t now_us);
  int Roll(int below) { return static_cast<int>(rng_() % static_cast<uint32_t>(below)); }

  Faults faults_;
  std::mt19937 rng_;
  int joiner_fd_ = -1;
  int host_fd_ = -1;
  uint16_t port_ = 0;
  uint16_t host_port_ = 0;
  bool joiner_known_ = false;
  uint32_t joiner_host_ = 0;  // network order
  uint16_t joiner_port_ = 0;  // network order
  uint64_t order_ = 0;
  std::priority_queue<Datagram, std::vector<Datagram>, std::greater<>> queue_;
};

}  // namespace net_match
