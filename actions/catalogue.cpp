#include "actions/catalogue.h"

namespace kv {

int ActionCodeAt(int listIndex) {
  if (listIndex < 0 || listIndex >= kActionCount) return 0;
  return kActions[static_cast<size_t>(listIndex)].code;
}

int GetIndexofUI(int code) {
  for (int i = 0; i < kActionCount; ++i)
    if (kActions[static_cast<size_t>(i)].code == code) return i;
  return 0;
}

std::string_view GetDefaultTitle(int code) {
  if (code < 0 || code >= kActionCount) return {};
  return kActions[static_cast<size_t>(GetIndexofUI(code))].defaultTitle;
}

const ActionEntry* FindAction(int code) {
  for (const ActionEntry& entry : kActions)
    if (entry.code == code) return &entry;
  return nullptr;
}

ArgumentKind ArgumentOf(int code) {
  const ActionEntry* entry = FindAction(code);
  return entry ? entry->argument : ArgumentKind::None;
}

bool IsFieldAction(int code) {
  switch (ArgumentOf(code)) {
    case ArgumentKind::File:
    case ArgumentKind::Folder:
    case ArgumentKind::WebAddress:
    case ArgumentKind::Text:
      return true;
    default:
      return false;
  }
}

bool IsComboAction(int code) {
  const ArgumentKind kind = ArgumentOf(code);
  return kind == ArgumentKind::TwoKeyCombo || kind == ArgumentKind::ThreeKeyCombo;
}

bool IsNonAction(int code) {
  const ActionEntry* entry = FindAction(code);
  return entry && entry->nonAction;
}

}  // namespace kv
