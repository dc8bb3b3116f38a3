#include "core/ini_file.h"

#include <utility>

#include "core/text_encoding.h"

namespace kv {

IniFile::IniFile(ByteFiles& files, AnsiCodec& ansi, std::string path)
    : files_(files), ansi_(ansi), path_(std::move(path)) {
  const std::optional<std::string> bytes = files_.ReadAll(path_);
  if (bytes) doc_ = IniDocument::Parse(DecodeFileText(*bytes, ansi_));
}

void IniFile::Flush() {
  files_.ReplaceAtomically(path_, EncodeFileText(doc_.Serialize(), ansi_));
}

}  // namespace kv
