#include "actions/key_combo.h"

#include "core/error.h"

namespace kv {

std::optional<uint8_t> ModifierKey(int digit) {
  constexpr uint8_t kKeys[] = {0x10, 0x11, 0x12, 0x5B, 0x5D};
  if (digit < 0 || digit > 4) return std::nullopt;
  return kKeys[digit];
}

uint8_t ComboKey(const std::string& name) {
  if (name == "Tab") return 0x09;
  if (name == "Delete") return 0x2E;
  return name.empty() ? 0 : static_cast<uint8_t>(name[0]);
}

std::optional<std::array<int, 2>> ModifierDigits(const std::string& text, int modifierCount) {
  std::array<int, 2> digits{};
  for (size_t pos = 0; pos < digits.size() && pos < static_cast<size_t>(modifierCount); ++pos) {
    if (pos >= text.size() || text[pos] < '0' || text[pos] > '9') return std::nullopt;
    digits[pos] = text[pos] - '0';
  }
  return digits;
}

std::string InvalidComboMessage(const std::string& text) {
  return "'" + text + "' is not a valid key combination.";
}

KeyCombo ParseKeyCombo(const std::string& text, int modifierCount) {
  const std::optional<std::array<int, 2>> digits = ModifierDigits(text, modifierCount);
  if (!digits) throw KeyvaneError(InvalidComboMessage(text));
  KeyCombo combo;
  for (size_t i = 0; i < combo.modifiers.size() && i < static_cast<size_t>(modifierCount); ++i)
    combo.modifiers[i] = ModifierKey((*digits)[i]);
  combo.key = ComboKey(text.size() > static_cast<size_t>(modifierCount)
                           ? text.substr(static_cast<size_t>(modifierCount))
                           : std::string());
  return combo;
}

std::string FormatKeyCombo(const std::array<int, 2>& modifiers, int modifierCount,
                           const std::string& keyName) {
  std::string text;
  for (int i = 0; i < modifierCount; ++i) text += std::to_string(modifiers[static_cast<size_t>(i)]);
  return text + keyName;
}

}  // namespace kv
