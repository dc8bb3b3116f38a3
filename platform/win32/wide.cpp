#include "platform/win32/wide.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

namespace kv::win32 {

namespace {

// The conversion functions count in int; Keyvane's texts are far below that, but a
// silent wrap would turn a huge string into garbage, so refuse instead.
int CheckedLength(size_t length) {
  if (length > static_cast<size_t>(INT_MAX)) throw std::length_error("text too long to convert");
  return static_cast<int>(length);
}

}  // namespace

int CheckedTextLength(size_t length) { return CheckedLength(length); }

std::wstring MultiByteToWide(unsigned codePage, std::string_view text) {
  if (text.empty()) return {};
  const int inLength = CheckedLength(text.size());
  const int needed = ::MultiByteToWideChar(codePage, 0, text.data(), inLength, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring out(static_cast<size_t>(needed), L'\0');
  const int written = ::MultiByteToWideChar(codePage, 0, text.data(), inLength, out.data(), needed);
  out.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return out;
}

std::wstring Widen(std::string_view utf8) { return MultiByteToWide(CP_UTF8, utf8); }

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int inLength = CheckedLength(utf16.size());
  const int needed =
      ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), inLength, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string out(static_cast<size_t>(needed), '\0');
  const int written = ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), inLength, out.data(), needed,
                                            nullptr, nullptr);
  out.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return out;
}

std::wstring_view UpToNul(std::wstring_view text) {
  const size_t nul = text.find(L'\0');
  return nul == std::wstring_view::npos ? text : text.substr(0, nul);
}

}  // namespace kv::win32
