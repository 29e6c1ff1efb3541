#include "platform/sdl/sdl_layout.h"

#include <algorithm>
#include <cstdint>

namespace platform::sdl {
namespace {

// A whole multiple this close to the fractional fit is preferred for its crisp pixels.
constexpr double kWholeEnough = 0.85;

int Clamp(int64_t value, int low, int high) {
  return static_cast<int>(std::clamp<int64_t>(value, low, high));
}

}  // namespace

ViewPlacement PlaceView(int view_width, int view_height, int area_width, int area_height) {
  if (view_width < 1 || view_height < 1 || area_width < 1 || area_height < 1) return {};
  const int64_t vw = view_width;
  const int64_t vh = view_height;
  const int64_t whole = std::min(area_width / vw, area_height / vh);
  // The fractional fit: the side that limits is filled, the other follows the aspect; products
  // in 64 bits so that no size can overflow.
  int64_t width = area_width;
  int64_t height = area_width * vh / vw;
  if (height > area_height) {
    height = area_height;
    width = area_height * vw / vh;
  }
  bool crisp = false;
  if (whole >= 1 && static_cast<double>(whole * vw) >= kWholeEnough * static_cast<double>(width)) {
    width = whole * vw;
    height = whole * vh;
    crisp = true;
  }
  width = std::max<int64_t>(width, 1);
  height = std::max<int64_t>(height, 1);
  return ViewPlacement{static_cast<int>((area_width - width) / 2),
                       static_cast<int>((area_height - height) / 2), static_cast<int>(width),
                       static_cast<int>(height), crisp};
}

void WindowToView(const ViewPlacement& placement, int view_width, int view_height, int window_width,
                  int window_height, int area_width, int area_height, int* x, int* y) {
  if (placement.width < 1 || placement.height < 1 || window_width < 1 || window_height < 1 ||
      view_width < 1 || view_height < 1) {
    return;
  }
  // Window points to drawing-area pixels, then relative to the view's corner, then scaled down;
  // the floor keeps a point on the view's last on-screen pixel inside it.
  auto map = [](int point, int window, int area, int offset, int shown, int view) {
    const int64_t in_area = int64_t{point} * area / window - offset;
    return Clamp(in_area * view / shown, 0, view - 1);
  };
  *x = map(*x, window_width, area_width, placement.x, placement.width, view_width);
  *y = map(*y, window_height, area_height, placement.y, placement.height, view_height);
}

int OpeningScale(int width, int height, int room_width, int room_height, int wanted) {
  if (width < 1 || height < 1) return 1;
  return std::max(1, std::min({wanted, room_width / width, room_height / height}));
}

}  // namespace platform::sdl
