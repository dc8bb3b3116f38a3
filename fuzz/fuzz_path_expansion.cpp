// Arbitrary text as a key's path or web address, with a search term and an environment value
// (the input's three fields, cut at 0x01): expanding it never fails and never grows without
// bound, text without a "%" stays as it is, the search term goes in with its blanks as "+",
// and what is opened from it goes where it should (a web address always as http...). A stored
// command line splits into a program and parameters that are both taken from it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "actions/exec.h"
#include "app/form.h"
#include "core/error.h"
#include "core/text_util.h"
#include "fuzz/fuzz_support.h"

namespace {

using kv::fuzz::Check;

constexpr std::string_view kPlaceholder = "%SEARCHTERM%";

// The text with each placeholder (any letter case) replaced, when the text holds no other "%";
// nullopt when it does.
std::optional<std::string> WithTermOnly(const std::string& text, const std::string& term) {
  const std::string upper = kv::UpperAscii(text);
  std::string out;
  for (size_t at = 0; at < text.size();) {
    if (upper.compare(at, kPlaceholder.size(), kPlaceholder) == 0) {
      out += term;
      at += kPlaceholder.size();
    } else if (text[at] == '%') {
      return std::nullopt;
    } else {
      out += text[at++];
    }
  }
  return out;
}

void CheckExpansion(kv::TForm1& form, const std::string& text, const std::string& term,
                    const std::string& value) {
  const std::string expanded = form.ReplaceEnvironmentVariable(text);
  if (text.find('%') == std::string::npos) Check(expanded == text);
  Check(expanded.size() <= (text.size() + 1) * (term.size() + 1) * (value.size() + 12));
  if (term.find('%') == std::string::npos) {
    std::string typed = term;
    for (char& c : typed)
      if (c == ' ') c = '+';
    if (const std::optional<std::string> expected = WithTermOnly(text, typed)) Check(expanded == *expected);
  }
}

void CheckCommandSplit(const std::string& command) {
  const kv::CommandParts parts = kv::SplitCommand(command);
  Check(command.find(parts.program) != std::string::npos);
  Check(command.find(parts.parameters) != std::string::npos);
  Check(parts.parameters.empty() || parts.parameters.front() != ' ');
  const size_t start = command.find_first_not_of(' ');
  if (start != std::string::npos && command[start] == '"') Check(parts.program.find('"') == std::string::npos);
  const kv::PathParts path = kv::SplitFilePath(command);
  Check(path.fileName.find_first_of("\\:") == std::string::npos);
  Check(path.directory.size() + path.fileName.size() <= command.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static kv::fake::FakePlatform fp;
  static kv::TForm1 form(fp.platform(), {});  // built once: expansion needs only the platform
  const auto [textField, termField, valueField] =
      kv::fuzz::Split<3>(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string text(textField), value(valueField);
  // An empty term would ask the user for one; the question itself is not what is fuzzed here.
  const std::string term = termField.empty() ? "a b" : std::string(termField);
  form.searchTerm = term;
  fp.env = {{"WINDIR", "C:\\WINDOWS"}, {"V", value}, {"PATH", "C:\\WINDOWS;C:\\Tools"}};

  CheckExpansion(form, text, term, value);
  fp.shellExecutes.clear();
  form.OpenBrowser(text);
  Check(fp.shellExecutes.size() == 1 && fp.shellExecutes[0].size() >= 10 &&
        kv::UpperAscii(fp.shellExecutes[0].substr(5, 4)) == "HTTP");
  form.RunFile(text);
  form.OpenExplorer(text);
  CheckCommandSplit(text);
  kv::fuzz::ForgetRecords(fp);
  return 0;
}
