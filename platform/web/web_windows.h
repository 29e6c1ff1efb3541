// The window system of a web page: one canvas stands for the program's windows. Window classes
// and handlers, the message queue fed from the page's events, activation from the page's focus,
// and message boxes shown on the page by the back end.
#pragma once

#include <bitset>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform::web {

class WebWindows final : public WindowSystem {
 public:
  // Shows a message box's caption and text on the page; it never waits for the OK button.
  using ShowBox = std::function<void(const char* caption, const char* text)>;

  WebWindows(int desktop_width, int desktop_height, ShowBox show_box);

  Cursor LoadArrowCursor() override;
  Brush BlackBrush() override;
  int RegisterClass(const WindowClass& window_class) override;
  int DesktopDepth() override { return 16; }
  int DesktopWidth() override { return desktop_width_; }
  int DesktopHeight() override { return desktop_height_; }
  Window CreateWindow(uint32_t ex_style, const char* class_name, const char* title, uint32_t style,
                      int x, int y, int width, int height, void* instance) override;
  void GetClientSize(Window window, int* width, int* height) override;
  void ShowWindow(Window window, int show_cmd) override;
  int UpdateWindow(Window window) override;
  bool PeekMessage(Message* message) override;
  void TranslateMessage(const Message& message) override;
  intptr_t DispatchMessage(const Message& message) override;
  intptr_t DefWindowProc(Window window, uint32_t message, uintptr_t wparam,
                         intptr_t lparam) override;
  void PostQuitMessage(int exit_code) override;
  int DestroyWindow(Window window) override;
  void ClientToScreen(Window window, int* x, int* y) override;
  Window GetForegroundWindow() override;
  int MessageBox(Window owner, const char* text, const char* caption, uint32_t type) override;

  // The page's events, for the window on the page (the latest one shown).
  void KeyDown(uint8_t virtual_key, uint8_t typed);
  void KeyUp(uint8_t virtual_key);
  // Focus and blur of the page: the window's activation. Keys held at a blur are released
  // then, as on the desktop: the page hears no key-up once it has lost the keyboard.
  void PageFocus(bool gained);

 private:
  struct Record {
    WindowProcFn proc = nullptr;
    int width = 0;
    int height = 0;
    bool shown = false;
    bool destroyed = false;
  };
  struct Queued {
    Message message;
    uint8_t typed = 0;  // the character a key press types, made by TranslateMessage
  };

  Record* Find(Window window) const;
  static Window Handle(Record* record) { return reinterpret_cast<Window>(record); }
  void Post(uint32_t message, uintptr_t wparam, uint8_t typed = 0);

  int desktop_width_;
  int desktop_height_;
  ShowBox show_box_;
  char arrow_cursor_ = 0;
  char black_brush_ = 0;
  std::vector<std::string> class_names_;
  std::vector<WindowProcFn> class_procs_;
  // Records live as long as the window system so that a stale handle is recognised.
  std::vector<std::unique_ptr<Record>> windows_;
  Window on_page_ = nullptr;
  bool page_focused_ = true;  // headless browsers may never report focus: start active
  std::bitset<256> held_;
  std::deque<Queued> queue_;
  uint8_t peeked_typed_ = 0;
  bool quit_posted_ = false;
  int quit_code_ = 0;
};

}  // namespace platform::web
