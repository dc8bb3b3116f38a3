#include "core/key_table.h"

namespace kv {

std::optional<int> KeyIndexByPos(int pos) {
  if (pos < 1 || pos > kKeyCount) return std::nullopt;
  return pos - 1;
}

std::optional<int> KeyIndexBySection(std::string_view section) {
  for (int i = 0; i < kKeyCount; ++i)
    if (KeyAt(i).section == section) return i;
  return std::nullopt;
}

std::optional<int> KeyIndexByHotKeyId(const HotKeyIds& ids, uint32_t id) {
  for (int i = 0; i < kKeyCount; ++i)
    if (ids[static_cast<size_t>(i)] == id) return i;
  return std::nullopt;
}

}  // namespace kv
