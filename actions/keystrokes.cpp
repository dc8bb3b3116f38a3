// Key combinations, pasting through the clipboard, and the search term.
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>
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

constexpr int kReleaseAttempts = 4;

std::string KeyName(uint8_t key) {
  switch (key) {
    case 0x09: return "Tab";
    case 0x10: return "Shift";
    case 0x11: return "Ctrl";
    case 0x12: return "Alt";
    case 0x2E: return "Delete";
    case 0x5B: return "Windows";
    case 0x5D: return "Applications";
    default: break;
  }
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, static_cast<char>(key));
  char code[16];
  std::snprintf(code, sizeof code, "key 0x%02X", key);
  return code;
}

// The keys that the first `accepted` strokes left down, in the order they went down.
std::vector<uint8_t> LeftDown(const std::vector<platform::KeyStroke>& strokes, size_t accepted) {
  std::vector<uint8_t> down;
  for (size_t i = 0; i < accepted && i < strokes.size(); ++i) {
    if (!strokes[i].keyUp) {
      down.push_back(strokes[i].virtualKey);
      continue;
    }
    const auto last = std::find(down.rbegin(), down.rend(), strokes[i].virtualKey);
    if (last != down.rend()) down.erase(std::next(last).base());
  }
  return down;
}

// Presses the keys in order and releases them in reverse, as one piece of input, so that
// nobody's typing lands between them. Windows may still take the presses and refuse the
// releases (the focus went to a program run as administrator in between); a modifier left
// down then acts on every program until the user presses it, so whatever went down is
// released again, a few times at most. The keys Windows still holds are returned.
std::vector<uint8_t> PressTogether(platform::Keyboard& keyboard, const std::vector<uint8_t>& keys,
                                   uint8_t scanCode) {
  std::vector<platform::KeyStroke> strokes;
  for (uint8_t key : keys) strokes.push_back({key, scanCode, false});
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) strokes.push_back({*it, scanCode, true});
  std::vector<uint8_t> down = LeftDown(strokes, keyboard.SendKeys(strokes));
  for (int attempt = 0; attempt < kReleaseAttempts && !down.empty(); ++attempt) {
    std::vector<platform::KeyStroke> releases;
    for (auto it = down.rbegin(); it != down.rend(); ++it) releases.push_back({*it, scanCode, true});
    const size_t released = std::min(keyboard.SendKeys(releases), releases.size());
    down.resize(down.size() - released);
  }
  return down;
}

// Tells the user which keys Windows would not let up, and how to free them.
void ReportHeldKeys(platform::Platform& platform, const std::vector<uint8_t>& held) {
  std::vector<uint8_t> keys;  // each once: "11A" holds Ctrl twice
  for (uint8_t key : held)
    if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
  if (keys.empty()) return;
  std::string names;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (i > 0) names += i + 1 == keys.size() ? " and " : ", ";
    names += KeyName(keys[i]);
  }
  platform.tray.ShowBalloon(kProductName,
                            "Windows did not let Keyvane release " + names +
                                ". If keys act strangely, press and release " + names + ".",
                            10);
}

void SendKeysTogether(platform::Platform& platform, const std::vector<uint8_t>& keys, uint8_t scanCode) {
  ReportHeldKeys(platform, PressTogether(platform.keyboard, keys, scanCode));
}

// The keys of a parsed combination, in the order they are pressed.
std::vector<uint8_t> KeysOf(const KeyCombo& combo) {
  std::vector<uint8_t> keys;
  for (const std::optional<uint8_t>& modifier : combo.modifiers)
    if (modifier) keys.push_back(*modifier);
  keys.push_back(combo.key);
  return keys;
}

void SendCtrlV(platform::Platform& platform) {
  // A keyboard layout without the letter (Russian, Greek) gives -1; the V key is still the
  // paste key there.
  const int16_t scan = platform.keyboard.KeyScan('v');
  const uint8_t v = scan == -1 ? uint8_t{0x56} : static_cast<uint8_t>(scan & 0xFF);
  SendKeysTogether(platform, {kVkControl, v}, 1);
}

void PasteThroughClipboard(platform::Platform& platform, const std::string& text) {
  if (!platform.keyboard.SetClipboardText(text))
    throw KeyvaneError("The clipboard is in use by another program. Nothing was pasted.");
  SendCtrlV(platform);
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
  SendKeysTogether(platform, KeysOf(ParseKeyCombo(combo, 1)), 0);
}

void TForm1::SendThreeKeyCombo(const std::string& combo) {
  if (combo == "12Delete" || combo == "21Delete") {
    // Ctrl+Alt+Delete cannot be sent; the task manager is what the user wants from it.
    platform.processes.ShellExec("open", "taskmgr", "", "", platform::kSwShowNormal, false);
    return;
  }
  SendKeysTogether(platform, KeysOf(ParseKeyCombo(combo, 2)), 0);
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
