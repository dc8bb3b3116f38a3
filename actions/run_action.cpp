// The dispatcher: what a key's action code does.
#include "actions/catalogue.h"
#include "actions/exec.h"
#include "actions/power.h"
#include "app/form.h"

namespace kv {

namespace {

constexpr const char* kControlPanel = "rundll32.exe shell32.dll,Control_RunDLL ";

// The control-panel page a code opens; nullptr for other codes.
const char* ControlPanelPage(int code, int osKind) {
  switch (code) {
    case 2: return "appwiz.cpl";
    case 3: return osKind == 6 || osKind == 8 ? "ncpa.cpl" : "netcpl.cpl";
    case 4: return "sysdm.cpl";
    case 5: return "desk.cpl,,2";
    case 6: return "inetcpl.cpl";
    case 7: return "nusrmgr.cpl @1";
    case 8: return "powercfg.cpl,,2";
    default: return nullptr;
  }
}

}  // namespace

std::string ControlPanelCommand(int code, int osKind) {
  const char* page = ControlPanelPage(code, osKind);
  return page ? std::string(kControlPanel) + page : std::string();
}

void TForm1::RunAction(int code, const std::string& data) {
  if (const std::string command = ControlPanelCommand(code, osKind); !command.empty()) {
    Exec(platform, command, platform::kSwShow);
    return;
  }
  switch (code) {
    case action::kRunFile: RunFile(data); break;
    case action::kExplorer: OpenExplorer(data); break;
    case action::kBrowser: OpenBrowser(data); break;
    case 13: OpenEmail(); break;
    case 15: suspendState(platform, false, false, false); break;
    case 16: suspendState(platform, true, false, false); break;
    case 17: MyExitWindows(platform, kExitLogOff); break;
    case 18: MyExitWindows(platform, kExitReboot); break;
    case 19: MyExitWindows(platform, kExitShutdown); break;
    case 20: MyExitWindows(platform, kExitShutdown | kExitForceIfHung); break;
    case 22: case 23: case 24: case 25: case 26: LaunchGame(code); break;
    case action::kTwoKeyCombo: SendTwoKeyCombo(data); break;
    case action::kThreeKeyCombo: SendThreeKeyCombo(data); break;
    case action::kPasteText: PasteText(data); break;
    case action::kPasteFile: PasteFileContents(data); break;
    case action::kSearchTerm: AskSearchTerm(); break;
    case action::kLoadNextTheme: LoadNextTheme(); break;
    case action::kDisableEnableKeys: StartMonitor(!KeysOn(), true); break;
    case action::kShowMenu: ShowKvnMenu(); break;
    default:
      // Separators, "- Select One -", "Remove Action" and codes outside the catalogue.
      break;
  }
}

void TForm1::ShowKvnMenu() {
  menuToggle = !menuToggle;
  if (!menuToggle) {
    const auto [width, height] = platform.app.ScreenSize();
    platform.app.ShowTrayMenuAt(width, height);
  } else {
    platform.app.PostClickToMainWindow();
  }
}

}  // namespace kv
