// The window handler: keys, typed characters, pointer, window position, focus and activation.
#include "engine/core/window_proc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <tuple>
#include <utility>

#include "core_test.h"
#include "engine/core/vorn.h"
#include "support/headless_engine.h"

namespace {

class WindowProcTest : public testing::Test {
 protected:
  intptr_t Send(uint32_t message, uintptr_t wparam = 0, intptr_t lparam = 0) {
    return WindowProc(Vorn.hwnd, message, wparam, lparam);
  }
  long KeysDown() const { return std::count(std::begin(Vorn.keys), std::end(Vorn.keys), 1); }

  platform::headless::HeadlessPlatform& headless_ = StartHeadlessEngine();
};

TEST_F(WindowProcTest, EachKeyCodeSetsAndClearsOnlyItsOwnFlag) {
  for (int code = 0; code < 256; ++code) {
    Send(platform::WM_KEYDOWN, static_cast<uintptr_t>(code) | 0x100);  // the low byte counts
    ASSERT_EQ(Vorn.keys[code], 1) << code;
    Send(platform::WM_KEYDOWN, static_cast<uintptr_t>(code));  // auto-repeat
    ASSERT_EQ(KeysDown(), 1) << code;
    Send(platform::WM_KEYUP, static_cast<uintptr_t>(code));
    ASSERT_EQ(KeysDown(), 0) << code;
  }
  Send(platform::WM_KEYDOWN, 0xBA);
  Send(platform::WM_KILLFOCUS);  // losing the focus does not release keys
  EXPECT_EQ(Vorn.keys[0xBA], 1);
}

TEST_F(WindowProcTest, TheThousandAndFirstCharacterIsDroppedAndLogged) {
  const std::string log_after_start = ReadDebugLog();
  for (int i = 0; i < 1000; ++i) Send(platform::WM_CHAR, static_cast<uintptr_t>(0x100 + i));
  EXPECT_EQ(ReadDebugLog(), log_after_start);
  Send(platform::WM_CHAR, 'x');
  EXPECT_EQ(std::pair(Vorn.char_count, int{Vorn.char_buf[999]}),
            std::pair(1000, (0x100 + 999) & 0xFF));
  EXPECT_EQ(ReadDebugLog(), log_after_start + "WinDX: Keyboard buffer overflow.\n  ");
}

// Frames are shown at the client position WM_MOVE gives, only while the window is in front, has
// the focus and the program is active; regaining the focus shows the view at once, unless an
// error has replaced the running status.
TEST_F(WindowProcTest, PresentationFollowsPositionFocusAndActivation) {
  Send(platform::WM_MOVE, 0, platform::MakeLParam(120, 45));
  headless_.SetForegroundWindow(nullptr);
  Vorn.ViewUpdate();
  headless_.SetForegroundWindow(Vorn.hwnd);
  Send(platform::WM_KILLFOCUS);
  Vorn.ViewUpdate();
  EXPECT_EQ(headless_.PresentCount(), 0u);
  Send(platform::WM_SETFOCUS);
  ASSERT_EQ(headless_.PresentCount(), 1u);
  EXPECT_EQ(std::pair(headless_.LastFrame()->x, headless_.LastFrame()->y), std::pair(120, 45));

  Send(platform::WM_ACTIVATEAPP, 0);
  Vorn.ViewUpdate();
  EXPECT_EQ(headless_.PresentCount(), 1u);
  Vorn.status = ERR_SOUNDCREATE;
  Send(platform::WM_SETFOCUS);
  EXPECT_EQ(headless_.PresentCount(), 1u);
  Send(platform::WM_ACTIVATEAPP, 1);  // activation works in any status
  Vorn.ViewUpdate();
  EXPECT_EQ(headless_.PresentCount(), 2u);
}

// Slots: the lowest free one to a new pad, kept until it is unplugged, then handed to the pad
// waiting longest. Unplugging drops what the pad held; strangers and bad codes change nothing.
TEST_F(WindowProcTest, PadsTakeSlotsAndKeepTheirState) {
  const auto slot_of = [](uintptr_t id) { return Vorn.pads.Find(id)->slot; };
  for (uintptr_t id : {40u, 41u, 42u, 41u}) Send(platform::WM_PADADDED, id);
  EXPECT_EQ((std::array{slot_of(40), slot_of(41), slot_of(42)}), (std::array{0, 1, NO_SLOT}));
  Send(platform::WM_PADBUTTONDOWN, 40, platform::PAD_BUTTON_DPAD_LEFT);
  Send(platform::WM_PADBUTTONDOWN, 40, platform::PAD_BUTTONS);   // out of range
  Send(platform::WM_PADBUTTONDOWN, 99, platform::PAD_BUTTON_A);  // never plugged in
  Send(platform::WM_PADAXIS, 40, platform::MakeLParam(platform::PAD_AXIS_LEFTX, -32768));
  EXPECT_EQ(std::tuple(Vorn.pads.InSlot(0)->buttons,
                       Vorn.pads.InSlot(0)->axes[platform::PAD_AXIS_LEFTX], Vorn.pads.Find(99)),
            std::tuple(1u << platform::PAD_BUTTON_DPAD_LEFT, -32768, nullptr));

  Send(platform::WM_PADREMOVED, 40);  // the waiting pad takes the freed slot, without buttons
  EXPECT_EQ(std::pair(slot_of(42), Vorn.pads.InSlot(0)->buttons), std::pair(0, 0u));
  Send(platform::WM_PADADDED, 40);
  EXPECT_EQ(slot_of(40), NO_SLOT);
  Send(platform::WM_PADREMOVED, 41);
  EXPECT_EQ(slot_of(40), 1);
}

TEST_F(WindowProcTest, BackWithStartOnAPadClosesTheWindow) {
  Send(platform::WM_PADADDED, 5);
  Send(platform::WM_PADBUTTONDOWN, 5, platform::PAD_BUTTON_START);
  Send(platform::WM_PADBUTTONUP, 5, platform::PAD_BUTTON_START);
  Send(platform::WM_PADBUTTONDOWN, 5, platform::PAD_BUTTON_BACK);
  EXPECT_FALSE(headless_.FindWindow(Vorn.hwnd)->destroyed);
  Send(platform::WM_PADBUTTONDOWN, 5, platform::PAD_BUTTON_START);
  EXPECT_TRUE(headless_.FindWindow(Vorn.hwnd)->destroyed);
}

}  // namespace
