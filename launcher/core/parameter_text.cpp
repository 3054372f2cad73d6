#include "core/parameter_text.h"

namespace stubwright {
namespace {

// Compared as unsigned: bytes 0x80 and up are ANSI letters, not blanks.
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

void AppendArguments(std::string& text, const ArgumentList& arguments) {
  for (const std::string& argument : arguments) {
    text += ApplyQuoteRule(argument);
    text += ' ';
  }
}

}  // namespace

std::string ApplyQuoteRule(std::string_view argument) {
  std::string result(argument);
  if (!result.empty() && result.front() == '\'') {
    result.front() = '"';
    result.back() = '"';
  }
  return result;
}

std::string BuildParameterText(const ArgumentList& storedArguments, const ArgumentList& ownArguments) {
  std::string text;
  AppendArguments(text, storedArguments);
  AppendArguments(text, ownArguments);
  size_t first = 0;
  while (first < text.size() && IsBlank(text[first])) ++first;
  size_t last = text.size();
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

}  // namespace stubwright
