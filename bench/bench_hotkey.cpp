// Cost of one hot-key press from WM_HOTKEY to the launch: finding the key, reading its record
// from a settings file in which all 21 keys are set, dispatching, expanding the path and
// starting the program. Process calls are answered at once so that only Keyvane's own work
// is measured.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/form.h"
#include "core/key_table.h"
#include "tests/fakes/fake_platform.h"

namespace {

std::string RunFileSettings() {
  std::string text = "[Keys]\r\nEnabled=1\r\n\r\n[Setting]\r\nRunAtStartup=0\r\nSearchTerm=\r\n\r\n";
  text += "[Theme]\r\nIndexofSelected=1\r\n\r\n";
  for (int i : kv::kSectionOrder) {
    const std::string section(kv::KeyAt(i).section);
    text += "[" + section + "]\r\nLabel=Run " + section + "\r\nAction=10\r\n";
    text += "File=%ProgramFiles%\\Tools\\" + section + "\\run.exe\r\n\r\n";
  }
  return text;
}

// Processes that start and end at once, counting the starts.
class InstantProcesses final : public kv::platform::Processes {
 public:
  kv::platform::FoundExecutable FindAssociated(const std::string&, const std::string&) override {
    return {2, std::string()};
  }
  uintptr_t StartProcess(const std::string& commandLine, int) override {
    lastLength = commandLine.size();
    return ++starts;
  }
  void WaitServingMessages(uintptr_t) override {}
  void CloseProcess(uintptr_t) override {}
  int ShellExec(const std::string&, const std::string&, const std::string&, const std::string&,
                int, bool) override {
    return 42;
  }
  unsigned WinExec(const std::string&, int) override { return 33; }

  uintptr_t starts = 0;
  size_t lastLength = 0;
};

void BM_HotKeyToLaunch(benchmark::State& state) {
  kv::fake::FakePlatform fp;
  fp.env["ProgramFiles"] = "C:\\Program Files";
  fp.files[fp.Beside("Keyvane.ini")] = RunFileSettings();
  InstantProcesses processes;
  kv::platform::Platform bundle{fp, fp, fp, fp, fp, fp, fp, fp, processes, fp, fp, fp, fp, fp};
  kv::TForm1 form(bundle, {});
  form.FormCreate();
  // The last key in key order: the key lookup walks the whole table.
  const uint32_t id = form.hotKeyIds[kv::kKeyCount - 1];
  for (auto _ : state) {
    form.OnHotKey(id);
    benchmark::DoNotOptimize(processes.starts);
  }
  if (processes.starts != static_cast<uintptr_t>(state.iterations()))
    state.SkipWithError("a hot key did not launch its program");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HotKeyToLaunch);

}  // namespace
