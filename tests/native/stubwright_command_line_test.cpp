#include "core/command_line.h"

#include <gtest/gtest.h>

namespace stubwright {
namespace {

struct SplitCase {
  const char* name;
  std::string commandLine;
  ArgumentList parameters;
};

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, GivesTheParametersInOrder) {
  EXPECT_EQ(SplitCommandLine(GetParam().commandLine), GetParam().parameters);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitCommandLineTest,
    ::testing::Values(SplitCase{"SpacesSeparate", "prog a b c", {"prog", "a", "b", "c"}},
                      SplitCase{"AnyRunOfControlCharactersAndSpacesSeparates",
                                "prog\t\r\n\x01 \x1F"
                                "a \x20\x02 b",
                                {"prog", "a", "b"}},
                      SplitCase{"LeadingAndTrailingSeparatorsGiveNoEmptyParameters", "  \t a b \t  ", {"a", "b"}},
                      SplitCase{"NothingButSeparatorsGivesNoParameters", " \t\r\n ", {}},
                      SplitCase{"EmptyTextGivesNoParameters", "", {}},
                      SplitCase{"QuotedStretchKeepsItsSpaces",
                                "\"C:\\Program Files\\x.exe\" \"a  b\" c",
                                {"C:\\Program Files\\x.exe", "a  b", "c"}},
                      SplitCase{"QuotedStretchKeepsControlCharacters", "\"a\tb\"", {"a\tb"}},
                      SplitCase{"QuotesInsideAParameterJoinItsPieces", "a\"b c\"d e", {"ab cd", "e"}},
                      SplitCase{"EmptyQuotesAreAnEmptyParameter", "prog \"\" x", {"prog", "", "x"}},
                      SplitCase{"UnclosedQuoteRunsToTheEnd", "a \"b c ", {"a", "b c "}},
                      SplitCase{"BackslashEscapesNothing", "a\\\"b c\" d\\", {"a\\b c", "d\\"}},
                      SplitCase{"SingleQuotesAreOrdinaryCharacters", "'a b'", {"'a", "b'"}},
                      SplitCase{"BytesFromDelUpAreNoSeparators",
                                "a\x7F"
                                "b \xA0\xE4 \xFF",
                                {"a\x7F"
                                 "b",
                                 "\xA0\xE4", "\xFF"}}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace stubwright
