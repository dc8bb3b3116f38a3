// The peers that own a child window of the main window: the owner-drawn push button, the
// check box, the drop-down list and the edit box.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/window/control_peer.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/edit.h"

namespace kv::win32 {

class WindowedPeer : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;

  // The id of the child window. The window itself is made when the control first shows, or
  // when MakeWindow is called: a control on a page not yet turned to costs nothing until then.
  void SetWindowId(int id) { id_ = id; }
  // Makes the child window if it has none yet and shows the control's whole state in it.
  void MakeWindow();
  HWND hwnd() const { return hwnd_; }
  HWND Window() const override { return hwnd_; }

  // Bounds, enabled state, the kind's own state, shown or hidden.
  void Sync() final;
  void AncestorChanged(bool moved, bool shownChanged) final;

  // A WM_COMMAND notification from the child window; ignored while a peer syncs.
  void Command(UINT code) {
    if (!context_.syncing) OnCommand(code);
  }
  virtual void DrawItem(const DRAWITEMSTRUCT& item) { (void)item; }
  // WM_CTLCOLORSTATIC: the text colour, on the background the main window chose.
  virtual void ColorText(HDC dc) { (void)dc; }

 protected:
  struct WindowClass {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle = 0;
  };
  virtual WindowClass Class() const = 0;
  virtual void Created() {}
  // Layout pixels below the bounds that still belong to the window (a drop-down's list).
  virtual int ExtraHeight() const { return 0; }
  virtual void SyncOwnState() = 0;
  virtual void OnCommand(UINT code) = 0;

  HFONT Font(const ui::Font& font) { return context_.fonts.Get(font, context_.scale.dpi); }

  HWND hwnd_ = nullptr;

 private:
  static constexpr UINT_PTR kDescribedSubclass = 2;
  static LRESULT CALLBACK Described(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);
  void CreateChildWindow();
  RECT PlaceInParent() const;
  void Place();
  void ShowOrHide();

  int id_ = 0;
  // The window's state as last written, so that an unchanged one is not written again.
  RECT placed_{};
  bool enabled_ = true;
  bool shown_ = false;
};

class ButtonPeer final : public WindowedPeer {
 public:
  ButtonPeer(ui::Button& button, PeerContext& context)
      : WindowedPeer(button, context), button_(button) {}
  void DrawItem(const DRAWITEMSTRUCT& item) override;

 private:
  WindowClass Class() const override;
  void SyncOwnState() override;
  void OnCommand(UINT code) override;

  ui::Button& button_;
};

class CheckBoxPeer final : public WindowedPeer {
 public:
  CheckBoxPeer(ui::CheckBox& check, PeerContext& context)
      : WindowedPeer(check, context), check_(check) {}
  void ColorText(HDC dc) override;

 private:
  WindowClass Class() const override;
  void SyncOwnState() override;
  void OnCommand(UINT code) override;

  ui::CheckBox& check_;
};

// One gesture in a drop-down list (a click in its list, Enter, an arrow key, Escape) sends
// several notifications, in an order that differs between Windows versions and Wine. The peer
// notes them as they come and settles the gesture once they all have: a choice, even of the
// item already shown, reaches the control once; a cancelled list shows the control's item again.
class ComboBoxPeer final : public WindowedPeer {
 public:
  ComboBoxPeer(ui::ComboBox& combo, PeerContext& context)
      : WindowedPeer(combo, context), combo_(combo) {}

 private:
  WindowClass Class() const override;
  void Created() override;
  int ExtraHeight() const override;
  void SyncOwnState() override;
  void OnCommand(UINT code) override;
  void Settle();
  void ShowTheControlsChoice();
  static LRESULT CALLBACK Subclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR self);

  ui::ComboBox& combo_;
  std::vector<std::string> items_;  // what the list box shows
  // The gesture under way: what its notifications said so far.
  bool settlePosted_ = false;
  bool confirmed_ = false;   // CBN_SELENDOK
  bool selChanged_ = false;  // CBN_SELCHANGE
  bool cancelled_ = false;   // CBN_SELENDCANCEL
  // Counts the program's writes of the list or its choice: one made while a gesture settles
  // stands, and the gesture is no choice then.
  unsigned programWrites_ = 0;
  unsigned programWritesAtGesture_ = 0;
};

class EditPeer final : public WindowedPeer {
 public:
  EditPeer(ui::Edit& edit, PeerContext& context) : WindowedPeer(edit, context), edit_(edit) {}

 private:
  WindowClass Class() const override;
  void Created() override;
  void SyncOwnState() override;
  void OnCommand(UINT code) override;
  static LRESULT CALLBACK Subclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR self);

  ui::Edit& edit_;
};

}  // namespace kv::win32
