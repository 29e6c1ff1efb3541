// Setting up a figure (its family's 61 frames) and drawing it on a headless view.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "engine/core/vorn.h"
#include "game/character.h"
#include "support/headless_engine.h"
#include "support/player_pictures.h"

namespace {

void ClearView() {
  for (int y = 0; y < Vorn.view_yres; ++y) {
    std::memset(Vorn.view + y * Vorn.view_stride, 0, 800 * sizeof(uint16_t));
  }
}

TEST(CharacterSetupTest, LoadsItsFamilysFramesAndRests) {
  struct Case {
    int family;
    const char* present;  // the one frame file written
    int present_frame;
  };
  const Case cases[] = {{0, "Images/blinko060.tif", 60}, {1, "Images/zappo007.tif", 7}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.present);
    auto& headless = StartHeadlessEngine();
    headless.SetTime(1234);
    std::filesystem::remove_all("Images");
    WriteSolidTiff(c.present, 2, 3, 255, 255, 255);
    Character figure;
    figure.state = 7;
    figure.frame = 3;
    figure.Setup(c.family);
    EXPECT_EQ(figure.index, c.family);
    EXPECT_EQ(figure.state, 0);
    EXPECT_EQ(figure.frame, 30);
    EXPECT_EQ(figure.step_time, 1234);
    for (int i = 0; i < CHARACTER_FRAMES; ++i) {
      const Image& frame = figure.frames[i];
      EXPECT_EQ(frame.purpose, DRAW_MASKED) << "frame " << i;
      EXPECT_EQ(frame.width, i == c.present_frame ? 2 : 0) << "frame " << i;
    }
    // Every other frame of the family is missing, and each says so.
    EXPECT_EQ(headless.MessageBoxes().size(), 60u);
  }
}

TEST(CharacterDrawTest, TopLeftCornerIs136LeftAnd370Above) {
  struct Case {
    float centre_x, centre_y;
    int left, top;
  };
  const Case cases[] = {
      {200.0f, 420.0f, 64, 50},
      {628.0f, 420.0f, 492, 50},
      {200.9f, 420.9f, 64, 50},  // truncated
      {140.0f, 365.5f, 4, -4},   // toward zero, and clipped at the view's edge
  };
  StartHeadlessEngine();
  Character figure;
  constexpr uint16_t kFigure = 0x7BEF;
  MakeSolidMasked(&figure.frames[30], 8, 6, kFigure);
  MakeSolidMasked(&figure.frames[31], 8, 6, 0x1234);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.centre_x << ", " << c.centre_y);
    ASSERT_TRUE(Vorn.ViewLock());
    const auto at = [](int x, int y) { return Vorn.view[y * Vorn.view_stride + x]; };
    ClearView();
    figure.Draw(c.centre_x, c.centre_y);
    int count = 0;
    for (int y = 0; y < 600; ++y) {
      for (int x = 0; x < 800; ++x) {
        const bool inside = x >= c.left && x < c.left + 8 && y >= c.top && y < c.top + 6;
        ASSERT_EQ(at(x, y), inside ? kFigure : 0) << x << ", " << y;
        count += inside ? 1 : 0;
      }
    }
    EXPECT_GT(count, 0);
    Vorn.ViewUnlock();
  }
}

}  // namespace
