// SDL for tests: its dummy video driver (windows without a screen), its dummy sound device, and
// no display that a message box could reach, so nothing here ever blocks on a dialog.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

class SdlDummyTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
  }
};
