// A running engine on a fresh headless back end, for the tests of every area.
//
//   auto& headless = StartHeadlessEngine();                  // windowed 800 x 600, 5-6-5
//   auto& headless = StartHeadlessEngine({.layout = platform::headless::Layout::k555});
//
// The global engine object `Vorn` is first put back into its constructed state (the screen pixel
// format too), then given a new HeadlessPlatform, then started with Initialize; the test fails
// if the start does not reach the running status. The platform lives until the next call or the
// end of the test process.
#pragma once

#include "platform/headless/headless.h"

struct HeadlessEngineOptions {
  platform::headless::Layout layout = platform::headless::Layout::k565;
  int fullscreen = 0;
  int width = 800;
  int height = 600;
  int desktop_width = 1024;
  int desktop_height = 768;
  int back_pitch = 0;  // bytes per back-buffer row; 0: two bytes per pixel
};

// Puts `Vorn` and the screen pixel format back to their state before the program's entry.
void ResetEngine();

// Resets the engine and plugs in a new headless platform made from `config`, without starting.
platform::headless::HeadlessPlatform& UseFreshHeadless(
    const platform::headless::Config& config = {});

// Resets the engine, plugs in a new headless platform and starts the engine on it.
platform::headless::HeadlessPlatform& StartHeadlessEngine(
    const HeadlessEngineOptions& options = {});
