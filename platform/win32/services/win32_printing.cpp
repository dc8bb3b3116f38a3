#include "platform/win32/services/win32_printing.h"

#include "platform/win32/services/common_dialogs.h"
#include "platform/win32/wide.h"

namespace kv::win32 {

namespace {

// The device context and the two settings blocks PrintDlg hands over, released together.
struct PrintDialogResult {
  PRINTDLGW dialog{};
  PrintDialogResult() { dialog.lStructSize = sizeof(dialog); }
  ~PrintDialogResult() {
    if (dialog.hDC != nullptr) ::DeleteDC(dialog.hDC);
    if (dialog.hDevMode != nullptr) ::GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames != nullptr) ::GlobalFree(dialog.hDevNames);
  }
  PrintDialogResult(const PrintDialogResult&) = delete;
  PrintDialogResult& operator=(const PrintDialogResult&) = delete;
};

}  // namespace

bool PrintTextJob(HDC printer, const std::string& jobName, const std::vector<std::string>& lines) {
  TEXTMETRICW metrics{};
  if (!::GetTextMetricsW(printer, &metrics)) return false;
  const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
  const int pageHeight = ::GetDeviceCaps(printer, VERTRES);
  if (lineHeight <= 0 || pageHeight < lineHeight) return false;

  const std::wstring name = Widen(jobName);
  DOCINFOW doc{};
  doc.cbSize = sizeof(doc);
  doc.lpszDocName = name.c_str();
  if (::StartDocW(printer, &doc) <= 0) return false;

  auto fail = [printer] {
    ::AbortDoc(printer);
    return false;
  };
  if (::StartPage(printer) <= 0) return fail();
  int y = 0;
  for (const std::string& line : lines) {
    if (y + lineHeight > pageHeight) {
      if (::EndPage(printer) <= 0 || ::StartPage(printer) <= 0) return fail();
      y = 0;
    }
    const std::wstring text = Widen(line);
    if (!text.empty() && !::TextOutW(printer, 0, y, text.c_str(), CheckedTextLength(text.size())))
      return fail();
    y += lineHeight;
  }
  if (::EndPage(printer) <= 0) return fail();
  return ::EndDoc(printer) > 0;
}

platform::PrintOutcome Win32Printing::PrintLines(const std::string& jobName,
                                                 const std::vector<std::string>& lines) {
  PrintDialogResult chosen;
  chosen.dialog.hwndOwner = owner_ ? owner_() : nullptr;
  // No "Print to file": the list goes to a printer, and a theme's own file already keeps it.
  chosen.dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE |
                        PD_HIDEPRINTTOFILE;
  if (!ShowPrintDialog(chosen.dialog)) {
    // Zero: the user cancelled. Without any printer the dialog has said so itself (asking to
    // install one), and a second message would only repeat it. Anything else is a failure.
    const DWORD error = CommonDialogError();
    const bool toldAlready = error == 0 || error == PDERR_NODEFAULTPRN || error == PDERR_NODEVICES;
    return toldAlready ? platform::PrintOutcome::Cancelled : platform::PrintOutcome::Failed;
  }
  if (chosen.dialog.hDC == nullptr) return platform::PrintOutcome::Failed;
  return PrintTextJob(chosen.dialog.hDC, jobName, lines) ? platform::PrintOutcome::Printed
                                                         : platform::PrintOutcome::Failed;
}

}  // namespace kv::win32
