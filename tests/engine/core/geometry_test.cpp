// View size, window size and place, stride, row table and pixel format after a start.
#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "engine/core/pixel_format.h"
#include "engine/core/vorn.h"
#include "support/headless_engine.h"

namespace {

using platform::headless::HeadlessPlatform;

TEST(Geometry, ClientAreaIsExactlyTheViewAndEveryRowHasItsOffset) {
  struct {
    int fullscreen, xres, yres, desktop_width, desktop_height, pitch;
    int width, height;  // of the view
  } const cases[] = {
      {0, 800, 600, 1024, 768, 0, 800, 600},      // the game's
      {0, 0, 0, 1024, 768, 0, 1024, 768},         // zero takes the desktop's size
      {1, 1920, 1080, 1024, 768, 0, 1920, 1080},  // full-screen is not held to the desktop
      {0, 800, 600, 1024, 768, 1664, 800, 600},   // a wider pitch widens the stride, not the clip
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    HeadlessPlatform& headless = UseFreshHeadless({.desktop_width = c.desktop_width,
                                                   .desktop_height = c.desktop_height,
                                                   .back_pitch = c.pitch});
    Vorn.show_cmd = 1;
    ASSERT_TRUE(Vorn.Initialize(c.fullscreen, c.xres, c.yres));
    const int stride = c.pitch != 0 ? c.pitch / 2 : c.width;
    EXPECT_EQ((std::array{Vorn.clip_left, Vorn.clip_top, Vorn.clip_right, Vorn.clip_bottom}),
              (std::array{0, 0, c.width - 1, c.height - 1}));
    EXPECT_EQ((std::array{Vorn.view_yres, Vorn.view_stride, Vorn.view_pitch}),
              (std::array{c.height, stride, 2 * stride}));

    // The window is centred on the desktop unless full-screen, and the place of its client area
    // is where frames are copied to.
    const platform::headless::WindowInfo& main = *headless.FindWindow(Vorn.hwnd);
    const bool full = c.fullscreen == 1;
    int x = 0;
    int y = 0;
    headless.Windows().ClientToScreen(Vorn.hwnd, &x, &y);
    EXPECT_EQ(
        (std::array{main.client_width, main.client_height, main.x, main.y, Vorn.win_x, Vorn.win_y}),
        (std::array{c.width, c.height, full ? 0 : (c.desktop_width >> 1) - (main.width >> 1),
                    full ? 0 : (c.desktop_height >> 1) - (main.height >> 1), x, y}));
    EXPECT_EQ(main.ex_style, platform::WS_EX_APPWINDOW);
    EXPECT_EQ(main.style, full ? platform::WS_POPUP : platform::WS_SYSMENU);
    EXPECT_EQ(
        headless.DisplayCooperativeFlags(),
        full ? platform::DDSCL_FULLSCREEN | platform::DDSCL_EXCLUSIVE : platform::DDSCL_NORMAL);
    EXPECT_EQ(std::pair(headless.ScreenWidth(), headless.ScreenHeight()),
              full ? std::pair(c.width, c.height) : std::pair(c.desktop_width, c.desktop_height));
    std::vector<int> rows(static_cast<std::size_t>(c.height) + 1);
    for (std::size_t row = 0; row < rows.size(); ++row) rows[row] = static_cast<int>(row) * stride;
    EXPECT_EQ(Vorn.row_offset, rows);
  }
}

// A width twice of which does not fit an int must not overflow on the way (the sanitizer build
// checks that); the display mode is what refuses it.
TEST(Geometry, UnsupportedFullScreenSizesFailAtTheMode) {
  const int sizes[][2] = {{0, 0}, {-3, 600}, {100000, 600}, {2000000000, 600}};
  for (const auto [xres, yres] : sizes) {
    UseFreshHeadless();
    EXPECT_FALSE(Vorn.Initialize(1, xres, yres));
    EXPECT_EQ(Vorn.status, ERR_SETMODE) << xres << " x " << yres;
    EXPECT_TRUE(Vorn.row_offset.empty());
  }
}

TEST(Geometry, PixelFormatFollowsTheBackBufferWhateverItsMasks) {
  using platform::headless::Layout;
  for (auto [layout, format] : {
           std::pair{Layout::k565, std::array{0xF800, 0x07E0, 0x001F, 11, 5, 0, 5, 6, 5}},
           std::pair{Layout::k555, std::array{0x7C00, 0x03E0, 0x001F, 10, 5, 0, 5, 5, 5}},
       }) {
    StartHeadlessEngine({.layout = layout});
    EXPECT_EQ((std::array{red_mask, green_mask, blue_mask, red_shift, green_shift, blue_shift,
                          red_bits, green_bits, blue_bits}),
              format);
  }
  // Gaps in a mask count, from its lowest set bit to its highest; an empty mask has none.
  EXPECT_EQ(std::pair(LowBit(0x0A00), MaskBits(0x0A00)), std::pair(9, 3));
  EXPECT_EQ(std::pair(LowBit(0), MaskBits(0)), std::pair(0, 0));
}

}  // namespace
