// The simulated Windows's one record of what the program made it do: every effect, in the
// order it happened, each tagged with the service that simulated it. A test takes a mark,
// runs the program, and compares the lines since the mark with the complete list it expects,
// so "this and nothing else happened" is one assertion.
//
// Line format: a verb, then what it acted on, as in "start C:\x\tool.exe", "register 49153",
// "key down 0x11 scan 0", "end session 0x2". Queries (file reads, registry reads, the
// version, the clock) are not effects and leave no line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kv::fake {

enum class Service {
  System,       // mutex, atoms
  Files,        // file writes and deletions
  HotKeys,      // registration and its release
  Tray,         // icon, image, balloons
  Dialogs,      // message, error and input boxes
  Application,  // title, minimize, restore, close, quit, tray menu, posted click
  Processes,    // starting, waiting, closing, shell and WinExec calls
  Power,        // the suspend entry point, suspending, the shutdown privilege, the session end
  Keyboard,     // synthetic key events
  Clipboard,    // clipboard text
  Shortcuts,    // shell links written
  Wow64,        // file-system redirection switched off and on
  Printing,     // the print dialog and print jobs
  Help,         // topics the help viewer was asked to show
};

struct Effect {
  Service service;
  std::string line;
  bool operator==(const Effect&) const = default;
};

class EffectLog {
 public:
  using Mark = size_t;

  void Record(Service service, std::string line) { entries_.push_back({service, std::move(line)}); }

  // A point to compare from: Since(Now()) is empty until the next effect.
  Mark Now() const { return entries_.size(); }

  std::vector<std::string> Since(Mark mark) const {
    std::vector<std::string> lines;
    for (size_t i = mark; i < entries_.size(); ++i) lines.push_back(entries_[i].line);
    return lines;
  }
  std::vector<std::string> Lines() const { return Since(0); }

  // The lines of one service since `mark`, in order.
  std::vector<std::string> Of(Service service, Mark mark = 0) const {
    std::vector<std::string> lines;
    for (size_t i = mark; i < entries_.size(); ++i)
      if (entries_[i].service == service) lines.push_back(entries_[i].line);
    return lines;
  }

  const std::vector<Effect>& entries() const { return entries_; }
  bool empty() const { return entries_.empty(); }
  size_t size() const { return entries_.size(); }

 private:
  std::vector<Effect> entries_;
};

}  // namespace kv::fake
