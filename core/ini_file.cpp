#include "core/ini_file.h"

#include <utility>

#include "core/error.h"
#include "core/text_encoding.h"
#include "platform/platform.h"

namespace kv {

IniFile::IniFile(platform::Platform& platform, std::string path)
    : platform_(platform), path_(std::move(path)) {
  const std::optional<std::string> bytes = platform_.files.ReadAll(path_);
  if (bytes) doc_ = IniDocument::Parse(DecodeFileText(*bytes, platform_.ansi));
}

void IniFile::Flush() {
  const std::string bytes = EncodeFileText(doc_.Serialize(), platform_.ansi);
  try {
    platform_.files.ReplaceAtomically(path_, bytes);
  } catch (const KeyvaneError& e) {
    // The platform's reason may not say which file; the user needs to know.
    throw KeyvaneError("Cannot write \"" + path_ + "\": " + e.what());
  }
}

std::string BesideExecutable(platform::Platform& platform, std::string_view fileName) {
  const std::string exe = platform.system.ModuleFileName();
  const size_t cut = exe.find_last_of("\\/:");
  const size_t folderLength = cut == std::string::npos ? 0 : cut + 1;
  return exe.substr(0, folderLength).append(fileName);
}

std::string SettingsPath(platform::Platform& platform) {
  return BesideExecutable(platform, kSettingsFileName);
}

}  // namespace kv
