// Splitting of the process command line into words.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::units {

// The start-up rule: a word ends at a blank or tab outside double quotes, or at the end of
// the line. A double quote after two backslashes drops one of them and ends the word; after
// one backslash it replaces that backslash; followed by another double quote it gives one
// double quote; otherwise it opens quoting, or, inside quotes, ends the word.
// Reads the word at `pos` (blanks and tabs before it are skipped), moves `pos` past it and the
// blanks and tabs after it, and returns false when no word is left.
bool next_startup_word(std::string_view line, std::size_t& pos, std::string& word);
std::vector<std::string> split_startup_words(std::string_view line);

// The file-prompt rule: words separated by blanks; text between single or double quotes is
// taken literally, a doubled quote standing for one; at most 259 characters of a word kept
// (the rest is passed over). Moves `pos` past the word and the blanks after it; returns false
// when only blanks are left. A word may be empty ('').
bool next_prompt_word(std::string_view line, std::size_t& pos, std::string& word);

}  // namespace corvane::units
