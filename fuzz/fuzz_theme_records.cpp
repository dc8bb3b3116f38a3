// Arbitrary bytes as a theme file, through the theme's own path without a form: decoding,
// reading the keys' records, copying them into the settings as a load does, saving and
// reading the settings back, telling whether the keys are that theme, and the printout. Fast
// enough for long runs; fuzz_theme_file drives the same through the whole form.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/ini_document.h"
#include "core/key_record.h"
#include "core/key_table.h"
#include "core/text_encoding.h"
#include "fuzz/fuzz_support.h"
#include "themes/theme_printout.h"
#include "themes/theme_records.h"

namespace {

using kv::fuzz::Check;

// Settings with two keys set, so that a theme's unset keys can have something to erase.
constexpr std::string_view kSettings =
    "[Keys]\r\nEnabled=1\r\n\r\n[F1Key]\r\nLabel=Old\r\nAction=10\r\nFile=old.exe\r\n\r\n"
    "[DelKey]\r\nLabel=Old\r\nAction=2\r\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static kv::fake::FakePlatform platform;  // its codec is Windows-1252
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const kv::IniDocument theme = kv::IniDocument::Parse(kv::DecodeFileText(bytes, platform));

  kv::IniDocument settings = kv::IniDocument::Parse(kSettings);
  kv::CopyKeyRecords(theme, settings);
  // Saved and read back, the settings are what was loaded, to the letter.
  const std::string text = settings.Serialize();
  const std::string readBack = kv::DecodeFileText(kv::EncodeFileText(text, platform), platform);
  Check(readBack == text);
  const kv::IniDocument reloaded = kv::IniDocument::Parse(readBack);
  Check(reloaded.Serialize() == text);
  Check(reloaded.ReadString("Keys", "Enabled", "") == "1");

  bool unsetKeysCarryNothing = true;
  for (int i : kv::kSectionOrder) {
    const std::string_view section = kv::KeyAt(i).section;
    const kv::KeyRecord given = kv::KeyRecord::Read(theme, section);
    const kv::KeyRecord loaded = kv::KeyRecord::Read(settings, section);
    Check(loaded.action == given.action);
    if (given.action != 0) {
      Check(loaded.LabelOr("") == given.LabelOr("") && loaded.FileOr("") == given.FileOr(""));
    } else {
      Check(!loaded.label && !loaded.file);  // a key the theme leaves unset is emptied
      unsetKeysCarryNothing = unsetKeysCarryNothing && given.LabelOr("").empty() && given.FileOr("").empty();
    }
  }
  // Just loaded, the keys are the theme, unless the theme gives a title or an argument to a
  // key it leaves unset: the load empties that key, so it no longer agrees with the theme.
  Check(kv::KeysMatchTheme(reloaded, theme, false) == unsetKeysCarryNothing);

  const std::vector<std::string> lines = kv::ThemePrintout(theme, "Odd");
  Check(lines.size() == 31);
  for (size_t k = 0; k < kv::kSectionOrder.size(); ++k) {
    const std::string& line = lines[10 + k];
    Check(line.starts_with(std::string(kv::KeyAt(kv::kSectionOrder[k]).section) + " = "));
    Check(line.find_first_of("\r\n") == std::string::npos);
  }
  return 0;
}
