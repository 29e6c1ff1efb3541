// Start-up: the engine's arguments, the debug log, and the window stage. Each stage moves
// `status` forward; the first failure leaves its error code there for WinMain to report.
#include <cstdint>
#include <limits>

#include "engine/core/vorn.h"
#include "engine/core/window_proc.h"
#include "engine/files/debug_log.h"

bool WinDX::Initialize(int fullscreen_arg, int xres, int yres) {
  req_fullscreen = fullscreen_arg;
  req_xres = xres;
  req_yres = yres;
  debug_log.Open("debug.txt");
  debug_log.Output("WindowsDX: Initialization started.\n", "");

  if (!InitClass() || !InitWin() || !ShowWin()) return false;
  if (!DDStart() || !CreateSurface()) return false;
  char_count = 0;
  if (!SoundInit()) return false;

  debug_log.Output("WindowsDX: Initialization finished OK.\n", "");
  return true;
}

bool WinDX::InitClass() {
  // Without a back end there is no window system to register with.
  if (backend == nullptr) {
    status = ERR_INITCLASS;
    return false;
  }
  platform::WindowSystem& windows = backend->Windows();
  platform::WindowClass window_class;
  window_class.style = platform::CS_HREDRAW | platform::CS_VREDRAW;
  window_class.proc = WindowProc;
  window_class.class_extra = 0;
  window_class.window_extra = 0;
  window_class.instance = instance;
  window_class.cursor = windows.LoadArrowCursor();
  window_class.background = windows.BlackBrush();
  window_class.menu_name = "Menu";
  window_class.class_name = "Vorn";
  if (windows.RegisterClass(window_class) == 0) {
    status = ERR_INITCLASS;
    return false;
  }
  status = STATUS_CLASS_REGISTERED;
  return true;
}

namespace {

// 2 × size − client, the outer size whose client area is `size`. Absurd full-screen requests
// would overflow an int; those give no size at all.
bool OuterSize(int size, int client, int* outer) {
  const int64_t value = 2 * static_cast<int64_t>(size) - client;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
    return false;
  }
  *outer = static_cast<int>(value);
  return true;
}

}  // namespace

bool WinDX::InitWin() {
  platform::WindowSystem& windows = backend->Windows();
  screen_bpp = windows.DesktopDepth();
  if (screen_bpp != 16) {
    status = ERR_BPP;
    return false;
  }
  screen_xres = windows.DesktopWidth();
  screen_yres = windows.DesktopHeight();
  fullscreen = req_fullscreen;

  int width = 0;
  int height = 0;
  uint32_t style = 0;
  if (fullscreen == 1) {
    width = req_xres;
    height = req_yres;
    style = platform::WS_POPUP;
  } else {
    if (req_xres > screen_xres || req_yres > screen_yres) {
      status = ERR_REQSIZE;
      return false;
    }
    width = req_xres < 1 ? screen_xres : req_xres;
    height = req_yres < 1 ? screen_yres : req_yres;
    style = platform::WS_SYSMENU;
  }

  view_stride = width;
  view_yres = height;
  clip_left = 0;
  clip_top = 0;
  clip_right = width - 1;
  clip_bottom = height - 1;

  // A window that is never shown tells how much of its size the frame takes. It stays for the
  // life of the program: destroying it would end the message loop.
  platform::Window measuring = windows.CreateWindow(platform::WS_EX_APPWINDOW, "Vorn", "", style, 0,
                                                    0, width, height, instance);
  if (measuring == nullptr) {
    status = ERR_INITWINTEMP;
    return false;
  }
  status = STATUS_WINDOW_MEASURED;
  int client_width = 0;
  int client_height = 0;
  windows.GetClientSize(measuring, &client_width, &client_height);

  int outer_width = 0;
  int outer_height = 0;
  if (!OuterSize(width, client_width, &outer_width) ||
      !OuterSize(height, client_height, &outer_height)) {
    status = ERR_INITWINREAL;
    return false;
  }
  int x = 0;
  int y = 0;
  if (fullscreen != 1) {
    x = (screen_xres >> 1) - (outer_width >> 1);
    y = (screen_yres >> 1) - (outer_height >> 1);
  }
  hwnd = windows.CreateWindow(platform::WS_EX_APPWINDOW, "Vorn", "", style, x, y, outer_width,
                              outer_height, instance);
  if (hwnd == nullptr) {
    status = ERR_INITWINREAL;
    return false;
  }
  status = STATUS_WINDOW_CREATED;
  return true;
}

bool WinDX::ShowWin() {
  platform::WindowSystem& windows = backend->Windows();
  windows.ShowWindow(hwnd, show_cmd);
  if (windows.UpdateWindow(hwnd) == 0) {
    status = ERR_SHOWWIN;
    return false;
  }
  status = STATUS_WINDOW_SHOWN;
  return true;
}
