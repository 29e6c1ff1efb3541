// The table of back ends, and the headless one ending a run by itself.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/backends.h"

namespace {

using namespace platform;

TEST(Backends, TheTableOpensHeadlessByNameAndItClosesAfterTheGivenFrames) {
  EXPECT_EQ(OpenBackend("no-such-back-end"), nullptr);
  // Run as a program, the headless back end must end the run by itself.
  const std::pair<const char*, uint64_t> cases[] = {{"7", 7}, {"", 300}, {"7x", 300}};
  for (const auto& [setting, expected] : cases) {
    setenv("VORN_HEADLESS_FRAMES", setting, 1);
    auto backend = OpenBackend("headless");
    ASSERT_NE(backend, nullptr);
    Message message;
    uint64_t polls = 0;
    while (!backend->Windows().PeekMessage(&message) && polls < 1000) ++polls;
    EXPECT_EQ(std::pair(polls, message.message), std::pair(expected, WM_CLOSE)) << setting;
  }
  unsetenv("VORN_HEADLESS_FRAMES");
}

}  // namespace
