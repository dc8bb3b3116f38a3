// The Help button, which opens Keyvane.chm at the topic of the page shown, and the producer
// credit, which opens Keyvane's web site.
#include "app/form.h"
#include "app/settings_file.h"

namespace kv {

namespace {

constexpr const char* kHelpFileName = "Keyvane.chm";
constexpr const char* kProducerAddress = "https://www.keyvane.org/";

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

void TForm1::HelpButtonClick() {
  // A missing viewer or help file is not reported: the button simply does nothing then.
  platform.help.DisplayTopic(
      HelpTopicAddress(BesideExecutable(platform, kHelpFileName), HelpTopicOf(currentPage)));
}

void TForm1::Label29Click() {
  platform.processes.ShellExec("", kProducerAddress, "", "", platform::kSwShowNormal, false);
}

}  // namespace kv
