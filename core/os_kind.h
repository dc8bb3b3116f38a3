// The class of the running Windows, computed once at start-up: 0 for any version not
// recognised (every version after Vista included), 1 to 3 for Windows 95, 98 and Me, 4 for
// NT 4 and older, 5 to 8 for NT 5.0, 5.1, 5.2 and 6.0. Stored and compared as its number.
#pragma once

namespace kv {

class OsKind {
 public:
  constexpr OsKind(int value = 0) : value_(value) {}  // NOLINT: a kind is its number
  constexpr operator int() const { return value_; }   // NOLINT

  // Windows NT 4 to Vista.
  constexpr bool IsNtFamily() const { return value_ >= 4 && value_ <= 8; }
  // Windows 2000 to Vista keep F12 for the debugger: it cannot be a hot key there.
  constexpr bool ReservesF12() const { return value_ >= 5 && value_ <= 8; }
  // Windows XP and Vista show network connections through ncpa.cpl, older ones netcpl.cpl.
  constexpr bool IsXpOrVista() const { return value_ == 6 || value_ == 8; }
  // Windows Vista (and Server 2008): its games live under "Microsoft Games".
  constexpr bool IsVista() const { return value_ == 8; }

 private:
  int value_;
};

}  // namespace kv
