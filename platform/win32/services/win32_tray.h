// Keyvane's icon in the notification area: shown or hidden, one of two images, balloons.
#pragma once

// windows.h first, shellapi.h relies on it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace kv::win32 {

// At most `maxUnits` UTF-16 units of `text`, never ending in the first half of a
// surrogate pair.
std::wstring CutToUnits(std::wstring_view text, size_t maxUnits);

inline constexpr size_t kTrayTipUnits = 127;
inline constexpr size_t kBalloonTitleUnits = 63;
inline constexpr size_t kBalloonTextUnits = 255;

class Win32TrayIcon final : public platform::TrayIcon {
 public:
  // How a request reaches the shell; Shell_NotifyIconW unless a test watches the requests.
  using Notifier = std::function<bool(DWORD message, const NOTIFYICONDATAW& data)>;

  // `icons` are indexed by image: 0 the key with a prohibition sign, 1 the plain key. The
  // caller keeps them alive. Events arrive at the owner as `callbackMessage`, in the form of
  // version 4 while Version4() (event in LOWORD(lParam), place in wParam), else with the mouse
  // message in lParam.
  Win32TrayIcon(std::function<HWND()> owner, UINT callbackMessage, std::array<HICON, 2> icons,
                const std::string& tip = "Keyvane", Notifier notifier = {});
  ~Win32TrayIcon() override;
  Win32TrayIcon(const Win32TrayIcon&) = delete;
  Win32TrayIcon& operator=(const Win32TrayIcon&) = delete;

  void SetVisible(bool visible) override;
  bool Visible() const override { return visible_; }
  // Indexes other than 0 and 1 are ignored.
  void SetImageIndex(int index) override;
  int ImageIndex() const override { return image_; }
  // Shown once the icon is in the notification area (at once, or when a pending add succeeds);
  // a hidden icon has no balloon.
  void ShowBalloon(const std::string& title, const std::string& text, int seconds) override;

  // After the taskbar was (re)created ("TaskbarCreated"): every icon is gone, so add ours
  // again if it should be shown.
  void Readd();
  // At log-on the taskbar may not accept icons yet; the owner calls this from a timer until
  // AddPending() is false.
  void RetryIfPending();
  bool AddPending() const { return addPending_; }
  // The shell answers an add only after a round trip to the taskbar's process: at a start the
  // owner holds the first add back until its window is on the screen, then releases it.
  void HoldAdds() { held_ = true; }
  void ReleaseAdds();
  bool AddsHeld() const { return held_; }
  // Whether the shell took version 4 for the icon shown: its messages come in that form.
  bool Version4() const { return version4_; }

 private:
  NOTIFYICONDATAW Request(UINT flags) const;
  bool Send(DWORD message, const NOTIFYICONDATAW& data) const;
  void Add();
  bool Shown() const { return visible_ && !addPending_; }

  std::function<HWND()> owner_;
  UINT callbackMessage_;
  std::array<HICON, 2> icons_;
  std::wstring tip_;
  Notifier notifier_;
  bool visible_ = false;
  bool addPending_ = false;
  int image_ = 1;
  bool version4_ = false;
  bool held_ = false;
  struct Balloon {
    std::string title, text;
    int seconds = 0;
  };
  std::optional<Balloon> pendingBalloon_;
};

}  // namespace kv::win32
