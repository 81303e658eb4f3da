#pragma once

#include <cstdint>

namespace qrv {

// Ten context-menu requests in a row inside the 20 x 20 pixel square at the screen's top-left
// corner open the maintenance read. Any request elsewhere starts the count again.
class CornerGesture {
 public:
  static constexpr int kClicks = 10;
  static constexpr int kCornerSize = 20;

  // A request at screen position (x, y). Coordinates are taken as unsigned 16-bit numbers,
  // so a negative one counts as far away. True when this request completes the gesture;
  // the count then starts again.
  bool ContextMenu(int x, int y);
  // A request from the keyboard, which has no position: never part of the gesture.
  void KeyboardContextMenu() { CornerClickCount = 0; }
  void Reset() { CornerClickCount = 0; }
  int count() const { return CornerClickCount; }

 private:
  std::int32_t CornerClickCount = 0;
};

}  // namespace qrv
