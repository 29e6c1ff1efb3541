// Conversions between values as stored in a file and host values, for either byte order.
// Each entry is a plain function chosen when the order is set: no test of the order per call.
#pragma once

#include <cstdint>

constexpr int32_t ORDER_LBF = 0;  // least significant byte first (the host's own order)
constexpr int32_t ORDER_MBF = 1;  // most significant byte first

struct ByteOrder {
  ByteOrder();
  void Set(int32_t order);

  int32_t order;
  uint16_t unused;

  uint8_t (*ReadUC)(uint8_t);
  int8_t (*ReadC)(uint8_t);
  uint16_t (*ReadUS)(uint16_t);
  int16_t (*ReadS)(uint16_t);
  uint32_t (*ReadUL)(uint32_t);
  int32_t (*ReadL)(uint32_t);
  float (*ReadF)(uint32_t);
  double (*ReadD)(uint64_t);
  uint8_t (*WriteUC)(uint8_t);
  uint8_t (*WriteC)(int8_t);
  uint16_t (*WriteUS)(uint16_t);
  uint16_t (*WriteS)(int16_t);
  uint32_t (*WriteUL)(uint32_t);
  uint32_t (*WriteL)(int32_t);
  uint32_t (*WriteF)(float);
  uint64_t (*WriteD)(double);
};

// The most-significant-first 8-byte read: reports that it does not reverse, then converts as is.
double ReadD_MBF(uint64_t stored);
