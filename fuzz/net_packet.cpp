// Feeds arbitrary bytes to the packet decoders, and checks that whatever they accept is within
// the limits the session relies on and encodes back to the very same bytes.
#include <cstdint>
#include <span>

#include "fuzz/check.h"
#include "game/online/protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  if (const auto p = online::DecodeInputs(bytes)) {
    Check(p->count <= online::kMaxInputsPerPacket);
    Check(uint64_t{p->first} + p->count <= UINT32_MAX);
    Check(p->sum_frame % online::kChecksumEvery == 0);
    for (int i = 0; i < p->count; ++i) Check(p->inputs[i] < online::kInputValues);
    const auto again = online::EncodeInputs(*p);
    Check(std::equal(again.begin(), again.end(), bytes.begin(), bytes.end()));
  }
  if (const auto h = online::DecodeHello(bytes)) {
    Check(h->input_delay <= online::kMaxInputDelayOnWire);
    const auto again = online::EncodeHello(*h);
    Check(std::equal(again.begin(), again.end(), bytes.begin(), bytes.end()));
  }
  const online::Closing closing = online::ReadCloseWord(
      size >= 4 ? data[0] | data[1] << 8 | data[2] << 16 | uint32_t{data[3]} << 24 : 0);
  Check(closing.value <= 0xffffffu);
  return 0;
}
