// The ON/OFF state of the keys, their registration as global hot keys, and the hot-key
// message that runs a key's action.
#include "actions/catalogue.h"
#include "app/form.h"
#include "app/settings_file.h"
#include "core/key_record.h"

namespace kv {

namespace {

constexpr ui::Color kOnColor = 0x00BB00;
constexpr ui::Color kOffColor = 0xFF0000;
constexpr int kPauseBreakIndex = 14;  // "PBKey" in key order

static_assert(kKeys[kPauseBreakIndex].section == "PBKey");

}  // namespace

void TForm1::StartMonitor(bool on, bool notify) {
  const std::string glyphFile = BesideExecutable(platform, on ? "keyon.bmp" : "keyoff.bmp");
  BitBtn2->SetCaption(on ? "ON" : "OFF");
  BitBtn2->SetFontColor(on ? kOnColor : kOffColor);
  if (platform.files.Exists(glyphFile)) BitBtn2->SetGlyph(glyphFile);
  BitBtn2->Repaint();
  DisableKeys1->SetCaption(on ? "Disable Keys" : "Enable Keys");
  if (notify) {
    platform.tray.SetImageIndex(on ? 1 : 0);
    platform.tray.ShowBalloon("", on ? "Keys Enabled" : "Keys Disabled", 10);
  }

  if (on) {
    for (int i = 0; i < kKeyCount; ++i) {
      // A key whose title is gone (after a theme load, say) is released, so that it is not
      // kept from other programs for nothing.
      if (TitleShown(i))
        RegisterKey(i);
      else
        ReleaseKey(i);
    }
  } else {
    int pauseBreakAction = 0;
    {
      pauseBreakAction = KeyRecord::Read(OpenSettings(platform).doc(), KeyAt(kPauseBreakIndex).section).action;
    }
    for (int i = 0; i < kKeyCount; ++i) {
      if (i == kPauseBreakIndex && pauseBreakAction == StoredCode(ActionCode::DisableEnableKeys)) {
        // Pause/Break stays able to switch the keys back on, also when the program starts
        // with the keys off.
        if (TitleShown(i)) RegisterKey(i);
        continue;
      }
      ReleaseKey(i);
    }
  }
  ShowHeldKeys();

  try {
    WriteIni();
  } catch (const FolderNotWritable& error) {
    // The keys are switched all the same; only the state cannot be kept for the next start.
    TellFolderNotWritable(error);
  }
  if (bootStart) {
    platform.tray.SetVisible(true);
    platform.tray.ShowBalloon(kProductName, kBootBalloonText, 10);
  }
}

void TForm1::RegisterKey(int keyIndex) {
  const size_t i = static_cast<size_t>(keyIndex);
  // Windows refuses a second registration of a key this window already holds, as it refuses
  // one that another program holds; only the second means the key does not reach Keyvane.
  if (platform.hotKeys.Register(hotKeyIds[i], 0, KeyAt(keyIndex).vk)) heldHere[i] = true;
  heldElsewhere[i] = !heldHere[i];
}

void TForm1::ReleaseKey(int keyIndex) {
  const size_t i = static_cast<size_t>(keyIndex);
  platform.hotKeys.Unregister(hotKeyIds[i]);
  heldHere[i] = false;
  heldElsewhere[i] = false;
}

void TForm1::ShowHeldKeys() {
  for (int i = 0; i < kKeyCount; ++i) {
    KeyView& view = keys[static_cast<size_t>(i)];
    // F12 on the systems that keep it for themselves already shows why it does nothing.
    const bool held = heldElsewhere[static_cast<size_t>(i)] && !(i == kF12Index && osKind.ReservesF12());
    const std::string hint = held ? std::string(kKeyHeldElsewhereHint) : std::string();
    view.shape->SetMarked(held);
    view.shape->SetHint(hint);
    view.title->SetHint(hint);
  }
}

void TForm1::BitBtn2Click() { StartMonitor(!KeysOn(), true); }

void TForm1::DisableKeys1Click() { StartMonitor(DisableKeys1->caption() != "Disable Keys", true); }

void TForm1::OnHotKey(uint32_t id) {
  IniFile settings = OpenSettings(platform);
  const std::optional<int> key = KeyIndexByHotKeyId(hotKeyIds, id);
  if (!key) return;
  const KeyRecord record = KeyRecord::Read(settings.doc(), KeyAt(*key).section);
  try {
    RunAction(record.action, record.FileOr(""));
  } catch (const FolderNotWritable& error) {
    // A key pressed (Load Next Theme, say) brings at most the one notice of the run.
    TellFolderNotWritable(error);
  }
}

void TForm1::HotKeyPressed(uint32_t id) {
  ui::RunUserEvent([&] { OnHotKey(id); });
}

}  // namespace kv
