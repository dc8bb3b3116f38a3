#include "platform/win32/window/accessible.h"

#include <atomic>

#include "platform/win32/services/system_library.h"
#include "platform/win32/wide.h"

namespace kv::win32 {

namespace {

// oleacc.dll and oleaut32.dll, from the system folder, only once a screen reader asks.
struct Oleacc {
  decltype(&::LresultFromObject) lresultFromObject =
      SystemFunction<decltype(&::LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
  decltype(&::CreateStdAccessibleObject) createStdAccessibleObject =
      SystemFunction<decltype(&::CreateStdAccessibleObject)>(L"oleacc.dll", "CreateStdAccessibleObject");
  decltype(&::AccessibleObjectFromWindow) accessibleObjectFromWindow =
      SystemFunction<decltype(&::AccessibleObjectFromWindow)>(L"oleacc.dll", "AccessibleObjectFromWindow");
  decltype(&::SysAllocString) sysAllocString =
      SystemFunction<decltype(&::SysAllocString)>(L"oleaut32.dll", "SysAllocString");
};
const Oleacc& Ole() {
  static const Oleacc oleacc;
  return oleacc;
}

// Windows hands a 64-bit program the object id sign-extended or not: only the low 32 bits count.
bool ForClient(LPARAM objectId) { return static_cast<DWORD>(objectId) == static_cast<DWORD>(OBJID_CLIENT); }

HRESULT Text(const std::string& text, BSTR* out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  if (!Ole().sysAllocString) return E_OUTOFMEMORY;
  *out = Ole().sysAllocString(Widen(text).c_str());
  return *out ? S_OK : E_OUTOFMEMORY;
}

VARIANT Empty() {
  VARIANT v;
  v.vt = VT_EMPTY;
  return v;
}

VARIANT ChildId(LONG id) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

LONG RoleOf(ui::AccessibleRole role) {
  switch (role) {
    case ui::AccessibleRole::PushButton: return ROLE_SYSTEM_PUSHBUTTON;
    case ui::AccessibleRole::PageTab: return ROLE_SYSTEM_PAGETAB;
    case ui::AccessibleRole::StaticText: return ROLE_SYSTEM_STATICTEXT;
    case ui::AccessibleRole::CheckBox: return ROLE_SYSTEM_CHECKBUTTON;
    case ui::AccessibleRole::Text: return ROLE_SYSTEM_TEXT;
    case ui::AccessibleRole::ComboBox: return ROLE_SYSTEM_COMBOBOX;
  }
  return ROLE_SYSTEM_CLIENT;
}

// The parts of IAccessible that every object here shares: reference counting and IDispatch,
// which screen readers do not use for these objects.
template <typename Derived>
class AccessibleBase : public IAccessible {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete static_cast<Derived*>(this);
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

 protected:
  virtual ~AccessibleBase() = default;

 private:
  std::atomic<ULONG> references_{1};
};

}  // namespace

// The main window's client area. Child ids are 1-based places in the program's list, read
// afresh on every call, so that the object always tells what the window shows now.
class MainWindowAccessible final : public AccessibleBase<MainWindowAccessible> {
 public:
  explicit MainWindowAccessible(const AccessibleHost* host) : host_(host) {}
  void Disconnect() { host_ = nullptr; }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!host_ || !Ole().accessibleObjectFromWindow) return E_FAIL;
    return Ole().accessibleObjectFromWindow(host_->window, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                            reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    if (!count) return E_POINTER;
    if (!host_) return RPC_E_DISCONNECTED;
    *count = static_cast<LONG>(Items().size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    const ui::AccessibleItem* item = nullptr;
    std::vector<ui::AccessibleItem> items;
    if (HRESULT hr = Find(child, items, item); hr != S_OK) return hr;
    if (!item) return E_INVALIDARG;
    // A control with a window of its own is an object of its own; the painted ones are simple
    // elements of this one.
    HWND window = item->ownWindow ? host_->windowOf(*item->control) : nullptr;
    if (!window || !Ole().accessibleObjectFromWindow) return S_FALSE;
    return Ole().accessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IDispatch,
                                            reinterpret_cast<void**>(out));
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return Read(child, name, [&](const ui::AccessibleItem& item) { return item.name; },
                [&] { return WindowText(); });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return Read(child, value, [&](const ui::AccessibleItem& item) { return item.value; }, [] { return std::string(); });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return Read(child, description, [&](const ui::AccessibleItem& item) { return item.description; },
                [] { return std::string(); });
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    *role = Empty();
    const ui::AccessibleItem* item = nullptr;
    std::vector<ui::AccessibleItem> items;
    if (HRESULT hr = Find(child, items, item); hr != S_OK) return hr;
    *role = ChildId(item ? RoleOf(item->role) : ROLE_SYSTEM_CLIENT);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    *state = Empty();
    const ui::AccessibleItem* item = nullptr;
    std::vector<ui::AccessibleItem> items;
    if (HRESULT hr = Find(child, items, item); hr != S_OK) return hr;
    LONG bits = 0;
    const bool windowFocused = ::GetFocus() == host_->window;
    if (!item) {
      bits = STATE_SYSTEM_FOCUSABLE | (windowFocused ? STATE_SYSTEM_FOCUSED : 0);
    } else {
      if (item->focusable) bits |= STATE_SYSTEM_FOCUSABLE;
      if (item->focused && windowFocused) bits |= STATE_SYSTEM_FOCUSED;
      if (item->selectable) bits |= STATE_SYSTEM_SELECTABLE;
      if (item->selected) bits |= STATE_SYSTEM_SELECTED;
      if (item->unavailable) bits |= STATE_SYSTEM_UNAVAILABLE;
      if (item->checked) bits |= STATE_SYSTEM_CHECKED;
      if (item->role == ui::AccessibleRole::StaticText) bits |= STATE_SYSTEM_READONLY;
    }
    *state = ChildId(bits);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
    if (help) *help = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override {
    if (shortcut) *shortcut = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    *focus = Empty();
    if (!host_) return RPC_E_DISCONNECTED;
    if (::GetFocus() != host_->window) return S_FALSE;
    const std::vector<ui::AccessibleItem> items = Items();
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i].focused) {
        *focus = ChildId(static_cast<LONG>(i + 1));
        return S_OK;
      }
    *focus = ChildId(CHILDID_SELF);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (selection) *selection = Empty();
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return Read(child, action, [](const ui::AccessibleItem& item) {
      if (item.role == ui::AccessibleRole::PushButton) return std::string("Press");
      if (item.role == ui::AccessibleRole::PageTab) return std::string("Switch");
      return std::string();
    }, [] { return std::string(); });
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    const ui::AccessibleItem* item = nullptr;
    std::vector<ui::AccessibleItem> items;
    if (HRESULT hr = Find(child, items, item); hr != S_OK) return hr;
    RECT r{};
    if (item) {
      r = host_->toClient(item->bounds);
    } else {
      ::GetClientRect(host_->window, &r);
    }
    ::MapWindowPoints(host_->window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    *end = Empty();
    if (!host_) return RPC_E_DISCONNECTED;
    if (start.vt != VT_I4) return E_INVALIDARG;
    const LONG count = static_cast<LONG>(Items().size());
    LONG target = 0;
    switch (direction) {
      case NAVDIR_FIRSTCHILD: target = start.lVal == CHILDID_SELF ? 1 : 0; break;
      case NAVDIR_LASTCHILD: target = start.lVal == CHILDID_SELF ? count : 0; break;
      case NAVDIR_NEXT: target = start.lVal == CHILDID_SELF ? 0 : start.lVal + 1; break;
      case NAVDIR_PREVIOUS: target = start.lVal == CHILDID_SELF ? 0 : start.lVal - 1; break;
      default: return DISP_E_MEMBERNOTFOUND;
    }
    if (target < 1 || target > count) return S_FALSE;
    *end = ChildId(target);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
    if (!hit) return E_POINTER;
    *hit = Empty();
    if (!host_) return RPC_E_DISCONNECTED;
    POINT pt{x, y};
    ::ScreenToClient(host_->window, &pt);
    RECT client;
    ::GetClientRect(host_->window, &client);
    if (!::PtInRect(&client, pt)) return S_FALSE;
    const std::vector<ui::AccessibleItem> items = Items();
    // The keys and tabs come first in the list and lie over the painted texts.
    for (size_t i = 0; i < items.size(); ++i) {
      const RECT r = host_->toClient(items[i].bounds);
      if (::PtInRect(&r, pt)) {
        *hit = ChildId(static_cast<LONG>(i + 1));
        return S_OK;
      }
    }
    *hit = ChildId(CHILDID_SELF);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    const ui::AccessibleItem* item = nullptr;
    std::vector<ui::AccessibleItem> items;
    if (HRESULT hr = Find(child, items, item); hr != S_OK) return hr;
    if (!item || (item->role != ui::AccessibleRole::PushButton && item->role != ui::AccessibleRole::PageTab))
      return DISP_E_MEMBERNOTFOUND;
    if (item->unavailable) return E_FAIL;
    host_->defaultAction(*item->control);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  std::vector<ui::AccessibleItem> Items() const { return host_->program->AccessibleItems(); }
  std::string WindowText() const {
    wchar_t text[512] = L"";
    ::GetWindowTextW(host_->window, text, 512);
    return Narrow(text);
  }
  // The item `child` names (null for the client area itself); S_OK or the error for the call.
  HRESULT Find(const VARIANT& child, std::vector<ui::AccessibleItem>& items, const ui::AccessibleItem*& item) const {
    item = nullptr;
    if (!host_) return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4) return E_INVALIDARG;
    if (child.lVal == CHILDID_SELF) return S_OK;
    items = Items();
    if (child.lVal < 1 || static_cast<size_t>(child.lVal) > items.size()) return E_INVALIDARG;
    item = &items[static_cast<size_t>(child.lVal - 1)];
    return S_OK;
  }
  template <typename OfItem, typename OfSelf>
  HRESULT Read(const VARIANT& child, BSTR* out, OfItem ofItem, OfSelf ofSelf) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    const ui::AccessibleItem* item = nullptr;
    std::vector<ui::AccessibleItem> items;
    if (HRESULT hr = Find(child, items, item); hr != S_OK) return hr;
    return Text(item ? ofItem(*item) : ofSelf(), out);
  }

  const AccessibleHost* host_;
};

namespace {

// The system's object of a control's window, with the name, role, value and description the
// program tells (the system cannot find the painted text that names a box, and under some
// systems knows no more of an owner-drawn button than that it is a window).
class DescribedAccessible final : public AccessibleBase<DescribedAccessible> {
 public:
  DescribedAccessible(IAccessible* inner, ui::AccessibleItem item) : inner_(inner), item_(std::move(item)) {}

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (Self(child)) return Text(item_.name, name);
    return inner_->get_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!Self(child)) return inner_->get_accRole(child, role);
    if (!role) return E_POINTER;
    *role = ChildId(RoleOf(item_.role));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    const bool hasValue = item_.role == ui::AccessibleRole::Text || item_.role == ui::AccessibleRole::ComboBox;
    if (Self(child) && hasValue) return Text(item_.value, value);
    return inner_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    if (Self(child) && !item_.description.empty()) return Text(item_.description, description);
    return inner_->get_accDescription(child, description);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    const HRESULT hr = inner_->get_accState(child, state);
    if (Self(child) && SUCCEEDED(hr) && state && state->vt == VT_I4) {
      if (item_.checked) state->lVal |= STATE_SYSTEM_CHECKED;
      if (item_.unavailable) state->lVal |= STATE_SYSTEM_UNAVAILABLE;
    }
    return hr;
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override { return inner_->get_accParent(p); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* c) override { return inner_->get_accChildCount(c); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** d) override { return inner_->get_accChild(c, d); }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* h) override { return inner_->get_accHelp(c, h); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, LONG* t) override {
    return inner_->get_accHelpTopic(f, c, t);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* k) override {
    return inner_->get_accKeyboardShortcut(c, k);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* f) override { return inner_->get_accFocus(f); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* s) override { return inner_->get_accSelection(s); }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* a) override {
    return inner_->get_accDefaultAction(c, a);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG f, VARIANT c) override { return inner_->accSelect(f, c); }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* l, LONG* t, LONG* w, LONG* h, VARIANT c) override {
    return inner_->accLocation(l, t, w, h, c);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG d, VARIANT s, VARIANT* e) override { return inner_->accNavigate(d, s, e); }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* h) override { return inner_->accHitTest(x, y, h); }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override { return inner_->accDoDefaultAction(c); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR n) override { return inner_->put_accName(c, n); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR v) override { return inner_->put_accValue(c, v); }

 private:
  friend class AccessibleBase<DescribedAccessible>;
  ~DescribedAccessible() override { inner_->Release(); }
  static bool Self(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }
  IAccessible* inner_;
  ui::AccessibleItem item_;
};

}  // namespace

WindowAccessibility::WindowAccessibility(AccessibleHost host) : host_(std::move(host)) {}

WindowAccessibility::~WindowAccessibility() { Disconnect(); }

void WindowAccessibility::Disconnect() {
  if (!object_) return;
  object_->Disconnect();
  object_->Release();
  object_ = nullptr;
}

bool WindowAccessibility::Answer(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!ForClient(lParam) || !Ole().lresultFromObject) return false;
  if (!object_) object_ = new MainWindowAccessible(&host_);
  result = Ole().lresultFromObject(IID_IAccessible, wParam, object_);
  return true;
}

void WindowAccessibility::FocusChanged() {
  if (::GetFocus() != host_.window) return;  // a control's window raises its own
  const std::vector<ui::AccessibleItem> items = host_.program->AccessibleItems();
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].focused) {
      ::NotifyWinEvent(EVENT_OBJECT_FOCUS, host_.window, OBJID_CLIENT, static_cast<LONG>(i + 1));
      return;
    }
}

void WindowAccessibility::ContentsChanged() {
  std::vector<ui::AccessibleItem> now = host_.program->AccessibleItems();
  // Compared item by item for the controls both lists hold, in their places now.
  for (size_t i = 0; i < now.size(); ++i) {
    const ui::AccessibleItem& item = now[i];
    const LONG child = static_cast<LONG>(i + 1);
    for (const ui::AccessibleItem& before : last_) {
      if (before.control != item.control || before.role != item.role) continue;
      if (before.name != item.name) ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, host_.window, OBJID_CLIENT, child);
      if (before.value != item.value || before.description != item.description)
        ::NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, host_.window, OBJID_CLIENT, child);
      if (before.selected != item.selected)
        ::NotifyWinEvent(item.selected ? EVENT_OBJECT_SELECTION : EVENT_OBJECT_SELECTIONREMOVE, host_.window,
                         OBJID_CLIENT, child);
      if (before.unavailable != item.unavailable)
        ::NotifyWinEvent(EVENT_OBJECT_STATECHANGE, host_.window, OBJID_CLIENT, child);
      break;
    }
  }
  last_ = std::move(now);
}

bool AnswerAs(HWND window, WPARAM wParam, LPARAM lParam, const ui::AccessibleItem& item, LRESULT& result) {
  if (!ForClient(lParam) || !Ole().createStdAccessibleObject || !Ole().lresultFromObject) return false;
  IAccessible* inner = nullptr;
  if (FAILED(Ole().createStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&inner))) ||
      !inner)
    return false;
  auto* described = new DescribedAccessible(inner, item);
  result = Ole().lresultFromObject(IID_IAccessible, wParam, described);
  described->Release();  // the result holds its own reference
  return true;
}

}  // namespace kv::win32
