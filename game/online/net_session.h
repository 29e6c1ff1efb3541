// A network match in progress: the rollback of the match, fed by the packets of the other side,
// answered with this side's packets, kept in step with the other side, and ended for one reason.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>

#include "game/online/protocol.h"
#include "game/online/rollback.h"
#include "platform/net/transport.h"

namespace online {

// Wall time without a word from the other side after which the match is given up.
constexpr uint64_t kSilenceMs = 3000;
// The side that runs ahead holds at most one frame in this many.
constexpr uint32_t kHoldEvery = 10;

enum class SessionEnd : uint8_t {
  None,
  Finished,   // the match reached its confirmed end on both sides
  Left,       // the other side closed before the end
  Silent,     // nothing from the other side for kSilenceMs
  OutOfStep,  // the two sides' checksums differed
};

enum class TickKind : uint8_t { Played, Held, Stalled, Ended };

template <class Game>
class NetSession {
 public:
  using State = typename Game::State;
  using Sounds = typename Game::Sounds;

  struct Tick {
    TickKind kind = TickKind::Stalled;
    Sounds sounds{};
  };

  NetSession(platform::net::Transport* transport, int peer, uint32_t match_id, const State& start,
             int local_side, int input_delay, uint64_t wall_ms, uint32_t limit = UINT32_MAX)
      : transport_(transport),
        peer_(peer),
        match_id_(match_id),
        rollback_(start, local_side, input_delay, limit),
        last_heard_ms_(wall_ms) {}

  Rollback<Game>& rollback() { return rollback_; }
  const Rollback<Game>& rollback() const { return rollback_; }
  SessionEnd end() const { return end_; }
  // The checksum frame the sides disagreed on, or the reason word the other side closed with.
  uint32_t end_frame() const { return end_frame_; }
  Closing closing() const { return closing_; }
  uint32_t stalls() const { return stalls_; }
  uint32_t holds() const { return holds_; }
  // Packets thrown away: those the session refused and the stray datagrams the transport saw.
  uint64_t dropped() const { return dropped_ + transport_->stray(); }

  // One beat of the frame clock: reads what arrived, then plays the next frame unless the other
  // side is too far behind (a stall) or this side runs ahead (a hold), then sends this side's
  // packet. `read_input` is asked for the local input only when a frame is played.
  template <class ReadInput>
  Tick Beat(uint64_t wall_ms, ReadInput&& read_input) {
    Receive(wall_ms);
    Tick tick;
    if (!Judge(wall_ms)) {
      tick.kind = TickKind::Ended;
      return tick;
    }
    if (!rollback_.CanAdvance()) {
      if (!rollback_.finished()) ++stalls_;
    } else if (ShouldHold()) {
      ++holds_;
      since_hold_ = 0;
      tick.kind = TickKind::Held;
    } else {
      ++since_hold_;
      tick.sounds = rollback_.Advance(read_input(rollback_.live(), NetClock(rollback_.frame())));
      tick.kind = TickKind::Played;
    }
    Send();
    return tick;
  }

  // Ends the match from this side (the window closed, the player quit).
  void Leave() {
    if (end_ != SessionEnd::None) return;
    transport_->Close(peer_, CloseWord({CloseReason::None, 0}));
    end_ = SessionEnd::Left;
  }

 private:
  void Receive(uint64_t wall_ms) {
    platform::net::NetEvent event;
    while (transport_->Poll(&event, 0)) {
      if (event.peer != peer_) {
        // A third machine: told why, then forgotten.
        if (event.kind == platform::net::NetEventKind::Connected) {
          transport_->Close(event.peer, CloseWord({CloseReason::Full, 0}));
        } else if (event.kind == platform::net::NetEventKind::Received) {
          ++dropped_;
        }
        continue;
      }
      switch (event.kind) {
        case platform::net::NetEventKind::Received:
          if (Apply(event.bytes)) last_heard_ms_ = wall_ms;
          break;
        case platform::net::NetEventKind::Closed:
          gone_ = true;
          closing_ = ReadCloseWord(event.word);
          break;
        case platform::net::NetEventKind::Connected:
          break;
      }
    }
  }

  // Takes a packet only when all of it makes sense against this side's own progress.
  bool Apply(const std::vector<uint8_t>& bytes) {
    if (PeekKind(bytes) == PacketKind::Hello) return true;  // a repeated hello: still alive
    const std::optional<InputPacket> p = DecodeInputs(bytes);
    // The other side never plays more than kSavedStates frames past the inputs it has of this
    // side, and never holds more inputs than this side made.
    const uint32_t furthest = rollback_.local_known() + kSavedStates;
    if (!p || p->match_id != match_id_ || p->acked > rollback_.local_known() ||
        p->frame > furthest || p->sum_frame > p->frame || p->first > rollback_.remote_known()) {
      ++dropped_;
      return false;
    }
    rollback_.Acknowledge(p->acked);
    rollback_.AddRemote(p->first, p->inputs, p->count);
    rollback_.RemoteChecksum(p->sum_frame, p->sum);
    if (p->frame >= remote_frame_) {
      remote_frame_ = p->frame;
      remote_advantage_ = p->advantage;
    }
    return true;
  }

  // Decides whether the match goes on; false once it has ended.
  bool Judge(uint64_t wall_ms) {
    if (end_ != SessionEnd::None) return false;
    if (const auto frame = rollback_.out_of_step()) {
      End(SessionEnd::OutOfStep, {CloseReason::OutOfStep, *frame});
      end_frame_ = *frame;
    } else if (closing_.reason == CloseReason::OutOfStep) {
      end_ = SessionEnd::OutOfStep;
      end_frame_ = closing_.value;
    } else if (const auto last = rollback_.finished()) {
      // Stays until the other side holds every input it needs to reach the same end (or can no
      // longer be told).
      if (gone_ || rollback_.acked() >= *last || wall_ms - last_heard_ms_ > kSilenceMs) {
        End(SessionEnd::Finished, {CloseReason::Done, 0});
      }
    } else if (gone_) {
      // Frames whose inputs all arrived before the other side closed can still be confirmed.
      if (rollback_.confirmed() >= rollback_.remote_known()) end_ = SessionEnd::Left;
    } else if (wall_ms - last_heard_ms_ > kSilenceMs) {
      End(SessionEnd::Silent, {CloseReason::None, 0});
    }
    return end_ == SessionEnd::None;
  }

  void End(SessionEnd end, Closing closing) {
    end_ = end;
    if (!gone_) transport_->Close(peer_, CloseWord(closing));
  }

  int LocalAdvantage() const {
    return static_cast<int>(rollback_.frame()) - static_cast<int>(remote_frame_);
  }

  // Each side sees the other's frame late by the same trip, so half the difference of the two
  // sides' views is how far this side runs ahead.
  bool ShouldHold() const {
    if (gone_ || since_hold_ + 1 < kHoldEvery) return false;
    return (LocalAdvantage() - remote_advantage_) / 2 >= 1;
  }

  void Send() {
    if (gone_) return;
    InputPacket p;
    p.match_id = match_id_;
    p.frame = rollback_.frame();
    p.advantage = static_cast<int8_t>(std::clamp(LocalAdvantage(), -127, 127));
    p.acked = rollback_.remote_known();
    p.sum_frame = rollback_.sum_frame();
    p.sum = rollback_.sum();
    p.count = static_cast<uint8_t>(rollback_.Unacked(&p.first, p.inputs, kMaxInputsPerPacket));
    transport_->Send(peer_, EncodeInputs(p), false);
  }

  platform::net::Transport* transport_;
  int peer_;
  uint32_t match_id_;
  Rollback<Game> rollback_;
  uint64_t last_heard_ms_;
  uint32_t remote_frame_ = 0;
  int remote_advantage_ = 0;
  uint32_t since_hold_ = 0;
  bool gone_ = false;
  Closing closing_;
  SessionEnd end_ = SessionEnd::None;
  uint32_t end_frame_ = 0;
  uint32_t stalls_ = 0;
  uint32_t holds_ = 0;
  uint64_t dropped_ = 0;
};

}  // namespace online
