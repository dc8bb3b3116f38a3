// Settings and theme files on disk: whole-file reads, replacement in one step, listing.
#pragma once

#include <windows.h>

#include <string>

#include "platform/platform.h"

namespace kv::win32 {

class Win32Files final : public platform::FileSystem {
 public:
  std::optional<std::string> ReadAll(const std::string& path) override;
  // A read-only file is refused (KeyvaneError, file untouched) rather than replaced: the
  // user or an administrator made it so to keep it as it is.
  void ReplaceAtomically(const std::string& path, const std::string& bytes) override;
  bool Exists(const std::string& path) override;
  bool Delete(const std::string& path) override;
  std::vector<std::string> List(const std::string& folder, const std::string& pattern) override;
  unsigned DriveType(const std::string& root) override;
  bool SameFileName(std::string_view a, std::string_view b) override;
  std::optional<std::string> FindOnSearchPath(const std::string& fileName) override;
};

// The folder part of a path, without its final separator ("" when there is none).
std::wstring FolderOf(const std::wstring& path);

}  // namespace kv::win32
