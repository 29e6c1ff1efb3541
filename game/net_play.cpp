#include "game/net_play.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <thread>

#include "engine/core/vorn.h"
#include "game/controller.h"
#include "game/cpu_controller.h"
#include "game/frame.h"
#include "game/game.h"
#include "game/online/connect.h"
#include "game/online/net_session.h"
#include "game/online/vorn_game.h"
#include "game/options.h"
#include "platform/net/transport.h"

namespace {

using Session = online::NetSession<online::VornGame>;
constexpr uint64_t kFrameUs = 1000000 / 60;
// Behind by more than this (the window was dragged, the machine was busy), the beat starts
// again from now instead of racing to catch up; keeping in step with the other side does the rest.
constexpr uint64_t kLateUs = 100000;

enum class Phase : uint8_t { Off, Opening, Meeting, Playing, Over, Closing };

struct NetPlay {
  NetPlayOptions options;
  Phase phase = Phase::Off;
  std::unique_ptr<platform::net::Transport> transport;
  std::optional<online::HostWait> host_wait;
  std::optional<online::JoinWait> join_wait;
  std::unique_ptr<Session> session;
  KeyboardController keyboard;
  std::unique_ptr<CpuController> computer;  // plays the local side instead of the keyboard
  uint64_t next_us = 0;
};

NetPlay net;

uint64_t WallUs() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

// Says why the match cannot go on, on standard error and then in a box (the connection is closed
// by then, so the other side is not kept waiting), and closes the window.
void Stop(const std::string& why, int status) {
  std::fprintf(stderr, "vorn: %s\n", why.c_str());
  net.session.reset();
  net.transport.reset();
  net.phase = Phase::Closing;
  platform::WindowSystem& windows = Vorn.backend->Windows();
  windows.MessageBox(Vorn.hwnd, why.c_str(), "Vorn", platform::MB_OK);
  windows.PostQuitMessage(status);
}

void Open(uint32_t seed) {
  std::string error;
  if (net.options.role == NetPlayOptions::Role::Host) {
    net.transport = platform::net::ListenEnet(net.options.port, &error);
    online::Hello hello;
    hello.match_id = std::random_device{}();
    hello.seed = seed;
    hello.input_delay = static_cast<uint8_t>(net.options.input_delay);
    if (net.transport) net.host_wait.emplace(net.transport.get(), hello);
  } else {
    net.transport =
        platform::net::JoinEnet(net.options.address, net.options.port, online::JoinWord(), &error);
    if (net.transport) net.join_wait.emplace(net.transport.get(), WallUs() / 1000);
  }
  if (!net.transport) return Stop(error, 1);
  net.phase = Phase::Meeting;
}

void Meet(GameState* s) {
  std::string text;
  std::optional<online::Meeting> met;
  if (net.host_wait) {
    met = net.host_wait->Poll(&text);
    if (!text.empty()) std::fprintf(stderr, "vorn: %s\n", text.c_str());
  } else {
    met = net.join_wait->Poll(WallUs() / 1000, &text);
    if (net.join_wait->failed()) return Stop(text, 1);
  }
  if (!met) return;
  const bool host = net.options.role == NetPlayOptions::Role::Host;
  if (!host && net.options.input_delay_given && net.options.input_delay != met->hello.input_delay) {
    std::fprintf(stderr, "vorn: the host sets the input delay: %d frames\n",
                 met->hello.input_delay);
  }
  *s = NewGame(met->hello.seed, online::NetClock(0));
  net.session =
      std::make_unique<Session>(net.transport.get(), met->peer, met->hello.match_id, *s,
                                host ? LEFT : RIGHT, met->hello.input_delay, WallUs() / 1000);
  if (net.options.cpu_level > 0) {
    net.computer = std::make_unique<CpuController>(net.options.cpu_level, host ? LEFT : RIGHT,
                                                   met->hello.seed);
  }
  net.phase = Phase::Playing;
  net.next_us = WallUs();
}

void Play(GameState* s, GameAssets* assets) {
  const int side = net.session->rollback().local_side();
  const auto tick = net.session->Beat(WallUs() / 1000, [&](const GameState& live, uint32_t now) {
    Controller& local = net.computer ? static_cast<Controller&>(*net.computer) : net.keyboard;
    return static_cast<uint8_t>(local.Next(live, side, now));
  });
  if (tick.kind == online::TickKind::Played) PlaySounds(tick.sounds, assets);
  *s = net.session->rollback().live();
  switch (net.session->end()) {
    case online::SessionEnd::None:
      break;
    case online::SessionEnd::Finished:
      // The final screen stays until the window is closed, as in a match at one keyboard.
      net.phase = Phase::Over;
      break;
    case online::SessionEnd::Left:
      return Stop(online::DescribeClosing(net.session->closing()), 0);
    case online::SessionEnd::Silent:
      return Stop("No word from the other player for 3 seconds: the match is over", 0);
    case online::SessionEnd::OutOfStep:
      return Stop("The match went out of step at frame " + std::to_string(net.session->end_frame()),
                  1);
  }
}

}  // namespace

ArgumentResult ParseNetArgument(int argc, const char* const* argv, int* i, NetPlayOptions* o) {
  const std::string arg = argv[*i];
  const char* next = *i + 1 < argc ? argv[*i + 1] : nullptr;
  long v = 0;
  if (arg == "--host") {
    o->role = NetPlayOptions::Role::Host;
    // The port is optional: a following word that is not a number is another option.
    if (next != nullptr && next[0] != '-') {
      if (!ParseWhole(next, 1, 65535, &v)) return ArgumentResult::Bad;
      o->port = static_cast<uint16_t>(v);
      ++*i;
    }
    return ArgumentResult::Taken;
  }
  if (arg == "--join") {
    if (next == nullptr) return ArgumentResult::Bad;
    o->role = NetPlayOptions::Role::Join;
    o->address = next;
    const size_t colon = o->address.rfind(':');
    if (colon != std::string::npos) {
      if (!ParseWhole(o->address.c_str() + colon + 1, 1, 65535, &v)) return ArgumentResult::Bad;
      o->port = static_cast<uint16_t>(v);
      o->address.resize(colon);
    }
    ++*i;
    return o->address.empty() ? ArgumentResult::Bad : ArgumentResult::Taken;
  }
  if (arg == "--input-delay") {
    if (next == nullptr || !ParseWhole(next, 0, online::kMaxInputDelay, &v)) {
      return ArgumentResult::Bad;
    }
    o->input_delay = static_cast<int>(v);
    o->input_delay_given = true;
    ++*i;
    return ArgumentResult::Taken;
  }
  if (arg == "--cpu" || arg.starts_with("--cpu:")) {
    if (arg == "--cpu") {
      o->cpu_level = CPU_LEVEL_DEFAULT;
    } else if (!ParseWhole(argv[*i] + 6, CPU_LEVEL_MIN, CPU_LEVEL_MAX, &v)) {
      return ArgumentResult::Bad;
    } else {
      o->cpu_level = static_cast<int>(v);
    }
    return ArgumentResult::Taken;
  }
  return ArgumentResult::NotOurs;
}

void UseNetPlay(const NetPlayOptions& options) {
  net.options = options;
  net.phase = options.role == NetPlayOptions::Role::Local ? Phase::Off : Phase::Opening;
}

bool NetPlayActive() {
  return net.phase != Phase::Off;
}

int NetPlayFrame(GameState* s, GameAssets* assets) {
  // Frames at 60 a second: the network clock counts frames, not milliseconds.
  const uint64_t now_us = WallUs();
  if (now_us < net.next_us) {
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::min(net.next_us - now_us, uint64_t{2000})));
    return 1;
  }
  net.next_us = now_us - net.next_us > kLateUs ? now_us + kFrameUs : net.next_us + kFrameUs;
  switch (net.phase) {
    case Phase::Opening:
      Open(GameSeed());
      break;
    case Phase::Meeting:
      Meet(s);
      break;
    case Phase::Playing:
      Play(s, assets);
      break;
    case Phase::Off:
    case Phase::Over:
    case Phase::Closing:
      break;
  }
  if (net.phase == Phase::Closing) return 1;
  // A network match goes on for the other player whether or not this window has the focus.
  Vorn.present_unfocused = true;
  const uint32_t frame = net.session ? net.session->rollback().frame() : 0;
  if (Vorn.ViewLock()) {
    DrawMatch(*s, assets, online::NetClock(frame > 0 ? frame - 1 : 0));
    Vorn.ViewUnlock();
  }
  return Vorn.ViewUpdate();
}
