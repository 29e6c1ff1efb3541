// Two transports joined through a link that loses, delays, jitters, duplicates and so reorders
// datagrams, in ticks of a clock the test advances. Reliable sends and closings always arrive.
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
  using Event = platform::net::NetEvent;
  LossyLink(LinkFaults faults, uint32_t seed) : faults_(faults), rng_(seed) {}

  class End : public platform::net::Transport {
   public:
    End(LossyLink* link, int side) : link_(link), side_(side) {}
    bool Poll(Event* event, uint32_t) override { return link_->Take(side_, event); }
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

  void Advance() { ++tick_; }
  // Something only side `to` receives, next time it polls.
  void Inject(int to, Event event) { flight_.push_back({tick_, to, std::move(event)}); }
  std::vector<uint32_t> closes[2];  // the words each side closed with, to any peer

 private:
  struct InFlight {
    uint32_t at;
    int to;
    Event event;
  };

  bool Take(int to, Event* event) {
    for (auto it = flight_.begin(); it != flight_.end(); ++it) {
      if (it->to == to && it->at <= tick_) {
        *event = std::move(it->event);
        flight_.erase(it);
        return true;
      }
    }
    return false;
  }
  void Carry(int to, Event event, bool faulty) {
    if (faulty && Roll(100) < faults_.loss_pct) return;
    const int copies = faulty && Roll(100) < faults_.duplicate_pct ? 2 : 1;
    for (int i = 0; i < copies; ++i) {
      const int late = faulty ? faults_.delay + Roll(faults_.jitter + 1) : 0;
      flight_.push_back({tick_ + static_cast<uint32_t>(late), to, event});
    }
  }
  int Roll(int below) { return static_cast<int>(rng_() % static_cast<uint32_t>(below)); }

  LinkFaults faults_;
  std::mt19937 rng_;
  uint32_t tick_ = 0;
  std::vector<InFlight> flight_;
};
