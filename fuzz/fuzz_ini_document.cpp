// Arbitrary bytes as a settings file: loading must never fail, and a saved document must load
// back to itself, both as text and through the file encoding; a write of arbitrary text must
// read back the same after a reload.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/ini_document.h"
#include "core/text_encoding.h"
#include "tests/fakes/fake_platform.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

void CheckSavedTextReloads(std::string_view text) {
  const std::string saved = kv::IniDocument::Parse(text).Serialize();
  Check(kv::IniDocument::Parse(saved).Serialize() == saved);
}

void CheckSavedFileReloads(std::string_view bytes, kv::platform::AnsiCodec& ansi) {
  const std::string saved = kv::IniDocument::Parse(kv::DecodeFileText(bytes, ansi)).Serialize();
  const std::string file = kv::EncodeFileText(saved, ansi);
  Check(kv::IniDocument::Parse(kv::DecodeFileText(file, ansi)).Serialize() == saved);
}

// The input split in three at its first two 0x01 bytes: section, name and value to write.
void CheckWriteReloads(std::string_view bytes) {
  const size_t first = bytes.find('\x01');
  const size_t second = bytes.find('\x01', first == std::string_view::npos ? 0 : first + 1);
  if (second == std::string_view::npos) return;
  const std::string_view section = bytes.substr(0, first);
  const std::string_view name = bytes.substr(first + 1, second - first - 1);
  kv::IniDocument doc = kv::IniDocument::Parse("[Keys]\r\nLabel=x\r\n");
  doc.WriteString(section, name, bytes.substr(second + 1));
  const std::string saved = doc.Serialize();
  const kv::IniDocument reloaded = kv::IniDocument::Parse(saved);
  Check(reloaded.Serialize() == saved);
  Check(reloaded.ReadString(section, name, "?") == doc.ReadString(section, name, "!"));
  Check(reloaded.ReadString("Keys", "Label", "?") == doc.ReadString("Keys", "Label", "!"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static kv::fake::FakePlatform platform;  // its codec is Windows-1252
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckSavedTextReloads(bytes);
  CheckSavedFileReloads(bytes, platform);
  CheckWriteReloads(bytes);
  return 0;
}
