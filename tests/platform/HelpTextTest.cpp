#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/HelpText.h"

namespace hk {
namespace {

TEST(HelpText, TopicsComeFromTheSecondLevelHeadings) {
  struct Case {
    const char* name;
    std::string markdown;
    std::vector<HelpTopic> topics;
  };
  const Case cases[] = {
      {"preface, context, sub-heading and list",
       "# Help\r\npreface\r\n## Main {#256}\r\n\r\nIntro\r\n### Parts\r\n- one\r\n  - two\r\n\r\n",
       {{"Main", 256, "Main\r\n\r\nIntro\r\n■Parts\r\n・one\r\n  ・two"}}},
      {"no mark, and a mark that is not a number, give no context",
       "## Plain\nText\n## Odd {#x1}\n## Less {#-3}",
       {{"Plain", 0, "Plain\r\n\r\nText"},
        {"Odd {#x1}", 0, "Odd {#x1}\r\n"},
        {"Less {#-3}", 0, "Less {#-3}\r\n"}}},
      {"nothing but a preface", "# Help\ntext\n", {}},
  };
  for (const Case& c : cases) {
    const std::vector<HelpTopic> topics = ParseHelpTopics(c.markdown);
    ASSERT_EQ(topics.size(), c.topics.size()) << c.name;
    for (std::size_t i = 0; i < topics.size(); ++i) {
      EXPECT_EQ(topics[i].title, c.topics[i].title) << c.name;
      EXPECT_EQ(topics[i].context, c.topics[i].context) << c.name;
      EXPECT_EQ(topics[i].text, c.topics[i].text) << c.name;
    }
  }
}

TEST(HelpText, AContextNoTopicHasOpensTheFirst) {
  const std::vector<HelpTopic> topics = ParseHelpTopics("## A {#256}\n## B\n## C {#273}\n");
  EXPECT_EQ(HelpTopicFor(topics, 273), 2u);
  EXPECT_EQ(HelpTopicFor(topics, 0), 0u);
  EXPECT_EQ(HelpTopicFor(topics, 999), 0u);
}

#ifdef HK_HELP_TEXT
// The program's help answers each window's context with a topic of its own.
TEST(HelpText, TheProgramsHelpHasATopicForEveryWindow) {
  std::ifstream file(HK_HELP_TEXT, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const std::vector<HelpTopic> topics = ParseHelpTopics(text);
  std::multiset<unsigned> contexts;
  for (const HelpTopic& topic : topics) {
    if (topic.context) contexts.insert(topic.context);
    EXPECT_GT(topic.text.size(), topic.title.size() + 40) << topic.title;
  }
  EXPECT_EQ(contexts, (std::multiset<unsigned>{256, 265, 273}));
}
#endif

}  // namespace
}  // namespace hk
