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

}  // namespace kv
