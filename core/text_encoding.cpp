#include "core/text_encoding.h"

#include <optional>

#include "core/file_edge.h"

namespace kv {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }


void AppendUnit(std::string& out, char32_t unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>(unit >> 8);
}

void AppendUtf16Le(std::string& out, char32_t c) {
  if (c < 0x10000) {
    AppendUnit(out, c);
  } else {
    c -= 0x10000;
    AppendUnit(out, 0xD800 + (c >> 10));
    AppendUnit(out, 0xDC00 + (c & 0x3FF));
  }
}

// Decodes the character at `pos` and moves past it. An ill-formed sequence (overlong form,
// surrogate, beyond U+10FFFF, cut short) gives U+FFFD and is skipped up to the first byte that
// cannot continue it, at least one byte, so no byte is ever read twice or past the end.
char32_t NextUtf8(std::string_view s, size_t& pos) {
  const auto byteAt = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byteAt(pos++);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t c = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the next byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1, c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, c = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, c = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
  } else {
    return kReplacement;
  }
  for (int k = 0; k < extra; ++k) {
    if (pos >= s.size() || byteAt(pos) < low || byteAt(pos) > high) return kReplacement;
    c = (c << 6) | (byteAt(pos++) & 0x3F);
    low = 0x80, high = 0xBF;
  }
  return c;
}

std::string ValidUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t pos = 0; pos < utf8.size();) AppendUtf8(out, NextUtf8(utf8, pos));
  return out;
}

// True when the bytes are well-formed UTF-8 and hold at least one multi-byte character: what
// a Unicode editor saves without a byte-order mark. Pure ASCII is left to the code page.
bool IsUtf8WithoutMark(std::string_view bytes) {
  bool multibyte = false;
  for (size_t pos = 0; pos < bytes.size();) {
    const size_t start = pos;
    if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
      ++pos;
      continue;
    }
    const char32_t c = NextUtf8(bytes, pos);
    if (c == kReplacement && bytes.substr(start, pos - start) != "\xEF\xBF\xBD") return false;
    multibyte = true;
  }
  return multibyte;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string DecodeFileText(std::string_view bytes, AnsiCodec& ansi) {
  if (bytes.starts_with(kUtf8Bom)) return ValidUtf8(bytes.substr(kUtf8Bom.size()));
  if (bytes.starts_with(kUtf16LeBom)) return Utf16LeToUtf8(bytes.substr(kUtf16LeBom.size()));
  if (IsUtf8WithoutMark(bytes)) return std::string(bytes);
  return ansi.ToUtf8(bytes);
}

std::string EncodeFileText(std::string_view utf8, AnsiCodec& ansi) {
  const std::string text = ValidUtf8(utf8);
  std::optional<std::string> bytes = ansi.FromUtf8(text);
  // ANSI bytes that happen to begin like a byte-order mark, or that happen to be UTF-8 with a
  // multi-byte character ("Ã©" in Windows-1252), would be read back as Unicode.
  const bool readsBack = bytes && !bytes->starts_with(kUtf8Bom) && !bytes->starts_with(kUtf16LeBom) &&
                         !IsUtf8WithoutMark(*bytes);
  if (readsBack) return std::move(*bytes);
  return std::string(kUtf16LeBom) + Utf8ToUtf16Le(text);
}

std::string Utf16LeToUtf8(std::string_view bytes) {
  const auto unitAt = [&](size_t i) -> char32_t {
    const auto low = static_cast<unsigned char>(bytes[2 * i]);
    const auto high = static_cast<unsigned char>(bytes[2 * i + 1]);
    return static_cast<char32_t>(high << 8 | low);
  };
  const size_t units = bytes.size() / 2;
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  for (size_t i = 0; i < units; ++i) {
    char32_t c = unitAt(i);
    if (IsHighSurrogate(c) && i + 1 < units && IsLowSurrogate(unitAt(i + 1)))
      c = 0x10000 + ((c - 0xD800) << 10) + (unitAt(++i) - 0xDC00);
    else if (IsHighSurrogate(c) || IsLowSurrogate(c))
      c = kReplacement;
    AppendUtf8(out, c);
  }
  if (bytes.size() % 2 != 0) AppendUtf8(out, kReplacement);  // half a unit at the end
  return out;
}

std::string Utf8ToUtf16Le(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() * 2);
  for (size_t pos = 0; pos < utf8.size();) AppendUtf16Le(out, NextUtf8(utf8, pos));
  return out;
}

}  // namespace kv
