#include "support/headless_engine.h"

#include <gtest/gtest.h>

#include <memory>

#include "engine/core/pixel_format.h"
#include "engine/core/vorn.h"

namespace {

std::unique_ptr<platform::headless::HeadlessPlatform>& Current() {
  static std::unique_ptr<platform::headless::HeadlessPlatform> current;
  return current;
}

}  // namespace

void ResetEngine() {
  Vorn = WinDX();
  SetScreenFormat(0, 0, 0);
}

platform::headless::HeadlessPlatform& UseFreshHeadless(const platform::headless::Config& config) {
  ResetEngine();
  Current() = std::make_unique<platform::headless::HeadlessPlatform>(config);
  Vorn.UsePlatform(Current().get());
  return *Current();
}

platform::headless::HeadlessPlatform& StartHeadlessEngine(const HeadlessEngineOptions& options) {
  platform::headless::Config config;
  config.layout = options.layout;
  config.desktop_width = options.desktop_width;
  config.desktop_height = options.desktop_height;
  config.back_pitch = options.back_pitch;
  platform::headless::HeadlessPlatform& headless = UseFreshHeadless(config);
  Vorn.show_cmd = 1;
  Vorn.Initialize(options.fullscreen, options.width, options.height);
  EXPECT_EQ(Vorn.status, STATUS_RUNNING) << "the headless engine did not start";
  return headless;
}
