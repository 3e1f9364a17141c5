#pragma once

namespace hk {

struct Point {
  int x = 0;
  int y = 0;
};

// A rectangle as the windows lay themselves out: left, top, width, height.
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool contains(Point p) const {
    return p.x >= left && p.x < right() && p.y >= top && p.y < bottom();
  }
};

inline bool operator==(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}
inline bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }

}  // namespace hk
