#include "tools/net_match/relay.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace net_match {
namespace {

constexpr size_t kLargestDatagram = 65536;

int OpenUdp(uint16_t port, uint16_t* bound, std::string* error) {
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(port);
  socklen_t size = sizeof a;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size) != 0) {
    *error = std::string("relay socket: ") + std::strerror(errno);
    if (fd >= 0) close(fd);
    return -1;
  }
  *bound = ntohs(a.sin_port);
  return fd;
}

}  // namespace

Relay::~Relay() {
  if (joiner_fd_ >= 0) close(joiner_fd_);
  if (host_fd_ >= 0) close(host_fd_);
}

bool Relay::Open(uint16_t host_port, std::string* error) {
  uint16_t unused = 0;
  host_port_ = host_port;
  joiner_fd_ = OpenUdp(0, &port_, error);
  host_fd_ = joiner_fd_ < 0 ? -1 : OpenUdp(0, &unused, error);
  return host_fd_ >= 0;
}

void Relay::Take(int fd, bool to_host, uint64_t now_us) {
  std::vector<uint8_t> buffer(kLargestDatagram);
  for (;;) {
    sockaddr_in from{};
    socklen_t size = sizeof from;
    const ssize_t got =
        recvfrom(fd, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &size);
    if (got < 0) return;
    if (to_host) {
      // Whoever talks to the joiner's side is the joiner; the host is answered there.
      joiner_known_ = true;
      joiner_host_ = from.sin_addr.s_addr;
      joiner_port_ = from.sin_port;
    }
    if (Roll(100) < faults_.loss_pct) continue;
    const int copies = Roll(100) < faults_.duplicate_pct ? 2 : 1;
    for (int i = 0; i < copies; ++i) {
      const int game_ms =
          faults_.delay_ms + (faults_.jitter_ms > 0 ? Roll(faults_.jitter_ms + 1) : 0);
      const uint64_t wall_us =
          uint64_t{static_cast<uint32_t>(game_ms)} * 60000u / static_cast<uint32_t>(faults_.fps);
      queue_.push({now_us + wall_us, order_++, to_host, {buffer.begin(), buffer.begin() + got}});
    }
  }
}

int Relay::Service(uint64_t now_us) {
  Take(joiner_fd_, true, now_us);
  Take(host_fd_, false, now_us);
  while (!queue_.empty() && queue_.top().due_us <= now_us) {
    const Datagram& d = queue_.top();
    sockaddr_in to{};
    to.sin_family = AF_INET;
    if (d.to_host) {
      to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      to.sin_port = htons(host_port_);
    } else {
      to.sin_addr.s_addr = joiner_host_;
      to.sin_port = joiner_port_;
    }
    if (d.to_host || joiner_known_) {
      sendto(d.to_host ? host_fd_ : joiner_fd_, d.bytes.data(), d.bytes.size(), 0,
             reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
    queue_.pop();
  }
  if (queue_.empty()) return -1;
  return static_cast<int>((queue_.top().due_us - now_us + 999) / 1000);
}

}  // namespace net_match
