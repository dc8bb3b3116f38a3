// How settings and theme files are stored on disk: read in the ANSI code page, or as UTF-8
// or UTF-16LE when they start with that byte-order mark; written in the ANSI code page when
// every character survives, otherwise as UTF-16LE with a byte-order mark.
#pragma once

#include <string>
#include <string_view>

namespace kv {
class AnsiCodec;

std::string DecodeFileText(std::string_view bytes, AnsiCodec& ansi);
std::string EncodeFileText(std::string_view utf8, AnsiCodec& ansi);

// Appends one code point as UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// UTF-8 <-> UTF-16LE bytes; invalid input becomes U+FFFD, never an error.
std::string Utf16LeToUtf8(std::string_view bytes);
std::string Utf8ToUtf16Le(std::string_view utf8);

}  // namespace kv
