// The 40 actions a key can be given: their captions in the editor's action list, the codes
// stored in settings and theme files, and the titles proposed for a key.
#pragma once

#include <array>
#include <string_view>

namespace kv {

struct ActionEntry {
  std::string_view caption;  // item of the editor's action drop-down, in list order
  int code;                  // stored as the key's "Action"
  std::string_view defaultTitle;
};

inline constexpr int kActionCount = 40;

inline constexpr std::array<ActionEntry, kActionCount> kActions{{
    {"- Select One -", 0, ""},
    {" - - - - - - - - -", 1, ""},
    {"Show Add/Remove Programs", 2, "Add/ Remove Programs"},
    {"Show Network Connections", 3, "Network Con- nections"},
    {"Show System Properties", 4, "System Properties"},
    {"Show Display Properties", 5, "Display Properties"},
    {"Show Internet Properties", 6, "Internet Properties"},
    {"Show User Accounts", 7, "User Accounts"},
    {"Show Power Options", 8, "Power Options"},
    {" - - - - - - - - -", 9, ""},
    {"Run File \\/", 10, "Run File"},
    {"Open Windows Explorer at \\/", 11, "Windows Explorer"},
    {"Open Internet Browser at \\/", 12, "Internet Browser"},
    {"Open Email Program", 13, "Check Email"},
    {" - - - - - - - - - ", 14, ""},
    {"Sleep", 15, "Sleep"},
    {"Hibernate", 16, "Hibernate"},
    {"Log off", 17, "Log Off"},
    {"Reboot", 18, "Reboot"},
    {"Shut down", 19, "Shut Down"},
    {"Shut down Hung Computer", 20, "Shut Down Hung Computer"},
    {" - - - - - - - - -", 21, ""},
    {"Play Freecell", 22, "Play Freecell"},
    {"Play Hearts", 23, "Play Hearts"},
    {"Play Minesweeper", 24, "Play Mine- sweeper"},
    {"Play Solitare", 25, "Play Solitare"},
    {"Play Spider Solitare", 26, "Play Spider Solitare"},
    {" - - - - - - - - -", 27, ""},
    {"Press 2 Key Combo", 28, "Two-Key Combos"},
    {"Press 3 Key Combo", 29, "Three-Key Combos"},
    {" - - - - - - - - -", 30, ""},
    {"Paste Text", 31, "Paste Text"},
    {"Paste File Contents", 32, "Paste Contents of File"},
    {" - - - - - - - - -", 33, ""},
    {"Specify Search Term", 37, "Specify Search Term"},
    {"Load Next Theme", 34, "Load Next Theme"},
    {"Disable/Enable Keys", 35, "Disable/ Enable Keys"},
    {"Show KVN Menu", 38, "Show KVN Menu"},
    {" - - - - - - - - -", 39, ""},
    {"Remove Action", 36, ""},
}};

// Action codes with a meaning of their own elsewhere in the program.
namespace action {
inline constexpr int kRunFile = 10;
inline constexpr int kExplorer = 11;
inline constexpr int kBrowser = 12;
inline constexpr int kTwoKeyCombo = 28;
inline constexpr int kThreeKeyCombo = 29;
inline constexpr int kPasteText = 31;
inline constexpr int kPasteFile = 32;
inline constexpr int kLoadNextTheme = 34;
inline constexpr int kDisableEnableKeys = 35;
inline constexpr int kRemoveAction = 36;
inline constexpr int kSearchTerm = 37;
inline constexpr int kShowMenu = 38;
}  // namespace action

// The code stored for a list index (0..39); 0 outside the list.
int ActionCodeAt(int listIndex);
// The first list index whose code equals `code`; 0 ("- Select One -") when none does.
int GetIndexofUI(int code);
// The proposed key title for a code; empty for codes without one and outside the catalogue.
std::string_view GetDefaultTitle(int code);

}  // namespace kv
