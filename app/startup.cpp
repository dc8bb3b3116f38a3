// Start-up: the window's creation, the settings load and save, and the quiet start from the
// Startup folder.
#include <exception>

#include "app/form.h"
#include "app/settings_file.h"
#include "actions/file_redirection.h"

namespace kv {

namespace {

constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

}  // namespace

std::string CheckPath(const std::string& path) {
  if (!path.empty() && path.back() != '\\') return path + '\\';
  return path;
}

int ClassifyOsVersion(const platform::OsVersion& v) {
  if (!v.ok) return -1;
  if (v.platformId == platform::kPlatformWin32Windows) {
    if (v.major == 4 && v.minor == 0) return 0;
    if (v.major == 4 && v.minor == 10)
      return v.servicePack.size() > 1 && v.servicePack[1] == 'A' ? 2 : 1;
    if (v.major == 4 && v.minor == 90) return 3;
    return -1;
  }
  if (v.platformId == platform::kPlatformWin32Nt) {
    if (v.major <= 4) return 4;
    if (v.major == 5 && v.minor == 0) return 5;
    if (v.major == 5 && v.minor == 1) return 6;
    if (v.major == 5 && v.minor == 2) return 7;
    if (v.major == 6 && v.minor == 0) return 8;
  }
  return -1;
}

bool IsNtAfterVista(const platform::OsVersion& v) {
  return v.ok && v.platformId == platform::kPlatformWin32Nt &&
         (v.major > 6 || (v.major == 6 && v.minor >= 1));
}

bool TForm1::NewerNt() const { return osKind == 0 && IsNtAfterVista(osVersion); }

int OsKindFromInfo(int osInfo) {
  switch (osInfo) {
    case 0: return 1;
    case 1:
    case 2: return 2;
    case 3: return 3;
    case 4: case 5: case 6: case 7: case 8: return osInfo;
    default: return 0;
  }
}

int TForm1::GetOSInfo() { return ClassifyOsVersion(platform.system.Version()); }

void TForm1::FormCreate() {
  closeToTray = true;
  menuToggle = true;
  platform.tray.SetImageIndex(1);
  platform.tray.SetVisible(true);
  is64 = OSisx64(platform);

  introPage.host->SetVisible(true);
  editorPage.host->SetVisible(false);
  themesPage.host->SetVisible(false);
  TabIntro->SetFontColor(kActiveTabColor);
  TabEditor->SetFontColor(kTabColor);
  TabThemes->SetFontColor(kTabColor);
  currentPage = PageId::Intro;

  platform.app.SetOnMinimize([this] { AppOnMinimize(); });
  bootStart = !args.empty() && args[0] == kBootArgument;
  osVersion = platform.system.Version();
  osKind = OsKindFromInfo(GetOSInfo());
  if (bootStart) {
    platform.tray.SetVisible(true);
    platform.tray.ShowBalloon(kProductName, kBootBalloonText, 10);
  }

  windowsFolder = CheckPath(platform.system.WindowsDirectory());
  const platform::RegistryRead startup = platform.system.ReadRegistryString(
      platform::RegistryHive::CurrentUser, kShellFoldersKey, "Startup");
  startupFolder = startup.keyOpened ? CheckPath(startup.value.value_or(""))
                                    : StartupFolderFallback(windowsFolder);

  ThemeLine->SetCaption("");
  SetCaptionWithTitle(std::string(kProductName) + " - " + "No Theme Loaded");
  currentKey.clear();
  for (int i = 0; i < kKeyCount; ++i)
    hotKeyIds[static_cast<size_t>(i)] = platform.system.AddAtom(std::string(KeyAt(i).atomName));

  ClickKey("");
  LoadThemesList();
  ReadIni();
  if (!bootStart) Check4CurrentTheme();
}

void TForm1::ReadIni() {
  IniFile settings = OpenSettings(platform);
  const IniDocument& doc = settings.doc();
  try {
    CheckBox1->SetChecked(doc.ReadBool("Setting", "RunAtStartup", false));
  } catch (const std::exception& e) {
    // A settings file or shortcut that cannot be written is reported, but must not leave the
    // keys unregistered and the rest of the settings unread.
    ShowUnhandledError(e);
  }
  ComboBox3->SetItemIndex(doc.ReadInteger("Theme", "IndexofSelected", 1));
  searchTerm = doc.ReadString("Setting", "SearchTerm", "");
  StartMonitor(doc.ReadBool("Keys", "Enabled", true), false);
}

void TForm1::WriteIni() {
  IniFile settings = OpenSettings(platform);
  IniDocument& doc = settings.doc();
  doc.WriteBool("Keys", "Enabled", KeysOn());
  doc.WriteString("Setting", "SearchTerm", searchTerm);
  doc.WriteInteger("Theme", "IndexofSelected", ComboBox3->itemIndex());
  settings.Flush();
}

void TForm1::FormShow() {
  windowShown = true;
  // Before a start from the Startup folder hides the window: the user reads it over the window.
  TellPendingFolderNotWritable();
  if (bootStart) Timer1->SetRunning(true);
}

void TForm1::OnTimer() {
  if (bootStart) {
    platform.app.Minimize();
    bootStart = false;
  }
  Timer1->SetRunning(false);
  const uint64_t start = platform.system.TickCountMs();
  do {
    platform.app.ProcessMessages();
  } while (platform.system.TickCountMs() - start < 4);
  Check4CurrentTheme();
}

void TForm1::SetCaptionWithTitle(const std::string& caption) {
  SetCaption(caption);
  platform.app.SetTitle(caption);
}

}  // namespace kv
