#include "core/ini_file.h"

#include <utility>

#include "core/error.h"
#include "core/text_encoding.h"

namespace kv {

IniFile::IniFile(ByteFiles& files, AnsiCodec& ansi, std::string path)
    : files_(files), ansi_(ansi), path_(std::move(path)) {
  const std::optional<std::string> bytes = files_.ReadAll(path_);
  if (bytes) doc_ = IniDocument::Parse(DecodeFileText(*bytes, ansi_));
}

void IniFile::Flush() {
  const std::string bytes = EncodeFileText(doc_.Serialize(), ansi_);
  try {
    files_.ReplaceAtomically(path_, bytes);
  } catch (const KeyvaneError& e) {
    // The platform's reason may not say which file; the user needs to know.
    throw KeyvaneError("Cannot write \"" + path_ + "\": " + e.what());
  }
}

}  // namespace kv
