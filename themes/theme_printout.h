// The printed form of a theme: a heading of ten lines, then one line per key in section
// order ("F1Key = <title>", nothing after " = " for a key the theme leaves unset).
#pragma once

#include <string>
#include <vector>

#include "core/ini_document.h"

namespace kv {

std::vector<std::string> ThemePrintout(const IniDocument& theme, const std::string& name);

}  // namespace kv
