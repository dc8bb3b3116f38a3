// Key combinations, pasting through the clipboard, and the search term.
#include <vector>

#include "actions/catalogue.h"
#include "actions/key_combo.h"
#include "app/form.h"
#include "core/error.h"
#include "app/settings_file.h"
#include "core/text_encoding.h"

namespace kv {

namespace {

constexpr uint8_t kVkControl = 0x11;
constexpr const char* kSearchTermPrompt =
    "This Search Term will replace \"%SEARCHTERM%\" whenever it is used in a Keyvane' URL or File "
    "Path.  Please type in the Search Term to use";

// Presses keys and, whatever happens later, releases them in reverse order.
class HeldKeys {
 public:
  HeldKeys(platform::Keyboard& keyboard, uint8_t scanCode) : keyboard_(keyboard), scan_(scanCode) {}
  ~HeldKeys() {
    for (auto it = held_.rbegin(); it != held_.rend(); ++it)
      keyboard_.KeyEvent(*it, scan_, platform::kKeyEventKeyUp);
  }
  HeldKeys(const HeldKeys&) = delete;
  HeldKeys& operator=(const HeldKeys&) = delete;

  void Press(std::optional<uint8_t> key) {
    if (!key) return;
    keyboard_.KeyEvent(*key, scan_, 0);
    held_.push_back(*key);
  }
  void Tap(uint8_t key) {
    Press(key);
    keyboard_.KeyEvent(key, scan_, platform::kKeyEventKeyUp);
    held_.pop_back();
  }

 private:
  platform::Keyboard& keyboard_;
  uint8_t scan_;
  std::vector<uint8_t> held_;
};

void SendCtrlV(platform::Keyboard& keyboard) {
  const uint8_t v = static_cast<uint8_t>(keyboard.KeyScan('v') & 0xFF);
  HeldKeys keys(keyboard, 1);
  keys.Press(kVkControl);
  keys.Tap(v);
}

void PasteThroughClipboard(platform::Platform& platform, const std::string& text) {
  if (!platform.keyboard.SetClipboardText(text))
    throw KeyvaneError("The clipboard is in use by another program. Nothing was pasted.");
  SendCtrlV(platform.keyboard);
}

// Every line of the text followed by CR LF; a line ends at CR LF, LF or CR.
std::string WithLineBreaks(const std::string& text) {
  std::string out;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      out += text.substr(start) + "\r\n";
      break;
    }
    out += text.substr(start, end - start) + "\r\n";
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return out;
}

}  // namespace

void TForm1::SendTwoKeyCombo(const std::string& combo) {
  const KeyCombo parsed = ParseKeyCombo(combo, 1);
  HeldKeys held(platform.keyboard, 0);
  held.Press(parsed.modifiers[0]);
  held.Tap(parsed.key);
}

void TForm1::SendThreeKeyCombo(const std::string& combo) {
  if (combo == "12Delete" || combo == "21Delete") {
    // Ctrl+Alt+Delete cannot be sent; the task manager is what the user wants from it.
    platform.processes.ShellExec("open", "taskmgr", "", "", platform::kSwShowNormal, false);
    return;
  }
  const KeyCombo parsed = ParseKeyCombo(combo, 2);
  HeldKeys held(platform.keyboard, 0);
  held.Press(parsed.modifiers[0]);
  held.Press(parsed.modifiers[1]);
  held.Tap(parsed.key);
}

void TForm1::PasteText(const std::string& text) { PasteThroughClipboard(platform, text); }

void TForm1::PasteFileContents(const std::string& path) {
  const std::optional<std::string> bytes = platform.files.ReadAll(path);
  if (!bytes) throw KeyvaneError("Cannot open file \"" + path + "\". The system cannot find the file specified.");
  PasteThroughClipboard(platform, WithLineBreaks(DecodeFileText(*bytes, platform.ansi)));
}

void TForm1::AskSearchTerm() {
  if (std::optional<std::string> term = platform.dialogs.InputBox("Search Term", kSearchTermPrompt, searchTerm))
    searchTerm = *term;
}

}  // namespace kv
