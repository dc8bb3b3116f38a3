#include "platform/win32/services/win32_keyboard.h"

#include <cstring>

#include "platform/win32/wide.h"

namespace kv::win32 {

size_t Win32Keyboard::SendKeys(const std::vector<platform::KeyStroke>& strokes) {
  if (strokes.empty()) return 0;
  // The fields keybd_event would fill: no time stamp, no extra information.
  std::vector<INPUT> inputs(strokes.size());
  for (size_t i = 0; i < strokes.size(); ++i) {
    inputs[i].type = INPUT_KEYBOARD;
    inputs[i].ki.wVk = strokes[i].virtualKey;
    inputs[i].ki.wScan = strokes[i].scanCode;
    inputs[i].ki.dwFlags = strokes[i].keyUp ? KEYEVENTF_KEYUP : 0;
  }
  return ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), static_cast<int>(sizeof(INPUT)));
}

int16_t Win32Keyboard::KeyScan(char c) { return ::VkKeyScanA(c); }

bool Win32Keyboard::SetClipboardText(const std::string& text) {
  bool opened = false;
  for (int attempt = 0; attempt < 25 && !opened; ++attempt) {
    opened = ::OpenClipboard(owner_ ? owner_() : nullptr) != 0;
    if (!opened) ::Sleep(20);
  }
  if (!opened) return false;
  ::EmptyClipboard();
  const std::wstring wide = Widen(text);
  const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  bool placed = false;
  if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    if (void* target = ::GlobalLock(memory)) {
      std::memcpy(target, wide.c_str(), bytes);
      ::GlobalUnlock(memory);
      // Unicode text: Windows makes the ANSI form for programs that ask for it.
      placed = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    if (!placed) ::GlobalFree(memory);
  }
  ::CloseClipboard();
  return placed;
}

}  // namespace kv::win32
