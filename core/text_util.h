// Small text helpers shared across Keyvane.
#pragma once

#include <string>
#include <string_view>

namespace kv {

// ASCII letters a-z turned into capitals; other characters unchanged.
std::string UpperAscii(std::string_view text);
std::string LowerAscii(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
// The part of a path after its last backslash or colon.
std::string_view FileNamePart(std::string_view path);
// Every occurrence of `what`, in any letter case, replaced by `with`.
std::string ReplaceAllIgnoringCase(const std::string& text, const std::string& what,
                                   const std::string& with);
// A path's file name up to (not including) its first ".".
std::string ExtractFileNameWOExt(std::string_view path);

}  // namespace kv
