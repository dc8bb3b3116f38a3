// The 21 programmable keys. Key order is the order of the layout, the editor, the tray
// menu, atom creation and hot-key registration; section order is the order in which the
// layout refresh and the theme operations walk the key sections.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kv {

inline constexpr int kKeyCount = 21;

struct KeyInfo {
  int pos;                        // 1..21 in key order
  std::string_view section;       // settings and theme file section
  std::string_view layoutCaption; // printed under the key's shape
  std::string_view editorItem;    // item of the editor's key drop-down
  std::string_view trayNotSet;    // tray item caption while the key is not set
  std::string_view trayPrefix;    // tray item caption prefix while the key is set
  std::string_view atomName;      // its global atom is the hot-key id
  uint32_t vk;                    // registered without modifiers
  int sectionPos;                 // 1..21 in section order
};

inline constexpr std::array<KeyInfo, kKeyCount> kKeys{{
    {1, "F1Key", "F1", "F1", "F1 - (not set)", "F1 - ", "KVNF1", 0x70, 1},
    {2, "F2Key", "F2", "F2", "F2 - (not set)", "F2 - ", "KVNF2", 0x71, 2},
    {3, "F3Key", "F3", "F3", "F3 - (not set)", "F3 - ", "KVNF3", 0x72, 3},
    {4, "F4Key", "F4", "F4", "F4 - (not set)", "F4 - ", "KVNF4", 0x73, 4},
    {5, "F5Key", "F5", "F5", "F5 - (not set)", "F5 - ", "KVNF5", 0x74, 5},
    {6, "F6Key", "F6", "F6", "F6 - (not set)", "F6 - ", "KVNF6", 0x75, 6},
    {7, "F7Key", "F7", "F7", "F7 - (not set)", "F7 - ", "KVNF7", 0x76, 7},
    {8, "F8Key", "F8", "F8", "F8 - (not set)", "F8 - ", "KVNF8", 0x77, 8},
    {9, "F9Key", "F9", "F9", "F9 - (not set)", "F9 - ", "KVNF9", 0x78, 9},
    {10, "F10Key", "F10", "F10", "F10 - (not set)", "F10 - ", "KVNF10", 0x79, 10},
    {11, "F11Key", "F11", "F11", "F11 - (not set)", "F11 - ", "KVNF11", 0x7A, 11},
    {12, "F12Key", "F12", "F12", "F12 - (not set)", "F12 - ", "KVNF12", 0x7B, 12},
    {13, "PSKey", "PrnScn", "PrnScn", "PrnScr - (not set)", "PrnScr - ", "KVNScrPrn", 0x2C, 17},
    {14, "SLKey", "ScrLk", "ScrLk", "ScrLk - (not set)", "ScrLk - ", "KVNScrLock", 0x91, 19},
    {15, "PBKey", "Pause Break", "Pause", "Break - (not set)", "Break - ", "KVNPauseBreak", 0x13, 15},
    {16, "InsKey", "Insert", "Insert", "Ins - (not set)", "Ins - ", "KVNIns", 0x2D, 14},
    {17, "HomeKey", "Home", "Home", "Home - (not set)", "Home - ", "KVNHome", 0x24, 13},
    {18, "PUKey", "PgUp", "PgUp", "PageUp - (not set)", "PageUp - ", "KVNPageUp", 0x21, 18},
    {19, "DelKey", "Delete", "Delete", "Delete - (not set)", "Del - ", "KVNDel", 0x2E, 20},
    {20, "EndKey", "End", "End", "End - (not set)", "End - ", "KVNEnd", 0x23, 21},
    {21, "PDKey", "PgDn", "PgDn", "PageDown - (not set)", "PageDown - ", "KVNPageDown", 0x22, 16},
}};

// Key-order indexes (0-based) of the keys in section order.
inline constexpr std::array<int, kKeyCount> kSectionOrder = [] {
  std::array<int, kKeyCount> order{};
  for (int i = 0; i < kKeyCount; ++i) order[static_cast<size_t>(kKeys[static_cast<size_t>(i)].sectionPos - 1)] = i;
  return order;
}();

// The 21 hot-key ids in key order: each key's atom widened with zeros.
using HotKeyIds = std::array<uint32_t, kKeyCount>;

// Lookups; each gives the row's 0-based index in key order.
std::optional<int> KeyIndexByPos(int pos);
std::optional<int> KeyIndexBySection(std::string_view section);  // exact match
std::optional<int> KeyIndexByHotKeyId(const HotKeyIds& ids, uint32_t id);

inline const KeyInfo& KeyAt(int index) { return kKeys[static_cast<size_t>(index)]; }

}  // namespace kv
