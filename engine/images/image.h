// The engine's in-memory picture, prepared once for the one draw operation that may draw it.
#pragma once

#include <cstdint>

// Format bits.
constexpr uint8_t IMAGE_ALPHA = 0x01;
constexpr uint8_t IMAGE_RGB16 = 0x10;
constexpr uint8_t IMAGE_RGB24 = 0x20;
constexpr uint8_t IMAGE_MASKED = 0x40;

// Load purposes.
constexpr int DRAW_PLAIN = 1;
constexpr int DRAW_MASKED = 2;
constexpr int DRAW_ALPHA = 3;
constexpr int DRAW_ADDITIVE = 4;

struct Image {
  Image() = default;
  ~Image() { Release(); }
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  void Release();
  void Create(int32_t w, int32_t h, uint8_t fmt);
  void Prepare(int32_t purpose_value);
  void ConvertTo16();
  void MakeMask();
  void MakeAlpha();

  uint8_t* data = nullptr;   // RGB bytes while loading, 16-bit display pixels once prepared
  uint8_t* alpha = nullptr;  // one byte per pixel, or null
  int32_t width = 0;
  int32_t height = 0;
  uint8_t purpose = 0;
  uint8_t format = 0;

  uint16_t* pixels16() const { return reinterpret_cast<uint16_t*>(data); }
};
