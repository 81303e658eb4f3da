#include "corner_gesture.h"

namespace qrv {

bool CornerGesture::ContextMenu(int x, int y) {
  const auto ux = static_cast<std::uint16_t>(x);
  const auto uy = static_cast<std::uint16_t>(y);
  if (ux < kCornerSize && uy < kCornerSize) {
    ++CornerClickCount;
  } else {
    CornerClickCount = 0;
  }
  if (CornerClickCount < kClicks) return false;
  CornerClickCount = 0;
  return true;
}

}  // namespace qrv
