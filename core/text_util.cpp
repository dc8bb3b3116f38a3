#include "core/text_util.h"

namespace kv {

namespace {
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Upper(c);
  return out;
}

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Lower(c);
  return out;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

std::string_view FileNamePart(std::string_view path) {
  const size_t cut = path.find_last_of("\\:");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string ExtractFileNameWOExt(std::string_view path) {
  std::string_view name = FileNamePart(path);
  return std::string(name.substr(0, name.find('.')));
}

std::string ReplaceAllIgnoringCase(const std::string& text, const std::string& what,
                                   const std::string& with) {
  if (what.empty()) return text;
  const std::string upperText = UpperAscii(text), upperWhat = UpperAscii(what);
  std::string out;
  size_t from = 0;
  for (size_t at; (at = upperText.find(upperWhat, from)) != std::string::npos; from = at + what.size())
    out += text.substr(from, at - from) + with;
  return out + text.substr(from);
}

}  // namespace kv
