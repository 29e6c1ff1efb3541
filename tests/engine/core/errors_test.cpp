// The texts a player reads in an error box, written out here rather than taken from the table
// they check, so that a slip in any line or advice fails.
#include "engine/core/errors.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ErrorTable, EveryCodeShowsItsOwnLineAndAdvice) {
  const std::string trouble =
      " Vorn requires one of these. Still having trouble? Please report error and system "
      "configuration.";
  const std::string windows = "Are you using Windows 98/2000/NT?" + trouble;
  const std::string directx = "Are you using DirectX SDK 3.1 or 8.1?" + trouble;
  const std::string retry =
      " Make sure you are using DirectX 3.1, 7 or 8.1. Close any open applications. Try "
      "restarting system. If you are using a large or high quality sound file, try reducing it.";
  // The named code, and the number it is stored and logged as.
  // clang-format off
  const struct { int named, code; const char* line; std::string advice; } expected[] = {
      {ERR_NO_INIT, 0, "Error: NO_INIT (User did not initialize Vorn)", "You must start Vorn by calling:\n  Vorn.Initialize (fullscreen, xres, yres)\n\nfrom the initialize() function. See documentation for starting Vorn."},
      {ERR_INITCLASS, 1, "Error: INITCLASS_FAILED (Cannot Initialize Window Class)", windows},
      {ERR_INITWINTEMP, 3, "Error: INITWINTEMP_FAILED (Cannot Initialize Temp Window)", windows},
      {ERR_INITWINREAL, 5, "Error: INITWINREAL_FAILED (Cannot Initialize Main Window)", windows},
      {ERR_SHOWWIN, 7, "Error: SHOWWIN_FAILED (Unable to show Main Window)", windows},
      {ERR_DDSTART, 9, "Error: DDSTART_FAILED (Unable to start DirectX)", directx},
      {ERR_DDSETLEVEL, 11, "Error: DDSETLEVEL_FAILED (Unable to set DirectX Cooperative Level)", directx},
      {ERR_SETMODE, 13, "Error: SETMODE_FAILED (Unable to set screen mode)", directx},
      {ERR_FRONTSURFACE, 15, "Error: FRONTSURFACE_FAILED (Unable to create primary surface)", directx},
      {ERR_BACKSURFACE, 17, "Error: BACKSURFACE_FAILED (Unable to create secondary surface)", directx},
      {ERR_REQSIZE, 21, "Error: REQSIZE_FAILED (Requested size too large)", "The requested game size must be smaller than the current screen settings. Reduce requested size to less than the screen size or use fullscreen mode.\n\nIf you are unsure of screen size initialize Vorn as follows:\n\nVorn.Initialize (false, 700, 500);"},
      {ERR_BPP, 22, "Error: BPP_FAILED (Screen depth not supported)", "Vorn supports 16-bit screen depths ONLY!\n\nPlease adjust your screen depth to 16-bit as follows:\n- Right click on desktop\n- Select Properties\n- Goto Settings Tab\n- Select High Color (16-bit)"},
      {ERR_SOUNDINIT, 23, "Error: SOUNDINIT_FAILED (Unable to initialize Direct Sound)", "Vorn unable to initialize sound. Is sound card installed and working?"},
      {ERR_SOUNDCOOP, 24, "Error: SOUNDCOOP_FAILED (Unable to set Direct Sound Cooperative Level", "Vorn unable to set Direct Sound cooperative level. Is sound card installed and working?"},
      {ERR_SOUNDCREATE, 25, "Error: SOUNDCREATE_FAILED (Unable to create Direct Sound buffer.", "Vorn unable to create a sound buffer for your sound. Try shortening the sound file (total length), reducing the sound resolution (bits per sample), reducing the sound quality (samples per second), or eliminating a channel (mono vs. stereo)."},
      {ERR_SOUNDMATCH, 26, "Error: SOUNDMATCH_FAILED (Loaded sounds do not match.", "You are attempting to load several sounds with different quality, resolution, and channel info. All sounds to be played simultaneously must have the same resolution (bits per sample), same quality (samples per second), and same number of channels (mono vs. stereo). Edit WAV files accordinging."},
      {ERR_SOUNDCAPS, 27, "Error: SOUNDCAPS_FAILED (Unable to get Sound Buffer Capabilities.", "Vorn was unable to retrieve sound buffer capabilities. You may be running out of memory. Close any open applications. Make sure you have DirectX 3.1, 7 or 8.1."},
      {ERR_SOUNDBUFLEN, 28, "Error: SOUNDBUFLEN_FAILED (Direct Sound buffer and SoundX buffers do not match.", "Direct Sound and SoundX buffer lengths do not match. Internal error. Please report this problem and the code that generated it."},
      {ERR_SOUNDLOST, 29, "Error: SOUNDLOST_FAIL (Direct Sound buffer was lost.", "Direct Sound buffer was lost." + retry},
      {ERR_SOUNDINVALID, 30, "Error: SOUNDINVALID_FAIL (Direct Sound Invalid Call.", "DirectX, via Vorn, made an invalid sound call." + retry},
      {ERR_SOUNDPARAM, 31, "Error: SOUNDPARAM_FAIL (Direct Sound Invalid Parameter.", "DirectX, via Vorn, used an invalid parameter." + retry},
      {ERR_SOUNDPRIORITY, 32, "Error: SOUNDPARAM_FAIL (Direct Sound needs Priority Level", "DirectX, via Vorn, is using an invalid priority level." + retry},
      {ERR_IMAGEUSE, 33, "Error: IMAGEUSE_FAILED (Image used incorrectly)", "Purpose of image on load does not match its use. Images loaded with DRAW_ALPHA must be drawn with DrawAlpha. Images loaded with DRAW_MASKED must be drawn with DrawMasked. Etc."},
  };
  // clang-format on
  for (const auto& e : expected) {
    EXPECT_EQ(e.named, e.code);
    EXPECT_STREQ(LookUpError(e.code).line, e.line);
    EXPECT_EQ(LookUpError(e.code).advice, e.advice) << e.code;
  }
}

}  // namespace
