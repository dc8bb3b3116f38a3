// One operation's view of an INI file on disk: opened fresh, read or written, flushed if
// written, then dropped. A document never sees a later flush by another operation.
#pragma once

#include <string>

#include "core/file_edge.h"
#include "core/ini_document.h"

namespace kv {

class IniFile {
 public:
  // Reads the whole file; a missing or empty file gives an empty document.
  IniFile(ByteFiles& files, AnsiCodec& ansi, std::string path);

  IniDocument& doc() { return doc_; }
  const IniDocument& doc() const { return doc_; }
  const std::string& path() const { return path_; }

  // Rewrites the whole file from the document, replacing it in one step. Throws KeyvaneError
  // naming the file when it cannot be written; the old file is then left as it was.
  void Flush();

 private:
  ByteFiles& files_;
  AnsiCodec& ansi_;
  std::string path_;
  IniDocument doc_;
};

inline constexpr const char* kSettingsFileName = "Keyvane.ini";

}  // namespace kv
