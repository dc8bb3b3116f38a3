// What the harnesses share: a failed check stops the run where the fuzzer sees it, the input
// is cut into fields, and a simulated platform kept across inputs forgets what it recorded, so
// that it does not grow.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "tests/fakes/fake_platform.h"

namespace kv::fuzz {

inline void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// The input cut at its 0x01 bytes into N fields, the last taking the rest; missing fields are
// empty.
template <size_t N>
std::array<std::string_view, N> Split(std::string_view bytes) {
  std::array<std::string_view, N> parts{};
  for (size_t i = 0; i + 1 < N; ++i) {
    const size_t cut = bytes.find('\x01');
    parts[i] = bytes.substr(0, cut);
    bytes = cut == std::string_view::npos ? std::string_view() : bytes.substr(cut + 1);
  }
  parts[N - 1] = bytes;
  return parts;
}

inline void ForgetRecords(fake::FakePlatform& fp) {
  fp.effects = decltype(fp.effects){};
  fp.log.clear();
  fp.hotKeyLog.clear();
  fp.balloons.clear();
  fp.messages.clear();
  fp.errors.clear();
  fp.inputBoxes.clear();
  fp.inputInitials.clear();
  fp.started.clear();
  fp.startShowCommands.clear();
  fp.findExecutableCalls.clear();
  fp.shellExecutes.clear();
  fp.winExecs.clear();
  fp.keyEvents.clear();
  fp.printed.clear();
}

}  // namespace kv::fuzz
