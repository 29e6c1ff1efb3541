#include "game/online/protocol.h"

#include <gtest/gtest.h>

namespace online {
namespace {

// clang-format off
const InputPacket kSample{.match_id = 0xdeadbeef, .frame = 4000, .advantage = -3, .acked = 3990,
                          .sum_frame = 3960, .sum = 0x0123456789abcdefull, .first = 3990, .count = 5,
                          .inputs = {0, 1, 2, 0, 1}};
// clang-format on

// Packets, greetings and the words of joining and closing survive the trip; each kind of packet
// is only read as itself.
TEST(Protocol, EverythingSurvivesTheTripEachOnlyAsItself) {
  const auto fields = [](const InputPacket& p) {
    return std::tuple(p.match_id, p.frame, p.advantage, p.acked, p.sum_frame, p.sum, p.first,
                      std::vector<uint8_t>(p.inputs, p.inputs + p.count));
  };
  const auto back = DecodeInputs(EncodeInputs(kSample));
  ASSERT_TRUE(back);
  EXPECT_EQ(fields(*back), fields(kSample));
  const Hello h{kProtocolVersion, 77, 123456, 3};
  const auto hello = DecodeHello(EncodeHello(h));
  ASSERT_TRUE(hello);
  EXPECT_EQ(std::tie(hello->version, hello->match_id, hello->seed, hello->input_delay),
            std::tie(h.version, h.match_id, h.seed, h.input_delay));
  EXPECT_FALSE(DecodeHello(EncodeInputs(kSample)) || DecodeInputs(EncodeHello(h)));
  EXPECT_EQ(VersionOfJoinWord(JoinWord(7)), 7);
  EXPECT_FALSE(VersionOfJoinWord(0x12345678));
  const Closing out = ReadCloseWord(CloseWord({CloseReason::OutOfStep, 39990}));
  EXPECT_EQ(std::tuple(out.reason, out.value, ReadCloseWord(0xffffff42).reason),
            std::tuple(CloseReason::OutOfStep, 39990u, CloseReason::None));
}

TEST(Protocol, PacketsThatLieAboutThemselvesAreRefused) {
  const std::vector<uint8_t> good = EncodeInputs(kSample);
  const size_t count_at = good.size() - kSample.count - 1;
  const auto changed = [&](auto change) {
    std::vector<uint8_t> bytes = good;
    change(bytes);
    return DecodeInputs(bytes).has_value();
  };
  EXPECT_FALSE(changed([](auto& b) { b.pop_back(); }));
  EXPECT_FALSE(changed([](auto& b) { b.push_back(0); }));
  EXPECT_FALSE(changed([&](auto& b) { b[count_at] = 200; }));  // more than the limit
  EXPECT_FALSE(changed([&](auto& b) { b[count_at] = 4; }));    // fewer than follow
  EXPECT_FALSE(changed([](auto& b) { b.back() = kInputValues; }));
  EXPECT_FALSE(changed([](auto& b) { b[0] = 'X'; }));
  EXPECT_FALSE(changed([](auto& b) { b[2] = 9; }));
  // A checksum frame that is not a multiple of 30.
  EXPECT_FALSE(changed([&](auto& b) { b[count_at - 4 - 8 - 4] = 1; }));
  EXPECT_FALSE(changed([&](auto& b) {  // the inputs would run past the last frame number
    for (size_t i = count_at - 4; i < count_at; ++i) b[i] = 0xff;
  }));
  EXPECT_FALSE(DecodeInputs(std::vector<uint8_t>{}));
  std::vector<uint8_t> hello = EncodeHello({kProtocolVersion, 1, 2, 3});
  hello.back() = 9;  // an input delay beyond what is allowed
  EXPECT_FALSE(DecodeHello(hello));
}

}  // namespace
}  // namespace online
