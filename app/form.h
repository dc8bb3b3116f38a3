// TForm1: Keyvane's main window. It owns every control and all run-time state; its member
// functions are defined by subsystem (app/, hotkeys/, actions/, layout/, editor/, themes/,
// shell/), so a handler is found under the subsystem it belongs to.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "actions/power.h"
#include "app/window_events.h"
#include "core/error.h"
#include "core/ini_document.h"
#include "core/key_table.h"
#include "core/os_kind.h"
#include "layout/key_view.h"
#include "platform/platform.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/label.h"
#include "ui/menu.h"
#include "ui/keys.h"
#include "ui/panel.h"
#include "ui/shape.h"
#include "ui/timer.h"
#include "ui/window.h"

namespace kv {

inline constexpr const char* kProductName = "Keyvane";
inline constexpr const char* kMutexName = "Keyvane_is_alive";
inline constexpr const char* kBootArgument = "bootup";
inline constexpr const char* kVersionText = "v.1.01.03 6/14/2009";
inline constexpr const char* kBootBalloonText =
    "Keyvane has started.\r\n\r\nYou may start using your Designed Keys Now.\r\n\r\n"
    "Double-Click Here to view Keyvane";
inline constexpr ui::Color kWindowColor = 0xD8D8FF;
inline constexpr ui::Color kTabColor = 0x0000DD;
inline constexpr ui::Color kActiveTabColor = 0xFF0000;
inline constexpr int kWindowOuterWidth = 818;
inline constexpr int kWindowOuterHeight = 427;

// One of the three pages of the page area.
struct Page {
  ui::Panel* host;     // transparent, fills the page area
  ui::Panel* content;  // white, single border
  ui::Panel* band;     // the heading band
  ui::Label* heading;
};

enum class PageId { Intro, Editor, Themes };
// How long the slide between two pages plays.
inline constexpr int kPageSlideMs = 1000;

class TForm1 : public ui::Window, public WindowEvents {
 public:
  TForm1(platform::Platform& platform, std::vector<std::string> args);
  ~TForm1() override;

  platform::Platform& platform;

  // ---- what the window on screen sees ----
  ui::Window& Root() override { return *this; }
  const std::vector<std::unique_ptr<ui::Control>>& Controls() const override { return owned_; }
  ui::PopupMenu& TrayMenu() override { return trayMenu; }
  void HotKeyPressed(uint32_t id) override;
  void TrayIconDoubleClicked() override;
  void TrayIconMessage(const TrayMessage& message) override;
  void TrayClickTimerFired();
  void ShowTrayMenuAt(int x, int y);
  bool trayMenuOpen = false;
  bool trayDoubleClickUp = false;  // the button-up that ends a double click is no click
  std::pair<int, int> trayClickAt{};
  bool CloseRequested() override;
  void SessionEnded(bool ending) override;
  void ExitRequested() override;
  void FocusMoved(FocusStop stop) override;
  bool KeyPressed(ui::Key key, ui::KeyState state) override;
  const ui::Control* FocusedPaintedControl() const override;
  std::vector<ui::AccessibleItem> AccessibleItems() const override;
  void AccessibleDefaultAction(const ui::Control& control) override;

  // ---- life of the window ----
  void FormCreate();
  int GetOSInfo();
  void ReadIni();
  void WriteIni();
  void FormShow();
  void OnTimer();
  // Returns whether the window may close.
  bool FormClose();
  void FormDestroy();
  // WM_ENDSESSION.
  void OnEndSession(bool ending);

  // ---- hot keys ----
  void StartMonitor(bool on, bool notify);
  // A key's hot key taken or given back, noting whether another program holds it.
  void RegisterKey(int keyIndex);
  void ReleaseKey(int keyIndex);
  // The mark and hint of every set key whose hot key another program holds.
  void ShowHeldKeys();
  void BitBtn2Click();
  void DisableKeys1Click();
  void OnHotKey(uint32_t id);
  bool KeysOn() const { return BitBtn2->caption() == "ON"; }

  // ---- actions ----
  void RunAction(int code, const std::string& data);
  void RunFile(const std::string& data);
  void OpenExplorer(const std::string& data);
  void OpenBrowser(const std::string& data);
  void OpenEmail();
  void LaunchGame(int code);
  // Where Windows Vista and 7 keep a card game: Game Explorer's path for it when it has one,
  // then the "Microsoft Games" folder on the Windows drive.
  std::vector<std::string> GameUxPaths(int code);
  void SendTwoKeyCombo(const std::string& combo);
  void SendThreeKeyCombo(const std::string& combo);
  void PasteText(const std::string& text);
  void PasteFileContents(const std::string& path);
  void AskSearchTerm();
  // "%SEARCHTERM%" and the first %NAME% of a path or address, expanded.
  std::string ReplaceEnvironmentVariable(const std::string& text);
  void LoadNextTheme();
  void ShowKvnMenu();
  void Suspend(bool hibernate);
  // EWX_POWEROFF where a shutdown must ask for it, else 0.
  unsigned ShutdownPowerOff() const;
  SuspendState suspendState;

  // ---- layout ----
  void SetupButtons();
  void ClickKey(const std::string& name);
  // Shows the current key's record as the settings hold it in the editor's boxes and lists;
  // false when its stored combination cannot be read (the lists are then left without a choice).
  bool ShowStoredRecord(const IniDocument& settings);
  void DblClickKey(const std::string& name);
  void KeyShapeMouseUp(ui::Shape& sender);
  void KeyLabelClick(ui::Label& sender);
  void KeyLabelDblClick(ui::Label& sender);

  // ---- key editor ----
  int SelectedActionCode() const;
  void SetupEditItems();
  std::string AutomaticTitle(int code) const;
  bool ArgumentComplete(int code) const;
  void UpdateApplyButton();
  // The stored form of the combination chosen in the combo lists.
  std::string ComboText(int code) const;
  void ComboBox1Change();
  void ComboBox2Change();
  void Edit1Change();
  void Edit1KeyPress();
  void Edit2Change();
  void KeyComboChange();
  void Button1Click();
  void Button2Click();
  void EditApplyClick();
  // Whether the key's title label is shown: the key is set, or is F12 disabled by Windows.
  bool TitleShown(int keyIndex) const { return keys[static_cast<size_t>(keyIndex)].title->visible(); }

  // ---- themes ----
  void LoadThemesList();
  // True when the current keys were written into a theme file.
  bool CreateTheme();
  void LoadTheme(const std::string& name);
  enum class SaveOffer { NotNeeded, Declined, Saved, Abandoned };
  SaveOffer OfferToSaveCurrentKeys();
  void ComboBox3Click();
  void ComboBox3Change();
  void Button8Click();
  void QuickStartButtonClick();
  void Check4CurrentTheme();
  // The theme's name when its records equal the settings' (shown as loaded then), else "".
  std::string MatchupTheme(const IniDocument& settings, const std::string& name);
  void suiButton1Click();
  void RemoveListedTheme(int index);
  // Whether the listed theme's file is there; when it is not, says so and takes it off the list.
  bool ThemeFileFound(int index);
  void Button6Click();
  void PrintStrings(const std::vector<std::string>& lines, const std::string& jobName);
  // "<name>.kth" beside the executable.
  std::string ThemeFile(const std::string& name);
  // The position of the listed theme whose file `name` names, -1 when none is listed.
  int FindTheme(const std::string& name) const;
  // Shows a theme as the loaded one: tray balloon and image, tray theme line, caption.
  void ShowThemeLoaded(const std::string& name);

  // ---- shell ----
  void CheckBox1Click();
  // Writes the shortcut file, replacing any file of that name; the working folder is the
  // target's folder.
  void MakeShortcut(const std::string& target, const std::string& arguments,
                    const std::string& shortcutPath, const std::string& description);
  // Keyvane.lnk in the Startup folder.
  std::string StartupShortcutPath() const;
  void HelpButtonClick();
  void Label29Click();
  void AppOnMinimize();
  void CoolTrayDblClick();
  void ShowMinimizeItemClick();
  void Exit1Click();
  void KeyMenuClick(ui::MenuItem& item);
  void TurnPage(PageId page);
  // Shows `page`, hides the other two and records `page` as the current one.
  void ShowOnlyPage(PageId page);
  ui::Panel* PageHost(PageId page) const;
  void TabClick(ui::Panel& sender);
  ui::Panel* PageTab(PageId page) const;
  // The page `step` places on from the shown one, in the ring of the three pages.
  PageId PageAfter(PageId page, int step) const;

  // ---- the keyboard ----
  FocusStop focusStop = FocusStop::None;
  int focusedKey = 0;            // the key the focus is on while it is on the key layout
  PageId focusedTab = PageId::Intro;  // the tab the focus is on while it is on the page tabs
  bool KeyLayoutKey(ui::Key key, ui::KeyState state);
  bool TabStripKey(ui::Key key);

  // An error that ended a handler, as the user is told of it: the general error box, or once in
  // a run that the folder cannot be written.
  void ShowUnhandledError(const std::exception& error);
  void TellFolderNotWritable(const FolderNotWritable& error);
  void TellPendingFolderNotWritable();
  bool readOnlyFolderTold = false;
  std::optional<std::string> readOnlyFolderPending;
  bool windowShown = false;

  // Writes the window caption and, with it, the application's title.
  void SetCaptionWithTitle(const std::string& caption);

  // ---- state ----
  std::vector<std::string> args;
  bool bootStart = false;
  bool closeToTray = true;
  bool menuToggle = true;
  OsKind osKind = 0;
  // The version report the kind was made from: kind 0 lumps together a failed report, a Windows
  // 9x Keyvane does not know and every Windows NT after Vista, which this tells apart.
  platform::OsVersion osVersion;
  // A Windows after Vista (kind 0 from a Windows NT 6.1 or later report), where some of the
  // catalogue takes the way those versions have.
  bool NewerNt() const;
  bool is64 = false;
  std::string windowsFolder;
  std::string startupFolder;
  std::string currentKey;
  std::string searchTerm;
  HotKeyIds hotKeyIds{};
  std::array<bool, kKeyCount> heldHere{};       // registered by this window and not given back
  std::array<bool, kKeyCount> heldElsewhere{};  // another program held it when last tried
  int currentThemeIndex = 0;
  bool titleTyped = false;
  PageId currentPage = PageId::Intro;
  unsigned pageTurns = 0;  // page turns begun, so that a turn knows when a later one overtook it
  // Set once the settings have been saved and the keys released for the end of the session.
  bool sessionClosed = false;

  // ---- controls ----
  std::array<KeyView, kKeyCount> keys{};

  ui::Button* BitBtn2 = nullptr;      // ON/OFF
  ui::CheckBox* CheckBox1 = nullptr;  // Run at Startup
  ui::Button* HelpButton = nullptr;
  ui::Label* VersionLabel = nullptr;
  ui::Label* Label29 = nullptr;  // producer credit
  ui::Timer* Timer1 = nullptr;
  ui::Timer* TrayClickTimer = nullptr;  // a single click on the tray icon waits out a double click

  ui::Panel* PageArea = nullptr;
  ui::Panel* TabIntro = nullptr;
  ui::Panel* TabEditor = nullptr;
  ui::Panel* TabThemes = nullptr;
  Page introPage{};
  Page editorPage{};
  Page themesPage{};

  // Introduction page.
  ui::Button* QuickStartButton = nullptr;

  // "Create or Edit Key" page.
  ui::Label* Label23 = nullptr;     // key heading
  ui::ComboBox* ComboBox2 = nullptr;  // key drop-down
  ui::Label* Label24 = nullptr;     // "Title - "
  ui::Edit* Edit1 = nullptr;        // title box
  ui::Label* Label25 = nullptr;     // "Action - "
  ui::ComboBox* ComboBox1 = nullptr;  // action drop-down
  ui::Button* Button1 = nullptr;    // "< Run"
  ui::Label* Label26 = nullptr;     // field label
  ui::Edit* Edit2 = nullptr;        // field box
  ui::Button* Button2 = nullptr;    // browse
  ui::Label* Label35 = nullptr;     // "Key Combo - "
  ui::ComboBox* ComboBox6 = nullptr;  // combo key list
  ui::ComboBox* ComboBox5 = nullptr;  // modifier list
  ui::ComboBox* ComboBox4 = nullptr;  // first modifier list
  ui::Button* BitBtn1 = nullptr;    // "Apply"

  // Themes page.
  ui::ComboBox* ComboBox3 = nullptr;  // theme drop-down
  ui::Button* Button6 = nullptr;      // "Print Theme"
  ui::Button* suiButton1 = nullptr;   // "Delete Theme"
  ui::Button* Button8 = nullptr;      // "Create Theme from Current Settings"

  // Tray menu.
  ui::PopupMenu trayMenu;
  ui::MenuItem* ThemeLine = nullptr;
  ui::MenuItem* DisableKeys1 = nullptr;
  ui::MenuItem* ShowMinimize1 = nullptr;
  ui::MenuItem* Exit1 = nullptr;

  // Every control by name, for the Win32 layer and for tests.
  ui::Control* FindControl(std::string_view name) const;
  const std::vector<std::unique_ptr<ui::Control>>& controls() const { return owned_; }

 private:
  template <typename T>
  T* Make(std::string name, ui::Control* parent);
  ui::Button* MakeButton(const char* name, const char* caption, ui::Rect bounds, ui::Control* parent);
  void BuildKeys();
  void BuildPages();
  Page BuildPage(const std::string& prefix, const std::string& heading);
  void BuildEditorPage();
  void BuildThemesPage();
  void BuildIntroPage();
  void BuildTrayMenu();

  std::vector<std::unique_ptr<ui::Control>> owned_;
};

// The control-panel command line of codes 2 to 8; empty for other codes.
std::string ControlPanelCommand(int code, OsKind osKind, const platform::OsVersion& version);
// The OS kind for a GetOSInfo result.
int OsKindFromInfo(int osInfo);
// GetOSInfo's classification of a version report.
int ClassifyOsVersion(const platform::OsVersion& v);
// A report of Windows NT 6.1 (Windows 7) or later, which the OS kind counts as unrecognised.
bool IsNtAfterVista(const platform::OsVersion& v);
// A folder path that ends in a backslash (an empty path stays empty).
std::string CheckPath(const std::string& path);
// The Startup folder under the Windows folder, for when the user's cannot be found.
std::string StartupFolderFallback(const std::string& windowsFolder);
// The help viewer's address of a topic: "<file>::/<topic>", ".htm" added to a bare name.
std::string HelpTopicAddress(const std::string& helpFile, const std::string& topic);
// The help topic that belongs to a page.
const char* HelpTopicOf(PageId page);
// The security zone a download mark names: the "ZoneId" of its [ZoneTransfer] section
// (3 for the Internet), nullopt when it names none.
std::optional<int> DownloadZone(const std::string& mark);

}  // namespace kv
