#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hk {

// One topic of the program's own help.
struct HelpTopic {
  std::string title;     // Shift-JIS
  unsigned context = 0;  // the number the windows ask for help with; 0 for none
  std::string text;      // the heading and the body, lines ended by CR LF
};

// The help's topics from its Markdown text (Shift-JIS): every "## " heading
// begins one, and "{#n}" at the end of the heading gives its context number.
// Whatever comes before the first such heading is not a topic. In the text,
// "### " headings become lines of their own marked with "■" and "- " list
// items begin with "・", so a plain edit control shows it readably.
std::vector<HelpTopic> ParseHelpTopics(std::string_view markdown);

// The topic that answers the context number: the first one when none does.
std::size_t HelpTopicFor(const std::vector<HelpTopic>& topics, unsigned context);

}  // namespace hk
