#include "platform/win32/services/win32_ansi.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

#include "platform/win32/wide.h"

namespace kv::win32 {

std::wstring AnsiToWide(std::string_view ansi) { return MultiByteToWide(CP_ACP, ansi); }

std::optional<std::string> WideToAnsi(std::wstring_view text) {
  if (text.empty()) return std::string();
  const int inLength = CheckedTextLength(text.size());
  // When the ANSI code page is UTF-8 (a Windows 10 option) Windows refuses both the flag
  // and the "used default" question; the round trip below still catches what is lost.
  const bool utf8Acp = ::GetACP() == CP_UTF8;
  const DWORD flags = utf8Acp ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultOut = utf8Acp ? nullptr : &usedDefault;
  const int needed = ::WideCharToMultiByte(CP_ACP, flags, text.data(), inLength, nullptr, 0,
                                           nullptr, usedDefaultOut);
  if (needed <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<size_t>(needed), '\0');
  const int written = ::WideCharToMultiByte(CP_ACP, flags, text.data(), inLength, out.data(),
                                            needed, nullptr, usedDefaultOut);
  if (written <= 0 || usedDefault) return std::nullopt;
  out.resize(static_cast<size_t>(written));
  // Some code pages map several characters to one byte without calling it a default;
  // only what reads back the same is kept.
  if (AnsiToWide(out) != text) return std::nullopt;
  return out;
}

std::string Win32Ansi::ToUtf8(std::string_view ansi) { return Narrow(AnsiToWide(ansi)); }

std::optional<std::string> Win32Ansi::FromUtf8(std::string_view utf8) {
  // Malformed UTF-8 has no characters to keep; widening would invent U+FFFD for it.
  if (!utf8.empty() && ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                             CheckedTextLength(utf8.size()), nullptr, 0) <= 0) {
    return std::nullopt;
  }
  return WideToAnsi(Widen(utf8));
}

}  // namespace kv::win32
