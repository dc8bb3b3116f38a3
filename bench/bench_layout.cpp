// Cost of drawing the key layout, which runs on every key selection, and of the main window's
// start-up as a whole, with every one of the 21 keys set.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/form.h"
#include "core/key_table.h"
#include "tests/fakes/fake_platform.h"

namespace {

std::string FullSettingsText() {
  std::string text = "[Keys]\r\nEnabled=1\r\n\r\n[Setting]\r\nRunAtStartup=0\r\nSearchTerm=\r\n\r\n";
  text += "[Theme]\r\nIndexofSelected=1\r\n\r\n";
  for (int i : kv::kSectionOrder) {
    const std::string section(kv::KeyAt(i).section);
    text += "[" + section + "]\r\nLabel=Run " + section + "\r\nAction=10\r\n";
    text += "File=C:\\Program Files\\Tools\\" + section + "\\run.exe\r\n\r\n";
  }
  return text;
}

void PrepareFiles(kv::fake::FakePlatform& fp) {
  fp.files[fp.Beside("Keyvane.ini")] = FullSettingsText();
  fp.files[fp.Beside("Quick Start.kth")] = FullSettingsText();
  fp.files[fp.Beside("Games.kth")] = FullSettingsText();
}

void BM_SetupButtonsAllKeysSet(benchmark::State& state) {
  kv::fake::FakePlatform fp;
  PrepareFiles(fp);
  kv::TForm1 form(fp.platform(), {});
  form.FormCreate();
  for (auto _ : state) {
    form.SetupButtons();
    benchmark::DoNotOptimize(form.keys[0].title->caption().data());
  }
}
BENCHMARK(BM_SetupButtonsAllKeysSet);

// The creation handler alone, on a freshly built window each time.
void BM_FormCreate(benchmark::State& state) {
  kv::fake::FakePlatform fp;
  PrepareFiles(fp);
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<kv::TForm1>(fp.platform(), std::vector<std::string>{});
    fp.hotKeyLog.clear();
    fp.log.clear();
    fp.registeredHotKeys.clear();
    state.ResumeTiming();
    form->FormCreate();
    state.PauseTiming();
    form.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FormCreate);

// Building the window's controls and running its creation handler.
void BM_BuildAndCreateWindow(benchmark::State& state) {
  kv::fake::FakePlatform fp;
  PrepareFiles(fp);
  for (auto _ : state) {
    kv::TForm1 form(fp.platform(), {});
    form.FormCreate();
    benchmark::DoNotOptimize(form.osKind);
    state.PauseTiming();
    fp.hotKeyLog.clear();
    fp.log.clear();
    fp.registeredHotKeys.clear();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BuildAndCreateWindow);

}  // namespace
