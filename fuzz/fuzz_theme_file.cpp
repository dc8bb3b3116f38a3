// Arbitrary bytes as a theme file: loading it, matching the keys against it and printing it
// must never fail, and whatever loads must be what the settings file then holds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/form.h"
#include "app/settings_file.h"
#include "core/key_record.h"
#include "core/error.h"
#include "fuzz/fuzz_support.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One form, created once as at start-up: a theme load replaces every key's record, so what
  // an input leaves behind is what the next load overwrites. Building the form per input made
  // this harness run a few inputs a second.
  static kv::fake::FakePlatform fp;
  static const std::string themeFile = fp.Beside("Odd.kth");
  static kv::TForm1& form = [&]() -> kv::TForm1& {
    kv::fake::FakePlatform::HeldMutexes().clear();
    fp.files[themeFile] = "";  // listed from the start, as the form lists it at creation
    static kv::TForm1 created(fp.platform(), {});
    created.FormCreate();
    return created;
  }();
  fp.files[themeFile] = std::string(reinterpret_cast<const char*>(data), size);
  form.LoadTheme("Odd");
  form.Check4CurrentTheme();
  form.ComboBox3->SetItemIndex(0);
  fp.printed.clear();
  form.Button6Click();
  Check(fp.printed.size() == 1 && fp.printed[0].lines.size() == 31);

  const kv::IniFile theme = kv::OpenIniFile(fp.platform(), themeFile);
  const kv::IniFile settings = kv::OpenSettings(fp.platform());
  for (const kv::KeyInfo& key : kv::kKeys) {
    const kv::KeyRecord loaded = kv::KeyRecord::Read(settings.doc(), key.section);
    const kv::KeyRecord given = kv::KeyRecord::Read(theme.doc(), key.section);
    Check(loaded.action == given.action);
    if (given.action != 0) Check(loaded.LabelOr("") == given.LabelOr("") && loaded.FileOr("") == given.FileOr(""));
  }
  // Selecting a key (one per input, by its size) reads its stored combination into the
  // editor: a malformed one is refused as an error, never read past its end.
  try {
    form.ClickKey(std::string(kv::kKeys[size % kv::kKeys.size()].section));
  } catch (const kv::KeyvaneError&) {
  }
  kv::fuzz::ForgetRecords(fp);
  return 0;
}
