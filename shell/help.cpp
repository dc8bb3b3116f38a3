// The Help button, which opens Keyvane.chm at the topic of the page shown, and the producer
// credit, which opens Keyvane's web site.
#include <optional>
#include <string>

#include "app/form.h"
#include "app/settings_file.h"
#include "core/text_util.h"

namespace kv {

namespace {

constexpr const char* kHelpFileName = "Keyvane.chm";
constexpr const char* kProducerAddress = "https://www.keyvane.org/";
constexpr const char* kUnblockQuestion =
    "Keyvane's help file carries the mark of a downloaded file, and Windows shows its pages blank "
    "until it is unblocked.\n\nUnblock Keyvane.chm now? (This is what Unblock in the file's Properties does.)";

// Zones beyond the local intranet: the help viewer shows no page of a file from them.
constexpr int kFirstBlockedZone = 2;

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string CannotUnblockText(const std::string& helpFile) {
  const std::string folder = helpFile.substr(0, helpFile.find_last_of('\\') + 1);
  return "Keyvane could not unblock its help file, so its pages stay blank.\n\nTo unblock it "
         "yourself, right-click Keyvane.chm in " + folder +
         ", choose Properties, tick Unblock and click OK.";
}

// "Topic1", "Topic1.htm" and "Topic1.html" all name the same page.
bool HasHtmExtension(const std::string& topic) {
  const size_t dot = topic.find_last_of('.');
  if (dot == std::string::npos || topic.find('/', dot) != std::string::npos) return false;
  std::string extension = topic.substr(dot, 4);
  for (char& c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return extension == ".htm";
}

}  // namespace

std::string HelpTopicAddress(const std::string& helpFile, const std::string& topic) {
  return helpFile + "::/" + (HasHtmExtension(topic) ? topic : topic + ".htm");
}

const char* HelpTopicOf(PageId page) {
  switch (page) {
    case PageId::Editor:
      return "Topic5.htm";
    case PageId::Themes:
      return "Topic7.htm";
    case PageId::Intro:
      break;
  }
  return "Topic1.htm";
}

std::optional<int> DownloadZone(const std::string& mark) {
  bool inZoneTransfer = false;
  size_t start = mark.starts_with("\xEF\xBB\xBF") ? 3 : 0;  // a UTF-8 byte-order mark
  while (start < mark.size()) {
    size_t end = mark.find_first_of("\r\n", start);
    if (end == std::string::npos) end = mark.size();
    const std::string line = Trimmed(mark.substr(start, end - start));
    start = end + 1;
    if (!line.empty() && line.front() == '[') {
      inZoneTransfer = EqualsIgnoringCase(line, "[ZoneTransfer]");
      continue;
    }
    const size_t equals = line.find('=');
    if (!inZoneTransfer || equals == std::string::npos || !EqualsIgnoringCase(Trimmed(line.substr(0, equals)), "ZoneId"))
      continue;
    const std::string value = Trimmed(line.substr(equals + 1));
    if (value.empty() || value.size() > 9 ||
        value.find_first_not_of("0123456789") != std::string::npos)
      return std::nullopt;
    return std::stoi(value);
  }
  return std::nullopt;
}

void TForm1::HelpButtonClick() {
  const std::string helpFile = BesideExecutable(platform, kHelpFileName);
  // A help file unpacked from a downloaded zip carries the download mark, and the viewer then
  // opens with blank pages: offer to lift the mark first. Help opens whatever the answer.
  const std::optional<std::string> mark = platform.help.ReadDownloadMark(helpFile);
  const std::optional<int> zone = mark ? DownloadZone(*mark) : std::nullopt;
  if (zone && *zone >= kFirstBlockedZone &&
      platform.dialogs.ShowMessage(kUnblockQuestion, kProductName,
                                   platform::mb::kYesNo | platform::mb::kIconQuestion) == platform::mb::kIdYes &&
      !platform.help.RemoveDownloadMark(helpFile)) {
    platform.dialogs.ShowMessage(CannotUnblockText(helpFile), kProductName,
                                 platform::mb::kOk | platform::mb::kIconWarning);
  }
  // A missing viewer or help file is not reported: the button simply does nothing then.
  platform.help.DisplayTopic(HelpTopicAddress(helpFile, HelpTopicOf(currentPage)));
}

void TForm1::Label29Click() {
  platform.processes.ShellExec("", kProducerAddress, "", "", platform::kSwShowNormal, false);
}

}  // namespace kv
