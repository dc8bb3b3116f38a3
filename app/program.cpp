#include "app/program.h"

#include <exception>

#include "app/form.h"
#include "app/settings_file.h"
#include "ui/control.h"

namespace kv {

int RunProgram(platform::Platform& platform, std::vector<std::string> args, MainWindowHost& host) {
  if (!platform.system.AcquireSingleInstance(kMutexName)) return 0;
  RemoveStaleSaveTemporaries(platform);

  platform.app.SetTitle(kProductName);
  int exitCode = 0;
  {
    TForm1 form(platform, std::move(args));
    ui::SetUnhandledErrorSink([&form](const std::exception& e) { form.ShowUnhandledError(e); });
    host.Create(form);
    try {
      form.FormCreate();
    } catch (const std::exception& e) {
      // A settings or shortcut file that cannot be read or written ends the creation
      // handler's remaining steps; the program goes on running.
      form.ShowUnhandledError(e);
    }
    host.Show();
    form.FormShow();
    exitCode = host.RunMessageLoop();
    // The mutex is held until the settings are saved and the keys released, so that a copy
    // started meanwhile cannot find its keys taken and its settings overwritten.
    form.FormDestroy();
    host.Destroy();
    ui::SetUnhandledErrorSink(nullptr);
    platform.system.ReleaseSingleInstance();
  }
  return exitCode;
}

}  // namespace kv
