// The keys' records as a theme holds them: loading copies them into the settings, and the
// current keys are a theme when every record agrees with it.
#pragma once

#include "core/ini_document.h"

namespace kv {

// The keys' records copied from one file to the other in section order: a set key gets its
// action, title and argument; a key that is not set loses all three.
void CopyKeyRecords(const IniDocument& from, IniDocument& to);

// True when every key's action, title and argument in `settings` are those in `theme`; F12 is
// left out when Windows keeps it for itself (`skipF12`), as it cannot tell themes apart then.
bool KeysMatchTheme(const IniDocument& settings, const IniDocument& theme, bool skipF12);

}  // namespace kv
