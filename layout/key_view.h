// How each of the 21 keys appears in the main window and the tray menu: the names of its
// controls, where its shape stands, and the editor's heading for it (key order).
#pragma once

#include <array>
#include <string_view>

#include "core/key_table.h"
#include "ui/label.h"
#include "ui/menu.h"
#include "ui/shape.h"

namespace kv {

struct KeyGeometry {
  std::string_view shapeName;
  std::string_view titleLabelName;
  std::string_view nameLabelName;
  std::string_view trayItemName;
  int left;
  int top;
  std::string_view heading;  // the editor's key heading once the key is selected
};

inline constexpr std::array<KeyGeometry, kKeyCount> kKeyGeometry{{
    {"Shape1", "F1Label", "Label1", "popF1", 24, 24, "Key - F1 key"},
    {"Shape2", "F2Label", "Label2", "popF2", 88, 24, "Key - F2 key"},
    {"Shape3", "F3Label", "Label3", "popF3", 152, 24, "Key - F3 key"},
    {"Shape4", "F4Label", "Label4", "popF4", 216, 24, "Key - F4 key"},
    {"Shape5", "F5Label", "Label5", "popF5", 280, 24, "Key - F5 key"},
    {"Shape6", "F6Label", "Label6", "popF6", 344, 24, "Key - F6 key"},
    {"Shape7", "F7Label", "Label7", "popF7", 408, 24, "Key - F7 key"},
    {"Shape8", "F8Label", "Label8", "popF8", 472, 24, "Key - F8 key"},
    {"Shape9", "F9Label", "Label9", "popF9", 536, 24, "Key - F9 key"},
    {"Shape10", "F10Label", "Label10", "popF10", 600, 24, "Key - F10 key"},
    {"Shape11", "F11Label", "Label11", "popF11", 664, 24, "Key - F11 key"},
    {"Shape12", "F12Label", "Label12", "popF12", 728, 24, "Key - F12 key"},
    {"Shape14", "PSLabel", "Label14", "popPrnScr", 600, 144, "Key - Print Screen key"},
    {"Shape15", "SLLabel", "Label15", "popScrLk", 664, 144, "Key - Scroll Lock key"},
    {"Shape16", "PBLabel", "Label16", "popBreak", 728, 144, "Key - Pause/Break key"},
    {"Shape17", "InsLabel", "Label17", "popIns", 600, 224, "Key - Insert key"},
    {"Shape18", "HomeLabel", "Label18", "popHome", 664, 224, "Key - Home key"},
    {"Shape19", "PULabel", "Label19", "popPageUp", 728, 224, "Key - Page Up key"},
    {"Shape20", "DelLabel", "Label20", "popDelete", 600, 304, "Key - Delete key"},
    {"Shape21", "EndLabel", "Label21", "popEnd", 664, 304, "Key - End key"},
    {"Shape22", "PDLabel", "Label22", "popPageDown", 728, 304, "Key - Page Down key"},
}};

// Sizes of a key's controls at 96 DPI.
inline constexpr int kKeyWidth = 57;
inline constexpr int kKeyHeight = 65;
inline constexpr int kKeyCorner = 14;
inline constexpr int kTitleOffset = 8;
inline constexpr int kTitleHeight = 57;
inline constexpr int kNameOffset = 64;

// Colours of the key states.
inline constexpr ui::Color kKeySetFill = 0xAAAADD;
inline constexpr ui::Color kKeyNotSetFill = 0xFFFFFF;
inline constexpr ui::Color kKeySystemFill = 0xC0C0C0;
inline constexpr ui::Color kKeySystemText = 0x808080;
inline constexpr ui::Color kKeySelectedSetFill = 0x4444DD;
inline constexpr ui::Color kKeySelectedNotSetFill = 0x0000FF;
inline constexpr ui::Color kKeyNameColor = 0x0000DD;

// F12, which Windows 2000 to Vista keep for the debugger.
inline constexpr int kF12Index = 11;
static_assert(kKeys[kF12Index].section == "F12Key");

// The hint of a set key whose hot key another program holds.
inline constexpr std::string_view kKeyHeldElsewhereHint =
    "Another program is using this key; pressing it reaches that program";

inline constexpr std::string_view kNotSetMarker = "@!#";
inline constexpr std::string_view kF12DisabledTitle = "Disabled  by  Windows";
inline constexpr std::string_view kF12DisabledTrayCaption = "F12 - Disabled by Windows";

// The four controls of one key. The tray item belongs to the tray menu.
struct KeyView {
  int index;  // key order, 0-based
  ui::Shape* shape;
  ui::Label* title;
  ui::Label* name;
  ui::MenuItem* trayItem;
  int action = 0;  // the action code the settings held when the layout was last drawn
};

}  // namespace kv
