#include "platform/win32/services/win32_tray.h"

#include <climits>
#include <cwchar>
#include <iterator>
#include <utility>

#include "platform/win32/wide.h"

namespace kv::win32 {

namespace {

constexpr UINT kIconId = 1;

template <size_t N>
void CopyInto(wchar_t (&field)[N], std::wstring_view text) {
  static_assert(N > 0);
  const std::wstring cut = CutToUnits(text, N - 1);
  std::wmemcpy(field, cut.data(), cut.size());
  field[cut.size()] = L'\0';
}

}  // namespace

std::wstring CutToUnits(std::wstring_view text, size_t maxUnits) {
  if (text.size() <= maxUnits) return std::wstring(text);
  size_t keep = maxUnits;
  if (keep > 0 && IS_HIGH_SURROGATE(text[keep - 1])) --keep;
  return std::wstring(text.substr(0, keep));
}

Win32TrayIcon::Win32TrayIcon(std::function<HWND()> owner, UINT callbackMessage,
                             std::array<HICON, 2> icons, const std::string& tip, Notifier notifier)
    : owner_(std::move(owner)),
      callbackMessage_(callbackMessage),
      icons_(icons),
      tip_(Widen(tip)),
      notifier_(std::move(notifier)) {}

Win32TrayIcon::~Win32TrayIcon() {
  // An icon left behind stays in the notification area until the mouse passes over it.
  if (Shown()) Send(NIM_DELETE, Request(0));
}

NOTIFYICONDATAW Win32TrayIcon::Request(UINT flags) const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = owner_ ? owner_() : nullptr;
  data.uID = kIconId;
  data.uFlags = flags;
  data.uCallbackMessage = callbackMessage_;
  data.hIcon = icons_[static_cast<size_t>(image_)];
  CopyInto(data.szTip, tip_);
  return data;
}

bool Win32TrayIcon::Send(DWORD message, const NOTIFYICONDATAW& data) const {
  if (notifier_) return notifier_(message, data);
  return ::Shell_NotifyIconW(message, const_cast<NOTIFYICONDATAW*>(&data)) != 0;
}

void Win32TrayIcon::Add() {
  if (held_) {
    addPending_ = true;
    return;
  }
  const NOTIFYICONDATAW data = Request(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP);
  // A taskbar that is still starting may time out and report failure although it took the
  // icon; if the icon can be modified, it is there.
  addPending_ = !Send(NIM_ADD, data) && !Send(NIM_MODIFY, data);
  if (addPending_) return;
  // Version 4 tells of the keyboard on the icon too (NIN_KEYSELECT, WM_CONTEXTMENU), with the
  // event in the low word of lParam and the place in wParam.
  NOTIFYICONDATAW version = Request(0);
  version.uVersion = NOTIFYICON_VERSION_4;
  version4_ = Send(NIM_SETVERSION, version);
  if (pendingBalloon_) {
    const Balloon balloon = std::move(*pendingBalloon_);
    pendingBalloon_.reset();
    ShowBalloon(balloon.title, balloon.text, balloon.seconds);
  }
}

void Win32TrayIcon::ReleaseAdds() {
  held_ = false;
  RetryIfPending();
}

void Win32TrayIcon::SetVisible(bool visible) {
  if (visible) {
    const bool wasShown = Shown();
    visible_ = true;
    if (!wasShown) Add();
    return;
  }
  if (Shown()) Send(NIM_DELETE, Request(0));
  visible_ = false;
  addPending_ = false;
  pendingBalloon_.reset();
}

void Win32TrayIcon::SetImageIndex(int index) {
  if (index != 0 && index != 1) return;
  image_ = index;
  if (Shown()) Send(NIM_MODIFY, Request(NIF_ICON));
}

void Win32TrayIcon::ShowBalloon(const std::string& title, const std::string& text, int seconds) {
  if (!visible_) return;
  if (addPending_) {
    pendingBalloon_ = Balloon{title, text, seconds};
    return;
  }
  NOTIFYICONDATAW data = Request(NIF_INFO);
  static_assert(std::size(decltype(data.szInfoTitle){}) == kBalloonTitleUnits + 1);
  static_assert(std::size(decltype(data.szInfo){}) == kBalloonTextUnits + 1);
  static_assert(std::size(decltype(data.szTip){}) == kTrayTipUnits + 1);
  CopyInto(data.szInfoTitle, Widen(title));
  CopyInto(data.szInfo, Widen(text));
  data.dwInfoFlags = NIIF_INFO;
  const int clamped = seconds < 0 ? 0 : (seconds > INT_MAX / 1000 ? INT_MAX / 1000 : seconds);
  data.uTimeout = static_cast<UINT>(clamped) * 1000u;
  Send(NIM_MODIFY, data);
}

void Win32TrayIcon::Readd() {
  if (visible_) Add();
}

void Win32TrayIcon::RetryIfPending() {
  if (visible_ && addPending_) Add();
}

}  // namespace kv::win32
