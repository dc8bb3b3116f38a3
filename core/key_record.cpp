#include "core/key_record.h"

namespace kv {

namespace {

constexpr std::string_view kLabel = "Label";
constexpr std::string_view kAction = "Action";
constexpr std::string_view kFile = "File";

}  // namespace

KeyRecord KeyRecord::Read(const IniDocument& doc, std::string_view section) {
  KeyRecord record;
  record.label = doc.ReadIfPresent(section, kLabel);
  record.action = doc.ReadInteger(section, kAction, 0);
  record.file = doc.ReadIfPresent(section, kFile);
  return record;
}

void KeyRecord::Write(IniDocument& doc, std::string_view section, Order order) const {
  auto writeLabel = [&] {
    if (label) doc.WriteString(section, kLabel, *label);
  };
  if (order == Order::ActionFirst) {
    doc.WriteInteger(section, kAction, action);
    writeLabel();
  } else {
    writeLabel();
    doc.WriteInteger(section, kAction, action);
  }
  if (file) doc.WriteString(section, kFile, *file);
}

void KeyRecord::Erase(IniDocument& doc, std::string_view section) {
  for (std::string_view name : {kLabel, kAction, kFile}) doc.DeleteValue(section, name);
}

}  // namespace kv
