#include "core/ini_document.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>

// Reading rules beyond the ones in the header:
// - A line starting with "[" but not ending with "]", and a line without "=" inside a section,
//   are not part of the document and are dropped, like comments.
// - A section named twice is one section: later values join the first occurrence.
// - A value named twice in a section keeps its first occurrence; later ones are dropped, so
//   deleting the value cannot bring an older copy back on the next reload.
//
// Names and values given to the API are brought to the form a reload of the file would give
// them (see the Canonical* helpers), so a document and its reloaded copy always agree.

namespace kv {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view s) {
  const size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// The text without its outer blanks, where a character that `replaced` picks counts as a
// blank and a leading character that `skipped` picks is trimmed too.
template <typename Replaced, typename Skipped>
std::string_view TrimCanonically(std::string_view s, Replaced replaced, Skipped skipped) {
  auto blank = [&](char c) { return IsBlank(c) || replaced(c); };
  size_t first = 0, last = s.size();
  while (first < last && (blank(s[first]) || skipped(s[first]))) ++first;
  while (last > first && blank(s[last - 1])) --last;
  return s.substr(first, last - first);
}

// The text with every character that `replaced` picks read as a blank, then trimmed as above;
// lower-cased when `lower`.
template <typename Replaced, typename Skipped>
std::string Canonical(std::string_view s, Replaced replaced, Skipped skipped, bool lower) {
  std::string out(TrimCanonically(s, replaced, skipped));
  for (char& c : out) {
    if (replaced(c))
      c = ' ';
    else if (lower && c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

constexpr auto kNothing = [](char) { return false; };
// Values and section names: a line break would split the line; outer blanks are trimmed by
// the reader anyway.
constexpr auto kInText = [](char c) { return IsLineBreak(c); };
// Value names also must not hold "=" (the reader splits at the first one) nor start with ";"
// or "[" (the line would read as a comment or a section).
constexpr auto kInName = [](char c) { return IsLineBreak(c) || c == '='; };
constexpr auto kBeforeName = [](char c) { return c == ';' || c == '['; };

std::string CanonicalText(std::string_view s) { return Canonical(s, kInText, kNothing, false); }
std::string CanonicalValueName(std::string_view s) { return Canonical(s, kInName, kBeforeName, false); }
std::string SectionKey(std::string_view section) { return Canonical(section, kInText, kNothing, true); }
std::string ValueKey(std::string_view name) { return Canonical(name, kInName, kBeforeName, true); }

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The indexes hold canonical names in lower case. A name looked up is hashed and compared with
// its letters folded, so that the lookup of a name already in canonical form builds no string:
// the settings are read on every hot key.
struct FoldedHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const noexcept {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (char c : s) {
      hash ^= static_cast<unsigned char>(FoldAscii(c));
      hash *= 1099511628211ull;
    }
    return static_cast<size_t>(hash);
  }
};

struct FoldedEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
      if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
  }
};

using NameIndex = std::unordered_map<std::string, size_t, FoldedHash, FoldedEqual>;

// The entry for a section name (or a value name, `valueName`) as the API received it.
template <typename Index>
auto FindName(Index& index, std::string_view name, bool valueName) {
  const std::string_view trimmed =
      valueName ? TrimCanonically(name, kInName, kBeforeName) : TrimCanonically(name, kInText, kNothing);
  const bool canonical = valueName ? std::none_of(trimmed.begin(), trimmed.end(), kInName)
                                   : std::none_of(trimmed.begin(), trimmed.end(), kInText);
  if (canonical) return index.find(trimmed);
  return index.find(valueName ? ValueKey(name) : SectionKey(name));
}

std::string AsciiLower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// Optional sign and decimal digits only: "0x10", "12abc" and values beyond 32 bits are not
// integers. Blanks around the digits are tolerated.
std::optional<int32_t> ParseDecimal(std::string_view s) {
  s = Trim(s);
  const bool negative = !s.empty() && s.front() == '-';
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) s.remove_prefix(1);
  if (s.empty()) return std::nullopt;
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > kLimit) return std::nullopt;
  }
  if (!negative && magnitude == kLimit) return std::nullopt;
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

// Calls `onLine` for every line; CR LF, LF and a lone CR each end a line.
template <typename OnLine>
void ForEachLine(std::string_view text, OnLine&& onLine) {
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      onLine(text.substr(start));
      return;
    }
    onLine(text.substr(start, end - start));
    const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    start = end + (crlf ? 2 : 1);
  }
}

}  // namespace

struct IniDocument::Impl {
  struct Value {
    std::string name;
    std::string text;
    bool deleted = false;  // kept as a tombstone so positions in the index stay valid
  };

  struct Section {
    std::string name;
    std::vector<Value> values;
    NameIndex index;  // lower-cased name -> position in values

    const Value* Find(std::string_view valueName) const {
      auto it = FindName(index, valueName, true);
      return it == index.end() ? nullptr : &values[it->second];
    }

    // `key` is the lower-cased canonical name; the first value under a name wins.
    void AddIfAbsent(std::string key, std::string valueName, std::string text) {
      if (index.emplace(std::move(key), values.size()).second)
        values.push_back({std::move(valueName), std::move(text)});
    }
  };

  std::vector<Section> sections;
  NameIndex index;  // lower-cased name -> position in sections

  const Section* Find(std::string_view name) const {
    auto it = FindName(index, name, false);
    return it == index.end() ? nullptr : &sections[it->second];
  }

  // The position of the section, added at the end when new.
  size_t Obtain(std::string_view name) {
    std::string canonical = CanonicalText(name);
    auto [it, added] = index.emplace(AsciiLower(canonical), sections.size());
    if (added) sections.push_back({std::move(canonical), {}, {}});
    return it->second;
  }

  const Value* FindValue(std::string_view section, std::string_view name) const {
    const Section* s = Find(section);
    return s ? s->Find(name) : nullptr;
  }

  // `current` is the position of the section being read, npos before the first one.
  void ParseLine(std::string_view line, size_t& current) {
    line = Trim(line);
    if (line.empty() || line.front() == ';') return;
    if (line.front() == '[') {
      if (line.size() >= 2 && line.back() == ']') current = Obtain(line.substr(1, line.size() - 2));
      return;
    }
    const size_t eq = line.find('=');
    if (current == kNone || eq == std::string_view::npos) return;
    // A parsed name is already canonical: no "=", no outer blanks, no leading ";" or "[".
    std::string name(Trim(line.substr(0, eq)));
    std::string key = AsciiLower(name);
    sections[current].AddIfAbsent(std::move(key), std::move(name),
                                  std::string(Trim(line.substr(eq + 1))));
  }

  static constexpr size_t kNone = std::string_view::npos;
};

IniDocument::IniDocument() : impl_(std::make_unique<Impl>()) {}
IniDocument::~IniDocument() = default;
IniDocument::IniDocument(IniDocument&&) noexcept = default;
IniDocument& IniDocument::operator=(IniDocument&&) noexcept = default;

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument doc;
  size_t current = Impl::kNone;
  ForEachLine(text, [&](std::string_view line) { doc.impl_->ParseLine(line, current); });
  return doc;
}

std::string IniDocument::Serialize() const {
  std::string out;
  for (const Impl::Section& section : impl_->sections) {
    out.append("[").append(section.name).append("]\r\n");
    for (const Impl::Value& value : section.values)
      if (!value.deleted) out.append(value.name).append("=").append(value.text).append("\r\n");
    out.append("\r\n");
  }
  return out;
}

bool IniDocument::HasSection(std::string_view section) const {
  return impl_->Find(section) != nullptr;
}

bool IniDocument::HasValue(std::string_view section, std::string_view name) const {
  return impl_->FindValue(section, name) != nullptr;
}

std::optional<std::string> IniDocument::ReadIfPresent(std::string_view section,
                                                      std::string_view name) const {
  const Impl::Value* value = impl_->FindValue(section, name);
  if (value == nullptr) return std::nullopt;
  return value->text;
}

std::string IniDocument::ReadString(std::string_view section, std::string_view name,
                                    std::string_view fallback) const {
  const Impl::Value* value = impl_->FindValue(section, name);
  return std::string(value ? std::string_view(value->text) : fallback);
}

int32_t IniDocument::ReadInteger(std::string_view section, std::string_view name,
                                 int32_t fallback) const {
  const Impl::Value* value = impl_->FindValue(section, name);
  if (value == nullptr) return fallback;
  return ParseDecimal(value->text).value_or(fallback);
}

bool IniDocument::ReadBool(std::string_view section, std::string_view name, bool fallback) const {
  return ReadInteger(section, name, fallback ? 1 : 0) != 0;
}

void IniDocument::WriteString(std::string_view section, std::string_view name,
                              std::string_view value) {
  Impl::Section& s = impl_->sections[impl_->Obtain(section)];
  std::string canonicalName = CanonicalValueName(name);
  std::string text = CanonicalText(value);
  auto [it, added] = s.index.emplace(AsciiLower(canonicalName), s.values.size());
  if (added)
    s.values.push_back({std::move(canonicalName), std::move(text)});
  else
    s.values[it->second].text = std::move(text);  // in place, keeping the stored name's case
}

void IniDocument::WriteInteger(std::string_view section, std::string_view name, int32_t value) {
  WriteString(section, name, std::to_string(value));
}

void IniDocument::WriteBool(std::string_view section, std::string_view name, bool value) {
  WriteString(section, name, value ? "1" : "0");
}

void IniDocument::DeleteValue(std::string_view section, std::string_view name) {
  auto sectionIt = FindName(impl_->index, section, false);
  if (sectionIt == impl_->index.end()) return;
  Impl::Section& s = impl_->sections[sectionIt->second];
  auto it = FindName(s.index, name, true);
  if (it == s.index.end()) return;
  s.values[it->second].deleted = true;
  s.index.erase(it);
}

std::vector<std::string> IniDocument::SectionNames() const {
  std::vector<std::string> names;
  names.reserve(impl_->sections.size());
  for (const Impl::Section& section : impl_->sections) names.push_back(section.name);
  return names;
}

}  // namespace kv
