// Shell links through IShellLinkW and IPersistFile.
#pragma once

#include "platform/platform.h"

namespace kv::win32 {

class Win32Shortcuts final : public platform::Shortcuts {
 public:
  void Write(const std::string& path, const platform::ShortcutInfo& info) override;
  platform::ShortcutInfo Read(const std::string& path) override;
};

}  // namespace kv::win32
