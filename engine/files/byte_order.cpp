#include "engine/files/byte_order.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>

// The least-significant-first entries return what they are given: that is the host's own order.
static_assert(std::endian::native == std::endian::little);

namespace {

uint16_t Swap16(uint16_t v) {
  return static_cast<uint16_t>((v >> 8) | (v << 8));
}

uint32_t Swap32(uint32_t v) {
  return (v >> 24) | ((v >> 8) & 0x0000FF00u) | ((v << 8) & 0x00FF0000u) | (v << 24);
}

// Truncation toward zero without undefined behaviour: NaN gives 0 and values beyond the 64-bit
// range are held at its ends.
int64_t Truncate(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 9223372036854775808.0) return std::numeric_limits<int64_t>::max();
  if (v < -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(v);
}

uint8_t SameUC(uint8_t v) {
  return v;
}
int8_t SameC(uint8_t v) {
  return static_cast<int8_t>(v);
}
uint8_t WriteSameC(int8_t v) {
  return static_cast<uint8_t>(v);
}

uint16_t LbfReadUS(uint16_t v) {
  return v;
}
int16_t LbfReadS(uint16_t v) {
  return static_cast<int16_t>(v);
}
uint32_t LbfReadUL(uint32_t v) {
  return v;
}
int32_t LbfReadL(uint32_t v) {
  return static_cast<int32_t>(v);
}
float LbfReadF(uint32_t v) {
  return static_cast<float>(v);
}
double LbfReadD(uint64_t v) {
  return static_cast<double>(static_cast<int64_t>(v));
}
uint16_t LbfWriteUS(uint16_t v) {
  return v;
}
uint16_t LbfWriteS(int16_t v) {
  return static_cast<uint16_t>(v);
}
uint32_t LbfWriteUL(uint32_t v) {
  return v;
}
uint32_t LbfWriteL(int32_t v) {
  return static_cast<uint32_t>(v);
}
uint32_t LbfWriteF(float v) {
  return static_cast<uint32_t>(Truncate(v));
}
uint64_t LbfWriteD(double v) {
  return static_cast<uint64_t>(Truncate(v));
}

uint16_t MbfReadUS(uint16_t v) {
  return Swap16(v);
}
int16_t MbfReadS(uint16_t v) {
  return static_cast<int16_t>(Swap16(v));
}
uint32_t MbfReadUL(uint32_t v) {
  return Swap32(v);
}
int32_t MbfReadL(uint32_t v) {
  return static_cast<int32_t>(Swap32(v));
}
float MbfReadF(uint32_t v) {
  return static_cast<float>(Swap32(v));
}
uint16_t MbfWriteUS(uint16_t v) {
  return Swap16(v);
}
uint16_t MbfWriteS(int16_t v) {
  return Swap16(static_cast<uint16_t>(v));
}
uint32_t MbfWriteUL(uint32_t v) {
  return Swap32(v);
}
uint32_t MbfWriteL(int32_t v) {
  return Swap32(static_cast<uint32_t>(v));
}
uint32_t MbfWriteF(float v) {
  return Swap32(static_cast<uint32_t>(Truncate(v)));
}
// Writing 8-byte reals most significant first was never provided for; it stores 0.
uint64_t MbfWriteD(double) {
  return 0;
}

}  // namespace

double ReadD_MBF(uint64_t stored) {
  std::fputs("ReadD_MBF: Reversal of 8-bytes and conversion to double is not implemented.\n",
             stdout);
  return LbfReadD(stored);
}

ByteOrder::ByteOrder() : order(ORDER_LBF), unused(0) {
  Set(ORDER_LBF);
}

void ByteOrder::Set(int32_t new_order) {
  order = new_order;
  ReadUC = SameUC;
  ReadC = SameC;
  WriteUC = SameUC;
  WriteC = WriteSameC;
  if (new_order == ORDER_LBF) {
    ReadUS = LbfReadUS;
    ReadS = LbfReadS;
    ReadUL = LbfReadUL;
    ReadL = LbfReadL;
    ReadF = LbfReadF;
    ReadD = LbfReadD;
    WriteUS = LbfWriteUS;
    WriteS = LbfWriteS;
    WriteUL = LbfWriteUL;
    WriteL = LbfWriteL;
    WriteF = LbfWriteF;
    WriteD = LbfWriteD;
  } else {
    ReadUS = MbfReadUS;
    ReadS = MbfReadS;
    ReadUL = MbfReadUL;
    ReadL = MbfReadL;
    ReadF = MbfReadF;
    ReadD = ReadD_MBF;
    WriteUS = MbfWriteUS;
    WriteS = MbfWriteS;
    WriteUL = MbfWriteUL;
    WriteL = MbfWriteL;
    WriteF = MbfWriteF;
    WriteD = MbfWriteD;
  }
}
