// Where the view goes in a window of any size, and where a point of the window falls in the
// view. The engine always draws one view of a fixed size; the window around it can be resized,
// maximised or made full-screen, so presentation scales the view to fit with its aspect kept and
// black bars around it.
#pragma once

namespace platform::sdl {

struct ViewPlacement {
  int x = 0;  // the view's top-left corner in the drawing area
  int y = 0;
  int width = 0;  // the view's size on screen
  int height = 0;
  bool whole = true;  // scaled by a whole multiple, so pixels stay square and crisp
};

// The view of `view_width` × `view_height` in a drawing area of `area_width` × `area_height`,
// centred. A whole multiple is used when the largest one that fits fills at least 85% of what
// the largest fractional fit would: crisp pixels for a small loss of size. Otherwise the largest
// fractional fit, so that a big window is not left with a small picture in its middle. Sizes
// below 1 give an empty placement.
ViewPlacement PlaceView(int view_width, int view_height, int area_width, int area_height);

// A point of a window of `window_width` × `window_height` in view coordinates, for a view
// placed by `placement` in a drawing area of `area_width` × `area_height` (which differs from
// the window size on high-density screens). Points in the bars are clamped to the view's edge.
void WindowToView(const ViewPlacement& placement, int view_width, int view_height, int window_width,
                  int window_height, int area_width, int area_height, int* x, int* y);

// The largest whole multiple up to `wanted` at which a `width` × `height` window fits inside
// `room_width` × `room_height`; at least 1.
int OpeningScale(int width, int height, int room_width, int room_height, int wanted);

}  // namespace platform::sdl
