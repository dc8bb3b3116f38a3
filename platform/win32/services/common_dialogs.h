// The common dialogs (choosing a file, choosing a printer). Keyvane shows them only when the
// user asks, so their library is loaded from the system folder at the first call, not at
// start-up. When it cannot be loaded, a call fails with CDERR_INITIALIZATION, as a dialog that
// could not start would.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <cderr.h>

namespace kv::win32 {

BOOL ShowOpenFileDialog(OPENFILENAMEW& request);
BOOL ShowPrintDialog(PRINTDLGW& request);
// Why the last dialog failed; zero when the user cancelled it.
DWORD CommonDialogError();

}  // namespace kv::win32
