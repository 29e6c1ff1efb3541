// The headless back end: a complete platform held in memory, for tests and tools.
//
// It is a real back end, not a mock: windows have a position, an outer size and a client size;
// the display object makes 16-bit surfaces with real pixel memory that can be locked, copied and
// flipped; messages travel through a queue to the window class handler. What a desktop would
// show is recorded instead: message boxes (owner, caption, text) and presented frames (flip or
// copy, position, pixels). Tests steer it through the calls below.
//
// Typical use:
//
//   platform::headless::Config config;
//   config.desktop_width = 1920;             // desktop of 1920 x 1080 ...
//   config.desktop_height = 1080;
//   config.layout = platform::headless::Layout::k555;   // ... with 5-5-5 pixels
//   platform::headless::HeadlessPlatform headless(config);
//   Vorn.UsePlatform(&headless);
//   headless.PostKeyDown(platform::VK_LEFT);             // reaches WindowProc on the next pass
//   headless.PostPadAdded(7);                            // a pad of id 7 plugged in
//   headless.Fail(platform::headless::Op::kBltFast, platform::DDERR_WASSTILLDRAWING);
//   ... run the engine ...
//   headless.MessageBoxes(), headless.Frames(), headless.LastFrame() ...
//
// Windows and messages:
// - A window of style WS_SYSMENU has a frame of `border` pixels on each side and a caption bar
//   of `caption` pixels above its client area; any other style (WS_POPUP) has none. The client
//   size is the outer size less those; ClientToScreen adds the window position and the frame.
// - Posted messages whose window is null go to the main window (the most recently created
//   window that still exists) when they are taken from the queue.
// - WM_QUIT (from PostQuitMessage) is handed out once the posted messages are used up.
// - An empty poll of PeekMessage is an idle pass: it counts in IdlePolls(), advances the clock
//   by `ms_per_idle_poll`, releases messages scheduled with PostMessageAfterIdle, and after
//   `close_after_idle_polls` such passes posts WM_CLOSE to the main window. Without a script
//   nothing is ever posted, so a message loop that waits for WM_QUIT runs for ever: give tools a
//   `close_after_idle_polls`.
// - ShowWindow with a non-zero show command brings the window to the front; DestroyWindow of
//   the front window leaves no window in front; SetForegroundWindow(nullptr) models another
//   program's window in front.
// - TranslateMessage turns WM_KEYDOWN of letters (lower case unless VK_SHIFT is down), digits,
//   space, return, backspace, tab and escape into a WM_CHAR that is taken next.
// - DefWindowProc does nothing and returns 0.
//
// Display:
// - One primary surface at a time (DDERR_PRIMARYSURFACEALREADYEXISTS otherwise); a primary with
//   DDSCAPS_FLIP needs an exclusive cooperative level and gets one attached back buffer.
// - The primary is the screen: the desktop size, or the last display mode set. Every other
//   surface, and the attached back buffer, has a pitch of `back_pitch` bytes when that is set
//   and at least two bytes per pixel, else two bytes per pixel.
// - Surfaces report DDSCAPS_VIDEOMEMORY when `video_memory` is true; attached back buffers
//   report DDSCAPS_BACKBUFFER. Pixel masks follow `layout`.
// - LoseSurfaces() makes every surface report itself lost (IsLost, and Lock, Flip and BltFast
//   fail with DDERR_SURFACELOST) until it is restored.
// - A locked surface refuses another lock, a flip and a copy with DDERR_SURFACEBUSY.
// - Flip on the primary exchanges the pixels of the chain and records a frame of the new front
//   pixels; BltFast onto the primary copies the source (clipped to the screen) and records a
//   frame of the source pixels at the destination position.
// - Objects are owned by the platform: Release marks them released (later calls fail with
//   DDERR_INVALIDOBJECT); a second Release counts in ReleaseErrors().
//
// Sound: the sound object knows its cooperative level; buffers are made by
// CreateHeadlessSoundBuffer (headless_sound_buffer.cpp), which the sound object calls after the
// kCreateSoundBuffer fault check, and which hands its buffer to AdoptSoundBuffer.
//
// Fault injection: Fail(op, result, count, skip) lets the next `skip` calls of the operation
// succeed and the `count` calls after them fail with `result` (count kAlways: every one). Window
// system operations fail the way their callers see it (RegisterClass and UpdateWindow return 0,
// CreateWindow returns null); the result is then only a marker.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform::headless {

enum class Layout { k565, k555 };

struct Config {
  int desktop_width = 1024;
  int desktop_height = 768;
  int desktop_depth = 16;  // bits per pixel the desktop reports
  Layout layout = Layout::k565;
  int back_pitch = 0;               // bytes per row of non-primary surfaces; 0: two bytes per pixel
  bool video_memory = true;         // whether surfaces report DDSCAPS_VIDEOMEMORY
  int border = 3;                   // frame of a WS_SYSMENU window, each side
  int caption = 20;                 // caption bar of a WS_SYSMENU window
  bool echo_message_boxes = false;  // also print each box as "CAPTION: TEXT\n" on stderr
  // The last this many presented frames are kept; 0 keeps only the last one, without pixels.
  std::size_t keep_frames = 4;
  uint32_t start_time = 0;              // clock at construction, in milliseconds
  uint32_t ms_per_idle_poll = 0;        // clock advance on each empty PeekMessage
  uint64_t close_after_idle_polls = 0;  // post WM_CLOSE after this many idle passes; 0: never
};

// Operations that can be told to fail.
enum class Op {
  kRegisterClass,
  kCreateWindow,
  kUpdateWindow,
  kDestroyWindow,
  kCreateDisplay,
  kDisplayCooperativeLevel,
  kSetDisplayMode,
  kCreateSurface,
  kGetAttachedSurface,
  kGetSurfaceDesc,
  kLock,
  kUnlock,
  kFlip,
  kBltFast,
  kRestore,
  kCreateSound,
  kSoundCooperativeLevel,
  kCreateSoundBuffer,
  kBufferGetCaps,
  kBufferLock,
  kBufferUnlock,
  kBufferRestore,
  kBufferSetPosition,
  kBufferPlay,
  kCount
};

constexpr int kAlways = -1;

struct MessageBoxRecord {
  Window owner = nullptr;
  std::string caption;
  std::string text;
};

enum class PresentKind { kFlip, kCopy };

struct Frame {
  PresentKind kind = PresentKind::kCopy;
  int x = 0;  // destination on the screen (0, 0 for a flip)
  int y = 0;
  int width = 0;
  int height = 0;
  uint64_t checksum = 0;         // Checksum() of the pixels
  std::vector<uint16_t> pixels;  // width × height, no padding; empty when keep_frames is 0

  uint16_t At(int px, int py) const { return pixels[static_cast<std::size_t>(py * width + px)]; }
};

// A 64-bit hash of width × height pixels (rows `stride` pixels apart), as Frame::checksum holds
// it, for comparing with an expected picture. The same pixels give the same value on every run.
uint64_t Checksum(const uint16_t* pixels, int width, int height, int stride);

struct WindowInfo {
  uint32_t ex_style = 0;
  uint32_t style = 0;
  std::string class_name;
  std::string title;
  int x = 0;
  int y = 0;
  int width = 0;  // outer size
  int height = 0;
  int client_width = 0;
  int client_height = 0;
  bool visible = false;
  int show_cmd = 0;
  bool destroyed = false;
};

class HeadlessWindows;
class HeadlessDisplay;
class HeadlessSound;

class HeadlessPlatform final : public Platform {
 public:
  explicit HeadlessPlatform(const Config& config = {});
  ~HeadlessPlatform() override;
  HeadlessPlatform(const HeadlessPlatform&) = delete;
  HeadlessPlatform& operator=(const HeadlessPlatform&) = delete;

  // Platform.
  WindowSystem& Windows() override;
  Result CreateDisplay(Display** out) override;
  Result CreateSound(Sound** out) override;
  uint32_t Milliseconds() override { return time_; }

  const Config& config() const { return config_; }

  // Clock.
  void SetTime(uint32_t ms) { time_ = ms; }
  void Advance(uint32_t ms) { time_ += ms; }

  // Event script. A null window means the main window at the time the message is taken.
  void PostMessage(const Message& message);
  void PostMessageAfterIdle(uint64_t idle_polls, const Message& message);
  void PostKeyDown(int key);
  void PostKeyUp(int key);
  void PostChar(int character);
  void PostMouseMove(int x, int y);
  void PostButtonDown(int button);  // 1 left, 2 right, 16 middle
  void PostButtonUp(int button);
  void PostClose();
  void PostDestroy();
  void PostFocus(bool gained);        // WM_SETFOCUS or WM_KILLFOCUS
  void PostActivateApp(bool active);  // WM_ACTIVATEAPP with 1 or 0
  // A pad plugged in or out, a button of it pressed or released, a stick or trigger moved.
  void PostPadAdded(uintptr_t pad);
  void PostPadRemoved(uintptr_t pad);
  void PostPadButton(uintptr_t pad, int button, bool down);
  void PostPadAxis(uintptr_t pad, int axis, int value);
  // Moves the window's outer top-left corner and posts WM_MOVE with its client position.
  void MoveWindow(Window window, int x, int y);
  std::size_t PendingMessages() const;
  uint64_t IdlePolls() const;

  // Windows.
  Window MainWindow() const;
  const WindowInfo* FindWindow(Window window) const;  // null for an unknown handle
  std::size_t WindowCount() const;                    // every window ever created
  void SetForegroundWindow(Window window);
  bool ClassRegistered(const char* name) const;

  // Desktop and display mode.
  int ScreenWidth() const { return screen_width_; }
  int ScreenHeight() const { return screen_height_; }
  int ScreenDepth() const { return screen_depth_; }
  uint32_t DisplayCooperativeFlags() const;  // of the last display object made; 0 if none
  bool DisplayReleased() const;              // whether the last display object was released
  void LoseSurfaces();
  int LiveSurfaces() const;                  // made and not yet released
  uint16_t ScreenPixel(int x, int y) const;  // pixel of the current primary surface

  // Sound.
  uint32_t SoundCooperativeLevel() const;  // of the last sound object made; 0 if none
  bool SoundReleased() const;              // whether the last sound object was released
  SoundBuffer* AdoptSoundBuffer(std::unique_ptr<SoundBuffer> buffer);
  const std::vector<std::unique_ptr<SoundBuffer>>& SoundBuffers() const { return sound_buffers_; }

  // What was shown.
  const std::vector<MessageBoxRecord>& MessageBoxes() const { return message_boxes_; }
  const std::deque<Frame>& Frames() const { return frames_; }
  const Frame* LastFrame() const { return frames_.empty() ? nullptr : &frames_.back(); }
  uint64_t PresentCount() const { return present_count_; }

  // Fault injection.
  void Fail(Op op, Result result, int count = 1, int skip = 0);
  void ClearFaults();
  int Calls(Op op) const { return calls_[static_cast<std::size_t>(op)]; }
  int ReleaseErrors() const { return release_errors_; }

  // Used by the back end's own objects (and headless sound buffers).
  Result TakeFault(Op op);  // counts the call; the injected failure or OK
  void RecordMessageBox(Window owner, const char* text, const char* caption);
  void RecordPresent(PresentKind kind, int x, int y, const uint16_t* pixels, int width, int height,
                     int stride);
  void CountReleaseError() { ++release_errors_; }
  void SetScreen(int width, int height, int depth);

 private:
  struct FaultRule {
    int skip = 0;
    int count = 0;
    Result result = OK;
  };

  Config config_;
  uint32_t time_ = 0;
  int screen_width_ = 0;
  int screen_height_ = 0;
  int screen_depth_ = 0;
  FaultRule faults_[static_cast<std::size_t>(Op::kCount)] = {};
  int calls_[static_cast<std::size_t>(Op::kCount)] = {};
  int release_errors_ = 0;
  std::vector<MessageBoxRecord> message_boxes_;
  std::deque<Frame> frames_;
  uint64_t present_count_ = 0;
  std::unique_ptr<HeadlessWindows> windows_;
  std::vector<std::unique_ptr<HeadlessDisplay>> displays_;
  std::vector<std::unique_ptr<HeadlessSound>> sounds_;
  std::vector<std::unique_ptr<SoundBuffer>> sound_buffers_;
};

// Makes a sound buffer as `desc` asks, owned by `platform` (through AdoptSoundBuffer). Called by
// the headless sound object after its own checks; defined in headless_sound_buffer.cpp.
Result CreateHeadlessSoundBuffer(HeadlessPlatform& platform, const BufferDesc& desc,
                                 SoundBuffer** out);

}  // namespace platform::headless
