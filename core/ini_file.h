// One operation's view of an INI file on disk: opened fresh, read or written, flushed if
// written, then dropped. A document never sees a later flush by another operation.
#pragma once

#include <string>

#include "core/ini_document.h"

namespace kv {
namespace platform {
struct Platform;
}

class IniFile {
 public:
  // Reads the whole file; a missing or empty file gives an empty document.
  IniFile(platform::Platform& platform, std::string path);

  IniDocument& doc() { return doc_; }
  const IniDocument& doc() const { return doc_; }
  const std::string& path() const { return path_; }

  // Rewrites the whole file from the document, replacing it in one step. Throws KeyvaneError
  // naming the file when it cannot be written; the old file is then left as it was.
  void Flush();

 private:
  platform::Platform& platform_;
  std::string path_;
  IniDocument doc_;
};

// The executable's full path with its file name replaced by `fileName`.
std::string BesideExecutable(platform::Platform& platform, std::string_view fileName);
// "Keyvane.ini" beside the executable, built anew on every call.
std::string SettingsPath(platform::Platform& platform);

inline constexpr const char* kSettingsFileName = "Keyvane.ini";

}  // namespace kv
