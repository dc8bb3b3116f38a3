// How settings and theme files are stored on disk: read as UTF-8 or UTF-16LE when they start
// with that byte-order mark, as UTF-8 without one when the bytes are well-formed UTF-8 with at
// least one multi-byte character (as Notepad saves), otherwise in the ANSI code page; written
// in the ANSI code page when every character survives and the bytes read back the same way,
// otherwise as UTF-16LE with a byte-order mark.
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
