#include "engine/files/byte_order.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct OrderCase {
  int32_t order;
  uint16_t us;  // ReadUS of 0x0201
  int16_t s;    // ReadS of 0xFEFF
  uint32_t ul;  // ReadUL of 0x04030201
  int32_t l;    // ReadL of 0xFEFFFFFF
  float f;      // ReadF of 0x03000000
  uint32_t wf;  // WriteF of 3.9f
  uint64_t wd;  // WriteD of -2.9
};

TEST(ByteOrder, EntriesInBothOrders) {
  const OrderCase cases[] = {
      {ORDER_LBF, 0x0201, -257, 0x04030201u, -16777217, 50331648.0f, 3u, uint64_t(-2)},
      {ORDER_MBF, 0x0102, -2, 0x01020304u, -2, 3.0f, 0x03000000u, 0},
      {5, 0x0102, -2, 0x01020304u, -2, 3.0f, 0x03000000u, 0},  // any order but LBF reverses
  };
  EXPECT_EQ(ByteOrder().order, ORDER_LBF);
  for (const OrderCase& c : cases) {
    SCOPED_TRACE(c.order);
    ByteOrder b;
    b.Set(c.order);
    EXPECT_EQ(b.order, c.order);
    EXPECT_EQ(b.ReadUC(0xAB), 0xAB);
    EXPECT_EQ(b.ReadC(0xFF), -1);
    EXPECT_EQ(b.WriteC(-1), 0xFF);
    EXPECT_EQ(b.ReadUS(0x0201), c.us);
    EXPECT_EQ(b.ReadS(0xFEFF), c.s);
    EXPECT_EQ(b.ReadUL(0x04030201u), c.ul);
    EXPECT_EQ(b.ReadL(0xFEFFFFFFu), c.l);
    EXPECT_EQ(b.ReadF(0x03000000u), c.f);
    EXPECT_EQ(b.WriteF(3.9f), c.wf);
    EXPECT_EQ(b.WriteD(-2.9), c.wd);
    // Writing undoes reading, for every width and signedness.
    for (uint32_t v : {0u, 0x01020304u, 0xFF000000u, 0x80000001u, 0x8001u, 0xFF00u}) {
      EXPECT_EQ(b.WriteUS(b.ReadUS(uint16_t(v))), uint16_t(v));
      EXPECT_EQ(b.WriteS(b.ReadS(uint16_t(v))), uint16_t(v));
      EXPECT_EQ(b.WriteUL(b.ReadUL(v)), v);
      EXPECT_EQ(b.WriteL(b.ReadL(v)), v);
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
