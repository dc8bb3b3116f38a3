// An INI document held in memory: Keyvane's settings and theme files. Section and value
// names match without regard to letter case; sections and values keep document order.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kv {

class IniDocument {
 public:
  IniDocument();
  ~IniDocument();
  IniDocument(IniDocument&&) noexcept;
  IniDocument& operator=(IniDocument&&) noexcept;
  IniDocument(const IniDocument&) = delete;
  IniDocument& operator=(const IniDocument&) = delete;

  // Reads UTF-8 text. Every line is trimmed of blanks; empty lines and lines starting with ";"
  // are skipped; "[name]" opens a section (blanks inside the brackets trimmed); value lines
  // before the first section are ignored; blanks around the first "=" are dropped. Never
  // fails, in time linear in the text's size.
  static IniDocument Parse(std::string_view text);
  // For each section in order: "[name]", its "name=value" lines, then one empty line;
  // lines end in CR LF.
  std::string Serialize() const;

  bool HasSection(std::string_view section) const;
  bool HasValue(std::string_view section, std::string_view name) const;

  std::string ReadString(std::string_view section, std::string_view name,
                         std::string_view fallback) const;
  // The value, or nothing when it is absent.
  std::optional<std::string> ReadIfPresent(std::string_view section, std::string_view name) const;
  // The fallback when absent or not a decimal integer.
  int32_t ReadInteger(std::string_view section, std::string_view name, int32_t fallback) const;
  // True when the stored integer is not 0.
  bool ReadBool(std::string_view section, std::string_view name, bool fallback) const;

  // A new section goes at the end, a new value at the end of its section; an existing value is
  // replaced in place.
  void WriteString(std::string_view section, std::string_view name, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view name, int32_t value);
  void WriteBool(std::string_view section, std::string_view name, bool value);
  // Removes the value; the section stays, even when it becomes empty.
  void DeleteValue(std::string_view section, std::string_view name);

  std::vector<std::string> SectionNames() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kv
