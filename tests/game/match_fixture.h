// A fresh match on a running headless engine, with rings and hits set by hand, so that the
// rules of each state can be driven hit by hit on a clock the test controls.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/core/random.h"
#include "engine/sound/soundx.h"
#include "game/match.h"
#include "platform/headless/headless_sound_buffer.h"
#include "support/headless_engine.h"

class MatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless_ = &StartHeadlessEngine();
    headless_->SetTime(100000);
    SeedRandom(1);
    for (SoundX* clip : {&hit_, &miss_, &vote_}) {
      clip->rate = 22050;
      clip->bits = 16;
      clip->channels = 1;
      clip->frames = sizeof samples_ / 2;
      clip->size = sizeof samples_;
      clip->data = samples_;
    }
    match_.sounds = MatchSounds{&hit_, &miss_, &vote_};
    for (int p = 0; p < 2; ++p) {
      match_.players[p].score = START_SCORE;
      SetRing(p, "012301230123012301230123");
    }
  }
  void TearDown() override {
    for (SoundX* clip : {&hit_, &miss_, &vote_}) clip->data = nullptr;  // not ours to free
  }

  // Colours of tiles 0 to 23 as 24 digits.
  void SetRing(int player, const std::string& colours) {
    for (int i = 0; i < 24; ++i) match_.players[player].tiles[i].colour = colours.at(i) - '0';
  }
  // One frame's handling of a hit of each colour (NO_COLOUR: no hit). The hit tile is tile 0,
  // left showing the next colour as a hit leaves it.
  void Hits(int left_colour, int right_colour) {
    const int colours[2] = {left_colour, right_colour};
    for (int p = 0; p < 2; ++p) {
      match_.state.last_hit[p] = colours[p] == NO_COLOUR ? NO_HIT : 0;
      if (colours[p] != NO_COLOUR) match_.players[p].tiles[0].colour = (colours[p] + 1) % 4;
    }
    match_.HandleHits();
  }
  void Advance(uint32_t ms) { headless_->Advance(ms); }
  int Now() const { return static_cast<int>(headless_->Milliseconds()); }
  int Score(int player) const { return match_.players[player].score; }
  // How often a clip has been played; each play rewinds it to its start.
  size_t Plays(const SoundX& clip) const {
    if (clip.buffer < 0) return 0;
    const auto* buffer = static_cast<platform::headless::HeadlessSoundBuffer*>(
        headless_->SoundBuffers().at(clip.buffer).get());
    for (const auto& play : buffer->Plays()) EXPECT_EQ(play.position, 0u);
    return buffer->Plays().size();
  }

  platform::headless::HeadlessPlatform* headless_ = nullptr;
  uint8_t samples_[128] = {};
  SoundX hit_, miss_, vote_;
  Match match_;
};
