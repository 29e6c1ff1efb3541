// The platform layer: the only way the engine reaches windows, display surfaces, sound buffers,
// the clock and message boxes. A back end implements these interfaces; the engine holds a
// pointer to one `Platform` and never names a back end. Nothing here exits, throws or calls the
// engine, except the window handler that `DispatchMessage` hands a message to.
//
// Every fallible call returns a `Result`: 0 on success, a negative code from results.h on failure.
#pragma once

#include <cstdint>

#include "platform/messages.h"
#include "platform/results.h"

namespace platform {

// ---------------------------------------------------------------------------------------------
// Window system

struct WindowTag;
using Window = WindowTag*;  // opaque handle; null means "no window"
struct CursorTag;
using Cursor = CursorTag*;
struct BrushTag;
using Brush = BrushTag*;

using WindowProcFn = intptr_t (*)(Window window, uint32_t message, uintptr_t wparam,
                                  intptr_t lparam);

// Class styles and window styles the engine asks for.
constexpr uint32_t CS_VREDRAW = 0x0001;
constexpr uint32_t CS_HREDRAW = 0x0002;
constexpr uint32_t WS_POPUP = 0x80000000u;
constexpr uint32_t WS_SYSMENU = 0x00080000u;
constexpr uint32_t WS_EX_APPWINDOW = 0x00040000u;
constexpr uint32_t MB_OK = 0x00000000u;

struct WindowClass {
  uint32_t style = 0;
  WindowProcFn proc = nullptr;
  int class_extra = 0;
  int window_extra = 0;
  void* instance = nullptr;
  Cursor cursor = nullptr;
  Brush background = nullptr;
  const char* menu_name = nullptr;
  const char* class_name = nullptr;
};

struct Message {
  Window window = nullptr;
  uint32_t message = 0;
  uintptr_t wparam = 0;
  intptr_t lparam = 0;
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  virtual Cursor LoadArrowCursor() = 0;
  virtual Brush BlackBrush() = 0;
  // Non-zero on success.
  virtual int RegisterClass(const WindowClass& window_class) = 0;
  // Bits per pixel of the desktop.
  virtual int DesktopDepth() = 0;
  virtual int DesktopWidth() = 0;
  virtual int DesktopHeight() = 0;
  // A window of a registered class; null on failure.
  virtual Window CreateWindow(uint32_t ex_style, const char* class_name, const char* title,
                              uint32_t style, int x, int y, int width, int height,
                              void* instance) = 0;
  virtual void GetClientSize(Window window, int* width, int* height) = 0;
  virtual void ShowWindow(Window window, int show_cmd) = 0;
  // Non-zero on success.
  virtual int UpdateWindow(Window window) = 0;
  // Takes the next message for any window of the program, never waiting; false when none.
  virtual bool PeekMessage(Message* message) = 0;
  // Key messages produce their character messages.
  virtual void TranslateMessage(const Message& message) = 0;
  // Hands the message to its window's class handler and returns the handler's result.
  virtual intptr_t DispatchMessage(const Message& message) = 0;
  virtual intptr_t DefWindowProc(Window window, uint32_t message, uintptr_t wparam,
                                 intptr_t lparam) = 0;
  // Queues WM_QUIT with the code as its word argument.
  virtual void PostQuitMessage(int exit_code) = 0;
  // Destroys the window; WM_DESTROY reaches its handler before this returns. Non-zero on success.
  virtual int DestroyWindow(Window window) = 0;
  // Screen position of a client point.
  virtual void ClientToScreen(Window window, int* x, int* y) = 0;
  virtual Window GetForegroundWindow() = 0;
  // Shows the text with one OK button; returns when it is closed.
  virtual int MessageBox(Window owner, const char* text, const char* caption, uint32_t type) = 0;
};

// ---------------------------------------------------------------------------------------------
// Display: a display object and its 16-bit surfaces.

constexpr uint32_t DDSCL_NORMAL = 0x08;
constexpr uint32_t DDSCL_FULLSCREEN = 0x01;
constexpr uint32_t DDSCL_EXCLUSIVE = 0x10;

constexpr uint32_t DDSD_CAPS = 0x0001;
constexpr uint32_t DDSD_HEIGHT = 0x0002;
constexpr uint32_t DDSD_WIDTH = 0x0004;
constexpr uint32_t DDSD_PITCH = 0x0008;
constexpr uint32_t DDSD_BACKBUFFERCOUNT = 0x0020;
constexpr uint32_t DDSD_PIXELFORMAT = 0x1000;

constexpr uint32_t DDSCAPS_BACKBUFFER = 0x0004;
constexpr uint32_t DDSCAPS_COMPLEX = 0x0008;
constexpr uint32_t DDSCAPS_FLIP = 0x0010;
constexpr uint32_t DDSCAPS_OFFSCREENPLAIN = 0x0040;
constexpr uint32_t DDSCAPS_PRIMARYSURFACE = 0x0200;
constexpr uint32_t DDSCAPS_VIDEOMEMORY = 0x4000;

constexpr uint32_t DDLOCK_WAIT = 0x01;
constexpr uint32_t DDFLIP_WAIT = 0x01;
constexpr uint32_t DDBLTFAST_WAIT = 0x10;

struct PixelFormat {
  uint32_t rgb_bit_count = 0;
  uint32_t red_mask = 0;
  uint32_t green_mask = 0;
  uint32_t blue_mask = 0;
};

// The sizes callers state in a record's `size`: a back end refuses a record of another size, as
// one of a version it does not know.
constexpr uint32_t SURFACE_DESC_SIZE = 108;
constexpr uint32_t BUFFER_DESC_SIZE = 20;
constexpr uint32_t BUFFER_CAPS_SIZE = 20;

// The surface description record: what is requested of a surface and what it reports.
struct SurfaceDesc {
  uint32_t size = SURFACE_DESC_SIZE;
  uint32_t flags = 0;
  int height = 0;
  int width = 0;
  int pitch = 0;  // bytes per row
  int back_buffer_count = 0;
  uint32_t caps = 0;
  PixelFormat pixel_format;
  void* surface = nullptr;  // first pixel, filled by Lock
};

class Surface {
 public:
  virtual ~Surface() = default;
  virtual Result GetAttachedSurface(uint32_t caps, Surface** out) = 0;
  virtual Result GetSurfaceDesc(SurfaceDesc* desc) = 0;
  // Locks the whole surface; desc->surface and desc->pitch describe the pixels.
  virtual Result Lock(SurfaceDesc* desc, uint32_t flags) = 0;
  virtual Result Unlock() = 0;
  virtual Result Flip(uint32_t flags) = 0;
  // Copies the whole source to (x, y) of this surface, unscaled, without colour key.
  virtual Result BltFast(int x, int y, Surface* source, uint32_t flags) = 0;
  // DDERR_SURFACELOST when lost, 0 otherwise.
  virtual Result IsLost() = 0;
  virtual Result Restore() = 0;
  virtual void Release() = 0;
};

class Display {
 public:
  virtual ~Display() = default;
  virtual Result SetCooperativeLevel(Window window, uint32_t flags) = 0;
  virtual Result SetDisplayMode(int width, int height, int bits_per_pixel) = 0;
  virtual Result CreateSurface(const SurfaceDesc& desc, Surface** out) = 0;
  virtual void Release() = 0;
};

// ---------------------------------------------------------------------------------------------
// Sound: a sound object and its PCM buffers.

constexpr uint32_t DSSCL_NORMAL = 1;
constexpr uint32_t DSBCAPS_CTRLFREQUENCY = 0x20;
constexpr uint32_t DSBCAPS_CTRLPAN = 0x40;
constexpr uint32_t DSBCAPS_CTRLVOLUME = 0x80;
constexpr uint16_t WAVE_FORMAT_PCM = 1;

struct WaveFormat {
  uint16_t format_tag = 0;
  uint16_t channels = 0;
  uint32_t samples_per_sec = 0;
  uint32_t avg_bytes_per_sec = 0;
  uint16_t block_align = 0;
  uint16_t bits_per_sample = 0;
  uint16_t extra_size = 0;
};

struct BufferDesc {
  uint32_t size = BUFFER_DESC_SIZE;
  uint32_t flags = 0;
  uint32_t buffer_bytes = 0;
  uint32_t reserved = 0;
  const WaveFormat* format = nullptr;
};

struct BufferCaps {
  uint32_t size = BUFFER_CAPS_SIZE;
  uint32_t flags = 0;
  uint32_t buffer_bytes = 0;
  uint32_t unlock_transfer_rate = 0;
  uint32_t play_cpu_overhead = 0;
};

class SoundBuffer {
 public:
  virtual ~SoundBuffer() = default;
  virtual Result GetCaps(BufferCaps* caps) = 0;
  virtual Result Lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* bytes1,
                      void** region2, uint32_t* bytes2, uint32_t flags) = 0;
  virtual Result Restore() = 0;
  virtual Result Unlock(void* region1, uint32_t bytes1, void* region2, uint32_t bytes2) = 0;
  virtual Result SetCurrentPosition(uint32_t position) = 0;
  // Plays once from the current position; a playing buffer goes on playing.
  virtual Result Play(uint32_t reserved, uint32_t priority, uint32_t flags) = 0;
  virtual void Release() = 0;
};

class Sound {
 public:
  virtual ~Sound() = default;
  virtual Result SetCooperativeLevel(Window window, uint32_t level) = 0;
  virtual Result CreateSoundBuffer(const BufferDesc& desc, SoundBuffer** out) = 0;
  virtual void Release() = 0;
};

// ---------------------------------------------------------------------------------------------
// A back end: the window system, factories for the display and sound objects, and the clock.

// The engine's message loop cut into passes, for a host that owns the loop itself.
struct LoopHooks {
  // Hands every waiting message to its window, then runs one frame. False once the quit
  // message has come, with its code in *exit_code.
  bool (*pass)(int* exit_code) = nullptr;
  // Releases what the engine holds after the last pass; returns the program's exit status.
  int (*end)(int exit_code) = nullptr;
};

class Platform {
 public:
  virtual ~Platform() = default;
  virtual WindowSystem& Windows() = 0;
  virtual Result CreateDisplay(Display** out) = 0;
  virtual Result CreateSound(Sound** out) = 0;
  // Milliseconds from an arbitrary start; wraps at 2^32.
  virtual uint32_t Milliseconds() = 0;
  // A host that must not be blocked in (a browser page gets no frames while a script runs)
  // takes the loop: it calls hooks.pass once per frame of its own, hooks.end after the last,
  // and returns true. Every other back end returns false and the engine runs the loop itself.
  // This is the one call back into the engine besides the window handler.
  virtual bool TakeLoop(const LoopHooks& /*hooks*/) { return false; }
};

}  // namespace platform
