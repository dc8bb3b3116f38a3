// Synthetic key presses and the clipboard's text.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "platform/platform.h"

namespace kv::win32 {

class Win32Keyboard final : public platform::Keyboard {
 public:
  explicit Win32Keyboard(std::function<HWND()> owner) : owner_(std::move(owner)) {}

  // One SendInput call for all the events.
  size_t SendKeys(const std::vector<platform::KeyStroke>& strokes) override;
  int16_t KeyScan(char c) override;
  // Tries for about half a second while another program holds the clipboard open.
  bool SetClipboardText(const std::string& text) override;

 private:
  std::function<HWND()> owner_;
};

}  // namespace kv::win32
