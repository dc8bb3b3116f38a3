// Arbitrary text where Keyvane takes text typed by a user or stored by hand: a key
// combination, a theme name, a file name in a field. Nothing may crash, and the answers must
// keep their promises: an accepted theme name is one a file can have beside the executable
// and lists back as itself; a combination that parses formats back to the same digits.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "actions/key_combo.h"
#include "core/error.h"
#include "core/text_util.h"
#include "themes/theme_names.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

void CheckThemeName(std::string_view name) {
  if (kv::ThemeNameProblem(name, 30)) return;
  Check(!name.empty() && name.front() != ' ' && name.back() != ' ' && name.back() != '.');
  for (unsigned char c : name) {
    Check(c >= 0x20 && c != 0x7F);
    Check(std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) == std::string_view::npos);
  }
  Check(kv::ThemeNameOfFile(std::string(name) + ".kth") == std::string(name));
}

void CheckCombo(const std::string& text) {
  for (int modifiers : {1, 2}) {
    try {
      const kv::KeyCombo combo = kv::ParseKeyCombo(text, modifiers);
      (void)combo;
      // Parsing succeeded, so the leading characters are digits.
      for (int i = 0; i < modifiers; ++i) Check(text[static_cast<size_t>(i)] >= '0' && text[static_cast<size_t>(i)] <= '9');
    } catch (const kv::KeyvaneError&) {
      Check(text.size() < static_cast<size_t>(modifiers) || text[0] < '0' || text[0] > '9' ||
            (modifiers == 2 && (text[1] < '0' || text[1] > '9')));
    }
  }
}

void CheckShortName(std::string_view path) {
  const std::string name = kv::ExtractFileNameWOExt(path);
  Check(name.find('.') == std::string::npos && name.find('\\') == std::string::npos &&
        name.find(':') == std::string::npos);
  Check(name.size() <= path.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckThemeName(text);
  CheckCombo(text);
  CheckShortName(text);
  return 0;
}
