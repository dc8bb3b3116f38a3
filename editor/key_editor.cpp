#include "editor/key_editor.h"

#include "actions/catalogue.h"
#include "core/text_util.h"

namespace kv {

std::string FieldTitle(int code, const std::string& fieldText) {
  std::string title(GetDefaultTitle(code));
  if (fieldText.empty()) return title;
  return title + "  " + ExtractFileNameWOExt(fieldText);
}

}  // namespace kv
