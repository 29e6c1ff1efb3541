#include "platform/web/web_platform.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <string_view>
#include <vector>

#include "platform/web/web_beat.h"
#include "platform/web/web_display.h"
#include "platform/web/web_keys.h"
#include "platform/web/web_pixels.h"
#include "platform/web/web_sound.h"
#include "platform/web/web_windows.h"

// The page's side (page.js).
EM_JS(void, vorn_page_box, (const char* caption, const char* text),
      { VornPage.messageBox(UTF8ToString(caption), UTF8ToString(text)); });
EM_JS(void, vorn_page_show, (const uint8_t* rgba, int width, int height),
      { VornPage.show(HEAPU8, rgba, width, height); });
EM_JS(void, vorn_page_begin, (), { VornPage.begin(); });
EM_JS(void, vorn_page_running, (), { VornPage.running(); });
EM_JS(int, vorn_page_stepped_by_test, (), { return VornPage.steppedByTest() ? 1 : 0; });
EM_JS(void, vorn_page_frame_cost, (double ms), { VornPage.frameCost(ms); });

namespace platform::web {
namespace {

// Windows larger than this are refused, as a desktop refuses windows larger than the screen.
constexpr int kDesktopWidth = 1920;
constexpr int kDesktopHeight = 1200;
// A test steps the program itself, with the clock moving this much before each step, as the
// headless back end's replays do.
constexpr uint32_t kTestStepMs = 16;

class WebPlatform final : public Platform {
 public:
  WebPlatform()
      : windows_(kDesktopWidth, kDesktopHeight,
                 [](const char* caption, const char* text) { vorn_page_box(caption, text); }),
        clock_(emscripten_get_now(), true),
        stepped_by_test_(vorn_page_stepped_by_test() != 0) {
    Listen();
    // A test's steps start at once; a player's start with the first key or click.
    if (stepped_by_test_) started_ = true;
  }

  WindowSystem& Windows() override { return windows_; }

  Result CreateDisplay(Display** out) override {
    if (out == nullptr) return DDERR_INVALIDPARAMS;
    displays_.push_back(std::make_unique<WebDisplay>(
        kDesktopWidth, kDesktopHeight,
        [this](const uint16_t* pixels, int width, int height, int stride) {
          Present(pixels, width, height, stride);
        }));
    *out = displays_.back().get();
    return OK;
  }

  Result CreateSound(Sound** out) override { return CreateWebSound(out); }

  uint32_t Milliseconds() override {
    return stepped_by_test_ ? test_ms_ : clock_.Read(emscripten_get_now());
  }

  bool TakeLoop(const LoopHooks& hooks) override {
    hooks_ = hooks;
    vorn_page_running();
    // The browser calls Frame on every animation frame from now on. The engine's entry does not
    // return: its stack is unwound and the program lives on in the callbacks.
    emscripten_set_main_loop_arg(&WebPlatform::Frame, this, 0, 1);
    return true;
  }

  // A test's steps: `count` passes with the clock moving a fixed amount before each.
  void TestSteps(int count) {
    for (int i = 0; i < count && running_; ++i) {
      test_ms_ += kTestStepMs;
      Pass();
    }
    Show();
  }

 private:
  void Listen();
  static void Frame(void* self) { static_cast<WebPlatform*>(self)->OnFrame(); }

  void OnFrame() {
    if (!started_ || stepped_by_test_ || !running_) return;
    const double begun = emscripten_get_now();
    const int steps = beat_.Due(begun);
    for (int i = 0; i < steps && running_; ++i) Pass();
    Show();
    // The cost of the frame's work: the game's steps, the conversion and the canvas.
    if (steps > 0) vorn_page_frame_cost((emscripten_get_now() - begun) / steps);
  }

  void Pass() {
    int exit_code = 0;
    if (hooks_.pass(&exit_code)) return;
    running_ = false;
    emscripten_cancel_main_loop();
    // The runtime ends as a program does (the page shows the status); the stack unwinds.
    emscripten_force_exit(hooks_.end(exit_code));
  }

  // Converted at once, put on the canvas once per animation frame.
  void Present(const uint16_t* pixels, int width, int height, int stride) {
    rgba_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    table_.Convert(pixels, width, height, stride, rgba_.data());
    width_ = width;
    height_ = height;
    fresh_ = true;
  }

  void Show() {
    if (!fresh_) return;
    fresh_ = false;
    vorn_page_show(rgba_.data(), width_, height_);
  }

  void Start() {
    if (started_) return;
    started_ = true;
    clock_.Release(emscripten_get_now());
    vorn_page_begin();
  }

  static EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* event, void* self) {
    auto* platform = static_cast<WebPlatform*>(self);
    const uint8_t key = VirtualKeyFromCode(event->code);
    if (!platform->started_) {
      // The first key starts the game and the sound; it is not the game's.
      if (type == EMSCRIPTEN_EVENT_KEYDOWN) platform->Start();
      return EM_TRUE;
    }
    if (type == EMSCRIPTEN_EVENT_KEYDOWN) {
      platform->windows_.KeyDown(key, TypedCharacter(event->key));
    } else {
      platform->windows_.KeyUp(key);
    }
    return BrowserKeepsKey(key, event->ctrlKey != 0, event->metaKey != 0) ? EM_FALSE : EM_TRUE;
  }

  static EM_BOOL OnPress(int /*type*/, const EmscriptenMouseEvent* /*event*/, void* self) {
    static_cast<WebPlatform*>(self)->Start();
    return EM_FALSE;
  }

  static EM_BOOL OnFocus(int type, const EmscriptenFocusEvent* /*event*/, void* self) {
    static_cast<WebPlatform*>(self)->windows_.PageFocus(type == EMSCRIPTEN_EVENT_FOCUS);
    return EM_FALSE;
  }

  // A hidden page gets no animation frames: its clock stands still, so that a round does not
  // run out unseen, and the beat starts afresh when it is seen again.
  static EM_BOOL OnVisibility(int /*type*/, const EmscriptenVisibilityChangeEvent* event,
                              void* self) {
    auto* platform = static_cast<WebPlatform*>(self);
    const double now = emscripten_get_now();
    if (event->hidden) {
      platform->clock_.Hold(now);
    } else if (platform->started_) {
      platform->clock_.Release(now);
      platform->beat_.Restart();
    }
    return EM_FALSE;
  }

  WebWindows windows_;
  std::vector<std::unique_ptr<WebDisplay>> displays_;
  RgbaTable table_;
  std::vector<uint8_t> rgba_;
  int width_ = 0;
  int height_ = 0;
  bool fresh_ = false;
  StepBeat beat_;
  HeldClock clock_;
  LoopHooks hooks_;
  bool stepped_by_test_;
  uint32_t test_ms_ = 0;
  bool started_ = false;
  bool running_ = true;
};

void WebPlatform::Listen() {
  const char* page = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_keydown_callback(page, this, EM_TRUE, &WebPlatform::OnKey);
  emscripten_set_keyup_callback(page, this, EM_TRUE, &WebPlatform::OnKey);
  emscripten_set_mousedown_callback(page, this, EM_TRUE, &WebPlatform::OnPress);
  emscripten_set_focus_callback(page, this, EM_TRUE, &WebPlatform::OnFocus);
  emscripten_set_blur_callback(page, this, EM_TRUE, &WebPlatform::OnFocus);
  emscripten_set_visibilitychange_callback(this, EM_TRUE, &WebPlatform::OnVisibility);
}

WebPlatform* the_page = nullptr;

}  // namespace
}  // namespace platform::web

namespace platform {

std::unique_ptr<Platform> CreateWebPlatform(const BackendSettings& /*settings*/) {
  auto made = std::make_unique<web::WebPlatform>();
  web::the_page = made.get();
  return made;
}

}  // namespace platform

// Called by a test through the page: runs `count` steps of a program stepped by the test.
extern "C" EMSCRIPTEN_KEEPALIVE void vorn_test_steps(int count) {
  if (platform::web::the_page != nullptr) platform::web::the_page->TestSteps(count);
}
