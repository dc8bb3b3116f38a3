// The system's ANSI code page, where settings and theme files meet the disk.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace kv::win32 {

// ANSI (CP_ACP) bytes -> UTF-16; bytes with no character become what Windows maps them to.
std::wstring AnsiToWide(std::string_view ansi);
// UTF-16 -> ANSI bytes, or nullopt when a character has no exact ANSI form (no "best fit"
// look-alikes: a file must read back as exactly what was written).
std::optional<std::string> WideToAnsi(std::wstring_view text);

class Win32Ansi final : public platform::AnsiCodec {
 public:
  std::string ToUtf8(std::string_view ansi) override;
  std::optional<std::string> FromUtf8(std::string_view utf8) override;
};

}  // namespace kv::win32
