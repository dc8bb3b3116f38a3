// Plain text on a printer: the common print dialog, then GDI text lines page by page.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace kv::win32 {

// Prints the lines as one job on a printer device context, in the font the context has,
// starting a new page when the next line would not fit. False when any step failed; a job
// that was started is aborted then, so nothing half printed stays queued.
bool PrintTextJob(HDC printer, const std::string& jobName, const std::vector<std::string>& lines);

class Win32Printing final : public platform::Printing {
 public:
  explicit Win32Printing(std::function<HWND()> owner) : owner_(std::move(owner)) {}

  platform::PrintOutcome PrintLines(const std::string& jobName, const std::vector<std::string>& lines) override;

 private:
  std::function<HWND()> owner_;
};

}  // namespace kv::win32
