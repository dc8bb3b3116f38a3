// The dispatcher: what a key's action code does.
#include "actions/catalogue.h"
#include "actions/exec.h"
#include "actions/power.h"
#include "app/form.h"

namespace kv {

namespace {

constexpr const char* kControlPanel = "rundll32.exe shell32.dll,Control_RunDLL ";
// Windows Vista replaced the User Accounts page nusrmgr.cpl; its successor is opened by name.
constexpr const char* kUserAccountsByName = "control.exe /name Microsoft.UserAccounts";

// The control-panel page a code opens; nullptr for other codes. `newerNt` is a Windows after
// Vista, whose network connections are ncpa.cpl as on XP and Vista (netcpl.cpl was Windows 9x's).
const char* ControlPanelPage(int code, OsKind osKind, bool newerNt) {
  using enum ActionCode;
  switch (ActionCode{code}) {
    case AddRemovePrograms: return "appwiz.cpl";
    case NetworkConnections: return osKind.IsXpOrVista() || newerNt ? "ncpa.cpl" : "netcpl.cpl";
    case SystemProperties: return "sysdm.cpl";
    case DisplayProperties: return "desk.cpl,,2";
    case InternetProperties: return "inetcpl.cpl";
    case UserAccounts: return "nusrmgr.cpl @1";
    case PowerOptions: return "powercfg.cpl,,2";
    default: return nullptr;
  }
}

}  // namespace

std::string ControlPanelCommand(int code, OsKind osKind, const platform::OsVersion& version) {
  // Kind 0 also stands for a failed report and an unknown Windows 9x, which keep the old pages:
  // only the reported version says that this is a Windows after Vista.
  const bool newerNt = osKind == 0 && IsNtAfterVista(version);
  if (newerNt && ActionCode{code} == ActionCode::UserAccounts) return kUserAccountsByName;
  const char* page = ControlPanelPage(code, osKind, newerNt);
  return page ? std::string(kControlPanel) + page : std::string();
}

void TForm1::RunAction(int code, const std::string& data) {
  if (const std::string command = ControlPanelCommand(code, osKind, osVersion); !command.empty()) {
    Exec(platform, command, platform::kSwShow);
    return;
  }
  using enum ActionCode;
  switch (ActionCode{code}) {
    case RunFile: this->RunFile(data); break;
    case Explorer: OpenExplorer(data); break;
    case Browser: OpenBrowser(data); break;
    case Email: OpenEmail(); break;
    case Sleep: Suspend(false); break;
    case Hibernate: Suspend(true); break;
    case LogOff: MyExitWindows(platform, kExitLogOff); break;
    case Reboot: MyExitWindows(platform, kExitReboot); break;
    case ShutDown: MyExitWindows(platform, kExitShutdown | ShutdownPowerOff()); break;
    case ShutDownHung: MyExitWindows(platform, kExitShutdown | kExitForceIfHung | ShutdownPowerOff()); break;
    case Freecell: case Hearts: case Minesweeper: case Solitaire: case SpiderSolitaire:
      LaunchGame(code);
      break;
    case TwoKeyCombo: SendTwoKeyCombo(data); break;
    case ThreeKeyCombo: SendThreeKeyCombo(data); break;
    case PasteText: this->PasteText(data); break;
    case PasteFile: PasteFileContents(data); break;
    case SearchTerm: AskSearchTerm(); break;
    case LoadNextTheme: this->LoadNextTheme(); break;
    case DisableEnableKeys: StartMonitor(!KeysOn(), true); break;
    case ShowMenu: ShowKvnMenu(); break;
    default:
      // Separators, "- Select One -", "Remove Action" and codes outside the catalogue.
      break;
  }
}

// Windows after Vista suspend only a program that has the shutdown privilege enabled.
void TForm1::Suspend(bool hibernate) {
  if (NewerNt()) platform.power.EnableShutdownPrivilege();
  suspendState(platform, hibernate, false, false);
}

// A plain shutdown stops Windows where the power may be switched off; Windows after Vista switch
// it off only when asked to.
unsigned TForm1::ShutdownPowerOff() const { return NewerNt() ? kExitPowerOff : 0u; }

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
