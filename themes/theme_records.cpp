#include "themes/theme_records.h"

#include <string_view>

#include "core/key_record.h"
#include "core/key_table.h"
#include "layout/key_view.h"

namespace kv {

namespace {

bool SameRecord(const KeyRecord& a, const KeyRecord& b) {
  return a.action == b.action && a.LabelOr("") == b.LabelOr("") && a.FileOr("") == b.FileOr("");
}

}  // namespace

void CopyKeyRecords(const IniDocument& from, IniDocument& to) {
  for (int keyIndex : kSectionOrder) {
    const std::string_view section = KeyAt(keyIndex).section;
    const KeyRecord record = KeyRecord::Read(from, section);
    if (record.action != 0) {
      KeyRecord{record.LabelOr(""), record.action, record.FileOr("")}.Write(to, section,
                                                                           KeyRecord::Order::ActionFirst);
    } else {
      KeyRecord::Erase(to, section);
    }
  }
}

bool KeysMatchTheme(const IniDocument& settings, const IniDocument& theme, bool skipF12) {
  for (int keyIndex : kSectionOrder) {
    if (keyIndex == kF12Index && skipF12) continue;
    const std::string_view section = KeyAt(keyIndex).section;
    if (!SameRecord(KeyRecord::Read(settings, section), KeyRecord::Read(theme, section))) return false;
  }
  return true;
}

}  // namespace kv
