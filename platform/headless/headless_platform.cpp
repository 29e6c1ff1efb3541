#include <cstdio>

#include "platform/headless/headless.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/headless_sound.h"
#include "platform/headless/headless_windows.h"

namespace platform::headless {

uint32_t Checksum(const uint16_t* pixels, int width, int height, int stride) {
  uint32_t hash = 2166136261u;
  for (int y = 0; y < height; ++y) {
    const uint16_t* row = pixels + static_cast<std::ptrdiff_t>(y) * stride;
    for (int x = 0; x < width; ++x) {
      hash = (hash ^ (row[x] & 0xFFu)) * 16777619u;
      hash = (hash ^ (row[x] >> 8)) * 16777619u;
    }
  }
  return hash;
}

HeadlessPlatform::HeadlessPlatform(const Config& config)
    : config_(config),
      time_(config.start_time),
      screen_width_(config.desktop_width),
      screen_height_(config.desktop_height),
      screen_depth_(config.desktop_depth),
      windows_(std::make_unique<HeadlessWindows>(*this)) {}

HeadlessPlatform::~HeadlessPlatform() = default;

WindowSystem& HeadlessPlatform::Windows() {
  return *windows_;
}

Result HeadlessPlatform::CreateDisplay(Display** out) {
  *out = nullptr;
  if (const Result r = TakeFault(Op::kCreateDisplay); r != OK) return r;
  displays_.push_back(std::make_unique<HeadlessDisplay>(*this));
  *out = displays_.back().get();
  return OK;
}

Result HeadlessPlatform::CreateSound(Sound** out) {
  *out = nullptr;
  if (const Result r = TakeFault(Op::kCreateSound); r != OK) return r;
  sounds_.push_back(std::make_unique<HeadlessSound>(*this));
  *out = sounds_.back().get();
  return OK;
}

// ---------------------------------------------------------------------------------------------
// Event script

void HeadlessPlatform::PostMessage(const Message& message) {
  windows_->Post(message);
}

void HeadlessPlatform::PostMessageAfterIdle(uint64_t idle_polls, const Message& message) {
  windows_->PostAfterIdle(idle_polls, message);
}

void HeadlessPlatform::PostKeyDown(int key) {
  PostMessage(Message{nullptr, WM_KEYDOWN, static_cast<uintptr_t>(key), 0});
}

void HeadlessPlatform::PostKeyUp(int key) {
  PostMessage(Message{nullptr, WM_KEYUP, static_cast<uintptr_t>(key), 0});
}

void HeadlessPlatform::PostChar(int character) {
  PostMessage(Message{nullptr, WM_CHAR, static_cast<uintptr_t>(character), 0});
}

void HeadlessPlatform::PostMouseMove(int x, int y) {
  PostMessage(Message{nullptr, WM_MOUSEMOVE, 0, MakeLParam(x, y)});
}

namespace {

uint32_t ButtonMessage(int button, bool down) {
  switch (button) {
    case 2:
      return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case 16:
      return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    default:
      return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
  }
}

}  // namespace

void HeadlessPlatform::PostButtonDown(int button) {
  PostMessage(Message{nullptr, ButtonMessage(button, true), 0, 0});
}

void HeadlessPlatform::PostButtonUp(int button) {
  PostMessage(Message{nullptr, ButtonMessage(button, false), 0, 0});
}

void HeadlessPlatform::PostClose() {
  PostMessage(Message{nullptr, WM_CLOSE, 0, 0});
}

void HeadlessPlatform::PostDestroy() {
  PostMessage(Message{nullptr, WM_DESTROY, 0, 0});
}

void HeadlessPlatform::PostFocus(bool gained) {
  PostMessage(Message{nullptr, gained ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0});
}

void HeadlessPlatform::PostActivateApp(bool active) {
  PostMessage(Message{nullptr, WM_ACTIVATEAPP, active ? 1u : 0u, 0});
}

void HeadlessPlatform::MoveWindow(Window window, int x, int y) {
  windows_->Move(window, x, y);
}

std::size_t HeadlessPlatform::PendingMessages() const {
  return windows_->Pending();
}

uint64_t HeadlessPlatform::IdlePolls() const {
  return windows_->IdlePolls();
}

// ---------------------------------------------------------------------------------------------
// Windows, display and sound state

Window HeadlessPlatform::MainWindow() const {
  return windows_->Main();
}

const WindowInfo* HeadlessPlatform::FindWindow(Window window) const {
  return windows_->Find(window);
}

std::size_t HeadlessPlatform::WindowCount() const {
  return windows_->Count();
}

void HeadlessPlatform::SetForegroundWindow(Window window) {
  windows_->SetForeground(window);
}

bool HeadlessPlatform::ClassRegistered(const char* name) const {
  return windows_->Registered(name);
}

void HeadlessPlatform::SetScreen(int width, int height, int depth) {
  screen_width_ = width;
  screen_height_ = height;
  screen_depth_ = depth;
}

uint32_t HeadlessPlatform::DisplayCooperativeFlags() const {
  return displays_.empty() ? 0 : displays_.back()->cooperative_flags();
}

bool HeadlessPlatform::DisplayReleased() const {
  return !displays_.empty() && displays_.back()->released();
}

void HeadlessPlatform::LoseSurfaces() {
  for (auto& display : displays_) display->LoseAll();
}

int HeadlessPlatform::LiveSurfaces() const {
  int live = 0;
  for (const auto& display : displays_) live += display->Live();
  return live;
}

uint16_t HeadlessPlatform::ScreenPixel(int x, int y) const {
  for (auto it = displays_.rbegin(); it != displays_.rend(); ++it) {
    if ((*it)->primary() != nullptr) return (*it)->primary()->Pixel(x, y);
  }
  return 0;
}

uint32_t HeadlessPlatform::SoundCooperativeLevel() const {
  return sounds_.empty() ? 0 : sounds_.back()->level();
}

bool HeadlessPlatform::SoundReleased() const {
  return !sounds_.empty() && sounds_.back()->released();
}

SoundBuffer* HeadlessPlatform::AdoptSoundBuffer(std::unique_ptr<SoundBuffer> buffer) {
  sound_buffers_.push_back(std::move(buffer));
  return sound_buffers_.back().get();
}

// ---------------------------------------------------------------------------------------------
// Records and faults

void HeadlessPlatform::RecordMessageBox(Window owner, const char* text, const char* caption) {
  message_boxes_.push_back(
      MessageBoxRecord{owner, caption != nullptr ? caption : "", text != nullptr ? text : ""});
  if (config_.echo_message_boxes) {
    std::fprintf(stderr, "%s: %s\n", message_boxes_.back().caption.c_str(),
                 message_boxes_.back().text.c_str());
  }
}

void HeadlessPlatform::RecordPresent(PresentKind kind, int x, int y, const uint16_t* pixels,
                                     int width, int height, int stride) {
  ++present_count_;
  Frame frame;
  frame.kind = kind;
  frame.x = x;
  frame.y = y;
  frame.width = width;
  frame.height = height;
  frame.checksum = Checksum(pixels, width, height, stride);
  if (config_.keep_frames > 0) {
    frame.pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row) {
      const uint16_t* start = pixels + static_cast<std::ptrdiff_t>(row) * stride;
      frame.pixels.insert(frame.pixels.end(), start, start + width);
    }
  }
  frames_.push_back(std::move(frame));
  // Only the latest frames are kept, so that a long run does not grow without bound.
  const std::size_t keep = config_.keep_frames > 0 ? config_.keep_frames : 1;
  while (frames_.size() > keep) frames_.pop_front();
}

void HeadlessPlatform::Fail(Op op, Result result, int count, int skip) {
  faults_[static_cast<std::size_t>(op)] = FaultRule{skip, count, result};
}

void HeadlessPlatform::ClearFaults() {
  for (FaultRule& rule : faults_) rule = FaultRule{};
}

Result HeadlessPlatform::TakeFault(Op op) {
  const auto index = static_cast<std::size_t>(op);
  ++calls_[index];
  FaultRule& rule = faults_[index];
  if (rule.count == 0) return OK;
  if (rule.skip > 0) {
    --rule.skip;
    return OK;
  }
  if (rule.count > 0) --rule.count;
  return rule.result;
}

}  // namespace platform::headless
