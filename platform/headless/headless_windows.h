// The headless window system: registered classes, windows with a frame model, the message
// queue with its idle passes, and message boxes handed to the platform's record.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/headless/headless.h"

namespace platform::headless {

class HeadlessWindows final : public WindowSystem {
 public:
  explicit HeadlessWindows(HeadlessPlatform& platform);

  Cursor LoadArrowCursor() override;
  Brush BlackBrush() override;
  int RegisterClass(const WindowClass& window_class) override;
  int DesktopDepth() override { return platform_.ScreenDepth(); }
  int DesktopWidth() override { return platform_.ScreenWidth(); }
  int DesktopHeight() override { return platform_.ScreenHeight(); }
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
  Window GetForegroundWindow() override { return foreground_; }
  int MessageBox(Window owner, const char* text, const char* caption, uint32_t type) override;

  // Script side.
  void Post(const Message& message) { queue_.push_back(message); }
  void PostAfterIdle(uint64_t idle_polls, const Message& message);
  void Move(Window window, int x, int y);
  std::size_t Pending() const { return queue_.size(); }
  uint64_t IdlePolls() const { return idle_polls_; }
  Window Main() const;
  const WindowInfo* Find(Window window) const;
  std::size_t Count() const { return windows_.size(); }
  void SetForeground(Window window) { foreground_ = window; }
  bool Registered(const std::string& name) const;

 private:
  struct Scheduled {
    uint64_t due = 0;
    Message message;
  };
  struct Class {
    std::string name;
    WindowProcFn proc = nullptr;
  };

  WindowInfo* Lookup(Window window);
  const Class* ClassOf(const WindowInfo& info) const;
  // Frame widths of a window of this style: left/right, top (caption included), bottom.
  void Frame(uint32_t style, int* side, int* top) const;
  void IdlePass();

  HeadlessPlatform& platform_;
  std::vector<Class> classes_;
  std::vector<WindowInfo> windows_;  // handle = index + 1
  std::deque<Message> queue_;
  std::vector<Scheduled> scheduled_;
  bool quit_pending_ = false;
  int quit_code_ = 0;
  uint64_t idle_polls_ = 0;
  Window foreground_ = nullptr;
  bool shift_down_ = false;
};

}  // namespace platform::headless
