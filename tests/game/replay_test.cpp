// Recordings: a match recorded in the game plays back to the same state, a changed input is
// caught, and files that are cut short, of another version or garbled are refused.
#include "game/replay.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "game/replay_run.h"
#include "game/step.h"
#include "game_fixture.h"

namespace {

// A pass of the program's loop: waiting messages, then a frame. False once the program quits.
bool Pass(platform::headless::HeadlessPlatform* headless) {
  headless->Advance(16);
  return Pump(*headless) && (GameRun(), true);
}

// The game records 300 frames with the left key and then the right arrow held, the window is
// closed, and the recording is played back in the game: every checksum on the way and the final
// state match, and the picture of the last frame is the same.
TEST(ReplayTest, GameRecordsAndReplaysTheSameMatch) {
  ASSERT_TRUE(WriteGameData());
  std::string error;
  ASSERT_TRUE(RecordTo("match.vrp", &error)) << error;
  FixGameSeed(11);
  auto& headless = StartGame({.start_time = 7000});
  ASSERT_EQ(Vorn.status, STATUS_RUNNING);
  for (int frame = 0; frame < 300; ++frame) {
    Vorn.keys['D'] = frame > 200 && frame < 260;
    Vorn.keys[platform::VK_RIGHT] = frame > 240;
    ASSERT_TRUE(Pass(&headless));
  }
  const auto recorded = std::tuple(Checksum(game), headless.LastFrame()->checksum, size_t{0});
  EndRecording(game);
#ifdef VORN_REPLAY_SEED_DIR
  std::filesystem::create_directories(VORN_REPLAY_SEED_DIR);
  std::filesystem::copy_file("match.vrp", VORN_REPLAY_SEED_DIR "/game-300-frames.vrp",
                             std::filesystem::copy_options::overwrite_existing);
#endif
  ASSERT_TRUE(ReplayFrom("match.vrp", &error)) << error;
  auto& again = StartGame({.start_time = 123});
  int passes = 0;
  while (Pass(&again)) ++passes;
  // 300 frames, then the final picture held for two seconds, then the program ends by itself.
  EXPECT_NEAR(passes, 300 + 2000 / 16 + 1, 1);
  EXPECT_EQ(std::tuple(Checksum(game), again.LastFrame()->checksum, again.MessageBoxes().size()),
            recorded);
}

// Escape stops a replay in the game window at once; a match that no longer follows the recording
// stops at the first checksum that differs, with a message.
TEST(ReplayTest, EscapeOrAMatchThatDiffersStopsAReplay) {
  ASSERT_TRUE(WriteGameData());
  Replay r;
  for (uint32_t i = 0; i < 600; ++i) r.frames.push_back(ReplayFrame{16 * i, {}});
  r.checksums.assign(10, 0);
  const std::vector<uint8_t> bytes = EncodeReplay(r);
  std::ofstream("idle.vrp", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
  for (const bool escape : {true, false}) {
    std::string error;
    ASSERT_TRUE(ReplayFrom("idle.vrp", &error)) << error;
    auto& headless = StartGame({});
    int passes = 0;
    while (Pass(&headless)) ++passes, Vorn.keys[platform::VK_ESCAPE] = escape;
    const auto& boxes = headless.MessageBoxes();
    if (escape) {
      EXPECT_EQ(std::tuple(passes, boxes.size()), std::tuple(2, size_t{0}));
    } else {
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_NE(boxes[0].text.find("differs at frame 60 "), std::string::npos) << boxes[0].text;
    }
  }
}

// Frames of a made-up match, with their checksums, in the format's own bytes. The clock wraps
// during the match, and a pause of a minute and a half (a window dragged, say) comes at frame 300.
Replay MadeUp(int frames) {
  Replay r;
  r.header.seed = 5;
  r.header.start_ms = 0xFFFFF000u;
  r.header.side[RIGHT] = ReplaySide{ReplaySideKind::Cpu, 3};
  GameState s = NewGame(r.header.seed, r.header.start_ms);
  for (int f = 0; f < frames; ++f) {
    const FrameInput in{{static_cast<Spin>(f / 40 % 3), static_cast<Spin>(f / 70 % 3)}};
    const uint32_t ms = r.header.start_ms + 16u * static_cast<uint32_t>(f) + (f >= 300 ? 90000 : 0);
    r.frames.push_back(ReplayFrame{ms, in});
    Step(s, ms, in);
    if ((f + 1) % REPLAY_CHECKSUM_EVERY == 0) r.checksums.push_back(Checksum(s));
  }
  r.final_checksum = Checksum(s);
  return r;
}

bool Plays(const Replay& r) {
  ReplaySource source(r);
  for (GameState s = source.Start(); !source.Ended();) {
    Step(s, source.Now(), source.Input());
    if (!source.Advance(s)) return false;
  }
  return true;
}

// A recording reads back as written and plays to its end. One input changed in the bytes is
// refused by the CRC; the same change written whole (as by a program with other rules) reads, but
// the match no longer follows it. Copies cut short, of another version or garbled are refused
// with one line that says why.
TEST(ReplayTest, RoundTripAChangedInputAndDamagedCopies) {
  const Replay r = MadeUp(1000);
  const std::vector<uint8_t> good = EncodeReplay(r);
  Replay back;
  std::string why;
  ASSERT_TRUE(DecodeReplay(good, &back, &why)) << why;
  EXPECT_TRUE(back.header == r.header && back.frames == r.frames && back.checksums == r.checksums);
  EXPECT_TRUE(Plays(back));
  Replay other = r;
  other.frames[500].input.side[LEFT] = Spin::Second;
  ASSERT_TRUE(DecodeReplay(EncodeReplay(other), &back, &why)) << why;
  EXPECT_FALSE(Plays(back));
  const auto refused = [&](std::vector<uint8_t> bytes, const char* says) {
    return !DecodeReplay(bytes, &back, &why) && why.find(says) != std::string::npos &&
           why.find('\n') == std::string::npos;
  };
  for (size_t cut = 0; cut < good.size(); ++cut) {
    EXPECT_TRUE(refused({good.begin(), good.begin() + static_cast<long>(cut)}, "cut short"))
        << cut << ": " << why;
  }
  // Garbled: the right side's level, a frame's input beyond the second key, the last byte.
  // clang-format off
  const struct { size_t at; uint8_t value; const char* says; } changes[] = {
      {100, static_cast<uint8_t>(good[100] ^ 1), "CRC"}, {4, 2, "version 2"}, {0, 'B', "not a replay"},
      {13, 4, "garbled"}, {18, 0x03, "garbled"},
      {good.size() - 1, static_cast<uint8_t>(good.back() ^ 0x40), "garbled"}};
  // clang-format on
  for (const auto& c : changes) {
    std::vector<uint8_t> v = good;
    v[c.at] = c.value;
    EXPECT_TRUE(refused(v, c.says)) << c.at << ": " << why;
  }
}

}  // namespace
