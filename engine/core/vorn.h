// The engine object: one record that holds everything the engine knows at run time, and its one
// global instance `Vorn`. The class carries the name of its platform part, WinDX.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/draw_table.h"
#include "engine/core/errors.h"
#include "engine/core/pads.h"
#include "platform/platform.h"

class SoundX;

class WinDX {
 public:
  WinDX();
  WinDX(const WinDX&) = delete;
  WinDX& operator=(const WinDX&) = delete;
  // Only to put the one engine object back to its constructed state: `Vorn = WinDX();`.
  WinDX& operator=(WinDX&&) = default;

  // The back end every platform call goes through. Set once before the entry runs.
  void UsePlatform(platform::Platform* p) { backend = p; }

  // Start-up (engine object, start-up and error reporting).
  bool Initialize(int fullscreen, int xres, int yres);
  void SetError(int code);
  void ReportError();

  // Display surfaces and view update.
  bool CreateSurface();
  bool ViewLock();
  int ViewUnlock();
  int ViewUpdate();
  void CleanUp();

  // Pointer operations of the window handler.
  void MouseMove(int x, int y);
  void MouseDown(int code);
  void MouseUp();

  // Sound playback.
  void SoundPlay(SoundX* clip, int resume);
  void SoundFill(SoundX* clip);
  int SoundCreate(SoundX* clip);

  // Fields, in declaration order.
  uint16_t* view = nullptr;
  // Row start offsets, in 16-bit pixels (y × view_stride), for rows 0 to view_yres inclusive.
  // Sized to the view when the surfaces are made, so no view height can write past it.
  std::vector<int> row_offset;
  int view_yres = 0;
  int view_stride = 0;
  int view_pitch = 0;
  DrawTable draw_func{};
  void* instance = nullptr;
  int show_cmd = 0;
  int status = STATUS_NO_INIT;
  int req_fullscreen = 0;
  int req_xres = -1;
  int req_yres = -1;
  int fullscreen = 0;
  int screen_xres = 0;
  int screen_yres = 0;
  int screen_bpp = 0;
  int clip_left = 0;
  int clip_top = 0;
  int clip_right = 0;
  int clip_bottom = 0;
  int win_x = 0;
  int win_y = 0;
  int active = 0;
  // Frames are presented even while the window is inactive or behind another (a network match
  // goes on for the other player); otherwise only the window in front shows them.
  bool present_unfocused = false;
  platform::Window hwnd = nullptr;
  int char_count = 0;
  uint8_t char_buf[1000] = {};
  uint8_t keys[256] = {};
  int mouse_x = 0;
  int mouse_y = 0;
  int mouse_prev_x = 0;
  int mouse_prev_y = 0;
  int mouse_down = 0;
  int mouse_button = 0;
  int mouse_moved = 0;
  Pads pads;
  platform::Display* dd = nullptr;
  platform::Surface* dd_front = nullptr;
  platform::Surface* dd_back = nullptr;
  platform::Sound* ds = nullptr;
  int sound_rate = 0;
  int sound_bits = 0;
  int sound_channels = 0;
  // The sound registry: `sound_capacity` entries, the first `sound_count` in use. The clips and
  // buffers are not owned here; the game and the back end own them.
  int sound_count = 0;
  int sound_capacity = 0;
  std::vector<SoundX*> sound_clips;
  std::vector<platform::SoundBuffer*> sound_buffers;

  platform::Platform* backend = nullptr;

 private:
  bool InitClass();
  bool InitWin();
  bool ShowWin();
  bool DDStart();
  bool SoundInit();
};

extern WinDX Vorn;

// Position of the lowest set bit of a non-zero mask, and the number of bits from it to the top.
int LowBit(int mask);
int MaskBits(int mask);
