// What the user is told of an error that ends a handler, and of a folder Keyvane cannot save in.
#include "app/form.h"
#include "core/error.h"

namespace kv {

namespace {

constexpr const char* kReadOnlyCaption = "Keyvane cannot keep changes";

std::string ReadOnlyFolderText(const std::string& folder) {
  return "Keyvane cannot keep changes in the folder " + folder +
         ": Windows lets you read it but not change it.  Keyvane runs with the keys stored there, "
         "but no change can be made to them: a key you apply, a theme you load or save and the "
         "settings stay as they are.\r\n\r\n"
         "To keep your changes, move the Keyvane folder into a folder of your own, such as your "
         "Documents folder, and start Keyvane from there; or install Keyvane with its setup "
         "program, which puts it where it can save.";
}

}  // namespace

void TForm1::ShowUnhandledError(const std::exception& error) {
  if (const auto* readOnly = dynamic_cast<const FolderNotWritable*>(&error)) {
    // A change asked for on the window (Apply, a theme chosen or saved) is not made: the user
    // who was told already is told again, briefly, that this one was not either.
    if (readOnlyFolderTold && !sessionClosed)
      platform.dialogs.ShowMessage("This change was not made: Keyvane cannot save in the folder " + readOnly->folder() +
                                       ".",
                                   kReadOnlyCaption, platform::mb::kOk | platform::mb::kIconWarning);
    TellFolderNotWritable(*readOnly);
    return;
  }
  platform.dialogs.ShowError(error.what());
}

// Told once in a run, and never while the Windows session ends; every later save that the
// folder refuses (a key press, a switch of the keys, the end) passes in silence.
void TForm1::TellFolderNotWritable(const FolderNotWritable& error) {
  if (readOnlyFolderTold || sessionClosed) return;
  readOnlyFolderTold = true;
  if (!windowShown) {
    // Said over the window, once it is on the screen, not before it.
    readOnlyFolderPending = error.folder();
    return;
  }
  platform.dialogs.ShowMessage(ReadOnlyFolderText(error.folder()), kReadOnlyCaption,
                               platform::mb::kOk | platform::mb::kIconWarning);
}

void TForm1::TellPendingFolderNotWritable() {
  if (!readOnlyFolderPending) return;
  const std::string folder = *readOnlyFolderPending;
  readOnlyFolderPending.reset();
  platform.dialogs.ShowMessage(ReadOnlyFolderText(folder), kReadOnlyCaption,
                               platform::mb::kOk | platform::mb::kIconWarning);
}

}  // namespace kv
