// The stored form of a key combination: modifier digits, then a key name ("1C", "20Tab").
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kv {

struct KeyCombo {
  // The modifiers' virtual keys, in the order they are pressed; nullopt for a digit that
  // stands for no modifier.
  std::array<std::optional<uint8_t>, 2> modifiers{};
  uint8_t key = 0;
};

// The virtual key of a modifier digit: 0 Shift, 1 Ctrl, 2 Alt, 3 Windows, 4 Applications.
std::optional<uint8_t> ModifierKey(int digit);
// "Tab", "Delete", or the character code of the name's first character (0 when empty).
uint8_t ComboKey(const std::string& name);
// The modifier positions a stored combination names ("12Delete" -> 1, 2), nullopt when one of
// the first `modifierCount` characters is not a decimal digit.
std::optional<std::array<int, 2>> ModifierDigits(const std::string& text, int modifierCount);
// What the user is told of a stored combination that cannot be read.
std::string InvalidComboMessage(const std::string& text);
// Reads `modifierCount` digits and the key name. Throws KeyvaneError, before anything could be
// sent, when a modifier position is not a decimal digit.
KeyCombo ParseKeyCombo(const std::string& text, int modifierCount);
// The stored form for modifier positions and a key name.
std::string FormatKeyCombo(const std::array<int, 2>& modifiers, int modifierCount,
                           const std::string& keyName);

}  // namespace kv
