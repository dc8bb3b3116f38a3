// The 40 actions a key can be given: their captions in the editor's action list, the codes
// stored in settings and theme files, and the titles proposed for a key.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kv {

// What a key's "File" value holds for an action, and so which editor fields it needs.
enum class ArgumentKind : uint8_t {
  None,
  File,           // a file name, chosen with Browse or typed
  Folder,         // a folder, chosen with Browse or typed
  WebAddress,     // typed
  Text,           // typed
  TwoKeyCombo,    // a modifier and a key from the combo lists
  ThreeKeyCombo,  // two modifiers and a key
};

struct ActionEntry {
  std::string_view caption;  // item of the editor's action drop-down, in list order
  int code;                  // stored as the key's action code
  std::string_view defaultTitle;
  ArgumentKind argument = ArgumentKind::None;
  bool browse = false;             // the editor shows its "..." button
  std::string_view fieldCaption;   // the field box's label, for field arguments
  std::string_view fieldHint;      // hint of that label and of the field box
  bool nonAction = false;          // "- Select One -" and the separator lines: cannot be applied
};

namespace catalogue_rows {
constexpr ActionEntry Plain(std::string_view caption, int code, std::string_view title) {
  return {caption, code, title, ArgumentKind::None, false, "", "", false};
}
constexpr ActionEntry Line(std::string_view caption, int code) {
  return {caption, code, "", ArgumentKind::None, false, "", "", true};
}
constexpr ActionEntry Field(std::string_view caption, int code, std::string_view title,
                            ArgumentKind kind, bool browse, std::string_view fieldCaption,
                            std::string_view hint) {
  return {caption, code, title, kind, browse, fieldCaption, hint, false};
}
constexpr ActionEntry Combo(std::string_view caption, int code, std::string_view title,
                            ArgumentKind kind) {
  return {caption, code, title, kind, false, "", "", false};
}
}  // namespace catalogue_rows

inline constexpr int kActionCount = 40;

inline constexpr std::array<ActionEntry, kActionCount> kActions = [] {
  using namespace catalogue_rows;
  using enum ArgumentKind;
  return std::array<ActionEntry, kActionCount>{{
      Line("- Select One -", 0),
      Line(" - - - - - - - - -", 1),
      Plain("Show Add/Remove Programs", 2, "Add/ Remove Programs"),
      Plain("Show Network Connections", 3, "Network Con- nections"),
      Plain("Show System Properties", 4, "System Properties"),
      Plain("Show Display Properties", 5, "Display Properties"),
      Plain("Show Internet Properties", 6, "Internet Properties"),
      Plain("Show User Accounts", 7, "User Accounts"),
      Plain("Show Power Options", 8, "Power Options"),
      Line(" - - - - - - - - -", 9),
      Field("Run File \\/", 10, "Run File", File, true, "File -",
            "Use the ... button to designate the file to run."),
      Field("Open Windows Explorer at \\/", 11, "Windows Explorer", Folder, true, "File -",
            "Use the ... button to designate where to open Windows Explorer."),
      Field("Open Internet Browser at \\/", 12, "Internet Browser", WebAddress, false, "Website -",
            "Type in the website address to open in browser."),
      Plain("Open Email Program", 13, "Check Email"),
      Line(" - - - - - - - - - ", 14),
      Plain("Sleep", 15, "Sleep"),
      Plain("Hibernate", 16, "Hibernate"),
      Plain("Log off", 17, "Log Off"),
      Plain("Reboot", 18, "Reboot"),
      Plain("Shut down", 19, "Shut Down"),
      Plain("Shut down Hung Computer", 20, "Shut Down Hung Computer"),
      Line(" - - - - - - - - -", 21),
      Plain("Play Freecell", 22, "Play Freecell"),
      Plain("Play Hearts", 23, "Play Hearts"),
      Plain("Play Minesweeper", 24, "Play Mine- sweeper"),
      Plain("Play Solitare", 25, "Play Solitare"),
      Plain("Play Spider Solitare", 26, "Play Spider Solitare"),
      Line(" - - - - - - - - -", 27),
      Combo("Press 2 Key Combo", 28, "Two-Key Combos", TwoKeyCombo),
      Combo("Press 3 Key Combo", 29, "Three-Key Combos", ThreeKeyCombo),
      Line(" - - - - - - - - -", 30),
      Field("Paste Text", 31, "Paste Text", Text, false, "Text -", "Type in the text to be pasted."),
      Field("Paste File Contents", 32, "Paste Contents of File", File, true, "File -",
            "Use the ... button to designate the file to paste."),
      Line(" - - - - - - - - -", 33),
      Plain("Specify Search Term", 37, "Specify Search Term"),
      Plain("Load Next Theme", 34, "Load Next Theme"),
      Plain("Disable/Enable Keys", 35, "Disable/ Enable Keys"),
      Plain("Show KVN Menu", 38, "Show KVN Menu"),
      Line(" - - - - - - - - -", 39),
      Plain("Remove Action", 36, ""),
  }};
}();

// The action codes that the program names, with the values stored in settings and theme files.
enum class ActionCode : int {
  SelectOne = 0,
  AddRemovePrograms = 2,
  NetworkConnections = 3,
  SystemProperties = 4,
  DisplayProperties = 5,
  InternetProperties = 6,
  UserAccounts = 7,
  PowerOptions = 8,
  RunFile = 10,
  Explorer = 11,
  Browser = 12,
  Email = 13,
  Sleep = 15,
  Hibernate = 16,
  LogOff = 17,
  Reboot = 18,
  ShutDown = 19,
  ShutDownHung = 20,
  Freecell = 22,
  Hearts = 23,
  Minesweeper = 24,
  Solitaire = 25,
  SpiderSolitaire = 26,
  TwoKeyCombo = 28,
  ThreeKeyCombo = 29,
  PasteText = 31,
  PasteFile = 32,
  LoadNextTheme = 34,
  DisableEnableKeys = 35,
  RemoveAction = 36,
  SearchTerm = 37,
  ShowMenu = 38,
};

constexpr int StoredCode(ActionCode code) { return static_cast<int>(code); }

// The catalogue row of a stored code; nullptr outside the catalogue.
const ActionEntry* FindAction(int code);

// Actions whose argument is the field box's text.
bool IsFieldAction(int code);
// Actions whose argument is built from the combo lists.
bool IsComboAction(int code);
// "- Select One -" and the separator lines.
bool IsNonAction(int code);
// The argument kind of a stored code; None outside the catalogue.
ArgumentKind ArgumentOf(int code);

// The code stored for a list index (0..39); 0 outside the list.
int ActionCodeAt(int listIndex);
// The first list index whose code equals `code`; 0 ("- Select One -") when none does.
int GetIndexofUI(int code);
// The proposed key title for a code; empty for codes without one and outside the catalogue.
std::string_view GetDefaultTitle(int code);

}  // namespace kv
