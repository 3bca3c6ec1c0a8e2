#include "units/command_line.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane::units {

namespace {

using Words = std::vector<std::string>;

Words prompt_words(std::string_view line) {
    Words words;
    std::size_t pos = 0;
    std::string word;
    while (next_prompt_word(line, pos, word)) words.push_back(word);
    return words;
}

}  // namespace

TEST(StartupWordsTest, BlanksTabsAndQuotedBlanks) {
    EXPECT_EQ(split_startup_words(R"(prog "a b" c)"), (Words{"prog", "a b", "c"}));
    EXPECT_EQ(split_startup_words("prog\t a\t\tb  "), (Words{"prog", "a", "b"}));
    EXPECT_EQ(split_startup_words("  lead"), (Words{"lead"}));
    EXPECT_EQ(split_startup_words("a\"b c\"d"), (Words{"ab c", "d"}));  // closing quote ends
    EXPECT_EQ(split_startup_words("\"open to end"), (Words{"open to end"}));
    EXPECT_EQ(split_startup_words("\"tab\there\""), (Words{"tab\there"}));
    EXPECT_TRUE(split_startup_words("").empty());
    EXPECT_TRUE(split_startup_words(" \t ").empty());
    EXPECT_EQ(split_startup_words("x \""), (Words{"x"}));  // a lone quote is no word
}

TEST(StartupWordsTest, BackslashesAndDoubledQuotes) {
    // One backslash: the quote replaces it and quoting does not start.
    EXPECT_EQ(split_startup_words(R"(a\"b c)"), (Words{R"(a"b)", "c"}));
    // Two backslashes: one is dropped and the quote ends the word.
    EXPECT_EQ(split_startup_words(R"(a\\"b c)"), (Words{R"(a\)", "b", "c"}));
    // Only the two characters before the quote count.
    EXPECT_EQ(split_startup_words(R"(a\\\"b)"), (Words{R"(a\\)", "b"}));
    // Backslashes not before a quote are ordinary characters.
    EXPECT_EQ(split_startup_words(R"(c:\dir\\f x)"), (Words{R"(c:\dir\\f)", "x"}));
    // A doubled quote gives one quote, outside and inside quotes.
    EXPECT_EQ(split_startup_words(R"(a""b)"), (Words{R"(a"b)"}));
    EXPECT_EQ(split_startup_words(R"("say ""hi"" now" z)"), (Words{R"(say "hi" now)", "z"}));
    EXPECT_EQ(split_startup_words(R"("" x)"), (Words{R"(")", "x"}));
}

TEST(StartupWordsTest, CursorMovesPastTrailingBlanks) {
    const std::string_view line = "prog  \t\"a b\"\t c";
    std::size_t pos = 0;
    std::string word;
    ASSERT_TRUE(next_startup_word(line, pos, word));
    EXPECT_EQ(word, "prog");
    EXPECT_EQ(pos, 7u);  // at the opening quote
    ASSERT_TRUE(next_startup_word(line, pos, word));
    EXPECT_EQ(word, "a b");
    EXPECT_EQ(pos, 14u);
    ASSERT_TRUE(next_startup_word(line, pos, word));
    EXPECT_EQ(word, "c");
    EXPECT_EQ(pos, line.size());
    EXPECT_FALSE(next_startup_word(line, pos, word));
    EXPECT_TRUE(word.empty());
}

TEST(PromptWordsTest, BlanksQuotesAndDoubledQuotes) {
    EXPECT_EQ(prompt_words("prog in.dat  out.dat "), (Words{"prog", "in.dat", "out.dat"}));
    EXPECT_EQ(prompt_words("p 'a b' \"c d\""), (Words{"p", "a b", "c d"}));
    EXPECT_EQ(prompt_words("dir/'my file'.txt"), (Words{"dir/my file.txt"}));
    EXPECT_EQ(prompt_words("'it''s' \"say \"\"x\"\"\""), (Words{"it's", "say \"x\""}));
    EXPECT_EQ(prompt_words("'a\"b' \"c'd\""), (Words{"a\"b", "c'd"}));  // the other quote is text
    EXPECT_EQ(prompt_words("'open to end"), (Words{"open to end"}));
    EXPECT_EQ(prompt_words("a\tb c"), (Words{"a\tb", "c"}));  // only blanks separate
    EXPECT_EQ(prompt_words("'' x"), (Words{"", "x"}));        // an empty word is still a word
    EXPECT_TRUE(prompt_words("").empty());
    EXPECT_TRUE(prompt_words("   ").empty());
}

TEST(PromptWordsTest, LongWordsAreCutAndCursorMoves) {
    const std::string long_word(300, 'x');
    const std::string line = "prog " + long_word + "   next";
    std::size_t pos = 0;
    std::string word;
    ASSERT_TRUE(next_prompt_word(line, pos, word));
    EXPECT_EQ(word, "prog");
    EXPECT_EQ(pos, 5u);
    ASSERT_TRUE(next_prompt_word(line, pos, word));
    EXPECT_EQ(word, std::string(259, 'x'));
    EXPECT_EQ(pos, 5u + 300u + 3u);  // the rest of the word is passed over
    ASSERT_TRUE(next_prompt_word(line, pos, word));
    EXPECT_EQ(word, "next");
    EXPECT_FALSE(next_prompt_word(line, pos, word));

    // The cut counts kept characters, quoted text included.
    const std::string quoted = "'" + std::string(258, 'q') + "''z'";
    EXPECT_EQ(prompt_words(quoted), (Words{std::string(258, 'q') + "'"}));
    EXPECT_EQ(prompt_words(std::string(259, 'y')), (Words{std::string(259, 'y')}));
}

}  // namespace corvane::units
