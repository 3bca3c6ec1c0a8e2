// Splitting of the process command line into words: the start-up rule that builds the
// program's word list, and the file-prompt rule that hands out file names one at a time.
#include "units/command_line.hpp"

namespace corvane::units {

namespace {

constexpr std::size_t max_prompt_word = 259;

bool is_startup_blank(char c) { return c == ' ' || c == '\t'; }

void skip_startup_blanks(std::string_view line, std::size_t& pos) {
    while (pos < line.size() && is_startup_blank(line[pos])) ++pos;
}

void skip_prompt_blanks(std::string_view line, std::size_t& pos) {
    while (pos < line.size() && line[pos] == ' ') ++pos;
}

bool ends_with_backslashes(const std::string& word, std::size_t count) {
    if (word.size() < count) return false;
    for (std::size_t i = word.size() - count; i < word.size(); ++i) {
        if (word[i] != '\\') return false;
    }
    return true;
}

// What a double quote at `pos` does to the word; returns true when it ends the word.
// Backslashes are copied as they come, so the backslashes just before the quote are the
// last characters of the word.
bool take_startup_quote(std::string_view line, std::size_t& pos, std::string& word,
                        bool& quoted) {
    ++pos;  // the quote itself is never copied as it stands
    if (ends_with_backslashes(word, 2)) {
        word.pop_back();
        return true;
    }
    if (ends_with_backslashes(word, 1)) {
        word.back() = '"';
        return false;
    }
    if (pos < line.size() && line[pos] == '"') {
        word.push_back('"');
        ++pos;
        return false;
    }
    if (quoted) return true;
    quoted = true;
    return false;
}

// Appends, within the kept length, one character of a prompt word.
void keep_prompt_char(std::string& word, char c) {
    if (word.size() < max_prompt_word) word.push_back(c);
}

// Copies quoted text starting after the opening quote at `pos - 1`; a doubled quote stands
// for one. An unclosed quote runs to the end of the line.
void take_prompt_quoted(std::string_view line, std::size_t& pos, std::string& word, char quote) {
    while (pos < line.size()) {
        const char c = line[pos++];
        if (c != quote) {
            keep_prompt_char(word, c);
        } else if (pos < line.size() && line[pos] == quote) {
            keep_prompt_char(word, quote);
            ++pos;
        } else {
            return;
        }
    }
}

}  // namespace

bool next_startup_word(std::string_view line, std::size_t& pos, std::string& word) {
    word.clear();
    skip_startup_blanks(line, pos);
    bool quoted = false;
    while (pos < line.size()) {
        const char c = line[pos];
        if (c == '"') {
            if (take_startup_quote(line, pos, word, quoted)) break;
        } else if (is_startup_blank(c) && !quoted) {
            break;
        } else {
            word.push_back(c);
            ++pos;
        }
    }
    skip_startup_blanks(line, pos);
    // A lone opening quote at the end of the line yields nothing: no word is left.
    return !word.empty();
}

std::vector<std::string> split_startup_words(std::string_view line) {
    std::vector<std::string> words;
    std::size_t pos = 0;
    std::string word;
    while (next_startup_word(line, pos, word)) words.push_back(word);
    return words;
}

bool next_prompt_word(std::string_view line, std::size_t& pos, std::string& word) {
    word.clear();
    skip_prompt_blanks(line, pos);
    if (pos >= line.size()) return false;
    while (pos < line.size() && line[pos] != ' ') {
        const char c = line[pos++];
        if (c == '\'' || c == '"') {
            take_prompt_quoted(line, pos, word, c);
        } else {
            keep_prompt_char(word, c);
        }
    }
    skip_prompt_blanks(line, pos);
    // A word made only of an empty quotation ('') is still a word: the caller uses it as is.
    return true;
}

}  // namespace corvane::units
