#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <tuple>

#include "game/online/net_session.h"
#include "tests/game/online/lossy_link.h"
#include "tests/game/online/toy_game.h"

namespace online {
namespace {

using Session = NetSession<ToyGame>;
constexpr uint32_t kMatch = 99;

// Holds each key for a while, as a player does, so predictions are often but not always right.
struct Hands {
  std::mt19937 rng;
  uint8_t held = 0;
  uint8_t operator()(const ToyGame::State&, uint32_t) {
    if (rng() % 12 == 0) held = static_cast<uint8_t>(rng() % 3);
    return held;
  }
};

struct Match {
  explicit Match(LinkFaults faults, ToyGame::State start = {}, uint32_t limit = 600)
      : link(faults, 5),
        ends{std::make_unique<LossyLink::End>(&link, 0),
             std::make_unique<LossyLink::End>(&link, 1)} {
    for (int side = 0; side < 2; ++side) {
      sessions[side] =
          std::make_unique<Session>(ends[side].get(), 0, kMatch, start, side, 2, 0, limit);
      sessions[side]->rollback().KeepConfirmedInputs(&logs[side]);
    }
  }
  // Beats both sides once a tick (the second from tick `late_start`) until both ended.
  void Play(uint32_t late_start = 0, uint32_t ticks = 20000) {
    for (uint32_t t = 0; t < ticks && !(Ended(0) && Ended(1)); ++t, link.Advance()) {
      const uint64_t ms = t * 16;
      if (!Ended(0)) sessions[0]->Beat(ms, hands[0]);
      if (!Ended(1) && t >= late_start) sessions[1]->Beat(ms, hands[1]);
    }
  }
  bool Ended(int side) const { return sessions[side]->end() != SessionEnd::None; }
  uint64_t Offline(const ToyGame::State& start) const {
    ToyGame::State s = start;
    for (uint32_t f = 0; f < logs[0].size(); ++f) ToyGame::Step(s, NetClock(f), logs[0][f].input);
    return ToyGame::Checksum(s);
  }

  LossyLink link;
  std::unique_ptr<platform::net::Transport> ends[2];
  std::unique_ptr<Session> sessions[2];
  std::vector<ConfirmedFrame> logs[2];
  Hands hands[2] = {{std::mt19937(1)}, {std::mt19937(2)}};
};

TEST(NetSession, BothSidesAndAnOfflineReplayAgreeOverAPoorLink) {
  for (const LinkFaults faults :
       {LinkFaults{0, 0, 0, 0}, LinkFaults{5, 3, 2, 1}, LinkFaults{30, 9, 2, 5}}) {
    Match m(faults);
    m.Play();
    for (int side = 0; side < 2; ++side) {
      const auto& r = m.sessions[side]->rollback();
      EXPECT_EQ(std::tuple(m.sessions[side]->end(), r.finished(), r.final_checksum(),
                           m.logs[side].size()),
                std::tuple(SessionEnd::Finished, 600u, m.Offline({}), size_t{600}))
          << faults.loss_pct;
      EXPECT_LE(r.max_rollback(), static_cast<uint32_t>(kSavedStates));
      EXPECT_TRUE(faults.delay == 0 || r.rollbacks() > 0) << faults.delay;
    }
    // A link slower than eight frames makes the sides wait rather than predict further.
    EXPECT_TRUE(faults.delay <= kSavedStates || m.sessions[0]->stalls() > 0) << faults.delay;
  }
}

TEST(NetSession, TheMatchEndsAtItsConfirmedEndNotAPredictedOne) {
  ToyGame::State start;
  start.end_at = 345;
  Match m({10, 4, 3, 0}, start, UINT32_MAX);
  m.Play();
  EXPECT_EQ(m.sessions[0]->rollback().finished(), 345u);
  EXPECT_EQ(m.sessions[1]->rollback().finished(), 345u);
  EXPECT_EQ(m.sessions[1]->rollback().final_checksum(), m.Offline(start));
}

// The side that started first runs ahead; it holds now and then until the two are even, so that
// neither side's rollbacks grow with the head start.
TEST(NetSession, TheSideThatStartedFirstHoldsUntilTheyAreEven) {
  Match m({0, 2, 0, 0}, {}, 2000);
  m.Play(/*late_start=*/40, /*ticks=*/400);
  const int apart = static_cast<int>(m.sessions[0]->rollback().frame()) -
                    static_cast<int>(m.sessions[1]->rollback().frame());
  EXPECT_EQ(std::tuple(m.sessions[0]->holds() > 0, m.sessions[1]->holds(), std::abs(apart) <= 2),
            std::tuple(true, 0u, true));
}

TEST(NetSession, DifferentStatesAreFoundOutOfStepOnBothSides) {
  Match m({0, 1, 0, 0});
  ToyGame::State other;
  other.mix = 1;
  m.sessions[1] = std::make_unique<Session>(m.ends[1].get(), 0, kMatch, other, 1, 2, 0, 600);
  m.Play();
  for (const auto& session : m.sessions) {
    EXPECT_EQ(std::tuple(session->end(), session->end_frame()),
              std::tuple(SessionEnd::OutOfStep, 0u));
  }
}

TEST(NetSession, SilenceEndsTheMatch) {
  Match silent({0, 1, 0, 0});
  silent.Play(/*late_start=*/UINT32_MAX, /*ticks=*/400);  // the joiner never answers
  EXPECT_EQ(silent.sessions[0]->end(), SessionEnd::Silent);
}

TEST(NetSession, StrangersAndBadPacketsAreDroppedAndCounted) {
  Match m({0, 1, 0, 0});
  const InputPacket stale{.match_id = kMatch + 1};
  const InputPacket ahead{.match_id = kMatch, .acked = 1000};  // acknowledges inputs never sent
  for (const auto& bytes :
       {std::vector<uint8_t>{1, 2, 3}, EncodeInputs(stale), EncodeInputs(ahead)}) {
    m.link.Inject(0, {platform::net::NetEventKind::Received, 0, 0, bytes});
  }
  m.link.Inject(0, {platform::net::NetEventKind::Connected, 1, JoinWord(), {}});
  m.Play();
  EXPECT_EQ(m.sessions[0]->dropped(), 3u);
  EXPECT_EQ(m.sessions[0]->end(), SessionEnd::Finished);
  ASSERT_FALSE(m.link.closes[0].empty());
  EXPECT_EQ(ReadCloseWord(m.link.closes[0][0]).reason, CloseReason::Full);
}

}  // namespace
}  // namespace online
