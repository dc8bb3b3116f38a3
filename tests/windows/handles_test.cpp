// The resource owners close exactly once, whoever ends up holding the resource.
#include "platform/win32/handles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <utility>

namespace kv::win32 {
namespace {

bool IsOpen(HANDLE handle) {
  DWORD flags = 0;
  return ::GetHandleInformation(handle, &flags) != 0;
}

TEST(UniqueHandleTest, ClosesOnceAfterMovesAndResets) {
  HANDLE raw = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(raw, nullptr);
  {
    UniqueHandle first(raw);
    UniqueHandle second(std::move(first));
    EXPECT_FALSE(first);
    UniqueHandle third;
    third = std::move(second);
    third = std::move(third);  // self-move keeps it
    EXPECT_TRUE(IsOpen(raw));
  }
  EXPECT_FALSE(IsOpen(raw));

  HANDLE replaced = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE replacement = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  UniqueHandle owner(replaced);
  owner.reset(replacement);
  EXPECT_FALSE(IsOpen(replaced));
  EXPECT_TRUE(IsOpen(replacement));
  HANDLE released = owner.release();
  EXPECT_FALSE(owner);
  EXPECT_TRUE(IsOpen(released));
  ::CloseHandle(released);

  // A failed CreateFile's INVALID_HANDLE_VALUE is "nothing", not a handle to close.
  UniqueHandle failed(::CreateFileW(L"Z:\\no\\such\\folder\\file", GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(failed);
}

// Counts references like a COM object and reports when it is freed.
class Counted final : public IUnknown {
 public:
  explicit Counted(bool& freed) : freed_(freed) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == __uuidof(IUnknown)) {
      *out = static_cast<IUnknown*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++count_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --count_;
    if (left == 0) {
      freed_ = true;
      delete this;
    }
    return left;
  }

 private:
  ULONG count_ = 1;
  bool& freed_;
};

TEST(ComPtrTest, ReleasesEveryReferenceItHolds) {
  bool freed = false;
  {
    ComPtr<IUnknown> object(new Counted(freed));
    ComPtr<IUnknown> asked;
    ASSERT_EQ(object.As(asked), S_OK);
    EXPECT_EQ(asked.get(), object.get());
    ComPtr<IUnknown> moved(std::move(object));
    EXPECT_FALSE(object);
    asked.reset();
    EXPECT_FALSE(freed) << "the moved-to pointer still holds one reference";
  }
  EXPECT_TRUE(freed);

  ComPtr<IUnknown> empty;
  ComPtr<IUnknown> out;
  EXPECT_EQ(empty.As(out), E_POINTER);
}

TEST(UniqueMenuTest, DestroysTheMenuOnceWhoeverHoldsItLast) {
  HMENU raw = ::CreatePopupMenu();
  ASSERT_NE(raw, nullptr);
  {
    UniqueMenu first(raw);
    ::AppendMenuW(first.get(), MF_STRING, 1, L"Item");
    UniqueMenu second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_TRUE(::IsMenu(raw));
  }
  EXPECT_FALSE(::IsMenu(raw));
}

}  // namespace
}  // namespace kv::win32
