// The meeting and the refusals over real UDP on this machine.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>

#include "game/online/connect.h"
#include "game/online/net_session.h"
#include "platform/net/transport.h"
#include "tests/game/online/toy_game.h"

namespace online {
namespace {

uint64_t WallMs() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

// Runs `step` every few milliseconds until it returns true, for at most three seconds.
bool Within3s(const std::function<bool()>& step) {
  for (const uint64_t until = WallMs() + 3000; WallMs() < until; usleep(2000)) {
    if (step()) return true;
  }
  return false;
}

struct Host {
  std::string error;
  std::unique_ptr<platform::net::Transport> transport = platform::net::ListenEnet(0, &error);
  uint16_t port = transport ? platform::net::EnetPort(*transport) : 0;
};

std::unique_ptr<platform::net::Transport> Join(uint16_t port, uint16_t version) {
  std::string error;
  auto t = platform::net::JoinEnet("127.0.0.1", port, JoinWord(version), &error);
  EXPECT_TRUE(t) << error;
  return t;
}

TEST(EnetTransport, AJoinerMeetsTheHostAndAThirdMachineIsRefused) {
  Host host;
  ASSERT_TRUE(host.transport) << host.error;
  auto joiner = Join(host.port, kProtocolVersion);
  HostWait host_wait(host.transport.get(), {kProtocolVersion, 5, 4242, 3});
  JoinWait join_wait(joiner.get(), WallMs());
  std::optional<Meeting> at_host, at_joiner;
  std::string text;
  ASSERT_TRUE(Within3s([&] {
    if (!at_host) at_host = host_wait.Poll(&text);
    if (!at_joiner) at_joiner = join_wait.Poll(WallMs(), &text);
    return at_host && at_joiner;
  })) << text;
  EXPECT_EQ(at_joiner->hello.seed, 4242u);
  EXPECT_EQ(at_joiner->hello.input_delay, 3);

  // While the match is played, a third machine is told the host is taken, and datagrams from
  // nowhere are counted.
  NetSession<ToyGame> session(host.transport.get(), at_host->peer, 5, {}, 0, 2, WallMs());
  auto third = Join(host.port, kProtocolVersion);
  const int raw = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(host.port);
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const char garbage[] = "\x01\x02garbage";
  ASSERT_EQ(sendto(raw, garbage, sizeof garbage, 0, reinterpret_cast<sockaddr*>(&to), sizeof to),
            static_cast<ssize_t>(sizeof garbage));
  close(raw);
  platform::net::NetEvent event;
  ASSERT_TRUE(Within3s([&] {
    session.Beat(WallMs(), [](const auto&, uint32_t) { return uint8_t{0}; });
    joiner->Poll(&event, 0);
    return third->Poll(&event, 0) && event.kind == platform::net::NetEventKind::Closed;
  }));
  EXPECT_EQ(DescribeClosing(ReadCloseWord(event.word)), "The host already has an opponent");
  EXPECT_EQ(host.transport->stray(), 1u);
}

TEST(EnetTransport, AJoinerOfAnotherVersionIsRefusedWithAReasonOnBothSides) {
  Host host;
  ASSERT_TRUE(host.transport) << host.error;
  auto joiner = Join(host.port, kProtocolVersion + 1);
  HostWait host_wait(host.transport.get(), {kProtocolVersion, 5, 1, 2});
  JoinWait join_wait(joiner.get(), WallMs());
  std::string notice, failure;
  ASSERT_TRUE(Within3s([&] {
    EXPECT_FALSE(host_wait.Poll(&notice));
    join_wait.Poll(WallMs(), &failure);
    return join_wait.failed();
  }));
  const std::string ours = std::to_string(kProtocolVersion);
  const std::string theirs = std::to_string(kProtocolVersion + 1);
  EXPECT_EQ(notice, "A player with protocol version " + theirs +
                        " was refused: this side plays version " + ours);
  EXPECT_EQ(failure, "The other side plays protocol version " + ours + " and this side version " +
                         ours + ": they cannot play together");
}

}  // namespace
}  // namespace online
