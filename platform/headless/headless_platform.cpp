#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/headless/headless.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/headless_sound.h"
#include "platform/headless/headless_windows.h"

namespace platform::headless {

namespace {

// The checksum reads each row as 8-byte words spread over eight independent lanes, so that the
// multiplies overlap instead of waiting on each other: a frame of the game's size costs tens of
// microseconds rather than a millisecond. Each lane step is invertible and rotates high bits
// down, so a change anywhere in a word reaches every bit of the lane; the lanes, the row tails
// and the size are folded together at the end.
constexpr uint64_t kOdd = 0x9E3779B97F4A7C15ull;

uint64_t Step(uint64_t lane, uint64_t word) {
  const uint64_t x = (lane ^ word) * kOdd;
  return (x << 29) | (x >> 35);
}

uint64_t Avalanche(uint64_t h) {
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  h ^= h >> 33;
  return h;
}

uint64_t Word(const unsigned char* bytes) {
  uint64_t word;
  std::memcpy(&word, bytes, 8);
  return word;
}

}  // namespace

uint64_t Checksum(const uint16_t* pixels, int width, int height, int stride) {
  // The lanes are named one by one so that they stay in registers.
  uint64_t l0 = kOdd, l1 = kOdd * 2, l2 = kOdd * 3, l3 = kOdd * 4;
  uint64_t l4 = kOdd * 5, l5 = kOdd * 6, l6 = kOdd * 7, l7 = kOdd * 8;
  uint64_t tail = 0;
  const std::size_t row_bytes = width > 0 ? static_cast<std::size_t>(width) * 2 : 0;
  for (int y = 0; y < height; ++y) {
    const auto* row =
        reinterpret_cast<const unsigned char*>(pixels + static_cast<std::ptrdiff_t>(y) * stride);
    std::size_t at = 0;
    for (; row_bytes - at >= 64; at += 64) {
      const unsigned char* p = row + at;
      l0 = Step(l0, Word(p));
      l1 = Step(l1, Word(p + 8));
      l2 = Step(l2, Word(p + 16));
      l3 = Step(l3, Word(p + 24));
      l4 = Step(l4, Word(p + 32));
      l5 = Step(l5, Word(p + 40));
      l6 = Step(l6, Word(p + 48));
      l7 = Step(l7, Word(p + 56));
    }
    // The rest of the row, zero-padded to whole words, goes into one running value.
    for (; at < row_bytes; at += 8) {
      uint64_t word = 0;
      std::memcpy(&word, row + at, std::min<std::size_t>(8, row_bytes - at));
      tail = Step(tail, word);
    }
  }
  uint64_t hash = Avalanche(static_cast<uint64_t>(static_cast<uint32_t>(width)) << 32 |
                            static_cast<uint32_t>(height));
  for (uint64_t lane : {l0, l1, l2, l3, l4, l5, l6, l7, tail}) hash = Avalanche(hash ^ lane);
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

void HeadlessPlatform::PostPadAdded(uintptr_t pad) {
  PostMessage(Message{nullptr, WM_PADADDED, pad, 0});
}

void HeadlessPlatform::PostPadRemoved(uintptr_t pad) {
  PostMessage(Message{nullptr, WM_PADREMOVED, pad, 0});
}

void HeadlessPlatform::PostPadButton(uintptr_t pad, int button, bool down) {
  PostMessage(Message{nullptr, down ? WM_PADBUTTONDOWN : WM_PADBUTTONUP, pad, button});
}

void HeadlessPlatform::PostPadAxis(uintptr_t pad, int axis, int value) {
  PostMessage(Message{nullptr, WM_PADAXIS, pad, MakeLParam(axis, value)});
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
  // Only the latest frames are kept, so that a long run does not grow without bound. The frame
  // that drops out lends its pixel memory to the new one: no picture-sized allocation per frame.
  const std::size_t keep = config_.keep_frames > 0 ? config_.keep_frames : 1;
  Frame frame;
  while (frames_.size() >= keep) {
    frame = std::move(frames_.front());
    frames_.pop_front();
  }
  frame.kind = kind;
  frame.x = x;
  frame.y = y;
  frame.width = width;
  frame.height = height;
  frame.checksum = Checksum(pixels, width, height, stride);
  frame.pixels.clear();
  if (config_.keep_frames > 0) {
    frame.pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row) {
      const uint16_t* start = pixels + static_cast<std::ptrdiff_t>(row) * stride;
      frame.pixels.insert(frame.pixels.end(), start, start + width);
    }
  }
  frames_.push_back(std::move(frame));
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
