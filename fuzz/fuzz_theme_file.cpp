// Arbitrary bytes as a theme file: loading it, matching the keys against it and printing it
// must never fail, and whatever loads must be what the settings file then holds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/form.h"
#include "app/settings_file.h"
#include "core/key_record.h"
#include "tests/fakes/fake_platform.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kv::fake::FakePlatform fp;
  const std::string themeFile = fp.Beside("Odd.kth");
  fp.files[themeFile] = std::string(reinterpret_cast<const char*>(data), size);
  kv::fake::FakePlatform::HeldMutexes().clear();
  kv::TForm1 form(fp.platform(), {});
  form.FormCreate();
  form.LoadTheme("Odd");
  form.Check4CurrentTheme();
  form.ComboBox3->SetItemIndex(0);
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
  return 0;
}
