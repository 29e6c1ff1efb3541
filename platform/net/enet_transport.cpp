// The transport on ENet: one channel, input packets unsequenced, the hello reliable.
#include <enet/enet.h>

#include <map>

#include "platform/net/transport.h"

namespace platform::net {
namespace {

constexpr size_t kPeers = 2;
constexpr size_t kChannels = 1;
constexpr enet_uint32 kCloseWaitMs = 500;
// How long ENet lets a reliable command go unacknowledged before it cuts the peer, during a
// match. ENet pings with reliable commands and backs off doubling between tries, so on a line
// that loses 30% each way, one ping in a few hundred is never answered within its default limits
// (five seconds, at most thirty), and a long match then ends though its inputs keep flowing. The
// match has its own silence rule; ENet's cut is left only as a last resort, inside the day after
// which ENet's clock wraps.
constexpr enet_uint32 kPeerTimeoutMs = 12 * 60 * 60 * 1000;

// enet_initialize once for the process, whatever the number of transports.
bool StartEnet() {
  static const bool started = enet_initialize() == 0;
  return started;
}

class EnetTransport;
// The intercept hook gets the ENet host only; this finds its transport.
// Never destroyed: a transport held by a static object may close after it would have been.
std::map<const ENetHost*, EnetTransport*>& Owners() {
  static auto* owners = new std::map<const ENetHost*, EnetTransport*>;
  return *owners;
}

class EnetTransport : public Transport {
 public:
  explicit EnetTransport(ENetHost* host) : host_(host) {
    Owners()[host_] = this;
    host_->intercept = &EnetTransport::Intercept;
  }
  ~EnetTransport() override {
    // A closing word is sent reliably, so it needs the host serviced until the other side
    // acknowledges it; a short wait, then whatever is left is cut.
    bool open = false;
    for (size_t i = 0; i < host_->peerCount; ++i) {
      ENetPeer* peer = &host_->peers[i];
      if (peer->state == ENET_PEER_STATE_CONNECTED) enet_peer_disconnect(peer, 0);
      open = open || peer->state != ENET_PEER_STATE_DISCONNECTED;
    }
    ENetEvent e;
    const enet_uint32 until = enet_time_get() + kCloseWaitMs;
    while (open && enet_time_get() < until) {
      if (enet_host_service(host_, &e, 10) > 0 && e.type == ENET_EVENT_TYPE_RECEIVE) {
        enet_packet_destroy(e.packet);
      }
      open = false;
      for (size_t i = 0; i < host_->peerCount; ++i) {
        open = open || host_->peers[i].state != ENET_PEER_STATE_DISCONNECTED;
      }
    }
    for (size_t i = 0; i < host_->peerCount; ++i) enet_peer_reset(&host_->peers[i]);
    Owners().erase(host_);
    enet_host_destroy(host_);
  }

  bool Poll(NetEvent* out, uint32_t wait_ms) override {
    ENetEvent e;
    if (enet_host_service(host_, &e, wait_ms) > 0) {
      const int peer = static_cast<int>(e.peer - host_->peers);
      switch (e.type) {
        case ENET_EVENT_TYPE_CONNECT:
          // ENet's packet throttle drops unsequenced packets when the round trip varies; the
          // inputs are repeated in every packet anyway, so every one of them is sent.
          enet_peer_throttle_configure(e.peer, ENET_PEER_PACKET_THROTTLE_INTERVAL,
                                       ENET_PEER_PACKET_THROTTLE_SCALE, 0);
          e.peer->packetThrottle = ENET_PEER_PACKET_THROTTLE_SCALE;
          enet_peer_timeout(e.peer, ENET_PEER_TIMEOUT_LIMIT, kPeerTimeoutMs, kPeerTimeoutMs);
          *out = {NetEventKind::Connected, peer, e.data, {}};
          return true;
        case ENET_EVENT_TYPE_RECEIVE:
          *out = {NetEventKind::Received,
                  peer,
                  0,
                  {e.packet->data, e.packet->data + e.packet->dataLength}};
          enet_packet_destroy(e.packet);
          return true;
        case ENET_EVENT_TYPE_DISCONNECT:
          *out = {NetEventKind::Closed, peer, e.data, {}};
          return true;
        case ENET_EVENT_TYPE_NONE:
          break;
      }
    }
    return false;
  }

  void Send(int peer, std::span<const uint8_t> bytes, bool reliable) override {
    ENetPeer* p = Peer(peer);
    if (p == nullptr || p->state != ENET_PEER_STATE_CONNECTED) return;
    ENetPacket* packet =
        enet_packet_create(bytes.data(), bytes.size(),
                           reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED);
    if (packet != nullptr && enet_peer_send(p, 0, packet) != 0) enet_packet_destroy(packet);
    enet_host_flush(host_);
  }

  void Close(int peer, uint32_t word) override {
    ENetPeer* p = Peer(peer);
    if (p == nullptr || p->state == ENET_PEER_STATE_DISCONNECTED) return;
    // A closing connection gives up on ENet's own limits, so that a peer that never answers the
    // closing word does not hold its slot for hours.
    enet_peer_timeout(p, 0, 0, 0);
    enet_peer_disconnect(p, word);
    enet_host_flush(host_);
  }

  uint64_t stray() const override { return stray_; }

  ENetHost* host() const { return host_; }

 private:
  ENetPeer* Peer(int peer) const {
    return peer >= 0 && static_cast<size_t>(peer) < host_->peerCount ? &host_->peers[peer]
                                                                     : nullptr;
  }

  // ENet drops, without a word, datagrams that belong to no connection. They are counted here,
  // with ENet's own tests, and kept from ENet.
  static int Intercept(ENetHost* host, ENetEvent*) {
    auto it = Owners().find(host);
    if (it == Owners().end()) return 0;
    if (IsStray(host)) {
      ++it->second->stray_;
      return 1;
    }
    return 0;
  }

  static bool IsStray(const ENetHost* host) {
    const uint8_t* data = host->receivedData;
    const size_t size = host->receivedDataLength;
    if (size < sizeof(enet_uint16)) return true;
    const unsigned word = static_cast<unsigned>(data[0]) << 8 | data[1];
    const unsigned flags = word & ENET_PROTOCOL_HEADER_FLAG_MASK;
    const unsigned session =
        (word & ENET_PROTOCOL_HEADER_SESSION_MASK) >> ENET_PROTOCOL_HEADER_SESSION_SHIFT;
    const unsigned id = word & ~static_cast<unsigned>(ENET_PROTOCOL_HEADER_FLAG_MASK |
                                                      ENET_PROTOCOL_HEADER_SESSION_MASK);
    const size_t header = (flags & ENET_PROTOCOL_HEADER_FLAG_SENT_TIME) != 0 ? 4 : 2;
    if (id == ENET_PROTOCOL_MAXIMUM_PEER_ID) {
      // Only a request to connect may come from no peer.
      return size <= header || (flags & ENET_PROTOCOL_HEADER_FLAG_COMPRESSED) != 0 ||
             (data[header] & ENET_PROTOCOL_COMMAND_MASK) != ENET_PROTOCOL_COMMAND_CONNECT;
    }
    if (id >= host->peerCount) return true;
    const ENetPeer& peer = host->peers[id];
    return peer.state == ENET_PEER_STATE_DISCONNECTED || peer.state == ENET_PEER_STATE_ZOMBIE ||
           peer.address.host != host->receivedAddress.host ||
           peer.address.port != host->receivedAddress.port ||
           (peer.outgoingPeerID < ENET_PROTOCOL_MAXIMUM_PEER_ID &&
            session != peer.incomingSessionID);
  }

  ENetHost* host_;
  uint64_t stray_ = 0;
};

std::unique_ptr<Transport> Open(const ENetAddress* bind, size_t peers, std::string* error) {
  if (!StartEnet()) {
    *error = "the network library did not start";
    return nullptr;
  }
  ENetHost* host = enet_host_create(bind, peers, kChannels, 0, 0);
  if (host == nullptr) {
    *error = bind != nullptr ? "cannot listen on UDP port " + std::to_string(bind->port)
                             : "cannot open a UDP socket";
    return nullptr;
  }
  return std::make_unique<EnetTransport>(host);
}

}  // namespace

std::unique_ptr<Transport> ListenEnet(uint16_t port, std::string* error) {
  ENetAddress address;
  address.host = ENET_HOST_ANY;
  address.port = port;
  return Open(&address, kPeers, error);
}

std::unique_ptr<Transport> JoinEnet(const std::string& name, uint16_t port, uint32_t word,
                                    std::string* error) {
  auto transport = Open(nullptr, 1, error);
  if (transport == nullptr) return nullptr;
  ENetAddress address;
  address.port = port;
  if (enet_address_set_host(&address, name.c_str()) != 0) {
    *error = "cannot find the address of " + name;
    return nullptr;
  }
  auto* enet = static_cast<EnetTransport*>(transport.get());
  if (enet_host_connect(enet->host(), &address, kChannels, word) == nullptr) {
    *error = "cannot connect to " + name;
    return nullptr;
  }
  return transport;
}

uint16_t EnetPort(const Transport& transport) {
  ENetAddress address{};
  const auto& enet = static_cast<const EnetTransport&>(transport);
  if (enet_socket_get_address(enet.host()->socket, &address) != 0) return 0;
  return address.port;
}

}  // namespace platform::net
