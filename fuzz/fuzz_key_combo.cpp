// Arbitrary text as a stored key combination: reading it either refuses it or gives the
// modifiers its digits name and the key its name names; sending it presses nothing when it is
// refused and always lets up every key it pressed; a combination written from digits and a key
// name reads back as those.
#include <cstddef>
#include <cstdint>
#include <string>

#include "actions/key_combo.h"
#include "app/form.h"
#include "core/error.h"
#include "fuzz/fuzz_support.h"

namespace {

using kv::fuzz::Check;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "Tab", "Delete", else the first character's code (0 for no name).
uint8_t NamedKey(const std::string& name) {
  if (name == "Tab") return 0x09;
  if (name == "Delete") return 0x2E;
  return name.empty() ? 0 : static_cast<uint8_t>(name[0]);
}

void CheckRead(const std::string& text, int count) {
  bool valid = text.size() >= static_cast<size_t>(count);
  for (int i = 0; valid && i < count; ++i) valid = IsDigit(text[static_cast<size_t>(i)]);
  try {
    const kv::KeyCombo combo = kv::ParseKeyCombo(text, count);
    Check(valid);
    for (int i = 0; i < count; ++i)
      Check(combo.modifiers[static_cast<size_t>(i)] == kv::ModifierKey(text[static_cast<size_t>(i)] - '0'));
    Check(combo.key == NamedKey(text.substr(static_cast<size_t>(count))));
  } catch (const kv::KeyvaneError&) {
    Check(!valid);
  }
}

void CheckSent(kv::TForm1& form, kv::fake::FakePlatform& fp, const std::string& text, int count) {
  fp.keyEvents.clear();
  try {
    if (count == 1)
      form.SendTwoKeyCombo(text);
    else
      form.SendThreeKeyCombo(text);
  } catch (const kv::KeyvaneError&) {
    Check(fp.keyEvents.empty());
  }
  int held = 0;
  for (const std::string& event : fp.keyEvents) {
    held += event.starts_with("down") ? 1 : -1;
    Check(held >= 0);
  }
  Check(held == 0);
}

void CheckWrittenReadsBack(const std::string& text) {
  if (text.size() < 2 || !IsDigit(text[0]) || !IsDigit(text[1])) return;
  const std::array<int, 2> digits{text[0] - '0', text[1] - '0'};
  const std::string name = text.substr(2);
  for (int count = 1; count <= 2; ++count) {
    const kv::KeyCombo combo = kv::ParseKeyCombo(kv::FormatKeyCombo(digits, count, name), count);
    for (int i = 0; i < count; ++i)
      Check(combo.modifiers[static_cast<size_t>(i)] == kv::ModifierKey(digits[static_cast<size_t>(i)]));
    Check(combo.key == NamedKey(name));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static kv::fake::FakePlatform fp;
  static kv::TForm1 form(fp.platform(), {});  // built once: sending needs only its platform
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (int count = 1; count <= 2; ++count) {
    CheckRead(text, count);
    CheckSent(form, fp, text, count);
  }
  CheckWrittenReadsBack(text);
  kv::fuzz::ForgetRecords(fp);
  return 0;
}
