#include "editor/key_editor.h"

#include "actions/catalogue.h"
#include "core/text_util.h"

namespace kv {

bool IsFieldAction(int code) {
  return code == action::kRunFile || code == action::kExplorer || code == action::kBrowser ||
         code == action::kPasteText || code == action::kPasteFile;
}

bool IsComboAction(int code) {
  return code == action::kTwoKeyCombo || code == action::kThreeKeyCombo;
}

bool IsNonAction(int code) {
  switch (code) {
    case 0: case 1: case 9: case 14: case 21: case 27: case 30: case 33: case 39:
      return true;
    default:
      return false;
  }
}

std::string FieldTitle(int code, const std::string& fieldText) {
  std::string title(GetDefaultTitle(code));
  if (fieldText.empty()) return title;
  return title + "  " + ExtractFileNameWOExt(fieldText);
}

}  // namespace kv
