#include "game/online/protocol.h"

#include <gtest/gtest.h>

namespace online {
namespace {

InputPacket Sample() {
  return InputPacket{.match_id = 0xdeadbeef,
                     .frame = 4000,
                     .advantage = -3,
                     .acked = 3990,
                     .sum_frame = 3960,
                     .sum = 0x0123456789abcdefull,
                     .first = 3990,
                     .count = 5,
                     .inputs = {0, 1, 2, 0, 1}};
}

TEST(Protocol, InputsAndHelloSurviveTheTrip) {
  const InputPacket p = Sample();
  const auto back = DecodeInputs(EncodeInputs(p));
  ASSERT_TRUE(back);
  EXPECT_EQ(
      std::tie(back->match_id, back->frame, back->advantage, back->acked, back->sum_frame,
               back->sum, back->first, back->count),
      std::tie(p.match_id, p.frame, p.advantage, p.acked, p.sum_frame, p.sum, p.first, p.count));
  EXPECT_TRUE(std::equal(p.inputs, p.inputs + p.count, back->inputs));

  const Hello h{kProtocolVersion, 77, 123456, 3};
  const auto hello = DecodeHello(EncodeHello(h));
  ASSERT_TRUE(hello);
  EXPECT_EQ(std::tie(hello->version, hello->match_id, hello->seed, hello->input_delay),
            std::tie(h.version, h.match_id, h.seed, h.input_delay));
  // Each kind is only read as itself.
  EXPECT_FALSE(DecodeHello(EncodeInputs(p)));
  EXPECT_FALSE(DecodeInputs(EncodeHello(h)));
}

TEST(Protocol, PacketsThatLieAboutThemselvesAreRefused) {
  const std::vector<uint8_t> good = EncodeInputs(Sample());
  const size_t count_at = good.size() - Sample().count - 1;
  auto changed = [&](auto change) {
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

TEST(Protocol, JoinAndCloseWords) {
  EXPECT_EQ(VersionOfJoinWord(JoinWord(7)), 7);
  EXPECT_FALSE(VersionOfJoinWord(0x12345678));
  const Closing out = ReadCloseWord(CloseWord({CloseReason::OutOfStep, 39990}));
  EXPECT_EQ(std::tuple(out.reason, out.value), std::tuple(CloseReason::OutOfStep, 39990u));
  EXPECT_EQ(ReadCloseWord(0xffffff42).reason, CloseReason::None);
}

}  // namespace
}  // namespace online
