#include "engine/files/byte_order.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

namespace {

TEST(ByteOrder, EntriesInBothOrders) {
  // ReadUS of 0x0201, ReadS of 0xFEFF, ReadUL of 0x04030201, ReadL of 0xFEFFFFFF, ReadF of
  // 0x03000000, WriteF of 3.9f and WriteD of -2.9; any order but LBF reverses.
  using Row = std::tuple<uint16_t, int16_t, uint32_t, int32_t, float, uint32_t, uint64_t>;
  const std::pair<int32_t, Row> cases[] = {
      {ORDER_LBF, {0x0201, -257, 0x04030201u, -16777217, 50331648.0f, 3u, uint64_t(-2)}},
      {ORDER_MBF, {0x0102, -2, 0x01020304u, -2, 3.0f, 0x03000000u, 0}},
      {5, {0x0102, -2, 0x01020304u, -2, 3.0f, 0x03000000u, 0}}};
  EXPECT_EQ(ByteOrder().order, ORDER_LBF);
  for (const auto& [order, row] : cases) {
    SCOPED_TRACE(order);
    ByteOrder b;
    b.Set(order);
    EXPECT_EQ(std::tuple(b.order, b.ReadUC(0xAB), b.ReadC(0xFF), b.WriteC(-1)),
              std::tuple(order, 0xAB, -1, 0xFF));
    EXPECT_EQ(Row(b.ReadUS(0x0201), b.ReadS(0xFEFF), b.ReadUL(0x04030201u), b.ReadL(0xFEFFFFFFu),
                  b.ReadF(0x03000000u), b.WriteF(3.9f), b.WriteD(-2.9)),
              row);
    // Writing undoes reading, for every width and signedness.
    for (uint32_t v : {0u, 0x01020304u, 0xFF000000u, 0x80000001u, 0x8001u, 0xFF00u}) {
      const auto s = static_cast<uint16_t>(v);
      EXPECT_EQ(std::tuple(b.WriteUS(b.ReadUS(s)), b.WriteS(b.ReadS(s)), b.WriteUL(b.ReadUL(v)),
                           b.WriteL(b.ReadL(v))),
                std::tuple(s, s, v, v));
    }
  }
}

TEST(ByteOrder, RealsConvertNumericallyNotByTheirBits) {
  ByteOrder b;
  EXPECT_EQ(b.ReadF(0x3F800000u), 1065353216.0f);  // the bits of 1.0f, read as a number
  EXPECT_EQ(b.ReadD(std::numeric_limits<uint64_t>::max()), -1.0);  // the stored value is signed
  EXPECT_EQ(b.WriteF(std::nanf("")), 0u);
  EXPECT_EQ(b.WriteD(1e300), static_cast<uint64_t>(std::numeric_limits<int64_t>::max()));
  b.Set(ORDER_MBF);
  testing::internal::CaptureStdout();
  EXPECT_EQ(b.ReadD(7), 7.0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "ReadD_MBF: Reversal of 8-bytes and conversion to double is not implemented.\n");
}

}  // namespace
