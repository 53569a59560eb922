#include "runtime/process/process_launch.h"

#include <utility>

namespace vardelle {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Blank-separated words; quotes group blanks into a word and are dropped.
std::vector<std::string> CommandLineWords(const std::string& commandLine) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (char c : commandLine) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if (IsBlank(c) && !quoted) {
      if (inWord) words.push_back(std::exchange(word, {}));
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

}  // namespace

bool RunCommandLine(ProcessLauncher& launcher, const std::string& commandLine, bool wait) {
  const std::vector<std::string> words = CommandLineWords(commandLine);
  return !words.empty() && launcher.Start(words, wait);
}

}  // namespace vardelle
