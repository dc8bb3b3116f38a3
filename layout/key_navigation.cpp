#include "layout/key_navigation.h"

#include <cstdlib>

#include "layout/key_view.h"

namespace kv {

std::optional<int> KeyInDirection(int from, KeyDirection direction) {
  const KeyGeometry& origin = kKeyGeometry[static_cast<size_t>(from)];
  std::optional<int> best;
  int bestScore = 0;
  for (int i = 0; i < kKeyCount; ++i) {
    const KeyGeometry& key = kKeyGeometry[static_cast<size_t>(i)];
    const int dx = key.left - origin.left;
    const int dy = key.top - origin.top;
    int along = 0;   // distance in the direction of the arrow, > 0 when the key lies that way
    int across = 0;  // distance off that line
    switch (direction) {
      case KeyDirection::Left: along = -dx; across = dy; break;
      case KeyDirection::Right: along = dx; across = dy; break;
      case KeyDirection::Up: along = -dy; across = dx; break;
      case KeyDirection::Down: along = dy; across = dx; break;
    }
    if (along <= 0) continue;
    const bool sideways = direction == KeyDirection::Left || direction == KeyDirection::Right;
    if (sideways && across != 0) continue;  // Left and Right never change the row
    // The nearest key that way, a step off the line counting double.
    const int score = along + 2 * std::abs(across);
    if (!best || score < bestScore) {
      best = i;
      bestScore = score;
    }
  }
  return best;
}

}  // namespace kv
