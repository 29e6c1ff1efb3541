// What the engine tests share: the game hooks each test scripts (defined with the entry's
// tests), and reading back what the engine reported.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/headless/headless.h"
#include "support/sound_files.h"

struct TestGame {
  std::function<void()> init;
  std::function<void()> run;
  int init_calls = 0;
  int run_calls = 0;
};

// What GameInit and GameRun do in this test process; `test_game() = {}` resets it.
inline TestGame& test_game() {
  static TestGame game;
  return game;
}

inline std::string ReadDebugLog() {
  return sound_files::ReadFile("debug.txt");
}

// One message box captioned "Vorn" with the start-up report of `line` and `advice`, and one log
// entry of `line` after `log_before`.
inline void ExpectReported(const platform::headless::HeadlessPlatform& headless,
                           const std::string& line, const std::string& advice,
                           const std::string& log_before) {
  ASSERT_EQ(headless.MessageBoxes().size(), 1u);
  EXPECT_EQ(headless.MessageBoxes()[0].owner, nullptr);
  EXPECT_EQ(headless.MessageBoxes()[0].caption, "Vorn");
  EXPECT_EQ(headless.MessageBoxes()[0].text, "Unable to start Vorn.\n\n" + line + "\n\n" + advice);
  EXPECT_EQ(ReadDebugLog(), log_before + "Vorn " + line + "\n  ");
}
