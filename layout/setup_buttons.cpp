// Drawing the 21 keys and the tray menu's key items from the settings file.
#include "app/form.h"
#include "app/settings_file.h"
#include "core/key_record.h"

namespace kv {


void TForm1::SetupButtons() {
  IniFile settings = OpenSettings(platform);

  for (int i : kSectionOrder) {
    KeyView& view = keys[static_cast<size_t>(i)];
    ui::Label& title = *view.title;
    const KeyRecord record = KeyRecord::Read(settings.doc(), KeyAt(i).section);
    title.SetCaption(record.LabelOr(kNotSetMarker));
    view.action = title.caption() != kNotSetMarker ? record.action : 0;
    title.SetVisible(title.caption() != kNotSetMarker);
  }

  for (int i = 0; i < kKeyCount; ++i) {
    const KeyInfo& key = KeyAt(i);
    KeyView& view = keys[static_cast<size_t>(i)];
    if (view.title->caption() != kNotSetMarker) {
      view.title->SetFontColor(ui::kBlack);
      view.shape->SetBrush(kKeySetFill);
      view.trayItem->SetCaption(std::string(key.trayPrefix) + view.title->caption());
    } else {
      view.shape->SetBrush(kKeyNotSetFill);
      view.trayItem->SetCaption(std::string(key.trayNotSet));
    }
    view.trayItem->SetEnabled(true);

    // Windows 2000 to Vista keep F12 for the debugger.
    if (i == kF12Index && osKind.ReservesF12()) {
      view.title->onClick = nullptr;
      view.title->onDblClick = nullptr;
      view.title->SetVisible(true);
      view.title->SetFontColor(kKeySystemText);
      view.title->SetCaption(std::string(kF12DisabledTitle));
      view.title->SetCursor(ui::Cursor::Arrow);
      view.shape->SetEnabled(false);
      view.shape->SetBrush(kKeySystemFill);
      view.trayItem->SetCaption(std::string(kF12DisabledTrayCaption));
      view.trayItem->SetEnabled(false);
    }
  }
  ShowHeldKeys();
}

}  // namespace kv
