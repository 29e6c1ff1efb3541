// net-match: a network match of the real game between two processes on this machine.
//
//   net-match --seed N [--frames N | --until-over] [--loss PCT] [--delay MS] [--jitter MS]
//             [--duplicate PCT] [--fps F] [--left cpu:N] [--right cpu:N] [--input-delay N]
//
// The host (left side) and the joiner (right side) each run in a process of their own and talk
// through a relay in this one that loses, delays, jitters, duplicates and so reorders datagrams.
// Both stop at one common confirmed frame: --frames N (default 3000), or with --until-over the
// confirmed end of the match. The output is one line per side and the checksum of an offline
// replay of the confirmed inputs; the status is 0 only when all three checksums agree.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "game/online/rollback.h"
#include "game/online/vorn_game.h"
#include "game/options.h"
#include "tools/net_match/relay.h"
#include "tools/net_match/side.h"

namespace {

struct Options {
  bool has_seed = false;
  net_match::SideOptions side;
  net_match::Faults faults;
  int levels[2] = {2, 2};
};

int Usage() {
  std::fprintf(stderr,
               "usage: net-match --seed N [--frames N | --until-over] [--loss PCT] [--delay MS] "
               "[--jitter MS] [--duplicate PCT] [--fps F] [--left cpu:N] [--right cpu:N] "
               "[--input-delay N]\n");
  return 2;
}

// The options that take a number, each with its range and where the number goes.
struct NumberOption {
  const char* name;
  long low, high;
  void (*apply)(long v, Options* o);
};

constexpr NumberOption kNumberOptions[] = {
    {"--seed", 0, 4294967295L,
     [](long v, Options* o) {
       o->side.seed = static_cast<uint32_t>(v);
       o->has_seed = true;
     }},
    {"--frames", 1, 100000000L,
     [](long v, Options* o) { o->side.limit = static_cast<uint32_t>(v); }},
    {"--loss", 0, 100, [](long v, Options* o) { o->faults.loss_pct = static_cast<int>(v); }},
    {"--delay", 0, 10000, [](long v, Options* o) { o->faults.delay_ms = static_cast<int>(v); }},
    {"--jitter", 0, 10000, [](long v, Options* o) { o->faults.jitter_ms = static_cast<int>(v); }},
    {"--duplicate", 0, 100,
     [](long v, Options* o) { o->faults.duplicate_pct = static_cast<int>(v); }},
    {"--fps", 1, 10000,
     [](long v, Options* o) { o->faults.fps = o->side.fps = static_cast<int>(v); }},
    {"--input-delay", 0, online::kMaxInputDelay,
     [](long v, Options* o) { o->side.input_delay = static_cast<int>(v); }},
};

bool ParseLevel(const std::string& text, int* level) {
  long v = 2;
  if (text == "cpu") return *level = 2, true;
  if (text.rfind("cpu:", 0) != 0 || !ParseWhole(text.c_str() + 4, 1, 3, &v)) return false;
  *level = static_cast<int>(v);
  return true;
}

bool ParseOptions(int argc, char** argv, Options* o) {
  o->side.limit = 3000;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    long v = 0;
    if (arg == "--until-over") {
      o->side.limit = UINT32_MAX;
      continue;
    }
    if (i + 1 >= argc) return false;
    const char* value = argv[++i];
    if (arg == "--left" || arg == "--right") {
      if (!ParseLevel(value, &o->levels[arg == "--left" ? 0 : 1])) return false;
      continue;
    }
    const NumberOption* option = nullptr;
    for (const NumberOption& n : kNumberOptions) {
      if (arg == n.name) option = &n;
    }
    if (option == nullptr || !ParseWhole(value, option->low, option->high, &v)) return false;
    option->apply(v, o);
  }
  return o->has_seed;
}

uint64_t WallUs() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

// A side's process and everything it wrote.
struct Child {
  pid_t pid = -1;
  int fd = -1;
  std::string out;
  bool open() const { return fd >= 0; }
  void Read() {
    char buffer[4096];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) {
      out.append(buffer, static_cast<size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      close(fd);
      fd = -1;
    }
  }
  int Wait() const {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
  }
};

Child Start(const net_match::SideOptions& side) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    std::fflush(stdout);
    _exit(net_match::RunSide(side, fds[1]));
  }
  close(fds[1]);
  return {pid, fds[0], {}};
}

// The line "key=..." of a side's report, and the confirmed inputs after "log=N".
std::string Line(const std::string& out, const std::string& key) {
  const size_t at = out.find(key);
  if (at == std::string::npos) return "";
  return out.substr(at, out.find('\n', at) - at);
}

std::vector<online::ConfirmedFrame> Log(const std::string& out) {
  const std::string line = Line(out, "log=");
  if (line.empty()) return {};
  const size_t count = std::strtoul(line.c_str() + 4, nullptr, 10);
  const size_t from = out.find("log=") + line.size() + 1;
  if (out.size() - from != count * sizeof(online::ConfirmedFrame)) return {};
  std::vector<online::ConfirmedFrame> log(count);
  std::memcpy(log.data(), out.data() + from, out.size() - from);
  return log;
}

uint64_t OfflineChecksum(uint32_t seed, const std::vector<online::ConfirmedFrame>& log) {
  GameState s = NewGame(seed, online::NetClock(0));
  for (uint32_t f = 0; f < log.size(); ++f) {
    online::VornGame::Step(s, online::NetClock(f), log[f].input);
  }
  return Checksum(s);
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, &o)) return Usage();
  signal(SIGPIPE, SIG_IGN);

  net_match::SideOptions host_side = o.side;
  host_side.level = o.levels[0];
  Child sides[2] = {Start(host_side), {}};
  // The host says which port it listens on before anything else.
  while (sides[0].open() && sides[0].out.find('\n') == std::string::npos) sides[0].Read();
  const std::string port_line = Line(sides[0].out, "port=");
  net_match::Relay relay(o.faults, o.side.seed);
  std::string error;
  if (port_line.empty() ||
      !relay.Open(static_cast<uint16_t>(std::atoi(port_line.c_str() + 5)), &error)) {
    std::fprintf(stderr, "net-match: the host did not start %s\n", error.c_str());
    if (sides[0].pid > 0) kill(sides[0].pid, SIGTERM);
    return 1;
  }
  net_match::SideOptions joiner_side = o.side;
  joiner_side.host = false;
  joiner_side.port = relay.port();
  joiner_side.level = o.levels[1];
  sides[1] = Start(joiner_side);

  while (sides[0].open() || sides[1].open()) {
    pollfd fds[4] = {{relay.joiner_socket(), POLLIN, 0},
                     {relay.host_socket(), POLLIN, 0},
                     {sides[0].fd, POLLIN, 0},
                     {sides[1].fd, POLLIN, 0}};
    const int due_ms = relay.Service(WallUs());
    poll(fds, 4, due_ms < 0 ? 50 : due_ms);
    for (int i = 0; i < 2; ++i) {
      if (sides[i].open() && fds[2 + i].revents != 0) sides[i].Read();
    }
  }
  const int status[2] = {sides[0].Wait(), sides[1].Wait()};
  if (status[0] != 0 || status[1] != 0) return 1;

  const std::string lines[2] = {Line(sides[0].out, "side="), Line(sides[1].out, "side=")};
  const auto log = Log(sides[0].out);
  const uint64_t offline = OfflineChecksum(o.side.seed, log);
  char offline_text[17];
  std::snprintf(offline_text, sizeof offline_text, "%016" PRIx64, offline);
  std::printf("%s\n%s\noffline checksum=%s\n", lines[0].c_str(), lines[1].c_str(), offline_text);
  // The same frame and the same checksum on both sides and offline, from the same inputs.
  const auto tail = [](const std::string& line) {
    const size_t frames = line.find(" frames=");
    const size_t sum = line.find(" checksum=");
    return frames == std::string::npos || sum == std::string::npos
               ? std::string()
               : line.substr(frames, line.find(' ', frames + 1) - frames) + line.substr(sum);
  };
  const bool agree = !tail(lines[0]).empty() && tail(lines[0]) == tail(lines[1]) &&
                     lines[0].ends_with(std::string("checksum=") + offline_text) &&
                     log.size() == Log(sides[1].out).size();
  if (!agree) std::fprintf(stderr, "net-match: the sides do not agree\n");
  return agree ? 0 : 1;
}
