// The rollback session between two sides joined by a link that loses, delays, jitters,
// duplicates and so reorders datagrams, in ticks of a clock the test advances.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <tuple>

#include "game/online/net_session.h"
#include "tests/game/online/toy_game.h"

namespace online {
namespace {

using Session = NetSession<ToyGame>;
using platform::net::NetEvent, platform::net::NetEventKind;
constexpr uint32_t kMatch = 99;

// Delay and jitter (added at random, 0 to this) in ticks.
struct LinkFaults {
  int loss_pct = 0, delay = 0, jitter = 0, duplicate_pct = 0;
};

// Reliable sends and closings always arrive.
class LossyLink {
 public:
  LossyLink(LinkFaults faults, uint32_t seed) : faults_(faults), rng_(seed) {}

  class End : public platform::net::Transport {
   public:
    End(LossyLink* link, int side) : link_(link), side_(side) {}
    bool Poll(NetEvent* event, uint32_t) override { return link_->Take(side_, event); }
    void Send(int, std::span<const uint8_t> bytes, bool reliable) override {
      link_->Carry(1 - side_, {NetEventKind::Received, 0, 0, {bytes.begin(), bytes.end()}},
                   !reliable);
    }
    void Close(int peer, uint32_t word) override {
      link_->closes[side_].push_back(word);
      if (peer == 0) link_->Carry(1 - side_, {NetEventKind::Closed, 0, word, {}}, false);
    }
    uint64_t stray() const override { return 0; }
    LossyLink* link_;
    int side_;
  };

  void Advance() { ++tick_; }
  // Something only side `to` receives, next time it polls.
  void Inject(int to, NetEvent event) { flight_.emplace_back(tick_, to, std::move(event)); }
  std::vector<uint32_t> closes[2];  // the words each side closed with, to any peer

 private:
  bool Take(int to, NetEvent* event) {
    for (auto it = flight_.begin(); it != flight_.end(); ++it)
      if (auto& [at, side, e] = *it; side == to && at <= tick_)
        return *event = std::move(e), flight_.erase(it), true;
    return false;
  }
  void Carry(int to, const NetEvent& event, bool faulty) {
    if (faulty && Roll(100) < faults_.loss_pct) return;
    for (int i = faulty && Roll(100) < faults_.duplicate_pct ? 2 : 1; i > 0; --i)
      flight_.push_back(
          {tick_ + static_cast<uint32_t>(faulty ? faults_.delay + Roll(faults_.jitter + 1) : 0), to,
           event});
  }
  int Roll(int below) { return static_cast<int>(rng_() % static_cast<uint32_t>(below)); }

  LinkFaults faults_;
  std::mt19937 rng_;
  uint32_t tick_ = 0;
  std::vector<std::tuple<uint32_t, int, NetEvent>> flight_;  // arrival tick, receiver, event
};

// Holds each key for a while, as a player does, so predictions are often but not always right.
struct Hands {
  std::mt19937 rng;
  uint8_t held = 0;
  uint8_t operator()(const ToyGame::State&, uint32_t) {
    return rng() % 12 ? held : held = static_cast<uint8_t>(rng() % 3);
  }
};

struct Match {
  explicit Match(LinkFaults faults, ToyGame::State state = {}, uint32_t limit = 600)
      : link(faults, 5), start(state) {
    for (int side = 0; side < 2; ++side) Open(side, state, limit);
  }
  void Open(int side, const ToyGame::State& state, uint32_t limit = 600) {
    sessions[side] = std::make_unique<Session>(&ends[side], 0, kMatch, state, side, 2, 0, limit);
    sessions[side]->rollback().KeepConfirmedInputs(&logs[side]);
  }
  // Beats both sides once a tick (the second from tick `late_start`) until both ended.
  void Play(uint32_t late_start = 0, uint32_t ticks = 20000) {
    for (uint32_t t = 0; t < ticks && !(Ended(0) && Ended(1)); ++t, link.Advance()) {
      if (!Ended(0)) sessions[0]->Beat(t * 16, hands[0]);
      if (!Ended(1) && t >= late_start) sessions[1]->Beat(t * 16, hands[1]);
    }
  }
  bool Ended(int side) const { return sessions[side]->end() != SessionEnd::None; }
  uint64_t Offline() const {
    ToyGame::State s = start;
    for (uint32_t f = 0; f < logs[0].size(); ++f) ToyGame::Step(s, NetClock(f), logs[0][f].input);
    return ToyGame::Checksum(s);
  }

  LossyLink link;
  const ToyGame::State start;
  LossyLink::End ends[2] = {{&link, 0}, {&link, 1}};
  std::unique_ptr<Session> sessions[2];
  std::vector<ConfirmedFrame> logs[2];
  Hands hands[2] = {{std::mt19937(1)}, {std::mt19937(2)}};
};

// Both sides, and an offline replay of what they confirmed, agree over links from perfect to poor.
// A link slower than eight frames makes the sides wait rather than predict further. A match ends
// at its confirmed end (frame 345 here), not at one a prediction reached first.
TEST(NetSession, BothSidesAndAnOfflineReplayAgreeOverAPoorLink) {
  // clang-format off
  const struct { LinkFaults faults; uint32_t end_at, limit; } cases[] = {
      {{0, 0, 0, 0}, UINT32_MAX, 600}, {{5, 3, 2, 1}, UINT32_MAX, 600},
      {{30, 9, 2, 5}, UINT32_MAX, 600}, {{10, 4, 3, 0}, 345, UINT32_MAX}};
  // clang-format on
  for (const auto& [faults, end_at, limit] : cases) {
    SCOPED_TRACE(testing::Message() << faults.loss_pct << "% lost, " << faults.delay << " late");
    Match m(faults, {.end_at = end_at}, limit);
    m.Play();
    const uint32_t last = std::min(end_at, limit);
    for (int side = 0; side < 2; ++side) {
      const auto& r = m.sessions[side]->rollback();
      EXPECT_EQ(std::tuple(m.sessions[side]->end(), r.finished(), r.final_checksum(),
                           m.logs[side].size()),
                std::tuple(SessionEnd::Finished, last, m.Offline(), size_t{last}));
      EXPECT_TRUE(r.max_rollback() <= kSavedStates && (faults.delay == 0 || r.rollbacks() > 0));
    }
    EXPECT_TRUE(faults.delay <= kSavedStates || m.sessions[0]->stalls() > 0);
  }
}

// The side that started first runs ahead; it holds now and then until the two are even, so that
// neither side's rollbacks grow with the head start.
TEST(NetSession, TheSideThatStartedFirstHoldsUntilTheyAreEven) {
  Match m({0, 2, 0, 0}, {}, 2000);
  m.Play(/*late_start=*/40, /*ticks=*/400);
  const auto frame = [&m](int side) { return int64_t{m.sessions[side]->rollback().frame()}; };
  EXPECT_EQ(std::tuple(m.sessions[0]->holds() > 0, m.sessions[1]->holds(),
                       std::abs(frame(0) - frame(1)) <= 2),
            std::tuple(true, 0u, true));
}

// Different states are found out of step on both sides; a joiner that never answers ends the
// match by its silence.
TEST(NetSession, OutOfStepAndSilenceEndTheMatch) {
  Match m({0, 1, 0, 0});
  m.Open(1, {.mix = 1});
  m.Play();
  for (const auto& session : m.sessions)
    EXPECT_EQ(std::tuple(session->end(), session->end_frame()),
              std::tuple(SessionEnd::OutOfStep, 0u));
  Match silent({0, 1, 0, 0});
  silent.Play(/*late_start=*/UINT32_MAX, /*ticks=*/400);
  EXPECT_EQ(silent.sessions[0]->end(), SessionEnd::Silent);
}

// Garbage, a stale match's packet and one that acknowledges inputs never sent are dropped; a third
// peer is turned away as the match is full.
TEST(NetSession, StrangersAndBadPacketsAreDroppedAndCounted) {
  Match m({0, 1, 0, 0});
  for (const auto& bytes : {std::vector<uint8_t>{1, 2, 3}, EncodeInputs({.match_id = kMatch + 1}),
                            EncodeInputs({.match_id = kMatch, .acked = 1000})})
    m.link.Inject(0, {NetEventKind::Received, 0, 0, bytes});
  m.link.Inject(0, {NetEventKind::Connected, 1, JoinWord(), {}});
  m.Play();
  EXPECT_EQ(std::tuple(m.sessions[0]->dropped(), m.sessions[0]->end()),
            std::tuple(3u, SessionEnd::Finished));
  EXPECT_EQ(ReadCloseWord(m.link.closes[0].at(0)).reason, CloseReason::Full);
}

}  // namespace
}  // namespace online
