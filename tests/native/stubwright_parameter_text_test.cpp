#include "core/parameter_text.h"

#include <gtest/gtest.h>

namespace stubwright {
namespace {

struct QuoteCase {
  const char* name;
  std::string argument;
  std::string quoted;
};

class QuoteRuleTest : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(QuoteRuleTest, TurnsALeadingSingleQuoteAndTheLastCharacterIntoDoubleQuotes) {
  EXPECT_EQ(ApplyQuoteRule(GetParam().argument), GetParam().quoted);
}

INSTANTIATE_TEST_SUITE_P(Cases, QuoteRuleTest,
                         ::testing::Values(QuoteCase{"SingleQuotedArgument", "'two words'", "\"two words\""},
                                           QuoteCase{"NoClosingSingleQuoteLosesTheLastCharacter", "'abc", "\"ab\""},
                                           QuoteCase{"LoneSingleQuoteBecomesOneDoubleQuote", "'", "\""},
                                           QuoteCase{"TwoSingleQuotesBecomeTwoDoubleQuotes", "''", "\"\""},
                                           QuoteCase{"TrailingSingleQuoteAloneStays", "abc'", "abc'"},
                                           QuoteCase{"InnerSingleQuoteStays", "a'b", "a'b"},
                                           QuoteCase{"DoubleQuotesStay", "\"x\"", "\"x\""},
                                           QuoteCase{"EmptyArgumentStays", "", ""}),
                         [](const ::testing::TestParamInfo<QuoteCase>& info) { return std::string(info.param.name); });

struct TextCase {
  const char* name;
  ArgumentList stored;
  ArgumentList own;
  std::string text;
};

class ParameterTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ParameterTextTest, JoinsStoredThenOwnArgumentsAndTrimsTheEnds) {
  EXPECT_EQ(BuildParameterText(GetParam().stored, GetParam().own), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParameterTextTest,
    ::testing::Values(
        TextCase{"StoredArgumentsComeFirstEachSeparatedByOneSpace",
                 {"s1", "'two words'"},
                 {"o1", "'o2'"},
                 "s1 \"two words\" o1 \"o2\""},
        TextCase{"StoredArgumentsAlone", {"a", "b"}, {}, "a b"}, TextCase{"OwnArgumentsAlone", {}, {"/b", "x"}, "/b x"},
        TextCase{"BothListsEmptyGiveEmptyText", {}, {}, ""},
        TextCase{"OnlyEmptyArgumentsGiveEmptyText", {""}, {"", ""}, ""},
        TextCase{"EmptyArgumentInTheMiddleLeavesTwoSpaces", {"a", ""}, {"b"}, "a  b"},
        TextCase{"BlanksAtTheEndsOfTheWholeTextAreTrimmed", {" \t a"}, {"b \r\n"}, "a b"},
        TextCase{"BlanksInsideTheTextStay", {"a  "}, {" b"}, "a    b"},
        TextCase{"ZeroBytesAtTheEndAreTrimmed", {"a", std::string(2, '\0')}, {}, "a"},
        TextCase{"AnsiLettersAtTheEndsAreNotBlanks", {"\xE4"}, {"\xA0"}, "\xE4 \xA0"},
        TextCase{"QuoteRuleAppliesToOwnArgumentsToo", {}, {"'C:\\My Files\\a.txt'"}, "\"C:\\My Files\\a.txt\""}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace stubwright
