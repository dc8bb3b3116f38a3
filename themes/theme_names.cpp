#include "themes/theme_names.h"

#include "core/text_util.h"

namespace kv {

namespace {

// Windows' own limits for one file name and for a whole path without the long-path prefix.
constexpr size_t kMaxComponent = 255;
constexpr size_t kMaxPath = 259;

// Characters as Windows counts them in a path (UTF-16 units), for UTF-8 text.
size_t WideLength(std::string_view text) {
  size_t units = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++units;
    if ((c & 0xF8) == 0xF0) ++units;  // outside the basic plane: a surrogate pair
  }
  return units;
}

bool IsDeviceName(std::string_view name) {
  // CON, AUX, COM1 ... name the device whatever follows the first dot, blanks before it too.
  std::string stem = UpperAscii(name.substr(0, name.find('.')));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  for (std::string_view device : {"CON", "PRN", "AUX", "NUL"})
    if (stem == device) return true;
  if (!stem.starts_with("COM") && !stem.starts_with("LPT")) return false;
  const std::string_view port = std::string_view(stem).substr(3);
  // A port's digit, or one of the superscripts one to three that Windows reads as digits.
  return (port.size() == 1 && port[0] >= '0' && port[0] <= '9') || port == "\u00B9" ||
         port == "\u00B2" || port == "\u00B3";
}

}  // namespace

bool IsFixedThemeName(std::string_view name, platform::FileSystem& files) {
  for (std::string_view fixed : {"QUICK START", "CONTROL PANEL", "SHOPPING"})
    if (files.SameFileName(name, fixed)) return true;
  return false;
}

std::optional<std::string> ThemeNameOfFile(std::string_view fileName) {
  const std::string_view name = FileNamePart(fileName);
  if (name.size() <= kThemeExtension.size() ||
      !EqualsIgnoringCase(name.substr(name.size() - kThemeExtension.size()), kThemeExtension))
    return std::nullopt;
  return std::string(name.substr(0, name.size() - kThemeExtension.size()));
}

std::optional<std::string> ThemeNameProblem(std::string_view name, size_t folderLength) {
  std::string refused = "\"";  // built in steps: GCC 12 warns wrongly about "literal" + string
  refused.append(name).append("\" cannot be used as a theme name: ");
  if (name.empty()) return refused + "it is empty.";
  for (unsigned char c : name) {
    if (c < 0x20 || c == 0x7F) return refused + "it contains a control character.";
    if (std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
      return refused + "a theme name may not contain any of the characters \\ / : * ? \" < > |";
  }
  if (name.front() == ' ' || name.back() == ' ')
    return refused + "it may not begin or end with a blank.";
  if (name.back() == '.') return refused + "it may not end with a dot.";
  if (IsDeviceName(name)) return refused + "Windows keeps that name for a device.";
  const size_t length = WideLength(name) + kThemeExtension.size();
  if (length > kMaxComponent || folderLength + length > kMaxPath)
    return refused + "it is too long for a file in Keyvane's folder.";
  return std::nullopt;
}

}  // namespace kv
