// A fresh match on a running headless engine, with rings and hits set by hand, so that the
// rules of each state can be driven hit by hit on a clock the test controls.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/core/random.h"
#include "engine/core/vorn.h"
#include "engine/sound/soundx.h"
#include "game/match.h"
#include "platform/headless/headless_sound_buffer.h"
#include "support/headless_engine.h"

class MatchTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kStartMs = 100000;

  void SetUp() override {
    headless_ = &StartHeadlessEngine();
    headless_->SetTime(kStartMs);
    SeedRandom(1);
    for (SoundX* clip : {&hit_, &miss_, &vote_}) {
      clip->rate = 22050;
      clip->bits = 16;
      clip->channels = 1;
      clip->frames = kClipFrames;
      clip->size = kClipFrames * 2;
      clip->data = samples_;
    }
    match_.sounds = MatchSounds{&hit_, &miss_, &vote_};
    for (int p = 0; p < 2; ++p) {
      match_.players[p].score = START_SCORE;
      SetRing(p, "012301230123012301230123");
    }
  }

  void TearDown() override {
    for (SoundX* clip : {&hit_, &miss_, &vote_}) clip->data = nullptr;
  }

  // Colours of tiles 0 to 23 as 24 digits.
  void SetRing(int player, const std::string& colours) {
    ASSERT_EQ(colours.size(), 24u);
    for (int i = 0; i < 24; ++i) match_.players[player].tiles[i].colour = colours[i] - '0';
  }

  // Makes `player`'s last hit one of `colour`: tile 0 now shows the next colour, as a hit
  // leaves it. Use NO_COLOUR for no hit.
  void SetHit(int player, int colour) {
    if (colour == NO_COLOUR) {
      match_.state.last_hit[player] = NO_HIT;
      return;
    }
    match_.players[player].tiles[0].colour = (colour + 1) % 4;
    match_.state.last_hit[player] = 0;
  }

  // One frame's handling of the given hits.
  void Hits(int left_colour, int right_colour) {
    SetHit(LEFT, left_colour);
    SetHit(RIGHT, right_colour);
    match_.HandleHits();
  }

  void Advance(uint32_t ms) { headless_->Advance(ms); }
  int Now() const { return static_cast<int>(headless_->Milliseconds()); }

  // How often a clip has been played so far.
  size_t Plays(const SoundX& clip) const {
    if (clip.buffer < 0) return 0;
    const auto& buffers = headless_->SoundBuffers();
    if (static_cast<size_t>(clip.buffer) >= buffers.size()) return 0;
    auto* buffer =
        static_cast<platform::headless::HeadlessSoundBuffer*>(buffers[clip.buffer].get());
    return buffer->Plays().size();
  }

  int Score(int player) const { return match_.players[player].score; }

  static constexpr int kClipFrames = 64;
  platform::headless::HeadlessPlatform* headless_ = nullptr;
  uint8_t samples_[kClipFrames * 2] = {};
  SoundX hit_;
  SoundX miss_;
  SoundX vote_;
  Match match_;
};
