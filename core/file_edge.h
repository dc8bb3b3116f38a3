// The two things the bottom layer needs from outside to keep a file: its bytes, and the
// system's ANSI code page. The platform provides both; core never sees more of it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv {

// Whole-file reads and one-step replacement.
class ByteFiles {
 public:
  virtual ~ByteFiles() = default;
  // The whole file as bytes; nullopt when it does not exist. Throws KeyvaneError when it
  // exists but cannot be read: `Cannot read "<path>": <the system's reason>`.
  virtual std::optional<std::string> ReadAll(const std::string& path) = 0;
  // Writes a sibling temporary, flushes it and replaces `path` in one step, keeping the old
  // file's attributes. Throws KeyvaneError (the old file intact, no temporary left) on failure:
  // `Cannot save "<path>": <the system's reason>`, the one sentence the user is shown.
  virtual void ReplaceAtomically(const std::string& path, const std::string& bytes) = 0;
};

// The system's ANSI code page, used at the file edge.
class AnsiCodec {
 public:
  virtual ~AnsiCodec() = default;
  virtual std::string ToUtf8(std::string_view ansi) = 0;
  // nullopt when some character would not survive the round trip.
  virtual std::optional<std::string> FromUtf8(std::string_view utf8) = 0;
};

}  // namespace kv
