#include "tag_editor/controls/storage/StrUtils.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct ReplaceCase {
    const char* name;
    const char* text;
    const char* search;
    const char* replacement;
    const char* result;
};

class ReplaceAll : public testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceAll, GivesTheText) {
    const ReplaceCase& c = GetParam();
    EXPECT_EQ(ReplaceAllText(c.text, c.search, c.replacement), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    StrUtils, ReplaceAll,
    testing::Values(ReplaceCase{"EmptySearchLeavesTheText", "abc", "", "x", "abc"},
                    ReplaceCase{"EveryMatchLeftToRight", "a.b.c", ".", "::", "a::b::c"},
                    ReplaceCase{"MatchesDoNotOverlap", "aaaaa", "aa", "b", "bba"},
                    ReplaceCase{"ReplacementNotSearchedAgain", "abc", "b", "bb", "abbc"},
                    ReplaceCase{"ReplacementMakesNoNewMatch", "aab", "ab", "b", "ab"},
                    ReplaceCase{"CaseSensitive", "aAa", "a", "x", "xAx"},
                    ReplaceCase{"EmptyReplacementDeletes", "a, b, c", ", ", "", "abc"},
                    ReplaceCase{"WholeText", "abc", "abc", "", ""},
                    ReplaceCase{"EmptyText", "", "a", "x", ""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
