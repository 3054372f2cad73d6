#include "customize/filter_text.h"

namespace loomkeys {
namespace {

bool IsTrimmed(char16_t c) { return c <= 32; }

}  // namespace

std::u16string TrimFilterText(std::u16string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsTrimmed(text[begin])) ++begin;
  while (end > begin && IsTrimmed(text[end - 1])) --end;
  return std::u16string(text.substr(begin, end - begin));
}

std::u16string LowerAsciiLetters(std::u16string_view text) {
  std::u16string lower(text);
  for (char16_t& c : lower) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return lower;
}

bool NameMatchesFilter(std::u16string_view name, std::u16string_view lowerFilter) {
  return lowerFilter.empty() || LowerAsciiLetters(name).find(lowerFilter) != std::u16string::npos;
}

}  // namespace loomkeys
