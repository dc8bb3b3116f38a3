#include "platform/win32/window/tooltips.h"

#include <commctrl.h>

#include "platform/win32/window/common_controls.h"
#include "platform/win32/wide.h"

namespace kv::win32 {

namespace {

// Long hints wrap instead of running across the screen.
constexpr int kMaxTipWidth = 360;

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

Tooltips::~Tooltips() { Destroy(); }

void Tooltips::Create(HINSTANCE instance, HWND owner) {
  instance_ = instance;
  owner_ = owner;
}

// The tooltip window is made for the first hint to show: most starts show none.
bool Tooltips::EnsureWindow() {
  if (tips_) return true;
  if (!owner_) return false;
  comctl::Init(ICC_WIN95_CLASSES);
  tips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner_,
                            nullptr, instance_, nullptr);
  if (tips_) ::SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
  return tips_ != nullptr;
}

void Tooltips::Destroy() {
  if (tips_) ::DestroyWindow(tips_);
  tips_ = nullptr;
  owner_ = nullptr;
  tools_.clear();
}

TTTOOLINFOW Tooltips::Info(Tool& tool, HWND window) {
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = owner_;
  if (window) {
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.uId = reinterpret_cast<UINT_PTR>(window);
  } else {
    info.uFlags = TTF_SUBCLASS;
    info.uId = tool.id;
    info.rect = tool.rect;
  }
  info.lpszText = tool.text.data();
  return info;
}

void Tooltips::Update(const ui::Control& control, HWND window, const Scale& scale) {
  const bool wanted = !control.hint().empty() && control.Showing();
  auto it = tools_.find(&control);
  if (it == tools_.end()) {
    if (!wanted || !EnsureWindow()) return;
    it = tools_.emplace(&control, Tool{}).first;
    it->second.id = nextId_++;
  }
  Tool& tool = it->second;
  const std::wstring text = Widen(control.hint());
  const RECT rect = scale.ToRect(control.WindowBounds());

  if (!wanted) {
    if (tool.added) {
      TTTOOLINFOW info = Info(tool, window);
      ::SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
      tool.added = false;
    }
    return;
  }
  if (!tool.added) {
    tool.text = text;
    tool.rect = rect;
    TTTOOLINFOW info = Info(tool, window);
    tool.added = ::SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
    return;
  }
  if (tool.text != text) {
    tool.text = text;
    TTTOOLINFOW info = Info(tool, window);
    ::SendMessageW(tips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  }
  if (!window && !SameRect(tool.rect, rect)) {
    tool.rect = rect;
    TTTOOLINFOW info = Info(tool, window);
    ::SendMessageW(tips_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
  }
}

}  // namespace kv::win32
