// Cost of finding the theme the keys match among many theme files: the worst case, where
// every theme equals the settings except in the last key compared, so each file is read and
// compared in full and none matches.
#include <benchmark/benchmark.h>

#include <string>

#include "app/form.h"
#include "core/key_table.h"
#include "tests/fakes/fake_platform.h"

namespace {

std::string Keys(const std::string& lastTitle) {
  std::string text;
  for (int i : kv::kSectionOrder) {
    const std::string section(kv::KeyAt(i).section);
    const bool last = i == kv::kSectionOrder.back();
    text += "[" + section + "]\r\nAction=10\r\nLabel=" + (last ? lastTitle : "Run " + section) + "\r\n";
    text += "File=C:\\Tools\\" + section + ".exe\r\n\r\n";
  }
  return text;
}

void BM_Check4CurrentTheme(benchmark::State& state) {
  kv::fake::FakePlatform fp;
  fp.files[fp.Beside("Keyvane.ini")] = Keys("Mine");
  for (int64_t n = 0; n < state.range(0); ++n) fp.files[fp.Beside("Theme" + std::to_string(n) + ".kth")] = Keys("Other");
  kv::fake::FakePlatform::HeldMutexes().clear();
  kv::TForm1 form(fp.platform(), {});
  form.FormCreate();
  for (auto _ : state) form.Check4CurrentTheme();
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Check4CurrentTheme)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace
