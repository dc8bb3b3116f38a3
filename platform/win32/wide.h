// UTF-8 (Keyvane's text) <-> UTF-16 (the W functions' text), at the Win32 edge.
#pragma once

#include <string>
#include <string_view>

namespace kv::win32 {

// Text in a code page (CP_ACP, CP_UTF8, ...) as UTF-16; embedded NULs are kept.
std::wstring MultiByteToWide(unsigned codePage, std::string_view text);
// A length for the conversion functions, which count in int; throws std::length_error beyond.
int CheckedTextLength(size_t length);

// Invalid UTF-8 becomes U+FFFD; embedded NULs are kept.
std::wstring Widen(std::string_view utf8);
// Unpaired surrogates become U+FFFD; embedded NULs are kept.
std::string Narrow(std::wstring_view utf16);

// The part before the first NUL (all of it when there is none): for fixed buffers and
// registry data that Windows filled and may or may not have terminated.
std::wstring_view UpToNul(std::wstring_view text);

}  // namespace kv::win32
