#include "tools/net_match/side.h"

#include <unistd.h>

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "game/controller.h"
#include "game/cpu_controller.h"
#include "game/online/connect.h"
#include "game/online/net_session.h"
#include "game/online/vorn_game.h"
#include "platform/net/transport.h"

namespace net_match {
namespace {

using Session = online::NetSession<online::VornGame>;
constexpr uint64_t kMeetWaitMs = 10000;

uint64_t WallUs() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

void Write(int fd, const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    const ssize_t n = write(fd, bytes, size);
    if (n <= 0) return;
    bytes += n;
    size -= static_cast<size_t>(n);
  }
}

void WriteLine(int fd, const std::string& line) {
  Write(fd, line.data(), line.size());
}

// Meets the other side; the host's hello on both.
std::optional<online::Meeting> Meet(const SideOptions& o, platform::net::Transport* transport) {
  std::random_device entropy;
  online::Hello hello;
  hello.match_id = entropy();
  hello.seed = o.seed;
  hello.input_delay = static_cast<uint8_t>(o.input_delay);
  online::HostWait host_wait(transport, hello);
  online::JoinWait join_wait(transport, WallUs() / 1000);
  std::string text;
  for (const uint64_t until = WallUs() / 1000 + kMeetWaitMs; WallUs() / 1000 < until;) {
    if (o.host) {
      if (auto met = host_wait.Poll(&text)) return met;
    } else {
      if (auto met = join_wait.Poll(WallUs() / 1000, &text)) return met;
      if (join_wait.failed()) break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  std::fprintf(stderr, "net-match: %s: %s\n", o.host ? "host" : "joiner",
               text.empty() ? "the other side did not come" : text.c_str());
  return {};
}

const char* EndText(const Session& s) {
  switch (s.end()) {
    case online::SessionEnd::Left:
      return "the other side left";
    case online::SessionEnd::Silent:
      return "the other side went silent";
    case online::SessionEnd::OutOfStep:
      return "out of step";
    case online::SessionEnd::Finished:
    case online::SessionEnd::None:
      break;
  }
  return "ended";
}

}  // namespace

int RunSide(const SideOptions& o, int out_fd) {
  const char* name = o.host ? "host" : "joiner";
  std::string error;
  auto transport = o.host
                       ? platform::net::ListenEnet(0, &error)
                       : platform::net::JoinEnet("127.0.0.1", o.port, online::JoinWord(), &error);
  if (transport == nullptr) {
    std::fprintf(stderr, "net-match: %s: %s\n", name, error.c_str());
    return 1;
  }
  if (o.host)
    WriteLine(out_fd, "port=" + std::to_string(platform::net::EnetPort(*transport)) + "\n");
  const auto met = Meet(o, transport.get());
  if (!met) return 1;

  const int side = o.host ? LEFT : RIGHT;
  const uint32_t seed = met->hello.seed;
  CpuController computer(o.level, side, seed);
  std::vector<online::ConfirmedFrame> log;
  Session session(transport.get(), met->peer, met->hello.match_id,
                  NewGame(seed, online::NetClock(0)), side, met->hello.input_delay, WallUs() / 1000,
                  o.limit);
  session.rollback().KeepConfirmedInputs(&log);
  const uint64_t period_us = 1000000u / static_cast<uint32_t>(o.fps);
  uint64_t next_us = WallUs();
  for (;;) {
    const auto tick = session.Beat(WallUs() / 1000, [&](const GameState& s, uint32_t now) {
      return static_cast<uint8_t>(computer.Next(s, side, now));
    });
    if (tick.kind == online::TickKind::Ended) break;
    next_us += period_us;
    const uint64_t now_us = WallUs();
    if (next_us > now_us) std::this_thread::sleep_for(std::chrono::microseconds(next_us - now_us));
  }
  const auto& r = session.rollback();
  if (session.end() != online::SessionEnd::Finished) {
    std::fprintf(stderr, "net-match: %s: %s at frame %" PRIu32 "\n", name, EndText(session),
                 session.end() == online::SessionEnd::OutOfStep ? session.end_frame() : r.frame());
    return 1;
  }
  char line[192];
  std::snprintf(line, sizeof line,
                "side=%s frames=%" PRIu32 " rollbacks=%" PRIu32 " max_rollback=%" PRIu32
                " stalls=%" PRIu32 " dropped=%" PRIu64 " checksum=%016" PRIx64 "\n",
                name, *r.finished(), r.rollbacks(), r.max_rollback(), session.stalls(),
                session.dropped(), r.final_checksum());
  WriteLine(out_fd, line);
  WriteLine(out_fd, "log=" + std::to_string(log.size()) + "\n");
  Write(out_fd, log.data(), log.size() * sizeof(online::ConfirmedFrame));
  return 0;
}

}  // namespace net_match
