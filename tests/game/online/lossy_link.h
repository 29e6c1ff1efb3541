// Two transports joined through a link that loses, delays, jitters, duplicates and so reorders
// datagrams, in ticks of a clock the test advances.
#pragma once

#include <memory>
#include <random>
#include <vector>

#include "platform/net/transport.h"

struct LinkFaults {
  int loss_pct = 0;
  int delay = 0;   // ticks
  int jitter = 0;  // ticks added at random, 0 to this
  int duplicate_pct = 0;
};

class LossyLink {
 public:
  LossyLink(LinkFaults faults, uint32_t seed) : faults_(faults), rng_(seed) {}

  std::unique_ptr<platform::net::Transport> End(int side);
  void Advance() { ++tick_; }
  // Something only side `to` receives, next time it polls.
  void Inject(int to, platform::net::NetEvent event) { flight_.push_back({tick_, to, event}); }
  std::vector<uint32_t> closes[2];  // words each side closed with, to any peer

 private:
  friend class LinkEnd;
  struct InFlight {
    uint32_t at;
    int to;
    platform::net::NetEvent event;
  };
  void Carry(int to, platform::net::NetEvent event, bool faulty);
  bool Take(int to, platform::net::NetEvent* event);
  int Roll(int below) { return static_cast<int>(rng_() % static_cast<uint32_t>(below)); }

  LinkFaults faults_;
  std::mt19937 rng_;
  uint32_t tick_ = 0;
  std::vector<InFlight> flight_;
};

inline bool LossyLink::Take(int to, platform::net::NetEvent* event) {
  for (auto it = flight_.begin(); it != flight_.end(); ++it) {
    if (it->to == to && it->at <= tick_) {
      *event = std::move(it->event);
      flight_.erase(it);
      return true;
    }
  }
  return false;
}

inline void LossyLink::Carry(int to, platform::net::NetEvent event, bool faulty) {
  if (!faulty) return flight_.push_back({tick_, to, std::move(event)});
  if (Roll(100) < faults_.loss_pct) return;
  const int copies = Roll(100) < faults_.duplicate_pct ? 2 : 1;
  for (int i = 0; i < copies; ++i) {
    const int late = faults_.delay + (faults_.jitter > 0 ? Roll(faults_.jitter + 1) : 0);
    flight_.push_back({tick_ + static_cast<uint32_t>(late), to, event});
  }
}

class LinkEnd : public platform::net::Transport {
 public:
  LinkEnd(LossyLink* link, int side) : link_(link), side_(side) {}
  bool Poll(platform::net::NetEvent* event, uint32_t) override { return link_->Take(side_, event); }
  void Send(int, std::span<const uint8_t> bytes, bool reliable) override {
    link_->Carry(1 - side_,
                 {platform::net::NetEventKind::Received, 0, 0, {bytes.begin(), bytes.end()}},
                 !reliable);
  }
  void Close(int peer, uint32_t word) override {
    link_->closes[side_].push_back(word);
    if (peer == 0)
      link_->Carry(1 - side_, {platform::net::NetEventKind::Closed, 0, word, {}}, false);
  }
  uint64_t stray() const override { return 0; }

 private:
  LossyLink* link_;
  int side_;
};

inline std::unique_ptr<platform::net::Transport> LossyLink::End(int side) {
  return std::make_unique<LinkEnd>(this, side);
}
