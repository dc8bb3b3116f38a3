// Cost of the settings file on the paths the user waits for: every operation opens the file
// afresh, so a full open and read of the 21 keys should stay far below a frame.
#include <benchmark/benchmark.h>

#include <string>

#include "core/ini_document.h"
#include "app/settings_file.h"
#include "core/key_table.h"
#include "tests/fakes/fake_platform.h"

namespace {

std::string FullSettingsText() {
  std::string text;
  for (int i : kv::kSectionOrder) {
    const std::string section(kv::KeyAt(i).section);
    text += "[" + section + "]\r\nLabel=Launch " + section + "\r\nAction=1\r\n";
    text += "File=C:\\Program Files\\Tools\\" + section + "\\run.exe\r\n\r\n";
  }
  text += "[Keys]\r\nCount=21\r\n\r\n";
  text += "[Setting]\r\nMinimize=1\r\nBalloon=1\r\nStartup=0\r\n\r\n";
  text += "[Theme]\r\nName=Default\r\n\r\n";
  return text;
}

void BM_OpenAndReadAllLabels(benchmark::State& state) {
  kv::fake::FakePlatform fp;
  fp.files[fp.Beside("Keyvane.ini")] = FullSettingsText();
  for (auto _ : state) {
    kv::IniFile file = kv::OpenSettings(fp.platform());
    for (const kv::KeyInfo& key : kv::kKeys)
      benchmark::DoNotOptimize(file.doc().ReadString(key.section, "Label", ""));
  }
}
BENCHMARK(BM_OpenAndReadAllLabels);

void BM_ParseAndSerialize(benchmark::State& state) {
  const std::string text = FullSettingsText();
  for (auto _ : state) benchmark::DoNotOptimize(kv::IniDocument::Parse(text).Serialize());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseAndSerialize);

}  // namespace
