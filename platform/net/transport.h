// A connection to another machine for a network match: datagrams to and from numbered peers,
// opening and closing with a 32-bit word that says who is asking or why it ended.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace platform::net {

enum class NetEventKind : uint8_t { Connected, Received, Closed };

struct NetEvent {
  NetEventKind kind = NetEventKind::Received;
  int peer = 0;
  uint32_t word = 0;  // Connected: the joiner's word; Closed: the closer's word
  std::vector<uint8_t> bytes;
};

class Transport {
 public:
  virtual ~Transport() = default;
  // The next event, waiting at most `wait_ms` for one; false when there is none.
  virtual bool Poll(NetEvent* event, uint32_t wait_ms) = 0;
  // Unreliable datagrams may be lost, duplicated or reordered on the way; reliable ones arrive.
  virtual void Send(int peer, std::span<const uint8_t> bytes, bool reliable) = 0;
  // Ends the connection with `peer`, telling it `word`.
  virtual void Close(int peer, uint32_t word) = 0;
  // Datagrams that belonged to no connection (a stranger, a stale peer, garbage).
  virtual uint64_t stray() const = 0;
};

// ENet over UDP/IPv4. The host listens on `port` (0: any free port) for up to two peers: the
// opponent, and one more so that a third machine can be told it is refused instead of being
// ignored. The joiner connects to `address` ("a.b.c.d" or a name) presenting `word`.
std::unique_ptr<Transport> ListenEnet(uint16_t port, std::string* error);
std::unique_ptr<Transport> JoinEnet(const std::string& address, uint16_t port, uint32_t word,
                                    std::string* error);
// The port a transport opened by ListenEnet listens on.
uint16_t EnetPort(const Transport& transport);

}  // namespace platform::net
