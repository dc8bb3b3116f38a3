// Moving among the 21 keys with the arrow keys, as they lie on the screen.
#pragma once

#include <optional>

namespace kv {

enum class KeyDirection { Left, Right, Up, Down };

// The key the arrow in `direction` leads to from the key at `from` (key order): Left and Right
// stay on the key's row, Up and Down go to the nearest key above or below, between the
// function-key row and the block of nine. nullopt at the layout's edge.
std::optional<int> KeyInDirection(int from, KeyDirection direction);

}  // namespace kv
