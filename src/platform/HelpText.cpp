#include "platform/HelpText.h"

#include <cstdlib>

namespace hk {
namespace {

constexpr std::string_view kTopicMark = "## ";
constexpr std::string_view kSubheadingMark = "### ";
constexpr std::string_view kCrLf = "\r\n";

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// "Title {#256}": the title, and the number when the mark is there and whole.
HelpTopic TopicHeading(std::string_view heading) {
  HelpTopic topic;
  heading = TrimBlanks(heading);
  const std::size_t mark = heading.rfind("{#");
  if (mark != std::string_view::npos && heading.back() == '}') {
    const std::string digits(heading.substr(mark + 2, heading.size() - mark - 3));
    char* end = nullptr;
    const unsigned long number = std::strtoul(digits.c_str(), &end, 10);
    if (!digits.empty() && *end == '\0' && digits.front() != '-') {
      topic.context = static_cast<unsigned>(number);
      heading = TrimBlanks(heading.substr(0, mark));
    }
  }
  topic.title = std::string(heading);
  return topic;
}

// A line of the body as the help window shows it.
std::string ShownLine(std::string_view line) {
  if (StartsWith(line, kSubheadingMark)) {
    return "■" + std::string(TrimBlanks(line.substr(kSubheadingMark.size())));
  }
  const std::size_t indent = line.find_first_not_of(' ');
  if (indent != std::string_view::npos && StartsWith(line.substr(indent), "- ")) {
    return std::string(indent, ' ') + "・" + std::string(line.substr(indent + 2));
  }
  return std::string(line);
}

// The heading, a blank line and the body without blank lines at its ends.
void Finish(HelpTopic& topic, const std::vector<std::string>& body) {
  std::size_t first = 0;
  std::size_t last = body.size();
  while (first < last && body[first].empty()) ++first;
  while (last > first && body[last - 1].empty()) --last;
  topic.text = topic.title;
  topic.text += kCrLf;
  for (std::size_t i = first; i < last; ++i) {
    topic.text += kCrLf;
    topic.text += body[i];
  }
}

}  // namespace

std::vector<HelpTopic> ParseHelpTopics(std::string_view markdown) {
  std::vector<HelpTopic> topics;
  std::vector<std::string> body;
  while (!markdown.empty()) {
    const std::size_t end = markdown.find('\n');
    std::string_view line = markdown.substr(0, end);
    markdown.remove_prefix(end == std::string_view::npos ? markdown.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (StartsWith(line, kTopicMark)) {
      if (!topics.empty()) Finish(topics.back(), body);
      topics.push_back(TopicHeading(line.substr(kTopicMark.size())));
      body.clear();
    } else if (!topics.empty()) {
      body.push_back(ShownLine(line));
    }
  }
  if (!topics.empty()) Finish(topics.back(), body);
  return topics;
}

std::size_t HelpTopicFor(const std::vector<HelpTopic>& topics, unsigned context) {
  for (std::size_t i = 0; i < topics.size(); ++i) {
    if (context != 0 && topics[i].context == context) return i;
  }
  return 0;
}

}  // namespace hk
