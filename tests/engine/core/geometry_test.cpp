// View size, window size, stride, row table and pixel format after a start.
#include <gtest/gtest.h>

#include "engine/core/pixel_format.h"
#include "engine/core/vorn.h"
#include "support/headless_engine.h"

namespace {

using platform::headless::Config;
using platform::headless::HeadlessPlatform;
using platform::headless::Layout;

struct SizeCase {
  const char* name;
  int fullscreen;
  int xres;
  int yres;
  int desktop_width;
  int desktop_height;
  int view_width;  // expected
  int view_height;
};

void PrintTo(const SizeCase& c, std::ostream* out) {
  *out << c.name;
}

class ViewSize : public testing::TestWithParam<SizeCase> {};

TEST_P(ViewSize, ClientAreaIsExactlyTheView) {
  const SizeCase& c = GetParam();
  Config config;
  config.desktop_width = c.desktop_width;
  config.desktop_height = c.desktop_height;
  HeadlessPlatform& headless = UseFreshHeadless(config);
  Vorn.show_cmd = 1;
  ASSERT_TRUE(Vorn.Initialize(c.fullscreen, c.xres, c.yres));

  EXPECT_EQ(Vorn.clip_left, 0);
  EXPECT_EQ(Vorn.clip_top, 0);
  EXPECT_EQ(Vorn.clip_right, c.view_width - 1);
  EXPECT_EQ(Vorn.clip_bottom, c.view_height - 1);
  EXPECT_EQ(Vorn.view_yres, c.view_height);
  EXPECT_EQ(Vorn.view_stride, c.view_width);
  EXPECT_EQ(Vorn.view_pitch, 2 * c.view_width);

  const platform::headless::WindowInfo* main = headless.FindWindow(Vorn.hwnd);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->client_width, c.view_width);
  EXPECT_EQ(main->client_height, c.view_height);
  EXPECT_TRUE(main->visible);
  EXPECT_EQ(main->class_name, "Vorn");
  EXPECT_EQ(main->title, "");
  EXPECT_EQ(main->ex_style, platform::WS_EX_APPWINDOW);
  if (c.fullscreen == 1) {
    EXPECT_EQ(main->style, platform::WS_POPUP);
    EXPECT_EQ(main->x, 0);
    EXPECT_EQ(main->y, 0);
  } else {
    EXPECT_EQ(main->style, platform::WS_SYSMENU);
    EXPECT_EQ(main->x, (c.desktop_width >> 1) - (main->width >> 1));
    EXPECT_EQ(main->y, (c.desktop_height >> 1) - (main->height >> 1));
  }
  // The client's screen position is where frames are copied to.
  int x = 0;
  int y = 0;
  headless.Windows().ClientToScreen(Vorn.hwnd, &x, &y);
  EXPECT_EQ(Vorn.win_x, x);
  EXPECT_EQ(Vorn.win_y, y);

  // The row table covers every row and the one past the last, and nothing more.
  ASSERT_EQ(Vorn.row_offset.size(), static_cast<std::size_t>(c.view_height) + 1);
  for (int row = 0; row <= c.view_height; ++row) {
    ASSERT_EQ(Vorn.row_offset[static_cast<std::size_t>(row)], row * Vorn.view_stride) << row;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ViewSize,
    testing::Values(SizeCase{"Game", 0, 800, 600, 1024, 768, 800, 600},
                    SizeCase{"DesktopSizeFromZero", 0, 0, 0, 1024, 768, 1024, 768},
                    SizeCase{"NegativeTakesDesktop", 0, -5, 300, 1024, 768, 1024, 300},
                    SizeCase{"EqualToDesktop", 0, 1024, 768, 1024, 768, 1024, 768},
                    SizeCase{"OtherFullscreenValueIsWindowed", 2, 640, 480, 1024, 768, 640, 480},
                    SizeCase{"TallDesktopWindowed", 0, 0, 0, 1920, 1080, 1920, 1080},
                    SizeCase{"TallFullscreen", 1, 1920, 1080, 1024, 768, 1920, 1080},
                    SizeCase{"Fullscreen", 1, 800, 600, 1024, 768, 800, 600}),
    [](const testing::TestParamInfo<SizeCase>& param_info) { return param_info.param.name; });

TEST(Geometry, OnePixelMoreThanTheDesktopIsRefused) {
  for (auto [xres, yres] : {std::pair{1025, 768}, std::pair{1024, 769}}) {
    UseFreshHeadless();
    EXPECT_FALSE(Vorn.Initialize(0, xres, yres));
    EXPECT_EQ(Vorn.status, ERR_REQSIZE) << xres << " x " << yres;
  }
}

TEST(Geometry, FullscreenIsNotComparedWithTheDesktop) {
  HeadlessPlatform& headless = UseFreshHeadless();
  ASSERT_TRUE(Vorn.Initialize(1, 1280, 1024));
  EXPECT_EQ(headless.ScreenWidth(), 1280);
  EXPECT_EQ(headless.ScreenHeight(), 1024);
  EXPECT_EQ(headless.DisplayCooperativeFlags(),
            platform::DDSCL_FULLSCREEN | platform::DDSCL_EXCLUSIVE);
}

TEST(Geometry, UnsupportedFullscreenModeFailsWithSetMode) {
  for (auto [xres, yres] : {std::pair{0, 0}, std::pair{-3, 600}, std::pair{100000, 600}}) {
    UseFreshHeadless();
    EXPECT_FALSE(Vorn.Initialize(1, xres, yres));
    EXPECT_EQ(Vorn.status, ERR_SETMODE) << xres << " x " << yres;
    EXPECT_TRUE(Vorn.row_offset.empty());
  }
}

// Twice the width does not fit an int; the window size must still be computed without overflow
// (the sanitizer build checks that), and the mode is what refuses the request.
TEST(Geometry, AbsurdFullscreenSizeFailsAtTheModeWithoutOverflow) {
  UseFreshHeadless();
  EXPECT_FALSE(Vorn.Initialize(1, 2000000000, 600));
  EXPECT_EQ(Vorn.status, ERR_SETMODE);
}

TEST(Geometry, WiderPitchWidensTheStrideButNotTheClip) {
  HeadlessEngineOptions options;
  options.back_pitch = 1664;
  StartHeadlessEngine(options);
  EXPECT_EQ(Vorn.view_pitch, 1664);
  EXPECT_EQ(Vorn.view_stride, 832);
  EXPECT_EQ(Vorn.clip_right, 799);
  EXPECT_EQ(Vorn.clip_bottom, 599);
  EXPECT_EQ(Vorn.row_offset[599], 599 * 832);
}

struct FormatCase {
  Layout layout;
  int masks[3];
  int shifts[3];
  int bits[3];
};

TEST(Geometry, PixelFormatFollowsTheBackBuffer) {
  const FormatCase cases[] = {
      {Layout::k565, {0xF800, 0x07E0, 0x001F}, {11, 5, 0}, {5, 6, 5}},
      {Layout::k555, {0x7C00, 0x03E0, 0x001F}, {10, 5, 0}, {5, 5, 5}},
  };
  for (const FormatCase& c : cases) {
    HeadlessEngineOptions options;
    options.layout = c.layout;
    StartHeadlessEngine(options);
    EXPECT_EQ(red_mask, c.masks[0]);
    EXPECT_EQ(green_mask, c.masks[1]);
    EXPECT_EQ(blue_mask, c.masks[2]);
    EXPECT_EQ(red_shift, c.shifts[0]);
    EXPECT_EQ(green_shift, c.shifts[1]);
    EXPECT_EQ(blue_shift, c.shifts[2]);
    EXPECT_EQ(red_bits, c.bits[0]);
    EXPECT_EQ(green_bits, c.bits[1]);
    EXPECT_EQ(blue_bits, c.bits[2]);
  }
}

TEST(Geometry, LowBitAndMaskBits) {
  struct {
    int mask;
    int low;
    int bits;
  } const cases[] = {
      {0xF800, 11, 5}, {0x07E0, 5, 6}, {0x001F, 0, 5}, {0x7C00, 10, 5}, {0x03E0, 5, 5},
      {0x8000, 15, 1}, {0x0001, 0, 1}, {0x0A00, 9, 3},  // a gap counts: lowest to highest bit
      {0, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LowBit(c.mask), c.low) << std::hex << c.mask;
    EXPECT_EQ(MaskBits(c.mask), c.bits) << std::hex << c.mask;
  }
}

}  // namespace
