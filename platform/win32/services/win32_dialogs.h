// Modal boxes owned by Keyvane's main window: message boxes, the error box and the input box.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace kv::win32 {

// Child control ids of the input box, for whoever drives it from outside.
inline constexpr int kInputBoxPromptId = 100;
inline constexpr int kInputBoxEditId = 101;

// The input box as an in-memory dialog template: a word-wrapping prompt, an edit field and
// OK / Cancel, in "MS Shell Dlg" 8 pt. Texts other than the buttons' are set when it opens.
std::vector<WORD> InputBoxTemplate();

class Win32Dialogs final : public platform::Dialogs {
 public:
  Win32Dialogs(std::function<HWND()> owner, std::function<std::string()> applicationTitle)
      : owner_(std::move(owner)), applicationTitle_(std::move(applicationTitle)) {}

  int ShowMessage(const std::string& text, const std::string& caption, unsigned style) override;
  void ShowError(const std::string& text) override;
  // Throws KeyvaneError when the box cannot be shown at all, rather than pretending the user
  // cancelled.
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& initial) override;
  // Throws KeyvaneError when the dialog fails, rather than pretending the user cancelled.
  std::optional<std::string> ChooseFileToOpen() override;

 private:
  HWND Owner() const { return owner_ ? owner_() : nullptr; }

  std::function<HWND()> owner_;
  std::function<std::string()> applicationTitle_;
};

}  // namespace kv::win32
